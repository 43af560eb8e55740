// AutoCAD slides: the record decoder with its sink, slide library lookup and code page 1252 names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace MAV {

// A point in the slide's own integer raster; y points up.
struct SlidePoint_st {
    int x = 0;
    int y = 0;
};

inline bool operator==(const SlidePoint_st& a, const SlidePoint_st& b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(const SlidePoint_st& a, const SlidePoint_st& b) { return !(a == b); }

// What the header of a slide says.
struct SlideHeader_st {
    int level = 0;               // 1 (old format) or 2 (new format)
    int highX = 0;               // raster width - 1
    int highY = 0;               // raster height - 1
    uint16_t byteOrderWord = 0;  // the word the records were read with (a level-1 slide carries none)
    bool swapped = false;        // true when every record word is byte-swapped (word 0x3412)
};

// Why decoding stopped.
enum class SlideStop {
    NoHeader,       // fewer bytes than the header needs: nothing decoded
    BadLevel,       // level byte other than 1 or 2: nothing decoded
    EndRecord,      // an end record (high byte 0xFC) in the data
    EndOfData,      // the data ended, without an end record or in the middle of a record
    UnknownRecord,  // a record word with an unknown high byte
};

struct SlideResult_st {
    SlideStop stop = SlideStop::NoHeader;
    SlideHeader_st header;
    size_t position = 0;  // read position where decoding stopped
    int lines = 0;        // lines handed to the sink
    int polygons = 0;     // filled polygons handed to the sink
    int colors = 0;       // colour changes handed to the sink
    bool headerRead() const { return stop != SlideStop::NoHeader && stop != SlideStop::BadLevel; }
};

// Byte-order words of a level-2 header, as read low byte first.
constexpr uint16_t kSlideOrderSame = 0x1234;
constexpr uint16_t kSlideOrderSwapped = 0x3412;

} // namespace MAV

// Receives what a slide draws, in the order of its records.
class CMavSlideSink {
public:
    virtual ~CMavSlideSink() = default;
    // Called once, after a header with a known level and before any record.
    virtual void slideHeader(const MAV::SlideHeader_st& header);
    virtual void slideLine(MAV::SlidePoint_st from, MAV::SlidePoint_st to) = 0;
    // A filled polygon of count >= 1 vertices; the last vertex joins the first (the first is not repeated).
    virtual void slidePolygon(const MAV::SlidePoint_st* vertices, int count) = 0;
    // A colour record: AutoCAD colour index 0..255.
    virtual void slideColor(int index) = 0;
};

// Decodes slide bytes into sink calls. The byte-order word persists across decode calls: a level-2 header
// replaces it, a level-1 slide (which has none) is read with the word left by the last level-2 slide, or with
// the one given at construction.
class CMavSlideDecoder {
public:
    explicit CMavSlideDecoder(uint16_t byteOrderWord = MAV::kSlideOrderSame) : m_byteOrderWord(byteOrderWord) {}

    MAV::SlideResult_st decode(const unsigned char* data, size_t size, CMavSlideSink& sink);
    // Reads the header only; false when it is short or its level unknown. Updates the byte-order word.
    bool readHeader(const unsigned char* data, size_t size, MAV::SlideHeader_st& header);

    uint16_t byteOrderWord() const { return m_byteOrderWord; }
    void setByteOrderWord(uint16_t word) { m_byteOrderWord = word; }

private:
    bool header(const unsigned char* data, size_t size, MAV::SlideHeader_st& header, size_t& position);

    uint16_t m_byteOrderWord;
    std::vector<MAV::SlidePoint_st> m_vertices;  // reused between fill sequences
};

namespace MAV {

// Text converted to Windows code page 1252; characters the code page lacks become '?'.
std::string toCp1252(const wchar_t* text);

// Equality of two code page 1252 names ignoring the case of letters (ASCII and the accented letters of 1252).
bool slideNameEqualNoCase(const std::string& a, const std::string& b);

// Finds a slide in the bytes of a slide library. name: 8-bit name, compared ignoring case; a name longer than
// 32 bytes is never found. On success offset and length give the slide's bytes (length > 0).
bool slideLibraryFind(const unsigned char* library, size_t size, const std::string& name, size_t& offset,
                      size_t& length);

// Loads a slide from a slide library file. The first form takes the name in the library's 8-bit code (the caller
// converted it), the second converts it to code page 1252. False when the file cannot be read or the slide is not
// found; slide is then empty.
bool slideLibraryLoad(const wchar_t* libraryPath, const std::string& name, std::vector<unsigned char>& slide);
bool slideLibraryLoad(const wchar_t* libraryPath, const wchar_t* name, std::vector<unsigned char>& slide);

// Loads a whole slide file; false (and empty) when it cannot be read.
bool slideFileLoad(const wchar_t* path, std::vector<unsigned char>& slide);

} // namespace MAV
