// The outline selection dialog. Vocabulary: the "offset" of an outline is the vector g_outline moves it by; the
// base point edits show it negated (the base point is where the outline's origin lands relative to the shape).
// A "range" is one of the four value scales ("1", "10", "100", "1000"); each parameter has a default per range.
// Parameters the user typed are remembered per range and outline in a process-wide cache, so switching the range
// or the outline and coming back, also in a later call, offers them again. The dialog has six parameter rows;
// an outline that declares more parameters shows (and returns) the first six, and a negative count shows none.
#include "dialogs/CMavOutlineDlg.h"

#include <algorithm>
#include <cfloat>
#include <cwchar>

#include "afx/CWinApp.h"
#include "data/CMavApp.h"
#include "data/materials.h"
#include "data/outlines.h"
#include "data/units.h"
#include "dialogs/CMavMatTreeDlg.h"
#include "resource.h"

IMPLEMENT_DYNAMIC(CMavOutlineFilterDlg, CMavDlg)
IMPLEMENT_DYNAMIC(CMavOutlineDlg, CMavDlg)

namespace {

constexpr double kPi = 3.14159265358979323846;
// The parallelogram keeps its slant angle in degrees; the angle edit works in radians.
constexpr int kCodeParallelogram = 21;
constexpr int kAngleParm = 2;

CMavDataKey parmKey(int n, const wchar_t* entry = nullptr)
{
    wchar_t name[16];
    swprintf(name, 16, L"PARM%d", n);
    CMavDataKey key;
    key.appendText(name);
    if (entry)
        key.appendText(entry);
    return key;
}

} // namespace

// ---- filter dialog ---------------------------------------------------------------------------------------------

CMavOutlineFilterDlg::CMavOutlineFilterDlg(CWnd* parent) : CMavDlg(IDD, parent)
{
    SavePosition(false);
}

void CMavOutlineFilterDlg::addLangRsc()
{
    m_mapLangKey.SetAt(IDCANCEL, L"MAV_OUTL_0001");
    m_mapLangDef.SetAt(IDCANCEL, L"Abbrechen");
    m_mapLangKey.SetAt(IDOK, L"MAV_OUTL_0002");
    m_mapLangDef.SetAt(IDOK, L"OK");
}

BOOL CMavOutlineFilterDlg::OnInitDialog()
{
    CMavDlg::OnInitDialog();
    SetWindowText(GetMsg(L"MAV_OUTL_0100", L"Filter Konturen"));
    m_list.SubclassDlgItem(IDC_OUTL_FILTER_LIST, this);
    const wchar_t* const groups[][2] = {{L"MAV_OUTL_0101", L"*Grundformen"},
                                        {L"MAV_OUTL_0102", L"Formen erweitert"},
                                        {L"MAV_OUTL_0103", L"Sonderformen"},
                                        {L"MAV_OUTL_0104", L"Bearbeitungen"}};
    for (int i = 0; i < 4; ++i) {
        const int row = m_list.AddString(GetMsg(groups[i][0], groups[i][1]));
        if (row >= 0 && (m_nFilter & (1 << i)))
            m_list.SetSel(row, TRUE);
    }
    m_list.SetFocus();
    return FALSE;
}

void CMavOutlineFilterDlg::OnOK()
{
    int filter = 0;
    for (int i = 0; i < 4 && i < m_list.GetCount(); ++i)
        if (m_list.GetSel(i) > 0)
            filter |= 1 << i;
    m_nFilter = filter;
    CMavDlg::OnOK();
}

// ---- outline dialog --------------------------------------------------------------------------------------------

std::map<int, CMavArrayTempl<double>>& CMavOutlineDlg::parmCache(int rangeIndex)
{
    static std::map<int, CMavArrayTempl<double>> cache[4];
    return cache[std::clamp(rangeIndex, 0, 3)];
}

CMavOutlineDlg::CMavOutlineDlg(CWnd* parent) : CMavDlg(IDD, parent), m_nUnit(MAV::acad_unit_get()) {}

void CMavOutlineDlg::addLangRsc()
{
    const wchar_t* const keys[][3] = {{L"2", L"MAV_OUTL_0001", L"Abbrechen"},
                                      {L"1", L"MAV_OUTL_0002", L"OK"},
                                      {L"5010", L"MAV_OUTL_0003", L"Auswahl"},
                                      {L"5012", L"\\MAV_OUTL_0004\\...", L"Filter"},
                                      {L"5008", L"MAV_OUTL_0005", L"Basispunkt"},
                                      {L"5013", L"MAV_OUTL_0006", L"Parameter"},
                                      {L"5011", L"MAV_OUTL_0066", L"Bereich"}};
    for (const auto& k : keys) {
        const UINT id = static_cast<UINT>(_wtoi(k[0]));
        m_mapLangKey.SetAt(id, k[1]);
        m_mapLangDef.SetAt(id, k[2]);
    }
}

INT_PTR CMavOutlineDlg::DoModal()
{
    if (!m_pLib || !m_pLib->isDir())
        return IDCANCEL;
    if (m_pLib->count() == 0)
        mavOutlineInit(m_pLib);
    const INT_PTR result = CMavDlg::DoModal();
    // What was typed last is remembered too, not only what was left by switching the outline or the range.
    parmCache(m_nRange)[m_nCode] = m_parms;
    return result;
}

CMavString CMavOutlineDlg::msg(const CMavString& key)
{
    const wchar_t* text = GetMsg(key.c_str(), key.c_str());
    return CMavString(text ? text : key.c_str());
}

const CMavDataItem* CMavOutlineDlg::outline() const
{
    return m_pLib ? m_pLib->get(CMavDataKey(m_nCode)) : nullptr;
}

BOOL CMavOutlineDlg::OnInitDialog()
{
    CMavDlg::OnInitDialog();
    m_nRange = std::clamp(m_nRange, 0, 3);
    SetWindowText(GetMsg(L"MAV_OUTL_0000", L"Kontur"));
    MAV::aboutMenuAdd(this);
    m_list.SubclassDlgItem(IDC_OUTL_LIST, this);
    m_editX.SubclassDlgItem(IDC_OUTL_BASE_X, this);
    m_editY.SubclassDlgItem(IDC_OUTL_BASE_Y, this);
    for (int i = 0; i < kRows; ++i)
        m_edits[i].SubclassDlgItem(IDC_OUTL_EDIT0 + i, this);
    m_preview.SubclassDlgItem(IDC_OUTL_PREVIEW, this);
    if (CWnd* help = GetDlgItem(IDC_OUTL_HELP))
        help->EnableWindow(!m_strHelpFile.IsEmpty());

    fillList();
    showMaterial();
    m_preview.SetBkColor(mavAppPtr()->bkColorGet());
    CheckDlgButton(IDC_OUTL_RANGE1 + m_nRange, BST_CHECKED);
    for (CMavEdit* e : {&m_editX, &m_editY}) {
        e->setEditFlags(CMavEdit::typeLength, 0x61, 3, -DBL_MAX, DBL_MAX);
        e->setLUnits(static_cast<Mav::lUnit>(m_nUnit), static_cast<Mav::lUnit>(-1));
        e->setFormat(mavAppPtr()->lFormatGet());
    }
    applySelection();
    m_list.SetFocus();
    return FALSE;
}

void CMavOutlineDlg::fillList()
{
    m_list.ResetContent();
    if (!m_pLib)
        return;
    int remembered = -1;
    for (MAV::CDataIterator it(m_pLib); it.valid(); it.next()) {
        const CMavDataItem* child = it.item();
        if (!child || !child->isDir() || !child->keyPart().isInt())
            continue;
        int groups = 0;
        child->get(groups, L"CODE");
        if (!(groups & m_nFilter))
            continue;
        CMavString label;
        child->get(label, L"LABEL");
        const int row = m_list.AddString(msg(label).c_str());
        if (row < 0)
            continue;
        m_list.SetItemData(row, static_cast<DWORD_PTR>(static_cast<unsigned>(child->keyPart().num)));
        if (remembered < 0 && child->keyPart().num == m_nCode)
            remembered = row;
    }
    m_list.SetCurSel(remembered >= 0 ? remembered : 0);
}

void CMavOutlineDlg::showMaterial()
{
    const int show = m_strMat.isEmpty() ? SW_HIDE : SW_SHOW;
    for (int id : {IDC_OUTL_MAT_LABEL, IDC_OUTL_MAT_BUTTON})
        if (CWnd* w = GetDlgItem(id))
            w->ShowWindow(show);
    if (!m_strMat.isEmpty())
        SetDlgItemText(IDC_OUTL_MAT_LABEL, CMavMatMgr().matLabel(m_strMat.c_str(), country()).c_str());
}

void CMavOutlineDlg::applySelection()
{
    const int row = m_list.GetCurSel();
    if (row < 0)
        return;
    parmCache(m_nRange)[m_nCode] = m_parms;
    m_nCode = static_cast<int>(static_cast<unsigned>(m_list.GetItemData(row)));
    const auto& cache = parmCache(m_nRange);
    const auto cached = cache.find(m_nCode);
    m_parms = cached != cache.end() ? cached->second : CMavArrayTempl<double>();

    const CMavDataItem* item = outline();
    int count = 0;
    if (item) {
        item->get(m_nTxtMode, L"TXTGEN");
        item->get(count, L"PARMS");
    }
    count = std::clamp(count, 0, static_cast<int>(kRows));
    m_signs.removeAll();
    int found = 0;
    for (int n = 1; n <= count; ++n) {
        const CMavDataItem* dir = item->get(parmKey(n));
        if (!dir || !dir->isDir())
            break;
        const int i = n - 1;
        if (i >= m_parms.len()) {
            double def = 0.0;
            dir->get(def, CMavDataKey().appendText(L"VAL").append(m_nRange + 1));
            m_parms.setLogicalLength(i + 1);
            m_parms[i] = def;
        }
        CMavString label, minusp;
        dir->get(label, L"LABEL");
        const bool signed_ = dir->get(minusp, L"MINUSP");
        CWnd* button = GetDlgItem(IDC_OUTL_BUTTON0 + i);
        if (button) {
            button->SetWindowText(msg(signed_ && m_parms[i] < 0.0 ? minusp : label).c_str());
            if (signed_)
                button->ModifyStyle(BS_FLAT, 0);
            else
                button->ModifyStyle(0, BS_FLAT);
            button->Invalidate();
        }

        CMavEdit& edit = m_edits[i];
        CMavEdit::type t = CMavEdit::typeNone;
        unsigned short flags = 0, prec = 0;
        double lo = -DBL_MAX, hi = DBL_MAX;
        edit.getEditFlags(t, flags, prec, lo, hi);
        int valid = 0;
        dir->get(valid, L"VALID");
        CMavString type;
        const bool angle = dir->get(type, L"TYPE") && type.compare(L"A") == 0;
        const unsigned short editFlags = static_cast<unsigned short>((valid | 0x20 | (angle ? 0 : 0x40)) & 0x7FFF);
        edit.setEditFlags(angle ? CMavEdit::typeAngle : CMavEdit::typeLength, editFlags, 3, lo, hi);
        edit.setLUnits(static_cast<Mav::lUnit>(m_nUnit), static_cast<Mav::lUnit>(-1));
        edit.setFormat(mavAppPtr()->lFormatGet());
        edit.removeKeys();
        for (MAV::CDataIterator kw(dir->get(L"KWORD")); kw.valid(); kw.next()) {
            double value = 0.0;
            if (!kw.item()->keyPart().isInt() && kw.item()->get(value))
                edit.setKey(kw.item()->keyPart().toText().c_str(), value);
        }

        double shown = m_parms[i];
        if (m_nCode == kCodeParallelogram && i == kAngleParm)
            shown = shown * kPi / 180.0;
        if (!signed_) {
            m_signs.append(1);
            edit.setVal(shown);
        } else {
            m_signs.append(shown > 0.0 ? 1 : shown < 0.0 ? -1 : 0);
            edit.setVal(shown < 0.0 ? -shown : shown);
        }
        ++found;
    }
    m_parms.setLogicalLength(found);
    for (int i = 1; i < kRows; ++i) {
        const int show = i < found ? SW_SHOW : SW_HIDE;
        m_edits[i].ShowWindow(show);
        if (CWnd* button = GetDlgItem(IDC_OUTL_BUTTON0 + i))
            button->ShowWindow(show);
    }
    const CMavVector3d offset = m_basePts[m_nRange][m_nCode];
    m_editX.setVal(-offset.x);
    m_editY.setVal(-offset.y);
    updatePreview();
}

void CMavOutlineDlg::updatePreview()
{
    const CMavVector3d offset = m_basePts[m_nRange][m_nCode];
    const CMavVertexArray polyline = MAV::g_outline(m_nCode, offset, m_parms);
    CMavArrayTempl<CMavVertexArray> list;
    // An outline the parameters do not allow (no area, parts that do not fit) shows nothing but the base point.
    if (polyline.len() > 0)
        list.append(polyline);
    m_preview.setVll(list);
}

void CMavOutlineDlg::onEditChanged(int id)
{
    double value = 0.0;
    if (id == IDC_OUTL_BASE_X || id == IDC_OUTL_BASE_Y) {
        CMavEdit& edit = id == IDC_OUTL_BASE_X ? m_editX : m_editY;
        if (!edit.GetModify() || !edit.getVal(value))
            return;
        CMavVector3d& offset = m_basePts[m_nRange][m_nCode];
        (id == IDC_OUTL_BASE_X ? offset.x : offset.y) = -value;
        updatePreview();
        return;
    }
    const int i = id - IDC_OUTL_EDIT0;
    if (i < 0 || i >= kRows || i >= m_parms.len() || i >= m_signs.len())
        return;
    if (!m_edits[i].GetModify() || !m_edits[i].getVal(value))
        return;
    if (m_nCode == kCodeParallelogram && i == kAngleParm)
        value = value * 180.0 / kPi;
    m_parms[i] = m_signs[i] * value;
    updatePreview();
}

void CMavOutlineDlg::onSignButton(int row)
{
    const CMavDataItem* item = outline();
    if (!item || row < 0 || row >= m_parms.len() || row >= m_signs.len())
        return;
    CMavString key;
    if (!item->get(key, parmKey(row + 1, m_signs[row] < 1 ? L"LABEL" : L"MINUSP")))
        return;
    SetDlgItemText(IDC_OUTL_BUTTON0 + row, msg(key).c_str());
    m_signs[row] = m_signs[row] < 0 ? 1 : -1;
    m_parms[row] = -m_parms[row];
    updatePreview();
}

void CMavOutlineDlg::onRange(int index)
{
    if (index == m_nRange)
        return;
    parmCache(m_nRange)[m_nCode] = m_parms;
    m_nRange = index;
    const auto& cache = parmCache(m_nRange);
    const auto cached = cache.find(m_nCode);
    m_parms = cached != cache.end() ? cached->second : CMavArrayTempl<double>();
    applySelection();
}

void CMavOutlineDlg::onFilter()
{
    CMavOutlineFilterDlg dialog(this);
    dialog.SetCountry(country());
    dialog.m_nFilter = m_nFilter;
    if (dialog.DoModal() != IDOK)
        return;
    m_nFilter = dialog.m_nFilter;
    fillList();
    applySelection();
}

void CMavOutlineDlg::onMaterial()
{
    CMavMatTreeDlg dialog(this);
    dialog.SetCountry(country());
    dialog.SetHelpFile(m_strHelpFile);
    dialog.SetHelpTopic(m_strHelpTopic);
    CMavArrayTempl<CMavString> keywords;
    keywords.append(CMavString(L"SYSTEM"));
    dialog.setKeywords(keywords, CMavArrayTempl<CMavString>(), false, false);
    dialog.m_strInitMat = m_strMat;
    if (dialog.DoModal() != IDOK)
        return;
    m_strMat = dialog.m_strMat;
    showMaterial();
}

BOOL CMavOutlineDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    // The edits check and convert the entry on losing the focus first (their own handling runs before the
    // notification reaches the dialog), so the value read here is the accepted one.
    if (code == EN_KILLFOCUS &&
        (id == IDC_OUTL_BASE_X || id == IDC_OUTL_BASE_Y || (id >= IDC_OUTL_EDIT0 && id < IDC_OUTL_EDIT0 + kRows))) {
        onEditChanged(id);
        return TRUE;
    }
    if (id == IDC_OUTL_LIST && code == CBN_SELCHANGE) {
        applySelection();
        return TRUE;
    }
    if (code == BN_CLICKED) {
        if (id >= IDC_OUTL_BUTTON0 && id < IDC_OUTL_BUTTON0 + kRows) {
            onSignButton(id - IDC_OUTL_BUTTON0);
            return TRUE;
        }
        if (id >= IDC_OUTL_RANGE1 && id <= IDC_OUTL_RANGE1000) {
            onRange(id - IDC_OUTL_RANGE1);
            return TRUE;
        }
        if (id == IDC_OUTL_FILTER) {
            onFilter();
            return TRUE;
        }
        if (id == IDC_OUTL_MAT_BUTTON) {
            onMaterial();
            return TRUE;
        }
        if (id == IDC_OUTL_HELP) {
            Help();
            return TRUE;
        }
    }
    if (id == IDOK && (code == BN_CLICKED || code == 0)) {
        // Enter in an edit confirms without moving the focus: move it, so the entry is checked and taken over
        // first; an entry the edit refused keeps the focus there and the dialog open.
        CWnd* focus = CWnd::GetFocus();
        CWnd* ok = GetDlgItem(IDOK);
        if (focus && ok && focus->m_hWnd != ok->m_hWnd && ::IsChild(m_hWnd, focus->m_hWnd)) {
            ok->SetFocus();
            CWnd* after = CWnd::GetFocus();
            if (!after || after->m_hWnd != ok->m_hWnd)
                return TRUE;
        }
    }
    return CMavDlg::OnCommand(wParam, lParam);
}

void CMavOutlineDlg::OnSysCommand(UINT id, LPARAM lParam)
{
    if (!MAV::aboutOnSysCommand(this, id))
        CMavDlg::OnSysCommand(id, lParam);
}

namespace MAV {

int dlgOutline(const MAV::DlgEnv_st& env, MAV::outlineData& data, CMavDataItem* library)
{
    if (!library)
        return 0;
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    CMavOutlineDlg dialog(env.parentWnd());
    if (!env.country.isEmpty())
        dialog.SetCountry(env.country.c_str());
    dialog.SetHelpFile(env.helpFile.c_str());
    dialog.SetHelpTopic(env.helpTopic.c_str());
    dialog.m_nRange = std::clamp(static_cast<int>(data.range) - 1, 0, 3);
    dialog.m_nFilter = data.filter;
    dialog.m_nCode = data.code;
    dialog.m_nTxtMode = data.txtMode;
    dialog.m_basePts[dialog.m_nRange][data.code] = CMavVector3d(data.basePt.x, data.basePt.y, data.basePt.z);
    dialog.m_parms = data.parms;
    dialog.m_nUnit = data.unit;
    if (!data.material.isEmpty())
        dialog.m_strMat = data.material;
    dialog.m_pLib = library;
    const INT_PTR result = dialog.DoModal();
    if (result == IDOK) {
        data.range = dialog.m_nRange + 1;
        data.filter = dialog.m_nFilter;
        data.code = dialog.m_nCode;
        data.txtMode = dialog.m_nTxtMode;
        const CMavVector3d offset = dialog.m_basePts[dialog.m_nRange][dialog.m_nCode];
        data.basePt = CMavPoint3d(offset.x, offset.y, offset.z);
        data.parms = dialog.m_parms;
        data.unit = static_cast<Mav::lUnit>(dialog.m_nUnit);
        if (!dialog.m_strMat.isEmpty())
            data.material = dialog.m_strMat;
    }
    return static_cast<int>(result);
}

} // namespace MAV
