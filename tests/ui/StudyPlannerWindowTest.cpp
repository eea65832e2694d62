// The expected design, its figures and its probability were computed apart from this code, in
// multiple-precision arithmetic: with only the repeatability's limit the probability has a
// closed form, so the recommendation can be found by walking the designs by hand.
#include "CaptureWindowFixture.h"

#include "support/Studies.h"
#include "ui/StudyPlannerWindow.h"

#include <QClipboard>
#include <QHeaderView>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QTableWidget>

#include <functional>
#include <optional>
#include <stdexcept>
#include <utility>

namespace orbeta {
namespace {

class StudyPlannerWindowTest : public testing::CaptureWindowTest {
protected:
    StudyPlannerWindowTest() { platform.regionalSettings = testing::FixedRegionalSettings(','); }

    StudyPlannerWindow& OpenPlanner() {
        Command("mnuplanificar").trigger();
        QApplication::processEvents();
        return *mainWindow.findChild<StudyPlannerWindow*>();
    }
    void Click(const char* button) {
        Find<QPushButton>(QString::fromUtf8(button)).click();
        QApplication::processEvents();
    }
    QTableWidget& Table() { return Find<QTableWidget>(QStringLiteral("stgplan")); }
    QString Recommendation() { return Find<QLabel>(QStringLiteral("lblrecomendacion")).text(); }
    QString Row(int row) {
        QStringList cells;
        for (int column = 0; column < Table().columnCount(); ++column) {
            cells.append(Table().item(row, column)->text());
        }
        return cells.join('|');
    }
    // The rows drawn as the recommended one.
    QStringList HighlightedRows() {
        QStringList rows;
        for (int row = 0; row < Table().rowCount(); ++row) {
            if (Table().item(row, 0)->font().bold()) {
                rows.append(Row(row));
            }
        }
        return rows;
    }
    QStringList Headings() {
        QStringList headings;
        for (int column = 0; column < Table().columnCount(); ++column) {
            headings.append(Table().horizontalHeaderItem(column)->text());
        }
        return headings;
    }
    std::vector<double> Column(int column) {
        std::vector<double> values;
        for (int row = 0; row < Table().rowCount(); ++row) {
            values.push_back(Table().item(row, column)->text().replace(',', '.').toDouble());
        }
        return values;
    }
    // Mean 100, SDs 0.4, 0.3 and 0.5, a repeatability limit of 0.5 % and 90 % wanted.
    void TypeALabsExpectation() {
        for (const auto& [field, text] :
             {std::pair{"epromedio", "100"}, std::pair{"esdrepetibilidad", "0,4"},
              std::pair{"esddia", "0,3"}, std::pair{"esdanalista", "0,5"},
              std::pair{"elimrepetibilidad", "0,5"}}) {
            Retype(field, QString::fromUtf8(text));
        }
    }
};

TEST_F(StudyPlannerWindowTest, EachBadInputIsNamedAndGetsTheFocus) {
    OpenPlanner();
    EXPECT_EQ(Field("eprobabilidad").text(), "90");
    TypeALabsExpectation();
    struct Case {
        const char* field;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"epromedio", "100.5", "El promedio esperado debe ser un número mayor que cero."},
        {"esdrepetibilidad", "",
         "La desviación estándar de repetibilidad debe ser un número "
         "mayor que cero."},
        {"esddia", "-1",
         "La desviación estándar entre días debe ser un número mayor o igual que "
         "cero."},
        {"esdanalista", "a",
         "La desviación estándar entre analistas debe ser un número mayor o "
         "igual que cero."},
        {"elimrepetibilidad", "0",
         "El límite de la repetibilidad debe ser un número mayor que "
         "cero."},
        {"elimrepetibilidad", "",
         "Indique al menos un límite: el de la repetibilidad o el de la "
         "precisión intermedia."},
        {"elimintermedia", "-2",
         "El límite de la precisión intermedia debe ser un número mayor "
         "que cero."},
        {"eprobabilidad", "100",
         "La probabilidad deseada debe ser un número mayor que 0 y menor "
         "que 100."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        const QString before = Field(c.field).text();
        Retype(c.field, QString::fromUtf8(c.text));
        Click("btncalcular");
        EXPECT_EQ(Messages(), QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(QApplication::focusWidget()->objectName(), c.field);
        EXPECT_EQ(Table().rowCount(), 0);
        Retype(c.field, before);
        platform.messages = {};
    }
}

TEST_F(StudyPlannerWindowTest, CalculateShowsEveryDesignAndRecommendsTheCheapestThatReaches) {
    OpenPlanner();
    EXPECT_FALSE(Find<QPushButton>(QStringLiteral("btncopiar")).isEnabled());
    TypeALabsExpectation();
    Click("btncalcular");
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(Headings(), QStringList({"Analistas", "Días", "Replicaciones", "N", "E[MC] analista",
                                       "E[MC] día", "E[MC] error", "gl Satterthwaite",
                                       "Cota MLS / DE", "P repetibilidad (%)"}));
    ASSERT_EQ(Table().rowCount(), 324);
    EXPECT_EQ(Row(0), "2|2|2|8|1,34|0,34|0,16|2,12879|13,0672|10,7398");
    const QString recommended = "3|8|5|120|10,61|0,61|0,16|6,96532|3,28843|92,1773";
    EXPECT_EQ(HighlightedRows(), QStringList{recommended});
    EXPECT_EQ(Recommendation(),
              QString::fromUtf8("Se recomienda el diseño de 3 analistas × 8 días × 5 replicaciones "
                                "(120 determinaciones): es el de menos determinaciones con una "
                                "probabilidad de al menos el 90 % de demostrar al 95 % que la "
                                "repetibilidad no pasa del 0,5 % (92,1773 %)."));

    // Sorted by N as numbers, either way, the highlight going with its row.
    QHeaderView& header = *Table().horizontalHeader();
    for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
        QTest::mouseClick(header.viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(header.sectionViewportPosition(3) + 5, header.height() / 2));
        const std::vector<double> n = Column(3);
        EXPECT_EQ(n.front(), order == Qt::AscendingOrder ? 8 : 500);
        EXPECT_TRUE(order == Qt::AscendingOrder ? std::is_sorted(n.begin(), n.end())
                                                : std::is_sorted(n.rbegin(), n.rend()));
        EXPECT_EQ(HighlightedRows(), QStringList{recommended});
    }

    // Copied with what it was made for, then the table as it stands, tab-separated, then the
    // sentence.
    Click("btncopiar");
    QStringList lines{QString::fromUtf8("Promedio esperado:\t100"),
                      QString::fromUtf8("Desviación estándar de repetibilidad:\t0,4"),
                      QString::fromUtf8("Desviación estándar entre días:\t0,3"),
                      QString::fromUtf8("Desviación estándar entre analistas:\t0,5"),
                      QString::fromUtf8("Límite del RSD de repetibilidad (%):\t0,5"),
                      QString::fromUtf8("Límite del RSD de precisión intermedia (%):\tsin límite"),
                      QString::fromUtf8("Probabilidad deseada (%):\t90"),
                      QString::fromUtf8("Estudios simulados por diseño:\t20000"),
                      QString::fromUtf8("Semilla:\t5715703742620314960"),
                      QString(),
                      Headings().join('\t')};
    for (int row = 0; row < Table().rowCount(); ++row) {
        lines.append(Row(row).replace('|', '\t'));
    }
    lines.append(Recommendation());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), lines.join('\n') + '\n');
}

TEST_F(StudyPlannerWindowTest, AnyChangeOfAnInputTakesThePlanAway) {
    OpenPlanner();
    platform.fileDialogs.QueueAnswer(
        ChosenFile{QString::fromStdString(testing::kWorkedExampleFile.string()), {}});
    Command("FileOpenItem").trigger();
    QApplication::processEvents();
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"a new mean and Enter",
         [this] {
             Retype("epromedio", QStringLiteral("200"));
             Press(Qt::Key_Return);
         }},
        {"the study's spread", [this] { Click("btntomar"); }},
        {"a refused probability",
         [this] {
             Retype("eprobabilidad", QStringLiteral("0"));
             Click("btncalcular");
             Retype("eprobabilidad", QStringLiteral("90"));
         }},
        {"a limit taken away", [this] { Retype("elimrepetibilidad", QString()); }},
    };
    for (const auto& [change, make] : changes) {
        SCOPED_TRACE(change);
        TypeALabsExpectation();
        Click("btncalcular");
        ASSERT_EQ(Table().rowCount(), 324);
        make();
        EXPECT_EQ(Table().rowCount(), 0);
        EXPECT_EQ(Table().columnCount(), 0);
        EXPECT_EQ(Recommendation(), "");
        EXPECT_FALSE(Find<QPushButton>(QStringLiteral("btncopiar")).isEnabled());
        platform.messages = {};
    }
}

TEST_F(StudyPlannerWindowTest, EveryControlHasItsOwnAccessKeyAndTabLeavesTheTable) {
    OpenPlanner();
    TypeALabsExpectation();
    Click("btncalcular");
    // Alt and a field's letter put the focus on the field; a button's letter clicks it. None of
    // the letters is one of the main window's menus.
    const std::pair<Qt::Key, const char*> fields[] = {
        {Qt::Key_P, "epromedio"},
        {Qt::Key_R, "esdrepetibilidad"},
        {Qt::Key_D, "esddia"},
        {Qt::Key_N, "esdanalista"},
        {Qt::Key_E, "elimrepetibilidad"},
        {Qt::Key_I, "elimintermedia"},
        {Qt::Key_B, "eprobabilidad"},
    };
    for (const auto& [key, field] : fields) {
        SCOPED_TRACE(field);
        Press(key, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), field);
    }
    const auto pressButton = [this](Qt::Key key) {
        Press(key, Qt::AltModifier);
        QTest::qWait(200); // the button's click is animated
    };
    Retype("epromedio", QStringLiteral("100"));
    pressButton(Qt::Key_L);
    EXPECT_EQ(Table().rowCount(), 324);
    QGuiApplication::clipboard()->clear();
    pressButton(Qt::Key_O);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith(
        QString::fromUtf8("Promedio esperado:\t100\n")));
    pressButton(Qt::Key_T);
    EXPECT_EQ(Messages(), QStringList{QString::fromUtf8(
                              "No hay ningún estudio abierto del que tomar el promedio y las "
                              "desviaciones estándar.")});

    QStringList letters;
    const auto keyOf = [&letters](const QString& caption) {
        const qsizetype mark = caption.indexOf('&');
        if (mark >= 0) {
            letters.append(caption.mid(mark + 1, 1).toLower());
        }
    };
    const QWidget& planner = *mainWindow.findChild<StudyPlannerWindow*>();
    for (const QLabel* label : planner.findChildren<QLabel*>()) {
        keyOf(label->text());
    }
    for (const QPushButton* button : planner.findChildren<QPushButton*>()) {
        keyOf(button->text());
    }
    for (const QAction* menu : mainWindow.menuBar()->actions()) {
        keyOf(menu->text());
    }
    const QStringList distinct(QSet<QString>(letters.begin(), letters.end()).values());
    EXPECT_EQ(letters.size(), std::size(fields) + 3 + mainWindow.menuBar()->actions().size());
    EXPECT_EQ(distinct.size(), letters.size()) << letters.join(' ').toStdString();

    Table().setFocus();
    Press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "epromedio");
    Table().setFocus();
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "btncopiar");
}

TEST_F(StudyPlannerWindowTest, TakeFromTheStudyNeedsAStudyThatPassesTheChecks) {
    StudyPlannerWindow& planner = OpenPlanner();
    Click("btntomar");
    EXPECT_EQ(Messages(), QStringList{QString::fromUtf8(
                              "No hay ningún estudio abierto del que tomar el promedio y las "
                              "desviaciones estándar.")});
    EXPECT_EQ(Field("epromedio").text(), "");

    platform.messages = {};
    NewStudy();
    Click("btntomar");
    EXPECT_EQ(Messages(), QStringList{QString::fromUtf8(
                              "Falta capturar el dato para el Analista 1, Día 1, Replicación 1.")});
    EXPECT_EQ(Field("epromedio").text(), "");
    DiscardStudy();

    platform.fileDialogs.QueueAnswer(
        ChosenFile{QString::fromStdString(testing::kWorkedExampleFile.string()), {}});
    Command("FileOpenItem").trigger();
    QApplication::processEvents();
    Click("btntomar");
    EXPECT_TRUE(Messages().isEmpty());
    QStringList taken;
    for (const char* field : {"epromedio", "esdrepetibilidad", "esddia", "esdanalista",
                              "elimrepetibilidad", "eprobabilidad"}) {
        taken.append(planner.findChild<QLineEdit*>(field)->text());
    }
    EXPECT_EQ(taken, QStringList({"99,6417", "0,415331", "0,277889", "0,32059", "", "90"}));

    // A study without any spread has no components to plan with: the error report, the fields
    // as they were.
    Capture()->ShowStudy(testing::StudyWithResults(2, 2, 2, std::vector<std::string>(8, "5")));
    Click("btntomar");
    EXPECT_EQ(ErrorReports(), QStringList{"Invalid floating point operation."});
    EXPECT_EQ(Field("epromedio").text(), "99,6417");
}

// Whatever fails below the window, the user is told in Spanish what did, and the fields stay.
TEST(StudyPlannerWindow, ReportsAFailureOtherThanTheCoresInSpanish) {
    testing::ScriptedPlatform platform;
    StudyPlannerWindow planner(platform.Seams(), []() -> std::optional<Study> {
        throw std::overflow_error("Error in function boost::math::quantile: Overflow Error");
    });
    planner.findChild<QLineEdit*>(QStringLiteral("epromedio"))->setText(QStringLiteral("100"));
    planner.findChild<QPushButton*>(QStringLiteral("btntomar"))->click();
    EXPECT_EQ(platform.messages.ErrorReports(),
              QStringList{QString::fromUtf8(
                  "No se pudieron calcular el promedio y las desviaciones estándar del estudio.")});
    EXPECT_EQ(planner.findChild<QLineEdit*>(QStringLiteral("epromedio"))->text(), "100");
}

} // namespace
} // namespace orbeta
