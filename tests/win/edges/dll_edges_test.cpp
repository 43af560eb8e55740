// Bad input at the edges of the DLL: every exported function of the display list, the registry, drawing, the
// generators and geometry that takes a pointer or a count from a host, called with nulls, empty texts, negative
// and huge counts and indices. Each answers with its documented result; none may crash or allocate without bound.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "afx/CDC.h"
#include "afx/CGdiObject.h"
#include "../ui/ui_test_support.h"
#include "base/text.h"
#include "data/CMavApp.h"
#include "data/CMavDataItem.h"
#include "data/datafile.h"
#include "data/messages.h"
#include "data/outlines.h"
#include "dialogs/CMavLabelEdit.h"
#include "dialogs/CMavMatTreeDlg.h"
#include "dialogs/CMavOutlineDlg.h"
#include "dialogs/CMavUnitsDlg.h"
#include "dialogs/dlgBgr.h"
#include "gdx/CMavGDX.h"
#include "gdx/gdxMap.h"
#include "generators/drill_image.h"
#include "generators/generators.h"
#include "generators/sld_image.h"
#include "generators/wall_image.h"
#include "geometry/font.h"
#include "geometry/hatch.h"
#include "geometry/measure.h"
#include "geometry/text_to_regl.h"
#include "geometry/viewdir.h"
#include "render/MavBitmap.h"
#include "render/MavRender.h"
#include "ui/IMavMsgDlg.h"
#include "ui/numeric.h"
#include "ui/rscAppDispatch.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

CMavVertexArray square(double x0, double y0, double x1, double y1)
{
    CMavVertexArray vl;
    vl.append(CMavPoint3d(x0, y0, 0), CMavPoint3d(x1, y0, 0));
    for (const CMavPoint3d& p : {CMavPoint3d(x1, y1, 0), CMavPoint3d(x0, y1, 0), CMavPoint3d(x0, y0, 0)})
        vl.appendTo(p);
    return vl;
}

CMavArrayTempl<int> path(std::initializer_list<int> parts) { return CMavArrayTempl<int>(parts); }

// A host's own list, not in the registry: a polyline in group 1 and a point in group 2 (its last item).
CMavGDX twoItems()
{
    CMavGDX gdx(CMavColor(7), CMavMatrix3d(), 2.0, 0, CMavPoint3d(0, 0, 0), CMavPoint3d(100, 100, 0));
    gdx.imageVl(path({1}), 0, square(0, 0, 10, 10), CMavColor(1), CMavMatrix3d(), {}, 1.0, 1);
    gdx.imagePt(path({2}), 0, CMavPoint3d(50, 50, 0), CMavColor(3), CMavMatrix3d(), 1.0, 0);
    return gdx;
}

std::wstring tempPath(const wchar_t* name)
{
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

bool isMetafile(const std::wstring& file)
{
    HENHMETAFILE emf = GetEnhMetaFileW(file.c_str());
    return emf && DeleteEnhMetaFile(emf);
}

int g_generatorCalls = 0;
CMavGDX* g_generatorList = nullptr;
bool recordingGenerator(CMavGDX* gdx, MAV::CDtaFilePointer* data, MAV::CDtaFilePointer* parameters)
{
    ++g_generatorCalls;
    g_generatorList = gdx;
    return data == nullptr && parameters == nullptr;
}

// Runs a ready-made dialog's entry function and cancels the dialog as soon as it shows; false when none came up.
template <class F>
bool cancelled(F open)
{
    uitest::Script cancel([](HWND d) { ::PostMessageW(d, WM_COMMAND, IDCANCEL, 0); });
    open();
    return uitest::Script::finished();
}

int g_waits = 0;
void countWait(DWORD) { ++g_waits; }

struct Edge {
    const char* function;
    std::function<void()> check;
};

const std::vector<Edge>& edges()
{
    static const std::vector<Edge> table = {
        // ---- the display list
        {"CMavGDX per-item getters", [] {
             const CMavGDX gdx = twoItems();
             // Negative numbers count from the end; beyond either end a default item answers.
             EXPECT_EQ(gdx.typeGet(-1), kDispPoint);
             EXPECT_EQ(gdx.typeGet(-2), kDispPolyline);
             for (int bad : {-3, 2, INT_MAX, INT_MIN}) {
                 EXPECT_EQ(gdx.typeGet(bad), kDispNone) << bad;
                 EXPECT_EQ(gdx.flagGet(bad), 0u);
                 EXPECT_STREQ(gdx.txtGet(bad), L"");
                 EXPECT_STREQ(gdx.txtAlignGet(bad), L"");
                 CMavVertexArray vl = square(0, 0, 1, 1);
                 gdx.geomGet(vl, bad);
                 EXPECT_EQ(vl.len(), 0);
                 CMavArrayTempl<CMavVertexArray> regl;
                 gdx.geomGet(regl, bad);
                 EXPECT_EQ(regl.len(), 0);
                 CMavString file = L"x";
                 int icon = 5;
                 gdx.pictureGet(bad, file, icon); // the default item's: no file
                 EXPECT_EQ(file, CMavString(L""));
                 MAV::CHatchProp hatch;
                 EXPECT_FALSE(gdx.hatchGet(bad, hatch));
             }
             EXPECT_EQ(gdx.lenGet(), 2); // reading never grows the list
         }},
        {"CMavGDX group setters (empty and unknown paths)", [] {
             CMavGDX gdx = twoItems();
             for (const CMavArrayTempl<int>& p : {path({}), path({99}), path({1, 2, 3}), path({INT_MIN})}) {
                 EXPECT_FALSE(gdx.mtxSet(p, CMavMatrix3d::translation({1, 1, 0})));
                 EXPECT_FALSE(gdx.cModeSet(p, GDX_CMODE_HIGHLIGHT));
                 EXPECT_FALSE(gdx.propSet(p, 1));
                 EXPECT_FALSE(gdx.pdModeSet(p, 3));
                 EXPECT_FALSE(gdx.pdSizeSet(p, 4.0));
                 EXPECT_FALSE(gdx.clear(p));
                 EXPECT_FALSE(gdx.removeItemStack(p));
                 if (p.len() > 0) {
                     EXPECT_EQ(gdx.StackToItemNr(p).len(), 0);
                 }
             }
             EXPECT_EQ(gdx.lenGet(), 2);
             EXPECT_EQ(gdx.flagGet(0), 0u);
             // Unknown property codes reach the group and change nothing.
             EXPECT_TRUE(gdx.propSet(path({1}), 0));
             EXPECT_TRUE(gdx.propSet(path({1}), ULONG_MAX));
             EXPECT_EQ(gdx.flagGet(0), 0u);
         }},
        {"CMavGDX::reserveItems", [] {
             CMavGDX gdx = twoItems();
             // A count is a hint: negative, absurd and overflowing counts reserve nothing and lose nothing.
             for (int count : {-1, INT_MIN, 0, INT_MAX, INT_MAX - 1, 1 << 30})
                 gdx.reserveItems(count);
             EXPECT_EQ(gdx.lenGet(), 2);
             gdx.imagePt(path({3}), 0, CMavPoint3d(1, 2, 0), CMavColor(1), CMavMatrix3d(), 1.0, 0);
             EXPECT_EQ(gdx.lenGet(), 3);
             EXPECT_EQ(gdx.typeGet(2), kDispPoint);
         }},
        {"CMavGDX item creation with null and empty input", [] {
             CMavGDX gdx(CMavColor(7), CMavMatrix3d(), 2.0, 0, CMavPoint3d(), CMavPoint3d(1, 1, 0));
             gdx.imagePicture(path({}), 0, nullptr, -1, CMavPoint3d(), CMavPoint3d());
             EXPECT_EQ(gdx.typeGet(0), kDispPicture);
             CMavString file = L"x";
             int icon = 0;
             EXPECT_TRUE(gdx.pictureGet(0, file, icon));
             EXPECT_EQ(file, CMavString(L""));
             EXPECT_EQ(icon, -1);
             EXPECT_FALSE(gdx.imageTxt(path({1}), 0, static_cast<const CMavDataItem*>(nullptr), CMavColor(1),
                                       CMavMatrix3d(), 10.0));
             CMavDataItem plain;
             plain.set(5);
             EXPECT_FALSE(gdx.imageTxt(path({1}), 0, &plain, CMavColor(1), CMavMatrix3d(), 10.0));
             EXPECT_EQ(gdx.lenGet(), 1);
             EXPECT_TRUE(gdx.imageTxt(path({2}), 0, static_cast<const wchar_t*>(nullptr), CMavColor(1), CMavMatrix3d(),
                                      nullptr, CMavPoint3d()));
             EXPECT_EQ(gdx.lenGet(), 2);
             EXPECT_STREQ(gdx.txtGet(1), L"");
             EXPECT_FALSE(gdx.txtSet(path({2}), nullptr));
             EXPECT_FALSE(gdx.txtAlignSet(path({2}), nullptr));
             EXPECT_FALSE(gdx.viewDirectionSet(L""));
             EXPECT_FALSE(gdx.addDisplayList({}));
             EXPECT_EQ(gdx.lenGet(), 2);
         }},
        {"CMavGDX::imageItemGet", [] {
             CMavGDX empty(CMavColor(7), CMavMatrix3d(), 2.0, 0, CMavPoint3d(), CMavPoint3d(1, 1, 0));
             EXPECT_EQ(empty.imageItemGet(CMavPoint3d(0, 0, 0)), -1);
             CMavGDX gdx = twoItems();
             for (const CMavPoint3d& p : {CMavPoint3d(kNaN, kNaN, 0), CMavPoint3d(kInf, -kInf, 0), CMavPoint3d(1e300, 1e300, 0)}) {
                 const int hit = gdx.imageItemGet(p);
                 EXPECT_TRUE(hit >= -1 && hit < 2) << hit;
             }
             gdx.viewMtxSet(CMavMatrix3d::scaling(0.0)); // singular: no point of the image maps back
             const int hit = gdx.imageItemGet(CMavPoint3d(3, 4, 0));
             EXPECT_TRUE(hit >= -1 && hit < 2) << hit;
             EXPECT_EQ(gdx.lenGet(), 2);
         }},
        {"getViewMtx", [] {
             // Empty, inverted and non-finite boxes give the identity, whatever the window size.
             for (int size : {0, -1, INT_MIN, INT_MAX}) {
                 EXPECT_EQ(getViewMtx(CMavPoint3d(0, 0, 0), CMavPoint3d(0, 0, 0), size, size, 0.05), CMavMatrix3d::kIdentity);
                 EXPECT_EQ(getViewMtx(CMavPoint3d(5, 5, 0), CMavPoint3d(0, 0, 0), size, size, 0.05), CMavMatrix3d::kIdentity);
                 EXPECT_EQ(getViewMtx(CMavPoint3d(0, 0, 0), CMavPoint3d(kNaN, 1, 0), size, size, 0.05), CMavMatrix3d::kIdentity);
                 EXPECT_EQ(getViewMtx(CMavPoint3d(-kInf, 0, 0), CMavPoint3d(1, 1, 0), size, size, 0.05), CMavMatrix3d::kIdentity);
             }
             EXPECT_EQ(getViewMtx(CMavPoint3d(0, 0, 0), CMavPoint3d(1, 1, 0), 100, 100, kNaN), CMavMatrix3d::kIdentity);
             // A zero window is the default 320 x 240: the unit box maps its corner (0, 0) to the bottom left.
             const CMavMatrix3d m = getViewMtx(CMavPoint3d(0, 0, 0), CMavPoint3d(1, 1, 0), 0, 0, 0.0);
             const CMavPoint3d p = m * CMavPoint3d(0, 0, 0);
             EXPECT_NEAR(p.x, 40.0, 1e-9);
             EXPECT_NEAR(p.y, 240.0, 1e-9);
         }},
        // ---- the registry
        {"gdxMapKeyNew, gdxMapSetAt, getGdxFromMap, gdxMapRemoveAt", [] {
             for (int key : {0, -1, INT_MIN, INT_MAX, 123456789}) {
                 EXPECT_EQ(getGdxFromMap(key), nullptr) << key;
                 EXPECT_FALSE(gdxMapRemoveAt(key));
             }
             CMavGDX own = twoItems();
             for (int key : {INT_MIN, -1, 0, INT_MAX}) {
                 gdxMapSetAt(key, own);
                 CMavGDX* stored = getGdxFromMap(key);
                 ASSERT_NE(stored, nullptr) << key;
                 EXPECT_NE(stored, &own); // the registry keeps a copy
                 EXPECT_EQ(stored->lenGet(), 2);
             }
             const int fresh = gdxMapKeyNew();
             EXPECT_GE(fresh, 1);
             EXPECT_EQ(getGdxFromMap(fresh), nullptr);
             for (int key : {INT_MIN, -1, 0, INT_MAX}) {
                 EXPECT_TRUE(gdxMapRemoveAt(key));
                 EXPECT_FALSE(gdxMapRemoveAt(key));
                 EXPECT_EQ(getGdxFromMap(key), nullptr);
             }
         }},
        {"createGdxInMap", [] {
             CMavDataItem plain;
             plain.set(L"not a directory");
             CMavDataItem hostile;
             const char text[] = "PDSIZE = real nan PDMODE = int -2147483648 EXTVIEW = points 1 2 3 "
                                 "MTX = text \"x\" COLOR = int 2147483647";
             MAV::dataFromText(hostile, text, sizeof text - 1);
             for (CMavDataItem* data : {static_cast<CMavDataItem*>(nullptr), &plain, &hostile}) {
                 const int key = createGdxInMap(data);
                 ASSERT_GE(key, 1);
                 CMavGDX* gdx = getGdxFromMap(key);
                 ASSERT_NE(gdx, nullptr);
                 EXPECT_EQ(gdx->lenGet(), 0);
                 EXPECT_EQ(gdx->colorTabGet(GDX_CMODE_HIGHLIGHT).colorIndex(), 1); // shipped configuration: red
                 EXPECT_TRUE(gdxMapRemoveAt(key));
             }
         }},
        // ---- drawing
        {"refresh", [] {
             const std::wstring file = tempPath(L"mav_edges.emf");
             DeleteFileW(file.c_str());
             refresh(nullptr, file.c_str(), 100, 100);
             EXPECT_EQ(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES); // no list, no file
             CMavGDX own = twoItems();
             for (const auto& size : std::vector<std::pair<int, int>>{{0, 0}, {-5, -7}, {INT_MAX, INT_MAX}, {INT_MIN, 1}}) {
                 refresh(&own, file.c_str(), size.first, size.second);
                 EXPECT_TRUE(isMetafile(file)) << size.first << " x " << size.second;
                 EXPECT_TRUE(DeleteFileW(file.c_str()));
             }
             refresh(&own, L"Z:\\no\\such\\folder\\x.emf", 100, 100);
             refresh(&own, L"", 100, 100);
             EXPECT_EQ(own.lenGet(), 2);
         }},
        {"mav_gdx_image_get_bitmap", [] {
             bool fromIcon = true;
             for (const wchar_t* name : {L"", L"no_such_picture.bmp", L".bmp", L"x", L"no_such.ico"}) {
                 for (int size : {-1, INT_MIN}) {
                     HBITMAP bmp = mav_gdx_image_get_bitmap(CMavString(name), INT_MAX, size, size, fromIcon, 0xFFFFFF);
                     EXPECT_EQ(bmp, nullptr) << name;
                     if (bmp)
                         DeleteObject(bmp);
                 }
             }
             EXPECT_TRUE(fromIcon); // untouched when nothing was made
         }},
        {"mav_gdx_picture_bkcolor_get, mav_gdx_picture_transparent", [] {
             EXPECT_EQ(mav_gdx_picture_bkcolor_get(nullptr, nullptr), 0u);
             CDC unattached;
             BITMAP bm{};
             EXPECT_EQ(mav_gdx_picture_bkcolor_get(&unattached, &bm), 0u);
             CDC mem;
             ASSERT_TRUE(mem.CreateCompatibleDC(nullptr));
             EXPECT_EQ(mav_gdx_picture_bkcolor_get(&mem, nullptr), 0u);
             for (int size : {INT_MIN, -1, 0, INT_MAX}) {
                 bm.bmWidth = size;
                 bm.bmHeight = size;
                 (void)mav_gdx_picture_bkcolor_get(&mem, &bm); // any colour; reads stay outside or inside the bitmap
             }
             CBitmap empty;
             mav_gdx_picture_transparent(nullptr, 0, 0, 0, 0, nullptr);
             mav_gdx_picture_transparent(&mem, INT_MIN, INT_MAX, -1, -1, nullptr);
             mav_gdx_picture_transparent(&mem, 0, 0, 0, 0, &empty);
             mav_gdx_picture_transparent(&unattached, 0, 0, 0, 0, &empty);
         }},
        // ---- generators
        {"setGdxImageFcn, mav_gdx_image", [] {
             CMavGDX own = twoItems();
             const std::uint32_t before = MAV::gdxImageCount();
             setGdxImageFcn(nullptr, recordingGenerator);
             EXPECT_EQ(MAV::gdxImageCount(), before);
             EXPECT_FALSE(mav_gdx_image(nullptr, &own, nullptr, nullptr));
             EXPECT_FALSE(mav_gdx_image(L"", &own, nullptr, nullptr));
             EXPECT_FALSE(mav_gdx_image(L"NO_SUCH_GENERATOR", &own, nullptr, nullptr));
             setGdxImageFcn(L"EDGE_TEST", nullptr); // removing a name never registered
             EXPECT_EQ(MAV::gdxImageCount(), before);
             g_generatorCalls = 0;
             setGdxImageFcn(L"EDGE_TEST", recordingGenerator);
             // The arguments reach the generator unchanged, nulls included.
             EXPECT_TRUE(mav_gdx_image(L"EDGE_TEST", nullptr, nullptr, nullptr));
             EXPECT_EQ(g_generatorList, nullptr);
             EXPECT_EQ(g_generatorCalls, 1);
             EXPECT_EQ(MAV::gdxImageNameAt(UINT32_MAX), CMavString(L""));
             setGdxImageFcn(L"EDGE_TEST", nullptr);
             EXPECT_FALSE(mav_gdx_image(L"EDGE_TEST", &own, nullptr, nullptr));
             EXPECT_EQ(g_generatorCalls, 1);
             EXPECT_EQ(MAV::gdxImageCount(), before);
         }},
        {"mav_gdx_image_drill, mav_gdx_image_hole", [] {
             CMavGDX own = twoItems();
             MAV::CDtaFilePointer* empty = MAV::dtaOpen(MAV::kDataTemp, MAV::kDataReadWrite, nullptr, nullptr);
             ASSERT_NE(empty, nullptr);
             EXPECT_FALSE(mav_gdx_image_drill(nullptr, nullptr, nullptr));
             EXPECT_FALSE(mav_gdx_image_drill(nullptr, empty, empty));
             // Without data of its own the drill takes the default diameter and depth and asks the host to draw
             // it; the default host's plan drawing of a drill without a position adds nothing here.
             EXPECT_TRUE(mav_gdx_image_drill(&own, nullptr, nullptr));
             EXPECT_TRUE(mav_gdx_image_drill(&own, empty, empty));
             EXPECT_EQ(own.lenGet(), 2);
             EXPECT_FALSE(mav_gdx_image_hole(nullptr, nullptr, nullptr));
             EXPECT_FALSE(mav_gdx_image_hole(nullptr, empty, empty));
             EXPECT_TRUE(mav_gdx_image_hole(&own, empty, empty)); // false for a null list only
             MAV::dtaClose(empty);
         }},
        {"mav_wall_edit_image", [] {
             CMavGDX own = twoItems();
             setGdxImageFcn(L"WALL", nullptr);
             EXPECT_FALSE(mav_wall_edit_image(nullptr, nullptr));
             EXPECT_FALSE(mav_wall_edit_image(&own, nullptr));
             EXPECT_EQ(own.lenGet(), 2);
         }},
        {"mav_gdx_image_sld, mav_gdx_image_sld_data", [] {
             CMavGDX own = twoItems();
             EXPECT_FALSE(mav_gdx_image_sld(nullptr, L"LEER", nullptr, 0, nullptr));
             EXPECT_FALSE(mav_gdx_image_sld(&own, nullptr, nullptr, 0, nullptr));
             EXPECT_FALSE(mav_gdx_image_sld(&own, L"", L"", 0, nullptr));
             EXPECT_FALSE(mav_gdx_image_sld(&own, L"X", L"Z:\\no\\such\\library.slb", ULONG_MAX, nullptr));
             EXPECT_EQ(own.lenGet(), 2);
             EXPECT_TRUE(mav_gdx_image_sld(&own, L"leer", nullptr, 0, nullptr)); // needs no library
             EXPECT_EQ(own.lenGet(), 3);
             EXPECT_EQ(own.typeGet(2), kDispPoint);
             const unsigned char junk[4] = {1, 2, 3, 4};
             EXPECT_FALSE(mav_gdx_image_sld_data(nullptr, junk, sizeof junk, 0, nullptr));
             EXPECT_FALSE(mav_gdx_image_sld_data(&own, nullptr, 1000, 0, nullptr));
             EXPECT_FALSE(mav_gdx_image_sld_data(&own, junk, 0, 0, nullptr));
             EXPECT_FALSE(mav_gdx_image_sld_data(&own, junk, sizeof junk, 0, nullptr));
             CMavDataItem params;
             const char text[] = "STACK = text \"x\" MTX = real 1";
             MAV::dataFromText(params, text, sizeof text - 1);
             EXPECT_FALSE(mav_gdx_image_sld_data(&own, junk, sizeof junk, 0, &params));
             EXPECT_EQ(own.lenGet(), 3);
         }},
        // ---- geometry
        {"mav_gdx_image_reg_hatch, mav_gdx_image_reg_hatch2, mav_gdx_hatch_pattern", [] {
             CMavArrayTempl<CMavVertexArray> region;
             region.append(square(0, 0, 1000, 1000));
             EXPECT_EQ(mav_gdx_image_reg_hatch({}, CMavMatrix3d(), L"", 1.0, 0.0).len(), 0);
             for (double spacing : {0.0, -1.0, kNaN, kInf, 1e-300, 1e300}) {
                 const auto lines = mav_gdx_image_reg_hatch(region, CMavMatrix3d(), L"", spacing, 0.3);
                 EXPECT_LE(lines.len(), kMavHatchMaxPieces) << spacing;
                 const auto dots = mav_gdx_image_reg_hatch(region, CMavMatrix3d(), L"DOTS", spacing, kNaN);
                 EXPECT_LE(dots.len(), kMavHatchMaxPieces) << spacing;
             }
             EXPECT_EQ(mav_gdx_image_reg_hatch2(region, CMavMatrix3d(), MAV::CHatchProp(L"NO_SUCH_PATTERN")).len(), 0);
             EXPECT_EQ(mav_gdx_image_reg_hatch2(region, CMavMatrix3d(), MAV::CHatchProp(L"")).len(), 0);
             for (double scale : {0.0, -1.0, kNaN, 1e-300}) {
                 const auto lines = mav_gdx_image_reg_hatch2(region, CMavMatrix3d(), MAV::CHatchProp(L"ANSI31", scale));
                 EXPECT_LE(lines.len(), kMavHatchMaxPieces) << scale;
             }
             MavPatternLines hostile;
             hostile.append(CMavArrayTempl<double>({0.0, 0.0, 0.0, 0.0, 1e-300, 1e-300, -1e-300}));
             hostile.append(CMavArrayTempl<double>({kNaN}));
             hostile.append(CMavArrayTempl<double>());
             const auto lines = mav_gdx_hatch_pattern(region, CMavMatrix3d(), L"X", 0.0, 1.0, hostile, 0.1);
             EXPECT_LE(lines.len(), kMavHatchMaxPieces);
         }},
        {"mav_gdx_pattern_test, mav_gdx_image_reg_split", [] {
             CMavArrayTempl<CMavVertexArray> region;
             region.append(square(0, 0, 10, 10));
             EXPECT_FALSE(mav_gdx_pattern_test({}, MAV::CHatchProp(L"ANSI31"), CMavMatrix3d()));
             // No pattern lines (an unknown name, a scale that is not a number) leave nothing to crowd the region;
             // the hatcher then draws nothing (see the hatch entry).
             EXPECT_TRUE(mav_gdx_pattern_test(region, MAV::CHatchProp(L""), CMavMatrix3d()));
             EXPECT_TRUE(mav_gdx_pattern_test(region, MAV::CHatchProp(L"ANSI31", kNaN), CMavMatrix3d()));
             EXPECT_EQ(mav_gdx_image_reg_hatch2(region, CMavMatrix3d(), MAV::CHatchProp(L"ANSI31", kNaN)).len(), 0);
             EXPECT_FALSE(mav_gdx_pattern_test(region, MAV::CHatchProp(L"ANSI31"), CMavMatrix3d::scaling(0.0)));
             EXPECT_EQ(mav_gdx_image_reg_split({}).len(), 0);
             CMavArrayTempl<CMavVertexArray> odd;
             odd.append(CMavVertexArray());
             CMavVertexArray arc;
             arc.append(CMavVertex(CMavPoint3d(0, 0, 0), CMavPoint3d(1, 0, 0), kNaN));
             arc.append(CMavVertex(CMavPoint3d(1, 0, 0), CMavPoint3d(1, 0, 0), 1.0));
             arc.append(CMavVertex(CMavPoint3d(0, 0, 0), CMavPoint3d(1e300, 0, 0), 1e300));
             odd.append(arc);
             EXPECT_EQ(mav_gdx_image_reg_split(odd).len(), 2);
         }},
        {"mav_gdx_image_vl_measure, mav_gdx_image_vl_split", [] {
             const CMavVertexArray line = square(0, 0, 1e6, 1e6);
             for (const CMavArrayTempl<double>& dashes :
                  {CMavArrayTempl<double>(), CMavArrayTempl<double>({1.0}), CMavArrayTempl<double>({1.0, kNaN})}) {
                 CMavVertexArray vl = line;
                 EXPECT_FALSE(mav_gdx_image_vl_measure(vl, dashes, 0));
                 EXPECT_EQ(vl.len(), line.len()); // unchanged
             }
             for (int mode : {0, 1, -1, INT_MAX, INT_MIN}) {
                 CMavVertexArray vl = line;
                 mav_gdx_image_vl_measure(vl, CMavArrayTempl<double>({1e-6, -1e-6}), mode);
                 EXPECT_LE(vl.len(), kMavMeasureMaxPieces + line.len()) << mode;
                 CMavVertexArray none;
                 mav_gdx_image_vl_measure(none, CMavArrayTempl<double>({0.0, 0.0}), mode);
                 EXPECT_EQ(none.len(), 0);
             }
             EXPECT_EQ(mav_gdx_image_vl_split(CMavVertexArray()).len(), 0);
             CMavVertexArray bad;
             bad.append(CMavVertex(CMavPoint3d(0, 0, 0), CMavPoint3d(kInf, 0, 0), 0.5));
             bad.append(CMavVertex(CMavPoint3d(kNaN, 0, 0), CMavPoint3d(1, 1, 0), 1e300));
             EXPECT_LE(mav_gdx_image_vl_split(bad).len(), 1000);
         }},
        {"mav_gdx_view_vdir_get, mav_g_vl_mtx_view", [] {
             const CMavVector3d def = mav_gdx_view_vdir_get(CMavString(L"?"));
             EXPECT_EQ(mav_gdx_view_vdir_get(CMavString(L"")), def);
             EXPECT_EQ(mav_gdx_view_vdir_get(CMavString(static_cast<const wchar_t*>(nullptr))), def);
             const CMavVertexArray vl = square(0, 0, 1, 1);
             for (const CMavVector3d& dir : {CMavVector3d(0, 0, 0), CMavVector3d(kNaN, 0, 1), CMavVector3d(kInf, 0, 0)}) {
                 const CMavVertexArray flat = mav_g_vl_mtx_view(vl, dir, CMavPoint3d(kNaN, 0, 0), true);
                 EXPECT_EQ(flat.len(), vl.len());
             }
             EXPECT_EQ(mav_g_vl_mtx_view(CMavVertexArray(), CMavVector3d(1, 1, 1), CMavPoint3d(), false).len(), 0);
         }},
        {"mav_text_to_regl, get_ascii_from_map", [] {
             CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> regions;
             regions.append(CMavArrayTempl<CMavVertexArray>());
             EXPECT_FALSE(mav_text_to_regl(nullptr, regions, 10.0));
             EXPECT_EQ(regions.len(), 0);
             CMavDataItem dir;
             dir.makeDirectory();
             for (double h : {0.0, -1.0, kNaN, kInf})
                 EXPECT_FALSE(mav_text_to_regl(&dir, regions, h)) << h;
             for (int code : {0, -1, INT_MIN, INT_MAX, 0x10000 + 'A', 0xFFFF, 0xD800}) {
                 const auto glyph = get_ascii_from_map(code);
                 // Only the low 16 bits pick a glyph: 0x10041 is 'A'.
                 EXPECT_EQ(glyph.len(), get_ascii_from_map(static_cast<wchar_t>(code & 0xFFFF)).len()) << code;
             }
             EXPECT_GT(get_ascii_from_map(0x10000 + 'A').len(), 0);
         }},
        // ---- the ready-made dialogs, opened with odd input and cancelled
        {"dlgMatTree, dlgOutline, dlgUnits, dlgLabelEdit, dlgBgr", [] {
             MAV::DlgEnvMatTree_st env;
             env.country = L"";
             env.keywords.append(L"");
             CMavString material(L"NO_SUCH_MATERIAL");
             EXPECT_TRUE(cancelled([&] { EXPECT_EQ(MAV::dlgMatTree(env, material), 0); }));
             EXPECT_EQ(material, L"NO_SUCH_MATERIAL");
             MAV::outlineData outline;
             outline.code = INT_MIN;
             outline.range = 99;
             EXPECT_EQ(MAV::dlgOutline(env, outline, nullptr), 0);
             CMavDataDir library;
             ASSERT_TRUE(mavOutlineInit(&library));
             EXPECT_TRUE(cancelled([&] { EXPECT_EQ(MAV::dlgOutline(env, outline, &library), 2); }));
             for (const auto unit : {Mav::lUnit(-1), Mav::lUnit(0), Mav::lUnit(INT_MAX)})
                 EXPECT_TRUE(cancelled([&] { EXPECT_EQ(MAV::dlgUnits(env, unit), unit); })) << unit;
             CMavString label(L"alt");
             EXPECT_TRUE(cancelled([&] { EXPECT_EQ(MAV::dlgLabelEdit(env, label, ~0ul, nullptr, nullptr, nullptr), IDCANCEL); }));
             EXPECT_EQ(label, L"");
             // Without a hole entity or an item the default host's dialog still opens; cancelled, it answers 2.
             mavAppSet(nullptr);
             CMavString element;
             EXPECT_TRUE(cancelled([&] { EXPECT_EQ(MAV::dlgBgr(env, element, nullptr, nullptr), 2); }));
         }},
        // ---- the message service and numbers
        {"getRscAppDispatch, setRscAppWaitFcn, IMavMsgDlg, mav_msg_get", [] {
             const MAV::RscAppWaitFcn previous = MAV::setRscAppWaitFcn(countWait);
             EXPECT_EQ(MAV::getRscAppDispatch(), nullptr); // nothing registered: no start, no wait
             EXPECT_EQ(g_waits, 0);
             EXPECT_EQ(MAV::setRscAppWaitFcn(nullptr), &countWait);
             EXPECT_NE(MAV::setRscAppWaitFcn(previous), &countWait); // null put the library's own wait back
             // A driver without a server object fails each call with a dispatch exception.
             IMavMsgDlg none;
             for (const auto& call : std::vector<std::function<void()>>{[&] { none.OpenFile(nullptr); },
                                                                        [&] { none.GetMsg(nullptr, nullptr); }}) {
                 HRESULT code = S_OK;
                 try {
                     call();
                 } catch (COleDispatchException* e) {
                     code = e->m_scError;
                     e->Delete();
                 }
                 EXPECT_EQ(code, CO_E_OBJNOTCONNECTED);
             }
             EXPECT_EQ(mav_msg_get(nullptr, nullptr, nullptr, nullptr), nullptr);
             EXPECT_STREQ(mav_msg_get(nullptr, L"NO_SUCH_KEY", L"def", L"zz"), L"def");
         }},
        {"mavAtoF, mavRtoS, truncInt, formatLength, formatAngle", [] {
             double v = 7.0;
             for (const wchar_t* text : {static_cast<const wchar_t*>(nullptr), L"", L" ", L"1/0", L"nan", L"1e999"})
                 EXPECT_FALSE(mavAtoF(text, v));
             EXPECT_EQ(v, 7.0);
             CMavString out(L"x");
             CString shown(L"x");
             for (double bad : {kNaN, -kInf}) {
                 EXPECT_FALSE(mavRtoS(bad, Mav::kFormatDecimal, 2, false, out));
                 EXPECT_FALSE(MAV::formatLength(shown, bad, 2, 0, Mav::kFormatArchitectural, true));
                 EXPECT_FALSE(MAV::formatAngle(shown, bad, 2, 0));
             }
             EXPECT_FALSE(mavRtoS(1.0, Mav::lFormat(6), 2, false, out));
             EXPECT_TRUE(out == L"x" && shown == CString(L"x"));
             EXPECT_EQ(MAV::truncInt(kNaN), 0);
             EXPECT_EQ(MAV::truncInt(1e300), INT_MAX);
             EXPECT_EQ(MAV::truncInt(-kInf), INT_MIN);
         }},
    };
    return table;
}

} // namespace

TEST(DllEdges, EveryExportedFunctionSurvivesBadHostInput)
{
    for (const Edge& e : edges()) {
        SCOPED_TRACE(e.function);
        e.check();
    }
}
