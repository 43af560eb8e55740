// Node of the data tree: a typed value or a directory of keyed children in insertion order.
#pragma once

#include <memory>
#include <variant>
#include <vector>

#include "base/CMavArray.h"
#include "data/CMavDataKey.h"
#include "base/CMavMatrix3d.h"
#include "base/CMavPoint3d.h"
#include "base/CMavPoint3dArray.h"
#include "base/CMavString.h"
#include "base/CMavVector3d.h"
#include "base/CMavVertexArray.h"

class CMavDataItem : public CMavObj {
public:
    enum Type {
        kNone = 0,     // no value yet
        kInt,          // int
        kDouble,       // double
        kText,         // CMavString
        kPoint,        // CMavPoint3d
        kPointArray,   // CMavPoint3dArray
        kMatrix,       // CMavMatrix3d (4x4)
        kPolyline,     // CMavVertexArray
        kPolylineList, // CMavArrayTempl<CMavVertexArray>
        kIntArray,     // CMavArrayTempl<int>
        kDir           // directory of children
    };

    CMavDataItem() = default;
    // Deep copy of value and children; the copy has no parent and keeps the source's own key.
    CMavDataItem(const CMavDataItem& other);
    // Takes value and children over; the moved-from item is left empty.
    CMavDataItem(CMavDataItem&& other) noexcept;
    CMavDataItem& operator=(const CMavDataItem& other);
    ~CMavDataItem() override;

    Type valueType() const { return static_cast<Type>(m_value.index()); }
    bool isDir() const { return valueType() == kDir; }
    bool hasValue() const { return valueType() != kNone && !isDir(); }

    // The key under which this item hangs in its parent (a text part "" for a free item).
    const CMavDataKeyPart& keyPart() const { return m_key; }
    short keyType() const { return m_key.type; }
    CMavDataKey key() const { return CMavDataKey(m_key); }
    CMavDataItem* parent() const { return m_parent; }

    // Values. Setting a value turns a directory into a plain item (its children are dropped).
    void setNone();
    void set(int v);
    void set(double v);
    void set(const wchar_t* v);
    void set(const CMavString& v);
    void set(const CMavPoint3d& v);
    void set(const CMavPoint3dArray& v);
    void set(const CMavMatrix3d& v);
    void set(const CMavVertexArray& v);
    void set(const CMavArrayTempl<CMavVertexArray>& v);
    void set(const CMavArrayTempl<int>& v);
    // Makes this item an empty directory unless it is one already.
    void makeDirectory();

    // Reads the value of the item below key (this item for an empty key). False, value unchanged, when the item
    // is missing or holds another type. Numbers convert: an int reads as double; a finite double within the int
    // range reads as int (truncated toward zero). An int array reads as one int when it has exactly one element
    // and an int as an array of one; a polyline reads as a list of one polyline. A point reads as a vector.
    bool get(int& v, const CMavDataKey& key = CMavDataKey()) const;
    bool get(unsigned long& v, const CMavDataKey& key = CMavDataKey()) const;
    bool get(bool& v, const CMavDataKey& key = CMavDataKey()) const;
    bool get(double& v, const CMavDataKey& key = CMavDataKey()) const;
    bool get(CMavString& v, const CMavDataKey& key = CMavDataKey()) const;
    bool get(CMavPoint3d& v, const CMavDataKey& key = CMavDataKey()) const;
    bool get(CMavVector3d& v, const CMavDataKey& key = CMavDataKey()) const;
    bool get(CMavPoint3dArray& v, const CMavDataKey& key = CMavDataKey()) const;
    bool get(CMavMatrix3d& v, const CMavDataKey& key = CMavDataKey()) const;
    bool get(CMavVertexArray& v, const CMavDataKey& key = CMavDataKey()) const;
    bool get(CMavArrayTempl<CMavVertexArray>& v, const CMavDataKey& key = CMavDataKey()) const;
    bool get(CMavArrayTempl<int>& v, const CMavDataKey& key = CMavDataKey()) const;

    // The item below key (this item for an empty key), or null when a part is missing.
    CMavDataItem* get(const CMavDataKey& key);
    const CMavDataItem* get(const CMavDataKey& key) const;

    // Children in insertion order.
    int count() const { return static_cast<int>(m_children.size()); }
    CMavDataItem* childAt(int i) const;
    // Index of the child with the key part, or -1.
    int indexOf(const CMavDataKeyPart& part) const;

    // Makes the directories along key (turning plain items on the way into directories, which drops their
    // values) and returns the last one. An empty key makes this item a directory. Null only when the tree
    // would grow beyond kMaxDepth.
    CMavDataItem* makeDir(const CMavDataKey& key);
    // Like makeDir for all parts but the last; the last item is returned as it is when it exists, otherwise
    // it is created without a value.
    CMavDataItem* makeItem(const CMavDataKey& key);
    // Makes the item below key and stores the value in it.
    template <class T>
    CMavDataItem* setAt(const CMavDataKey& key, const T& value)
    {
        CMavDataItem* item = makeItem(key);
        if (item)
            item->set(value);
        return item;
    }
    // Stores a deep copy of source under key. With flag 1 an existing item there is replaced; without it an
    // existing item is left alone and the result is false. An empty key copies into this item itself (flag 1
    // needed when it holds anything). The copy is taken first, so source may lie anywhere, even below key.
    bool setItem(const CMavDataKey& key, const CMavDataItem& source, int flags);
    // Removes the item below key with its children; false when it is missing or the key is empty.
    bool remove(const CMavDataKey& key);
    // Drops value and children.
    void clear();

    // Deep equality of value, children (in order) and their keys; the own key and parent are not compared.
    bool equals(const CMavDataItem& other) const;

    // The item as LISP text: a directory is a list of (key . value) pairs, a nested directory (key child...);
    // see CMavDataItem.cpp for the value forms. MAV::rbToList turns the text into a result buffer list.
    CMavString mkLisp() const;

    static constexpr int kMaxDepth = 64;

private:
    using Value = std::variant<std::monostate, int, double, CMavString, CMavPoint3d, CMavPoint3dArray, CMavMatrix3d,
                               CMavVertexArray, CMavArrayTempl<CMavVertexArray>, CMavArrayTempl<int>, bool>;
    // The last alternative (bool) marks a directory; its value is unused.

    CMavDataItem* childFor(const CMavDataKeyPart& part, bool create);
    void adopt(std::unique_ptr<CMavDataItem> child);
    void rebuildIndex();
    void indexAdd(size_t position);
    int depth() const;
    void appendLisp(CMavString& out) const;
    void appendLispEntry(CMavString& out) const;

    Value m_value;
    CMavDataKeyPart m_key{L""};
    CMavDataItem* m_parent = nullptr;
    std::vector<std::unique_ptr<CMavDataItem>> m_children;
    // Open-addressing hash table of child positions (-1 free), a power of two at most half full; empty while the
    // directory is small enough to be searched from end to end.
    std::vector<int> m_index;
};

// A data item that starts as an empty directory.
class CMavDataDir : public CMavDataItem {
public:
    CMavDataDir() { makeDirectory(); }
};

namespace MAV {

// Walks the children of a directory in insertion order:
//   for (MAV::CDataIterator it(dir); it.valid(); it.next()) use(it.item());
// The directory must not gain or lose children while it is walked.
class CDataIterator {
public:
    explicit CDataIterator(const CMavDataItem* dir) : m_dir(dir) {}
    bool valid() const { return m_dir && m_pos < m_dir->count(); }
    void next() { ++m_pos; }
    void reset() { m_pos = 0; }
    CMavDataItem* item() const { return valid() ? m_dir->childAt(m_pos) : nullptr; }
    // Key part of the current child.
    CMavDataKey key() const { return valid() ? item()->key() : CMavDataKey(); }

private:
    const CMavDataItem* m_dir;
    int m_pos = 0;
};

// Reads the value below key of an item; false on a null item, a missing key or another type.
template <class T>
bool dataItemGet(const CMavDataItem* item, const CMavDataKey& key, T& value)
{
    return item && item->get(value, key);
}
// Reads the item's own value.
template <class T>
bool dataItemGet(const CMavDataItem* item, T& value)
{
    return item && item->get(value);
}
// Stores the value below key of an item, creating the path; false on a null item.
template <class T>
bool dataItemSet(CMavDataItem* item, const CMavDataKey& key, const T& value)
{
    return item && item->setAt(key, value) != nullptr;
}

} // namespace MAV
