// The suite's window messages between two Windows processes, through the layer.
#include "suitetitles.h"
#include "testsupport.h"
#include "win32messages.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>

using namespace layertest;

namespace {

constexpr unsigned kSendBound = 30000;

class TutorSummaryPeer : public ::testing::Test
{
protected:
    // Starts the peer's window and waits until it can be found by the suite's title.
    winplatform::NativeWindow startWindow(bool stall = false)
    {
        std::vector<std::wstring> args = {L"window", m_log};
        if (stall)
            args.push_back(L"stall");
        if (!m_peer.startPeer(args))
            return 0;
        winplatform::NativeWindow found = 0;
        waitUntil([&found] {
            found = winplatform::findWindow(suite::titles::kTutorSummary);
            return found != 0;
        });
        return found;
    }

    // Asks the window to close and returns what it logged, sorted: the order between sent and
    // posted messages is the system's.
    std::vector<std::string> closeAndReadLog(winplatform::NativeWindow window)
    {
        winplatform::postMessage(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(m_peer.waitForExit(20000).has_value());
        std::vector<std::string> lines = readLines(m_log);
        std::sort(lines.begin(), lines.end());
        return lines;
    }

    ScratchFolder m_folder{L"messages"};
    std::wstring m_log = m_folder.file(L"received.log");
    ChildProcess m_peer;
};

} // namespace

TEST_F(TutorSummaryPeer, PostedAndSentMessagesArriveWithTheirParameters)
{
    const winplatform::NativeWindow window = startWindow();
    ASSERT_NE(window, 0u) << "no window titled \"" << suite::titles::kTutorSummary << "\"";

    // As the form does: 1076 and 1077 posted with wParam 1, 1074 and 1078 sent with wParam 0
    // and the address of a 32-bit zero.
    static const std::int32_t zero = 0;
    const auto zeroAddress = static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(&zero));
    EXPECT_TRUE(winplatform::postMessage(window, 1076, 1, 0));
    EXPECT_TRUE(winplatform::postMessage(window, 1077, 1, 0));
    EXPECT_TRUE(winplatform::sendMessage(window, 1074, 0, zeroAddress, kSendBound));
    EXPECT_TRUE(winplatform::sendMessage(window, 1078, 0, zeroAddress, kSendBound));

    const std::vector<std::string> expected = {"1074 sent 0 pointer", "1076 posted 1 zero",
                                               "1077 posted 1 zero", "1078 sent 0 pointer"};
    EXPECT_EQ(closeAndReadLog(window), expected);
}

TEST_F(TutorSummaryPeer, FindsOnlyTheExactTitle)
{
    const winplatform::NativeWindow window = startWindow();
    ASSERT_NE(window, 0u);
    const std::string title = suite::titles::kTutorSummary;
    EXPECT_EQ(winplatform::findWindow((title + " ").c_str()), 0u);
    EXPECT_EQ(winplatform::findWindow(title.substr(0, title.size() - 1).c_str()), 0u);
    EXPECT_EQ(winplatform::findWindow(suite::titles::kStudentSummary), 0u);
    // Another program's window is never taken for one of ours.
    EXPECT_EQ(winplatform::findThreadWindow(suite::titles::kTutorSummary), 0u);
    // A form finds the window of the form that holds its tutor file by that form's process.
    EXPECT_EQ(winplatform::findProcessWindow(m_peer.processId(), title.c_str()), window);
    EXPECT_EQ(winplatform::findProcessWindow(GetCurrentProcessId(), title.c_str()), 0u);
    closeAndReadLog(window);
}

TEST_F(TutorSummaryPeer, AWindowThatIsGoneTakesNoMessages)
{
    const winplatform::NativeWindow window = startWindow();
    ASSERT_NE(window, 0u);
    EXPECT_TRUE(closeAndReadLog(window).empty());

    EXPECT_FALSE(winplatform::postMessage(window, 1076, 1, 0));
    EXPECT_FALSE(winplatform::sendMessage(window, 1074, 0, 0, kSendBound));
    EXPECT_FALSE(winplatform::postMessage(0, 1076, 1, 0));
    EXPECT_FALSE(winplatform::sendMessage(0, 1074, 0, 0, kSendBound));
    EXPECT_EQ(winplatform::findWindow(suite::titles::kTutorSummary), 0u);
}

TEST_F(TutorSummaryPeer, ASendToAWindowThatDoesNotAnswerGivesUp)
{
    const winplatform::NativeWindow window = startWindow(/*stall=*/true);
    ASSERT_NE(window, 0u);
    EXPECT_FALSE(winplatform::sendMessage(window, 1074, 0, 0, 300));
    m_peer.terminate();
}
