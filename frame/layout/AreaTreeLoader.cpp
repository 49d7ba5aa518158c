// AreaTreeLoader.cpp - see AreaTreeLoader.h.
#include "AreaTreeLoader.h"

#include <cctype>

#include "LayoutValues.h"

namespace {

std::string SkipBlanks(const std::string& s)
{
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        i++;
    return s.substr(i);
}

// Section names compare without regard to letter case, as the ini store's do.
bool SameSection(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); i++) {
        if (tolower(static_cast<unsigned char>(a[i])) != tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string Fmt(const char* format, const std::string& value)
{
    std::string out;
    const char* p = format;
    for (; *p != 0; p++) {
        if (p[0] == '%' && p[1] == 's') {
            out += value;
            p++;
        } else {
            out += *p;
        }
    }
    return out;
}

}  // namespace

std::string AreaTreeLoader::Read(const std::string& section, const char* key)
{
    return CutLayoutValue(m_builder.ReadString(section.c_str(), key));
}

void* AreaTreeLoader::LoadAreaInfo(const std::string& section, void* parent)
{
    for (int i = 0; i < m_depth; i++) {
        if (SameSection(m_path[i], section)) {
            m_builder.Log(Fmt("[LoadAreaInfo] AREA(%s) LOOP!", section));
            return nullptr;
        }
    }
    if (m_depth >= kMaxDepth || m_areas >= kMaxAreas) {
        m_builder.Log(Fmt("[LoadAreaInfo] AREA(%s) TOO MANY!", section));
        return nullptr;
    }
    m_areas++;

    const std::string frame = Read(section, "frame");
    const std::string name = SkipBlanks(Read(section, "name"));
    const char kind = FirstLetter(frame);
    void* area = nullptr;
    m_path[m_depth++] = section;
    if (kind != 0 && kind != 'W') {
        if (name.empty()) {
            m_builder.Log(Fmt("[LoadAreaInfo] SPLITE(%s) NONAME!", section));
        } else {
            area = CreateSplite(section, name, parent);
            if (area == nullptr)
                m_builder.Log("[LoadAreaInfo] CreateSplite failed!");
        }
    } else if (name.empty()) {
        m_builder.Log(Fmt("[LoadAreaInfo] AREA(%s) NONAME!", section));
    } else if (name[0] != '_') {
        m_builder.Log(Fmt("[LoadAreaInfo] AREA(%s) NAME ERROR!", section));
    } else {
        area = CreateArea(section, name.substr(1), parent);
        if (area == nullptr)
            m_builder.Log("[LoadAreaInfo] CreateArea failed!");
    }
    m_depth--;
    if (area != nullptr)
        m_builder.ReadAreaKeys(area, section);
    return area;
}

void* AreaTreeLoader::CreateSplite(const std::string& section, const std::string& name, void* parent)
{
    void* grid = m_builder.NewPainter(AreaKind::kSplitter, name);
    if (grid == nullptr) {
        m_builder.Log("[CreateSplite] New Grid failed!");
        return nullptr;
    }
    if (!m_builder.CreatePainter(grid, section, name, parent)) {
        m_builder.Log("[CreateSplite] Create Grid failed!");
        m_builder.DeletePainter(grid);
        return nullptr;
    }
    const std::string leftSection = Read(section, "left");
    void* left = leftSection.empty() ? nullptr : LoadAreaInfo(leftSection, grid);
    if (left == nullptr) {
        m_builder.Log("[CreateSplite] Load Left Child failed!");
        m_builder.DeletePainter(grid);
        return nullptr;
    }
    const std::string rightSection = Read(section, "right");
    void* right = rightSection.empty() ? nullptr : LoadAreaInfo(rightSection, grid);
    if (right == nullptr) {
        m_builder.Log("[CreateSplite] Load Right Child failed!");
        // The left child is not attached yet: it goes on its own.
        m_builder.DeletePainter(left);
        m_builder.DeletePainter(grid);
        return nullptr;
    }
    m_builder.AttachChildren(grid, left, right);
    if (!m_builder.LoadSplitterInfo(grid, section)) {
        m_builder.Log("[CreateSplite] LoadInfo failed!");
        m_builder.DeletePainter(grid);
        return nullptr;
    }
    if (!m_builder.OnSplitterCreated(grid, name)) {
        m_builder.Log("[CreateSplite] OnCreateSpliteGrid failed!");
        m_builder.DeletePainter(grid);
        return nullptr;
    }
    return grid;
}

void* AreaTreeLoader::CreateArea(const std::string& section, const std::string& name, void* parent)
{
    const bool game = name == "game";
    void* area = m_builder.NewPainter(game ? AreaKind::kGame : AreaKind::kPlain, name);
    if (area == nullptr) {
        m_builder.Log(Fmt("[CreateArea] New Grid(%s) failed!", name));
        return nullptr;
    }
    if (!m_builder.CreatePainter(area, section, name, parent)) {
        m_builder.Log(Fmt("[CreateArea] Create Grid(%s) failed!", name));
        m_builder.DeletePainter(area);
        return nullptr;
    }
    if (game) {
        if (!m_builder.ReadSceneInfo(area, section)) {
            m_builder.Log("[CreateArea] ReadSceneInfo failed!");
            m_builder.DeletePainter(area);
            return nullptr;
        }
        if (!m_builder.OnGameCreated(area, name)) {
            m_builder.Log(Fmt("[CreateArea] OnCreateGameWnd(%s) failed!", name));
            m_builder.DeletePainter(area);
            return nullptr;
        }
        return area;
    }
    if (!m_builder.OnAreaCreated(area, name)) {
        m_builder.Log(Fmt("[CreateArea] OnCreateNameWnd(%s) failed!", name));
        m_builder.DeletePainter(area);
        return nullptr;
    }
    return area;
}
