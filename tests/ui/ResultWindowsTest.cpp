#include "CaptureWindowFixture.h"

#include "printing/PrintDialogs.h"
#include "printing/Uopprt.h"
#include "printing/Uopprt1.h"
#include "support/Expectations.h"
#include "support/Studies.h"
#include "ui/Ufanova.h"
#include "ui/Ufpres.h"
#include "ui/Uinforme.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QTest>

namespace orbeta {
namespace {

QStringList Lines(const QWidget& window) {
    return window.findChild<QPlainTextEdit*>()->toPlainText().split('\n');
}

QTableWidget& TableOf(const TfinfoA& window) {
    return *window.findChild<QTableWidget*>(QStringLiteral("stganova"));
}

// The analysis-of-variance grid's rows, their cells joined by "|".
QStringList GridRows(const TfinfoA& window) {
    QStringList rows;
    for (int row = 0; row < 6; ++row) {
        QStringList cells;
        for (int column = 0; column < 6; ++column) {
            cells.append(TableOf(window).item(row, column)->text());
        }
        rows.append(cells.join('|'));
    }
    return rows;
}

class ResultWindowsTest : public testing::CaptureWindowTest {
protected:
    // Opens the worked example's file, which makes the calculations available, then puts the
    // study under test into the capture window.
    void Load(const Study& study) {
        platform.fileDialogs.QueueAnswer(
            ChosenFile{QString::fromStdString(testing::kWorkedExampleFile.string()), {}});
        Command("FileOpenItem").trigger();
        Capture()->ShowStudy(study);
    }
    void Run(const char* command) {
        Command(command).trigger();
        Settle();
    }
    static void Close(QWidget& window) {
        window.parentWidget()->close();
        Settle();
    }
    // Lets waiting events run, the deletion of closed windows included.
    static void Settle() {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    template <typename Window> QList<Window*> Windows() {
        return mainWindow.findChildren<Window*>();
    }
    // The window of that kind at `index` in creation order; a missing one fails the test.
    template <typename Window> Window& TheWindow(qsizetype index = 0) {
        const QList<Window*> windows = Windows<Window>();
        if (index >= windows.size()) {
            throw std::logic_error("window " + std::to_string(index) + " of " +
                                   Window::staticMetaObject.className() + " is not open");
        }
        return *windows[index];
    }
};

TEST_F(ResultWindowsTest, TheWorkedExampleInTheThreeWindows) {
    Load(testing::WorkedExample());
    for (const char* command : {"mnuanova", "mnuprecs", "mnuinforme"}) {
        Run(command);
    }
    ASSERT_EQ(Windows<TfinfoA>().size(), 1);
    const TfinfoA& anova = TheWindow<TfinfoA>();
    EXPECT_EQ(anova.windowTitle(), QString::fromUtf8("Análisis de la varianza"));
    EXPECT_EQ(anova.parentWidget()->size(), QSize(601, 300));
    EXPECT_EQ(GridRows(anova).join('\n'),
              QString::fromUtf8(R"(         FUENTE|    GRADOS|      SUMA|     MEDIA||
             DE|        DE|        DE|        DE|      fcal|     Pfcal
      VARIACIÓN|  LIBERTAD| CUADRADOS| CUADRADOS||
ANALISTA|1|1.02083|1.02083|2.52577|0.253851
DIA|2|0.808333|0.404167|2.343|0.157716
ERROR DE MÉTODO|8|1.38|0.1725||)"));
    EXPECT_EQ(TableOf(anova).columnWidth(0), 140);
    EXPECT_EQ(TableOf(anova).columnWidth(5), 100);

    QStringList report;
    for (const std::string& line : testing::WorkedExampleReport()) {
        report.append(QString::fromStdString(line));
    }
    ASSERT_EQ(Windows<Tfrminforme>().size(), 1);
    EXPECT_EQ(TheWindow<Tfrminforme>().windowTitle(), "Informe");
    EXPECT_EQ(Lines(TheWindow<Tfrminforme>()), report);
    EXPECT_EQ(Lines(anova), report.mid(report.size() - 15, 2)) << "the report's conclusions";

    // The report's precision section, but for an empty line under the title, and the mean.
    QStringList precisionLines = report.mid(report.size() - 11);
    precisionLines[1] = "";
    precisionLines.insert(3, "PROMEDIO DE LAS DETERMINACIONES = 99.6417");
    ASSERT_EQ(Windows<TFpres>().size(), 1);
    EXPECT_EQ(TheWindow<TFpres>().windowTitle(), QString::fromUtf8("Evaluación de la precisión"));
    EXPECT_EQ(TheWindow<TFpres>().size(), QSize(518, 238));
    EXPECT_EQ(Lines(TheWindow<TFpres>()), precisionLines);
    EXPECT_TRUE(ErrorReports().isEmpty());
}

TEST(AnovaWindow, ShowsAProbabilityOfTheLevelAsNoEffectAndATinyOneInScientificNotation) {
    AnovaTable table;
    table.pAnalyst = 0.05;
    table.pDay = 5.048177e-14;
    const TfinfoA window(table, ',');
    EXPECT_EQ(GridRows(window)[3], "ANALISTA|0|0|0|0|0,05");
    EXPECT_EQ(GridRows(window)[4], "DIA|0|0|0|0|5,04818E-14");
    EXPECT_EQ(Lines(window),
              QStringList({QString::fromUtf8("EL ANALISTA NO PRESENTA EFECTO SOBRE LA VALORACIÓN."),
                           QString::fromUtf8("EXISTE EFECTO DE LOS DÍAS PARA UN ANALISTA EN LA "
                                             "VALORACIÓN.")}));
}

TEST_F(ResultWindowsTest, EachRunShowsTheStudyAndTheSeparatorOfItsMoment) {
    Load(testing::WorkedExample());
    Run("mnuanova");
    Run("mnuprecs");
    platform.regionalSettings = testing::FixedRegionalSettings(',');
    Study edited = testing::StudyWithResults(2, 2, 3,
                                             {"90", "100,2", "99,8", "100,5", "99,9", "100,1",
                                              "98,7", "99,5", "99", "100", "99,6", "99,3"});
    edited.methodName = "Otro";
    Capture()->ShowStudy(edited);
    Run("mnuanova");
    Run("mnuprecs");
    const QList<TfinfoA*> anova = Windows<TfinfoA>();
    ASSERT_EQ(anova.size(), 2);
    EXPECT_EQ(GridRows(*anova[0])[5], QString::fromUtf8("ERROR DE MÉTODO|8|1.38|0.1725||"));
    EXPECT_EQ(GridRows(*anova[1])[5], QString::fromUtf8("ERROR DE MÉTODO|8|67,5067|8,43833||"));
    const QList<TFpres*> precision = Windows<TFpres>();
    ASSERT_EQ(precision.size(), 2);
    EXPECT_EQ(Lines(*precision[0]).mid(2, 2),
              QStringList({QString::fromUtf8("NOMBRE DEL MÉTODO = Valoración"),
                           "PROMEDIO DE LAS DETERMINACIONES = 99.6417"}));
    EXPECT_EQ(Lines(*precision[1]).mid(2, 2),
              QStringList({QString::fromUtf8("NOMBRE DEL MÉTODO = Otro"),
                           "PROMEDIO DE LAS DETERMINACIONES = 98,8833"}));
}

TEST_F(ResultWindowsTest, AFailureOpensNoWindowAndTheReportKeepsWhatItHad) {
    Study notANumber = testing::WorkedExample();
    notANumber.SetCell(2, 4, "1O0");
    const Study zeroMean = testing::StudyWithResults(
        2, 2, 3, {"-1", "1", "0.5", "-0.5", "2", "-2", "1", "-1", "0.25", "-0.25", "3", "-3"});
    Study oneAnalyst = testing::WorkedExample();
    oneAnalyst.analystCount = "1";
    struct Case {
        const Study& study;
        const char* command;
        QString shown;         // the error report, or the check's message
        qsizetype reportLines; // -1: no report window
    };
    const QString notANumberError = "'1O0' is not a valid floating point value.";
    const QString zeroMeanError = "Floating point division by zero.";
    for (const Case& failing : {
             Case{notANumber, "mnuanova", notANumberError, -1},
             Case{zeroMean, "mnuprecs", zeroMeanError, -1},
             Case{notANumber, "mnuinforme", notANumberError, 22}, // the study only
             Case{zeroMean, "mnuinforme", zeroMeanError, 46},     // and the variance
             Case{oneAnalyst, "mnuinforme", "Datos fuera de rango, 2-10 Analistas", -1},
         }) {
        SCOPED_TRACE(failing.command + (" " + failing.shown.toStdString()));
        const QStringList shownBefore = ErrorReports() + Messages();
        Load(failing.study);
        Run(failing.command);
        EXPECT_EQ(ErrorReports() + Messages(), shownBefore + QStringList(failing.shown));
        EXPECT_EQ(Windows<TfinfoA>().size() + Windows<TFpres>().size(), 0);
        const QList<Tfrminforme*> reports = Windows<Tfrminforme>();
        EXPECT_EQ(reports.isEmpty() ? -1 : Lines(*reports.front()).size(), failing.reportLines);
        if (!Messages().isEmpty()) {
            EXPECT_EQ(Focus(), "meanalista") << "the failed check's field";
        }
        for (Tfrminforme* report : reports) {
            Close(*report);
        }
        Close(*Capture());
    }
}

TEST_F(ResultWindowsTest, TheClassicCommandsRefuseAStudyWithAResultMissingAndLeaveItAsItWas) {
    const PrintDialogs dialogs = CreatePrintDialogs(mainWindow);
    Study missing = testing::WorkedExample();
    missing.SetCell(2, 4, "na");
    struct Case {
        const char* command;
        StudyDocument::Mark mark; // before the command, and so after it
    };
    const Case cases[] = {
        {"mnuanova", StudyDocument::Mark::Unchanged},
        {"mnuprecs", StudyDocument::Mark::Modified},
        {"mnuinforme", StudyDocument::Mark::Unchanged},
        {"pmnuanalisis", StudyDocument::Mark::Modified},
        {"pmnuprecs", StudyDocument::Mark::Unchanged},
        {"PrintLasser", StudyDocument::Mark::Modified},
        {"PrintDeskjet", StudyDocument::Mark::Unchanged},
    };
    Load(missing);
    for (const Case& row : cases) {
        SCOPED_TRACE(row.command);
        mainWindow.Document().SetMark(row.mark);
        const QString mark = Mark();
        const QStringList reportsBefore = ErrorReports();
        Run(row.command);
        EXPECT_EQ(ErrorReports(),
                  reportsBefore + QStringList(QString::fromUtf8(kHasMissingResults)));
        EXPECT_TRUE(Messages().isEmpty());
        EXPECT_EQ(Find<QMdiArea>(QString()).subWindowList().size(), 1) << "the capture window";
        EXPECT_FALSE(dialogs.laserOptions.isVisible());
        EXPECT_FALSE(dialogs.deskJetOptions.isVisible());
        EXPECT_EQ(platform.printer.DialogsRun(), 0);
        EXPECT_TRUE(platform.printer.Recording().Operations().empty());
        EXPECT_EQ(Mark(), mark);
        EXPECT_TRUE(testing::SameFieldsAndGrid(Capture()->StudySnapshot(), missing));
    }
}

TEST_F(ResultWindowsTest, TheExtendedAnalysisAndThePlannerFitTheAreaAtTheirCentre) {
    struct Case {
        const char* command;
        QSize mainWindow;
        QSize designed;
        bool fits; // whether the area holds the designed size
    };
    const Case cases[] = {
        {"mnuampliado", {1400, 1000}, {900, 720}, true},
        {"mnuampliado", {1024, 700}, {900, 720}, false},
        {"mnuplanificar", {1400, 1000}, {960, 600}, true},
        {"mnuplanificar", {900, 560}, {960, 600}, false},
    };
    Load(testing::WorkedExample());
    for (const Case& row : cases) {
        SCOPED_TRACE(std::string(row.command) + " in " + std::to_string(row.mainWindow.width()));
        mainWindow.resize(row.mainWindow);
        Settle();
        Run(row.command);
        const QMdiArea& area = Find<QMdiArea>(QString());
        const QSize space = area.viewport()->size();
        const QMdiSubWindow* frame = area.activeSubWindow();
        ASSERT_NE(frame, nullptr);
        ASSERT_EQ(space.expandedTo(row.designed) == space, row.fits);
        EXPECT_EQ(frame->size(), row.designed.boundedTo(space));
        const QSize free = space - frame->size();
        EXPECT_EQ(frame->pos(), QPoint(free.width() / 2, free.height() / 2));
        Close(*frame->widget());
    }
}

TEST_F(ResultWindowsTest, TheReportListsEveryResultOfTheLargestStudy) {
    Load(testing::LargestStudy());
    Run("mnuinforme");
    EXPECT_EQ(Lines(TheWindow<Tfrminforme>()).size(), 8 + 10 * (1 + 50) + 24 + 13);
}

TEST_F(ResultWindowsTest, TheGridsTabWalksItsCellsThenLeavesFromTheLast) {
    Load(testing::WorkedExample());
    Run("mnuanova");
    QTableWidget& grid = TableOf(TheWindow<TfinfoA>());
    grid.setFocus();
    grid.setCurrentCell(0, 0);
    for (int cell = 1; cell < 36; ++cell) {
        Press(Qt::Key_Tab);
    }
    ASSERT_EQ(QPoint(grid.currentColumn(), grid.currentRow()), QPoint(5, 5));
    // The grid is the window's only control, so the focus leaving it comes straight back.
    Press(Qt::Key_Tab);
    EXPECT_EQ(grid.currentColumn(), 5) << "the Tab left the grid instead of wrapping round";
    EXPECT_EQ(grid.currentRow(), 0) << "the grid went back to its top row as the focus left";
    Press(Qt::Key_Tab);
    EXPECT_EQ(grid.currentRow(), 1) << "the grid takes the Tab key again";
}

TEST_F(ResultWindowsTest, AKeyOrAButtonClosesTheReportAndTheLastChildLeavesNoStudy) {
    Load(testing::WorkedExample());
    for (const char* command : {"mnuanova", "mnuinforme", "mnuinforme"}) {
        Run(command);
    }
    Close(TheWindow<TfinfoA>());
    EXPECT_TRUE(Command("mnuanova").isEnabled()) << "closed beside the capture window";
    Close(*Capture());
    mainWindow.ApplyCommandEvent(CommandEvent::New); // to see the last closing take it away
    QPointer<Tfrminforme> first = &TheWindow<Tfrminforme>(0);
    QPointer<Tfrminforme> second = &TheWindow<Tfrminforme>(1);
    auto& text = *second->findChild<QPlainTextEdit*>(QStringLiteral("mminforme"));
    ASSERT_EQ(QApplication::focusWidget(), &text);
    QTest::mouseClick(text.verticalScrollBar(), Qt::LeftButton);
    Settle();
    ASSERT_FALSE(second.isNull()) << "its scroll bars leave it open";
    QTest::mouseClick(first->findChild<QPlainTextEdit*>()->viewport(), Qt::LeftButton);
    Settle();
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(Command("mnuclose").isEnabled()) << "another report is still open";
    Press(Qt::Key_Control);
    Settle();
    EXPECT_TRUE(second.isNull());
    EXPECT_FALSE(Command("mnuclose").isEnabled());
    EXPECT_TRUE(Command("FileOpenItem").isEnabled());
}

TEST_F(ResultWindowsTest, CascadeAndTileLeaveEveryWindowUsableAndInView) {
    mainWindow.resize(1280, 1024);
    Load(testing::WorkedExample());
    for (const char* command : {"mnuanova", "mnuprecs", "mnuinforme", "mnuinforme"}) {
        Run(command);
    }
    QMdiArea& area = *mainWindow.findChild<QMdiArea*>();
    ASSERT_EQ(area.subWindowList().size(), 5);

    // Cascaded, each window has its designed size: outer sizes for the analysis of variance
    // and the report, client areas for the precision sheet and the capture window.
    Command("WindowCascadeItem").trigger();
    Settle();
    EXPECT_EQ(TheWindow<TfinfoA>().parentWidget()->size(), QSize(601, 300));
    EXPECT_EQ(TheWindow<Tfrminforme>(0).parentWidget()->size(), QSize(435, 300));
    EXPECT_EQ(TheWindow<Tfrminforme>(1).parentWidget()->size(), QSize(435, 300));
    EXPECT_EQ(TheWindow<TFpres>().size(), QSize(518, 238));
    EXPECT_EQ(Capture()->size(), QSize(630, 326));

    // Tiled, every window lies inside the area, none over another, no scroll bar, and each
    // keeps at least the smallest size it can be used at.
    Command("WindowTileItem").trigger();
    Settle();
    const QRect inView = area.viewport()->rect();
    const QList<QMdiSubWindow*> frames = area.subWindowList();
    for (const QMdiSubWindow* frame : frames) {
        SCOPED_TRACE(frame->widget()->metaObject()->className());
        EXPECT_TRUE(inView.contains(frame->geometry()));
        const QSize client = frame->widget()->size();
        const QSize usable = frame->widget()->minimumSizeHint();
        EXPECT_TRUE(client.width() >= usable.width() && client.height() >= usable.height());
        for (const QMdiSubWindow* other : frames) {
            EXPECT_TRUE(other == frame || !other->geometry().intersects(frame->geometry()));
        }
    }
    EXPECT_FALSE(area.horizontalScrollBar()->isVisible());
    EXPECT_FALSE(area.verticalScrollBar()->isVisible());
}

// Cascaded, every window has its designed size within the area, each a title bar's height
// further than the one before, and starts again at the top left only when the next step would
// take it past the area; in an area too small for a window, it keeps its smallest usable size.
TEST_F(ResultWindowsTest, CascadeKeepsEachWindowsDesignedSizeAndWrapsAtTheAreasEdge) {
    Load(testing::WorkedExample());
    for (const char* command :
         {"mnuanova", "mnuprecs", "mnuinforme", "mnuampliado", "mnuplanificar"}) {
        Run(command);
    }
    QMdiArea& area = *mainWindow.findChild<QMdiArea*>();
    const QList<QMdiSubWindow*> frames = area.subWindowList(QMdiArea::CreationOrder);
    ASSERT_EQ(frames.size(), 6);
    const int step =
        frames.front()->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, frames.front());
    struct Case {
        QSize mainWindowSize;
        bool allFit;
    };
    for (const Case& row :
         {Case{{1600, 1100}, true}, Case{{900, 640}, false}, Case{{420, 320}, false}}) {
        SCOPED_TRACE(row.mainWindowSize.width());
        mainWindow.resize(row.mainWindowSize);
        Settle();
        Command("WindowCascadeItem").trigger();
        Settle();
        const QSize space = area.viewport()->size();
        int wraps = 0;
        for (qsizetype index = 0; index < frames.size(); ++index) {
            const QMdiSubWindow& frame = *frames[index];
            SCOPED_TRACE(frame.widget()->metaObject()->className());
            const QSize designed = frame.sizeHint().boundedTo(space);
            const QSize usable = frame.minimumSizeHint();
            EXPECT_EQ(frame.size(), designed.expandedTo(usable));
            const QPoint expectedStep =
                index == 0 ? QPoint(0, 0) : frames[index - 1]->pos() + QPoint(step, step);
            const QRect stepped(expectedStep, frame.size());
            const bool steppedFits =
                stepped.right() < space.width() && stepped.bottom() < space.height();
            if (index > 0 && !steppedFits) {
                ++wraps;
                EXPECT_EQ(frame.pos(), QPoint(0, 0)) << "the next would leave the area";
            } else {
                EXPECT_EQ(frame.pos(), expectedStep);
            }
        }
        EXPECT_EQ(wraps == 0, row.allFit);
    }
}

// New windows step down and right by a title bar's height, back to the corner after the last
// step that fits in a third of the area's height.
TEST_F(ResultWindowsTest, NewWindowsStepDownAndRightThenStartAgainAtTheCorner) {
    mainWindow.resize(900, 600);
    Load(testing::WorkedExample());
    Settle();
    QMdiArea& area = *mainWindow.findChild<QMdiArea*>();
    const QMdiSubWindow& capture = *area.subWindowList().front();
    const int step = capture.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &capture);
    const int steps = area.viewport()->height() / (3 * step);
    ASSERT_GE(steps, 2);
    // The capture window stands first; the report windows take the steps after it.
    std::vector<int> expected;
    for (int index = 1; index <= steps + 2; ++index) {
        expected.push_back(index <= steps ? index : index - steps - 1);
    }
    std::vector<int> placed;
    for (int index = 1; index <= steps + 2; ++index) {
        Run("mnuinforme");
        const QWidget& frame = *TheWindow<Tfrminforme>(index - 1).parentWidget();
        EXPECT_EQ(frame.pos().x(), frame.pos().y());
        placed.push_back(frame.pos().y() % step == 0 ? frame.pos().y() / step : -1);
    }
    EXPECT_EQ(placed, expected);
}

// From the keyboard: Alt+C opens "&Cálculos", and P there opens the precision window, whose
// access key no other item of the menu shares.
TEST_F(ResultWindowsTest, AltCThenPOpensThePrecisionWindow) {
    Load(testing::WorkedExample());
    Settle();
    QTest::keyClick(&mainWindow, Qt::Key_C, Qt::AltModifier);
    Settle();
    QWidget* menu = QApplication::activePopupWidget();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), "mnucalculos");
    QTest::keyClick(menu, Qt::Key_P);
    Settle();
    EXPECT_EQ(Windows<TFpres>().size(), 1);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

} // namespace
} // namespace orbeta
