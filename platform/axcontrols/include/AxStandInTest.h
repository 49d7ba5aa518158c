// Tests: the stand-in controls of the build tree, served to this process
// only (no registry), and their call logs.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>

class CStandInServer
{
public:
    CStandInServer() = default;
    ~CStandInServer() { Revoke(); }
    CStandInServer(const CStandInServer&) = delete;
    CStandInServer& operator=(const CStandInServer&) = delete;

    // Loads the module (a path relative to the test's folder or absolute) and
    // serves its class to CoCreateInstance in this process. The thread must
    // have called OleInitialize. FALSE when the module or class is missing.
    bool Serve(const char* pszModule, REFCLSID clsid) { return ServeAs(pszModule, clsid, clsid); }

    // The module's class clsid served under another class id, clsidAs: a
    // stand-in takes the place of a system control (the web browser) in
    // this process only.
    bool ServeAs(const char* pszModule, REFCLSID clsid, REFCLSID clsidAs)
    {
        Revoke();
        m_hModule = ::LoadLibraryA(pszModule);
        if (m_hModule == NULL)
            return false;
        typedef HRESULT(WINAPI * PFN_GETCLASS)(REFCLSID, REFIID, void**);
        PFN_GETCLASS pfnGet = reinterpret_cast<PFN_GETCLASS>(
            reinterpret_cast<void (*)()>(::GetProcAddress(m_hModule, "DllGetClassObject")));
        IUnknown* pFactory = NULL;
        if (pfnGet == NULL || FAILED(pfnGet(clsid, IID_IUnknown, reinterpret_cast<void**>(&pFactory))))
            return false;
        HRESULT hr = ::CoRegisterClassObject(clsidAs, pFactory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_dwCookie);
        pFactory->Release();
        return SUCCEEDED(hr);
    }

    void Revoke()
    {
        if (m_dwCookie != 0)
            ::CoRevokeClassObject(m_dwCookie);
        m_dwCookie = 0;
    }

    std::string ReadLog() const
    {
        typedef int(WINAPI * PFN_READ)(char*, int);
        PFN_READ pfnRead = reinterpret_cast<PFN_READ>(
            reinterpret_cast<void (*)()>(::GetProcAddress(m_hModule, "StandInReadLog")));
        if (pfnRead == NULL)
            return "<no log>";
        int n = pfnRead(NULL, 0);
        std::string s((size_t)n + 1, '\0');
        pfnRead(&s[0], n + 1);
        s.resize((size_t)n);
        return s;
    }

    void ClearLog() const
    {
        typedef void(WINAPI * PFN_CLEAR)();
        PFN_CLEAR pfnClear = reinterpret_cast<PFN_CLEAR>(
            reinterpret_cast<void (*)()>(::GetProcAddress(m_hModule, "StandInClearLog")));
        if (pfnClear != NULL)
            pfnClear();
    }

    // Fires an event of the newest control of the module (arguments first to
    // last).
    bool Fire(DISPID id, VARIANT* pArgs, UINT nArgs) const
    {
        typedef BOOL(WINAPI * PFN_FIRE)(DISPID, VARIANT*, UINT);
        PFN_FIRE pfnFire = reinterpret_cast<PFN_FIRE>(
            reinterpret_cast<void (*)()>(::GetProcAddress(m_hModule, "StandInFireEvent")));
        return pfnFire != NULL && pfnFire(id, pArgs, nArgs);
    }

    HMODULE Module() const { return m_hModule; }

private:
    HMODULE m_hModule = NULL;
    DWORD m_dwCookie = 0;
};
