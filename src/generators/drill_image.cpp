// Drill and hole images.
//
// Vocabulary. The "parameters" are the caller's drawing settings (placement "MTX", colour mode "CMODE", stack
// path "STACK", coordinate marker "COORD", active element "ACT"), read from the root entry of the parameter data.
// The host draws drills itself: it gets the display list, the drill's data item and a small parameter item
// holding "MTX" and "CMODE". A hole pattern's elements are the children of its "BT" directory; each has a
// generated object "GEN" whose "TYPE" says what it is ("OUTLINE", "DRILL", or empty for stored polylines) and a
// placement "MTX" (else computed from its position data). The coordinate marker is a point item in colour mode
// 4 at the placement's origin.
#include "generators/drill_image.h"

#include "gdx/CMavGDX.h"
#include "data/CMavApp.h"
#include "data/CMavColor.h"
#include "data/CMavDataItem.h"
#include "data/CMavDataKey.h"
#include "data/datafile.h"
#include "data/outlines.h"
#include "data/patterns.h"
#include "data/solids.h"

namespace {

constexpr unsigned long kPointModeDefault = 0xFFFFFFFFul;
constexpr unsigned long kFlagCModeHighlight = 0x100;  // colour mode 1
constexpr unsigned long kFlagCModeBase = 0x400;       // colour mode 4
constexpr unsigned long kFlagFilledOutlined = 0x11;
constexpr unsigned long kFlagHatchedOutlined = 0x12;

CMavDataItem* rootOf(MAV::CDtaFilePointer* file) { return file ? file->root() : nullptr; }

// A key of the root entry given from the top of the data: an empty text part, then the name.
CMavDataKey rootKey(const wchar_t* name) { return CMavDataKey().appendText(L"").appendText(name); }

// The host's drill drawing with a parameter item of placement and colour mode.
void hostDrill(CMavGDX* gdx, CMavDataItem* drill, const CMavMatrix3d& mtx, int cmode)
{
    CMavDataItem parameters;
    parameters.makeDirectory();
    parameters.setAt(CMavDataKey(L"MTX"), mtx);
    parameters.setAt(CMavDataKey(L"CMODE"), cmode);
    if (CMavApp* app = mavAppPtr())
        app->drillDraw(gdx, drill, &parameters);
}

// The edges of the drill's body, seen along (1, -1, 1) with the x axis along (1, 1, 0): the usual oblique view
// of a workpiece from the front right. Hidden edges are left out.
bool drillSolid(CMavGDX* gdx, const CMavDataItem* drill)
{
    long id = 0;
    if (!MAV::newSolidFromMap(id))
        return false;
    MAV::CSolid* solid = nullptr;
    if (!MAV::getSolidFromMap(solid, id) || !solid || !mavObjModel(solid, drill)) {
        MAV::removeSolidFromMap(id);
        return false;
    }
    const CMavVector3d x = CMavVector3d(1.0, 1.0, 0.0).normal();
    const CMavVector3d z = CMavVector3d(1.0, -1.0, 1.0).normal();
    CMavMatrix3d view;
    view.setCoordSystem(CMavPoint3d(0.0, 0.0, 0.0), x, z.crossProduct(x), z);
    CMavArrayTempl<CMavVertexArrayEx> edges;
    CMavArrayTempl<CMavVertexArrayEx> hidden;
    solid->edgePrepare();
    solid->edgeMode(1);
    solid->edgeGet(view, 0, edges, hidden, 1);

    CMavString layer(L"0");
    MAV::dataItemGet(drill, CMavDataKey(L"PART_SOLID"), layer);
    MAV::CLayerProp prop;
    CMavLayerMgr::physLayerPropGet(layer.c_str(), prop);

    const CMavArrayTempl<int> stack{0};
    const CMavArrayTempl<double> solidLine{1.0};
    for (int i = 0; i < edges.len(); ++i)
        gdx->imageVl(stack, 0, edges[i], prop.color, CMavMatrix3d(), solidLine, 1.0, 0);
    MAV::removeSolidFromMap(id);
    return true;
}

} // namespace

bool mav_gdx_image_drill(CMavGDX* gdx, MAV::CDtaFilePointer* data, MAV::CDtaFilePointer* parameters)
{
    if (!gdx)
        return false;
    const CMavDataItem* settings = rootOf(parameters);
    CMavDataItem* drill = rootOf(data);
    int cmode = 0;
    CMavMatrix3d mtx;
    int coord = 0;
    int view = 0;
    MAV::dataItemGet(settings, CMavDataKey(L"CMODE"), cmode);
    MAV::dataItemGet(settings, CMavDataKey(L"MTX"), mtx);
    const bool marker = MAV::dataItemGet(settings, CMavDataKey(L"COORD"), coord) && coord == 1;
    MAV::dataItemGet(drill, CMavDataKey(L"VIEW"), view);

    if (view == 3)
        return drillSolid(gdx, drill);

    // Plan drawing: the host's items below STACK + {1}, the marker below STACK + {2}.
    CMavArrayTempl<int> stack;
    MAV::dataItemGet(settings, CMavDataKey(L"STACK"), stack);
    stack.append(1);
    hostDrill(gdx, drill, mtx, cmode);
    if (marker) {
        ++stack[stack.len() - 1];
        gdx->imagePt(stack, (static_cast<unsigned long>(cmode) & 0xFFul) | kFlagCModeBase,
                     CMavPoint3d(0.0, 0.0, 0.0), CMavColor(7), CMavMatrix3d(), 0.0, kPointModeDefault);
    }
    return true;
}

bool mav_gdx_image_hole(CMavGDX* gdx, MAV::CDtaFilePointer* data, MAV::CDtaFilePointer* parameters)
{
    if (!gdx)
        return false;
    if (!data) {
        // The hole the host offers. Entity data stays open with the data library for the session.
        ads_name entity = {0, 0};
        CMavApp* app = mavAppPtr();
        if (app && app->entityGet(entity, L"HOLE", true))
            data = MAV::dtaOpen(MAV::kDataEntity, MAV::kDataReadWrite, entity, nullptr, nullptr);
        if (!data)
            return true;
    }

    const CMavDataItem* settings = rootOf(parameters);
    CMavString act;
    CMavMatrix3d mtx;
    int cmode = 0;
    bool coord = false;
    MAV::dataItemGet(settings, CMavDataKey(L"ACT"), act);
    MAV::dataItemGet(settings, CMavDataKey(L"MTX"), mtx);
    MAV::dataItemGet(settings, CMavDataKey(L"CMODE"), cmode);
    MAV::dataItemGet(settings, CMavDataKey(L"COORD"), coord);

    const CMavDataItem* top = data->top();
    CMavString draw, partCon, partFill;
    MAV::CHatchProp hatch;
    MAV::dataItemGet(top, rootKey(L"DRAW"), draw);
    MAV::dataItemGet(top, rootKey(L"PART_CON"), partCon);
    MAV::dataItemGet(top, rootKey(L"PART_FILL"), partFill);
    MAV::dataItemGet(top, rootKey(L"HPNAME"), hatch.name);
    MAV::dataItemGet(top, rootKey(L"HPSCALE"), hatch.scale);
    MAV::dataItemGet(top, rootKey(L"HPANG"), hatch.angle);
    CMavColor contour, fill;
    MAV::layer_color(contour, partCon.c_str());
    MAV::layer_color(fill, partFill.c_str());

    const CMavArrayTempl<int> noStack;
    const CMavArrayTempl<double> solidLine{1.0};
    const CMavMatrix3d identity;
    const CMavDataItem* bt = top ? top->get(CMavDataKey(L"BT")) : nullptr;
    for (MAV::CDataIterator it(bt && bt->isDir() ? bt : nullptr); it.valid(); it.next()) {
        CMavDataItem* element = it.item();
        if (element->keyType() != MAV::kKeyText && element->keyType() != MAV::kKeyName)
            continue;
        const CMavString name = element->keyPart().text;
        CMavDataItem* gen = element->get(CMavDataKey(L"GEN"));
        CMavString type;
        MAV::dataItemGet(gen, CMavDataKey(L"TYPE"), type);

        CMavMatrix3d local;
        if (!MAV::dataItemGet(element, CMavDataKey(L"MTX"), local))
            MAV::g_mtx_local(element, local, 0, -1);
        const CMavMatrix3d place = mtx * local;
        const bool active = name == act;
        const int elementMode = active ? 1 : cmode;

        if (coord && active)
            gdx->imagePt(noStack, kFlagCModeHighlight, place * CMavPoint3d(0.0, 0.0, 0.0), CMavColor(7), identity,
                         0.0, kPointModeDefault);

        CMavArrayTempl<CMavVertexArray> outlines;
        if (type == L"OUTLINE") {
            // One polyline whether or not the outline could be built: an element always adds the same items, so
            // the numbers of the items after it do not depend on whether its outline data is complete.
            CMavVertexArray vl;
            MAV::g_outline(vl, gen, -1);
            outlines.append(vl);
        } else if (type.isEmpty()) {
            MAV::dataItemGet(gen, outlines);
        }

        if (type == L"DRILL") {
            if (gen) {
                MAV::objGen(gen, 0);
                hostDrill(gdx, gen, place, elementMode);
            }
        } else {
            const unsigned long flags = (static_cast<unsigned long>(elementMode) & 15ul) << 8;
            for (int i = 0; i < outlines.len(); ++i) {
                CMavArrayTempl<CMavVertexArray> region;
                region.append(outlines[i].getTransformedCopy(place));
                gdx->imageVl(noStack, flags, region[0], contour, identity, solidLine, 1.0, 0);
                if (draw == L"F")
                    gdx->imageReg(noStack, kFlagFilledOutlined, region, contour, identity, solidLine, 1.0, 0, fill,
                                  MAV::CHatchProp());
                else if (draw == L"S")
                    gdx->imageReg(noStack, kFlagHatchedOutlined, region, contour, identity, solidLine, 1.0, 0, fill,
                                  hatch);
            }
        }

        if (coord)
            gdx->imagePt(noStack, kFlagCModeBase, CMavPoint3d(0.0, 0.0, 0.0) + mtx.translation(), CMavColor(),
                         identity, 0.0, kPointModeDefault);
    }
    return true;
}
