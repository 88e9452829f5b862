// The file's bytes and the system's ANSI code page (1252 in the test prefix).
#include "win32codepage.h"

#include <gtest/gtest.h>

namespace {

class WesternCodePage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (winplatform::ansiCodePage() != 1252)
            GTEST_SKIP() << "the system's ANSI code page is " << winplatform::ansiCodePage();
    }
};

} // namespace

TEST_F(WesternCodePage, BytesDecodeToTheCodePagesCharacters)
{
    EXPECT_EQ(winplatform::decodeAnsi("Caf\xe9 \x80 \x93quoted\x94"),
              L"Caf\u00e9 \u20ac \u201cquoted\u201d");
    // A byte the code page leaves undefined still gives a character.
    EXPECT_EQ(winplatform::decodeAnsi(std::string("\x81\x8d\x8f\x90\x9d")),
              L"\u0081\u008d\u008f\u0090\u009d");
    EXPECT_EQ(winplatform::decodeAnsi(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
    EXPECT_EQ(winplatform::decodeAnsi(""), L"");
}

TEST_F(WesternCodePage, EveryByteSurvivesTheWayToTextAndBack)
{
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all.push_back(static_cast<char>(byte));
    const std::wstring text = winplatform::decodeAnsi(all);
    ASSERT_EQ(text.size(), all.size());
    EXPECT_EQ(winplatform::encodeAnsi(text), std::optional<std::string>(all));
}

TEST_F(WesternCodePage, CharactersWithoutAByteAreRefusedNotReplaced)
{
    EXPECT_EQ(winplatform::encodeAnsi(L"\u00e9t\u00e9 \u20ac"),
              std::optional<std::string>("\xe9t\xe9 \x80"));
    EXPECT_EQ(winplatform::encodeAnsi(L"\u0101"), std::nullopt);   // no "a" in its place
    EXPECT_EQ(winplatform::encodeAnsi(L"x\u4e2dx"), std::nullopt); // no "?" in its place
    EXPECT_EQ(winplatform::encodeAnsi(L"\U0001F600"), std::nullopt);
    EXPECT_EQ(winplatform::encodeAnsi(L""), std::optional<std::string>(""));
}
