// The library's default message function and the library's application object, which installs it at start-up.
#include <utility>

#include "afx/CWinApp.h"
#include "base/text.h"
#include "data/messages.h"
#include "ui/CMavDlg.h"

namespace MAV {

// Results live in a ring of eight strings, so a caller may hold up to eight results at once (a dialog text and its
// default, a formatted message and its parts) without owning them.
const wchar_t* msgFcnDefault(const wchar_t* key, const wchar_t* def, const wchar_t* country)
{
    static CMavString ring[8];
    static int index = 0;
    index = (index + 1) % 8;
    if (country && country[0] == L'0' && country[1] == 0)
        return key;

    // "prefix\KEY\suffix" frames the text of KEY; any other number of parts is a plain key.
    CMavArrayTempl<CMavString> parts;
    CMavString prefix, name(key), suffix;
    if (strTok(key ? key : L"", L"\\", parts, true) == 3) {
        prefix = parts[0];
        name = parts[1];
        suffix = parts[2];
    }
    const wchar_t* text = mav_msg_get(L"MAV_", name, def, country);
    // Composed apart first: the text may be the default, and the default an earlier result held in this slot.
    CMavString composed = prefix;
    composed += CMavString(text);
    composed += suffix;
    ring[index] = std::move(composed);
    return ring[index].c_str();
}

} // namespace MAV

namespace {

class CMavMfcApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        CMavDlg::SetMsgCallBack(&MAV::msgFcnDefault);
        return CWinApp::InitInstance();
    }
};

CMavMfcApp theApp;

} // namespace
