// The connection's pure pieces: the message assembler at its size limit,
// body expansion, the stream transforms, and the readers of the system
// messages' bodies at their bounds.
#include "NetTestSupport.h"

#include <cstring>

#include "SystemMessageBodies.h"

TEST(Assembler, AsksForTheShortHeaderFirstAndThenTheRest)
{
    for (uint32_t id : {0x26000u, 0x80026000u}) {
        SCOPED_TRACE(id);
        const std::vector<uint8_t> wire = BuildNetMessage(id, "abc", 3, 9);
        CMessageAssembler assembler;
        for (size_t i = 0; i < wire.size(); ++i) {
            const uint32_t wanted = assembler.BytesWanted();
            if (i < 8)
                EXPECT_EQ(wanted, 8 - i);
            else
                EXPECT_EQ(wanted, wire.size() - i);
            uint8_t* place = assembler.ReserveForRead(1);
            ASSERT_NE(place, nullptr);
            *place = wire[i];
            const auto result = assembler.Commit(1);
            EXPECT_EQ(result, i + 1 == wire.size() ? CMessageAssembler::kComplete : CMessageAssembler::kNeedMore);
        }
        uint32_t size = 0;
        uint8_t* message = assembler.Release(&size);
        ASSERT_EQ(size, wire.size());
        EXPECT_EQ(memcmp(message, wire.data(), size), 0);
        free(message);
        EXPECT_EQ(assembler.Filled(), 0u);
    }
}

TEST(Assembler, TakesMessagesUpToTheCapAndRefusesLongerOnesBeforeAllocating)
{
    struct Case {
        uint32_t id;
        uint32_t bodyLength;
        CMessageAssembler::Result result;
    };
    const Case cases[] = {
        {0x26000, kMaxReceivedMessage - 8, CMessageAssembler::kNeedMore},
        {0x26000, kMaxReceivedMessage - 7, CMessageAssembler::kTooLong},
        {0x80026000, kMaxReceivedMessage - 12, CMessageAssembler::kNeedMore},
        {0x80026000, kMaxReceivedMessage - 11, CMessageAssembler::kTooLong},
        {0x80026000, 0xFFFFFFFFu, CMessageAssembler::kTooLong},   // header + length wraps in 32 bits
        {0x26000, 0, CMessageAssembler::kComplete},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bodyLength);
        CMessageAssembler assembler;
        const std::vector<uint8_t> header = U32s({c.id, c.bodyLength});
        uint8_t* place = assembler.ReserveForRead(8);
        ASSERT_NE(place, nullptr);
        memcpy(place, header.data(), 8);
        EXPECT_EQ(assembler.Commit(8), c.result);
    }
}

TEST(Expansion, RestoresTheBodyAndTheHeader)
{
    std::vector<uint8_t> body(5000);
    for (size_t i = 0; i < body.size(); ++i)
        body[i] = uint8_t(i % 7);
    const std::vector<uint8_t> wire = WireMessage(0x80026006, body, 42, true);
    ASSERT_TRUE(MsgIsCompressed(MsgId(wire.data())));
    uint8_t* expanded = nullptr;
    uint32_t size = 0;
    ASSERT_EQ(ExpandNetMessage(wire.data(), (uint32_t)wire.size(), &expanded, &size), ExpandResult::kExpanded);
    EXPECT_EQ(MsgId(expanded), 0x80026006u);
    EXPECT_EQ(MsgResult(expanded), 42u);
    ASSERT_EQ(MsgBodyLength(expanded), body.size());
    EXPECT_EQ(size, 12 + body.size());
    EXPECT_EQ(memcmp(MsgBody(expanded), body.data(), body.size()), 0);
    free(expanded);
    EXPECT_FALSE(MsgIsCompressed(netmsg::kEndOfGame));
}

TEST(Transform, FollowsTheStreamWhateverItsPiecesAndUndoesItself)
{
    const std::vector<uint8_t> key = Bytes("key!");
    std::vector<uint8_t> data(100);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = uint8_t(i);
    for (const std::vector<uint8_t>& k : {key, std::vector<uint8_t>()}) {
        std::vector<uint8_t> whole = data;
        CStreamTransform one(k.data(), (uint32_t)k.size(), 0x01020304);
        one.Apply(whole.data(), (uint32_t)whole.size());
        EXPECT_NE(whole, data);
        std::vector<uint8_t> pieces = data;
        CStreamTransform other(k.data(), (uint32_t)k.size(), 0x01020304);
        for (size_t at = 0, step = 1; at < pieces.size(); at += step, step = step % 9 + 1)
            other.Apply(pieces.data() + at, (uint32_t)std::min(step, pieces.size() - at));
        EXPECT_EQ(pieces, whole);
        CStreamTransform back(k.data(), (uint32_t)k.size(), 0x01020304);
        back.Apply(whole.data(), (uint32_t)whole.size());
        EXPECT_EQ(whole, data);
    }
}

TEST(Transform, ReadsItsBodyOnlyWithinItsLength)
{
    TransformBody body;
    EXPECT_TRUE(ParseTransformBody(U32s({1, 2, 0, 0}).data(), 16, body));
    const std::vector<uint8_t> ok = Concat({U32s({1, 2, 3, 2}), Bytes("abcde")});
    ASSERT_TRUE(ParseTransformBody(ok.data(), (uint32_t)ok.size(), body));
    EXPECT_EQ(std::string((const char*)body.sendKey, body.sendKeyLength), "abc");
    EXPECT_EQ(std::string((const char*)body.receiveKey, body.receiveKeyLength), "de");
    for (const std::vector<uint8_t>& bad : {U32s({1, 2, 0}), Concat({U32s({1, 2, 3, 3}), Bytes("abcde")}),
                                            Concat({U32s({1, 2, 0xFFFFFFFF, 2}), Bytes("abcde")})})
        EXPECT_FALSE(ParseTransformBody(bad.data(), (uint32_t)bad.size(), body));
}

TEST(Bodies, TextsStopAtTheirZeroTheirFieldOrTheBody)
{
    const std::vector<uint8_t> body = Bytes(std::string("alice\0bob", 9));
    EXPECT_EQ(ReadBodyText(body.data(), (uint32_t)body.size(), 0), "alice");
    EXPECT_EQ(ReadBodyText(body.data(), 3, 0), "ali");
    EXPECT_EQ(ReadBodyText(body.data(), (uint32_t)body.size(), 0, 2), "al");
    EXPECT_EQ(ReadBodyText(body.data(), (uint32_t)body.size(), 9), "");
    EXPECT_EQ(ReadBodyText(body.data(), (uint32_t)body.size(), 100), "");
}

TEST(Bodies, OpenAddressReadsItsTwoTextsAndItsCodePage)
{
    OpenAddressBody out;
    const std::vector<uint8_t> two = Concat({U32s({0, 0x24, 6, 0, 1, 0, 15}), Bytes(std::string("go?\0http://a/\0", 15)),
                                             Bytes("x", true)});
    ASSERT_TRUE(ParseOpenAddressBody(two.data(), 28 + 15, out));
    EXPECT_EQ(out.firstText, "go?");
    EXPECT_EQ(out.secondText, "http://a/");
    EXPECT_EQ(out.codePage, 936u);
    EXPECT_EQ(out.closeFlag, 1u);
    const std::vector<uint8_t> withPage = Concat({U32s({5, 0, 0, 0, 0, 0, 4}), Bytes("abc", true), U32s({950})});
    ASSERT_TRUE(ParseOpenAddressBody(withPage.data(), (uint32_t)withPage.size(), out));
    EXPECT_EQ(out.firstText, "abc");
    EXPECT_EQ(out.secondText, "");
    EXPECT_EQ(out.codePage, 950u);
    const std::vector<uint8_t> overlong = Concat({U32s({5, 0, 0, 0, 0, 0, 40}), Bytes("abc", true)});
    EXPECT_FALSE(ParseOpenAddressBody(overlong.data(), (uint32_t)overlong.size(), out));
    EXPECT_FALSE(ParseOpenAddressBody(overlong.data(), 27, out));
    const std::vector<uint8_t> huge = Concat({U32s({5, 0, 0, 0, 0, 0, 0xFFFFFFF0}), Bytes("abc", true)});
    EXPECT_FALSE(ParseOpenAddressBody(huge.data(), (uint32_t)huge.size(), out));
}

TEST(Bodies, QueriesServerBoxesAndTrustStatesNeedTheirFixedFields)
{
    QueryBody query;
    const std::vector<uint8_t> q = Concat({U32s({7, 0x24, 3, 1}), Bytes("why?", true)});
    EXPECT_EQ(ParseQueryBody(q.data(), 15, query), QueryKind::kInvalid);
    EXPECT_EQ(ParseQueryBody(q.data(), 16, query), QueryKind::kIgnored);
    ASSERT_EQ(ParseQueryBody(q.data(), (uint32_t)q.size(), query), QueryKind::kQuery);
    EXPECT_EQ(query.queryId, 7u);
    EXPECT_EQ(query.text, "why?");

    ServerBoxBody box;
    const std::vector<uint8_t> b = Concat({U32s({0, 0x30, 5}), Bytes("hi")});   // no zero byte
    EXPECT_FALSE(ParseServerBoxBody(b.data(), 11, box));
    ASSERT_TRUE(ParseServerBoxBody(b.data(), (uint32_t)b.size(), box));
    EXPECT_EQ(box.text, "hi");

    TrustStateBody trust;
    const std::vector<uint8_t> t = {2, 0, 1, 3, 'b', 'o', 'b', 0};
    EXPECT_FALSE(ParseTrustStateBody(t.data(), 3, trust));
    ASSERT_TRUE(ParseTrustStateBody(t.data(), (uint32_t)t.size(), trust));
    EXPECT_EQ(trust.mode, 2);
    EXPECT_EQ(trust.used, 1);
    EXPECT_EQ(trust.limit, 3);
    EXPECT_EQ(trust.userName, "bob");

    EXPECT_EQ(ServerBoxFlags(MB_SYSTEMMODAL | MB_SERVICE_NOTIFICATION | MB_YESNO | MB_ICONSTOP | MB_DEFBUTTON2),
              (uint32_t)(MB_YESNO | MB_ICONSTOP | MB_DEFBUTTON2));
}

TEST(Bodies, OnlyWebAddressesMayBeOpened)
{
    const struct {
        const char* address;
        bool web;
    } cases[] = {
        {"http://example.com/a", true}, {"HTTPS://example.com", true}, {"https://", false},
        {"http:/x", false},             {"file:///c:/windows", false}, {"c:\\windows\\notepad.exe", false},
        {"notepad", false},             {"\\\\server\\share", false},  {"http://a\r\nb", false},
        {"", false},                    {"http://a/\" --new-window c:\\x", false},
        {"http://例子.测试/页", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsWebAddress(c.address), c.web) << c.address;
}
