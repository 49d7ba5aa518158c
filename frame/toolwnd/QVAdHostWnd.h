// CQVAdHostWnd: the frame's "tool" area. It hosts the platform's tool bar
// component (a COM object, not a windowed control), draws a skinned
// background behind it, keeps it sized to the window and hands its events to
// the game frame (toolwnd::IToolFrame) and the program (IToolServices).
#pragma once

#include "ToolCommand.h"
#include "afxdisp.h"

class CImageCache;
class CImageObj;
class CQVIniFile;

// What the tool area needs of the program besides the frame.
class IToolServices
{
public:
    virtual ~IToolServices() = default;
    // A game message with an empty body (event 2).
    virtual void SendGameMessage(uint32_t nMessageId) = 0;
    // A text for the chat control, of kind 4 (event 4).
    virtual void ChatText(LPCSTR lpszText) = 0;
    // Draws the part of the frame's background under the given rectangle of
    // the frame's client area at (0, 0) of the device context.
    virtual void DrawFrameBackground(CDC* pDC, const RECT& rectInFrame) = 0;
    // The platform's start-up settings for the component: name and value.
    virtual int GetStartupSettingCount() { return 0; }
    virtual void GetStartupSetting(int /*nIndex*/, CString& /*rName*/, long& /*rValue*/) {}
};

class CToolEventSink;

class CQVAdHostWnd : public CWnd
{
public:
    enum { kPictureCount = 9, kCentrePicture = 8 };
    static const char* const kPictureKeys[kPictureCount];

    CQVAdHostWnd();
    ~CQVAdHostWnd() override;

    void SetFrame(toolwnd::IToolFrame* pFrame) { m_pFrame = pFrame; }
    void SetServices(IToolServices* pServices) { m_pServices = pServices; }

    // The background mode from the text; for modes above 1 the nine pictures
    // named by the section's keys (at most 259 bytes each) from the cache.
    void LoadToolSkin(LPCSTR lpszMode, CQVIniFile* pIni, LPCSTR lpszSection, CImageCache* pCache);
    // Makes, runs and configures the component; 1 when started (also when it
    // was started before), 0 when there is no component.
    int Start();
    BOOL IsStarted() const { return m_bStarted; }
    // One-argument and two-argument (v, 0) calls; FALSE when they fail.
    BOOL PutValue(long nValue);
    BOOL Invoke(long nValue);

    // An event of the component (the sink's Invoke): 1 or 0 for the command
    // event, 1 when handled otherwise; 0 for events with too few or
    // mistyped arguments.
    int OnComponentEvent(DISPID nEvent, const DISPPARAMS* pParams);

    int GetBackgroundMode() const { return m_nMode; }
    COLORREF GetBackgroundColour() const { return m_crBack; }
    IDispatch* GetComponent() const { return m_pComponent; }

    // Message boxes of the connection failures ("连接失败2", "连接失败3",
    // "连接点释放失败"); tests put their own routine in.
    typedef void (*BoxRoutine)(LPCSTR lpszText);
    static BoxRoutine SetBoxRoutine(BoxRoutine pfnBox);

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    class Component;
    void DetachSink();
    void Paint(CDC* pDC, const CRect& rect);

    IDispatch* m_pComponent;
    CImageObj* m_pPictures[kPictureCount];
    COLORREF m_crBack;
    int m_nMode;
    BOOL m_bStarted;
    CToolEventSink* m_pSink;
    DWORD m_dwCookie;
    int m_nToolX, m_nToolY;                  // the stored tool position (event 5)
    toolwnd::IToolFrame* m_pFrame;
    IToolServices* m_pServices;
};
