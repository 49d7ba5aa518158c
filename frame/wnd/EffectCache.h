// EffectCache.h - CEffectCache: effect files by name over the scene's image
// cache. An effect is loaded on first use (EffectFile.h gives its form) and
// kept until Unload or Clear; while it is kept, each picture its frames name
// holds one use of the image cache, so the pictures live as long as the
// effects that draw them.
#pragma once

#include <map>
#include <string>

#include "EffectFile.h"
#include "ImageCache.h"

class CEffectCache : public CImageCache
{
public:
    CEffectCache() = default;
    ~CEffectCache() override;

    // The definition of the effect file of that name (spelt exactly as
    // given), loaded when absent; NULL when it cannot be loaded.
    const EffectDefinition* Get(LPCSTR name);
    // Drops one definition and its uses of the pictures; nothing for a name
    // that is not loaded.
    void Unload(LPCSTR name);
    // Drops every definition, then every picture.
    virtual void Clear();

    int GetEffectCount() const { return static_cast<int>(m_effects.size()); }

private:
    const EffectDefinition* Load(LPCSTR name);

    std::map<std::string, EffectDefinition*> m_effects;
};
