// IMavMsgDlg: the message server "Mav_Msg.App" seen through its dispatch interface.
#pragma once

#include "afx/COleDispatchDriver.h"

// Every operation is one call of the server's member with the dispatch id and types the server publishes; a
// failed call raises COleDispatchException* and the wrapper adds no handling of its own.
class IMavMsgDlg : public COleDispatchDriver {
public:
    IMavMsgDlg() = default;
    // Attaches the object with automatic release.
    IMavMsgDlg(LPDISPATCH pDispatch) : COleDispatchDriver(pDispatch) {}
    IMavMsgDlg(const IMavMsgDlg& dispatchSrc) : COleDispatchDriver(dispatchSrc) {}
    IMavMsgDlg& operator=(const IMavMsgDlg& src)
    {
        COleDispatchDriver::operator=(src);
        return *this;
    }

    enum DispId {
        kGetSelectedKey = 1,
        kOpenFile = 2,
        kSearchKey = 3,
        kGetMsg = 4,
        kWGetMsg = 5,
        kClose = 6,
        kVisible = 7,
        kCountry = 8,
    };

    CString GetSelectedKey();
    int OpenFile(const wchar_t* file);
    int SearchKey(const wchar_t* key);
    CString GetMsg(const wchar_t* key, const wchar_t* arg);
    CString wGetMsg(const wchar_t* key, const wchar_t* arg);
    void Close();
    int GetVisible();
    void SetVisible(int visible);
    CString GetCountry();
    void SetCountry(const wchar_t* country);
};
