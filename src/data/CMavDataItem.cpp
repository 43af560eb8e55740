// Node of the data tree.
//
// Vocabulary: an item is "plain" when it holds a value (or none yet) and a "directory" when it holds children.
// Children keep their insertion order; a hash index over their keys makes lookups cheap in large directories.
// Every child knows the key part it hangs under and its parent, so a walk can report keys and go upwards.
#include "data/CMavDataItem.h"

#include <climits>
#include <cmath>

#include "data/datafile.h"
#include "data/resbuf.h"

namespace {

// The value of a variant alternative when the item holds it, else null.
template <class T, class V>
const T* valueIf(const V& v)
{
    return std::get_if<T>(&v);
}

} // namespace

CMavDataItem::CMavDataItem(const CMavDataItem& other) : CMavObj(), m_value(other.m_value), m_key(other.m_key)
{
    // The children keep their positions, so the source's table serves the copy as it is.
    m_children.reserve(other.m_children.size());
    for (const auto& c : other.m_children) {
        m_children.push_back(std::make_unique<CMavDataItem>(*c));
        m_children.back()->m_parent = this;
    }
    m_index = other.m_index;
}

CMavDataItem::CMavDataItem(CMavDataItem&& other) noexcept
    : CMavObj(), m_value(std::move(other.m_value)), m_key(other.m_key), m_children(std::move(other.m_children)),
      m_index(std::move(other.m_index))
{
    for (auto& c : m_children)
        c->m_parent = this;
    other.m_value = std::monostate();
    other.m_children.clear();
    other.m_index.clear();
}

CMavDataItem& CMavDataItem::operator=(const CMavDataItem& other)
{
    if (this == &other)
        return *this;
    CMavDataItem copy(other); // other may live below this item
    m_value = std::move(copy.m_value);
    m_key = copy.m_key;
    m_children = std::move(copy.m_children);
    m_index = std::move(copy.m_index);
    for (auto& c : m_children)
        c->m_parent = this;
    return *this;
}

CMavDataItem::~CMavDataItem() = default;

void CMavDataItem::setNone()
{
    clear();
}

void CMavDataItem::clear()
{
    m_children.clear();
    m_index.clear();
    m_value = std::monostate();
}

#define MAV_DATA_SETTER(T)                                                                                         \
    void CMavDataItem::set(T v)                                                                                    \
    {                                                                                                              \
        m_children.clear();                                                                                        \
        m_index.clear();                                                                                           \
        m_value = v;                                                                                               \
    }
MAV_DATA_SETTER(int)
MAV_DATA_SETTER(double)
MAV_DATA_SETTER(const CMavString&)
MAV_DATA_SETTER(const CMavPoint3d&)
MAV_DATA_SETTER(const CMavPoint3dArray&)
MAV_DATA_SETTER(const CMavMatrix3d&)
MAV_DATA_SETTER(const CMavVertexArray&)
MAV_DATA_SETTER(const CMavArrayTempl<CMavVertexArray>&)
MAV_DATA_SETTER(const CMavArrayTempl<int>&)
#undef MAV_DATA_SETTER

void CMavDataItem::set(const wchar_t* v)
{
    set(CMavString(v));
}

void CMavDataItem::makeDirectory()
{
    if (!isDir())
        m_value = true;
}

bool CMavDataItem::get(int& v, const CMavDataKey& key) const
{
    const CMavDataItem* item = get(key);
    if (!item)
        return false;
    if (const int* i = valueIf<int>(item->m_value)) {
        v = *i;
        return true;
    }
    if (const double* d = valueIf<double>(item->m_value)) {
        if (!std::isfinite(*d) || *d <= static_cast<double>(INT_MIN) - 1.0 ||
            *d >= static_cast<double>(INT_MAX) + 1.0)
            return false;
        v = static_cast<int>(*d);
        return true;
    }
    if (const auto* a = valueIf<CMavArrayTempl<int>>(item->m_value)) {
        if (a->len() != 1)
            return false;
        v = (*a)[0];
        return true;
    }
    return false;
}

bool CMavDataItem::get(unsigned long& v, const CMavDataKey& key) const
{
    int i = 0;
    if (!get(i, key))
        return false;
    v = static_cast<unsigned long>(static_cast<unsigned int>(i));
    return true;
}

bool CMavDataItem::get(bool& v, const CMavDataKey& key) const
{
    int i = 0;
    if (!get(i, key))
        return false;
    v = i != 0;
    return true;
}

bool CMavDataItem::get(double& v, const CMavDataKey& key) const
{
    const CMavDataItem* item = get(key);
    if (!item)
        return false;
    if (const double* d = valueIf<double>(item->m_value)) {
        v = *d;
        return true;
    }
    if (const int* i = valueIf<int>(item->m_value)) {
        v = *i;
        return true;
    }
    return false;
}

bool CMavDataItem::get(CMavString& v, const CMavDataKey& key) const
{
    const CMavDataItem* item = get(key);
    const CMavString* s = item ? valueIf<CMavString>(item->m_value) : nullptr;
    if (!s)
        return false;
    v = *s;
    return true;
}

bool CMavDataItem::get(CMavPoint3d& v, const CMavDataKey& key) const
{
    const CMavDataItem* item = get(key);
    const CMavPoint3d* p = item ? valueIf<CMavPoint3d>(item->m_value) : nullptr;
    if (!p)
        return false;
    v = *p;
    return true;
}

bool CMavDataItem::get(CMavVector3d& v, const CMavDataKey& key) const
{
    CMavPoint3d p;
    if (!get(p, key))
        return false;
    v = p.asVector();
    return true;
}

bool CMavDataItem::get(CMavPoint3dArray& v, const CMavDataKey& key) const
{
    const CMavDataItem* item = get(key);
    const CMavPoint3dArray* p = item ? valueIf<CMavPoint3dArray>(item->m_value) : nullptr;
    if (!p)
        return false;
    v = *p;
    return true;
}

bool CMavDataItem::get(CMavMatrix3d& v, const CMavDataKey& key) const
{
    const CMavDataItem* item = get(key);
    const CMavMatrix3d* m = item ? valueIf<CMavMatrix3d>(item->m_value) : nullptr;
    if (!m)
        return false;
    v = *m;
    return true;
}

bool CMavDataItem::get(CMavVertexArray& v, const CMavDataKey& key) const
{
    const CMavDataItem* item = get(key);
    const CMavVertexArray* p = item ? valueIf<CMavVertexArray>(item->m_value) : nullptr;
    if (!p)
        return false;
    v = *p;
    return true;
}

bool CMavDataItem::get(CMavArrayTempl<CMavVertexArray>& v, const CMavDataKey& key) const
{
    const CMavDataItem* item = get(key);
    if (!item)
        return false;
    if (const auto* l = valueIf<CMavArrayTempl<CMavVertexArray>>(item->m_value)) {
        v = *l;
        return true;
    }
    if (const auto* p = valueIf<CMavVertexArray>(item->m_value)) {
        CMavArrayTempl<CMavVertexArray> one;
        one.append(*p);
        v = std::move(one);
        return true;
    }
    return false;
}

bool CMavDataItem::get(CMavArrayTempl<int>& v, const CMavDataKey& key) const
{
    const CMavDataItem* item = get(key);
    if (!item)
        return false;
    if (const auto* a = valueIf<CMavArrayTempl<int>>(item->m_value)) {
        v = *a;
        return true;
    }
    if (const int* i = valueIf<int>(item->m_value)) {
        CMavArrayTempl<int> one;
        one.append(*i);
        v = std::move(one);
        return true;
    }
    return false;
}

namespace {

// Below this many children a directory is searched child by child: cheaper than hashing, and no table to keep.
constexpr size_t kIndexFrom = 8;

// Hash of a key part, consistent with CMavDataKeyPart::matches: an integer by value, text and name parts by text.
size_t partHash(const CMavDataKeyPart& part)
{
    size_t h = 14695981039346656037ull;
    const auto mix = [&h](unsigned long v) { h = (h ^ v) * 1099511628211ull; };
    if (part.isInt()) {
        mix(0x23);
        mix(static_cast<unsigned int>(part.num));
    } else {
        const std::wstring& t = part.text.wstr();
        for (wchar_t c : t)
            mix(static_cast<unsigned long>(c));
    }
    return h ^ (h >> 29);
}

} // namespace

void CMavDataItem::rebuildIndex()
{
    m_index.clear();
    if (m_children.size() < kIndexFrom)
        return;
    size_t size = 16;
    while (size < 2 * m_children.size())
        size *= 2;
    m_index.assign(size, -1);
    for (size_t i = 0; i < m_children.size(); ++i)
        indexAdd(i);
}

// Enters the child at position into the table (which has room).
void CMavDataItem::indexAdd(size_t position)
{
    const size_t mask = m_index.size() - 1;
    size_t slot = partHash(m_children[position]->m_key) & mask;
    while (m_index[slot] >= 0)
        slot = (slot + 1) & mask;
    m_index[slot] = static_cast<int>(position);
}

int CMavDataItem::indexOf(const CMavDataKeyPart& part) const
{
    if (!isDir())
        return -1;
    if (m_index.empty()) {
        for (size_t i = 0; i < m_children.size(); ++i)
            if (m_children[i]->m_key.matches(part))
                return static_cast<int>(i);
        return -1;
    }
    const size_t mask = m_index.size() - 1;
    for (size_t slot = partHash(part) & mask; m_index[slot] >= 0; slot = (slot + 1) & mask)
        if (m_children[static_cast<size_t>(m_index[slot])]->m_key.matches(part))
            return m_index[slot];
    return -1;
}

CMavDataItem* CMavDataItem::childAt(int i) const
{
    if (i < 0 || i >= count())
        return nullptr;
    return m_children[static_cast<size_t>(i)].get();
}

void CMavDataItem::adopt(std::unique_ptr<CMavDataItem> child)
{
    child->m_parent = this;
    m_children.push_back(std::move(child));
    if (2 * m_children.size() > m_index.size())
        rebuildIndex();
    else
        indexAdd(m_children.size() - 1);
}

int CMavDataItem::depth() const
{
    int d = 0;
    for (const CMavDataItem* p = m_parent; p; p = p->m_parent)
        ++d;
    return d;
}

CMavDataItem* CMavDataItem::childFor(const CMavDataKeyPart& part, bool create)
{
    const int i = indexOf(part);
    if (i >= 0)
        return m_children[static_cast<size_t>(i)].get();
    if (!create)
        return nullptr;
    makeDirectory();
    auto child = std::make_unique<CMavDataItem>();
    child->m_key = part;
    CMavDataItem* raw = child.get();
    adopt(std::move(child));
    return raw;
}

CMavDataItem* CMavDataItem::get(const CMavDataKey& key)
{
    CMavDataItem* item = this;
    for (const CMavDataKeyPart& part : key.parts()) {
        item = item->childFor(part, false);
        if (!item)
            return nullptr;
    }
    return item;
}

const CMavDataItem* CMavDataItem::get(const CMavDataKey& key) const
{
    return const_cast<CMavDataItem*>(this)->get(key);
}

CMavDataItem* CMavDataItem::makeDir(const CMavDataKey& key)
{
    if (depth() + key.len() > kMaxDepth)
        return nullptr;
    CMavDataItem* item = this;
    for (const CMavDataKeyPart& part : key.parts()) {
        if (!item->isDir()) {
            item->clear();
            item->makeDirectory();
        }
        item = item->childFor(part, true);
    }
    if (!item->isDir()) {
        item->clear();
        item->makeDirectory();
    }
    return item;
}

CMavDataItem* CMavDataItem::makeItem(const CMavDataKey& key)
{
    if (key.isEmpty())
        return this;
    if (depth() + key.len() > kMaxDepth)
        return nullptr;
    CMavDataItem* item = this;
    const int n = key.len();
    for (int i = 0; i < n; ++i) {
        if (!item->isDir()) {
            item->clear();
            item->makeDirectory();
        }
        item = item->childFor(key.part(i), true);
    }
    return item;
}

bool CMavDataItem::setItem(const CMavDataKey& key, const CMavDataItem& source, int flags)
{
    // A copy is taken first, so the source may lie anywhere, even below the target.
    CMavDataItem copy(source);
    if (key.isEmpty()) {
        if ((flags & 1) == 0 && (hasValue() || count() > 0))
            return false;
        const CMavDataKeyPart ownKey = m_key;
        *this = copy;
        m_key = ownKey;
        return true;
    }
    CMavDataKey head;
    for (int i = 0; i + 1 < key.len(); ++i)
        head.append(key.part(i));
    CMavDataItem* dir = makeDir(head);
    if (!dir)
        return false;
    const CMavDataKeyPart& last = key.part(key.len() - 1);
    const int existing = dir->indexOf(last);
    if (existing >= 0) {
        if ((flags & 1) == 0)
            return false;
        CMavDataItem* target = dir->m_children[static_cast<size_t>(existing)].get();
        *target = copy;
        target->m_key = last;
        return true;
    }
    auto child = std::make_unique<CMavDataItem>(std::move(copy));
    child->m_key = last;
    dir->adopt(std::move(child));
    return true;
}

bool CMavDataItem::remove(const CMavDataKey& key)
{
    if (key.isEmpty())
        return false;
    CMavDataItem* item = get(key);
    if (!item || !item->m_parent)
        return false;
    CMavDataItem* dir = item->m_parent;
    const int i = dir->indexOf(item->m_key);
    if (i < 0)
        return false;
    dir->m_children.erase(dir->m_children.begin() + i);
    dir->rebuildIndex();
    return true;
}

bool CMavDataItem::equals(const CMavDataItem& other) const
{
    if (m_value.index() != other.m_value.index() || m_children.size() != other.m_children.size())
        return false;
    if (!isDir() && !(m_value == other.m_value))
        return false;
    for (size_t i = 0; i < m_children.size(); ++i) {
        if (m_children[i]->m_key != other.m_children[i]->m_key)
            return false;
        if (!m_children[i]->equals(*other.m_children[i]))
            return false;
    }
    return true;
}

// LISP forms of the values:
//   int 12; double 1.5 (always with a point or exponent; not finite: nil); text "a\"b" (quote, backslash and
//   line breaks escaped); point (x y z); point array ((x y z) ...); matrix ((row0) (row1) (row2) (row3));
//   polyline (((sx sy sz) (ex ey ez) bulge) ...); polyline list (polyline ...); int array (1 2 3); no value nil.
// A directory is ((key . value) ... (key child ...)): plain children as dotted pairs, directories as a list
// headed by their key. Keys are quoted texts or integers.
namespace {

void lispNumber(CMavString& out, double v)
{
    if (!std::isfinite(v)) {
        out += L"nil";
        return;
    }
    std::string s = MAV::formatDouble(v);
    if (s.find_first_of(".eE") == std::string::npos)
        s += ".0";
    out += CMavString(s.c_str());
}


void lispPoint(CMavString& out, const CMavPoint3d& p)
{
    out += L'(';
    lispNumber(out, p.x);
    out += L' ';
    lispNumber(out, p.y);
    out += L' ';
    lispNumber(out, p.z);
    out += L')';
}

void lispPolyline(CMavString& out, const CMavVertexArray& pl)
{
    out += L'(';
    for (int i = 0; i < pl.len(); ++i) {
        if (i > 0)
            out += L' ';
        out += L'(';
        lispPoint(out, pl[i].start);
        out += L' ';
        lispPoint(out, pl[i].end);
        out += L' ';
        lispNumber(out, pl[i].bulge);
        out += L')';
    }
    out += L')';
}

} // namespace

void CMavDataItem::appendLisp(CMavString& out) const
{
    switch (valueType()) {
    case kNone:
        out += L"nil";
        break;
    case kInt:
        out += CMavString::format(L"%d", std::get<int>(m_value));
        break;
    case kDouble:
        lispNumber(out, std::get<double>(m_value));
        break;
    case kText:
        MAV::lispQuoted(out, std::get<CMavString>(m_value).c_str(), std::get<CMavString>(m_value).len());
        break;
    case kPoint:
        lispPoint(out, std::get<CMavPoint3d>(m_value));
        break;
    case kPointArray: {
        const CMavPoint3dArray& a = std::get<CMavPoint3dArray>(m_value);
        out += L'(';
        for (int i = 0; i < a.len(); ++i) {
            if (i > 0)
                out += L' ';
            lispPoint(out, a[i]);
        }
        out += L')';
        break;
    }
    case kMatrix: {
        const CMavMatrix3d& m = std::get<CMavMatrix3d>(m_value);
        out += L'(';
        for (int r = 0; r < 4; ++r) {
            out += r ? L" (" : L"(";
            for (int c = 0; c < 4; ++c) {
                if (c > 0)
                    out += L' ';
                lispNumber(out, m.m[r][c]);
            }
            out += L')';
        }
        out += L')';
        break;
    }
    case kPolyline:
        lispPolyline(out, std::get<CMavVertexArray>(m_value));
        break;
    case kPolylineList: {
        const auto& l = std::get<CMavArrayTempl<CMavVertexArray>>(m_value);
        out += L'(';
        for (int i = 0; i < l.len(); ++i) {
            if (i > 0)
                out += L' ';
            lispPolyline(out, l[i]);
        }
        out += L')';
        break;
    }
    case kIntArray: {
        const auto& a = std::get<CMavArrayTempl<int>>(m_value);
        out += L'(';
        for (int i = 0; i < a.len(); ++i) {
            if (i > 0)
                out += L' ';
            out += CMavString::format(L"%d", a[i]);
        }
        out += L')';
        break;
    }
    case kDir:
        out += L'(';
        for (size_t i = 0; i < m_children.size(); ++i) {
            if (i > 0)
                out += L' ';
            m_children[i]->appendLispEntry(out);
        }
        out += L')';
        break;
    }
}

// One child of a directory: (key . value) for a plain item, (key entry entry ...) for a directory.
void CMavDataItem::appendLispEntry(CMavString& out) const
{
    out += L'(';
    if (m_key.isInt())
        out += CMavString::format(L"%d", m_key.num);
    else
        MAV::lispQuoted(out, m_key.text.c_str(), m_key.text.len());
    if (isDir()) {
        for (const auto& c : m_children) {
            out += L' ';
            c->appendLispEntry(out);
        }
    } else {
        out += L" . ";
        appendLisp(out);
    }
    out += L')';
}

CMavString CMavDataItem::mkLisp() const
{
    CMavString out;
    appendLisp(out);
    return out;
}
