#include "study/Design.h"
#include "study/StudyChecks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orbeta {
namespace {

std::string Walked(const Design& design) {
    std::string walk;
    design.ForEachCell([&](const DesignCell& cell) {
        walk += std::to_string(cell.analyst) + std::to_string(cell.day) +
                std::to_string(cell.replicate) + "@" + std::to_string(design.IndexOf(cell)) + "/" +
                std::to_string(design.GridRowOf(cell.day, cell.replicate)) + " ";
    });
    return walk;
}

TEST(Design, WalksAnalystsThenDaysThenReplicatesInTheOrderOfTheResults) {
    struct Row {
        Design design;
        const char* walk; // cell@index/grid row
    };
    const Row rows[] = {
        {Design(2, 2, 2), "111@0/1 112@1/2 121@2/3 122@3/4 211@4/1 212@5/2 221@6/3 222@7/4 "},
        {Design(2, 3, 1), "111@0/1 121@1/2 131@2/3 211@3/1 221@4/2 231@5/3 "},
        {Design(1, 2, 3), "111@0/1 112@1/2 113@2/3 121@3/4 122@4/5 123@5/6 "},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Walked(row.design), row.walk);
        EXPECT_EQ(row.design.ResultCount(), row.design.DayCount() * row.design.Replicates());
    }
    const Design largest(10, 10, 5);
    EXPECT_EQ(largest.IndexOf(DesignCell{10, 10, 5}), 499u);
    EXPECT_EQ(largest.DayIndexOf(7, 3), 62u);
    EXPECT_EQ(largest.GridRowOf(10, 5), 50);
}

TEST(Design, OneTableOfRangesServesTheChecksAndThePlanner) {
    struct Row {
        StudyControl field;
        const char* low;
        const char* lowest;
        const char* highest;
        const char* high;
        const char* message;
    };
    const Row rows[] = {
        {StudyControl::AnalystCount, "1", "2", "10", "11", "Datos fuera de rango, 2-10 Analistas"},
        {StudyControl::DayCount, "1", "2", "10", "11", "Datos fuera de rango, 2-10 Días"},
        {StudyControl::ReplicateCount, "1", "2", "5", "6", "Datos fuera de rango, 2-5 Replicas"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CheckCountField(row.field, row.low), row.message);
        EXPECT_EQ(CheckCountField(row.field, row.lowest), std::nullopt);
        EXPECT_EQ(CheckCountField(row.field, row.highest), std::nullopt);
        EXPECT_EQ(CheckCountField(row.field, row.high), row.message);
    }
    std::vector<Design> designs;
    ForEachDesignWithinRanges([&](const Design& design) { designs.push_back(design); });
    ASSERT_EQ(designs.size(), 9u * 9u * 4u);
    EXPECT_EQ(designs.front(), Design(2, 2, 2));
    EXPECT_EQ(designs[1], Design(2, 2, 3));
    EXPECT_EQ(designs.back(), Design(10, 10, 5));
    for (const Design& design : designs) {
        EXPECT_TRUE(WithinRanges(design));
    }
    EXPECT_FALSE(WithinRanges(Design(2, 2, 6)));
    EXPECT_FALSE(WithinRanges(Design(1, 2, 2)));
    EXPECT_FALSE(WithinRanges(Design(2, 11, 2)));
}

TEST(Design, TheGridHoldsTenAnalystsOfAHundredResults) {
    struct Row {
        int analysts;
        int days;
        int replicates;
        bool fits;
    };
    const Row rows[] = {
        {1, 1, 1, true},   {10, 10, 10, true}, {10, 100, 1, true},
        {11, 1, 1, false}, {0, 1, 1, false},   {1, 0, 1, false},
        {1, 1, 0, false},  {1, 101, 1, false}, {1, 34, 3, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FitsTheGrid(row.analysts, row.days, row.replicates), row.fits)
            << row.analysts << " x " << row.days << " x " << row.replicates;
    }
}

// The cells a design holds a result in, as "1" or "0" in the order of the results.
std::string Held(const Design& design) {
    std::string held;
    design.ForEachCell(
        [&](const DesignCell& cell) { held += design.HoldsResult(cell) ? '1' : '0'; });
    return held;
}

TEST(Design, MarksEachMissingCellOnceWhateverTheOrder) {
    struct Row {
        std::vector<DesignCell> marked;
        const char* held;
        std::size_t missing;
    };
    const Row rows[] = {
        {{}, "11111111", 0},
        {{{1, 1, 1}}, "01111111", 1},
        {{{2, 2, 2}, {1, 2, 1}, {2, 2, 2}}, "11011110", 2},
        {{{1, 2, 1}, {2, 2, 2}}, "11011110", 2},
        {{{1, 1, 1}, {1, 1, 2}, {1, 2, 1}, {1, 2, 2}}, "00001111", 4},
    };
    for (const Row& row : rows) {
        Design design(2, 2, 2);
        for (const DesignCell& cell : row.marked) {
            design.MarkMissing(cell);
        }
        EXPECT_EQ(Held(design), row.held) << row.held;
        EXPECT_EQ(design.MissingCount(), row.missing) << row.held;
        EXPECT_EQ(design.IsComplete(), row.missing == 0) << row.held;
    }
    Design first(2, 2, 2);
    first.MarkMissing({1, 2, 1});
    first.MarkMissing({2, 2, 2});
    Design second(2, 2, 2);
    second.MarkMissing({2, 2, 2});
    second.MarkMissing({1, 2, 1});
    Design other(2, 2, 2);
    other.MarkMissing({2, 2, 2});
    other.MarkMissing({2, 2, 1});
    EXPECT_EQ(first, second);
    EXPECT_NE(first, other);
    EXPECT_NE(first, Design(2, 2, 2));
}

} // namespace
} // namespace orbeta
