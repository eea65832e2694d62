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

TEST(ValidateStudy, NaIsAResultButTheStudyMustKeepWhatItsAnalysisNeeds) {
    struct Row {
        std::vector<std::pair<int, int>> missing; // analyst, row
        std::vector<std::pair<int, int>> emptied;
        std::optional<std::string> message; // on the data page, focus in the grid
    };
    const Row rows[] = {
        {{{2, 4}}, {}, std::nullopt},
        {{{2, 1}, {2, 2}, {2, 3}, {2, 4}, {2, 5}, {2, 6}},
         {},
         "Al Analista 2 le faltan todos sus resultados: cada analista necesita al menos uno."},
        {{{2, 1}, {2, 2}, {2, 3}, {2, 4}, {2, 5}, {2, 6}},
         {{1, 5}},
         "Falta capturar el dato para el Analista 1, Día 2, Replicación 2."},
    };
    for (const Row& row : rows) {
        Study study = WorkedExample();
        for (const auto& [analyst, gridRow] : row.missing) {
            study.SetCell(analyst, gridRow, "NA");
        }
        for (const auto& [analyst, gridRow] : row.emptied) {
            study.SetCell(analyst, gridRow, "");
        }
        if (row.message) {
            ExpectFailure(study, {*row.message, StudyPage::DataCapture, StudyControl::Grid});
        } else {
            EXPECT_FALSE(ValidateStudy(study).has_value()) << row.missing.size() << " missing";
        }
    }
}

TEST(ValidateStudy, CellsThatAreNotNumbersPass) {
    Study study = WorkedExample();
    study.SetCell(1, 1, "abc");
    EXPECT_FALSE(ValidateStudy(study).has_value());
}

} // namespace
} // namespace orbeta

namespace orbeta {
namespace {

// A design with the given cells, analyst/day/replicate, marked missing.
Design WithMissing(Design design, std::initializer_list<DesignCell> cells) {
    for (const DesignCell& cell : cells) {
        design.MarkMissing(cell);
    }
    return design;
}

TEST(CheckMissingResults, NamesTheAnalystOrTheSourceThatFallsShort) {
    struct Row {
        const char* name;
        Design design;
        std::optional<std::string> message;
    };
    const Row rows[] = {
        {"complete", Design(2, 2, 2), std::nullopt},
        {"a day lost whole", WithMissing(Design(2, 2, 2), {{2, 1, 1}, {2, 1, 2}}), std::nullopt},
        {"one analyst keeps one result",
         WithMissing(Design(3, 2, 2), {{2, 1, 1}, {2, 1, 2}, {2, 2, 1}}), std::nullopt},
        {"analyst 2 lost whole",
         WithMissing(Design(3, 2, 2), {{2, 1, 1},
                                       {2, 1, 2},
                                       {2, 2, 1},
                                       {2, 2, 2},
                                       {3, 1, 1},
                                       {3, 1, 2},
                                       {3, 2, 1},
                                       {3, 2, 2}}),
         "Al Analista 2 le faltan todos sus resultados: cada analista necesita al menos uno."},
        {"no analyst with two days",
         WithMissing(Design(2, 2, 2), {{1, 2, 1}, {1, 2, 2}, {2, 1, 1}, {2, 1, 2}}),
         "La fuente Día se queda sin grados de libertad: ningún analista tiene dos días con "
         "resultados."},
        {"no day with two results",
         WithMissing(Design(2, 2, 2), {{1, 1, 2}, {1, 2, 1}, {2, 1, 2}, {2, 2, 2}}),
         "La fuente Error se queda sin grados de libertad: ningún día tiene dos resultados."},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CheckMissingResults(row.design), row.message) << row.name;
    }
}

TEST(Study, ACellOfNaInEitherCaseMarksItsResultMissing) {
    struct Row {
        const char* text;
        bool missing;
    };
    const Row rows[] = {{"NA", true},   {"na", true},   {"nA", true},    {" Na  ", true},
                        {"N A", false}, {"NAN", false}, {"nan", false},  {"", false},
                        {"  ", false},  {"NA.", false}, {"\tNA", false}, {"99.5", false}};
    for (const Row& row : rows) {
        EXPECT_EQ(IsMissingResult(row.text), row.missing) << "'" << row.text << "'";
        Study study = WorkedExample();
        study.SetCell(2, 4, row.text);
        const Design design = DesignOfResults(study);
        EXPECT_EQ(design.MissingCount(), row.missing ? 1u : 0u) << row.text;
        EXPECT_EQ(design.HoldsResult(DesignCell{2, 2, 1}), !row.missing) << row.text;
        EXPECT_TRUE(design.HoldsResult(DesignCell{1, 2, 1})) << row.text;
        EXPECT_EQ(design.IsComplete(), !row.missing) << row.text;
    }
}

TEST(CheckGridData, AcceptsNaButStillRefusesAnEmptyCell) {
    Study study = WorkedExample();
    study.SetCell(1, 2, "na");
    EXPECT_EQ(CheckGridData(study, '.'), std::nullopt);
    study.SetCell(2, 5, "");
    EXPECT_EQ(CheckGridData(study, '.'), "Falta capturar un dato");
    EXPECT_EQ(ValidateStudy(study)->message,
              "Falta capturar el dato para el Analista 2, Día 2, Replicación 2.");
}

} // namespace
} // namespace orbeta
