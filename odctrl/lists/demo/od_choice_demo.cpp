// A list box in a skinned-bar container, a tab control whose tabs overflow
// (its arrows taken over by the skinned spin), a spin control with a buddy
// edit and two combo boxes, one a drop-down list showing its choice on its
// face, the other with its drop-down open, for looking at them
// (scripts/screenshot). It starts the
// library from "<program folder>\odctrls\Mardavel_skn.ini" as the program
// does. The tab control's drawing hooks are empty in the library; the demo's
// own class draws plain tabs with the control's colours.
#include "afxwin.h"

#include <string>

#include "ODComboBox.h"
#include "ODDemoApp.h"
#include "ODListBox.h"
#include "ODSBContainerWnd.h"
#include "ODTabCtrl.h"

namespace {

class CDemoTabs : public CODTabCtrl
{
public:
    void DrawItem(LPDRAWITEMSTRUCT di) override
    {
        CDC* dc = CDC::FromHandle(di->hDC);
        const bool selected = (di->itemState & ODS_SELECTED) != 0;
        CRect r(di->rcItem);
        if (selected)
            r.InflateRect(0, 2, 0, 1);
        dc->FillSolidRect(&r, GetColor(selected ? ColSelTab : ColBackTab));
        char text[64] = {};
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(m_hWnd, TCM_GETITEMA, di->itemID, reinterpret_cast<LPARAM>(&item));
        dc->SetBkMode(TRANSPARENT);
        dc->SetTextColor(GetColor(selected ? ColTabText : ColBackTabText));
        dc->DrawText(text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    void DrawItemFrame(LPDRAWITEMSTRUCT di) override
    {
        CDC* dc = CDC::FromHandle(di->hDC);
        CRect r(di->rcItem);
        if (di->itemState & ODS_SELECTED)
            r.InflateRect(0, 2, 0, 1);
        CBrush border(GetColor(ColBorder));
        dc->FrameRect(&r, &border);
    }
    void DrawPage(LPDRAWITEMSTRUCT di) override
    {
        CDC* dc = CDC::FromHandle(di->hDC);
        CRect r(di->rcItem);
        dc->FillSolidRect(&r, GetColor(ColSelTab));
        CBrush border(GetColor(ColBorder));
        dc->FrameRect(&r, &border);
    }
};

// Three 16 x 16 squares: red, green, blue.
HBITMAP MakeSquares()
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 48;
    bi.bmiHeader.biHeight = -16;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    DWORD* bits = nullptr;
    HBITMAP b = CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), NULL, 0);
    static const DWORD kColours[3] = {0xD03030, 0x30A030, 0x3050D0};
    for (int y = 0; b && y < 16; ++y)
        for (int x = 0; x < 48; ++x)
            bits[y * 48 + x] = (x % 16 < 2 || x % 16 > 13 || y < 2 || y > 13) ? 0xFFFFFF : kColours[x / 16];
    return b;
}

class CDemoWnd : public CWnd
{
public:
    BOOL CreateDemo()
    {
        if (!oddemo::CreateDemoWindow(*this, "List box, tabs, spin and combos", 560, 360,
                                      reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
            return FALSE;
        // The list box: 40 entries in the skinned bars, a few with pictures.
        if (!m_container.Create(CRect(10, 10, 230, 250), this, 1))
            return FALSE;
        if (!m_list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 220, 240), &m_container, 2))
            return FALSE;
        m_container.SetHostedChild(&m_list);
        m_list.SetItemHeight(0, 18);
        CImageList images;
        images.Create(16, 16, ILC_COLOR32, 3, 0);
        HBITMAP squares = MakeSquares();
        images.Add(CBitmap::FromHandle(squares), RGB(255, 255, 255));
        m_list.SetImageList(&images);
        ::DeleteObject(squares);
        m_list.SetIndent(4);
        for (int i = 0; i < 40; ++i) {
            const std::string text = "Table " + std::to_string(i + 1) + (i % 3 == 0 ? "  (five seats)" : "");
            ODLBITEM item = {0, text.c_str(), DWORD(i), 0, ODLB_TEXT | (i % 4 == 1 ? ODLB_IMAGE : 0u), i % 3,
                             ODLB_IMAGE_BESIDE};
            m_list.InsertItem(i, item);
        }
        m_list.SetCurSel(3);
        m_list.SetTopIndex(2);
        // The pointer resting on the fifth row: that row is highlighted.
        CRect row;
        m_list.GetItemRect(5, &row);
        const CPoint pos = m_list.GetDeviceScrollPosition();
        m_list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(20, row.top - pos.y + 4));

        // Tabs that do not fit: the system's arrows become the skinned spin.
        if (!m_tabs.Create(WS_CHILD | WS_VISIBLE, CRect(245, 10, 540, 120), this, 3))
            return FALSE;
        static const char* const kTabs[] = {"Rules", "Seats", "Scores", "Chat", "Sound", "Pictures", "Network"};
        for (int i = 0; i < 7; ++i)
            m_tabs.InsertItem(i, kTabs[i]);
        m_tabs.SetCurSel(1);
        m_tabs.SetDrawMode(1);

        // A spin control with its buddy: 1..99, at 42.
        if (!m_edit.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_NUMBER, CRect(245, 140, 305, 164),
                             this, 4))
            return FALSE;
        if (!m_spin.Create(WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT, CRect(305, 140, 325, 164), this,
                           5))
            return FALSE;
        m_spin.SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(m_edit.m_hWnd), 0);
        m_spin.SetRange32(1, 99);
        m_spin.SetPos32(42);

        // Two combos: a drop-down list with its choice on the face, and an
        // editable one whose list is open below it.
        static const char* const kRooms[] = {"Beginners", "Five seats", "Tournament", "Night owls", "Friends",
                                             "Quick games", "Veterans", "Open table"};
        if (!m_pick.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | CBS_DROPDOWNLIST, CRect(245, 185, 445, 207), this, 6))
            return FALSE;
        if (!m_room.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(245, 220, 445, 242), this, 7))
            return FALSE;
        for (const char* room : kRooms) {
            m_pick.AddString(room);
            m_room.AddString(room);
        }
        m_pick.SetCurSel(1);
        m_room.SetCurSel(2);
        m_room.SetDroppedHeight(110);
        UpdateWindow();
        m_room.ToggleDropDown(FALSE);
        // The pointer resting on the fourth row of the open list.
        CODListBox* rooms = m_room.GetListBox();
        CRect roomRow;
        rooms->GetItemRect(3, &roomRow);
        const CPoint roomPos = rooms->GetDeviceScrollPosition();
        rooms->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(20, roomRow.top - roomPos.y + 4));
        return TRUE;
    }

private:
    CSBContainerWnd m_container;
    CODListBox m_list;
    CDemoTabs m_tabs;
    CWnd m_edit;
    CODSpinButtonCtrl m_spin;
    CODComboBox m_pick;
    CODComboBox m_room;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    oddemo::ThemeLibrary library;
    if (!library.Started())
        return oddemo::kExitNoLibrary;
    CDemoWnd wnd;
    if (!wnd.CreateDemo())
        return oddemo::kExitNoWindow;
    // The combos take their keys in PreTranslateMessage.
    return oddemo::RunMessageLoop(wnd.m_hWnd, oddemo::Dispatch::PreTranslate);
}
