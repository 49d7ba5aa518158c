// The chat control's wrapper: properties and methods by dispatch id, and the
// version gate of the newer methods.
#include "QVChatEx.h"

#include "AxControls.h"
#include "DispatchCall.h"

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
    return dispatch::Method<BOOL>(*this, 49, VTS_RECORD VTS_I4, (RecordAddress)(INT_PTR)pRecord, nLength);
}

BOOL CQVChatEx::CallDispid47(const void* pRecord, long nLength, LPCSTR p3, LPCSTR p4, LPCSTR p5, long p6, long p7)
{
    return dispatch::Method<BOOL>(*this, 47, VTS_RECORD VTS_I4 VTS_BSTR VTS_BSTR VTS_BSTR VTS_I4 VTS_I4,
                                  (RecordAddress)(INT_PTR)pRecord, nLength, p3, p4, p5, p6, p7);
}

void CQVChatEx::AboutBox()
{
    dispatch::Call(*this, DISPID_ABOUTBOX, VTS_NONE);
}

long CQVChatEx::GetLongProperty1() const
{
    return dispatch::Get<long>(*this, 1);
}

void CQVChatEx::SetLongProperty1(long value)
{
    SetProperty(1, VT_I4, value);
}

long CQVChatEx::GetLongProperty2() const
{
    return dispatch::Get<long>(*this, 2);
}

void CQVChatEx::SetLongProperty2(long value)
{
    SetProperty(2, VT_I4, value);
}

long CQVChatEx::GetLongProperty3() const
{
    return dispatch::Get<long>(*this, 3);
}

void CQVChatEx::SetLongProperty3(long value)
{
    SetProperty(3, VT_I4, value);
}

long CQVChatEx::GetLongProperty4() const
{
    return dispatch::Get<long>(*this, 4);
}

void CQVChatEx::SetLongProperty4(long value)
{
    SetProperty(4, VT_I4, value);
}

long CQVChatEx::GetLongProperty5() const
{
    return dispatch::Get<long>(*this, 5);
}

void CQVChatEx::SetLongProperty5(long value)
{
    SetProperty(5, VT_I4, value);
}

long CQVChatEx::GetLongProperty6() const
{
    return dispatch::Get<long>(*this, 6);
}

void CQVChatEx::SetLongProperty6(long value)
{
    SetProperty(6, VT_I4, value);
}

long CQVChatEx::GetLongProperty7() const
{
    return dispatch::Get<long>(*this, 7);
}

void CQVChatEx::SetLongProperty7(long value)
{
    SetProperty(7, VT_I4, value);
}

long CQVChatEx::GetLongProperty8() const
{
    return dispatch::Get<long>(*this, 8);
}

void CQVChatEx::SetLongProperty8(long value)
{
    SetProperty(8, VT_I4, value);
}

long CQVChatEx::GetLongProperty9() const
{
    return dispatch::Get<long>(*this, 9);
}

void CQVChatEx::SetLongProperty9(long value)
{
    SetProperty(9, VT_I4, value);
}

long CQVChatEx::GetLongProperty10() const
{
    return dispatch::Get<long>(*this, 10);
}

void CQVChatEx::SetLongProperty10(long value)
{
    SetProperty(10, VT_I4, value);
}

long CQVChatEx::GetLongProperty11() const
{
    return dispatch::Get<long>(*this, 11);
}

void CQVChatEx::SetLongProperty11(long value)
{
    SetProperty(11, VT_I4, value);
}

long CQVChatEx::GetLongProperty12() const
{
    return dispatch::Get<long>(*this, 12);
}

void CQVChatEx::SetLongProperty12(long value)
{
    SetProperty(12, VT_I4, value);
}

long CQVChatEx::GetLongProperty13() const
{
    return dispatch::Get<long>(*this, 13);
}

void CQVChatEx::SetLongProperty13(long value)
{
    SetProperty(13, VT_I4, value);
}

long CQVChatEx::GetLongProperty14() const
{
    return dispatch::Get<long>(*this, 14);
}

void CQVChatEx::SetLongProperty14(long value)
{
    SetProperty(14, VT_I4, value);
}

long CQVChatEx::GetLongProperty16() const
{
    return dispatch::Get<long>(*this, 16);
}

void CQVChatEx::SetLongProperty16(long value)
{
    SetProperty(16, VT_I4, value);
}

long CQVChatEx::GetLongProperty17() const
{
    return dispatch::Get<long>(*this, 17);
}

void CQVChatEx::SetLongProperty17(long value)
{
    SetProperty(17, VT_I4, value);
}

long CQVChatEx::GetLongProperty34() const
{
    return dispatch::Get<long>(*this, 34);
}

void CQVChatEx::SetLongProperty34(long value)
{
    SetProperty(34, VT_I4, value);
}

BOOL CQVChatEx::GetBoolProperty15() const
{
    return dispatch::Get<BOOL>(*this, 15);
}

void CQVChatEx::SetBoolProperty15(BOOL value)
{
    SetProperty(15, VT_BOOL, value);
}

CString CQVChatEx::GetStringProperty18() const
{
    return dispatch::Get<CString>(*this, 18);
}

void CQVChatEx::SetStringProperty18(LPCSTR value)
{
    SetProperty(18, VT_BSTR, value);
}

CString CQVChatEx::GetStringProperty20() const
{
    return dispatch::Get<CString>(*this, 20);
}

void CQVChatEx::SetStringProperty20(LPCSTR value)
{
    SetProperty(20, VT_BSTR, value);
}

CString CQVChatEx::GetStringProperty31() const
{
    return dispatch::Get<CString>(*this, 31);
}

void CQVChatEx::SetStringProperty31(LPCSTR value)
{
    SetProperty(31, VT_BSTR, value);
}

CString CQVChatEx::GetStringProperty32() const
{
    return dispatch::Get<CString>(*this, 32);
}

void CQVChatEx::SetStringProperty32(LPCSTR value)
{
    SetProperty(32, VT_BSTR, value);
}

short CQVChatEx::GetShortProperty19() const
{
    return dispatch::Get<short>(*this, 19);
}

void CQVChatEx::SetShortProperty19(short value)
{
    SetProperty(19, VT_I2, value);
}

short CQVChatEx::GetBorderStyle() const
{
    return dispatch::Get<short>(*this, -504);
}

void CQVChatEx::SetBorderStyle(short value)
{
    SetProperty(-504, VT_I2, value);
}

short CQVChatEx::GetAppearance() const
{
    return dispatch::Get<short>(*this, -520);
}

void CQVChatEx::SetAppearance(short value)
{
    SetProperty(-520, VT_I2, value);
}

LPDISPATCH CQVChatEx::GetDispatchProperty21() const
{
    return dispatch::Get<IDispatch*>(*this, 21);
}

void CQVChatEx::SetDispatchProperty21(LPDISPATCH value)
{
    SetProperty(21, VT_DISPATCH, value);
}

LPDISPATCH CQVChatEx::GetDispatchProperty22() const
{
    return dispatch::Get<IDispatch*>(*this, 22);
}

void CQVChatEx::SetDispatchProperty22(LPDISPATCH value)
{
    SetProperty(22, VT_DISPATCH, value);
}

LPDISPATCH CQVChatEx::GetDispatchProperty23() const
{
    return dispatch::Get<IDispatch*>(*this, 23);
}

void CQVChatEx::SetDispatchProperty23(LPDISPATCH value)
{
    SetProperty(23, VT_DISPATCH, value);
}

LPDISPATCH CQVChatEx::GetDispatchProperty24() const
{
    return dispatch::Get<IDispatch*>(*this, 24);
}

void CQVChatEx::SetDispatchProperty24(LPDISPATCH value)
{
    SetProperty(24, VT_DISPATCH, value);
}

LPDISPATCH CQVChatEx::GetDispatchProperty25() const
{
    return dispatch::Get<IDispatch*>(*this, 25);
}

void CQVChatEx::SetDispatchProperty25(LPDISPATCH value)
{
    SetProperty(25, VT_DISPATCH, value);
}

LPDISPATCH CQVChatEx::GetDispatchProperty26() const
{
    return dispatch::Get<IDispatch*>(*this, 26);
}

void CQVChatEx::SetDispatchProperty26(LPDISPATCH value)
{
    SetProperty(26, VT_DISPATCH, value);
}

LPDISPATCH CQVChatEx::GetDispatchProperty27() const
{
    return dispatch::Get<IDispatch*>(*this, 27);
}

void CQVChatEx::SetDispatchProperty27(LPDISPATCH value)
{
    SetProperty(27, VT_DISPATCH, value);
}

LPDISPATCH CQVChatEx::GetDispatchProperty28() const
{
    return dispatch::Get<IDispatch*>(*this, 28);
}

void CQVChatEx::SetDispatchProperty28(LPDISPATCH value)
{
    SetProperty(28, VT_DISPATCH, value);
}

LPDISPATCH CQVChatEx::GetDispatchProperty29() const
{
    return dispatch::Get<IDispatch*>(*this, 29);
}

void CQVChatEx::SetDispatchProperty29(LPDISPATCH value)
{
    SetProperty(29, VT_DISPATCH, value);
}

LPDISPATCH CQVChatEx::GetDispatchProperty30() const
{
    return dispatch::Get<IDispatch*>(*this, 30);
}

void CQVChatEx::SetDispatchProperty30(LPDISPATCH value)
{
    SetProperty(30, VT_DISPATCH, value);
}

LPDISPATCH CQVChatEx::GetDispatchProperty33() const
{
    return dispatch::Get<IDispatch*>(*this, 33);
}

void CQVChatEx::SetDispatchProperty33(LPDISPATCH value)
{
    SetProperty(33, VT_DISPATCH, value);
}

BOOL CQVChatEx::CallDispid35()
{
    return dispatch::Method<BOOL>(*this, 35, VTS_NONE);
}

void CQVChatEx::CallDispid36()
{
    dispatch::Call(*this, 36, VTS_NONE);
}

void CQVChatEx::CallDispid37(LPCSTR p1, LPCSTR p2, LPCSTR p3, LPCSTR p4, LPCSTR p5, long p6, long p7)
{
    dispatch::Call(*this, 37, VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_I4 VTS_I4, p1, p2, p3, p4, p5, p6, p7);
}

void CQVChatEx::CallDispid38(LPCSTR p1, LPCSTR p2, LPCSTR p3, LPCSTR p4)
{
    dispatch::Call(*this, 38, VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR, p1, p2, p3, p4);
}

void CQVChatEx::CallDispid39(LPCSTR p1, LPCSTR p2, LPCSTR p3, LPCSTR p4, LPCSTR p5, long p6, long p7)
{
    dispatch::Call(*this, 39, VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_I4 VTS_I4, p1, p2, p3, p4, p5, p6, p7);
}

BOOL CQVChatEx::CallDispid40(LPCSTR p1)
{
    return dispatch::Method<BOOL>(*this, 40, VTS_BSTR, p1);
}

void CQVChatEx::CallDispid41()
{
    dispatch::Call(*this, 41, VTS_NONE);
}

void CQVChatEx::CallDispid42()
{
    dispatch::Call(*this, 42, VTS_NONE);
}

void CQVChatEx::CallDispid43(LPCSTR p1)
{
    dispatch::Call(*this, 43, VTS_BSTR, p1);
}

long CQVChatEx::CallDispid44()
{
    return dispatch::Method<long>(*this, 44, VTS_NONE);
}

BOOL CQVChatEx::CallDispid45(long p1, long p2, LPCSTR p3, LPCSTR p4, LPCSTR p5, long p6, long p7)
{
    return dispatch::Method<BOOL>(*this, 45, VTS_I4 VTS_I4 VTS_BSTR VTS_BSTR VTS_BSTR VTS_I4 VTS_I4,
                                  p1, p2, p3, p4, p5, p6, p7);
}

BOOL CQVChatEx::CallDispid46(long p1, long p2, LPCSTR p3, LPCSTR p4)
{
    return dispatch::Method<BOOL>(*this, 46, VTS_I4 VTS_I4 VTS_BSTR VTS_BSTR, p1, p2, p3, p4);
}

BOOL CQVChatEx::CallDispid47(long p1, long p2, LPCSTR p3, LPCSTR p4, LPCSTR p5, long p6, long p7)
{
    return dispatch::Method<BOOL>(*this, 47, VTS_I4 VTS_I4 VTS_BSTR VTS_BSTR VTS_BSTR VTS_I4 VTS_I4,
                                  p1, p2, p3, p4, p5, p6, p7);
}

BOOL CQVChatEx::CallDispid48(long p1, BOOL p2)
{
    return dispatch::Method<BOOL>(*this, 48, VTS_I4 VTS_BOOL, p1, p2);
}

BOOL CQVChatEx::CallDispid49(long p1, long p2)
{
    return dispatch::Method<BOOL>(*this, 49, VTS_I4 VTS_I4, p1, p2);
}

BOOL CQVChatEx::CallDispid50(short p1)
{
    return dispatch::Method<BOOL>(*this, 50, VTS_I2, p1);
}

BOOL CQVChatEx::CallDispid51(LPCSTR p1, LPCSTR p2)
{
    return dispatch::Method<BOOL>(*this, 51, VTS_BSTR VTS_BSTR, p1, p2);
}

void CQVChatEx::CallDispid52(long p1, LPCSTR p2)
{
    dispatch::Call(*this, 52, VTS_I4 VTS_BSTR, p1, p2);
}

void CQVChatEx::CallDispid53()
{
    dispatch::Call(*this, 53, VTS_NONE);
}

void CQVChatEx::CallDispid54()
{
    dispatch::Call(*this, 54, VTS_NONE);
}

void CQVChatEx::CallDispid55(LPCSTR p1)
{
    dispatch::Call(*this, 55, VTS_BSTR, p1);
}

BOOL CQVChatEx::CallDispid56()
{
    return dispatch::Method<BOOL>(*this, 56, VTS_NONE);
}

void CQVChatEx::CallDispid57(BOOL p1)
{
    dispatch::Call(*this, 57, VTS_BOOL, p1);
}

void CQVChatEx::CallDispid58(LPCSTR p1)
{
    dispatch::Call(*this, 58, VTS_BSTR, p1);
}

void CQVChatEx::CallDispid59(BOOL p1)
{
    dispatch::Call(*this, 59, VTS_BOOL, p1);
}

void CQVChatEx::CallDispid60(BOOL p1)
{
    dispatch::Call(*this, 60, VTS_BOOL, p1);
}

BOOL CQVChatEx::CallDispid61(LPCSTR p1, LPCSTR p2, LPCSTR p3, LPCSTR p4, LPCSTR p5)
{
    return dispatch::Method<BOOL>(*this, 61, VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR, p1, p2, p3, p4, p5);
}

BOOL CQVChatEx::CallDispid62(LPCSTR p1, LPCSTR p2, LPCSTR p3, LPCSTR p4, LPCSTR p5, LPCSTR p6)
{
    return dispatch::Method<BOOL>(*this, 62, VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR,
                                  p1, p2, p3, p4, p5, p6);
}

BOOL CQVChatEx::CallDispid63(LPCSTR p1, long* p2)
{
    return dispatch::Method<BOOL>(*this, 63, VTS_BSTR VTS_PI4, p1, p2);
}

long CQVChatEx::CallDispid64(LPCSTR p1, long p2)
{
    return dispatch::Method<long>(*this, 64, VTS_BSTR VTS_I4, p1, p2);
}

BOOL CQVChatEx::CallDispid65(LPCSTR p1, long* p2)
{
    return dispatch::Method<BOOL>(*this, 65, VTS_BSTR VTS_PI4, p1, p2);
}

long CQVChatEx::CallDispid66(LPCSTR p1, long p2)
{
    return dispatch::Method<long>(*this, 66, VTS_BSTR VTS_I4, p1, p2);
}

BOOL CQVChatEx::CallDispid67(LPCSTR p1, LPCSTR p2, long p3)
{
    return dispatch::Method<BOOL>(*this, 67, VTS_BSTR VTS_BSTR VTS_I4, p1, p2, p3);
}

BOOL CQVChatEx::CallDispid68(LPCSTR p1, LPCSTR p2, LPCSTR p3)
{
    return dispatch::Method<BOOL>(*this, 68, VTS_BSTR VTS_BSTR VTS_BSTR, p1, p2, p3);
}

BOOL CQVChatEx::CallDispid69(LPCSTR p1, LPCSTR p2, LPCSTR p3, LPCSTR p4, LPCSTR p5, LPCSTR p6)
{
    return dispatch::Method<BOOL>(*this, 69, VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR,
                                  p1, p2, p3, p4, p5, p6);
}

void CQVChatEx::CallDispid70(BOOL p1)
{
    dispatch::Call(*this, 70, VTS_BOOL, p1);
}

long CQVChatEx::CallDispid71()
{
    return dispatch::Method<long>(*this, 71, VTS_NONE);
}

BOOL CQVChatEx::CallDispid72(short p1)
{
    return dispatch::Method<BOOL>(*this, 72, VTS_I2, p1);
}

long CQVChatEx::CallDispid73()
{
    return dispatch::Method<long>(*this, 73, VTS_NONE);
}

void CQVChatEx::CallDispid74(long p1, long p2)
{
    dispatch::Call(*this, 74, VTS_I4 VTS_I4, p1, p2);
}

void CQVChatEx::CallDispid75(LPCSTR p1)
{
    dispatch::Call(*this, 75, VTS_BSTR, p1);
}

void CQVChatEx::CallDispid76(long p1, long p2, long p3)
{
    dispatch::Call(*this, 76, VTS_I4 VTS_I4 VTS_I4, p1, p2, p3);
}

void CQVChatEx::CallDispid77(long* p1)
{
    dispatch::Call(*this, 77, VTS_PI4, p1);
}

void CQVChatEx::CallDispid78()
{
    dispatch::Call(*this, 78, VTS_NONE);
}

void CQVChatEx::CallDispid79(long p1, long p2)
{
    dispatch::Call(*this, 79, VTS_I4 VTS_I4, p1, p2);
}

void CQVChatEx::CallDispid80(LPCSTR p1, long p2, long p3, long p4)
{
    dispatch::Call(*this, 80, VTS_BSTR VTS_I4 VTS_I4 VTS_I4, p1, p2, p3, p4);
}

void CQVChatEx::CallDispid81(long p1)
{
    if (!IsVersionAtLeast("2.5.1.29"))
        return;
    dispatch::Call(*this, 81, VTS_I4, p1);
}

void CQVChatEx::CallDispid82(LPCSTR p1)
{
    if (!IsVersionAtLeast("2.5.1.29"))
        return;
    dispatch::Call(*this, 82, VTS_BSTR, p1);
}

void CQVChatEx::CallDispid83(long p1)
{
    if (!IsVersionAtLeast("2.5.1.29"))
        return;
    dispatch::Call(*this, 83, VTS_I4, p1);
}

void CQVChatEx::CallDispid84()
{
    if (!IsVersionAtLeast("2.5.1.30"))
        return;
    dispatch::Call(*this, 84, VTS_NONE);
}

void CQVChatEx::CallDispid85(BOOL p1)
{
    if (!IsVersionAtLeast("2.5.1.30"))
        return;
    dispatch::Call(*this, 85, VTS_BOOL, p1);
}

void CQVChatEx::CallDispid86(BOOL p1)
{
    if (!IsVersionAtLeast("2.5.1.30"))
        return;
    dispatch::Call(*this, 86, VTS_BOOL, p1);
}

void CQVChatEx::CallDispid87(BOOL p1)
{
    if (!IsVersionAtLeast("2.7.0.13"))
        return;
    dispatch::Call(*this, 87, VTS_BOOL, p1);
}

BOOL CQVChatEx::CallDispid88(long p1, long p2)
{
    if (!IsVersionAtLeast("2.7.0.13"))
        return FALSE;
    return dispatch::Method<BOOL>(*this, 88, VTS_I4 VTS_I4, p1, p2);
}

void CQVChatEx::CallDispid89(LPCSTR p1)
{
    if (!IsVersionAtLeast("2.8.4.1"))
        return;
    dispatch::Call(*this, 89, VTS_BSTR, p1);
}
