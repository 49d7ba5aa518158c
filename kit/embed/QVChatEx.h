// CQVChatEx: the window of the platform's rich chat control (QVChatEx.dll).
//
// Every property and method is reached through the control's dispatch
// interface by id; the control has no type library here. Methods 81 to 89
// exist only in newer builds of the control: the wrapper reads the file
// version of "QVChatEx.dll" and skips them on older builds (method 88 then
// answers FALSE). A call on a control that is missing or fails is traced and
// answers 0, FALSE or an empty text; nothing is thrown.
#pragma once

#include "afxdisp.h"
#include "app/ClientServices.h"

class CQVChatEx : public CWnd
{
public:
    CQVChatEx();
    ~CQVChatEx() override;

    static const CLSID& GetClsid();
    // The control as a child window (CreateControl with the class id).
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // TRUE when the installed control is at least that version (four dotted
    // numbers); FALSE when older or when the file has no version.
    BOOL IsVersionAtLeast(LPCSTR lpszVersion);
    const CModuleVersion& GetModuleVersion() const { return m_version; }

    void AboutBox();

    long GetLongProperty1() const;
    void SetLongProperty1(long value);
    long GetLongProperty2() const;
    void SetLongProperty2(long value);
    long GetLongProperty3() const;
    void SetLongProperty3(long value);
    long GetLongProperty4() const;
    void SetLongProperty4(long value);
    long GetLongProperty5() const;
    void SetLongProperty5(long value);
    long GetLongProperty6() const;
    void SetLongProperty6(long value);
    long GetLongProperty7() const;
    void SetLongProperty7(long value);
    long GetLongProperty8() const;
    void SetLongProperty8(long value);
    long GetLongProperty9() const;
    void SetLongProperty9(long value);
    long GetLongProperty10() const;
    void SetLongProperty10(long value);
    long GetLongProperty11() const;
    void SetLongProperty11(long value);
    long GetLongProperty12() const;
    void SetLongProperty12(long value);
    long GetLongProperty13() const;
    void SetLongProperty13(long value);
    long GetLongProperty14() const;
    void SetLongProperty14(long value);
    long GetLongProperty16() const;
    void SetLongProperty16(long value);
    long GetLongProperty17() const;
    void SetLongProperty17(long value);
    long GetLongProperty34() const;
    void SetLongProperty34(long value);
    BOOL GetBoolProperty15() const;
    void SetBoolProperty15(BOOL value);
    CString GetStringProperty18() const;
    void SetStringProperty18(LPCSTR value);
    CString GetStringProperty20() const;
    void SetStringProperty20(LPCSTR value);
    CString GetStringProperty31() const;
    void SetStringProperty31(LPCSTR value);
    CString GetStringProperty32() const;
    void SetStringProperty32(LPCSTR value);
    short GetShortProperty19() const;
    void SetShortProperty19(short value);
    short GetBorderStyle() const;
    void SetBorderStyle(short value);
    short GetAppearance() const;
    void SetAppearance(short value);
    LPDISPATCH GetDispatchProperty21() const;
    void SetDispatchProperty21(LPDISPATCH value);
    LPDISPATCH GetDispatchProperty22() const;
    void SetDispatchProperty22(LPDISPATCH value);
    LPDISPATCH GetDispatchProperty23() const;
    void SetDispatchProperty23(LPDISPATCH value);
    LPDISPATCH GetDispatchProperty24() const;
    void SetDispatchProperty24(LPDISPATCH value);
    LPDISPATCH GetDispatchProperty25() const;
    void SetDispatchProperty25(LPDISPATCH value);
    LPDISPATCH GetDispatchProperty26() const;
    void SetDispatchProperty26(LPDISPATCH value);
    LPDISPATCH GetDispatchProperty27() const;
    void SetDispatchProperty27(LPDISPATCH value);
    LPDISPATCH GetDispatchProperty28() const;
    void SetDispatchProperty28(LPDISPATCH value);
    LPDISPATCH GetDispatchProperty29() const;
    void SetDispatchProperty29(LPDISPATCH value);
    LPDISPATCH GetDispatchProperty30() const;
    void SetDispatchProperty30(LPDISPATCH value);
    LPDISPATCH GetDispatchProperty33() const;
    void SetDispatchProperty33(LPDISPATCH value);

    BOOL CallDispid35();
    void CallDispid36();
    void CallDispid37(LPCSTR p1, LPCSTR p2, LPCSTR p3, LPCSTR p4, LPCSTR p5, long p6, long p7);
    void CallDispid38(LPCSTR p1, LPCSTR p2, LPCSTR p3, LPCSTR p4);
    void CallDispid39(LPCSTR p1, LPCSTR p2, LPCSTR p3, LPCSTR p4, LPCSTR p5, long p6, long p7);
    BOOL CallDispid40(LPCSTR p1);
    void CallDispid41();
    void CallDispid42();
    void CallDispid43(LPCSTR p1);
    long CallDispid44();
    BOOL CallDispid45(long p1, long p2, LPCSTR p3, LPCSTR p4, LPCSTR p5, long p6, long p7);
    BOOL CallDispid46(long p1, long p2, LPCSTR p3, LPCSTR p4);
    BOOL CallDispid47(long p1, long p2, LPCSTR p3, LPCSTR p4, LPCSTR p5, long p6, long p7);
    BOOL CallDispid48(long p1, BOOL p2);
    BOOL CallDispid49(long p1, long p2);
    BOOL CallDispid50(short p1);
    BOOL CallDispid51(LPCSTR p1, LPCSTR p2);
    void CallDispid52(long p1, LPCSTR p2);
    void CallDispid53();
    void CallDispid54();
    void CallDispid55(LPCSTR p1);
    BOOL CallDispid56();
    void CallDispid57(BOOL p1);
    void CallDispid58(LPCSTR p1);
    void CallDispid59(BOOL p1);
    void CallDispid60(BOOL p1);
    BOOL CallDispid61(LPCSTR p1, LPCSTR p2, LPCSTR p3, LPCSTR p4, LPCSTR p5);
    BOOL CallDispid62(LPCSTR p1, LPCSTR p2, LPCSTR p3, LPCSTR p4, LPCSTR p5, LPCSTR p6);
    BOOL CallDispid63(LPCSTR p1, long* p2);
    long CallDispid64(LPCSTR p1, long p2);
    BOOL CallDispid65(LPCSTR p1, long* p2);
    long CallDispid66(LPCSTR p1, long p2);
    BOOL CallDispid67(LPCSTR p1, LPCSTR p2, long p3);
    BOOL CallDispid68(LPCSTR p1, LPCSTR p2, LPCSTR p3);
    BOOL CallDispid69(LPCSTR p1, LPCSTR p2, LPCSTR p3, LPCSTR p4, LPCSTR p5, LPCSTR p6);
    void CallDispid70(BOOL p1);
    long CallDispid71();
    BOOL CallDispid72(short p1);
    long CallDispid73();
    void CallDispid74(long p1, long p2);
    void CallDispid75(LPCSTR p1);
    void CallDispid76(long p1, long p2, long p3);
    void CallDispid77(long* p1);
    void CallDispid78();
    void CallDispid79(long p1, long p2);
    void CallDispid80(LPCSTR p1, long p2, long p3, long p4);
    void CallDispid81(long p1);   // needs 2.5.1.29
    void CallDispid82(LPCSTR p1);   // needs 2.5.1.29
    void CallDispid83(long p1);   // needs 2.5.1.29
    void CallDispid84();   // needs 2.5.1.30
    void CallDispid85(BOOL p1);   // needs 2.5.1.30
    void CallDispid86(BOOL p1);   // needs 2.5.1.30
    void CallDispid87(BOOL p1);   // needs 2.7.0.13
    BOOL CallDispid88(long p1, long p2);   // needs 2.7.0.13
    void CallDispid89(LPCSTR p1);   // needs 2.8.4.1
    // Methods 49 and 47 with an in-process record: its address goes as a
    // 32-bit number on 32-bit builds and as a 64-bit one on 64-bit builds.
    BOOL CallDispid49(const void* pRecord, long nLength);
    BOOL CallDispid47(const void* pRecord, long nLength, LPCSTR p3, LPCSTR p4, LPCSTR p5, long p6, long p7);

private:
    BOOL LoadVersion();

    CModuleVersion m_version;                // of "QVChatEx.dll"
};

// A new chat control wrapper on the heap; delete it when done.
CQVChatEx* CreateChatControl();
