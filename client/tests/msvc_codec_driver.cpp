// A video compressor library for "MSVC" that a process finds by name
// through the system's codec list: the recorder's test encoder behind the
// library's driver entry. The client's process tests install it for the
// program they start.
#include <windows.h>

#include "MsvcStandIn.h"

extern "C" LRESULT CALLBACK DriverProc(DWORD_PTR id, HDRVR driver, UINT message, LPARAM p1, LPARAM p2)
{
    return MsvcStandInDriverProc(id, driver, message, p1, p2);
}
