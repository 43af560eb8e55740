// AutoCAD slides: one reader of slide records for every consumer, the slide library directory and 1252 names.
//
// Vocabulary. A slide is a header followed by records. A record starts with a 16-bit word w whose high byte
// selects the kind: below 0x80 a vector (w is its from-x), 0xFB an offset vector, 0xFC the end, 0xFD00 a solid
// fill sequence, 0xFE a common endpoint, 0xFF a colour change. The "last point" is where the offset vector and
// the common endpoint are measured from. A slide library is a 32-byte header, a directory of 36-byte entries
// (32-byte name, 32-bit offset) ended by an entry with an empty name, and the slides' bytes.
//
// The decoder hands lines, filled polygons and colour changes to a sink; the slide viewer draws them with GDI and
// the slide generator turns them into display items, so both read exactly the same records. What differs between
// the two lies outside the decoder: the viewer's sink turns colour indices into pens through acadRGB (drawing 7
// black on a white background) and scales by the header's raster size, the generator's sink keeps the index; the
// viewer converts a library slide name with the system's ANSI code page and passes the 8-bit name, the generator
// passes the wide name, converted with code page 1252. The viewer keeps one decoder for the life of the control
// (a level-1 slide is read in the byte order of the last level-2 slide shown), the generator a fresh one per call.
#include "slide/slide.h"

#include <filesystem>
#include <fstream>

using MAV::SlideHeader_st;
using MAV::SlidePoint_st;
using MAV::SlideResult_st;
using MAV::SlideStop;

void CMavSlideSink::slideHeader(const SlideHeader_st&) {}

namespace {

constexpr size_t kHeaderSize = 23;       // identification, type, level, high x, high y
constexpr size_t kLevel1Size = 23 + 11;  // + aspect ratio as a double, 3 unused bytes
constexpr size_t kLevel2Size = 23 + 8;   // + aspect ratio x 10^7, hardware fill flag, byte-order word
constexpr uint16_t kEndOfData = 0xFCFC;  // what a word read past the end of the data gives: an end record

int signed16(uint16_t w) { return w >= 0x8000u ? static_cast<int>(w) - 0x10000 : static_cast<int>(w); }
int signed8(unsigned b) { return b >= 0x80u ? static_cast<int>(b) - 0x100 : static_cast<int>(b); }

// Adds an offset to a coordinate. Long runs of offset records could walk past the range of int; the sum wraps
// instead of overflowing (real slides stay within 16 bits).
int addWrap(int a, int b)
{
    const uint32_t s = static_cast<uint32_t>(a) + static_cast<uint32_t>(b);
    return s >= 0x80000000u ? -static_cast<int>(~s) - 1 : static_cast<int>(s);
}

// Read position over the slide bytes. Past the end a word reads as an end record and a byte as 0; pastEnd
// records that this happened, so that the decoding stops with the reason "end of data".
struct Reader {
    const unsigned char* data;
    size_t size;
    size_t pos;
    bool swap;
    bool pastEnd;

    uint16_t word()
    {
        if (size - pos < 2) {
            pastEnd = true;
            return kEndOfData;
        }
        const unsigned lo = data[pos], hi = data[pos + 1];
        pos += 2;
        return static_cast<uint16_t>(swap ? (lo << 8) | hi : (hi << 8) | lo);
    }
    unsigned byte()
    {
        if (pos >= size) {
            pastEnd = true;
            return 0;
        }
        return data[pos++];
    }
};

} // namespace

// Reads the header at the start of data. A level-2 header replaces the decoder's byte-order word; the raster
// size is taken low byte first when that word is 0x1234 (as read low byte first) and high byte first otherwise,
// while the records are swapped only for the word 0x3412. A header that is cut short, even in the level's
// continuation, counts as no header at all: nothing of such a slide is drawn.
bool CMavSlideDecoder::header(const unsigned char* data, size_t size, SlideHeader_st& hdr, size_t& position)
{
    hdr = SlideHeader_st();
    position = 0;
    if (data == nullptr || size < kHeaderSize)
        return false;
    hdr.level = data[18];
    if (hdr.level != 1 && hdr.level != 2)
        return false;
    const size_t need = hdr.level == 2 ? kLevel2Size : kLevel1Size;
    if (size < need)
        return false;
    if (hdr.level == 2)
        m_byteOrderWord = static_cast<uint16_t>(data[29] | (data[30] << 8));
    const bool lowFirst = m_byteOrderWord == MAV::kSlideOrderSame;
    hdr.highX = lowFirst ? data[19] | (data[20] << 8) : (data[19] << 8) | data[20];
    hdr.highY = lowFirst ? data[21] | (data[22] << 8) : (data[21] << 8) | data[22];
    hdr.byteOrderWord = m_byteOrderWord;
    hdr.swapped = m_byteOrderWord == MAV::kSlideOrderSwapped;
    position = need;
    return true;
}

bool CMavSlideDecoder::readHeader(const unsigned char* data, size_t size, SlideHeader_st& hdr)
{
    size_t position = 0;
    return header(data, size, hdr, position);
}

// Decodes the records after the header until an end record, an unknown record or the end of the data.
//
// A record cut by the end of the data is read like any other: each missing word reads 0xFCFC and each missing byte
// 0, and the record is drawn with those values. A common endpoint whose offset byte is missing draws its line with
// dy = 0; a fill sequence whose next vertex is missing ends there (0xFCFC is a negative y) and draws the vertices
// before it. The next record word then lies past the end, reads as an end record, and the decoding stops.
//
// Solid fill sequence: 0xFD00, the vertex count n, a skipped word; the first vertex record (skipped word, x, y);
// vertex records 2..n the same, where a record with a negative y ends the list early and is not a vertex; after
// n vertices without a negative y one closing record of three words is skipped. A count below 1 reads like 1.
// AutoCAD itself writes n as the vertex count plus one and ends with the first vertex again with y negated, which
// the early end takes care of.
SlideResult_st CMavSlideDecoder::decode(const unsigned char* data, size_t size, CMavSlideSink& sink)
{
    SlideResult_st res;
    size_t start = 0;
    if (!header(data, size, res.header, start)) {
        const bool badLevel = data != nullptr && size >= kHeaderSize && data[18] != 1 && data[18] != 2;
        res.stop = badLevel ? SlideStop::BadLevel : SlideStop::NoHeader;
        return res;
    }
    sink.slideHeader(res.header);

    Reader r{data, size, start, res.header.swapped, false};
    SlidePoint_st last;
    for (;;) {
        const uint16_t w = r.word();
        if (r.pastEnd) {
            res.stop = SlideStop::EndOfData;
            break;
        }
        const unsigned h = w >> 8, l = w & 0xFFu;
        if (h < 0x80) {
            const SlidePoint_st from{static_cast<int>(w), signed16(r.word())};
            SlidePoint_st to;
            to.x = signed16(r.word());
            to.y = signed16(r.word());
            sink.slideLine(from, to);
            ++res.lines;
            last = from;
        } else if (h == 0xFB) {
            const int dx0 = signed8(l), dy0 = signed8(r.byte()), dx1 = signed8(r.byte()), dy1 = signed8(r.byte());
            const SlidePoint_st from{addWrap(last.x, dx0), addWrap(last.y, dy0)};
            const SlidePoint_st to{addWrap(last.x, dx1), addWrap(last.y, dy1)};
            sink.slideLine(from, to);
            ++res.lines;
            last = from;
        } else if (h == 0xFC) {
            res.stop = SlideStop::EndRecord;
            break;
        } else if (w == 0xFD00) {
            const int n = r.word();
            r.word();
            r.word();
            SlidePoint_st v;
            v.x = signed16(r.word());
            v.y = signed16(r.word());
            m_vertices.clear();
            m_vertices.push_back(v);
            int lastY = v.y;
            for (int i = 2; i <= n; ++i) {
                r.word();
                v.x = signed16(r.word());
                v.y = signed16(r.word());
                lastY = v.y;
                if (v.y < 0)
                    break;
                m_vertices.push_back(v);
            }
            if (lastY >= 0) {
                r.word();
                r.word();
                r.word();
            }
            sink.slidePolygon(m_vertices.data(), static_cast<int>(m_vertices.size()));
            ++res.polygons;
        } else if (h == 0xFE) {
            const int dx = signed8(l), dy = signed8(r.byte());
            const SlidePoint_st to{addWrap(last.x, dx), addWrap(last.y, dy)};
            sink.slideLine(last, to);
            ++res.lines;
            last = to;
        } else if (h == 0xFF) {
            sink.slideColor(static_cast<int>(l));
            ++res.colors;
        } else {
            res.stop = SlideStop::UnknownRecord;
            break;
        }
    }
    res.position = r.pos;
    return res;
}

// ---------------------------------------------------------------------------------------------------------------
// Code page 1252.

namespace {

// Unicode of the bytes 0x80..0x9F in code page 1252; the five unassigned bytes map to the C1 controls of the same
// value, as Windows does.
const uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D,
    0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A,
    0x0153, 0x009D, 0x017E, 0x0178};

char cp1252Byte(uint32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(static_cast<unsigned char>(c));
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == c)
            return static_cast<char>(static_cast<unsigned char>(0x80 + i));
    return '?';
}

// Upper case of a 1252 byte: ASCII letters, the accented Latin-1 letters (not the division sign, not sharp s)
// and the pairs of the 0x80 row.
unsigned char upper1252(unsigned char c)
{
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<unsigned char>(c - 0x20);
    switch (c) {
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    case 0xFF: return 0x9F;
    default: return c;
    }
}

} // namespace

std::string MAV::toCp1252(const wchar_t* text)
{
    std::string out;
    if (text == nullptr)
        return out;
    for (size_t i = 0; text[i] != 0; ++i) {
        const uint32_t c = static_cast<uint32_t>(text[i]);
        // A UTF-16 surrogate pair (wchar_t of 16 bits) is one character: one '?'.
        if (c >= 0xD800 && c <= 0xDBFF) {
            const uint32_t next = static_cast<uint32_t>(text[i + 1]);
            if (next >= 0xDC00 && next <= 0xDFFF)
                ++i;
            out += '?';
            continue;
        }
        out += cp1252Byte(c);
    }
    return out;
}

bool MAV::slideNameEqualNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (upper1252(static_cast<unsigned char>(a[i])) != upper1252(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// ---------------------------------------------------------------------------------------------------------------
// Slide libraries.

namespace {

constexpr uint64_t kLibHeader = 32;
constexpr uint64_t kEntrySize = 36;
constexpr size_t kNameSize = 32;

uint64_t le32(const unsigned char* p)
{
    return static_cast<uint64_t>(p[0]) | (static_cast<uint64_t>(p[1]) << 8) | (static_cast<uint64_t>(p[2]) << 16) |
           (static_cast<uint64_t>(p[3]) << 24);
}

std::string entryName(const unsigned char* e)
{
    size_t n = 0;
    while (n < kNameSize && e[n] != 0)
        ++n;
    return std::string(reinterpret_cast<const char*>(e), n);
}

// Walks the directory from the front. read(offset, buffer, count) fills count bytes or returns false.
//
// The slide runs from its entry's offset to the next entry's offset, or to the end of the file when the next
// entry is the end entry or missing. Offsets are not trusted: the end is clamped to the file, and a slide that
// would start inside the header or the part of the directory read so far, at or after its end, or beyond the file
// is not found. A directory without an end entry is searched as far as whole entries go.
template <class Read>
bool findInLibrary(uint64_t fileSize, const std::string& name, Read read, uint64_t& offset, uint64_t& length)
{
    if (name.empty() || name.size() > kNameSize)
        return false;
    unsigned char e[kEntrySize];
    uint64_t pos = kLibHeader;
    for (;;) {
        if (fileSize < pos + kEntrySize || !read(pos, e, kEntrySize))
            return false;
        if (e[0] == 0)
            return false;
        pos += kEntrySize;
        if (!MAV::slideNameEqualNoCase(name, entryName(e)))
            continue;
        const uint64_t start = le32(e + kNameSize);
        uint64_t end = fileSize;
        unsigned char next[kEntrySize];
        if (fileSize >= pos + kEntrySize && read(pos, next, kEntrySize)) {
            pos += kEntrySize;
            if (next[0] != 0)
                end = le32(next + kNameSize);
        }
        if (end > fileSize)
            end = fileSize;
        if (start < pos || start >= end)
            return false;
        offset = start;
        length = end - start;
        return true;
    }
}

bool openForReading(const wchar_t* path, std::ifstream& f, uint64_t& size)
{
    if (path == nullptr || path[0] == 0)
        return false;
    std::error_code ec;
    const std::filesystem::path p(path);
    if (!std::filesystem::is_regular_file(p, ec))
        return false;
    f.open(p, std::ios::binary);
    if (!f)
        return false;
    f.seekg(0, std::ios::end);
    const std::streamoff end = f.tellg();
    if (end < 0)
        return false;
    f.seekg(0, std::ios::beg);
    size = static_cast<uint64_t>(end);
    return true;
}

bool readAt(std::ifstream& f, uint64_t offset, unsigned char* buffer, size_t count)
{
    f.clear();
    f.seekg(static_cast<std::streamoff>(offset), std::ios::beg);
    f.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(count));
    return static_cast<size_t>(f.gcount()) == count;
}

} // namespace

bool MAV::slideLibraryFind(const unsigned char* library, size_t size, const std::string& name, size_t& offset,
                           size_t& length)
{
    if (library == nullptr)
        return false;
    auto read = [library, size](uint64_t at, unsigned char* buffer, size_t count) {
        if (at > size || size - at < count)
            return false;
        for (size_t i = 0; i < count; ++i)
            buffer[i] = library[at + i];
        return true;
    };
    uint64_t off = 0, len = 0;
    if (!findInLibrary(size, name, read, off, len))
        return false;
    offset = static_cast<size_t>(off);
    length = static_cast<size_t>(len);
    return true;
}

bool MAV::slideLibraryLoad(const wchar_t* libraryPath, const std::string& name, std::vector<unsigned char>& slide)
{
    slide.clear();
    std::ifstream f;
    uint64_t size = 0;
    if (!openForReading(libraryPath, f, size))
        return false;
    auto read = [&f](uint64_t at, unsigned char* buffer, size_t count) { return readAt(f, at, buffer, count); };
    uint64_t off = 0, len = 0;
    if (!findInLibrary(size, name, read, off, len))
        return false;
    slide.resize(static_cast<size_t>(len));
    if (!readAt(f, off, slide.data(), slide.size())) {
        slide.clear();
        return false;
    }
    return true;
}

bool MAV::slideLibraryLoad(const wchar_t* libraryPath, const wchar_t* name, std::vector<unsigned char>& slide)
{
    if (name == nullptr) {
        slide.clear();
        return false;
    }
    return slideLibraryLoad(libraryPath, toCp1252(name), slide);
}

bool MAV::slideFileLoad(const wchar_t* path, std::vector<unsigned char>& slide)
{
    slide.clear();
    std::ifstream f;
    uint64_t size = 0;
    if (!openForReading(path, f, size))
        return false;
    slide.resize(static_cast<size_t>(size));
    if (size > 0 && !readAt(f, 0, slide.data(), slide.size())) {
        slide.clear();
        return false;
    }
    return true;
}
