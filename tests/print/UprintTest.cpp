#include "print/Uprint.h"

#include "engine/Ucalculo.h"
#include "study/Error.h"
#include "support/PageRows.h"
#include "support/RecordingPrintSurface.h"
#include "support/Studies.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace orbeta {
namespace {

using ::testing::IsSupersetOf;
using testing::RecordingPrintSurface;

std::vector<std::string> GeneralInfoPage(const Study& study, int resolution = 600) {
    RecordingPrintSurface surface(resolution, resolution * 8);
    LaserLayout(surface, '.').PrintGeneralInfo(study);
    return surface.Operations();
}

long Count(const std::vector<std::string>& operations, const std::string& operation) {
    return std::count(operations.begin(), operations.end(), operation);
}

using Page = std::vector<std::string>;

// The header of every laser page at 600 dpi on a printable width of 4800.
const Page kHeader600 = {"font ARIAL 12", "text 1950 600 Control de Calidad",
                         "text 1650 700 Precisión del Método Analítico", "line 0 820 4800 820",
                         "font ARIAL 10"};
// And its footer.
const Page kFooter600 = {"text 540 5600 Realizó: ________________________ ",
                         "text 2700 5600 Revisó: ________________________ ",
                         "text 4185 5800 ORBETA v. w 3.1", "line 0 5900 4800 5900"};

Page Joined(std::initializer_list<Page> parts) {
    Page joined;
    for (const Page& part : parts) {
        joined.insert(joined.end(), part.begin(), part.end());
    }
    return joined;
}

struct WholePageCase {
    int resolution;
    Page operations;
};

TEST(LaserLayout, PrintsTheGeneralPageOfTheWorkedExampleWhole) {
    const std::vector<WholePageCase> cases = {
        {600, Joined({{"begin"},
                      kHeader600,
                      {"text 2010 1000 Información General",
                       "text 540 1200 Nombre del método: Valoración",
                       "text 540 1300 Fecha: 01/06/2001",
                       "text 540 1400 Número de Analistas: 2",
                       "text 540 1500 Número de días: 2",
                       "text 540 1600 Número de replicaciones: 3",
                       "text 1272 2000 Analista 1",
                       "text 2004 2000 Analista 2",
                       "text 540 2100 (Día 1,Replica 1)",
                       "text 1272 2100 99.1",
                       "text 2004 2100 98.7",
                       "text 540 2200 (Día 1,Replica 2)",
                       "text 1272 2200 100.2",
                       "text 2004 2200 99.5",
                       "text 540 2300 (Día 1,Replica 3)",
                       "text 1272 2300 99.8",
                       "text 2004 2300 99.0",
                       "text 540 2400 (Día 2,Replica 1)",
                       "text 1272 2400 100.5",
                       "text 2004 2400 100.0",
                       "text 540 2500 (Día 2,Replica 2)",
                       "text 1272 2500 99.9",
                       "text 2004 2500 99.6",
                       "text 540 2600 (Día 2,Replica 3)",
                       "text 1272 2600 100.1",
                       "text 2004 2600 99.3"},
                      kFooter600,
                      {"end"}})},
        // Rows follow the resolution, columns stay 12 device pixels.
        {300,
         {"begin",
          "font ARIAL 12",
          "text 975 300 Control de Calidad",
          "text 825 350 Precisión del Método Analítico",
          "line 0 420 2400 420",
          "font ARIAL 10",
          "text 1000 500 Información General",
          "text 540 600 Nombre del método: Valoración",
          "text 540 650 Fecha: 01/06/2001",
          "text 540 700 Número de Analistas: 2",
          "text 540 750 Número de días: 2",
          "text 540 800 Número de replicaciones: 3",
          "text 1272 1000 Analista 1",
          "text 2004 1000 Analista 2",
          "text 540 1050 (Día 1,Replica 1)",
          "text 1272 1050 99.1",
          "text 2004 1050 98.7",
          "text 540 1100 (Día 1,Replica 2)",
          "text 1272 1100 100.2",
          "text 2004 1100 99.5",
          "text 540 1150 (Día 1,Replica 3)",
          "text 1272 1150 99.8",
          "text 2004 1150 99.0",
          "text 540 1200 (Día 2,Replica 1)",
          "text 1272 1200 100.5",
          "text 2004 1200 100.0",
          "text 540 1250 (Día 2,Replica 2)",
          "text 1272 1250 99.9",
          "text 2004 1250 99.6",
          "text 540 1300 (Día 2,Replica 3)",
          "text 1272 1300 100.1",
          "text 2004 1300 99.3",
          "text 540 2800 Realizó: ________________________ ",
          "text 2700 2800 Revisó: ________________________ ",
          "text 2085 2900 ORBETA v. w 3.1",
          "line 0 2950 2400 2950",
          "end"}},
    };
    for (const WholePageCase& each : cases) {
        EXPECT_EQ(GeneralInfoPage(testing::WorkedExample(), each.resolution), each.operations)
            << each.resolution << " dpi";
    }
}

// The worked example with its count of analysts typed with a leading zero.
Study WorkedExampleTypedWithZero() {
    Study study = testing::WorkedExample();
    study.analystCount = "02";
    return study;
}

struct BlockCase {
    Study study;
    std::vector<std::string> strips;
};

TEST(LaserLayout, LaysTheResultGridOutInOneBlockUpToFiveAnalystsAndTwoBeyond) {
    const std::vector<BlockCase> cases = {
        {WorkedExampleTypedWithZero(),
         {"text 540 1400 Número de Analistas: 02", "text 1272 2000 Analista 1",
          "text 2004 2000 Analista 2", "text 540 2100 (Día 1,Replica 1)", "text 1272 2100 99.1",
          "text 2004 2100 98.7", "text 540 2600 (Día 2,Replica 3)", "text 2004 2600 99.3"}},
        {testing::StudyWithResults(5, 2, 3, {}),
         {"text 1272 2000 Analista 1", "text 4200 2000 Analista 5",
          "text 540 2600 (Día 2,Replica 3)"}},
        {testing::StudyWithResults(6, 2, 3, {}),
         {"text 1272 2100 Analista 1", "text 4200 2100 Analista 5",
          "text 540 2700 (Día 2,Replica 3)", "text 1272 3000 Analista 6",
          "text 540 3100 (Día 1,Replica 1)", "text 540 3600 (Día 2,Replica 3)"}},
        {testing::StudyWithResults(7, 2, 3, {}),
         {"text 1272 3000 Analista 6", "text 2004 3000 Analista 7"}},
    };
    for (const BlockCase& each : cases) {
        const auto page = GeneralInfoPage(each.study);
        EXPECT_THAT(page, IsSupersetOf(each.strips)) << each.study.analystCount << " analysts";
        EXPECT_EQ(Count(page, "text 540 2000 (Día 1,Replica 1)"), 0) << "row 0 is the headings";
    }
}

TEST(LaserLayout, RefusesCountsThatDoNotFitTheGridBeforeAnyJobBegins) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"dos", "'dos' is not a valid integer value"},
        {"3", "El número columnas para los analistas, no coincide con el número de Analistas."},
    };
    for (const auto& [analysts, message] : cases) {
        Study study = testing::WorkedExample();
        study.analystCount = analysts;
        RecordingPrintSurface surface(600, 4800);
        try {
            LaserLayout(surface, '.').PrintGeneralInfo(study);
            ADD_FAILURE() << "printed with " << analysts << " analysts";
        } catch (const Error& error) {
            EXPECT_EQ(error.what(), message);
        }
        EXPECT_TRUE(surface.Operations().empty()) << "no job begun";
    }
}

// Rows 100 device pixels apart, the row headings at 540 and the analysts 732 apart from 1272.
Page TableRows(int y, int first, int last, int replicates, std::initializer_list<int> analysts) {
    return testing::NamedCellRows({y, 100, 540, 1272, 732}, first, last, replicates, analysts);
}

const Page kInformation2x10x5 = {"text 2010 1000 Información General",
                                 "text 540 1200 Nombre del método: ",
                                 "text 540 1300 Fecha: ",
                                 "text 540 1400 Número de Analistas: 2",
                                 "text 540 1500 Número de días: 10",
                                 "text 540 1600 Número de replicaciones: 5"};

TEST(LaserLayout, ContinuesALongTableOnAFurtherPageUnderItsHeadingsDrawnAgain) {
    const Page twoAnalysts = {"text 1272 2000 Analista 1", "text 2004 2000 Analista 2"};
    const Page twoAnalystsAtTop = {"text 1272 1000 Analista 1", "text 2004 1000 Analista 2"};
    const Page sixthAtTop = {"text 1272 1000 Analista 6"};
    const std::vector<std::pair<Study, Page>> cases = {
        // Rows 20 to 55 hold the headings and grid rows 1 to 35; row 10 of the next page the
        // headings again, rows 11 on the rest.
        {testing::StudyNamingItsCells(2, 10, 5), Joined({{"begin"},
                                                         kHeader600,
                                                         kInformation2x10x5,
                                                         twoAnalysts,
                                                         TableRows(2100, 1, 35, 5, {1, 2}),
                                                         kFooter600,
                                                         {"page"},
                                                         kHeader600,
                                                         twoAnalystsAtTop,
                                                         TableRows(1100, 36, 50, 5, {1, 2}),
                                                         kFooter600,
                                                         {"end"}})},
    };
    for (const auto& [study, pages] : cases) {
        EXPECT_EQ(GeneralInfoPage(study), pages) << study.analystCount << " analysts";
    }

    // The second block of six analysts with 16 rows each runs one row past the page: the page
    // after holds its headings and its last row.
    const Page sixAnalysts = GeneralInfoPage(testing::StudyNamingItsCells(6, 4, 4));
    const auto further = std::find(sixAnalysts.begin(), sixAnalysts.end(), "page");
    ASSERT_NE(further, sixAnalysts.end());
    EXPECT_EQ(Page(further, sixAnalysts.end()), Joined({{"page"},
                                                        kHeader600,
                                                        sixthAtTop,
                                                        TableRows(1100, 16, 16, 4, {6}),
                                                        kFooter600,
                                                        {"end"}}));
}

struct ConclusionCase {
    double pAnalyst;
    double pDay;
    std::vector<std::string> lines;
};

TEST(LaserLayout, ResultsPageHoldsTheFiguresAndTheConclusionsByTheFivePercentRule) {
    const Study study = testing::WorkedExample();
    // Figures chosen so that each one's place on the page is plain.
    const AnovaTable figures{1, 2, 8, 1.5, 2.25, 4, 1.5, 1.125, 0.5, 3, 2.25, 0.125, 0.25};
    const PrecisionSummary measures{0.5, 0.25, 0.75, 1.25, 1.5, 1.75, 2, 3, 100};
    RecordingPrintSurface page(600, 4800);
    LaserLayout(page, '.').PrintResults(study, figures, measures);
    EXPECT_EQ(
        page.Operations(),
        Joined({{"begin"},
                kHeader600,
                {"text 1928 1000 Análisis de la Varianza",
                 "text 552 1200 Fuente",
                 "text 1320 1200 Grados",
                 "text 1920 1200 Suma",
                 "text 2580 1200 Media",
                 "text 552 1300 de",
                 "text 1332 1300 de",
                 "text 1920 1300 de",
                 "text 2592 1300 de",
                 "text 3240 1300 Fcal",
                 "text 3900 1300 Pr",
                 "text 540 1400 Variación",
                 "text 1320 1400 Libertad",
                 "text 1920 1400 Cuadrados",
                 "text 2580 1400 Cuadrados",
                 "text 540 1600 Analista",
                 "text 540 1700 Dia",
                 "text 540 1800 Error de Método",
                 "text 1356 1600 1",
                 "text 1932 1600 1.5",
                 "text 2592 1600 1.5",
                 "text 3240 1600 3",
                 "text 3900 1600 0.125",
                 "text 1356 1700 2",
                 "text 1932 1700 2.25",
                 "text 2592 1700 1.125",
                 "text 3240 1700 2.25",
                 "text 3900 1700 0.25",
                 "text 1356 1800 8",
                 "text 1932 1800 4",
                 "text 2592 1800 0.5",
                 "text 1354 2100 El Analista no presenta efecto sobre la valoración.",
                 "text 1108 2200 No existe efecto de los días para un analista en la valoración.",
                 "text 1867 2900 Evaluación de la Precisión",
                 "text 540 3100 Nombre del Método = Valoración",
                 "text 540 3200 Coeficiente de Variación Total = 0.5",
                 "text 540 3300 Repetibilidad del Método Analítico = 0.25",
                 "text 540 3400 Coeficiente de Variación de Repetibilidad del Método Analítico = 2",
                 "text 540 3500 Reproducibilidad Inter Dia/Analista = 0.75",
                 "text 540 3600 Coeficiente de Variación de Reproducibilidad Inter Dia/Analista = "
                 "1.75",
                 "text 540 3700 Reproducibilidad Interanalista = 1.25",
                 "text 540 3800 Coeficiente de Variación de Reproducibilidad Interanalista = 1.5",
                 "text 540 3900 Amplitud Máxima Relativa de las Determinaciones Analíticas = 3",
                 "text 540 4500 Nombre del método: Valoración",
                 "text 540 4600 Número de Analistas: 2",
                 "text 540 4700 Número de días: 2",
                 "text 540 4800 Número de replicaciones: 3",
                 "text 540 4900 Fecha: 01/06/2001"},
                kFooter600,
                {"end"}}));

    auto [anova, precision] = testing::ComputeResults(study);
    const std::vector<ConclusionCase> cases = {
        {0.049,
         0.01,
         {"text 1416 2100 El Analista presenta efecto sobre la valoración.",
          "text 1170 2200 Existe efecto de los días para un analista en la valoración.",
          "text 3900 1600 0,049"}},
        {0.05,
         0.05,
         {"text 1354 2100 El Analista no presenta efecto sobre la valoración.",
          "text 3900 1600 0,05"}},
    };
    for (const ConclusionCase& each : cases) {
        anova.pAnalyst = each.pAnalyst;
        anova.pDay = each.pDay;
        RecordingPrintSurface decimalComma(600, 4800);
        LaserLayout(decimalComma, ',').PrintResults(study, anova, precision);
        EXPECT_THAT(decimalComma.Operations(), IsSupersetOf(each.lines)) << each.pAnalyst;
    }
}

} // namespace
} // namespace orbeta
