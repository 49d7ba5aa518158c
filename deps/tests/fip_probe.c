/* A library that marks the process when it is loaded: named *.fip beside the program, it
 * shows whether CQVImage.dll loads external plug-ins at start-up. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH)
        SetEnvironmentVariableA("CQVIMAGE_FIP_PROBE", "loaded");
    return TRUE;
}
