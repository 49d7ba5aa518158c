// A window with the library's controls, for looking at them together
// (scripts/screenshot build/x64/bin/od_controls_demo.exe): push, check and
// radio buttons, statics (a gradient, a link, a framed text), progress bars
// (gradient with a two-colour percentage, reversed, block look, a loop), and
// a rich tooltip with mark-up over a generated background shown over the
// buttons. It starts the library from "<program folder>\odctrls\Mardavel_skn.ini"
// as the program does.
#include "afxwin.h"

#include "ODButton.h"
#include "ODDemoApp.h"
#include "ODGradient.h"
#include "ODProgressCtrl.h"
#include "ODStatic.h"
#include "ODTooltip.h"

namespace {

const UINT kShowTipTimer = 7;

class CDemoWnd : public CWnd
{
public:
    BOOL CreateDemo()
    {
        if (!oddemo::CreateDemoWindow(*this, "Owner-draw controls", 520, 380))
            return FALSE;
        LOGFONT lf = {};
        lf.lfHeight = -13;
        lf.lfWeight = FW_NORMAL;
        strcpy(lf.lfFaceName, "Tahoma");

        m_ok.Create("OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, CRect(20, 20, 96, 44), this, 1);
        m_cancel.Create("Cancel", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(120, 20, 196, 44), this, 2);
        m_check.Create("Play sounds", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(20, 65, 200, 85), this, 3);
        m_radioA.Create("Small cards", WS_CHILD | WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON, CRect(20, 90, 200, 110),
                        this, 4);
        m_radioB.Create("Large cards", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, CRect(20, 115, 200, 135), this, 5);
        for (CODButton* b : {&m_ok, &m_cancel, &m_check, &m_radioA, &m_radioB})
            b->SetFont(lf, FALSE);
        m_ok.SetFlat(FALSE);
        m_check.SetCheck(1);
        m_radioB.SetCheck(1);

        m_title.Create("Owner-draw static with a gradient", WS_CHILD | WS_VISIBLE, CRect(260, 20, 500, 50), this, 10);
        m_title.SetBkColor(RGB(250, 230, 160), RGB(200, 120, 40));
        m_title.SetFont(lf);
        m_link.Create("", WS_CHILD | WS_VISIBLE, CRect(260, 60, 500, 90), this, 11);
        m_link.SetText("<TR><TD>Rules: </TD><TD href=http://example.com/rules>open the rules page</TD></TR>");
        m_link.SetBkColor(RGB(240, 244, 252));
        m_link.SetFont(lf);
        m_framed.Create("A framed text", WS_CHILD | WS_VISIBLE, CRect(260, 100, 500, 135), this, 12);
        m_framed.SetBkColor(RGB(220, 240, 220), RGB(160, 210, 160));
        m_framed.SetFont(lf);

        m_bar.Create(WS_CHILD | WS_VISIBLE, CRect(20, 160, 500, 185), this, 20);
        m_bar.SetColor(RGB(40, 90, 200), CODProgressCtrl::ColorBarStart);
        m_bar.SetColor(RGB(120, 200, 255), CODProgressCtrl::ColorBarEnd);
        m_bar.SetColor(RGB(255, 255, 255), CODProgressCtrl::ColorBk);
        m_bar.SetColor(RGB(0, 0, 0), CODProgressCtrl::ColorText);
        m_bar.SetColor(RGB(255, 255, 0), CODProgressCtrl::ColorTextOnBar);
        m_bar.ApplyTheme();
        m_bar.ModifyFlags(odprog::kTextMask, odprog::kTextPercent);
        m_bar.SetBarText("Dealing");
        m_bar.SetPos(55);
        m_reversed.Create(WS_CHILD | WS_VISIBLE, CRect(20, 195, 500, 215), this, 21);
        m_reversed.SetColor(RGB(200, 40, 40), CODProgressCtrl::ColorBarStart);
        m_reversed.SetColor(RGB(255, 200, 80), CODProgressCtrl::ColorBarEnd);
        m_reversed.ApplyTheme();
        m_reversed.ModifyFlags(0, odprog::kReversed | odprog::kGradientOverSegment);
        m_reversed.SetPos(70);
        m_blocks.Create(WS_CHILD | WS_VISIBLE, CRect(20, 225, 500, 245), this, 22);
        m_blocks.SetPrgMode(CODProgressCtrl::BarBlocks);
        m_blocks.SetPos(40);
        m_loop.Create(WS_CHILD | WS_VISIBLE, CRect(20, 255, 500, 275), this, 23);
        m_loop.ModifyFlags(0, odprog::kLoop);
        m_loop.SetStep(10);
        for (int i = 0; i < 9; ++i)
            m_loop.StepIt();

        m_tip.Create(this, TRUE);
        LOGFONT tf = lf;
        tf.lfHeight = -12;
        m_tip.SetFont(tf);
        m_tip.SetEffect(9, 12);
        m_tip.SetBkColors(RGB(255, 255, 230), RGB(250, 235, 180), RGB(230, 190, 110));
        m_tip.SetBehaviour(CODTooltip::BehDefault);
        m_tip.SetDelayTime(CODTooltip::DelayAutoPop, 0);  // stays for the screenshot
        SetTimer(kShowTipTimer, 500, NULL);
        return TRUE;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER && wParam == kShowTipTimer) {
            KillTimer(kShowTipTimer);
            CPoint anchor(58, 40);
            ClientToScreen(&anchor);
            m_tip.ShowAtPoint(anchor, "<b>Rich tooltip</b> over the buttons<br>"
                                      "<cti=12>palette entry 12</cti>, <ct=0x008000>a COLORREF</ct><t>tab<br>"
                                      "<hr=100%><br><al_c><i>centred italic</i><br><al_r>right <u>underlined</u>");
            return 0;
        }
        if (message == WM_ERASEBKGND) {
            CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
            CRect r;
            GetClientRect(&r);
            CODGradient g;
            g.SetMode(CODGradient::TopToBottom);
            g.SetColors(RGB(235, 240, 250), RGB(190, 205, 230));
            g.Draw(dc, r);
            return TRUE;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    CODButton m_ok, m_cancel, m_check, m_radioA, m_radioB;
    CODStatic m_title, m_link, m_framed;
    CODProgressCtrl m_bar, m_reversed, m_blocks, m_loop;
    CODTooltip m_tip;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return oddemo::RunWindowDemo<CDemoWnd>();
}
