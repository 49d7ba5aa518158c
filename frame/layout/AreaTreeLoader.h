// AreaTreeLoader.h - builds the tree of areas of the game's layout file.
//
// The root section is "area"; a splitter names its two children by the
// sections in its `left` and `right` keys. The loader walks the sections,
// checks the names, writes one log line for each failure and asks a builder
// to make, set up and (on failure) delete the painters; the builder is the
// frame (or a test's fake). A section that names itself or an ancestor is
// refused, and the tree is limited in depth and size, so no file can make the
// walk recurse without end or build without bound.
#pragma once

#include <string>

enum class AreaKind
{
    kSplitter,
    kGame,                    // the plain area named "game": the scene
    kPlain,
};

class IAreaTreeBuilder
{
public:
    virtual ~IAreaTreeBuilder() = default;

    // The value of a key (missing: empty). The loader cuts it to the value
    // buffer's size.
    virtual std::string ReadString(const char* section, const char* key) = 0;
    virtual void Log(const std::string& line) = 0;

    // A new painter of the kind; null when it cannot be made.
    virtual void* NewPainter(AreaKind kind, const std::string& name) = 0;
    // The painter's creation with its name, section and parent.
    virtual bool CreatePainter(void* painter, const std::string& section, const std::string& name,
                               void* parent) = 0;
    virtual void DeletePainter(void* painter) = 0;

    // Splitters: the two children, the splitter's own keys, the frame's hook.
    virtual void AttachChildren(void* splitter, void* left, void* right) = 0;
    virtual bool LoadSplitterInfo(void* splitter, const std::string& section) = 0;
    virtual bool OnSplitterCreated(void* splitter, const std::string& name) = 0;
    // The scene area: its scene list, then the frame's hook.
    virtual bool ReadSceneInfo(void* painter, const std::string& section) = 0;
    virtual bool OnGameCreated(void* painter, const std::string& name) = 0;
    // Any other plain area: the frame's hook (named child windows).
    virtual bool OnAreaCreated(void* painter, const std::string& name) = 0;
    // The keys every area has: `border`, the background keys, `show`.
    virtual void ReadAreaKeys(void* painter, const std::string& section) = 0;
};

class AreaTreeLoader
{
public:
    static constexpr int kMaxDepth = 32;
    static constexpr int kMaxAreas = 256;

    explicit AreaTreeLoader(IAreaTreeBuilder& builder) : m_builder(builder) {}

    // The area of a section and everything below it; null on failure (every
    // painter made on the way is deleted again).
    void* LoadAreaInfo(const std::string& section, void* parent);

    int AreaCount() const { return m_areas; }

private:
    void* CreateSplite(const std::string& section, const std::string& name, void* parent);
    void* CreateArea(const std::string& section, const std::string& name, void* parent);
    std::string Read(const std::string& section, const char* key);

    IAreaTreeBuilder& m_builder;
    std::string m_path[kMaxDepth + 1];
    int m_depth = 0;
    int m_areas = 0;
};
