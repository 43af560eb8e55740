// CMavHoleEdit: the library's "Editieren" dialog for a hole pattern, the default host's answer to the LISP call
// "krv_hole_dial". A host that registers its own "krv_hole_dial" replaces it.
#pragma once

#include "base/CMavString.h"
#include "data/datafile.h"
#include "gdx/CMavGDX.h"
#include "render/CMavDplistImage.h"
#include "ui/CMavDlg.h"
#include "ui/CMavListCtrl.h"

class CMavHoleEdit;

// The element list: position, diameter and depth of a row are edited in place as lengths.
class CMavHoleList : public CMavListCtrl {
    DECLARE_DYNAMIC(CMavHoleList)
public:
    enum Column { colName = 0, colX, colY, colDia, colDepth, colCount };
    CMavHoleEdit* m_pOwner = nullptr;

    int OnAllowEdit(LVHITTESTINFO* hit) override;
    void OnInitEditCtrl(LVHITTESTINFO* hit, CMavEdit* edit) override;
    int OnEndItemEdit(CMavEdit* edit) override;
};

class CMavHoleEdit : public CMavDlg {
    DECLARE_DYNAMIC(CMavHoleEdit)
public:
    enum { IDD = 205 };
    // Edits the hole pattern of the open data (not owned; null shows an empty pattern). The selected element
    // starts as "*HOLE*\BT" of the configuration.
    CMavHoleEdit(MAV::CDtaFilePointer* data, CWnd* parent = nullptr);
    ~CMavHoleEdit() override;

    BOOL OnInitDialog() override;
    // The edited elements back into the data and the selected one into "*HOLE*\BT"; ends with IDOK.
    void OnOK() override;

    // The element names in the list's order, the selected one, and the value of a cell as the data holds it.
    int elementCount() const { return m_names.len(); }
    const CMavString& selected() const { return m_selected; }
    bool cellValue(int row, int column, double& value) const;
    // Stores an edited value of a cell into the working copy and redraws the preview; false for a cell that
    // holds no number.
    bool setCellValue(int row, int column, double value);
    CMavGDX& preview() { return m_gdx; }

protected:
    void addLangRsc() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnSysCommand(UINT id, LPARAM lParam) override;

private:
    void fillList();
    void redraw();
    CMavDataItem* element(int row) const;

    MAV::CDtaFilePointer* m_data;
    MAV::CDtaFilePointer* m_work = nullptr;   // the pattern being edited; into m_data on OK
    MAV::CDtaFilePointer* m_params = nullptr; // the preview's parameters ("ACT", "COORD")
    CMavArrayTempl<CMavString> m_names;
    CMavString m_selected;
    CMavHoleList m_list;
    CMavDplistImage m_preview;
    CMavGDX m_gdx;
};

namespace MAV {

// The default host's "krv_hole_dial": the "Editieren" dialog on the data of the hole entity the host offers.
// Answers RTNORM with the short 1 after OK and 0 after Cancel (also when the dialog cannot be shown).
int holeEditLisp(const resbuf* args, CSmartResbuf& result);

} // namespace MAV
