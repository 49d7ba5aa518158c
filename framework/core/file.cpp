// CFile over the system's file handles.
#include "afx.h"

IMPLEMENT_DYNAMIC(CFile, CObject)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

CFile::CFile() : m_hFile(INVALID_HANDLE_VALUE), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::~CFile()
{
    if (IsOpen() && m_bCloseOnDelete)
        Close();
}

static void FillError(CFileException* pError, DWORD dwOsError, LPCSTR lpszFileName)
{
    if (pError == NULL)
        return;
    pError->m_lOsError = (LONG)dwOsError;
    pError->m_cause = CFileException::OsErrorToException((LONG)dwOsError);
    pError->m_strFileName = lpszFileName;
}

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (IsOpen())
        Close();
    if (lpszFileName == NULL || *lpszFileName == '\0') {
        FillError(pError, ERROR_INVALID_NAME, lpszFileName);
        return FALSE;
    }

    DWORD dwAccess;
    switch (nOpenFlags & 3) {
    case modeRead: dwAccess = GENERIC_READ; break;
    case modeWrite: dwAccess = GENERIC_WRITE; break;
    case modeReadWrite: dwAccess = GENERIC_READ | GENERIC_WRITE; break;
    default:
        FillError(pError, ERROR_INVALID_PARAMETER, lpszFileName);
        return FALSE;
    }

    DWORD dwShare;
    switch (nOpenFlags & 0x70) {
    case shareDenyWrite: dwShare = FILE_SHARE_READ; break;
    case shareDenyRead: dwShare = FILE_SHARE_WRITE; break;
    case shareDenyNone: dwShare = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: dwShare = 0; break;           // compatibility and exclusive
    }

    DWORD dwCreate;
    if (nOpenFlags & modeCreate)
        dwCreate = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    else
        dwCreate = OPEN_EXISTING;

    SECURITY_ATTRIBUTES sa = {sizeof(sa), NULL, (nOpenFlags & modeNoInherit) ? FALSE : TRUE};
    HANDLE hFile = ::CreateFileA(lpszFileName, dwAccess, dwShare, &sa, dwCreate, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE) {
        FillError(pError, ::GetLastError(), lpszFileName);
        return FALSE;
    }
    m_hFile = hFile;
    m_bCloseOnDelete = TRUE;

    char szFull[MAX_PATH];
    DWORD n = ::GetFullPathNameA(lpszFileName, sizeof(szFull), szFull, NULL);
    m_strFileName = (n > 0 && n < sizeof(szFull)) ? szFull : lpszFileName;
    return TRUE;
}

void CFile::Close()
{
    if (IsOpen())
        ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    DWORD dwRead = 0;
    if (!IsOpen() || lpBuf == NULL || nCount == 0)
        return 0;
    if (!::ReadFile(m_hFile, lpBuf, nCount, &dwRead, NULL))
        return 0;
    return dwRead;
}

BOOL CFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return IsOpen();
    if (!IsOpen() || lpBuf == NULL)
        return FALSE;
    DWORD dwWritten = 0;
    return ::WriteFile(m_hFile, lpBuf, nCount, &dwWritten, NULL) && dwWritten == nCount;
}

BOOL CFile::Flush()
{
    return IsOpen() && ::FlushFileBuffers(m_hFile);
}

LONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    static const DWORD kMethods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    if (!IsOpen() || nFrom > end)
        return -1;
    LARGE_INTEGER distance, newPos;
    distance.QuadPart = lOff;
    if (!::SetFilePointerEx(m_hFile, distance, &newPos, kMethods[nFrom]))
        return -1;
    return newPos.QuadPart;
}

ULONGLONG CFile::GetPosition() const
{
    LARGE_INTEGER zero, pos;
    zero.QuadPart = 0;
    if (!IsOpen() || !::SetFilePointerEx(m_hFile, zero, &pos, FILE_CURRENT))
        return 0;
    return (ULONGLONG)pos.QuadPart;
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!IsOpen() || !::GetFileSizeEx(m_hFile, &size))
        return 0;
    return (ULONGLONG)size.QuadPart;
}

BOOL CFile::SetLength(ULONGLONG dwNewLen)
{
    if (dwNewLen > (ULONGLONG)LLONG_MAX || Seek((LONGLONG)dwNewLen, begin) < 0)
        return FALSE;
    return ::SetEndOfFile(m_hFile);
}

CString CFile::GetFilePath() const
{
    return m_strFileName;
}

CString CFile::GetFileName() const
{
    int nSlash = std::max(m_strFileName.ReverseFind('\\'), m_strFileName.ReverseFind('/'));
    return m_strFileName.Mid(nSlash + 1);
}

BOOL PASCAL CFile::Remove(LPCSTR lpszFileName, CFileException* pError)
{
    if (lpszFileName == NULL || !::DeleteFileA(lpszFileName)) {
        FillError(pError, lpszFileName ? ::GetLastError() : ERROR_INVALID_NAME, lpszFileName);
        return FALSE;
    }
    return TRUE;
}

BOOL PASCAL CFile::Rename(LPCSTR lpszOldName, LPCSTR lpszNewName, CFileException* pError)
{
    if (lpszOldName == NULL || lpszNewName == NULL || !::MoveFileA(lpszOldName, lpszNewName)) {
        FillError(pError, (lpszOldName && lpszNewName) ? ::GetLastError() : ERROR_INVALID_NAME, lpszOldName);
        return FALSE;
    }
    return TRUE;
}
