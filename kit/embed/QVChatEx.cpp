// The chat control's wrapper: properties and methods by dispatch id, and the
// version gate of the newer methods.
#include "QVChatEx.h"

#include "AxControls.h"

namespace {

const char kChatModule[] = "QVChatEx.dll";

} // namespace

CQVChatEx::CQVChatEx()
{
    LoadVersion();
}

CQVChatEx::~CQVChatEx() = default;

CQVChatEx* CreateChatControl()
{
    return new CQVChatEx;
}

const CLSID& CQVChatEx::GetClsid()
{
    return CLSID_QVChatEx;
}

BOOL CQVChatEx::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!CreateControl(CLSID_QVChatEx, NULL, dwStyle, rect, pParentWnd, nID))
        return FALSE;
    if (!m_version.IsLoaded())
        LoadVersion();
    return TRUE;
}

// The control that serves this process when it is loaded already, else the
// file the system's search finds under the name.
BOOL CQVChatEx::LoadVersion()
{
    HMODULE hModule = ::GetModuleHandleA(kChatModule);
    char szPath[MAX_PATH];
    if (hModule != NULL) {
        DWORD n = ::GetModuleFileNameA(hModule, szPath, MAX_PATH);
        if (n > 0 && n < MAX_PATH)
            return m_version.Load(szPath);
    }
    return m_version.Load(kChatModule);
}

BOOL CQVChatEx::IsVersionAtLeast(LPCSTR lpszVersion)
{
    if (!m_version.IsLoaded() && !LoadVersion())
        return FALSE;
    return m_version.Compare(lpszVersion);
}

#ifdef _WIN64
#define VTS_RECORD VTS_I8
typedef LONGLONG RecordAddress;
#else
#define VTS_RECORD VTS_I4
typedef long RecordAddress;
#endif

BOOL CQVChatEx::CallDispid49(const void* pRecord, long nLength)
{
    BOOL result = 0;
    InvokeHelper(49, DISPATCH_METHOD, VT_BOOL, &result, (const BYTE*)(VTS_RECORD VTS_I4),
                 (RecordAddress)(INT_PTR)pRecord, nLength);
    return result;
}

BOOL CQVChatEx::CallDispid47(const void* pRecord, long nLength, LPCSTR p3, LPCSTR p4, LPCSTR p5, long p6, long p7)
{
    BOOL result = 0;
    InvokeHelper(47, DISPATCH_METHOD, VT_BOOL, &result,
                 (const BYTE*)(VTS_RECORD VTS_I4 VTS_BSTR VTS_BSTR VTS_BSTR VTS_I4 VTS_I4), (RecordAddress)(INT_PTR)pRecord,
                 nLength, p3, p4, p5, p6, p7);
    return result;
}

void CQVChatEx::AboutBox()
{
    InvokeHelper(DISPID_ABOUTBOX, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)VTS_NONE);
}

long CQVChatEx::GetLongProperty1() const
{
    long result = 0;
    GetProperty(1, VT_I4, &result);
    return result;
}

void CQVChatEx::SetLongProperty1(long value)
{
    SetProperty(1, VT_I4, value);
}

long CQVChatEx::GetLongProperty2() const
{
    long result = 0;
    GetProperty(2, VT_I4, &result);
    return result;
}

void CQVChatEx::SetLongProperty2(long value)
{
    SetProperty(2, VT_I4, value);
}

long CQVChatEx::GetLongProperty3() const
{
    long result = 0;
    GetProperty(3, VT_I4, &result);
    return result;
}

void CQVChatEx::SetLongProperty3(long value)
{
    SetProperty(3, VT_I4, value);
}

long CQVChatEx::GetLongProperty4() const
{
    long result = 0;
    GetProperty(4, VT_I4, &result);
    return result;
}

void CQVChatEx::SetLongProperty4(long value)
{
    SetProperty(4, VT_I4, value);
}

long CQVChatEx::GetLongProperty5() const
{
    long result = 0;
    GetProperty(5, VT_I4, &result);
    return result;
}

void CQVChatEx::SetLongProperty5(long value)
{
    SetProperty(5, VT_I4, value);
}

long CQVChatEx::GetLongProperty6() const
{
    long result = 0;
    GetProperty(6, VT_I4, &result);
    return result;
}

void CQVChatEx::SetLongProperty6(long value)
{
    SetProperty(6, VT_I4, value);
}

long CQVChatEx::GetLongProperty7() const
{
    long result = 0;
    GetProperty(7, VT_I4, &result);
    return result;
}

void CQVChatEx::SetLongProperty7(long value)
{
    SetProperty(7, VT_I4, value);
}

long CQVChatEx::GetLongProperty8() const
{
    long result = 0;
    GetProperty(8, VT_I4, &result);
    return result;
}

void CQVChatEx::SetLongProperty8(long value)
{
    SetProperty(8, VT_I4, value);
}

long CQVChatEx::GetLongProperty9() const
{
    long result = 0;
    GetProperty(9, VT_I4, &result);
    return result;
}

void CQVChatEx::SetLongProperty9(long value)
{
    SetProperty(9, VT_I4, value);
}

long CQVChatEx::GetLongProperty10() const
{
    long result = 0;
    GetProperty(10, VT_I4, &result);
    return result;
}

void CQVChatEx::SetLongProperty10(long value)
{
    SetProperty(10, VT_I4, value);
}

long CQVChatEx::GetLongProperty11() const
{
    long result = 0;
    GetProperty(11, VT_I4, &result);
    return result;
}

void CQVChatEx::SetLongProperty11(long value)
{
    SetProperty(11, VT_I4, value);
}

long CQVChatEx::GetLongProperty12() const
{
    long result = 0;
    GetProperty(12, VT_I4, &result);
    return result;
}

void CQVChatEx::SetLongProperty12(long value)
{
    SetProperty(12, VT_I4, value);
}

long CQVChatEx::GetLongProperty13() const
{
    long result = 0;
    GetProperty(13, VT_I4, &result);
    return result;
}

void CQVChatEx::SetLongProperty13(long value)
{
    SetProperty(13, VT_I4, value);
}

long CQVChatEx::GetLongProperty14() const
{
    long result = 0;
    GetProperty(14, VT_I4, &result);
    return result;
}

void CQVChatEx::SetLongProperty14(long value)
{
    SetProperty(14, VT_I4, value);
}

long CQVChatEx::GetLongProperty16() const
{
    long result = 0;
    GetProperty(16, VT_I4, &result);
    return result;
}

void CQVChatEx::SetLongProperty16(long value)
{
    SetProperty(16, VT_I4, value);
}

long CQVChatEx::GetLongProperty17() const
{
    long result = 0;
    GetProperty(17, VT_I4, &result);
    return result;
}

void CQVChatEx::SetLongProperty17(long value)
{
    SetProperty(17, VT_I4, value);
}

long CQVChatEx::GetLongProperty34() const
{
    long result = 0;
    GetProperty(34, VT_I4, &result);
    return result;
}

void CQVChatEx::SetLongProperty34(long value)
{
    SetProperty(34, VT_I4, value);
}

BOOL CQVChatEx::GetBoolProperty15() const
{
    BOOL result = 0;
    GetProperty(15, VT_BOOL, &result);
    return result;
}

void CQVChatEx::SetBoolProperty15(BOOL value)
{
    SetProperty(15, VT_BOOL, value);
}

CString CQVChatEx::GetStringProperty18() const
{
    CString result;
    GetProperty(18, VT_BSTR, &result);
    return result;
}

void CQVChatEx::SetStringProperty18(LPCSTR value)
{
    SetProperty(18, VT_BSTR, value);
}

CString CQVChatEx::GetStringProperty20() const
{
    CString result;
    GetProperty(20, VT_BSTR, &result);
    return result;
}

void CQVChatEx::SetStringProperty20(LPCSTR value)
{
    SetProperty(20, VT_BSTR, value);
}

CString CQVChatEx::GetStringProperty31() const
{
    CString result;
    GetProperty(31, VT_BSTR, &result);
    return result;
}

void CQVChatEx::SetStringProperty31(LPCSTR value)
{
    SetProperty(31, VT_BSTR, value);
}

CString CQVChatEx::GetStringProperty32() const
{
    CString result;
    GetProperty(32, VT_BSTR, &result);
    return result;
}

void CQVChatEx::SetStringProperty32(LPCSTR value)
{
    SetProperty(32, VT_BSTR, value);
}

short CQVChatEx::GetShortProperty19() const
{
    short result = 0;
    GetProperty(19, VT_I2, &result);
    return result;
}

void CQVChatEx::SetShortProperty19(short value)
{
    SetProperty(19, VT_I2, value);
}

short CQVChatEx::GetBorderStyle() const
{
    short result = 0;
    GetProperty(-504, VT_I2, &result);
    return result;
}

void CQVChatEx::SetBorderStyle(short value)
{
    SetProperty(-504, VT_I2, value);
}

short CQVChatEx::GetAppearance() const
{
    short result = 0;
    GetProperty(-520, VT_I2, &result);
    return result;
}

void CQVChatEx::SetAppearance(short value)
{
    SetProperty(-520, VT_I2, value);
}

LPDISPATCH CQVChatEx::GetDispatchProperty21() const
{
    LPDISPATCH result = 0;
    GetProperty(21, VT_DISPATCH, &result);
    return result;
}

void CQVChatEx::SetDispatchProperty21(LPDISPATCH value)
{
    SetProperty(21, VT_DISPATCH, value);
}

LPDISPATCH CQVChatEx::GetDispatchProperty22() const
{
    LPDISPATCH result = 0;
    GetProperty(22, VT_DISPATCH, &result);
    return result;
}

void CQVChatEx::SetDispatchProperty22(LPDISPATCH value)
{
    SetProperty(22, VT_DISPATCH, value);
}

LPDISPATCH CQVChatEx::GetDispatchProperty23() const
{
    LPDISPATCH result = 0;
    GetProperty(23, VT_DISPATCH, &result);
    return result;
}

void CQVChatEx::SetDispatchProperty23(LPDISPATCH value)
{
    SetProperty(23, VT_DISPATCH, value);
}

LPDISPATCH CQVChatEx::GetDispatchProperty24() const
{
    LPDISPATCH result = 0;
    GetProperty(24, VT_DISPATCH, &result);
    return result;
}

void CQVChatEx::SetDispatchProperty24(LPDISPATCH value)
{
    SetProperty(24, VT_DISPATCH, value);
}

LPDISPATCH CQVChatEx::GetDispatchProperty25() const
{
    LPDISPATCH result = 0;
    GetProperty(25, VT_DISPATCH, &result);
    return result;
}

void CQVChatEx::SetDispatchProperty25(LPDISPATCH value)
{
    SetProperty(25, VT_DISPATCH, value);
}

LPDISPATCH CQVChatEx::GetDispatchProperty26() const
{
    LPDISPATCH result = 0;
    GetProperty(26, VT_DISPATCH, &result);
    return result;
}

void CQVChatEx::SetDispatchProperty26(LPDISPATCH value)
{
    SetProperty(26, VT_DISPATCH, value);
}

LPDISPATCH CQVChatEx::GetDispatchProperty27() const
{
    LPDISPATCH result = 0;
    GetProperty(27, VT_DISPATCH, &result);
    return result;
}

void CQVChatEx::SetDispatchProperty27(LPDISPATCH value)
{
    SetProperty(27, VT_DISPATCH, value);
}

LPDISPATCH CQVChatEx::GetDispatchProperty28() const
{
    LPDISPATCH result = 0;
    GetProperty(28, VT_DISPATCH, &result);
    return result;
}

void CQVChatEx::SetDispatchProperty28(LPDISPATCH value)
{
    SetProperty(28, VT_DISPATCH, value);
}

LPDISPATCH CQVChatEx::GetDispatchProperty29() const
{
    LPDISPATCH result = 0;
    GetProperty(29, VT_DISPATCH, &result);
    return result;
}

void CQVChatEx::SetDispatchProperty29(LPDISPATCH value)
{
    SetProperty(29, VT_DISPATCH, value);
}

LPDISPATCH CQVChatEx::GetDispatchProperty30() const
{
    LPDISPATCH result = 0;
    GetProperty(30, VT_DISPATCH, &result);
    return result;
}

void CQVChatEx::SetDispatchProperty30(LPDISPATCH value)
{
    SetProperty(30, VT_DISPATCH, value);
}

LPDISPATCH CQVChatEx::GetDispatchProperty33() const
{
    LPDISPATCH result = 0;
    GetProperty(33, VT_DISPATCH, &result);
    return result;
}

void CQVChatEx::SetDispatchProperty33(LPDISPATCH value)
{
    SetProperty(33, VT_DISPATCH, value);
}

BOOL CQVChatEx::CallDispid35()
{
    BOOL result = 0;
    InvokeHelper(35, DISPATCH_METHOD, VT_BOOL, &result, (const BYTE*)(VTS_NONE));
    return result;
}

void CQVChatEx::CallDispid36()
{
    InvokeHelper(36, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_NONE));
}

void CQVChatEx::CallDispid37(LPCSTR p1, LPCSTR p2, LPCSTR p3, LPCSTR p4, LPCSTR p5, long p6, long p7)
{
    InvokeHelper(37, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_I4 VTS_I4), p1, p2, p3, p4, p5, p6, p7);
}

void CQVChatEx::CallDispid38(LPCSTR p1, LPCSTR p2, LPCSTR p3, LPCSTR p4)
{
    InvokeHelper(38, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR), p1, p2, p3, p4);
}

void CQVChatEx::CallDispid39(LPCSTR p1, LPCSTR p2, LPCSTR p3, LPCSTR p4, LPCSTR p5, long p6, long p7)
{
    InvokeHelper(39, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_I4 VTS_I4), p1, p2, p3, p4, p5, p6, p7);
}

BOOL CQVChatEx::CallDispid40(LPCSTR p1)
{
    BOOL result = 0;
    InvokeHelper(40, DISPATCH_METHOD, VT_BOOL, &result, (const BYTE*)(VTS_BSTR), p1);
    return result;
}

void CQVChatEx::CallDispid41()
{
    InvokeHelper(41, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_NONE));
}

void CQVChatEx::CallDispid42()
{
    InvokeHelper(42, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_NONE));
}

void CQVChatEx::CallDispid43(LPCSTR p1)
{
    InvokeHelper(43, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_BSTR), p1);
}

long CQVChatEx::CallDispid44()
{
    long result = 0;
    InvokeHelper(44, DISPATCH_METHOD, VT_I4, &result, (const BYTE*)(VTS_NONE));
    return result;
}

BOOL CQVChatEx::CallDispid45(long p1, long p2, LPCSTR p3, LPCSTR p4, LPCSTR p5, long p6, long p7)
{
    BOOL result = 0;
    InvokeHelper(45, DISPATCH_METHOD, VT_BOOL, &result, (const BYTE*)(VTS_I4 VTS_I4 VTS_BSTR VTS_BSTR VTS_BSTR VTS_I4 VTS_I4), p1, p2, p3, p4, p5, p6, p7);
    return result;
}

BOOL CQVChatEx::CallDispid46(long p1, long p2, LPCSTR p3, LPCSTR p4)
{
    BOOL result = 0;
    InvokeHelper(46, DISPATCH_METHOD, VT_BOOL, &result, (const BYTE*)(VTS_I4 VTS_I4 VTS_BSTR VTS_BSTR), p1, p2, p3, p4);
    return result;
}

BOOL CQVChatEx::CallDispid47(long p1, long p2, LPCSTR p3, LPCSTR p4, LPCSTR p5, long p6, long p7)
{
    BOOL result = 0;
    InvokeHelper(47, DISPATCH_METHOD, VT_BOOL, &result, (const BYTE*)(VTS_I4 VTS_I4 VTS_BSTR VTS_BSTR VTS_BSTR VTS_I4 VTS_I4), p1, p2, p3, p4, p5, p6, p7);
    return result;
}

BOOL CQVChatEx::CallDispid48(long p1, BOOL p2)
{
    BOOL result = 0;
    InvokeHelper(48, DISPATCH_METHOD, VT_BOOL, &result, (const BYTE*)(VTS_I4 VTS_BOOL), p1, p2);
    return result;
}

BOOL CQVChatEx::CallDispid49(long p1, long p2)
{
    BOOL result = 0;
    InvokeHelper(49, DISPATCH_METHOD, VT_BOOL, &result, (const BYTE*)(VTS_I4 VTS_I4), p1, p2);
    return result;
}

BOOL CQVChatEx::CallDispid50(short p1)
{
    BOOL result = 0;
    InvokeHelper(50, DISPATCH_METHOD, VT_BOOL, &result, (const BYTE*)(VTS_I2), p1);
    return result;
}

BOOL CQVChatEx::CallDispid51(LPCSTR p1, LPCSTR p2)
{
    BOOL result = 0;
    InvokeHelper(51, DISPATCH_METHOD, VT_BOOL, &result, (const BYTE*)(VTS_BSTR VTS_BSTR), p1, p2);
    return result;
}

void CQVChatEx::CallDispid52(long p1, LPCSTR p2)
{
    InvokeHelper(52, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_I4 VTS_BSTR), p1, p2);
}

void CQVChatEx::CallDispid53()
{
    InvokeHelper(53, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_NONE));
}

void CQVChatEx::CallDispid54()
{
    InvokeHelper(54, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_NONE));
}

void CQVChatEx::CallDispid55(LPCSTR p1)
{
    InvokeHelper(55, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_BSTR), p1);
}

BOOL CQVChatEx::CallDispid56()
{
    BOOL result = 0;
    InvokeHelper(56, DISPATCH_METHOD, VT_BOOL, &result, (const BYTE*)(VTS_NONE));
    return result;
}

void CQVChatEx::CallDispid57(BOOL p1)
{
    InvokeHelper(57, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_BOOL), p1);
}

void CQVChatEx::CallDispid58(LPCSTR p1)
{
    InvokeHelper(58, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_BSTR), p1);
}

void CQVChatEx::CallDispid59(BOOL p1)
{
    InvokeHelper(59, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_BOOL), p1);
}

void CQVChatEx::CallDispid60(BOOL p1)
{
    InvokeHelper(60, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_BOOL), p1);
}

BOOL CQVChatEx::CallDispid61(LPCSTR p1, LPCSTR p2, LPCSTR p3, LPCSTR p4, LPCSTR p5)
{
    BOOL result = 0;
    InvokeHelper(61, DISPATCH_METHOD, VT_BOOL, &result, (const BYTE*)(VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR), p1, p2, p3, p4, p5);
    return result;
}

BOOL CQVChatEx::CallDispid62(LPCSTR p1, LPCSTR p2, LPCSTR p3, LPCSTR p4, LPCSTR p5, LPCSTR p6)
{
    BOOL result = 0;
    InvokeHelper(62, DISPATCH_METHOD, VT_BOOL, &result, (const BYTE*)(VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR), p1, p2, p3, p4, p5, p6);
    return result;
}

BOOL CQVChatEx::CallDispid63(LPCSTR p1, long* p2)
{
    BOOL result = 0;
    InvokeHelper(63, DISPATCH_METHOD, VT_BOOL, &result, (const BYTE*)(VTS_BSTR VTS_PI4), p1, p2);
    return result;
}

long CQVChatEx::CallDispid64(LPCSTR p1, long p2)
{
    long result = 0;
    InvokeHelper(64, DISPATCH_METHOD, VT_I4, &result, (const BYTE*)(VTS_BSTR VTS_I4), p1, p2);
    return result;
}

BOOL CQVChatEx::CallDispid65(LPCSTR p1, long* p2)
{
    BOOL result = 0;
    InvokeHelper(65, DISPATCH_METHOD, VT_BOOL, &result, (const BYTE*)(VTS_BSTR VTS_PI4), p1, p2);
    return result;
}

long CQVChatEx::CallDispid66(LPCSTR p1, long p2)
{
    long result = 0;
    InvokeHelper(66, DISPATCH_METHOD, VT_I4, &result, (const BYTE*)(VTS_BSTR VTS_I4), p1, p2);
    return result;
}

BOOL CQVChatEx::CallDispid67(LPCSTR p1, LPCSTR p2, long p3)
{
    BOOL result = 0;
    InvokeHelper(67, DISPATCH_METHOD, VT_BOOL, &result, (const BYTE*)(VTS_BSTR VTS_BSTR VTS_I4), p1, p2, p3);
    return result;
}

BOOL CQVChatEx::CallDispid68(LPCSTR p1, LPCSTR p2, LPCSTR p3)
{
    BOOL result = 0;
    InvokeHelper(68, DISPATCH_METHOD, VT_BOOL, &result, (const BYTE*)(VTS_BSTR VTS_BSTR VTS_BSTR), p1, p2, p3);
    return result;
}

BOOL CQVChatEx::CallDispid69(LPCSTR p1, LPCSTR p2, LPCSTR p3, LPCSTR p4, LPCSTR p5, LPCSTR p6)
{
    BOOL result = 0;
    InvokeHelper(69, DISPATCH_METHOD, VT_BOOL, &result, (const BYTE*)(VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR), p1, p2, p3, p4, p5, p6);
    return result;
}

void CQVChatEx::CallDispid70(BOOL p1)
{
    InvokeHelper(70, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_BOOL), p1);
}

long CQVChatEx::CallDispid71()
{
    long result = 0;
    InvokeHelper(71, DISPATCH_METHOD, VT_I4, &result, (const BYTE*)(VTS_NONE));
    return result;
}

BOOL CQVChatEx::CallDispid72(short p1)
{
    BOOL result = 0;
    InvokeHelper(72, DISPATCH_METHOD, VT_BOOL, &result, (const BYTE*)(VTS_I2), p1);
    return result;
}

long CQVChatEx::CallDispid73()
{
    long result = 0;
    InvokeHelper(73, DISPATCH_METHOD, VT_I4, &result, (const BYTE*)(VTS_NONE));
    return result;
}

void CQVChatEx::CallDispid74(long p1, long p2)
{
    InvokeHelper(74, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_I4 VTS_I4), p1, p2);
}

void CQVChatEx::CallDispid75(LPCSTR p1)
{
    InvokeHelper(75, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_BSTR), p1);
}

void CQVChatEx::CallDispid76(long p1, long p2, long p3)
{
    InvokeHelper(76, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_I4 VTS_I4 VTS_I4), p1, p2, p3);
}

void CQVChatEx::CallDispid77(long* p1)
{
    InvokeHelper(77, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_PI4), p1);
}

void CQVChatEx::CallDispid78()
{
    InvokeHelper(78, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_NONE));
}

void CQVChatEx::CallDispid79(long p1, long p2)
{
    InvokeHelper(79, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_I4 VTS_I4), p1, p2);
}

void CQVChatEx::CallDispid80(LPCSTR p1, long p2, long p3, long p4)
{
    InvokeHelper(80, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_BSTR VTS_I4 VTS_I4 VTS_I4), p1, p2, p3, p4);
}

void CQVChatEx::CallDispid81(long p1)
{
    if (!IsVersionAtLeast("2.5.1.29"))
        return;
    InvokeHelper(81, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_I4), p1);
}

void CQVChatEx::CallDispid82(LPCSTR p1)
{
    if (!IsVersionAtLeast("2.5.1.29"))
        return;
    InvokeHelper(82, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_BSTR), p1);
}

void CQVChatEx::CallDispid83(long p1)
{
    if (!IsVersionAtLeast("2.5.1.29"))
        return;
    InvokeHelper(83, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_I4), p1);
}

void CQVChatEx::CallDispid84()
{
    if (!IsVersionAtLeast("2.5.1.30"))
        return;
    InvokeHelper(84, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_NONE));
}

void CQVChatEx::CallDispid85(BOOL p1)
{
    if (!IsVersionAtLeast("2.5.1.30"))
        return;
    InvokeHelper(85, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_BOOL), p1);
}

void CQVChatEx::CallDispid86(BOOL p1)
{
    if (!IsVersionAtLeast("2.5.1.30"))
        return;
    InvokeHelper(86, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_BOOL), p1);
}

void CQVChatEx::CallDispid87(BOOL p1)
{
    if (!IsVersionAtLeast("2.7.0.13"))
        return;
    InvokeHelper(87, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_BOOL), p1);
}

BOOL CQVChatEx::CallDispid88(long p1, long p2)
{
    if (!IsVersionAtLeast("2.7.0.13"))
        return FALSE;
    BOOL result = 0;
    InvokeHelper(88, DISPATCH_METHOD, VT_BOOL, &result, (const BYTE*)(VTS_I4 VTS_I4), p1, p2);
    return result;
}

void CQVChatEx::CallDispid89(LPCSTR p1)
{
    if (!IsVersionAtLeast("2.8.4.1"))
        return;
    InvokeHelper(89, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_BSTR), p1);
}
