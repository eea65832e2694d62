#include "print/Uprint1.h"

#include "support/PageRows.h"
#include "support/RecordingPrintSurface.h"
#include "support/Studies.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace orbeta {
namespace {

using ::testing::IsSupersetOf;
using testing::RecordingPrintSurface;
using Settings = DeskJetSettings;

std::vector<std::string> GeneralInfoPage(const Study& study, Settings settings = {}) {
    RecordingPrintSurface surface(300, 2400);
    DeskJetLayout(surface, '.', settings).PrintGeneralInfo(study);
    return surface.Operations();
}

std::vector<std::string> ResultsPage(Settings settings) {
    RecordingPrintSurface surface(300, 2400);
    DeskJetLayout(surface, '.', settings).PrintResults(testing::WorkedExample(), {}, {});
    return surface.Operations();
}

struct SettingsCase {
    Settings settings;
    std::vector<std::string> results;
};

TEST(DeskJetLayout, TakesFontSizesFromThePrinterTypeAndTheLeftEdgeFromTheMargin) {
    using Type = Settings::PrinterType;
    using Margin = Settings::Margin;
    const std::vector<SettingsCase> cases = {
        {{},
         {"font ARIAL 12", "text 1100 250 Ondravel", "text 975 300 Control de Calidad",
          "line 0 420 2400 420", "font ARIAL 11", "text 36 800 ANALISTA", "text 2076 650 Pr",
          "text 36 1550 NOMBRE DEL MÉTODO = Valoración",
          "text 36 2150 Nombre del método: Valoración", "text 36 2250 Fecha: 01/06/2001",
          "text 2055 2400 ORBETA v. w 3.1", "line 0 2450 2400 2450", "end"}},
        {{Type::DeskJet, Margin::OneCm}, {"text 12 800 ANALISTA", "text 2052 650 Pr"}},
        {{Type::DeskJet, Margin::TwoCm}, {"text 60 800 ANALISTA", "text 2100 650 Pr"}},
        {{Type::LaserJet, Margin::OneAndAHalfCm},
         {"font ARIAL 14", "font ARIAL 13", "text 42 928 ANALISTA", "text 2422 754 Pr",
          "line 0 2842 2400 2842"}},
    };
    for (const SettingsCase& each : cases) {
        EXPECT_THAT(ResultsPage(each.settings), IsSupersetOf(each.results));
    }
}

TEST(DeskJetLayout, ClosesTheGeneralPageRightBelowItsTable) {
    // Rows of the table and of the foot, by the number of analysts.
    const std::map<int, std::vector<std::string>> cases = {
        {5,
         {"text 528 900 Analista 1", "text 2496 900 Analista 5", "text 36 1200 (Día 2,Replica 3)",
          "text 2055 1350 ORBETA v. w 3.1", "line 0 1400 2400 1400"}},
        {6,
         {"text 528 1000 Analista 1", "text 36 1300 (Día 2,Replica 3)", "text 528 1450 Analista 6",
          "text 36 1750 (Día 2,Replica 3)", "text 2055 1900 ORBETA v. w 3.1",
          "line 0 1950 2400 1950"}},
    };
    for (const auto& [analysts, rows] : cases) {
        EXPECT_THAT(GeneralInfoPage(testing::StudyWithResults(analysts, 2, 3, {})),
                    IsSupersetOf(rows))
            << analysts << " analysts";
    }
}

TEST(DeskJetLayout, ContinuesALongTableOnAFurtherPageClosedLikeTheFirst) {
    // At 300 dpi and the 1.5 cm margin: rows 50 device pixels apart, the row headings at 36 and
    // the analysts 492 apart from 528. Rows 18 to 45 hold the headings and grid rows 1 to 27;
    // the page closes below row 45; row 10 of the next holds the headings again.
    const std::vector<std::string> pages = GeneralInfoPage(testing::StudyNamingItsCells(2, 10, 5));
    const auto further = std::find(pages.begin(), pages.end(), "page");
    ASSERT_GE(further - pages.begin(), 2);
    std::vector<std::string> expected = {"text 2055 2400 ORBETA v. w 3.1",
                                         "line 0 2450 2400 2450",
                                         "page",
                                         "font ARIAL 12",
                                         "text 1100 250 Ondravel",
                                         "text 975 300 Control de Calidad",
                                         "text 825 350 PRECISIÓN DEL MÉTODO ANALÍTICO",
                                         "line 0 420 2400 420",
                                         "font ARIAL 11",
                                         "text 528 500 Analista 1",
                                         "text 1020 500 Analista 2"};
    const auto rows = testing::NamedCellRows({550, 50, 36, 528, 492}, 28, 50, 5, {1, 2});
    expected.insert(expected.end(), rows.begin(), rows.end());
    expected.insert(expected.end(),
                    {"text 2055 1800 ORBETA v. w 3.1", "line 0 1850 2400 1850", "end"});
    EXPECT_EQ(std::vector<std::string>(further - 2, pages.end()), expected);
}

} // namespace
} // namespace orbeta
