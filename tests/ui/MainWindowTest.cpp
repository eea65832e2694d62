#include "ui/Main.h"

#include "doubles/ScriptedPlatform.h"

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOption>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace orbeta {
namespace {

using testing::ScriptedPlatform;

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() : window(platform.Seams()) { window.show(); }

    template <typename Control> Control& Find(const char* name) {
        auto* control = window.findChild<Control*>(QString::fromUtf8(name));
        if (!control) {
            throw std::logic_error(std::string("no control ") + name);
        }
        return *control;
    }
    QAction& Action(const char* name) { return Find<QAction>(name); }
    QToolButton& Button(const char* name) { return Find<QToolButton>(name); }
    QMenu& Menu(const char* name) { return *window.findChild<QMenu*>(QString::fromUtf8(name)); }
    QString Panel(const char* name) {
        return window.findChild<QLabel*>(QString::fromUtf8(name))->text();
    }
    QMdiArea& Frame() { return *window.findChild<QMdiArea*>(); }
    QMdiSubWindow* AddChild(TMainForm::ChildKind kind) {
        return window.AddChildWindow(new QWidget, kind);
    }

    ScriptedPlatform platform;
    TMainForm window;
};

// --- The menus, items and buttons as the user reads them -----------------------------------

struct ItemRow {
    const char* name;
    const char* caption;
    const char* shortcut;
    const char* statusText;
    const char* tooltip;
};

const ItemRow kItems[] = {
    {"FileMenu", "&Archivo", "", "Crea,abre,guarda e imrpime un archivo",
     "Crea,abre,guarda e imrpime un archivo"},
    {"FileNewItem", "&Nuevo", "Ctrl+N", "Crea un nuevo archivo", "Archivo"},
    {"FileOpenItem", "&Abrir...", "Ctrl+A", "Abre un archivo ya existente", "Archivo"},
    {"mnuclose", "&Cerrar", "", "Cierra la ventana activa", "Archivo"},
    {"FileSaveItem", "&Guardar", "Ctrl+G", "Guarda el archivo", "Archivo"},
    {"FileSaveAsItem", "Guardar &como...", "",
     "Guarda el archivo con un nuevo nombre y/o trayectoria", "Archivo"},
    {"FilePrintItem", "&Imprimir...", "", "Imprime el archivo actual", "Archivo"},
    {"PrintLasser", "Lasser", "", "Imprime en Lasser", "Imprime en Lasser"},
    {"PrintDeskjet", "Deskjet", "", "Imprime en Deskjet", "Imprime en Deskjet"},
    {"FileExitItem", "&Salir", "", "Salir del módulo ZOLK", "Salir del módulo ZOLK"},
    {"mnucalculos", "&Cálculos", "", "Cálculos de Precisión del sistema",
     "Cálculos de Precisión del sistema"},
    {"mnuanova", "&Análisis de la varianza", "", "Presenta inferencia de recobros experimentales",
     "Cálculos"},
    {"mnuprecs", "&Precisión de método", "", "Precisión de método", "Cálculos"},
    {"mnuinforme", "&Informe", "", "Presenta datos y resultados", "Cálculos"},
    {"mnuampliado", "Análisis a&mpliado", "",
     "Componentes de la varianza, intervalos de confianza, criterio de aceptación, pruebas de "
     "Cochran y Grubbs y gráfico de variabilidad",
     "Análisis ampliado"},
    {"mnuplanificar", "&Planificar estudio...", "", "Propone el diseño de un estudio de precisión",
     "Cálculos"},
    {"WindowMenu", "&Ventana", "", "Arregla las ventanas presentes",
     "Arregla las ventanas presentes"},
    {"WindowTileItem", "&Mosaico", "", "Arregla las ventanas en mosaico", "Ventana"},
    {"WindowCascadeItem", "&Cascada", "", "Arregla las ventanas en cascada", "Ventana"},
    {"HelpMenu", "A&yuda", "", "Ayuda del módulo ZOLK", "Ayuda del módulo ZOLK"},
    {"HelpContentsItem", "&Contenido", "F1", "Presenta el contenido de la ayuda", "Ayuda"},
    {"HelpSearchItem", "&Buscar ayuda sobre...", "Ctrl+F1", "Busca ayuda sobre", "Ayuda"},
    {"HelpHowToUseItem", "Como &usar  la ayuda", "", "Como usar la ayuda", "Ayuda"},
    {"HelpAboutItem", "&Acerca...", "", "Presenta información del programa", "Ayuda"},
};

TEST_F(MainWindowTest, EveryItemHasItsCaptionShortcutAndHints) {
    EXPECT_EQ(window.windowTitle(),
              QString::fromUtf8("Precisión del método analítico (Precisión Intermedia)"));
    for (const ItemRow& row : kItems) {
        SCOPED_TRACE(row.name);
        QAction& item = Action(row.name);
        EXPECT_EQ(item.text(), QString::fromUtf8(row.caption));
        EXPECT_EQ(item.shortcut(), QKeySequence(QString::fromUtf8(row.shortcut)));
        EXPECT_EQ(item.statusTip(), QString::fromUtf8(row.statusText));
        EXPECT_EQ(item.toolTip(), QString::fromUtf8(row.tooltip));
    }
}

QStringList NamesOf(const QMenu& menu) {
    QStringList names;
    for (const QAction* action : menu.actions()) {
        names.append(action->isSeparator() ? QStringLiteral("-") : action->objectName());
    }
    return names;
}

TEST_F(MainWindowTest, MenusHoldTheirItemsInOrderWithSeparators) {
    QStringList bar;
    for (const QAction* action : window.menuBar()->actions()) {
        bar.append(action->objectName());
    }
    EXPECT_EQ(window.menuBar()->objectName(), "MainMenu");
    EXPECT_EQ(bar, QStringList({"FileMenu", "mnucalculos", "WindowMenu", "HelpMenu"}));
    EXPECT_EQ(NamesOf(Menu("FileMenu")),
              QStringList({"FileNewItem", "FileOpenItem", "mnuclose", "-", "FileSaveItem",
                           "FileSaveAsItem", "-", "FilePrintItem", "-", "FileExitItem"}));
    EXPECT_EQ(NamesOf(Menu("FilePrintItem")), QStringList({"PrintLasser", "PrintDeskjet"}));
    EXPECT_EQ(NamesOf(Menu("mnucalculos")), QStringList({"mnuanova", "mnuprecs", "mnuinforme", "-",
                                                         "mnuampliado", "-", "mnuplanificar"}));
    EXPECT_EQ(NamesOf(Menu("WindowMenu")), QStringList({"WindowTileItem", "WindowCascadeItem"}));
    EXPECT_EQ(NamesOf(Menu("HelpMenu")), QStringList({"HelpContentsItem", "HelpSearchItem",
                                                      "HelpHowToUseItem", "-", "HelpAboutItem"}));
}

TEST_F(MainWindowTest, TheDeskjetCommandAndHelpOnHelpAreNeverVisible) {
    EXPECT_FALSE(Action("PrintDeskjet").isVisible());
    EXPECT_FALSE(Action("HelpHowToUseItem").isVisible());
    EXPECT_FALSE(Button("spdprint1").isVisible());
    EXPECT_TRUE(Action("PrintLasser").isVisible());
    EXPECT_TRUE(Button("spdprint").isVisible());
}

struct ButtonRow {
    const char* name;
    int x;
    int size;
    const char* item;
    const char* tooltip;
    const char* statusText;
};

const ButtonRow kButtons[] = {
    {"spdnuevo", 8, 25, "FileNewItem", "Nuevo", "Crea un nuevo archivo"},
    {"spdabrir", 32, 25, "FileOpenItem", "Abrir", "Abre un archivo ya existente"},
    {"spdguardar", 56, 25, "FileSaveItem", "Guardar", "Guarda el archivo"},
    {"spdprint", 88, 23, "PrintLasser", "Imprimir en Lasser", "Imprimir en Lasser"},
    {"spdprint1", 112, 23, "PrintDeskjet", "Deskjet", "Deskjet"},
    {"spdclose", 148, 25, "mnuclose", "Cerrar", "Cierra la ventana activa"},
    {"spdexit", 174, 25, "FileExitItem", "Salir",
     "Salir del módulo Precisión del Método Analítico"},
    {"spdmosaico", 204, 25, "WindowTileItem", "Mosaico", "Arregla las ventanas en mosaico"},
    {"spdcascada", 228, 25, "WindowCascadeItem", "Cascada", "Arregla las ventanas en cascada"},
    {"spdcontenido", 268, 25, "HelpContentsItem", "Contenido", "Presenta el contenido de la ayuda"},
};

TEST_F(MainWindowTest, ToolBarButtonsStandAtTheirPlacesAndShareTheirItemsAction) {
    QWidget* speedBar = window.findChild<QWidget*>(QStringLiteral("SpeedBar"));
    ASSERT_NE(speedBar, nullptr);
    EXPECT_EQ(speedBar->height(), 33);
    for (const ButtonRow& row : kButtons) {
        SCOPED_TRACE(row.name);
        QToolButton& button = Button(row.name);
        EXPECT_EQ(button.parentWidget(), speedBar);
        EXPECT_EQ(button.geometry(), QRect(row.x, 4, row.size, row.size));
        EXPECT_EQ(button.defaultAction(), &Action(row.item));
        EXPECT_EQ(button.toolTip(), QString::fromUtf8(row.tooltip));
        EXPECT_EQ(button.statusTip(), QString::fromUtf8(row.statusText));
        EXPECT_FALSE(button.icon().isNull());
    }
}

TEST_F(MainWindowTest, ButtonsKeepTheirOwnHintsWhenTheirActionChanges) {
    Action("FileNewItem").setEnabled(false);
    Action("FileNewItem").setEnabled(true);
    EXPECT_EQ(Button("spdnuevo").toolTip(), "Nuevo");
    EXPECT_EQ(Action("FileNewItem").toolTip(), "Archivo");
    EXPECT_FALSE(Button("spdnuevo").icon().isNull());
}

// Qt greys any picture by itself; a button with an outline of its own shows that instead, drawn
// in greys only.
TEST_F(MainWindowTest, UnavailableButtonsShowTheirOwnGreyOutlineExceptThePrintButtons) {
    QStyleOption option;
    option.palette = QApplication::palette();
    for (const ButtonRow& row : kButtons) {
        SCOPED_TRACE(row.name);
        const QIcon icon = Button(row.name).icon();
        const QPixmap picture = icon.pixmap(16, QIcon::Normal);
        const QImage greyedByQt =
            QApplication::style()->generatedIconPixmap(QIcon::Disabled, picture, &option).toImage();
        const QImage unavailable = icon.pixmap(16, QIcon::Disabled).toImage();
        const bool hasOutline = QString::fromUtf8(row.item) != "PrintLasser" &&
                                QString::fromUtf8(row.item) != "PrintDeskjet";
        EXPECT_EQ(unavailable != greyedByQt, hasOutline);
        if (!hasOutline) {
            continue;
        }
        int drawn = 0;
        for (int y = 0; y < unavailable.height(); ++y) {
            for (int x = 0; x < unavailable.width(); ++x) {
                const QColor pixel = unavailable.pixelColor(x, y);
                if (pixel.alpha() > 0) {
                    ++drawn;
                    EXPECT_TRUE(pixel.red() == pixel.green() && pixel.green() == pixel.blue())
                        << "colour " << pixel.name().toStdString() << " at " << x << "," << y;
                }
            }
        }
        EXPECT_GT(drawn, 0);
    }
}

TEST_F(MainWindowTest, StatusLineHasItsThreePanels) {
    QStatusBar* line = window.statusBar();
    EXPECT_EQ(line->height(), 33);
    const auto* hint = line->findChild<QLabel*>(QStringLiteral("StatusLine"));
    const auto* help = line->findChild<QLabel*>(QStringLiteral("Paneld"));
    const auto* mark = line->findChild<QLabel*>(QStringLiteral("estado"));
    ASSERT_TRUE(hint && help && mark);
    EXPECT_EQ(hint->width(), 336);
    EXPECT_EQ(mark->width(), 132);
    EXPECT_LT(hint->x(), help->x());
    EXPECT_LT(help->x(), mark->x());
    EXPECT_EQ(help->text(), "F1 <Ayuda>");
    EXPECT_EQ(hint->text(), "");
    EXPECT_EQ(mark->text(), "");
}

TEST_F(MainWindowTest, RestoredItIsSmallAndCentredWhateverThePanelsHold) {
    window.ShowHint(QStringLiteral("Presenta inferencia de recobros experimentales"));
    window.SetModifiedMark(QStringLiteral("Modificado"));
    window.showNormal();
    QApplication::processEvents();
    EXPECT_EQ(window.size(), QSize(534, 327));
    const QPoint offCentre =
        window.frameGeometry().center() - window.screen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 4) << "centred, but for the rounding of odd sizes";
}

// --- Hints -------------------------------------------------------------------------------

TEST_F(MainWindowTest, RestingOnAButtonShowsItsLongHintAndLeavingClearsIt) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::mouseMove(&Button("spdnuevo"));
    EXPECT_EQ(Panel("StatusLine"), "Crea un nuevo archivo");
    QTest::mouseMove(&Button("spdexit"));
    EXPECT_EQ(Panel("StatusLine"),
              QString::fromUtf8("Salir del módulo Precisión del Método Analítico"));
    QTest::mouseMove(&Frame(), Frame().rect().center());
    EXPECT_EQ(Panel("StatusLine"), "");

    // From a menu title straight onto the client area.
    QMenuBar& bar = *window.menuBar();
    const QPoint title = bar.actionGeometry(Menu("mnucalculos").menuAction()).center();
    QTest::mouseMove(&bar, title);
    QMouseEvent move(QEvent::MouseMove, title, bar.mapToGlobal(title), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&bar, &move);
    EXPECT_EQ(Panel("StatusLine"), QString::fromUtf8("Cálculos de Precisión del sistema"));
    QTest::mouseMove(&Frame(), Frame().rect().center());
    EXPECT_EQ(Panel("StatusLine"), "");
}

TEST_F(MainWindowTest, HighlightingAMenuItemShowsItsLongHint) {
    QMenu& file = Menu("FileMenu");
    window.menuBar()->setActiveAction(file.menuAction());
    ASSERT_TRUE(QTest::qWaitFor([&] { return file.isVisible(); }));
    file.setActiveAction(&Action("FileExitItem"));
    EXPECT_EQ(Panel("StatusLine"), "Salir del módulo ZOLK");
    file.setActiveAction(&Action("FileNewItem"));
    EXPECT_EQ(Panel("StatusLine"), "Crea un nuevo archivo");
    file.close();
    EXPECT_EQ(Panel("StatusLine"), "") << "no hint once the menu has closed";
}

// --- Command states ----------------------------------------------------------------------

// Every menu item and button of each group, as the user finds them.
const std::map<CommandGroup, std::vector<const char*>> kGroupMembers{
    {CommandGroup::New, {"FileNewItem", "spdnuevo"}},
    {CommandGroup::Open, {"FileOpenItem", "spdabrir"}},
    {CommandGroup::Close, {"mnuclose", "spdclose"}},
    {CommandGroup::Save, {"FileSaveItem", "spdguardar"}},
    {CommandGroup::SaveAs, {"FileSaveAsItem"}},
    {CommandGroup::Print,
     {"FilePrintItem", "PrintLasser", "PrintDeskjet", "spdprint", "spdprint1"}},
    {CommandGroup::Arrange, {"WindowTileItem", "spdmosaico", "WindowCascadeItem", "spdcascada"}},
    {CommandGroup::Calculations, {"mnuanova", "mnuprecs", "mnuinforme", "mnuampliado"}},
};

const std::vector<const char*> kAlwaysAvailable{
    "FileMenu",         "mnucalculos",   "WindowMenu",       "HelpMenu",
    "FileExitItem",     "spdexit",       "HelpContentsItem", "HelpSearchItem",
    "HelpHowToUseItem", "HelpAboutItem", "spdcontenido",     "mnuplanificar"};

class CommandStateTest : public MainWindowTest {
protected:
    // Qt reports a hidden action as unavailable; shown, it has the state its group gave it.
    static bool IsEnabled(QAction& action) {
        if (action.isVisible()) {
            return action.isEnabled();
        }
        action.setVisible(true);
        const bool enabled = action.isEnabled();
        action.setVisible(false);
        return enabled;
    }
    bool IsEnabled(const char* name) {
        if (auto* button = window.findChild<QToolButton*>(QString::fromUtf8(name))) {
            return button->isVisible() ? button->isEnabled() : IsEnabled(*button->defaultAction());
        }
        return IsEnabled(Action(name));
    }
    // Sets a group as the user would find it before an event, items only: the buttons follow.
    void SetGroup(CommandGroup group, bool enabled) {
        for (const char* name : kGroupMembers.at(group)) {
            if (!window.findChild<QToolButton*>(QString::fromUtf8(name))) {
                Action(name).setEnabled(enabled);
            }
        }
    }
    void ExpectGroup(CommandGroup group, bool enabled, const std::string& when) {
        for (const char* name : kGroupMembers.at(group)) {
            EXPECT_EQ(IsEnabled(name), enabled) << name << " " << when;
        }
    }
    void ExpectAlwaysAvailable() {
        for (const char* name : kAlwaysAvailable) {
            EXPECT_TRUE(IsEnabled(name)) << name;
        }
    }
};

TEST_F(CommandStateTest, AtStartOnlyNewOpenExitAndHelpAreUsable) {
    ExpectAlwaysAvailable();
    for (const auto& [group, members] : kGroupMembers) {
        const bool usable = group == CommandGroup::New || group == CommandGroup::Open;
        ExpectGroup(group, usable, "at start");
    }
}

// The state table as it reads, group by group: 'o' on, 'x' off, '=' unchanged, for the events
// Start, New, Open, Last cell typed, Capture window closed and Last child closed.
const CommandEvent kEvents[] = {CommandEvent::Start,
                                CommandEvent::New,
                                CommandEvent::Open,
                                CommandEvent::LastCellTyped,
                                CommandEvent::CaptureWindowClosed,
                                CommandEvent::LastChildClosed};
const char* const kEventNames[] = {
    "Start", "New", "Open", "Last cell typed", "Capture window closed", "Last child closed"};

struct GroupRow {
    CommandGroup group;
    const char* states;
};

const GroupRow kStateTable[] = {
    {CommandGroup::New, "oxx=oo"},     {CommandGroup::Open, "oxx=oo"},
    {CommandGroup::Close, "xoo=xx"},   {CommandGroup::Save, "xxxoxx"},
    {CommandGroup::SaveAs, "xxxoxx"},  {CommandGroup::Print, "x=ooxx"},
    {CommandGroup::Arrange, "x=o=xx"}, {CommandGroup::Calculations, "x=ooxx"},
};

TEST_F(CommandStateTest, EachEventSetsEveryGroupAsTheTableSays) {
    for (std::size_t column = 0; column < std::size(kEvents); ++column) {
        // From all on and from all off, so that "unchanged" is seen to keep either state.
        for (const bool before : {true, false}) {
            for (const GroupRow& row : kStateTable) {
                SetGroup(row.group, before);
            }
            window.ApplyCommandEvent(kEvents[column]);
            for (const GroupRow& row : kStateTable) {
                const char state = row.states[column];
                const bool expected = state == '=' ? before : state == 'o';
                ExpectGroup(row.group, expected,
                            std::string("after ") + kEventNames[column] +
                                (before ? " from on" : " from off"));
            }
            ExpectAlwaysAvailable();
        }
    }
}

TEST_F(CommandStateTest, ANewStudyGetsSaveAndCalculationsOnlyFromTheLastCellAndNeverArrange) {
    window.ApplyCommandEvent(CommandEvent::New);
    ExpectGroup(CommandGroup::Close, true, "after New");
    ExpectGroup(CommandGroup::New, false, "after New");
    ExpectGroup(CommandGroup::Save, false, "after New");
    ExpectGroup(CommandGroup::Print, false, "after New");
    window.ApplyCommandEvent(CommandEvent::LastCellTyped);
    ExpectGroup(CommandGroup::Save, true, "after the last cell");
    ExpectGroup(CommandGroup::SaveAs, true, "after the last cell");
    ExpectGroup(CommandGroup::Print, true, "after the last cell");
    ExpectGroup(CommandGroup::Calculations, true, "after the last cell");
    ExpectGroup(CommandGroup::Arrange, false, "after the last cell");
}

// --- Child windows -----------------------------------------------------------------------

TEST_F(CommandStateTest, CloseClosesOnlyTheActiveChildAndKeepsTheStates) {
    window.ApplyCommandEvent(CommandEvent::Open);
    QPointer<QMdiSubWindow> first = AddChild(TMainForm::ChildKind::ResultWindow);
    QPointer<QMdiSubWindow> second = AddChild(TMainForm::ChildKind::ResultWindow);
    Frame().setActiveSubWindow(first);
    Action("mnuclose").trigger();
    QTest::qWait(0);
    EXPECT_TRUE(first.isNull() || !first->isVisible());
    ASSERT_FALSE(second.isNull());
    EXPECT_TRUE(second->isVisible());
    ExpectGroup(CommandGroup::Arrange, true, "after closing one of two");
    ExpectGroup(CommandGroup::Close, true, "after closing one of two");

    Frame().setActiveSubWindow(second);
    Button("spdclose").click();
    EXPECT_TRUE(second.isNull() || !second->isVisible());
    for (const auto& [group, members] : kGroupMembers) {
        const bool usable = group == CommandGroup::New || group == CommandGroup::Open;
        ExpectGroup(group, usable, "after the last child closed");
    }
}

TEST_F(CommandStateTest, ClosingTheCaptureWindowLeavesNoStudyWhileResultsStayOpen) {
    window.ApplyCommandEvent(CommandEvent::Open);
    QPointer<QMdiSubWindow> capture = AddChild(TMainForm::ChildKind::CaptureWindow);
    QPointer<QMdiSubWindow> anova = AddChild(TMainForm::ChildKind::ResultWindow);
    capture->close();
    for (const auto& [group, members] : kGroupMembers) {
        const bool usable = group == CommandGroup::New || group == CommandGroup::Open;
        ExpectGroup(group, usable, "after the capture window closed");
    }
    ASSERT_FALSE(anova.isNull());
    EXPECT_TRUE(anova->isVisible());

    // Closing the last result window afterwards changes nothing more.
    window.ApplyCommandEvent(CommandEvent::New);
    anova->close();
    ExpectGroup(CommandGroup::New, true, "after the last result window closed");
    ExpectGroup(CommandGroup::Close, false, "after the last result window closed");
}

TEST_F(CommandStateTest, CtrlF4ClosesTheActiveChildEvenWhenCloseIsUnavailable) {
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.ApplyCommandEvent(CommandEvent::Open);
    QPointer<QMdiSubWindow> capture = AddChild(TMainForm::ChildKind::CaptureWindow);
    QPointer<QMdiSubWindow> first = AddChild(TMainForm::ChildKind::ResultWindow);
    QPointer<QMdiSubWindow> second = AddChild(TMainForm::ChildKind::ResultWindow);
    const auto ctrlF4 = [&] {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &window,
                        Qt::Key_F4, Qt::ControlModifier);
        QTest::qWait(0);
    };
    Frame().setActiveSubWindow(capture);
    ctrlF4();
    EXPECT_TRUE(capture.isNull() || !capture->isVisible());
    ExpectGroup(CommandGroup::Close, false, "after the capture window closed");

    Frame().setActiveSubWindow(first);
    ctrlF4();
    EXPECT_TRUE(first.isNull() || !first->isVisible());
    ASSERT_FALSE(second.isNull());
    EXPECT_TRUE(second->isVisible());
    Frame().setActiveSubWindow(second);
    ctrlF4();
    EXPECT_TRUE(second.isNull() || !second->isVisible());
    EXPECT_TRUE(Frame().subWindowList().isEmpty());
    ctrlF4(); // with no child window, nothing to close
    for (const GroupRow& row : kStateTable) {
        ExpectGroup(row.group, row.states[0] == 'o', "after the last child closed");
    }
}

TEST_F(CommandStateTest, AResultWindowClosingBesideTheCaptureWindowChangesNothing) {
    window.ApplyCommandEvent(CommandEvent::Open);
    AddChild(TMainForm::ChildKind::CaptureWindow);
    QPointer<QMdiSubWindow> anova = AddChild(TMainForm::ChildKind::ResultWindow);
    anova->close();
    ExpectGroup(CommandGroup::Close, true, "with the capture window still open");
    ExpectGroup(CommandGroup::Calculations, true, "with the capture window still open");
}

TEST_F(MainWindowTest, TileAndCascadeArrangeTheChildWindows) {
    window.resize(800, 600);
    window.ApplyCommandEvent(CommandEvent::Open);
    QMdiSubWindow* first = AddChild(TMainForm::ChildKind::CaptureWindow);
    QMdiSubWindow* second = AddChild(TMainForm::ChildKind::ResultWindow);
    Action("WindowTileItem").trigger();
    EXPECT_FALSE(first->geometry().intersects(second->geometry()));
    EXPECT_EQ(first->width() + second->width(), Frame().viewport()->width());

    Button("spdcascada").click();
    EXPECT_TRUE(first->geometry().intersects(second->geometry()));
    EXPECT_NE(first->pos(), second->pos());
}

TEST_F(MainWindowTest, ExitClosesTheChildWindowsAndTheMainWindow) {
    QPointer<QMdiSubWindow> child = AddChild(TMainForm::ChildKind::ResultWindow);
    Action("FileExitItem").trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(child.isNull() || !child->isVisible());
}

// --- Help and about ----------------------------------------------------------------------

TEST_F(MainWindowTest, HelpItemsMakeTheirRequestsAndF1AsksForTheContents) {
    Action("HelpContentsItem").trigger();
    Action("HelpSearchItem").trigger();
    Action("HelpHowToUseItem").trigger();
    Button("spdcontenido").click();
    QApplication::setActiveWindow(&window);
    QTest::keyClick(&window, Qt::Key_F1);
    QTest::keyClick(&window, Qt::Key_F1, Qt::ControlModifier);
    EXPECT_EQ(platform.help.Requests(), QStringList({"contents", "search ", "help on help",
                                                     "contents", "contents", "search "}));
}

struct ContextRow {
    const char* menu;
    const char* item; // nullptr for the menu title alone
    int helpContext;
};

const ContextRow kContexts[] = {
    {"FileMenu", nullptr, 1},
    {"FileMenu", "FileNewItem", 2},
    {"FileMenu", "FileOpenItem", 3},
    {"FileMenu", "mnuclose", 4},
    {"FileMenu", "FileSaveItem", 5},
    {"FileMenu", "FileSaveAsItem", 6},
    {"FileMenu", "FilePrintItem", 7},
    {"FilePrintItem", "PrintLasser", 7},
    {"FileMenu", "FileExitItem", 8},
    {"mnucalculos", nullptr, 10},
    {"mnucalculos", "mnuanova", 11},
    {"mnucalculos", "mnuprecs", 12},
    {"mnucalculos", "mnuinforme", 19},
    {"mnucalculos", "mnuampliado", 13},
    {"mnucalculos", "mnuplanificar", 14},
    {"WindowMenu", nullptr, 20},
    {"WindowMenu", "WindowTileItem", 20},
    {"WindowMenu", "WindowCascadeItem", 20},
    {"HelpMenu", nullptr, 30},
    {"HelpMenu", "HelpContentsItem", 31},
    {"HelpMenu", "HelpSearchItem", 32},
    {"HelpMenu", "HelpAboutItem", 33},
};

TEST_F(MainWindowTest, F1InAnOpenMenuAsksForTheHighlightedItemsTopic) {
    // Every command available, so that every item can be highlighted.
    for (QAction* action : window.findChildren<QAction*>()) {
        action->setEnabled(true);
    }
    for (const ContextRow& row : kContexts) {
        SCOPED_TRACE(row.item ? row.item : row.menu);
        QMenu& menu = Menu(row.menu);
        menu.popup(window.mapToGlobal(QPoint(20, 20)));
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu.isVisible(); }));
        if (row.item) {
            menu.setActiveAction(&Action(row.item));
        }
        QTest::keyClick(&menu, Qt::Key_F1);
        EXPECT_FALSE(menu.isVisible()) << "the menu closes for the help";
        ASSERT_FALSE(platform.help.Requests().isEmpty());
        EXPECT_EQ(platform.help.Requests().constLast(),
                  QStringLiteral("topic %1").arg(row.helpContext));
    }
    EXPECT_EQ(platform.help.Requests().size(), static_cast<qsizetype>(std::size(kContexts)))
        << "F1 in a menu asks for nothing else";
}

} // namespace
} // namespace orbeta
