// Slide records, byte orders, truncated and hostile slides, slide libraries and code page 1252 names.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "generators/slide.h"

using MAV::SlidePoint_st;
using MAV::SlideStop;

namespace {

using Bytes = std::vector<unsigned char>;

const std::string kDir = std::string(MAV_TEST_DATA_DIR) + "/slides/";

Bytes readFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

std::string readText(const std::string& path)
{
    std::ifstream f(path);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

std::wstring widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// Writes what the decoder reports in the listing form of the test slides.
class Listing : public CMavSlideSink {
public:
    std::vector<std::string> events;

    void slideHeader(const MAV::SlideHeader_st& h) override
    {
        events.push_back("header " + std::to_string(h.level) + " " + std::to_string(h.highX) + " " +
                         std::to_string(h.highY) + " " + (h.swapped ? "1" : "0"));
    }
    void slideLine(SlidePoint_st a, SlidePoint_st b) override
    {
        events.push_back("line " + std::to_string(a.x) + " " + std::to_string(a.y) + " " + std::to_string(b.x) + " " +
                         std::to_string(b.y));
    }
    void slidePolygon(const SlidePoint_st* v, int n) override
    {
        std::string s = "poly";
        for (int i = 0; i < n; ++i)
            s += " " + std::to_string(v[i].x) + " " + std::to_string(v[i].y);
        events.push_back(s);
    }
    void slideColor(int index) override { events.push_back("color " + std::to_string(index)); }

    std::string text(SlideStop stop) const
    {
        static const char* const names[] = {"noheader", "badlevel", "end", "eod", "unknown"};
        std::string s;
        for (const std::string& e : events)
            s += e + "\n";
        return s + "stop " + names[static_cast<int>(stop)] + "\n";
    }
};

// Decodes a copy of exactly size bytes on the heap, so that a read past the end is caught by the sanitizer.
std::string decodeExact(CMavSlideDecoder& dec, const Bytes& data, size_t size, Listing& out,
                        MAV::SlideResult_st* result = nullptr)
{
    std::unique_ptr<unsigned char[]> copy(new unsigned char[size > 0 ? size : 1]);
    std::copy(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(size), copy.get());
    const MAV::SlideResult_st r = dec.decode(copy.get(), size, out);
    if (result != nullptr)
        *result = r;
    return out.text(r.stop);
}

std::string decodeFile(CMavSlideDecoder& dec, const std::string& name)
{
    const Bytes data = readFile(kDir + name + ".sld");
    EXPECT_FALSE(data.empty()) << name;
    Listing out;
    return decodeExact(dec, data, data.size(), out);
}

// A level-2 little-endian header with the given byte-order word and raster bytes.
Bytes header2(uint16_t orderWord, unsigned char x0 = 0x10, unsigned char x1 = 0x02)
{
    Bytes b(17, 0);
    b.push_back(0x56);
    b.push_back(2);
    b.insert(b.end(), {x0, x1, 0x20, 0x01});
    b.insert(b.end(), {0, 0, 0, 0, 2, 0});
    b.push_back(static_cast<unsigned char>(orderWord & 0xFF));
    b.push_back(static_cast<unsigned char>(orderWord >> 8));
    return b;
}

void words(Bytes& b, std::initializer_list<int> ws)
{
    for (int w : ws) {
        b.push_back(static_cast<unsigned char>(w & 0xFF));
        b.push_back(static_cast<unsigned char>((w >> 8) & 0xFF));
    }
}

} // namespace

TEST(SlideDecoder, EveryTestSlideReadsAsItsListing)
{
    // The listings were written with the slides; the level-2 ones and the ppmtoacad slides also agree with
    // netpbm's sldtoppm (tools/sldwrite/crosscheck.py).
    for (const char* name :
         {"every_l2_le", "every_l2_be", "every_l1_le", "no_end_record", "unknown_record", "fill_negative_y",
          "fill_repeat_zero_y", "fill_without_closing_record", "fill_count_65535", "colors_only", "level_0",
          "level_3", "level_255", "diagonal", "magenta_diagonal", "ppmtoacad_lines", "ppmtoacad_poly"}) {
        CMavSlideDecoder dec;
        EXPECT_EQ(decodeFile(dec, name), readText(kDir + name + ".txt")) << name;
    }
}

TEST(SlideDecoder, BigEndianTwinsAndTheKeptByteOrderWord)
{
    CMavSlideDecoder dec;
    const std::string le = decodeFile(dec, "every_l2_le");
    EXPECT_EQ(dec.byteOrderWord(), MAV::kSlideOrderSame);
    const std::string be = decodeFile(dec, "every_l2_be");
    EXPECT_EQ(dec.byteOrderWord(), MAV::kSlideOrderSwapped);
    // Apart from the swapped flag of the header the twins draw the same.
    EXPECT_EQ(be.substr(be.find('\n')), le.substr(le.find('\n')));

    // A level-1 slide has no word of its own: it is read with the one the last level-2 slide left behind.
    EXPECT_EQ(decodeFile(dec, "every_l1_be"), readText(kDir + "every_l1_be.txt"));
    EXPECT_EQ(dec.byteOrderWord(), MAV::kSlideOrderSwapped);
    CMavSlideDecoder fresh;
    MAV::SlideHeader_st h;
    ASSERT_TRUE(fresh.readHeader(readFile(kDir + "every_l1_be.sld").data(), 150, h));
    EXPECT_EQ(h.highX, 0xFF04);   // 1279 stored high byte first, read low byte first
    EXPECT_FALSE(h.swapped);

    // The raster size is low byte first only for the word 0x1234; the records are swapped only for 0x3412. Any
    // other word reads the size high byte first and the records as stored.
    Bytes odd = header2(0x0000, 0x01, 0x02);
    words(odd, {0x0005, 6, 7, 8, 0xFC00});
    Listing out;
    EXPECT_EQ(decodeExact(dec, odd, odd.size(), out), "header 2 258 8193 0\nline 5 6 7 8\nstop end\n");
    EXPECT_EQ(dec.byteOrderWord(), 0u);
}

TEST(SlideDecoder, TruncatedSlidesDrawWhatPrecedesTheCut)
{
    for (const char* name : {"every_l2_le", "every_l2_be", "every_l1_le", "fill_negative_y"}) {
        const Bytes full = readFile(kDir + name + ".sld");
        Listing whole;
        CMavSlideDecoder wholeDec;
        MAV::SlideResult_st all;
        decodeExact(wholeDec, full, full.size(), whole, &all);
        const size_t headerSize = full[18] == 1 ? 34 : 31;
        size_t seen = 0;
        for (size_t cut = 0; cut < full.size(); ++cut) {
            CMavSlideDecoder dec;
            Listing part;
            MAV::SlideResult_st r;
            decodeExact(dec, full, cut, part, &r);
            if (cut < headerSize) {
                EXPECT_EQ(r.stop, SlideStop::NoHeader) << name << " cut " << cut;
                EXPECT_TRUE(part.events.empty());
                continue;
            }
            ASSERT_LE(part.events.size(), whole.events.size()) << name << " cut " << cut;
            EXPECT_TRUE(std::equal(part.events.begin(), part.events.end(), whole.events.begin()))
                << name << " cut " << cut;
            EXPECT_GE(part.events.size(), seen) << name << " cut " << cut;
            seen = part.events.size();
            // Only the last two bytes hold the end record; any shorter cut ends with the data.
            EXPECT_EQ(r.stop, SlideStop::EndOfData) << name << " cut " << cut;
            EXPECT_LE(r.position, cut);
        }
        // The last cut misses only the end record: everything else is drawn.
        EXPECT_EQ(seen, whole.events.size()) << name;
        EXPECT_EQ(all.stop, SlideStop::EndRecord);
        EXPECT_EQ(all.position, full.size());
    }
}

TEST(SlideDecoder, FillSequencesOfOddCountsAndSwappedRecords)
{
    // Count 0 and 1 both read one vertex; a first y that is not negative is followed by a closing record.
    for (int count : {0, 1}) {
        Bytes b = header2(MAV::kSlideOrderSame);
        words(b, {0xFD00, count, -1, 0xFD00, 4, 5, 0xFD00, 99, 99, 0x0001, 2, 3, 4, 0xFC00});
        Listing out;
        CMavSlideDecoder dec;
        EXPECT_EQ(decodeExact(dec, b, b.size(), out), "header 2 528 288 0\npoly 4 5\nline 1 2 3 4\nstop end\n")
            << count;
    }
    // A count of 1 with a negative first y: no closing record follows, the next record is read at once.
    Bytes neg = header2(MAV::kSlideOrderSame);
    words(neg, {0xFD00, 1, -1, 0xFD00, 4, -5, 0x0001, 2, 3, 4, 0xFC00});
    Listing out;
    CMavSlideDecoder dec;
    EXPECT_EQ(decodeExact(dec, neg, neg.size(), out), "header 2 528 288 0\npoly 4 -5\nline 1 2 3 4\nstop end\n");

    // Swapped records: fills, offset vectors and colours read the same from big-endian words; the single bytes of
    // the offset records are not swapped.
    Bytes be = header2(MAV::kSlideOrderSwapped, 0x02, 0x10);
    for (int w : {0xFF05, 0xFD00, 2, 0xFFFE, 0xFD00, 7, 8, 0xFD00, 9, 10, 0xFD00, 2, 0xFFFE, 0x0003, 4, 5, 6}) {
        be.push_back(static_cast<unsigned char>((w >> 8) & 0xFF));
        be.push_back(static_cast<unsigned char>(w & 0xFF));
    }
    be.insert(be.end(), {0xFB, 0xFF, 0x02, 0x01, 0xFF});  // 0xFBFF then dy0 2, dx1 1, dy1 -1
    be.insert(be.end(), {0xFE, 0x01, 0x80});                // 0xFE01 then dy -128
    Listing bout;
    EXPECT_EQ(decodeExact(dec, be, be.size(), bout),
              "header 2 528 8193 1\ncolor 5\npoly 7 8 9 10\nline 3 4 5 6\nline 2 6 4 3\nline 2 6 3 -122\nstop eod\n");
}

TEST(SlideDecoder, HeadersAndRecordsThatStopTheReading)
{
    CMavSlideDecoder dec;
    Listing out;
    MAV::SlideResult_st r;
    Bytes b = header2(MAV::kSlideOrderSame);
    EXPECT_EQ(decodeExact(dec, b, 22, out, &r), "stop noheader\n");
    EXPECT_EQ(decodeExact(dec, b, 30, out, &r), "stop noheader\n");  // level 2 needs 31 bytes
    EXPECT_EQ(dec.decode(nullptr, 100, out).stop, SlideStop::NoHeader);
    for (int level : {0, 3, 255}) {
        Bytes bad = b;
        bad[18] = static_cast<unsigned char>(level);
        EXPECT_EQ(dec.decode(bad.data(), bad.size(), out).stop, SlideStop::BadLevel) << level;
        EXPECT_EQ(dec.decode(bad.data(), 23, out).stop, SlideStop::BadLevel) << level;
    }
    EXPECT_TRUE(out.events.empty());

    // 0xFD with a low byte other than 0 is no fill; 0x80..0xFA stop; an odd last byte is the end of the data.
    for (int w : {0xFD01, 0x8000, 0xFA12}) {
        Bytes u = header2(MAV::kSlideOrderSame);
        words(u, {w, 1, 2, 3, 0x0001, 1, 1, 1});
        r = dec.decode(u.data(), u.size(), out);
        EXPECT_EQ(r.stop, SlideStop::UnknownRecord) << w;
        EXPECT_EQ(r.position, 33u) << w;
        EXPECT_EQ(r.lines, 0) << w;
    }
    Bytes odd = header2(MAV::kSlideOrderSame);
    words(odd, {0xFF02});
    odd.push_back(0xFC);
    r = dec.decode(odd.data(), odd.size(), out);
    EXPECT_EQ(r.stop, SlideStop::EndOfData);
    EXPECT_EQ(r.colors, 1);
    EXPECT_EQ(r.position, 33u);

    // The end record's low byte does not matter, and nothing after it is read.
    Bytes end = header2(MAV::kSlideOrderSame);
    words(end, {0xFC7A, 0x0001, 1, 1, 1});
    r = dec.decode(end.data(), end.size(), out);
    EXPECT_EQ(r.stop, SlideStop::EndRecord);
    EXPECT_EQ(r.position, 33u);
    EXPECT_EQ(r.lines, 0);
}

TEST(SlideDecoder, LongRunsOfOffsetsStayDefined)
{
    // 100,000 common endpoints of (-128, -128) walk 12.8 million units away from the origin.
    Bytes b = header2(MAV::kSlideOrderSame);
    for (int i = 0; i < 100000; ++i)
        b.insert(b.end(), {0x80, 0xFE, 0x80});
    struct Last : CMavSlideSink {
        SlidePoint_st end;
        void slideLine(SlidePoint_st, SlidePoint_st to) override { end = to; }
        void slidePolygon(const SlidePoint_st*, int) override {}
        void slideColor(int) override {}
    } sink;
    CMavSlideDecoder dec;
    const MAV::SlideResult_st r = dec.decode(b.data(), b.size(), sink);
    EXPECT_EQ(r.lines, 100000);
    EXPECT_EQ(sink.end, (SlidePoint_st{-12800000, -12800000}));
}

TEST(SlideLibrary, FindsMembersIgnoringCase)
{
    const Bytes lib = readFile(kDir + "library.slb");
    ASSERT_FALSE(lib.empty());
    const struct {
        std::string name;
        const char* file;
    } cases[] = {{"EVERY", "every_l2_le"}, {"every", "every_l2_le"},        {"DIAGONAL", "diagonal"},
                 {"Diagonal", "diagonal"},  {"T\xDCR", "magenta_diagonal"}, {"t\xFCr", "magenta_diagonal"},
                 {MAV::toCp1252(L"T\u00fcR"), "magenta_diagonal"}};
    for (const auto& c : cases) {
        size_t off = 0, len = 0;
        ASSERT_TRUE(MAV::slideLibraryFind(lib.data(), lib.size(), c.name, off, len)) << c.name;
        EXPECT_EQ(Bytes(lib.begin() + off, lib.begin() + off + len), readFile(kDir + c.file + ".sld")) << c.name;
    }
    size_t off = 7, len = 7;
    for (const std::string& missing : {std::string("EVER"), std::string("EVERYX"), std::string(""),
                                       std::string("TUR"), std::string("EVERY\0", 6)})
        EXPECT_FALSE(MAV::slideLibraryFind(lib.data(), lib.size(), missing, off, len)) << missing;
    EXPECT_EQ(off, 7u);
    EXPECT_FALSE(MAV::slideLibraryFind(nullptr, 100, "EVERY", off, len));

    // From the file, with the name converted to code page 1252.
    std::vector<unsigned char> slide, file;
    const std::wstring path = widen(kDir + "library.slb");
    ASSERT_TRUE(MAV::slideLibraryLoad(path.c_str(), L"t\u00dcr", slide));
    ASSERT_TRUE(MAV::slideFileLoad(widen(kDir + "magenta_diagonal.sld").c_str(), file));
    EXPECT_EQ(slide, file);
    EXPECT_FALSE(MAV::slideLibraryLoad(path.c_str(), L"tuer", slide));
    EXPECT_TRUE(slide.empty());
    EXPECT_FALSE(MAV::slideLibraryLoad(path.c_str(), static_cast<const wchar_t*>(nullptr), slide));
    EXPECT_FALSE(MAV::slideLibraryLoad(widen(kDir + "absent.slb").c_str(), L"EVERY", slide));
    EXPECT_FALSE(MAV::slideLibraryLoad(nullptr, L"EVERY", slide));
    EXPECT_FALSE(MAV::slideLibraryLoad(widen(kDir).c_str(), L"EVERY", slide));  // a folder
    EXPECT_FALSE(MAV::slideFileLoad(widen(kDir + "absent.sld").c_str(), file));
    EXPECT_TRUE(file.empty());
}

TEST(SlideLibrary, HostileDirectories)
{
    size_t off = 0, len = 0;
    const Bytes noEnd = readFile(kDir + "library_no_end_entry.slb");
    const size_t every = readFile(kDir + "every_l2_le.sld").size();
    const size_t last = readFile(kDir + "magenta_diagonal.sld").size();
    // Without an end entry the members are still found; the last one runs to the end of the file.
    ASSERT_TRUE(MAV::slideLibraryFind(noEnd.data(), noEnd.size(), "EVERY", off, len));
    EXPECT_EQ(off, 32u + 3 * 36);
    EXPECT_EQ(len, every);
    ASSERT_TRUE(MAV::slideLibraryFind(noEnd.data(), noEnd.size(), "T\xDCR", off, len));
    EXPECT_EQ(off + len, noEnd.size());
    EXPECT_EQ(len, last);
    // A missing name walks on through the slide bytes as if they were entries, and stops at the end of the file.
    EXPECT_FALSE(MAV::slideLibraryFind(noEnd.data(), noEnd.size(), "NONE", off, len));

    // A name of 32 bytes has no terminating zero; 31 bytes ends at the next entry's offset.
    const Bytes full = readFile(kDir + "library_full_name.slb");
    ASSERT_TRUE(MAV::slideLibraryFind(full.data(), full.size(), std::string(31, 'x'), off, len));
    EXPECT_EQ(Bytes(full.begin() + off, full.begin() + off + len), readFile(kDir + "magenta_diagonal.sld"));
    ASSERT_TRUE(MAV::slideLibraryFind(full.data(), full.size(), std::string(32, 'X'), off, len));
    EXPECT_EQ(Bytes(full.begin() + off, full.begin() + off + len), readFile(kDir + "diagonal.sld"));
    EXPECT_FALSE(MAV::slideLibraryFind(full.data(), full.size(), std::string(33, 'X'), off, len));

    // FIRST, SECOND, THIRD at 176, 176 + 41, 176 + 41 + 43 when the offsets are honest.
    const Bytes beyond = readFile(kDir + "library_offset_beyond.slb");
    ASSERT_TRUE(MAV::slideLibraryFind(beyond.data(), beyond.size(), "SECOND", off, len));
    EXPECT_EQ(off, 176u + 41);
    EXPECT_EQ(off + len, beyond.size());  // the next offset lies beyond the file: the slide ends with the file
    EXPECT_FALSE(MAV::slideLibraryFind(beyond.data(), beyond.size(), "THIRD", off, len));
    const Bytes inDir = readFile(kDir + "library_offset_in_directory.slb");
    EXPECT_FALSE(MAV::slideLibraryFind(inDir.data(), inDir.size(), "FIRST", off, len));
    EXPECT_TRUE(MAV::slideLibraryFind(inDir.data(), inDir.size(), "SECOND", off, len));
    const Bytes reversed = readFile(kDir + "library_offsets_reversed.slb");
    EXPECT_FALSE(MAV::slideLibraryFind(reversed.data(), reversed.size(), "FIRST", off, len));
    ASSERT_TRUE(MAV::slideLibraryFind(reversed.data(), reversed.size(), "SECOND", off, len));
    EXPECT_EQ(off, 176u);
    EXPECT_EQ(len, 41u + 43u);

    // Cut anywhere: a member is found as soon as its first byte is present (the directory lies before it), and it
    // then runs to its end or to the cut, whichever comes first.
    const Bytes lib = readFile(kDir + "library.slb");
    for (const char* name : {"EVERY", "DIAGONAL", "T\xDCR"}) {
        size_t start = 0, size = 0;
        ASSERT_TRUE(MAV::slideLibraryFind(lib.data(), lib.size(), name, start, size));
        for (size_t cut = 0; cut <= lib.size(); ++cut) {
            std::unique_ptr<unsigned char[]> copy(new unsigned char[cut + 1]);
            std::copy(lib.begin(), lib.begin() + static_cast<std::ptrdiff_t>(cut), copy.get());
            const bool found = MAV::slideLibraryFind(copy.get(), cut, name, off, len);
            ASSERT_EQ(found, cut > start) << name << " cut " << cut;
            if (found) {
                EXPECT_EQ(off, start);
                EXPECT_EQ(len, std::min(start + size, cut) - start) << name << " cut " << cut;
            }
        }
    }
}

TEST(SlideLibrary, Cp1252NamesAndCaseFolding)
{
    EXPECT_EQ(MAV::toCp1252(L"T\u00fcr \u20ac\u201a\u0192\u2122\u0178\u00ff"), "T\xFCr \x80\x82\x83\x99\x9F\xFF");
    // Not in the code page: one '?' per character, a surrogate pair counting as one.
    const wchar_t pair[] = {L'a', static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00), L'b', 0};
    EXPECT_EQ(MAV::toCp1252(pair), "a?b");
    EXPECT_EQ(MAV::toCp1252(L"\u0100\u4e2d\u0080\u0081"), "???\x81");
    EXPECT_EQ(MAV::toCp1252(nullptr), "");

    EXPECT_TRUE(MAV::slideNameEqualNoCase("Stra\xDF" "e \xE9\xFF\x9A", "STRA\xDF" "E \xC9\x9F\x8A"));
    EXPECT_FALSE(MAV::slideNameEqualNoCase("\xF7", "\xD7"));  // division and multiplication signs
    EXPECT_FALSE(MAV::slideNameEqualNoCase("\xDF", "\xFF"));
    EXPECT_FALSE(MAV::slideNameEqualNoCase("A", "A "));
    EXPECT_FALSE(MAV::slideNameEqualNoCase("[", "{"));  // not letters, 0x20 apart
}
