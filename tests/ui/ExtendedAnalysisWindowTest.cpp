// Expected figures were computed apart from this code, in multiple-precision arithmetic, and
// are those the core's own tests hold for the same studies.
#include "CaptureWindowFixture.h"

#include "engine/ExtendedAnalysis.h"
#include "engine/Mandel.h"
#include "engine/StudyValues.h"
#include "files/StudyFile.h"
#include "study/Numbers.h"
#include "support/Studies.h"
#include "support/TemporaryFolder.h"
#include "ui/ExtendedAnalysisWindow.h"
#include "ui/MandelChart.h"
#include "ui/VariabilityChart.h"

#include <QClipboard>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QToolTip>

#include <filesystem>
#include <functional>
#include <set>
#include <tuple>
#include <utility>

namespace orbeta {
namespace {

using testing::StudyWithResults;

// Analyst 3's day 2 spreads far wider than any other day (Cochran: aberrante); analyst 4's day 2
// stands high (Grubbs: dudoso).
Study CochranOutlier(char separator) {
    std::vector<std::string> results{"99.90",  "100.10", "100.10", "100.30", "99.80",
                                     "100.00", "100.00", "100.20", "99.70",  "99.90",
                                     "99.50",  "101.10", "99.90",  "100.10", "100.60",
                                     "100.80", "100.00", "100.20", "99.80",  "100.00"};
    for (std::string& result : results) {
        std::replace(result.begin(), result.end(), '.', separator);
    }
    return StudyWithResults(5, 2, 2, results);
}

// A table's headings and rows, each row's cells joined by "|".
QStringList Rows(const QTableWidget& table) {
    QStringList headings;
    for (int column = 0; column < table.columnCount(); ++column) {
        // As read across, the lines of a long heading joined again.
        headings.append(table.horizontalHeaderItem(column)->text().replace('\n', ' '));
    }
    QStringList rows{headings.join('|')};
    for (int row = 0; row < table.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table.columnCount(); ++column) {
            cells.append(table.item(row, column)->text());
        }
        rows.append(cells.join('|'));
    }
    return rows;
}

// The digits sha256sum gives for a file.
QString Sha256Sum(const std::filesystem::path& file) {
    QProcess sum;
    sum.start(QStringLiteral("sha256sum"), {QString::fromStdString(file.string())});
    if (!sum.waitForFinished(30000) || sum.exitCode() != 0) {
        return QStringLiteral("sha256sum failed");
    }
    return QString::fromUtf8(sum.readAllStandardOutput()).section(' ', 0, 0);
}

class ExtendedWindowTest : public testing::CaptureWindowTest {
protected:
    // Opens the worked example's file, which makes the calculations available, puts the study
    // under test into the capture window and runs the command.
    void Open(const Study& study) {
        platform.fileDialogs.QueueAnswer(
            ChosenFile{QString::fromStdString(testing::kWorkedExampleFile.string()), {}});
        Command("FileOpenItem").trigger();
        Capture()->ShowStudy(study);
        Command("mnuampliado").trigger();
        QApplication::processEvents();
    }
    QList<ExtendedAnalysisWindow*> Windows() {
        return mainWindow.findChildren<ExtendedAnalysisWindow*>();
    }
    ExtendedAnalysisWindow& Window() {
        if (Windows().size() != 1) {
            throw std::logic_error("not one extended-analysis window");
        }
        return *Windows().front();
    }
    template <typename Control> Control& In(const char* name) {
        auto* control = Window().findChild<Control*>(QString::fromUtf8(name));
        if (!control) {
            throw std::logic_error(std::string("no control ") + name);
        }
        return *control;
    }
    QStringList Table(const char* name) { return Rows(In<QTableWidget>(name)); }
};

const QString kComponentHeadings = QString::fromUtf8("Componente|Varianza|DE|RSD (%)|% del total");
const QString kIntervalHeadings = QString::fromUtf8(
    "Medida|gl|IC 95 % de la DE, inferior|IC 95 % de la DE, superior|IC 95 % MLS de la "
    "varianza, inferior|IC 95 % MLS de la varianza, superior|Cota superior 95 % de la DE|Cota "
    "superior 95 % MLS de la DE");
const QString kConsistencyHeadings =
    QString::fromUtf8("Prueba|Estadístico|Crítico 5 %|Crítico 1 %|Veredicto|Analista|Día");
const QString kSmallDesignNotes = QString::fromUtf8(
    "Con 2 analistas el componente entre analistas descansa en 1 grado de libertad: el "
    "intervalo de Satterthwaite puede ser demasiado estrecho; se muestra también el MLS.\n"
    "El límite superior MLS de la precisión intermedia supera en más de un 20 % al de "
    "Satterthwaite: el de Satterthwaite subestima la incertidumbre; tome el MLS.");

TEST_F(ExtendedWindowTest, ShowsTheCoresFiguresInTheRegionalFormat) {
    struct Case {
        const char* name;
        char separator;
        Study study;
        QString title;
        QStringList components;
        QString componentNotes;
        QStringList intervals;
        QStringList consistency;
    };
    const Case cases[] = {
        {"worked example",
         '.',
         testing::WorkedExample(),
         QString::fromUtf8("Análisis ampliado — Valoración"),
         {kComponentHeadings, "Repetibilidad|0.1725|0.415331|0.416825|48.9362",
          QString::fromUtf8("Entre días|0.0772222|0.277889|0.278888|21.907"),
          "Entre analistas|0.102778|0.32059|0.321743|29.1568",
          QString::fromUtf8("Precisión intermedia|0.3525|0.593717|0.595852|100")},
         kSmallDesignNotes,
         {kIntervalHeadings, "Repetibilidad|8|0.280538|0.795679|||0.710638|",
          QString::fromUtf8(
              "Precisión intermedia|3.78033|0.351921|1.78567|0.19473|173.447|1.46081|6.59316")},
         {kConsistencyHeadings,
          QString::fromUtf8("Cochran, varianza de día mayor (C)|0.449275|0.767921|0.864279|"
                            "correcto|1|1")}},
        {"Cochran outlier, five analysts, decimal comma",
         ',',
         CochranOutlier(','),
         QString::fromUtf8("Análisis ampliado"),
         {kComponentHeadings, "Repetibilidad|0,146|0,382099|0,381718|91,8239",
          QString::fromUtf8("Entre días|0,013|0,114018|0,113904|8,1761"), "Entre analistas|0|0|0|0",
          QString::fromUtf8("Precisión intermedia|0,159|0,398748|0,39835|100")},
         QString::fromUtf8("La estimación del componente entre analistas resultó negativa y se "
                           "toma como cero."),
         {kIntervalHeadings, "Repetibilidad|10|0,266979|0,670559|||0,608712|",
          QString::fromUtf8("Precisión intermedia|18,5484|0,28094|0,544069|0,089603|0,44277|"
                            "0,509992|0,587474")},
         {kConsistencyHeadings,
          QString::fromUtf8("Cochran, varianza de día mayor (C)|0,876712|0,60201|0,717489|"
                            "aberrante|3|2"),
          QString::fromUtf8("Grubbs, media de analista más alta (G)|1,71499|1,71504|1,76368|"
                            "correcto|4|"),
          QString::fromUtf8("Grubbs, media de analista más baja (G)|0,685994|1,71504|1,76368|"
                            "correcto|2|")}},
    };
    for (const Case& tested : cases) {
        SCOPED_TRACE(tested.name);
        platform.regionalSettings = testing::FixedRegionalSettings(tested.separator);
        Open(tested.study);
        EXPECT_EQ(Window().windowTitle(), tested.title);
        EXPECT_EQ(Table("stgcomponentes"), tested.components);
        EXPECT_EQ(In<QLabel>("lblcomponentes").text(), tested.componentNotes);
        EXPECT_EQ(Table("stgintervalos"), tested.intervals);
        EXPECT_EQ(Table("stgconsistencia"), tested.consistency);
        EXPECT_TRUE(ErrorReports().isEmpty());
        Window().parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        DiscardStudy();
    }
}

TEST_F(ExtendedWindowTest, EachLimitTypedGetsItsVerdictAndABadOneItsMessage) {
    // Worked example: repeatability RSD 0.416825 % (upper bound 0.713194 %), intermediate
    // 0.595852 % (MLS upper bound 6.61687 %).
    const QColor green(0, 128, 0);
    const QColor amber(191, 128, 0);
    const QColor red(200, 0, 0);
    const QString repeatabilityMessage =
        QString::fromUtf8("El límite de la repetibilidad debe ser un número mayor que cero.");
    const QString intermediateMessage = QString::fromUtf8(
        "El límite de la precisión intermedia debe ser un número mayor que cero.");
    struct Case {
        const char* field;
        QString text;
        QStringList rows; // after the headings
        QList<QColor> colours;
        QString message;
        const char* badField; // where the focus goes back to after the message
    };
    const QString repeatabilityFails = "Repetibilidad|0.4|0.416825|0.713194|No cumple";
    const QString intermediateFails =
        QString::fromUtf8("Precisión intermedia|0.59|0.595852|6.61687|No cumple");
    const Case cases[] = {
        {"elimiterep", "0.72", {"Repetibilidad|0.72|0.416825|0.713194|Cumple"}, {green}, {}, ""},
        {"elimiteint",
         "6.62",
         {"Repetibilidad|0.72|0.416825|0.713194|Cumple",
          QString::fromUtf8("Precisión intermedia|6.62|0.595852|6.61687|Cumple")},
         {green, green},
         {},
         ""},
        {"elimiterep",
         "0.7",
         {"Repetibilidad|0.7|0.416825|0.713194|Cumple sin demostrarlo al 95 %",
          QString::fromUtf8("Precisión intermedia|6.62|0.595852|6.61687|Cumple")},
         {amber, green},
         {},
         ""},
        {"elimiteint",
         "0.59",
         {"Repetibilidad|0.7|0.416825|0.713194|Cumple sin demostrarlo al 95 %", intermediateFails},
         {amber, red},
         {},
         ""},
        {"elimiterep", "", {intermediateFails}, {red}, {}, ""},
        // A bad entry leaves the other limit's verdict.
        {"elimiterep",
         "0,72",
         {intermediateFails},
         {red},
         QString::fromUtf8("Escriba el límite con el punto decimal: 0.72."),
         "elimiterep"},
        {"elimiterep", "0.4.1", {intermediateFails}, {red}, repeatabilityMessage, "elimiterep"},
        {"elimiterep", "0.4", {repeatabilityFails, intermediateFails}, {red, red}, {}, ""},
        {"elimiteint", "0", {repeatabilityFails}, {red}, intermediateMessage, "elimiteint"},
        {"elimiteint", "-1", {repeatabilityFails}, {red}, intermediateMessage, "elimiteint"},
        {"elimiteint", "uno", {repeatabilityFails}, {red}, intermediateMessage, "elimiteint"},
        // The bad entry still stands when the other limit changes, and takes the focus back.
        {"elimiterep",
         "0.72",
         {"Repetibilidad|0.72|0.416825|0.713194|Cumple"},
         {green},
         intermediateMessage,
         "elimiteint"},
    };
    Open(testing::WorkedExample());
    for (const Case& tested : cases) {
        SCOPED_TRACE(tested.field + (" " + tested.text.toStdString()));
        const QStringList messagesBefore = Messages();
        auto& field = In<QLineEdit>(tested.field);
        field.setFocus();
        field.selectAll();
        if (tested.text.isEmpty()) {
            Press(Qt::Key_Backspace);
        } else {
            Type(tested.text);
        }
        Press(Qt::Key_Return);
        QStringList rows = Table("stgaceptacion");
        EXPECT_EQ(rows.takeFirst(),
                  QString::fromUtf8("Medida|Límite (%)|RSD (%)|Cota superior 95 % de la RSD "
                                    "(%)|Veredicto"));
        EXPECT_EQ(rows, tested.rows);
        QList<QColor> colours;
        const auto& grid = In<QTableWidget>("stgaceptacion");
        for (int row = 0; row < grid.rowCount(); ++row) {
            colours.append(grid.item(row, 4)->foreground().color());
        }
        EXPECT_EQ(colours, tested.colours);
        EXPECT_EQ(Messages(), tested.message.isEmpty()
                                  ? messagesBefore
                                  : messagesBefore + QStringList(tested.message));
        if (!tested.message.isEmpty()) {
            EXPECT_EQ(Focus(), tested.badField) << "back to the bad entry";
            // Leaving it unchanged judges nothing again.
            Press(Qt::Key_Return);
            EXPECT_EQ(Messages().size(), messagesBefore.size() + 1);
        }
        EXPECT_EQ(Windows().size(), 1);
    }
    EXPECT_TRUE(ErrorReports().isEmpty());
}

TEST_F(ExtendedWindowTest, TheFTestsNoteWhenTheExactProbabilityChangesAConclusion) {
    const QString levelNote = QString::fromUtf8(
        "P aproximada: la del método clásico de este programa; P exacta: la de la distribución "
        "F. La conclusión se toma al nivel de significancia 0.05.");
    Open(testing::WorkedExample());
    EXPECT_EQ(
        Table("stgpruebasf"),
        QStringList({QString::fromUtf8("Fuente|F|P aproximada|P exacta|Conclusión con la "
                                       "P aproximada|Conclusión con la P exacta"),
                     "Analista|2.52577|0.253851|0.252948|sin efecto|sin efecto",
                     QString::fromUtf8("Día|2.343|0.157716|0.158148|sin efecto|sin efecto")}));
    EXPECT_EQ(In<QLabel>("lblpruebasf").text(), levelNote);
    Window().parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    DiscardStudy();

    // F = 18 on 1 and 2 degrees of freedom: the approximation declares an analyst effect; the
    // exact P, 1 - sqrt(0.9), does not.
    Open(StudyWithResults(2, 2, 2,
                          {"98.5", "99.5", "100.5", "101.5", "104.5", "105.5", "106.5", "107.5"}));
    const QStringList analyst = Table("stgpruebasf")[1].split('|');
    EXPECT_EQ(QStringList({analyst[1], analyst[3], analyst[4], analyst[5]}),
              QStringList({"18", "0.0513167", "con efecto", "sin efecto"}));
    EXPECT_EQ(In<QLabel>("lblpruebasf").text(),
              levelNote + QString::fromUtf8("\nAtención: con la P exacta cambia la conclusión de "
                                            "una prueba al nivel 0.05."));
}

TEST_F(ExtendedWindowTest, CopyGivesTheTablesAsTabSeparatedLinesWithTheAcceptanceOnceJudged) {
    Open(testing::WorkedExample());
    In<QPushButton>("btncopiar").click();
    QStringList lines = QApplication::clipboard()->text().split('\n');
    ASSERT_EQ(lines.size(), 32); // two analysts of two days: no Grubbs rows
    EXPECT_EQ(
        lines.mid(0, 6),
        QStringList({QString::fromUtf8("Método: Valoración"), "Fecha: 01/06/2001",
                     "Archivo: " + QString::fromStdString(testing::kWorkedExampleFile.string()),
                     "Huella SHA-256 de los datos: " + Sha256Sum(testing::kWorkedExampleFile),
                     QString::fromUtf8("Unidad de los resultados: no indicada"), ""}));
    lines = lines.mid(2);
    EXPECT_EQ(lines.mid(4, 3), QStringList({"Componentes de la varianza",
                                            QString(kComponentHeadings).replace('|', '\t'),
                                            "Repetibilidad\t0.1725\t0.415331\t0.416825\t48.9362"}));
    EXPECT_EQ(lines.mid(10, 2), kSmallDesignNotes.split('\n'));
    EXPECT_EQ(lines.mid(12, 5),
              QStringList({"", QString::fromUtf8("Intervalos de confianza al 95 %"),
                           QString(kIntervalHeadings).replace('|', '\t'),
                           "Repetibilidad\t8\t0.280538\t0.795679\t\t\t0.710638\t",
                           QString::fromUtf8("Precisión intermedia\t3.78033\t0.351921\t1.78567\t"
                                             "0.19473\t173.447\t1.46081\t6.59316")}));
    EXPECT_EQ(lines.mid(18, 3),
              QStringList({"", "Pruebas F",
                           QString::fromUtf8("Fuente\tF\tP aproximada\tP exacta\tConclusión "
                                             "con la P aproximada\tConclusión con la P "
                                             "exacta")}));
    EXPECT_EQ(lines.mid(24, 3), QStringList({"", "Pruebas de consistencia",
                                             QString(kConsistencyHeadings).replace('|', '\t')}));
    EXPECT_EQ(lines.mid(28, 1), QStringList({QString::fromUtf8(
                                    "Hasta el crítico del 5 %: correcto; hasta el del 1 %: "
                                    "dudoso; por encima: aberrante.")}));
    EXPECT_EQ(lines.last(), "") << "the last line ends too";

    In<QLineEdit>("elimiteint").setFocus();
    Type("2");
    Press(Qt::Key_Return);
    In<QPushButton>("btncopiar").click();
    lines = QApplication::clipboard()->text().split('\n').mid(2);
    ASSERT_EQ(lines.size(), 35);
    EXPECT_EQ(lines.mid(18, 6),
              QStringList({"", QString::fromUtf8("Aceptación"),
                           QString::fromUtf8("Medida\tLímite (%)\tRSD (%)\tCota superior 95 % de "
                                             "la RSD (%)\tVeredicto"),
                           QString::fromUtf8("Precisión intermedia\t2\t0.595852\t6.61687\tCumple "
                                             "sin demostrarlo al 95 %"),
                           QString::fromUtf8("Cumple cuando la cota superior no pasa del límite; "
                                             "cumple sin demostrarlo cuando sólo la estimación no "
                                             "pasa de él. La precisión intermedia se juzga con la "
                                             "cota MLS."),
                           ""}));
    EXPECT_EQ(lines[24], "Pruebas F");
}

// The mnemonic letter of a caption, lower case; none without one.
QChar AccessKey(const QString& caption) {
    for (qsizetype index = 0; index + 1 < caption.size(); ++index) {
        if (caption[index] == '&') {
            if (caption[index + 1] != '&') {
                return caption[index + 1].toLower();
            }
            ++index;
        }
    }
    return {};
}

TEST_F(ExtendedWindowTest, TabLeavesEachTableAndEveryControlHasItsOwnAccessKey) {
    Open(testing::WorkedExample());
    const QStringList chain{"stgcomponentes", "stgintervalos", "elimiterep",      "elimiteint",
                            "stgaceptacion",  "stgpruebasf",   "stgconsistencia", "eunidad",
                            "btncopiar",      "btnexportar"};
    In<QTableWidget>("stgcomponentes").setFocus();
    QStringList forward{Focus()};
    for (qsizetype step = 1; step < chain.size(); ++step) {
        Press(Qt::Key_Tab);
        forward.append(Focus());
    }
    EXPECT_EQ(forward, chain);
    QStringList backward{Focus()};
    for (qsizetype step = 1; step < chain.size(); ++step) {
        Press(Qt::Key_Backtab, Qt::ShiftModifier);
        backward.prepend(Focus());
    }
    EXPECT_EQ(backward, chain);

    // The arrows still move within a table.
    auto& components = In<QTableWidget>("stgcomponentes");
    components.setFocus();
    components.setCurrentCell(0, 0);
    Press(Qt::Key_Down);
    Press(Qt::Key_Right);
    EXPECT_EQ(Focus(), "stgcomponentes");
    EXPECT_EQ(std::pair(components.currentRow(), components.currentColumn()), std::pair(1, 1));

    // Every field (by its label) and button has a letter of its own, none of the menu bar's.
    QStringList keyed;
    QList<QChar> letters;
    for (const QLabel* label : Window().findChildren<QLabel*>()) {
        if (label->buddy()) {
            keyed.append(label->buddy()->objectName());
            letters.append(AccessKey(label->text()));
        }
    }
    for (const QPushButton* button : Window().findChildren<QPushButton*>()) {
        keyed.append(button->objectName());
        letters.append(AccessKey(button->text()));
    }
    EXPECT_EQ(keyed,
              QStringList({"elimiterep", "elimiteint", "eunidad", "btncopiar", "btnexportar"}));
    QList<QChar> menuLetters;
    for (const QAction* menu : mainWindow.menuBar()->actions()) {
        menuLetters.append(AccessKey(menu->text()));
    }
    for (qsizetype index = 0; index < letters.size(); ++index) {
        SCOPED_TRACE(keyed[index].toStdString());
        EXPECT_FALSE(letters[index].isNull());
        EXPECT_EQ(letters.count(letters[index]), 1);
        EXPECT_FALSE(menuLetters.contains(letters[index]));
    }
}

TEST_F(ExtendedWindowTest, TheAcceptanceStandsRightAfterTheBoundsItIsJudgedBy) {
    Open(testing::WorkedExample());
    // The sheet's widgets top to bottom: a title by its text, every other control by its name.
    QStringList order;
    const std::function<void(QLayout&)> walk = [&](QLayout& layout) {
        for (int index = 0; index < layout.count(); ++index) {
            QLayoutItem* item = layout.itemAt(index);
            if (item->layout()) {
                walk(*item->layout());
            } else if (QWidget* widget = item->widget()) {
                order.append(widget->objectName().isEmpty() ? qobject_cast<QLabel*>(widget)->text()
                                                            : widget->objectName());
            }
        }
    };
    walk(*In<QTableWidget>("stgcomponentes").parentWidget()->layout());
    EXPECT_EQ(order, QStringList({QString::fromUtf8("<b>Componentes de la varianza</b>"),
                                  "stgcomponentes",
                                  "lblcomponentes",
                                  QString::fromUtf8("<b>Intervalos de confianza al 95 %</b>"),
                                  "stgintervalos",
                                  "lblintervalos",
                                  QString::fromUtf8("<b>Aceptación</b>"),
                                  QString::fromUtf8("Límite RSD &repetibilidad (%)"),
                                  "elimiterep",
                                  QString::fromUtf8("Límite RSD precisión &intermedia (%)"),
                                  "elimiteint",
                                  "stgaceptacion",
                                  "lblaceptacion",
                                  "<b>Pruebas F</b>",
                                  "stgpruebasf",
                                  "lblpruebasf",
                                  "<b>Pruebas de consistencia</b>",
                                  "stgconsistencia",
                                  "lblconsistencia",
                                  QString::fromUtf8("<b>Estadísticos h y k de Mandel</b>"),
                                  "stgmandel",
                                  "lblmandel"}));
}

TEST_F(ExtendedWindowTest, WithBothLimitsBadTheRepeatabilityIsNamedAndTakesTheFocus) {
    struct Case {
        const char* setFirst; // holds its bad text before the other is typed
        const char* typed;
    };
    for (const Case& tested :
         {Case{"elimiterep", "elimiteint"}, Case{"elimiteint", "elimiterep"}}) {
        SCOPED_TRACE(tested.typed);
        Open(testing::WorkedExample());
        const QStringList before = Messages();
        In<QLineEdit>(tested.setFirst).setText("0");
        In<QLineEdit>(tested.typed).setFocus();
        Type("-1");
        Press(Qt::Key_Return);
        EXPECT_EQ(Messages(), before + QStringList({QString::fromUtf8(
                                           "El límite de la repetibilidad debe ser un número "
                                           "mayor que cero.")}));
        EXPECT_EQ(Focus(), "elimiterep");
        EXPECT_EQ(In<QTableWidget>("stgaceptacion").rowCount(), 0);
        Window().parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        DiscardStudy();
    }
}

TEST_F(ExtendedWindowTest, AFlaggedDayIsNotedBesideTheVerdicts) {
    const QString rule = QString::fromUtf8(
        "Cumple cuando la cota superior no pasa del límite; cumple sin demostrarlo cuando sólo la "
        "estimación no pasa de él. La precisión intermedia se juzga con la cota MLS.");
    struct Case {
        const char* name;
        Study study;
        QString notes;
    };
    const Case cases[] = {
        {"no day flagged", testing::WorkedExample(), rule},
        {"Cochran flags a day", CochranOutlier('.'),
         rule + QString::fromUtf8("\nAtención: los datos tienen un día señalado por las pruebas "
                                  "de consistencia: analista 3, día 2 (Cochran: aberrante). ISO "
                                  "5725-2 pide investigarlo antes de usar estas cifras.")},
        // Analyst 1's fourth day stands 5 above its other three days, which Grubbs's test
        // among that analyst's day means marks beyond its 1 % critical value.
        {"Grubbs flags a day among its analyst's days",
         StudyWithResults(3, 4, 2, {"99.95",  "100.05", "100.05", "100.15", "99.85", "99.95",
                                    "104.95", "105.05", "100.0",  "100.2",  "99.9",  "100.1",
                                    "100.1",  "100.3",  "100.0",  "100.2",  "99.8",  "100.0",
                                    "99.9",   "100.1",  "100.0",  "100.2",  "99.7",  "99.9"}),
         rule + QString::fromUtf8("\nAtención: los datos tienen un día señalado por las pruebas "
                                  "de consistencia: analista 1, día 4 (Grubbs alto: aberrante). "
                                  "ISO 5725-2 pide investigarlo antes de usar estas cifras.")},
    };
    for (const Case& tested : cases) {
        SCOPED_TRACE(tested.name);
        Open(tested.study);
        In<QLineEdit>("elimiterep").setFocus();
        Type("1");
        Press(Qt::Key_Return);
        EXPECT_EQ(In<QLabel>("lblaceptacion").text(), tested.notes);
        In<QPushButton>("btncopiar").click();
        EXPECT_TRUE(QApplication::clipboard()->text().contains(tested.notes + "\n\nPruebas F\n"));
        Window().parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        DiscardStudy();
    }
}

// The study's lines of the copy: the file, the fingerprint of the data shown (the file's bytes
// while the study is the file's, else those a save would write, marked) and the unit.
TEST_F(ExtendedWindowTest, TheCopyNamesTheFileTheDataFingerprintAndTheUnit) {
    const testing::TemporaryFolder folder;
    const std::filesystem::path saved = folder / "guardado.w05";
    const QString workedFile = QString::fromStdString(testing::kWorkedExampleFile.string());
    const QString savedFile = QString::fromStdString(saved.string());
    struct Case {
        const char* step;
        std::function<void()> make;
        QString file;
        std::function<QString()> fingerprint; // none where the data are not a file's
        QString unit;
    };
    const Case cases[] = {
        {"opened", [] {}, workedFile, [] { return Sha256Sum(testing::kWorkedExampleFile); },
         QString::fromUtf8("no indicada")},
        {"modified",
         [this] {
             Capture()->findChild<QLineEdit*>("emetodo")->setFocus();
             Type(QString::fromUtf8(" HPLC"));
             mainWindow.ApplyCommandEvent(CommandEvent::LastCellTyped); // Save As available
         },
         workedFile, nullptr, QString::fromUtf8("% p/p")},
        {"saved",
         [&] {
             platform.fileDialogs.QueueAnswer(ChosenFile{savedFile, {}});
             Command("FileSaveAsItem").trigger();
         },
         savedFile, [&] { return Sha256Sum(saved); }, QString::fromUtf8("% p/p")},
    };
    platform.fileDialogs.QueueAnswer(ChosenFile{workedFile, {}});
    Command("FileOpenItem").trigger();
    QString modifiedDigits;
    for (const Case& tested : cases) {
        SCOPED_TRACE(tested.step);
        tested.make();
        Command("mnuampliado").trigger();
        QApplication::processEvents();
        if (tested.unit != QString::fromUtf8("no indicada")) {
            In<QLineEdit>("eunidad").setFocus();
            In<QLineEdit>("eunidad").selectAll();
            Type(tested.unit);
        }
        In<QPushButton>("btncopiar").click();
        const QStringList lines = QApplication::clipboard()->text().split('\n').mid(2, 3);
        ASSERT_EQ(lines.size(), 3);
        EXPECT_EQ(lines[0], "Archivo: " + tested.file);
        EXPECT_EQ(lines[2], QString::fromUtf8("Unidad de los resultados: ") + tested.unit);
        const QString prefix = QString::fromUtf8("Huella SHA-256 de los datos: ");
        ASSERT_TRUE(lines[1].startsWith(prefix));
        const QString fingerprint = lines[1].mid(prefix.size());
        if (!tested.fingerprint) {
            // Not the file's any longer; what Save then writes shows that it was these data.
            EXPECT_TRUE(fingerprint.endsWith(QString::fromUtf8(" (modificado sin guardar)")));
            modifiedDigits = fingerprint.left(64);
            EXPECT_NE(modifiedDigits, Sha256Sum(testing::kWorkedExampleFile));
        } else {
            EXPECT_EQ(fingerprint, tested.fingerprint());
        }
        Window().parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_EQ(modifiedDigits, Sha256Sum(saved));
    EXPECT_EQ(platform.userSettings.Value("ampliado/unidad"), QString::fromUtf8("% p/p"));
}

// A study whose method the file cannot hold has no bytes to fingerprint: it is analysed and
// copied, saying why, but no record goes out untied to its data.
TEST_F(ExtendedWindowTest, WithoutAFingerprintTheCopySaysWhyAndNoRecordIsWritten) {
    const testing::TemporaryFolder folder;
    Study study = testing::WorkedExample();
    study.methodName = "Valoración Ω";
    NewStudy();
    Capture()->ShowStudy(study);
    mainWindow.ApplyCommandEvent(CommandEvent::LastCellTyped);
    Command("mnuampliado").trigger();
    QApplication::processEvents();
    ASSERT_EQ(ErrorReports(), QStringList());
    const QString reason = QString::fromUtf8(
        "El nombre del método no se puede guardar: contiene un carácter que el archivo no admite.");
    In<QPushButton>("btncopiar").click();
    EXPECT_EQ(QApplication::clipboard()->text().split('\n').value(3),
              QString::fromUtf8("Huella SHA-256 de los datos: no calculada: ") + reason);
    platform.fileDialogs.QueueAnswer(
        ChosenFile{QString::fromStdString((folder / "registro.pdf").string()), {}});
    In<QPushButton>("btnexportar").click();
    EXPECT_EQ(ErrorReports(), QStringList({reason}));
    EXPECT_TRUE(platform.printer.Records().empty());
    EXPECT_FALSE(std::filesystem::exists(folder / "registro.pdf"));
}

// Figures from tools/unbalanced-expectations, as the engine's own tests hold them.
TEST_F(ExtendedWindowTest, AStudyWithMissingResultsShowsItsUnbalancedFiguresAndWhatIsAbsent) {
    platform.fileDialogs.QueueAnswer(
        ChosenFile{QString::fromStdString(
                       (std::filesystem::path(ORBETA_TEST_DATA) / "fewer-days.w05").string()),
                   {}});
    Command("FileOpenItem").trigger();
    Command("mnuampliado").trigger();
    QApplication::processEvents();
    ASSERT_EQ(ErrorReports(), QStringList());
    EXPECT_EQ(In<QLabel>("lblfaltantes").text(),
              QString::fromUtf8("Faltan 7 de 36 resultados (NA): analista 1, día 3, réplica 2; "
                                "analista 3, día 3, sin resultados; analista 3, día 4, sin "
                                "resultados."));
    EXPECT_EQ(
        Table("stgcomponentes"),
        QStringList({kComponentHeadings,
                     QString::fromUtf8("Repetibilidad|0.00108772|0.0329806|0.320834|11.9938"),
                     QString::fromUtf8("Entre días|0.00215129|0.046382|0.451202|23.7214"),
                     QString::fromUtf8("Entre analistas|0.00582999|0.0763544|0.742772|64.2848"),
                     QString::fromUtf8("Precisión intermedia|0.009069|0.0952313|0.926406|100")}));
    EXPECT_FALSE(In<QTableWidget>("stgconsistencia").isVisibleTo(&Window())) << "no test to show";
    EXPECT_EQ(In<QLabel>("lblconsistencia").text(),
              QString::fromUtf8(
                  "Hasta el crítico del 5 %: correcto; hasta el del 1 %: dudoso; por encima: "
                  "aberrante.\n"
                  "Sin prueba de Cochran: los días no tienen todos el mismo número de resultados.\n"
                  "Sin prueba de Grubbs entre analistas: los analistas no tienen todos el mismo "
                  "número de resultados.\n"
                  "Sin prueba de Grubbs entre los días de cada analista: los días de un analista "
                  "no tienen todos el mismo número de resultados."));
    // The copy carries the same line after the study's.
    In<QPushButton>("btncopiar").click();
    EXPECT_EQ(QApplication::clipboard()->text().split('\n').value(5),
              In<QLabel>("lblfaltantes").text());
    EXPECT_EQ(Table("stgpruebasf").size(), 3) << "both F tests stand";

    // A complete study has no line of missing results.
    Window().parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    DiscardStudy();
    Open(testing::WorkedExample());
    EXPECT_EQ(Window().findChild<QLabel*>("lblfaltantes"), nullptr);
}

// Four analysts, two days of three; the fourth reads high and scatters more. h, k and the
// indicator values from R, as the engine's own tests hold them.
Study FourAnalysts() {
    return StudyWithResults(4, 2, 3, {"99.1",  "100.2", "99.8",  "100.5", "99.9",  "100.1",
                                      "98.7",  "99.5",  "99.0",  "100.0", "99.6",  "99.3",
                                      "99.4",  "99.8",  "99.6",  "99.9",  "99.7",  "100.3",
                                      "101.2", "101.9", "100.4", "102.6", "100.9", "101.5"});
}

TEST_F(ExtendedWindowTest, MandelsStatisticsWithTheFlaggedValuesNamedOrWhyTheyAreAbsent) {
    const Study fewerDays =
        ReadStudyFile(std::filesystem::path(ORBETA_TEST_DATA) / "fewer-days.w05", '.');
    struct Case {
        const char* name;
        Study study;
        QStringList rows; // none where the grid is hidden
        QString notes;
    };
    const Case cases[] = {
        {"four analysts",
         FourAnalysts(),
         {"Analista|h|Veredicto de h|k|Veredicto de k", "1|-0.208659|correcto|0.870307|correcto",
          "2|-0.857819|correcto|0.733717|correcto", "3|-0.375585|correcto|0.500391|correcto",
          "4|1.44206|dudoso|1.56647|dudoso"},
         QString::fromUtf8(
             "Valores indicadores (ISO 5725-2): h, 1.425 al 5 % y 1.485 al 1 %, en valor "
             "absoluto; k, 1.4432 al 5 % y 1.6042 al 1 %. h compara la media de cada analista "
             "con las de los demás; k, su repetibilidad.\n"
             "Analista 4: h = 1.44206, dudoso (por encima del valor indicador del 5 %).\n"
             "Analista 4: k = 1.56647, dudoso (por encima del valor indicador del 5 %).")},
        {"two analysts",
         testing::WorkedExample(),
         {},
         QString::fromUtf8("Los estadísticos h y k de Mandel necesitan al menos 3 analistas; "
                           "este estudio tiene 2.")},
        // From R: the same formulas on the results held, each analyst's days pooled with their
        // own counts (nu_i = 7, 8, 4), the k indicator values on their mean, 19/3.
        {"results missing",
         fewerDays,
         {"Analista|h|Veredicto de h|k|Veredicto de k", "1|-0.0994333|correcto|0.932732|correcto",
          "2|1.046|correcto|0.941103|correcto", "3|-0.946569|correcto|1.1155|correcto"},
         QString::fromUtf8(
             "Valores indicadores (ISO 5725-2): h, 1.15114 al 5 % y 1.15456 al 1 %, en valor "
             "absoluto; k, 1.33346 al 5 % y 1.44681 al 1 %. h compara la media de cada analista "
             "con las de los demás; k, su repetibilidad.\n"
             "Con resultados faltantes, la DE de cada analista agrupa sus días, cada uno con sus "
             "propios resultados, y los valores indicadores de k toman ν = gl del error / p = "
             "6.33333.")},
        // The engine's own case: analyst 2 holds one result a day; h from R.
        {"no k",
         StudyWithResults(3, 2, 2,
                          {"10.1", "10.3", "10.2", "10.6", "10.4", "NA", "NA", "10.2", "9.9",
                           "10.0", "10.3", "10.1"}),
         {"Analista|h|Veredicto de h", "1|0.57735|correcto", "2|0.57735|correcto",
          "3|-1.1547|aberrante"},
         QString::fromUtf8(
             "Valores indicadores (ISO 5725-2): h, 1.15114 al 5 % y 1.15456 al 1 %, en valor "
             "absoluto. h compara la media de cada analista con las de los demás.\n"
             "Sin k de Mandel: el analista 2 no tiene ningún día con dos resultados o más.\n"
             "Analista 3: h = -1.1547, aberrante (por encima del valor indicador del 1 %).")},
    };
    for (const Case& tested : cases) {
        SCOPED_TRACE(tested.name);
        Open(tested.study);
        ASSERT_EQ(ErrorReports(), QStringList());
        const bool shown = !tested.rows.isEmpty();
        EXPECT_EQ(In<QTableWidget>("stgmandel").isVisibleTo(&Window()), shown);
        if (shown) {
            EXPECT_EQ(Table("stgmandel"), tested.rows);
        }
        EXPECT_EQ(Window().findChild<QWidget*>("graficomandel") != nullptr, shown);
        EXPECT_EQ(In<QLabel>("lblmandel").text(), tested.notes);
        Window().parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        DiscardStudy();
    }
}

TEST(MandelChart, BarsStandForTheValuesInTheirVerdictsColourAndTheIndicatorLinesCross) {
    const MandelStatistics mandel = ComputeMandel(ReadStudyValues(FourAnalysts(), '.'));
    for (const MandelStatistic statistic : {MandelStatistic::H, MandelStatistic::K}) {
        const bool h = statistic == MandelStatistic::H;
        SCOPED_TRACE(h ? "h" : "k");
        QImage image(500, 300, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(QFont(QStringLiteral("Liberation Sans"), 9));
        const MandelChart chart(mandel, statistic, '.', QRectF(image.rect()),
                                QFontMetricsF(painter.font(), &image));
        chart.Draw(painter);
        painter.end();
        const double values[][4] = {{-0.208659, -0.857819, -0.375585, 1.44206},
                                    {0.870307, 0.733717, 0.500391, 1.56647}};
        for (int analyst = 1; analyst <= 4; ++analyst) {
            const QRectF bar = chart.BarOf(analyst);
            const double value = values[h ? 0 : 1][analyst - 1];
            // The values in six digits: within a thousandth of a pixel.
            EXPECT_NEAR(value > 0 ? bar.top() : bar.bottom(), chart.Y(value), 1e-3) << analyst;
            EXPECT_NEAR(value > 0 ? bar.bottom() : bar.top(), chart.Y(0), 1e-9) << analyst;
            // Between the lines, in the bar's colour: the fourth is beyond the 5 % line.
            const QPointF inside(bar.center().x() - bar.width() / 4,
                                 (chart.Y(value) * 3 + chart.Y(0)) / 4);
            EXPECT_EQ(image.pixelColor(inside.toPoint()),
                      analyst == 4 ? kMandelStragglerColour : kMandelBarColour)
                << analyst;
        }
        const double five = h ? mandel.h5 : mandel.k5;
        const QPoint onLine(static_cast<int>(chart.PlotArea().left() + 3),
                            static_cast<int>(std::lround(chart.Y(five))));
        const QColor line = image.pixelColor(onLine);
        EXPECT_GT(line.red(), line.blue() + 60) << "the 5 % line crosses at its value";
    }
}

// The chart of a study drawn into an image of its own.
struct DrawnChart {
    StudyValues values;
    std::vector<FlaggedDay> flagged;
    QImage image{900, 500, QImage::Format_RGB32};
    std::optional<VariabilityChart> chart;

    explicit DrawnChart(const Study& study, char separator = '.') {
        values = ReadStudyValues(study, separator);
        flagged = FlaggedDays(AnalyseStudy(values.Numbers()).extended);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(QFont(QStringLiteral("Liberation Sans"), 9));
        chart.emplace(values, flagged, separator, QRectF(image.rect()),
                      QFontMetricsF(painter.font(), &image));
        chart->Draw(painter);
    }
    QColor At(const QPointF& point) const { return image.pixelColor(point.toPoint()); }
    // Whether the pixel at `point` is `colour`, but for the blending of the edges of
    // neighbouring marks.
    bool Shows(const QPointF& point, const QColor& colour) const {
        const QColor pixel = At(point);
        return std::abs(pixel.red() - colour.red()) + std::abs(pixel.green() - colour.green()) +
                   std::abs(pixel.blue() - colour.blue()) <=
               24;
    }

    // The separate blots of exactly `colour` inside the plot area.
    int BlotsOf(const QColor& colour) const {
        const QRect plot = chart->PlotArea().toAlignedRect().adjusted(2, 2, -2, -2);
        std::set<std::pair<int, int>> seen;
        int blots = 0;
        for (int y = plot.top(); y <= plot.bottom(); ++y) {
            for (int x = plot.left(); x <= plot.right(); ++x) {
                if (image.pixelColor(x, y) != colour || seen.count({x, y})) {
                    continue;
                }
                ++blots;
                std::vector<std::pair<int, int>> open{{x, y}};
                seen.insert({x, y});
                while (!open.empty()) {
                    const auto [px, py] = open.back();
                    open.pop_back();
                    for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                        const int nx = px + dx;
                        const int ny = py + dy;
                        if (plot.contains(nx, ny) && !seen.count({nx, ny}) &&
                            image.pixelColor(nx, ny) == colour) {
                            seen.insert({nx, ny});
                            open.push_back({nx, ny});
                        }
                    }
                }
            }
        }
        return blots;
    }
};

TEST(VariabilityChart, DrawsEveryResultAndOneMeanMarkerPerDayWithTheFlaggedDaysApart) {
    struct Case {
        const char* name;
        Study study;
        std::set<std::pair<int, int>> flagged;   // analyst, day: Cochran's and Grubbs's
        std::set<std::pair<int, int>> lost = {}; // days without results
        std::set<std::tuple<int, int, int>> missing = {};
    };
    const Case cases[] = {
        {"2 x 2 x 2",
         StudyWithResults(2, 2, 2,
                          {"99.1", "100.2", "99.8", "100.5", "98.7", "99.5", "99.0", "100.0"}),
         {}},
        {"Cochran outlier", CochranOutlier('.'), {{3, 2}}},
        {"10 x 10 x 5", testing::LargestStudy(), {}},
        {"a day lost, a replicate lost",
         StudyWithResults(2, 3, 2,
                          {"99.1", "100.2", "NA", "na", "99.8", "100.5", "98.7", "99.5", "99.0",
                           "NA", "100.1", "100.0"}),
         {},
         {{1, 2}},
         {{2, 2, 2}}},
    };
    for (const Case& tested : cases) {
        SCOPED_TRACE(tested.name);
        const DrawnChart drawn(tested.study);
        const VariabilityChart& chart = *drawn.chart;
        const StudyValues& values = drawn.values;
        int unflaggedDays = 0;
        for (int analyst = 1; analyst <= values.analysts; ++analyst) {
            for (int day = 1; day <= values.days; ++day) {
                const bool lost = tested.lost.count({analyst, day}) > 0;
                ASSERT_EQ(chart.IsLostDay(analyst, day), lost) << analyst << "," << day;
                // Only a lost day's slot holds the words of its gap, in their colour.
                const QRect label = chart.LostDayLabel(analyst, day).toAlignedRect();
                int lettered = 0;
                for (int y = label.top(); y <= label.bottom(); ++y) {
                    for (int x = label.left(); x <= label.right(); ++x) {
                        const QColor pixel = drawn.image.pixelColor(x, y);
                        lettered += pixel.red() == pixel.green() && pixel.blue() > pixel.red() + 8;
                    }
                }
                EXPECT_EQ(lettered > 20, lost) << analyst << "," << day;
                if (lost) {
                    continue;
                }
                const bool flagged = tested.flagged.count({analyst, day}) > 0;
                ASSERT_EQ(chart.IsFlagged(analyst, day), flagged) << analyst << "," << day;
                unflaggedDays += flagged ? 0 : 1;
                const QPointF mean = chart.DayMeanOf(analyst, day);
                EXPECT_EQ(drawn.At(mean), flagged ? kChartFlagColour : kChartDayMeanColour)
                    << "mean of " << analyst << "," << day;
                for (int replicate = 1; replicate <= values.replicates; ++replicate) {
                    if (tested.missing.count({analyst, day, replicate})) {
                        continue;
                    }
                    const QPointF point = chart.PointOf(analyst, day, replicate);
                    EXPECT_TRUE(chart.PlotArea().contains(point));
                    // Away from the day's marker, which is drawn over its points.
                    if (std::abs(point.x() - mean.x()) > 5 || std::abs(point.y() - mean.y()) > 5) {
                        EXPECT_TRUE(
                            drawn.Shows(point, flagged ? kChartFlagColour : kChartPointColour))
                            << analyst << "," << day << "," << replicate;
                    }
                }
            }
        }
        EXPECT_EQ(drawn.BlotsOf(kChartDayMeanColour), unflaggedDays) << "one marker a day";
    }
}

TEST(VariabilityChart, ADaysPointsLieSymmetricallyAboutItsMean) {
    for (const int replicates : {2, 3, 4, 5}) {
        SCOPED_TRACE(replicates);
        std::vector<std::string> results;
        for (int index = 0; index < 2 * 3 * replicates; ++index) {
            results.push_back(std::to_string(100 + index % 7));
        }
        const StudyValues values =
            ReadStudyValues(StudyWithResults(2, 3, replicates, results), '.');
        QImage image(900, 500, QImage::Format_RGB32);
        const VariabilityChart chart(values, {}, '.', QRectF(image.rect()),
                                     QFontMetricsF(QFont(), &image));
        for (int analyst = 1; analyst <= 2; ++analyst) {
            for (int day = 1; day <= 3; ++day) {
                const double centre = chart.DayMeanOf(analyst, day).x();
                std::vector<double> offsets;
                for (int replicate = 1; replicate <= replicates; ++replicate) {
                    offsets.push_back(chart.PointOf(analyst, day, replicate).x() - centre);
                }
                for (int replicate = 0; replicate < replicates; ++replicate) {
                    EXPECT_NEAR(offsets[replicate], -offsets[replicates - 1 - replicate], 1e-9)
                        << analyst << "," << day << "," << replicate + 1;
                    if (replicate > 0) {
                        EXPECT_GT(offsets[replicate], offsets[replicate - 1]) << "apart, in order";
                    }
                }
                if (replicates % 2 == 1) {
                    EXPECT_NEAR(offsets[replicates / 2], 0, 1e-9) << "the middle one on the mean";
                }
            }
        }
    }
}

TEST(FlaggedDays, NameEachDayOnceWithEveryTestThatSinglesItOut) {
    struct Case {
        Verdict cochran;
        DayOfAnalyst largest;
        Verdict high;
        DayOfAnalyst highDay;
        Verdict low;
        DayOfAnalyst lowDay;
        QStringList expected;
    };
    const Case cases[] = {
        {Verdict::Correct, {1, 1}, Verdict::Correct, {1, 2}, Verdict::Correct, {2, 1}, {}},
        {Verdict::Outlier,
         {2, 3},
         Verdict::Straggler,
         {2, 3},
         Verdict::Correct,
         {1, 1},
         {"2,3,Cochran: aberrante; Grubbs alto: dudoso"}},
        {Verdict::Straggler,
         {1, 1},
         Verdict::Correct,
         {2, 2},
         Verdict::Outlier,
         {1, 2},
         {"1,1,Cochran: dudoso", "1,2,Grubbs bajo: aberrante"}},
    };
    for (const Case& tested : cases) {
        ExtendedAnalysis analysis;
        analysis.cochran.verdict = tested.cochran;
        analysis.cochran.largest = tested.largest;
        analysis.grubbs.daysOfAnalysts = {
            GrubbsTest{0, 0, {0, tested.high, tested.highDay}, {0, tested.low, tested.lowDay}}};
        QStringList named;
        for (const FlaggedDay& day : FlaggedDays(analysis)) {
            named.append(QStringLiteral("%1,%2,%3").arg(day.analyst).arg(day.day).arg(day.reason));
        }
        EXPECT_EQ(named, tested.expected);
    }
}

TEST(VariabilityChart, TheUnitIsTheTitleOfTheYAxis) {
    const StudyValues values = ReadStudyValues(testing::WorkedExample(), '.');
    QImage image(900, 500, QImage::Format_RGB32);
    const QFont font(QStringLiteral("Liberation Sans"), 9);
    const auto inked = [&image](const QRectF& area) {
        int dark = 0;
        const QRect pixels = area.toAlignedRect() & image.rect();
        for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
            for (int x = pixels.left(); x <= pixels.right(); ++x) {
                dark += image.pixelColor(x, y).lightness() < 160;
            }
        }
        return dark;
    };
    double plainLeft = 0;
    for (const QString& unit : {QString(), QString::fromUtf8("% p/p")}) {
        SCOPED_TRACE(unit.toStdString());
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        const VariabilityChart chart(values, {}, '.', QRectF(image.rect()),
                                     QFontMetricsF(font, &image), unit);
        chart.Draw(painter);
        painter.end();
        if (unit.isEmpty()) {
            EXPECT_TRUE(chart.UnitTitleArea().isEmpty());
            plainLeft = chart.PlotArea().left();
            continue;
        }
        const QRectF title = chart.UnitTitleArea();
        EXPECT_LT(title.right(),
                  chart.PlotArea().left() - QFontMetricsF(font).horizontalAdvance("99.5"));
        EXPECT_GT(chart.PlotArea().left(), plainLeft) << "the title takes room of its own";
        EXPECT_GT(inked(title), 20) << "the unit is written there";
    }
}

TEST_F(ExtendedWindowTest, TheUnitFieldTakesTwentyCharactersAndStartsWithTheLastOne) {
    platform.userSettings.SetValue("ampliado/unidad", "mg/L");
    Open(testing::WorkedExample());
    auto& unit = In<QLineEdit>("eunidad");
    EXPECT_EQ(unit.text(), "mg/L");
    unit.setFocus();
    unit.selectAll();
    Type("123456789012345678901234");
    EXPECT_EQ(unit.text(), "12345678901234567890");
    EXPECT_EQ(platform.userSettings.Value("ampliado/unidad"), "12345678901234567890");
}

TEST(VariabilityChart, TicksAreRoundStepsAroundTheResults) {
    struct Case {
        std::vector<std::string> results;
        QStringList ticks;
    };
    const Case cases[] = {
        // The worked example's results: 98.7 to 100.5, steps of 0.5.
        {{"99.1", "100.2", "99.8", "100.5", "99.9", "100.1", "98.7", "99.5", "99.0", "100.0",
          "99.6", "99.3"},
         {"98.5", "99", "99.5", "100", "100.5", "101"}},
        {{"0", "10", "2", "3", "4", "5", "6", "7", "8", "9", "1", "2"},
         {"-5", "0", "5", "10", "15"}},
        // Results apart only in their 16th digit: the axis ends, with no step counted to them.
        {{"1E16", "1.0000000000000002E16", "1E16", "1E16", "1E16", "1E16", "1E16", "1E16", "1E16",
          "1E16", "1E16", "1E16"},
         {"1E16", "1E16"}},
        // A step of ten tenths is one unit.
        {{"0", "4.6", "1", "2", "3", "4", "1", "2", "3", "4", "1", "2"},
         {"-1", "0", "1", "2", "3", "4", "5"}},
        {{"-0.0012", "0.0011", "0.0003", "0.0001", "0.0002", "0.0004", "0.0005", "0.0006", "0.0007",
          "0.0008", "0.0009", "0.001"},
         {"-0.0015", "-0.001", "-0.0005", "0", "0.0005", "0.001", "0.0015"}},
        {{"2E7", "2.6E7", "2.1E7", "2.2E7", "2.3E7", "2.4E7", "2.5E7", "2.05E7", "2.15E7", "2.25E7",
          "2.35E7", "2.45E7"},
         {"1.8E7", "2E7", "2.2E7", "2.4E7", "2.6E7", "2.8E7"}},
    };
    for (const Case& tested : cases) {
        const StudyValues values = ReadStudyValues(StudyWithResults(2, 2, 3, tested.results), '.');
        QImage image(600, 400, QImage::Format_RGB32);
        const VariabilityChart chart(values, {}, '.', QRectF(image.rect()),
                                     QFontMetricsF(QFont(), &image));
        QStringList ticks;
        for (const double tick : chart.Ticks()) {
            ticks.append(QString::fromStdString(FormatResult(tick, '.')));
        }
        EXPECT_EQ(ticks, tested.ticks);
    }
}

TEST_F(ExtendedWindowTest, HoveringAPointNamesItsResult) {
    platform.regionalSettings = testing::FixedRegionalSettings(',');
    Open(CochranOutlier(','));
    auto& view = In<QWidget>("grafico");
    const DrawnChart reference(CochranOutlier(','), ',');
    const VariabilityChart chart(reference.values, reference.flagged, ',', QRectF(view.rect()),
                                 QFontMetricsF(view.font(), &view));
    struct Case {
        QPointF at;
        QString tip;
    };
    const Case cases[] = {
        {chart.PointOf(3, 2, 2), QString::fromUtf8("Analista 3, día 2, réplica 2: 101,1")},
        {chart.PointOf(1, 1, 1) + QPointF(2, 2),
         QString::fromUtf8("Analista 1, día 1, réplica 1: 99,9")},
        {QPointF(2, 2), QString()},
    };
    for (const Case& tested : cases) {
        QHelpEvent hover(QEvent::ToolTip, tested.at.toPoint(),
                         view.mapToGlobal(tested.at.toPoint()));
        QApplication::sendEvent(&view, &hover);
        // Away from every point the event is left to the widgets behind.
        EXPECT_EQ(hover.isAccepted() ? QToolTip::text() : QString(), tested.tip);
    }
}

TEST_F(ExtendedWindowTest, AFailureOpensNoWindow) {
    const Study zeroMean = StudyWithResults(
        2, 2, 3, {"-1", "1", "0.5", "-0.5", "2", "-2", "1", "-1", "0.25", "-0.25", "3", "-3"});
    Study oneAnalyst = testing::WorkedExample();
    oneAnalyst.analystCount = "1";
    Study notANumber = testing::WorkedExample();
    notANumber.SetCell(2, 4, "1O0");
    struct Case {
        const Study& study;
        QStringList errors;
        QStringList messages;
    };
    for (const Case& failing : {
             Case{zeroMean, {"Floating point division by zero."}, {}},
             Case{notANumber, {"'1O0' is not a valid floating point value."}, {}},
             Case{oneAnalyst, {}, {"Datos fuera de rango, 2-10 Analistas"}},
         }) {
        SCOPED_TRACE((failing.errors + failing.messages).join("").toStdString());
        Open(failing.study);
        EXPECT_EQ(ErrorReports(), failing.errors);
        EXPECT_EQ(Messages(), failing.messages);
        EXPECT_TRUE(Windows().isEmpty());
        DiscardStudy();
    }
}

TEST_F(ExtendedWindowTest, ThePopUpItemOpensItAndItsClosingAsTheLastChildLeavesNoStudy) {
    Open(testing::WorkedExample());
    Command("pmnuampliado").trigger();
    QApplication::processEvents();
    ASSERT_EQ(Windows().size(), 2);
    DiscardStudy();
    EXPECT_TRUE(Command("FileNewItem").isEnabled()) << "the capture window closed";
    mainWindow.ApplyCommandEvent(CommandEvent::New); // to see the last closing take it away
    for (ExtendedAnalysisWindow* window : Windows()) {
        EXPECT_TRUE(Command("mnuclose").isEnabled()) << "a window is still open";
        window->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_FALSE(Command("mnuclose").isEnabled());
    EXPECT_TRUE(Command("FileNewItem").isEnabled());
}

TEST_F(ExtendedWindowTest, F1InTheWindowOpensItsHelpPage) {
    Open(testing::WorkedExample());
    In<QTableWidget>("stgcomponentes").setFocus();
    QApplication::processEvents();
    Press(Qt::Key_F1);
    EXPECT_EQ(platform.help.Requests(), QStringList({"topic 13"}));
}

// The text pdftotext reads from a file, its lines without the blanks at their ends.
QStringList PdfLines(const std::filesystem::path& file) {
    QProcess reader;
    reader.start(
        QStringLiteral("pdftotext"),
        {QStringLiteral("-layout"), QString::fromStdString(file.string()), QStringLiteral("-")});
    if (!reader.waitForFinished(30000) || reader.exitCode() != 0) {
        return {QStringLiteral("pdftotext failed")};
    }
    QStringList lines;
    for (const QString& line : QString::fromUtf8(reader.readAllStandardOutput()).split('\n')) {
        lines.append(line.simplified());
    }
    return lines;
}

std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(ExtendedWindowTest, ExportWritesTheValidationRecordOrLeavesTheOldFile) {
    const testing::TemporaryFolder folder;
    const std::filesystem::path target = folder / "estudio.pdf";
    testing::WriteBytes(target, "old");
    Open(testing::WorkedExample());
    In<QLineEdit>("elimiterep").setFocus();
    Type("0.4");
    Press(Qt::Key_Return);
    In<QLineEdit>("eunidad").setFocus();
    Type("mg/L");
    platform.fileDialogs.QueueAnswer(ChosenFile{QString::fromStdString(target.string()), {}});
    In<QPushButton>("btnexportar").click();
    ASSERT_EQ(ErrorReports(), QStringList());
    const FileDialogSettings& asked = platform.fileDialogs.SaveDialogsShown().back();
    EXPECT_EQ(asked.title, "Exportar PDF");
    EXPECT_EQ(asked.fileTypes, QStringList({"Documento PDF (*.pdf)"}));
    EXPECT_EQ(asked.defaultExtension, "pdf");
    EXPECT_EQ(asked.proposedName, QString::fromUtf8("Registro Valoración 01-06-2001.pdf"));
    ASSERT_EQ(platform.printer.Records().size(), 1u);
    const RecordIdentity& identity = platform.printer.Records().front();
    EXPECT_EQ(identity.fileName, "worked-example.w05");
    EXPECT_EQ(QString::fromStdString(identity.fingerprint.hex),
              Sha256Sum(testing::kWorkedExampleFile));
    EXPECT_FALSE(identity.fingerprint.unsaved);
    EXPECT_EQ(identity.unit, "mg/L");
    EXPECT_EQ(identity.program, "ORBETA " ORBETA_VERSION);
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>({"estudio.pdf"}));
    // The record itself is the record's own tests' to read; here, that the file is it, with the
    // limit typed in the window judged.
    const QStringList lines = PdfLines(target);
    for (const QString& expected :
         {QString::fromUtf8("Archivo: worked-example.w05"),
          QString::fromUtf8("Unidad de los resultados: mg/L"),
          "Huella SHA-256 de los datos: " + Sha256Sum(testing::kWorkedExampleFile)}) {
        EXPECT_TRUE(lines.contains(expected)) << expected.toStdString();
    }
    EXPECT_TRUE(lines.filter(QString::fromUtf8("No cumple")).size() > 0) << "the limit judged";

    // A file whose permissions forbid writing keeps what it holds, and no part of a new file
    // is left beside it.
    testing::WriteBytes(target, "old");
    std::filesystem::permissions(target, std::filesystem::perms::owner_read);
    platform.fileDialogs.QueueAnswer(ChosenFile{QString::fromStdString(target.string()), {}});
    In<QPushButton>("btnexportar").click();
    std::filesystem::permissions(target, std::filesystem::perms::owner_all);
    EXPECT_EQ(ErrorReports(), QStringList({"File access denied."}));
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>({"estudio.pdf"}));
    EXPECT_EQ(testing::ReadBytes(target), "old");

    platform.fileDialogs.QueueAnswer(std::nullopt);
    In<QPushButton>("btnexportar").click();
    EXPECT_EQ(ErrorReports().size(), 1) << "a cancelled dialog writes nothing";

    // A failure other than the core's (here the scripted dialog has no answer and throws a
    // standard exception) is caught and named; the window stays.
    In<QPushButton>("btnexportar").click();
    EXPECT_EQ(Messages(),
              QStringList({QString::fromUtf8("No se pudo exportar el registro de validación.")}));
    EXPECT_EQ(ErrorReports().size(), 1);
    EXPECT_EQ(Windows().size(), 1);
}

// The study's identity in a record's lines, its heading to the results' heading.
QStringList IdentityOf(const QStringList& lines) {
    const qsizetype first = lines.indexOf(QString::fromUtf8("Identificación del estudio"));
    return first < 0 ? QStringList() : lines.mid(first, lines.indexOf("Resultados", first) - first);
}

// The record of a study with a day lost, exported from the window, names what is missing as the
// record's own expected text does.
TEST_F(ExtendedWindowTest, TheExportOfAStudyWithMissingResultsNamesThemInTheRecord) {
    const std::filesystem::path data = ORBETA_TEST_DATA;
    const testing::TemporaryFolder folder;
    const std::filesystem::path target = folder / "registro.pdf";
    platform.fileDialogs.QueueAnswer(
        ChosenFile{QString::fromStdString((data / "lost-day.w05").string()), {}});
    Command("FileOpenItem").trigger();
    Command("mnuampliado").trigger();
    QApplication::processEvents();
    In<QLineEdit>("eunidad").setFocus();
    Type("mg/L");
    platform.fileDialogs.QueueAnswer(ChosenFile{QString::fromStdString(target.string()), {}});
    In<QPushButton>("btnexportar").click();
    ASSERT_EQ(ErrorReports(), QStringList());
    ASSERT_EQ(Messages(), QStringList());
    QStringList expected;
    for (const QString& line :
         QString::fromStdString(testing::ReadBytes(data / "record-lost-day.txt")).split('\n')) {
        expected.append(line.simplified());
    }
    expected = IdentityOf(expected);
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(expected.filter(QStringLiteral("(NA)")),
              QStringList({QString::fromUtf8(
                  "Faltan 2 de 18 resultados (NA): analista 2, día 2, sin resultados.")}));
    EXPECT_EQ(IdentityOf(PdfLines(target)), expected);
}

} // namespace
} // namespace orbeta
