// The outline selection: MAV::outlineData (the record a host exchanges with it), CMavOutlineDlg with its live
// preview, the filter dialog, and MAV::dlgOutline.
#pragma once

#include <cstdint>
#include <map>

#include "base/CMavArray.h"
#include "base/CMavPoint3d.h"
#include "base/CMavString.h"
#include "base/CMavVector3d.h"
#include "base/MavEnums.h"
#include "data/CMavDataItem.h"
#include "render/CMavVllImage.h"
#include "ui/CMavComboBox.h"
#include "ui/CMavDlg.h"
#include "ui/CMavEdit.h"
#include "ui/CMavListBox.h"

namespace MAV {

// The outline a host asks for and gets back.
struct outlineData {
    std::int32_t code = 1;      // key of the outline in the outline library
    std::int32_t filter = -1;   // outline groups listed (bits 0 ... 3)
    std::int32_t txtMode = 3;   // the outline's "TXTGEN"
    std::int32_t range = 1;     // value range 1 ... 4 ("1", "10", "100", "1000")
    CMavString material;        // empty: no material is offered
    CMavArrayTempl<double> parms;
    CMavPoint3d basePt;
    Mav::lUnit unit = static_cast<Mav::lUnit>(4);
};

// Opens the outline selection for data from library; 1 on OK (data filled in), 2 on Cancel or for a library that
// is not a directory, 0 for a null library.
int dlgOutline(const MAV::DlgEnv_st& env, MAV::outlineData& data, CMavDataItem* library);

} // namespace MAV

// The choice of outline groups: one row per group, several may be selected.
class CMavOutlineFilterDlg : public CMavDlg {
    DECLARE_DYNAMIC(CMavOutlineFilterDlg)
public:
    enum { IDD = 201 };
    explicit CMavOutlineFilterDlg(CWnd* parent = nullptr);
    int m_nFilter = 15;
    BOOL OnInitDialog() override;

protected:
    void addLangRsc() override;
    void OnOK() override;

private:
    CMavListBox m_list;
};

class CMavOutlineDlg : public CMavDlg {
    DECLARE_DYNAMIC(CMavOutlineDlg)
public:
    enum { IDD = 200 };
    enum { kRows = 6 };
    explicit CMavOutlineDlg(CWnd* parent = nullptr);

    // Refuses with IDCANCEL a library that is not a directory; fills an empty one with the shipped outlines.
    INT_PTR DoModal() override;
    BOOL OnInitDialog() override;

    CMavDataItem* m_pLib = nullptr;
    int m_nCode = 1;
    int m_nFilter = 15;
    int m_nTxtMode = 3;
    int m_nRange = 2; // 0 ... 3
    int m_nUnit;
    CMavString m_strMat;
    CMavArrayTempl<double> m_parms;
    CMavArrayTempl<int> m_signs;
    std::map<int, CMavVector3d> m_basePts[4]; // per range: outline code -> offset (the negated base point)

    // The preview control (its display list holds the outline as group 1).
    CMavVllImage& preview() { return m_preview; }

    // The parameters remembered while the library is loaded, per range index 0 ... 3 and outline code.
    static std::map<int, CMavArrayTempl<double>>& parmCache(int rangeIndex);

protected:
    void addLangRsc() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnSysCommand(UINT id, LPARAM lParam) override;

private:
    const CMavDataItem* outline() const;
    void fillList();
    void showMaterial();
    void applySelection();
    void updatePreview();
    void onEditChanged(int id);
    void onSignButton(int row);
    void onRange(int index);
    void onFilter();
    void onMaterial();
    CMavString msg(const CMavString& key);

    CMavComboBox m_list;
    CMavEdit m_editX, m_editY;
    CMavEdit m_edits[kRows];
    CMavVllImage m_preview;
};
