// EffectFile.cpp - see EffectFile.h.
#include "EffectFile.h"

#include <climits>
#include <cstdio>
#include <cstdlib>

#include "LayoutValues.h"

namespace {

bool Fits(int v, int lo, int hi) { return v >= lo && v <= hi; }

std::string TrimLeft(const std::string& s)
{
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        i++;
    return s.substr(i);
}

// The numbers of a present key; false when the key is present and a number
// read does not fit [lo, hi]. Absent keys and numbers not read leave 0.
bool ReadNumbers(IEffectKeys& keys, const char* section, const char* key, int count, int lo, int hi, int* out)
{
    for (int i = 0; i < count; i++)
        out[i] = 0;
    const std::string text = CutLayoutValue(keys.Read(section, key));
    if (text.empty())
        return true;
    const int n = ParseNumbers(text, ',', out, count);
    for (int i = 0; i < n; i++) {
        if (!Fits(out[i], lo, hi))
            return false;
    }
    return true;
}

// Path points "(x,y,t)": a '(' is looked for, the group parsed, the scan
// goes on five bytes after the '('.
bool ReadPath(const std::string& text, int want, EffectLayer* layer)
{
    size_t pos = 0;
    std::vector<EffectPathPoint> points;
    uint64_t total = 0;
    while (static_cast<int>(points.size()) < want) {
        const size_t open = text.find('(', pos);
        if (open == std::string::npos)
            break;
        int v[3];
        if (ParseNumbers(text.substr(open + 1), ',', v, 3) != 3)
            break;
        if (!Fits(v[0], SHRT_MIN, SHRT_MAX) || !Fits(v[1], SHRT_MIN, SHRT_MAX) || v[2] < 0)
            return false;
        EffectPathPoint p;
        p.x = static_cast<int16_t>(v[0]);
        p.y = static_cast<int16_t>(v[1]);
        p.t = static_cast<uint32_t>(v[2]);
        total += p.t;
        points.push_back(p);
        pos = open + 5;
    }
    if (total > INT32_MAX)
        return false;
    if (points.size() > 1) {
        layer->path = points;
        layer->pathTotal = static_cast<uint32_t>(total);
    }
    return true;
}

// One "effect%d" section; false when the layer is refused or has no frame.
bool ReadLayer(IEffectKeys& keys, const char* section, EffectDefinition* def, EffectLayer* layer)
{
    const int frameCount = ParseInt(keys.Read(section, "framecount"));
    if (frameCount <= 0 || frameCount > kMaxEffectFrames)
        return false;
    int v[4];
    if (!ReadNumbers(keys, section, "basept", 2, SHRT_MIN, SHRT_MAX, v))
        return false;
    layer->baseX = static_cast<int16_t>(v[0]);
    layer->baseY = static_cast<int16_t>(v[1]);
    if (!ReadNumbers(keys, section, "updateframe", 2, 0, 255, v))
        return false;
    layer->pathMode = static_cast<uint8_t>(v[0]);
    layer->opacityMode = static_cast<uint8_t>(v[1]);
    if (!ReadNumbers(keys, section, "stopframe", 2, 0, 255, v))
        return false;
    layer->stopMode = static_cast<uint8_t>(v[0]);
    layer->stopSecond = static_cast<uint8_t>(v[1]);
    if (!ReadNumbers(keys, section, "alpha", 3, 0, 65535, v) || v[1] > 255 || v[2] > 255)
        return false;
    layer->step = static_cast<uint16_t>(v[0]);
    layer->low = static_cast<uint8_t>(v[1]);
    layer->high = static_cast<uint8_t>(v[2]);

    const int pathLen = ParseInt(keys.Read(section, "pathlen"));
    if (pathLen > kMaxPathText)
        return false;
    if (pathLen > 1 && !ReadPath(CutLayoutValue(keys.Read(section, "path"), kMaxPathText + 1), pathLen, layer))
        return false;

    if (!ReadNumbers(keys, section, "picinfo", 3, INT_MIN, INT_MAX, v))
        return false;
    if (v[0] > 1 && v[1] > 1) {
        if (v[0] > SHRT_MAX || v[1] > SHRT_MAX || v[2] < 0)
            return false;
        layer->hasGrid = true;
        layer->cellWidth = static_cast<int16_t>(v[0]);
        layer->cellHeight = static_cast<int16_t>(v[1]);
        layer->order = static_cast<uint32_t>(v[2]);
    }

    int64_t total = 0;
    for (int j = 1; j <= frameCount; j++) {
        char key[32];
        snprintf(key, sizeof key, "pic%d", j);
        std::string name = CutLayoutValue(keys.Read(section, key));
        if (name.empty())
            continue;
        EffectFrame frame;
        const size_t comma = name.find(',');
        if (comma != std::string::npos) {
            const std::string modifier = TrimLeft(name.substr(comma + 1));
            name = name.substr(0, comma);
            if (!modifier.empty() && modifier[0] == 'a') {
                const int cell = atoi(modifier.c_str() + 1);
                if (layer->hasGrid && cell >= 1 && cell < static_cast<int>(kRectReferenceBase))
                    frame.source = static_cast<uint32_t>(cell);
            } else if (!modifier.empty() && modifier[0] == 'r') {
                const size_t open = modifier.find('(');
                int r[4];
                if (open == 1 && ParseNumbers(modifier.substr(2), ',', r, 4) == 4 && r[0] < r[2] && r[1] < r[3]) {
                    def->sources.push_back(EffectRect{r[0], r[1], r[2], r[3]});
                    frame.source = kRectReferenceBase + static_cast<uint32_t>(def->sources.size() - 1);
                }
            }
        }
        frame.picture = name;
        snprintf(key, sizeof key, "draw%d", j);
        if (!ReadNumbers(keys, section, key, 4, SHRT_MIN, SHRT_MAX, v) || v[2] < 0)
            return false;
        frame.x = static_cast<int16_t>(v[0]);
        frame.y = static_cast<int16_t>(v[1]);
        frame.duration = static_cast<int16_t>(v[2]);
        frame.mode = static_cast<int16_t>(v[3]);
        snprintf(key, sizeof key, "channel%d", j);
        frame.channel = CutLayoutValue(keys.Read(section, key));
        total += frame.duration;
        layer->frames.push_back(frame);
    }
    layer->totalTime = static_cast<int32_t>(total);
    return !layer->frames.empty();
}

}  // namespace

bool ParseEffectFile(IEffectKeys& keys, EffectDefinition* definition)
{
    *definition = EffectDefinition();
    const int count = ParseInt(keys.Read("generic", "effectcount"));
    if (count <= 0 || count > kMaxEffectSections)
        return false;
    for (int i = 1; i <= count; i++) {
        char section[32];
        snprintf(section, sizeof section, "effect%d", i);
        EffectLayer layer;
        const size_t sources = definition->sources.size();
        if (!ReadLayer(keys, section, definition, &layer)) {
            // A refused layer leaves no source rectangle behind.
            definition->sources.resize(sources);
            continue;
        }
        for (const EffectFrame& f : layer.frames) {
            definition->pictures.push_back(f.picture);
            if (!f.channel.empty())
                definition->pictures.push_back(f.channel);
        }
        definition->layers.push_back(layer);
    }
    if (definition->layers.empty()) {
        *definition = EffectDefinition();
        return false;
    }
    return true;
}

// ---- Timing ------------------------------------------------------------------------------------

int EffectFrameAt(const EffectLayer& layer, uint32_t t, int32_t* remainder, bool* finished)
{
    const int count = static_cast<int>(layer.frames.size());
    int32_t rest;
    if (count < 2 || layer.totalTime <= 0) {
        if (count == 0)
            return -1;
        if (remainder)
            *remainder = static_cast<int32_t>(t);
        return 0;
    }
    rest = static_cast<int32_t>(t) - layer.totalTime;
    if (layer.stopMode == 1 && static_cast<int32_t>(t) >= layer.totalTime) {
        if (finished)
            *finished = true;
        if (remainder)
            *remainder = rest;
        return count - 1;
    }
    const uint32_t reduced = t % static_cast<uint32_t>(layer.totalTime);
    uint32_t s = 0;
    for (int i = 0; i < count; i++) {
        const uint32_t end = s + static_cast<uint32_t>(layer.frames[i].duration);
        if (end > reduced) {
            if (remainder)
                *remainder = static_cast<int32_t>(reduced - s);
            return i;
        }
        s = end;
    }
    if (remainder)
        *remainder = rest;
    return count - 1;
}

void EffectPathOffsetAt(const EffectLayer& layer, uint32_t t, int* x, int* y, bool* finished)
{
    *x = *y = 0;
    const size_t n = layer.path.size();
    if (layer.pathMode == 0 || n < 2)
        return;
    if (layer.stopMode == 2 && layer.pathTotal != 0 && t >= layer.pathTotal) {
        *x = layer.path[n - 1].x;
        *y = layer.path[n - 1].y;
        if (finished)
            *finished = true;
        return;
    }
    // A path whose times add up to 0 stays at its first point.
    if (layer.pathTotal == 0) {
        *x = layer.path[0].x;
        *y = layer.path[0].y;
        return;
    }
    const uint32_t reduced = t % layer.pathTotal;
    uint32_t s = 0;
    size_t k = n - 1;
    uint32_t r = reduced;
    for (size_t i = 0; i < n; i++) {
        if (s + layer.path[i].t > reduced) {
            k = i;
            r = reduced - s;
            break;
        }
        s += layer.path[i].t;
    }
    const EffectPathPoint& p = layer.path[k];
    *x = p.x;
    *y = p.y;
    if ((layer.pathMode & 1) != 0 && p.t > 0 && k + 1 < n) {
        const EffectPathPoint& q = layer.path[k + 1];
        *x = p.x + static_cast<int>(static_cast<int64_t>(q.x - p.x) * r / static_cast<int64_t>(p.t));
        *y = p.y + static_cast<int>(static_cast<int64_t>(q.y - p.y) * r / static_cast<int64_t>(p.t));
    }
}

int EffectOpacityAt(const EffectLayer& layer, uint32_t t, bool* finished)
{
    const int mode = layer.opacityMode & 3;
    if (mode == 0)
        return layer.step & 0xFF;
    if (layer.step == 0)
        return 0;
    const int64_t steps = t / layer.step;
    const int low = layer.low, high = layer.high, range = high - low;
    // Equal (or crossed) bounds: nothing changes, and nothing divides by 0.
    if (range <= 0)
        return mode == 2 ? high : low;
    if (mode == 3) {
        if (layer.stopMode == 4 && steps >= 2 * range) {
            if (finished)
                *finished = true;
            return low;
        }
        const int v = static_cast<int>(steps % (2 * range)) + low;
        return v > high ? 2 * high - v : v;
    }
    if (layer.stopMode == 4 && steps >= range) {
        if (finished)
            *finished = true;
        return mode == 1 ? high : low;
    }
    const int m = static_cast<int>(steps % range);
    return mode == 1 ? low + m : high - m;
}
