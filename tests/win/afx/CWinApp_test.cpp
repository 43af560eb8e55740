// Module states and resource lookup: which module's resources the library finds, and the application object's
// start in the library's state.
#include <gtest/gtest.h>

#include "afx/afxwin.h"
#include "afx_test_support.h"

TEST(AfxModuleState, GuardMakesTheLibraryTheResourceModuleAndRestoresTheCaller)
{
    HMODULE program = GetModuleHandleW(nullptr);
    HMODULE library = afxtest::libraryModule();
    ASSERT_NE(library, nullptr);
    ASSERT_NE(library, program);
    EXPECT_EQ(AfxGetResourceHandle(), program) << "code called from the host uses the host's resources";
    EXPECT_EQ(AfxGetInstanceHandle(), program);
    {
        CAfxModuleStateGuard guard;
        EXPECT_EQ(AfxGetModuleState(), AfxGetStaticModuleState());
        EXPECT_EQ(AfxGetResourceHandle(), library);
        EXPECT_EQ(AfxGetInstanceHandle(), library);
        {
            CAfxModuleStateGuard inner(AfxGetAppModuleState());
            EXPECT_EQ(AfxGetResourceHandle(), program);
        }
        EXPECT_EQ(AfxGetResourceHandle(), library) << "guards nest";
        // Setting the resource module changes the current state only.
        AfxSetResourceHandle(GetModuleHandleW(L"user32.dll"));
        EXPECT_EQ(AfxGetStaticModuleState()->m_hCurrentResourceHandle, GetModuleHandleW(L"user32.dll"));
        EXPECT_EQ(AfxGetAppModuleState()->m_hCurrentResourceHandle, program);
        AfxSetResourceHandle(library);
    }
    EXPECT_EQ(AfxGetResourceHandle(), program);
}

TEST(AfxModuleState, FindResourceHandleSearchesCurrentThenLibraryThenProgram)
{
    HMODULE program = GetModuleHandleW(nullptr);
    HMODULE library = afxtest::libraryModule();
    // The pan cursor and the library icon live in the library only: found there from the host's state.
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(2006), RT_GROUP_CURSOR), library);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(2000), RT_GROUP_ICON), library);
    // Nobody has it: the current resource module is the answer.
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(31000), RT_DIALOG), program);
    // The current resource module comes first, even when the library has the resource too.
    HINSTANCE user32 = GetModuleHandleW(L"user32.dll");
    AfxSetResourceHandle(user32);
    EXPECT_EQ(AfxFindResourceHandle(L"MSGBOX", RT_DIALOG), user32);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(2006), RT_GROUP_CURSOR), library);
    AfxSetResourceHandle(program);
}

namespace {
class TestApp : public CWinApp {
public:
    explicit TestApp(BOOL answer) : m_answer(answer) {}
    int initCalls = 0;
    int exitCalls = 0;
    HINSTANCE resourceDuringInit = nullptr;
    CWinApp* appDuringInit = nullptr;
    BOOL InitInstance() override
    {
        ++initCalls;
        resourceDuringInit = AfxGetResourceHandle();
        appDuringInit = AfxGetApp();
        return m_answer;
    }
    int ExitInstance() override
    {
        ++exitCalls;
        return 0;
    }

private:
    BOOL m_answer;
};
} // namespace

TEST(AfxWinApp, LibraryApplicationStartsInTheLibrarysStateWhenAttached)
{
    HMODULE library = afxtest::libraryModule();
    CWinApp* before = AfxGetStaticModuleState()->m_pCurrentWinApp;
    TestApp* app = nullptr;
    {
        // An application object made in the library's state belongs to the library.
        CAfxModuleStateGuard guard;
        app = new TestApp(FALSE);
    }
    EXPECT_EQ(AfxGetStaticModuleState()->m_pCurrentWinApp, app);
    EXPECT_EQ(app->m_pModuleState, AfxGetStaticModuleState());
    EXPECT_EQ(AfxGetApp(), app) << "the host has no application object of its own";

    EXPECT_FALSE(afxDllAttach(library)) << "InitInstance's answer";
    EXPECT_EQ(app->initCalls, 1);
    EXPECT_EQ(app->resourceDuringInit, library);
    EXPECT_EQ(app->appDuringInit, app);
    EXPECT_EQ(app->m_hInstance, library);
    EXPECT_EQ(AfxGetResourceHandle(), GetModuleHandleW(nullptr)) << "the caller's state is back";
    afxDllDetach();
    EXPECT_EQ(app->exitCalls, 1);
    delete app;
    EXPECT_EQ(AfxGetStaticModuleState()->m_pCurrentWinApp, before);

    // A host's application object belongs to the host's state and is the one AfxGetApp answers there.
    {
        TestApp host(TRUE);
        EXPECT_EQ(host.m_pModuleState, AfxGetAppModuleState());
        EXPECT_EQ(AfxGetApp(), &host);
    }
    EXPECT_EQ(AfxGetAppModuleState()->m_pCurrentWinApp, nullptr);
}
