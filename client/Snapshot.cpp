// CGameClientApp::SaveSnapshot: the picture of the main window as the user
// sees it, frame included, put on the clipboard and written as a JPEG file
// into the snapshot folder.
#include "GameClientApp.h"

#include <string>

#include "DibFunctions.h"
#include "GameEnvironment.h"
#include "MediaCapture.h"
#include "image/ImageLibs.h"
#include "store/FilePaths.h"

namespace {

// The window's whole rectangle from its window DC; NULL when it is empty or
// the bitmap cannot be made.
HBITMAP CopyWindowPicture(HWND window)
{
    RECT rect;
    if (!::GetWindowRect(window, &rect) || rect.right <= rect.left || rect.bottom <= rect.top)
        return NULL;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC windowDc = ::GetWindowDC(window);
    if (windowDc == NULL)
        return NULL;
    HDC memory = ::CreateCompatibleDC(windowDc);
    HBITMAP bitmap = memory != NULL ? ::CreateCompatibleBitmap(windowDc, width, height) : NULL;
    if (bitmap != NULL) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        const BOOL copied = ::BitBlt(memory, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
        ::SelectObject(memory, old);
        if (!copied) {
            ::DeleteObject(bitmap);
            bitmap = NULL;
        }
    }
    if (memory != NULL)
        ::DeleteDC(memory);
    ::ReleaseDC(window, windowDc);
    return bitmap;
}

}  // namespace

BOOL CGameClientApp::SaveSnapshot(char* pszPath, int nQuality)
{
    if (pszPath == NULL)
        return FALSE;
    pszPath[0] = '\0';
    CWnd* main = AfxGetMainWnd();
    if (main == NULL || !::IsWindow(main->GetSafeHwnd()))
        return FALSE;

    HBITMAP bitmap = CopyWindowPicture(main->GetSafeHwnd());
    if (bitmap == NULL)
        return FALSE;
    if (!PutDibOnClipboard(bitmap))
        WriteGameLog("[SaveSnapshot] the clipboard took no picture");
    HGLOBAL dib = BitmapToGlobalDib(bitmap);
    ::DeleteObject(bitmap);
    if (dib == NULL)
        return FALSE;

    char configured[MAX_PATH] = "";
    ReadGameRegValue("Game\\Mardavel\\Settings", "Snapshot", configured, sizeof(configured), "");
    const std::string folder = MediaFolder(configured, GetProgramFolder(), kSnapshotSubfolder);
    CreateDirectoryPath(folder.c_str());
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const MediaTime time = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
                            now.wMilliseconds};
    const std::string path = SnapshotFileName(folder, time);
    // A file that was not written is not reported as saved.
    BOOL written = FALSE;
    if (path.size() < MAX_PATH)
        written = imagelibs::WriteDibToJpeg(dib, path.c_str(), nQuality);
    ::GlobalFree(dib);
    if (!written) {
        WriteGameLog("[SaveSnapshot] the picture file was not written");
        return FALSE;
    }
    lstrcpynA(pszPath, path.c_str(), MAX_PATH);
    return TRUE;
}
