// CMavTabCtrl: tabs with page dialogs. The control keeps one record per tab (page, template, disabled bit) in tab
// order and the index of the page shown. A page's window is created the first time its tab is chosen and placed
// below the row of tabs; the control destroys page windows, never page objects, which belong to the host.
#include "ui/CMavTabCtrl.h"

IMPLEMENT_DYNAMIC(CMavTabCtrl, CTabCtrl)

namespace {

constexpr UINT kTabDisabled = 0x1;

bool hasWindow(const CDialog* page)
{
    return page && page->m_hWnd && ::IsWindow(page->m_hWnd);
}

} // namespace

int CMavTabCtrl::InsertItem(int index, const wchar_t* text, CDialog* page, UINT IDD)
{
    if (!page)
        return 0;
    Page_st record;
    record.page = page;
    record.IDD = IDD;
    if (index >= 0 && index < m_pages.len())
        m_pages.insertAt(index, record);
    else
        m_pages.append(record);
    // A tab inserted before the shown one pushes that one to the right.
    if (m_nCurPage >= 0 && index >= 0 && index <= m_nCurPage && index < m_pages.len() - 1)
        ++m_nCurPage;
    const int tab = CTabCtrl::InsertItem(index < 0 ? 65535 : index, text);
    if (m_nCurPage < 0)
        SetCurSel(tab);
    return tab;
}

int CMavTabCtrl::DeleteAllItems()
{
    m_nCurPage = -1;
    for (Page_st& record : m_pages)
        if (hasWindow(record.page))
            record.page->DestroyWindow();
    m_pages.removeAll();
    return static_cast<int>(SendMessage(TCM_DELETEALLITEMS));
}

int CMavTabCtrl::DeleteItem(int index)
{
    if (!validIndex(index))
        return 0;
    CDialog* page = m_pages[index].page;
    if (index == m_nCurPage && hasWindow(page))
        page->ShowWindow(SW_HIDE);
    if (hasWindow(page))
        page->DestroyWindow();
    m_pages.removeAt(index);
    SendMessage(TCM_DELETEITEM, static_cast<WPARAM>(index));
    if (index < m_nCurPage)
        --m_nCurPage;
    // The tab that moves into the deleted current place becomes current; past the end, the last one.
    if (m_nCurPage >= m_pages.len())
        m_nCurPage = m_pages.len() - 1;
    if (m_nCurPage >= 0) {
        SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(m_nCurPage));
        CDialog* const current = m_pages[m_nCurPage].page;
        if (!hasWindow(current))
            createPage(m_nCurPage);
        if (hasWindow(current))
            current->ShowWindow(SW_SHOW);
    }
    return 1;
}

bool CMavTabCtrl::isTabEnabled(int index) const
{
    return validIndex(index) && !(m_pages[index].flags & kTabDisabled);
}

bool CMavTabCtrl::EnableTab(int index, bool enable)
{
    if (!validIndex(index))
        return false;
    if (enable)
        m_pages[index].flags &= ~kTabDisabled;
    else
        m_pages[index].flags |= kTabDisabled;
    return true;
}

bool CMavTabCtrl::GetDlgIDD(int index, UINT& IDD)
{
    if (!validIndex(index))
        return false;
    IDD = m_pages[index].IDD;
    return true;
}

CDialog* CMavTabCtrl::GetPage(int index) const
{
    return validIndex(index) ? m_pages[index].page : nullptr;
}

void CMavTabCtrl::createPage(int index)
{
    // The page's initialisation belongs to the host and may insert or delete tabs (moving the records): only the
    // page object itself is used once it runs.
    CDialog* const page = m_pages[index].page;
    const UINT idd = m_pages[index].IDD;
    if (!page || !m_hWnd)
        return;
    // Below the row of tabs: tab 0's height plus a 4-pixel gap, 2 pixels in from the left, and margins that keep
    // the control's border visible on the right and at the bottom.
    RECT client{}, tab{};
    GetClientRect(&client);
    GetItemRect(0, &tab);
    const int top = (tab.bottom - tab.top) + 4;
    const int width = (client.right - client.left) - 6;
    const int height = (client.bottom - client.top) - top - 4;
    page->Create(idd, this);
    if (hasWindow(page))
        page->SetWindowPos(nullptr, 2, top, width, height, SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

int CMavTabCtrl::SetCurSel(int index)
{
    if (index == m_nCurPage || !validIndex(index))
        return m_nCurPage;
    if (!isTabEnabled(index)) {
        // A click has already selected the refused tab in the control. The selection is put back before the
        // focus: moving only the focus leaves the refused tab marked as pressed, and the control then takes the
        // next click on another tab for a deselection.
        if (m_nCurPage >= 0) {
            SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(m_nCurPage));
            SendMessage(TCM_SETCURFOCUS, static_cast<WPARAM>(m_nCurPage));
        }
        return m_nCurPage;
    }
    // Creating a page runs its initialisation, which belongs to the host; a fault raised there as an unsigned
    // number must not leave this control half switched.
    try {
        if (m_nCurPage >= 0 && hasWindow(m_pages[m_nCurPage].page))
            m_pages[m_nCurPage].page->ShowWindow(SW_HIDE);
        CDialog* const page = m_pages[index].page;
        if (!hasWindow(page)) {
            createPage(index);
            // The page's initialisation may have inserted or deleted tabs: its place is looked up again.
            index = m_pages.len();
            while (--index >= 0 && m_pages[index].page != page) {
            }
            if (index < 0)
                return m_nCurPage;
        }
        m_nCurPage = index;
        if (hasWindow(page)) {
            page->ShowWindow(SW_SHOW);
            page->SetFocus();
        }
        // Selection first, for the same reason as above; the focus then follows without a second change.
        const int previous = static_cast<int>(SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(index)));
        SendMessage(TCM_SETCURFOCUS, static_cast<WPARAM>(index));
        return previous;
    } catch (unsigned) {
        return m_nCurPage;
    }
}

void CMavTabCtrl::OnOk()
{
    for (Page_st& record : m_pages) {
        if (hasWindow(record.page)) {
            record.page->UpdateData(TRUE);
            record.page->SendMessage(WM_CLOSE);
        }
    }
}

BOOL CMavTabCtrl::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_TAB && ::GetKeyState(VK_CONTROL) < 0) {
        const int count = m_pages.len();
        if (count > 0) {
            const bool back = ::GetKeyState(VK_SHIFT) < 0;
            int index = GetCurSel();
            if (index < 0)
                index = 0;
            // One pass over the tabs at most, and only while Control is still held.
            for (int step = 0; step < count; ++step) {
                index = back ? (count + index - 1) % count : (index + 1) % count;
                if (isTabEnabled(index) || ::GetKeyState(VK_CONTROL) >= 0)
                    break;
            }
            SetCurSel(index);
        }
        return TRUE;
    }
    if (msg->message == WM_KEYDOWN && msg->hwnd == m_hWnd &&
        (msg->wParam == VK_LEFT || msg->wParam == VK_UP || msg->wParam == VK_RIGHT || msg->wParam == VK_DOWN)) {
        // The arrow keys on the tabs go to the neighbouring enabled tab with its page, as a click does; left to
        // the control itself they would move the selected tab without the page, onto disabled tabs too. The
        // focus stays on the tabs for the next key.
        const int step = msg->wParam == VK_LEFT || msg->wParam == VK_UP ? -1 : 1;
        for (int index = m_nCurPage + step; index >= 0 && index < m_pages.len(); index += step) {
            if (isTabEnabled(index)) {
                SetCurSel(index);
                SetFocus();
                break;
            }
        }
        return TRUE;
    }
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE)
        return TRUE;
    if (msg->message == WM_NULL) {
        CWnd* owner = GetOwner();
        if (owner)
            owner->PostMessage(WM_CLOSE);
        return TRUE;
    }
    return CWnd::PreTranslateMessage(msg);
}

void CMavTabCtrl::OnLButtonDown(UINT flags, CPoint point)
{
    CTabCtrl::OnLButtonDown(flags, point);
    const int focus = GetCurFocus();
    if (focus != m_nCurPage)
        SetCurSel(focus);
}

BOOL CMavTabCtrl::OnHelpInfo(HELPINFO* info)
{
    return CTabCtrl::OnHelpInfo(info);
}

void CMavTabCtrl::OnDestroy()
{
    CTabCtrl::OnDestroy();
    for (Page_st& record : m_pages)
        if (hasWindow(record.page))
            record.page->DestroyWindow();
}
