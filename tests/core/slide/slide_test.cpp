// Slide records, byte orders, truncated and hostile slides, slide libraries and code page 1252 names.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "mav_test_data.h"
#include "slide/slide.h"

using MAV::SlidePoint_st;
using MAV::SlideStop;

namespace {

using Bytes = std::vector<unsigned char>;

const std::string kDir = std::string(MAV_TEST_DATA_DIR) + "/slides/";

std::string readText(const std::string& name)
{
    std::ifstream f(kDir + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

Bytes readFile(const std::string& name)
{
    const std::string s = readText(name);
    return Bytes(s.begin(), s.end());
}

// Writes what the decoder reports in the listing form of the test slides, one line per call.
class Listing : public CMavSlideSink {
public:
    std::string text;

    void add(const char* what, const int* values, int n)
    {
        text += what;
        for (int i = 0; i < n; ++i)
            text += " " + std::to_string(values[i]);
        text += "\n";
    }
    void slideHeader(const MAV::SlideHeader_st& h) override
    {
        const int v[] = {h.level, h.highX, h.highY, h.swapped ? 1 : 0};
        add("header", v, 4);
    }
    void slideLine(SlidePoint_st a, SlidePoint_st b) override
    {
        const int v[] = {a.x, a.y, b.x, b.y};
        add("line", v, 4);
    }
    void slidePolygon(const SlidePoint_st* v, int n) override
    {
        std::vector<int> xy;
        for (int i = 0; i < n; ++i)
            xy.insert(xy.end(), {v[i].x, v[i].y});
        add("poly", xy.data(), 2 * n);
    }
    void slideColor(int index) override { add("color", &index, 1); }
};

// A copy of exactly size bytes on the heap, so that a read past the end is caught by the sanitizer.
std::unique_ptr<unsigned char[]> heapCopy(const Bytes& data, size_t size)
{
    std::unique_ptr<unsigned char[]> copy(new unsigned char[size + 1]);
    std::copy(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(size), copy.get());
    return copy;
}

// Decodes the first size bytes (all by default); answers the listing followed by the reason the decoder stopped.
std::string decode(CMavSlideDecoder& dec, const Bytes& data, size_t size = std::string::npos,
                   MAV::SlideResult_st* result = nullptr)
{
    static const char* const stops[] = {"noheader", "badlevel", "end", "eod", "unknown"};
    size = std::min(size, data.size());
    Listing out;
    const MAV::SlideResult_st r = dec.decode(heapCopy(data, size).get(), size, out);
    if (result != nullptr)
        *result = r;
    return out.text + "stop " + stops[static_cast<int>(r.stop)] + "\n";
}

// A level-2 header with the given byte-order word and raster bytes, followed by record words stored low byte
// first, or high byte first for a swapped slide.
Bytes slide2(uint16_t orderWord, std::initializer_list<int> records, unsigned char x0 = 0x10, unsigned char x1 = 0x02)
{
    Bytes b(17, 0);
    b.insert(b.end(), {0x56, 2, x0, x1, 0x20, 0x01, 0, 0, 0, 0, 2, 0});
    b.push_back(static_cast<unsigned char>(orderWord & 0xFF));
    b.push_back(static_cast<unsigned char>(orderWord >> 8));
    const bool swapped = orderWord == MAV::kSlideOrderSwapped;
    for (int w : records) {
        b.push_back(static_cast<unsigned char>((swapped ? w >> 8 : w) & 0xFF));
        b.push_back(static_cast<unsigned char>((swapped ? w : w >> 8) & 0xFF));
    }
    return b;
}

Bytes same(std::initializer_list<int> records)
{
    return slide2(MAV::kSlideOrderSame, records);
}

const std::string kHeader = "header 2 528 288 0\n";

// Whole lines two listings share from their start.
size_t commonLines(const std::string& a, const std::string& b)
{
    size_t n = 0;
    for (size_t i = 0; i < a.size() && i < b.size() && a[i] == b[i]; ++i)
        n += a[i] == '\n';
    return n;
}

} // namespace

TEST(SlideDecoder, EveryTestSlideReadsAsItsListingInEitherByteOrder)
{
    // The listings were written with the slides; the level-2 ones and the ppmtoacad slides also agree with
    // netpbm's sldtoppm (tools/sldwrite/crosscheck.py).
    CMavSlideDecoder dec; // a level-1 slide is read with the word the last level-2 slide left behind
    for (const std::string name :
         {"every_l2_le", "every_l1_le", "no_end_record", "unknown_record", "fill_negative_y", "fill_repeat_zero_y",
          "fill_without_closing_record", "fill_count_65535", "colors_only", "level_0", "level_3", "level_255",
          "diagonal", "magenta_diagonal", "ppmtoacad_lines", "ppmtoacad_poly", "every_l2_be", "every_l1_be"}) {
        EXPECT_EQ(decode(dec, readFile(name + ".sld")), readText(name + ".txt")) << name;
        EXPECT_EQ(dec.byteOrderWord(),
                  name.find("_be") != std::string::npos ? MAV::kSlideOrderSwapped : MAV::kSlideOrderSame)
            << name;
    }
    CMavSlideDecoder fresh;
    MAV::SlideHeader_st h;
    ASSERT_TRUE(fresh.readHeader(readFile("every_l1_be.sld").data(), 150, h));
    EXPECT_EQ(h.highX, 0xFF04); // 1279 stored high byte first, read low byte first
    EXPECT_FALSE(h.swapped);

    // The raster size is low byte first only for the word 0x1234; the records are swapped only for 0x3412. Any
    // other word reads the size high byte first and the records as stored. Coordinates are signed 16-bit words.
    EXPECT_EQ(decode(fresh, slide2(0x0000, {0x0005, 6, 7, 8, 0xFC00}, 0x01, 0x02)),
              "header 2 258 8193 0\nline 5 6 7 8\nstop end\n");
    EXPECT_EQ(fresh.byteOrderWord(), 0u);
    EXPECT_EQ(decode(fresh, same({0x0001, 0x8000, 0x7FFF, 4, 0xFC00})), kHeader + "line 1 -32768 32767 4\nstop end\n");
}

TEST(SlideDecoder, TruncatedSlidesDrawWhatPrecedesTheCutAndTheCutRecord)
{
    for (const std::string name : {"every_l2_le", "every_l2_be", "every_l1_le", "fill_negative_y"}) {
        const Bytes full = readFile(name + ".sld");
        CMavSlideDecoder wholeDec;
        MAV::SlideResult_st r;
        Listing whole;
        wholeDec.decode(full.data(), full.size(), whole);
        const size_t wholeLines = std::count(whole.text.begin(), whole.text.end(), '\n');
        const size_t headerSize = full[18] == 1 ? 34 : 31;
        size_t seen = 0;
        for (size_t cut = 0; cut < full.size(); ++cut) {
            CMavSlideDecoder dec;
            const std::string part = decode(dec, full, cut, &r);
            // Only the last two bytes hold the end record; any shorter cut ends with the data.
            EXPECT_EQ(r.stop, cut < headerSize ? SlideStop::NoHeader : SlideStop::EndOfData) << name << " " << cut;
            EXPECT_LE(r.position, cut);
            // The records before the cut are drawn as in the whole slide, and the cut record at most once more,
            // with what its missing bytes read as.
            const size_t lines = std::count(part.begin(), part.end(), '\n') - 1, common = commonLines(part, whole.text);
            EXPECT_TRUE(cut >= headerSize || lines == 0) << name << " cut " << cut;
            EXPECT_LE(lines, common + 1) << name << " cut " << cut;
            EXPECT_GE(common, seen) << name << " cut " << cut;
            seen = common;
        }
        EXPECT_EQ(seen, wholeLines) << name; // the last cut misses only the end record
    }
}

// {records after a level-2 header, listing after the header line, position where the reading stopped (0: not
// checked)}.
TEST(SlideDecoder, RecordsCutByTheEndAndRecordsThatStopTheReading)
{
    Bytes endpoint = same({0x0001, 2, 3, 4}), offset = endpoint, odd = same({0xFF02});
    endpoint.insert(endpoint.end(), {0x05, 0xFE});   // common endpoint dx 5, its dy missing: 0
    offset.insert(offset.end(), {0x01, 0xFB, 0x02}); // offset vector dx0 1, dy0 2, dx1 and dy1 missing: 0
    odd.push_back(0xFC);                             // an odd last byte is the end of the data
    const struct {
        Bytes data;
        const char* listing;
        size_t at;
    } cases[] = {
        {endpoint, "line 1 2 3 4\nline 1 2 6 2\nstop eod\n", 0}, {offset, "line 1 2 3 4\nline 2 4 1 2\nstop eod\n", 0},
        {same({0x0001, 2, 3}), "line 1 2 3 -772\nstop eod\n", 0}, // a missing word reads 0xFCFC
        // A fill of four vertices whose third lacks its y: that y reads -772 and ends the list after two.
        {same({0xFD00, 4, 0, 0xFD00, 1, 2, 0xFD00, 3, 4, 0xFD00, 5}), "poly 1 2 3 4\nstop eod\n", 0},
        {same({0xFF03, 0xFD00}), "color 3\npoly -772 -772\nstop eod\n", 0}, // cut after a fill's start word
        // Count 1 reads one vertex; a first y that is not negative is followed by a closing record,
        // a negative one is not.
        {same({0xFD00, 1, -1, 0xFD00, 4, 5, 0xFD00, 99, 99, 0x0001, 2, 3, 4}), "poly 4 5\nline 1 2 3 4\nstop eod\n", 0},
        {same({0xFD00, 1, -1, 0xFD00, 4, -5, 0x0001, 2, 3, 4}), "poly 4 -5\nline 1 2 3 4\nstop eod\n", 0},
        // 0xFD with a low byte other than 0 is no fill; 0x80..0xFA stop; the end record's low byte does not
        // matter, and nothing after it is read.
        {same({0xFD01, 1, 2, 3, 0x0001, 1, 1, 1}), "stop unknown\n", 33},
        {same({0x8000, 1, 2, 3, 0x0001, 1, 1, 1}), "stop unknown\n", 33},
        {same({0xFA12, 1, 2, 3, 0x0001, 1, 1, 1}), "stop unknown\n", 33}, {odd, "color 2\nstop eod\n", 33},
        {same({0xFC7A, 0x0001, 1, 1, 1}), "stop end\n", 33},
    };
    for (const auto& c : cases) {
        CMavSlideDecoder dec;
        MAV::SlideResult_st r;
        EXPECT_EQ(decode(dec, c.data, c.data.size(), &r), kHeader + c.listing) << static_cast<int>(&c - cases);
        EXPECT_TRUE(c.at == 0 || r.position == c.at) << static_cast<int>(&c - cases);
    }

    CMavSlideDecoder dec;
    // No data, or an unknown level as soon as its byte is there (before the header is complete), draw nothing.
    Listing out;
    EXPECT_EQ(dec.decode(nullptr, 100, out).stop, SlideStop::NoHeader);
    for (int level : {0, 3, 255}) {
        Bytes bad = same({});
        bad[18] = static_cast<unsigned char>(level);
        EXPECT_EQ(dec.decode(bad.data(), 23, out).stop, SlideStop::BadLevel) << level;
    }
    EXPECT_TRUE(out.text.empty());
}

namespace {

// The bytes slideLibraryFind answers for a name, or "absent" when it finds none.
std::string member(const Bytes& lib, const std::string& name, size_t cut = std::string::npos)
{
    const size_t size = std::min(cut, lib.size());
    size_t off = 7, len = 7;
    if (!MAV::slideLibraryFind(heapCopy(lib, size).get(), size, name, off, len))
        return off == 7 && len == 7 ? "absent" : "outputs changed";
    EXPECT_LE(off + len, size) << name;
    return std::string(lib.begin() + static_cast<std::ptrdiff_t>(off),
                       lib.begin() + static_cast<std::ptrdiff_t>(off + len));
}

} // namespace

TEST(SlideLibrary, FindsMembersIgnoringCaseAndSurvivesHostileDirectories)
{
    const std::string member_[] = {"absent", readText("every_l2_le.sld"), readText("diagonal.sld"),
                                   readText("magenta_diagonal.sld")};
    const Bytes libs[] = {readFile("library.slb"), readFile("library_no_end_entry.slb"),
                          readFile("library_full_name.slb"), readFile("library_offset_beyond.slb"),
                          readFile("library_offset_in_directory.slb"), readFile("library_offsets_reversed.slb")};
    const Bytes &lib = libs[0], &beyond = libs[3], &inDir = libs[4], &reversed = libs[5];
    // {library, name, member: 0 none, 1 every_l2_le, 2 diagonal, 3 magenta_diagonal}. Without an end entry the
    // last member runs to the end of the file; a name of 32 bytes has no terminating zero; an offset beyond the
    // file ends the slide before with the file; one that points into the directory, or back, is no member.
    const struct {
        int lib;
        const char* name;
        int expected;
    } cases[] = {{0, "EVERY", 1},  {0, "every", 1},  {0, "DIAGONAL", 2}, {0, "Diagonal", 2},
                 {0, "T\xDCR", 3}, {0, "t\xFCr", 3}, {0, "EVER", 0},     {0, "EVERYX", 0},
                 {0, "", 0},       {0, "TUR", 0},    {1, "EVERY", 1},    {1, "T\xDCR", 3},
                 {1, "NONE", 0},   {3, "THIRD", 0},  {4, "FIRST", 0},    {5, "FIRST", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(member(libs[c.lib], c.name), member_[c.expected]) << c.lib << " " << c.name;
    EXPECT_EQ(member(lib, MAV::toCp1252(L"T\u00fcR")), member_[3]);
    EXPECT_EQ(member(lib, std::string("EVERY\0", 6)), member_[0]);
    for (int n : {31, 32, 33}) // 31 characters end at the next entry's offset
        EXPECT_EQ(member(libs[2], std::string(n, n == 31 ? 'x' : 'X')), member_[n == 31 ? 3 : n == 32 ? 2 : 0]) << n;
    // FIRST, SECOND, THIRD lie at 176, 176 + 41, 176 + 41 + 43 when the offsets are honest.
    size_t off = 0, len = 0;
    ASSERT_TRUE(MAV::slideLibraryFind(beyond.data(), beyond.size(), "SECOND", off, len));
    EXPECT_EQ(off * 10000 + off + len, (176u + 41) * 10000 + beyond.size());
    EXPECT_NE(member(inDir, "SECOND"), "absent");
    ASSERT_TRUE(MAV::slideLibraryFind(reversed.data(), reversed.size(), "SECOND", off, len));
    EXPECT_EQ(off * 1000 + len, 176u * 1000 + 41 + 43);
    EXPECT_FALSE(MAV::slideLibraryFind(nullptr, 100, "EVERY", off, len));

    // Cut anywhere: a member is found as soon as its first byte is present (the directory lies before it), and it
    // then runs to its end or to the cut, whichever comes first.
    for (const char* name : {"EVERY", "DIAGONAL", "T\xDCR"}) {
        ASSERT_TRUE(MAV::slideLibraryFind(lib.data(), lib.size(), name, off, len));
        const std::string whole = member(lib, name);
        for (size_t cut = 0; cut <= lib.size(); ++cut)
            ASSERT_EQ(member(lib, name, cut), cut > off ? whole.substr(0, std::min(len, cut - off)) : "absent")
                << name << " cut " << cut;
    }

    // From the file, with the name converted to code page 1252; what is not found leaves nothing.
    const std::wstring dir(kDir.begin(), kDir.end());
    std::vector<unsigned char> slide;
    ASSERT_TRUE(MAV::slideLibraryLoad((dir + L"library.slb").c_str(), L"t\u00dcr", slide));
    EXPECT_EQ(std::string(slide.begin(), slide.end()), member_[3]);
    EXPECT_FALSE(MAV::slideLibraryLoad((dir + L"library.slb").c_str(), L"tuer", slide));
    EXPECT_FALSE(MAV::slideLibraryLoad(dir.c_str(), L"EVERY", slide) || MAV::slideLibraryLoad(nullptr, L"T", slide));
    EXPECT_TRUE(slide.empty());
    ASSERT_TRUE(MAV::slideFileLoad((dir + L"diagonal.sld").c_str(), slide));
    EXPECT_EQ(std::string(slide.begin(), slide.end()), member_[2]);
    EXPECT_FALSE(MAV::slideFileLoad((dir + L"absent.sld").c_str(), slide));
    EXPECT_TRUE(slide.empty());
}

TEST(SlideLibrary, Cp1252NamesAndCaseFolding)
{
    EXPECT_EQ(MAV::toCp1252(L"T\u00fcr \u20ac\u201a\u0192\u2122\u0178\u00ff"), "T\xFCr \x80\x82\x83\x99\x9F\xFF");
    // Not in the code page: one '?' per character, a surrogate pair counting as one whichever low half (the lowest
    // or the highest) closes it; a high half before anything else stands alone.
    const wchar_t pairs[] = {0xD800, 0xDC00, L'a', 0xDBFF, 0xDFFF, L'b', 0xD83D, L'c', 0};
    EXPECT_EQ(MAV::toCp1252(pairs), "?a?b?c");
    EXPECT_EQ(MAV::toCp1252(L"\u0100\u4e2d\u0080\u0081"), "???\x81");
    EXPECT_EQ(MAV::toCp1252(nullptr), "");

    // The accented letters from 0xE0 to 0xFE fold 0x20 down; 0xFF folds to 0x9F, 0x9A to 0x8A.
    EXPECT_TRUE(MAV::slideNameEqualNoCase("Stra\xDF\x65 \xE9\xFF\x9A\xE0\xFE", "STRA\xDF\x45 \xC9\x9F\x8A\xC0\xDE"));
    // Division and multiplication signs, sharp s against y-umlaut, a trailing blank, signs 0x20 apart.
    const char* const differ[][2] = {{"\xF7", "\xD7"}, {"\xDF", "\xFF"}, {"A", "A "}, {"[", "{"}};
    for (const auto& d : differ)
        EXPECT_FALSE(MAV::slideNameEqualNoCase(d[0], d[1])) << d[0];
}
