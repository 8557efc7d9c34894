// Stands in for firefox.exe in the tests: a program that does nothing until
// it is ended.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    for (;;)
        ::Sleep(INFINITE);
}
