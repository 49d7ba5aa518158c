// A support library bound by name at run time.
//
// The first Bind() loads the library and looks up every entry under a lock;
// later calls answer at once. A missing library or entry is remembered and
// never retried: the wrappers over such a binding then answer their failure
// result and do nothing. The entries themselves are called without a lock.
#pragma once

#include <windows.h>

#include <mutex>

class CDllBinding
{
public:
    static constexpr int kMaxEntries = 4;

    // entryNames: kept by pointer (string literals), at most kMaxEntries.
    CDllBinding(const char* const* entryNames, int entryCount);
    ~CDllBinding();
    CDllBinding(const CDllBinding&) = delete;
    CDllBinding& operator=(const CDllBinding&) = delete;

    // Loads `path` on the first call; TRUE when the library and all its
    // entries are there. Later calls ignore the path and repeat the answer.
    BOOL Bind(const char* path);
    // The bound entry (null before a successful Bind).
    FARPROC Entry(int index) const;
    // The same, as the entry's own function type.
    template <typename Fn>
    Fn EntryAs(int index) const
    {
        return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(Entry(index)));
    }

private:
    std::mutex m_lock;
    const char* const* m_entryNames;
    int m_entryCount;
    bool m_tried = false;
    HMODULE m_module = NULL;
    FARPROC m_entries[kMaxEntries] = {};
};
