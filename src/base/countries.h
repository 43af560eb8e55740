// The table of languages the application's texts exist in.
#pragma once

// One language: its code, the name shown in lists (German, like the library's default texts) and the language's
// name for itself.
struct MavDlCountry_st {
    const wchar_t* code;
    const wchar_t* name;
    const wchar_t* nativeName;
};

// The table, in the order lists show it; the last record has a null code.
const MavDlCountry_st* mavDlCountrys();
// Number of records before the end record.
int mavDlCountryCount();
// Index of the record whose code equals code without regard to case, or -1.
int mavDlCountryFind(const wchar_t* code);
