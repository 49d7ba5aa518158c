// Saved games on disk: names, writing, and the failures that leave nothing
// behind.
#include <gtest/gtest.h>

#include "afxwin.h"

#include <string>
#include <vector>

#include "SavedGameFile.h"
#include "store/FilePaths.h"

namespace {

std::tm When()
{
    std::tm t{};
    t.tm_year = 124;
    t.tm_mon = 0;
    t.tm_mday = 2;
    t.tm_hour = 3;
    t.tm_min = 4;
    t.tm_sec = 5;
    return t;
}

peg::Record OneHand()
{
    peg::Record record;
    const peg::Record::Names names = {{"a", "b", "c", "d", "e"}, {"A", "B", "C", "D", "E"}};
    const uint8_t deal[] = {0x01, 0x60, 0x02, 0x80, 6, 0, 0, 0, 1, 0, 0, 0, 3, 44, 43, 43, 43, 43};
    record.Take(deal, sizeof deal, names, 1, When());
    return record;
}

std::string Temp(const char* name)
{
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + name;
    DeleteTree(folder.c_str());
    return folder;
}

int CountFiles(const std::string& folder)
{
    int n = 0;
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (strcmp(found.cFileName, ".") != 0 && strcmp(found.cFileName, ".."))
            n++;
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
    return n;
}

TEST(SavedGameFileTest, NamesAndWriting)
{
    const std::string folder = Temp("client_saves") + "\\deep\\save";
    const CString first = NewSavedGameName(folder.c_str(), When(), FALSE);
    EXPECT_TRUE(DirectoryExists(folder.c_str())) << "a missing save folder is made again";
    EXPECT_EQ(std::string(first), folder + "\\自己的20240102030405.peg");
    ASSERT_EQ(WriteSavedGame(first, OneHand()), kSaved);

    uint32_t length = 0;
    BYTE* bytes = ReadFileBlock(first, &length, 0, 1, 0, 0);
    ASSERT_NE(bytes, nullptr);
    peg::File file;
    EXPECT_EQ(peg::ReadFile(bytes, length, &file), peg::kReadOk);
    EXPECT_EQ(file.entries.size(), 1u);
    free(bytes);

    const CString second = NewSavedGameName(folder.c_str(), When(), FALSE);
    EXPECT_EQ(std::string(second), folder + "\\自己的20240102030405-2.peg") << "no overwrite in the same second";
    EXPECT_EQ(WriteSavedGame(first, OneHand()), kSaveCannotWrite) << "an existing file is left alone";
    EXPECT_EQ(std::string(NewSavedGameName(folder.c_str(), When(), TRUE)), folder + "\\旁观的20240102030405.peg");
    DeleteTree(Temp("client_saves").c_str());
}

TEST(SavedGameFileTest, FailuresLeaveNoFile)
{
    const std::string folder = Temp("client_saves_fail");
    CreateDirectoryPath(folder.c_str());
    // The file's name is taken by a folder: the write fails at the move, and
    // neither the file nor its temporary copy stays.
    const std::string blocked = folder + "\\自己的20240102030405.peg";
    CreateDirectoryPath(blocked.c_str());
    EXPECT_EQ(WriteSavedGame(blocked.c_str(), OneHand()), kSaveCannotWrite);
    EXPECT_EQ(CountFiles(folder), 1) << "only the folder that was there";
    EXPECT_EQ(WriteSavedGame((folder + "\\gone\\x.peg").c_str(), OneHand()), kSaveCannotCreate)
        << "the save folder no longer exists";
    EXPECT_FALSE(PathExists((folder + "\\gone").c_str()));
    peg::Record empty;
    EXPECT_EQ(WriteSavedGame((folder + "\\y.peg").c_str(), empty), kSaveCannotCreate) << "no record";
    DeleteTree(folder.c_str());
}

}  // namespace
