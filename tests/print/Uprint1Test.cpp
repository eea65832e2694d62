#include "print/Uprint1.h"

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
    const auto pages = GeneralInfoPage(testing::LargestStudy());
    const long breaks = std::count(pages.begin(), pages.end(), "page");
    ASSERT_GE(breaks, 1);
    for (const char* frame : {"text 1100 250 Ondravel", "line 0 420 2400 420"}) {
        EXPECT_EQ(std::count(pages.begin(), pages.end(), frame), breaks + 1) << frame;
    }
    EXPECT_EQ(std::count(pages.begin(), pages.end(), "text 2055 2400 ORBETA v. w 3.1"), breaks);
}

} // namespace
} // namespace orbeta
