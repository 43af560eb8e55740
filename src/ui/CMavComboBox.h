// CMavComboBox: a combo box whose edit part holds a typed value (integer, length, angle) and whose list offers
// values; chosen list rows can be drawn on a slightly different background.
#pragma once

#include <windows.h>

#include <set>

#include "afx/CComboBox.h"
#include "afx/CString.h"
#include "base/CMavArray.h"
#include "base/MavEnums.h"
#include "ui/numeric.h"

class CMavComboBox : public CComboBox {
    DECLARE_DYNAMIC(CMavComboBox)
public:
    // The kind of value the box holds; values above 3 are kept but format like a plain text field.
    enum type : int { typeNone = 0, typeInt = 1, typeLength = 2, typeAngle = 3 };
    enum : unsigned short {
        flagRequired = 0x0001,
        flagNoZero = 0x0002,
        flagNoNegative = 0x0004,
        flagLimits = 0x0008,
        flagCompact = 0x0020,
        flagPrecDrawingUnit = 0x0040
    };

    CMavComboBox();

    // Type and flags; for lengths and angles a precision other than -1; for types 1-3 the limits in either order.
    bool setEditFlags(type t, unsigned short flags, short precision, double min, double max);
    bool getEditFlags(type& t, unsigned short& flags, unsigned short& precision, double& min, double& max) const;
    // Any format is kept; one the formatter does not know leaves texts unchanged.
    bool setFormat(Mav::lFormat format);
    // Values are in `first` and shown in `second` (-1 the drawing's unit).
    bool setLUnits(Mav::lUnit first, Mav::lUnit second);

    // Shows v as the box's text: lengths and angles with the double form, integers with the int form; false for
    // another type.
    bool setVal(double v);
    bool setVal(int v);
    // The value of the text; false for a type that does not match the form.
    bool getVal(double& v);
    bool getVal(int& v);

    // Adds (inserts at index) the shown text of v to the list; the list index.
    int AddVal(double v);
    int InsertVal(int index, double v);
    // The list rows drawn with the alternate background.
    void setAltBackgr(const CMavArrayTempl<int>& rows);
    void getAltBackgr(CMavArrayTempl<int>& rows) const;

    void DrawItem(LPDRAWITEMSTRUCT item) override;
    void PreSubclassWindow() override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    // CBN_KILLFOCUS reflected from the parent: the text is read, corrected silently and shown again.
    void OnKillfocus();

private:
    bool formatVal(CString& out, double x) const;
    // The number the text stands for, by type; shown numbers are divided by the unit factor.
    double textValue(const CString& text) const;

    double m_dMin;
    double m_dMax;
    MAV::LengthScale m_scale;
    unsigned short m_nPrec = 1;
    unsigned short m_nFlags = 0x0001;
    Mav::lFormat m_lFormat = Mav::kFormatDecimal;
    type m_nType = typeNone;
    std::set<int> m_altRows;
};
