// The platform's side of web addresses: the lobby's room record read from a
// mapping of the test's own, and the names escaped for addresses.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "LobbyLinks.h"

namespace {

// A mapping named like the lobby's (a name of the test's own) of `size`
// bytes, byte i holding i & 0xFF.
class TestMapping
{
public:
    TestMapping(const char* name, size_t size)
    {
        m_mapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, (DWORD)size, name);
        if (m_mapping == NULL)
            return;
        auto* view = static_cast<uint8_t*>(::MapViewOfFile(m_mapping, FILE_MAP_WRITE, 0, 0, size));
        if (view == NULL)
            return;
        for (size_t i = 0; i < size; i++)
            view[i] = (uint8_t)(i & 0xFF);
        ::UnmapViewOfFile(view);
    }
    ~TestMapping()
    {
        if (m_mapping != NULL)
            ::CloseHandle(m_mapping);
    }
    bool Ok() const { return m_mapping != NULL; }

private:
    HANDLE m_mapping = NULL;
};

std::string MappingName(const char* what)
{
    return std::string("MardavelTestRoom_") + what + "_" + std::to_string(::GetCurrentProcessId());
}

TEST(LobbyLinksTest, RoomRecordFromTheLobbysMapping)
{
    struct Case {
        const char* what;
        size_t size;     // 0: no mapping at all
        bool read;
    };
    const Case cases[] = {
        {"the lobby's mapping: 128 bytes at 23,720", kRoomMappingSize, true},
        {"a larger mapping is read the same way", kRoomMappingSize + 4096, true},
        {"no mapping: the record stays as it was", 0, false},
        {"a mapping smaller than the lobby's: refused, unchanged", kRoomRecordAt + 64, false},
    };
    for (const Case& c : cases) {
        const std::string name = MappingName(c.size == 0 ? "none" : std::to_string(c.size).c_str());
        std::unique_ptr<TestMapping> mapping;
        if (c.size != 0) {
            mapping.reset(new TestMapping(name.c_str(), c.size));
            ASSERT_TRUE(mapping->Ok()) << c.what;
        }
        uint8_t record[kRoomRecordBytes];
        memset(record, 0xEE, sizeof(record));
        EXPECT_EQ(ReadRoomRecord(record, name.c_str()) != FALSE, c.read) << c.what;
        for (size_t i = 0; i < kRoomRecordBytes; i++) {
            const uint8_t expected = c.read ? (uint8_t)((kRoomRecordAt + i) & 0xFF) : 0xEE;
            ASSERT_EQ(record[i], expected) << c.what << " at " << i;
        }
    }
}

TEST(LobbyLinksTest, NamesForAddresses)
{
    EXPECT_EQ(EscapeUserName("alice"), "alice");
    EXPECT_EQ(EscapeUserName("a b"), "a%20b");
    char out[kSelectNameSize];
    EncodeSelectName("a b", out);
    EXPECT_STREQ(out, "a%20b");
    // A long name is cut to 99 bytes, and the buffer stays terminated.
    const std::string longName(150, 'x');
    EncodeSelectName(longName.c_str(), out);
    EXPECT_EQ(strlen(out), kSelectNameSize - 1);
    EncodeSelectName("", out);
    EXPECT_STREQ(out, "");
}

}  // namespace
