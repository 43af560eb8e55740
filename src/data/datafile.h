// Data files: the text form of a data tree, open data files (disk, entity, temporary) and file helpers.
#pragma once

#include <cstddef>
#include <string>

#include "data/CMavDataItem.h"
#include "data/resbuf.h"

namespace MAV {

// Locale-independent numbers: the shortest text that reads back to the same double ("nan", "inf", "-inf" for the
// others), and a reader that must consume [begin, end) whole (a leading '+' is allowed).
std::string formatDouble(double v);
bool parseDouble(const char* begin, const char* end, double& v);

// Whole file into bytes; false when it cannot be read or is larger than maxBytes.
bool readFileBytes(const wchar_t* path, std::string& bytes, size_t maxBytes = 64u << 20);
bool writeFileBytes(const wchar_t* path, const std::string& bytes);

// Reads the text form of a data tree (UTF-8) into the directory dir (made a directory; existing entries with
// the same keys are replaced, directories merged). See datafile.cpp for the grammar. Stops at the first error
// with what was read so far kept: false, and when error is given, "line N: reason".
bool dataFromText(CMavDataItem& dir, const char* text, size_t size, CMavString* error = nullptr);
// The children of dir in the text form (nothing for a plain item).
std::string dataToText(const CMavDataItem& dir);

// Kinds and modes of MAV::dtaOpen.
enum DataKind { kDataDisk = 1, kDataEntity = 3, kDataTemp = 6 };
enum DataMode { kDataRead = 1, kDataWrite = 2, kDataReadWrite = 3 };

// An open data file: a top directory whose children are the file's entries. The "root entry" is the child under
// the text key "" that most data keeps its own values in. Closing is deleting the pointer.
class CDtaFilePointer : public CMavObj {
public:
    ~CDtaFilePointer() override;
    CDtaFilePointer(const CDtaFilePointer&) = delete;
    CDtaFilePointer& operator=(const CDtaFilePointer&) = delete;

    int kind() const { return m_kind; }
    int mode() const { return m_mode; }
    bool writable() const { return (m_mode & kDataWrite) != 0; }
    const CMavString& path() const { return m_path; }

    // The file's top directory.
    CMavDataItem* top() { return m_top; }
    // The root entry; with create (and write mode) it is made when missing.
    CMavDataItem* root(bool create = false) { return get(CMavDataKey().appendText(L""), create); }
    // The item below key (an empty key is the top directory); with create (and write mode) the path is made
    // when missing. Null when missing.
    CMavDataItem* get(const CMavDataKey& key, bool create = false);
    // Stores a deep copy of item under key, replacing what was there; false for a null item, an empty key or a
    // read-only file.
    bool set(const CMavDataKey& key, const CMavDataItem* item);
    // The one-part keys of the children of the directory below key, in order; false when it is not a directory.
    bool dir(const CMavDataKey& key, CMavArrayTempl<CMavDataKey>& keys) const;
    // A disk file in write mode: writes its text form. False otherwise or when writing fails.
    bool save();

private:
    friend CDtaFilePointer* dtaOpen(int, int, const std::int64_t*, const wchar_t*, const wchar_t*);
    CDtaFilePointer(int kind, int mode);

    int m_kind;
    int m_mode;
    CMavString m_path;
    std::int64_t m_entity[2] = {0, 0};
    CMavDataItem* m_top = nullptr;  // the data: owned here for disk and temporary files, by the store for entities
    CMavDataItem* m_owned = nullptr;
};

// Opens data: kind 3 (kDataEntity) the data of an AutoCAD entity (entity name needed), kept by the data
// library for the whole session; kind 6 (kDataTemp) a new, empty temporary file that lives until it is
// closed; kind 1 (kDataDisk) the text data file at path. Mode 1 reads; mode 2 or 3 also writes and makes
// missing entity data or a missing disk file. Null when the data is missing in read mode, for a missing
// entity name or path, an unreadable disk file or an unknown kind. Opening an entity whose data is open
// already returns the same pointer. The last argument is not used.
CDtaFilePointer* dtaOpen(int kind, int mode, const std::int64_t* entity, const wchar_t* path,
                         const wchar_t* unused = nullptr);
// Closes (deletes) an open data file. Null and a file closed already are allowed: a host may close the data of
// an entity that a caller opened (the same pointer) and the caller close it again.
void dtaClose(CDtaFilePointer* file);
// Forgets the data of every entity (open pointers to them stay valid but hold empty data).
void dtaEntityReset();

} // namespace MAV
