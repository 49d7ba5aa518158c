// An owner-draw dialog with its caption bar and controls, and the skinned
// pop-up menu opened over it with pictures in its entries and a sub-menu
// open (scripts/screenshot OUT.png 6 build/x64/bin/od_dialog_demo.exe).
// With the argument "system" the owner-draw system menu (OrnMenu) drops
// down instead, with images, a checked entry and accelerator texts; with
// "plain" no menu opens. It
// starts the library from "<program folder>\odctrls\Mardavel_skn.ini" as
// the program does; the pictures are the generated theme's.
#include "afxwin.h"

#include "ODButton.h"
#include "ODDemoApp.h"
#include "ODDialog.h"
#include "ODMenu.h"
#include "ODProgressCtrl.h"
#include "ODStatic.h"
#include "OrnMenu.h"

namespace {

const UINT kOpenMenuTimer = 9;

class CDemoDialog : public CODDialog
{
public:
    bool m_systemMenu = false;
    bool m_noMenu = false;

protected:
    BOOL OnInitDialog() override
    {
        CODDialog::OnInitDialog();
        LOGFONT lf = {};
        lf.lfHeight = -13;
        lf.lfWeight = FW_NORMAL;
        strcpy(lf.lfFaceName, "Tahoma");
        m_deal.Create("Deal", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, CRect(20, 150, 96, 174), this, 1);
        m_pass.Create("Pass", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(110, 150, 186, 174), this, 2);
        m_sounds.Create("Play sounds", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(20, 110, 180, 130), this, 3);
        for (CODButton* b : {&m_deal, &m_pass, &m_sounds})
            b->SetFont(lf, FALSE);
        m_sounds.SetCheck(1);
        m_note.Create("Owner-draw dialog: its own frame and caption", WS_CHILD | WS_VISIBLE, CRect(20, 20, 380, 44),
                      this, 10);
        m_note.SetBkMode(CODStatic::BkParent);
        m_note.SetFont(lf);
        m_bar.Create(WS_CHILD | WS_VISIBLE, CRect(20, 60, 380, 80), this, 11);
        m_bar.SetRange(0, 100);
        m_bar.SetPos(70);
        if (!m_noMenu)
            SetTimer(kOpenMenuTimer, 700, NULL);
        return TRUE;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        // The demo's commands have no handlers: the menu's items are not greyed for it.
        if (message == WM_INITMENUPOPUP) {
            const LRESULT r = CODDialog::WindowProc(message, wParam, lParam);
            HMENU popup = reinterpret_cast<HMENU>(wParam);
            for (int i = 0; i < GetMenuItemCount(popup); ++i)
                EnableMenuItem(popup, static_cast<UINT>(i), MF_BYPOSITION | MF_ENABLED);
            return r;
        }
        if (message == WM_TIMER && wParam == kOpenMenuTimer) {
            KillTimer(kOpenMenuTimer);
            if (m_systemMenu)
                DropSystemMenu();
            else
                OpenSkinnedMenu();
            return 0;
        }
        return CODDialog::WindowProc(message, wParam, lParam);
    }

    void OpenSkinnedMenu()
    {
        m_menu.Create(this, 1);
        m_menu.AddItem("Deal again", 101, "Deal the cards of a new hand");
        m_menu.AddItem("Take a hint", 102);
        m_menu.AddItem("", 0);
        m_menu.AddItem("Card size", 103);
        m_menu.AddItem("Leave the table", 104);
        m_menu.SetItemChecked(1, TRUE);
        // Entry pictures from the theme: the check box and the radio pictures.
        m_menu.SetItemImage(0, 0, "0,122,-1,1,1,1,0");
        m_menu.SetItemImage(4, 0, "0,124,-1,1,1,1,0");
        m_sub = new CODMenu;
        m_sub->Create(this, 1, TRUE);
        m_sub->AddItem("Small cards", 201);
        m_sub->AddItem("Large cards", 202);
        m_sub->SetItemImage(1, 0, "0,122,-1,1,1,1,0");
        m_menu.AttachSubMenu(3, m_sub);
        CRect r;
        GetWindowRect(&r);
        m_menu.TrackPopup(0, r.left + 200, r.top + 90, this);
        for (int i = 0; i < 3; ++i)
            m_menu.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
        m_menu.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    }

    void DropSystemMenu()
    {
        OrnMenu::Styles().otherStyle = 0;
        OrnMenu* drop = m_ornMenu.AppendPopupW(L"Game");
        CImageList icons;
        icons.Create(OrnMenu::kImageWidth, OrnMenu::kImageHeight, ILC_COLOR32 | ILC_MASK, 0, 1);
        const COLORREF colours[2] = {RGB(200, 40, 40), RGB(40, 140, 60)};
        for (COLORREF c : colours) {
            CBitmap b;
            CClientDC dc(this);
            b.CreateCompatibleBitmap(&dc, OrnMenu::kImageWidth, OrnMenu::kImageHeight);
            CDC mem;
            mem.CreateCompatibleDC(&dc);
            CBitmap* old = mem.SelectObject(&b);
            mem.FillSolidRect(0, 0, OrnMenu::kImageWidth, OrnMenu::kImageHeight, RGB(255, 0, 255));
            mem.FillSolidRect(2, 2, OrnMenu::kImageWidth - 4, OrnMenu::kImageHeight - 4, c);
            mem.SelectObject(old);
            icons.Add(&b, RGB(255, 0, 255));
        }
        drop->AppendItemWithImageListW(L"&Deal again\tF2", 0, 301, &icons, 0);
        drop->AppendItemWithImageListW(L"Take a &hint\tCtrl+H", 0, 302, &icons, 1);
        drop->AppendItemW(L"", 0, 0);
        drop->AppendItemW(L"&Sounds", MF_CHECKED, 303);
        drop->AppendItemW(L"&Leave the table\tAlt+F4", 0, 304);
        CRect r;
        m_deal.GetWindowRect(&r);
        // The menu's owner is this dialog: its items are measured and drawn here.
        ::TrackPopupMenu(drop->m_hMenu, TPM_LEFTALIGN, r.left, r.bottom, 0, m_hWnd, NULL);
    }

    CODButton m_deal, m_pass, m_sounds;
    CODStatic m_note;
    CODProgressCtrl m_bar;
    CODMenu m_menu;
    CODMenu* m_sub = NULL;
    OrnMenu m_ornMenu;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmdLine, int)
{
    oddemo::ThemeLibrary library;
    if (!library.Started())
        return oddemo::kExitNoLibrary;
    // Caption buttons from the theme's push-button faces.
    CODTitleBar::Defaults& title = CODTitleBar::ClassDefaults();
    for (int i : {CODTitleBar::ImgMin, CODTitleBar::ImgMax, CODTitleBar::ImgClose, CODTitleBar::ImgRestore})
        strcpy(title.images[i], "0,121,-1,4,4,1,0");
    title.positions[CODTitleBar::PosClose] = {6, 0xFFFF};
    title.positions[CODTitleBar::PosMax] = {2, 0xFFFF};
    title.positions[CODTitleBar::PosMin] = {2, 0xFFFF};
    title.positions[CODTitleBar::PosText] = {10, 0xFFFF};
    title.startColour = RGB(40, 70, 120);
    title.endColour = RGB(140, 180, 230);
    CDemoDialog dialog;
    dialog.m_systemMenu = cmdLine && strstr(cmdLine, "system") != NULL;
    dialog.m_noMenu = cmdLine && strstr(cmdLine, "plain") != NULL;
    if (!oddemo::CreateDemoDialog(dialog, "Mardavel - table 7", 200, 100,
                                  WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_VISIBLE))
        return oddemo::kExitNoWindow;
    return oddemo::RunMessageLoop(dialog.m_hWnd);
}
