#include "analysis/growing_table.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct KeySlot
{
    std::uint32_t bits;
    std::uint32_t key; // 0 for a free slot
    std::uint32_t value;

    bool isFree() const { return key == 0; }
    std::uint32_t hashBits() const { return bits; }
};

struct Filling
{
    const char* name;
    std::uint32_t keys;
    // The hash's low bits keep only these: with none, every key probes from one place.
    std::uint32_t bitsKept;
    // Whether the slots keep their hash's bits, or the inserts tell them.
    bool slotsKeepBits = true;
};

void PrintTo(const Filling& filling, std::ostream* os)
{
    *os << filling.name;
}

class GrowingTableTest : public testing::TestWithParam<Filling>
{
};

std::uint32_t Hash(std::uint32_t key, std::uint32_t bitsKept)
{
    return (key * 2654435761u) & bitsKept;
}

// Every key stays found while the table grows and moves its slots across, and after; none
// that was never put in is found.
TEST_P(GrowingTableTest, FindsEveryKeyPutInThroughEachGrowth)
{
    const Filling& filling = GetParam();
    analysis::detail::GrowingTable<KeySlot> table(4);
    const auto find = [&](std::uint32_t key) {
        return table.find(Hash(key, filling.bitsKept),
                          [key](const KeySlot& slot) { return slot.key == key; });
    };
    for (std::uint32_t key = 1; key <= filling.keys; ++key) {
        ASSERT_EQ(find(key), nullptr) << key;
        if (filling.slotsKeepBits)
            table.insert({Hash(key, filling.bitsKept), key, key * 7});
        else
            table.insert({0, key, key * 7}, [&filling](const KeySlot& slot) {
                return Hash(slot.key, filling.bitsKept);
            });
        ASSERT_EQ(table.size(), key);
        // Checking every key after every insert would be quadratic: the newest ones, and all
        // of them at each power of two, where the table has just grown or is moving.
        for (std::uint32_t back = key; back > 0 && back + 8 > key; --back)
            ASSERT_NE(find(back), nullptr) << back << " after " << key;
        if ((key & (key - 1)) == 0 || key == filling.keys) {
            for (std::uint32_t each = 1; each <= key; ++each) {
                const KeySlot* slot = find(each);
                ASSERT_NE(slot, nullptr) << each << " after " << key;
                ASSERT_EQ(slot->value, each * 7);
            }
        }
    }
    EXPECT_EQ(find(filling.keys + 1), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Fillings, GrowingTableTest,
    testing::Values(Filling{"one", 1, ~0u}, Filling{"toTheFirstGrowth", 3, ~0u},
                    Filling{"throughManyGrowths", 100'000, ~0u}, Filling{"allOnOnePlace", 700, 0u},
                    Filling{"onFewPlaces", 1'500, 7u},
                    Filling{"throughManyGrowthsTold", 100'000, ~0u, false},
                    Filling{"onFewPlacesTold", 1'500, 7u, false}),
    [](const testing::TestParamInfo<Filling>& info) { return info.param.name; });

} // namespace
