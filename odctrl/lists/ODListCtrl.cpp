// ODListCtrl.cpp - the list window over its model and geometry, and the list
// view.
#include "ODListCtrl.h"

#include <string.h>

#include <stdlib.h>

#include <algorithm>
#include <new>

#include "ODLibrary.h"
#include "ODWndClass.h"

using namespace odlist;

namespace {

const char kClassName[] = "ODListCtrl";

// Whether the platform would draw a window's own bar the same: its place, the
// thumb's pixels and the states of its parts.
bool SameBarLook(const SCROLLBARINFO& a, const SCROLLBARINFO& b)
{
    return ::EqualRect(&a.rcScrollBar, &b.rcScrollBar) && a.dxyLineButton == b.dxyLineButton &&
           a.xyThumbTop == b.xyThumbTop && a.xyThumbBottom == b.xyThumbBottom &&
           memcmp(a.rgstate, b.rgstate, sizeof a.rgstate) == 0;
}

}  // namespace

IMPLEMENT_DYNAMIC(CODListCtrl, CWnd)

BEGIN_MESSAGE_MAP(CODListCtrl, CWnd)
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_VSCROLL()
    ON_WM_HSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_MESSAGE(WM_SETFONT, OnSetFontMessage)
    ON_REGISTERED_MESSAGE(ChangeThemeMsg, OnThemeChange)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_QUERYNEWPALETTE()
    ON_WM_PALETTECHANGED()
    ON_WM_SETTINGCHANGE()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_WM_GETDLGCODE()
    ON_WM_WINDOWPOSCHANGING()
    ON_NOTIFY(HDN_ITEMCHANGEDA, 0, OnHeaderItemChanged)
    ON_NOTIFY(HDN_ITEMCHANGEDW, 0, OnHeaderItemChanged)
    ON_NOTIFY(HDN_ITEMCLICKA, 0, OnHeaderItemClick)
    ON_NOTIFY(HDN_ITEMCLICKW, 0, OnHeaderItemClick)
    ON_NOTIFY(HDN_BEGINDRAG, 0, OnHeaderBeginDrag)
    ON_NOTIFY(HDN_ENDDRAG, 0, OnHeaderEndDrag)
    ON_NOTIFY(HDN_DIVIDERDBLCLICKA, 0, OnHeaderDividerDblClick)
    ON_NOTIFY(HDN_DIVIDERDBLCLICKW, 0, OnHeaderDividerDblClick)
    ON_NOTIFY_RANGE(kNotifyEndEdit, 0, 0xFFFF, OnEditorEnded)
    ON_MESSAGE(LVM_FINDITEMA, OnFindItemA)
    ON_MESSAGE(LVM_GETITEMTEXTA, OnGetItemTextA)
    ON_MESSAGE(LVM_SETITEMTEXTA, OnSetItemTextA)
END_MESSAGE_MAP()

CODListCtrl::CODListCtrl()
{
    // Class brush value 5 (COLOR_WINDOW).
    ODRegisterWndClass(kClassName, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_WINDOW));
    m_model.SetHost(this);
}

CODListCtrl::~CODListCtrl()
{
    ReleaseBoxes();
    m_model.SetHost(nullptr);
    FreeImages();
    if (m_palette)
        ::DeleteObject(m_palette);
}

BOOL CODListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    m_creating = true;
    const BOOL created = CWnd::Create(kClassName, NULL, style, rect, parent, id);
    m_creating = false;
    if (!created)
        return FALSE;
    if (!Initialise()) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

void CODListCtrl::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    // A list from a dialog template: initialised here. (Created windows are
    // initialised by Create, after their creation.)
    if (!m_creating && !m_header.m_hWnd && !Initialise())
        AfxThrowMemoryException();
}

BOOL CODListCtrl::Initialise()
{
    if (m_header.m_hWnd)
        return TRUE;
    ODSetCtrlProps(m_hWnd, OD_LISTCTRL_ID);
    m_wheelLines = GetWheelScrollLines();
    ApplyTheme();
    if (!m_header.Create(WS_CHILD | 0xC3, CRect(0, 0, 0, 0), this, 0))
        return FALSE;
    // The parent's font, else the default GUI font.
    LOGFONTA lf = {};
    HFONT parentFont = GetParent() ? reinterpret_cast<HFONT>(GetParent()->SendMessage(WM_GETFONT)) : NULL;
    if (!parentFont || !::GetObjectA(parentFont, sizeof lf, &lf))
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    if (m_font.CreateFontIndirect(&lf)) {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), 0);
        m_header.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), 0);
    }
    m_model.SetStyleWord(GetStyle() & 0xFFFF);
    m_geometry.SetDialogFrame(::GetSystemMetrics(SM_CYDLGFRAME));
    CRect client;
    GetClientRect(&client);
    Layout(client.Width(), client.Height());
    if (!(m_model.GetStyleWord() & kStyleNoHeader))
        m_header.ShowWindow(SW_SHOWNA);
    return TRUE;
}

// ---- The model's requests ----------------------------------------------------------------

LRESULT CODListCtrl::NotifyParent(int code, NMHDR* record)
{
    const int bit = -2048 - code;
    CWnd* parent = GetParent();
    if (!m_hWnd || !parent || bit < 0 || bit > 31 || !(uint32_t(m_model.GetOption(6)) & (1u << bit)))
        return 0;
    record->hwndFrom = m_hWnd;
    record->idFrom = GetDlgCtrlID();
    record->code = UINT(code);
    return parent->SendMessage(WM_NOTIFY, record->idFrom, reinterpret_cast<LPARAM>(record));
}

intptr_t CODListCtrl::Notify(Notification& n)
{
    CWnd* parent = GetParent();
    if (!m_hWnd || !parent)
        return 0;
    const UINT id = GetDlgCtrlID();
    if (n.descriptor) {
        NMODLISTDESC nm = {};
        nm.hdr.hwndFrom = m_hWnd;
        nm.hdr.idFrom = id;
        nm.hdr.code = UINT(n.code);
        nm.item = *n.descriptor;
        const LRESULT answer = parent->SendMessage(WM_NOTIFY, id, reinterpret_cast<LPARAM>(&nm));
        // What the parent filled; the text stays in the model's buffer.
        char* text = n.descriptor->text;
        const int32_t textMax = n.descriptor->textMax;
        *n.descriptor = nm.item;
        if (nm.item.text != text) {
            if (text && textMax > 0 && nm.item.text)
                lstrcpynA(text, nm.item.text, textMax);
            n.descriptor->text = text;
            n.descriptor->textMax = textMax;
        }
        return answer;
    }
    NMODLISTITEM nm = {};
    nm.hdr.hwndFrom = m_hWnd;
    nm.hdr.idFrom = id;
    nm.hdr.code = UINT(n.code);
    nm.node = n.node;
    nm.item = n.item;
    nm.column = n.column;
    nm.value = n.value;
    nm.value2 = n.value2;
    return parent->SendMessage(WM_NOTIFY, id, reinterpret_cast<LPARAM>(&nm));
}

void CODListCtrl::InvalidateRows(int first, int last)
{
    if (!m_hWnd)
        return;
    if (first == -2) {
        Invalidate(FALSE);
        return;
    }
    Rect a, b;
    if (m_geometry.GetRowRect(first, -1, &a, kPartCell) && m_geometry.GetRowRect(last, -1, &b, kPartCell)) {
        CRect r(m_geometry.ContentRect().left, a.top, m_geometry.ContentRect().right, b.bottom);
        InvalidateRect(&r, FALSE);
    } else {
        const Rect& c = m_geometry.ContentRect();
        CRect r(c.left, c.top, c.right, c.bottom);
        InvalidateRect(&r, FALSE);
    }
}

void CODListCtrl::KeepInView(int displayRow)
{
    if (displayRow >= 0)
        EnsureVisible(m_model.DisplayToItem(displayRow), FALSE);
}

void CODListCtrl::RowDeleted(int displayRow)
{
    // The top row stays unless the rows below would leave the page short:
    // then the last page is shown.
    int last = 0;
    m_geometry.GetVisibleRows(-1, nullptr, &last, false);
    const int count = m_model.GetDisplayCount();
    if (displayRow <= m_geometry.GetTopIndex() || last >= count - 1) {
        int first = 0;
        m_geometry.GetVisibleRows(count - 1, &first, nullptr, true);
        m_geometry.SetTopIndex(std::min(m_geometry.GetTopIndex(), std::max(first, 0)));
    }
}

void CODListCtrl::ScrollToTop()
{
    SetScrollPosition(SB_VERT, 0);
}

void CODListCtrl::RowCountChanged()
{
    if (m_hWnd)
        SetScrollPosition(SB_VERT, m_geometry.GetTopIndex());
}

void CODListCtrl::ColumnsChanged()
{
    RefreshChooser(false);
    if (!m_hWnd)
        return;
    SyncHeader();
    SetScrollPosition(SB_HORZ, m_geometry.GetHorzPos());
}

void CODListCtrl::SyncHeader()
{
    if (!m_header.m_hWnd || m_syncing)
        return;
    m_syncing = true;
    // The header shows the model's shown columns, in their order.
    while (m_header.GetItemCount() > 0)
        m_header.DeleteItem(0);
    const std::vector<int>& shown = m_model.GetShownColumns();
    for (size_t position = 0; position < shown.size(); ++position) {
        const ColumnInfo* c = m_model.GetColumn(shown[position]);
        HDITEMA item = {};
        item.mask = HDI_WIDTH | HDI_FORMAT;
        item.cxy = c->width;
        item.fmt = int(c->flags & 0xFFFF);
        if (c->flags & kColumnHasText) {
            item.mask |= HDI_TEXT;
            item.pszText = const_cast<char*>(c->text.c_str());
        }
        if (c->flags & kColumnHasImage) {
            item.mask |= HDI_IMAGE;
            item.iImage = c->image;
        }
        const int index = int(m_header.SendMessage(HDM_INSERTITEMA, position, reinterpret_cast<LPARAM>(&item)));
        if (index >= 0) {
            ODHeaderItemEx ex;
            ex.flags = int((c->flags >> 16) & 0xFF);
            ex.minWidth = c->minWidth;
            ex.maxWidth = c->maxWidth;
            if (c->flags & kColumnTipTemplate) {
                char tip[512];
                snprintf(tip, sizeof tip, m_model.GetTipTemplate().c_str(), c->text.c_str());
                ex.tooltip = tip;
            }
            ex.ownerValue2 = shown[position];
            m_header.SetItemEx(index, &ex);
        }
    }
    int direction = 0;
    const int sortColumn = m_model.GetSortColumn(&direction);
    m_header.SetSortColumn(sortColumn >= 0 ? m_model.GetColumnPosition(sortColumn) : -1, direction);
    m_syncing = false;
}

// ---- Columns, options, images --------------------------------------------------------------

BOOL CODListCtrl::SaveColumnState(LPCSTR section, LPCSTR entry)
{
    CWinApp* app = AfxGetApp();
    if (!app || !section || !entry)
        return FALSE;
    return app->WriteProfileString(section, entry, m_model.SaveColumnState().c_str());
}

int CODListCtrl::LoadColumnState(LPCSTR section, LPCSTR entry)
{
    CWinApp* app = AfxGetApp();
    if (!app || !section || !entry)
        return 0;
    const CString text = app->GetProfileString(section, entry, NULL);
    return m_model.LoadColumnState(text);
}

int CODListCtrl::SetOption(int option, intptr_t value)
{
    const int result = m_model.SetOption(option, value);
    if (result && m_hWnd) {
        CRect client;
        GetClientRect(&client);
        Layout(client.Width(), client.Height());
        Invalidate(FALSE);
    }
    return result;
}

int CODListCtrl::SetRowHeight(int height)
{
    const int result = m_geometry.SetRowHeight(height);
    if (m_hWnd) {
        CRect client;
        GetClientRect(&client);
        Layout(client.Width(), client.Height());
    }
    return result;
}

BOOL CODListCtrl::SetImageList(HIMAGELIST small, HIMAGELIST state)
{
    BOOL result = TRUE;
    m_smallImages = small;
    m_stateImages = state;
    if (m_header.m_hWnd)
        m_header.SendMessage(HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(small));
    IMAGEINFO info = {};
    if (small) {
        if (ImageList_GetImageInfo(small, 0, &info))
            m_geometry.SetImageSize(info.rcImage.right - info.rcImage.left, info.rcImage.bottom - info.rcImage.top);
        else
            result = FALSE;
    }
    if (state) {
        if (ImageList_GetImageInfo(state, 0, &info))
            m_geometry.SetStateImageSize(info.rcImage.right - info.rcImage.left,
                                         info.rcImage.bottom - info.rcImage.top);
        else
            result = FALSE;
    }
    if (m_hWnd) {
        CRect client;
        GetClientRect(&client);
        Layout(client.Width(), client.Height());
        Invalidate(FALSE);
    }
    return result;
}

int CODListCtrl::GetTextHeight(HFONT font, int lines)
{
    HDC dc = m_hWnd ? ::GetDC(m_hWnd) : NULL;
    if (!dc)
        return -1;
    HGDIOBJ old = font ? ::SelectObject(dc, font) : NULL;
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(dc, &tm);
    if (old)
        ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    return (tm.tmHeight + tm.tmExternalLeading) * lines;
}

int CODListCtrl::MeasureText(HFONT font, LPCSTR text, const RECT* rect)
{
    HDC dc = m_hWnd ? ::GetDC(m_hWnd) : NULL;
    if (!dc)
        return -1;
    HGDIOBJ old = font ? ::SelectObject(dc, font) : NULL;
    RECT r = rect ? *rect : RECT{0, 0, m_model.GetTotalWidth(), 0};
    const int height = ::DrawTextA(dc, text ? text : "", -1, &r,
                                   DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK);
    if (old)
        ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    return height;
}

int CODListCtrl::GetItemWidth(int item, int column, RECT* rect, BOOL textOnly)
{
    if (column == -1) {
        if (rect)
            *rect = RECT{0, 0, kDefaultColumnWidth, m_geometry.GetRowHeight()};
        return kDefaultColumnWidth;
    }
    char text[kCellBuffer] = {};
    ODLVITEM d = {};
    d.mask = kMaskText | kMaskImage | kMaskStateImage;
    d.item = item;
    d.subItem = column;
    d.text = text;
    d.textMax = sizeof text;
    if (!m_model.GetItem(&d))
        return 0;
    const int pad = m_model.GetOption(1);
    int width = pad;
    if (!textOnly && (d.mask & kMaskImage))
        width += m_geometry.ImageWidth() + pad;
    if (!textOnly && (d.mask & kMaskStateImage))
        width += m_geometry.StateImageWidth() + pad;
    if (d.mask & kMaskText) {
        HDC dc = m_hWnd ? ::GetDC(m_hWnd) : NULL;
        if (dc) {
            HGDIOBJ old = ::SelectObject(dc, RowFont((m_model.GetItemState(item) & kStateSecondFont) != 0));
            SIZE extent = {};
            ::GetTextExtentPoint32A(dc, text, int(strlen(text)), &extent);
            ::SelectObject(dc, old);
            ::ReleaseDC(m_hWnd, dc);
            width += extent.cx + pad;
        }
    }
    if (rect)
        *rect = RECT{0, 0, width, m_geometry.GetRowHeight()};
    return width;
}

int CODListCtrl::GetWheelScrollLines()
{
    HKEY key = NULL;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 3;
    char text[32] = {};
    DWORD size = sizeof text - 1, type = 0;
    const LONG read = ::RegQueryValueExA(key, "WheelScrollLines", NULL, &type, reinterpret_cast<BYTE*>(text), &size);
    ::RegCloseKey(key);
    if (read != ERROR_SUCCESS || type != REG_SZ)
        return 3;
    char* end = nullptr;
    const long lines = strtol(text, &end, 10);
    return end == text ? 3 : int(std::max(-1L, std::min(lines, 1000L)));
}

// ---- Background bitmap and palette ---------------------------------------------------------

int CODListCtrl::SetBkImage(HBITMAP bitmap)
{
    m_bkColors.clear();
    m_bkColorCount = 0;
    m_bkWidth = m_bkHeight = 0;
    if (m_bkImage)
        ::DeleteObject(m_bkImage);
    m_bkImage = NULL;
    if (!bitmap)
        return 0;
    m_bkImage = CopyBitmap(bitmap);
    DIBSECTION dib = {};
    BITMAP bm = {};
    if (::GetObjectA(bitmap, sizeof dib, &dib) == sizeof dib) {
        bm = dib.dsBm;
        m_bkColorCount = dib.dsBmih.biClrUsed ? int(dib.dsBmih.biClrUsed)
                                              : (bm.bmBitsPixel >= 24 ? 1 << 24 : 1 << bm.bmBitsPixel);
    } else if (::GetObjectA(bitmap, sizeof bm, &bm)) {
        m_bkColorCount = bm.bmBitsPixel >= 24 ? 1 << 24 : 1 << bm.bmBitsPixel;
    }
    m_bkWidth = bm.bmWidth;
    m_bkHeight = bm.bmHeight;
    if (bm.bmBitsPixel <= 8) {
        // The colour table, read through a memory device context.
        HDC dc = ::CreateCompatibleDC(NULL);
        if (dc) {
            HGDIOBJ old = ::SelectObject(dc, bitmap);
            RGBQUAD table[256];
            const UINT n = ::GetDIBColorTable(dc, 0, 256, table);
            m_bkColors.assign(table, table + n);
            // The colours it uses are those of its table.
            if (n > 0)
                m_bkColorCount = int(n);
            ::SelectObject(dc, old);
            ::DeleteDC(dc);
        }
    }
    ::DeleteObject(bitmap);
    const int result = BuildPalette();
    if (m_hWnd)
        Invalidate(FALSE);
    return result;
}

int CODListCtrl::BuildPalette()
{
    if (m_palette) {
        ::DeleteObject(m_palette);
        m_palette = NULL;
    }
    const long long entries = (long long)m_paletteColors.size() + m_bkColorCount;
    if (entries == 0)
        return 0;
    if (entries > 256) {
        HDC screen = ::GetDC(NULL);
        m_palette = ::CreateHalftonePalette(screen);
        ::ReleaseDC(NULL, screen);
        return m_palette != NULL;
    }
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * size_t(entries));
    LOGPALETTE* lp = reinterpret_cast<LOGPALETTE*>(buffer.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = WORD(entries);
    size_t i = 0;
    for (COLORREF c : m_paletteColors)
        lp->palPalEntry[i++] = {GetRValue(c), GetGValue(c), GetBValue(c), 0};
    for (int k = 0; k < m_bkColorCount; ++k) {
        const RGBQUAD q = size_t(k) < m_bkColors.size() ? m_bkColors[size_t(k)] : RGBQUAD{0, 0, 0, 0};
        lp->palPalEntry[i++] = {q.rgbRed, q.rgbGreen, q.rgbBlue, 0};
    }
    m_palette = ::CreatePalette(lp);
    return m_palette != NULL;
}

int CODListCtrl::InsertPaletteColor(int index, COLORREF colour)
{
    if (index < 0)
        return -1;
    index = std::min(index, int(m_paletteColors.size()));
    try {
        m_paletteColors.insert(m_paletteColors.begin() + index, colour);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    return BuildPalette() ? index : -1;
}

int CODListCtrl::RemovePaletteColor(int index)
{
    if (index < 0 || index >= int(m_paletteColors.size()))
        return 0;
    m_paletteColors.erase(m_paletteColors.begin() + index);
    BuildPalette();
    return 1;
}

void CODListCtrl::ClearPalette()
{
    m_paletteColors.clear();
    BuildPalette();
}

COLORREF CODListCtrl::GetPaletteColor(int index) const
{
    if (index < 0 || index >= int(m_paletteColors.size()))
        return 0;
    return m_paletteColors[size_t(index)];
}

BOOL CODListCtrl::CopySelectionToClipboard()
{
    if (!::OpenClipboard(m_hWnd))
        return FALSE;
    ::EmptyClipboard();
    const std::string text = m_model.GetSelectionText();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
    BOOL handed = FALSE;
    if (block) {
        if (char* p = static_cast<char*>(::GlobalLock(block))) {
            memcpy(p, text.c_str(), text.size() + 1);
            ::GlobalUnlock(block);
            handed = ::SetClipboardData(CF_TEXT, block) != NULL;
        }
        if (!handed)
            ::GlobalFree(block);
    }
    ::CloseClipboard();
    return handed;
}

// ---- Scrolling -----------------------------------------------------------------------------

BOOL CODListCtrl::IsSBContainer(CWnd* wnd)
{
    if (!wnd || !wnd->m_hWnd)
        return FALSE;
    CWnd* permanent = CWnd::FromHandlePermanent(wnd->m_hWnd);
    return permanent && lstrcmpA(permanent->GetRuntimeClass()->m_lpszClassName, "CSBContainerWnd") == 0;
}

BOOL CODListCtrl::SetScrollInfo(int bar, SCROLLINFO* info, BOOL redraw)
{
    if (!info)
        return FALSE;
    CWnd* parent = GetParent();
    if (IsSBContainer(parent))
        return static_cast<CSBContainerWnd*>(CWnd::FromHandlePermanent(parent->m_hWnd))->SetScrollInfo(bar, info,
                                                                                                   redraw);
    info->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, bar, info, redraw);
    return TRUE;
}

BOOL CODListCtrl::GetScrollInfo(int bar, SCROLLINFO* info, UINT mask)
{
    if (!info)
        return FALSE;
    info->cbSize = sizeof(SCROLLINFO);
    CWnd* parent = GetParent();
    if (IsSBContainer(parent))
        return static_cast<CSBContainerWnd*>(CWnd::FromHandlePermanent(parent->m_hWnd))->GetScrollInfo(bar, info,
                                                                                                   mask);
    info->fMask = mask;
    return ::GetScrollInfo(m_hWnd, bar, info);
}

void CODListCtrl::ShowScrollBar(UINT bar, BOOL show)
{
    CWnd* parent = GetParent();
    if (IsSBContainer(parent)) {
        static_cast<CSBContainerWnd*>(CWnd::FromHandlePermanent(parent->m_hWnd))->ShowScrollBar(bar, show);
        if (!show && (bar == SB_VERT || bar == SB_BOTH) && m_header.m_hWnd)
            m_header.Invalidate();
        return;
    }
    ::ShowScrollBar(m_hWnd, int(bar), show);
}

int CODListCtrl::HeaderHeight()
{
    if (!m_header.m_hWnd)
        return 0;
    CRect client;
    GetClientRect(&client);
    RECT rc = client;
    WINDOWPOS pos = {};
    HDLAYOUT layout = {&rc, &pos};
    m_header.SendMessage(HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout));
    return pos.cy;
}

void CODListCtrl::Layout(int width, int height)
{
    if (!m_header.m_hWnd || m_laying)
        return;
    m_laying = true;
    // Showing or hiding a bar changes the client size (its WM_SIZE comes
    // while this runs): lay out again for the size that results.
    for (int pass = 0; pass < 3; ++pass) {
        m_geometry.Layout(width, height, HeaderHeight());
        SetScrollPosition(SB_HORZ, m_geometry.GetHorzPos());
        SetScrollPosition(SB_VERT, m_geometry.GetTopIndex());
        CRect client;
        GetClientRect(&client);
        if (client.Width() == width && client.Height() == height)
            break;
        width = client.Width();
        height = client.Height();
    }
    m_laying = false;
}

void CODListCtrl::SetScrollPosition(int bar, int pos)
{
    if (!m_hWnd || m_geometry.ContentRect().IsEmpty())
        return;
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    BarInfo b;
    int shift = 0;  // how far the rows move up
    if (bar == SB_HORZ) {
        m_geometry.SetHorzPos(pos);
        b = m_geometry.HorzBar();
        b.pos = m_geometry.GetHorzPos();
    } else {
        const int oldTop = m_geometry.GetTopIndex();
        m_geometry.SetTopIndex(pos);
        b = m_geometry.VertBar();
        b.pos = m_geometry.GetTopIndex();
        shift = m_geometry.RowShift(oldTop, b.pos, m_geometry.ContentRect().Height());
    }
    info.nMin = b.min;
    info.nMax = b.max;
    info.nPage = UINT(std::max(b.page, 0));
    info.nPos = b.pos;
    const BOOL visible = IsWindowVisible();
    if (visible && !IsSBContainer(GetParent()))
        SetOwnBar(bar, &info);
    else
        SetScrollInfo(bar, &info, visible);
    ShowScrollBar(UINT(bar), b.shown);
    if (bar == SB_HORZ && m_header.m_hWnd) {
        int x = 0, width = 0;
        m_geometry.HeaderPlacement(&x, &width);
        const Rect& h = m_geometry.HeaderRect();
        const bool hidden = (m_model.GetStyleWord() & kStyleNoHeader) != 0;
        m_header.SetWindowPos(NULL, x, 0, width, h.Height(),
                              SWP_NOZORDER | SWP_NOACTIVATE | (hidden ? SWP_HIDEWINDOW : SWP_SHOWWINDOW));
    }
    if (shift != 0 && CanShiftRows()) {
        // The rows still in view keep their pixels; only the rows uncovered
        // are painted.
        const Rect& c = m_geometry.ContentRect();
        RECT rows = {c.left, c.top, c.right, c.bottom};
        ::ScrollWindowEx(m_hWnd, 0, -shift, &rows, &rows, NULL, NULL, SW_INVALIDATE);
        return;
    }
    Invalidate(FALSE);
}

bool CODListCtrl::CanShiftRows()
{
    // Moving the pixels shown gives what a paint would only when all that
    // is drawn over the rows moves with them: no background image (its tiles
    // stay with the window), no dotted tree lines (a node scrolled away draws
    // none), no patterned vertical grid (its pattern starts at the top) and
    // no window over the rows; and only when nothing waits to be painted.
    const uint32_t style = m_model.GetStyleWord();
    if (!m_redraw || !IsWindowVisible() || m_bkImage || m_editor || ((style & kStyleTree) && m_treeLines) ||
        ((style & kStyleVertGrid) && m_model.GetOption(4) != 0) || ::GetUpdateRect(m_hWnd, NULL, FALSE))
        return false;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (child != m_header.m_hWnd && ::IsWindowVisible(child))
            return false;
    return true;
}

void CODListCtrl::SetOwnBar(int bar, SCROLLINFO* info)
{
    // The platform repaints its bar whole, at once, on every change asked
    // with a redraw, which costs more than painting a page of rows; a step
    // that leaves the thumb on the same pixels (a page of a long list)
    // changes nothing on screen, so the bar is redrawn only when its look
    // changed.
    const LONG object = bar == SB_HORZ ? OBJID_HSCROLL : OBJID_VSCROLL;
    SCROLLBARINFO before = {}, after = {};
    before.cbSize = after.cbSize = sizeof(SCROLLBARINFO);
    const BOOL known = ::GetScrollBarInfo(m_hWnd, object, &before);
    info->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, bar, info, FALSE);
    if (known && ::GetScrollBarInfo(m_hWnd, object, &after) && SameBarLook(before, after))
        return;
    ::SetScrollInfo(m_hWnd, bar, info, TRUE);
}

int CODListCtrl::EnsureVisible(int item, BOOL partialOk)
{
    const int result = m_geometry.EnsureVisible(item, partialOk != FALSE);
    if (result)
        SetScrollPosition(SB_VERT, m_geometry.GetTopIndex());
    return result;
}

int CODListCtrl::EnsureNodeVisible(NodeHandle node, BOOL partialOk)
{
    if (m_model.ShowNode(node) < 0)
        return 0;
    Invalidate(FALSE);
    return EnsureVisible(m_model.GetNodeData(node), partialOk);
}

BOOL CODListCtrl::ModifyStyle(DWORD remove, DWORD add, UINT flags)
{
    EndOpenEdit();
    const DWORD old = GetStyle();
    const BOOL changed = CWnd::ModifyStyle(remove, add, flags);
    const DWORD now = GetStyle();
    if ((old ^ now) & kStyleRowStep)
        m_geometry.SetRowHeight(m_geometry.GetRowHeight() + ((now & kStyleRowStep) ? 1 : -1));
    m_model.SetStyleWord(now & 0xFFFF);
    CRect client;
    GetClientRect(&client);
    Layout(client.Width(), client.Height());
    Invalidate(FALSE);
    return changed;
}

// ---- Window --------------------------------------------------------------------------------

void CODListCtrl::OnDestroy()
{
    // Every row is deleted first, so the parent hears of each one.
    m_model.DeleteAllItems();
    ODRemoveCtrlProps(m_hWnd, OD_LISTCTRL_ID);
    CWnd::OnDestroy();
}

void CODListCtrl::OnSize(UINT type, int cx, int cy)
{
    EndOpenEdit();
    CWnd::OnSize(type, cx, cy);
    Layout(cx, cy);
}

// ---- List view -----------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CODListView, CView)

BEGIN_MESSAGE_MAP(CODListView, CView)
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CODListView::CODListView() {}

CODListView::~CODListView()
{
    if (m_list.m_hWnd)
        m_list.DestroyWindow();
    if (m_container.m_hWnd)
        m_container.DestroyWindow();
}

BOOL CODListView::PreCreateWindow(CREATESTRUCT& cs)
{
    m_listStyle = LOWORD(cs.style);
    return CView::PreCreateWindow(cs);
}

void CODListView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    if (m_initialised)
        return;
    if (GetListCtrlPtr() == &m_list) {
        CRect client;
        GetClientRect(&client);
        const DWORD style = m_listStyle | WS_CHILD | WS_VISIBLE | WS_TABSTOP;
        if (!m_container.Create(client, this, 0, WS_CHILD | WS_VISIBLE))
            AfxThrowMemoryException();
        if (!m_list.Create(style, CRect(0, 0, client.Width(), client.Height()), &m_container, 0))
            AfxThrowMemoryException();
        m_container.SetHostedChild(&m_list);
    }
    m_initialised = TRUE;
}

void CODListView::OnDraw(CDC*) {}

void CODListView::OnSize(UINT type, int cx, int cy)
{
    CView::OnSize(type, cx, cy);
    if (m_initialised && m_container.m_hWnd) {
        m_container.MoveWindow(0, 0, cx, cy);
        m_container.Invalidate();
    }
}

void CODListView::OnSetFocus(CWnd* pOld)
{
    CView::OnSetFocus(pOld);
    if (m_initialised && m_list.m_hWnd)
        m_list.SetFocus();
}

BOOL CODListView::OnEraseBkgnd(CDC*)
{
    return TRUE;
}
