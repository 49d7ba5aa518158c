#include "ODDemoApp.h"

#include <string>
#include <vector>

#include "ODLibrary.h"
#include "store/FilePaths.h"

namespace oddemo {

ThemeLibrary::ThemeLibrary()
{
    char folder[MAX_PATH];
    if (!GetModuleFolder(folder))
        return;
    const std::string theme = std::string(folder) + "odctrls\\Mardavel_skn.ini";
    m_started = ODInitLibrary(theme.c_str(), OD_THEME_LOOSE_FILES) != FALSE;
}

ThemeLibrary::~ThemeLibrary()
{
    if (m_started)
        ODExitLibrary();
}

BOOL CreateDemoWindow(CWnd& wnd, LPCSTR title, int width, int height, HBRUSH background, DWORD extraStyle)
{
    LPCSTR windowClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(NULL, IDC_ARROW), background);
    return wnd.CreateEx(0, windowClass, title, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | extraStyle, 40,
                        40, width, height, NULL, NULL);
}

namespace {

std::vector<BYTE> DialogTemplate(LPCSTR caption, int cx, int cy, DWORD style)
{
    std::vector<BYTE> bytes;
    auto append = [&](const void* p, size_t n) {
        const BYTE* b = static_cast<const BYTE*>(p);
        bytes.insert(bytes.end(), b, b + n);
    };
    auto word = [&](WORD w) { append(&w, 2); };
    auto text = [&](LPCSTR s) {
        wchar_t w[128];
        const int n = MultiByteToWideChar(CP_ACP, 0, s, -1, w, 128);
        append(w, static_cast<size_t>(n > 0 ? n : 1) * 2);
    };
    DLGTEMPLATE t = {};
    t.style = style | DS_SETFONT;
    t.cx = static_cast<short>(cx);
    t.cy = static_cast<short>(cy);
    append(&t, sizeof t);
    word(0);  // no menu
    word(0);  // the dialog class
    text(caption);
    word(9);
    text("Tahoma");
    return bytes;
}

}  // namespace

BOOL CreateDemoDialog(CDialog& dialog, LPCSTR caption, int cx, int cy, DWORD style)
{
    const std::vector<BYTE> templ = DialogTemplate(caption, cx, cy, style);
    if (!dialog.CreateIndirect(reinterpret_cast<LPCDLGTEMPLATE>(templ.data()), NULL))
        return FALSE;
    dialog.SetWindowPos(NULL, 60, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    return TRUE;
}

int RunMessageLoop(HWND main, Dispatch dispatch)
{
    MSG msg = {};
    while (::GetMessageA(&msg, NULL, 0, 0) > 0) {
        if (dispatch == Dispatch::Plain || !CWnd::WalkPreTranslateTree(NULL, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (!::IsWindow(main))
            return 0;
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace oddemo
