#include "ui/Main.h"

#include "engine/ReportText.h"
#include "files/FileAccess.h"
#include "files/Fingerprint.h"
#include "files/StudyFile.h"
#include "print/ValidationRecord.h"
#include "study/Error.h"
#include "ui/BusyCursor.h"
#include "ui/ChildPlacement.h"
#include "ui/ExtendedAnalysisWindow.h"
#include "ui/Fdatos.h"
#include "ui/Fonts.h"
#include "ui/Hint.h"
#include "ui/Panels.h"
#include "ui/Pictures.h"
#include "ui/SpeedButton.h"
#include "ui/StudyPlannerWindow.h"
#include "ui/Ufacerca.h"
#include "ui/Ufanova.h"
#include "ui/Ufpres.h"
#include "ui/Uinforme.h"
#include "ui/VerifyInstallation.h"
#include "ui/helpcons.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <optional>
#include <stdexcept>
#include <utility>

namespace orbeta {

namespace {

constexpr int kNoHelpContext = 0;

QString MainWindowCaption() {
    return QStringLiteral("Precisión del método analítico (Precisión Intermedia)");
}

// The font of the tool bar and the status line; the menus keep the desktop's.
QFont MainWindowFont() {
    QFont font = SansSerifFont(8);
    font.setBold(true);
    return font;
}

// A child window's frame inside the main window, which reports its closing once the window
// inside has agreed to close.
class ChildFrame final : public QMdiSubWindow {
public:
    explicit ChildFrame(std::function<void(const QMdiSubWindow&)> onClosing)
        : m_onClosing(std::move(onClosing)) {
        setAttribute(Qt::WA_DeleteOnClose);
        // Ctrl+F4 is the main window's, which closes the active child wherever the focus is;
        // the frame's own would make the key ambiguous while the focus is inside it.
        const QKeySequence closeKey(Qt::CTRL | Qt::Key_F4);
        for (QAction* action : systemMenu()->actions()) {
            QList<QKeySequence> keys = action->shortcuts();
            if (keys.removeAll(closeKey) > 0) {
                action->setShortcuts(keys);
            }
        }
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        QMdiSubWindow::closeEvent(event);
        if (event->isAccepted()) {
            m_onClosing(*this);
        }
    }

private:
    std::function<void(const QMdiSubWindow&)> m_onClosing;
};

void SetHint(QAction& action, const QString& hint) {
    const Hint split = SplitHint(hint);
    action.setToolTip(split.shortHint);
    action.setStatusTip(split.longHint);
}

const QString kNeverSaved = QStringLiteral("Nuevo");

FileDialogSettings StudyFileDialog(const QString& title, const QString& proposedName) {
    const QStringList fileTypes{QStringLiteral("Orbeta v. w3.0 (*.w05)"),
                                QStringLiteral("Archivo de Texto (*.txt)")};
    return {title, fileTypes, fileTypes.constFirst(), QStringLiteral("w05"), proposedName};
}

// The offer of a recovery copy: the study's file, or "Nuevo", and when the copy was taken;
// beside it, a complete study that an interrupted save of that file left.
QString RecoveryOffer(const RecoveryCopy& copy) {
    const QString file = copy.studyFile.empty()
                             ? kNeverSaved
                             : QFile::decodeName(QByteArray::fromStdString(copy.studyFile));
    QString offer = QStringLiteral("Se encontró un estudio sin guardar de «%1» (%2). ¿Recuperarlo?")
                        .arg(file, QDateTime::fromSecsSinceEpoch(copy.takenAt)
                                       .toString(QStringLiteral("dd/MM/yyyy HH:mm")));
    if (!copy.studyFile.empty()) {
        for (const std::filesystem::path& leftover : CompleteInterruptedSaves(copy.studyFile)) {
            offer += QStringLiteral("\n\nUn guardado interrumpido dejó además el estudio completo "
                                    "en «%1».")
                         .arg(QFile::decodeName(leftover.c_str()));
        }
    }
    return offer;
}

} // namespace

// One row of the menu bar: a menu, an item or a separator. A row at level 0 is a menu of the
// bar; at level 1 it belongs to the last menu of the bar, at level 2 to the last submenu. A row
// with a name and no command is a menu, one with neither is a separator. An item with a group
// takes that group's state; one without is always available.
struct TMainForm::MenuRow {
    int level;
    const char* name;
    const char* caption;
    QKeySequence shortcut;
    int helpContext;
    const char* hint;
    std::optional<CommandGroup> group;
    void (TMainForm::*command)();
    bool visible;
};

namespace {

constexpr std::optional<CommandGroup> kAlwaysAvailable;

} // namespace

TMainForm::TMainForm(const Platform& platform, QWidget* parent)
    : QMainWindow(parent), m_platform(platform),
      m_openDialog(StudyFileDialog(QStringLiteral("Abrir archivo"), QString())),
      m_saveDialog(StudyFileDialog(QStringLiteral("Guardar como"), kNeverSaved)) {
    setObjectName(QStringLiteral("TMainForm"));
    setWindowTitle(MainWindowCaption());
    m_document = new StudyDocument(this);

    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* speedBar = new QFrame(client);
    layout->addWidget(speedBar);
    m_mdiArea = new QMdiArea(client);
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(m_mdiArea, 1);
    setCentralWidget(client);

    CreateMenus();
    CreateSpeedBar(*speedBar);
    // Ctrl+F4 closes the active child window whatever the command states, as in every
    // multiple-document program, so that result windows can be closed from the keyboard once
    // the capture window is gone.
    auto* closeChild = new QAction(this);
    closeChild->setObjectName(QStringLiteral("CloseChildShortcut"));
    closeChild->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    closeChild->setShortcutContext(Qt::WindowShortcut);
    addAction(closeChild);
    connect(closeChild, &QAction::triggered, this, &TMainForm::mnucloseClick);
    CreateStatusLine();

    // Restored, the window is small and centred on the screen; the start-up maximizes it.
    resize(534, 327);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    ApplyCommandEvent(CommandEvent::Start);
}

void TMainForm::CreateMenus() {
    auto* mainMenu = new QMenuBar(this);
    mainMenu->setObjectName(QStringLiteral("MainMenu"));
    setMenuBar(mainMenu);

    using namespace helpcons;
    using G = CommandGroup;
    using M = TMainForm;
    const QKeySequence none;
    const MenuRow rows[] = {
        {0, "FileMenu", "&Archivo", none, kFileMenu, "Crea,abre,guarda e imrpime un archivo",
         kAlwaysAvailable, nullptr, true},
        {1, "FileNewItem", "&Nuevo", QKeySequence(Qt::CTRL | Qt::Key_N), kNew,
         "Archivo|Crea un nuevo archivo", G::New, &M::FileNew, true},
        {1, "FileOpenItem", "&Abrir...", QKeySequence(Qt::CTRL | Qt::Key_A), kOpen,
         "Archivo|Abre un archivo ya existente", G::Open, &M::FileOpen, true},
        {1, "mnuclose", "&Cerrar", none, kClose, "Archivo|Cierra la ventana activa", G::Close,
         &M::mnucloseClick, true},
        {1, nullptr, nullptr, none, kNoHelpContext, nullptr, kAlwaysAvailable, nullptr, true},
        {1, "FileSaveItem", "&Guardar", QKeySequence(Qt::CTRL | Qt::Key_G), kSave,
         "Archivo|Guarda el archivo", G::Save, &M::FileSave, true},
        {1, "FileSaveAsItem", "Guardar &como...", none, kSaveAs,
         "Archivo|Guarda el archivo con un nuevo nombre y/o trayectoria", G::SaveAs, &M::FileSaveAs,
         true},
        {1, nullptr, nullptr, none, kNoHelpContext, nullptr, kAlwaysAvailable, nullptr, true},
        {1, "FilePrintItem", "&Imprimir...", none, kPrint, "Archivo|Imprime el archivo actual",
         G::Print, nullptr, true},
        {2, "PrintLasser", "Lasser", none, kNoHelpContext, "Imprime en Lasser", G::Print,
         &M::PrintLasserClick, true},
        {2, "PrintDeskjet", "Deskjet", none, kNoHelpContext, "Imprime en Deskjet", G::Print,
         &M::FilePrint, false},
        {1, nullptr, nullptr, none, kNoHelpContext, nullptr, kAlwaysAvailable, nullptr, true},
        {1, "FileExitItem", "&Salir", none, kExit, "Salir del módulo ZOLK", kAlwaysAvailable,
         &M::FileExit, true},
        {0, "mnucalculos", "&Cálculos", none, kCalculationsMenu,
         "Cálculos de Precisión del sistema", kAlwaysAvailable, nullptr, true},
        {1, "mnuanova", "&Análisis de la varianza", none, kAnova,
         "Cálculos|Presenta inferencia de recobros experimentales", G::Calculations,
         &M::mnuanovaClick, true},
        {1, "mnuprecs", "&Precisión de método", none, kPrecision, "Cálculos|Precisión de método",
         G::Calculations, &M::mnuprecsClick, true},
        {1, "mnuinforme", "&Informe", none, kReport, "Cálculos|Presenta datos y resultados",
         G::Calculations, &M::mnuinformeClick, true},
        {1, nullptr, nullptr, none, kNoHelpContext, nullptr, kAlwaysAvailable, nullptr, true},
        {1, "mnuampliado", "Análisis a&mpliado", none, kExtendedAnalysis,
         "Análisis ampliado|Componentes de la varianza, intervalos de confianza, criterio de "
         "aceptación, pruebas de Cochran y Grubbs y gráfico de variabilidad",
         G::Calculations, &M::mnuampliadoClick, true},
        {1, nullptr, nullptr, none, kNoHelpContext, nullptr, kAlwaysAvailable, nullptr, true},
        {1, "mnuplanificar", "P&lanificar estudio...", none, kPlanner,
         "Cálculos|Propone el diseño de un estudio de precisión", kAlwaysAvailable,
         &M::mnuplanificarClick, true},
        {0, "WindowMenu", "&Ventana", none, kWindowMenu, "Arregla las ventanas presentes",
         kAlwaysAvailable, nullptr, true},
        {1, "WindowTileItem", "&Mosaico", none, kTile, "Ventana|Arregla las ventanas en mosaico",
         G::Arrange, &M::WindowTile, true},
        {1, "WindowCascadeItem", "&Cascada", none, kCascade,
         "Ventana|Arregla las ventanas en cascada", G::Arrange, &M::WindowCascade, true},
        {0, "HelpMenu", "A&yuda", none, kHelpMenu, "Ayuda del módulo ZOLK", kAlwaysAvailable,
         nullptr, true},
        {1, "HelpContentsItem", "&Contenido", QKeySequence(Qt::Key_F1), kHelpContents,
         "Ayuda|Presenta el contenido de la ayuda", kAlwaysAvailable, &M::HelpContents, true},
        {1, "HelpSearchItem", "&Buscar ayuda sobre...", QKeySequence(Qt::CTRL | Qt::Key_F1),
         kHelpSearch, "Ayuda|Busca ayuda sobre", kAlwaysAvailable, &M::HelpSearch, true},
        {1, "HelpHowToUseItem", "Como &usar  la ayuda", none, kNoHelpContext,
         "Ayuda|Como usar la ayuda", kAlwaysAvailable, &M::HelpHowToUse, false},
        {1, "HelpVerifyItem", "&Verificar la instalación...", none, kVerify,
         "Ayuda|Comprueba la instalación y los cálculos con estudios de referencia",
         kAlwaysAvailable, &M::HelpVerify, true},
        {1, nullptr, nullptr, none, kNoHelpContext, nullptr, kAlwaysAvailable, nullptr, true},
        {1, "HelpAboutItem", "&Acerca...", none, kAbout, "Ayuda|Presenta información del programa",
         kAlwaysAvailable, &M::HelpAbout, true},
    };
    // The menu the rows of each level go into: the last menu of the bar, then its last submenu.
    std::array<QMenu*, 2> openMenus{};
    for (const MenuRow& row : rows) {
        QMenu* const within = row.level == 0 ? nullptr : openMenus[std::size_t(row.level - 1)];
        if (!row.name) {
            within->addSeparator();
            continue;
        }
        QAction* action = nullptr;
        if (row.command) {
            action = AddItem(*within, row);
        } else {
            QMenu* menu = AddMenu(within, row);
            openMenus[std::size_t(row.level)] = menu;
            action = menu->menuAction();
        }
        action->setVisible(row.visible);
        if (row.group) {
            m_groups[std::size_t(*row.group)].push_back(action);
        }
    }
    m_windowMenu = findChild<QMenu*>(QStringLiteral("WindowMenu"));
    connect(m_windowMenu, &QMenu::aboutToShow, this, [this] { ListWindows(*m_windowMenu); });
}

void TMainForm::ListWindows(QMenu& windowMenu) {
    for (QAction* item : m_windowListItems) {
        windowMenu.removeAction(item);
        item->deleteLater();
    }
    m_windowListItems.clear();
    const QList<QMdiSubWindow*> frames = m_mdiArea->subWindowList(QMdiArea::CreationOrder);
    if (frames.isEmpty()) {
        return;
    }
    m_windowListItems.push_back(windowMenu.addSeparator());
    for (qsizetype index = 0; index < frames.size(); ++index) {
        QMdiSubWindow* frame = frames[index];
        // The first nine get a digit as their access key, as multiple-document programs give.
        const QString caption = frame->widget()->windowTitle();
        QAction* item = windowMenu.addAction(
            index < 9 ? QStringLiteral("&%1 %2").arg(index + 1).arg(caption) : caption);
        item->setObjectName(QStringLiteral("WindowListItem"));
        item->setCheckable(true);
        item->setChecked(frame == m_mdiArea->activeSubWindow());
        connect(item, &QAction::triggered, this, [this, frame = QPointer<QMdiSubWindow>(frame)] {
            if (frame) {
                m_mdiArea->setActiveSubWindow(frame);
            }
        });
        m_windowListItems.push_back(item);
    }
}

QMenu* TMainForm::AddMenu(QMenu* parentMenu, const MenuRow& row) {
    const QString caption = QString::fromUtf8(row.caption);
    QMenu* menu = parentMenu ? parentMenu->addMenu(caption) : menuBar()->addMenu(caption);
    menu->setObjectName(QString::fromUtf8(row.name));
    menu->menuAction()->setObjectName(menu->objectName());
    SetHint(*menu->menuAction(), QString::fromUtf8(row.hint));
    m_helpContexts.insert(menu->menuAction(), row.helpContext);
    menu->installEventFilter(this);
    return menu;
}

QAction* TMainForm::AddItem(QMenu& menu, const MenuRow& row) {
    QAction* item = menu.addAction(QString::fromUtf8(row.caption));
    item->setObjectName(QString::fromUtf8(row.name));
    item->setShortcut(row.shortcut);
    SetHint(*item, QString::fromUtf8(row.hint));
    m_helpContexts.insert(item, row.helpContext);
    const QString caption = QString(item->text()).remove(QLatin1Char('&'));
    connect(item, &QAction::triggered, this,
            [this, command = row.command, caption] { RunCommand(command, caption); });
    m_commandItems.push_back({row.command, item});
    return item;
}

QAction& TMainForm::ItemOf(void (TMainForm::*command)()) const {
    for (const auto& [itemCommand, item] : m_commandItems) {
        if (itemCommand == command) {
            return *item;
        }
    }
    throw std::logic_error("no menu item carries this command");
}

void TMainForm::CreateSpeedBar(QWidget& strip) {
    strip.setObjectName(QStringLiteral("SpeedBar"));
    strip.setFixedHeight(33);
    strip.setFont(MainWindowFont());

    struct ButtonRow {
        const char* name;
        int x;
        void (TMainForm::*command)();
        ToolPicture picture;
        const char* hint;
    };
    const ButtonRow buttons[] = {
        {"spdnuevo", 8, &TMainForm::FileNew, ToolPicture::NewSheet, "Nuevo|Crea un nuevo archivo"},
        {"spdabrir", 32, &TMainForm::FileOpen, ToolPicture::OpenFolder,
         "Abrir|Abre un archivo ya existente"},
        {"spdguardar", 56, &TMainForm::FileSave, ToolPicture::Diskette,
         "Guardar|Guarda el archivo"},
        {"spdprint", 88, &TMainForm::PrintLasserClick, ToolPicture::Printer,
         "Imprimir en Lasser|Imprimir en Lasser"},
        {"spdprint1", 112, &TMainForm::FilePrint, ToolPicture::Printer, "Deskjet|Deskjet"},
        {"spdclose", 148, &TMainForm::mnucloseClick, ToolPicture::ClosingSheet,
         "Cerrar|Cierra la ventana activa"},
        {"spdexit", 174, &TMainForm::FileExit, ToolPicture::Door,
         "Salir|Salir del módulo Precisión del Método Analítico"},
        {"spdmosaico", 204, &TMainForm::WindowTile, ToolPicture::TiledWindow,
         "Mosaico|Arregla las ventanas en mosaico"},
        {"spdcascada", 228, &TMainForm::WindowCascade, ToolPicture::CascadedWindows,
         "Cascada|Arregla las ventanas en cascada"},
        {"spdcontenido", 268, &TMainForm::HelpContents, ToolPicture::QuestionMark,
         "Contenido|Presenta el contenido de la ayuda"},
    };
    for (const ButtonRow& row : buttons) {
        // The print buttons are smaller and have no outline picture of their own.
        const bool isPrint = row.picture == ToolPicture::Printer;
        const int size = isPrint ? 23 : 25;
        auto* button = new SpeedButton(ItemOf(row.command), ToolIcon(row.picture, 16, !isPrint),
                                       QString::fromUtf8(row.hint), &strip);
        button->setObjectName(QString::fromUtf8(row.name));
        button->setGeometry(row.x, 4, size, size);
        button->setIconSize(QSize(16, 16));
        button->setVisible(ItemOf(row.command).isVisible());
    }
}

void TMainForm::CreateStatusLine() {
    auto* line = new QStatusBar(this);
    line->setFixedHeight(33);
    line->setFont(MainWindowFont());
    const auto panel = [line](const char* name, const QString& text) {
        auto* label = new StatusPanel(text, line);
        label->setObjectName(QString::fromUtf8(name));
        return label;
    };
    m_statusLine = panel("StatusLine", QString());
    m_statusLine->setFixedWidth(336);
    QLabel* help = panel("Paneld", QStringLiteral("F1 <Ayuda>"));
    m_modifiedMark = panel("estado", m_document->MarkText());
    connect(m_document, &StudyDocument::MarkChanged, m_modifiedMark, &QLabel::setText);
    m_modifiedMark->setFixedWidth(132);
    // A narrow window narrows the middle panel, down to nothing, rather than the other way.
    help->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    line->addWidget(m_statusLine);
    line->addWidget(help, 1);
    line->addPermanentWidget(m_modifiedMark);
    setStatusBar(line);
}

void TMainForm::ApplyCommandEvent(CommandEvent event) {
    const GroupStates states = StatesAfter(event);
    for (std::size_t group = 0; group < kCommandGroupCount; ++group) {
        if (states[group] == GroupState::Unchanged) {
            continue;
        }
        for (QAction* action : m_groups[group]) {
            action->setEnabled(states[group] == GroupState::On);
        }
    }
}

QMdiSubWindow* TMainForm::AddChildWindow(QWidget* window, ChildKind kind) {
    auto* frame = new ChildFrame(
        [this, kind](const QMdiSubWindow& closing) { ChildWindowClosing(kind, closing); });
    frame->setWidget(window);
    m_mdiArea->addSubWindow(frame);
    frame->show();
    return frame;
}

void TMainForm::ChildWindowClosing(ChildKind kind, const QMdiSubWindow& closing) {
    if (kind == ChildKind::CaptureWindow) {
        ApplyCommandEvent(CommandEvent::CaptureWindowClosed);
        emit CaptureWindowChanged(false);
        return;
    }
    const QList<QMdiSubWindow*> children = m_mdiArea->subWindowList();
    if (std::all_of(children.cbegin(), children.cend(),
                    [&closing](const QMdiSubWindow* child) { return child == &closing; })) {
        ApplyCommandEvent(CommandEvent::LastChildClosed);
    }
}

TFinforma& TMainForm::CreateCaptureWindow() {
    auto* capture = new TFinforma(m_platform, *m_document, [this] { return SaveStudy(); });
    capture->setWindowTitle(m_document->Caption());
    connect(m_document, &StudyDocument::CaptionChanged, capture, &QWidget::setWindowTitle);
    // The pop-up menu's commands are the menu bar's.
    connect(capture, &TFinforma::AnovaRequested, this, [this] {
        RunCommand(&TMainForm::mnuanovaClick, QStringLiteral("Análisis de la varianza"));
    });
    connect(capture, &TFinforma::PrecisionRequested, this, [this] {
        RunCommand(&TMainForm::mnuprecsClick, QStringLiteral("Precisión de método"));
    });
    connect(capture, &TFinforma::ExtendedAnalysisRequested, this, [this] {
        RunCommand(&TMainForm::mnuampliadoClick, QStringLiteral("Análisis ampliado"));
    });
    connect(capture, &TFinforma::LastDataCellTyped, this,
            [this] { ApplyCommandEvent(CommandEvent::LastCellTyped); });
    connect(capture, &TFinforma::HintChanged, this, &TMainForm::ShowHint);
    m_captureWindow = capture;
    AddChildWindow(capture, ChildKind::CaptureWindow);
    emit CaptureWindowChanged(true);
    capture->THojasEnter();
    return *capture;
}

void TMainForm::ReportingErrors(const std::function<void()>& step, const QString& command) {
    try {
        step();
    } catch (const Error& error) {
        m_platform.messages.ReportError(error.what());
    } catch (const std::exception&) {
        m_platform.messages.ReportInternalError(command);
    }
}

void TMainForm::RunCommand(void (TMainForm::*command)(), const QString& caption) {
    ReportingErrors([this, command] { (this->*command)(); }, caption);
}

void TMainForm::FileNew() {
    m_document->BeginNew();
    CreateCaptureWindow();
    ApplyCommandEvent(CommandEvent::New);
}

void TMainForm::FileOpen() {
    const std::optional<ChosenFile> chosen = m_platform.fileDialogs.ChooseFileToOpen(m_openDialog);
    if (!chosen) {
        return;
    }
    m_openDialog.selectedFileType = chosen->fileType;
    OpenStudyFile(FileNameOf(chosen->path));
}

void TMainForm::OpenStudyFile(const StudyFileName& file) {
    // Open is unavailable while a capture window exists; there is never a second one.
    if (m_captureWindow) {
        return;
    }
    m_openDialog.proposedName = file.shown;
    // The file is read whole before any window exists, so a failed Open leaves nothing behind.
    ReportingErrors(
        [&] {
            const BusyCursor busy;
            const std::string bytes = ReadStudyFileBytes(file.native);
            const Study study =
                ParseStudyFile(bytes, m_platform.regionalSettings.DecimalSeparator());
            m_document->BeginFromFile(file, FingerprintOfSavedBytes(bytes));
            ShowInNewCaptureWindow(study);
        },
        QStringLiteral("Abrir"));
}

TFinforma& TMainForm::ShowInNewCaptureWindow(const Study& study) {
    TFinforma& capture = CreateCaptureWindow();
    capture.ShowStudy(study);
    ApplyCommandEvent(CommandEvent::Open);
    capture.SetPopupItemsEnabled(true);
    return capture;
}

void TMainForm::OfferRecoveryCopies() {
    const std::optional<std::filesystem::path>& folder = m_document->RecoveryFolder();
    if (!folder) {
        return;
    }
    for (RecoverySlot& slot : RecoverySlot::ClaimLeftBehind(*folder)) {
        std::optional<RecoveryCopy> copy;
        try {
            copy = slot.Read();
        } catch (const Error&) {
            // A copy cut short holds nothing that can be shown; it goes.
            slot.Remove();
            continue;
        }
        // One met while a study is open waits for the next start, as one left for later does.
        const MessageBoxes::RecoverAnswer answer =
            m_captureWindow ? MessageBoxes::RecoverAnswer::Later
                            : m_platform.messages.AskToRecover(RecoveryOffer(*copy));
        if (answer == MessageBoxes::RecoverAnswer::Discard) {
            slot.Remove();
        }
        if (answer != MessageBoxes::RecoverAnswer::Recover) {
            continue;
        }
        std::optional<StudyFileName> file;
        if (!copy->studyFile.empty()) {
            file = FileNameOf(std::filesystem::path(copy->studyFile));
        }
        m_document->Recovered(std::move(slot), file, copy->fileIdentity);
        ShowInNewCaptureWindow(copy->study);
        // A recovered study may be saved at once: it is the changed study of the run that
        // ended.
        ApplyCommandEvent(CommandEvent::LastCellTyped);
    }
}

void TMainForm::FileSave() {
    SaveStudy();
}

void TMainForm::FileSaveAs() {
    SaveStudyAs();
}

bool TMainForm::SaveStudy() {
    return Saving([this] {
        if (m_document->IsNew()) {
            m_document->SetSaveName(
                {std::filesystem::path(kNeverSaved.toStdString()), kNeverSaved});
            return SaveStudyAs();
        }
        // Another program's change of the file is not overwritten without a word.
        const StudyFileName saveName = m_document->SaveName();
        if (m_document->ChangedOnDisk(saveName.native)) {
            switch (m_platform.messages.AskToReplaceChangedFile()) {
            case MessageBoxes::ChangedFileAnswer::Replace:
                break;
            case MessageBoxes::ChangedFileAnswer::SaveAs:
                return SaveStudyAs();
            case MessageBoxes::ChangedFileAnswer::Cancel:
                return false;
            }
        }
        WriteCapturedStudy(saveName);
        return true;
    });
}

bool TMainForm::SaveStudyAs() {
    return Saving([this] {
        m_saveDialog.proposedName = m_document->SaveName().shown;
        const std::optional<ChosenFile> chosen =
            m_platform.fileDialogs.ChooseFileToSave(m_saveDialog);
        if (!chosen) {
            return false;
        }
        const StudyFileName file = FileNameOf(chosen->path);
        m_document->SetSaveName(file);
        m_saveDialog.selectedFileType = chosen->fileType;
        WriteCapturedStudy(file);
        return true;
    });
}

bool TMainForm::StudyPassesChecks() {
    bool passed = false;
    ReportingErrors([&] { passed = m_captureWindow && m_captureWindow->RunStudyChecks(); },
                    QStringLiteral("Verificar el estudio"));
    return passed;
}

bool TMainForm::HoldsEveryResult() {
    if (m_captureWindow && HoldsMissingResult(m_captureWindow->StudySnapshot())) {
        m_platform.messages.ReportError(kHasMissingResults);
        return false;
    }
    return true;
}

bool TMainForm::Saving(const std::function<bool()>& save) {
    bool saved = false;
    if (StudyPassesChecks()) {
        ReportingErrors([&] { saved = save(); }, QStringLiteral("Guardar"));
    }
    return saved;
}

void TMainForm::WriteCapturedStudy(const StudyFileName& file) {
    const BusyCursor busy;
    // The fingerprint of exactly the bytes written, which sha256sum of the file gives.
    const std::string bytes = StudyFileBytes(m_captureWindow->StudySnapshot(),
                                             m_platform.regionalSettings.DecimalSeparator());
    ReplaceFile(file.native, bytes);
    m_document->Saved(file, FingerprintOfSavedBytes(bytes));
}

TFinforma* TMainForm::CaptureWindow() const {
    return m_captureWindow;
}

void ShowInFront(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

void TMainForm::SetPrintDialogs(QWidget& laserOptions, QDialog& printerAndMargin,
                                QWidget& deskJetOptions) {
    m_laserOptions = &laserOptions;
    m_printerAndMargin = &printerAndMargin;
    m_deskJetOptions = &deskJetOptions;
}

void TMainForm::PrintLasserClick() {
    if (m_laserOptions && HoldsEveryResult()) {
        ShowInFront(*m_laserOptions);
    }
}

void TMainForm::FilePrint() {
    if (StudyPassesChecks() && HoldsEveryResult() && m_deskJetOptions) {
        ShowInFront(*m_deskJetOptions);
    }
}

void TMainForm::mnuoprtClick() {
    if (m_printerAndMargin) {
        m_printerAndMargin->exec();
    }
}

void TMainForm::Calculating(const std::function<void(const Study&, char)>& calculate) {
    if (StudyPassesChecks()) {
        ReportingErrors([&] {
            calculate(m_captureWindow->StudySnapshot(),
                      m_platform.regionalSettings.DecimalSeparator());
        });
    }
}

void TMainForm::mnuanovaClick() {
    Calculating([this](const Study& study, char separator) {
        m_engine.ComputeAnova(study, separator, m_anova);
        auto* window = new TfinfoA(m_anova, separator);
        window->PlaceFrame(*AddChildWindow(window, ChildKind::ResultWindow));
    });
}

void TMainForm::mnuprecsClick() {
    Calculating([this](const Study& study, char separator) {
        m_engine.ComputePrecision(study, separator, m_precision);
        auto* window = new TFpres(study.methodName, m_precision, separator);
        window->PlaceFrame(*AddChildWindow(window, ChildKind::ResultWindow));
    });
}

// The report window opens before any figure exists and shows each section as it is computed,
// so a failed computation leaves the sections before it on view.
void TMainForm::mnuinformeClick() {
    Calculating([this](const Study& study, char separator) {
        if (!HoldsEveryResult()) {
            return;
        }
        auto* window = new Tfrminforme;
        window->PlaceFrame(*AddChildWindow(window, ChildKind::ResultWindow));
        ComputeReport(
            study, separator, m_engine, m_anova, m_precision,
            [window](const std::vector<std::string>& lines) { window->AppendLines(lines); });
    });
}

void TMainForm::mnuampliadoClick() {
    Calculating([this](const Study& study, char separator) {
        // The study's file, as the document names it; none for a new study.
        SnapshotFingerprint fingerprint;
        try {
            fingerprint.digest = m_document->FingerprintOf(study, separator);
        } catch (const Error& error) {
            fingerprint.missing = QString::fromUtf8(error.what());
        }
        // The figures the record states, before any limit is typed in the window.
        RecordFigures figures = ComputeRecordFigures(study, separator, {});
        ExtendedSnapshot snapshot{study,
                                  m_document->IsNew() ? QString() : m_document->Caption(),
                                  fingerprint,
                                  std::move(figures.values),
                                  figures.anova,
                                  std::move(figures.extended),
                                  std::move(figures.mandel)};
        auto* window = new ExtendedAnalysisWindow(std::move(snapshot), m_platform, separator);
        window->PlaceFrame(*AddChildWindow(window, ChildKind::ResultWindow));
    });
}

void TMainForm::mnuplanificarClick() {
    // The planner takes the study from the document, checked by the capture window's checks.
    auto checkedStudy = [document = QPointer<StudyDocument>(m_document),
                         &messages = m_platform.messages]() -> std::optional<Study> {
        if (!document || !document->HasStudy()) {
            messages.ShowMessage(
                QStringLiteral("No hay ningún estudio abierto del que tomar el promedio y las "
                               "desviaciones estándar."));
            return std::nullopt;
        }
        try {
            return document->CheckedStudy();
        } catch (const Error& error) {
            messages.ReportError(error.what());
        }
        return std::nullopt;
    };
    auto* window = new StudyPlannerWindow(m_platform, checkedStudy);
    window->PlaceFrame(*AddChildWindow(window, ChildKind::ResultWindow));
}

void TMainForm::mnucloseClick() {
    if (QMdiSubWindow* active = m_mdiArea->currentSubWindow()) {
        active->close();
    }
}

void TMainForm::FileExit() {
    close();
}

void TMainForm::WindowTile() {
    TileInArea(*m_mdiArea);
}

void TMainForm::WindowCascade() {
    CascadeInArea(*m_mdiArea);
}

void TMainForm::HelpContents() {
    m_platform.help.ShowContents();
}

void TMainForm::HelpSearch() {
    m_platform.help.SearchKeyword(QString());
}

void TMainForm::HelpHowToUse() {
    m_platform.help.ShowHelpOnHelp();
}

void TMainForm::HelpVerify() {
    qualification::SystemProbe probe;
    VerifyInstallation(this, m_platform, probe, qualification::PackagedProgram("orbeta"),
                       qualification::SystemRunContext(qVersion()));
}

void TMainForm::HelpAbout() {
    auto* about = new TAboutBox(m_platform.help, this);
    about->show();
}

void TMainForm::ShowHint(const QString& longHint) {
    m_statusLine->setText(longHint);
}

bool TMainForm::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        ShowHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

// F1 in an open menu asks for the topic of the highlighted item instead of the contents.
bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    const auto* menu = qobject_cast<QMenu*>(watched);
    const bool isKey =
        event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride;
    if (menu && isKey) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
            if (event->type() == QEvent::KeyPress) {
                ShowHelpOfHighlightedItem(*menu);
            }
            event->accept();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::ShowHelpOfHighlightedItem(const QMenu& menu) {
    // An item without a number of its own, or no item highlighted, takes its menu's number.
    const QAction* item = menu.activeAction();
    int helpContext = item ? m_helpContexts.value(item, kNoHelpContext) : kNoHelpContext;
    if (helpContext == kNoHelpContext) {
        helpContext = m_helpContexts.value(menu.menuAction(), kNoHelpContext);
    }
    while (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
    }
    m_platform.help.ShowTopic(helpContext);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    m_mdiArea->closeAllSubWindows();
    const QList<QMdiSubWindow*> children = m_mdiArea->subWindowList();
    if (std::any_of(children.cbegin(), children.cend(),
                    [](const QMdiSubWindow* child) { return child->isVisible(); })) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

} // namespace orbeta
