// SkinLayout.h - the arithmetic of the skinned dialogs and buttons: hit
// zones and their order, caption-button placement, which strip cell a state
// draws, the bounded skin section name. No window code: it is checked in
// every build tree.
#pragma once

#include <string>

namespace kit {

struct KRect
{
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// Hit-test codes of the system (winuser.h values).
enum HitCode : int {
    kHitNowhere = 0,
    kHitCaption = 2,
    kHitSysMenu = 3,
    kHitMaxButton = 9,
    kHitLeft = 10,
    kHitRight = 11,
    kHitTop = 12,
    kHitTopLeft = 13,
    kHitTopRight = 14,
    kHitBottom = 15,
    kHitBottomLeft = 16,
    kHitBottomRight = 17,
    kHitClose = 20,
};

// No caption button under the point.
const int kNoButtonHit = -2;

// The fourteen zones, in window coordinates of a window cx by cy.
enum Zone : int {
    kZoneTopLeftA, kZoneTopLeftB, kZoneBottomLeftA, kZoneBottomLeftB,
    kZoneTopRightA, kZoneTopRightB, kZoneBottomRightA, kZoneBottomRightB,
    kZoneLeft, kZoneRight, kZoneTop, kZoneBottom, kZoneCaption, kZoneSysIcon,
    kZoneCount
};
const int kCornerLength = 20;   // corner zones reach this far along each edge
const int kTopEdgeHeight = 4;
const int kSysIconSize = 16;

struct HitZones
{
    KRect zone[kZoneCount];
};

HitZones ComputeHitZones(int cx, int cy, int border, int captionHeight);

// The code for a point (window coordinates): edges, corners and the system
// icon only when resizable and not maximised; then the caption button's code
// (buttonHit, kNoButtonHit for none); then the caption. kHitNowhere means
// "leave it to default processing".
int HitTestZones(const HitZones& zones, int x, int y, bool resizable, bool maximised, int buttonHit);

// The strip cell of a caption button: states 0, 1, 2 draw their own cell,
// any other value the fourth.
inline int CaptionButtonCell(int state) { return state >= 0 && state <= 2 ? state : 3; }

// The face state of a cool button: 3 disabled, 1 while the click is being
// posted, 2 over it with the left button down, 1 over it, else 0.
int CoolButtonState(bool disabled, bool clicking, bool over, bool leftButtonDown);

// The strip cell of an owner-drawn bitmap button: 2 selected, 1 focus,
// 3 disabled, else 0 (in that order of precedence).
int BitmapButtonCell(bool selected, bool focus, bool disabled);

// "titlealign" as kept: 1 becomes 4, 2 becomes 1, 3 becomes 6, others stay.
int StoredTitleAlign(int value);

// "QVDLG_" followed by the name, kept to what the section buffers hold
// (255 characters); an empty name gives an empty section (not skinned).
std::string MakeSkinSection(const char* name);
const size_t kMaxSectionLength = 255;

// A face name as a LOGFONT holds it: at most 31 bytes, never ending inside a
// double-byte character (isLead says which bytes lead one).
std::string BoundFaceName(const char* name, bool (*isLead)(unsigned char));

// The text after the first comma with leading blanks removed (the file name
// of a "cells,name" value); the whole text when it has no comma.
std::string AfterFirstComma(const std::string& value, bool* hadComma);

// Caption buttons laid in a row from x, each advancing by its width plus the
// spacing; returns the bar's right edge.
const int kCaptionButtonSpacing = 1;

}  // namespace kit
