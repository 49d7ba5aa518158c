// ODListBox.cpp - the skinned list box.
#include "ODListBox.h"

#include <limits.h>

#include <algorithm>
#include <new>

#include "ODLibrary.h"
#include "graphics/image/DibImageList.h"

using namespace odlistbox;

namespace {

const char kPropListBox[] = "ODListBox";
const ODThemeLoaderRegistration s_themeLoader(OD_LOADER_LISTBOX, &CODListBox::LoadTheme);

int LstrCompare(const Item& a, const Item& b) { return ::lstrcmpA(a.text.c_str(), b.text.c_str()); }

int ClampInt(int64_t v) { return int(std::max<int64_t>(INT_MIN, std::min<int64_t>(INT_MAX, v))); }

}  // namespace

IMPLEMENT_DYNCREATE(CODListBox, CODScrollCtrl)

BEGIN_MESSAGE_MAP(CODListBox, CODScrollCtrl)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_KEYDOWN()
    ON_WM_GETDLGCODE()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

COLORREF CODListBox::s_colours[CODListBox::ColCount] = {
    ::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_HIGHLIGHT), ::GetSysColor(COLOR_WINDOWTEXT),
    ::GetSysColor(COLOR_HIGHLIGHTTEXT), RGB(0, 0, 255)};

SHORT(WINAPI* CODListBox::s_keyState)(int) = &::GetAsyncKeyState;

CODListBox::CODListBox() : m_page(0, 0)
{
    std::copy(s_colours, s_colours + ColCount, m_colours);
    m_font = LOGFONT();
}

CODListBox::~CODListBox() {}

void CODListBox::LoadTheme()
{
    const char* section = "ODListBox";
    s_colours[ColNormalBk] = ODGetThemeColor(section, "ColorNormalBk", ::GetSysColor(COLOR_WINDOW));
    s_colours[ColSelBk] = ODGetThemeColor(section, "ColorSelBk", ::GetSysColor(COLOR_HIGHLIGHT));
    s_colours[ColNormalText] = ODGetThemeColor(section, "ColorNormalText", ::GetSysColor(COLOR_WINDOWTEXT));
    s_colours[ColSelText] = ODGetThemeColor(section, "ColorSelText", ::GetSysColor(COLOR_HIGHLIGHTTEXT));
    s_colours[ColHotText] = ODGetThemeColor(section, "ColorHotText", RGB(0, 0, 255));
}

void CODListBox::ApplyThemeColors()
{
    std::copy(s_colours, s_colours + ColCount, m_colours);
    Repaint(TRUE);
}

// ---- Creation and size --------------------------------------------------------------------------

int CODListBox::OnCreate(LPCREATESTRUCT cs)
{
    if (CODScrollCtrl::OnCreate(cs) == -1)
        return -1;
    SyncStyle();
    std::copy(s_colours, s_colours + ColCount, m_colours);
    CRect client;
    GetClientRect(&client);
    m_page = client.Size();
    m_model.itemHeight = kDefaultItemHeight;
    if (m_model.style & LBS_OWNERDRAWFIXED) {
        // The hook's answer is the rows' height (it starts at the default).
        MEASUREITEMSTRUCT mi = {};
        mi.CtlType = ODT_LISTBOX;
        mi.CtlID = GetDlgCtrlID();
        mi.itemID = 0;
        mi.itemHeight = kDefaultItemHeight;
        MeasureItem(&mi);
        if (int(mi.itemHeight) > 0)
            m_model.itemHeight = int(mi.itemHeight);
    }
    UpdateScrollSizes();
    m_font = LOGFONT();
    m_font.lfHeight = -12;
    m_font.lfWeight = FW_NORMAL;
    m_font.lfCharSet = GB2312_CHARSET;
    m_font.lfOutPrecision = OUT_TT_PRECIS;
    m_font.lfClipPrecision = CLIP_STROKE_PRECIS;
    m_font.lfQuality = DRAFT_QUALITY;
    m_font.lfPitchAndFamily = VARIABLE_PITCH;
    lstrcpynA(m_font.lfFaceName, "\xCB\xCE\xCC\xE5", LF_FACESIZE);  // SimSun, code page 936
    ODSetCtrlProps(m_hWnd, OD_LISTBOX_ID);
    return 0;
}

void CODListBox::OnSize(UINT type, int cx, int cy)
{
    CODScrollCtrl::OnSize(type, cx, cy);
    SyncStyle();
    CRect client;
    GetClientRect(&client);
    m_page = client.Size();
    if (IsVariable(m_model) && client.Width() != m_measuredWidth) {
        m_measuredWidth = client.Width();
        MeasureAll();
    }
    UpdateScrollSizes();
}

void CODListBox::MeasureAll()
{
    for (int i = 0; i < GetCount(); ++i) {
        MEASUREITEMSTRUCT mi = {};
        mi.CtlType = ODT_LISTBOX;
        mi.CtlID = GetDlgCtrlID();
        mi.itemID = UINT(i);
        mi.itemHeight = m_model.items[size_t(i)].height;
        MeasureItem(&mi);
        odlistbox::SetItemHeight(m_model, i, int(std::min<UINT>(mi.itemHeight, INT_MAX)));
    }
}

void CODListBox::SyncStyle() const
{
    m_model.style = m_hWnd ? DWORD(::GetWindowLongA(m_hWnd, GWL_STYLE)) : 0;
}

void CODListBox::UpdateScrollSizes()
{
    if (!m_hWnd)
        return;
    SyncStyle();
    const CSize total(std::max(0, m_horzExtent), ClampInt(TotalHeight(m_model)));
    const int lineY = IsVariable(m_model) ? LineSize : std::max(1, m_model.itemHeight);
    SetScrollSizes(MM_TEXT, total, m_page, CSize(LineSize, lineY));
}

void CODListBox::Repaint(BOOL erase)
{
    if (m_hWnd)
        Invalidate(erase);
}

// ---- Items ------------------------------------------------------------------------------------

int CODListBox::AddString(LPCSTR text, DWORD data)
{
    ODLBITEM item = {0, text, data, 0, ODLB_TEXT, -1, ODLB_IMAGE_BESIDE};
    return InsertItem(GetCount(), item);
}

int CODListBox::InsertString(int index, LPCSTR text)
{
    ODLBITEM item = {0, text, 0, 0, ODLB_TEXT, -1, ODLB_IMAGE_BESIDE};
    return InsertItem(index, item);
}

int CODListBox::InsertItem(int index, const ODLBITEM& record)
{
    SyncStyle();
    int answer = LB_ERR;
    try {
        Item item;
        item.height = record.height;
        if ((record.flags & ODLB_TEXT) && record.text)
            item.text = record.text;
        item.data = record.data;
        item.flags = record.flags;
        item.image = record.image;
        item.placement = record.placement;
        answer = Insert(m_model, index, item);
    } catch (const std::bad_alloc&) {
        return LB_ERR;
    }
    if (answer != LB_ERR) {
        UpdateScrollSizes();
        Repaint(FALSE);
    }
    return answer;
}

int CODListBox::DeleteString(int index)
{
    SyncStyle();
    const int count = Delete(m_model, index);
    if (count != LB_ERR) {
        UpdateScrollSizes();
        Repaint(TRUE);
    }
    return count;
}

void CODListBox::ResetContent()
{
    const bool had = GetCount() > 0;
    Reset(m_model);
    if (had && m_hWnd) {
        SetScrollSizes(MM_TEXT, CSize(0, 0), m_page, CSize(LineSize, LineSize));
        Repaint(TRUE);
    }
}

void CODListBox::GetText(int index, CString& text) const
{
    text = Valid(m_model, index) ? m_model.items[size_t(index)].text.c_str() : "";
}

void CODListBox::SetItemText(int index, LPCSTR text)
{
    if (!Valid(m_model, index) || !text)
        return;
    m_model.items[size_t(index)].text = text;
    Repaint(TRUE);
}

DWORD CODListBox::GetItemData(int index) const
{
    return Valid(m_model, index) ? m_model.items[size_t(index)].data : DWORD(LB_ERR);
}

int CODListBox::SetItemData(int index, DWORD data)
{
    if (!Valid(m_model, index))
        return LB_ERR;
    m_model.items[size_t(index)].data = data;
    return 0;
}

BOOL CODListBox::GetItem(int index, ODLBITEM& record) const
{
    if (!Valid(m_model, index))
        return FALSE;
    const Item& item = m_model.items[size_t(index)];
    record.height = item.height;
    record.text = (item.flags & ODLB_TEXT) ? item.text.c_str() : NULL;
    record.data = item.data;
    record.state = item.state;
    record.flags = item.flags;
    record.image = item.image;
    record.placement = item.placement;
    return TRUE;
}

int CODListBox::FindStringExact(int start, LPCSTR text) const
{
    return text ? FindExact(m_model, start, text) : LB_ERR;
}

int CODListBox::SelectString(int start, LPCSTR text)
{
    const int found = FindStringExact(start, text);
    if (found != LB_ERR) {
        odlistbox::SetSel(m_model, found, true);
        Repaint(FALSE);
    }
    return found;
}

void CODListBox::SortItems(Compare compare)
{
    Sort(m_model, compare ? compare : LstrCompare);
    if (m_hWnd && IsWindowVisible())
        Repaint(FALSE);
}

// ---- Selection --------------------------------------------------------------------------------

int CODListBox::SetCurSel(int index)
{
    SyncStyle();
    const int answer = odlistbox::SetCurSel(m_model, index);
    if (answer != LB_ERR) {
        Notify(LBN_SELCHANGE);
        Repaint(FALSE);
    }
    return answer;
}

int CODListBox::SetSel(int index, BOOL on)
{
    const int answer = odlistbox::SetSel(m_model, index, on != FALSE);
    if (answer != LB_ERR)
        Repaint(FALSE);
    return answer;
}

BOOL CODListBox::SetNotify(BOOL notify)
{
    const BOOL old = m_notify;
    m_notify = notify;
    return old;
}

void CODListBox::Notify(UINT code)
{
    if (!m_notify || !m_hWnd)
        return;
    HWND parent = ::GetParent(m_hWnd);
    if (parent)
        ::SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), code), reinterpret_cast<LPARAM>(m_hWnd));
}

// ---- Geometry ---------------------------------------------------------------------------------

int CODListBox::GetItemHeight(int index) const
{
    SyncStyle();
    if (IsVariable(m_model) && !Valid(m_model, index))
        return LB_ERR;
    return odlistbox::ItemHeight(m_model, index);
}

int CODListBox::SetItemHeight(int index, int height)
{
    SyncStyle();
    if (!odlistbox::SetItemHeight(m_model, index, height))
        return LB_ERR;
    UpdateScrollSizes();
    Repaint(TRUE);
    return 0;
}

int CODListBox::RowRight() const
{
    if (m_horzExtent > 0)
        return m_horzExtent;
    CRect client(0, 0, 0, 0);
    if (m_hWnd)
        ::GetClientRect(m_hWnd, &client);
    return client.right;
}

int CODListBox::GetItemRect(int index, LPRECT rect) const
{
    SyncStyle();
    if (!rect || !Valid(m_model, index))
        return LB_ERR;
    const int64_t top = ItemTop(m_model, index);
    ::SetRect(rect, 0, ClampInt(top), RowRight(), ClampInt(top + odlistbox::ItemHeight(m_model, index)));
    return 0;
}

CRect CODListBox::VisibleBand()
{
    CRect client;
    GetClientRect(&client);
    client.OffsetRect(GetDeviceScrollPosition());
    return client;
}

int CODListBox::GetTopIndex()
{
    if (!m_hWnd)
        return LB_ERR;
    SyncStyle();
    const CRect band = VisibleBand();
    return TopIndex(m_model, band.top, band.bottom);
}

int CODListBox::SetTopIndex(int index)
{
    SyncStyle();
    if (!m_hWnd || !Valid(m_model, index))
        return LB_ERR;
    int y = ClampInt(ItemTop(m_model, index));
    CODScrollBarCtrl* bar = GetScrollBarCtrl(SB_VERT);
    if (bar && !bar->IsShown())
        y = 0;
    ScrollToPosition(CPoint(GetScrollPosition().x, y));
    Repaint(FALSE);
    return 0;
}

void CODListBox::SetHorizontalExtent(int width)
{
    m_horzExtent = width;
    UpdateScrollSizes();
}

BOOL CODListBox::IsItemVisible(int index, LPRECT rect, BOOL partial)
{
    CRect item;
    if (!m_hWnd || GetItemRect(index, &item) == LB_ERR)
        return FALSE;
    if (rect)
        *rect = item;
    CRect client;
    GetClientRect(&client);
    item.OffsetRect(-GetDeviceScrollPosition());
    CRect common;
    if (!common.IntersectRect(&item, &client))
        return FALSE;
    return partial || common == item;
}

int CODListBox::ItemFromPoint(int x, int y)
{
    if (!m_hWnd)
        return LB_ERR;
    SyncStyle();
    const CPoint pos = GetDeviceScrollPosition();
    return odlistbox::ItemFromPoint(m_model, int64_t(x) + pos.x, int64_t(y) + pos.y, 0, RowRight());
}

int CODListBox::GetTextWidth(int index)
{
    if (!m_hWnd || !Valid(m_model, index) || m_model.items[size_t(index)].text.empty())
        return 0;
    const std::string& text = m_model.items[size_t(index)].text;
    CClientDC dc(this);
    CFont font;
    font.CreateFontIndirect(&m_font);
    CFont* old = dc.SelectObject(&font);
    const CSize size = dc.GetTextExtent(text.c_str(), int(text.size()));
    dc.SelectObject(old);
    return size.cx;
}

// ---- Look -------------------------------------------------------------------------------------

void CODListBox::SetFont(CFont* font, BOOL redraw)
{
    if (!font || !font->GetSafeHandle())
        return;
    font->GetLogFont(&m_font);
    if (redraw) {
        m_model.itemHeight = std::abs(int(m_font.lfHeight));
        UpdateScrollSizes();
        Repaint(TRUE);
    }
}

void CODListBox::GetLogFont(LOGFONT* font) const
{
    if (font)
        *font = m_font;
}

void CODListBox::SetImageList(CImageList* images)
{
    if (!m_images)
        m_images.reset(new CQVDibImageList);
    else
        m_images->Clear();
    if (images)
        m_images->CreateFromImageList(images);
    Repaint(TRUE);
}

int CODListBox::SetIndent(int pixels)
{
    const int old = m_indent;
    m_indent = pixels;
    return old;
}

COLORREF CODListBox::SetColour(int index, COLORREF colour, BOOL redraw)
{
    const COLORREF old = m_colours[index];
    m_colours[index] = colour;
    if (old != colour && redraw)
        Repaint(TRUE);
    return old;
}

COLORREF CODListBox::SetNormalBkColor(COLORREF c, BOOL redraw) { return SetColour(ColNormalBk, c, redraw); }
COLORREF CODListBox::SetSelBkColor(COLORREF c, BOOL redraw) { return SetColour(ColSelBk, c, redraw); }
COLORREF CODListBox::SetSelTextColor(COLORREF c, BOOL redraw) { return SetColour(ColSelText, c, redraw); }
COLORREF CODListBox::SetHotTextColor(COLORREF c, BOOL redraw) { return SetColour(ColHotText, c, redraw); }

void CODListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}

void CODListBox::DrawItem(LPDRAWITEMSTRUCT) {}

// ---- Painting ---------------------------------------------------------------------------------

void CODListBox::OnDraw(CDC* pDC)
{
    SyncStyle();
    const CRect band = VisibleBand();
    const COLORREF oldText = pDC->GetTextColor();
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    const int count = GetCount();
    const int first = count > 0 ? TopIndex(m_model, band.top, band.bottom) : kNone;

    if (m_model.style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) {
        DRAWITEMSTRUCT di = {};
        di.CtlType = ODT_LISTBOX;
        di.CtlID = GetDlgCtrlID();
        di.hwndItem = m_hWnd;
        di.hDC = pDC->GetSafeHdc();
        di.itemAction = ODA_DRAWENTIRE;
        di.rcItem = band;
        if (m_horzExtent > 0)
            di.rcItem.right = di.rcItem.left + m_horzExtent;
        DrawItem(&di);
        for (int i = first; i != kNone && i < count && Visible(m_model, i, band.top, band.bottom); ++i) {
            const Item& item = m_model.items[size_t(i)];
            di.itemID = UINT(i);
            di.itemAction = ODA_SELECT;
            di.itemState = ((item.state & kStateSelected) ? ODS_SELECTED : 0) |
                           (i == m_model.current ? UINT(CurrentItemState) : 0);
            GetItemRect(i, &di.rcItem);
            di.itemData = item.data;
            DrawItem(&di);
        }
    } else {
        if (HasBkImage())
            DrawBkImage(pDC, &band);
        else if (m_colours[ColNormalBk] != NoFill)
            pDC->FillSolidRect(&band, m_colours[ColNormalBk]);
        CFont font;
        font.CreateFontIndirect(&m_font);
        CFont* oldFont = pDC->SelectObject(&font);
        for (int i = first; i != kNone && i < count && Visible(m_model, i, band.top, band.bottom); ++i) {
            const Item& item = m_model.items[size_t(i)];
            CRect row;
            GetItemRect(i, &row);
            row.left += m_indent;
            CRect fill = row;
            if ((item.flags & ODLB_IMAGE) && m_images && m_images->GetCount() > 0) {
                const UINT flags = CQVDibImageList::kTransparent |
                                   ((item.state & kStateSelected) ? UINT(CQVDibImageList::kStrongTint) : 0u);
                m_images->Draw(pDC, item.image, row.left, row.top, flags);
                const int w = m_images->GetWidth();
                if (item.placement == ODLB_IMAGE_BESIDE) {
                    row.left += w + ImageGap;
                    fill.left = row.left - ImageGap;
                } else {
                    fill.left += w;
                }
            }
            if (item.flags & ODLB_TEXT) {
                const bool current = i == m_model.current;
                const COLORREF bk = m_colours[current ? ColSelBk : ColNormalBk];
                if (bk != NoFill)
                    pDC->FillSolidRect(&fill, bk);
                pDC->SetTextColor(m_colours[current ? ColSelText : ColNormalText]);
                pDC->DrawText(item.text.c_str(), int(item.text.size()), &row,
                              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            }
        }
        pDC->SelectObject(oldFont);
    }
    pDC->SetBkMode(oldMode);
    pDC->SetTextColor(oldText);
}

BOOL CODListBox::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

// ---- Mouse and keys ----------------------------------------------------------------------------

void CODListBox::OnLButtonDown(UINT flags, CPoint point)
{
    CODScrollCtrl::OnLButtonDown(flags, point);
    SetFocus();
    SyncStyle();
    const int index = ItemFromPoint(point.x, point.y);
    if (Valid(m_model, index)) {
        const bool ctrl = (s_keyState(VK_CONTROL) & 0x8000) != 0;
        const bool shift = (s_keyState(VK_SHIFT) & 0x8000) != 0;
        Click(m_model, index, ctrl, shift);
        Notify(NotifyItemClicked);
        Notify(LBN_SELCHANGE);
    }
    Repaint(FALSE);
}

void CODListBox::OnMouseMove(UINT flags, CPoint point)
{
    CODScrollCtrl::OnMouseMove(flags, point);
    if (Track(m_model, ItemFromPoint(point.x, point.y)))
        Repaint(FALSE);
}

void CODListBox::OnLButtonDblClk(UINT flags, CPoint point)
{
    Notify(LBN_DBLCLK);
    CODScrollCtrl::OnLButtonDblClk(flags, point);
}

void CODListBox::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    CODScrollCtrl::OnKeyDown(key, repeat, flags);
    SyncStyle();
    const Key k = key == VK_UP ? kKeyUp : (key == VK_DOWN ? kKeyDown : kKeyOther);
    const KeyMove m = KeyDown(m_model, k);
    if (m.target != kNone && !IsItemVisible(m.target, NULL, TRUE)) {
        const CPoint pos = GetScrollPosition();
        int64_t y;
        if (m.target == 0)
            y = 0;
        else if (m.target == GetCount() - 1)
            y = ItemTop(m_model, m.target);
        else
            y = int64_t(pos.y) + int64_t(odlistbox::ItemHeight(m_model, m.target)) * m.step;
        ScrollToPosition(CPoint(pos.x, ClampInt(std::max<int64_t>(0, y))));
    }
    if (m.target != m.start)
        Notify(LBN_SELCHANGE);
    Repaint(FALSE);
}

UINT CODListBox::OnGetDlgCode()
{
    return CODScrollCtrl::OnGetDlgCode() | DLGC_WANTARROWS;
}

LRESULT CODListBox::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != 0 && message == ODGetThemeMessage()) {
        LoadTheme();
        ApplyThemeColors();
    }
    return CODScrollCtrl::DefWindowProc(message, wParam, lParam);
}
