// The main window's procedure: 1074 to 1077 reach the handler, and every message goes on to the
// procedure that was there before.
#include "win32messages.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

namespace {

struct Seen
{
    unsigned message;
    std::int64_t wParam;
    std::int64_t lParam;
    bool operator==(const Seen &other) const
    {
        return message == other.message && wParam == other.wParam && lParam == other.lParam;
    }
};

std::vector<unsigned> g_original;
std::vector<unsigned> g_later;

constexpr LRESULT kOriginalResult = 42;

LRESULT CALLBACK originalProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= 1074 && message <= 1078) {
        g_original.push_back(message);
        return kOriginalResult;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

WNDPROC g_beforeLater = nullptr;
LRESULT CALLBACK laterProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= 1074 && message <= 1078)
        g_later.push_back(message);
    return CallWindowProcW(g_beforeLater, hwnd, message, wParam, lParam);
}

class HookedWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_original.clear();
        g_later.clear();
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = &originalProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"LayerTestMainWindow";
        RegisterClassW(&windowClass); // fails harmlessly when registered by an earlier test
        m_hwnd = CreateWindowExW(0, windowClass.lpszClassName, L"Layer test main window",
                                 WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                 windowClass.hInstance, nullptr);
        ASSERT_NE(m_hwnd, nullptr);
        m_window = reinterpret_cast<winplatform::NativeWindow>(m_hwnd);
    }

    void TearDown() override
    {
        if (IsWindow(m_hwnd))
            DestroyWindow(m_hwnd);
    }

    winplatform::WindowProcedureHook::Handler recorder()
    {
        return [this](unsigned message, std::int64_t wParam, std::int64_t lParam) {
            m_handled.push_back({message, wParam, lParam});
        };
    }

    LRESULT send(unsigned message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return SendMessageW(m_hwnd, message, wParam, lParam);
    }

    std::vector<unsigned> handledMessages() const
    {
        std::vector<unsigned> messages;
        for (const Seen &seen : m_handled)
            messages.push_back(seen.message);
        return messages;
    }

    HWND m_hwnd = nullptr;
    winplatform::NativeWindow m_window = 0;
    winplatform::WindowProcedureHook m_hook{1074, 1077};
    std::vector<Seen> m_handled;
};

void pumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

} // namespace

TEST_F(HookedWindow, SentMessagesReachTheHandlerAndThePreviousProcedure)
{
    ASSERT_TRUE(m_hook.install(m_window, recorder()));
    for (unsigned message = 1074; message <= 1078; ++message)
        EXPECT_EQ(send(message, message - 1000, 7), kOriginalResult) << message;

    const std::vector<Seen> expected = {{1074, 74, 7}, {1075, 75, 7}, {1076, 76, 7}, {1077, 77, 7}};
    EXPECT_EQ(m_handled, expected);
    EXPECT_EQ(g_original, (std::vector<unsigned>{1074, 1075, 1076, 1077, 1078}));
}

TEST_F(HookedWindow, PostedMessagesReachTheHandlerAndThePreviousProcedure)
{
    ASSERT_TRUE(m_hook.install(m_window, recorder()));
    for (unsigned message = 1073; message <= 1078; ++message)
        PostMessageW(m_hwnd, message, 1, 0);
    pumpMessages();

    EXPECT_EQ(handledMessages(), (std::vector<unsigned>{1074, 1075, 1076, 1077}));
    EXPECT_EQ(g_original, (std::vector<unsigned>{1074, 1075, 1076, 1077, 1078}));
}

TEST_F(HookedWindow, RemovingPutsThePreviousProcedureBack)
{
    const LONG_PTR original = GetWindowLongPtrW(m_hwnd, GWLP_WNDPROC);
    ASSERT_TRUE(m_hook.install(m_window, recorder()));
    EXPECT_NE(GetWindowLongPtrW(m_hwnd, GWLP_WNDPROC), original);
    m_hook.remove();
    EXPECT_FALSE(m_hook.isInstalled());
    EXPECT_EQ(GetWindowLongPtrW(m_hwnd, GWLP_WNDPROC), original);

    send(1074);
    EXPECT_TRUE(m_handled.empty());
    EXPECT_EQ(g_original, std::vector<unsigned>{1074});
}

TEST_F(HookedWindow, InstallIsRefusedTwiceAndForNoWindow)
{
    winplatform::WindowProcedureHook other(1074, 1077);
    EXPECT_FALSE(other.install(0, recorder()));
    ASSERT_TRUE(m_hook.install(m_window, recorder()));
    EXPECT_FALSE(other.install(m_window, recorder()));
    send(1075);
    EXPECT_EQ(handledMessages(), std::vector<unsigned>{1075});
}

TEST_F(HookedWindow, AMessageSentWhileTheHandlerRunsIsHandledAfterIt)
{
    std::vector<std::string> order;
    ASSERT_TRUE(m_hook.install(m_window, [&](unsigned message, std::int64_t, std::int64_t) {
        order.push_back("enter " + std::to_string(message));
        if (message == 1075)
            send(1074); // as a nested message loop would deliver it
        order.push_back("leave " + std::to_string(message));
    }));
    send(1075);
    const std::vector<std::string> expected = {"enter 1075", "leave 1075", "enter 1074",
                                               "leave 1074"};
    EXPECT_EQ(order, expected);
    EXPECT_EQ(g_original, (std::vector<unsigned>{1074, 1075}));
}

TEST_F(HookedWindow, TheHandlerMayRemoveTheHook)
{
    ASSERT_TRUE(m_hook.install(m_window, [&](unsigned message, std::int64_t, std::int64_t) {
        m_handled.push_back({message, 0, 0});
        m_hook.remove();
    }));
    send(1077);
    send(1076);
    EXPECT_EQ(handledMessages(), std::vector<unsigned>{1077});
    EXPECT_EQ(g_original, (std::vector<unsigned>{1077, 1076}));
}

TEST_F(HookedWindow, AProcedureInstalledOverOursKeepsTheChainWhole)
{
    ASSERT_TRUE(m_hook.install(m_window, recorder()));
    g_beforeLater = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&laterProcedure)));
    m_hook.remove();
    send(1076);

    EXPECT_TRUE(m_handled.empty());
    EXPECT_EQ(g_later, std::vector<unsigned>{1076});
    EXPECT_EQ(g_original, std::vector<unsigned>{1076});
    // And the hook can be installed again over the later procedure.
    ASSERT_TRUE(m_hook.install(m_window, recorder()));
    send(1077);
    EXPECT_EQ(handledMessages(), std::vector<unsigned>{1077});
    EXPECT_EQ(g_original, (std::vector<unsigned>{1076, 1077}));
}

TEST_F(HookedWindow, ADestroyedWindowTakesTheHookWithIt)
{
    ASSERT_TRUE(m_hook.install(m_window, recorder()));
    DestroyWindow(m_hwnd);
    EXPECT_FALSE(m_hook.isInstalled());
    EXPECT_FALSE(m_hook.install(m_window, recorder()));
}
