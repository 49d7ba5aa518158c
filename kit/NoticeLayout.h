// NoticeLayout.h - the arithmetic of the notice dialog: where its text and
// cancel button go and how large the dialog becomes for a text of a given
// size. No window code.
//
// The dialog measures its template once (Metrics) and then, for each text:
// the text static becomes the text's size (2 pixels higher); the dialog's
// width is the text's right edge in window coordinates + 32; with the
// button the dialog has a caption, the button is centred under the text at
// the template's distance and the height is the text's bottom + the button
// offset; without it the height is the text's bottom + the text-to-bottom
// height, or + the client-to-window height when the dialog is topmost.
// Vertical positions of the text and the button are client coordinates, as
// the dialog places its controls.
#pragma once

#include "SkinLayout.h"

#include <cstdint>

namespace kit {

struct NoticeMetrics
{
    int buttonOffset = 0;     // button top - dialog top + 5 (window coordinates)
    int textToBottom = 0;     // text bottom - dialog top (window coordinates)
    int clientToWindow = 0;   // client height + 5
    int buttonGap = 0;        // button top - text bottom, in the template
};

struct NoticeLayout
{
    KRect text;       // client coordinates
    KRect button;     // client coordinates; empty without the button
    int width = 0;    // the dialog window
    int height = 0;
    bool caption = false;
};

// textLeft, textTop: the text static's place (client coordinates);
// clientLeft: the client area's left edge inside the window; frameWidth:
// window width - client width, both for the style the dialog will have (with
// a caption when showButton). Sizes below zero count as zero.
NoticeLayout LayoutNotice(const NoticeMetrics& m, int textLeft, int textTop, int textWidth, int textHeight,
                          int clientLeft, int frameWidth, int buttonWidth, int buttonHeight, bool showButton,
                          bool topMost);

// The size of the web notice popup from the server's width and height: each
// at least the frame's minimum (kMinWebNoticeWidth by kMinWebNoticeHeight)
// and at most the screen's work area (maxWidth, maxHeight).
const int kMinWebNoticeWidth = 160;
const int kMinWebNoticeHeight = 120;
void WebNoticeSize(uint32_t width, uint32_t height, int maxWidth, int maxHeight, int* pWidth, int* pHeight);

}  // namespace kit
