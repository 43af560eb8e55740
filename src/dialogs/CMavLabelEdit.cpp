// CMavLabelEdit: a resizable dialog around the language list, with Import, OK and Cancel along the bottom right.
//
// Import: the message server is a separate program in which the user picks a message key; its texts in every
// language of the country table become the label. A server that fails or goes away in the middle raises an
// automation exception; the dialog reports it and stays as it was.
#include "dialogs/CMavLabelEdit.h"

#include "afx/CException.h"
#include "afx/CWinApp.h"
#include "base/countries.h"
#include "base/win/automation.h"
#include "data/labels.h"
#include "data/messages.h"
#include "resource.h"
#include "ui/IMavMsgDlg.h"
#include "ui/rscAppDispatch.h"

IMPLEMENT_DYNAMIC(CMavLabelEdit, CMavDlg)

namespace {

const int kMargin = 12;
const int kButtonGap = 6;
const int kMinWidth = 300;
const int kMinHeight = 150;

IDispatch* runningServer()
{
    return MAV::dispatchFromProgID(L"Mav_Msg.App");
}

CMavLabelEdit::ServerFcn g_serverFcn = &runningServer;

} // namespace

CMavLabelEdit::ServerFcn CMavLabelEdit::setServerFcn(ServerFcn fcn)
{
    ServerFcn previous = g_serverFcn;
    g_serverFcn = fcn ? fcn : &runningServer;
    return previous;
}

CMavLabelEdit::CMavLabelEdit(CWnd* parent) : CMavDlg(IDD, parent)
{
    m_hIcon = static_cast<HICON>(::LoadImageW(AfxFindResourceHandle(MAKEINTRESOURCEW(IDI_MAV_APP), RT_GROUP_ICON),
                                              MAKEINTRESOURCEW(IDI_MAV_APP), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    m_startLang = country();
}

CMavLabelEdit::~CMavLabelEdit()
{
    if (m_hIcon)
        ::DestroyIcon(m_hIcon);
}

void CMavLabelEdit::addLangRsc()
{
    m_mapLangKey.SetAt(IDC_LABEL_IMPORT, L"MAV_MFC_0008");
    m_mapLangDef.SetAt(IDC_LABEL_IMPORT, L"Import");
    m_mapLangKey.SetAt(IDOK, L"DLG_001");
    m_mapLangDef.SetAt(IDOK, L"Ok");
    m_mapLangKey.SetAt(IDCANCEL, L"DLG_002");
    m_mapLangDef.SetAt(IDCANCEL, L"Abbrechen");
}

// The title is the catalogue's text in the current language, looked up directly rather than in the dialog's.
bool CMavLabelEdit::updLang()
{
    if (m_hWnd)
        SetWindowText(mav_msg_get(L"MAV_", L"MAV_MFC_0009", L"Bezeichnung", nullptr));
    return CMavDlg::updLang();
}

BOOL CMavLabelEdit::OnInitDialog()
{
    CMavDlg::OnInitDialog();
    m_list.SubclassDlgItem(IDC_LABEL_LIST, this);
    layout();
    if (m_hIcon) {
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    }
    MAV::aboutMenuAdd(this, country());
    m_list.setMultiLine(m_bMultiLine);
    const CMavString label = m_label;
    m_list.fill(label, m_startLang);
    m_list.SetFocus();
    return FALSE;
}

void CMavLabelEdit::layout()
{
    if (!m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    int width = 0, height = 0, n = 0;
    for (int id : {static_cast<int>(IDC_HELP_BUTTON), IDCANCEL, IDOK, IDC_LABEL_IMPORT}) {
        HWND button = ::GetDlgItem(m_hWnd, id);
        if (!button)
            continue;
        CRect r;
        ::GetWindowRect(button, &r);
        if (n == 0) {
            width = r.Width();
            height = r.Height();
        }
        const int right = client.Width() - kMargin - n * (width + kButtonGap);
        const int bottom = client.Height() - kMargin;
        ::InvalidateRect(button, nullptr, TRUE);
        ::MoveWindow(button, right - width, bottom - height, width, height, TRUE);
        ++n;
    }
    if (HWND list = ::GetDlgItem(m_hWnd, IDC_LABEL_LIST))
        ::MoveWindow(list, kMargin, kMargin, client.Width() - 2 * kMargin,
                     client.Height() - height - 2 * kMargin - kMargin, TRUE);
}

void CMavLabelEdit::OnSize(UINT type, int cx, int cy)
{
    CMavDlg::OnSize(type, cx, cy);
    layout();
}

void CMavLabelEdit::OnGetMinMaxInfo(MINMAXINFO* info)
{
    if (info) {
        info->ptMinTrackSize.x = kMinWidth;
        info->ptMinTrackSize.y = kMinHeight;
    }
}

void CMavLabelEdit::OnSysCommand(UINT id, LPARAM lParam)
{
    if (!MAV::aboutOnSysCommand(this, id, country()))
        CMavDlg::OnSysCommand(id, lParam);
}

BOOL CMavLabelEdit::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_LABEL_IMPORT && HIWORD(wParam) == BN_CLICKED) {
        OnImport();
        return TRUE;
    }
    return CMavDlg::OnCommand(wParam, lParam);
}

void CMavLabelEdit::OnOK()
{
    m_label = m_list.collect();
    EndDialog(IDOK);
}

void CMavLabelEdit::OnImport()
{
    IDispatch* server = g_serverFcn();
    bool started = false;
    if (!server) {
        server = MAV::getRscAppDispatch();
        started = server != nullptr;
        if (server && m_msgFile.isEmpty()) {
            server->Release();
            server = nullptr;
        }
    }
    if (!server) {
        MessageBoxW(GetMsg(L"MAV_MFC_0010", L"Kein Text ausgew\u00e4hlt"), nullptr, MB_ICONEXCLAMATION);
        return;
    }
    importFrom(server, started);
}

void CMavLabelEdit::importFrom(IDispatch* server, bool started)
{
    IMavMsgDlg msg(server); // released with the wrapper
    try {
        if (started) {
            msg.SetCountry(country());
            msg.OpenFile(m_msgFile);
        }
        const CString key = msg.GetSelectedKey();
        if (key.IsEmpty())
            return;
        if (!m_bMultiLine && msg.wGetMsg(key, L"0").Find(L'M') >= 0) {
            MessageBoxW(GetMsg(L"MAV_MFC_0017", L"Mehzeilige Texte nicht m\u00f6glich"), nullptr, MB_ICONEXCLAMATION);
            return;
        }
        CMavString label;
        const MavDlCountry_st* table = mavDlCountrys();
        const int count = mavDlCountryCount();
        for (int i = 0; i < count; ++i) {
            const CString text = msg.wGetMsg(key, table[i].code);
            if (!text.IsEmpty())
                MAV::label_set(label, table[i].code, text);
        }
        if (!label.isEmpty()) {
            m_label = label;
            m_list.fill(m_label, country());
        } else {
            MessageBoxW(GetMsg(L"MAV_MFC_0011", L"Kein Text zugeordnet"), nullptr, MB_ICONEXCLAMATION);
        }
    } catch (COleDispatchException* e) {
        wchar_t text[512] = {};
        e->GetErrorMessage(text, 512);
        e->Delete();
        MessageBoxW(text, nullptr, MB_ICONEXCLAMATION);
    } catch (COleException* e) {
        wchar_t text[512] = {};
        e->GetErrorMessage(text, 512);
        e->Delete();
        MessageBoxW(text, nullptr, MB_ICONEXCLAMATION);
    }
}

namespace MAV {

int dlgLabelEdit(const DlgEnv_st& env, CMavString& label, DWORD flags, const wchar_t* start, const wchar_t* country,
                 const wchar_t* messageFile)
{
    label = start ? start : L"";
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    CMavLabelEdit dlg(env.parentWnd());
    if (messageFile)
        dlg.m_msgFile = messageFile;
    dlg.SetCountry(env.country);
    dlg.m_startLang = country ? country : L"";
    dlg.m_label = label;
    dlg.m_bMultiLine = (flags & 1) != 0;
    const INT_PTR result = dlg.DoModal();
    if (result == IDOK)
        label = dlg.m_label;
    return static_cast<int>(result);
}

} // namespace MAV
