#include "NoticeLayout.h"

#include <algorithm>

namespace kit {

NoticeLayout LayoutNotice(const NoticeMetrics& m, int textLeft, int textTop, int textWidth, int textHeight,
                          int clientLeft, int frameWidth, int buttonWidth, int buttonHeight, bool showButton,
                          bool topMost)
{
    NoticeLayout out;
    textWidth = std::max(textWidth, 0);
    textHeight = std::max(textHeight, 0);
    out.text = {textLeft, textTop, textLeft + textWidth, textTop + textHeight + 2};
    out.width = clientLeft + out.text.right + 32;
    out.caption = showButton;
    if (showButton) {
        buttonWidth = std::max(buttonWidth, 0);
        buttonHeight = std::max(buttonHeight, 0);
        const int clientWidth = out.width - frameWidth;
        const int left = (clientWidth - buttonWidth) / 2;
        const int top = out.text.bottom + m.buttonGap;
        out.button = {left, top, left + buttonWidth, top + buttonHeight};
        out.height = out.text.bottom + m.buttonOffset;
    } else {
        out.height = out.text.bottom + (topMost ? m.clientToWindow : m.textToBottom);
    }
    return out;
}

void WebNoticeSize(uint32_t width, uint32_t height, int maxWidth, int maxHeight, int* pWidth, int* pHeight)
{
    maxWidth = std::max(maxWidth, kMinWebNoticeWidth);
    maxHeight = std::max(maxHeight, kMinWebNoticeHeight);
    *pWidth = (int)std::min<uint32_t>(std::max<uint32_t>(width, kMinWebNoticeWidth), (uint32_t)maxWidth);
    *pHeight = (int)std::min<uint32_t>(std::max<uint32_t>(height, kMinWebNoticeHeight), (uint32_t)maxHeight);
}

}  // namespace kit
