// CMavUnitsDlg: asks for the drawing's length unit; it insists on an answer (no Cancel, Escape ignored, the
// unitless first entry cannot be confirmed). MAV::dlgUnits opens it.
#pragma once

#include "base/MavEnums.h"
#include "ui/CMavDlg.h"
#include "ui/CMavListBox.h"

class CMavUnitsDlg : public CMavDlg {
    DECLARE_DYNAMIC(CMavUnitsDlg)
public:
    enum { IDD = 2000 };
    explicit CMavUnitsDlg(CWnd* parent = nullptr);

    // The unit: pre-selected when the dialog opens, the user's choice when it closes.
    int m_nUnit = 0;

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void addLangRsc() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void onSelChange();
    CMavListBox m_list;
};

namespace MAV {
// Opens the units dialog with unit pre-selected; returns the unit held when it closes.
Mav::lUnit dlgUnits(const MAV::DlgEnv_st& env, Mav::lUnit unit);
} // namespace MAV
