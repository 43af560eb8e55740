// AutoCAD's LISP result buffers: typed values in a linked list, with an owning list and text conversions.
#pragma once

#include <cstdint>

#include "base/CMavArray.h"
#include "base/CMavString.h"
#include "base/CMavVertexArray.h"

// An AutoCAD entity name (two pointer-sized integers) and a point.
typedef std::int64_t ads_name[2];
typedef double ads_point[3];

// Result types and result codes with AutoCAD's numbers.
enum : short {
    RTNONE = 5000,
    RTREAL = 5001,
    RTPOINT = 5002,
    RTSHORT = 5003,
    RTANG = 5004,
    RTSTR = 5005,
    RTENAME = 5006,
    RTPICKS = 5007,
    RTORINT = 5008,
    RT3DPOINT = 5009,
    RTLONG = 5010,
    RTVOID = 5014,
    RTLB = 5016,
    RTLE = 5017,
    RTDOTE = 5018,
    RTNIL = 5019,
    RTDXF0 = 5020,
    RTT = 5021,
    RTNORM = 5100,
    RTERROR = -5001,
    RTCAN = -5002,
    RTREJ = -5003,
    RTFAIL = -5004
};

union ads_u_val {
    double rreal;
    double rpoint[3];
    short rint;
    wchar_t* rstring; // owned by the buffer (RTSTR, RTDXF0)
    std::int64_t rlname[2];
    std::int32_t rlong;
};

struct resbuf {
    resbuf* rbnext;
    short restype;
    ads_u_val resval;
};

namespace MAV {

// A new buffer of the type, value zero, no successor.
resbuf* rbNew(short type);
// Frees a whole list with its strings (null is allowed).
void rbFree(resbuf* rb);
// A deep copy of a list.
resbuf* rbCopy(const resbuf* rb);

// Owner of a result buffer list: frees it on destruction; copies are deep.
class CSmartResbuf {
public:
    CSmartResbuf() = default;
    // Takes ownership of the list.
    explicit CSmartResbuf(resbuf* list) : m_head(list) {}
    CSmartResbuf(const CSmartResbuf& other) : m_head(rbCopy(other.m_head)) {}
    CSmartResbuf(CSmartResbuf&& other) noexcept : m_head(other.m_head) { other.m_head = nullptr; }
    CSmartResbuf& operator=(const CSmartResbuf& other);
    CSmartResbuf& operator=(CSmartResbuf&& other) noexcept;
    ~CSmartResbuf() { rbFree(m_head); }

    resbuf* head() const { return m_head; }
    operator resbuf*() const { return m_head; }
    // Gives up ownership and empties this owner.
    resbuf* release();
    // Frees the list and takes the new one.
    void reset(resbuf* list = nullptr);

    // Appends one buffer (or a list, whose ownership passes here) at the end.
    CSmartResbuf& append(resbuf* rb);
    CSmartResbuf& appendReal(double v);
    CSmartResbuf& appendShort(short v);
    CSmartResbuf& appendLong(std::int32_t v);
    CSmartResbuf& appendString(const wchar_t* s);
    CSmartResbuf& appendPoint(const CMavPoint3d& p);
    CSmartResbuf& appendName(const ads_name name);
    CSmartResbuf& appendListBegin();
    CSmartResbuf& appendListEnd();
    CSmartResbuf& appendDotEnd();
    CSmartResbuf& appendNil();
    CSmartResbuf& appendT();

    int len() const;
    bool isEmpty() const { return m_head == nullptr; }
    // Buffer i of the list, or null.
    resbuf* at(int i) const;

private:
    resbuf* m_head = nullptr;
};

// Reads LISP text into a result buffer list: lists "(...)" become RTLB ... RTLE, a dotted pair "(a . b)" ends
// with RTDOTE, integers become RTSHORT when they fit 16 bits and RTLONG otherwise, numbers with a point or an
// exponent RTREAL, quoted texts RTSTR (escapes \" \\ \n \r \t), nil RTNIL, T RTT, other symbols RTSTR with
// their name in upper case; "(a . (b c))" is read as "(a b c)". Null for empty or malformed text (unbalanced
// parentheses, an unterminated string, nesting deeper than 64, more than 1,000,000 buffers).
resbuf* rbToList(const wchar_t* lispText);
// Appends s as a LISP string in double quotes, with \" \\ \n \r \t escaped as rbToList reads them back: count code
// units, or up to the terminating zero when count is negative.
void lispQuoted(CMavString& out, const wchar_t* s, int count = -1);
// The list as LISP text, the inverse of rbToList for the types it produces; other types print as their
// numbers (points as (x y z), entity names as <Entity n m>).
CMavString rbToText(const resbuf* rb);

// Region list from a LISP list: (region ...), each region (outline ...), each outline (vertex ...), each vertex
// a list of two to four numbers (x y [z [bulge]]) or a point buffer; the bulge belongs to the segment that
// starts at the vertex. An outline is closed back to its first vertex unless flags has bit 1; outlines with
// fewer than two vertices are dropped, as are regions left without outlines. nil gives an empty list. False,
// regions emptied, when rb is not a list of that form.
bool fromRb(CMavArrayTempl<CMavArrayTempl<CMavVertexArray>>& regions, const resbuf* rb, int flags);
// One outline from a LISP list of vertices, with the same rules.
bool fromRb(CMavVertexArray& polyline, const resbuf* rb, int flags);

} // namespace MAV
