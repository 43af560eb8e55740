// Bad input at the edges of the DLL: every exported function of the display list, the registry, drawing, the
// generators and geometry that takes a pointer or a count from a host, called through the DLL with nulls, empty
// texts, negative and huge counts and indices. Each answers with its documented result; none may crash or allocate
// without bound. What the core answers for each kind of bad value in detail is the core tests' business.
#include <climits>
#include <limits>

#include "../ui/ui_test_support.h"
#include "afx/CDC.h"
#include "afx/CGdiObject.h"
#include "base/text.h"
#include "data/CMavApp.h"
#include "data/datafile.h"
#include "data/messages.h"
#include "data/outlines.h"
#include "dialogs/CMavLabelEdit.h"
#include "dialogs/CMavMatTreeDlg.h"
#include "dialogs/CMavOutlineDlg.h"
#include "dialogs/CMavUnitsDlg.h"
#include "dialogs/dlgBgr.h"
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

const double kNaN = std::numeric_limits<double>::quiet_NaN(), kInf = std::numeric_limits<double>::infinity();
using Path = CMavArrayTempl<int>;
using Regions = CMavArrayTempl<CMavVertexArray>;
using Doubles = CMavArrayTempl<double>;
using P = CMavPoint3d;

CMavVertexArray square(double x0, double y0, double x1, double y1)
{
    CMavVertexArray vl;
    vl.append(P(x0, y0, 0), P(x1, y0, 0));
    for (const P& p : {P(x1, y1, 0), P(x0, y1, 0), P(x0, y0, 0)})
        vl.appendTo(p);
    return vl;
}
Regions region(double size)
{
    Regions r;
    r.append(square(0, 0, size, size));
    return r;
}
CMavGDX emptyList() { return CMavGDX(CMavColor(7), CMavMatrix3d(), 2.0, 0, P(), P(1, 1, 0)); }

// A host's own list, not in the registry: a polyline in group 1 and a point in group 2 (its last item).
CMavGDX twoItems()
{
    CMavGDX gdx(CMavColor(7), CMavMatrix3d(), 2.0, 0, P(0, 0, 0), P(100, 100, 0));
    gdx.imageVl(Path({1}), 0, square(0, 0, 10, 10), CMavColor(1), CMavMatrix3d(), {}, 1.0, 1);
    gdx.imagePt(Path({2}), 0, P(50, 50, 0), CMavColor(3), CMavMatrix3d(), 1.0, 0);
    return gdx;
}

int g_generatorCalls = 0;
CMavGDX* g_generatorList = nullptr;
bool recordingGenerator(CMavGDX* gdx, MAV::CDtaFilePointer* data, MAV::CDtaFilePointer* parameters)
{
    ++g_generatorCalls;
    g_generatorList = gdx;
    return data == nullptr && parameters == nullptr;
}
int g_waits = 0;
void countWait(DWORD) { ++g_waits; }
// Runs a ready-made dialog's entry function and cancels the dialog as soon as it shows; false when none came up.
template <class F> bool cancelled(F open)
{
    return uitest::driven([](HWND d) { uitest::post(d, IDCANCEL); }, open);
}
CMavDataItem fromText(const char* text)
{
    CMavDataItem item;
    MAV::dataFromText(item, text, std::char_traits<char>::length(text));
    return item;
}

const std::vector<std::pair<const char*, std::function<void()>>>& edges()
{
    static const std::vector<std::pair<const char*, std::function<void()>>> table = {
        // ---- the display list: beyond either end a default item answers; bad paths change nothing
        {"CMavGDX getters, setters, reserveItems, imagePicture, imageTxt, imageItemGet",
         [] {
             CMavGDX gdx = twoItems();
             for (int bad : {-3, 2, INT_MAX, INT_MIN}) {
                 CMavVertexArray vl = square(0, 0, 1, 1);
                 Regions regl = region(1);
                 CMavString file = L"x";
                 int icon = 5;
                 MAV::CHatchProp hatch;
                 gdx.geomGet(vl, bad);
                 gdx.geomGet(regl, bad);
                 gdx.pictureGet(bad, file, icon);
                 EXPECT_EQ(std::make_tuple(gdx.typeGet(bad), gdx.flagGet(bad), std::wstring(gdx.txtGet(bad)),
                                           std::wstring(gdx.txtAlignGet(bad)), vl.len() + regl.len(),
                                           std::wstring(file.c_str()), gdx.hatchGet(bad, hatch)),
                           std::make_tuple(kDispNone, 0ul, L"", L"", 0, L"", false))
                     << bad;
             }
             for (const Path& p : {Path({}), Path({99}), Path({INT_MIN})}) {
                 EXPECT_FALSE(gdx.mtxSet(p, CMavMatrix3d::translation({1, 1, 0})) ||
                              gdx.cModeSet(p, GDX_CMODE_HIGHLIGHT) || gdx.propSet(p, 1) || gdx.pdModeSet(p, 3) ||
                              gdx.pdSizeSet(p, 4.0) || gdx.clear(p) || gdx.removeItemStack(p) ||
                              gdx.txtSet(p, nullptr) || gdx.txtAlignSet(p, nullptr));
                 EXPECT_TRUE(p.len() == 0 || gdx.StackToItemNr(p).len() == 0);
             }
             for (int count : {-1, INT_MIN, INT_MAX})
                 gdx.reserveItems(count);
             EXPECT_FALSE(gdx.viewDirectionSet(L"") || gdx.addDisplayList({}) ||
                          gdx.imageTxt(Path({1}), 0, static_cast<const CMavDataItem*>(nullptr), CMavColor(1),
                                       CMavMatrix3d(), 10.0));
             gdx.imagePicture(Path({}), 0, nullptr, -1, P(), P());
             EXPECT_TRUE(gdx.imageTxt(Path({3}), 0, static_cast<const wchar_t*>(nullptr), CMavColor(1), CMavMatrix3d(),
                                      nullptr, P()));
             EXPECT_EQ(std::make_tuple(gdx.lenGet(), gdx.typeGet(2), std::wstring(gdx.txtGet(3))),
                       std::make_tuple(4, kDispPicture, L""));
             EXPECT_EQ(emptyList().imageItemGet(P(0, 0, 0)), -1);
             gdx.viewMtxSet(CMavMatrix3d::scaling(0.0)); // singular: no point of the image maps back
             for (const P& p : {P(kNaN, kNaN, 0), P(kInf, -kInf, 0), P(3, 4, 0)})
                 EXPECT_TRUE(gdx.imageItemGet(p) >= -1 && gdx.imageItemGet(p) < 4);
         }},
        {"getViewMtx",
         [] {
             // Empty, inverted and non-finite boxes give the identity, whatever the window size.
             for (int size : {0, -1, INT_MIN, INT_MAX})
                 for (const P& hi : {P(0, 0, 0), P(kNaN, 1, 0), P(-kInf, 0, 0)})
                     EXPECT_EQ(getViewMtx(P(0, 0, 0), hi, size, size, 0.05), CMavMatrix3d::kIdentity);
             EXPECT_EQ(getViewMtx(P(0, 0, 0), P(1, 1, 0), 100, 100, kNaN), CMavMatrix3d::kIdentity);
         }},
        // ---- the registry
        {"gdxMapKeyNew, gdxMapSetAt, getGdxFromMap, gdxMapRemoveAt, createGdxInMap",
         [] {
             CMavGDX own = twoItems();
             for (int key : {INT_MIN, INT_MAX}) {
                 EXPECT_TRUE(getGdxFromMap(key) == nullptr && !gdxMapRemoveAt(key));
                 gdxMapSetAt(key, own);
                 EXPECT_TRUE(getGdxFromMap(key) && getGdxFromMap(key) != &own && getGdxFromMap(key)->lenGet() == 2);
                 EXPECT_TRUE(gdxMapRemoveAt(key) && !gdxMapRemoveAt(key)) << key;
             }
             EXPECT_EQ(getGdxFromMap(gdxMapKeyNew()), nullptr);
             CMavDataItem plain;
             plain.set(L"not a directory");
             CMavDataItem hostile = fromText("PDSIZE = real nan PDMODE = int -2147483648 MTX = text \"x\"");
             for (CMavDataItem* data : {static_cast<CMavDataItem*>(nullptr), &plain, &hostile}) {
                 const int key = createGdxInMap(data);
                 ASSERT_NE(getGdxFromMap(key), nullptr);
                 EXPECT_EQ(getGdxFromMap(key)->lenGet(), 0);
                 EXPECT_TRUE(gdxMapRemoveAt(key));
             }
         }},
        // ---- drawing
        {"refresh",
         [] {
             const std::wstring file = uitest::ScratchDir::temp() + L"\\mav_edges.emf";
             ::DeleteFileW(file.c_str());
             refresh(nullptr, file.c_str(), 100, 100);
             EXPECT_EQ(::GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES); // no list, no file
             CMavGDX own = twoItems();
             for (const auto& size : std::vector<std::pair<int, int>>{{-5, -7}, {INT_MAX, INT_MAX}, {INT_MIN, 1}}) {
                 refresh(&own, file.c_str(), size.first, size.second);
                 HENHMETAFILE emf = ::GetEnhMetaFileW(file.c_str());
                 EXPECT_TRUE(emf && ::DeleteEnhMetaFile(emf) && ::DeleteFileW(file.c_str())) << size.first;
             }
             refresh(&own, L"Z:\\no\\such\\folder\\x.emf", 100, 100);
             refresh(&own, L"", 100, 100);
         }},
        {"mav_gdx_image_get_bitmap, mav_gdx_picture_bkcolor_get, mav_gdx_picture_transparent",
         [] {
             bool fromIcon = true;
             for (const wchar_t* name : {L"", L"no_such_picture.bmp", L"no_such.ico"})
                 EXPECT_EQ(mav_gdx_image_get_bitmap(CMavString(name), INT_MAX, -1, INT_MIN, fromIcon, 0), nullptr);
             EXPECT_TRUE(fromIcon); // untouched when nothing was made
             CDC unattached, mem;
             ASSERT_TRUE(mem.CreateCompatibleDC(nullptr));
             BITMAP bm{};
             EXPECT_EQ(mav_gdx_picture_bkcolor_get(nullptr, nullptr) | mav_gdx_picture_bkcolor_get(&unattached, &bm) |
                           mav_gdx_picture_bkcolor_get(&mem, nullptr),
                       0u);
             bm.bmWidth = bm.bmHeight = INT_MIN;
             (void)mav_gdx_picture_bkcolor_get(&mem, &bm); // any colour; reads stay inside the bitmap
             CBitmap empty;
             mav_gdx_picture_transparent(nullptr, 0, 0, 0, 0, nullptr);
             mav_gdx_picture_transparent(&mem, INT_MIN, INT_MAX, -1, -1, &empty);
             mav_gdx_picture_transparent(&unattached, 0, 0, 0, 0, &empty);
         }},
        // ---- generators
        {"setGdxImageFcn, mav_gdx_image",
         [] {
             CMavGDX own = twoItems();
             const std::uint32_t before = MAV::gdxImageCount();
             setGdxImageFcn(nullptr, recordingGenerator);
             setGdxImageFcn(L"EDGE_TEST", nullptr); // removing a name never registered
             for (const wchar_t* name : {static_cast<const wchar_t*>(nullptr), L"", L"NO_SUCH_GENERATOR"})
                 EXPECT_FALSE(mav_gdx_image(name, &own, nullptr, nullptr));
             g_generatorCalls = 0;
             setGdxImageFcn(L"EDGE_TEST", recordingGenerator);
             // The arguments reach the generator unchanged, nulls included.
             EXPECT_TRUE(mav_gdx_image(L"EDGE_TEST", nullptr, nullptr, nullptr));
             EXPECT_EQ(MAV::gdxImageNameAt(UINT32_MAX), CMavString(L""));
             setGdxImageFcn(L"EDGE_TEST", nullptr);
             EXPECT_FALSE(mav_gdx_image(L"EDGE_TEST", &own, nullptr, nullptr));
             EXPECT_EQ(std::make_tuple(g_generatorList == nullptr, g_generatorCalls, MAV::gdxImageCount()),
                       std::make_tuple(true, 1, before));
         }},
        {"mav_gdx_image_drill, mav_gdx_image_hole, mav_wall_edit_image, mav_gdx_image_sld, mav_gdx_image_sld_data",
         [] {
             CMavGDX own = twoItems();
             MAV::CDtaFilePointer* empty = MAV::dtaOpen(MAV::kDataTemp, MAV::kDataReadWrite, nullptr, nullptr);
             ASSERT_NE(empty, nullptr);
             setGdxImageFcn(L"WALL", nullptr);
             const unsigned char junk[4] = {1, 2, 3, 4};
             CMavDataItem params = fromText("STACK = text \"x\" MTX = real 1");
             EXPECT_FALSE(mav_gdx_image_drill(nullptr, empty, empty) || mav_gdx_image_hole(nullptr, empty, empty) ||
                          mav_wall_edit_image(nullptr, nullptr) || mav_wall_edit_image(&own, nullptr) ||
                          mav_gdx_image_sld(nullptr, L"LEER", nullptr, 0, nullptr) ||
                          mav_gdx_image_sld(&own, nullptr, nullptr, 0, nullptr) ||
                          mav_gdx_image_sld(&own, L"X", L"Z:\\no\\such\\library.slb", ULONG_MAX, nullptr) ||
                          mav_gdx_image_sld_data(nullptr, junk, sizeof junk, 0, nullptr) ||
                          mav_gdx_image_sld_data(&own, nullptr, 1000, 0, nullptr) ||
                          mav_gdx_image_sld_data(&own, junk, 0, 0, nullptr) ||
                          mav_gdx_image_sld_data(&own, junk, sizeof junk, 0, &params));
             // Without data of its own the drill takes the default diameter and depth; the hole is false for a
             // null list only; the empty slide needs no library.
             EXPECT_TRUE(mav_gdx_image_drill(&own, nullptr, nullptr) && mav_gdx_image_hole(&own, empty, empty) &&
                         mav_gdx_image_sld(&own, L"leer", nullptr, 0, nullptr));
             MAV::dtaClose(empty);
             EXPECT_EQ(std::make_pair(own.lenGet(), own.typeGet(2)), std::make_pair(3, kDispPoint));
         }},
        // ---- geometry: the pieces made stay below their bounds
        {"mav_gdx_image_reg_hatch, mav_gdx_image_reg_hatch2, mav_gdx_hatch_pattern, mav_gdx_pattern_test",
         [] {
             const Regions big = region(1000);
             EXPECT_EQ(mav_gdx_image_reg_hatch({}, CMavMatrix3d(), L"", 1.0, 0.0).len(), 0);
             for (double bad : {0.0, -1.0, kNaN, 1e-300}) {
                 EXPECT_LE(mav_gdx_image_reg_hatch(big, CMavMatrix3d(), L"DOTS", bad, kNaN).len(), kMavHatchMaxPieces);
                 EXPECT_LE(mav_gdx_image_reg_hatch2(big, CMavMatrix3d(), MAV::CHatchProp(L"ANSI31", bad)).len(),
                           kMavHatchMaxPieces);
             }
             EXPECT_EQ(mav_gdx_image_reg_hatch2(big, CMavMatrix3d(), MAV::CHatchProp(L"NO_SUCH_PATTERN")).len(), 0);
             MavPatternLines hostile;
             hostile.append(Doubles({0.0, 0.0, 0.0, 0.0, 1e-300, 1e-300, -1e-300}));
             hostile.append(Doubles({kNaN}));
             EXPECT_LE(mav_gdx_hatch_pattern(big, CMavMatrix3d(), L"X", 0.0, 1.0, hostile, 0.1).len(),
                       kMavHatchMaxPieces);
             // No pattern lines leave nothing to crowd the region; a singular matrix crowds it.
             EXPECT_FALSE(mav_gdx_pattern_test({}, MAV::CHatchProp(L"ANSI31"), CMavMatrix3d()));
             EXPECT_TRUE(mav_gdx_pattern_test(big, MAV::CHatchProp(L"ANSI31", kNaN), CMavMatrix3d()));
             EXPECT_FALSE(mav_gdx_pattern_test(big, MAV::CHatchProp(L"ANSI31"), CMavMatrix3d::scaling(0.0)));
         }},
        {"mav_gdx_image_reg_split, mav_gdx_image_vl_measure, mav_gdx_image_vl_split, mav_g_vl_mtx_view",
         [] {
             CMavVertexArray arc, line = square(0, 0, 1e6, 1e6), none;
             arc.append(CMavVertex(P(0, 0, 0), P(1, 0, 0), kNaN));
             arc.append(CMavVertex(P(kNaN, 0, 0), P(1e300, 0, 0), 1e300));
             Regions odd;
             odd.append(CMavVertexArray());
             odd.append(arc);
             EXPECT_EQ(mav_gdx_image_reg_split({}).len() + mav_gdx_image_vl_split(CMavVertexArray()).len(), 0);
             EXPECT_EQ(mav_gdx_image_reg_split(odd).len(), 2);
             EXPECT_LE(mav_gdx_image_vl_split(arc).len(), 1000);
             EXPECT_FALSE(mav_gdx_image_vl_measure(line, Doubles({1.0, kNaN}), 0));
             mav_gdx_image_vl_measure(line, Doubles({1e-6, -1e-6}), INT_MIN);
             mav_gdx_image_vl_measure(none, Doubles({0.0, 0.0}), INT_MAX);
             EXPECT_TRUE(line.len() <= kMavMeasureMaxPieces + 5 && none.len() == 0);
             for (const CMavVector3d& dir : {CMavVector3d(0, 0, 0), CMavVector3d(kNaN, 0, 1)})
                 EXPECT_EQ(mav_g_vl_mtx_view(arc, dir, P(kNaN, 0, 0), true).len(), arc.len());
         }},
        {"mav_gdx_view_vdir_get, mav_text_to_regl, get_ascii_from_map",
         [] {
             const CMavVector3d def = mav_gdx_view_vdir_get(CMavString(L"?"));
             EXPECT_EQ(mav_gdx_view_vdir_get(CMavString(static_cast<const wchar_t*>(nullptr))), def);
             CMavArrayTempl<Regions> regions;
             regions.append(Regions());
             CMavDataItem dir;
             dir.makeDirectory();
             EXPECT_FALSE(mav_text_to_regl(nullptr, regions, 10.0) || mav_text_to_regl(&dir, regions, kNaN));
             EXPECT_EQ(regions.len(), 0);
             // Only the low 16 bits pick a glyph: 0x10041 is 'A'.
             EXPECT_EQ(get_ascii_from_map(0x10000 + 'A').len(), get_ascii_from_map(L'A').len());
             EXPECT_GT(get_ascii_from_map(0x10000 + 'A').len(), 0);
             EXPECT_EQ(get_ascii_from_map(INT_MIN).len(), get_ascii_from_map(0).len());
         }},
        // ---- the ready-made dialogs, opened with odd input and cancelled
        {"dlgMatTree, dlgOutline, dlgUnits, dlgLabelEdit, dlgBgr",
         [] {
             MAV::DlgEnvMatTree_st env;
             env.country = L"";
             env.keywords.append(L"");
             CMavString material(L"NO_SUCH_MATERIAL"), label(L"alt"), element;
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
             EXPECT_TRUE(cancelled(
                 [&] { EXPECT_EQ(MAV::dlgLabelEdit(env, label, ~0ul, nullptr, nullptr, nullptr), IDCANCEL); }));
             EXPECT_EQ(label, L"");
             // Without a hole entity or an item the default host's dialog still opens; cancelled, it answers 2.
             mavAppSet(nullptr);
             EXPECT_TRUE(cancelled([&] { EXPECT_EQ(MAV::dlgBgr(env, element, nullptr, nullptr), 2); }));
         }},
        // ---- the message service and numbers
        {"getRscAppDispatch, setRscAppWaitFcn, IMavMsgDlg, mav_msg_get",
         [] {
             const MAV::RscAppWaitFcn previous = MAV::setRscAppWaitFcn(countWait);
             EXPECT_EQ(MAV::getRscAppDispatch(), nullptr); // nothing registered: no start, no wait
             EXPECT_EQ(g_waits, 0);
             MAV::setRscAppWaitFcn(previous);
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
        {"mavAtoF, mavRtoS, truncInt, formatLength, formatAngle",
         [] {
             double v = 7.0;
             for (const wchar_t* text : {static_cast<const wchar_t*>(nullptr), L"", L"1/0", L"nan", L"1e999"})
                 EXPECT_FALSE(mavAtoF(text, v));
             CMavString out(L"x");
             CString shown(L"x");
             EXPECT_FALSE(mavRtoS(kNaN, Mav::kFormatDecimal, 2, false, out) ||
                          mavRtoS(1.0, Mav::lFormat(6), 2, false, out) ||
                          MAV::formatLength(shown, -kInf, 2, 0, Mav::kFormatArchitectural, true) ||
                          MAV::formatAngle(shown, kNaN, 2, 0));
             EXPECT_TRUE(v == 7.0 && out == L"x" && shown == CString(L"x"));
             EXPECT_EQ(std::make_tuple(MAV::truncInt(kNaN), MAV::truncInt(1e300), MAV::truncInt(-kInf)),
                       std::make_tuple(0, INT_MAX, INT_MIN));
         }},
    };
    return table;
}

} // namespace

TEST(DllEdges, EveryExportedFunctionSurvivesBadHostInput)
{
    for (const auto& e : edges()) {
        SCOPED_TRACE(e.first);
        e.second();
    }
}
