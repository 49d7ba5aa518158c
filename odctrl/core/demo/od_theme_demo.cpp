// A window drawn with the default owner-draw theme, for looking at the theme
// and the drawing parts together (scripts/screenshot). It starts the library
// from "<program folder>\odctrls\Mardavel_skn.ini" as the program does and
// paints: a gradient client, skin frames, the push-button, check and radio
// cells, the combo drop buttons, an animated skin image, moving text with a
// link, and block-look and gradient progress bars.
#include "afxwin.h"

#include "ODDemoApp.h"
#include "ODDrawing.h"
#include "ODGradient.h"
#include "ODLibrary.h"
#include "ODProgressBlock.h"
#include "ODSkinFrame.h"
#include "ODSkinImage.h"
#include "ODTxtMov.h"

namespace {

const UINT kTextTimer = 1;
const UINT kBusyTimer = 2;

// A skin frame filled from a theme section's "Edge*Img" keys.
void LoadFrame(CODSkinFrame& frame, LPCSTR section)
{
    static const char* const kKeys[CODSkinFrame::ImageCount] = {
        "EdgeLeftImg",    "EdgeRightImg",    "EdgeTopImg",        "EdgeBottomImg",
        "EdgeLeftTopImg", "EdgeRightTopImg", "EdgeLeftBottomImg", "EdgeRightBottomImg"};
    for (int i = 0; i < CODSkinFrame::ImageCount; ++i) {
        char value[128];
        ODGetThemeString(section, kKeys[i], "", value, sizeof value);
        ODLoadThemeSkinImage(value, &frame.GetImage(i));
    }
    frame.SetColor(ODGetThemeColor(section, "BorderColor", RGB(90, 130, 190)), 0);
    const int w = static_cast<int>(ODGetThemeColor(section, "BorderWidth", 2));
    const int widths[4] = {w, w, w, w};
    frame.SetBorderWidths(NULL, widths);
}

class CDemoWnd : public CWnd
{
public:
    CDemoWnd() : m_text(this, kTextTimer, TRUE), m_busy(this, kBusyTimer, TRUE) {}
    ~CDemoWnd() override
    {
        DeleteObject(m_dropIn);
        DeleteObject(m_dropOut);
    }

    BOOL CreateDemo()
    {
        if (!oddemo::CreateDemoWindow(*this, "Owner-draw theme", 560, 400, NULL, WS_MINIMIZEBOX))
            return FALSE;
        LoadFrame(m_frame, "ODStatic");
        LoadFrame(m_panelFrame, "ODProgress");
        m_client.SetMode(CODGradient::TopToBottom);
        m_client.SetColors(ODGetThemeColor("ODDialog", "ClientStartColor", RGB(235, 240, 250)),
                           ODGetThemeColor("ODDialog", "ClientEndColor", RGB(200, 215, 240)));
        m_bar.SetColors(ODGetThemeColor("ODProgress", "BarStartColor", RGB(60, 150, 60)),
                        ODGetThemeColor("ODProgress", "BarEndColor", RGB(150, 220, 120)));
        ODLoadThemeSkinImage("0,120,0,4,4,1,0", &m_button);
        ODLoadThemeSkinImage("0,122,0,1,1,1,0", &m_checked);
        ODLoadThemeSkinImage("0,123,0,1,1,1,0", &m_unchecked);
        ODLoadThemeSkinImage("0,124,0,1,1,1,0", &m_radioed);
        ODLoadThemeSkinImage("0,125,0,1,1,1,0", &m_unradioed);
        char busy[128];
        ODGetThemeString("ODWaitDlg", "Image", "", busy, sizeof busy);
        ODLoadThemeSkinImage(busy, &m_busy);
        m_busy.StartAnimation();
        m_dropIn = ODGetThemeImage(130, "GIF");
        m_dropOut = ODGetThemeImage(131, "GIF");

        m_blocks.ApplyDefaults("ODProgress", FALSE);
        m_pens.ApplyDefaults("ODProgress", FALSE);
        m_pens.SetMode(CODProgressBlock::ModePen);
        m_vertical.SetVertical(TRUE);
        m_vertical.ApplyDefaults("ODProgress", TRUE);

        LOGFONT lf = {};
        lf.lfHeight = -15;
        lf.lfWeight = FW_NORMAL;
        strcpy(lf.lfFaceName, "Tahoma");
        m_text.SetFont(&lf);
        m_text.ApplyDefaultColors();
        m_text.SetMarkup(
            "<TR Align=CENTER><TD>Owner-draw theme: Mardavel_skn.ini + Kelvarin.dll</TD></TR>"
            "<TR Pos=6><TD>Moving text with a </TD><TD href=http://www.example.cn ToolTip=link>link</TD>"
            "<TD> and a colour </TD><TD TextColor=200,40,40>cell</TD></TR>"
            "<TR Pos=6 MovingPos=-1.5 MaxOffset=40><TD>*** This row runs to the left and comes round again ***</TD></TR>");
        m_text.EnableMoving(TRUE);
        return TRUE;
    }

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    afx_msg void OnPaint()
    {
        CPaintDC paint(this);
        CRect client;
        GetClientRect(&client);
        CODBackDC dc(&paint, &client, FALSE);
        m_client.Draw(&dc, client);
        m_frame.Draw(&dc, client, 0);

        // Moving text in a framed panel.
        const CRect panel(20, 16, 520, 100);
        m_panelFrame.Draw(&dc, panel, 0);
        const CRect text(panel.left + 8, panel.top + 6, panel.right - 8, panel.bottom - 6);
        CRgn clip;
        clip.CreateRectRgnIndirect(&text);
        dc.SelectClipRgn(&clip);
        m_text.Draw(&dc, text);
        dc.SelectClipRgn(NULL);

        // Skin images: the push button's four states, check and radio cells,
        // the drop buttons and the animated busy image.
        int x = 24;
        for (int state = 0; state < 4; ++state, x += 34)
            m_button.Draw(&dc, CRect(x, 116, x + 24, 138), state);
        m_checked.Draw(&dc, CRect(170, 120, 183, 133), 0);
        m_unchecked.Draw(&dc, CRect(190, 120, 203, 133), 0);
        m_radioed.Draw(&dc, CRect(210, 120, 223, 133), 0);
        m_unradioed.Draw(&dc, CRect(230, 120, 243, 133), 0);
        ODDrawBitmapInRect(&dc, CRect(256, 118, 272, 134), m_dropOut, OD_DRAW_PLAIN);
        ODDrawBitmapInRect(&dc, CRect(278, 118, 294, 134), m_dropIn, OD_DRAW_PLAIN);
        m_busy.Draw(&dc, CRect(306, 118, 322, 134), 0);
        m_button.SetDrawMode(CODSkinImage::DrawStretch);
        m_button.Draw(&dc, CRect(340, 112, 420, 142), 1);
        m_button.SetDrawMode(CODSkinImage::DrawPlain);

        // Progress bars: image blocks, pen blocks, a gradient bar, a vertical one.
        DrawBar(dc, m_blocks, CRect(24, 160, 244, 176), 0.45);
        DrawBar(dc, m_pens, CRect(24, 196, 244, 212), 0.70);
        const CRect smooth(24, 232, 244, 248);
        dc.FillSolidRect(smooth, RGB(255, 255, 255));
        m_bar.Draw(&dc, CRect(smooth.left, smooth.top, smooth.left + smooth.Width() * 6 / 10, smooth.bottom));
        m_panelFrame.Draw(&dc, CRect(smooth.left - 4, smooth.top - 4, smooth.right + 4, smooth.bottom + 4), 0);
        DrawBar(dc, m_vertical, CRect(280, 160, 296, 330), 0.3);

        // A gradient of several stops, turned by an offset.
        CODGradient rainbow;
        rainbow.SetColorList(4, RGB(230, 180, 40), RGB(90, 130, 190), RGB(60, 150, 60), RGB(230, 180, 40));
        rainbow.Draw(&dc, CRect(330, 160, 520, 330), 0, -1, 40);
        m_panelFrame.Draw(&dc, CRect(326, 156, 524, 334), 0);
    }
    void DrawBar(CDC& dc, CODProgressBlock& block, const CRect& bar, double fraction)
    {
        dc.FillSolidRect(bar, RGB(255, 255, 255));
        block.Draw(&dc, bar, fraction);
        m_panelFrame.Draw(&dc, CRect(bar.left - 4, bar.top - 4, bar.right + 4, bar.bottom + 4), 0);
    }
    afx_msg void OnTimer(UINT_PTR id)
    {
        if (id == kTextTimer)
            m_text.OnTick();
        else if (id == kBusyTimer)
            m_busy.AdvanceFrame();
    }
    afx_msg void OnMouseMove(UINT, CPoint point)
    {
        m_text.SetMousePos(TRUE, point);
    }
    afx_msg void OnDestroy()
    {
        m_text.EnableMoving(FALSE);
        m_busy.StopAnimation(FALSE);
    }
    DECLARE_MESSAGE_MAP()

    CODSkinFrame m_frame, m_panelFrame;
    CODGradient m_client, m_bar;
    CODTxtMov m_text;
    CODSkinImage m_busy, m_button, m_checked, m_unchecked, m_radioed, m_unradioed;
    HBITMAP m_dropIn = NULL, m_dropOut = NULL;
    CODProgressBlock m_blocks, m_pens, m_vertical;
};

BEGIN_MESSAGE_MAP(CDemoWnd, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_MOUSEMOVE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return oddemo::RunWindowDemo<CDemoWnd>();
}
