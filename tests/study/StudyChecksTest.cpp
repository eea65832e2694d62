#include "study/StudyChecks.h"
#include "study/Error.h"
#include "support/Studies.h"

#include <gtest/gtest.h>

namespace orbeta {
namespace {

using testing::WorkedExample;

struct ExpectedFailure {
    std::string message;
    StudyPage page;
    StudyControl focus;
};

void ExpectFailure(const Study& study, const ExpectedFailure& expected) {
    const auto failure = ValidateStudy(study);
    ASSERT_TRUE(failure.has_value()) << "passed, expected: " << expected.message;
    EXPECT_EQ(failure->message, expected.message);
    EXPECT_EQ(failure->page, expected.page);
    EXPECT_EQ(failure->focus, expected.focus);
}

const ExpectedFailure kNoAnalysts{"Falta capturar número de Analistas",
                                  StudyPage::GeneralInformation, StudyControl::AnalystCount};
const ExpectedFailure kAnalystsRange{"Datos fuera de rango, 2-10 Analistas",
                                     StudyPage::GeneralInformation, StudyControl::AnalystCount};
const ExpectedFailure kNoDays{"Falta capturar número de Días", StudyPage::GeneralInformation,
                              StudyControl::DayCount};
const ExpectedFailure kDaysRange{"Datos fuera de rango, 2-10 Días", StudyPage::GeneralInformation,
                                 StudyControl::DayCount};
const ExpectedFailure kNoReplicates{"Falta capturar número de Replicas",
                                    StudyPage::GeneralInformation, StudyControl::ReplicateCount};
const ExpectedFailure kReplicatesRange{"Datos fuera de rango, 2-5 Replicas",
                                       StudyPage::GeneralInformation, StudyControl::ReplicateCount};
const ExpectedFailure kRowsDiffer{"El número de celdas de captura, por analista no coincide con el "
                                  "número de Días o Replicaciones.",
                                  StudyPage::GeneralInformation, StudyControl::DayCount};
const ExpectedFailure kColumnsDiffer{
    "El número columnas para los analistas, no coincide con el número de Analistas.",
    StudyPage::GeneralInformation, StudyControl::AnalystCount};

TEST(ValidateStudy, ACompleteStudyPasses) {
    Study study = WorkedExample();
    EXPECT_FALSE(ValidateStudy(study).has_value());
    study.methodName.clear();
    study.date.clear();
    study.SetCell(2, 6, " ");
    EXPECT_FALSE(ValidateStudy(study).has_value()) << "blanks, empty name and date pass";
}

TEST(ValidateStudy, CountChecksComeInFieldOrder) {
    Study study = WorkedExample();
    study.analystCount = "";
    study.dayCount = "";
    study.replicateCount = "";
    ExpectFailure(study, kNoAnalysts);
    study.analystCount = "1";
    ExpectFailure(study, kAnalystsRange);
    study.analystCount = "2";
    ExpectFailure(study, kNoDays);
    study.dayCount = "11";
    ExpectFailure(study, kDaysRange);
    study.dayCount = "2";
    ExpectFailure(study, kNoReplicates);
    study.replicateCount = "6";
    ExpectFailure(study, kReplicatesRange);
}

TEST(ValidateStudy, RangesIncludeTheirEnds) {
    Study study = WorkedExample();
    for (const char* text : {"1", "11", "0", "-2", " 12"}) {
        study.analystCount = text;
        ExpectFailure(study, kAnalystsRange);
    }
    for (const char* text : {"1", "11"}) {
        study = WorkedExample();
        study.dayCount = text;
        ExpectFailure(study, kDaysRange);
    }
    for (const char* text : {"1", "6"}) {
        study = WorkedExample();
        study.replicateCount = text;
        ExpectFailure(study, kReplicatesRange);
    }
    study = WorkedExample();
    study.analystCount = "10"; // in range: fails only on the grid's columns
    ExpectFailure(study, kColumnsDiffer);
    study = WorkedExample();
    study.replicateCount = "5"; // in range: fails only on the grid's rows
    ExpectFailure(study, kRowsDiffer);
}

TEST(ValidateStudy, CountThatIsNotANumberStopsTheChecks) {
    Study study = WorkedExample();
    study.dayCount = "dos";
    study.replicateCount = "";
    try {
        ValidateStudy(study);
        FAIL() << "no conversion failure";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "'dos' is not a valid integer value");
    }
}

TEST(ValidateStudy, CountsNotYetAppliedToTheGrid) {
    Study study = WorkedExample();
    study.dayCount = "3";
    ExpectFailure(study, kRowsDiffer);
    study = WorkedExample();
    study.analystCount = "3";
    ExpectFailure(study, kColumnsDiffer);
    study.dayCount = "3"; // both differ: rows are compared first
    ExpectFailure(study, kRowsDiffer);
    study = WorkedExample();
    study.dayCount = "3";
    study.replicateCount = "2";
    EXPECT_FALSE(ValidateStudy(study).has_value()) << "3 x 2 rows fill the same 6-row grid";
}

TEST(ValidateStudy, ReportsTheFirstEmptyCellAnalystByAnalyst) {
    Study study = WorkedExample();
    study.SetCell(1, 4, "");
    ExpectFailure(study, {"Falta capturar el dato para el Analista 1, Día 2, Replicación 1.",
                          StudyPage::DataCapture, StudyControl::Grid});
    study = WorkedExample();
    study.SetCell(2, 1, "");
    study.SetCell(1, 6, "");
    ExpectFailure(study, {"Falta capturar el dato para el Analista 1, Día 2, Replicación 3.",
                          StudyPage::DataCapture, StudyControl::Grid});
    study = WorkedExample();
    study.SetCell(2, 3, "");
    ExpectFailure(study, {"Falta capturar el dato para el Analista 2, Día 1, Replicación 3.",
                          StudyPage::DataCapture, StudyControl::Grid});
}

TEST(ValidateStudy, CellsThatAreNotNumbersPass) {
    Study study = WorkedExample();
    study.SetCell(1, 1, "abc");
    EXPECT_FALSE(ValidateStudy(study).has_value());
}

} // namespace
} // namespace orbeta
