// ODMsgDlg.cpp - the library's message box.
#include "ODMsgDlg.h"

#include <stdlib.h>
#include <string.h>

#include <algorithm>

#include "ODLibrary.h"

namespace {

const char kSection[] = "ODMsgDlg";
const char* const kTextKeys[CODMsgDlg::TextCount] = {
    "MB_ICONWARNING", "MB_ICONINFORMATION", "MB_ICONQUESTION", "MB_ICONSTOP", "MB_ABORTRETRYIGNORE",
    "MB_OKCANCEL",    "MB_RETRYCANCEL",     "MB_YESNO",        "MB_YESNOCANCEL", "MB_OK"};
const char kResourceError[] = "\xB6\xD4\xBB\xB0\xBF\xF2\xD7\xCA\xD4\xB4\xB4\xED\xCE\xF3";  // 对话框资源错误

const ODThemeLoaderRegistration s_loader(OD_LOADER_MSGDLG, &CODMsgDlg::LoadTheme);

int PlainMessageBox(LPCSTR text) { return AfxMessageBox(text); }

int TextIndex(LPCSTR key)
{
    for (int i = 0; i < CODMsgDlg::TextCount; ++i)
        if (strcmp(kTextKeys[i], key) == 0)
            return i;
    return CODMsgDlg::TextIconWarning;
}

}  // namespace

int (*CODMsgDlg::s_plainMessageBox)(LPCSTR) = &PlainMessageBox;

LPCSTR CODMsgDlg::TextKey(int index) { return kTextKeys[(index >= 0 && index < TextCount) ? index : 0]; }

CODMsgDlg::Defaults& CODMsgDlg::ClassDefaults()
{
    static Defaults d = [] {
        Defaults v = {};
        v.buttonIds[0] = 1;
        v.buttonIds[1] = 2;
        v.buttonIds[2] = 6;
        v.buttonIds[3] = 7;
        return v;
    }();
    return d;
}

void CODMsgDlg::LoadTheme()
{
    Defaults& d = ClassDefaults();
    d.imageId = static_cast<int>(ODGetThemeColor(kSection, "ImageID", d.imageId));
    d.textId = static_cast<int>(ODGetThemeColor(kSection, "TextID", d.textId));
    d.dialogId = static_cast<int>(ODGetThemeColor(kSection, "DialogID", d.dialogId));
    const char* const buttonKeys[odbox::kMaxButtons] = {"Btn1ID", "Btn2ID", "Btn3ID", "Btn4ID"};
    for (int i = 0; i < odbox::kMaxButtons; ++i)
        d.buttonIds[i] = static_cast<int>(ODGetThemeColor(kSection, buttonKeys[i], d.buttonIds[i]));
    for (int i = 0; i < TextCount; ++i) {
        char value[kTextSize];
        ODGetThemeString(kSection, kTextKeys[i], d.texts[i], value, sizeof value);
        memcpy(d.texts[i], value, sizeof value);
        d.texts[i][kTextSize - 1] = 0;
    }
}

CODMsgDlg::CODMsgDlg(LPCSTR text, LPCSTR caption, UINT style, int timeout, BOOL moving, CWnd* pParent)
    : m_caption(caption ? caption : ""), m_message(text ? text : ""), m_style(style), m_timeout(timeout),
      m_template(NULL), m_centre(TRUE), m_countdown(timeout), m_moving(moving)
{
    const Defaults& d = ClassDefaults();
    m_iconId = d.imageId;
    m_textId = d.textId;
    m_templateId = d.dialogId;
    memcpy(m_buttonIds, d.buttonIds, sizeof m_buttonIds);
    memcpy(m_texts, d.texts, sizeof m_texts);
    m_buttons = odbox::ButtonsOf(style);
    odbox::ApplyThemeCaptions(m_texts[TextIndex(m_buttons.themeKey)], &m_buttons);
    if (m_templateId > 0) {
        m_template = ODGetThemeDialog(static_cast<UINT>(m_templateId));
        if (m_template)
            InitModalIndirect(static_cast<LPCDLGTEMPLATE>(m_template), pParent);
    }
    m_pParentWnd = pParent;
}

CODMsgDlg::~CODMsgDlg()
{
    if (m_hWnd)
        DestroyWindow();
    free(m_template);
}

INT_PTR CODMsgDlg::DoModal()
{
    if (m_templateId == 0) {
        s_plainMessageBox(kResourceError);
        return ResultNoTemplate;
    }
    if (!m_template)
        return ResultNoTemplate;
    return CODDialog::DoModal();
}

CString CODMsgDlg::SetButtonCaption(int index, LPCSTR caption)
{
    if (index < 0 || index >= odbox::kMaxButtons)
        return CString();
    const CString old(m_buttons.captions[index].c_str());
    m_buttons.captions[index] = caption ? caption : "";
    if (m_buttonCtrls[index].m_hWnd)
        m_buttonCtrls[index].SetWindowText(m_buttons.captions[index].c_str());
    return old;
}

CString CODMsgDlg::GetButtonCaption(int index) const
{
    if (index < 0 || index >= odbox::kMaxButtons)
        return CString();
    return CString(m_buttons.captions[index].c_str());
}

int CODMsgDlg::GetButtonResult(int index) const
{
    return (index >= 0 && index < odbox::kMaxButtons) ? m_buttons.results[index] : 0;
}

void CODMsgDlg::DoDataExchange(CDataExchange* pDX)
{
    CODDialog::DoDataExchange(pDX);
    // Items a theme's template lacks are left out rather than failing the box.
    const auto bind = [&](int id, CWnd& control) {
        if (id > 0 && ::GetDlgItem(m_hWnd, id))
            DDX_Control(pDX, id, control);
    };
    bind(m_iconId, m_icon);
    bind(m_textId, m_textStatic);
    for (int i = 0; i < odbox::kMaxButtons; ++i)
        bind(m_buttonIds[i], m_buttonCtrls[i]);
}

void CODMsgDlg::ShowCaption()
{
    m_shownCaption = m_timeout > 0 ? odbox::CountdownCaption(m_countdown, static_cast<LPCSTR>(m_caption)).c_str()
                                   : static_cast<LPCSTR>(m_caption);
    SetWindowText(m_shownCaption);
}

BOOL CODMsgDlg::OnInitDialog()
{
    CODDialog::OnInitDialog();

    // Buttons: captions, the row's width and height; the rest hidden.
    odbox::Size sizes[odbox::kMaxButtons];
    const int count = std::min(m_buttons.count, static_cast<int>(odbox::kMaxButtons));
    for (int i = 0; i < odbox::kMaxButtons; ++i) {
        CODButton& b = m_buttonCtrls[i];
        if (!b.m_hWnd)
            continue;
        if (i < count) {
            b.SetWindowText(m_buttons.captions[i].c_str());
            CRect r;
            b.GetClientRect(&r);
            sizes[i].cx = r.Width();
            sizes[i].cy = r.Height();
        } else {
            b.ShowWindow(SW_HIDE);
            b.EnableWindow(FALSE);
        }
    }
    const int focus = odbox::DefaultButton(m_style, count);
    if (m_buttonCtrls[focus].m_hWnd)
        GotoDlgCtrl(&m_buttonCtrls[focus]);

    // The icon of the style's class, kept as the static's own image.
    const char* iconText = m_texts[TextIndex(odbox::IconKey(m_style))];
    if (m_icon.m_hWnd) {
        m_icon.SetBkImage(iconText);
        m_icon.SetText("");
        const int none[4] = {0, 0, 0, 0};
        m_icon.SetBorderWidths(NULL, none);
        m_icon.SetBkMode(CODStatic::BkImage);
    }
    if (m_style & MB_SETFOREGROUND)
        SetForegroundWindow();
    if (m_caption.IsEmpty())
        m_caption = AfxGetAppName() ? AfxGetAppName() : "";
    ShowCaption();
    if (m_timeout > 0)
        SetTimer(TimerCountdown, 1000, NULL);
    if (m_textStatic.m_hWnd) {
        const int none[4] = {0, 0, 0, 0};
        m_textStatic.SetBorderWidths(NULL, none);
        m_textStatic.SetBkMode(CODStatic::BkParent);
        m_textStatic.SetText(m_message);
    }

    CSize iconSize(0, 0), textSize(0, 0);
    if (m_icon.m_hWnd)
        m_icon.AutoSize(iconSize, 0);
    if (m_textStatic.m_hWnd)
        m_textStatic.AutoSize(textSize, 1);
    int captionWidth = 0;
    {
        CClientDC dc(this);
        captionWidth = CODTitleBar::GetMinWidth(&dc);
    }
    const odbox::Size icon = {iconSize.cx, iconSize.cy};
    const odbox::Size text = {textSize.cx, textSize.cy};
    const odbox::MessageLayout l = odbox::LayoutMessage(icon, text, sizes, count, captionWidth, m_centre != FALSE);
    const auto place = [](CWnd& w, const odbox::Rect& r) {
        if (w.m_hWnd)
            w.SetWindowPos(NULL, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(m_icon, l.icon);
    place(m_textStatic, l.text);
    for (int i = 0; i < count; ++i)
        place(m_buttonCtrls[i], l.buttons[i]);

    // The client area becomes the layout's, the top-left corner stays.
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    ::SetWindowPos(m_hWnd, NULL, 0, 0, window.Width() - client.Width() + l.client.cx,
                   window.Height() - client.Height() + l.client.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    if (m_icon.m_hWnd) {
        m_icon.GetBkImage().SetInterval(300);
        m_icon.GetBkImage().StartAnimation();
    }
    if (m_moving && m_textStatic.m_hWnd)
        m_textStatic.GetTxtMov().EnableMoving(TRUE);

    // Centred over the application's main window (else the desktop).
    CWnd* main = AfxGetMainWnd();
    CRect area;
    if (main && main->GetSafeHwnd() && main->m_hWnd != m_hWnd)
        main->GetWindowRect(&area);
    else
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(&window);
    ::SetWindowPos(m_hWnd, NULL, area.left + (area.Width() - window.Width()) / 2,
                   area.top + (area.Height() - window.Height()) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return FALSE;  // the default button has the focus
}

BOOL CODMsgDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const int count = std::min(m_buttons.count, static_cast<int>(odbox::kMaxButtons));
    for (int i = 0; i < count; ++i)
        if (m_buttonIds[i] == id && m_buttonCtrls[i].m_hWnd) {
            EndDialog(m_buttons.results[i]);
            return TRUE;
        }
    return CODDialog::OnCommand(wParam, lParam);
}

void CODMsgDlg::OnCancel() { EndDialog(ResultCancel); }

BOOL CODMsgDlg::PreTranslateMessage(MSG* pMsg)
{
    // Esc cancels even when a shown button has the id IDCANCEL.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE &&
        (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
        OnCancel();
        return TRUE;
    }
    return CODDialog::PreTranslateMessage(pMsg);
}

LRESULT CODMsgDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        OnCancel();
        return 0;
    }
    if (message == WM_TIMER && wParam == TimerCountdown) {
        --m_countdown;
        if (m_countdown <= 0) {
            KillTimer(TimerCountdown);
            EndDialog(ResultTimeout);
        }
        ShowCaption();
        SendMessage(WM_NCPAINT, 1, 0);
    }
    return CODDialog::WindowProc(message, wParam, lParam);
}

int ODMessageBox(LPCSTR text, LPCSTR caption, UINT style, int timeout, BOOL moving, CWnd* pParent)
{
    CODMsgDlg dialog(text, caption, style, timeout, moving, pParent);
    return static_cast<int>(dialog.DoModal());
}
