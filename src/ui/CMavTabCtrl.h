// CMavTabCtrl: a tab control whose tabs each own a page dialog, created when first shown, switched with the mouse
// and Control+Tab, and disabled one by one.
#pragma once

#include <windows.h>

#include "afx/CDialog.h"
#include "afx/CTabCtrl.h"
#include "base/CMavArray.h"

class CMavTabCtrl : public CTabCtrl {
    DECLARE_DYNAMIC(CMavTabCtrl)
public:
    // One tab: its page (not owned), the page's template and bit 0 set for a disabled tab.
    struct Page_st {
        CDialog* page = nullptr;
        UINT IDD = 0;
        UINT flags = 0;
        bool operator==(const Page_st& o) const { return page == o.page && IDD == o.IDD && flags == o.flags; }
    };

    CMavTabCtrl() = default;

    // A tab with text for page (template IDD) at index (negative or beyond the end: appended); the first tab is
    // selected at once. 0 for a null page, else the control's index of the tab.
    virtual int InsertItem(int index, const wchar_t* text, CDialog* page, UINT IDD);
    // Removes every tab and destroys every page window; TCM_DELETEALLITEMS' result.
    virtual int DeleteAllItems();
    // Removes one tab and destroys its page window; 0 for an invalid index, else 1.
    virtual int DeleteItem(int index);

    bool isTabEnabled(int index) const;
    // Enables or disables a tab (its look stays); false for an invalid index.
    bool EnableTab(int index, bool enable);
    // Shows the page of index, creating its window on first use; the current index for an invalid or disabled
    // tab, else the previously selected tab.
    int SetCurSel(int index);
    int GetCurPage() const { return m_nCurPage; }
    bool GetDlgIDD(int index, UINT& IDD);
    int GetPageCount() const { return m_pages.len(); }
    // The page object of a tab, null for an invalid index.
    CDialog* GetPage(int index) const;
    // The host accepts: every page with a window exchanges its data and is closed.
    void OnOk();

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void OnLButtonDown(UINT flags, CPoint point) override;
    BOOL OnHelpInfo(HELPINFO* info) override;
    void OnDestroy() override;

private:
    bool validIndex(int index) const { return index >= 0 && index < m_pages.len(); }
    // Creates the window of page index under the row of tabs.
    void createPage(int index);

    int m_nCurPage = -1;
    CMavArrayTempl<Page_st> m_pages;
};
