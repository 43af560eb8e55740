// The table of languages. The codes are ISO 639-1; German and English lead because the library's default texts
// are German and English is every catalogue's fallback; then the languages of the western, northern, central and
// eastern European markets. Names use escapes so that the source is plain ASCII for every compiler.
#include "base/countries.h"

#include "base/CMavString.h"

namespace {

const MavDlCountry_st kCountries[] = {
    {L"de", L"Deutsch", L"Deutsch"},
    {L"en", L"Englisch", L"English"},
    {L"fr", L"Franz\u00F6sisch", L"Fran\u00E7ais"},
    {L"it", L"Italienisch", L"Italiano"},
    {L"es", L"Spanisch", L"Espa\u00F1ol"},
    {L"nl", L"Niederl\u00E4ndisch", L"Nederlands"},
    {L"cs", L"Tschechisch", L"\u010Ce\u0161tina"},
    {L"pl", L"Polnisch", L"Polski"},
    {L"pt", L"Portugiesisch", L"Portugu\u00EAs"},
    {L"da", L"D\u00E4nisch", L"Dansk"},
    {L"sv", L"Schwedisch", L"Svenska"},
    {L"no", L"Norwegisch", L"Norsk"},
    {L"fi", L"Finnisch", L"Suomi"},
    {L"et", L"Estnisch", L"Eesti"},
    {L"lv", L"Lettisch", L"Latvie\u0161u"},
    {L"lt", L"Litauisch", L"Lietuvi\u0173"},
    {L"sk", L"Slowakisch", L"Sloven\u010Dina"},
    {L"sl", L"Slowenisch", L"Sloven\u0161\u010Dina"},
    {L"hu", L"Ungarisch", L"Magyar"},
    {L"hr", L"Kroatisch", L"Hrvatski"},
    {L"sr", L"Serbisch", L"Srpski"},
    {L"ro", L"Rum\u00E4nisch", L"Rom\u00E2n\u0103"},
    {L"bg", L"Bulgarisch", L"\u0411\u044A\u043B\u0433\u0430\u0440\u0441\u043A\u0438"},
    {L"el", L"Griechisch", L"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC"},
    {L"ru", L"Russisch", L"\u0420\u0443\u0441\u0441\u043A\u0438\u0439"},
    {L"uk", L"Ukrainisch", L"\u0423\u043A\u0440\u0430\u0457\u043D\u0441\u044C\u043A\u0430"},
    {L"tr", L"T\u00FCrkisch", L"T\u00FCrk\u00E7e"},
    {nullptr, nullptr, nullptr},
};

} // namespace

const MavDlCountry_st* mavDlCountrys()
{
    return kCountries;
}

int mavDlCountryCount()
{
    return static_cast<int>(sizeof kCountries / sizeof kCountries[0]) - 1;
}

int mavDlCountryFind(const wchar_t* code)
{
    if (!code)
        return -1;
    for (int i = 0; kCountries[i].code; ++i)
        if (CMavString(kCountries[i].code).compareNoCase(code) == 0)
            return i;
    return -1;
}
