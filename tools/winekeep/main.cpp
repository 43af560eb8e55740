// winekeep: a do-nothing Windows process that keeps a Wine session (services, desktop) alive between test
// programs, so each test program starts in a tenth of a second. The session's wineserver -k ends it.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    for (;;)
        Sleep(60 * 1000);
}
