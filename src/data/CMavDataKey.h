// Key paths of the data tree: a list of typed parts, each an integer or a text.
#pragma once

#include "base/CMavArray.h"
#include "base/CMavString.h"

namespace MAV {
// Part types of a key, numbered as AutoCAD numbers the LISP result types they carry.
enum KeyType : short {
    kKeyEnd = 0,     // ends the argument list of CMavDataKey::set
    kKeyInt = 5003,  // integer part
    kKeyText = 5005, // text part
    kKeyName = 5020  // generated element name (a text part the data library made unique)
};
} // namespace MAV

// One part of a key path.
class CMavDataKeyPart {
public:
    short type = MAV::kKeyText;
    int num = 0;
    CMavString text;

    CMavDataKeyPart() = default;
    CMavDataKeyPart(int n) : type(MAV::kKeyInt), num(n) {}
    CMavDataKeyPart(const wchar_t* t, short kind = MAV::kKeyText) : type(kind), text(t) {}

    bool isInt() const { return type == MAV::kKeyInt; }
    // Parts address the same child: integers by value, text and name parts by exact text.
    bool matches(const CMavDataKeyPart& other) const;
    bool operator==(const CMavDataKeyPart& other) const { return type == other.type && matches(other); }
    bool operator!=(const CMavDataKeyPart& other) const { return !(*this == other); }
    // The part as it appears in the text form of a key.
    CMavString toText() const;
};

// Key path: the parts from the outermost directory inwards. A key without parts addresses the item it is applied
// to; a text part "" is an ordinary key (the root entry of a data file is stored under it).
class CMavDataKey : public CMavObj {
public:
    CMavDataKey() = default;
    // Text form, see set(const wchar_t*).
    CMavDataKey(const wchar_t* path) { set(path); }
    explicit CMavDataKey(const CMavString& path) { set(path.c_str()); }
    // A one-part integer key.
    explicit CMavDataKey(int key) { append(key); }
    CMavDataKey(const CMavDataKeyPart& part) { m_parts.append(part); }

    // Parts from the text form: the text is split at every backslash; a part made only of decimal digits
    // (with an optional leading '-') that fits an int is an integer part, every other part a text part.
    // "VAL\2" is the text "VAL" and the integer 2; "\LABEL" is "" and "LABEL"; an empty or null text gives
    // no parts. Text parts that look like numbers are made with the typed set() or appendText().
    CMavDataKey& set(const wchar_t* path);
    // Typed parts: pairs of a part type and its value, ended by 0. MAV::kKeyInt (5003) takes an int,
    // MAV::kKeyText (5005) and MAV::kKeyName (5020) a const wchar_t* (null counts as ""). set(5005, L"VAL",
    // 5003, 2, 0) is VAL\2. An unknown part type ends the list, and at most kMaxParts parts are taken.
    CMavDataKey& set(int kind, ...);

    CMavDataKey& append(int num);
    CMavDataKey& appendText(const wchar_t* text, short kind = MAV::kKeyText);
    CMavDataKey& append(const CMavDataKeyPart& part);
    CMavDataKey& append(const CMavDataKey& tail);
    void clear() { m_parts.removeAll(); }

    int len() const { return m_parts.len(); }
    bool isEmpty() const { return m_parts.isEmpty(); }
    // Type of part i (5003, 5005 or 5020); 0 when there is no such part.
    short type(int i = 0) const;
    // Integer of part i; 0 for a text part or a missing part.
    int intPart(int i = 0) const;
    // Text of part i; "" for an integer part or a missing part.
    CMavString textPart(int i = 0) const;
    const CMavDataKeyPart& part(int i) const { return m_parts[i]; }
    const CMavArrayTempl<CMavDataKeyPart>& parts() const { return m_parts; }

    // The parts joined by backslashes (integers in decimal).
    CMavString text() const;

    bool operator==(const CMavDataKey& other) const { return m_parts == other.m_parts; }
    bool operator!=(const CMavDataKey& other) const { return !(*this == other); }

    static constexpr int kMaxParts = 64;

private:
    CMavArrayTempl<CMavDataKeyPart> m_parts;
};
