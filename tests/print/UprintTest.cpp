#include "print/Uprint.h"

#include "engine/Ucalculo.h"
#include "study/Error.h"
#include "support/RecordingPrintSurface.h"
#include "support/Studies.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace orbeta {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
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

struct FrameCase {
    int resolution;
    std::vector<std::string> operations;
};

TEST(LaserLayout, FramesThePageInRowsOfTheHeaderFontAndColumnsOfTwelvePixels) {
    const std::vector<FrameCase> cases = {
        {600,
         {"begin", "font ARIAL 12", "text 1950 600 Control de Calidad",
          "text 1650 700 Precisión del Método Analítico", "line 0 820 4800 820", "font ARIAL 10",
          "text 540 1200 Nombre del método: Valoración", "text 540 1300 Fecha: 01/06/2001",
          "text 540 1600 Número de replicaciones: 3",
          "text 540 5600 Realizó: ________________________ ",
          "text 2700 5600 Revisó: ________________________ ", "text 4185 5800 ORBETA v. w 3.1",
          "line 0 5900 4800 5900", "end"}},
        {300,
         {"text 975 300 Control de Calidad", "line 0 420 2400 420",
          "text 540 600 Nombre del método: Valoración",
          "text 540 2800 Realizó: ________________________ ",
          "text 2700 2800 Revisó: ________________________ ", "text 2085 2900 ORBETA v. w 3.1",
          "line 0 2950 2400 2950"}},
    };
    for (const FrameCase& each : cases) {
        const auto page = GeneralInfoPage(testing::WorkedExample(), each.resolution);
        EXPECT_THAT(page, IsSupersetOf(each.operations)) << each.resolution << " dpi";
        EXPECT_EQ(Count(page, "page"), 0) << "one page";
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

TEST(LaserLayout, ContinuesALongTableOnFurtherPagesOfTheSameJobWithTheFrame) {
    const auto pages = GeneralInfoPage(testing::LargestStudy());
    const long breaks = Count(pages, "page");
    ASSERT_GE(breaks, 1);
    EXPECT_EQ(Count(pages, "begin"), 1);
    EXPECT_EQ(Count(pages, "end"), 1);
    for (const char* frame :
         {"text 1950 600 Control de Calidad", "line 0 820 4800 820",
          "text 540 5600 Realizó: ________________________ ", "line 0 5900 4800 5900"}) {
        EXPECT_EQ(Count(pages, frame), breaks + 1) << frame;
    }
    EXPECT_EQ(Count(pages, "text 540 1000 (Día 4,Replica 2)"), 0)
        << "a further page opens with its block's headings";
    EXPECT_THAT(pages, Contains("text 1272 1000 Analista 1"));
    for (const char* lastRow : {"(Día 10,Replica 5)", "Analista 10"}) {
        const long drawn = std::count_if(pages.begin(), pages.end(), [&](const std::string& op) {
            return op.ends_with(lastRow);
        });
        EXPECT_GE(drawn, 1) << lastRow;
    }
    for (const std::string& operation : pages) {
        int x = 0;
        int y = 0;
        if (std::sscanf(operation.c_str(), "text %d %d", &x, &y) == 2 && y > 5500) {
            EXPECT_TRUE(y == 5600 || y == 5800) << operation << " runs into the footer";
        }
    }
}

struct ConclusionCase {
    double pAnalyst;
    double pDay;
    std::vector<std::string> lines;
};

TEST(LaserLayout, ResultsPageHoldsTheFiguresAndTheConclusionsByTheFivePercentRule) {
    const Study study = testing::WorkedExample();
    auto [anova, precision] = testing::ComputeResults(study);
    RecordingPrintSurface surface(600, 4800);
    LaserLayout(surface, '.').PrintResults(study, anova, precision);
    EXPECT_THAT(
        surface.Operations(),
        IsSupersetOf(
            {"text 1356 1600 1", "text 1932 1600 1.02083", "text 2592 1600 1.02083",
             "text 3240 1600 2.52577", "text 3900 1600 0.253851", "text 1356 1800 8",
             "text 540 1800 Error de Método", "text 3900 1300 Pr",
             "text 1354 2100 El Analista no presenta efecto sobre la valoración.",
             "text 1108 2200 No existe efecto de los días para un analista en la valoración.",
             "text 540 3100 Nombre del Método = Valoración",
             "text 540 3200 Coeficiente de Variación Total = 0.542074",
             "text 540 4600 Número de Analistas: 2", "text 540 4900 Fecha: 01/06/2001",
             "line 0 5900 4800 5900", "end"}));

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
