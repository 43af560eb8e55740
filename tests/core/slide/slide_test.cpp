// Slide records, byte orders, truncated and hostile slides, slide libraries and code page 1252 names.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "slide/slide.h"
#include "mav_test_data.h"

using MAV::SlidePoint_st;
using MAV::SlideStop;

namespace {

using Bytes = std::vector<unsigned char>;

const std::string kDir = std::string(MAV_TEST_DATA_DIR) + "/slides/";

Bytes readFile(const std::string& name)
{
    std::ifstream f(kDir + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

std::string readText(const std::string& name)
{
    const Bytes b = readFile(name);
    return std::string(b.begin(), b.end());
}

std::wstring widen(const std::string& name)
{
    const std::string s = kDir + name;
    return std::wstring(s.begin(), s.end());
}

// Writes what the decoder reports in the listing form of the test slides, one line per call.
class Listing : public CMavSlideSink {
public:
    std::string text;

    void add(const char* what, std::initializer_list<int> values)
    {
        text += what;
        for (int v : values)
            text += " " + std::to_string(v);
        text += "\n";
    }
    void slideHeader(const MAV::SlideHeader_st& h) override
    {
        add("header", {h.level, h.highX, h.highY, h.swapped ? 1 : 0});
    }
    void slideLine(SlidePoint_st a, SlidePoint_st b) override { add("line", {a.x, a.y, b.x, b.y}); }
    void slidePolygon(const SlidePoint_st* v, int n) override
    {
        text += "poly";
        for (int i = 0; i < n; ++i)
            text += " " + std::to_string(v[i].x) + " " + std::to_string(v[i].y);
        text += "\n";
    }
    void slideColor(int index) override { add("color", {index}); }
};

// A copy of exactly size bytes on the heap, so that a read past the end is caught by the sanitizer.
std::unique_ptr<unsigned char[]> heapCopy(const Bytes& data, size_t size)
{
    std::unique_ptr<unsigned char[]> copy(new unsigned char[size + 1]);
    std::copy(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(size), copy.get());
    return copy;
}

// Decodes the first size bytes; answers the listing followed by the reason the decoder stopped.
std::string decodeExact(CMavSlideDecoder& dec, const Bytes& data, size_t size, Listing& out,
                        MAV::SlideResult_st* result = nullptr)
{
    static const char* const stops[] = {"noheader", "badlevel", "end", "eod", "unknown"};
    const MAV::SlideResult_st r = dec.decode(heapCopy(data, size).get(), size, out);
    if (result != nullptr)
        *result = r;
    return out.text + "stop " + stops[static_cast<int>(r.stop)] + "\n";
}

std::string decode(CMavSlideDecoder& dec, const Bytes& data)
{
    Listing out;
    return decodeExact(dec, data, data.size(), out);
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

} // namespace

TEST(SlideDecoder, EveryTestSlideReadsAsItsListing)
{
    // The listings were written with the slides; the level-2 ones and the ppmtoacad slides also agree with
    // netpbm's sldtoppm (tools/sldwrite/crosscheck.py).
    for (const std::string name :
         {"every_l2_le", "every_l2_be", "every_l1_le", "no_end_record", "unknown_record", "fill_negative_y",
          "fill_repeat_zero_y", "fill_without_closing_record", "fill_count_65535", "colors_only", "level_0", "level_3",
          "level_255", "diagonal", "magenta_diagonal", "ppmtoacad_lines", "ppmtoacad_poly"}) {
        CMavSlideDecoder dec;
        EXPECT_EQ(decode(dec, readFile(name + ".sld")), readText(name + ".txt")) << name;
    }
}

TEST(SlideDecoder, BigEndianTwinsAndTheKeptByteOrderWord)
{
    CMavSlideDecoder dec;
    decode(dec, readFile("every_l2_le.sld"));
    EXPECT_EQ(dec.byteOrderWord(), MAV::kSlideOrderSame);
    decode(dec, readFile("every_l2_be.sld"));
    EXPECT_EQ(dec.byteOrderWord(), MAV::kSlideOrderSwapped);

    // A level-1 slide has no word of its own: it is read with the one the last level-2 slide left behind.
    EXPECT_EQ(decode(dec, readFile("every_l1_be.sld")), readText("every_l1_be.txt"));
    EXPECT_EQ(dec.byteOrderWord(), MAV::kSlideOrderSwapped);
    CMavSlideDecoder fresh;
    MAV::SlideHeader_st h;
    ASSERT_TRUE(fresh.readHeader(readFile("every_l1_be.sld").data(), 150, h));
    EXPECT_EQ(h.highX, 0xFF04); // 1279 stored high byte first, read low byte first
    EXPECT_FALSE(h.swapped);

    // The raster size is low byte first only for the word 0x1234; the records are swapped only for 0x3412. Any
    // other word reads the size high byte first and the records as stored.
    EXPECT_EQ(decode(dec, slide2(0x0000, {0x0005, 6, 7, 8, 0xFC00}, 0x01, 0x02)),
              "header 2 258 8193 0\nline 5 6 7 8\nstop end\n");
    EXPECT_EQ(dec.byteOrderWord(), 0u);
    // Coordinates are signed 16-bit words: 0x8000 is the most negative.
    EXPECT_EQ(decode(dec, slide2(MAV::kSlideOrderSame, {0x0001, 0x8000, 0x7FFF, 4, 0xFC00})),
              "header 2 528 288 0\nline 1 -32768 32767 4\nstop end\n");
}

namespace {

// The lines of a listing.
std::vector<std::string> listingLines(const std::string& text)
{
    std::vector<std::string> out;
    for (size_t at = 0; at < text.size();) {
        const size_t nl = text.find('\n', at);
        out.push_back(text.substr(at, nl - at));
        at = nl == std::string::npos ? text.size() : nl + 1;
    }
    return out;
}

} // namespace

TEST(SlideDecoder, TruncatedSlidesDrawWhatPrecedesTheCutAndTheCutRecord)
{
    for (const std::string name : {"every_l2_le", "every_l2_be", "every_l1_le", "fill_negative_y"}) {
        const Bytes full = readFile(name + ".sld");
        Listing whole;
        CMavSlideDecoder wholeDec;
        MAV::SlideResult_st all;
        decodeExact(wholeDec, full, full.size(), whole, &all);
        EXPECT_EQ(all.position, full.size());
        const std::vector<std::string> wholeLines = listingLines(whole.text);
        const size_t headerSize = full[18] == 1 ? 34 : 31;
        size_t seen = 0;
        for (size_t cut = 0; cut < full.size(); ++cut) {
            CMavSlideDecoder dec;
            Listing part;
            MAV::SlideResult_st r;
            decodeExact(dec, full, cut, part, &r);
            // Only the last two bytes hold the end record; any shorter cut ends with the data.
            EXPECT_EQ(r.stop, cut < headerSize ? SlideStop::NoHeader : SlideStop::EndOfData) << name << " " << cut;
            EXPECT_LE(r.position, cut);
            EXPECT_TRUE(cut >= headerSize || part.text.empty()) << name << " cut " << cut;
            // The records before the cut are drawn as in the whole slide, and the cut record at most once more,
            // with what its missing bytes read as.
            const std::vector<std::string> lines = listingLines(part.text);
            size_t same = 0;
            while (same < lines.size() && same < wholeLines.size() && lines[same] == wholeLines[same])
                ++same;
            EXPECT_LE(lines.size(), same + 1) << name << " cut " << cut;
            EXPECT_GE(same, seen) << name << " cut " << cut;
            seen = same;
        }
        // The last cut misses only the end record: everything else is drawn.
        EXPECT_EQ(seen, wholeLines.size()) << name;
    }
}

TEST(SlideDecoder, ARecordCutByTheEndReadsMissingWordsAsFCFCAndBytesAsZero)
{
    // Each slide ends inside its last record.
    Bytes endpoint = slide2(MAV::kSlideOrderSame, {0x0001, 2, 3, 4});
    endpoint.insert(endpoint.end(), {0x05, 0xFE});  // common endpoint dx 5, its dy missing: 0
    Bytes offset = slide2(MAV::kSlideOrderSame, {0x0001, 2, 3, 4});
    offset.insert(offset.end(), {0x01, 0xFB, 0x02});  // offset vector dx0 1, dy0 2, dx1 and dy1 missing: 0
    Bytes vectorCut = slide2(MAV::kSlideOrderSame, {0x0001, 2, 3});  // to y missing: 0xFCFC, -772
    // A fill of four vertices whose third lacks its y: that y reads -772 and ends the list after two vertices.
    const Bytes fill = slide2(MAV::kSlideOrderSame, {0xFD00, 4, 0, 0xFD00, 1, 2, 0xFD00, 3, 4, 0xFD00, 5});
    // A fill cut right after its start word: count, first vertex and all read 0xFCFC.
    const Bytes fillStart = slide2(MAV::kSlideOrderSame, {0xFF03, 0xFD00});
    const struct {
        const Bytes& data;
        const char* listing;
    } cases[] = {
        {endpoint, "line 1 2 3 4\nline 1 2 6 2\n"},
        {offset, "line 1 2 3 4\nline 2 4 1 2\n"},
        {vectorCut, "line 1 2 3 -772\n"},
        {fill, "poly 1 2 3 4\n"},
        {fillStart, "color 3\npoly -772 -772\n"},
    };
    for (const auto& c : cases) {
        CMavSlideDecoder dec;
        EXPECT_EQ(decode(dec, c.data), "header 2 528 288 0\n" + std::string(c.listing) + "stop eod\n")
            << static_cast<int>(&c - cases);
    }
}

TEST(SlideDecoder, FillSequencesOfOddCountsAndSwappedRecords)
{
    CMavSlideDecoder dec;
    // Count 0 and 1 both read one vertex; a first y that is not negative is followed by a closing record.
    for (int count : {0, 1})
        EXPECT_EQ(decode(dec, slide2(MAV::kSlideOrderSame,
                                     {0xFD00, count, -1, 0xFD00, 4, 5, 0xFD00, 99, 99, 0x0001, 2, 3, 4, 0xFC00})),
                  "header 2 528 288 0\npoly 4 5\nline 1 2 3 4\nstop end\n")
            << count;
    // A count of 1 with a negative first y: no closing record follows, the next record is read at once.
    EXPECT_EQ(decode(dec, slide2(MAV::kSlideOrderSame, {0xFD00, 1, -1, 0xFD00, 4, -5, 0x0001, 2, 3, 4, 0xFC00})),
              "header 2 528 288 0\npoly 4 -5\nline 1 2 3 4\nstop end\n");

    // Swapped records: fills, offset vectors and colours read the same from big-endian words; the single bytes of
    // the offset records are not swapped.
    Bytes be = slide2(MAV::kSlideOrderSwapped,
                      {0xFF05, 0xFD00, 2, 0xFFFE, 0xFD00, 7, 8, 0xFD00, 9, 10, 0xFD00, 2, 0xFFFE, 0x0003, 4, 5, 6},
                      0x02, 0x10);
    be.insert(be.end(), {0xFB, 0xFF, 0x02, 0x01, 0xFF}); // 0xFBFF then dy0 2, dx1 1, dy1 -1
    be.insert(be.end(), {0xFE, 0x01, 0x80});             // 0xFE01 then dy -128
    EXPECT_EQ(decode(dec, be),
              "header 2 528 8193 1\ncolor 5\npoly 7 8 9 10\nline 3 4 5 6\nline 2 6 4 3\nline 2 6 3 -122\nstop eod\n");
}

TEST(SlideDecoder, HeadersAndRecordsThatStopTheReading)
{
    CMavSlideDecoder dec;
    Listing out;
    EXPECT_EQ(dec.decode(nullptr, 100, out).stop, SlideStop::NoHeader);
    // An unknown level stops the reading as soon as its byte is there, before the header is complete (whole
    // slides of such levels are among the listed test slides).
    for (int level : {0, 3, 255}) {
        Bytes bad = slide2(MAV::kSlideOrderSame, {});
        bad[18] = static_cast<unsigned char>(level);
        EXPECT_EQ(dec.decode(bad.data(), 23, out).stop, SlideStop::BadLevel) << level;
    }
    EXPECT_TRUE(out.text.empty());

    // 0xFD with a low byte other than 0 is no fill; 0x80..0xFA stop; an odd last byte is the end of the data; the
    // end record's low byte does not matter, and nothing after it is read.
    Bytes odd = slide2(MAV::kSlideOrderSame, {0xFF02});
    odd.push_back(0xFC);
    const struct {
        Bytes data;
        SlideStop stop;
        int colors;
    } cases[] = {{slide2(MAV::kSlideOrderSame, {0xFD01, 1, 2, 3, 0x0001, 1, 1, 1}), SlideStop::UnknownRecord, 0},
                 {slide2(MAV::kSlideOrderSame, {0x8000, 1, 2, 3, 0x0001, 1, 1, 1}), SlideStop::UnknownRecord, 0},
                 {slide2(MAV::kSlideOrderSame, {0xFA12, 1, 2, 3, 0x0001, 1, 1, 1}), SlideStop::UnknownRecord, 0},
                 {odd, SlideStop::EndOfData, 1},
                 {slide2(MAV::kSlideOrderSame, {0xFC7A, 0x0001, 1, 1, 1}), SlideStop::EndRecord, 0}};
    for (const auto& c : cases) {
        const MAV::SlideResult_st r = dec.decode(c.data.data(), c.data.size(), out);
        const int at = static_cast<int>(&c - cases);
        EXPECT_EQ(r.stop, c.stop) << at;
        EXPECT_EQ(r.position, 33u) << at;
        EXPECT_EQ(r.lines, 0) << at;
        EXPECT_EQ(r.colors, c.colors) << at;
    }
}

TEST(SlideDecoder, LongRunsOfOffsetsStayDefined)
{
    // 100,000 common endpoints of (-128, -128) walk 12.8 million units away from the origin.
    Bytes b = slide2(MAV::kSlideOrderSame, {});
    for (int i = 0; i < 100000; ++i)
        b.insert(b.end(), {0x80, 0xFE, 0x80});
    struct Last : CMavSlideSink {
        SlidePoint_st end;
        void slideLine(SlidePoint_st, SlidePoint_st to) override { end = to; }
        void slidePolygon(const SlidePoint_st*, int) override {}
        void slideColor(int) override {}
    } sink;
    CMavSlideDecoder dec;
    EXPECT_EQ(dec.decode(b.data(), b.size(), sink).lines, 100000);
    EXPECT_EQ(sink.end, (SlidePoint_st{-12800000, -12800000}));
}

namespace {

// The bytes slideLibraryFind answers for a name, or "absent" when it finds none.
std::string member(const Bytes& lib, const std::string& name, size_t cut = std::string::npos)
{
    const size_t size = std::min(cut, lib.size());
    size_t off = 0, len = 0;
    if (!MAV::slideLibraryFind(heapCopy(lib, size).get(), size, name, off, len))
        return "absent";
    EXPECT_LE(off + len, size) << name;
    return std::string(lib.begin() + static_cast<std::ptrdiff_t>(off),
                       lib.begin() + static_cast<std::ptrdiff_t>(off + len));
}

} // namespace

TEST(SlideLibrary, FindsMembersIgnoringCase)
{
    const Bytes lib = readFile("library.slb");
    ASSERT_FALSE(lib.empty());
    const std::string every = readText("every_l2_le.sld"), diagonal = readText("diagonal.sld"),
                      magenta = readText("magenta_diagonal.sld");
    const struct {
        std::string name, expected;
    } cases[] = {{"EVERY", every}, {"every", every}, {"DIAGONAL", diagonal}, {"Diagonal", diagonal},
                 {"T\xDCR", magenta}, {"t\xFCr", magenta}, {MAV::toCp1252(L"T\u00fcR"), magenta},
                 {"EVER", "absent"}, {"EVERYX", "absent"}, {"", "absent"}, {"TUR", "absent"},
                 {std::string("EVERY\0", 6), "absent"}};
    for (const auto& c : cases)
        EXPECT_EQ(member(lib, c.name), c.expected) << c.name;
    size_t off = 7, len = 7;
    EXPECT_FALSE(MAV::slideLibraryFind(lib.data(), lib.size(), "EVER", off, len));
    EXPECT_EQ(off, 7u) << "a missing name leaves the outputs alone";
    EXPECT_FALSE(MAV::slideLibraryFind(nullptr, 100, "EVERY", off, len));

    // From the file, with the name converted to code page 1252.
    std::vector<unsigned char> slide, file;
    ASSERT_TRUE(MAV::slideLibraryLoad(widen("library.slb").c_str(), L"t\u00dcr", slide));
    EXPECT_EQ(std::string(slide.begin(), slide.end()), magenta);
    EXPECT_FALSE(MAV::slideLibraryLoad(widen("library.slb").c_str(), L"tuer", slide));
    EXPECT_TRUE(slide.empty());
    EXPECT_FALSE(MAV::slideLibraryLoad(widen("library.slb").c_str(), static_cast<const wchar_t*>(nullptr), slide));
    EXPECT_FALSE(MAV::slideLibraryLoad(widen("absent.slb").c_str(), L"EVERY", slide));
    EXPECT_FALSE(MAV::slideLibraryLoad(nullptr, L"EVERY", slide));
    EXPECT_FALSE(MAV::slideLibraryLoad(widen("").c_str(), L"EVERY", slide)); // a folder
    ASSERT_TRUE(MAV::slideFileLoad(widen("diagonal.sld").c_str(), file));
    EXPECT_EQ(std::string(file.begin(), file.end()), diagonal);
    EXPECT_FALSE(MAV::slideFileLoad(widen("absent.sld").c_str(), file));
    EXPECT_TRUE(file.empty());
}

TEST(SlideLibrary, HostileDirectories)
{
    const std::string every = readText("every_l2_le.sld"), diagonal = readText("diagonal.sld"),
                      magenta = readText("magenta_diagonal.sld");
    size_t off = 0, len = 0;
    // Without an end entry the members are still found; the last one runs to the end of the file. A missing name
    // walks on through the slide bytes as if they were entries, and stops at the end of the file.
    const Bytes noEnd = readFile("library_no_end_entry.slb");
    EXPECT_EQ(member(noEnd, "EVERY"), every);
    EXPECT_EQ(member(noEnd, "T\xDCR"), magenta);
    EXPECT_EQ(member(noEnd, "NONE"), "absent");

    // A name of 32 bytes has no terminating zero; 31 bytes ends at the next entry's offset.
    const Bytes full = readFile("library_full_name.slb");
    EXPECT_EQ(member(full, std::string(31, 'x')), magenta);
    EXPECT_EQ(member(full, std::string(32, 'X')), diagonal);
    EXPECT_EQ(member(full, std::string(33, 'X')), "absent");

    // FIRST, SECOND, THIRD at 176, 176 + 41, 176 + 41 + 43 when the offsets are honest. An offset beyond the file
    // ends the slide before with the file; one that points into the directory, or back, is no member.
    const Bytes beyond = readFile("library_offset_beyond.slb");
    ASSERT_TRUE(MAV::slideLibraryFind(beyond.data(), beyond.size(), "SECOND", off, len));
    EXPECT_EQ(off, 176u + 41);
    EXPECT_EQ(off + len, beyond.size());
    EXPECT_EQ(member(beyond, "THIRD"), "absent");
    const Bytes inDir = readFile("library_offset_in_directory.slb");
    EXPECT_EQ(member(inDir, "FIRST"), "absent");
    EXPECT_NE(member(inDir, "SECOND"), "absent");
    const Bytes reversed = readFile("library_offsets_reversed.slb");
    EXPECT_EQ(member(reversed, "FIRST"), "absent");
    ASSERT_TRUE(MAV::slideLibraryFind(reversed.data(), reversed.size(), "SECOND", off, len));
    EXPECT_EQ(off, 176u);
    EXPECT_EQ(len, 41u + 43u);

    // Cut anywhere: a member is found as soon as its first byte is present (the directory lies before it), and it
    // then runs to its end or to the cut, whichever comes first.
    const Bytes lib = readFile("library.slb");
    for (const char* name : {"EVERY", "DIAGONAL", "T\xDCR"}) {
        size_t start = 0, size = 0;
        ASSERT_TRUE(MAV::slideLibraryFind(lib.data(), lib.size(), name, start, size));
        const std::string whole = member(lib, name);
        for (size_t cut = 0; cut <= lib.size(); ++cut)
            ASSERT_EQ(member(lib, name, cut), cut > start ? whole.substr(0, std::min(size, cut - start)) : "absent")
                << name << " cut " << cut;
    }
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

    EXPECT_TRUE(MAV::slideNameEqualNoCase("Stra\xDF\x65 \xE9\xFF\x9A", "STRA\xDF\x45 \xC9\x9F\x8A")); // ...\xDF e/E ...
    EXPECT_FALSE(MAV::slideNameEqualNoCase("\xF7", "\xD7")); // division and multiplication signs
    EXPECT_FALSE(MAV::slideNameEqualNoCase("\xDF", "\xFF"));
    EXPECT_FALSE(MAV::slideNameEqualNoCase("A", "A "));
    EXPECT_FALSE(MAV::slideNameEqualNoCase("[", "{")); // not letters, 0x20 apart
}
