// The machining edit bridge. The host's hole dialog works on the data of the selected "HOLE" entity and on the
// configuration value "*HOLE*\BT"; this function moves the caller's pattern there before the call and back after a
// confirmed edit. The mapping between the two places:
//   caller's item              entity data
//   root entry ("")            root entry ("")
//   "LABEL", "ORDER" (texts)   ("", "LABEL"), ("", "ORDER")
//   "HOLE" (directory)         "BT"
#include "dialogs/dlgBgr.h"

#include "data/CMavApp.h"
#include "data/CMavDataItem.h"
#include "data/config.h"
#include "data/datafile.h"
#include "data/outlines.h"

namespace {

const wchar_t* const kOutlineSection = L"*MAV_OUTLINE*";
const wchar_t* const kHoleDialog = L"krv_hole_dial";

CMavDataKey textKey(const wchar_t* a) { return CMavDataKey().appendText(a); }
CMavDataKey textKey(const wchar_t* a, const wchar_t* b) { return CMavDataKey().appendText(a).appendText(b); }

// The configuration value that carries the selected element into the host dialog and back.
CMavDataKey elementKey() { return textKey(L"*HOLE*", L"BT"); }

void stage(MAV::CDtaFilePointer* data, CMavDataItem* item, const CMavString& element)
{
    if (item) {
        // The entity's data lasts the session: what the caller's pattern lacks is taken away, or the host dialog
        // would show (and a confirmed edit hand back) what an earlier pattern left there.
        if (CMavDataItem* top = data->top()) {
            top->remove(textKey(L""));
            top->remove(textKey(L"BT"));
        }
        if (const CMavDataItem* root = item->get(textKey(L"")))
            data->set(textKey(L""), root);
        CMavDataItem* dataRoot = data->root(true);
        for (const wchar_t* name : {L"LABEL", L"ORDER"}) {
            CMavString text;
            item->get(text, textKey(name));
            if (dataRoot)
                dataRoot->setAt(textKey(name), text);
        }
        if (const CMavDataItem* holes = item->get(textKey(L"HOLE")))
            data->set(textKey(L"BT"), holes);
    }
    MAV::dataItemSet(MAV::CConfig::getCfgRoot(), elementKey(), element);
}

void takeBack(MAV::CDtaFilePointer* data, CMavDataItem* item, CMavString& element)
{
    if (item) {
        if (const CMavDataItem* root = data->root())
            item->setItem(textKey(L""), *root, 1);
        for (const wchar_t* name : {L"LABEL", L"ORDER"}) {
            CMavString text;
            if (const CMavDataItem* dataRoot = data->root())
                dataRoot->get(text, textKey(name));
            item->setAt(textKey(name), text);
        }
        if (const CMavDataItem* holes = data->get(textKey(L"BT")))
            item->setItem(textKey(L"HOLE"), *holes, 1);
    }
    CMavString name;
    if (MAV::dataItemGet(MAV::CConfig::getCfgRoot(), elementKey(), name))
        element = name;
}

} // namespace

namespace MAV {

int dlgBgr(const DlgEnv_st&, CMavString& element, CMavDataItem* item, CMavDataItem*)
{
    if (!cfg_get(kOutlineSection))
        mavOutlineInit(cfg_dir_make(kOutlineSection));

    CMavApp* app = mavAppPtr();
    if (!app)
        return 0;
    ads_name entity = {0, 0};
    const bool hasEntity = app->entityGet(entity, L"HOLE", true);
    CDtaFilePointer* data = hasEntity ? dtaOpen(kDataEntity, kDataReadWrite, entity, nullptr, nullptr) : nullptr;
    if (data)
        stage(data, item, element);

    CSmartResbuf result;
    const int code = app->lispCall(kHoleDialog, nullptr, result);
    int answer = 0;
    if (code == RTNORM) {
        const resbuf* value = result.head();
        if (!value || (value->restype != RTSHORT && value->restype != RTLONG)) {
            answer = 2;
        } else {
            const long v = value->restype == RTSHORT ? value->resval.rint : value->resval.rlong;
            if (v == 0) {
                answer = 2;
            } else if (v == 1) {
                if (hasEntity) {
                    // The host dialog may have closed and reopened the entity's data; the data library hands out
                    // the same pointer while it is open, another one after it was closed (closing the earlier
                    // one again then does nothing).
                    CDtaFilePointer* again = dtaOpen(kDataEntity, kDataReadWrite, entity, nullptr, nullptr);
                    if (again != data) {
                        dtaClose(data);
                        data = again;
                    }
                    if (data)
                        takeBack(data, item, element);
                }
                answer = 1;
            }
        }
    }
    dtaClose(data);
    return answer;
}

} // namespace MAV
