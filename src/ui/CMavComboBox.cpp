// CMavComboBox: typed values in a combo box. The box keeps no value of its own: its value is always its text,
// read by type (shown lengths divided by the unit factor, degrees turned into radians). When it loses the focus
// the text is corrected silently (a beep for zero and negative values) and written again in the box's format.
// Owner-drawn lists paint chosen rows on a background 5 % nearer to white (dark backgrounds) or black (light ones).
#include "ui/CMavComboBox.h"

#include <cfloat>

#include "afx/CDC.h"
#include "base/text.h"
#include "data/units.h"
#include "ui/numeric.h"

IMPLEMENT_DYNAMIC(CMavComboBox, CComboBox)

CMavComboBox::CMavComboBox() : m_dMin(-DBL_MAX), m_dMax(DBL_MAX) {}

bool CMavComboBox::setEditFlags(type t, unsigned short flags, short precision, double min, double max)
{
    m_nType = t;
    m_nFlags = flags;
    if (t != typeInt && t != typeLength && t != typeAngle)
        return true;
    if ((t == typeLength || t == typeAngle) && precision != -1)
        m_nPrec = static_cast<unsigned short>(precision);
    m_dMin = min < max ? min : max;
    m_dMax = min < max ? max : min;
    return true;
}

bool CMavComboBox::getEditFlags(type& t, unsigned short& flags, unsigned short& precision, double& min,
                                double& max) const
{
    t = m_nType;
    flags = m_nFlags;
    precision = m_nPrec;
    min = m_dMin;
    max = m_dMax;
    return true;
}

bool CMavComboBox::setFormat(Mav::lFormat format)
{
    m_lFormat = format;
    return true;
}

bool CMavComboBox::setLUnits(Mav::lUnit first, Mav::lUnit second)
{
    m_scale.set(first, second);
    return true;
}

bool CMavComboBox::formatVal(CString& out, double x) const
{
    switch (m_nType) {
    case typeNone:
        return false;
    case typeInt:
        out.Format(L"%d", MAV::truncInt(x));
        return true;
    case typeLength:
        // The list shows values as given: no switch to a decimal form for lengths below the finest fraction.
        MAV::formatLength(out, x, m_nPrec, m_nFlags, m_lFormat, false);
        return true;
    case typeAngle:
        MAV::formatAngle(out, x, m_nPrec, m_nFlags);
        return true;
    default:
        return true;
    }
}

double CMavComboBox::textValue(const CString& text) const
{
    switch (m_nType) {
    case typeLength:
        return m_scale.toValue(mavAtoF(text));
    case typeAngle:
        return MAV::atof(text) * MAV::kPi / 180.0;
    default:
        return mavAtoF(text);
    }
}

bool CMavComboBox::setVal(double v)
{
    CString text;
    if (m_nType == typeLength)
        formatVal(text, m_scale.toShown(v));
    else if (m_nType == typeAngle)
        formatVal(text, v);
    else
        return false;
    if (m_hWnd)
        SetWindowText(text);
    return true;
}

bool CMavComboBox::setVal(int v)
{
    if (m_nType != typeInt)
        return false;
    CString text;
    formatVal(text, static_cast<double>(v));
    if (m_hWnd)
        SetWindowText(text);
    return true;
}

bool CMavComboBox::getVal(double& v)
{
    if (m_nType != typeInt && m_nType != typeLength && m_nType != typeAngle)
        return false;
    CString text;
    if (m_hWnd)
        GetWindowText(text);
    v = textValue(text);
    return true;
}

bool CMavComboBox::getVal(int& v)
{
    if (m_nType != typeInt)
        return false;
    CString text;
    if (m_hWnd)
        GetWindowText(text);
    v = MAV::atoi(text);
    return true;
}

int CMavComboBox::AddVal(double v)
{
    CString text;
    formatVal(text, m_nType == typeLength ? m_scale.toShown(v) : v);
    return AddString(text);
}

int CMavComboBox::InsertVal(int index, double v)
{
    CString text;
    formatVal(text, m_nType == typeLength ? m_scale.toShown(v) : v);
    return InsertString(index, text);
}

void CMavComboBox::setAltBackgr(const CMavArrayTempl<int>& rows)
{
    m_altRows.clear();
    for (int row : rows)
        m_altRows.insert(row);
}

void CMavComboBox::getAltBackgr(CMavArrayTempl<int>& rows) const
{
    rows.removeAll();
    for (int row : m_altRows)
        rows.append(row);
}

void CMavComboBox::PreSubclassWindow()
{
    CComboBox::PreSubclassWindow();
}

BOOL CMavComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND && HIWORD(wParam) == CBN_KILLFOCUS) {
        OnKillfocus();
        if (result)
            *result = 0;
        return TRUE;
    }
    return CComboBox::OnChildNotify(message, wParam, lParam, result);
}

void CMavComboBox::OnKillfocus()
{
    if (m_nType == typeNone)
        return;
    CString text;
    GetWindowText(text);
    double value = 0.0;
    if (text.IsEmpty()) {
        if (!(m_nFlags & flagRequired))
            return;
        // A required box is never left empty: zero when zero is allowed, else the smallest allowed value.
        if (!(m_nFlags & flagNoZero))
            value = 0.0;
        else if (m_nFlags & flagLimits)
            value = m_dMin;
        else
            value = 1.0;
    } else {
        value = textValue(text);
    }
    if ((m_nFlags & flagNoNegative) && value < 0.0) {
        ::MessageBeep(MB_ICONASTERISK);
    } else if ((m_nFlags & flagNoZero) && value == 0.0) {
        value = 1.0;
        ::MessageBeep(MB_ICONASTERISK);
    } else if (m_nFlags & flagLimits) {
        if (value < m_dMin)
            value = m_dMin;
        else if (value > m_dMax)
            value = m_dMax;
    }
    if (m_nType == typeInt)
        setVal(MAV::truncInt(value));
    else if (m_nType == typeLength || m_nType == typeAngle)
        setVal(value);
}

void CMavComboBox::DrawItem(LPDRAWITEMSTRUCT item)
{
    if (!m_hWnd || !item || !item->hDC)
        return;
    const int index = static_cast<int>(item->itemID);
    CString text;
    if (index >= 0)
        GetLBText(index, text);
    HDC dc = item->hDC;
    const COLORREF oldText = ::GetTextColor(dc);
    const COLORREF oldBack = ::GetBkColor(dc);
    COLORREF back = oldBack;
    // The selection colours belong to a change of selection; a row merely repainted whole keeps its own look
    // (the list's current row is marked through its focus state).
    const bool selected = (item->itemAction & ODA_SELECT) && (item->itemState & ODS_SELECTED);
    if (selected || (item->itemState & ODS_FOCUS)) {
        ::SetTextColor(dc, ::GetSysColor(COLOR_HIGHLIGHTTEXT));
        back = ::GetSysColor(COLOR_HIGHLIGHT);
    } else if (!(item->itemState & ODS_COMBOBOXEDIT) && m_altRows.count(index)) {
        const int r = GetRValue(oldBack), g = GetGValue(oldBack), b = GetBValue(oldBack);
        // Dark backgrounds lighten, light ones darken, by the same small step.
        const double target = (r + 2 * g) / 3 < 129 ? 255.0 : 0.0;
        auto mix = [target](int channel) { return static_cast<int>(target * 0.05 + channel * 0.95); };
        back = RGB(mix(r), mix(g), mix(b));
    } else if (item->itemState & ODS_DISABLED) {
        ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
    }
    ::SetBkColor(dc, back);
    RECT rc = item->rcItem;
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    ::InflateRect(&rc, -1, -1);
    ::DrawTextW(dc, text.GetString(), static_cast<int>(text.GetLength()), &rc,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
}
