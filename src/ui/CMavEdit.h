// CMavEdit: an edit field that holds a typed value (integer, length, angle) with limits, units, number format and
// key words, and checks the user's entry when it loses the focus.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "afx/CEdit.h"
#include "afx/CString.h"
#include "base/MavEnums.h"
#include "ui/numeric.h"

class CMavEdit : public CEdit {
    DECLARE_DYNAMIC(CMavEdit)
public:
    // The kind of value the field holds; values above 3 are kept but format like a plain text field.
    enum type : int { typeNone = 0, typeInt = 1, typeLength = 2, typeAngle = 3 };
    // The flag bits of setEditFlags.
    enum : unsigned short {
        flagRequired = 0x0001,
        flagNoZero = 0x0002,
        flagNoNegative = 0x0004,
        flagLimits = 0x0008,
        flagCompact = 0x0020,
        flagPrecDrawingUnit = 0x0040,
        flagEdited = 0x8000
    };

    CMavEdit();
    ~CMavEdit() override;

    // Type and flags; for lengths and angles a precision above 0; for types 1-3 the limits in either order.
    bool setEditFlags(type t, unsigned short flags, int precision, double min, double max);
    bool getEditFlags(type& t, unsigned short& flags, unsigned short& precision, double& min, double& max) const;
    // -1 re-reads the application's number format; 0 is refused.
    bool setFormat(Mav::lFormat format);
    // The value is stored in `first` and shown in `second` (-1 the drawing's unit).
    bool setLUnits(Mav::lUnit first, Mav::lUnit second);

    // Stores v and shows it (a key word's text when v is a key word's value); keeps the modification flag.
    bool setVal(double v);
    bool setVal(int v);
    // The stored value, or the text while it is being edited; false for a required empty field.
    bool getVal(double& v);
    bool getVal(int& v);

    // Shows value as text and accepts text (any letter case) as value.
    bool setKey(const wchar_t* text, double value);
    bool removeKeys();

    // True while the field shows the message of a refused entry: a window around it must not end or delete it
    // then (the message box takes the focus from whatever had it).
    bool showingError() const { return m_pDeleted != nullptr; }

protected:
    void OnSetFocus(CWnd* oldWnd) override;
    void OnKillFocus(CWnd* newWnd) override;

private:
    bool formatVal(CString& out, double x) const;
    // The key word of value v, null when none.
    const CString* keyText(double v) const;
    bool store(double v, double number);

    double m_dMin;
    double m_dMax;
    double m_dVal;
    MAV::LengthScale m_scale;
    unsigned short m_nPrec = 8;
    unsigned short m_nFlags = 0x21;
    Mav::lFormat m_lFormat;
    type m_nType = typeNone;
    bool* m_pDeleted = nullptr; // set while the error box shows: told when the field is deleted meanwhile
    std::vector<std::pair<double, CString>> m_keys;
};
