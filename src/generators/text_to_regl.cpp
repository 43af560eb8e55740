// Texts as outline regions drawn by the host application, through its LISP interface.
//
// Vocabulary: a region list is an outer outline followed by its holes; the host answers with a LISP list of
// regions, each a list of outlines, each a list of vertices (see MAV::fromRb).
#include "generators/text_to_regl.h"

#include "platform/CMavApp.h"
#include "platform/resbuf.h"

bool mav_text_to_regl(const CMavDataItem* text, CMavArrayTempl<CMavArrayTempl<CMavVertexArray>>& regions,
                      double height)
{
    regions.removeAll();
    if (!text)
        return false;
    const CMavString lisp = text->mkLisp();
    MAV::CSmartResbuf args(MAV::rbToList(lisp.c_str()));
    args.appendReal(height);

    CMavApp* app = mavAppPtr();
    if (!app)
        return false;
    MAV::CSmartResbuf result;
    const int rc = app->lispCall(L"mav_text_to_regl", args.head(), result);
    // Only a list (or nil, no regions) is a usable answer; anything else leaves the output empty.
    if (rc == RTNORM && result.head() && (result.head()->restype == RTLB || result.head()->restype == RTNIL)) {
        if (!MAV::fromRb(regions, result.head(), 0))
            regions.removeAll();
    }
    return !regions.isEmpty();
}
