// FakeTreeBuilder.h - an area-tree builder over an ini text that records the
// log and counts live painters; used by the tree tests and the fuzz target.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "AreaTreeLoader.h"
#include "IniText.h"

struct FakePainter
{
    AreaKind kind;
    std::string name, section;
    FakePainter* left = nullptr;
    FakePainter* right = nullptr;
    bool keysRead = false;
};

class FakeTreeBuilder : public IAreaTreeBuilder
{
public:
    explicit FakeTreeBuilder(const std::string& text) : ini(text) {}
    ~FakeTreeBuilder() override
    {
        for (FakePainter* p : live)
            delete p;
    }

    std::string ReadString(const char* section, const char* key) override { return ini.Get(section, key); }
    void Log(const std::string& line) override { log.push_back(line); }
    void* NewPainter(AreaKind kind, const std::string& name) override
    {
        if (failNew == name)
            return nullptr;
        FakePainter* p = new FakePainter{kind, name, std::string()};
        live.insert(p);
        return p;
    }
    bool CreatePainter(void* painter, const std::string& section, const std::string& name, void*) override
    {
        static_cast<FakePainter*>(painter)->section = section;
        return failCreate != name;
    }
    void DeletePainter(void* painter) override
    {
        FakePainter* p = static_cast<FakePainter*>(painter);
        if (p->left)
            DeletePainter(p->left);
        if (p->right)
            DeletePainter(p->right);
        live.erase(p);
        delete p;
    }
    void AttachChildren(void* splitter, void* left, void* right) override
    {
        static_cast<FakePainter*>(splitter)->left = static_cast<FakePainter*>(left);
        static_cast<FakePainter*>(splitter)->right = static_cast<FakePainter*>(right);
    }
    bool LoadSplitterInfo(void* splitter, const std::string&) override
    {
        return failInfo != static_cast<FakePainter*>(splitter)->name;
    }
    bool OnSplitterCreated(void*, const std::string& name) override { return failHook != name; }
    bool ReadSceneInfo(void*, const std::string&) override { return !failScene; }
    bool OnGameCreated(void*, const std::string& name) override { return failHook != name; }
    bool OnAreaCreated(void*, const std::string& name) override { return failHook != name; }
    void ReadAreaKeys(void* painter, const std::string&) override
    {
        static_cast<FakePainter*>(painter)->keysRead = true;
    }

    IniText ini;
    std::vector<std::string> log;
    std::set<FakePainter*> live;
    std::string failNew, failCreate, failInfo, failHook;
    bool failScene = false;
};
