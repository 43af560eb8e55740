// Data files and the text form of the data tree.
//
// The text form, UTF-8, free layout (line breaks count as spaces), ';' starts a comment to the end of the line:
//
//   file    := entry*
//   entry   := key '=' value | key '{' entry* '}'
//   key     := word | "quoted" | '#' integer | '@' (word | "quoted")
//   value   := 'none' | 'int' I | 'real' N | 'text' "quoted" | 'point' N N N | 'points' (N N N)*
//            | 'matrix' N*16 | 'polyline' (N*7)* | 'polylines' [(N*7)* ('|' (N*7)*)*] | 'ints' I*
//
// A word is a run of characters other than white space and = { } | ; " that does not start with a digit, a
// sign, '.', '#' or '@'; it is a text key. '#' keys are integer keys, '@' keys name keys (type 5020). Quoted
// texts take the escapes \" \\ \n \r \t. A polyline vertex is start x y z, end x y z, bulge. N is a number in C
// notation ("nan" and "inf" allowed in values), I an integer in the int range. Matrices are rows, the
// translation in the last column. Limits: nesting 64 deep, 1,000,000 items per file.
#include "data/datafile.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <unordered_set>
#include <utility>

#include "base/files.h"

namespace MAV {

std::string formatDouble(double v)
{
    if (std::isnan(v))
        return "nan";
    if (std::isinf(v))
        return v > 0 ? "inf" : "-inf";
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

bool parseDouble(const char* begin, const char* end, double& v)
{
    if (begin >= end)
        return false;
    const char* b = begin;
    if (*b == '+') {
        ++b;
        if (b == end || *b == '-' || *b == '+')
            return false;
    }
    double out = 0.0;
    const auto r = std::from_chars(b, end, out);
    if (r.ec != std::errc() || r.ptr != end)
        return false;
    v = out;
    return true;
}

namespace {

std::filesystem::path fsPath(const wchar_t* path)
{
#ifdef _WIN32
    return std::filesystem::path(std::wstring(path));
#else
    return std::filesystem::path(wideToUtf8(path, std::wcslen(path)));
#endif
}

} // namespace

bool readFileBytes(const wchar_t* path, std::string& bytes, size_t maxBytes)
{
    if (!path || !*path)
        return false;
    try {
        std::ifstream in(fsPath(path), std::ios::binary);
        if (!in)
            return false;
        in.seekg(0, std::ios::end);
        const std::streamoff size = in.tellg();
        if (size < 0 || static_cast<unsigned long long>(size) > maxBytes)
            return false;
        in.seekg(0, std::ios::beg);
        std::string out(static_cast<size_t>(size), '\0');
        if (size > 0 && !in.read(&out[0], size))
            return false;
        bytes.swap(out);
        return true;
    } catch (...) {
        return false;
    }
}

bool writeFileBytes(const wchar_t* path, const std::string& bytes)
{
    if (!path || !*path)
        return false;
    try {
        std::ofstream out(fsPath(path), std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return static_cast<bool>(out);
    } catch (...) {
        return false;
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Reader of the text form.
namespace {

constexpr int kMaxDepth = 64;
constexpr long kMaxItems = 1000000;

enum TokKind { kEnd, kWord, kString, kNumber, kIntKey, kNameKey, kSym, kBad };

struct Token {
    TokKind kind = kEnd;
    std::string text; // word, string (unescaped), number text, name of a '@' key
    char sym = 0;     // = { } |
    int line = 1;
};

bool isWordChar(unsigned char c)
{
    return !std::isspace(c) && c != '=' && c != '{' && c != '}' && c != '|' && c != ';' && c != '"';
}

// The words a list of numbers takes as numbers: a key spelled so must be quoted, or the numbers of a value
// written before it would take it in.
bool isNumberWord(const std::string& w)
{
    return w == "nan" || w == "inf" || w == "infinity";
}

bool startsNumber(unsigned char c)
{
    return std::isdigit(c) || c == '-' || c == '+' || c == '.';
}

class Lexer {
public:
    Lexer(const char* text, size_t size) : m_p(text), m_end(text + size)
    {
        if (size >= 3 && static_cast<unsigned char>(text[0]) == 0xEF && static_cast<unsigned char>(text[1]) == 0xBB &&
            static_cast<unsigned char>(text[2]) == 0xBF)
            m_p += 3;
    }

    const Token& peek()
    {
        if (!m_havePeek) {
            m_peek = read();
            m_havePeek = true;
        }
        return m_peek;
    }
    Token next()
    {
        peek();
        m_havePeek = false;
        return m_peek;
    }
    int line() const { return m_line; }

private:
    Token read()
    {
        skip();
        Token t;
        t.line = m_line;
        if (m_p >= m_end)
            return t;
        const unsigned char c = static_cast<unsigned char>(*m_p);
        if (c == '=' || c == '{' || c == '}' || c == '|') {
            t.kind = kSym;
            t.sym = static_cast<char>(c);
            ++m_p;
            return t;
        }
        if (c == '"') {
            ++m_p;
            t.kind = quoted(t.text) ? kString : kBad;
            return t;
        }
        if (c == '#') {
            ++m_p;
            t.kind = kIntKey;
            t.text = run();
            return t;
        }
        if (c == '@') {
            ++m_p;
            t.kind = kNameKey;
            if (m_p < m_end && *m_p == '"') {
                ++m_p;
                if (!quoted(t.text))
                    t.kind = kBad;
            } else {
                t.text = run();
            }
            return t;
        }
        t.text = run();
        t.kind = startsNumber(c) ? kNumber : kWord;
        if (t.text.empty())
            t.kind = kBad;
        return t;
    }

    std::string run()
    {
        const char* b = m_p;
        while (m_p < m_end && isWordChar(static_cast<unsigned char>(*m_p)))
            ++m_p;
        return std::string(b, m_p);
    }

    bool quoted(std::string& out)
    {
        while (m_p < m_end) {
            char c = *m_p++;
            if (c == '"')
                return true;
            if (c == '\n')
                ++m_line;
            if (c == '\\') {
                if (m_p >= m_end)
                    return false;
                const char e = *m_p++;
                c = e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e;
                if (e == '\n')
                    ++m_line;
            }
            out += c;
        }
        return false;
    }

    void skip()
    {
        while (m_p < m_end) {
            const unsigned char c = static_cast<unsigned char>(*m_p);
            if (c == '\n') {
                ++m_line;
                ++m_p;
            } else if (std::isspace(c)) {
                ++m_p;
            } else if (c == ';') {
                while (m_p < m_end && *m_p != '\n')
                    ++m_p;
            } else {
                return;
            }
        }
    }

    const char* m_p;
    const char* m_end;
    int m_line = 1;
    Token m_peek;
    bool m_havePeek = false;
};

class Reader {
public:
    Reader(const char* text, size_t size) : m_lex(text, size) {}

    bool entries(CMavDataItem& dir, int depth, bool top)
    {
        for (;;) {
            const Token& t = m_lex.peek();
            if (t.kind == kEnd) {
                if (!top)
                    return fail("missing '}'");
                return true;
            }
            if (t.kind == kSym && t.sym == '}') {
                if (top)
                    return fail("unexpected '}'");
                m_lex.next();
                return true;
            }
            if (!entry(dir, depth))
                return false;
        }
    }

    const std::string& error() const { return m_error; }

private:
    bool fail(const char* reason)
    {
        if (m_error.empty())
            m_error = "line " + std::to_string(m_lex.line()) + ": " + reason;
        return false;
    }

    bool key(CMavDataKeyPart& part)
    {
        const Token t = m_lex.next();
        switch (t.kind) {
        case kWord:
        case kString:
            part = CMavDataKeyPart(CMavString(t.text.c_str()).c_str());
            return true;
        case kNameKey:
            part = CMavDataKeyPart(CMavString(t.text.c_str()).c_str(), MAV::kKeyName);
            return true;
        case kIntKey: {
            int v = 0;
            if (!toInt(t.text, v))
                return fail("bad integer key");
            part = CMavDataKeyPart(v);
            return true;
        }
        default:
            return fail("key expected");
        }
    }

    static bool toInt(const std::string& s, int& v)
    {
        const char* b = s.c_str();
        const char* e = b + s.size();
        if (b < e && *b == '+')
            ++b;
        long long x = 0;
        const auto r = std::from_chars(b, e, x);
        if (r.ec != std::errc() || r.ptr != e || b == e || x < INT_MIN || x > INT_MAX)
            return false;
        v = static_cast<int>(x);
        return true;
    }

    // True when the next token is a number (or nan/inf); reads it.
    bool number(double& v)
    {
        const Token& t = m_lex.peek();
        if (t.kind != kNumber && !(t.kind == kWord && isNumberWord(t.text)))
            return false;
        const Token n = m_lex.next();
        if (!parseDouble(n.text.data(), n.text.data() + n.text.size(), v)) {
            fail("bad number");
            m_badNumber = true;
            return false;
        }
        return true;
    }

    bool numbers(std::vector<double>& out)
    {
        double v = 0.0;
        while (number(v)) {
            out.push_back(v);
            if (out.size() > static_cast<size_t>(kMaxItems) * 7)
                return fail("too many numbers");
        }
        return !m_badNumber;
    }

    static CMavVertexArray polyline(const std::vector<double>& n, size_t from, size_t to)
    {
        CMavVertexArray pl;
        for (size_t i = from; i + 7 <= to; i += 7)
            pl.append(CMavVertex(CMavPoint3d(n[i], n[i + 1], n[i + 2]), CMavPoint3d(n[i + 3], n[i + 4], n[i + 5]),
                                 n[i + 6]));
        return pl;
    }

    bool value(CMavDataItem& item)
    {
        const Token t = m_lex.next();
        if (t.kind != kWord)
            return fail("value type expected");
        const std::string& type = t.text;
        if (type == "none") {
            item.clear();
            return true;
        }
        if (type == "text") {
            const Token s = m_lex.next();
            if (s.kind != kString)
                return fail("quoted text expected");
            item.set(CMavString(s.text.c_str()));
            return true;
        }
        if (type == "int") {
            const Token s = m_lex.next();
            int v = 0;
            if (s.kind != kNumber || !toInt(s.text, v))
                return fail("integer expected");
            item.set(v);
            return true;
        }
        if (type == "ints") {
            CMavArrayTempl<int> a;
            while (m_lex.peek().kind == kNumber) {
                int v = 0;
                if (!toInt(m_lex.next().text, v))
                    return fail("integer expected");
                a.append(v);
                if (a.len() > kMaxItems)
                    return fail("too many numbers");
            }
            item.set(a);
            return true;
        }
        std::vector<double> n;
        if (type == "polylines") {
            CMavArrayTempl<CMavVertexArray> list;
            for (;;) {
                n.clear();
                if (!numbers(n))
                    return false;
                if (n.size() % 7 != 0)
                    return fail("a polyline needs 7 numbers per segment");
                list.append(polyline(n, 0, n.size()));
                const Token& s = m_lex.peek();
                if (!(s.kind == kSym && s.sym == '|'))
                    break;
                m_lex.next();
            }
            if (list.len() == 1 && list[0].len() == 0)
                list.removeAll();
            item.set(list);
            return true;
        }
        if (!numbers(n))
            return false;
        if (type == "real") {
            if (n.size() != 1)
                return fail("one number expected");
            item.set(n[0]);
        } else if (type == "point") {
            if (n.size() != 3)
                return fail("three numbers expected");
            item.set(CMavPoint3d(n[0], n[1], n[2]));
        } else if (type == "points") {
            if (n.size() % 3 != 0)
                return fail("points need three numbers each");
            CMavPoint3dArray a;
            for (size_t i = 0; i < n.size(); i += 3)
                a.append(CMavPoint3d(n[i], n[i + 1], n[i + 2]));
            item.set(a);
        } else if (type == "matrix") {
            if (n.size() != 16)
                return fail("sixteen numbers expected");
            CMavMatrix3d m;
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 4; ++c)
                    m.m[r][c] = n[static_cast<size_t>(r * 4 + c)];
            item.set(m);
        } else if (type == "polyline") {
            if (n.size() % 7 != 0)
                return fail("a polyline needs 7 numbers per segment");
            item.set(polyline(n, 0, n.size()));
        } else {
            return fail("unknown value type");
        }
        return true;
    }

    bool entry(CMavDataItem& dir, int depth)
    {
        CMavDataKeyPart part;
        if (!key(part))
            return false;
        if (++m_items > kMaxItems)
            return fail("too many items");
        const Token t = m_lex.next();
        if (t.kind != kSym || (t.sym != '=' && t.sym != '{'))
            return fail("'=' or '{' expected after a key");
        if (t.sym == '{') {
            if (depth + 1 > kMaxDepth)
                return fail("nesting too deep");
            CMavDataItem* sub = dir.makeDir(CMavDataKey(part));
            if (!sub)
                return fail("nesting too deep");
            return entries(*sub, depth + 1, false);
        }
        CMavDataItem* item = dir.makeItem(CMavDataKey(part));
        if (!item)
            return fail("nesting too deep");
        return value(*item);
    }

    Lexer m_lex;
    std::string m_error;
    long m_items = 0;
    bool m_badNumber = false;
};

// ---------------------------------------------------------------------------------------------------------------
// Writer of the text form.
bool isBareWord(const std::string& s)
{
    // A key that begins with the byte order mark would lose it as the first word of a text.
    if (s.empty() || startsNumber(static_cast<unsigned char>(s[0])) || s[0] == '#' || s[0] == '@' ||
        isNumberWord(s) || s.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return false;
    for (unsigned char c : s)
        if (!isWordChar(c))
            return false;
    return true;
}

void writeQuoted(std::string& out, const std::string& s)
{
    out += '"';
    for (char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else {
            out += c;
        }
    }
    out += '"';
}

void writeKey(std::string& out, const CMavDataKeyPart& k)
{
    if (k.isInt()) {
        out += '#';
        out += std::to_string(k.num);
        return;
    }
    const std::string s = k.text.utf8();
    if (k.type == MAV::kKeyName)
        out += '@';
    if (isBareWord(s))
        out += s;
    else
        writeQuoted(out, s);
}

void writeNum(std::string& out, double v)
{
    out += ' ';
    out += formatDouble(v);
}

void writePoint(std::string& out, const CMavPoint3d& p)
{
    writeNum(out, p.x);
    writeNum(out, p.y);
    writeNum(out, p.z);
}

void writePolyline(std::string& out, const CMavVertexArray& pl)
{
    for (const CMavVertex& v : pl) {
        writePoint(out, v.start);
        writePoint(out, v.end);
        writeNum(out, v.bulge);
    }
}

void writeEntries(std::string& out, const CMavDataItem& dir, int indent)
{
    for (int i = 0; i < dir.count(); ++i) {
        const CMavDataItem& c = *dir.childAt(i);
        out.append(static_cast<size_t>(indent) * 2, ' ');
        writeKey(out, c.keyPart());
        if (c.isDir()) {
            out += " {\n";
            writeEntries(out, c, indent + 1);
            out.append(static_cast<size_t>(indent) * 2, ' ');
            out += "}\n";
            continue;
        }
        out += " =";
        switch (c.valueType()) {
        case CMavDataItem::kInt: {
            int v = 0;
            c.get(v);
            out += " int " + std::to_string(v);
            break;
        }
        case CMavDataItem::kDouble: {
            double v = 0.0;
            c.get(v);
            out += " real";
            writeNum(out, v);
            break;
        }
        case CMavDataItem::kText: {
            CMavString v;
            c.get(v);
            out += " text ";
            writeQuoted(out, v.utf8());
            break;
        }
        case CMavDataItem::kPoint: {
            CMavPoint3d v;
            c.get(v);
            out += " point";
            writePoint(out, v);
            break;
        }
        case CMavDataItem::kPointArray: {
            CMavPoint3dArray v;
            c.get(v);
            out += " points";
            for (const CMavPoint3d& p : v)
                writePoint(out, p);
            break;
        }
        case CMavDataItem::kMatrix: {
            CMavMatrix3d v;
            c.get(v);
            out += " matrix";
            for (int r = 0; r < 4; ++r)
                for (int k = 0; k < 4; ++k)
                    writeNum(out, v.m[r][k]);
            break;
        }
        case CMavDataItem::kPolyline: {
            CMavVertexArray v;
            c.get(v);
            out += " polyline";
            writePolyline(out, v);
            break;
        }
        case CMavDataItem::kPolylineList: {
            CMavArrayTempl<CMavVertexArray> v;
            c.get(v);
            out += " polylines";
            for (int k = 0; k < v.len(); ++k) {
                if (k > 0)
                    out += " |";
                writePolyline(out, v[k]);
            }
            break;
        }
        case CMavDataItem::kIntArray: {
            CMavArrayTempl<int> v;
            c.get(v);
            out += " ints";
            for (int x : v)
                out += ' ' + std::to_string(x);
            break;
        }
        default:
            out += " none";
            break;
        }
        out += '\n';
    }
}

} // namespace

bool dataFromText(CMavDataItem& dir, const char* text, size_t size, CMavString* error)
{
    dir.makeDirectory();
    if (!text)
        size = 0;
    Reader reader(text ? text : "", size);
    const bool ok = reader.entries(dir, 0, true);
    if (!ok && error)
        *error = CMavString(reader.error().c_str());
    return ok;
}

std::string dataToText(const CMavDataItem& dir)
{
    std::string out;
    if (dir.isDir())
        writeEntries(out, dir, 0);
    return out;
}

// ---------------------------------------------------------------------------------------------------------------
// Open data files.
namespace {

struct EntityStore {
    std::map<std::pair<std::int64_t, std::int64_t>, std::unique_ptr<CMavDataItem>> data;
    std::map<std::pair<std::int64_t, std::int64_t>, CDtaFilePointer*> open;
};

EntityStore& entities()
{
    static EntityStore store;
    return store;
}

// Every data file open now, so that closing one twice does nothing.
std::unordered_set<const CDtaFilePointer*>& openFiles()
{
    static std::unordered_set<const CDtaFilePointer*> files;
    return files;
}

} // namespace

CDtaFilePointer::CDtaFilePointer(int kind, int mode) : m_kind(kind), m_mode(mode)
{
    openFiles().insert(this);
}

CDtaFilePointer::~CDtaFilePointer()
{
    openFiles().erase(this);
    if (m_kind == kDataEntity) {
        auto& open = entities().open;
        const auto it = open.find({m_entity[0], m_entity[1]});
        if (it != open.end() && it->second == this)
            open.erase(it);
    }
    delete m_owned;
}

CMavDataItem* CDtaFilePointer::get(const CMavDataKey& key, bool create)
{
    if (!m_top)
        return nullptr;
    CMavDataItem* item = m_top->get(key);
    if (item || !create || !writable())
        return item;
    return m_top->makeItem(key);
}

bool CDtaFilePointer::set(const CMavDataKey& key, const CMavDataItem* item)
{
    if (!m_top || !item || key.isEmpty() || !writable())
        return false;
    return m_top->setItem(key, *item, 1);
}

bool CDtaFilePointer::dir(const CMavDataKey& key, CMavArrayTempl<CMavDataKey>& keys) const
{
    keys.removeAll();
    const CMavDataItem* d = m_top ? m_top->get(key) : nullptr;
    if (!d || !d->isDir())
        return false;
    for (MAV::CDataIterator it(d); it.valid(); it.next())
        keys.append(it.key());
    return true;
}

bool CDtaFilePointer::save()
{
    if (m_kind != kDataDisk || !writable() || !m_top)
        return false;
    return writeFileBytes(m_path.c_str(), dataToText(*m_top));
}

CDtaFilePointer* dtaOpen(int kind, int mode, const std::int64_t* entity, const wchar_t* path, const wchar_t*)
{
    if ((mode & kDataReadWrite) == 0)
        return nullptr;
    const bool write = (mode & kDataWrite) != 0;
    switch (kind) {
    case kDataEntity: {
        if (!entity)
            return nullptr;
        EntityStore& store = entities();
        const std::pair<std::int64_t, std::int64_t> id(entity[0], entity[1]);
        const auto open = store.open.find(id);
        if (open != store.open.end())
            return open->second;
        auto it = store.data.find(id);
        if (it == store.data.end()) {
            if (!write)
                return nullptr;
            auto fresh = std::make_unique<CMavDataItem>();
            fresh->makeDirectory();
            it = store.data.emplace(id, std::move(fresh)).first;
        }
        CDtaFilePointer* p = new CDtaFilePointer(kind, mode);
        p->m_entity[0] = entity[0];
        p->m_entity[1] = entity[1];
        p->m_top = it->second.get();
        store.open[id] = p;
        return p;
    }
    case kDataTemp: {
        CDtaFilePointer* p = new CDtaFilePointer(kind, mode | kDataWrite);
        p->m_owned = new CMavDataItem();
        p->m_owned->makeDirectory();
        p->m_top = p->m_owned;
        return p;
    }
    case kDataDisk: {
        if (!path || !*path)
            return nullptr;
        std::string bytes;
        const bool exists = fileExists(path);
        if (exists && !readFileBytes(path, bytes))
            return nullptr;
        if (!exists && !write)
            return nullptr;
        CDtaFilePointer* p = new CDtaFilePointer(kind, mode);
        p->m_path = path;
        p->m_owned = new CMavDataItem();
        dataFromText(*p->m_owned, bytes.data(), bytes.size());
        p->m_top = p->m_owned;
        return p;
    }
    default:
        return nullptr;
    }
}

void dtaClose(CDtaFilePointer* file)
{
    if (openFiles().count(file))
        delete file;
}

void dtaEntityReset()
{
    for (auto& d : entities().data) {
        d.second->clear();
        d.second->makeDirectory();
    }
}

} // namespace MAV
