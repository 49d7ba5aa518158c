#include "MsgBoxModel.h"

namespace kit {

MsgBoxButtons ButtonsForType(unsigned type)
{
    static const MsgBoxButton kOk = {"IDOK", kStrOk, kIdOk};
    static const MsgBoxButton kCancel = {"IDCANCEL", kStrCancel, kIdCancel};
    static const MsgBoxButton kAbort = {"IDABORT", kStrAbort, kIdAbort};
    static const MsgBoxButton kRetry = {"IDRETRY", kStrRetry, kIdRetry};
    static const MsgBoxButton kIgnore = {"IDIGNORE", kStrIgnore, kIdIgnore};
    static const MsgBoxButton kYes = {"IDYES", kStrYes, kIdYes};
    static const MsgBoxButton kNo = {"IDNO", kStrNo, kIdNo};
    MsgBoxButtons b;
    auto set = [&b](std::initializer_list<MsgBoxButton> list) {
        for (const MsgBoxButton& x : list)
            b.button[b.count++] = x;
    };
    switch (type & 0xF) {
    case 0: set({kOk}); break;
    case 1: set({kOk, kCancel}); break;
    case 2: set({kAbort, kRetry, kIgnore}); break;
    case 3: set({kYes, kNo, kCancel}); break;
    case 4: set({kYes, kNo}); break;
    case 5: set({kRetry, kCancel}); break;
    default: break;
    }
    return b;
}

MsgBoxIcon IconForType(unsigned type)
{
    switch (type & 0xF0) {
    case 0x10: return {"ICONHAND", 32513};
    case 0x20: return {"ICONQUESTION", 32514};
    case 0x30: return {"ICONEXCLAMATION", 32515};
    case 0x40: return {"ICONASTERISK", 32516};
    default: return {"IDI_EXCLAMATION", 32515};
    }
}

MsgBoxDefault DefaultForType(unsigned type, const MsgBoxButtons& buttons)
{
    MsgBoxDefault d;
    d.timeoutResult = buttons.count > 0 ? buttons.button[0].result : kIdCancel;
    switch (type & 0xF00) {
    case 0x100:
        if (buttons.count >= 2) {
            d.focusIndex = 1;
            d.timeoutResult = buttons.button[1].result;
        }
        break;
    case 0x200:
        if (buttons.count >= 3) {
            d.focusIndex = 2;
            d.timeoutResult = buttons.button[2].result;
        }
        break;
    default:
        break;
    }
    return d;
}

std::vector<std::string> CutMessageLines(const std::string& text)
{
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < text.size(); i++) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                i++;
            lines.emplace_back();
        } else if (c == '\n') {
            lines.emplace_back();
        } else if (c == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            i++;
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

}  // namespace kit
