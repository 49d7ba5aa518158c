// SceneFile.h - a scene file (".scn") read into plain records, without
// windows: the seat geometry (avatar, name and balloon anchors), the name
// box and font settings, and the layers with the lines of their items; the
// item lines' own forms (anchor and offset, draw texts, name texts) and the
// glide of an item along a path of waypoints.
//
// Counts and numbers come from a file: seat, layer and item counts are
// capped, numbers that do not fit the fields that keep them leave the key
// unread, and a line that does not parse is skipped as a whole.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "EffectFile.h"

// Keys of a scene file read through the same reader as effect files.
using ISceneKeys = IEffectKeys;

constexpr int kMaxSceneSeats = 32;         // item anchors reach avatars 1..32
constexpr int kMaxSceneLayers = 64;
constexpr int kMaxSceneItems = 512;        // per layer

struct SceneAnchor
{
    int code = 0;
    int x = 0, y = 0;
};

struct SceneBalloonDef
{
    int code = 0;
    int mode = 0;
    int16_t ax = 0, ay = 0, tx = 0, ty = 0;
};

struct SceneItemLine
{
    char kind = 0;           // 'P', 'E' or 'B'
    std::string data;        // the text after the kind's comma
    std::string draw, name, tip, otherTip;
};

struct SceneLayerDef
{
    int kind = 0;
    std::vector<SceneItemLine> items;
};

struct SceneFont
{
    std::string face;        // at most 31 bytes
    int height = 0;
    bool bold = false;
    bool italic = false;
};

struct SceneDescription
{
    // Kept from the previous scene when the file has no "avatasize".
    int16_t avatarWidth = 0, avatarHeight = 0, avatarTop = 0;
    std::string nameFormat;
    int16_t nameWidth = 0, nameHeight = 0;
    bool nameBoxFlag = false;
    SceneFont font;
    uint32_t nameColour = 0xFFFFFF;    // COLORREF order: red low
    bool stretch = false;
    std::vector<SceneAnchor> avatars;
    std::vector<SceneAnchor> names;
    std::vector<SceneBalloonDef> balloons;
    std::vector<SceneLayerDef> layers;
};

// Reads section "scene" and the layer sections into d (avatar size kept
// when absent; everything else replaced).
void ParseSceneFile(ISceneKeys& keys, SceneDescription* d);

// Whether a layer of that kind takes items of that kind letter from a file.
bool LayerTakesItem(int layerKind, char itemKind);

// ---- Item lines ----------------------------------------------------------------------------------

// The anchor, offset and the rest (the picture or effect name) of an item's
// data: "anchor,x,y,name". A 1..32 gives 15 + n, N 1..208 gives 47 + n (any
// other number fails), LT 1, T 2, RT 3, R 4, RB 5, B 6, LB 7, L 8, else 0.
// False when the text has no comma or an A/N number is out of range; rest is
// empty when there are fewer than three commas.
bool ParseItemBase(const std::string& data, int* code, int* x, int* y, std::string* rest);

// "mode,alpha,second": mode 0 and alpha 128 when absent.
struct PictureDraw
{
    int mode = 0;
    int alpha = 128;
    std::string second;
};
PictureDraw ParsePictureDraw(const std::string& text);

// A button's strip: the defaults for a picture of that width, then the draw
// text "w,hover,disabled,names" applied when w lies in 1..default width.
struct ButtonStrip
{
    int frameWidth = 0;
    int hover = 1, disabled = 3;
    int plainCount = 2, frameCount = 4;
    std::string channel, alternate;
};
ButtonStrip ParseButtonDraw(const std::string& text, int pictureWidth);

// A name text: "state,name" sets the state (non-zero shown) and the name;
// without a comma the whole text is the name and the state stays.
void ParseItemName(const std::string& text, std::string* name, int* state);

// ---- Paths -----------------------------------------------------------------------------------------

struct PathPoint
{
    int x = 0, y = 0;
    uint32_t duration = 0;     // of the segment that ends here
};
// Where a glide along points (resolved positions, the first point's duration
// unused) stands after elapsed ms: the segment index k (1..n-1) it is in and
// the point; done when past the last point (k = n - 1, the last point).
// A segment of 0 ms is passed at once (no division by zero).
struct PathPosition
{
    size_t segment = 0;
    int x = 0, y = 0;
    bool done = false;
};
PathPosition PathPositionAt(const std::vector<PathPoint>& points, uint32_t elapsed);
