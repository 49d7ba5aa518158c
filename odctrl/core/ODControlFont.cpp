// ODControlFont.cpp - a control's inherited font.
#include "ODControlFont.h"

HWND ODFindDialogAncestor(HWND control)
{
    for (HWND w = control ? ::GetParent(control) : NULL; w; w = ::GetParent(w)) {
        char name[16] = "";
        ::GetClassNameA(w, name, sizeof name);
        if (strcmp(name, "#32770") == 0)
            return w;
    }
    return NULL;
}

namespace {

BOOL FontOf(HWND w, LOGFONT* lf)
{
    if (!w)
        return FALSE;
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(w, WM_GETFONT, 0, 0));
    return font && ::GetObjectA(font, sizeof *lf, lf) > 0;
}

}  // namespace

BOOL ODGetInheritedFont(HWND control, LOGFONT* lf)
{
    if (!lf)
        return FALSE;
    if (FontOf(ODFindDialogAncestor(control), lf))
        return TRUE;
    HWND parent = control ? ::GetParent(control) : NULL;
    if (FontOf(parent ? parent : control, lf))
        return TRUE;
    return ::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof *lf, lf, 0);
}
