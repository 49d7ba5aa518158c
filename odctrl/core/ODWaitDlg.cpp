// ODWaitDlg.cpp - the library's wait box.
#include "ODWaitDlg.h"

#include <stdlib.h>
#include <string.h>

#include "ODBoxLayout.h"
#include "ODLibrary.h"

namespace {

const char kSection[] = "ODWaitDlg";
const char kCancelCaption[] = "\xC8\xA1\xCF\xFB";  // 取消
const int kImageInterval = 300;

const ODThemeLoaderRegistration s_loader(OD_LOADER_WAITDLG, &CODWaitDlg::LoadTheme);

}  // namespace

CODWaitDlg::Defaults& CODWaitDlg::ClassDefaults()
{
    static Defaults d = [] {
        Defaults v = {};
        v.buttonId = 2;
        return v;
    }();
    return d;
}

void CODWaitDlg::LoadTheme()
{
    Defaults& d = ClassDefaults();
    d.imageId = static_cast<int>(ODGetThemeColor(kSection, "ImageID", d.imageId));
    d.textId = static_cast<int>(ODGetThemeColor(kSection, "TextID", d.textId));
    d.progressId = static_cast<int>(ODGetThemeColor(kSection, "ProgressID", d.progressId));
    d.dialogId = static_cast<int>(ODGetThemeColor(kSection, "DialogID", d.dialogId));
    d.buttonId = static_cast<int>(ODGetThemeColor(kSection, "BtnID", d.buttonId));
    char value[kImageSize];
    ODGetThemeString(kSection, "Image", d.image, value, sizeof value);
    memcpy(d.image, value, sizeof value);
    d.image[kImageSize - 1] = 0;
    d.mode = static_cast<int>(ODGetThemeColor(kSection, "Mode", d.mode));
}

CODWaitDlg::CODWaitDlg()
    : m_cancelled(FALSE), m_imageIdSet(FALSE), m_textIdSet(FALSE), m_progressIdSet(FALSE), m_dialogIdSet(FALSE),
      m_buttonIdSet(FALSE), m_imageDescSet(FALSE), m_modeSet(FALSE), m_captioned(TRUE),
      m_buttonCaption(kCancelCaption), m_interval(0), m_centreText(TRUE), m_notify(NULL), m_template(NULL)
{
    const Defaults& d = ClassDefaults();
    m_imageId = d.imageId;
    m_textId = d.textId;
    m_progressId = d.progressId;
    m_dialogId = d.dialogId;
    m_buttonId = d.buttonId;
    memcpy(m_imageDesc, d.image, sizeof m_imageDesc);
    m_mode = d.mode;
}

CODWaitDlg::~CODWaitDlg()
{
    if (m_hWnd)
        DestroyWindow();
    free(m_template);
}

BOOL CODWaitDlg::CreateFromTheme(CWnd* pParent)
{
    if (m_hWnd || m_dialogId <= 0)
        return FALSE;
    free(m_template);
    m_template = ODGetThemeDialog(static_cast<UINT>(m_dialogId));
    if (!m_template)
        return FALSE;
    return CreateIndirect(static_cast<LPCDLGTEMPLATE>(m_template), pParent);
}

void CODWaitDlg::DoDataExchange(CDataExchange* pDX)
{
    CODDialog::DoDataExchange(pDX);
    const auto bind = [&](int id, CWnd& control) {
        if (id > 0 && ::GetDlgItem(m_hWnd, id))
            DDX_Control(pDX, id, control);
    };
    bind(m_imageId, m_image);
    bind(m_textId, m_textStatic);
    bind(m_progressId, m_progress);
    bind(m_buttonId, m_button);
}

void CODWaitDlg::LoadImage()
{
    if (m_image.m_hWnd)
        m_image.SetBkImage(m_imageDesc);
}

BOOL CODWaitDlg::OnInitDialog()
{
    if (m_captioned)
        ModifyStyle(0, WS_CAPTION);
    else
        ModifyStyle(WS_CAPTION, WS_BORDER);
    CODDialog::OnInitDialog();
    if (m_button.m_hWnd)
        m_button.SetWindowText(m_buttonCaption);
    LoadImage();
    if (m_progress.m_hWnd) {
        m_progress.SetRange32(0, 100);
        m_progress.SetPos(0);
        m_progress.SetPrgMode(1);
        m_progress.SetBarText("Waiting...");
        m_progress.ModifyFlags(0, 0x300);
        UpdateStep();
    }
    return TRUE;
}

void CODWaitDlg::ApplyTheme()
{
    CODDialog::ApplyTheme();
    const Defaults& d = ClassDefaults();
    if (!m_imageIdSet)
        m_imageId = d.imageId;
    if (!m_textIdSet)
        m_textId = d.textId;
    if (!m_progressIdSet)
        m_progressId = d.progressId;
    if (!m_dialogIdSet)
        m_dialogId = d.dialogId;
    if (!m_buttonIdSet)
        m_buttonId = d.buttonId;
    if (!m_modeSet && m_mode != d.mode) {
        m_mode = d.mode;
        UpdateStep();
    }
    if (!m_imageDescSet) {
        memcpy(m_imageDesc, d.image, sizeof m_imageDesc);
        if (m_image.m_hWnd) {
            m_image.GetBkImage().StopAnimation(TRUE);
            LoadImage();
            m_image.GetBkImage().SetInterval(kImageInterval);
            m_image.GetBkImage().StartAnimation();
        }
    }
}

int CODWaitDlg::SetMode(int mode)
{
    const int old = m_mode;
    m_mode = mode;
    m_modeSet = TRUE;
    UpdateStep();
    if (old != mode && m_hWnd)
        Invalidate(FALSE);
    return old;
}

void CODWaitDlg::UpdateStep()
{
    // A bar that runs down steps down, whenever its mode is set.
    if (m_progress.m_hWnd)
        m_progress.SetStep(m_mode == 1 ? -1 : 1);
}

namespace {

int SetId(int* field, BOOL* set, int value)
{
    const int old = *field;
    *field = value;
    *set = TRUE;
    return old;
}

}  // namespace

int CODWaitDlg::SetImageId(int id) { return SetId(&m_imageId, &m_imageIdSet, id); }
int CODWaitDlg::SetTextId(int id) { return SetId(&m_textId, &m_textIdSet, id); }
int CODWaitDlg::SetProgressId(int id) { return SetId(&m_progressId, &m_progressIdSet, id); }
int CODWaitDlg::SetButtonId(int id) { return SetId(&m_buttonId, &m_buttonIdSet, id); }

void CODWaitDlg::SetImageDescription(LPCSTR description)
{
    const size_t n = description ? strnlen(description, kImageSize - 1) : 0;
    if (n)
        memcpy(m_imageDesc, description, n);
    m_imageDesc[n] = 0;
    m_imageDescSet = TRUE;
    LoadImage();
}

void CODWaitDlg::Show(LPCSTR text, LPCSTR buttonCaption, int interval, LPCSTR title)
{
    if (!m_hWnd)
        return;
    if (text)
        m_text = text;
    if (buttonCaption)
        m_buttonCaption = buttonCaption;
    if (title)
        m_title = title;
    m_cancelled = FALSE;
    m_interval = interval;

    const int none[4] = {0, 0, 0, 0};
    CSize imageSize(0, 0), textSize(0, 0);
    if (m_image.m_hWnd) {
        m_image.SetBkMode(CODStatic::BkImage);
        m_image.SetBorderWidths(NULL, none);
        m_image.AutoSize(imageSize, 0);
    }
    if (m_textStatic.m_hWnd) {
        m_textStatic.SetBkMode(CODStatic::BkParent);
        m_textStatic.SetBorderWidths(NULL, none);
        m_textStatic.SetText(m_text);
        m_textStatic.AutoSize(textSize, 1);
    }
    odbox::WaitInput in;
    in.image = {imageSize.cx, imageSize.cy};
    in.text = {textSize.cx, textSize.cy};
    in.hasButton = !m_buttonCaption.IsEmpty() && m_button.m_hWnd;
    if (m_button.m_hWnd) {
        CRect r;
        m_button.GetWindowRect(&r);
        in.button = {r.Width(), r.Height()};
    }
    in.hasProgress = interval != 0 && m_progress.m_hWnd;
    if (m_progress.m_hWnd) {
        CRect client, window;
        m_progress.GetClientRect(&client);
        m_progress.GetWindowRect(&window);
        in.progressWidth = client.Width();
        in.progressHeight = window.Height();
    }
    SetWindowText(m_title);
    {
        CClientDC dc(this);
        in.captionWidth = CODTitleBar::GetMinWidth(&dc);
    }
    in.centreText = m_centreText != FALSE;
    const odbox::WaitLayout l = odbox::LayoutWait(in);

    const auto place = [](CWnd& w, const odbox::Rect& r) {
        w.SetWindowPos(NULL, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    };
    if (m_image.m_hWnd)
        place(m_image, l.image);
    if (m_textStatic.m_hWnd)
        place(m_textStatic, l.text);
    if (m_progress.m_hWnd) {
        if (in.hasProgress) {
            place(m_progress, l.progress);
            m_progress.ShowWindow(SW_SHOW);
        } else {
            m_progress.ShowWindow(SW_HIDE);
        }
    }
    if (m_button.m_hWnd) {
        if (in.hasButton) {
            place(m_button, l.button);
            m_button.SetWindowText(m_buttonCaption);
            m_button.ShowWindow(SW_SHOW);
        } else {
            m_button.ShowWindow(SW_HIDE);
        }
    }
    if (m_image.m_hWnd) {
        m_image.GetBkImage().SetInterval(kImageInterval);
        m_image.GetBkImage().StartAnimation();
    }
    KillTimer(TimerProgress);
    if (in.hasProgress && interval > 0)
        SetTimer(TimerProgress, static_cast<UINT>(interval), NULL);
    if (m_image.m_hWnd)
        m_image.Invalidate(FALSE);
    if (m_textStatic.m_hWnd)
        m_textStatic.Invalidate(FALSE);

    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    const int width = window.Width() - client.Width() + l.client.cx;
    const int height = window.Height() - client.Height() + l.client.cy;
    ::SetWindowPos(m_hWnd, NULL, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect desktop;
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    ::SetWindowPos(m_hWnd, NULL, desktop.left + (desktop.Width() - width) / 2,
                   desktop.top + (desktop.Height() - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    UpdateWindow();
    if (in.hasButton)
        m_button.SetFocus();
}

void CODWaitDlg::Hide()
{
    if (!m_hWnd)
        return;
    ShowWindow(SW_HIDE);
    KillTimer(TimerProgress);
}

BOOL CODWaitDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (static_cast<int>(LOWORD(wParam)) == m_buttonId) {
        m_cancelled = TRUE;
        CWnd* target = m_notify && m_notify->GetSafeHwnd() ? m_notify : GetParent();
        if (target && target->GetSafeHwnd())
            ::PostMessageA(target->m_hWnd, MsgCancelled, 0, 0);
        Hide();
        return TRUE;
    }
    return CODDialog::OnCommand(wParam, lParam);
}

LRESULT CODWaitDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == TimerProgress) {
        if (m_progress.m_hWnd) {
            int low = 0, high = 0;
            m_progress.GetRange(low, high);
            int pos = m_progress.GetPos();
            int step = m_progress.GetModel().step;
            odbox::ProgressTick(m_mode, low, high, &pos, &step);
            if (pos != m_progress.GetPos())
                m_progress.SetPos(pos);
            if (step != m_progress.GetModel().step)
                m_progress.SetStep(step);
            m_progress.StepIt();
        }
        return 0;
    }
    return CODDialog::WindowProc(message, wParam, lParam);
}
