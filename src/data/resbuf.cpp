// AutoCAD's LISP result buffers.
//
// Vocabulary: a "list" is a linked chain of buffers; a LISP list inside it runs from an RTLB buffer to its RTLE
// (or, for a dotted pair, to its RTDOTE). A "datum" is one atom buffer or one such bracketed run.
#include "data/resbuf.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "data/datafile.h"

namespace {

wchar_t* copyString(const wchar_t* s)
{
    const size_t n = s ? std::wcslen(s) : 0;
    wchar_t* out = new wchar_t[n + 1];
    if (n)
        std::memcpy(out, s, n * sizeof(wchar_t));
    out[n] = 0;
    return out;
}

bool ownsString(short type)
{
    return type == RTSTR || type == RTDXF0;
}

bool isNumber(const resbuf* rb)
{
    return rb && (rb->restype == RTREAL || rb->restype == RTSHORT || rb->restype == RTLONG || rb->restype == RTANG ||
                  rb->restype == RTORINT);
}

double numberOf(const resbuf* rb)
{
    switch (rb->restype) {
    case RTSHORT:
        return rb->resval.rint;
    case RTLONG:
        return rb->resval.rlong;
    default:
        return rb->resval.rreal;
    }
}

} // namespace

namespace MAV {

resbuf* rbNew(short type)
{
    resbuf* rb = new resbuf;
    std::memset(rb, 0, sizeof(resbuf));
    rb->restype = type;
    if (ownsString(type))
        rb->resval.rstring = copyString(L"");
    return rb;
}

void rbFree(resbuf* rb)
{
    while (rb) {
        resbuf* next = rb->rbnext;
        if (ownsString(rb->restype))
            delete[] rb->resval.rstring;
        delete rb;
        rb = next;
    }
}

resbuf* rbCopy(const resbuf* rb)
{
    resbuf* head = nullptr;
    resbuf** tail = &head;
    for (; rb; rb = rb->rbnext) {
        resbuf* c = new resbuf(*rb);
        c->rbnext = nullptr;
        if (ownsString(rb->restype))
            c->resval.rstring = copyString(rb->resval.rstring);
        *tail = c;
        tail = &c->rbnext;
    }
    return head;
}

CSmartResbuf& CSmartResbuf::operator=(const CSmartResbuf& other)
{
    if (this != &other)
        reset(rbCopy(other.m_head));
    return *this;
}

CSmartResbuf& CSmartResbuf::operator=(CSmartResbuf&& other) noexcept
{
    if (this != &other) {
        rbFree(m_head);
        m_head = other.m_head;
        other.m_head = nullptr;
    }
    return *this;
}

resbuf* CSmartResbuf::release()
{
    resbuf* h = m_head;
    m_head = nullptr;
    return h;
}

void CSmartResbuf::reset(resbuf* list)
{
    if (list == m_head)
        return;
    rbFree(m_head);
    m_head = list;
}

CSmartResbuf& CSmartResbuf::append(resbuf* rb)
{
    if (!rb)
        return *this;
    if (!m_head) {
        m_head = rb;
        return *this;
    }
    resbuf* last = m_head;
    while (last->rbnext)
        last = last->rbnext;
    last->rbnext = rb;
    return *this;
}

CSmartResbuf& CSmartResbuf::appendReal(double v)
{
    resbuf* rb = rbNew(RTREAL);
    rb->resval.rreal = v;
    return append(rb);
}

CSmartResbuf& CSmartResbuf::appendShort(short v)
{
    resbuf* rb = rbNew(RTSHORT);
    rb->resval.rint = v;
    return append(rb);
}

CSmartResbuf& CSmartResbuf::appendLong(std::int32_t v)
{
    resbuf* rb = rbNew(RTLONG);
    rb->resval.rlong = v;
    return append(rb);
}

CSmartResbuf& CSmartResbuf::appendString(const wchar_t* s)
{
    resbuf* rb = rbNew(RTSTR);
    delete[] rb->resval.rstring;
    rb->resval.rstring = copyString(s);
    return append(rb);
}

CSmartResbuf& CSmartResbuf::appendPoint(const CMavPoint3d& p)
{
    resbuf* rb = rbNew(RT3DPOINT);
    rb->resval.rpoint[0] = p.x;
    rb->resval.rpoint[1] = p.y;
    rb->resval.rpoint[2] = p.z;
    return append(rb);
}

CSmartResbuf& CSmartResbuf::appendName(const ads_name name)
{
    resbuf* rb = rbNew(RTENAME);
    rb->resval.rlname[0] = name[0];
    rb->resval.rlname[1] = name[1];
    return append(rb);
}

CSmartResbuf& CSmartResbuf::appendListBegin()
{
    return append(rbNew(RTLB));
}

CSmartResbuf& CSmartResbuf::appendListEnd()
{
    return append(rbNew(RTLE));
}

CSmartResbuf& CSmartResbuf::appendDotEnd()
{
    return append(rbNew(RTDOTE));
}

CSmartResbuf& CSmartResbuf::appendNil()
{
    return append(rbNew(RTNIL));
}

CSmartResbuf& CSmartResbuf::appendT()
{
    return append(rbNew(RTT));
}

int CSmartResbuf::len() const
{
    int n = 0;
    for (const resbuf* rb = m_head; rb; rb = rb->rbnext)
        ++n;
    return n;
}

resbuf* CSmartResbuf::at(int i) const
{
    if (i < 0)
        return nullptr;
    resbuf* rb = m_head;
    while (rb && i-- > 0)
        rb = rb->rbnext;
    return rb;
}

// ---------------------------------------------------------------------------------------------------------------
// LISP text to buffers. The text is first read into a small tree (so that "(a . (b c))" can be spliced into
// "(a b c)"), then written out as a buffer list.
namespace {

struct LispNode {
    resbuf* atom = nullptr; // owned; null for a list
    std::vector<std::unique_ptr<LispNode>> items;
    std::unique_ptr<LispNode> tail; // datum after " . "
    ~LispNode() { rbFree(atom); }
};

// A data tree may nest 64 directories, and its LISP text (mkLisp) opens two lists for each: a directory's entry is
// a dotted pair whose value is the list of its own entries. The reader takes that much and a little more.
constexpr int kMaxLispDepth = 2 * CMavDataItem::kMaxDepth + 4;
constexpr size_t kMaxLispBuffers = 1000000;

bool isDelimiter(wchar_t c)
{
    return c == 0 || c == L'(' || c == L')' || c == L'"' || c == L';' || c == L' ' || c == L'\t' || c == L'\n' ||
           c == L'\r' || c == L'\f' || c == L'\v';
}

resbuf* atomFromToken(const std::wstring& tok)
{
    std::string narrow;
    bool ascii = true;
    for (wchar_t c : tok) {
        const unsigned long v = wcharValue(c);
        if (v > 127) {
            ascii = false;
            break;
        }
        narrow += static_cast<char>(v);
    }
    if (ascii && !narrow.empty()) {
        const char* b = narrow.c_str();
        const char* e = b + narrow.size();
        const char* nb = (*b == '+') ? b + 1 : b;
        long long iv = 0;
        auto ri = std::from_chars(nb, e, iv);
        if (ri.ec == std::errc() && ri.ptr == e && nb != e && !(*b == '+' && nb < e && *nb == '-')) {
            if (iv >= SHRT_MIN && iv <= SHRT_MAX) {
                resbuf* rb = rbNew(RTSHORT);
                rb->resval.rint = static_cast<short>(iv);
                return rb;
            }
            if (iv >= INT32_MIN && iv <= INT32_MAX) {
                resbuf* rb = rbNew(RTLONG);
                rb->resval.rlong = static_cast<std::int32_t>(iv);
                return rb;
            }
        }
        double dv = 0.0;
        if (parseDouble(b, e, dv) && (std::isdigit(static_cast<unsigned char>(narrow.back())) || narrow.back() == '.')) {
            resbuf* rb = rbNew(RTREAL);
            rb->resval.rreal = dv;
            return rb;
        }
    }
    CMavString sym(tok);
    sym.makeUpper();
    if (sym == L"NIL")
        return rbNew(RTNIL);
    if (sym == L"T")
        return rbNew(RTT);
    resbuf* rb = rbNew(RTSTR);
    delete[] rb->resval.rstring;
    rb->resval.rstring = copyString(sym.c_str());
    return rb;
}

class LispReader {
public:
    explicit LispReader(const wchar_t* text) : m_p(text) {}

    // Reads one datum; false on malformed text.
    bool datum(std::unique_ptr<LispNode>& out, int depth)
    {
        skipSpace();
        if (++m_count > kMaxLispBuffers)
            return false;
        const wchar_t c = *m_p;
        if (c == 0 || c == L')')
            return false;
        if (c == L'(')
            return list(out, depth + 1);
        out = std::make_unique<LispNode>();
        if (c == L'"')
            return string(out->atom);
        std::wstring tok;
        while (!isDelimiter(*m_p))
            tok += *m_p++;
        if (tok == L".")
            return false; // a dot outside a list
        out->atom = atomFromToken(tok);
        return true;
    }

    bool atEnd()
    {
        skipSpace();
        return *m_p == 0;
    }

private:
    bool list(std::unique_ptr<LispNode>& out, int depth)
    {
        if (depth > kMaxLispDepth)
            return false;
        ++m_p; // '('
        out = std::make_unique<LispNode>();
        for (;;) {
            skipSpace();
            if (*m_p == 0)
                return false;
            if (*m_p == L')') {
                ++m_p;
                return true;
            }
            if (*m_p == L'.' && isDelimiter(m_p[1]) && !out->items.empty()) {
                ++m_p;
                if (!datum(out->tail, depth))
                    return false;
                skipSpace();
                if (*m_p != L')')
                    return false;
                ++m_p;
                return true;
            }
            std::unique_ptr<LispNode> item;
            if (!datum(item, depth))
                return false;
            out->items.push_back(std::move(item));
        }
    }

    bool string(resbuf*& atom)
    {
        ++m_p; // opening quote
        std::wstring s;
        for (;;) {
            wchar_t c = *m_p;
            if (c == 0)
                return false;
            ++m_p;
            if (c == L'"')
                break;
            if (c == L'\\') {
                const wchar_t e = *m_p;
                if (e == 0)
                    return false;
                ++m_p;
                c = e == L'n' ? L'\n' : e == L'r' ? L'\r' : e == L't' ? L'\t' : e;
            }
            s += c;
        }
        atom = rbNew(RTSTR);
        delete[] atom->resval.rstring;
        atom->resval.rstring = copyString(s.c_str());
        return true;
    }

    void skipSpace()
    {
        for (;;) {
            while (*m_p && isDelimiter(*m_p) && *m_p != L'(' && *m_p != L')' && *m_p != L'"' && *m_p != L';')
                ++m_p;
            if (*m_p != L';')
                return;
            while (*m_p && *m_p != L'\n')
                ++m_p;
        }
    }

    const wchar_t* m_p;
    size_t m_count = 0;
};

void emit(LispNode& node, CSmartResbuf& out);

// The items of a list and its tail, without the brackets; a list tail is spliced in.
void emitContent(LispNode& node, CSmartResbuf& out, bool& dotted)
{
    for (auto& item : node.items)
        emit(*item, out);
    if (!node.tail)
        return;
    if (node.tail->atom) {
        if (node.tail->atom->restype == RTNIL)
            return; // (a . nil) is (a)
        emit(*node.tail, out);
        dotted = true;
        return;
    }
    emitContent(*node.tail, out, dotted);
}

void emit(LispNode& node, CSmartResbuf& out)
{
    if (node.atom) {
        out.append(node.atom);
        node.atom = nullptr;
        return;
    }
    out.appendListBegin();
    bool dotted = false;
    emitContent(node, out, dotted);
    if (dotted)
        out.appendDotEnd();
    else
        out.appendListEnd();
}

void textNumber(CMavString& out, double v)
{
    std::string s = formatDouble(v);
    if (std::isfinite(v) && s.find_first_of(".eE") == std::string::npos)
        s += ".0";
    out += CMavString(s.c_str());
}


} // namespace

void lispQuoted(CMavString& out, const wchar_t* s, int count)
{
    out += L'"';
    for (int i = 0; s && (count < 0 ? s[i] != 0 : i < count); ++i) {
        const wchar_t c = s[i];
        if (c == L'"' || c == L'\\') {
            out += L'\\';
            out += c;
        } else if (c == L'\n') {
            out += L"\\n";
        } else if (c == L'\r') {
            out += L"\\r";
        } else if (c == L'\t') {
            out += L"\\t";
        } else {
            out += c;
        }
    }
    out += L'"';
}

resbuf* rbToList(const wchar_t* lispText)
{
    if (!lispText)
        return nullptr;
    LispReader reader(lispText);
    CSmartResbuf out;
    while (!reader.atEnd()) {
        std::unique_ptr<LispNode> node;
        if (!reader.datum(node, 0))
            return nullptr;
        emit(*node, out);
    }
    return out.release();
}

CMavString rbToText(const resbuf* rb)
{
    CMavString out;
    bool first = true; // no separator before the next datum
    for (; rb; rb = rb->rbnext) {
        const short t = rb->restype;
        if (t == RTLE || t == RTDOTE) {
            out += L')';
            first = false;
            continue;
        }
        if (!first)
            out += (rb->rbnext && rb->rbnext->restype == RTDOTE) ? L" . " : L" ";
        first = false;
        switch (t) {
        case RTLB:
            out += L'(';
            first = true;
            break;
        case RTREAL:
        case RTANG:
        case RTORINT:
            textNumber(out, rb->resval.rreal);
            break;
        case RTSHORT:
            out += CMavString::format(L"%d", static_cast<int>(rb->resval.rint));
            break;
        case RTLONG:
            out += CMavString::format(L"%d", static_cast<int>(rb->resval.rlong));
            break;
        case RTSTR:
        case RTDXF0:
            lispQuoted(out, rb->resval.rstring);
            break;
        case RTPOINT:
        case RT3DPOINT:
            out += L'(';
            textNumber(out, rb->resval.rpoint[0]);
            out += L' ';
            textNumber(out, rb->resval.rpoint[1]);
            if (t == RT3DPOINT) {
                out += L' ';
                textNumber(out, rb->resval.rpoint[2]);
            }
            out += L')';
            break;
        case RTENAME:
        case RTPICKS:
            out += CMavString::format(L"<Entity %lld %lld>", static_cast<long long>(rb->resval.rlname[0]),
                                      static_cast<long long>(rb->resval.rlname[1]));
            break;
        case RTNIL:
            out += L"nil";
            break;
        case RTT:
            out += L"T";
            break;
        default:
            out += CMavString::format(L"<%d>", static_cast<int>(t));
            break;
        }
    }
    return out;
}

// ---------------------------------------------------------------------------------------------------------------
// Buffers to geometry.
namespace {

// One vertex at rb: a point buffer or a list of 2 to 4 numbers. Advances rb past it.
bool readVertex(const resbuf*& rb, CMavPoint3d& p, double& bulge)
{
    bulge = 0.0;
    if (!rb)
        return false;
    if (rb->restype == RTPOINT || rb->restype == RT3DPOINT) {
        p = CMavPoint3d(rb->resval.rpoint[0], rb->resval.rpoint[1],
                        rb->restype == RT3DPOINT ? rb->resval.rpoint[2] : 0.0);
        rb = rb->rbnext;
        return true;
    }
    if (rb->restype != RTLB)
        return false;
    rb = rb->rbnext;
    double v[4] = {0.0, 0.0, 0.0, 0.0};
    int n = 0;
    while (isNumber(rb) && n < 4) {
        v[n++] = numberOf(rb);
        rb = rb->rbnext;
    }
    if (n < 2 || !rb || rb->restype != RTLE)
        return false;
    rb = rb->rbnext;
    p = CMavPoint3d(v[0], v[1], v[2]);
    bulge = v[3];
    return true;
}

// One outline at rb (a list of vertices, or nil). Advances rb past it.
bool readOutline(const resbuf*& rb, CMavVertexArray& out, int flags)
{
    out.removeAll();
    if (!rb)
        return false;
    if (rb->restype == RTNIL) {
        rb = rb->rbnext;
        return true;
    }
    if (rb->restype != RTLB)
        return false;
    rb = rb->rbnext;
    CMavArrayTempl<CMavPoint3d> pts;
    CMavArrayTempl<double> bulges;
    while (rb && rb->restype != RTLE) {
        CMavPoint3d p;
        double b = 0.0;
        if (!readVertex(rb, p, b))
            return false;
        pts.append(p);
        bulges.append(std::isfinite(b) ? b : 0.0);
    }
    if (!rb)
        return false;
    rb = rb->rbnext;
    const int n = pts.len();
    if (n < 2)
        return true;
    for (int i = 0; i + 1 < n; ++i)
        out.append(pts[i], pts[i + 1], bulges[i]);
    if ((flags & 1) == 0 && pts[n - 1] != pts[0])
        out.append(pts[n - 1], pts[0], bulges[n - 1]);
    return true;
}

} // namespace

bool fromRb(CMavVertexArray& polyline, const resbuf* rb, int flags)
{
    const resbuf* cur = rb;
    CMavVertexArray pl;
    if (!readOutline(cur, pl, flags)) {
        polyline.removeAll();
        return false;
    }
    polyline = pl;
    return true;
}

bool fromRb(CMavArrayTempl<CMavArrayTempl<CMavVertexArray>>& regions, const resbuf* rb, int flags)
{
    regions.removeAll();
    if (!rb)
        return false;
    if (rb->restype == RTNIL)
        return true;
    if (rb->restype != RTLB)
        return false;
    const resbuf* cur = rb->rbnext;
    CMavArrayTempl<CMavArrayTempl<CMavVertexArray>> out;
    while (cur && cur->restype != RTLE) {
        CMavArrayTempl<CMavVertexArray> region;
        if (cur->restype == RTNIL) {
            cur = cur->rbnext;
            continue;
        }
        if (cur->restype != RTLB)
            return false;
        cur = cur->rbnext;
        while (cur && cur->restype != RTLE) {
            CMavVertexArray outline;
            if (!readOutline(cur, outline, flags))
                return false;
            if (outline.len() > 0)
                region.append(outline);
        }
        if (!cur)
            return false;
        cur = cur->rbnext;
        if (region.len() > 0)
            out.append(region);
    }
    if (!cur)
        return false;
    regions = out;
    return true;
}

} // namespace MAV
