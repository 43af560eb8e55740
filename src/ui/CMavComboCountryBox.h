// CMavComboCountryBox: a drop-down list of the application's languages, each entry carrying its language code.
#pragma once

#include "ui/CMavComboBox.h"

class CMavComboCountryBox : public CMavComboBox {
    DECLARE_DYNAMIC(CMavComboCountryBox)
public:
    // Selects the first entry whose code equals code, case ignored; 0 for a null code, an empty list or no match.
    int SelectCountry(const wchar_t* code);
    // The code of the selected entry, null when nothing is selected.
    const wchar_t* GetCountry() const;

protected:
    // Makes the box a sorted drop-down list and fills it with every language of the table, the first selected.
    void PreSubclassWindow() override;
    // A box made with Create is bound before the system has built it: it is filled once it has been.
    int OnCreate(LPCREATESTRUCTW cs) override;

private:
    void fill();
};
