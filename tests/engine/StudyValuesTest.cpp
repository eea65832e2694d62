#include "engine/StudyValues.h"
#include "study/Numbers.h"
#include "support/Expectations.h"
#include "support/Studies.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orbeta {
namespace {

std::vector<std::string> Texts(const std::vector<double>& values) {
    std::vector<std::string> texts;
    for (const double value : values) {
        texts.push_back(FormatResult(value, '.'));
    }
    return texts;
}

TEST(ReadStudyValues, GivesTheResultsInOrderWithTheMeansOfEachDayAndAnalyst) {
    // The worked example, by hand: days (99.1 + 100.2 + 99.8) / 3 = 99.7, ...
    const StudyValues values = ReadStudyValues(testing::WorkedExample(), '.');
    EXPECT_EQ(Texts(values.results),
              std::vector<std::string>({"99.1", "100.2", "99.8", "100.5", "99.9", "100.1", "98.7",
                                        "99.5", "99", "100", "99.6", "99.3"}));
    EXPECT_EQ(Texts(values.dayMeans),
              std::vector<std::string>({"99.7", "100.167", "99.0667", "99.6333"}));
    EXPECT_EQ(Texts(values.analystMeans), std::vector<std::string>({"99.9333", "99.35"}));
    EXPECT_EQ(FormatResult(values.grandMean, '.'), "99.6417");
    EXPECT_EQ(values.Result(2, 1, 3), 99.0);
    EXPECT_EQ(FormatResult(values.DayMean(2, 2), '.'), "99.6333");
    EXPECT_EQ(values.Numbers().Results().size(), 12u);
}

TEST(ReadStudyValues, RefusesWhatIsNotANumber) {
    Study study = testing::WorkedExample();
    EXPECT_EQ(testing::ErrorOf([&] { ReadStudyValues(study, ','); }),
              "'99.1' is not a valid floating point value");
    study.SetCell(2, 6, "");
    EXPECT_EQ(testing::ErrorOf([&] { ReadStudyValues(study, '.'); }),
              "'' is not a valid floating point value");
}

TEST(ReadStudyValues, LeavesAMissingResultOutOfEveryMean) {
    // The worked example with analyst 1's day 2 lost and analyst 2's first result missing:
    // analyst 1 = (99.1 + 100.2 + 99.8) / 3, analyst 2 = (99.5 + 99 + 100 + 99.6 + 99.3) / 5,
    // the study = (299.1 + 497.4) / 8 = 99.5625.
    Study study = testing::WorkedExample();
    for (const int row : {4, 5, 6}) {
        study.SetCell(1, row, "NA");
    }
    study.SetCell(2, 1, "na");
    const StudyValues values = ReadStudyValues(study, '.');
    EXPECT_EQ(Texts(values.results),
              std::vector<std::string>({"99.1", "100.2", "99.8", "NAN", "NAN", "NAN", "NAN", "99.5",
                                        "99", "100", "99.6", "99.3"}));
    EXPECT_EQ(Texts(values.dayMeans),
              std::vector<std::string>({"99.7", "NAN", "99.25", "99.6333"}));
    EXPECT_EQ(Texts(values.analystMeans), std::vector<std::string>({"99.7", "99.48"}));
    EXPECT_EQ(FormatResult(values.grandMean, '.'), "99.5625");
    EXPECT_EQ(values.GetDesign().MissingCount(), 4u);
    EXPECT_FALSE(values.GetDesign().HoldsResult(DesignCell{2, 1, 1}));
    EXPECT_TRUE(values.GetDesign().HoldsResult(DesignCell{2, 1, 2}));
}

} // namespace
} // namespace orbeta
