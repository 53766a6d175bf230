// Sorting the list by a column: numbers as numbers, texts without case, always stable.
#include <gtest/gtest.h>

#include "channellist/CSVLFile.h"
#include "frame/view/CMainListColumns.h"
#include "frame/view/ProgramSort.h"

namespace {

struct P {
    const char* name;
    std::int32_t frequency;
};

class ProgramSortTest : public ::testing::Test {
  protected:
    void Add(std::initializer_list<P> programs) {
        for (const P& p : programs) {
            list.Programs.push_back(std::make_unique<CProgramInfo>());
            list.Programs.back()->Name = p.name;
            list.Programs.back()->Frequency = p.frequency;
        }
    }
    std::vector<std::string> Sorted(std::vector<std::size_t> rows, int column, bool descending) {
        ProgramSort::SortRows(list, rows, column, descending);
        std::vector<std::string> names;
        for (const std::size_t i : rows) names.push_back(list.Programs[i]->Name);
        return names;
    }
    CSVLFile list;
};

TEST_F(ProgramSortTest, NumbersCompareAsNumbersAndEqualValuesKeepTheirOrder) {
    Add({{"a", 12188000}, {"b", 9750000}, {"c", 12188000}, {"d", 10700000}});
    EXPECT_EQ(Sorted({0, 1, 2, 3}, CMainListColumns::Frequenz, false),
              (std::vector<std::string>{"b", "d", "a", "c"}));  // 9750000 before 10700000
    EXPECT_EQ(Sorted({0, 1, 2, 3}, CMainListColumns::Frequenz, true),
              (std::vector<std::string>{"a", "c", "d", "b"}));  // a before c also descending
}

TEST_F(ProgramSortTest, TextsIgnoreCaseAndOnlyTheGivenRowsAreSorted) {
    Add({{"zdf", 1}, {"Arte", 2}, {"ARD", 3}, {"3sat", 4}, {"arte", 5}});
    EXPECT_EQ(Sorted({0, 1, 2, 3, 4}, CMainListColumns::Programm, false),
              (std::vector<std::string>{"3sat", "ARD", "Arte", "arte", "zdf"}));
    EXPECT_EQ(Sorted({0, 2, 4}, CMainListColumns::Programm, true),
              (std::vector<std::string>{"zdf", "arte", "ARD"}));
}

TEST_F(ProgramSortTest, NrAndTheBlankColumnAreNotOffered) {
    const auto columns = ProgramSort::SortableColumns();
    EXPECT_EQ(std::count(columns.begin(), columns.end(), int(CMainListColumns::Nr)), 0);
    EXPECT_EQ(std::count(columns.begin(), columns.end(), int(CMainListColumns::Blank)), 0);
    EXPECT_EQ(columns.size(), std::size_t(CMainListColumns::Count) - 2);
}

}  // namespace
