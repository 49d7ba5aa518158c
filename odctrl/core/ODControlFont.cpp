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

void ODDefaultControlFont(LOGFONT* lf, LONG height)
{
    *lf = LOGFONT();
    lf->lfHeight = height;
    lf->lfWeight = FW_NORMAL;
    lf->lfCharSet = GB2312_CHARSET;
    lf->lfOutPrecision = OUT_STROKE_PRECIS;
    lf->lfClipPrecision = CLIP_STROKE_PRECIS;
    lf->lfQuality = DRAFT_QUALITY;
    lf->lfPitchAndFamily = VARIABLE_PITCH;
    strcpy(lf->lfFaceName, "\xcb\xce\xcc\xe5");  // SimSun in code page 936
}

BOOL ODGetDialogFont(HWND dialog, LOGFONT* lf)
{
    char name[16] = "";
    if (!dialog || !lf || !::GetClassNameA(dialog, name, sizeof name) || strcmp(name, "#32770") != 0)
        return FALSE;
    return FontOf(dialog, lf);
}

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
