#include "textvalues.h"

#include <gtest/gtest.h>

using namespace monitorfile;

TEST(WholeNumberValue, TakesTheLeadingNumberRoundedToSixteenBits)
{
    const std::pair<QByteArray, int> cases[] = {
        {"4", 4},           {"", 0},          {"abc", 0},    {"12abc", 12}, {"  7", 7},
        {"\t\r\n3", 3},     {"1 2 3", 123},   {"-5", -5},    {"+6", 6},     {"2.5", 2},
        {"3.5", 4},         {"2.51", 3},      {"-2.5", -2},  {"1e2", 100},  {"1D1", 10},
        {"1e", 1},          {".5", 0},        {".", 0},      {"-", 0},      {"99999", 32767},
        {"-99999", -32768}, {"1e400", 32767}, {"1e-400", 0}, {"0x10", 0},   {"3,5", 3},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(wholeNumberValue(text), expected) << text.constData();
}

TEST(TrimBlanks, RemovesOnlyBlanks)
{
    EXPECT_EQ(trimBlanks(QByteArray("  a b  ")), "a b");
    EXPECT_EQ(trimBlanks(QByteArray("\ta\t")), "\ta\t");
    EXPECT_EQ(trimBlanks(QByteArray("   ")), "");
    EXPECT_EQ(trimBlanks(QStringLiteral(" \u00e9 ")), QStringLiteral("\u00e9"));
}
