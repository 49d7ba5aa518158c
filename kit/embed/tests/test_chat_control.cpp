// The chat control wrapper against the stand-in chat control: the version
// gates of the newer methods per build, the arguments and results of every
// kind of method as the control receives them, property round trips, and
// neutral results without a control.
#include "EmbedTestSupport.h"

#include "QVChatEx.h"

#include <cstdlib>
#include <functional>

namespace {

const UINT kChatId = 29741;

// The build of the chat control under test: the installed one unless
// MARDAVEL_CHAT_BUILD names the folder of an older build.
std::string ChatBuild()
{
    const char* psz = getenv("MARDAVEL_CHAT_BUILD");
    return psz != NULL ? psz : "";
}

std::string ChatModulePath()
{
    std::string build = ChatBuild();
    return build.empty() ? "QVChatEx.dll" : build + "\\QVChatEx.dll";
}

class ChatFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxOleInitThread());
        ASSERT_TRUE(m_server.Serve(ChatModulePath().c_str(), CLSID_QVChatEx)) << ChatModulePath();
        ASSERT_TRUE(m_host.CreateHost());
        m_pChat = CreateChatControl();
        ASSERT_TRUE(m_pChat->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), &m_host, kChatId));
        m_server.ClearLog();
    }
    void TearDown() override
    {
        delete m_pChat;
        m_host.DestroyWindow();
        m_server.Revoke();
    }
    std::vector<std::string> TakeLog()
    {
        std::vector<std::string> lines = SplitLines(m_server.ReadLog());
        m_server.ClearLog();
        return lines;
    }

    CStandInServer m_server;
    CHostWnd m_host;
    CQVChatEx* m_pChat = NULL;
};

class ChatVersionGate : public ChatFixture {};
class ChatControl : public ChatFixture {};

} // namespace

// Methods 81 to 89 reach only a control at least as new as each method's
// version; a skipped method 88 answers FALSE (the stand-in answers TRUE).
TEST_F(ChatVersionGate, NewerMethodsAreCalledOnlyOnNewEnoughBuilds)
{
    struct Build
    {
        const char* folder;
        const char* version;
        bool called[9];                      // methods 81 to 89
    };
    const Build builds[] = {
        // The gates: 81-83 need 2.5.1.29, 84-86 2.5.1.30, 87-88 2.7.0.13, 89 2.8.4.1.
        {"", "2.8.4.1", {true, true, true, true, true, true, true, true, true}},
        {"chat-2.7.0.13", "2.7.0.13", {true, true, true, true, true, true, true, true, false}},
        {"chat-2.5.1.28", "2.5.1.28", {false, false, false, false, false, false, false, false, false}},
    };
    const Build* pBuild = NULL;
    for (const Build& b : builds)
        if (ChatBuild() == b.folder)
            pBuild = &b;
    ASSERT_NE(pBuild, nullptr) << "no expectations for the chat build \"" << ChatBuild() << "\"";
    ASSERT_STREQ(m_pChat->GetModuleVersion().GetText(), pBuild->version);

    m_pChat->CallDispid81(11);
    m_pChat->CallDispid82("gate");
    m_pChat->CallDispid83(13);
    m_pChat->CallDispid84();
    m_pChat->CallDispid85(TRUE);
    m_pChat->CallDispid86(FALSE);
    m_pChat->CallDispid87(TRUE);
    BOOL b88 = m_pChat->CallDispid88(8, 9);
    m_pChat->CallDispid89("newest");
    const char* calls[9] = {"m81(I4:11)", "m82(BSTR:gate)", "m83(I4:13)", "m84()", "m85(BOOL:1)", "m86(BOOL:0)",
                            "m87(BOOL:1)", "m88(I4:8,I4:9)", "m89(BSTR:newest)"};
    std::vector<std::string> expected;
    for (int i = 0; i < 9; i++)
        if (pBuild->called[i])
            expected.push_back(calls[i]);
    EXPECT_EQ(TakeLog(), expected) << "build " << pBuild->version;
    EXPECT_EQ(b88, pBuild->called[7] ? TRUE : FALSE);
}

// One method of each argument and result shape, as the control receives it.
// The stand-in answers TRUE for BOOL methods, id * 1000 + 7 for long methods
// without a number, the number + 1000 for (text, I4), and writes id * 100
// through pointer arguments.
TEST_F(ChatControl, EveryMethodShapeArrivesAsDeclared)
{
    long nOut = -1;
    struct Case
    {
        const char* what;
        std::function<long(CQVChatEx&)> call;
        const char* logged;
        long result;
    };
    const Case cases[] = {
        {"() -> BOOL", [](CQVChatEx& c) { return (long)c.CallDispid35(); }, "m35()", TRUE},
        {"() -> none", [](CQVChatEx& c) { c.CallDispid36(); return 0L; }, "m36()", 0},
        {"5 texts, 2 I4", [](CQVChatEx& c) { c.CallDispid37("a", "b", "", "d", NULL, 6, -7); return 0L; },
         "m37(BSTR:a,BSTR:b,BSTR:,BSTR:d,BSTR:,I4:6,I4:-7)", 0},
        {"4 texts", [](CQVChatEx& c) { c.CallDispid38("w", "x", "y", "z"); return 0L; },
         "m38(BSTR:w,BSTR:x,BSTR:y,BSTR:z)", 0},
        {"text -> BOOL", [](CQVChatEx& c) { return (long)c.CallDispid40("t"); }, "m40(BSTR:t)", TRUE},
        {"text", [](CQVChatEx& c) { c.CallDispid43("hello world"); return 0L; }, "m43(BSTR:hello world)", 0},
        {"() -> long", [](CQVChatEx& c) { return c.CallDispid44(); }, "m44()", 44007},
        {"I4, I4, 3 texts, I4, I4 -> BOOL",
         [](CQVChatEx& c) { return (long)c.CallDispid47(1, 2, "p", "q", "r", 2147483647L, -2147483647L - 1); },
         "m47(I4:1,I4:2,BSTR:p,BSTR:q,BSTR:r,I4:2147483647,I4:-2147483648)", TRUE},
        {"I4, I4, 2 texts -> BOOL", [](CQVChatEx& c) { return (long)c.CallDispid46(3, 4, "s", "t"); },
         "m46(I4:3,I4:4,BSTR:s,BSTR:t)", TRUE},
        {"I4, BOOL -> BOOL", [](CQVChatEx& c) { return (long)c.CallDispid48(5, 7); }, "m48(I4:5,BOOL:1)", TRUE},
        {"I4, I4 -> BOOL", [](CQVChatEx& c) { return (long)c.CallDispid49(100, 28); }, "m49(I4:100,I4:28)", TRUE},
        {"I2 -> BOOL", [](CQVChatEx& c) { return (long)c.CallDispid72(-3); }, "m72(I2:-3)", TRUE},
        {"2 texts -> BOOL", [](CQVChatEx& c) { return (long)c.CallDispid51("C:\\x\\Mardavel.emt", "0"); },
         "m51(BSTR:C:\\x\\Mardavel.emt,BSTR:0)", TRUE},
        {"I4, text", [](CQVChatEx& c) { c.CallDispid52(4, "from the tool"); return 0L; },
         "m52(I4:4,BSTR:from the tool)", 0},
        {"BOOL", [](CQVChatEx& c) { c.CallDispid57(FALSE); return 0L; }, "m57(BOOL:0)", 0},
        {"5 texts -> BOOL", [](CQVChatEx& c) { return (long)c.CallDispid61("1", "2", "3", "4", "5"); },
         "m61(BSTR:1,BSTR:2,BSTR:3,BSTR:4,BSTR:5)", TRUE},
        {"6 texts -> BOOL", [](CQVChatEx& c) { return (long)c.CallDispid62("1", "2", "3", "4", "5", "6"); },
         "m62(BSTR:1,BSTR:2,BSTR:3,BSTR:4,BSTR:5,BSTR:6)", TRUE},
        {"text, PI4 -> BOOL", [&nOut](CQVChatEx& c) { nOut = 17; BOOL b = c.CallDispid63("q", &nOut); return b ? nOut : -1; },
         "m63(BSTR:q,PI4:17)", 6300},
        {"text, I4 -> long", [](CQVChatEx& c) { return c.CallDispid66("player", 250); }, "m66(BSTR:player,I4:250)",
         1250},
        {"2 texts, I4 -> BOOL", [](CQVChatEx& c) { return (long)c.CallDispid67("a", "b", 9); },
         "m67(BSTR:a,BSTR:b,I4:9)", TRUE},
        {"3 texts -> BOOL", [](CQVChatEx& c) { return (long)c.CallDispid68("a", "b", "c"); },
         "m68(BSTR:a,BSTR:b,BSTR:c)", TRUE},
        {"I4, I4", [](CQVChatEx& c) { c.CallDispid74(-1, 0); return 0L; }, "m74(I4:-1,I4:0)", 0},
        {"3 I4", [](CQVChatEx& c) { c.CallDispid76(1, 2, 3); return 0L; }, "m76(I4:1,I4:2,I4:3)", 0},
        {"PI4", [&nOut](CQVChatEx& c) { nOut = 5; c.CallDispid77(&nOut); return nOut; }, "m77(PI4:5)", 7700},
        {"text, 3 I4", [](CQVChatEx& c) { c.CallDispid80("f", 1, 2, 3); return 0L; },
         "m80(BSTR:f,I4:1,I4:2,I4:3)", 0},
    };
    for (const Case& c : cases) {
        long result = c.call(*m_pChat);
        EXPECT_EQ(TakeLog(), std::vector<std::string>{c.logged}) << c.what;
        EXPECT_EQ(result, c.result) << c.what;
    }
}

// Properties keep what they are given, in their own types; before that they
// read as zero or empty.
TEST_F(ChatControl, PropertiesRoundTrip)
{
    EXPECT_EQ(m_pChat->GetLongProperty7(), 0);
    EXPECT_EQ(m_pChat->GetStringProperty18(), CString(""));
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"g7()", "g18()"}));

    m_pChat->SetLongProperty7(123456);
    m_pChat->SetLongProperty34(-5);
    m_pChat->SetBoolProperty15(TRUE);
    m_pChat->SetStringProperty18("table 7 of room 3");
    m_pChat->SetShortProperty19(-12);
    m_pChat->SetBorderStyle(1);
    m_pChat->SetAppearance(0);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"p7(I4:123456)", "p34(I4:-5)", "p15(BOOL:1)",
                                                   "p18(BSTR:table 7 of room 3)", "p19(I2:-12)", "p-504(I2:1)",
                                                   "p-520(I2:0)"}));
    EXPECT_EQ(m_pChat->GetLongProperty7(), 123456);
    EXPECT_EQ(m_pChat->GetLongProperty34(), -5);
    EXPECT_EQ(m_pChat->GetBoolProperty15(), TRUE);
    EXPECT_EQ(m_pChat->GetStringProperty18(), CString("table 7 of room 3"));
    EXPECT_EQ(m_pChat->GetShortProperty19(), -12);
    EXPECT_EQ(m_pChat->GetBorderStyle(), 1);

    // An object property: the control's own dispatch interface comes back.
    IDispatch* pSelf = NULL;
    ASSERT_EQ(m_pChat->GetControlUnknown()->QueryInterface(IID_IDispatch, (void**)&pSelf), S_OK);
    m_pChat->SetDispatchProperty21(pSelf);
    LPDISPATCH pBack = m_pChat->GetDispatchProperty21();
    EXPECT_EQ(pBack, pSelf);
    if (pBack != NULL)
        pBack->Release();
    pSelf->Release();
    EXPECT_EQ(m_pChat->GetDispatchProperty22(), nullptr);
}

// Appended lines reach the control's display (the lines it keeps are not
// visible from here; the call is what the program relies on).
TEST_F(ChatControl, AppendedLineReachesTheControlWithItsMarkup)
{
    m_pChat->CallDispid75("\r\n<s=10,c=#00#00#FF,b>screenshot saved");
    EXPECT_EQ(TakeLog(), std::vector<std::string>{"m75(BSTR:\\r\\n<s=10,c=#00#00#FF,b>screenshot saved)"});
}

// A member the control does not have, and a wrapper without a control, give
// neutral results; nothing is thrown.
TEST_F(ChatControl, FailedCallsGiveNeutralResults)
{
    long nResult = -1;
    EXPECT_FALSE(m_pChat->InvokeHelper(999, DISPATCH_METHOD, VT_I4, &nResult, (const BYTE*)VTS_NONE));
    EXPECT_EQ(nResult, 0);

    CQVChatEx* pNone = CreateChatControl();
    EXPECT_FALSE(pNone->CallDispid35());
    EXPECT_EQ(pNone->CallDispid44(), 0);
    long nOut = 3;
    EXPECT_FALSE(pNone->CallDispid63("x", &nOut));
    EXPECT_EQ(nOut, 3);
    EXPECT_EQ(pNone->GetStringProperty18(), CString(""));
    pNone->CallDispid75("nobody hears this");
    delete pNone;
    EXPECT_EQ(TakeLog(), std::vector<std::string>{"m999()"});
}

// A control class that nobody serves: creation fails and leaves no window.
TEST_F(ChatControl, UnservedControlIsNotCreated)
{
    m_server.Revoke();
    CHostWnd host;
    ASSERT_TRUE(host.CreateHost());
    CQVChatEx* pChat = CreateChatControl();
    static const CLSID kNobody = {0x3c7b1d40, 0x52a8, 0x4e61, {0x9f, 0x0b, 0x7a, 0x2d, 0x5c, 0x1e, 0x8f, 0xff}};
    EXPECT_FALSE(pChat->CreateControl(kNobody, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &host, 1));
    EXPECT_EQ(pChat->GetSafeHwnd(), (HWND)NULL);
    EXPECT_EQ(::GetWindow(host.GetSafeHwnd(), GW_CHILD), (HWND)NULL);
    EXPECT_FALSE(pChat->CallDispid35());
    delete pChat;
    host.DestroyWindow();
}
