// The program entry of framework applications: the application object's
// start-up and message loop (AfxWinMain). Linked through the object library
// framework_winmain, so a program may also define its own WinMain instead.
#include "afxwin.h"

extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
