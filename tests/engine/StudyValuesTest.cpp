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
    // A result marked missing is no number to picture: its study is refused whole, by name.
    study.SetCell(2, 6, "na");
    EXPECT_EQ(testing::ErrorOf([&] { ReadStudyValues(study, '.'); }), kMissingResultsOnlyInReports);
}

} // namespace
} // namespace orbeta
