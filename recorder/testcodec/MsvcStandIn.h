// Installs the Microsoft Video 1 encoder as this process's "MSVC" video
// compressor (ICInstall with a driver function), ahead of a system codec of
// that name that only decodes. It takes 16-bit RGB pictures and makes
// 'CRAM' frames, every one a key frame.
#pragma once

#include <windows.h>
#include <mmsystem.h>

bool InstallMsvcStandIn();
void RemoveMsvcStandIn();

// The same encoder's driver entry, for a codec library that exports it and
// is installed by name (the system's way, for another process).
LRESULT CALLBACK MsvcStandInDriverProc(DWORD_PTR id, HDRVR driver, UINT message, LPARAM p1, LPARAM p2);
