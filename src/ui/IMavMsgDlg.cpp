// The message server's members, each one InvokeHelper or property call.
#include "ui/IMavMsgDlg.h"

namespace {
const BYTE kOneString[] = VTS_BSTR;
const BYTE kTwoStrings[] = VTS_BSTR VTS_BSTR;
} // namespace

CString IMavMsgDlg::GetSelectedKey()
{
    CString result;
    InvokeHelper(kGetSelectedKey, DISPATCH_METHOD, VT_BSTR, &result, nullptr);
    return result;
}

int IMavMsgDlg::OpenFile(const wchar_t* file)
{
    BOOL result = FALSE;
    InvokeHelper(kOpenFile, DISPATCH_METHOD, VT_BOOL, &result, kOneString, file);
    return result;
}

int IMavMsgDlg::SearchKey(const wchar_t* key)
{
    BOOL result = FALSE;
    InvokeHelper(kSearchKey, DISPATCH_METHOD, VT_BOOL, &result, kOneString, key);
    return result;
}

CString IMavMsgDlg::GetMsg(const wchar_t* key, const wchar_t* arg)
{
    CString result;
    InvokeHelper(kGetMsg, DISPATCH_METHOD, VT_BSTR, &result, kTwoStrings, key, arg);
    return result;
}

CString IMavMsgDlg::wGetMsg(const wchar_t* key, const wchar_t* arg)
{
    CString result;
    InvokeHelper(kWGetMsg, DISPATCH_METHOD, VT_BSTR, &result, kTwoStrings, key, arg);
    return result;
}

void IMavMsgDlg::Close()
{
    InvokeHelper(kClose, DISPATCH_METHOD, VT_EMPTY, nullptr, nullptr);
}

int IMavMsgDlg::GetVisible()
{
    BOOL result = FALSE;
    GetProperty(kVisible, VT_BOOL, &result);
    return result;
}

void IMavMsgDlg::SetVisible(int visible)
{
    SetProperty(kVisible, VT_BOOL, visible);
}

CString IMavMsgDlg::GetCountry()
{
    CString result;
    GetProperty(kCountry, VT_BSTR, &result);
    return result;
}

void IMavMsgDlg::SetCountry(const wchar_t* country)
{
    SetProperty(kCountry, VT_BSTR, country);
}
