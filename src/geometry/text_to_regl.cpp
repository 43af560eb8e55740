// Texts as outline regions drawn by the host application, through its LISP interface.
//
// Vocabulary: a region list is an outer outline followed by its holes; the host answers with a LISP list of
// regions, each a list of outlines, each a list of vertices (see MAV::fromRb).
#include "geometry/text_to_regl.h"

#include <cwctype>

#include "geometry/font.h"
#include "data/CMavApp.h"
#include "data/resbuf.h"

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

namespace {

bool sameKey(const wchar_t* a, const wchar_t* b)
{
    for (; *a && *b; ++a, ++b) {
        if (std::towupper(static_cast<wint_t>(*a)) != std::towupper(static_cast<wint_t>(*b)))
            return false;
    }
    return *a == *b;
}

// The string value of the item's (key . "value") pair at the top level of the item's list, or null.
const wchar_t* pairText(const resbuf* args, const wchar_t* key)
{
    int depth = 0;
    for (const resbuf* rb = args; rb; rb = rb->rbnext) {
        if (rb->restype == RTLB) {
            const resbuf* k = rb->rbnext;
            const resbuf* v = k ? k->rbnext : nullptr;
            const resbuf* end = v ? v->rbnext : nullptr;
            if (depth == 1 && end && end->restype == RTDOTE && k->restype == RTSTR && v->restype == RTSTR &&
                k->resval.rstring && v->resval.rstring && sameKey(k->resval.rstring, key))
                return v->resval.rstring;
            ++depth;
        } else if (rb->restype == RTLE || rb->restype == RTDOTE) {
            --depth;
        }
    }
    return nullptr;
}

// The height: the real that follows the item's list.
bool trailingReal(const resbuf* args, double& value)
{
    const resbuf* last = args;
    while (last && last->rbnext)
        last = last->rbnext;
    if (!last || last->restype != RTREAL)
        return false;
    value = last->resval.rreal;
    return true;
}

struct BuiltinTextInstaller {
    BuiltinTextInstaller() { MAV::CDefaultApp::instance().lispRegister(L"mav_text_to_regl", &MAV::fontTextToRegl); }
};
const BuiltinTextInstaller g_builtinTextInstaller;

}  // namespace

namespace MAV {

int fontTextToRegl(const resbuf* args, CSmartResbuf& result)
{
    result.reset();
    const wchar_t* text = pairText(args, L"TXT");
    double height = 0.0;
    if (!text || !trailingReal(args, height) || !(height > 0.0) || !(height < 1e300))
        return RTERROR;
    const CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> regions =
        fontTextLayout(text, pairText(args, L"ALIGN"), CMavPoint3d());
    if (regions.isEmpty()) {
        result.appendNil();
        return RTNORM;
    }
    // Every outline is closed, so its vertices are the starts of its segments; the reader closes it again.
    result.appendListBegin();
    for (const CMavArrayTempl<CMavVertexArray>& region : regions) {
        result.appendListBegin();
        for (const CMavVertexArray& outline : region) {
            result.appendListBegin();
            for (const CMavVertex& v : outline)
                result.appendPoint(CMavPoint3d(v.start.x * height, v.start.y * height, 0.0));
            result.appendListEnd();
        }
        result.appendListEnd();
    }
    result.appendListEnd();
    return RTNORM;
}

}  // namespace MAV
