// Hatch patterns in AutoCAD's pattern file format.
#include "data/patterns.h"

#include <cmath>
#include <map>
#include <string>

#include "data/datafile.h"
#include "data/embedded_data.h"

namespace MAV {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

void trim(const char*& b, const char*& e)
{
    while (b < e && isBlank(*b))
        ++b;
    while (e > b && isBlank(e[-1]))
        --e;
}

// A pattern line: comma-separated numbers. False for an empty field, a bad number or too many values.
bool parseLine(const char* b, const char* e, CMavArrayTempl<double>& values)
{
    values.removeAll();
    while (true) {
        const char* comma = b;
        while (comma < e && *comma != ',')
            ++comma;
        const char* fb = b;
        const char* fe = comma;
        trim(fb, fe);
        double v = 0.0;
        if (fb == fe || !parseDouble(fb, fe, v) || !std::isfinite(v))
            return false;
        if (values.len() >= kPatMaxValues)
            return false;
        values.append(v);
        if (comma >= e)
            return true;
        b = comma + 1;
    }
}

CMavString upper(const CMavString& s)
{
    CMavString u(s);
    u.makeUpper();
    return u;
}

struct Library {
    CMavArrayTempl<PatternDef> patterns;
    std::map<std::wstring, int> index; // upper-case name -> position
    bool loaded = false;

    void add(const PatternDef& p)
    {
        const auto it = index.find(p.name.wstr());
        if (it != index.end()) {
            patterns[it->second] = p;
            return;
        }
        index[p.name.wstr()] = patterns.append(p);
    }
};

void loadShipped(Library& lib)
{
    lib.patterns.removeAll();
    lib.index.clear();
    const std::string text = embeddedText(kEmbeddedPatterns);
    CMavArrayTempl<PatternDef> defs;
    patParse(text.data(), text.size(), defs);
    for (const PatternDef& p : defs)
        lib.add(p);
    lib.loaded = true;
}

Library& library()
{
    static Library lib;
    if (!lib.loaded)
        loadShipped(lib);
    return lib;
}

} // namespace

int patParse(const char* text, size_t size, CMavArrayTempl<PatternDef>& out)
{
    out.removeAll();
    if (!text)
        return 0;
    std::map<std::wstring, bool> seen;
    const char* p = text;
    const char* end = text + size;
    if (size >= 3 && static_cast<unsigned char>(p[0]) == 0xEF && static_cast<unsigned char>(p[1]) == 0xBB &&
        static_cast<unsigned char>(p[2]) == 0xBF)
        p += 3;
    int current = -1; // the pattern that takes lines, -1 while lines are skipped
    CMavArrayTempl<double> values;
    while (p < end) {
        const char* lineEnd = p;
        while (lineEnd < end && *lineEnd != '\n')
            ++lineEnd;
        const char* b = p;
        const char* e = lineEnd;
        p = lineEnd < end ? lineEnd + 1 : end;
        for (const char* c = b; c < e; ++c) {
            if (*c == ';') {
                e = c;
                break;
            }
        }
        trim(b, e);
        if (b == e)
            continue;
        if (*b == '*') {
            current = -1;
            ++b;
            const char* comma = b;
            while (comma < e && *comma != ',')
                ++comma;
            const char* nb = b;
            const char* ne = comma;
            trim(nb, ne);
            if (nb == ne || out.len() >= kPatMaxPatterns)
                continue;
            PatternDef def;
            def.name = upper(CMavString(utf8ToWide(nb, static_cast<size_t>(ne - nb))));
            if (seen.count(def.name.wstr()))
                continue;
            seen[def.name.wstr()] = true;
            if (comma < e) {
                const char* db = comma + 1;
                const char* de = e;
                trim(db, de);
                def.description = CMavString(utf8ToWide(db, static_cast<size_t>(de - db)));
            }
            current = out.append(def);
            continue;
        }
        if (current < 0 || out[current].lines.len() >= kPatMaxLines)
            continue;
        if (parseLine(b, e, values))
            out[current].lines.append(values);
    }
    return out.len();
}

bool patLookup(const wchar_t* name, CMavArrayTempl<CMavArrayTempl<double>>& lines)
{
    lines.removeAll();
    const PatternDef* p = patFind(name);
    if (!p)
        return false;
    lines = p->lines;
    return true;
}

const PatternDef* patFind(const wchar_t* name)
{
    if (!name || !*name)
        return nullptr;
    Library& lib = library();
    const auto it = lib.index.find(upper(CMavString(name)).wstr());
    return it == lib.index.end() ? nullptr : &lib.patterns[it->second];
}

int patLoadText(const char* text, size_t size)
{
    CMavArrayTempl<PatternDef> defs;
    const int n = patParse(text, size, defs);
    Library& lib = library();
    for (const PatternDef& p : defs)
        lib.add(p);
    return n;
}

int patLoadFile(const wchar_t* path)
{
    std::string bytes;
    if (!readFileBytes(path, bytes))
        return -1;
    return patLoadText(bytes.data(), bytes.size());
}

int patNames(CMavArrayTempl<CMavString>& names)
{
    names.removeAll();
    for (const PatternDef& p : library().patterns)
        names.append(p.name);
    return names.len();
}

void patReset()
{
    loadShipped(library());
}

} // namespace MAV
