// A board library that lacks one entry point, for the start-up's binding
// tests: built as NoCreate_Board.dll (no QVBoardCreate) and as
// NoDestroy_Board.dll (no QVBoardDestory).
#include <windows.h>

#include <cstdint>

extern "C" {
#ifndef FAKE_BOARD_NO_CREATE
__declspec(dllexport) void* __stdcall QVBoardCreate(int32_t, void*, uintptr_t, int32_t, const void*) { return nullptr; }
#endif
#ifndef FAKE_BOARD_NO_DESTROY
__declspec(dllexport) void __stdcall QVBoardDestory(void*) {}
#endif
__declspec(dllexport) int32_t __stdcall QVBoardEvent(void*, int32_t, int32_t, int32_t, void*) { return 0; }
}
