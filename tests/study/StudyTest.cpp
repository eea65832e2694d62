#include "study/Study.h"
#include "study/Error.h"

#include <gtest/gtest.h>

namespace orbeta {
namespace {

TEST(StudyLayout, NewStudyHasTheDefaultGridAndHeaders) {
    const Study study = NewStudy();
    EXPECT_EQ(study.analystCount, "2");
    EXPECT_EQ(study.dayCount, "2");
    EXPECT_EQ(study.replicateCount, "3");
    EXPECT_EQ(study.methodName, "");
    EXPECT_EQ(study.date, "");
    EXPECT_EQ(study.gridColumns, 3);
    EXPECT_EQ(study.gridRows, 7);
    EXPECT_EQ(study.Cell(0, 0), "");
    EXPECT_EQ(study.Cell(1, 0), "Analista 1");
    EXPECT_EQ(study.Cell(2, 0), "Analista 2");
    const char* rowHeaders[] = {"(Día 1,Replica 1)", "(Día 1,Replica 2)", "(Día 1,Replica 3)",
                                "(Día 2,Replica 1)", "(Día 2,Replica 2)", "(Día 2,Replica 3)"};
    for (int row = 1; row <= 6; ++row) {
        EXPECT_EQ(study.Cell(0, row), rowHeaders[row - 1]);
        EXPECT_EQ(study.Cell(1, row), "");
    }
}

TEST(StudyLayout, LargestStudyEndsWithItsLastHeaders) {
    Study study = NewStudy();
    study.analystCount = "10";
    study.dayCount = "10";
    study.replicateCount = "5";
    ApplyStudyLayout(study);
    EXPECT_EQ(study.gridColumns, 11);
    EXPECT_EQ(study.gridRows, 51);
    EXPECT_EQ(study.Cell(10, 0), "Analista 10");
    EXPECT_EQ(study.Cell(0, 50), "(Día 10,Replica 5)");
    EXPECT_EQ(study.Cell(0, 49), "(Día 10,Replica 4)");
}

TEST(StudyLayout, KeepsDataCellsAndTheTextsLeftOutsideASmallerGrid) {
    Study study = NewStudy();
    study.SetCell(1, 1, "99.1");
    study.SetCell(2, 6, "100.2");
    study.dayCount = "3";
    ApplyStudyLayout(study);
    EXPECT_EQ(study.gridRows, 10);
    EXPECT_EQ(study.Cell(0, 9), "(Día 3,Replica 3)");
    EXPECT_EQ(study.Cell(1, 1), "99.1");
    EXPECT_EQ(study.Cell(2, 6), "100.2");

    study.analystCount = "2";
    study.dayCount = "1";
    study.replicateCount = "2";
    ApplyStudyLayout(study);
    EXPECT_EQ(study.gridRows, 3);
    EXPECT_EQ(study.Cell(2, 6), "100.2");
}

TEST(StudyLayout, ReadsCountsAsCountTexts) {
    Study study = NewStudy();
    study.analystCount = " $3";
    ApplyStudyLayout(study);
    EXPECT_EQ(study.gridColumns, 4);
    EXPECT_EQ(study.Cell(3, 0), "Analista 3");
}

TEST(StudyLayout, RefusesCountsTheGridCannotHoldAndChangesNothing) {
    for (auto counts :
         {std::array{"0", "2", "3"}, std::array{"11", "2", "3"}, std::array{"2", "-1", "3"},
          std::array{"2", "21", "5"}, std::array{"2", "2", "0"}}) {
        Study study = NewStudy();
        study.analystCount = counts[0];
        study.dayCount = counts[1];
        study.replicateCount = counts[2];
        EXPECT_THROW(ApplyStudyLayout(study), Error);
        EXPECT_EQ(study.gridColumns, 3);
        EXPECT_EQ(study.gridRows, 7);
    }
    Study study = NewStudy();
    study.replicateCount = "tres";
    try {
        ApplyStudyLayout(study);
        FAIL() << "accepted a count that is not a number";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "'tres' is not a valid integer value");
    }
}

TEST(StudyLayout, UnsetCellsReadEmptyAnywhere) {
    const Study study = NewStudy();
    EXPECT_EQ(study.Cell(99, 99), "");
    EXPECT_EQ(study.Cell(-1, 2), "");
    EXPECT_EQ(study.Cell(1, 3'000'000'000LL), "");
}

} // namespace
} // namespace orbeta
