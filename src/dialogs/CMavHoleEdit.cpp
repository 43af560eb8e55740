// CMavHoleEdit: the hole pattern's elements ("BT" of the data, one child each, keyed by its name) in a list beside
// a preview drawn by the hole image generator, the selected element highlighted. Edits go into a working copy of
// the data; only OK puts them back, so Cancel leaves the pattern as it was.
//
// Columns: the element's name; X and Y, the translation of its placement "MTX"; the diameter "GEN\DIA" and the
// depth "GEN\DEPTH". A value the element does not hold shows empty and cannot be edited.
#include "dialogs/CMavHoleEdit.h"

#include "afx/CWinApp.h"
#include "data/CMavApp.h"
#include "data/config.h"
#include "generators/drill_image.h"
#include "resource.h"
#include "ui/CMavEdit.h"

IMPLEMENT_DYNAMIC(CMavHoleList, CMavListCtrl)
IMPLEMENT_DYNAMIC(CMavHoleEdit, CMavDlg)

namespace {

CMavDataKey textKey(const wchar_t* a) { return CMavDataKey().appendText(a); }
CMavDataKey textKey(const wchar_t* a, const wchar_t* b) { return CMavDataKey().appendText(a).appendText(b); }
CMavDataKey elementKey() { return textKey(L"*HOLE*", L"BT"); }

bool isElementKey(short type)
{
    return type == RTSTR || type == RTDXF0;
}

CString lengthText(double v)
{
    CString s;
    s.Format(L"%.2f", v);
    return s;
}

// Registers the dialog as the default host's "krv_hole_dial" when the library loads.
struct HoleDialInstaller {
    HoleDialInstaller() { MAV::CDefaultApp::instance().lispRegister(L"krv_hole_dial", &MAV::holeEditLisp); }
} g_holeDialInstaller;

} // namespace

int CMavHoleList::OnAllowEdit(LVHITTESTINFO* hit)
{
    double v = 0.0;
    return hit && m_pOwner && hit->iSubItem > colName && hit->iSubItem < colCount &&
                   m_pOwner->cellValue(hit->iItem, hit->iSubItem, v)
               ? 1
               : 0;
}

void CMavHoleList::OnInitEditCtrl(LVHITTESTINFO* hit, CMavEdit* edit)
{
    double v = 0.0;
    if (!edit || !hit || !m_pOwner || !m_pOwner->cellValue(hit->iItem, hit->iSubItem, v))
        return;
    // Positions may be anything; diameters and depths must be above zero.
    const unsigned short flags = hit->iSubItem >= colDia ? CMavEdit::flagRequired | CMavEdit::flagNoZero |
                                                               CMavEdit::flagNoNegative
                                                         : CMavEdit::flagRequired;
    edit->setEditFlags(CMavEdit::typeLength, flags, 2, 0.0, 0.0);
    edit->setFormat(Mav::kFormatDecimal);
    edit->setVal(v);
    edit->SetModify(FALSE);
}

int CMavHoleList::OnEndItemEdit(CMavEdit* edit)
{
    double v = 0.0;
    if (!edit || !m_pOwner || !edit->getVal(v))
        return 0;
    return m_pOwner->setCellValue(GetEditItem(), GetEditSubItem(), v) ? 1 : 0;
}

CMavHoleEdit::CMavHoleEdit(MAV::CDtaFilePointer* data, CWnd* parent) : CMavDlg(IDD, parent), m_data(data)
{
    m_work = MAV::dtaOpen(MAV::kDataTemp, MAV::kDataReadWrite, nullptr, nullptr);
    m_params = MAV::dtaOpen(MAV::kDataTemp, MAV::kDataReadWrite, nullptr, nullptr);
    if (m_data && m_data->top() && m_work && m_work->top())
        *m_work->top() = *m_data->top();
    MAV::dataItemGet(MAV::CConfig::getCfgRoot(), elementKey(), m_selected);
    m_list.m_pOwner = this;
}

CMavHoleEdit::~CMavHoleEdit()
{
    MAV::dtaClose(m_work);
    MAV::dtaClose(m_params);
}

void CMavHoleEdit::addLangRsc()
{
    m_mapLangKey.SetAt(IDOK, L"DLG_001");
    m_mapLangDef.SetAt(IDOK, L"OK");
    m_mapLangKey.SetAt(IDCANCEL, L"DLG_002");
    m_mapLangDef.SetAt(IDCANCEL, L"Abbrechen");
}

CMavDataItem* CMavHoleEdit::element(int row) const
{
    if (row < 0 || row >= m_names.len() || !m_work)
        return nullptr;
    CMavDataItem* holes = m_work->get(textKey(L"BT"));
    return holes && holes->isDir() ? holes->get(CMavDataKey().appendText(m_names[row])) : nullptr;
}

bool CMavHoleEdit::cellValue(int row, int column, double& value) const
{
    const CMavDataItem* e = element(row);
    if (!e)
        return false;
    switch (column) {
    case CMavHoleList::colX:
    case CMavHoleList::colY: {
        CMavMatrix3d m;
        if (!e->get(m, textKey(L"MTX")))
            return false;
        value = m.m[column == CMavHoleList::colX ? 0 : 1][3];
        return true;
    }
    case CMavHoleList::colDia:
        return e->get(value, textKey(L"GEN", L"DIA"));
    case CMavHoleList::colDepth:
        return e->get(value, textKey(L"GEN", L"DEPTH"));
    default:
        return false;
    }
}

bool CMavHoleEdit::setCellValue(int row, int column, double value)
{
    CMavDataItem* e = element(row);
    double old = 0.0;
    if (!e || !cellValue(row, column, old))
        return false;
    if (column == CMavHoleList::colX || column == CMavHoleList::colY) {
        CMavMatrix3d m;
        e->get(m, textKey(L"MTX"));
        m.m[column == CMavHoleList::colX ? 0 : 1][3] = value;
        e->setAt(textKey(L"MTX"), m);
    } else {
        e->setAt(textKey(L"GEN", column == CMavHoleList::colDia ? L"DIA" : L"DEPTH"), value);
        // The drill's circle is made from its diameter: it is made again.
        e->remove(textKey(L"GEN", L"VL"));
    }
    redraw();
    return true;
}

BOOL CMavHoleEdit::OnInitDialog()
{
    CMavDlg::OnInitDialog();
    m_list.SubclassDlgItem(IDC_HOLE_LIST, this);
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    const struct {
        const wchar_t* key;
        const wchar_t* def;
        int format;
        int width;
    } columns[] = {{L"MAV_HOLE_0001", L"Element", LVCFMT_LEFT, 70},
                   {L"MAV_HOLE_0002", L"X", LVCFMT_RIGHT, 55},
                   {L"MAV_HOLE_0003", L"Y", LVCFMT_RIGHT, 55},
                   {L"MAV_HOLE_0004", L"Durchmesser", LVCFMT_RIGHT, 70},
                   {L"MAV_HOLE_0005", L"Tiefe", LVCFMT_RIGHT, 50}};
    for (int i = 0; i < CMavHoleList::colCount; ++i)
        m_list.InsertColumn(i, GetMsg(columns[i].key, columns[i].def), columns[i].format, columns[i].width);
    m_preview.SubclassDlgItem(IDC_HOLE_PREVIEW, this);
    MAV::aboutMenuAdd(this, country());
    fillList();
    redraw();
    m_list.SetFocus();
    return FALSE;
}

void CMavHoleEdit::fillList()
{
    m_names.removeAll();
    CMavDataItem* holes = m_work ? m_work->get(textKey(L"BT")) : nullptr;
    if (!holes || !holes->isDir())
        return; // a pattern without elements, or one whose "BT" is no directory, shows an empty list
    for (MAV::CDataIterator it(holes); it.valid(); it.next()) {
        const CMavDataKeyPart& part = it.item()->keyPart();
        if (!isElementKey(part.type))
            continue;
        const CMavString name = part.text;
        const int row = m_names.append(name);
        m_list.InsertItem(row, name);
        for (int column = CMavHoleList::colX; column < CMavHoleList::colCount; ++column) {
            double v = 0.0;
            m_list.SetItemText(row, column, cellValue(row, column, v) ? lengthText(v) : CString());
        }
        if (name == m_selected)
            m_list.SetCurSel(row);
    }
}

void CMavHoleEdit::redraw()
{
    m_gdx.clear();
    if (m_params && m_params->top()) {
        m_params->top()->setAt(textKey(L"ACT"), m_selected);
        m_params->top()->setAt(textKey(L"COORD"), 1);
    }
    // The generator completes drills it draws (their circle, default sizes); it works on a copy so that only the
    // user's edits reach the pattern.
    MAV::CDtaFilePointer* shown = MAV::dtaOpen(MAV::kDataTemp, MAV::kDataReadWrite, nullptr, nullptr);
    if (shown && shown->top() && m_work && m_work->top())
        *shown->top() = *m_work->top();
    mav_gdx_image_hole(&m_gdx, shown, m_params);
    MAV::dtaClose(shown);
    if (m_preview.m_hWnd) {
        m_preview.set_dpList(&m_gdx);
        m_preview.zoomExtents();
        m_preview.Invalidate();
    }
}

BOOL CMavHoleEdit::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const auto* nm = reinterpret_cast<const NMLISTVIEW*>(lParam);
    if (nm && nm->hdr.idFrom == IDC_HOLE_LIST && nm->hdr.code == LVN_ITEMCHANGED && (nm->uChanged & LVIF_STATE) &&
        (nm->uNewState & LVIS_SELECTED) && !(nm->uOldState & LVIS_SELECTED) && nm->iItem >= 0 &&
        nm->iItem < m_names.len()) {
        m_selected = m_names[nm->iItem];
        redraw();
    }
    return CMavDlg::OnNotify(wParam, lParam, result);
}

void CMavHoleEdit::OnSysCommand(UINT id, LPARAM lParam)
{
    if (!MAV::aboutOnSysCommand(this, id, country()))
        CMavDlg::OnSysCommand(id, lParam);
}

void CMavHoleEdit::OnOK()
{
    // A cell still being edited ends first, so its value counts.
    m_list.SetFocus();
    if (m_data && m_work && m_work->top()) {
        if (CMavDataItem* holes = m_work->get(textKey(L"BT")))
            m_data->set(textKey(L"BT"), holes);
    }
    MAV::dataItemSet(MAV::CConfig::getCfgRoot(), elementKey(), m_selected);
    EndDialog(IDOK);
}

namespace MAV {

int holeEditLisp(const resbuf*, CSmartResbuf& result)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    // The entity's data stays open: the caller that staged the pattern holds the same pointer and closes it.
    CDtaFilePointer* data = nullptr;
    ads_name entity = {0, 0};
    if (CMavApp* app = mavAppPtr(); app && app->entityGet(entity, L"HOLE", true))
        data = dtaOpen(kDataEntity, kDataReadWrite, entity, nullptr, nullptr);
    const DlgEnv_st env;
    CMavHoleEdit dlg(data, env.parentWnd());
    dlg.SetCountry(env.country);
    const INT_PTR r = dlg.DoModal();
    result.reset();
    result.appendShort(r == IDOK ? 1 : 0);
    return RTNORM;
}

} // namespace MAV
