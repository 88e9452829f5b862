// The suite's shared settings in the registry, read and written by two processes.
#include "testsupport.h"
#include "win32registry.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace layertest;

namespace {

const std::wstring kApplication = L"RERODODUREVIDEDAZIREZ";
const std::wstring kSection = L"Prefs";

class SharedSettings : public ::testing::Test
{
protected:
    // What the other process reads at the suite's location, or nothing.
    std::optional<std::string> readByPeer(const std::wstring &key)
    {
        const std::wstring out = m_folder.file(L"value-" + std::to_wstring(++m_reads) + L".txt");
        const auto exitCode = runPeer({L"read-setting", key, out});
        if (exitCode != 0ul)
            return std::nullopt;
        return readFile(out);
    }

    ScratchFolder m_folder{L"settings"};
    int m_reads = 0;
};

} // namespace

TEST_F(SharedSettings, MonitorChangesRoundTripsBetweenProcesses)
{
    ASSERT_TRUE(
        winplatform::writeProgramSetting(kApplication, kSection, L"MonitorChanges", L"True"));
    EXPECT_EQ(readByPeer(L"MonitorChanges"), std::optional<std::string>("True"));

    ASSERT_EQ(runPeer({L"write-setting", L"MonitorChanges", L"False"}), 0ul);
    EXPECT_EQ(winplatform::readProgramSetting(kApplication, kSection, L"MonitorChanges"),
              std::optional<std::wstring>(L"False"));

    // Same-size rewrites are seen at once: there is no cache to go stale.
    ASSERT_EQ(runPeer({L"write-setting", L"MonitorChanges", L"Fals3"}), 0ul);
    EXPECT_EQ(winplatform::readProgramSetting(kApplication, kSection, L"MonitorChanges"),
              std::optional<std::wstring>(L"Fals3"));
}

TEST_F(SharedSettings, TextBeyondAsciiAndLongTextRoundTrip)
{
    const std::wstring text = L"C:\\Tutors\\Zo\u00eb M\u00fcller \u20ac \u0101 \u4e2d";
    ASSERT_TRUE(winplatform::writeProgramSetting(kApplication, kSection, L"monitor_root", text));
    EXPECT_EQ(readByPeer(L"monitor_root"), std::optional<std::string>(utf8(text)));

    const std::wstring longText(20000, L'x');
    ASSERT_TRUE(winplatform::writeProgramSetting(kApplication, kSection, L"long_value", longText));
    EXPECT_EQ(winplatform::readProgramSetting(kApplication, kSection, L"long_value"),
              std::optional<std::wstring>(longText));

    ASSERT_TRUE(winplatform::writeProgramSetting(kApplication, kSection, L"empty_value", L""));
    EXPECT_EQ(winplatform::readProgramSetting(kApplication, kSection, L"empty_value"),
              std::optional<std::wstring>(L""));
}

TEST_F(SharedSettings, MissingValuesAndOtherTypesReadAsNothing)
{
    EXPECT_EQ(winplatform::readProgramSetting(kApplication, kSection, L"never_written"),
              std::nullopt);
    EXPECT_EQ(winplatform::readProgramSetting(L"NoSuchApplication", kSection, L"MonitorChanges"),
              std::nullopt);

    const DWORD number = 1;
    const std::wstring key = winplatform::programSettingsKey(kApplication, kSection);
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"a_number", REG_DWORD, &number,
                              sizeof(number)),
              ERROR_SUCCESS);
    EXPECT_EQ(winplatform::readProgramSetting(kApplication, kSection, L"a_number"), std::nullopt);
}
