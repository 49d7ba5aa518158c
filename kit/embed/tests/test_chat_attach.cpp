// The chat control's part of the connection: the launch record handed over
// after the join, and the end-of-hand wealth records.
#include "EmbedTestSupport.h"

#include "ChatAttach.h"
#include "app/ChatSetup.h"

#include <cstring>

namespace {

class ChatAttach : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxOleInitThread());
        ASSERT_TRUE(m_server.Serve("QVChatEx.dll", CLSID_QVChatEx));
        ASSERT_TRUE(m_host.CreateHost());
        ASSERT_TRUE(m_chat.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &m_host, 29741));
        m_server.ClearLog();
    }
    void TearDown() override
    {
        m_chat.DestroyWindow();
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
    CQVChatEx m_chat;
};

} // namespace

// The set-up sequence reaches the control; the records' address goes at the
// width of a pointer.
TEST_F(ChatAttach, LaunchRecordSetUpReachesTheControl)
{
    ApplyLaunchInfoToChat(&m_chat, 0, 0, NULL);
    std::vector<std::string> log = TakeLog();
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[0], "m57(BOOL:1)");
    EXPECT_EQ(log[1].substr(0, 9), "p18(BSTR:");
    EXPECT_EQ(log[2].substr(0, 7), "p19(I2:");
    EXPECT_EQ(log[3], "m35()");
#ifdef _WIN64
    const char* pointer = "(I8:";
#else
    const char* pointer = "(I4:";
#endif
    EXPECT_EQ(log[4].substr(0, 7), std::string("m49") + pointer);
    EXPECT_EQ(log[5].substr(0, 7), std::string("m47") + pointer);
}

TEST_F(ChatAttach, WealthRecordsGoByNameAndValue)
{
    WealthRecord record;
    memset(&record, 0, sizeof(record));
    strcpy(record.userName, "player1");
    record.value = 5;
    record.wealthChange = -20;
    AddWealthRecordToChat(&m_chat, record, 5);
    // A name that fills its field has no terminator: it is cut at the field.
    memset(record.userName, 'w', sizeof(record.userName));
    AddWealthRecordToChat(&m_chat, record, 6);
    AddWealthRecordToChat(NULL, record, 7);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"m64(BSTR:player1,I4:5)",
                                                   "m64(BSTR:" + std::string(sizeof(record.userName), 'w') + ",I4:6)"}));
}
