// The machining edit bridge: the caller's hole pattern staged in the hole entity's data and "*HOLE*\BT", the
// host's "krv_hole_dial" answered by a stand-in (and by the library's own "Editieren" dialog, driven as a user
// would), and what comes back into the caller's item and element name for each kind of answer.
#include "../ui/ui_test_support.h"
#include "data/CMavApp.h"
#include "data/config.h"
#include "data/datafile.h"
#include "dialogs/CMavHoleEdit.h"
#include "dialogs/dlgBgr.h"

namespace {

CMavDataKey key(const wchar_t* a) { return CMavDataKey().appendText(a); }
CMavDataKey key(const wchar_t* a, const wchar_t* b) { return CMavDataKey().appendText(a).appendText(b); }

// A pattern of two drills: B1 at (10, 20) of diameter 8 and depth 12, B2 at (40, 20) of diameter 5 and depth 10.
CMavDataDir pattern()
{
    CMavDataDir item;
    item.setAt(key(L"", L"DRAW"), CMavString(L"F"));
    item.setAt(key(L"LABEL"), CMavString(L"Reihe"));
    const struct {
        const wchar_t* name;
        double x, dia, depth;
    } drills[] = {{L"B1", 10, 8, 12}, {L"B2", 40, 5, 10}};
    for (const auto& d : drills) {
        CMavDataItem* e = item.makeDir(key(L"HOLE", d.name));
        e->setAt(key(L"MTX"), CMavMatrix3d::translation(CMavVector3d(d.x, 20, 0.0)));
        e->setAt(key(L"GEN", L"TYPE"), CMavString(L"DRILL"));
        e->setAt(key(L"GEN", L"DIA"), d.dia);
        e->setAt(key(L"GEN", L"DEPTH"), d.depth);
    }
    return item;
}

// Puts a LISP function in place of "krv_hole_dial" and the host's picked hole entity for its lifetime.
struct HoleHost {
    uitest::MakerKeys keys;
    MAV::CDefaultApp::LispFn previous;
    explicit HoleHost(MAV::CDefaultApp::LispFn fn, std::int64_t entityId)
    {
        mavAppSet(nullptr);
        previous = MAV::CDefaultApp::instance().lispRegister(L"krv_hole_dial", std::move(fn));
        const ads_name e = {entityId, 7};
        MAV::CDefaultApp::instance().entityPick(L"HOLE", e);
    }
    ~HoleHost()
    {
        MAV::CDefaultApp::instance().lispRegister(L"krv_hole_dial", std::move(previous));
        MAV::CDefaultApp::instance().entityForget(L"HOLE");
    }
};

CMavString configElement()
{
    CMavString s;
    MAV::dataItemGet(MAV::CConfig::getCfgRoot(), key(L"*HOLE*", L"BT"), s);
    return s;
}

} // namespace

TEST(DlgBgr, AnswersOfTheHostDialogAndWhatComesBack)
{
    enum Value { none, shortValue, longValue, stringValue };
    const struct {
        const char* what;
        int code;
        Value type;
        int value, expected;
    } cases[] = {
        {"confirmed", RTNORM, shortValue, 1, 1},     {"confirmed as long", RTNORM, longValue, 1, 1},
        {"cancelled", RTNORM, shortValue, 0, 2},     {"another number", RTNORM, shortValue, 7, 0},
        {"a text \"1\"", RTNORM, stringValue, 1, 2}, {"no value", RTNORM, none, 0, 2},
        {"call failed", RTERROR, shortValue, 1, 0},  {"cancelled as long", RTNORM, longValue, 0, 2},
    };
    std::int64_t entity = 9100;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MAV::CConfig::reset();
        ASSERT_EQ(MAV::cfg_get(L"*MAV_OUTLINE*"), nullptr);
        CMavDataDir item = pattern();
        item.setAt(key(L"", L"VAL"), 3);
        const CMavDataDir original = item;
        CMavString element(L"B1");

        // The stand-in checks what was staged, edits it as a host dialog would (closing the data every other
        // time), and answers.
        bool staged = false;
        auto host = [&](const resbuf* args, MAV::CSmartResbuf& result) {
            EXPECT_EQ(args, nullptr);
            const ads_name e = {entity, 7};
            MAV::CDtaFilePointer* data = MAV::dtaOpen(MAV::kDataEntity, MAV::kDataReadWrite, e, nullptr);
            CMavString label, order(L"?"), act;
            int val = 0;
            data->root()->get(label, key(L"LABEL"));
            data->root()->get(order, key(L"ORDER"));
            data->root()->get(val, key(L"VAL"));
            staged = label == L"Reihe" && order.isEmpty() && val == 3 &&
                     data->get(key(L"BT"))->equals(*original.get(key(L"HOLE"))) && configElement() == L"B1" &&
                     MAV::cfg_get(L"*MAV_OUTLINE*") && MAV::cfg_get(L"*MAV_OUTLINE*")->count() > 0;
            data->root()->setAt(key(L"LABEL"), CMavString(L"Neu"));
            data->root()->setAt(key(L"ORDER"), CMavString(L"2-1"));
            data->root()->setAt(key(L"VAL"), 4);
            data->get(key(L"BT"))->makeDir(key(L"B3"))->setAt(key(L"GEN", L"DIA"), 6.0);
            MAV::dataItemSet(MAV::CConfig::getCfgRoot(), key(L"*HOLE*", L"BT"), CMavString(L"B3"));
            if (entity % 2)
                MAV::dtaClose(data); // a host that closes what it opened: the bridge's pointer with it
            result.reset();
            if (c.type == shortValue)
                result.appendShort(static_cast<short>(c.value));
            else if (c.type == longValue)
                result.appendLong(c.value);
            else if (c.type == stringValue)
                result.appendString(L"1");
            return c.code;
        };
        HoleHost h(host, ++entity);
        EXPECT_EQ(MAV::dlgBgr(MAV::DlgEnv_st(), element, &item, nullptr), c.expected);
        EXPECT_TRUE(staged);
        if (c.expected == 1) {
            CMavString label, order;
            int val = 0;
            double dia = 0;
            item.get(label, key(L"LABEL"));
            item.get(order, key(L"ORDER"));
            item.get(val, key(L"", L"VAL"));
            item.get(dia, CMavDataKey(L"HOLE\\B3\\GEN\\DIA"));
            EXPECT_EQ(std::wstring(element.c_str()) + L"|" + label.c_str() + L"|" + order.c_str(), L"B3|Neu|2-1");
            EXPECT_EQ(std::make_tuple(val, item.get(key(L"HOLE"))->count(), dia), std::make_tuple(4, 3, 6.0));
        } else {
            EXPECT_TRUE(element == L"B1" && item.equals(original));
        }
    }
    // The entity's data lasts the session: a pattern without elements or root entry does not get the last
    // pattern's back.
    bool bare = false;
    HoleHost h(
        [&](const resbuf*, MAV::CSmartResbuf& result) {
            const ads_name e = {entity, 7};
            MAV::CDtaFilePointer* data = MAV::dtaOpen(MAV::kDataEntity, MAV::kDataReadWrite, e, nullptr);
            CMavString draw;
            bare = !data->get(key(L"BT")) && data->root() && !data->root()->get(draw, key(L"DRAW"));
            result.reset();
            result.appendShort(1);
            return RTNORM;
        },
        entity);
    CMavDataDir empty;
    CMavString element(L"B1");
    EXPECT_EQ(MAV::dlgBgr(MAV::DlgEnv_st(), element, &empty, nullptr), 1);
    EXPECT_TRUE(bare);
    EXPECT_EQ(empty.get(key(L"HOLE")), nullptr);
    MAV::CConfig::reset();
}

// The library's "Editieren" dialog answers "krv_hole_dial" by default: the user picks the second drill, opens its
// diameter cell, types a new one and confirms. A "HOLE" that is a plain value instead of a directory of elements
// travels as it is; the dialog shows no rows for it, and OK leaves it as it was.
TEST(HoleEditDialog, DefaultHostEditsThePatternInPlace)
{
    MAV::CConfig::reset();
    {
        int rows = -1;
        uitest::Script script([&](HWND dlg) {
            rows = uitest::rowCount(::GetDlgItem(dlg, IDC_HOLE_LIST));
            uitest::post(dlg, IDOK);
        });
        HoleHost h(&MAV::holeEditLisp, 9001);
        CMavDataDir item;
        item.setAt(key(L"HOLE"), CMavString(L"kein Verzeichnis"));
        CMavString element(L"B1"), hole;
        EXPECT_EQ(MAV::dlgBgr(MAV::DlgEnv_st(), element, &item, nullptr), 1);
        EXPECT_TRUE(uitest::Script::finished() && item.get(hole, key(L"HOLE")));
        EXPECT_EQ(std::to_wstring(rows) + L"|" + hole.c_str() + L"|" + element.c_str(), L"0|kein Verzeichnis|B1");
    }
    std::wstring seen;
    int itemsBefore = 0, itemsAfter = -1;
    CMavDataDir item = pattern();
    CMavString element(L"B1");
    {
        uitest::Script script([&](HWND dlg) {
            HWND list = ::GetDlgItem(dlg, IDC_HOLE_LIST);
            auto* self = dynamic_cast<CMavHoleEdit*>(CWnd::FromHandlePermanent(dlg));
            ASSERT_NE(self, nullptr);
            seen = std::to_wstring(uitest::rowCount(list)) + L"|" + uitest::cellText(list, 1, CMavHoleList::colName) +
                   L"|" + uitest::cellText(list, 0, CMavHoleList::colDia) + L"|" +
                   uitest::cellText(list, 1, CMavHoleList::colX);
            itemsBefore = self->preview().lenGet();
            uitest::clickCell(list, 1, CMavHoleList::colName); // selects B2
            seen += L"|" + std::wstring(self->selected().c_str());
            uitest::clickCell(list, 1, CMavHoleList::colDia); // opens its diameter
            seen += ::GetDlgItem(list, 1025) ? L"|editing" : L"|not editing";
            uitest::type(L"9.5");
            uitest::key(VK_RETURN);
            itemsAfter = self->preview().lenGet();
            uitest::post(dlg, IDOK);
        });
        HoleHost h(&MAV::holeEditLisp, 9002);
        EXPECT_EQ(MAV::dlgBgr(MAV::DlgEnv_st(), element, &item, nullptr), 1);
        EXPECT_TRUE(uitest::Script::finished());
    }
    EXPECT_EQ(seen, L"2|B2|8.00|40.00|B2|editing");
    EXPECT_TRUE(itemsBefore > 0 && itemsAfter == itemsBefore && element == L"B2");
    double dia = 0, other = 0;
    EXPECT_TRUE(item.get(dia, CMavDataKey(L"HOLE\\B2\\GEN\\DIA")) &&
                item.get(other, CMavDataKey(L"HOLE\\B1\\GEN\\DIA")));
    EXPECT_EQ(std::make_pair(dia, other), std::make_pair(9.5, 8.0));
    MAV::CConfig::reset();
}
