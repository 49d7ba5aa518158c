#include "DllBinding.h"

CDllBinding::CDllBinding(const char* const* entryNames, int entryCount)
    : m_entryNames(entryNames),
      m_entryCount(entryCount < 0 ? 0 : (entryCount > kMaxEntries ? kMaxEntries : entryCount))
{
}

CDllBinding::~CDllBinding()
{
    // Bindings live as long as the process; the library stays loaded so that
    // no entry can be called after it went away.
}

BOOL CDllBinding::Bind(const char* path)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_tried)
        return m_module != NULL;
    m_tried = true;
    if (!path || !*path)
        return FALSE;

    HMODULE module = ::LoadLibraryA(path);
    if (!module)
        return FALSE;
    FARPROC entries[kMaxEntries] = {};
    for (int i = 0; i < m_entryCount; ++i) {
        entries[i] = ::GetProcAddress(module, m_entryNames[i]);
        if (!entries[i]) {
            ::FreeLibrary(module);
            return FALSE;
        }
    }
    for (int i = 0; i < m_entryCount; ++i)
        m_entries[i] = entries[i];
    m_module = module;
    return TRUE;
}

FARPROC CDllBinding::Entry(int index) const
{
    if (index < 0 || index >= m_entryCount)
        return NULL;
    // Written once under the lock before m_module; read after a successful
    // Bind() by the same or another thread that also went through the lock.
    return m_entries[index];
}
