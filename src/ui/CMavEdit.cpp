// CMavEdit: typed values in an edit field. A value is kept in its value unit (lengths) or in radians (angles) and
// shown multiplied by the unit factor in the field's number format; what the user types is read back when the
// field loses the focus, checked (required, not negative, not zero, limits, in that order) and either accepted or
// answered with an error box and the previous value or the limit.
//
// Vocabulary: the "stored value" is m_dVal; the "shown number" is the stored value in the display unit (m_scale,
// lengths only); flag 0x8000 ("edited") marks a text typed but not yet accepted, so that getVal reads the text.
#include "ui/CMavEdit.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>

#include "base/text.h"
#include "data/CMavApp.h"
#include "data/units.h"
#include "ui/numeric.h"

IMPLEMENT_DYNAMIC(CMavEdit, CEdit)


CMavEdit::CMavEdit()
    : m_dMin(-DBL_MAX), m_dMax(DBL_MAX), m_dVal(std::numeric_limits<double>::quiet_NaN()),
      m_lFormat(mavAppPtr() ? mavAppPtr()->lFormatGet() : Mav::kFormatDecimal)
{
}

CMavEdit::~CMavEdit()
{
    if (m_pDeleted)
        *m_pDeleted = true;
}

bool CMavEdit::setEditFlags(type t, unsigned short flags, int precision, double min, double max)
{
    m_nType = t;
    m_nFlags = flags;
    if (t != typeInt && t != typeLength && t != typeAngle)
        return true;
    if ((t == typeLength || t == typeAngle) && precision > 0)
        m_nPrec = static_cast<unsigned short>(precision > 0xFFFF ? 0xFFFF : precision);
    m_dMin = min < max ? min : max;
    m_dMax = min < max ? max : min;
    return true;
}

bool CMavEdit::getEditFlags(type& t, unsigned short& flags, unsigned short& precision, double& min,
                            double& max) const
{
    t = m_nType;
    flags = m_nFlags;
    precision = m_nPrec;
    min = m_dMin;
    max = m_dMax;
    return true;
}

bool CMavEdit::setFormat(Mav::lFormat format)
{
    if (format == Mav::kFormatNone)
        return false;
    if (format == Mav::kFormatCurrent)
        m_lFormat = mavAppPtr() ? mavAppPtr()->lFormatGet() : Mav::kFormatDecimal;
    else
        m_lFormat = format;
    return true;
}

bool CMavEdit::setLUnits(Mav::lUnit first, Mav::lUnit second)
{
    m_scale.set(first, second);
    return true;
}

bool CMavEdit::formatVal(CString& out, double x) const
{
    switch (m_nType) {
    case typeNone:
        return false;
    case typeInt:
        out.Format(L"%d", MAV::truncInt(x));
        return true;
    case typeLength:
        MAV::formatLength(out, x, m_nPrec, m_nFlags, m_lFormat, true);
        return true;
    case typeAngle:
        if (MAV::formatAngle(out, x, m_nPrec, m_nFlags))
            out += L"\u00B0";
        return true;
    default:
        return true;
    }
}

const CString* CMavEdit::keyText(double v) const
{
    for (const auto& key : m_keys)
        if (key.first == v || (key.first != key.first && v != v))
            return &key.second;
    return nullptr;
}

bool CMavEdit::setVal(double v)
{
    return store(v, m_nType == typeLength ? m_scale.toShown(v) : v);
}

bool CMavEdit::setVal(int v)
{
    const double d = static_cast<double>(v);
    return store(d, d); // a whole number, without the unit factor
}

// Stores v and shows its key word, or `number` as the field writes numbers, keeping the modification flag. The
// text then shows the stored value: getVal reads that again, not the rounded text.
bool CMavEdit::store(double v, double number)
{
    m_dVal = v;
    m_nFlags = static_cast<unsigned short>(m_nFlags & ~flagEdited);
    CString text;
    if (const CString* key = keyText(v))
        text = *key;
    else
        formatVal(text, number);
    if (m_hWnd) {
        const BOOL modified = GetModify();
        SetWindowText(text);
        SetModify(modified);
    }
    return true;
}

bool CMavEdit::getVal(double& v)
{
    if (!(m_nFlags & flagEdited) && std::isfinite(m_dVal)) {
        v = m_dVal;
        return true;
    }
    CString text;
    if (m_hWnd)
        GetWindowText(text);
    text.Trim();
    if (text.IsEmpty() && (m_nFlags & flagRequired))
        return false;
    for (const auto& key : m_keys) {
        if (text.CompareNoCase(key.second) == 0) {
            v = key.first;
            return true;
        }
    }
    switch (m_nType) {
    case typeLength:
        v = m_scale.toValue(mavAtoF(text));
        break;
    case typeAngle:
        v = MAV::atof(text) * MAV::kPi / 180.0;
        break;
    default:
        v = mavAtoF(text);
        break;
    }
    return true;
}

bool CMavEdit::getVal(int& v)
{
    if (!(m_nFlags & flagEdited) && std::isfinite(m_dVal)) {
        v = MAV::truncInt(m_dVal);
        return true;
    }
    CString text;
    if (m_hWnd)
        GetWindowText(text);
    if (text.IsEmpty() && (m_nFlags & flagRequired))
        return false;
    v = MAV::atoi(text);
    return true;
}

bool CMavEdit::setKey(const wchar_t* text, double value)
{
    for (auto& key : m_keys) {
        if (key.first == value || (key.first != key.first && value != value)) {
            key.second = text ? text : L"";
            return true;
        }
    }
    m_keys.emplace_back(value, CString(text ? text : L""));
    return true;
}

bool CMavEdit::removeKeys()
{
    m_keys.clear();
    return true;
}

void CMavEdit::OnSetFocus(CWnd* oldWnd)
{
    CEdit::OnSetFocus(oldWnd);
    // Everything is selected so that typing replaces the value; only typing from now on counts as a change.
    SetSel(0, -1);
    if (GetModify())
        SetModify(FALSE);
}

void CMavEdit::OnKillFocus(CWnd* newWnd)
{
    if (!GetModify() || m_nType == typeNone) {
        CEdit::OnKillFocus(newWnd);
        return;
    }
    m_nFlags |= flagEdited;
    CString text;
    GetWindowText(text);
    text.TrimLeft();

    const double previous = m_dVal;
    double value = previous;
    CString error;
    if (text.IsEmpty()) {
        if (!(m_nFlags & flagRequired)) {
            // The empty text stands; getVal reads it until setVal sets a value again.
            CEdit::OnKillFocus(newWnd);
            return;
        }
        // The field goes back to its previous value, which still meets the checks below: a host may have set
        // one outside the limits.
        error = MAV::numMsg(L"MAV022", L"Eintragung notwendig");
    } else {
        getVal(value);
        if (const CString* key = keyText(value)) {
            // A key word (typed, or a number that has one) is shown as the word itself.
            const CString word = *key;
            SetWindowText(word);
            m_dVal = value;
            SetModify(TRUE);
            CEdit::OnKillFocus(newWnd);
            return;
        }
        if (m_nType == typeInt && std::isfinite(value))
            value = std::trunc(value); // the checks see the whole number the field will hold: 0.4 is 0
    }
    if ((m_nFlags & flagNoNegative) && value < 0.0) {
        error = MAV::numMsg(L"MAV024", L"Wert darf nicht negativ sein");
        value = previous;
    } else if ((m_nFlags & flagNoZero) && value == 0.0) {
        error = MAV::numMsg(L"MAV023", L"Wert darf nicht Null sein");
        value = previous;
    } else if (m_nFlags & flagLimits) {
        const wchar_t* key = nullptr;
        const wchar_t* def = nullptr;
        if (value < m_dMin) {
            value = m_dMin;
            key = L"MAV_MFC_0001";
            def = L"Wert darf nicht kleiner sein als";
        } else if (value > m_dMax) {
            value = m_dMax;
            key = L"MAV_MFC_0002";
            def = L"Wert darf nicht gr\u00F6\u00DFer sein als";
        }
        if (key) {
            CString limit;
            formatVal(limit, m_nType == typeLength ? m_scale.toShown(value) : value);
            const CString message = MAV::numMsg(key, def);
            error.Format(L"%s %s", message.GetString(), limit.GetString());
        }
    }
    if (!error.IsEmpty()) {
        const CString caption = MAV::numMsg(L"MAV001", L"Fehler");
        // The box runs a message loop in which the window around the field may still go away (a host closing
        // its dialog, the owner destroyed) and delete the field: then nothing of it may be touched.
        bool deleted = false;
        m_pDeleted = &deleted;
        MessageBox(error, caption, MB_TASKMODAL | MB_ICONERROR);
        if (deleted)
            return;
        m_pDeleted = nullptr;
    }
    m_nFlags = static_cast<unsigned short>(m_nFlags & ~flagEdited);
    if (m_nType == typeInt) {
        SetModify(!std::isfinite(previous) || MAV::truncInt(previous) != MAV::truncInt(value));
        setVal(MAV::truncInt(value));
    } else if (m_nType == typeLength || m_nType == typeAngle) {
        SetModify(!(previous == value));
        setVal(value);
    }
    // The default handling tells the parent, which may end a cell's edit there and delete this field: only a
    // field that still exists takes the focus back.
    HWND self = m_hWnd;
    CEdit::OnKillFocus(newWnd);
    if (!error.IsEmpty() && ::IsWindow(self))
        ::SetFocus(self);
}
