#include "analysis/analysis.h"

#include <gtest/gtest.h>

namespace {

struct ResultLineCase
{
    int percentage;
    int shingleLength;
    std::u16string line;
};

void PrintTo(const ResultLineCase& c, std::ostream* os)
{
    *os << c.percentage << "%, length " << c.shingleLength;
}

class FormatResultLineTest : public testing::TestWithParam<ResultLineCase>
{
};

TEST_P(FormatResultLineTest, BlankWhereTheSignWouldStand)
{
    EXPECT_EQ(analysis::FormatResultLine(GetParam().percentage, GetParam().shingleLength),
              GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(Lines, FormatResultLineTest,
                         testing::Values(ResultLineCase{50, 3, u" 50 %. (Длина шингла  3)"},
                                         ResultLineCase{0, 3, u" 0 %. (Длина шингла  3)"},
                                         ResultLineCase{100, 3, u" 100 %. (Длина шингла  3)"},
                                         ResultLineCase{8, 3, u" 8 %. (Длина шингла  3)"},
                                         ResultLineCase{8, 0, u" 8 %. (Длина шингла  0)"},
                                         ResultLineCase{8, 12, u" 8 %. (Длина шингла  12)"},
                                         ResultLineCase{8, -4, u" 8 %. (Длина шингла -4)"}));

TEST(FormatSignedNumber, ExtremesKeepTheirDigits)
{
    EXPECT_EQ(analysis::FormatSignedNumber(0), u" 0");
    EXPECT_EQ(analysis::FormatSignedNumber(59), u" 59");
    EXPECT_EQ(analysis::FormatSignedNumber(32768), u" 32768");
    EXPECT_EQ(analysis::FormatSignedNumber(INT64_MIN), u"-9223372036854775808");
}

struct ShingleLengthCase
{
    std::u16string text;
    int value;
};

void PrintTo(const ShingleLengthCase& c, std::ostream* os)
{
    *os << c.value;
}

class ReadShownShingleLengthTest : public testing::TestWithParam<ShingleLengthCase>
{
};

TEST_P(ReadShownShingleLengthTest, LeadingDecimalNumber)
{
    EXPECT_EQ(analysis::ReadShownShingleLength(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, ReadShownShingleLengthTest,
                         testing::Values(ShingleLengthCase{u"3", 3}, ShingleLengthCase{u"", 0},
                                         ShingleLengthCase{u"  12abc", 12},
                                         ShingleLengthCase{u"4-5", 4}, ShingleLengthCase{u"-2", -2},
                                         ShingleLengthCase{u"abc", 0},
                                         ShingleLengthCase{u"99999999999999", INT_MAX}));

} // namespace
