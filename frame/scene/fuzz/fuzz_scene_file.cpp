// Fuzz target: a scene file's text through the scene reader, then every item
// line it keeps through the item-line readers, and a glide along the seats.
#include <cstddef>
#include <cstdint>
#include <string>

#include "IniText.h"
#include "SceneFile.h"

namespace {

class IniKeys : public ISceneKeys
{
public:
    explicit IniKeys(const std::string& text) : m_ini(text) {}
    std::string Read(const char* section, const char* key) override { return m_ini.Get(section, key); }

private:
    IniText m_ini;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    IniKeys keys(std::string(reinterpret_cast<const char*>(data), size));
    SceneDescription d;
    ParseSceneFile(keys, &d);
    std::vector<PathPoint> path;
    for (const SceneLayerDef& layer : d.layers) {
        for (const SceneItemLine& line : layer.items) {
            int code, x, y, state = 1;
            std::string rest, name;
            if (ParseItemBase(line.data, &code, &x, &y, &rest))
                path.push_back({x, y, static_cast<uint32_t>(rest.size() * 37u)});
            ParsePictureDraw(line.draw);
            ParseButtonDraw(line.draw, static_cast<int>(line.data.size()));
            ParseItemName(line.name, &name, &state);
        }
    }
    for (uint32_t t : {0u, 1u, 500u, 0x7FFFFFFFu, 0xFFFFFFFFu})
        PathPositionAt(path, t);
    return 0;
}
