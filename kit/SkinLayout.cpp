#include "SkinLayout.h"

#include <cstring>

namespace kit {

HitZones ComputeHitZones(int cx, int cy, int B, int captionHeight)
{
    const int L = kCornerLength;
    HitZones z;
    z.zone[kZoneTopLeftA] = {0, 0, B, L};
    z.zone[kZoneTopLeftB] = {0, 0, L, B};
    z.zone[kZoneBottomLeftA] = {0, cy - L, B, cy};
    z.zone[kZoneBottomLeftB] = {0, cy - B, L, cy};
    z.zone[kZoneTopRightA] = {cx - B, 0, cx, L};
    z.zone[kZoneTopRightB] = {cx - L, 0, cx, B};
    z.zone[kZoneBottomRightA] = {cx - B, cy - L, cx, cy};
    z.zone[kZoneBottomRightB] = {cx - L, cy - B, cx, cy};
    z.zone[kZoneLeft] = {0, 0, B, cy};
    z.zone[kZoneRight] = {cx - B, 0, cx, cy};
    z.zone[kZoneTop] = {0, 0, cx, kTopEdgeHeight};
    z.zone[kZoneBottom] = {0, cy - B, cx, cy};
    z.zone[kZoneCaption] = {0, 0, cx, captionHeight};
    z.zone[kZoneSysIcon] = {B, B, B + kSysIconSize, B + kSysIconSize};
    return z;
}

int HitTestZones(const HitZones& z, int x, int y, bool resizable, bool maximised, int buttonHit)
{
    if (resizable && !maximised) {
        struct Step { Zone a; Zone b; int code; };
        static const Step kOrder[] = {
            {kZoneTopLeftA, kZoneTopLeftB, kHitTopLeft},
            {kZoneBottomLeftA, kZoneBottomLeftB, kHitBottomLeft},
            {kZoneTopRightA, kZoneTopRightB, kHitTopRight},
            {kZoneBottomRightA, kZoneBottomRightB, kHitBottomRight},
            {kZoneLeft, kZoneLeft, kHitLeft},
            {kZoneRight, kZoneRight, kHitRight},
            {kZoneTop, kZoneTop, kHitTop},
            {kZoneBottom, kZoneBottom, kHitBottom},
            {kZoneSysIcon, kZoneSysIcon, kHitSysMenu},
        };
        for (const Step& s : kOrder)
            if (z.zone[s.a].Contains(x, y) || z.zone[s.b].Contains(x, y))
                return s.code;
    }
    if (buttonHit != kNoButtonHit)
        return buttonHit;
    if (z.zone[kZoneCaption].Contains(x, y))
        return kHitCaption;
    return kHitNowhere;
}

int CoolButtonState(bool disabled, bool clicking, bool over, bool leftButtonDown)
{
    if (disabled)
        return 3;
    if (clicking)
        return 1;
    if (over)
        return leftButtonDown ? 2 : 1;
    return 0;
}

int BitmapButtonCell(bool selected, bool focus, bool disabled)
{
    if (selected)
        return 2;
    if (focus)
        return 1;
    if (disabled)
        return 3;
    return 0;
}

int StoredTitleAlign(int value)
{
    switch (value) {
    case 1: return 4;
    case 2: return 1;
    case 3: return 6;
    default: return value;
    }
}

std::string MakeSkinSection(const char* name)
{
    if (name == nullptr || *name == '\0')
        return std::string();
    std::string s = "QVDLG_";
    s += name;
    if (s.size() > kMaxSectionLength)
        s.resize(kMaxSectionLength);
    return s;
}

std::string BoundFaceName(const char* name, bool (*isLead)(unsigned char))
{
    std::string out;
    if (name == nullptr)
        return out;
    const size_t kMax = 31;
    size_t i = 0;
    const size_t n = std::strlen(name);
    while (i < n) {
        const size_t step = (isLead != nullptr && isLead((unsigned char)name[i]) && i + 1 < n) ? 2 : 1;
        if (i + step > kMax)
            break;
        out.append(name + i, step);
        i += step;
    }
    return out;
}

std::string AfterFirstComma(const std::string& value, bool* hadComma)
{
    const size_t comma = value.find(',');
    if (hadComma != nullptr)
        *hadComma = comma != std::string::npos;
    if (comma == std::string::npos)
        return value;
    size_t i = comma + 1;
    while (i < value.size() && (value[i] == ' ' || value[i] == '\t'))
        i++;
    return value.substr(i);
}

}  // namespace kit
