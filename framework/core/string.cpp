// CString: multibyte strings in the ANSI code page, and the conversions to
// and from UTF-16.
#include "afx.h"

#include <stdio.h>
#include <stdlib.h>

/////////////////////////////////////////////////////////////////////////////
// Double-byte characters

namespace {

// Lead bytes of the ANSI code page, read once.
struct LeadByteTable
{
    bool lead[256] = {};
    LeadByteTable()
    {
        CPINFO info;
        if (!::GetCPInfo(CP_ACP, &info) || info.MaxCharSize < 2)
            return;
        for (int i = 0; i + 1 < MAX_LEADBYTES && (info.LeadByte[i] | info.LeadByte[i + 1]) != 0; i += 2)
            for (int b = info.LeadByte[i]; b <= info.LeadByte[i + 1] && b < 256; b++)
                lead[b] = true;
    }
};

const LeadByteTable& LeadBytes()
{
    static const LeadByteTable s_table;
    return s_table;
}

// Byte length of the character at p (1 or 2); a lead byte with no trail
// byte before the end counts as one byte.
inline int CharLen(LPCSTR p, LPCSTR pEnd)
{
    return (LeadBytes().lead[(BYTE)*p] && p + 1 < pEnd && p[1] != '\0') ? 2 : 1;
}

inline bool IsSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// TRUE when the character (p, nLen) is one of the characters of lpszSet.
bool CharInSet(LPCSTR p, int nLen, LPCSTR lpszSet)
{
    if (lpszSet == NULL)
        return false;
    LPCSTR pSetEnd = lpszSet + strlen(lpszSet);
    for (LPCSTR q = lpszSet; q < pSetEnd; q += CharLen(q, pSetEnd)) {
        int nSetLen = CharLen(q, pSetEnd);
        if (nSetLen == nLen && memcmp(p, q, nLen) == 0)
            return true;
    }
    return false;
}

inline char FoldLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? (char)(c + ('a' - 'A')) : c;
}

int SafeLength(LPCSTR lpsz)
{
    if (lpsz == NULL)
        return 0;
    size_t n = strlen(lpsz);
    if (n > (size_t)INT_MAX - 64)
        AfxThrowMemoryException();
    return (int)n;
}

}  // namespace

BOOL AFXAPI AfxIsLeadByte(BYTE b)
{
    return LeadBytes().lead[b];
}

int AFXAPI AfxCharBoundary(LPCSTR psz, int nLength, int nMaxBytes)
{
    if (psz == NULL || nLength <= 0 || nMaxBytes <= 0)
        return 0;
    if (nMaxBytes >= nLength)
        return nLength;
    LPCSTR pEnd = psz + nLength;
    int nPos = 0;
    while (nPos < nMaxBytes) {
        int n = CharLen(psz + nPos, pEnd);
        if (nPos + n > nMaxBytes)
            break;
        nPos += n;
    }
    return nPos;
}

UINT AFXAPI AfxHashString(LPCSTR key)
{
    UINT nHash = 0;
    if (key != NULL)
        while (*key)
            nHash = (nHash << 5) + nHash + (UINT)(int)*key++;   // char is signed here
    return nHash;
}

/////////////////////////////////////////////////////////////////////////////
// Storage

namespace {
// The shared empty string: never written, never freed.
struct NilString
{
    int nDataLength;
    int nAllocLength;
    char text[4];
};
NilString g_nilString = {0, 0, {0, 0, 0, 0}};
}  // namespace

void CString::Init()
{
    m_pchData = g_nilString.text;
}

void CString::AllocBuffer(int nLen)
{
    if (nLen < 0 || (size_t)nLen > (size_t)INT_MAX - sizeof(CStringData) - 1)
        AfxThrowMemoryException();
    if (nLen == 0) {
        Init();
        return;
    }
    CStringData* pData = static_cast<CStringData*>(malloc(sizeof(CStringData) + nLen + 1));
    if (pData == NULL)
        AfxThrowMemoryException();
    pData->nDataLength = nLen;
    pData->nAllocLength = nLen;
    pData->data()[nLen] = '\0';
    m_pchData = pData->data();
}

void CString::Release()
{
    if (m_pchData != g_nilString.text)
        free(GetData());
    Init();
}

void CString::EnsureCapacity(int nLen)
{
    CStringData* pOld = GetData();
    if (m_pchData != g_nilString.text && pOld->nAllocLength >= nLen)
        return;
    if (nLen < 0 || (size_t)nLen > (size_t)INT_MAX - sizeof(CStringData) - 1)
        AfxThrowMemoryException();
    CStringData* pData = static_cast<CStringData*>(malloc(sizeof(CStringData) + nLen + 1));
    if (pData == NULL)
        AfxThrowMemoryException();
    int nKeep = pOld->nDataLength;
    memcpy(pData->data(), m_pchData, nKeep + 1);
    pData->nDataLength = nKeep;
    pData->nAllocLength = nLen;
    if (m_pchData != g_nilString.text)
        free(pOld);
    m_pchData = pData->data();
}

void CString::SetLengthUnchecked(int nLen)
{
    if (m_pchData == g_nilString.text)
        return;
    GetData()->nDataLength = nLen;
    m_pchData[nLen] = '\0';
}

void CString::AssignCopy(int nSrcLen, LPCSTR lpszSrcData)
{
    if (nSrcLen == 0) {
        Empty();
        return;
    }
    if (m_pchData != g_nilString.text && GetData()->nAllocLength >= nSrcLen) {
        memmove(m_pchData, lpszSrcData, nSrcLen);   // the source may be our own text
        SetLengthUnchecked(nSrcLen);
        return;
    }
    CString copy;
    copy.AllocBuffer(nSrcLen);
    memcpy(copy.m_pchData, lpszSrcData, nSrcLen);
    std::swap(m_pchData, copy.m_pchData);
}

void CString::ConcatInPlace(int nSrcLen, LPCSTR lpszSrcData)
{
    if (nSrcLen <= 0)
        return;
    int nOldLen = GetLength();
    if (nSrcLen > INT_MAX - 64 - nOldLen)
        AfxThrowMemoryException();
    int nNewLen = nOldLen + nSrcLen;
    if (m_pchData != g_nilString.text && GetData()->nAllocLength >= nNewLen) {
        memmove(m_pchData + nOldLen, lpszSrcData, nSrcLen);
        SetLengthUnchecked(nNewLen);
        return;
    }
    // Grow by half again, so appending in a loop stays linear; the source
    // may be our own text, so it is copied before the old block goes.
    int nAlloc = (nNewLen <= (INT_MAX - 64) / 3 * 2) ? nNewLen + nNewLen / 2 : INT_MAX - 64;
    CString grown;
    grown.AllocBuffer(nAlloc);
    memcpy(grown.m_pchData, m_pchData, nOldLen);
    memcpy(grown.m_pchData + nOldLen, lpszSrcData, nSrcLen);
    grown.SetLengthUnchecked(nNewLen);
    std::swap(m_pchData, grown.m_pchData);
}

void CString::AssignWide(LPCWSTR lpsz, int nLength)
{
    if (lpsz == NULL || nLength == 0) {
        Empty();
        return;
    }
    if (nLength < 0)
        nLength = (int)wcslen(lpsz);
    int nBytes = ::WideCharToMultiByte(CP_ACP, 0, lpsz, nLength, NULL, 0, NULL, NULL);
    CString converted;
    if (nBytes > 0) {
        converted.AllocBuffer(nBytes);
        ::WideCharToMultiByte(CP_ACP, 0, lpsz, nLength, converted.m_pchData, nBytes, NULL, NULL);
    }
    std::swap(m_pchData, converted.m_pchData);
}

/////////////////////////////////////////////////////////////////////////////
// Construction and assignment

CString::CString() { Init(); }

CString::CString(const CString& stringSrc)
{
    Init();
    AssignCopy(stringSrc.GetLength(), stringSrc.m_pchData);
}

CString::CString(CString&& stringSrc) noexcept
{
    m_pchData = stringSrc.m_pchData;
    stringSrc.Init();
}

CString::CString(LPCSTR lpsz)
{
    Init();
    if (lpsz != NULL && IS_INTRESOURCE(lpsz))
        LoadString(LOWORD((UINT_PTR)lpsz));
    else
        AssignCopy(SafeLength(lpsz), lpsz);
}

CString::CString(LPCSTR lpch, int nLength)
{
    Init();
    if (lpch != NULL && nLength > 0)
        AssignCopy(nLength, lpch);
}

CString::CString(const unsigned char* psz) : CString(reinterpret_cast<LPCSTR>(psz)) {}

CString::CString(LPCWSTR lpsz)
{
    Init();
    AssignWide(lpsz, -1);
}

CString::CString(LPCWSTR lpch, int nLength)
{
    Init();
    if (nLength > 0)
        AssignWide(lpch, nLength);
}

CString::CString(char ch, int nRepeat)
{
    Init();
    if (nRepeat > 0) {
        AllocBuffer(nRepeat);
        memset(m_pchData, ch, nRepeat);
    }
}

CString::~CString()
{
    Release();
}

void CString::Empty()
{
    Release();
}

const CString& CString::operator=(const CString& stringSrc)
{
    if (this != &stringSrc)
        AssignCopy(stringSrc.GetLength(), stringSrc.m_pchData);
    return *this;
}

const CString& CString::operator=(CString&& stringSrc) noexcept
{
    if (this != &stringSrc) {
        Release();
        m_pchData = stringSrc.m_pchData;
        stringSrc.Init();
    }
    return *this;
}

const CString& CString::operator=(LPCSTR lpsz)
{
    AssignCopy(SafeLength(lpsz), lpsz);
    return *this;
}

const CString& CString::operator=(const unsigned char* psz)
{
    return *this = reinterpret_cast<LPCSTR>(psz);
}

const CString& CString::operator=(LPCWSTR lpsz)
{
    AssignWide(lpsz, -1);
    return *this;
}

const CString& CString::operator=(char ch)
{
    AssignCopy(1, &ch);
    return *this;
}

const CString& CString::operator+=(const CString& string)
{
    ConcatInPlace(string.GetLength(), string.m_pchData);
    return *this;
}

const CString& CString::operator+=(LPCSTR lpsz)
{
    ConcatInPlace(SafeLength(lpsz), lpsz);
    return *this;
}

const CString& CString::operator+=(char ch)
{
    ConcatInPlace(1, &ch);
    return *this;
}

CString operator+(const CString& s1, const CString& s2)
{
    CString s(s1);
    s += s2;
    return s;
}

CString operator+(const CString& s, LPCSTR lpsz)
{
    CString r(s);
    r += lpsz;
    return r;
}

CString operator+(LPCSTR lpsz, const CString& s)
{
    CString r(lpsz);
    r += s;
    return r;
}

CString operator+(const CString& s, char ch)
{
    CString r(s);
    r += ch;
    return r;
}

CString operator+(char ch, const CString& s)
{
    CString r(ch);
    r += s;
    return r;
}

/////////////////////////////////////////////////////////////////////////////
// Characters

char CString::GetAt(int nIndex) const
{
    return (nIndex >= 0 && nIndex < GetLength()) ? m_pchData[nIndex] : '\0';
}

void CString::SetAt(int nIndex, char ch)
{
    if (nIndex >= 0 && nIndex < GetLength())
        m_pchData[nIndex] = ch;
}

/////////////////////////////////////////////////////////////////////////////
// Comparison

int CString::Compare(LPCSTR lpsz) const
{
    return strcmp(m_pchData, lpsz ? lpsz : "");
}

int CString::CompareNoCase(LPCSTR lpsz) const
{
    if (lpsz == NULL)
        lpsz = "";
    const BYTE* p1 = reinterpret_cast<const BYTE*>(m_pchData);
    const BYTE* p2 = reinterpret_cast<const BYTE*>(lpsz);
    for (;;) {
        // Compare one character of each side; fold only single-byte letters.
        bool bLead1 = LeadBytes().lead[*p1] && p1[1] != 0;
        bool bLead2 = LeadBytes().lead[*p2] && p2[1] != 0;
        BYTE c1 = bLead1 ? *p1 : (BYTE)FoldLower((char)*p1);
        BYTE c2 = bLead2 ? *p2 : (BYTE)FoldLower((char)*p2);
        if (c1 != c2)
            return c1 < c2 ? -1 : 1;
        if (c1 == 0)
            return 0;
        if (bLead1 != bLead2)
            return bLead1 ? 1 : -1;
        if (bLead1) {
            if (p1[1] != p2[1])
                return p1[1] < p2[1] ? -1 : 1;
            p1 += 2;
            p2 += 2;
        } else {
            p1++;
            p2++;
        }
    }
}

int CString::Collate(LPCSTR lpsz) const
{
    return ::CompareStringA(LOCALE_USER_DEFAULT, 0, m_pchData, -1, lpsz ? lpsz : "", -1) - CSTR_EQUAL;
}

int CString::CollateNoCase(LPCSTR lpsz) const
{
    return ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, m_pchData, -1, lpsz ? lpsz : "", -1) - CSTR_EQUAL;
}

bool operator==(const CString& s1, const CString& s2) { return s1.Compare(s2) == 0; }
bool operator==(const CString& s1, LPCSTR s2) { return s1.Compare(s2) == 0; }
bool operator==(LPCSTR s1, const CString& s2) { return s2.Compare(s1) == 0; }
bool operator!=(const CString& s1, const CString& s2) { return s1.Compare(s2) != 0; }
bool operator!=(const CString& s1, LPCSTR s2) { return s1.Compare(s2) != 0; }
bool operator!=(LPCSTR s1, const CString& s2) { return s2.Compare(s1) != 0; }
bool operator<(const CString& s1, const CString& s2) { return s1.Compare(s2) < 0; }
bool operator<(const CString& s1, LPCSTR s2) { return s1.Compare(s2) < 0; }
bool operator<(LPCSTR s1, const CString& s2) { return s2.Compare(s1) > 0; }
bool operator>(const CString& s1, const CString& s2) { return s1.Compare(s2) > 0; }
bool operator>(const CString& s1, LPCSTR s2) { return s1.Compare(s2) > 0; }
bool operator>(LPCSTR s1, const CString& s2) { return s2.Compare(s1) < 0; }
bool operator<=(const CString& s1, const CString& s2) { return s1.Compare(s2) <= 0; }
bool operator<=(const CString& s1, LPCSTR s2) { return s1.Compare(s2) <= 0; }
bool operator<=(LPCSTR s1, const CString& s2) { return s2.Compare(s1) >= 0; }
bool operator>=(const CString& s1, const CString& s2) { return s1.Compare(s2) >= 0; }
bool operator>=(const CString& s1, LPCSTR s2) { return s1.Compare(s2) >= 0; }
bool operator>=(LPCSTR s1, const CString& s2) { return s2.Compare(s1) <= 0; }

/////////////////////////////////////////////////////////////////////////////
// Extraction

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const
{
    int nLen = GetLength();
    if (nFirst < 0)
        nFirst = 0;
    if (nCount < 0 || nFirst >= nLen)
        return CString();
    if (nCount > nLen - nFirst)
        nCount = nLen - nFirst;
    return CString(m_pchData + nFirst, nCount);
}

CString CString::Left(int nCount) const
{
    if (nCount <= 0)
        return CString();
    if (nCount >= GetLength())
        return *this;
    return CString(m_pchData, nCount);
}

CString CString::Right(int nCount) const
{
    int nLen = GetLength();
    if (nCount <= 0)
        return CString();
    if (nCount >= nLen)
        return *this;
    return CString(m_pchData + nLen - nCount, nCount);
}

CString CString::LeftWhole(int nMaxBytes) const
{
    return Left(AfxCharBoundary(m_pchData, GetLength(), nMaxBytes));
}

CString CString::SpanIncluding(LPCSTR lpszCharSet) const
{
    LPCSTR pEnd = m_pchData + GetLength();
    LPCSTR p = m_pchData;
    while (p < pEnd && CharInSet(p, CharLen(p, pEnd), lpszCharSet))
        p += CharLen(p, pEnd);
    return Left((int)(p - m_pchData));
}

CString CString::SpanExcluding(LPCSTR lpszCharSet) const
{
    LPCSTR pEnd = m_pchData + GetLength();
    LPCSTR p = m_pchData;
    while (p < pEnd && !CharInSet(p, CharLen(p, pEnd), lpszCharSet))
        p += CharLen(p, pEnd);
    return Left((int)(p - m_pchData));
}

/////////////////////////////////////////////////////////////////////////////
// Case and order

void CString::MakeUpper()
{
    LPSTR pEnd = m_pchData + GetLength();
    for (LPSTR p = m_pchData; p < pEnd; p += CharLen(p, pEnd))
        if (*p >= 'a' && *p <= 'z')
            *p = (char)(*p - ('a' - 'A'));
}

void CString::MakeLower()
{
    LPSTR pEnd = m_pchData + GetLength();
    for (LPSTR p = m_pchData; p < pEnd; p += CharLen(p, pEnd))
        *p = FoldLower(*p);   // a lead byte is never a letter
}

void CString::MakeReverse()
{
    int nLen = GetLength();
    if (nLen < 2)
        return;
    CString reversed(' ', nLen);
    LPCSTR pEnd = m_pchData + nLen;
    LPSTR pOut = reversed.m_pchData + nLen;
    for (LPCSTR p = m_pchData; p < pEnd;) {
        int n = CharLen(p, pEnd);
        pOut -= n;
        memcpy(pOut, p, n);
        p += n;
    }
    memcpy(m_pchData, reversed.m_pchData, nLen);
}

/////////////////////////////////////////////////////////////////////////////
// Trimming

namespace {
enum class TrimKind { Space, Char, Set };

bool Trimmed(LPCSTR p, int nLen, TrimKind kind, char ch, LPCSTR lpszSet)
{
    switch (kind) {
    case TrimKind::Space: return nLen == 1 && IsSpace(*p);
    case TrimKind::Char: return nLen == 1 && *p == ch;
    case TrimKind::Set: return CharInSet(p, nLen, lpszSet);
    }
    return false;
}

// Byte count of the leading run of trimmed characters.
int LeadingRun(LPCSTR psz, int nLength, TrimKind kind, char ch, LPCSTR lpszSet)
{
    LPCSTR pEnd = psz + nLength;
    LPCSTR p = psz;
    while (p < pEnd && Trimmed(p, CharLen(p, pEnd), kind, ch, lpszSet))
        p += CharLen(p, pEnd);
    return (int)(p - psz);
}

// Byte offset where the trailing run of trimmed characters starts.
int TrailingRunStart(LPCSTR psz, int nLength, TrimKind kind, char ch, LPCSTR lpszSet)
{
    LPCSTR pEnd = psz + nLength;
    LPCSTR pRun = NULL;
    for (LPCSTR p = psz; p < pEnd; p += CharLen(p, pEnd)) {
        if (Trimmed(p, CharLen(p, pEnd), kind, ch, lpszSet)) {
            if (pRun == NULL)
                pRun = p;
        } else {
            pRun = NULL;
        }
    }
    return (int)((pRun ? pRun : pEnd) - psz);
}
}  // namespace

void CString::TrimLeft() { Delete(0, LeadingRun(m_pchData, GetLength(), TrimKind::Space, 0, NULL)); }
void CString::TrimLeft(char chTarget) { Delete(0, LeadingRun(m_pchData, GetLength(), TrimKind::Char, chTarget, NULL)); }
void CString::TrimLeft(LPCSTR lpszTargets) { Delete(0, LeadingRun(m_pchData, GetLength(), TrimKind::Set, 0, lpszTargets)); }

void CString::TrimRight()
{
    SetLengthUnchecked(TrailingRunStart(m_pchData, GetLength(), TrimKind::Space, 0, NULL));
}

void CString::TrimRight(char chTarget)
{
    SetLengthUnchecked(TrailingRunStart(m_pchData, GetLength(), TrimKind::Char, chTarget, NULL));
}

void CString::TrimRight(LPCSTR lpszTargets)
{
    SetLengthUnchecked(TrailingRunStart(m_pchData, GetLength(), TrimKind::Set, 0, lpszTargets));
}

/////////////////////////////////////////////////////////////////////////////
// Editing

int CString::Replace(char chOld, char chNew)
{
    int nCount = 0;
    LPSTR pEnd = m_pchData + GetLength();
    for (LPSTR p = m_pchData; p < pEnd; p += CharLen(p, pEnd)) {
        if (CharLen(p, pEnd) == 1 && *p == chOld) {
            *p = chNew;
            nCount++;
        }
    }
    return nCount;
}

int CString::Replace(LPCSTR lpszOld, LPCSTR lpszNew)
{
    int nOldLen = SafeLength(lpszOld);
    if (nOldLen == 0)
        return 0;
    int nNewLen = SafeLength(lpszNew);
    int nLen = GetLength();
    LPCSTR pEnd = m_pchData + nLen;
    int nCount = 0;
    CString result;
    LPCSTR pCopied = m_pchData;
    for (LPCSTR p = m_pchData; p < pEnd;) {
        if (pEnd - p >= nOldLen && memcmp(p, lpszOld, nOldLen) == 0) {
            result.ConcatInPlace((int)(p - pCopied), pCopied);
            result.ConcatInPlace(nNewLen, lpszNew);
            nCount++;
            p += nOldLen;                    // the match is whole characters
            pCopied = p;
        } else {
            p += CharLen(p, pEnd);
        }
    }
    if (nCount == 0)
        return 0;
    result.ConcatInPlace((int)(pEnd - pCopied), pCopied);
    *this = std::move(result);
    return nCount;
}

int CString::Remove(char chRemove)
{
    int nLen = GetLength();
    LPSTR pEnd = m_pchData + nLen;
    LPSTR pOut = m_pchData;
    for (LPSTR p = m_pchData; p < pEnd;) {
        int n = CharLen(p, pEnd);
        if (!(n == 1 && *p == chRemove)) {
            memmove(pOut, p, n);
            pOut += n;
        }
        p += n;
    }
    int nRemoved = (int)(pEnd - pOut);
    SetLengthUnchecked(nLen - nRemoved);
    return nRemoved;
}

int CString::Insert(int nIndex, char ch)
{
    char sz[2] = {ch, '\0'};
    if (ch == '\0')
        return GetLength();
    return Insert(nIndex, sz);
}

int CString::Insert(int nIndex, LPCSTR pstr)
{
    int nLen = GetLength();
    if (nIndex < 0)
        nIndex = 0;
    if (nIndex > nLen)
        nIndex = nLen;
    int nInsert = SafeLength(pstr);
    if (nInsert == 0)
        return nLen;
    CString inserted(pstr);                  // pstr may be our own text
    if (nInsert > INT_MAX - 64 - nLen)
        AfxThrowMemoryException();
    EnsureCapacity(nLen + nInsert);
    memmove(m_pchData + nIndex + nInsert, m_pchData + nIndex, nLen - nIndex);
    memcpy(m_pchData + nIndex, inserted.m_pchData, nInsert);
    SetLengthUnchecked(nLen + nInsert);
    return nLen + nInsert;
}

int CString::Delete(int nIndex, int nCount)
{
    int nLen = GetLength();
    if (nIndex < 0)
        nIndex = 0;
    if (nCount <= 0 || nIndex >= nLen)
        return nLen;
    if (nCount > nLen - nIndex)
        nCount = nLen - nIndex;
    memmove(m_pchData + nIndex, m_pchData + nIndex + nCount, nLen - nIndex - nCount);
    SetLengthUnchecked(nLen - nCount);
    return nLen - nCount;
}

/////////////////////////////////////////////////////////////////////////////
// Searching (by characters)

int CString::Find(char ch, int nStart) const
{
    int nLen = GetLength();
    if (nStart < 0)
        nStart = 0;
    LPCSTR pEnd = m_pchData + nLen;
    for (LPCSTR p = m_pchData; p < pEnd; p += CharLen(p, pEnd))
        if (p - m_pchData >= nStart && *p == ch)
            return (int)(p - m_pchData);
    return -1;
}

int CString::Find(LPCSTR lpszSub, int nStart) const
{
    int nLen = GetLength();
    int nSubLen = SafeLength(lpszSub);
    if (nStart < 0)
        nStart = 0;
    if (nStart > nLen)
        return -1;
    LPCSTR pEnd = m_pchData + nLen;
    for (LPCSTR p = m_pchData; p <= pEnd; p += (p < pEnd ? CharLen(p, pEnd) : 1)) {
        int nPos = (int)(p - m_pchData);
        if (nPos >= nStart && nLen - nPos >= nSubLen && memcmp(p, lpszSub, nSubLen) == 0)
            return nPos;
    }
    return -1;
}

int CString::ReverseFind(char ch) const
{
    int nLast = -1;
    LPCSTR pEnd = m_pchData + GetLength();
    for (LPCSTR p = m_pchData; p < pEnd; p += CharLen(p, pEnd))
        if (*p == ch)
            nLast = (int)(p - m_pchData);
    return nLast;
}

int CString::FindOneOf(LPCSTR lpszCharSet) const
{
    LPCSTR pEnd = m_pchData + GetLength();
    for (LPCSTR p = m_pchData; p < pEnd; p += CharLen(p, pEnd))
        if (CharInSet(p, CharLen(p, pEnd), lpszCharSet))
            return (int)(p - m_pchData);
    return -1;
}

/////////////////////////////////////////////////////////////////////////////
// Formatting

void CString::FormatV(LPCSTR lpszFormat, va_list argList)
{
    if (lpszFormat == NULL) {
        Empty();
        return;
    }
    va_list argCount;
    va_copy(argCount, argList);
    int nLen = _vscprintf(lpszFormat, argCount);
    va_end(argCount);
    // Format into a new block: the arguments may point into this string.
    CString result;
    if (nLen > 0) {
        result.AllocBuffer(nLen);
        int nWritten = _vsnprintf(result.m_pchData, (size_t)nLen + 1, lpszFormat, argList);
        result.SetLengthUnchecked(nWritten < 0 ? 0 : (nWritten > nLen ? nLen : nWritten));
    }
    *this = std::move(result);
}

void AFX_CDECL CString::Format(LPCSTR lpszFormat, ...)
{
    va_list args;
    va_start(args, lpszFormat);
    FormatV(lpszFormat, args);
    va_end(args);
}

void AFX_CDECL CString::Format(UINT nFormatID, ...)
{
    CString format;
    format.LoadString(nFormatID);
    va_list args;
    va_start(args, nFormatID);
    FormatV(format, args);
    va_end(args);
}

/////////////////////////////////////////////////////////////////////////////
// Resources

BOOL CString::LoadString(UINT nID)
{
    LPCSTR lpszBlock = MAKEINTRESOURCEA((LOWORD(nID) >> 4) + 1);
    return LoadString(AfxFindResourceHandle(lpszBlock, (LPCSTR)RT_STRING), nID);
}

BOOL CString::LoadString(HINSTANCE hInstance, UINT nID)
{
    Empty();
    // A string table block holds 16 counted UTF-16 strings; every count is
    // checked against the block's size.
    HRSRC hBlock = ::FindResourceA(hInstance, MAKEINTRESOURCEA((LOWORD(nID) >> 4) + 1), (LPCSTR)RT_STRING);
    if (hBlock == NULL)
        return FALSE;
    HGLOBAL hData = ::LoadResource(hInstance, hBlock);
    const WCHAR* p = hData ? static_cast<const WCHAR*>(::LockResource(hData)) : NULL;
    DWORD cbBlock = ::SizeofResource(hInstance, hBlock);
    if (p == NULL)
        return FALSE;
    const WCHAR* pEnd = p + cbBlock / sizeof(WCHAR);
    for (UINT i = 0; i < (nID & 15); i++) {
        if (p >= pEnd || (size_t)(pEnd - p) <= *p)
            return FALSE;
        p += 1 + *p;
    }
    if (p >= pEnd || *p == 0 || (size_t)(pEnd - p - 1) < *p)
        return FALSE;
    AssignWide(p + 1, *p);
    return !IsEmpty();
}

/////////////////////////////////////////////////////////////////////////////
// Buffers

LPSTR CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength < 0)
        nMinBufLength = 0;
    EnsureCapacity(nMinBufLength);
    return m_pchData;
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (m_pchData == g_nilString.text)
        return;
    int nAlloc = GetData()->nAllocLength;
    if (nNewLength < 0) {
        const void* pZero = memchr(m_pchData, '\0', nAlloc);
        nNewLength = pZero ? (int)(static_cast<LPCSTR>(pZero) - m_pchData) : nAlloc;
    } else if (nNewLength > nAlloc) {
        nNewLength = nAlloc;
    }
    SetLengthUnchecked(nNewLength);
}

LPSTR CString::GetBufferSetLength(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = 0;
    GetBuffer(nNewLength);
    SetLengthUnchecked(nNewLength);
    return m_pchData;
}

void CString::FreeExtra()
{
    if (m_pchData != g_nilString.text && GetData()->nAllocLength > GetLength()) {
        CString exact(m_pchData, GetLength());
        std::swap(m_pchData, exact.m_pchData);
    }
}

/////////////////////////////////////////////////////////////////////////////
// UTF-16

BSTR CString::AllocSysString() const
{
    int nLen = GetLength();
    int nWide = nLen ? ::MultiByteToWideChar(CP_ACP, 0, m_pchData, nLen, NULL, 0) : 0;
    BSTR bstr = ::SysAllocStringLen(NULL, nWide);
    if (bstr == NULL)
        AfxThrowMemoryException();
    if (nWide > 0)
        ::MultiByteToWideChar(CP_ACP, 0, m_pchData, nLen, bstr, nWide);
    bstr[nWide] = L'\0';
    return bstr;
}

BSTR CString::SetSysString(BSTR* pbstr) const
{
    BSTR bstrNew = AllocSysString();
    if (pbstr != NULL) {
        ::SysFreeString(*pbstr);
        *pbstr = bstrNew;
    }
    return bstrNew;
}

CA2W::CA2W(LPCSTR psz, int nLength) : m_psz(m_szBuffer), m_nLength(0)
{
    m_szBuffer[0] = L'\0';
    if (psz == NULL)
        return;
    if (nLength < 0)
        nLength = SafeLength(psz);
    if (nLength == 0)
        return;
    int nWide = ::MultiByteToWideChar(CP_ACP, 0, psz, nLength, NULL, 0);
    if (nWide <= 0)
        return;
    if (nWide >= (int)(sizeof(m_szBuffer) / sizeof(m_szBuffer[0]))) {
        m_psz = static_cast<LPWSTR>(malloc(((size_t)nWide + 1) * sizeof(WCHAR)));
        if (m_psz == NULL)
            AfxThrowMemoryException();
    }
    m_nLength = ::MultiByteToWideChar(CP_ACP, 0, psz, nLength, m_psz, nWide);
    m_psz[m_nLength] = L'\0';
}

CA2W::~CA2W()
{
    if (m_psz != m_szBuffer)
        free(m_psz);
}

CW2A::CW2A(LPCWSTR psz, int nLength) : m_psz(m_szBuffer), m_nLength(0)
{
    m_szBuffer[0] = '\0';
    if (psz == NULL)
        return;
    if (nLength < 0)
        nLength = (int)wcslen(psz);
    if (nLength == 0)
        return;
    int nBytes = ::WideCharToMultiByte(CP_ACP, 0, psz, nLength, NULL, 0, NULL, NULL);
    if (nBytes <= 0)
        return;
    if (nBytes >= (int)sizeof(m_szBuffer)) {
        m_psz = static_cast<LPSTR>(malloc((size_t)nBytes + 1));
        if (m_psz == NULL)
            AfxThrowMemoryException();
    }
    m_nLength = ::WideCharToMultiByte(CP_ACP, 0, psz, nLength, m_psz, nBytes, NULL, NULL);
    m_psz[m_nLength] = '\0';
}

CW2A::~CW2A()
{
    if (m_psz != m_szBuffer)
        free(m_psz);
}
