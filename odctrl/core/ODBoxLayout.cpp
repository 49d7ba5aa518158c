// ODBoxLayout.cpp - the message box's and wait box's arithmetic (see the header).
#include "ODBoxLayout.h"

#include <stdio.h>

#include <algorithm>

#include "ODThemeValues.h"

namespace odbox {

namespace {

// Code page 936 captions.
const char kOk[] = "\xC8\xB7\xB6\xA8";      // 确定
const char kCancel[] = "\xC8\xA1\xCF\xFB";  // 取消
const char kAbort[] = "\xB7\xC5\xC6\xFA";   // 放弃
const char kRetry[] = "\xD6\xD8\xCA\xD4";   // 重试
const char kIgnore[] = "\xBA\xF6\xC2\xD4";  // 忽略
const char kYes[] = "\xCA\xC7";             // 是
const char kNo[] = "\xB7\xF1";              // 否

std::string Trim(const std::string& s)
{
    const char* blanks = " \t\r\n";
    const size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

Rect At(int x, int y, Size s)
{
    Rect r;
    r.left = x;
    r.top = y;
    r.right = x + s.cx;
    r.bottom = y + s.cy;
    return r;
}

}  // namespace

Buttons ButtonsOf(uint32_t style)
{
    struct Type
    {
        const char* key;
        int count;
        const char* captions[3];
        int results[3];
    };
    static const Type kTypes[6] = {
        {"MB_OK", 1, {kOk}, {1}},
        {"MB_OKCANCEL", 2, {kOk, kCancel}, {1, 2}},
        {"MB_ABORTRETRYIGNORE", 3, {kAbort, kRetry, kIgnore}, {3, 4, 5}},
        {"MB_YESNOCANCEL", 3, {kYes, kNo, kCancel}, {6, 7, 2}},
        {"MB_YESNO", 2, {kYes, kNo}, {6, 7}},
        {"MB_RETRYCANCEL", 2, {kRetry, kCancel}, {4, 2}},
    };
    const unsigned type = style & 0x0F;
    const Type& t = kTypes[type < 6 ? type : 0];
    Buttons b;
    b.count = t.count;
    b.themeKey = t.key;
    for (int i = 0; i < t.count; ++i) {
        b.captions[i] = t.captions[i];
        b.results[i] = t.results[i];
    }
    return b;
}

void ApplyThemeCaptions(const char* text, Buttons* buttons)
{
    if (!text || !*text || !buttons)
        return;
    char fields[kMaxButtons][kCaptionField + 1] = {};
    char* outputs[kMaxButtons] = {fields[0], fields[1], fields[2], fields[3]};
    const int n = std::min(odtheme::SplitFieldsInto(',', text, kMaxButtons, sizeof fields[0], outputs), kMaxButtons);
    if (n < 1)
        return;
    buttons->count = n;
    for (int i = 0; i < n; ++i)
        buttons->captions[i] = Trim(fields[i]);
}

const char* IconKey(uint32_t style)
{
    switch (style & 0xF0) {
    case 0x40: return "MB_ICONINFORMATION";
    case 0x20: return "MB_ICONQUESTION";
    case 0x10: return "MB_ICONSTOP";
    default: return "MB_ICONWARNING";
    }
}

int DefaultButton(uint32_t style, int count)
{
    int index = 0;
    switch (style & 0x300) {
    case 0x300: index = 3; break;
    case 0x200: index = 2; break;
    case 0x100: index = 1; break;
    default: break;
    }
    return index < count ? index : 0;
}

std::string CountdownCaption(int seconds, const std::string& caption)
{
    char number[16];
    snprintf(number, sizeof number, "%d ", seconds);
    return number + caption;
}

MessageLayout LayoutMessage(Size icon, Size text, const Size* buttons, int count, int captionWidth, bool centre)
{
    MessageLayout l;
    count = std::min(std::max(count, 0), kMaxButtons);
    int rowWidth = 0, rowHeight = 0;
    for (int i = 0; i < count; ++i) {
        rowWidth += buttons[i].cx + kMargin;
        rowHeight = std::max(rowHeight, buttons[i].cy);
    }
    const int content = std::max(icon.cy, text.cy);
    l.client.cy = rowHeight + content + 3 * kMargin;
    l.client.cx = std::max(rowWidth, icon.cx + text.cx + 2 * kMargin) + kMargin;
    l.client.cx = std::max(l.client.cx, captionWidth);
    l.icon = At(kMargin, kMargin, icon);
    int textTop = kMargin;
    if (centre && icon.cy > text.cy)
        textTop += (icon.cy - text.cy) / 2;
    l.text = At(kMargin + icon.cx + kMargin, textTop, text);
    const int top = kMargin + content + kMargin;
    int right = centre ? (rowWidth + l.client.cx) / 2 : l.client.cx - kMargin;
    for (int i = count - 1; i >= 0; --i) {
        l.buttons[i] = At(right - buttons[i].cx, top, buttons[i]);
        right -= buttons[i].cx + kMargin;
    }
    return l;
}

WaitLayout LayoutWait(const WaitInput& in)
{
    WaitLayout l;
    const int buttonWidth = in.hasButton ? in.button.cx : 0;
    const int row = std::max(in.image.cy, in.text.cy);
    int content = std::max(buttonWidth, in.image.cx + in.text.cx + kMargin);
    if (in.hasProgress)
        content = std::max(content, in.progressWidth);
    const int inner = std::max(content + 2 * kMargin, in.captionWidth);
    l.image = At(kMargin, kMargin, in.image);
    int textTop = kMargin;
    if (in.centreText && in.image.cy > in.text.cy)
        textTop += (in.image.cy - in.text.cy) / 2;
    l.text = At(kMargin + in.image.cx + kMargin, textTop, in.text);
    int next = kMargin + row + kMargin;
    int height = next;
    if (in.hasProgress) {
        l.progress.left = kMargin;
        l.progress.top = next;
        l.progress.right = inner - kMargin;
        l.progress.bottom = next + in.progressHeight;
        next += in.progressHeight + kMargin;
        height += in.progressHeight + kMargin;
    }
    if (in.hasButton) {
        l.button = At((inner - in.button.cx) / 2, next, in.button);
        height += in.button.cy + kMargin;
    }
    l.client.cx = inner;
    l.client.cy = height;
    return l;
}

void ProgressTick(int mode, int low, int high, int* pos, int* step)
{
    if (mode == 0) {
        if (*pos >= high)
            *pos = low;
    } else if (mode == 1) {
        if (*pos <= low)
            *pos = high;
    } else {
        if (*pos >= high)
            *step = -1;
        else if (*pos <= low)
            *step = 1;
    }
}

}  // namespace odbox
