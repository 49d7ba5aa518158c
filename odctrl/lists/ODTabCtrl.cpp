// ODTabCtrl.cpp - the skinned tab control.
#include "ODTabCtrl.h"

#include <algorithm>

#include "ODLibrary.h"

namespace {

const ODThemeLoaderRegistration s_themeLoader(OD_LOADER_TABCTRL, &CODTabCtrl::LoadTheme);

const COLORREF kDefaultColours[CODTabCtrl::ColCount] = {RGB(87, 48, 20), RGB(255, 243, 220), RGB(226, 209, 181),
                                                        0, 0};
const char* const kFlipKeys[CODTabCtrl::FlipCount] = {
    "FlipLeftOutImage", "FlipLeftInImage", "FlipRightOutImage", "FlipRightInImage",
    "FlipTopOutImage",  "FlipTopInImage",  "FlipBottomOutImage", "FlipBottomInImage"};
const char* const kSpinCaptions[2] = {"<", ">"};
const char kUpDownClass[] = "msctls_updown32";

}  // namespace

IMPLEMENT_DYNAMIC(CODTabCtrl, CTabCtrl)

BEGIN_MESSAGE_MAP(CODTabCtrl, CTabCtrl)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

COLORREF CODTabCtrl::s_colours[CODTabCtrl::ColCount] = {RGB(87, 48, 20), RGB(255, 243, 220), RGB(226, 209, 181), 0,
                                                        0};
int CODTabCtrl::s_bkImageId = 0;
int CODTabCtrl::s_flipImageIds[CODTabCtrl::FlipCount] = {};

CODTabCtrl::CODTabCtrl(int drawMode)
{
    if (drawMode >= 0 && drawMode <= 2)
        m_drawMode = drawMode;
    std::copy(s_colours, s_colours + ColCount, m_colours);
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof m_font, &m_font);
    m_bkImageId = s_bkImageId;
    if (m_bkImageId)
        LoadBkImage(m_bkImageId);
}

CODTabCtrl::~CODTabCtrl() {}

void CODTabCtrl::LoadTheme()
{
    const char* section = "ODTabCtrl";
    s_colours[ColBorder] = ODGetThemeColor(section, "ColorBorder", kDefaultColours[ColBorder]);
    s_colours[ColSelTab] = ODGetThemeColor(section, "ColorSelTab", kDefaultColours[ColSelTab]);
    s_colours[ColBackTab] = ODGetThemeColor(section, "ColorBackTab", kDefaultColours[ColBackTab]);
    s_colours[ColTabText] = ODGetThemeColor(section, "ColorTabText", kDefaultColours[ColTabText]);
    s_colours[ColBackTabText] = ODGetThemeColor(section, "ColorBackTabText", kDefaultColours[ColBackTabText]);
    s_bkImageId = int(ODGetThemeColor(section, "DefBkImage", 0));
    for (int i = 0; i < FlipCount; ++i)
        s_flipImageIds[i] = int(ODGetThemeColor(section, kFlipKeys[i], 0));
}

void CODTabCtrl::ApplyTheme()
{
    std::copy(s_colours, s_colours + ColCount, m_colours);
    m_bkImageId = s_bkImageId;
    if (m_bkImageId)
        LoadBkImage(m_bkImageId);
    SkinSpinButtons();
}

void CODTabCtrl::SkinSpinButtons()
{
    const bool vertical = m_hWnd && (GetStyle() & TCS_VERTICAL);
    for (int i = 0; i < 2; ++i) {
        CODButton* b = m_spin.GetButton(i);
        if (!b || !b->m_hWnd)
            continue;
        const int pair = (vertical ? FlipTopOut : FlipLeftOut) + 2 * i;
        HBITMAP out = ODGetThemeImage(UINT(s_flipImageIds[pair]), "QVIMAGE");
        HBITMAP in = ODGetThemeImage(UINT(s_flipImageIds[pair + 1]), "QVIMAGE");
        if (out && b->SetBitmaps(TRUE, out, CLR_NONE, in, CLR_NONE) == 0) {
            b->SetWindowText("");
            continue;
        }
        // No picture: the button keeps its arrow caption.
        if (out)
            ::DeleteObject(out);
        if (in)
            ::DeleteObject(in);
        b->SetBitmaps(FALSE, NULL, CLR_NONE, NULL, CLR_NONE);
        b->SetWindowText(kSpinCaptions[i]);
    }
}

BOOL CODTabCtrl::SetDrawMode(int mode)
{
    if (mode < 0 || mode > 2)
        return FALSE;
    m_drawMode = mode;
    if (m_hWnd) {
        if (mode == 0)
            ModifyStyle(TCS_OWNERDRAWFIXED, 0);
        else
            ModifyStyle(0, TCS_OWNERDRAWFIXED);
        Invalidate(TRUE);
    }
    return TRUE;
}

void CODTabCtrl::SetMarkItem(int index)
{
    m_markItem = index;
    if (m_hWnd)
        Invalidate(TRUE);
}

COLORREF CODTabCtrl::SetColour(int index, COLORREF colour)
{
    const COLORREF old = m_colours[index];
    m_colours[index] = colour;
    if (m_hWnd)
        Invalidate(TRUE);
    return old;
}

BOOL CODTabCtrl::SetBkBitmap(HBITMAP bitmap)
{
    if (!bitmap)
        return FALSE;
    CBitmap wrapper;
    wrapper.Attach(bitmap);
    const BOOL ok = m_bkImage.CreateFromBitmap(&wrapper, -1, 2, 2, 1, 0, FALSE);
    wrapper.Detach();
    return ok;
}

BOOL CODTabCtrl::LoadBkImage(int id)
{
    HBITMAP bitmap = ODGetThemeImage(UINT(id), "QVImage");
    const BOOL ok = SetBkBitmap(bitmap);
    if (bitmap)
        ::DeleteObject(bitmap);
    return ok;
}

void CODTabCtrl::SetLogFont(const LOGFONT* font, BOOL redraw)
{
    if (!font)
        return;
    m_font = *font;
    if (redraw && m_hWnd)
        Invalidate(TRUE);
}

void CODTabCtrl::GetLogFont(LOGFONT* font) const
{
    if (font)
        *font = m_font;
}

void CODTabCtrl::DrawItem(LPDRAWITEMSTRUCT) {}
void CODTabCtrl::DrawPage(LPDRAWITEMSTRUCT) {}
void CODTabCtrl::DrawItemFrame(LPDRAWITEMSTRUCT) {}
COLORREF CODTabCtrl::GetTabBkColor() { return ::GetSysColor(COLOR_BTNFACE); }
COLORREF CODTabCtrl::GetTabTextColor() { return ::GetSysColor(COLOR_WINDOWTEXT); }

// ---- The spin --------------------------------------------------------------------------------

void CODTabCtrl::AttachSpin()
{
    if (m_spinAttached || !m_hWnd)
        return;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        char name[16] = {};
        ::GetClassNameA(child, name, sizeof name);
        if (lstrcmpA(name, kUpDownClass) == 0) {
            if (m_spin.SubclassWindow(child))
                m_spinAttached = TRUE;
            return;
        }
    }
}

void CODTabCtrl::PreSubclassWindow()
{
    CTabCtrl::PreSubclassWindow();
    if (m_drawMode != 0)
        ModifyStyle(0, TCS_OWNERDRAWFIXED);
    AttachSpin();
    ODSetCtrlProps(m_hWnd, OD_TABCTRL_ID);
}

LRESULT CODTabCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT answer = CTabCtrl::WindowProc(message, wParam, lParam);
    if (message == WM_SIZE || message == TCM_INSERTITEMA || message == TCM_INSERTITEMW)
        AttachSpin();
    return answer;
}

LRESULT CODTabCtrl::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != 0 && message == ODGetThemeMessage()) {
        LoadTheme();
        ApplyTheme();
        Invalidate(TRUE);
    }
    return CTabCtrl::DefWindowProc(message, wParam, lParam);
}

// ---- Painting ---------------------------------------------------------------------------------

BOOL CODTabCtrl::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CODTabCtrl::OnPaint()
{
    CPaintDC dc(this);
    // The arrows (a child window) keep their place: nothing paints over them.
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child))
            continue;
        CRect r;
        ::GetWindowRect(child, &r);
        ScreenToClient(&r);
        dc.ExcludeClipRect(&r);
    }
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, m_colours[ColBackTab]);

    LOGFONT lf = m_font;
    UINT oldAlign = dc.GetTextAlign();
    if (GetStyle() & TCS_VERTICAL) {
        dc.SetTextAlign(TA_RIGHT);
        lf.lfEscapement = 900;
    }
    CFont font;
    font.CreateFontIndirect(&lf);
    CFont* oldFont = dc.SelectObject(&font);

    DRAWITEMSTRUCT di = {};
    di.CtlType = ODT_TAB;
    di.CtlID = UINT(GetDlgCtrlID());
    di.hwndItem = m_hWnd;
    di.hDC = dc.GetSafeHdc();
    di.itemAction = ODA_DRAWENTIRE;

    CRect page = client;
    AdjustRect(FALSE, &page);
    di.rcItem = client;
    di.rcItem.top = page.top - PageOverlap;
    DrawPage(&di);

    const int count = GetItemCount();
    const int selected = GetCurSel();
    for (int i = count - 1; i >= 0; --i) {
        if (i == selected)
            continue;
        di.itemID = UINT(i);
        di.itemState = 0;
        GetItemRect(i, &di.rcItem);
        DrawItem(&di);
        DrawItemFrame(&di);
    }
    if (selected >= 0 && selected < count) {
        di.itemID = UINT(selected);
        di.itemState = ODS_SELECTED;
        GetItemRect(selected, &di.rcItem);
        DrawItem(&di);
        DrawItemFrame(&di);
    }
    dc.SelectObject(oldFont);
    dc.SetTextAlign(oldAlign);
}
