// EffectCache.cpp - see EffectCache.h.
#include "EffectCache.h"

#include <memory>
#include <new>

#include "store/QVIniFile.h"

namespace {

class IniEffectKeys : public IEffectKeys
{
public:
    explicit IniEffectKeys(CQVIniFile& ini) : m_ini(ini) {}
    std::string Read(const char* section, const char* key) override
    {
        char buffer[1024] = "";
        m_ini.GetString(section, key, "", buffer, sizeof buffer);
        return buffer;
    }

private:
    CQVIniFile& m_ini;
};

}  // namespace

CEffectCache::~CEffectCache() { Clear(); }

const EffectDefinition* CEffectCache::Get(LPCSTR name)
{
    if (name == NULL || *name == 0)
        return NULL;
    const bool locked = Lock();
    auto it = m_effects.find(name);
    EffectDefinition* found = it != m_effects.end() ? it->second : NULL;
    if (locked)
        Unlock(locked);
    return found != NULL ? found : Load(name);
}

const EffectDefinition* CEffectCache::Load(LPCSTR name)
{
    CQVIniFile* ini = LoadIniFile(name);
    if (ini == NULL)
        return NULL;
    std::unique_ptr<EffectDefinition> def(new (std::nothrow) EffectDefinition);
    bool ok = false;
    if (def) {
        IniEffectKeys keys(*ini);
        ok = ParseEffectFile(keys, def.get());
    }
    DeleteIniFile(ini);
    if (!ok)
        return NULL;
    // Each picture found holds one use while the effect is kept; pictures
    // that cannot be found leave their frames without a picture.
    std::vector<std::string> kept;
    for (const std::string& picture : def->pictures) {
        if (FindOrLoad(picture.c_str()) != NULL && AddRef(picture.c_str()) != NULL)
            kept.push_back(picture);
    }
    def->pictures = kept;
    EffectDefinition* raw = def.release();
    m_effects[name] = raw;
    return raw;
}

void CEffectCache::Unload(LPCSTR name)
{
    if (name == NULL)
        return;
    auto it = m_effects.find(name);
    if (it == m_effects.end())
        return;
    EffectDefinition* def = it->second;
    m_effects.erase(it);
    for (const std::string& picture : def->pictures)
        Release(picture.c_str(), FALSE);
    delete def;
}

void CEffectCache::Clear()
{
    const bool locked = Lock();
    for (auto& e : m_effects)
        delete e.second;
    m_effects.clear();
    if (locked)
        Unlock(locked);
    FreeAll();
}
