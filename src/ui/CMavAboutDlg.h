// CMavAboutDlg: the About box with the library's icon, product name, version and maker.
#pragma once

#include "ui/CMavDlg.h"

class CMavAboutDlg : public CMavDlg {
    DECLARE_DYNAMIC(CMavAboutDlg)
public:
    enum { IDD = 210 };
    explicit CMavAboutDlg(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;

    // A string of the library's version resource ("ProductName", "FileVersion", "CompanyName"); empty when absent.
    static CString versionString(const wchar_t* name);

protected:
    void addLangRsc() override;
};
