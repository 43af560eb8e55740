// Reaching the message server: nothing registered, a registered program that never offers its object (the 40
// looks counted through the wait function, without waiting), and a server that disappears between two calls.
#include <gtest/gtest.h>

#include <objbase.h>

#include <tuple>

#include "msgserver_test_support.h"
#include "ui_test_support.h"
#include "ui/IMavMsgDlg.h"
#include "ui/rscAppDispatch.h"

namespace {

struct WaitLog {
    int count = 0;
    DWORD totalMs = 0;
    int withWaitCursor = 0;
};
WaitLog g_log;

// Stands in for the half-second wait: records it and returns at once.
void recordWait(DWORD ms)
{
    ++g_log.count;
    g_log.totalMs += ms;
    if (GetCursor() == LoadCursorW(nullptr, IDC_WAIT))
        ++g_log.withWaitCursor;
}

MAV::RscAppWaitFcn g_previous = nullptr;

class RscAppDispatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        msgtest::endServers();
        msgtest::removeRegistration();
        g_log = WaitLog();
        g_previous = MAV::setRscAppWaitFcn(recordWait);
    }
    void TearDown() override
    {
        MAV::setRscAppWaitFcn(g_previous);
        msgtest::endServers();
        msgtest::removeRegistration();
        CoUninitialize();
    }
};

} // namespace

TEST_F(RscAppDispatch, NothingRegisteredGivesNullAtOnce)
{
    EXPECT_EQ(MAV::getRscAppDispatch(), nullptr);
    EXPECT_EQ(g_log.count, 0);
    // The ProgID without a local server is no better.
    msgtest::setClassesValue(std::wstring(msgtest::kProgID) + L"\\CLSID", msgtest::kSilentGuid);
    EXPECT_EQ(MAV::getRscAppDispatch(), nullptr);
    EXPECT_EQ(g_log.count, 0);
}

TEST_F(RscAppDispatch, AServerThatNeverComesUpEndsAfterFortyLooks)
{
    // A program that ends at once, and one that cannot be started at all: both are looked for forty times.
    for (const wchar_t* program : {L"silent_server.exe", L"no_such_server.exe"}) {
        SCOPED_TRACE(uitest::str(program));
        g_log = WaitLog();
        msgtest::registerSilentServer(L"\"" + msgtest::besideTests(program) + L"\"");
        HCURSOR before = SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        EXPECT_EQ(MAV::getRscAppDispatch(), nullptr);
        EXPECT_EQ(std::make_tuple(g_log.count, g_log.totalMs, g_log.withWaitCursor), std::make_tuple(40, 40ul * 500, 40));
        EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW)); // the cursor is given back
        SetCursor(before);
    }
    // The wait function can be put back: null restores the library's own.
    EXPECT_EQ(MAV::setRscAppWaitFcn(nullptr), &recordWait);
    EXPECT_NE(MAV::setRscAppWaitFcn(recordWait), &recordWait);
}

TEST_F(RscAppDispatch, AServerThatDisappearsRaisesOnTheNextCall)
{
    ASSERT_EQ(msgtest::runServer(L"/RegServer"), 0u);
    MAV::setRscAppWaitFcn(g_previous); // the real half-second looks while the program starts
    IDispatch* raw = MAV::getRscAppDispatch();
    ASSERT_NE(raw, nullptr);
    IMavMsgDlg msg(raw);
    EXPECT_EQ(msg.GetCountry(), L"de");
    // Found running the second time: no start, no wait.
    MAV::setRscAppWaitFcn(recordWait);
    IDispatch* again = MAV::getRscAppDispatch();
    EXPECT_NE(again, nullptr);
    EXPECT_EQ(g_log.count, 0);
    if (again)
        again->Release();

    HANDLE process = msgtest::serverProcess();
    ASSERT_NE(process, nullptr);
    TerminateProcess(process, 7);
    ASSERT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
    CloseHandle(process);
    SCODE sc = S_OK;
    CString description;
    try {
        msg.SearchKey(L"MAV_MFC_0009");
    } catch (COleDispatchException* e) {
        sc = e->m_scError;
        description = e->m_strDescription;
        e->Delete();
    }
    EXPECT_TRUE(FAILED(sc)) << std::hex << sc;
    EXPECT_FALSE(description.IsEmpty());
}
