// Vidrelle.dll: records a rectangle of the screen to an AVI file. Three plain
// C exports (named by Vidrelle.def, ordinals 1-3) over one recorder object
// that lives as long as the library.
#include "CaptureRecorder.h"

namespace {
CaptureRecorder g_recorder;
}

extern "C" {

__declspec(dllexport) int __cdecl StartRecord(int left, int top, int right, int bottom, int drawCursor,
                                              int withSound, const char* path, RecordCallback callback, void* user)
{
    return g_recorder.StartRecord(left, top, right, bottom, drawCursor, withSound, path, callback, user);
}

__declspec(dllexport) int __cdecl PauseRecord(int pause)
{
    return g_recorder.PauseRecord(pause);
}

__declspec(dllexport) int __cdecl StopRecord(int state)
{
    return g_recorder.StopRecord(state);
}

}  // extern "C"
