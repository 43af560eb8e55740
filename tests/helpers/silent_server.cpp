// A program that ends at once without registering anything: registered as a local server in the tests, it stands
// for a server program that never makes its object available.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    return 0;
}
