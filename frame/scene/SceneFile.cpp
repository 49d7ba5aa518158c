// SceneFile.cpp - see SceneFile.h.
#include "SceneFile.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "SceneText.h"

namespace {

size_t SkipBlanks(const std::string& s, size_t i = 0)
{
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        i++;
    return i;
}

char Upper(char c) { return static_cast<char>(toupper(static_cast<unsigned char>(c))); }

// Up to max comma-separated decimal numbers from the start of text, read as
// sscanf's "%d,%d,..." would (stops at the first that does not parse);
// numbers beyond 32 bits stop the read too.
int ReadNumbers(const char* text, long long* out, int max)
{
    int n = 0;
    const char* p = text;
    while (n < max) {
        while (*p == ' ' || *p == '\t')
            p++;
        char* end = nullptr;
        errno = 0;
        const long long v = strtoll(p, &end, 10);
        if (end == p || errno != 0 || v < INT_MIN || v > INT_MAX)
            break;
        out[n++] = v;
        p = end;
        if (*p != ',')
            break;
        p++;
    }
    return n;
}

bool Fits16(long long v) { return v >= INT16_MIN && v <= INT16_MAX; }

int ReadInt(ISceneKeys& keys, const char* section, const char* key)
{
    const std::string text = keys.Read(section, key);
    long long v = 0;
    return ReadNumbers(text.c_str(), &v, 1) == 1 ? static_cast<int>(v) : 0;
}

std::string Key(const char* format, int n)
{
    char key[64];
    snprintf(key, sizeof key, format, n);
    return key;
}

void ParseFont(const std::string& text, SceneFont* font)
{
    *font = SceneFont();
    const size_t comma = text.find(',');
    if (comma == std::string::npos || comma == 0)
        return;
    font->face = text.substr(0, comma < 31 ? comma : 31);
    font->height = atoi(text.c_str() + comma + 1);
    size_t at = text.find(',', comma + 1);
    while (at != std::string::npos) {
        const size_t i = SkipBlanks(text, at + 1);
        if (i < text.size()) {
            const char c = Upper(text[i]);
            if (c == 'B')
                font->bold = true;
            else if (c == 'I')
                font->italic = true;
        }
        at = text.find(',', at + 1);
    }
}

// "anchor,x,y" of a seat line; false when the line is not empty and has no
// comma (the seat's name and balloon are then skipped).
bool ParseSeat(const std::string& value, int avatars, int fallback, SceneAnchor* anchor, bool* present)
{
    const size_t i = SkipBlanks(value);
    *present = i < value.size();
    if (!*present)
        return true;
    const size_t comma = value.find(',', i);
    if (comma == std::string::npos)
        return false;
    anchor->code = ParseSceneAnchor(value.substr(i, comma - i), avatars, fallback);
    long long xy[2] = {0, 0};
    ReadNumbers(value.c_str() + comma + 1, xy, 2);
    anchor->x = static_cast<int>(xy[0]);
    anchor->y = static_cast<int>(xy[1]);
    return true;
}

void ParseLayerItems(ISceneKeys& keys, const char* section, SceneLayerDef* layer)
{
    int count = ReadInt(keys, section, "itemcnt");
    if (count > kMaxSceneItems)
        count = kMaxSceneItems;
    for (int i = 1; i <= count; i++) {
        const std::string value = keys.Read(section, Key("item_%d", i).c_str());
        const size_t at = SkipBlanks(value);
        const size_t comma = value.find(',', at);
        if (at >= value.size() || comma == std::string::npos)
            continue;
        const char kind = Upper(value[at]);
        if ((kind != 'P' && kind != 'E' && kind != 'B') || !LayerTakesItem(layer->kind, kind))
            continue;
        SceneItemLine line;
        line.kind = kind;
        line.data = value.substr(comma + 1);
        line.draw = keys.Read(section, Key("item_draw_%d", i).c_str());
        line.name = keys.Read(section, Key("item_name_%d", i).c_str());
        if (kind == 'B') {
            line.tip = keys.Read(section, Key("item_tip_%d", i).c_str());
            line.otherTip = keys.Read(section, Key("item_othertip_%d", i).c_str());
        }
        layer->items.push_back(std::move(line));
    }
}

}  // namespace

bool LayerTakesItem(int layerKind, char itemKind)
{
    switch (itemKind) {
    case 'P': return layerKind == 0 || layerKind == 5;
    case 'E': return layerKind == 4 || layerKind == 5;
    case 'B': return layerKind == 4;
    default: return false;
    }
}

void ParseSceneFile(ISceneKeys& keys, SceneDescription* d)
{
    const char* scene = "scene";
    const int16_t w = d->avatarWidth, h = d->avatarHeight, top = d->avatarTop;
    *d = SceneDescription();
    d->avatarWidth = w;
    d->avatarHeight = h;
    d->avatarTop = top;

    long long v[5] = {};
    const std::string size = keys.Read(scene, "avatasize");
    if (ReadNumbers(size.c_str(), v, 3) == 3 && Fits16(v[0]) && Fits16(v[1]) && Fits16(v[2])) {
        d->avatarWidth = static_cast<int16_t>(v[0]);
        d->avatarHeight = static_cast<int16_t>(v[1]);
        d->avatarTop = static_cast<int16_t>(v[2]);
    }
    d->nameFormat = SceneNameFormat(keys.Read(scene, "nameformat"));

    const std::string nameSize = keys.Read(scene, "namesize");
    if (ReadNumbers(nameSize.c_str(), v, 2) == 2 && Fits16(v[0]) && Fits16(v[1])) {
        d->nameWidth = static_cast<int16_t>(v[0]);
        d->nameHeight = static_cast<int16_t>(v[1]);
        size_t comma = nameSize.find(',');
        comma = comma == std::string::npos ? comma : nameSize.find(',', comma + 1);
        if (comma != std::string::npos) {
            const size_t i = SkipBlanks(nameSize, comma + 1);
            d->nameBoxFlag = i < nameSize.size() && Upper(nameSize[i]) == 'L';
        }
    }
    ParseFont(keys.Read(scene, "textfont"), &d->font);
    const std::string colour = keys.Read(scene, "namecolor");
    if (ReadNumbers(colour.c_str(), v, 3) == 3)
        d->nameColour = static_cast<uint32_t>((v[0] & 0xFF) | ((v[1] & 0xFF) << 8) | ((v[2] & 0xFF) << 16));
    if (d->nameWidth < 1) {
        d->nameBoxFlag = true;
        d->nameWidth = d->avatarWidth;
    }
    d->stretch = ReadInt(keys, scene, "avataStretch") != 0;

    int seats = ReadInt(keys, scene, "avatacnt");
    if (seats > kMaxSceneSeats)
        seats = kMaxSceneSeats;
    for (int i = 1; i <= seats; i++) {
        SceneAnchor anchor;
        bool present = false;
        if (!ParseSeat(keys.Read(scene, Key("avata_%d", i).c_str()), -1, 0, &anchor, &present))
            continue;
        if (present)
            d->avatars.push_back(anchor);
        const int names = static_cast<int>(d->names.size());
        if (ParseSeat(keys.Read(scene, Key("name_%d", i).c_str()), seats, names, &anchor, &present) && present)
            d->names.push_back(anchor);

        const std::string balloon = keys.Read(scene, Key("balloon_%d", i).c_str());
        const size_t at = SkipBlanks(balloon);
        const size_t comma = balloon.find(',', at);
        if (at >= balloon.size() || comma == std::string::npos)
            continue;
        long long b[5] = {};
        const int got = ReadNumbers(balloon.c_str() + comma + 1, b, 5);
        bool fits = true;
        for (int k = 0; k < got; k++)
            fits = fits && Fits16(b[k]);
        if (!fits)
            continue;
        SceneBalloonDef def;
        def.code = ParseSceneAnchor(balloon.substr(at, comma - at), seats, names, true);
        def.mode = static_cast<int>(b[0]);
        def.ax = static_cast<int16_t>(b[1]);
        def.ay = static_cast<int16_t>(b[2]);
        def.tx = static_cast<int16_t>(b[3]);
        def.ty = static_cast<int16_t>(b[4]);
        d->balloons.push_back(def);
    }

    int layers = ReadInt(keys, scene, "laycnt");
    if (layers > kMaxSceneLayers)
        layers = kMaxSceneLayers;
    for (int j = 1; j <= layers; j++) {
        const std::string section = Key("lay_%d", j);
        const int kind = ParseLayerStyle(keys.Read(section.c_str(), "style"));
        if (kind < 0)
            continue;
        SceneLayerDef layer;
        layer.kind = kind;
        if (kind == 0 || kind == 4 || kind == 5)
            ParseLayerItems(keys, section.c_str(), &layer);
        d->layers.push_back(std::move(layer));
    }
}

// ---- Item lines ----------------------------------------------------------------------------------

bool ParseItemBase(const std::string& data, int* code, int* x, int* y, std::string* rest)
{
    const size_t at = SkipBlanks(data);
    const size_t comma = data.find(',', at);
    if (comma == std::string::npos)
        return false;
    const char first = at < comma ? Upper(data[at]) : 0;
    const char second = at + 1 < comma ? Upper(data[at + 1]) : 0;
    if (first == 'A' || first == 'N') {
        const long n = strtol(data.c_str() + at + 1, nullptr, 10);
        const long max = first == 'A' ? kMaxSceneSeats : 208;
        if (n < 1 || n > max)
            return false;
        *code = static_cast<int>((first == 'A' ? 15 : 47) + n);
    } else {
        switch (first) {
        case 'B': *code = 6; break;
        case 'L': *code = second == 'T' ? 1 : second == 'B' ? 7 : 8; break;
        case 'R': *code = second == 'T' ? 3 : second == 'B' ? 5 : 4; break;
        case 'T': *code = 2; break;
        default: *code = 0; break;
        }
    }
    long long xy[2] = {0, 0};
    ReadNumbers(data.c_str() + comma + 1, xy, 2);
    if (!Fits16(xy[0]) || !Fits16(xy[1]))
        return false;
    *x = static_cast<int>(xy[0]);
    *y = static_cast<int>(xy[1]);
    rest->clear();
    size_t third = data.find(',', comma + 1);
    third = third == std::string::npos ? third : data.find(',', third + 1);
    if (third != std::string::npos)
        *rest = data.substr(third + 1);
    return true;
}

PictureDraw ParsePictureDraw(const std::string& text)
{
    PictureDraw draw;
    long long v[2] = {0, 128};
    const int got = ReadNumbers(text.c_str(), v, 2);
    if (got >= 1)
        draw.mode = static_cast<int>(v[0] & 0xFF);
    if (got >= 2)
        draw.alpha = static_cast<int>(v[1] & 0xFF);
    if (got == 2) {
        size_t comma = text.find(',');
        comma = comma == std::string::npos ? comma : text.find(',', comma + 1);
        if (comma != std::string::npos)
            draw.second = text.substr(comma + 1);
    }
    return draw;
}

ButtonStrip ParseButtonDraw(const std::string& text, int pictureWidth)
{
    ButtonStrip s;
    s.frameWidth = pictureWidth >> 2;
    long long v[3] = {};
    const int got = ReadNumbers(text.c_str(), v, 3);
    if (got < 1 || v[0] < 1 || v[0] > s.frameWidth)
        return s;
    s.frameWidth = static_cast<int>(v[0]);
    s.frameCount = s.plainCount = pictureWidth / s.frameWidth;
    if (s.frameCount > 255)
        s.frameCount = s.plainCount = 255;
    s.hover = got >= 2 && v[1] > 0 && v[1] < s.frameCount ? static_cast<int>(v[1]) : 0;
    if (s.hover != 0)
        s.plainCount--;
    s.disabled = got >= 3 && v[2] > 0 && v[2] < s.frameCount ? static_cast<int>(v[2]) : 0;
    if (s.disabled != 0)
        s.plainCount--;
    if (got == 3) {
        size_t at = text.find(',');
        at = at == std::string::npos ? at : text.find(',', at + 1);
        at = at == std::string::npos ? at : text.find(',', at + 1);
        if (at != std::string::npos) {
            const std::string names = text.substr(at + 1);
            const size_t comma = names.find(',');
            if (comma == std::string::npos) {
                s.channel = names;
            } else {
                s.channel = names.substr(0, comma);
                s.alternate = names.substr(comma + 1);
            }
        }
    }
    return s;
}

void ParseItemName(const std::string& text, std::string* name, int* state)
{
    const size_t comma = text.find(',');
    if (comma == std::string::npos) {
        *name = text;
        return;
    }
    *state = atoi(text.c_str()) != 0 ? 1 : 0;
    *name = text.substr(comma + 1);
}

// ---- Paths -----------------------------------------------------------------------------------------

PathPosition PathPositionAt(const std::vector<PathPoint>& points, uint32_t elapsed)
{
    PathPosition at;
    if (points.empty()) {
        at.done = true;
        return at;
    }
    const size_t n = points.size();
    size_t k = 1;
    uint32_t e = elapsed;
    while (k < n && e > points[k].duration) {
        e -= points[k].duration;
        k++;
    }
    if (k >= n) {
        at.segment = n - 1;
        at.x = points[n - 1].x;
        at.y = points[n - 1].y;
        at.done = true;
        return at;
    }
    const PathPoint& a = points[k - 1];
    const PathPoint& b = points[k];
    at.segment = k;
    if (b.duration == 0) {
        at.x = b.x;
        at.y = b.y;
        return at;
    }
    at.x = a.x + static_cast<int>((static_cast<int64_t>(b.x) - a.x) * e / static_cast<int64_t>(b.duration));
    at.y = a.y + static_cast<int>((static_cast<int64_t>(b.y) - a.y) * e / static_cast<int64_t>(b.duration));
    return at;
}
