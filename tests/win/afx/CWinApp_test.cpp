// Module states and resource lookup from the host's state and the library's, and the library's application object.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "afx/afxwin.h"
#include "afx_test_support.h"

TEST(AfxModuleState, GuardsNestAndResourcesAreSearchedInTheCurrentModuleThenTheLibrary)
{
    HMODULE program = GetModuleHandleW(nullptr), library = afxtest::libraryModule();
    HINSTANCE user32 = GetModuleHandleW(L"user32.dll");
    ASSERT_TRUE(library != nullptr && library != program);
    EXPECT_EQ(AfxGetResourceHandle(), program) << "code called from the host uses the host's resources";
    {
        CAfxModuleStateGuard guard;
        EXPECT_EQ(AfxGetModuleState(), AfxGetStaticModuleState());
        EXPECT_EQ((std::vector<HINSTANCE>{AfxGetResourceHandle(), AfxGetInstanceHandle()}),
                  (std::vector<HINSTANCE>{library, library}));
        {
            CAfxModuleStateGuard inner(AfxGetAppModuleState());
            EXPECT_EQ(AfxGetResourceHandle(), program);
        }
        EXPECT_EQ(AfxGetResourceHandle(), library) << "guards nest";
        AfxSetResourceHandle(user32); // changes the current state only
        EXPECT_EQ(AfxGetAppModuleState()->m_hCurrentResourceHandle, program);
        AfxSetResourceHandle(library);
    }
    EXPECT_EQ(AfxGetResourceHandle(), program);
    // The pan cursor lives in the library only; nobody has dialog 31000, so the current module is the answer;
    // the current module comes first when it has the resource.
    EXPECT_EQ((std::vector<HINSTANCE>{AfxFindResourceHandle(MAKEINTRESOURCEW(2006), RT_GROUP_CURSOR),
                                      AfxFindResourceHandle(MAKEINTRESOURCEW(2000), RT_GROUP_ICON),
                                      AfxFindResourceHandle(MAKEINTRESOURCEW(31000), RT_DIALOG)}),
              (std::vector<HINSTANCE>{library, library, program}));
    AfxSetResourceHandle(user32);
    EXPECT_EQ((std::vector<HINSTANCE>{AfxFindResourceHandle(L"MSGBOX", RT_DIALOG),
                                      AfxFindResourceHandle(MAKEINTRESOURCEW(2006), RT_GROUP_CURSOR)}),
              (std::vector<HINSTANCE>{user32, library}));
    AfxSetResourceHandle(program);
    // The library's pan cursor has its hot spot in the centre.
    HCURSOR cursor = static_cast<HCURSOR>(LoadImageW(library, MAKEINTRESOURCEW(2006), IMAGE_CURSOR, 32, 32, 0));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_EQ(std::make_pair(info.xHotspot, info.yHotspot), std::make_pair(DWORD{16}, DWORD{16}));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyCursor(cursor);
}

namespace {
struct TestApp : CWinApp {
    std::vector<void*> seenInInit; // the resource module and the application object
    int exitCalls = 0;
    BOOL InitInstance() override { return seenInInit = {AfxGetResourceHandle(), AfxGetApp()}, FALSE; }
    int ExitInstance() override { return ++exitCalls, 0; }
};
} // namespace

TEST(AfxWinApp, LibraryApplicationStartsInTheLibrarysStateWhenAttached)
{
    HMODULE library = afxtest::libraryModule();
    TestApp* app = nullptr;
    {
        CAfxModuleStateGuard guard;
        app = new TestApp;
    }
    EXPECT_TRUE(AfxGetStaticModuleState()->m_pCurrentWinApp == app && AfxGetApp() == app);
    EXPECT_FALSE(afxDllAttach(library)) << "InitInstance's answer";
    EXPECT_EQ(std::make_tuple(app->seenInInit, app->m_hInstance, AfxGetResourceHandle()),
              std::make_tuple(std::vector<void*>{library, app}, HINSTANCE(library), GetModuleHandleW(nullptr)));
    afxDllDetach();
    EXPECT_EQ(app->exitCalls, 1);
    delete app;
}
