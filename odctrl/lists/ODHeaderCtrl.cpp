// ODHeaderCtrl.cpp - the column header, its drag image and its drop marker.
#include "ODHeaderCtrl.h"

#include <algorithm>

#include "ODDrawing.h"
#include "ODLibrary.h"
#include "ODWndClass.h"

namespace {

const char kPropHeader[] = "ODHeaderCtrl";
const char kDragClass[] = "MFCODFHDragWnd";
const char kDropClass[] = "MFCODFHDropWnd";
const ODThemeLoaderRegistration s_themeLoader(OD_LOADER_HEADERCTRL, &CODHeaderCtrl::LoadTheme);

void DrawLine(CDC* dc, COLORREF colour, int x1, int y1, int x2, int y2)
{
    if (colour == 0xFFFFFFFF)
        return;
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, colour);
    CPen* old = dc->SelectObject(&pen);
    dc->MoveTo(x1, y1);
    dc->LineTo(x2, y2);
    dc->SelectObject(old);
}

}  // namespace

// ---- Drag image ------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CODFHDragWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CODFHDragWnd::Create(const RECT& screenRect, CODHeaderCtrl* header, int item, HDITEMA* record)
{
    m_header = header;
    m_item = item;
    m_record = record;
    ODRegisterWndClass(kDragClass, CS_SAVEBITS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kDragClass, NULL, WS_POPUP | WS_DISABLED, screenRect.left,
                    screenRect.top, screenRect.right - screenRect.left, screenRect.bottom - screenRect.top, NULL,
                    NULL);
}

BOOL CODFHDragWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CODFHDragWnd::OnPaint()
{
    CPaintDC dc(this);
    if (!m_header)
        return;
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, m_header->m_bkColour);
    if (m_header->m_bkImage.GetBits()) {
        if (HBITMAP b = m_header->m_bkImage.CreateBitmap()) {
            ODDrawBitmapInRect(&dc, client, b, m_header->m_bkMode);
            ::DeleteObject(b);
        }
    }
    CFont font;
    font.CreateFontIndirect(&m_header->m_font);
    CFont* old = dc.SelectObject(&font);
    dc.SetBkColor(m_header->m_bkColour);
    dc.SetTextColor(m_header->m_textColour);
    m_header->DrawItemContent(&dc, client, m_record, m_item >= 0 && m_item == m_header->m_sortColumn,
                              m_header->m_sortDirection);
    dc.SelectObject(old);
}

// ---- Drop marker -----------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CODFHDropWnd, CWnd)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CODFHDropWnd::~CODFHDropWnd()
{
    if (m_brush)
        ::DeleteObject(m_brush);
}

BOOL CODFHDropWnd::Create(int headerHeight, COLORREF colour)
{
    m_colour = colour;
    m_brush = ::CreateSolidBrush(colour);
    ODRegisterWndClass(kDropClass, CS_SAVEBITS, NULL);
    m_height = odheader::MarkerHeight(headerHeight);
    if (!CreateEx(WS_EX_TOOLWINDOW, kDropClass, NULL, WS_POPUP | WS_DISABLED, 0, 0, 12, m_height, NULL, NULL))
        return FALSE;
    odheader::Point top[7], bottom[7];
    odheader::MarkerArrows(m_height, top, bottom);
    POINT points[14];
    for (int i = 0; i < 7; ++i) {
        points[i] = {top[i].x, top[i].y};
        points[7 + i] = {bottom[i].x, bottom[i].y};
    }
    const INT counts[2] = {7, 7};
    HRGN region = ::CreatePolyPolygonRgn(points, counts, 2, ALTERNATE);
    if (region && !SetWindowRgn(region, FALSE))
        ::DeleteObject(region);
    return TRUE;
}

void CODFHDropWnd::SetColor(COLORREF colour)
{
    m_colour = colour;
    if (m_brush)
        ::DeleteObject(m_brush);
    m_brush = ::CreateSolidBrush(colour);
    if (m_hWnd)
        Invalidate(TRUE);
}

void CODFHDropWnd::MoveTo(POINT p)
{
    SetWindowPos(&CWnd::wndTop, p.x - 6, p.y - m_height / 2, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

BOOL CODFHDropWnd::OnEraseBkgnd(CDC* pDC)
{
    RECT r = {0, 0, 12, m_height};
    ::FillRect(pDC->GetSafeHdc(), &r, m_brush);
    return TRUE;
}

// ---- Header --------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CODHeaderCtrl, CHeaderCtrl)

BEGIN_MESSAGE_MAP(CODHeaderCtrl, CHeaderCtrl)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

COLORREF CODHeaderCtrl::s_textColour = RGB(212, 200, 175);
COLORREF CODHeaderCtrl::s_dividerLight = RGB(150, 128, 89);
COLORREF CODHeaderCtrl::s_dividerDark = RGB(10, 2, 0);
int CODHeaderCtrl::s_headerImageId = 0;
int CODHeaderCtrl::s_leftShadowImageId = 0;

CODHeaderCtrl::CODHeaderCtrl()
    : m_bkColour(::GetSysColor(COLOR_BTNFACE)),
      m_textColour(s_textColour),
      m_dividerLight(s_dividerLight),
      m_dividerDark(s_dividerDark)
{
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof m_font, &m_font);
}

CODHeaderCtrl::~CODHeaderCtrl()
{
    if (m_dragImage && ::IsWindow(m_dragImage->m_hWnd))
        m_dragImage->DestroyWindow();
    if (m_dropMarker && ::IsWindow(m_dropMarker->m_hWnd))
        m_dropMarker->DestroyWindow();
    m_bkImage.Free();
    m_leftShadow.Free();
}

void CODHeaderCtrl::LoadTheme()
{
    const char* section = "ODHeaderCtrl";
    s_textColour = ODGetThemeColor(section, "ColorText", s_textColour);
    s_dividerLight = ODGetThemeColor(section, "ColorDividerLight", s_dividerLight);
    s_dividerDark = ODGetThemeColor(section, "ColorDividerDark", s_dividerDark);
    s_headerImageId = int(ODGetThemeColor(section, "HeaderImageID", COLORREF(s_headerImageId)));
    s_leftShadowImageId = int(ODGetThemeColor(section, "LeftShadowImageID", COLORREF(s_leftShadowImageId)));
}

void CODHeaderCtrl::ApplyTheme(int bkMode)
{
    m_textColour = s_textColour;
    m_dividerLight = s_dividerLight;
    m_dividerDark = s_dividerDark;
    SetBkImage(ODGetThemeImage(UINT(s_headerImageId), "QVImage"), bkMode, FALSE);
    SetLeftShadowImage(ODGetThemeImage(UINT(s_leftShadowImageId), "QVImage"), TRUE, FALSE);
}

int CODHeaderCtrl::OnCreate(LPCREATESTRUCT cs)
{
    if (CHeaderCtrl::OnCreate(cs) == -1)
        return -1;
    ApplyTheme(OD_DRAW_TILE);
    ::SetPropA(m_hWnd, OD_PROP_CTRL, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(OD_CTRL_ID)));
    ::SetPropA(m_hWnd, kPropHeader, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(OD_HEADERCTRL_ID)));
    return 0;
}

LRESULT CODHeaderCtrl::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != 0 && message == ODGetThemeMessage()) {
        LoadTheme();
        // A theme change stretches the background; creation tiles it.
        ApplyTheme(OD_DRAW_STRETCH);
        Invalidate(TRUE);
    }
    return CHeaderCtrl::DefWindowProc(message, wParam, lParam);
}

// ---- Properties and extras -------------------------------------------------------------------

BOOL CODHeaderCtrl::SetProperty(int index, LPARAM value)
{
    switch (index) {
    case 1: m_margin = int(value); break;
    case 2:
        m_arrowWidth = LOWORD(value);
        m_arrowHeight = HIWORD(value);
        break;
    case 3: m_widenLayout = value != 0; break;
    case 4: m_dragCursorId = int(value); break;
    case 5: m_dropArea = reinterpret_cast<HWND>(value); break;
    case 6: EnableToolTips(value != 0); break;
    case 7:
        m_autoFit = value != 0;
        if (value == 1)
            FitColumns();
        break;
    default: return FALSE;
    }
    if (m_hWnd)
        Invalidate(TRUE);
    return TRUE;
}

BOOL CODHeaderCtrl::GetItemEx(int index, ODHeaderItemEx* ex)
{
    if (!ex || index < 0 || index >= int(m_extras.size()))
        return FALSE;
    *ex = m_extras[size_t(index)];
    if (ex->flags & odheader::kExFixedWidth) {
        HDITEMA item = {};
        item.mask = HDI_WIDTH;
        ::SendMessageA(m_hWnd, HDM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
        ex->minWidth = ex->maxWidth = item.cxy;
    }
    return TRUE;
}

BOOL CODHeaderCtrl::InsertItemEx(int index, const ODHeaderItemEx* ex)
{
    if (!ex || index < 0 || index >= int(m_extras.size()))
        return FALSE;
    HDITEMA item = {};
    item.mask = HDI_WIDTH;
    if (!::SendMessageA(m_hWnd, HDM_GETITEMA, index, reinterpret_cast<LPARAM>(&item)))
        return FALSE;
    int width = item.cxy;
    if (ex->flags & odheader::kExFitContent)
        width = MeasureWidth(index, (ex->flags & odheader::kExRoomForArrow) != 0);
    if (!(ex->flags & odheader::kExFixedWidth)) {
        width = std::max(width, ex->minWidth);
        if (ex->maxWidth > 0)
            width = std::min(width, ex->maxWidth);
    }
    if (width != item.cxy) {
        item.cxy = width;
        ::SendMessageA(m_hWnd, HDM_SETITEMA, index, reinterpret_cast<LPARAM>(&item));
    }
    m_extras[size_t(index)] = *ex;
    return TRUE;
}

BOOL CODHeaderCtrl::SetItemEx(int index, const ODHeaderItemEx* ex)
{
    if (!ex || index < 0 || index >= int(m_extras.size()))
        return FALSE;
    m_extras[size_t(index)] = *ex;
    return TRUE;
}

int CODHeaderCtrl::GetItemFlags(int index) const
{
    return index >= 0 && index < int(m_extras.size()) ? m_extras[size_t(index)].flags : 0;
}

BOOL CODHeaderCtrl::SetItemFlags(int index, int flags)
{
    if (index < 0 || index >= int(m_extras.size()))
        return FALSE;
    m_extras[size_t(index)].flags = flags;
    return TRUE;
}

int CODHeaderCtrl::GetItemOwnerValue(int index) const
{
    return index >= 0 && index < int(m_extras.size()) ? m_extras[size_t(index)].ownerValue : 0;
}

void CODHeaderCtrl::SetSortColumn(int column, int direction)
{
    m_sortColumn = column;
    m_sortDirection = direction;
    if (m_hWnd)
        Invalidate(FALSE);
}

int CODHeaderCtrl::GetSortColumn(int* direction) const
{
    if (direction)
        *direction = m_sortDirection;
    return m_sortColumn;
}

int CODHeaderCtrl::GetHeight()
{
    if (m_fixedHeight > 0)
        return m_fixedHeight;
    CRect r;
    GetWindowRect(&r);
    return r.Height();
}

COLORREF CODHeaderCtrl::SetTextColor(COLORREF colour, BOOL redraw)
{
    const COLORREF old = m_textColour;
    m_textColour = colour;
    if (redraw && m_hWnd)
        Invalidate(FALSE);
    return old;
}

void CODHeaderCtrl::SetDividerColors(COLORREF dark, COLORREF light, BOOL redraw)
{
    m_dividerDark = dark;
    m_dividerLight = light;
    if (redraw && m_hWnd)
        Invalidate(FALSE);
}

void CODHeaderCtrl::ShowSortArrow(BOOL show, BOOL redraw)
{
    m_showSortArrow = show;
    if (redraw && m_hWnd)
        Invalidate(FALSE);
}

void CODHeaderCtrl::SetMarkerColor(COLORREF colour)
{
    m_markerColour = colour;
    if (m_dropMarker)
        m_dropMarker->SetColor(colour);
}

BOOL CODHeaderCtrl::SetBkImage(HBITMAP bitmap, int mode, BOOL redraw)
{
    m_bkImage.Free();
    const BOOL loaded = bitmap ? m_bkImage.LoadFromBitmap(bitmap) : FALSE;
    if (bitmap)
        ::DeleteObject(bitmap);
    m_bkMode = mode;
    if (redraw && m_hWnd)
        Invalidate(FALSE);
    return loaded;
}

BOOL CODHeaderCtrl::SetLeftShadowImage(HBITMAP bitmap, BOOL deleteBitmap, BOOL redraw)
{
    m_leftShadow.Free();
    const BOOL loaded = bitmap ? m_leftShadow.LoadFromBitmap(bitmap) : FALSE;
    if (bitmap && deleteBitmap)
        ::DeleteObject(bitmap);
    if (redraw && m_hWnd)
        Invalidate(FALSE);
    return loaded;
}

int CODHeaderCtrl::MeasureWidth(int index, BOOL withArrow)
{
    char text[80] = {};
    HDITEMA item = {};
    item.mask = HDI_FORMAT | HDI_TEXT | HDI_BITMAP | HDI_IMAGE;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ::SendMessageA(m_hWnd, HDM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
    odheader::Content c;
    c.margin = m_margin;
    if ((item.fmt & HDF_BITMAP) && item.hbm) {
        BITMAP bm = {};
        ::GetObjectA(item.hbm, sizeof bm, &bm);
        c.bitmapWidth = bm.bmWidth;
    }
    if (item.fmt & HDF_IMAGE)
        c.imageWidth = m_imageWidth;
    if (withArrow)
        c.arrowWidth = m_arrowWidth;
    if (text[0]) {
        CClientDC dc(this);
        CFont font;
        font.CreateFontIndirect(&m_font);
        CFont* old = dc.SelectObject(&font);
        SIZE size = {};
        ::GetTextExtentPoint32A(dc.GetSafeHdc(), text, lstrlenA(text), &size);
        dc.SelectObject(old);
        c.textWidth = size.cx;
    }
    return odheader::ContentWidth(c);
}

// ---- Fitting and divider limits --------------------------------------------------------------

std::vector<int> CODHeaderCtrl::DisplayOrder()
{
    const int count = GetItemCount();
    std::vector<int> order(size_t(std::max(0, count)));
    if (count > 0)
        ::SendMessageA(m_hWnd, HDM_GETORDERARRAY, count, reinterpret_cast<LPARAM>(order.data()));
    return order;
}

void CODHeaderCtrl::FitColumnsFrom(int column)
{
    const int count = GetItemCount();
    if (count < 1)
        return;
    const std::vector<int> order = DisplayOrder();
    int from = 0;  // first display position fitted
    int startRight = 0;
    if (column >= 0) {
        const auto at = std::find(order.begin(), order.end(), column);
        const int o = at == order.end() ? -1 : int(at - order.begin());
        if (o >= 0 && o < count - 1) {
            from = o + 1;
            CRect r;
            GetItemRect(column, &r);
            startRight = r.right;
        }
    }
    std::vector<odheader::Column> columns;
    std::vector<int> indexes;
    int sumWidths = 0, sumMins = 0;
    for (int pos = from; pos < count; ++pos) {
        const int index = order[size_t(pos)];
        HDITEMA item = {};
        item.mask = HDI_WIDTH;
        ::SendMessageA(m_hWnd, HDM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
        odheader::Column c;
        c.width = item.cxy;
        if (index < int(m_extras.size())) {
            c.minWidth = m_extras[size_t(index)].minWidth;
            c.maxWidth = m_extras[size_t(index)].maxWidth;
        }
        columns.push_back(c);
        indexes.push_back(index);
        sumWidths += c.width;
        sumMins += std::max(0, c.minWidth);
    }
    int clientWidth = 0;
    if (CWnd* parent = GetParent()) {
        CRect pr;
        parent->GetClientRect(&pr);
        clientWidth = pr.Width();
    }
    const int target = odheader::FitTarget(clientWidth, startRight, sumMins, sumWidths);
    const std::vector<int> widths = odheader::FitWidths(columns, target);
    m_fitting = TRUE;
    for (size_t i = 0; i < widths.size(); ++i) {
        HDITEMA item = {};
        item.mask = HDI_WIDTH;
        item.cxy = widths[i];
        ::SendMessageA(m_hWnd, HDM_SETITEMA, indexes[i], reinterpret_cast<LPARAM>(&item));
    }
    m_fitting = FALSE;
}

odheader::DragLimits CODHeaderCtrl::DividerLimits(int index)
{
    const std::vector<int> order = DisplayOrder();
    const auto at = std::find(order.begin(), order.end(), index);
    const int o = at == order.end() ? -1 : int(at - order.begin());
    CRect r;
    GetItemRect(index, &r);
    std::vector<odheader::Column> following;
    for (int pos = o + 1; o >= 0 && pos < int(order.size()); ++pos) {
        const int i = order[size_t(pos)];
        odheader::Column c;
        if (i < int(m_extras.size())) {
            c.minWidth = m_extras[size_t(i)].minWidth;
            c.maxWidth = m_extras[size_t(i)].maxWidth;
        }
        following.push_back(c);
    }
    const ODHeaderItemEx own = index >= 0 && index < int(m_extras.size()) ? m_extras[size_t(index)] : ODHeaderItemEx();
    CRect client;
    GetClientRect(&client);
    return odheader::DividerLimits(r.left, own.minWidth, own.maxWidth, m_autoFit != FALSE, following,
                                   client.Width());
}

// ---- Painting ------------------------------------------------------------------------------

BOOL CODHeaderCtrl::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CODHeaderCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    if (m_doubleBuffer) {
        CODMemDC mem;
        if (mem.Create(&dc, client)) {
            PaintTo(&mem);
            mem.Flush(TRUE);
            return;
        }
    }
    PaintTo(&dc);
}

void CODHeaderCtrl::PaintTo(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    HBITMAP bk = m_bkImage.GetBits() ? m_bkImage.CreateBitmap() : NULL;
    if (bk) {
        ODDrawBitmapInRect(pDC, client, bk, m_bkMode);
        ::DeleteObject(bk);
    } else {
        pDC->FillSolidRect(&client, m_bkColour);
    }
    if (m_leftShadow.GetBits())
        m_leftShadow.Draw(pDC->GetSafeHdc(), NULL, 0, 0);
    CFont font;
    font.CreateFontIndirect(&m_font);
    CFont* oldFont = pDC->SelectObject(&font);
    pDC->SetBkColor(m_bkColour);
    pDC->SetTextColor(m_textColour);
    const int count = GetItemCount();
    for (int pos = 0; pos < count; ++pos) {
        const int index = OrderToIndex(pos);
        char text[81] = {};
        HDITEMA item = {};
        item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT | HDI_BITMAP | HDI_IMAGE;
        item.pszText = text;
        item.cchTextMax = 80;
        ::SendMessageA(m_hWnd, HDM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
        CRect r;
        GetItemRect(index, &r);
        if (item.fmt & HDF_OWNERDRAW) {
            DRAWITEMSTRUCT dis = {};
            dis.CtlType = ODT_HEADER;
            dis.CtlID = GetDlgCtrlID();
            dis.itemID = UINT(index);
            dis.itemAction = ODA_DRAWENTIRE;
            dis.hwndItem = m_hWnd;
            dis.hDC = pDC->GetSafeHdc();
            dis.rcItem = r;
            DrawItem(&dis);
        } else {
            CRect inner(r);
            inner.DeflateRect(m_margin, 0);
            DrawItemContent(pDC, inner, &item, index == m_sortColumn, m_sortDirection);
        }
        DrawLine(pDC, m_dividerDark, r.right - 1, r.top + 2, r.right - 1, r.bottom - 2);
        DrawLine(pDC, m_dividerLight, r.right, r.top + 2, r.right, r.bottom - 2);
    }
    pDC->SelectObject(oldFont);
}

void CODHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

void CODHeaderCtrl::DrawItemContent(CDC* pDC, CRect rect, HDITEMA* item, BOOL sortColumn, int direction)
{
    if (!item || rect.IsRectEmpty())
        return;
    pDC->SetBkMode(TRANSPARENT);
    const int align = item->fmt & HDF_JUSTIFYMASK;
    const bool hasImage = (item->mask & HDI_IMAGE) && (item->fmt & HDF_IMAGE) && item->iImage >= 0 &&
                          ::SendMessageA(m_hWnd, HDM_GETIMAGELIST, 0, 0) != 0;
    const bool hasBitmap = (item->fmt & HDF_BITMAP) && item->hbm;
    const bool hasArrow = sortColumn && m_showSortArrow;
    BITMAP bm = {};
    if (hasBitmap)
        ::GetObjectA(item->hbm, sizeof bm, &bm);
    SIZE textSize = {};
    const int textLength = item->pszText ? lstrlenA(item->pszText) : 0;
    if (textLength)
        ::GetTextExtentPoint32A(pDC->GetSafeHdc(), item->pszText, textLength, &textSize);

    auto drawBitmap = [&](int x) {
        CDC mem;
        mem.CreateCompatibleDC(pDC);
        HGDIOBJ old = ::SelectObject(mem.GetSafeHdc(), item->hbm);
        pDC->BitBlt(x, rect.top + (rect.Height() - bm.bmHeight) / 2, bm.bmWidth, bm.bmHeight, &mem, 0, 0, SRCCOPY);
        ::SelectObject(mem.GetSafeHdc(), old);
    };
    auto drawImage = [&](int x) {
        HIMAGELIST list = reinterpret_cast<HIMAGELIST>(::SendMessageA(m_hWnd, HDM_GETIMAGELIST, 0, 0));
        ::ImageList_Draw(list, item->iImage, pDC->GetSafeHdc(), x, rect.top + (rect.Height() - m_imageHeight) / 2,
                         ILD_TRANSPARENT);
    };
    auto drawArrow = [&](int x) {
        if (rect.right - x < m_arrowWidth)
            return;
        odheader::Point p[3];
        odheader::SortArrow(x, rect.top, rect.Height(), m_arrowWidth, m_arrowHeight, direction != 0, p);
        // Up: right edge and base light, left edge dark. Down: right edge
        // light, left edge and base dark.
        if (direction != 0) {
            DrawLine(pDC, m_arrowLight, p[0].x, p[0].y, p[2].x, p[2].y);
            DrawLine(pDC, m_arrowLight, p[1].x, p[1].y, p[2].x, p[2].y);
            DrawLine(pDC, m_arrowDark, p[0].x, p[0].y, p[1].x, p[1].y);
        } else {
            DrawLine(pDC, m_arrowLight, p[2].x, p[2].y, p[0].x, p[0].y);
            DrawLine(pDC, m_arrowDark, p[1].x, p[1].y, p[0].x, p[0].y);
            DrawLine(pDC, m_arrowDark, p[1].x, p[1].y, p[2].x, p[2].y);
        }
    };
    auto drawText = [&](const CRect& r, UINT alignFlag) {
        if (!textLength || r.IsRectEmpty())
            return;
        CRect t(r);
        pDC->DrawText(item->pszText, textLength, &t, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | alignFlag);
    };

    int left = rect.left, right = rect.right;
    if (align == HDF_RIGHT) {
        if (hasBitmap && !(item->fmt & HDF_BITMAP_ON_RIGHT)) {
            drawBitmap(left);
            left += bm.bmWidth + m_margin;
        }
        if (hasImage) {
            drawImage(left);
            left += m_imageWidth + m_margin;
        }
        if (hasBitmap && (item->fmt & HDF_BITMAP_ON_RIGHT)) {
            right -= bm.bmWidth;
            drawBitmap(right);
            right -= m_margin;
        }
        if (hasArrow && right - left >= m_arrowWidth) {
            right -= m_arrowWidth;
            drawArrow(right);
            right -= m_margin;
        }
        drawText(CRect(left, rect.top, right, rect.bottom), DT_RIGHT);
    } else if (align == HDF_CENTER) {
        if (hasImage) {
            drawImage(left);
            left += m_imageWidth + m_margin;
        }
        if (hasBitmap) {
            right -= bm.bmWidth;
            drawBitmap(right);
            right -= m_margin;
        }
        const int room = right - left;
        const int arrowRoom = hasArrow ? m_arrowWidth + m_margin : 0;
        const int textWidth = std::min(int(textSize.cx), std::max(0, room - arrowRoom));
        const int start = left + std::max(0, (room - textWidth - arrowRoom) / 2);
        drawText(CRect(start, rect.top, start + textWidth, rect.bottom), DT_CENTER);
        if (hasArrow)
            drawArrow(start + textWidth + m_margin);
    } else {
        if (hasBitmap) {
            right -= bm.bmWidth;
            drawBitmap(right);
            right -= m_margin;
        }
        if (hasImage) {
            drawImage(left);
            left += m_imageWidth + m_margin;
        }
        const int arrowRoom = hasArrow ? m_arrowWidth + m_margin : 0;
        const int textWidth = std::min(int(textSize.cx), std::max(0, right - left - arrowRoom));
        drawText(CRect(left, rect.top, left + textWidth, rect.bottom), DT_LEFT);
        left += textLength ? textWidth + m_margin : 0;
        if (hasArrow)
            drawArrow(left);
    }
}

// ---- Tooltips -------------------------------------------------------------------------------

int CODHeaderCtrl::ItemAt(CPoint point, int* order)
{
    HDHITTESTINFO hit = {};
    hit.pt = point;
    const int item = int(::SendMessageA(m_hWnd, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (order) {
        *order = -1;
        if (item >= 0) {
            HDITEMA info = {};
            info.mask = HDI_ORDER;
            ::SendMessageA(m_hWnd, HDM_GETITEMA, item, reinterpret_cast<LPARAM>(&info));
            *order = info.iOrder;
        }
    }
    m_hitFlags = hit.flags;
    return item;
}

std::string CODHeaderCtrl::TooltipAt(CPoint point)
{
    const int item = ItemAt(point);
    if (item < 0 || item >= int(m_extras.size()))
        return std::string();
    return m_extras[size_t(item)].tooltip;
}

INT_PTR CODHeaderCtrl::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    const INT_PTR base = CHeaderCtrl::OnToolHitTest(point, pTI);
    if (base != -1)
        return base;
    HDHITTESTINFO hit = {};
    hit.pt = point;
    const int item = int(::SendMessageA(m_hWnd, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (item < 0 || !pTI)
        return -1;
    pTI->hwnd = m_hWnd;
    pTI->uId = ToolId;
    ::SendMessageA(m_hWnd, HDM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&pTI->rect));
    pTI->lpszText = LPSTR_TEXTCALLBACK;
    return ToolId;
}

// ---- Hot divider and drag --------------------------------------------------------------------

int CODHeaderCtrl::SetHotDividerValue(int divider)
{
    m_hotDivider = divider;
    const int count = GetItemCount();
    if (divider < 0 || divider > count + 1) {
        if (m_dropMarker && ::IsWindow(m_dropMarker->m_hWnd))
            m_dropMarker->DestroyWindow();  // deletes itself
        m_dropMarker = nullptr;
        return divider;
    }
    CRect client;
    GetClientRect(&client);
    if (!m_dropMarker) {
        m_dropMarker = new CODFHDropWnd;
        if (!m_dropMarker->Create(client.Height(), m_markerColour)) {
            delete m_dropMarker;
            m_dropMarker = nullptr;
            return divider;
        }
    }
    std::vector<int> lefts, rights;
    for (int index : DisplayOrder()) {
        CRect r;
        GetItemRect(index, &r);
        lefts.push_back(r.left);
        rights.push_back(r.right);
    }
    CPoint p(odheader::MarkerX(divider, lefts, rights), client.Height() / 2);
    ClientToScreen(&p);
    m_dropMarker->MoveTo(p);
    return divider;
}

LRESULT CODHeaderCtrl::NotifyParent(UINT code, int button)
{
    CWnd* parent = GetParent();
    if (!parent)
        return 0;
    NMHEADERA nm = {};
    nm.hdr.hwndFrom = m_hWnd;
    nm.hdr.idFrom = UINT_PTR(GetDlgCtrlID());
    nm.hdr.code = code;
    nm.iItem = m_pressedItem;
    nm.iButton = button;
    nm.pitem = &m_pressed;
    return parent->SendMessage(WM_NOTIFY, WPARAM(nm.hdr.idFrom), reinterpret_cast<LPARAM>(&nm));
}

BOOL CODHeaderCtrl::OnButtonDown(UINT flags, CPoint point)
{
    m_buttonPoint = point;
    int order = -1;
    const int item = ItemAt(point, &order);
    const bool onDivider = (m_hitFlags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) != 0;
    if (item >= 0 && onDivider) {
        const bool fixed = item < int(m_extras.size()) && (m_extras[size_t(item)].flags & odheader::kExFixedWidth);
        if (fixed)
            return TRUE;  // a fixed column is not resized
        // The pointer may move only where the column's width stays within its limits.
        const odheader::DragLimits limits = DividerLimits(item);
        CRect r;
        GetItemRect(item, &r);
        CRect clip;
        ::GetClipCursor(&clip);
        CPoint left(r.left + limits.smallest, 0), right(r.left + limits.largest, 0);
        ClientToScreen(&left);
        ClientToScreen(&right);
        clip.left = std::max(clip.left, left.x);
        clip.right = std::max(clip.left, std::min(clip.right, right.x + 1));
        ::ClipCursor(&clip);
        m_resizing = TRUE;
        m_pressedItem = item;
        return FALSE;  // the native control tracks the divider
    }
    (void)flags;
    if (item >= 0 && (m_hitFlags & HHT_ONHEADER)) {
        // Presses on an item are the header's own (its column drag), not the
        // native control's.
        m_pressedItem = item;
        m_pressedOrder = order;
        m_pressed = HDITEMA();
        m_pressed.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT | HDI_BITMAP | HDI_IMAGE | HDI_ORDER | HDI_LPARAM;
        m_pressed.pszText = m_pressedText;
        m_pressed.cchTextMax = sizeof m_pressedText;
        ::SendMessageA(m_hWnd, HDM_GETITEMA, item, reinterpret_cast<LPARAM>(&m_pressed));
        m_buttonHeld = TRUE;
        CRect r;
        GetItemRect(item, &r);
        InvalidateRect(&r, FALSE);
        return TRUE;
    }
    return FALSE;
}

void CODHeaderCtrl::OnMove(UINT flags, CPoint point)
{
    if (m_buttonHeld && !m_resizing && !m_columnDragging && (flags & MK_LBUTTON)) {
        if (!(GetStyle() & HDS_DRAGDROP))
            return;
        if (!odheader::LeftDragBox(m_buttonPoint.x, m_buttonPoint.y, point.x, point.y,
                                   ::GetSystemMetrics(SM_CXDRAG), ::GetSystemMetrics(SM_CYDRAG)))
            return;
        if (NotifyParent(HDN_BEGINDRAG, 1) != 0) {
            // The parent runs the drag: no image, no marker.
            SetCapture();
            m_columnDragging = TRUE;
            return;
        }
        CRect r;
        GetItemRect(m_pressedItem, &r);
        ClientToScreen(&r);
        m_dragImage = new CODFHDragWnd;
        if (!m_dragImage->Create(r, this, m_pressedItem, &m_pressed)) {
            delete m_dragImage;
            m_dragImage = nullptr;
        }
        m_dropAreaRect.SetRectEmpty();
        if (m_dropArea && ::IsWindow(m_dropArea) &&
            (::IsWindowVisible(m_dropArea) || ::IsWindowVisible(::GetParent(m_dropArea))))
            ::GetWindowRect(m_dropArea, &m_dropAreaRect);
        SetCapture();
        m_columnDragging = TRUE;
    }
    if (!m_columnDragging || !m_dragImage)
        return;
    CPoint screen(point);
    ClientToScreen(&screen);
    CRect image;
    m_dragImage->GetWindowRect(&image);
    m_dragImage->SetWindowPos(&CWnd::wndTop, screen.x - image.Width() / 2, screen.y - image.Height() / 2, 0, 0,
                              SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    int order = -1;
    const int item = ItemAt(point, &order);
    int divider = -1;
    CRect client;
    GetClientRect(&client);
    if (item >= 0 && client.PtInRect(point)) {
        CRect r;
        GetItemRect(item, &r);
        divider = odheader::DividerAt(point.x, order, r.left, r.right);
        ::SetCursor(::LoadCursor(NULL, IDC_ARROW));
        m_dropZone = DropOverHeader;
    } else if (GetItemFlags(m_pressedItem) & odheader::kExNotRemovable) {
        ::SetCursor(::LoadCursor(NULL, IDC_NO));
        m_dropZone = DropNotRemovable;
    } else if (m_dropAreaRect.PtInRect(screen)) {
        ::SetCursor(::LoadCursor(NULL, IDC_ARROW));
        m_dropZone = DropOverArea;
    } else {
        HCURSOR cursor = m_dragCursorId ? ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(m_dragCursorId)) : NULL;
        ::SetCursor(cursor ? cursor : ::LoadCursor(NULL, IDC_NO));
        m_dropZone = DropElsewhere;
    }
    if (divider == m_pressedOrder || divider == m_pressedOrder + 1)
        divider = -1;
    if (divider != m_hotDivider)
        SetHotDividerValue(divider);
}

void CODHeaderCtrl::OnButtonUp(CPoint point)
{
    if (m_columnDragging) {
        const LRESULT veto = NotifyParent(HDN_ENDDRAG, 0);
        if (veto == 0 && m_hotDivider >= 0) {
            const std::vector<int> order = odheader::Reorder(DisplayOrder(), m_pressedOrder, m_hotDivider);
            ::SendMessageA(m_hWnd, HDM_SETORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
        }
        EndColumnDrag();
        return;
    }
    if (m_buttonHeld) {
        m_buttonHeld = FALSE;
        CRect r;
        GetItemRect(m_pressedItem, &r);
        InvalidateRect(&r, FALSE);
        // A plain click on a column, as the native control reports it.
        if (r.PtInRect(point))
            NotifyParent(HDN_ITEMCLICKA, 0);
    }
}

LRESULT CODHeaderCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case HDM_INSERTITEMA:
    case HDM_INSERTITEMW: {
        const size_t at = std::min(size_t(std::max<WPARAM>(0, wParam)), m_extras.size());
        m_extras.insert(m_extras.begin() + std::ptrdiff_t(at), ODHeaderItemEx());
        const LRESULT r = CHeaderCtrl::WindowProc(message, wParam, lParam);
        if (r < 0)
            m_extras.erase(m_extras.begin() + std::ptrdiff_t(at));
        return r;
    }
    case HDM_DELETEITEM:
        if (wParam < m_extras.size())
            m_extras.erase(m_extras.begin() + std::ptrdiff_t(wParam));
        break;
    case HDM_SETIMAGELIST: {
        int cx = 0, cy = 0;
        if (lParam && ::ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(lParam), &cx, &cy)) {
            m_imageWidth = cx;
            m_imageHeight = cy;
        }
        break;
    }
    case HDM_LAYOUT: {
        HDLAYOUT* layout = reinterpret_cast<HDLAYOUT*>(lParam);
        if (m_widenLayout && layout && layout->prc)
            layout->prc->right += 2 * ::GetSystemMetrics(SM_CXBORDER);
        const LRESULT r = CHeaderCtrl::WindowProc(message, wParam, lParam);
        if (m_fixedHeight > 0 && layout && layout->pwpos)
            layout->pwpos->cy = m_fixedHeight;
        if (m_autoFit && !m_resizing)
            FitColumns();
        return r;
    }
    case HDM_SETHOTDIVIDER: {
        if (!wParam)
            return SetHotDividerValue(int(lParam));
        CPoint p(short(LOWORD(lParam)), short(HIWORD(lParam)));
        ScreenToClient(&p);
        int order = -1;
        const int item = ItemAt(p, &order);
        int divider = -1;
        if (item >= 0) {
            CRect r;
            GetItemRect(item, &r);
            divider = odheader::DividerAt(p.x, order, r.left, r.right);
        }
        return SetHotDividerValue(divider);
    }
    case WM_SETFONT: {
        const LRESULT r = CHeaderCtrl::WindowProc(message, wParam, lParam);
        if (wParam)
            ::GetObjectA(reinterpret_cast<HFONT>(wParam), sizeof m_font, &m_font);
        return r;
    }
    case WM_SYSCOLORCHANGE:
        m_arrowLight = RGB(150, 128, 89);
        m_arrowDark = RGB(10, 2, 0);
        m_bkColour = ::GetSysColor(COLOR_BTNFACE);
        break;
    case WM_NCHITTEST: {
        const LRESULT r = CHeaderCtrl::WindowProc(message, wParam, lParam);
        CPoint p(short(LOWORD(lParam)), short(HIWORD(lParam)));
        ScreenToClient(&p);
        m_hotItem = ItemAt(p, &m_hotOrder);
        m_hotResizable = m_hotItem >= 0 && !(GetItemFlags(m_hotItem) & odheader::kExFixedWidth);
        return r;
    }
    case WM_SETCURSOR:
        if (m_hotItem >= 0 && !m_hotResizable && (m_hitFlags & (HHT_ONDIVIDER | HHT_ONDIVOPEN))) {
            ::SetCursor(::LoadCursor(NULL, IDC_ARROW));
            return TRUE;
        }
        break;
    case WM_LBUTTONDBLCLK: {
        const CPoint p(short(LOWORD(lParam)), short(HIWORD(lParam)));
        const int item = ItemAt(p);
        if (item >= 0 && (m_hitFlags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) &&
            (GetItemFlags(item) & odheader::kExFixedWidth))
            return 0;
        break;
    }
    case WM_LBUTTONDOWN:
        if (OnButtonDown(UINT(wParam), CPoint(short(LOWORD(lParam)), short(HIWORD(lParam)))))
            return 0;
        break;
    case WM_MOUSEMOVE:
        OnMove(UINT(wParam), CPoint(short(LOWORD(lParam)), short(HIWORD(lParam))));
        if (m_columnDragging || m_buttonHeld)
            return 0;
        break;
    case WM_LBUTTONUP: {
        if (m_resizing) {
            const LRESULT r = CHeaderCtrl::WindowProc(message, wParam, lParam);
            ::ClipCursor(NULL);
            m_resizing = FALSE;
            if (m_autoFit)
                FitColumnsFrom(m_pressedItem);
            return r;
        }
        if (m_columnDragging || m_buttonHeld) {
            OnButtonUp(CPoint(short(LOWORD(lParam)), short(HIWORD(lParam))));
            return 0;
        }
        break;
    }
    case WM_CANCELMODE:
        if (m_columnDragging || m_buttonHeld) {
            m_buttonHeld = FALSE;
            EndColumnDrag();
        }
        if (m_resizing) {
            ::ClipCursor(NULL);
            m_resizing = FALSE;
        }
        break;
    case WM_NOTIFY: {
        NMHDR* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr && (hdr->code == TTN_NEEDTEXTA || hdr->code == TTN_NEEDTEXTW) && hdr->idFrom == UINT_PTR(ToolId)) {
            const std::string tip =
                m_hotItem >= 0 && m_hotItem < int(m_extras.size()) ? m_extras[size_t(m_hotItem)].tooltip : "";
            if (tip.empty())
                return 0;
            // Into the reply's own 80-character buffer, cut and terminated there.
            if (hdr->code == TTN_NEEDTEXTW) {
                NMTTDISPINFOW* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
                const int n = ::MultiByteToWideChar(CP_ACP, 0, tip.c_str(), int(tip.size()), NULL, 0);
                std::wstring wide(size_t(std::max(0, n)), L'\0');
                if (n > 0)
                    ::MultiByteToWideChar(CP_ACP, 0, tip.c_str(), int(tip.size()), &wide[0], n);
                const size_t copied = std::min<size_t>(wide.size(), 79);
                std::copy(wide.begin(), wide.begin() + std::ptrdiff_t(copied), info->szText);
                info->szText[copied] = 0;
                info->lpszText = info->szText;
            } else {
                NMTTDISPINFOA* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
                lstrcpynA(info->szText, tip.c_str(), 80);
                info->lpszText = info->szText;
            }
            return 0;
        }
        break;
    }
    default:
        break;
    }
    return CHeaderCtrl::WindowProc(message, wParam, lParam);
}

void CODHeaderCtrl::EndColumnDrag()
{
    if (m_dragImage && ::IsWindow(m_dragImage->m_hWnd))
        m_dragImage->DestroyWindow();  // deletes itself
    m_dragImage = nullptr;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    m_columnDragging = FALSE;
    m_buttonHeld = FALSE;
    SetHotDividerValue(-1);
    Invalidate(FALSE);
}
