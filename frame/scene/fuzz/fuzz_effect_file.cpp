// Fuzz target: an effect file's text through the parser and the timing of
// every layer it keeps.
#include <cstddef>
#include <cstdint>
#include <string>

#include "EffectFile.h"
#include "IniText.h"

namespace {

class IniKeys : public IEffectKeys
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
    EffectDefinition def;
    if (!ParseEffectFile(keys, &def))
        return 0;
    for (const EffectLayer& layer : def.layers) {
        for (uint32_t t : {0u, 1u, 99u, 12345u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
            int32_t rest;
            bool finished = false;
            int x, y;
            EffectFrameAt(layer, t, &rest, &finished);
            EffectPathOffsetAt(layer, t, &x, &y, &finished);
            EffectOpacityAt(layer, t, &finished);
        }
    }
    return 0;
}
