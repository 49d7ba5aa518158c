// afx.h - core layer of the application framework.
//
// The one header for the non-window half of the framework:
//   - basic types, diagnostics macros (ASSERT, VERIFY, TRACE)
//   - object model: CObject, CRuntimeClass, DECLARE_/IMPLEMENT_DYNAMIC,
//     DECLARE_/IMPLEMENT_DYNCREATE, RUNTIME_CLASS, DYNAMIC_DOWNCAST
//   - exceptions: CException and the framework's kinds (memory, not
//     supported, resource, user, file), AfxThrow..., TRY/CATCH macros
//   - module state: instance and resource handles (AfxGetResourceHandle ...)
//   - CString (multibyte, ANSI code page, double-byte aware), CA2W / CW2A
//   - CPoint, CSize, CRect
//   - collections: CArray, CList, CMap templates; CPtrArray, CObArray,
//     CByteArray, CWordArray, CDWordArray, CUIntArray, CStringArray,
//     CPtrList, CObList, CStringList, CMapStringToPtr, CMapStringToString,
//     CMapPtrToPtr, CMapWordToPtr; CTypedPtrArray, CTypedPtrList
//   - CFile (value results; never throws), CFileException
//   - CTime, CTimeSpan
//   - CSyncObject, CCriticalSection, CMutex, CEvent, CSingleLock
//
// The window layer (afxwin.h) builds on this header and supplies the
// application object (AfxGetApp, AfxGetMainWnd), windows and GDI.
//
// Text is multibyte in the ANSI code page (936 on the target systems).
// Notes for callers:
//   - pass a CString to printf-style functions as (LPCTSTR)str: a class object
//     passed through "..." is not its character pointer with this compiler
//     (-Wconditionally-supported reports it; the framework target turns it on);
//   - CString::Format follows the C runtime's printf rules (%I64d, %S wide).
#pragma once

#ifndef _WIN32
#error "The framework is for Windows builds only."
#endif
#ifdef UNICODE
#error "The framework is built for the ANSI character set."
#endif

#include <windows.h>
#include <oleauto.h>
#include <tchar.h>
#include <stdarg.h>
#include <stddef.h>
#include <string.h>
#include <time.h>

#include <limits.h>
#include <stdint.h>

#include <algorithm>
#include <new>
#include <type_traits>
#include <utility>

/////////////////////////////////////////////////////////////////////////////
// Basic types and helpers

struct __POSITION {};
typedef __POSITION* POSITION;
#define BEFORE_START_POSITION ((POSITION)(INT_PTR)-1)

#ifndef AFXAPI
#define AFXAPI __stdcall
#endif
#ifndef AFX_CDECL
#define AFX_CDECL __cdecl
#endif
#ifndef AFX_INLINE
#define AFX_INLINE inline
#endif
#ifndef AFX_DATA
#define AFX_DATA
#endif

#define AFX_PRINTF_FORMAT(fmt, first) __attribute__((format(ms_printf, fmt, first)))

/////////////////////////////////////////////////////////////////////////////
// Diagnostics
//
// ASSERT and ASSERT_VALID check only in _DEBUG builds; their argument is
// never evaluated otherwise. VERIFY always evaluates. TRACE writes to the
// debugger output in _DEBUG builds only.

void AFX_CDECL AfxTrace(LPCSTR lpszFormat, ...) AFX_PRINTF_FORMAT(1, 2);
BOOL AFXAPI AfxAssertFailedLine(LPCSTR lpszFileName, int nLine);

#ifdef _DEBUG
#define ASSERT(f) ((f) ? (void)0 : (void)AfxAssertFailedLine(__FILE__, __LINE__))
#define VERIFY(f) ASSERT(f)
#define TRACE ::AfxTrace
#define DEBUG_ONLY(f) (f)
#else
#define ASSERT(f) ((void)sizeof(!(f)))
#define VERIFY(f) ((void)(f))
#define TRACE 1 ? (void)0 : ::AfxTrace
#define DEBUG_ONLY(f) ((void)0)
#endif
#define TRACE0(sz) TRACE("%s", sz)
#define TRACE1(sz, p1) TRACE(sz, p1)
#define TRACE2(sz, p1, p2) TRACE(sz, p1, p2)
#define TRACE3(sz, p1, p2, p3) TRACE(sz, p1, p2, p3)
#define ASSERT_VALID(pOb) ((void)sizeof(pOb))
#define ASSERT_KINDOF(class_name, object) ASSERT((object)->IsKindOf(RUNTIME_CLASS(class_name)))
// Plausibility checks for ASSERTs: not NULL (or nothing to check).
inline BOOL AfxIsValidString(LPCSTR lpsz, int nLength = -1) { return lpsz != NULL || nLength == 0; }
inline BOOL AfxIsValidAddress(const void* lp, UINT_PTR nBytes, BOOL bReadWrite = TRUE)
{
    (void)bReadWrite;
    return lp != NULL || nBytes == 0;
}
#define UNUSED(x) ((void)(x))
#define UNUSED_ALWAYS(x) ((void)(x))

/////////////////////////////////////////////////////////////////////////////
// Object model

class CObject;

// One record per class that declares itself dynamic: its name, size, base
// and (for dynamically creatable classes) its creation function.
struct CRuntimeClass
{
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                          // 0xFFFF for classes without a schema
    CObject* (PASCAL* m_pfnCreateObject)();  // NULL when not creatable
    CRuntimeClass* m_pBaseClass;

    // A new object of this class, or NULL when the class is not creatable
    // or construction failed.
    CObject* CreateObject();
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

class CObject
{
public:
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;

    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    BOOL IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }
    virtual void AssertValid() const {}

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;

private:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

#define RUNTIME_CLASS(class_name) ((CRuntimeClass*)(&class_name::class##class_name))

#define DECLARE_DYNAMIC(class_name) \
public: \
    static const CRuntimeClass class##class_name; \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name) \
    static CObject* PASCAL CreateObject();

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew) \
    const CRuntimeClass class_name::class##class_name = { \
        #class_name, (int)sizeof(class class_name), wSchema, pfnNew, \
        RUNTIME_CLASS(base_class_name)}; \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, NULL)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
    CObject* PASCAL class_name::CreateObject() { return new class_name; } \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

// The object as a pointer to class_name when it is one (or derives from it),
// else NULL.
CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject);
#define DYNAMIC_DOWNCAST(class_name, object) \
    ((class_name*)AfxDynamicDownCast(RUNTIME_CLASS(class_name), object))
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))

/////////////////////////////////////////////////////////////////////////////
// Exceptions
//
// Thrown as pointers and caught as pointers: catch (CException* e) { ...;
// e->Delete(); }. Delete() frees exceptions that were allocated for the
// throw; the memory, not-supported and resource exceptions are shared
// objects that Delete() leaves alone.

class CException : public CObject
{
    DECLARE_DYNAMIC(CException)
public:
    explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}
    void Delete();
    // Writes a description into lpszError (at most nMaxError bytes with the
    // terminating zero). FALSE when there is no text.
    virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);

    BOOL m_bAutoDelete;
};

class CMemoryException : public CException
{
    DECLARE_DYNAMIC(CMemoryException)
public:
    explicit CMemoryException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) override;
};

class CNotSupportedException : public CException
{
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    explicit CNotSupportedException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) override;
};

class CResourceException : public CException
{
    DECLARE_DYNAMIC(CResourceException)
public:
    explicit CResourceException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) override;
};

class CUserException : public CException
{
    DECLARE_DYNAMIC(CUserException)
public:
    explicit CUserException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
};

[[noreturn]] void AFXAPI AfxThrowMemoryException();
[[noreturn]] void AFXAPI AfxThrowNotSupportedException();
[[noreturn]] void AFXAPI AfxThrowResourceException();
[[noreturn]] void AFXAPI AfxThrowUserException();
[[noreturn]] void AFXAPI AfxThrowFileException(int cause, LONG lOsError = -1, LPCSTR lpszFileName = NULL);

// TRY/CATCH in the framework's classic spelling. The caught exception is
// deleted when the handler ends, unless the handler rethrows it with
// THROW_LAST().
struct AfxExceptionGuard
{
    CException* p;
    ~AfxExceptionGuard() { if (p) p->Delete(); }
};
#define TRY try
#define CATCH(class_name, e) \
    catch (class_name * e) { AfxExceptionGuard _afxExceptionGuard{e};
#define AND_CATCH(class_name, e) \
    } catch (class_name * e) { AfxExceptionGuard _afxExceptionGuard{e};
#define CATCH_ALL(e) CATCH(CException, e)
#define AND_CATCH_ALL(e) AND_CATCH(CException, e)
#define END_CATCH }
#define END_CATCH_ALL }
#define THROW(e) throw e
#define THROW_LAST() do { _afxExceptionGuard.p = NULL; throw; } while (0)

/////////////////////////////////////////////////////////////////////////////
// Module state: the module's instance handle and the module that resources
// are loaded from (the resource library once the application sets it).

class CWinApp;

struct AFX_MODULE_STATE
{
    HINSTANCE m_hCurrentInstanceHandle;   // NULL: the executable's handle
    HINSTANCE m_hCurrentResourceHandle;   // NULL: the instance handle
    LPCSTR m_lpszCurrentAppName;
    CWinApp* m_pCurrentWinApp;            // set by the window layer's CWinApp
};

AFX_MODULE_STATE* AFXAPI AfxGetModuleState();
HINSTANCE AFXAPI AfxGetInstanceHandle();
HINSTANCE AFXAPI AfxGetResourceHandle();
void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);
// The module that holds the resource: the resource module if it has it,
// else the instance.
HINSTANCE AFXAPI AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);

/////////////////////////////////////////////////////////////////////////////
// Double-byte helpers (ANSI code page)

// TRUE when b starts a double-byte character in the ANSI code page.
BOOL AFXAPI AfxIsLeadByte(BYTE b);
// The largest byte count <= nMaxBytes that does not end inside a double-byte
// character of the nLength-byte text psz.
int AFXAPI AfxCharBoundary(LPCSTR psz, int nLength, int nMaxBytes);

/////////////////////////////////////////////////////////////////////////////
// CString: a multibyte string in the ANSI code page.
//
// Indexes, counts and lengths are in bytes. Searches, case mapping, trimming
// and replacing step by characters, so a trail byte is never matched or
// changed on its own. Case mapping and case-blind comparison touch only the
// single-byte letters A-Z/a-z. Out-of-range indexes are clamped.

class CString
{
public:
    CString();
    CString(const CString& stringSrc);
    CString(CString&& stringSrc) noexcept;
    CString(LPCSTR lpsz);                    // MAKEINTRESOURCE(id) loads string id
    CString(LPCSTR lpch, int nLength);
    CString(const unsigned char* psz);
    CString(LPCWSTR lpsz);                   // converted to the ANSI code page
    CString(LPCWSTR lpch, int nLength);
    CString(char ch, int nRepeat = 1);
    ~CString();

    int GetLength() const { return GetData()->nDataLength; }
    BOOL IsEmpty() const { return GetData()->nDataLength == 0; }
    void Empty();

    char GetAt(int nIndex) const;            // 0 when out of range
    template<class I, class = typename std::enable_if<std::is_integral<I>::value>::type>
    char operator[](I nIndex) const { return GetAt(nIndex < 0 || nIndex > INT_MAX ? -1 : (int)nIndex); }
    void SetAt(int nIndex, char ch);         // ignored when out of range
    operator LPCSTR() const { return m_pchData; }

    const CString& operator=(const CString& stringSrc);
    const CString& operator=(CString&& stringSrc) noexcept;
    const CString& operator=(LPCSTR lpsz);
    const CString& operator=(const unsigned char* psz);
    const CString& operator=(LPCWSTR lpsz);
    const CString& operator=(char ch);

    const CString& operator+=(const CString& string);
    const CString& operator+=(LPCSTR lpsz);
    const CString& operator+=(char ch);

    friend CString operator+(const CString& s1, const CString& s2);
    friend CString operator+(const CString& s, LPCSTR lpsz);
    friend CString operator+(LPCSTR lpsz, const CString& s);
    friend CString operator+(const CString& s, char ch);
    friend CString operator+(char ch, const CString& s);

    // Byte-wise (code order) and case-blind comparisons: <0, 0, >0.
    int Compare(LPCSTR lpsz) const;
    int CompareNoCase(LPCSTR lpsz) const;
    // Locale order (user default locale).
    int Collate(LPCSTR lpsz) const;
    int CollateNoCase(LPCSTR lpsz) const;

    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    // Like Left, but never ends inside a double-byte character.
    CString LeftWhole(int nMaxBytes) const;

    CString SpanIncluding(LPCSTR lpszCharSet) const;
    CString SpanExcluding(LPCSTR lpszCharSet) const;

    void MakeUpper();
    void MakeLower();
    void MakeReverse();                      // keeps double-byte characters whole

    void TrimLeft();                         // white space
    void TrimLeft(char chTarget);
    void TrimLeft(LPCSTR lpszTargets);
    void TrimRight();
    void TrimRight(char chTarget);
    void TrimRight(LPCSTR lpszTargets);
    void Trim() { TrimRight(); TrimLeft(); }

    int Replace(char chOld, char chNew);     // count of replaced characters
    int Replace(LPCSTR lpszOld, LPCSTR lpszNew);
    int Remove(char chRemove);
    int Insert(int nIndex, char ch);         // new length
    int Insert(int nIndex, LPCSTR pstr);
    int Delete(int nIndex, int nCount = 1);  // new length

    // Byte index of the first match at or after nStart, or -1.
    int Find(char ch) const { return Find(ch, 0); }
    int Find(char ch, int nStart) const;
    int Find(LPCSTR lpszSub) const { return Find(lpszSub, 0); }
    int Find(LPCSTR lpszSub, int nStart) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR lpszCharSet) const;

    void AFX_CDECL Format(LPCSTR lpszFormat, ...) AFX_PRINTF_FORMAT(2, 3);
    void AFX_CDECL Format(UINT nFormatID, ...);
    void FormatV(LPCSTR lpszFormat, va_list argList);

    // Loads string nID from the resource module (AfxFindResourceHandle).
    // FALSE (and the string empty) when there is no such string.
    BOOL LoadString(UINT nID);
    BOOL LoadString(HINSTANCE hInstance, UINT nID);

    // A writable buffer of at least nMinBufLength bytes plus the terminator.
    LPSTR GetBuffer(int nMinBufLength);
    // nNewLength < 0: the length up to the first zero byte (within the buffer).
    void ReleaseBuffer(int nNewLength = -1);
    LPSTR GetBufferSetLength(int nNewLength);
    void FreeExtra();
    LPSTR LockBuffer() { return m_pchData; }
    void UnlockBuffer() {}

    // UTF-16 copies for COM and GDI+ (SysFreeString frees them).
    BSTR AllocSysString() const;
    BSTR SetSysString(BSTR* pbstr) const;

private:
    struct CStringData
    {
        int nDataLength;
        int nAllocLength;
        char* data() { return reinterpret_cast<char*>(this + 1); }
    };
    CStringData* GetData() const { return reinterpret_cast<CStringData*>(m_pchData) - 1; }
    void Init();
    void AllocBuffer(int nLen);
    void Release();
    void AssignCopy(int nSrcLen, LPCSTR lpszSrcData);
    void ConcatInPlace(int nSrcLen, LPCSTR lpszSrcData);
    void AssignWide(LPCWSTR lpsz, int nLength);
    void EnsureCapacity(int nLen);           // keeps the content
    void SetLengthUnchecked(int nLen);

    LPSTR m_pchData;                         // the text; a header precedes it
};

bool operator==(const CString& s1, const CString& s2);
bool operator==(const CString& s1, LPCSTR s2);
bool operator==(LPCSTR s1, const CString& s2);
bool operator!=(const CString& s1, const CString& s2);
bool operator!=(const CString& s1, LPCSTR s2);
bool operator!=(LPCSTR s1, const CString& s2);
bool operator<(const CString& s1, const CString& s2);
bool operator<(const CString& s1, LPCSTR s2);
bool operator<(LPCSTR s1, const CString& s2);
bool operator>(const CString& s1, const CString& s2);
bool operator>(const CString& s1, LPCSTR s2);
bool operator>(LPCSTR s1, const CString& s2);
bool operator<=(const CString& s1, const CString& s2);
bool operator<=(const CString& s1, LPCSTR s2);
bool operator<=(LPCSTR s1, const CString& s2);
bool operator>=(const CString& s1, const CString& s2);
bool operator>=(const CString& s1, LPCSTR s2);
bool operator>=(LPCSTR s1, const CString& s2);

class CFileException : public CException
{
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none, generic, fileNotFound, badPath, tooManyOpenFiles, accessDenied,
        invalidFile, removeCurrentDir, directoryFull, badSeek, hardIO,
        sharingViolation, lockViolation, diskFull, endOfFile
    };
    explicit CFileException(int cause = none, LONG lOsError = -1, LPCSTR lpszFileName = NULL);

    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) override;
    // The cause for a system error code (ERROR_FILE_NOT_FOUND: fileNotFound ...).
    static int PASCAL OsErrorToException(LONG lOsError);

    int m_cause;
    LONG m_lOsError;                         // system error code, -1 when none
    CString m_strFileName;
};

// Conversions between the ANSI code page and UTF-16 for API boundaries:
//   CA2W w(psz); SomeWideApi(w);   CW2A a(pwsz); CString s = a;
class CA2W
{
public:
    explicit CA2W(LPCSTR psz, int nLength = -1);
    ~CA2W();
    operator LPCWSTR() const { return m_psz; }
    int GetLength() const { return m_nLength; }   // UTF-16 units, no terminator
private:
    CA2W(const CA2W&) = delete;
    CA2W& operator=(const CA2W&) = delete;
    LPWSTR m_psz;
    int m_nLength;
    WCHAR m_szBuffer[64];
};

class CW2A
{
public:
    explicit CW2A(LPCWSTR psz, int nLength = -1);
    ~CW2A();
    operator LPCSTR() const { return m_psz; }
    int GetLength() const { return m_nLength; }   // bytes, no terminator
private:
    CW2A(const CW2A&) = delete;
    CW2A& operator=(const CW2A&) = delete;
    LPSTR m_psz;
    int m_nLength;
    char m_szBuffer[128];
};

/////////////////////////////////////////////////////////////////////////////
// CSize, CPoint, CRect

class CPoint;
class CRect;

class CSize : public tagSIZE
{
public:
    CSize() { cx = 0; cy = 0; }
    CSize(int initCX, int initCY) { cx = initCX; cy = initCY; }
    CSize(SIZE initSize) { cx = initSize.cx; cy = initSize.cy; }
    CSize(POINT initPt) { cx = initPt.x; cy = initPt.y; }
    CSize(DWORD dwSize) { cx = (short)LOWORD(dwSize); cy = (short)HIWORD(dwSize); }

    BOOL operator==(SIZE size) const { return cx == size.cx && cy == size.cy; }
    BOOL operator!=(SIZE size) const { return !(*this == size); }
    void operator+=(SIZE size) { cx += size.cx; cy += size.cy; }
    void operator-=(SIZE size) { cx -= size.cx; cy -= size.cy; }
    CSize operator+(SIZE size) const { return CSize(cx + size.cx, cy + size.cy); }
    CSize operator-(SIZE size) const { return CSize(cx - size.cx, cy - size.cy); }
    CSize operator-() const { return CSize(-cx, -cy); }
    CPoint operator+(POINT point) const;
    CPoint operator-(POINT point) const;
    CRect operator+(const RECT* lpRect) const;
    CRect operator-(const RECT* lpRect) const;
};

// may_alias: CRect::TopLeft/BottomRight hand out the rectangle's corners as
// points, as callers of this framework expect.
class __attribute__((__may_alias__)) CPoint : public tagPOINT
{
public:
    CPoint() { x = 0; y = 0; }
    CPoint(int initX, int initY) { x = initX; y = initY; }
    CPoint(POINT initPt) { x = initPt.x; y = initPt.y; }
    CPoint(SIZE initSize) { x = initSize.cx; y = initSize.cy; }
    // From a message's lParam: signed 16-bit x (low word) and y (high word).
    CPoint(DWORD dwPoint) { x = (short)LOWORD(dwPoint); y = (short)HIWORD(dwPoint); }

    void Offset(int xOffset, int yOffset) { x += xOffset; y += yOffset; }
    void Offset(POINT point) { Offset(point.x, point.y); }
    void Offset(SIZE size) { Offset(size.cx, size.cy); }
    BOOL operator==(POINT point) const { return x == point.x && y == point.y; }
    BOOL operator!=(POINT point) const { return !(*this == point); }
    void operator+=(SIZE size) { x += size.cx; y += size.cy; }
    void operator-=(SIZE size) { x -= size.cx; y -= size.cy; }
    void operator+=(POINT point) { x += point.x; y += point.y; }
    void operator-=(POINT point) { x -= point.x; y -= point.y; }
    CPoint operator+(SIZE size) const { return CPoint(x + size.cx, y + size.cy); }
    CPoint operator-(SIZE size) const { return CPoint(x - size.cx, y - size.cy); }
    CPoint operator-() const { return CPoint(-x, -y); }
    CPoint operator+(POINT point) const { return CPoint(x + point.x, y + point.y); }
    CSize operator-(POINT point) const { return CSize(x - point.x, y - point.y); }
    CRect operator+(const RECT* lpRect) const;
    CRect operator-(const RECT* lpRect) const;
};

inline CPoint CSize::operator+(POINT point) const { return CPoint(cx + point.x, cy + point.y); }
inline CPoint CSize::operator-(POINT point) const { return CPoint(point.x - cx, point.y - cy); }

// Rectangles follow the system's rules: right and bottom are exclusive, a
// rectangle with no width or height is empty.
class __attribute__((__may_alias__)) CRect : public tagRECT
{
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    CRect(const RECT& srcRect) { CopyRect(&srcRect); }
    CRect(const RECT* lpSrcRect) { CopyRect(lpSrcRect); }
    CRect(POINT point, SIZE size)
    { left = point.x; top = point.y; right = point.x + size.cx; bottom = point.y + size.cy; }
    CRect(POINT topLeft, POINT bottomRight)
    { left = topLeft.x; top = topLeft.y; right = bottomRight.x; bottom = bottomRight.y; }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(right - left, bottom - top); }
    CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(&left); }
    CPoint& BottomRight() { return *reinterpret_cast<CPoint*>(&right); }
    const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(&left); }
    const CPoint& BottomRight() const { return *reinterpret_cast<const CPoint*>(&right); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }

    BOOL IsRectEmpty() const { return left >= right || top >= bottom; }
    BOOL IsRectNull() const { return left == 0 && right == 0 && top == 0 && bottom == 0; }
    BOOL PtInRect(POINT point) const
    { return point.x >= left && point.x < right && point.y >= top && point.y < bottom; }

    void SetRect(int x1, int y1, int x2, int y2) { left = x1; top = y1; right = x2; bottom = y2; }
    void SetRect(POINT topLeft, POINT bottomRight) { SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y); }
    void SetRectEmpty() { left = top = right = bottom = 0; }
    void CopyRect(LPCRECT lpSrcRect)
    { left = lpSrcRect->left; top = lpSrcRect->top; right = lpSrcRect->right; bottom = lpSrcRect->bottom; }
    BOOL EqualRect(LPCRECT lpRect) const
    { return left == lpRect->left && top == lpRect->top && right == lpRect->right && bottom == lpRect->bottom; }

    void InflateRect(int x, int y) { left -= x; top -= y; right += x; bottom += y; }
    void InflateRect(SIZE size) { InflateRect(size.cx, size.cy); }
    void InflateRect(LPCRECT lpRect)
    { left -= lpRect->left; top -= lpRect->top; right += lpRect->right; bottom += lpRect->bottom; }
    void InflateRect(int l, int t, int r, int b) { left -= l; top -= t; right += r; bottom += b; }
    void DeflateRect(int x, int y) { InflateRect(-x, -y); }
    void DeflateRect(SIZE size) { InflateRect(-size.cx, -size.cy); }
    void DeflateRect(LPCRECT lpRect)
    { left += lpRect->left; top += lpRect->top; right -= lpRect->right; bottom -= lpRect->bottom; }
    void DeflateRect(int l, int t, int r, int b) { left += l; top += t; right -= r; bottom -= b; }

    void OffsetRect(int x, int y) { left += x; top += y; right += x; bottom += y; }
    void OffsetRect(SIZE size) { OffsetRect(size.cx, size.cy); }
    void OffsetRect(POINT point) { OffsetRect(point.x, point.y); }
    void NormalizeRect();

    // FALSE (and this rectangle emptied) when the result is empty.
    BOOL IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2);
    BOOL UnionRect(LPCRECT lpRect1, LPCRECT lpRect2);
    BOOL SubtractRect(LPCRECT lpRectSrc1, LPCRECT lpRectSrc2);

    void operator=(const RECT& srcRect) { CopyRect(&srcRect); }
    BOOL operator==(const RECT& rect) const { return EqualRect(&rect); }
    BOOL operator!=(const RECT& rect) const { return !EqualRect(&rect); }
    void operator+=(POINT point) { OffsetRect(point.x, point.y); }
    void operator+=(SIZE size) { OffsetRect(size.cx, size.cy); }
    void operator+=(LPCRECT lpRect) { InflateRect(lpRect); }
    void operator-=(POINT point) { OffsetRect(-point.x, -point.y); }
    void operator-=(SIZE size) { OffsetRect(-size.cx, -size.cy); }
    void operator-=(LPCRECT lpRect) { DeflateRect(lpRect); }
    void operator&=(const RECT& rect) { CRect r(*this); IntersectRect(&r, &rect); }
    void operator|=(const RECT& rect) { CRect r(*this); UnionRect(&r, &rect); }
    CRect operator+(POINT point) const { CRect r(*this); r.OffsetRect(point); return r; }
    CRect operator-(POINT point) const { CRect r(*this); r.OffsetRect(-point.x, -point.y); return r; }
    CRect operator+(SIZE size) const { CRect r(*this); r.OffsetRect(size); return r; }
    CRect operator-(SIZE size) const { CRect r(*this); r.OffsetRect(-size.cx, -size.cy); return r; }
    CRect operator+(LPCRECT lpRect) const { CRect r(*this); r.InflateRect(lpRect); return r; }
    CRect operator-(LPCRECT lpRect) const { CRect r(*this); r.DeflateRect(lpRect); return r; }
    CRect operator&(const RECT& rect2) const { CRect r; r.IntersectRect(this, &rect2); return r; }
    CRect operator|(const RECT& rect2) const { CRect r; r.UnionRect(this, &rect2); return r; }
};

inline CRect CSize::operator+(const RECT* lpRect) const { return CRect(lpRect) + *this; }
inline CRect CSize::operator-(const RECT* lpRect) const { return CRect(lpRect) - *this; }
inline CRect CPoint::operator+(const RECT* lpRect) const { return CRect(lpRect) + *this; }
inline CRect CPoint::operator-(const RECT* lpRect) const { return CRect(lpRect) - *this; }

/////////////////////////////////////////////////////////////////////////////
// Collections
//
// Arrays keep their elements in one block that grows by the grow-by count
// set with SetSize(n, nGrowBy) (the program's own arrays use 10), or by a
// size-dependent step when none was set. Bad indexes in the bulk operations
// (InsertAt past the end grows the array, RemoveAt clips the count) are
// handled; a bad index to GetAt/SetAt/ElementAt/operator[] is a programming
// error and stops the program with a message. Allocation failure throws
// CMemoryException.

[[noreturn]] void AFXAPI AfxCollectionIndexFault(LPCSTR lpszClass, INT_PTR nIndex, INT_PTR nSize);
void* AFXAPI AfxAllocElements(INT_PTR nCount, size_t nElementSize);   // throws CMemoryException

template<class T>
inline T* AfxNewOrThrow(T* p)
{
    if (p == nullptr)
        AfxThrowMemoryException();
    return p;
}

template<class TYPE, class ARG_TYPE>
BOOL AFXAPI CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2)
{
    return *pElement1 == *pElement2;
}

template<class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject
{
public:
    CArray() = default;
    ~CArray() override { RemoveAll(); }

    int GetSize() const { return m_nSize; }
    int GetCount() const { return m_nSize; }
    int GetUpperBound() const { return m_nSize - 1; }
    BOOL IsEmpty() const { return m_nSize == 0; }
    // Sets the element count (new elements value-initialized); nGrowBy >= 0
    // also sets the grow-by count. A negative nNewSize is ignored.
    void SetSize(int nNewSize, int nGrowBy = -1);

    void FreeExtra();
    void RemoveAll() { SetSize(0, -1); }

    TYPE GetAt(int nIndex) const { CheckIndex(nIndex); return m_pData[nIndex]; }
    void SetAt(int nIndex, ARG_TYPE newElement) { CheckIndex(nIndex); m_pData[nIndex] = newElement; }
    TYPE& ElementAt(int nIndex) { CheckIndex(nIndex); return m_pData[nIndex]; }
    const TYPE& ElementAt(int nIndex) const { CheckIndex(nIndex); return m_pData[nIndex]; }
    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }

    void SetAtGrow(int nIndex, ARG_TYPE newElement);
    int Add(ARG_TYPE newElement) { int nIndex = m_nSize; SetAtGrow(nIndex, newElement); return nIndex; }
    int Append(const CArray& src);           // index of the first appended element
    void Copy(const CArray& src);

    TYPE operator[](int nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](int nIndex) { return ElementAt(nIndex); }

    // Inserting at or past the end grows the array (with value-initialized
    // elements in any gap). A negative index or count is ignored.
    void InsertAt(int nIndex, ARG_TYPE newElement, int nCount = 1);
    void InsertAt(int nStartIndex, const CArray* pNewArray);
    // Removes up to nCount elements from nIndex; out-of-range parts are ignored.
    void RemoveAt(int nIndex, int nCount = 1);

protected:
    void CheckIndex(int nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nSize)
            AfxCollectionIndexFault("CArray", nIndex, m_nSize);
    }
    void Reallocate(int nNewMax);

    TYPE* m_pData = nullptr;
    int m_nSize = 0;
    int m_nMaxSize = 0;
    int m_nGrowBy = 0;
};

template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Reallocate(int nNewMax)
{
    TYPE* pNewData = static_cast<TYPE*>(AfxAllocElements(nNewMax, sizeof(TYPE)));
    for (int i = 0; i < m_nSize; i++) {
        ::new (static_cast<void*>(pNewData + i)) TYPE(std::move(m_pData[i]));
        m_pData[i].~TYPE();
    }
    ::operator delete(m_pData);
    m_pData = pNewData;
    m_nMaxSize = nNewMax;
}

template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(int nNewSize, int nGrowBy)
{
    if (nGrowBy >= 0)
        m_nGrowBy = nGrowBy;
    if (nNewSize < 0)
        return;
    if (nNewSize == 0) {
        for (int i = 0; i < m_nSize; i++)
            m_pData[i].~TYPE();
        ::operator delete(m_pData);
        m_pData = nullptr;
        m_nSize = m_nMaxSize = 0;
        return;
    }
    if (nNewSize > m_nMaxSize) {
        int nStep = m_nGrowBy;
        if (nStep == 0) {
            nStep = m_nSize / 8;
            nStep = nStep < 4 ? 4 : (nStep > 1024 ? 1024 : nStep);
        }
        INT_PTR nNewMax = (m_pData == nullptr) ? (INT_PTR)nStep : (INT_PTR)m_nMaxSize + nStep;
        if (nNewMax < nNewSize)
            nNewMax = nNewSize;
        if (nNewMax > INT_MAX)
            nNewMax = INT_MAX;
        Reallocate((int)nNewMax);
    }
    for (int i = m_nSize; i < nNewSize; i++)
        ::new (static_cast<void*>(m_pData + i)) TYPE();
    for (int i = nNewSize; i < m_nSize; i++)
        m_pData[i].~TYPE();
    m_nSize = nNewSize;
}

template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::FreeExtra()
{
    if (m_nSize != m_nMaxSize && m_nSize > 0)
        Reallocate(m_nSize);
}

template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(int nIndex, ARG_TYPE newElement)
{
    if (nIndex < 0)
        AfxCollectionIndexFault("CArray", nIndex, m_nSize);
    if (nIndex >= m_nSize) {
        TYPE copy(newElement);               // newElement may live in this array
        if (nIndex == INT_MAX)
            AfxThrowMemoryException();
        SetSize(nIndex + 1, -1);
        m_pData[nIndex] = std::move(copy);
    } else {
        m_pData[nIndex] = newElement;
    }
}

template<class TYPE, class ARG_TYPE>
int CArray<TYPE, ARG_TYPE>::Append(const CArray& src)
{
    int nOldSize = m_nSize;
    if (&src == this) {
        CArray copy;
        copy.Copy(src);
        return Append(copy);
    }
    if ((INT_PTR)m_nSize + src.m_nSize > INT_MAX)
        AfxThrowMemoryException();
    SetSize(m_nSize + src.m_nSize, -1);
    for (int i = 0; i < src.m_nSize; i++)
        m_pData[nOldSize + i] = src.m_pData[i];
    return nOldSize;
}

template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src)
{
    if (&src == this)
        return;
    SetSize(src.m_nSize, -1);
    for (int i = 0; i < src.m_nSize; i++)
        m_pData[i] = src.m_pData[i];
}

template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(int nIndex, ARG_TYPE newElement, int nCount)
{
    if (nIndex < 0 || nCount <= 0)
        return;
    TYPE copy(newElement);                   // newElement may live in this array
    int nOldSize = m_nSize;
    if (nIndex >= nOldSize) {
        if ((INT_PTR)nIndex + nCount > INT_MAX)
            AfxThrowMemoryException();
        SetSize(nIndex + nCount, -1);
    } else {
        if ((INT_PTR)nOldSize + nCount > INT_MAX)
            AfxThrowMemoryException();
        SetSize(nOldSize + nCount, -1);
        std::move_backward(m_pData + nIndex, m_pData + nOldSize, m_pData + nOldSize + nCount);
    }
    for (int i = 0; i < nCount; i++)
        m_pData[nIndex + i] = copy;
}

template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(int nStartIndex, const CArray* pNewArray)
{
    if (pNewArray == nullptr || nStartIndex < 0 || pNewArray->GetSize() == 0)
        return;
    if (pNewArray == this) {
        CArray copy;
        copy.Copy(*pNewArray);
        InsertAt(nStartIndex, &copy);
        return;
    }
    InsertAt(nStartIndex, pNewArray->GetAt(0), pNewArray->GetSize());
    for (int i = 1; i < pNewArray->GetSize(); i++)
        m_pData[nStartIndex + i] = pNewArray->m_pData[i];
}

template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(int nIndex, int nCount)
{
    if (nIndex < 0 || nIndex >= m_nSize || nCount <= 0)
        return;
    if (nCount > m_nSize - nIndex)
        nCount = m_nSize - nIndex;
    std::move(m_pData + nIndex + nCount, m_pData + m_nSize, m_pData + nIndex);
    for (int i = m_nSize - nCount; i < m_nSize; i++)
        m_pData[i].~TYPE();
    m_nSize -= nCount;
}

class CPtrArray : public CArray<void*, void*>
{
    DECLARE_DYNAMIC(CPtrArray)
};

class CObArray : public CArray<CObject*, CObject*>
{
    DECLARE_DYNAMIC(CObArray)
};

class CByteArray : public CArray<BYTE, BYTE>
{
    DECLARE_DYNAMIC(CByteArray)
};

class CWordArray : public CArray<WORD, WORD>
{
    DECLARE_DYNAMIC(CWordArray)
};

class CDWordArray : public CArray<DWORD, DWORD>
{
    DECLARE_DYNAMIC(CDWordArray)
};

class CUIntArray : public CArray<UINT, UINT>
{
    DECLARE_DYNAMIC(CUIntArray)
};

class CStringArray : public CArray<CString, const CString&>
{
    DECLARE_DYNAMIC(CStringArray)
};

// An array of TYPE pointers kept in a CPtrArray or CObArray.
template<class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS
{
public:
    TYPE GetAt(int nIndex) const { return (TYPE)BASE_CLASS::GetAt(nIndex); }
    TYPE& ElementAt(int nIndex) { return (TYPE&)BASE_CLASS::ElementAt(nIndex); }
    void SetAt(int nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
    void SetAtGrow(int nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
    int Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
    void InsertAt(int nIndex, TYPE newElement, int nCount = 1) { BASE_CLASS::InsertAt(nIndex, newElement, nCount); }
    TYPE operator[](int nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](int nIndex) { return ElementAt(nIndex); }
};

// A doubly linked list. POSITION values stay valid until their element is
// removed. Operations on the head or tail of an empty list, and NULL
// positions, are programming errors and stop the program with a message.
template<class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject
{
protected:
    struct CNode
    {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

public:
    explicit CList(int nBlockSize = 10) { (void)nBlockSize; }
    ~CList() override { RemoveAll(); }

    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return NonEmpty(m_pNodeHead)->data; }
    const TYPE& GetHead() const { return NonEmpty(m_pNodeHead)->data; }
    TYPE& GetTail() { return NonEmpty(m_pNodeTail)->data; }
    const TYPE& GetTail() const { return NonEmpty(m_pNodeTail)->data; }

    TYPE RemoveHead();
    TYPE RemoveTail();
    POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(NULL, newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(NULL, newElement); }
    void AddHead(const CList* pNewList);
    void AddTail(const CList* pNewList);
    void RemoveAll();

    POSITION GetHeadPosition() const { return (POSITION)m_pNodeHead; }
    POSITION GetTailPosition() const { return (POSITION)m_pNodeTail; }
    TYPE& GetNext(POSITION& rPosition)
    { CNode* p = NonEmpty((CNode*)rPosition); rPosition = (POSITION)p->pNext; return p->data; }
    const TYPE& GetNext(POSITION& rPosition) const
    { CNode* p = NonEmpty((CNode*)rPosition); rPosition = (POSITION)p->pNext; return p->data; }
    TYPE& GetPrev(POSITION& rPosition)
    { CNode* p = NonEmpty((CNode*)rPosition); rPosition = (POSITION)p->pPrev; return p->data; }
    const TYPE& GetPrev(POSITION& rPosition) const
    { CNode* p = NonEmpty((CNode*)rPosition); rPosition = (POSITION)p->pPrev; return p->data; }

    TYPE& GetAt(POSITION position) { return NonEmpty((CNode*)position)->data; }
    const TYPE& GetAt(POSITION position) const { return NonEmpty((CNode*)position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { NonEmpty((CNode*)pos)->data = newElement; }
    void RemoveAt(POSITION position);

    // position NULL: before the head / after the tail.
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement);
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement);

    // The first element equal to searchValue after startAfter (NULL: from
    // the head), or NULL.
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = NULL) const;
    // The nIndex-th element (0-based), or NULL when out of range.
    POSITION FindIndex(int nIndex) const;

protected:
    static CNode* NonEmpty(CNode* p)
    {
        if (p == nullptr)
            AfxCollectionIndexFault("CList", -1, 0);
        return p;
    }

    CNode* m_pNodeHead = nullptr;
    CNode* m_pNodeTail = nullptr;
    int m_nCount = 0;
};

template<class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveHead()
{
    CNode* p = NonEmpty(m_pNodeHead);
    TYPE value(std::move(p->data));
    RemoveAt((POSITION)p);
    return value;
}

template<class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveTail()
{
    CNode* p = NonEmpty(m_pNodeTail);
    TYPE value(std::move(p->data));
    RemoveAt((POSITION)p);
    return value;
}

template<class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddHead(const CList* pNewList)
{
    if (pNewList == nullptr)
        return;
    CList copy;
    copy.AddTail(pNewList);                  // pNewList may be this list
    for (CNode* p = copy.m_pNodeTail; p != nullptr; p = p->pPrev)
        AddHead(p->data);
}

template<class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddTail(const CList* pNewList)
{
    if (pNewList == nullptr)
        return;
    int n = pNewList->m_nCount;              // pNewList may be this list
    CNode* p = pNewList->m_pNodeHead;
    for (int i = 0; i < n; i++, p = p->pNext)
        AddTail(p->data);
}

template<class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAll()
{
    CNode* p = m_pNodeHead;
    while (p != nullptr) {
        CNode* pNext = p->pNext;
        delete p;
        p = pNext;
    }
    m_pNodeHead = m_pNodeTail = nullptr;
    m_nCount = 0;
}

template<class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAt(POSITION position)
{
    CNode* p = NonEmpty((CNode*)position);
    if (p->pPrev) p->pPrev->pNext = p->pNext; else m_pNodeHead = p->pNext;
    if (p->pNext) p->pNext->pPrev = p->pPrev; else m_pNodeTail = p->pPrev;
    delete p;
    m_nCount--;
}

template<class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION position, ARG_TYPE newElement)
{
    CNode* pOld = (CNode*)position;
    if (pOld == nullptr)
        pOld = m_pNodeHead;
    CNode* p = AfxNewOrThrow(new (std::nothrow) CNode{nullptr, nullptr, TYPE(newElement)});
    p->pNext = pOld;
    p->pPrev = pOld ? pOld->pPrev : nullptr;
    if (p->pPrev) p->pPrev->pNext = p; else m_pNodeHead = p;
    if (pOld) pOld->pPrev = p; else m_pNodeTail = p;
    m_nCount++;
    return (POSITION)p;
}

template<class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION position, ARG_TYPE newElement)
{
    CNode* pOld = (CNode*)position;
    if (pOld == nullptr)
        pOld = m_pNodeTail;
    CNode* p = AfxNewOrThrow(new (std::nothrow) CNode{nullptr, nullptr, TYPE(newElement)});
    p->pPrev = pOld;
    p->pNext = pOld ? pOld->pNext : nullptr;
    if (p->pNext) p->pNext->pPrev = p; else m_pNodeTail = p;
    if (pOld) pOld->pNext = p; else m_pNodeHead = p;
    m_nCount++;
    return (POSITION)p;
}

template<class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Find(ARG_TYPE searchValue, POSITION startAfter) const
{
    CNode* p = startAfter ? ((CNode*)startAfter)->pNext : m_pNodeHead;
    for (; p != nullptr; p = p->pNext)
        if (CompareElements<TYPE, TYPE>(&p->data, &searchValue))
            return (POSITION)p;
    return NULL;
}

template<class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::FindIndex(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nCount)
        return NULL;
    CNode* p = m_pNodeHead;
    while (nIndex-- > 0)
        p = p->pNext;
    return (POSITION)p;
}

class CPtrList : public CList<void*, void*>
{
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(int nBlockSize = 10) : CList<void*, void*>(nBlockSize) {}
};

class CObList : public CList<CObject*, CObject*>
{
    DECLARE_DYNAMIC(CObList)
public:
    explicit CObList(int nBlockSize = 10) : CList<CObject*, CObject*>(nBlockSize) {}
};

class CStringList : public CList<CString, const CString&>
{
    DECLARE_DYNAMIC(CStringList)
public:
    explicit CStringList(int nBlockSize = 10) : CList<CString, const CString&>(nBlockSize) {}
};

template<class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS
{
public:
    explicit CTypedPtrList(int nBlockSize = 10) : BASE_CLASS(nBlockSize) {}
    TYPE& GetHead() { return (TYPE&)BASE_CLASS::GetHead(); }
    TYPE& GetTail() { return (TYPE&)BASE_CLASS::GetTail(); }
    TYPE RemoveHead() { return (TYPE)BASE_CLASS::RemoveHead(); }
    TYPE RemoveTail() { return (TYPE)BASE_CLASS::RemoveTail(); }
    TYPE& GetNext(POSITION& rPosition) { return (TYPE&)BASE_CLASS::GetNext(rPosition); }
    TYPE& GetPrev(POSITION& rPosition) { return (TYPE&)BASE_CLASS::GetPrev(rPosition); }
    TYPE& GetAt(POSITION position) { return (TYPE&)BASE_CLASS::GetAt(position); }
    POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
    POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
};

// Hash values of map keys: pointer-sized values by their bits above the
// lowest four, strings by the framework's multiplicative string hash.
template<class ARG_KEY>
inline UINT AFXAPI HashKey(ARG_KEY key)
{
    return (UINT)(((UINT_PTR)key) >> 4);
}
UINT AFXAPI AfxHashString(LPCSTR key);
template<> inline UINT AFXAPI HashKey<LPCSTR>(LPCSTR key) { return AfxHashString(key); }
template<> inline UINT AFXAPI HashKey<const CString&>(const CString& key) { return AfxHashString(key); }

// A hash map. Iteration (GetStartPosition / GetNextAssoc) walks the hash
// buckets in order, newest entry first within a bucket. Removing the entry
// just returned by GetNextAssoc is allowed during iteration.
template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject
{
protected:
    struct CAssoc
    {
        CAssoc* pNext;
        UINT nHashValue;
        KEY key;
        VALUE value;
    };

public:
    explicit CMap(int nBlockSize = 10) { (void)nBlockSize; }
    ~CMap() override { RemoveAll(); }

    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const;
    VALUE& operator[](ARG_KEY key);          // adds the key when missing
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(ARG_KEY key);
    void RemoveAll();

    POSITION GetStartPosition() const { return m_nCount == 0 ? NULL : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const;

    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // Sets the bucket count (existing entries are rehashed).
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);

protected:
    CAssoc* GetAssocAt(ARG_KEY key, UINT& nHash) const;

    CAssoc** m_pHashTable = nullptr;
    UINT m_nHashTableSize = 17;
    int m_nCount = 0;
};

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(UINT nHashSize, BOOL bAllocNow)
{
    if (nHashSize == 0)
        nHashSize = 1;
    CAssoc** pOld = m_pHashTable;
    UINT nOldSize = m_nHashTableSize;
    m_pHashTable = nullptr;
    m_nHashTableSize = nHashSize;
    if (bAllocNow || pOld != nullptr) {
        m_pHashTable = static_cast<CAssoc**>(AfxAllocElements(nHashSize, sizeof(CAssoc*)));
        memset(m_pHashTable, 0, sizeof(CAssoc*) * nHashSize);
    }
    if (pOld == nullptr)
        return;
    // Rehash keeping each bucket's newest-first order.
    for (UINT b = 0; b < nOldSize; b++) {
        CAssoc* pReversed = nullptr;
        for (CAssoc* p = pOld[b]; p != nullptr;) {
            CAssoc* pNext = p->pNext;
            p->pNext = pReversed;
            pReversed = p;
            p = pNext;
        }
        for (CAssoc* p = pReversed; p != nullptr;) {
            CAssoc* pNext = p->pNext;
            UINT nBucket = p->nHashValue % m_nHashTableSize;
            p->pNext = m_pHashTable[nBucket];
            m_pHashTable[nBucket] = p;
            p = pNext;
        }
    }
    ::operator delete(pOld);
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc*
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetAssocAt(ARG_KEY key, UINT& nHash) const
{
    nHash = HashKey<ARG_KEY>(key);
    if (m_pHashTable == nullptr)
        return nullptr;
    for (CAssoc* p = m_pHashTable[nHash % m_nHashTableSize]; p != nullptr; p = p->pNext)
        if (p->nHashValue == nHash && CompareElements<KEY, ARG_KEY>(&p->key, &key))
            return p;
    return nullptr;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Lookup(ARG_KEY key, VALUE& rValue) const
{
    UINT nHash;
    CAssoc* p = GetAssocAt(key, nHash);
    if (p == nullptr)
        return FALSE;
    rValue = p->value;
    return TRUE;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key)
{
    UINT nHash;
    CAssoc* p = GetAssocAt(key, nHash);
    if (p != nullptr)
        return p->value;
    if (m_pHashTable == nullptr)
        InitHashTable(m_nHashTableSize, TRUE);
    p = AfxNewOrThrow(new (std::nothrow) CAssoc{nullptr, nHash, KEY(key), VALUE()});
    UINT nBucket = nHash % m_nHashTableSize;
    p->pNext = m_pHashTable[nBucket];
    m_pHashTable[nBucket] = p;
    m_nCount++;
    return p->value;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key)
{
    if (m_pHashTable == nullptr)
        return FALSE;
    UINT nHash = HashKey<ARG_KEY>(key);
    CAssoc** ppPrev = &m_pHashTable[nHash % m_nHashTableSize];
    for (CAssoc* p = *ppPrev; p != nullptr; ppPrev = &p->pNext, p = p->pNext) {
        if (p->nHashValue == nHash && CompareElements<KEY, ARG_KEY>(&p->key, &key)) {
            *ppPrev = p->pNext;
            delete p;
            m_nCount--;
            return TRUE;
        }
    }
    return FALSE;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll()
{
    if (m_pHashTable != nullptr) {
        for (UINT b = 0; b < m_nHashTableSize; b++) {
            for (CAssoc* p = m_pHashTable[b]; p != nullptr;) {
                CAssoc* pNext = p->pNext;
                delete p;
                p = pNext;
            }
        }
        ::operator delete(m_pHashTable);
        m_pHashTable = nullptr;
    }
    m_nCount = 0;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
{
    CAssoc* p = (CAssoc*)rNextPosition;
    if (p == nullptr || m_pHashTable == nullptr)
        AfxCollectionIndexFault("CMap", -1, m_nCount);
    if (rNextPosition == BEFORE_START_POSITION) {
        p = nullptr;
        for (UINT b = 0; b < m_nHashTableSize && p == nullptr; b++)
            p = m_pHashTable[b];
        if (p == nullptr)
            AfxCollectionIndexFault("CMap", -1, m_nCount);
    }
    CAssoc* pNext = p->pNext;
    for (UINT b = p->nHashValue % m_nHashTableSize + 1; pNext == nullptr && b < m_nHashTableSize; b++)
        pNext = m_pHashTable[b];
    rNextPosition = (POSITION)pNext;
    rKey = p->key;
    rValue = p->value;
}

class CMapStringToPtr : public CMap<CString, LPCSTR, void*, void*>
{
    DECLARE_DYNAMIC(CMapStringToPtr)
public:
    explicit CMapStringToPtr(int nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapStringToString : public CMap<CString, LPCSTR, CString, LPCSTR>
{
    DECLARE_DYNAMIC(CMapStringToString)
public:
    explicit CMapStringToString(int nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapPtrToPtr : public CMap<void*, void*, void*, void*>
{
    DECLARE_DYNAMIC(CMapPtrToPtr)
public:
    explicit CMapPtrToPtr(int nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*>
{
    DECLARE_DYNAMIC(CMapWordToPtr)
public:
    explicit CMapWordToPtr(int nBlockSize = 10) : CMap(nBlockSize) {}
};

/////////////////////////////////////////////////////////////////////////////
// CFile: a file through the system's file handles.
//
// Results are values: Open returns FALSE (and fills *pError when given),
// Read returns the count read (0 at the end or on error), Write returns FALSE
// unless every byte was written, Seek returns -1 on error. Nothing throws.

class CFile : public CObject
{
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };

    static const HANDLE hFileNull;

    CFile();
    explicit CFile(HANDLE hFile);            // attaches; Close() closes it, the destructor does not
    ~CFile() override;

    virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL);
    virtual void Close();                    // ignores errors
    virtual void Abort() { Close(); }

    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual BOOL Write(const void* lpBuf, UINT nCount);
    virtual BOOL Flush();

    // New position from the start, or -1 on error (position unchanged).
    virtual LONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    LONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;     // 0 on error
    virtual BOOL SetLength(ULONGLONG dwNewLen);

    BOOL IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }
    HANDLE GetHandle() const { return m_hFile; }
    operator HANDLE() const { return m_hFile; }
    CString GetFilePath() const;
    CString GetFileName() const;             // the part after the last '\' or '/'

    static BOOL PASCAL Remove(LPCSTR lpszFileName, CFileException* pError = NULL);
    static BOOL PASCAL Rename(LPCSTR lpszOldName, LPCSTR lpszNewName, CFileException* pError = NULL);

    HANDLE m_hFile;

protected:
    BOOL m_bCloseOnDelete;
    CString m_strFileName;
};

/////////////////////////////////////////////////////////////////////////////
// CTimeSpan, CTime: seconds since 1970-01-01 00:00 UTC (64-bit).

class CTimeSpan
{
public:
    CTimeSpan() : m_timeSpan(0) {}
    CTimeSpan(__time64_t time) : m_timeSpan(time) {}
    CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
        : m_timeSpan(nSecs + 60 * (nMins + 60 * (nHours + (__time64_t)24 * lDays))) {}

    LONGLONG GetDays() const { return m_timeSpan / (24 * 3600); }
    LONGLONG GetTotalHours() const { return m_timeSpan / 3600; }
    int GetHours() const { return (int)(GetTotalHours() - GetDays() * 24); }
    LONGLONG GetTotalMinutes() const { return m_timeSpan / 60; }
    int GetMinutes() const { return (int)(GetTotalMinutes() - GetTotalHours() * 60); }
    LONGLONG GetTotalSeconds() const { return m_timeSpan; }
    int GetSeconds() const { return (int)(GetTotalSeconds() - GetTotalMinutes() * 60); }
    __time64_t GetTimeSpan() const { return m_timeSpan; }

    CTimeSpan operator-(CTimeSpan span) const { return CTimeSpan(m_timeSpan - span.m_timeSpan); }
    CTimeSpan operator+(CTimeSpan span) const { return CTimeSpan(m_timeSpan + span.m_timeSpan); }
    const CTimeSpan& operator+=(CTimeSpan span) { m_timeSpan += span.m_timeSpan; return *this; }
    const CTimeSpan& operator-=(CTimeSpan span) { m_timeSpan -= span.m_timeSpan; return *this; }
    bool operator==(CTimeSpan span) const { return m_timeSpan == span.m_timeSpan; }
    bool operator!=(CTimeSpan span) const { return m_timeSpan != span.m_timeSpan; }
    bool operator<(CTimeSpan span) const { return m_timeSpan < span.m_timeSpan; }
    bool operator>(CTimeSpan span) const { return m_timeSpan > span.m_timeSpan; }
    bool operator<=(CTimeSpan span) const { return m_timeSpan <= span.m_timeSpan; }
    bool operator>=(CTimeSpan span) const { return m_timeSpan >= span.m_timeSpan; }

    // %D days, %H hours (00-23), %M minutes, %S seconds, %% a percent sign.
    CString Format(LPCSTR pFormat) const;

private:
    __time64_t m_timeSpan;
};

class CTime
{
public:
    static CTime PASCAL GetCurrentTime();

    CTime() : m_time(0) {}
    CTime(__time64_t time) : m_time(time) {}
    // Local time; nDST < 0 lets the system decide daylight saving time. An
    // impossible date gives the invalid time -1.
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
    CTime(const SYSTEMTIME& sysTime, int nDST = -1);   // local time
    CTime(const FILETIME& fileTime, int nDST = -1);    // UTC file time

    __time64_t GetTime() const { return m_time; }
    BOOL IsValid() const { return m_time >= 0; }

    // Fields of the local time; 0 for an invalid time.
    struct tm* GetLocalTm(struct tm* ptm) const;   // NULL when not representable
    struct tm* GetGmtTm(struct tm* ptm) const;
    BOOL GetAsSystemTime(SYSTEMTIME& timeDest) const;
    int GetYear() const;
    int GetMonth() const;                    // 1-12
    int GetDay() const;                      // 1-31
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;                // 1 = Sunday

    CTimeSpan operator-(CTime time) const { return CTimeSpan(m_time - time.m_time); }
    CTime operator-(CTimeSpan span) const { return CTime(m_time - span.GetTimeSpan()); }
    CTime operator+(CTimeSpan span) const { return CTime(m_time + span.GetTimeSpan()); }
    const CTime& operator+=(CTimeSpan span) { m_time += span.GetTimeSpan(); return *this; }
    const CTime& operator-=(CTimeSpan span) { m_time -= span.GetTimeSpan(); return *this; }
    bool operator==(CTime time) const { return m_time == time.m_time; }
    bool operator!=(CTime time) const { return m_time != time.m_time; }
    bool operator<(CTime time) const { return m_time < time.m_time; }
    bool operator>(CTime time) const { return m_time > time.m_time; }
    bool operator<=(CTime time) const { return m_time <= time.m_time; }
    bool operator>=(CTime time) const { return m_time >= time.m_time; }

    // strftime conversions of the local (Format) or UTC (FormatGmt) time.
    // Unknown conversions are copied as they are; an invalid time gives "".
    CString Format(LPCSTR pFormat) const;
    CString FormatGmt(LPCSTR pFormat) const;

private:
    __time64_t m_time;
};

/////////////////////////////////////////////////////////////////////////////
// Synchronisation

class CSyncObject : public CObject
{
    DECLARE_DYNAMIC(CSyncObject)
public:
    explicit CSyncObject(LPCSTR pstrName);
    ~CSyncObject() override;

    operator HANDLE() const { return m_hObject; }
    // TRUE when the object was acquired within dwTimeout milliseconds (an
    // abandoned mutex counts as acquired: its ownership passes to the caller).
    virtual BOOL Lock(DWORD dwTimeout = INFINITE);
    virtual BOOL Unlock() = 0;

    HANDLE m_hObject;
};

class CCriticalSection : public CSyncObject
{
    DECLARE_DYNAMIC(CCriticalSection)
public:
    CCriticalSection();
    ~CCriticalSection() override;

    operator CRITICAL_SECTION*() { return &m_sect; }
    BOOL Lock() { ::EnterCriticalSection(&m_sect); return TRUE; }
    BOOL Lock(DWORD dwTimeout) override { (void)dwTimeout; return Lock(); }   // always waits
    BOOL Unlock() override { ::LeaveCriticalSection(&m_sect); return TRUE; }

    CRITICAL_SECTION m_sect;
};

class CMutex : public CSyncObject
{
    DECLARE_DYNAMIC(CMutex)
public:
    // Throws CResourceException when the mutex cannot be created.
    explicit CMutex(BOOL bInitiallyOwn = FALSE, LPCSTR lpszName = NULL,
                    LPSECURITY_ATTRIBUTES lpsaAttribute = NULL);
    BOOL Unlock() override;
};

class CEvent : public CSyncObject
{
    DECLARE_DYNAMIC(CEvent)
public:
    // Throws CResourceException when the event cannot be created.
    explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE,
                    LPCSTR lpszName = NULL, LPSECURITY_ATTRIBUTES lpsaAttribute = NULL);
    BOOL SetEvent() { return ::SetEvent(m_hObject); }
    BOOL PulseEvent() { return ::PulseEvent(m_hObject); }
    BOOL ResetEvent() { return ::ResetEvent(m_hObject); }
    BOOL Unlock() override { return TRUE; }
};

// Holds one synchronisation object for a scope: unlocks it on destruction
// if this lock acquired it.
class CSingleLock
{
public:
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
    ~CSingleLock() { Unlock(); }

    BOOL Lock(DWORD dwTimeOut = INFINITE);
    BOOL Unlock();
    BOOL IsLocked() const { return m_bAcquired; }

private:
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;
    CSyncObject* m_pObject;
    BOOL m_bAcquired;
};
