// The growable array of owned elements.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "core/QJDynamicArray.h"

namespace {
struct Counted {
    static inline int alive = 0;
    std::string name = "-";
    Counted() { ++alive; }
    explicit Counted(std::string n) : name(std::move(n)) { ++alive; }
    ~Counted() { --alive; }
};
} // namespace

TEST(QJDynamicArray, OperationsKeepOrderOwnershipAndCheckIndexes)
{
    {
        CQJDynamicArray<Counted> items;
        EXPECT_EQ(items.AddNew(), 0);
        EXPECT_EQ(items.Add(std::make_unique<Counted>("b")), 1);
        EXPECT_EQ(items.InsertNew(1), 1);
        EXPECT_EQ(items.InsertNew(3), 3);  // at the end
        items.Exchange(0, 2);              // b - - -
        items.Delete(1);
        EXPECT_EQ(items[0].name + items[1].name + items[2].name, "b--");
        EXPECT_THROW(items.Item(3), std::out_of_range);
        EXPECT_THROW(items.Delete(-1), std::out_of_range);
        EXPECT_THROW(items.Exchange(0, 3), std::out_of_range);
        EXPECT_THROW(items.InsertNew(4), std::out_of_range);
        EXPECT_THROW(items.Add(nullptr), std::invalid_argument);
        EXPECT_EQ(items.Count(), 3);
        EXPECT_EQ(Counted::alive, 3);
        items.Clear();
        EXPECT_EQ(Counted::alive, 0);
        items.AddNew();
    }
    EXPECT_EQ(Counted::alive, 0);  // the destructor frees what is left
}
