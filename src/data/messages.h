// Message catalogues: the texts of message keys per language, the current language and help file lookup.
#pragma once

#include <cstddef>

#include "base/CMavArray.h"
#include "base/CMavString.h"

// The text of a message key in a language. prefix names the catalogue section the key belongs to ("MAV_" for
// this library's keys; null or empty counts as "MAV_"). country is a language code; null, "" and "-1" mean the
// current language (MAV::msgLangSet), "0" returns the key itself so that keys are shown instead of texts.
// When the catalogue lacks the key the result is def (the pointer passed in, which may be null). A returned
// catalogue text stays valid until that language's catalogue is loaded again.
const wchar_t* mav_msg_get(const wchar_t* prefix, const wchar_t* key, const wchar_t* def, const wchar_t* country);

namespace MAV {

// Sets the current language when lang is not null and not empty, and returns the current language code
// (lower case; "de" until set). The returned pointer stays valid until the next change.
const wchar_t* msgLangSet(const wchar_t* lang);

// Catalogue files, one per language, UTF-8 (a byte order mark is skipped):
//   ; comment            a line starting with ';' or '#'
//   [KRV_]               the following keys belong to the section (prefix) KRV_; the file starts in "MAV_"
//   MAV022=Eintragung notwendig
// A key is the text before the first '=' with white space around it removed; the text after it, trimmed, is
// the message, with the escapes \n (line break), \t (tab) and \\ (backslash); any other backslash stays.
// Lines without '=' or with an empty key are skipped; a key given twice keeps the later text.
// Loading merges into the language's catalogue (replacing texts of the same keys); returns the number of
// entries read.
int msgLoadText(const wchar_t* lang, const char* text, size_t size);
// A catalogue file; -1 when it cannot be read.
int msgLoadFile(const wchar_t* lang, const wchar_t* path);
// Every "<code>.txt" of the folder for the language codes of the country table; returns the number of files read.
int msgLoadFolder(const wchar_t* folder);
// Back to the shipped catalogues (German and English) and the language "de".
void msgReset();
// Drops the catalogue of one language.
void msgClear(const wchar_t* lang);
// Number of keys the language's catalogue holds in a section.
int msgCount(const wchar_t* lang, const wchar_t* prefix = nullptr);
// The keys the language's catalogue holds in a section (null or empty: "MAV_"), sorted by character code; returns
// their number. keys is replaced.
int msgKeys(const wchar_t* lang, const wchar_t* prefix, CMavArrayTempl<CMavString>& keys);

// The help file for a help name: the configuration's "HELP\<name>" (name compared without regard to case), an
// address beginning with "http" as it is, or a file name looked up with MAV::fileFind; without a configured
// entry "<name>.chm" is looked up. True with the address or the path found.
bool help_find(const wchar_t* name, CMavString& file);

} // namespace MAV
