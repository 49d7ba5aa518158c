// The table's furniture and marks: the decision-button bar, the logo and
// the button-row frame under everything (kept in the still layer), and over
// the plays the emperor's mark, the role marks, the played-count figure and
// the designated card's suit with its rank.
#include "GameWnd.h"

#include "ClientPaths.h"
#include "GameClientApp.h"
#include "TableMarks.h"

namespace {

LayoutSize SizeOf(const CTableImage& image) { return LayoutSize{image.Width(), image.Height()}; }

// The fixed pictures of the two kick-rule role marks (picture and mask side
// by side).
constexpr int kPicKickGuardMark = 8013;
constexpr int kPicKickOtherMark = 8014;
constexpr int kPicButtonRowFrame = 286;

const COLORREF kDarkRed = RGB(128, 0, 0);
const COLORREF kBlack = RGB(0, 0, 0);

}  // namespace

void CGameWnd::DrawButtonBar(CDC& dc, const CRect& client, int ownPanelLeft)
{
    const HDC hDC = dc.GetSafeHdc();
    const CTableImage& bar = m_pictures.Theme("Background", "BtnBK");
    if (bar.IsLoaded()) {
        const LayoutRect area{client.left, client.top, client.right, client.bottom};
        const ButtonBarLayout l = ButtonBar(area, SizeOf(bar), m_pictures.Theme("Buttons", "Setup").Height(),
                                            ownPanelLeft, m_bFirstHandPending != FALSE);
        for (int top : {l.lowerTop, l.upperTop}) {
            if (l.stretched)
                bar.Draw(hDC, l.left, top, bar.Width(), bar.Height(), 50, 0, 100, bar.Height());
            else
                bar.Draw(hDC, l.left, top);
        }
    }
    if (m_pictures.logo.IsLoaded())
        DrawHalfBitmapCentred(hDC, client, m_pictures.logo.Handle());
    const CTableImage& frame = m_pictures.Fixed(kPicButtonRowFrame);
    if (frame.IsLoaded())
        frame.DrawMasked(hDC, -19, client.bottom - frame.Height() + 22);
}

void CGameWnd::DrawTableMarks(CDC& dc, const CRect& client)
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !app->m_state.Exists())
        return;
    const BoardGameState& s = *app->m_state.Get();
    const HDC hDC = dc.GetSafeHdc();

    // The emperor's mark.
    const CTableImage& emperor = m_pictures.Theme("Others", "EmperorSign");
    if (s.emperorSeat >= 0 && s.emperorSeat < kTableSeats && emperor.IsLoaded()) {
        const int view = ViewOfSeat(app->m_views, s.emperorSeat);
        if (view >= 0) {
            int left = 0, top = 0;
            EmperorMarkPlace(app->m_seats[s.emperorSeat], view, SizeOf(m_pictures.Theme("Background", "LeftNumBK")),
                             &left, &top);
            emperor.Draw(hDC, left, top);
        }
    }

    // The role marks, seat by seat.
    const CTableImage& farmer = m_pictures.Theme("Others", "FarmerSign");
    for (int seat = 0; seat < kTableSeats && farmer.IsLoaded(); seat++) {
        const int mark = RoleMark(s, seat);
        const int view = ViewOfSeat(app->m_views, seat);
        if (mark == 0 || view < 0)
            continue;
        int left = 0, top = 0;
        RoleMarkPlace(app->m_seats[seat], view, SizeOf(farmer), &left, &top);
        if (mark <= 3) {
            static const char* const kThemeMarks[] = {"HouseCarlSign2", "HouseCarlSign", "FarmerSign"};
            const CTableImage& picture = m_pictures.Theme("Others", kThemeMarks[mark - 1]);
            picture.Draw(hDC, left, top, farmer.Width(), farmer.Height(), 0, 0, picture.Width(), picture.Height());
        } else {
            m_pictures.Fixed(mark == 4 ? kPicKickGuardMark : kPicKickOtherMark)
                .DrawMasked(hDC, left, top, farmer.Width(), farmer.Height());
        }
    }

    // The played-count figure, its digits clamped to the strip's ten cells.
    const CTableImage& back = m_pictures.Theme("Background", "TONumBK");
    const CTableImage& digits = m_pictures.Theme("Background", "TONum");
    if (PlayedCountShown(s, app->IsOnline() != FALSE) && back.IsLoaded() && digits.IsLoaded()) {
        const int upperLeft = app->m_views[2], lowerLeft = app->m_views[1];
        if (upperLeft >= 0 && upperLeft < kTableSeats && lowerLeft >= 0 && lowerLeft < kTableSeats) {
            const PlayedCountPlaces p =
                PlayedCountLayout(client.Width(), app->m_seats[upperLeft].panelTop, app->m_seats[lowerLeft].panelTop,
                                  m_pictures.Theme("Background", "LPlayer").Height(), SizeOf(back), SizeOf(digits));
            back.Draw(hDC, p.backLeft, p.backTop);
            for (const DigitPlace& d : PlayedCountDigits(s.trickCount))
                digits.Draw(hDC, p.backLeft + d.offset, p.digitTop, p.cellWidth, digits.Height(),
                            DigitCell(d.digit) * p.cellWidth, 0, p.cellWidth, digits.Height());
        }
    }

    // The designated card's suit and rank beside the own portrait.
    const CTableImage& color = m_pictures.Theme("Others", "Color");
    DesignatedCardPlaces place;
    const int own = OwnSeat();
    if (DesignatedCardShown(s) && color.IsLoaded() && own >= 0 && own < kTableSeats &&
        DesignatedCardLayout(app->m_seats[own].portraitLeft, app->m_seats[own].portraitTop, SizeOf(color),
                             s.rememberedCardId, &place)) {
        color.Draw(hDC, place.quarter.left, place.quarter.top, place.quarter.Width(), place.quarter.Height(),
                   place.sourceLeft, 0, place.quarter.Width(), place.quarter.Height());
        CFont bold;
        bold.CreateFont(25, 12, 0, 0, 700, FALSE, FALSE, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                        DEFAULT_QUALITY, DEFAULT_PITCH, "");
        CFont* oldFont = dc.SelectObject(&bold);
        const int oldMode = dc.SetBkMode(TRANSPARENT);
        const COLORREF oldColour = dc.SetTextColor(place.darkRed ? kDarkRed : kBlack);
        CRect box(place.rank.left, place.rank.top, place.rank.right, place.rank.bottom);
        dc.DrawText(CString(DesignatedRankText(DesignatedCardColumn(s.rememberedCardId)).c_str()), box,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        dc.SetTextColor(oldColour);
        dc.SetBkMode(oldMode);
        dc.SelectObject(oldFont);
    }
}
