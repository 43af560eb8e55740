// Hatch patterns: the shipped pattern file, the reader's handling of malformed files, and the library.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "data/patterns.h"

namespace {

int parse(const std::string& text, CMavArrayTempl<MAV::PatternDef>& out)
{
    return MAV::patParse(text.data(), text.size(), out);
}

} // namespace

TEST(Patterns, ShippedPatternsAreAllReadableAndLoadedFilesTakeTheirPlace)
{
    MAV::patReset();
    CMavArrayTempl<CMavString> names;
    EXPECT_GE(MAV::patNames(names), 17);
    for (const wchar_t* name : {L"ANSI31", L"ANSI32", L"ANSI33", L"ANSI34", L"ANSI35", L"ANSI36", L"ANSI37", L"ANSI38",
                                L"DOTS", L"GRAVEL", L"NET", L"BRICK", L"SQUARE", L"CROSS", L"HONEY", L"EARTH", L"WOOD"})
        EXPECT_TRUE(names.contains(CMavString(name))) << CMavString(name).utf8();
    // Every shipped line has angle, origin and both offsets, and a line spacing that is not zero.
    for (const CMavString& n : names) {
        EXPECT_FALSE(MAV::patFind(n)->description.isEmpty()) << n.utf8();
        for (const CMavArrayTempl<double>& line : MAV::patFind(n)->lines) {
            EXPECT_GE(line.len(), 5) << n.utf8();
            EXPECT_NE(line[4], 0.0) << n.utf8();
        }
    }
    CMavArrayTempl<CMavArrayTempl<double>> lines;
    EXPECT_TRUE(MAV::patLookup(L"ansi31", lines));
    EXPECT_EQ(lines, (CMavArrayTempl<CMavArrayTempl<double>>{{45.0, 0.0, 0.0, 0.0, 0.125}}));
    EXPECT_TRUE(MAV::patLookup(L"BRICK", lines) && lines.len() == 3);
    EXPECT_EQ(lines[2], (CMavArrayTempl<double>{90.0, 0.25, 0.0, 0.0, 0.5, -0.25, 0.25}));
    EXPECT_FALSE(MAV::patLookup(L"NO_SUCH_PATTERN", lines) || MAV::patLookup(nullptr, lines));
    EXPECT_EQ(lines.len(), 0);

    // A loaded file replaces shipped patterns of the same name and adds its own, until the next reset.
    const std::string mine = "*ANSI31, replaced\n0, 0,0, 0,1\n*NEWONE\n90, 0,0, 0,2\n";
    EXPECT_EQ(MAV::patLoadText(mine.data(), mine.size()), 2);
    EXPECT_TRUE(MAV::patLookup(L"ANSI31", lines) && lines[0][0] == 0.0 && MAV::patLookup(L"newone", lines));
    EXPECT_EQ(MAV::patLoadFile(L"/no/such/file.pat"), -1);
    MAV::patReset();
    EXPECT_TRUE(MAV::patLookup(L"ANSI31", lines) && lines[0][0] == 45.0 && !MAV::patLookup(L"NEWONE", lines));
}

TEST(Patterns, ReaderFormAndComments)
{
    // A line before any header is ignored, and so is the line of a nameless pattern.
    const std::string text = "\xEF\xBB\xBF; file comment\r\n45, 0,0, 0,.125   ; comment\n"
                             "*Mine, my pattern ; with comment\r\n  0 , +1.5e0,-.5 , 0 , 2 , 1 , -1\n\n90,0,0\n"
                             "*EMPTY\n*  , nameless\n1,1,1,1,1\n";
    CMavArrayTempl<MAV::PatternDef> defs;
    EXPECT_EQ(parse(text, defs), 2);
    EXPECT_EQ(defs[0].name + L"|" + defs[0].description + L"|" + defs[1].name, L"MINE|my pattern|EMPTY");
    ASSERT_EQ(defs[0].lines.len(), 2);
    EXPECT_EQ(defs[0].lines[0], (CMavArrayTempl<double>{0, 1.5, -0.5, 0, 2, 1, -1}));
    EXPECT_EQ(defs[0].lines[1], (CMavArrayTempl<double>{90, 0, 0})); // missing offsets stay absent
    EXPECT_EQ(defs[1].lines.len(), 0); // the nameless pattern's line is not given to EMPTY
}

TEST(Patterns, MalformedLinesAreSkippedAndLimitsHold)
{
    // Not a number, not finite, out of range, an empty field, a trailing comma, no commas (one field that is not
    // a number) are skipped; zero offsets are kept (the hatcher gives no lines for them).
    std::string text = "*BAD, bad lines\n45, 0, nan, 0, 1\n45, 0, inf, 0, 1\n45, 0, 1e999, 0, 1\n45,, 0, 0, 1\n"
                       "45, 0, 0, 0, 1,\n45 0 0 0 1\nx, 0, 0, 0, 1\n0, 0, 0, 0, 0\n";
    // A line with 10,000 dash values is skipped, one at the limit kept.
    std::string huge = "0, 0, 0, 0, 1";
    for (int i = 0; i < 10000; ++i)
        huge += ", 1";
    text += huge + "\n";
    std::string limit = "0, 0, 0, 0, 1";
    for (int i = 0; i < MAV::kPatMaxValues - 5; ++i)
        limit += ", -1";
    text += limit + "\n";
    text += "*BAD, duplicate name: the first definition wins\n1, 2, 3\n";
    CMavArrayTempl<MAV::PatternDef> defs;
    EXPECT_EQ(parse(text, defs), 1);
    ASSERT_EQ(defs[0].lines.len(), 2);
    EXPECT_EQ(defs[0].lines[0], (CMavArrayTempl<double>{0, 0, 0, 0, 0}));
    EXPECT_EQ(defs[0].lines[1].len(), MAV::kPatMaxValues);

    // More lines than a pattern may hold: the surplus is dropped.
    std::string many = "*MANY\n";
    for (int i = 0; i < MAV::kPatMaxLines + 50; ++i)
        many += "0, 0, 0, 0, 1\n";
    EXPECT_EQ(parse(many, defs), 1);
    EXPECT_EQ(defs[0].lines.len(), MAV::kPatMaxLines);

    // Truncated input at every length never fails hard and never invents values.
    const std::string whole = "*T, truncated\n45, 0,0, 0,.125, .5,-.25\n";
    for (size_t n = 0; n <= whole.size(); ++n) {
        CMavArrayTempl<MAV::PatternDef> part;
        MAV::patParse(whole.data(), n, part);
        for (const MAV::PatternDef& p : part)
            for (const CMavArrayTempl<double>& line : p.lines)
                for (double v : line)
                    EXPECT_TRUE(std::isfinite(v));
    }
    EXPECT_EQ(MAV::patParse(nullptr, 10, defs), 0);
}
