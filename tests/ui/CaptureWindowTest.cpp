#include "CaptureWindowFixture.h"

#include <QClipboard>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>

#include <functional>
#include <map>

namespace orbeta {
namespace {

using testing::CaptureWindowTest;

QStringList HeaderColumn(const CaptureGrid& grid) {
    QStringList labels;
    for (int row = 1; row < grid.GridRows(); ++row) {
        labels.append(grid.CellText(0, row));
    }
    return labels;
}

QStringList DataColumn(const CaptureGrid& grid, int column) {
    QStringList cells;
    for (int row = 1; row < grid.GridRows(); ++row) {
        cells.append(grid.CellText(column, row));
    }
    return cells;
}

// --- A new window -------------------------------------------------------------------------

struct ControlRow {
    const char* name;
    QRect geometry;
    int maxLength; // 0 for the button
    const char* text;
    const char* label;
    QPoint labelAt;
};

const ControlRow kGeneralPage[] = {
    {"emetodo", {16, 48, 577, 24}, 60, "", "Nombre del &método:", {16, 24}},
    {"efecha", {16, 112, 185, 24}, 20, "", "&Fecha:", {16, 88}},
    {"meanalista", {16, 184, 33, 24}, 2, "2", "Número de A&nalistas:", {16, 160}},
    {"medias", {168, 184, 33, 24}, 2, "2", "Número de &días:", {168, 160}},
    {"mereplica", {304, 184, 33, 24}, 2, "3", "Número de  &replicaciones:", {303, 160}},
    {"btnsinumero", {152, 232, 201, 33}, 0, "Ace&ptar nuevo formato", nullptr, {}},
};

TEST_F(CaptureWindowTest, ANewWindowShowsTheGeneralPageAndADefaultGrid) {
    NewStudy();
    ASSERT_NE(Capture(), nullptr);
    EXPECT_EQ(Capture()->windowTitle(), "Nuevo");
    EXPECT_EQ(Page(), QString::fromUtf8("Información General"));
    EXPECT_EQ(Focus(), "emetodo");
    EXPECT_EQ(Mark(), "");

    for (const ControlRow& row : kGeneralPage) {
        SCOPED_TRACE(row.name);
        QWidget& control = Find<QWidget>(QString::fromUtf8(row.name));
        EXPECT_EQ(control.geometry(), row.geometry);
        if (auto* field = qobject_cast<QLineEdit*>(&control)) {
            EXPECT_EQ(field->maxLength(), row.maxLength);
            EXPECT_EQ(field->text(), QString::fromUtf8(row.text));
            const auto labels = field->parentWidget()->findChildren<QLabel*>();
            const auto label = std::find_if(labels.begin(), labels.end(),
                                            [&](QLabel* each) { return each->buddy() == field; });
            ASSERT_NE(label, labels.end());
            EXPECT_EQ((*label)->text(), QString::fromUtf8(row.label));
            EXPECT_EQ((*label)->pos(), row.labelAt);
        } else {
            EXPECT_EQ(qobject_cast<QPushButton*>(&control)->text(), QString::fromUtf8(row.text));
        }
    }
    QStringList tabOrder{Focus()};
    for (int step = 1; step < static_cast<int>(std::size(kGeneralPage)); ++step) {
        Press(Qt::Key_Tab);
        tabOrder.append(Focus());
    }
    EXPECT_EQ(tabOrder, QStringList({"emetodo", "efecha", "meanalista", "medias", "mereplica",
                                     "btnsinumero"}));
    Press(Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(Focus(), "medias") << "a label's access key";

    const CaptureGrid& grid = Grid();
    EXPECT_EQ(grid.GridColumns(), 3);
    EXPECT_EQ(grid.GridRows(), 7);
    EXPECT_EQ(grid.CellText(1, 0), "Analista 1");
    EXPECT_EQ(grid.CellText(2, 0), "Analista 2");
    EXPECT_EQ(
        HeaderColumn(grid),
        QStringList({QString::fromUtf8("(Día 1,Replica 1)"), QString::fromUtf8("(Día 1,Replica 2)"),
                     QString::fromUtf8("(Día 1,Replica 3)"), QString::fromUtf8("(Día 2,Replica 1)"),
                     QString::fromUtf8("(Día 2,Replica 2)"),
                     QString::fromUtf8("(Día 2,Replica 3)")}));
    EXPECT_EQ(DataColumn(grid, 1), QStringList(6, QString()));
    EXPECT_EQ(grid.columnWidth(0), 110);
    EXPECT_EQ(grid.rowHeight(0), 24);
    EXPECT_EQ(grid.toolTip(), QString::fromUtf8("Opciones bóton derecho"));
    EXPECT_EQ(Command("pmnuanalisis").text(), QString::fromUtf8("&Análisis de la varianza"));
    EXPECT_EQ(Command("pmnuprecs").statusTip(), QString::fromUtf8("Precisión de método"));
    EXPECT_FALSE(Command("pmnuanalisis").isEnabled());
    EXPECT_FALSE(Command("pmnuprecs").isEnabled());
    EXPECT_EQ(Command("pmnuampliado").text(), QString::fromUtf8("Análisis a&mpliado"));
    EXPECT_FALSE(Command("pmnuampliado").isEnabled());
    EXPECT_FALSE(Command("FileNewItem").isEnabled());
    EXPECT_TRUE(Command("mnuclose").isEnabled());
    EXPECT_FALSE(Command("FileSaveItem").isEnabled());
}

// --- Typing in the fields ------------------------------------------------------------------

TEST_F(CaptureWindowTest, EnterMovesOnFromAFieldThatHoldsText) {
    NewStudy();
    Type(QString::fromUtf8("Valoración"));
    EXPECT_EQ(Mark(), "Modificado");
    const struct {
        const char* typed;
        const char* focusAfterEnter;
    } steps[] = {
        {"", "efecha"},                          // after the method name
        {"", "efecha"},                          // Enter in the empty date moves nothing
        {"01/06", "meanalista"}, {"", "medias"}, // the counts hold "2", "2", "3"
        {"", "mereplica"},       {"", "btnsinumero"},
    };
    for (const auto& step : steps) {
        Type(QString::fromUtf8(step.typed));
        Press(Qt::Key_Return);
        EXPECT_EQ(Focus(), step.focusAfterEnter) << "after typing '" << step.typed << "'";
    }
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(CaptureWindowTest, AnyKeyThatChangesAFieldMarksTheStudyModified) {
    NewStudy();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Delete}) {
        mainWindow.Document().SetMark(StudyDocument::Mark::Unchanged);
        Field("medias").setFocus();
        Field("medias").setCursorPosition(0);
        Press(key);
        EXPECT_EQ(Mark(), "Modificado") << "key " << key;
    }
    EXPECT_EQ(Field("medias").text(), "");
}

struct CountCase {
    const char* field;
    const char* text;
    const char* message; // nullptr: passes
};

const CountCase kCountCases[] = {
    {"meanalista", "", "Falta capturar número de Analistas"},
    {"meanalista", "x", "El valor de captura no es un valor numérico."},
    {"meanalista", "12", "Datos fuera de rango, 2-10 Analistas"},
    {"meanalista", "1", "Datos fuera de rango, 2-10 Analistas"},
    {"meanalista", "10", nullptr},
    {"meanalista", "$A", nullptr},
    {"medias", "", "Falta capturar número de Días"},
    {"medias", "-3", "Datos fuera de rango, 2-10 Días"},
    {"medias", "2", nullptr},
    {"mereplica", "", "Falta capturar número de Replicas"},
    {"mereplica", "6", "Datos fuera de rango, 2-5 Replicas"},
    {"mereplica", "5", nullptr},
};

TEST_F(CaptureWindowTest, LeavingACountFieldChecksIt) {
    NewStudy();
    for (const CountCase& row : kCountCases) {
        SCOPED_TRACE(std::string(row.field) + " '" + row.text + "'");
        const qsizetype shownBefore = Messages().size();
        Retype(row.field, QString::fromUtf8(row.text));
        Press(Qt::Key_Tab);
        if (row.message) {
            ASSERT_EQ(Messages().size(), shownBefore + 1);
            EXPECT_EQ(Messages().constLast(), QString::fromUtf8(row.message));
            EXPECT_EQ(Focus(), row.field);
        } else {
            EXPECT_EQ(Messages().size(), shownBefore);
            EXPECT_NE(Focus(), row.field);
        }
        // Back to a count that passes, so the next row starts clean.
        Retype(row.field, QStringLiteral("2"));
    }
    EXPECT_EQ(Grid().GridColumns(), 3) << "a passing check changes nothing";
}

TEST_F(CaptureWindowTest, SwitchingToAnotherChildWindowRunsNoCheck) {
    NewStudy();
    Retype("meanalista", QString());
    auto* other = new QLineEdit;
    mainWindow.AddChildWindow(other, TMainForm::ChildKind::ResultWindow);
    other->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(Messages().isEmpty());
}

// --- The layout button ---------------------------------------------------------------------

TEST_F(CaptureWindowTest, TheButtonLaysTheGridOutKeepingTheResultsTyped) {
    NewStudy();
    Field("mereplica").setFocus();
    FillGrid({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"});
    // Back by the tab: the general page opens on the method name.
    QTabBar& tabs = *Find<QTabWidget>(QStringLiteral("THojas")).tabBar();
    QTest::mouseClick(&tabs, Qt::LeftButton, Qt::NoModifier, tabs.tabRect(0).center());
    QApplication::processEvents();
    EXPECT_EQ(Page(), QString::fromUtf8("Información General"));
    EXPECT_EQ(Focus(), "emetodo");

    Retype("medias", QStringLiteral("3"));
    Press(Qt::Key_Tab);
    Press(Qt::Key_Tab);
    ASSERT_EQ(Focus(), "btnsinumero");
    Press(Qt::Key_Space);
    EXPECT_EQ(Page(), "Captura Datos");
    EXPECT_EQ(Focus(), "stgdatos");
    EXPECT_EQ(Grid().GridRows(), 10);
    EXPECT_EQ(HeaderColumn(Grid()).constLast(), QString::fromUtf8("(Día 3,Replica 3)"));
    EXPECT_EQ(DataColumn(Grid(), 1), QStringList({"1", "3", "5", "7", "9", "11", "", "", ""}));
    EXPECT_EQ(DataColumn(Grid(), 2), QStringList({"2", "4", "6", "8", "10", "12", "", "", ""}));
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(CaptureWindowTest, TheButtonsAccessKeyChecksTheCountsFirst) {
    // Each count out of range while its own field has the focus, so that only the button's
    // check can find it.
    const CountCase failing[] = {
        {"meanalista", "12", "Datos fuera de rango, 2-10 Analistas"},
        {"medias", "11", "Datos fuera de rango, 2-10 Días"},
        {"mereplica", "6", "Datos fuera de rango, 2-5 Replicas"},
    };
    NewStudy();
    for (const CountCase& row : failing) {
        SCOPED_TRACE(row.field);
        Retype(row.field, QString::fromUtf8(row.text));
        Press(Qt::Key_P, Qt::AltModifier);
        EXPECT_EQ(Messages(), QStringList({QString::fromUtf8(row.message)}));
        EXPECT_EQ(Focus(), row.field);
        EXPECT_EQ(Page(), QString::fromUtf8("Información General"));
        EXPECT_EQ(Grid().GridColumns(), 3);
        EXPECT_EQ(Grid().GridRows(), 7);
        Retype(row.field, QStringLiteral("2"));
        platform.messages = {};
    }
    Retype("meanalista", QStringLiteral("12"));
    Press(Qt::Key_P, Qt::AltModifier);
    ASSERT_EQ(Messages().size(), 1);

    // A click of the button moves the focus out of the field first: still one message.
    QTest::mouseClick(&Find<QPushButton>(QStringLiteral("btnsinumero")), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(Messages().size(), 2);
    EXPECT_EQ(Focus(), "meanalista");

    Retype("meanalista", QStringLiteral("4"));
    Press(Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(Grid().GridColumns(), 5);
    EXPECT_EQ(Grid().GridRows(), 5) << "two days of two replicates";
    EXPECT_EQ(Grid().CellText(4, 0), "Analista 4");
    EXPECT_EQ(Messages().size(), 2);
}

// --- Entering and leaving the grid ---------------------------------------------------------

struct EntryCase {
    const char* analysts;
    const char* days;
    const char* message;
    const char* focus;
};

TEST_F(CaptureWindowTest, EnteringAGridThatDoesNotMatchTheCountsSendsTheFocusBackOnce) {
    const EntryCase cases[] = {
        {"2", "3",
         "El número de celdas de captura, por analista no coincide con el número de Días o "
         "Replicaciones.",
         "medias"},
        {"3", "2", "El número columnas para los analistas, no coincide con el número de Analistas.",
         "meanalista"},
        {"3", "3",
         "El número de celdas de captura, por analista no coincide con el número de Días o "
         "Replicaciones.",
         "medias"},
    };
    for (const EntryCase& row : cases) {
        SCOPED_TRACE(std::string(row.analysts) + " x " + row.days);
        NewStudy();
        Retype("meanalista", QString::fromUtf8(row.analysts));
        Retype("medias", QString::fromUtf8(row.days));
        // By the tab, as a user would: the grid is entered with its cells still empty.
        Find<QTabWidget>(QStringLiteral("THojas")).setCurrentIndex(1);
        QApplication::processEvents();
        EXPECT_EQ(Messages(), QStringList({QString::fromUtf8(row.message)}));
        EXPECT_EQ(Page(), QString::fromUtf8("Información General"));
        EXPECT_EQ(Focus(), row.focus);
        DiscardStudy();
    }
}

struct ExitCase {
    const char* separator;
    QStringList resultsByRow; // both analysts, row by row
    const char* message;
};

TEST_F(CaptureWindowTest, LeavingTheGridChecksEveryCellInWalkOrder) {
    const QStringList full{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"};
    QStringList emptyLast = full;
    emptyLast[11] = "";
    QStringList commaRow4 = full;
    commaRow4[7] = "1,5"; // analyst 2, row 4
    QStringList commaAfterEmpty = commaRow4;
    commaAfterEmpty[10] = ""; // analyst 1, row 6: found first, analyst by analyst
    const ExitCase cases[] = {
        {".", emptyLast, "Falta capturar un dato"},
        {".", commaRow4, "El dato del control negativo 4 no es un valor numérico."},
        {".", commaAfterEmpty, "Falta capturar un dato"},
        {",", commaRow4, nullptr},
    };
    for (const ExitCase& row : cases) {
        SCOPED_TRACE(row.message ? row.message : "passes");
        platform.regionalSettings = testing::FixedRegionalSettings(row.separator[0]);
        NewStudy();
        QStringList typed = row.resultsByRow;
        const int lastTyped = static_cast<int>(typed.lastIndexOf(QRegularExpression(".+")));
        FillGrid(typed.mid(0, lastTyped + 1));
        Field("emetodo").setFocus();
        QApplication::processEvents();
        if (row.message) {
            EXPECT_EQ(Messages(), QStringList({QString::fromUtf8(row.message)}));
            EXPECT_EQ(Page(), "Captura Datos");
            EXPECT_EQ(Focus(), "stgdatos");
        } else {
            EXPECT_TRUE(Messages().isEmpty());
            EXPECT_EQ(Focus(), "emetodo");
        }
        EXPECT_EQ(Grid().CurrentColumn(), 1);
        EXPECT_EQ(Grid().CurrentRow(), 1);
        DiscardStudy();
    }
}

TEST_F(CaptureWindowTest, TheLastCellMakesTheStudyCompleteAndTabLeavesTheGrid) {
    NewStudy();
    FillGrid({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
    EXPECT_EQ(Mark(), "Modificado");
    EXPECT_FALSE(Command("FileSaveItem").isEnabled()) << "only the last cell completes a study";
    Grid().SetCurrentCell(2, 6);
    QApplication::processEvents();
    Type(QStringLiteral("12"));
    for (const char* name : {"FileSaveItem", "FileSaveAsItem", "mnuanova", "PrintLasser"}) {
        EXPECT_TRUE(Command(name).isEnabled()) << name;
    }
    EXPECT_FALSE(Command("WindowTileItem").isEnabled());
    EXPECT_FALSE(Command("pmnuanalisis").isEnabled());

    // Tab now leaves the grid; analyst 1's row 6 is still empty.
    Press(Qt::Key_Tab);
    EXPECT_EQ(Messages(), QStringList({"Falta capturar un dato"}));
    EXPECT_EQ(Focus(), "stgdatos");
    EXPECT_EQ(Grid().CurrentColumn(), 1);
    EXPECT_EQ(Grid().CurrentRow(), 1);
    Press(Qt::Key_Tab);
    EXPECT_EQ(Grid().CurrentColumn(), 2) << "Tab moves between cells again";
}

TEST_F(CaptureWindowTest, AStudyCheckFromTheGridEndsInTheCountFieldWithOneMessage) {
    NewStudy();
    FillGrid({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"});
    Field("meanalista").setText(QStringLiteral("3")); // not applied, as a bypassed check leaves it
    Field("medias").setText(QStringLiteral("3"));
    Grid().SetCurrentCell(2, 6);
    Grid().setFocus();
    QApplication::processEvents();
    Grid().SetCellText(1, 6, QString()); // the grid exit check would fail too
    Command("FileSaveItem").setEnabled(true);
    Press(Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(Messages(), QStringList({QString::fromUtf8(
                              "El número de celdas de captura, por analista no coincide con el "
                              "número de Días o Replicaciones.")}));
    EXPECT_EQ(Page(), QString::fromUtf8("Información General"));
    EXPECT_EQ(Focus(), "medias");
    EXPECT_TRUE(platform.fileDialogs.SaveDialogsShown().empty());
}

// --- Copy and paste ------------------------------------------------------------------------

TEST_F(CaptureWindowTest, ABlockPastedFromASpreadsheetFillsTheGridAndCompletesTheStudy) {
    NewStudy();
    Retype("meanalista", QStringLiteral("3"));
    Press(Qt::Key_P, Qt::AltModifier);
    ASSERT_EQ(Grid().GridColumns(), 4);
    QGuiApplication::clipboard()->setText(QStringLiteral("1\t2\t3\t99\r\n4\t5\t6\r\n7\t8\t9\r\n"
                                                         "10\t11\t12\r\n13\t14\t15\r\n"
                                                         "16\t17\t18\r\n19\t20\t21\r\n"));
    mainWindow.Document().SetMark(StudyDocument::Mark::Unchanged);
    Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(DataColumn(Grid(), 1), QStringList({"1", "4", "7", "10", "13", "16"}));
    EXPECT_EQ(DataColumn(Grid(), 3), QStringList({"3", "6", "9", "12", "15", "18"}));
    EXPECT_EQ(Grid().GridColumns(), 4) << "clipped to the grid";
    EXPECT_EQ(Mark(), "Modificado");
    EXPECT_TRUE(Command("FileSaveItem").isEnabled());

    // A block dragged from analyst 2, row 2 to analyst 3, row 3.
    const auto centre = [&](int column, int row) {
        return Grid().visualRect(Grid().model()->index(row - 1, column - 1)).center();
    };
    QTest::mousePress(Grid().viewport(), Qt::LeftButton, Qt::NoModifier, centre(2, 2));
    QMouseEvent drag(QEvent::MouseMove, centre(3, 3), Grid().viewport()->mapToGlobal(centre(3, 3)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Grid().viewport(), &drag);
    QTest::mouseRelease(Grid().viewport(), Qt::LeftButton, Qt::NoModifier, centre(3, 3));
    QApplication::processEvents();
    Press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("5\t6\n8\t9\n"));
}

struct PasteCase {
    int analysts;
    QPoint from; // the current cell, as the study counts them
    QString clipboard;
    QStringList columns; // the data columns afterwards, each top to bottom joined by ","
    QStringList messages;
};

// A block of `rows` lines of `columns` values, numbered from 1 across each line.
QString Block(int columns, int rows) {
    QString text;
    for (int row = 0; row < rows; ++row) {
        QStringList cells;
        for (int column = 1; column <= columns; ++column) {
            cells.append(QString::number(row * columns + column));
        }
        text += cells.join('\t') + "\r\n";
    }
    return text;
}

TEST_F(CaptureWindowTest, APasteTooBigForTheGridSaysHowManyDataWereLeftOut) {
    const QString tail =
        QStringLiteral(" el bloque no cabe en la tabla a partir de la celda actual.");
    const PasteCase cases[] = {
        {2, {1, 5}, Block(2, 2), {",,,,1,3", ",,,,2,4"}, {}},
        {2, {1, 1}, Block(2, 6), {"1,3,5,7,9,11", "2,4,6,8,10,12"}, {}},
        {3,
         {1, 4},
         Block(4, 5),
         {",,,1,5,9", ",,,2,6,10", ",,,3,7,11"},
         {"Se pegaron 9 de 20 datos:" + tail}},
        {2, {2, 6}, Block(1, 2), {",,,,,", ",,,,,1"}, {"Se pegaron 1 de 2 datos:" + tail}},
        {2, {2, 1}, Block(3, 1), {",,,,,", "1,,,,,"}, {"Se pegaron 1 de 3 datos:" + tail}},
    };
    for (const PasteCase& row : cases) {
        SCOPED_TRACE(row.clipboard.toStdString());
        NewStudy();
        Retype("meanalista", QString::number(row.analysts));
        Press(Qt::Key_P, Qt::AltModifier);
        Grid().SetCurrentCell(row.from.x(), row.from.y());
        QApplication::processEvents();
        QGuiApplication::clipboard()->setText(row.clipboard);
        Press(Qt::Key_V, Qt::ControlModifier);
        QStringList columns;
        for (int column = 1; column < Grid().GridColumns(); ++column) {
            columns.append(DataColumn(Grid(), column).join(','));
        }
        EXPECT_EQ(columns, row.columns);
        EXPECT_EQ(Messages(), row.messages);
        DiscardStudy();
    }
}

// --- Missing results -------------------------------------------------------------------------

// A data cell as the grid shows it: its text, and the colour it is drawn in when it has one.
QString Look(const CaptureGrid& grid, int column, int row) {
    const QModelIndex cell = grid.model()->index(row - 1, column - 1);
    const QVariant colour = cell.data(Qt::ForegroundRole);
    return cell.data(Qt::DisplayRole).toString() +
           (colour.isValid() ? " " + colour.value<QBrush>().color().name() : QString());
}

struct MissingCase {
    const char* keys;      // typed at analyst 1, row 5, in a grid otherwise full; "<Key>"
                           // presses a key, "<Ctrl+Z>" with Ctrl
    const char* clipboard; // then pasted there; nullptr: nothing
    QStringList texts;     // rows 5 and 6, analyst by analyst within a row: as held
    QStringList looks;     // the same cells as shown
    QString message;       // on leaving the grid; empty: it passes
};

TEST_F(CaptureWindowTest, NaMarksAResultMissingInGreyAndAKeyThatEditsItReplacesItWhole) {
    const QString grey = QStringLiteral("NA #808080");
    const QString notANumber =
        QString::fromUtf8("El dato del control negativo 5 no es un valor numérico.");
    const QString noData = QStringLiteral("Falta capturar un dato");
    const QStringList rest{"10", "11", "12"};
    const MissingCase cases[] = {
        {"NA", nullptr, QStringList{"NA"} + rest, QStringList{grey} + rest, {}},
        {"na", nullptr, QStringList{"na"} + rest, QStringList{grey} + rest, {}},
        {" nA ", nullptr, QStringList{" nA "} + rest, QStringList{grey} + rest, {}},
        {"N", nullptr, QStringList{"N"} + rest, QStringList{"N"} + rest, notANumber},
        {"NA<Backspace>", nullptr, QStringList{""} + rest, QStringList{""} + rest, noData},
        {"NA<Delete>", nullptr, QStringList{""} + rest, QStringList{""} + rest, noData},
        {"NA12.5", nullptr, QStringList{"12.5"} + rest, QStringList{"12.5"} + rest, {}},
        {"nA<Backspace><Ctrl+Z>", nullptr, QStringList{"nA"} + rest, QStringList{grey} + rest, {}},
        {"95<Backspace>", nullptr, QStringList{"9"} + rest, QStringList{"9"} + rest, {}},
        {"95<Backspace><Ctrl+Z>", nullptr, QStringList{"95"} + rest, QStringList{"95"} + rest, {}},
        {"95<Left>34", nullptr, QStringList{"9345"} + rest, QStringList{"9345"} + rest, {}},
        {"NA<Tab><Backtab><End><Backspace>", nullptr, QStringList{""} + rest,
         QStringList{""} + rest, noData},
        {"", "NA\tna\r\n7\t8\r\n", {"NA", "na", "7", "8"}, {grey, grey, "7", "8"}, {}},
        {"", "NA\t\r\n7\tna\r\n", {"NA", "", "7", "na"}, {grey, "", "7", grey}, noData},
        {"", "nan\tNA\r\n7\t8\r\n", {"nan", "NA", "7", "8"}, {"nan", grey, "7", "8"}, notANumber},
    };
    const std::map<QString, std::pair<Qt::Key, Qt::KeyboardModifiers>> named{
        {"Backspace", {Qt::Key_Backspace, Qt::NoModifier}},
        {"Delete", {Qt::Key_Delete, Qt::NoModifier}},
        {"Tab", {Qt::Key_Tab, Qt::NoModifier}},
        {"Backtab", {Qt::Key_Backtab, Qt::NoModifier}},
        {"End", {Qt::Key_End, Qt::NoModifier}},
        {"Left", {Qt::Key_Left, Qt::NoModifier}},
        {"Ctrl+Z", {Qt::Key_Z, Qt::ControlModifier}},
    };
    for (const MissingCase& row : cases) {
        SCOPED_TRACE(std::string(row.keys) + (row.clipboard ? row.clipboard : ""));
        NewStudy();
        Press(Qt::Key_P, Qt::AltModifier); // shows the grid's page
        for (int cell = 1; cell <= 12; ++cell) {
            if (cell != 9) { // analyst 1, row 5 stays as a new study has it, without a text
                Grid().SetCellText(2 - cell % 2, (cell + 1) / 2, QString::number(cell));
            }
        }
        Grid().SetCurrentCell(1, 5);
        QApplication::processEvents();
        for (const QString& piece : QString::fromUtf8(row.keys).split(
                 QRegularExpression("(?=<)|(?<=>)"), Qt::SkipEmptyParts)) {
            if (piece.startsWith('<')) {
                const auto& [key, modifiers] = named.at(piece.mid(1, piece.size() - 2));
                Press(key, modifiers);
            } else {
                Type(piece);
            }
        }
        if (row.clipboard) {
            QGuiApplication::clipboard()->setText(QString::fromUtf8(row.clipboard));
            Press(Qt::Key_V, Qt::ControlModifier);
        }
        const auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->palette().color(QPalette::Text) == QColor(Qt::darkGray),
                  row.looks[0] == grey)
            << "the open editor shows the mark grey too";
        QStringList texts;
        QStringList looks;
        for (const int cellRow : {5, 6}) {
            for (const int column : {1, 2}) {
                texts.append(Grid().CellText(column, cellRow));
                looks.append(Look(Grid(), column, cellRow));
            }
        }
        EXPECT_EQ(texts, row.texts);
        EXPECT_EQ(looks, row.looks);
        Field("emetodo").setFocus();
        QApplication::processEvents();
        EXPECT_EQ(Messages(), row.message.isEmpty() ? QStringList() : QStringList({row.message}));
        DiscardStudy();
    }
}

TEST_F(CaptureWindowTest, TheCurrentCellIsOutlinedInAnEmptyGrid) {
    NewStudy();
    Press(Qt::Key_P, Qt::AltModifier); // shows the empty grid with the focus in it
    for (const QPoint cell : {QPoint(1, 1), QPoint(2, 6)}) {
        SCOPED_TRACE(std::to_string(cell.x()) + "," + std::to_string(cell.y()));
        Grid().SetCurrentCell(cell.x(), cell.y());
        QApplication::processEvents();
        const QImage shown = Grid().viewport()->grab().toImage();
        const QRect place = Grid().visualRect(Grid().currentIndex());
        const QColor outline = Grid().palette().color(QPalette::Highlight);
        EXPECT_EQ(shown.pixelColor(place.left() + 1, place.center().y()), outline);
        EXPECT_EQ(shown.pixelColor(place.center().x(), place.bottom() - 1), outline);
        EXPECT_NE(shown.pixelColor(place.center()), outline) << "the cell itself stays clear";
    }
}

// --- Keys ------------------------------------------------------------------------------------

struct AltCase {
    const char* where; // a field, or "stgdatos" for the last data cell
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* character;
    bool types;
};

TEST_F(CaptureWindowTest, AltWithAKeyNoAccessKeyTakesTypesNothingButAltGrTypes) {
    const AltCase cases[] = {
        {"emetodo", Qt::Key_1, Qt::AltModifier, "1", false},
        {"emetodo", Qt::Key_Z, Qt::AltModifier, "z", false},
        {"meanalista", Qt::Key_K, Qt::AltModifier | Qt::ShiftModifier, "K", false},
        {"stgdatos", Qt::Key_1, Qt::AltModifier, "1", false},
        {"stgdatos", Qt::Key_Z, Qt::AltModifier, "z", false},
        // AltGr, as the desktops report it: a group switch, or Ctrl and Alt together.
        {"emetodo", Qt::Key_At, Qt::GroupSwitchModifier, "@", true},
        {"efecha", Qt::Key_NumberSign, Qt::ControlModifier | Qt::AltModifier, "#", true},
        {"stgdatos", Qt::Key_At, Qt::GroupSwitchModifier, "@", true},
        {"stgdatos", Qt::Key_unknown, Qt::ControlModifier | Qt::AltModifier, "€", true},
    };
    for (const AltCase& row : cases) {
        SCOPED_TRACE(std::string(row.where) + " " + row.character);
        NewStudy();
        mainWindow.Document().SetMark(StudyDocument::Mark::Unchanged);
        const bool inGrid = QString::fromUtf8(row.where) == "stgdatos";
        if (inGrid) {
            Grid().setFocus();
            Grid().SetCurrentCell(2, 6);
            QApplication::processEvents();
        } else {
            Field(row.where).setFocus();
            Field(row.where).clear();
        }
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), row.key,
                            QString::fromUtf8(row.character), row.modifiers);
        QApplication::processEvents();
        const QString typed = row.types ? QString::fromUtf8(row.character) : QString();
        EXPECT_EQ(inGrid ? Grid().CellText(2, 6) : Field(row.where).text(), typed);
        EXPECT_EQ(Mark(), row.types ? "Modificado" : "");
        EXPECT_EQ(Command("FileSaveItem").isEnabled(), row.types && inGrid)
            << "a character in the last cell completes the study";
        DiscardStudy();
    }
}

TEST_F(CaptureWindowTest, KeysThatTypeNothingLeaveNoMarkAndMakeNothingAvailable) {
    const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down,
                            Qt::Key_Home, Qt::Key_End,   Qt::Key_F5, Qt::Key_Shift};
    NewStudy();
    Field("emetodo").setText(QString::fromUtf8("Valoración"));
    // The fields first, then the last data cell: leaving the unfinished grid would fail its check.
    for (const char* where : {"emetodo", "meanalista", "stgdatos"}) {
        const bool inGrid = QString::fromUtf8(where) == "stgdatos";
        if (inGrid) {
            FillGrid({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
            mainWindow.Document().SetMark(StudyDocument::Mark::Unchanged);
        }
        for (const Qt::Key key : keys) {
            SCOPED_TRACE(std::string(where) + " key " + std::to_string(key));
            if (inGrid) {
                Grid().SetCurrentCell(2, 6); // the last data cell
                QApplication::processEvents();
            } else {
                Field(where).setFocus();
            }
            Press(key);
            EXPECT_EQ(Mark(), "");
            EXPECT_FALSE(Command("FileSaveItem").isEnabled());
            EXPECT_FALSE(Command("mnuanova").isEnabled());
        }
    }
    EXPECT_EQ(Field("emetodo").text(), QString::fromUtf8("Valoración"));
    EXPECT_EQ(Field("meanalista").text(), "2");
    EXPECT_EQ(Grid().CellText(2, 6), "");
    EXPECT_TRUE(Messages().isEmpty());
}

// --- Selecting a block to copy -------------------------------------------------------------

struct SelectionCase {
    const char* how;
    std::function<void()> select;
    const char* copied;
};

TEST_F(CaptureWindowTest, ABlockCanBeSelectedAndCopiedOnceTheStudyIsComplete) {
    const auto centre = [](const CaptureGrid& grid, int column, int row) {
        return grid.visualRect(grid.model()->index(row - 1, column - 1)).center();
    };
    const SelectionCase cases[] = {
        {"dragging",
         [&] {
             CaptureGrid& grid = Grid();
             QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::NoModifier, centre(grid, 1, 2));
             QMouseEvent drag(QEvent::MouseMove, centre(grid, 2, 4),
                              grid.viewport()->mapToGlobal(centre(grid, 2, 4)), Qt::NoButton,
                              Qt::LeftButton, Qt::NoModifier);
             QApplication::sendEvent(grid.viewport(), &drag);
             QTest::mouseRelease(grid.viewport(), Qt::LeftButton, Qt::NoModifier,
                                 centre(grid, 2, 4));
         },
         "3\t4\n5\t6\n7\t8\n"},
        {"Shift+click",
         [&] {
             ClickCell(2, 5);
             QTest::mouseClick(Grid().viewport(), Qt::LeftButton, Qt::ShiftModifier,
                               centre(Grid(), 1, 6));
         },
         "9\t10\n11\t12\n"},
        {"Shift+arrows",
         [&] {
             ClickCell(2, 5);
             Press(Qt::Key_Left, Qt::ShiftModifier);
             Press(Qt::Key_Up, Qt::ShiftModifier);
             Press(Qt::Key_Up, Qt::ShiftModifier);
             Press(Qt::Key_Right, Qt::ShiftModifier);
         },
         "6\n8\n10\n"},
    };
    NewStudy();
    Press(Qt::Key_P, Qt::AltModifier); // shows the grid's page
    FillGrid({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"});
    ASSERT_TRUE(Command("FileSaveItem").isEnabled()) << "the last cell was typed";
    for (const SelectionCase& row : cases) {
        SCOPED_TRACE(row.how);
        QGuiApplication::clipboard()->clear();
        row.select();
        QApplication::processEvents();
        Press(Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8(row.copied));
    }
    EXPECT_TRUE(Messages().isEmpty());
}

// In the open cell editor Ctrl+Shift with an arrow selects words of the cell's text: the
// current cell and the selected block stay. Only Shift+arrows without Ctrl change the block.
TEST_F(CaptureWindowTest, CtrlShiftArrowsInTheCellEditorKeepTheCurrentCellAndTheBlock) {
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int column;
        int row;
        const char* copied;
    };
    const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    const Step steps[] = {
        {Qt::Key_Up, Qt::ShiftModifier, 2, 4, "8\n10\n"},
        {Qt::Key_Left, ctrlShift, 2, 4, "8\n10\n"},
        {Qt::Key_Right, ctrlShift, 2, 4, "8\n10\n"},
        {Qt::Key_Left, Qt::ShiftModifier, 1, 4, "7\t8\n9\t10\n"},
        {Qt::Key_Right, ctrlShift, 1, 4, "7\t8\n9\t10\n"},
    };
    NewStudy();
    Press(Qt::Key_P, Qt::AltModifier); // shows the grid's page
    FillGrid({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"});
    ClickCell(2, 5);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.copied);
        Press(step.key, step.modifiers);
        EXPECT_EQ(Focus(), "stgdatos");
        EXPECT_EQ(Grid().CurrentColumn(), step.column);
        EXPECT_EQ(Grid().CurrentRow(), step.row);
        QGuiApplication::clipboard()->clear();
        Grid().CopyBlock();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8(step.copied));
    }
    EXPECT_TRUE(Messages().isEmpty());
}

// --- The tab strip -------------------------------------------------------------------------

struct TabClickCase {
    QStringList resultsByRow;
    const char* message; // nullptr: the grid passes
};

TEST_F(CaptureWindowTest, ClickingTheGeneralTabFromTheGridRunsTheGridsCheckOnce) {
    const QStringList full{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"};
    QStringList lettersRow3 = full;
    lettersRow3[4] = "abc";
    const TabClickCase cases[] = {
        {full.mid(0, 11), "Falta capturar un dato"},
        {lettersRow3, "El dato del control negativo 3 no es un valor numérico."},
        {full, nullptr},
    };
    for (const TabClickCase& row : cases) {
        SCOPED_TRACE(row.message ? row.message : "passes");
        NewStudy();
        Press(Qt::Key_P, Qt::AltModifier); // shows the grid's page
        FillGrid(row.resultsByRow);
        Grid().SetCurrentCell(2, 3);
        QApplication::processEvents();
        QTabBar& tabs = *Find<QTabWidget>(QStringLiteral("THojas")).tabBar();
        QTest::mouseClick(&tabs, Qt::LeftButton, Qt::NoModifier, tabs.tabRect(0).center());
        QApplication::processEvents();
        if (row.message) {
            EXPECT_EQ(Messages(), QStringList({QString::fromUtf8(row.message)}));
            EXPECT_EQ(Page(), "Captura Datos");
            EXPECT_EQ(Focus(), "stgdatos");
            EXPECT_EQ(Grid().CurrentColumn(), 1);
            EXPECT_EQ(Grid().CurrentRow(), 1);
        } else {
            EXPECT_TRUE(Messages().isEmpty());
            EXPECT_EQ(Page(), QString::fromUtf8("Información General"));
            EXPECT_EQ(Focus(), "emetodo");
        }
        DiscardStudy();
    }
}

} // namespace
} // namespace orbeta
