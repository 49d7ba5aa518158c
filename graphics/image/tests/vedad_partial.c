/* A JPEG support library that lacks FreeDataHandle: binding must refuse it. */
#include <windows.h>

BOOL WINAPI LoadJpgFileImageData(void) { return FALSE; }
BOOL WINAPI LoadJpgImageDataFromMem(void) { return FALSE; }
BOOL WINAPI LoadJpgFile(void) { return FALSE; }
BOOL WINAPI LoadJpgFromMem(void) { return FALSE; }
BOOL WINAPI WriteBitmapToJpeg(void) { return FALSE; }
BOOL WINAPI WriteDibToJpeg(void) { return FALSE; }
BOOL WINAPI WriteDibToJpegMEM(void) { return FALSE; }
BOOL WINAPI GetPointerFromHandleLock(void) { return FALSE; }
BOOL WINAPI UnLockDataHandle(void) { return FALSE; }
