// Finding a running program by part of its executable name.
#include "testsupport.h"
#include "win32processes.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace layertest;

TEST(ProcessCheck, FindsARunningProgramByPartOfItsNameInAnyCase)
{
    ChildProcess peer;
    ASSERT_TRUE(peer.startPeer({L"linger"}));
    ASSERT_TRUE(waitUntil([] { return winplatform::IsProcessRunning(L"LayerPeerProcess"); }));
    EXPECT_TRUE(winplatform::IsProcessRunning(L"layerpeerprocess.exe"));
    EXPECT_TRUE(winplatform::IsProcessRunning(L"PEERPROC"));
    EXPECT_TRUE(winplatform::IsProcessRunning(L"eRpRoCeS"));

    peer.terminate();
    EXPECT_FALSE(winplatform::IsProcessRunning(L"LayerPeerProcess"));
}

TEST(ProcessCheck, DoesNotFindAnAbsentProgram)
{
    EXPECT_FALSE(winplatform::IsProcessRunning(L"ZuruzovIrurEdar"));
    EXPECT_FALSE(winplatform::IsProcessRunning(L"LayerPeerProcessX"));
}

TEST(ProcessCheck, StopsAtTheFirstMatchAndReleasesTheSnapshot)
{
    int calls = 0;
    EXPECT_TRUE(winplatform::anyProcessName([&calls](const std::wstring &) {
        ++calls;
        return true;
    }));
    EXPECT_EQ(calls, 1);

    DWORD before = 0;
    ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &before));
    for (int i = 0; i < 50; ++i) {
        winplatform::IsProcessRunning(L"NoSuchProgram");
        winplatform::IsProcessRunning(L"winplatform_tests");
    }
    try {
        winplatform::anyProcessName([](const std::wstring &) -> bool { throw 1; });
    } catch (int) {
    }
    DWORD after = 0;
    ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &after));
    EXPECT_EQ(after, before);
}
