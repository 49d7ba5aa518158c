// Installs the Microsoft Video 1 encoder as this process's "MSVC" video
// compressor (ICInstall with a driver function), ahead of a system codec of
// that name that only decodes. It takes 16-bit RGB pictures and makes
// 'CRAM' frames, every one a key frame.
#pragma once

bool InstallMsvcStandIn();
void RemoveMsvcStandIn();
