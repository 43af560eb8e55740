// Colours of the data library and the layers' colours.
#include "data/CMavColor.h"

#include "data/acadRGB.h"
#include "data/CMavDataItem.h"
#include "data/config.h"
#include "base/text.h"

namespace {

std::uint32_t swapRB(std::uint32_t v)
{
    return ((v & 0xFFu) << 16) | (v & 0xFF00u) | ((v >> 16) & 0xFFu);
}

// "r,g,b" with three integers 0-255 into 0x00RRGGBB.
bool parseTriple(const CMavString& text, std::uint32_t& rgb)
{
    CMavArrayTempl<CMavString> parts;
    if (MAV::strTok(text.c_str(), L",", parts, true) != 3)
        return false;
    std::uint32_t out = 0;
    for (int i = 0; i < 3; ++i) {
        CMavString p = parts[i];
        p.trim();
        if (p.isEmpty())
            return false;
        for (int k = 0; k < p.len(); ++k)
            if (p[k] < L'0' || p[k] > L'9')
                return false;
        const int v = MAV::atoi(p.c_str());
        if (v < 0 || v > 255)
            return false;
        out = (out << 8) | static_cast<std::uint32_t>(v);
    }
    rgb = out;
    return true;
}

bool isDigits(const CMavString& s)
{
    if (s.isEmpty())
        return false;
    int i = (s[0] == L'-') ? 1 : 0;
    if (i >= s.len())
        return false;
    for (; i < s.len(); ++i)
        if (s[i] < L'0' || s[i] > L'9')
            return false;
    return true;
}

} // namespace

CMavColor::CMavColor(const CMavColor& other)
    : CMavObj(), m_index(other.m_index), m_rgb(other.m_rgb),
      m_names(other.m_names ? new Names(*other.m_names) : nullptr)
{
}

CMavColor::CMavColor(CMavColor&& other) noexcept
    : CMavObj(), m_index(other.m_index), m_rgb(other.m_rgb), m_names(other.m_names)
{
    other.m_names = nullptr;
}

CMavColor::~CMavColor()
{
    delete m_names;
}

CMavColor& CMavColor::operator=(const CMavColor& other)
{
    if (this != &other) {
        Names* names = other.m_names ? new Names(*other.m_names) : nullptr;
        delete m_names;
        m_names = names;
        m_index = other.m_index;
        m_rgb = other.m_rgb;
    }
    return *this;
}

CMavColor& CMavColor::operator=(CMavColor&& other) noexcept
{
    if (this != &other) {
        delete m_names;
        m_names = other.m_names;
        other.m_names = nullptr;
        m_index = other.m_index;
        m_rgb = other.m_rgb;
    }
    return *this;
}

void CMavColor::setColorIndex(int index)
{
    m_index = index;
    m_rgb = 0;
}

std::uint32_t CMavColor::oleColor() const
{
    if (isTrueColor())
        return swapRB(m_rgb & kRgbMask);
    return acadRGB(m_index) & 0xFFFFFFu;
}

void CMavColor::setOleColor(std::uint32_t bgr)
{
    bgr &= 0xFFFFFFu;
    m_rgb = swapRB(bgr) | kHasTrue;
    m_index = nearestIndex(bgr);
}

void CMavColor::setColor(std::uint32_t rgb)
{
    m_rgb = (rgb & kRgbMask) | kHasTrue;
}

void CMavColor::setNames(const wchar_t* colorName, const wchar_t* bookName)
{
    const bool none = (!colorName || !*colorName) && (!bookName || !*bookName);
    if (none) {
        delete m_names;
        m_names = nullptr;
        return;
    }
    if (!m_names)
        m_names = new Names();
    m_names->colorName = colorName;
    m_names->bookName = bookName;
}

const CMavString& CMavColor::colorName() const
{
    static const CMavString empty;
    return m_names ? m_names->colorName : empty;
}

const CMavString& CMavColor::bookName() const
{
    static const CMavString empty;
    return m_names ? m_names->bookName : empty;
}

bool CMavColor::operator==(const CMavColor& o) const
{
    return m_index == o.m_index && isTrueColor() == o.isTrueColor() && (!isTrueColor() || m_rgb == o.m_rgb) &&
           colorName() == o.colorName() && bookName() == o.bookName();
}

int CMavColor::nearestIndex(std::uint32_t bgr)
{
    const int r = static_cast<int>(bgr & 0xFF), g = static_cast<int>((bgr >> 8) & 0xFF),
              b = static_cast<int>((bgr >> 16) & 0xFF);
    int best = 1;
    long bestDist = -1;
    for (int i = 1; i <= 255; ++i) {
        const std::uint32_t c = acadRGB(i);
        const long dr = acadRed(c) - r, dg = acadGreen(c) - g, db = acadBlue(c) - b;
        const long d = dr * dr + dg * dg + db * db;
        if (bestDist < 0 || d < bestDist) {
            bestDist = d;
            best = i;
        }
    }
    return best;
}

namespace MAV {

bool color_from_data(const CMavDataItem* item, CMavColor& colour)
{
    if (!item)
        return false;
    int index = 0;
    if (!item->isDir()) {
        if (item->get(index)) {
            colour.setColorIndex(index);
            return true;
        }
        CMavString text;
        if (!item->get(text))
            return false;
        text.trim();
        std::uint32_t rgb = 0;
        if (parseTriple(text, rgb)) {
            colour.setOleColor(swapRB(rgb));
            return true;
        }
        if (isDigits(text)) {
            colour.setColorIndex(MAV::atoi(text.c_str()));
            return true;
        }
        return false;
    }
    CMavColor c = colour;
    bool any = false;
    if (item->get(index, L"COLOR")) {
        c.setColorIndex(index);
        any = true;
    }
    int rgbInt = 0;
    CMavString rgbText;
    if (item->get(rgbInt, L"RGB")) {
        c.setColor(static_cast<std::uint32_t>(rgbInt));
        any = true;
    } else if (item->get(rgbText, L"RGB")) {
        std::uint32_t rgb = 0;
        rgbText.trim();
        if (parseTriple(rgbText, rgb))
            c.setColor(rgb);
        else
            c.setColor(static_cast<std::uint32_t>(MAV::atoi(rgbText.c_str())));
        any = true;
    }
    CMavString name, book;
    const bool hasName = item->get(name, L"NAME");
    const bool hasBook = item->get(book, L"BOOK");
    if (hasName || hasBook) {
        c.setNames(name.c_str(), book.c_str());
        any = true;
    }
    if (any)
        colour = c;
    return any;
}

CMavColor color_from_data(const CMavDataItem* item)
{
    CMavColor c;
    color_from_data(item, c);
    return c;
}

bool layer_color(CMavColor& colour, const wchar_t* layer)
{
    CLayerProp prop;
    const bool found = CMavLayerMgr::physLayerPropGet(layer, prop);
    colour = prop.color;
    return found;
}

} // namespace MAV

bool CMavLayerMgr::physLayerPropGet(const wchar_t* layer, MAV::CLayerProp& prop)
{
    prop = MAV::CLayerProp();
    prop.name = (layer && *layer) ? layer : L"0";
    const CMavDataItem* layers = MAV::cfg_get(L"LAYER");
    if (!layers)
        return false;
    const CMavDataItem* entry = nullptr;
    for (MAV::CDataIterator it(layers); it.valid(); it.next()) {
        if (!it.item()->keyPart().isInt() && it.item()->keyPart().text.compareNoCase(prop.name.c_str()) == 0) {
            entry = it.item();
            break;
        }
    }
    if (!entry)
        return false;
    MAV::color_from_data(entry->get(L"COLOR"), prop.color);
    entry->get(prop.lineType, L"LTYPE");
    entry->get(prop.lineWeight, L"LWEIGHT");
    entry->get(prop.off, L"OFF");
    entry->get(prop.frozen, L"FROZEN");
    return true;
}
