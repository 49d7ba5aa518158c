// The main frame's decisions that need no window: where the frame goes when
// it is restored or maximised, and what a close request does given the state
// of the game connection.
#pragma once

struct FrameBox {
    int x = 0, y = 0, cx = 0, cy = 0;
};

// The restored frame: 1024 wide and as high as the work area but at most
// 768, centred in the work area. The maximised frame: as wide as the desktop
// window's client area and as high as the work area, at the work area's top.
FrameBox RestoredFrameBox(int workLeft, int workTop, int workRight, int workBottom);
FrameBox MaximisedFrameBox(int desktopWidth, int workLeft, int workTop, int workRight, int workBottom);

// A close request, decided from the connection's flags.
struct CloseState {
    bool mayClose = true;     // the server has not forbidden closing
    bool lost = false;        // the connection was lost
    bool socketOpen = false;  // the connection's socket is open
    bool trustQuit = false;   // the server confirmed the seat went to automatic play
    bool hasTable = true;     // the table window exists
};
enum CloseAction {
    kCloseRefused,        // nothing happens, no message
    kCloseLeaveAndEnd,    // leave notice, close the connection, end the frame
    kCloseAskFirst,       // the table window asks; agreed: as kCloseLeaveAndEnd
    kCloseEndNow,         // end the frame at once
};
CloseAction DecideClose(const CloseState& state);

// The caption buttons' keys (the layout's button names exit, max, min, help,
// setting, photo, mute).
enum CaptionKey {
    kCaptionClose = 1,
    kCaptionMaximize = 2,
    kCaptionMinimize = 3,
    kCaptionIntroPage = 4,
    kCaptionSetup = 5,
    kCaptionScreenshot = 6,
    kCaptionRecording = 7,
};

// The registry values the frame keeps at fixed values ("KeyValue1".."3").
constexpr int kFrameKeyValues[3] = {0x126000, 0x26000, 0x26001};
// TRUE when all three must be written again.
bool FrameKeyValuesNeedWriting(const int values[3]);
