#include "WidgetGeometry.h"

namespace widgets {

// ---- Picture button ----------------------------------------------------------------------------

int PngCellIndex(unsigned itemState, int stateCount)
{
    if ((itemState & kItemSelected) && stateCount > 2)
        return 2;
    if ((itemState & kItemFocus) && stateCount > 1)
        return 1;
    if ((itemState & kItemDisabled) && stateCount > 3)
        return 3;
    return 0;
}

int PngCellWidth(int imageWidth, int stateCount)
{
    return stateCount < 1 || imageWidth < 0 ? 0 : imageWidth / stateCount;
}

// ---- State button --------------------------------------------------------------------------------

int StateFrameWidth(int stripWidth, int frameCount, bool alphaMode)
{
    if (frameCount < 1 || stripWidth < 0)
        return 0;
    return stripWidth / (alphaMode ? frameCount + 1 : frameCount);
}

int StateButtonState(bool disabled, bool selected, bool hovering)
{
    return disabled ? 3 : selected ? 2 : hovering ? 1 : 0;
}

int StateFrameToDraw(int first, int run, uint32_t* counter)
{
    if (run < 0 || *counter >= static_cast<uint32_t>(run))
        *counter = 0;
    return first + static_cast<int>(*counter);
}

int StateAlphaFrameX(int frameWidth, int frameCount) { return frameWidth * frameCount; }

bool StateFramesValid(int first, int run, int frameCount)
{
    return first >= 0 && run >= 1 && first <= frameCount - run;
}

// ---- Code page 936 ---------------------------------------------------------------------------------

size_t CharBoundaryAtMost936(const std::string& text, size_t maxBytes)
{
    size_t i = 0;
    while (i < text.size()) {
        const size_t n = CharLength936(text, i);
        if (i + n > maxBytes)
            break;
        i += n;
    }
    return i;
}

std::string CutCaption(const char* caption, size_t maxBytes)
{
    if (caption == nullptr)
        return std::string();
    std::string s;
    for (size_t i = 0; caption[i] != '\0' && i <= maxBytes; ++i)   // one byte past the limit is enough
        s.push_back(caption[i]);
    return s.substr(0, CharBoundaryAtMost936(s, maxBytes));
}

// ---- Chat-action picker ----------------------------------------------------------------------------

PickerGrid ComputePickerGrid(int itemCount, int imageWidth, int imageHeight)
{
    PickerGrid g;
    if (itemCount <= 0)
        return g;
    int root = 0;
    while ((root + 1) * (root + 1) <= itemCount)   // integer square root, no rounding surprises
        ++root;
    g.columns = root + 1;
    g.rows = (itemCount + g.columns - 1) / g.columns;
    g.cellWidth = imageWidth + 10;
    g.cellHeight = imageHeight + 10;
    return g;
}

Rc PickerWindowRect(int x, int y, const PickerGrid& g)
{
    return Rc{x, y - g.rows * g.cellHeight - 30, x + g.columns * g.cellWidth, y};
}

Rc PickerCellRect(const PickerGrid& g, int index)
{
    if (g.columns <= 0 || index < 0)
        return Rc{};
    const int col = index % g.columns;
    const int row = index / g.columns;
    return Rc{col * g.cellWidth + 2, row * g.cellHeight + 2, (col + 1) * g.cellWidth - 2,
              (row + 1) * g.cellHeight - 2};
}

Rc PickerNextButtonRect(const PickerGrid& g)
{
    const int right = g.columns * g.cellWidth;
    const int top = g.rows * g.cellHeight;
    return Rc{right - 50, top + 3, right - 4, top + 23};
}

Rc PickerPrevButtonRect(const PickerGrid& g)
{
    const int right = g.columns * g.cellWidth;
    const int top = g.rows * g.cellHeight;
    return Rc{right - 104, top + 3, right - 54, top + 23};
}

namespace {

const char* const kActionNames[kChatActionCount] = {
    "笑", "做鬼脸", "害羞", "春心激荡", "感动", "惊讶", "叹气", "疑惑", "晕", "我吐",
    "哭", "大哭", "愤怒", "痛苦", "拳击", "爆炸", "奔跑", "抡锤", "撒钱", "拥抱(左)",
    "拥抱(右)", "鲜花", "凋谢的花", "心", "破碎的心", "打电话", "手机", "金币", "礼物", "热茶"};

const char* const kFaceNames[kChatFaceCount] = {
    "微笑", "大笑", "晕菜", "大虾", "环顾", "调皮", "憨笑", "吐舌", "害羞", "闭嘴", "疑惑",
    "哭泣", "恶心", "眨眼", "汗颜", "挑逗", "耍赖", "亲嘴", "呕吐", "炸晕", "可爱", "愤怒",
    "口罩", "大哭", "大呼", "睡觉", "色色", "老大", "眩晕", "委屈", "大兵", "舔嘴", "海盗",
    "礼包", "骰子", "饮料", "鲜花", "啤酒", "西瓜", "蛋糕", "钱币", "刺头", "手机", "红心",
    "心碎", "大便", "炸弹", "足球", "南瓜", "茶杯", "钟表", "闪电", "药丸", "盾牌", "音符",
    "刺刀", "手枪", "毒药", "猪头", "男孩", "女孩", "信件", "汗堡", "扑克", "小鱼", "双心"};

}  // namespace

const char* ChatActionName(int page, int index)
{
    if (page == 1)
        return index >= 0 && index < kChatActionCount ? kActionNames[index] : nullptr;
    return index >= 0 && index < kChatFaceCount ? kFaceNames[index] : nullptr;
}

// ---- Balloon -----------------------------------------------------------------------------------------

Pt BalloonBodyOrigin(int corner, Pt a, int w, int h)
{
    switch (corner) {
    case 0: return Pt{a.x, a.y};
    case 1: return Pt{a.x - w + 1, a.y};
    case 2: return Pt{a.x, a.y - h + 1};
    case 3: return Pt{a.x - w + 1, a.y - h + 1};
    default: return Pt{0, 0};
    }
}

namespace {

int TailPlacement(Pt b, int w, int h, Pt t)
{
    if (t.x < b.x) {
        if (t.y < b.y)
            return b.y - t.y >= b.x - t.x ? 0 : 3;
        if (t.y > b.y + h)
            return t.y - h - b.y < b.x - t.x ? 5 : 6;
        return 4;
    }
    if (t.x > b.x + w) {
        if (t.y < b.y)
            return b.y - t.y < t.x - w - b.x ? 9 : 2;
        if (t.y > b.y + h)
            return t.y - h - b.y < t.x - w - b.x ? 11 : 8;
        return 10;
    }
    return t.y < b.y ? 1 : 7;
}

}  // namespace

BalloonTail ComputeBalloonTail(Pt b, int w, int h, Pt t, int base, int offset)
{
    BalloonTail r;
    r.placement = TailPlacement(b, w, h, t);
    switch (r.placement) {
    case 0: case 3: r.origin = t; break;
    case 1: case 2: case 9: r.origin = Pt{b.x, t.y}; break;
    case 4: case 5: case 6: r.origin = Pt{t.x, b.y}; break;
    default: r.origin = b; break;
    }
    const int L = b.x - r.origin.x;
    const int T = b.y - r.origin.y;
    r.body = Rc{L, T, L + w, T + h};
    const int right = L + w - 1;   // the edges the base lies on
    const int bottom = T + h - 1;
    const int midX = L + w / 2;
    const int midY = T + h / 2;
    Pt& p = r.triangle[0];
    Pt& q = r.triangle[1];
    switch (r.placement) {
    case 0: p = {L + offset, T}; q = {L + offset + base, T}; break;
    case 3: p = {L, T + offset}; q = {L, T + offset + base}; break;
    case 5: p = {L, bottom - offset}; q = {L, bottom - offset - base}; break;
    case 6: p = {L + offset, bottom}; q = {L + offset + base, bottom}; break;
    case 4: p = {L, midY - base / 2 + offset}; q = {L, midY + base / 2 + offset}; break;
    case 9: p = {right, T + offset}; q = {right, T + offset + base}; break;
    case 2: p = {right - offset, T}; q = {right - offset - base, T}; break;
    case 11: p = {right, bottom - offset - base}; q = {right, bottom - offset}; break;
    case 8: p = {right - base - offset, bottom}; q = {right - offset, bottom}; break;
    case 10: p = {right, midY - base / 2 + offset}; q = {right, midY + base / 2 + offset}; break;
    case 1: p = {midX - base / 2 + offset, T}; q = {midX + base / 2 + offset, T}; break;
    default: p = {midX - base / 2 + offset, bottom}; q = {midX + base / 2 + offset, bottom}; break;
    }
    r.triangle[2] = Pt{t.x - r.origin.x, t.y - r.origin.y};
    return r;
}

// ---- Tips ---------------------------------------------------------------------------------------------

TipShape ComputeTipShape(int contentWidth, int contentHeight, Pt point, bool up, bool left)
{
    TipShape s;
    const int W = contentWidth + 24;
    const int H = contentHeight + 20;
    s.width = W;
    s.height = H;
    const int baseA = left ? W - 12 : 12;
    const int baseB = left ? W - 24 : 24;
    if (up) {
        s.body = Rc{0, 0, W, H};
        s.triangle[0] = Pt{baseA, H - 1};
        s.triangle[1] = Pt{baseB, H - 1};
        s.triangle[2] = Pt{baseA, H + 10};
        s.content = Rc{12, 10, W - 12, H - 10};
    } else {
        s.body = Rc{0, 10, W, H + 10};
        s.triangle[0] = Pt{baseA, 10};
        s.triangle[1] = Pt{baseB, 10};
        s.triangle[2] = Pt{baseA, 0};
        s.content = Rc{12, 20, W - 12, H};
    }
    s.position.x = left ? point.x - W + 12 : point.x - 12;
    s.position.y = up ? point.y - H - 10 : point.y;
    return s;
}

void ChooseTipSides(Pt cursor, int width, int height, bool* up, bool* left)
{
    *left = !(cursor.x < width);
    *up = !(cursor.y < height);
}

void CombineTipContent(int layout, int textW, int textH, int bitmapW, int bitmapH, int* width, int* height)
{
    switch (layout) {
    case 1: case 3:
        *width = textW + bitmapW;
        *height = textH > bitmapH ? textH : bitmapH;
        break;
    case 2: case 4:
        *width = textW > bitmapW ? textW : bitmapW;
        *height = textH + bitmapH;
        break;
    default:
        if (bitmapW > 0) {
            *width = bitmapW;
            *height = bitmapH;
        } else {
            *width = textW;
            *height = textH;
        }
        break;
    }
}

Rc ChildHolderRect(const Rc& item)
{
    return Rc{item.left + 1, item.top + 1, item.right - 1, item.bottom - 1};
}

}  // namespace widgets
