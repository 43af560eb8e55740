// The material tree dialog. OK follows the selection: a root never qualifies; with an edge or physical restriction
// the selected material itself must carry the data (a material listed only because one of its sub-materials
// qualifies cannot be confirmed). Physical data taken from a parent is followed up the parent chain.
#include "dialogs/CMavMatTreeDlg.h"

#include "afx/CWinApp.h"
#include "resource.h"

IMPLEMENT_DYNAMIC(CMavMatTreeDlg, CMavDlg)

namespace {
// Pixels around the tree and between the buttons; the limits of the window's size.
constexpr int kMargin = 12;
constexpr int kGap = 6;
constexpr int kMinWidth = 300, kMinHeight = 150, kMaxWidth = 700, kMaxHeight = 900;
// Parent chains of physical data end after this many steps (a library whose parents form a cycle).
constexpr int kMaxParentSteps = 32;
} // namespace

CMavMatTreeDlg::CMavMatTreeDlg(CWnd* parent) : CMavDlg(IDD, parent) {}

void CMavMatTreeDlg::setKeywords(const CMavArrayTempl<CMavString>& keywords,
                                 const CMavArrayTempl<CMavString>& physNames, bool drawing, bool names)
{
    m_nFlags = 0;
    m_physNames.removeAll();
    bool edge = false, phys = false;
    for (const CMavString& k : keywords) {
        if (k.compare(L"EDGE") == 0)
            edge = true;
        else if (k.compare(L"PHYS") == 0)
            phys = true;
        else if (k.compare(L"SYSTEM") == 0)
            m_nFlags |= CMavMatTreeCtrl::flagSystem;
        else if (k.compare(L"SPACE") == 0)
            m_nFlags |= CMavMatTreeCtrl::flagNoSpace;
    }
    // An edge choice wins over a physical one.
    if (edge) {
        m_nFlags |= CMavMatTreeCtrl::flagEdge;
    } else if (phys) {
        m_nFlags |= CMavMatTreeCtrl::flagPhys;
        for (const CMavString& n : physNames) {
            CMavString upper = n;
            upper.makeUpper();
            m_physNames.append(upper);
        }
    }
    if (drawing)
        m_nFlags |= CMavMatTreeCtrl::flagDrawing;
    if (names)
        m_nFlags |= CMavMatTreeCtrl::flagNames;
}

void CMavMatTreeDlg::addLangRsc()
{
    m_mapLangKey.SetAt(IDOK, L"DLG_001");
    m_mapLangDef.SetAt(IDOK, L"OK");
    m_mapLangKey.SetAt(IDCANCEL, L"DLG_002");
    m_mapLangDef.SetAt(IDCANCEL, L"Abbrechen");
}

BOOL CMavMatTreeDlg::OnInitDialog()
{
    CMavDlg::OnInitDialog();
    SetWindowText(GetMsg(L"MAV_MFC_0012", L"Materialauswahl"));
    MAV::aboutMenuAdd(this);
    if (CWnd* help = GetDlgItem(IDC_MAT_TREE_HELP))
        help->EnableWindow(!m_strHelpFile.IsEmpty());
    m_tree.SubclassDlgItem(IDC_MAT_TREE, this);
    layout();
    if (CWnd* ok = GetDlgItem(IDOK))
        ok->EnableWindow(FALSE);
    m_tree.init(m_nFlags, m_strInitMat.c_str(), m_physNames);
    checkSelection();
    return TRUE;
}

bool CMavMatTreeDlg::checkSelection()
{
    CWnd* ok = GetDlgItem(IDOK);
    auto enable = [ok](bool on) {
        if (ok)
            ok->EnableWindow(on);
        return on;
    };
    const HTREEITEM item = m_tree.GetSelectedItem();
    CMavString name;
    if (!item || !m_tree.GetParentItem(item) || !m_tree.getSelMat(name))
        return enable(false);
    if (name.compareNoCase(L"SYSTEM") == 0) {
        m_strMat = name;
        return enable(true);
    }
    MAV::CMatProp prop;
    m_matMgr.propGet(name.c_str(), prop);
    auto hasAll = [this](const MAV::CMatProp& p) {
        for (const CMavString& n : m_physNames)
            if (!p.hasPhysKey(n.c_str()))
                return false;
        return true;
    };
    if (m_nFlags & CMavMatTreeCtrl::flagEdge) {
        if (prop.edgeCode == 0)
            return enable(false);
        if (prop.edgeCode == 2) {
            const bool on = prop.edges.len() > 0;
            if (on)
                m_strMat = name;
            return enable(on);
        }
    }
    if (m_nFlags & CMavMatTreeCtrl::flagPhys) {
        if (prop.physCode == 0)
            return enable(false);
        if (prop.physCode == 1) {
            MAV::CMatProp p = prop;
            bool found = true;
            for (int step = 0; found && p.physCode == 1; ++step) {
                const CMavString parent = p.parent;
                found = step < kMaxParentSteps && m_matMgr.propGet(parent.c_str(), p);
            }
            const bool on = found && p.physCode == 2 && hasAll(p);
            if (on)
                m_strMat = name;
            return enable(on);
        }
        if (prop.physCode == 2) {
            const bool on = hasAll(prop);
            if (on)
                m_strMat = name;
            return enable(on);
        }
    }
    m_strMat = name;
    return enable(true);
}

BOOL CMavMatTreeDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header && header->idFrom == IDC_MAT_TREE) {
        if (header->code == TVN_SELCHANGEDW) {
            checkSelection();
            *result = 0;
            return TRUE;
        }
        if (header->code == static_cast<UINT>(NM_DBLCLK)) {
            if (checkSelection())
                OnOK();
            *result = 0;
            return TRUE;
        }
    }
    return CMavDlg::OnNotify(wParam, lParam, result);
}

BOOL CMavMatTreeDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_MAT_TREE_HELP && HIWORD(wParam) == BN_CLICKED) {
        Help();
        return TRUE;
    }
    return CMavDlg::OnCommand(wParam, lParam);
}

void CMavMatTreeDlg::OnSysCommand(UINT id, LPARAM lParam)
{
    if (!MAV::aboutOnSysCommand(this, id))
        CMavDlg::OnSysCommand(id, lParam);
}

void CMavMatTreeDlg::layout()
{
    if (!m_hWnd)
        return;
    CWnd* first = GetDlgItem(IDC_MAT_TREE_HELP);
    // From the right: help, Cancel, OK.
    const int ids[] = {IDC_MAT_TREE_HELP, IDCANCEL, IDOK};
    for (int id : {IDC_MAT_TREE_HELP, IDCANCEL, IDOK})
        if (!first)
            first = GetDlgItem(id);
    if (!first)
        return;
    RECT size{};
    first->GetWindowRect(&size);
    const int bw = size.right - size.left, bh = size.bottom - size.top;
    RECT client{};
    GetClientRect(&client);
    const int top = client.bottom - kMargin - bh;
    int right = client.right - kMargin;
    for (int id : ids) {
        CWnd* button = GetDlgItem(id);
        if (!button)
            continue;
        button->MoveWindow(right - bw, top, bw, bh);
        right -= bw + kGap;
    }
    if (CWnd* tree = GetDlgItem(IDC_MAT_TREE))
        tree->MoveWindow(kMargin, kMargin, client.right - 2 * kMargin, top - 2 * kMargin);
}

void CMavMatTreeDlg::OnSize(UINT type, int cx, int cy)
{
    CMavDlg::OnSize(type, cx, cy);
    layout();
}

void CMavMatTreeDlg::OnGetMinMaxInfo(MINMAXINFO* info)
{
    info->ptMinTrackSize = {kMinWidth, kMinHeight};
    info->ptMaxTrackSize = {kMaxWidth, kMaxHeight};
}

namespace MAV {

int dlgMatTree(const MAV::DlgEnvMatTree_st& env, CMavString& str)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    CMavMatTreeDlg dialog(env.parentWnd());
    if (!env.country.isEmpty())
        dialog.SetCountry(env.country.c_str());
    dialog.SetHelpFile(env.helpFile.c_str());
    dialog.SetHelpTopic(env.helpTopic.c_str());
    dialog.setKeywords(env.keywords, env.physNames, env.drawingMaterials, env.namesBesideLabels);
    dialog.m_strInitMat = str;
    const INT_PTR result = dialog.DoModal();
    if (result == IDOK) {
        str = dialog.m_strMat;
        return 1;
    }
    return result == IDCANCEL ? 0 : static_cast<int>(result);
}

} // namespace MAV
