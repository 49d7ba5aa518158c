// EffectFile.h - effect files and the timing of their layers, without
// windows.
//
// An effect file is an ini-store text: section "generic" key "effectcount",
// then sections "effect1".. each describing one layer: a base point, an
// optional motion path, an optional cell grid, the update and stop modes,
// the opacity values and up to 300 frames that name pictures. The parser
// reads the keys through a reader the caller gives (the effect cache reads
// them from its ini store) and keeps the picture names; the cache turns the
// names into pictures.
//
// Values outside the fields that keep them (a base point beyond 16 bits, a
// mode beyond 8 bits, a negative duration, more than 300 frames, a path
// length beyond the path text's size, more than 64 effect sections) make the
// layer (or the file) be refused rather than wrapped into something else.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class IEffectKeys
{
public:
    virtual ~IEffectKeys() = default;
    // The key's text; empty when absent.
    virtual std::string Read(const char* section, const char* key) = 0;
};

struct EffectPathPoint
{
    int16_t x = 0, y = 0;
    uint32_t t = 0;
};

struct EffectRect
{
    int32_t l = 0, t = 0, r = 0, b = 0;
};

// The source selector of a frame: 0 the whole picture or cell 0, 1..499 a
// cell number, from kRectReferenceBase on a source rectangle of the
// definition (selector - kRectReferenceBase is its index).
constexpr uint32_t kRectReferenceBase = 500;

struct EffectFrame
{
    std::string picture;
    std::string channel;
    int16_t x = 0, y = 0;
    int16_t duration = 0;
    int16_t mode = 0;
    uint32_t source = 0;
};

struct EffectLayer
{
    int16_t baseX = 0, baseY = 0;
    uint8_t pathMode = 0, opacityMode = 0;     // "updateframe"
    uint8_t stopMode = 0, stopSecond = 0;      // "stopframe"
    uint16_t step = 0;                         // "alpha" first
    uint8_t low = 0, high = 0;                 // "alpha" second, third
    std::vector<EffectPathPoint> path;         // empty or at least 2 points
    uint32_t pathTotal = 0;
    bool hasGrid = false;
    int16_t cellWidth = 0, cellHeight = 0;
    uint32_t order = 0;
    std::vector<EffectFrame> frames;
    int32_t totalTime = 0;
};

struct EffectDefinition
{
    std::vector<EffectLayer> layers;
    std::vector<EffectRect> sources;
    std::vector<std::string> pictures;         // in the order met; names may repeat
};

constexpr int kMaxEffectSections = 64;
constexpr int kMaxEffectFrames = 300;
constexpr int kMaxPathText = 1023;

// Fills the definition; false (the definition empty) when no layer is usable.
bool ParseEffectFile(IEffectKeys& keys, EffectDefinition* definition);

// ---- Timing ------------------------------------------------------------------------------------

// The frame shown at elapsed time t (-1 without frames); remainder and
// finished may be null.
int EffectFrameAt(const EffectLayer& layer, uint32_t t, int32_t* remainder, bool* finished);
// The offset along the path at t.
void EffectPathOffsetAt(const EffectLayer& layer, uint32_t t, int* x, int* y, bool* finished);
// The opacity at t.
int EffectOpacityAt(const EffectLayer& layer, uint32_t t, bool* finished);
