// Files, folders and paths, and the folder bundle.
#include "store/FilePaths.h"

#include "Checksum.h"
#include "StoreTestFiles.h"
#include "store/BlockCompress.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Stamp(const char* format)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[16];
    snprintf(text, sizeof(text), format, now.wYear % 100, now.wMonth, now.wDay);
    return text;
}

// A bundle stream put together by hand.
struct Stream
{
    std::vector<uint8_t> bytes;
    Stream& Tag(BundleTag tag) { bytes.push_back(tag); return *this; }
    Stream& Name(const std::string& name)
    {
        bytes.insert(bytes.end(), name.begin(), name.end());
        bytes.push_back(0);
        return *this;
    }
    Stream& File(const std::string& name, const std::string& content)
    {
        Tag(kBundleFile).Name(name);
        uint8_t length[4];
        WriteLe32(length, uint32_t(content.size()));
        bytes.insert(bytes.end(), length, length + 4);
        bytes.insert(bytes.end(), content.begin(), content.end());
        return *this;
    }
    Stream& Folder(const std::string& name) { return Tag(kBundleFolder).Name(name); }
    Stream& End() { return Tag(kBundleEnd); }
};

bool Unpack(const std::string& target, const Stream& stream)
{
    return UnpackFolderStream(target.c_str(), stream.bytes.data(), uint32_t(stream.bytes.size()));
}

struct VisitLog
{
    std::vector<std::string> seen;
    size_t stopAfter = 1000;
};

BOOL Visit(const char* folder, const WIN32_FIND_DATAA* found, void* context)
{
    VisitLog* log = static_cast<VisitLog*>(context);
    std::string where = folder;
    where = where.substr(where.find_last_of('\\') + 1);
    log->seen.push_back(where + "/" + found->cFileName);
    return log->seen.size() < log->stopAfter;
}

} // namespace

TEST(FilePaths, PathTextFunctions)
{
    struct SlashCase
    {
        const char* path;
        const char* cutLast;      // CutLastSlash (null: result 0)
        const char* namePart;     // GetFileNamePart
        const char* afterFolder;  // CutAfterFolder (null: result 0)
    };
    const SlashCase cases[] = {
        { "C:\\games\\mardavel\\skin.ini", "C:\\games\\mardavel", "skin.ini", "C:\\games\\mardavel\\" },
        { "C:\\games\\", "C:\\games", "", "C:\\games\\" },
        { "C:skin.ini", nullptr, "C:skin.ini", "C:" },
        { "skin.ini", nullptr, "skin.ini", nullptr },
        { "", nullptr, "", nullptr },
    };
    for (const SlashCase& c : cases) {
        SCOPED_TRACE(c.path);
        char path[MAX_PATH];
        strcpy(path, c.path);
        EXPECT_EQ(CutLastSlash(path), c.cutLast != nullptr);
        EXPECT_STREQ(path, c.cutLast ? c.cutLast : c.path);
        EXPECT_STREQ(GetFileNamePart(c.path), c.namePart);
        strcpy(path, c.path);
        EXPECT_EQ(CutAfterFolder(path), c.afterFolder != nullptr);
        EXPECT_STREQ(path, c.afterFolder ? c.afterFolder : c.path);
    }

    char path[MAX_PATH] = "C:\\a";
    EXPECT_TRUE(AddTrailingSlash(path));
    EXPECT_STREQ(path, "C:\\a\\");
    EXPECT_TRUE(AddTrailingSlash(path));
    EXPECT_STREQ(path, "C:\\a\\");
    EXPECT_TRUE(RemoveTrailingSlash(path));
    EXPECT_STREQ(path, "C:\\a");
    EXPECT_FALSE(RemoveTrailingSlash(path));
    char tight[5] = "C:\\a";
    EXPECT_FALSE(AddTrailingSlash(tight, sizeof(tight)));
    EXPECT_STREQ(tight, "C:\\a");
}

TEST(FilePaths, DoubleByteTrailBytesAreNoSeparators)
{
    if (GetACP() != 936)
        FAIL() << "the ANSI code page is " << GetACP() << ", not 936: run under the test prefix";
    // "\xB1\x5C" is one character whose trail byte equals "\".
    char path[MAX_PATH] = "C:\\dir\\\xB1\x5C";
    EXPECT_STREQ(GetFileNamePart(path), "\xB1\x5C");
    EXPECT_FALSE(RemoveTrailingSlash(path));
    EXPECT_TRUE(AddTrailingSlash(path));
    EXPECT_STREQ(path, "C:\\dir\\\xB1\x5C\\");
    char file[MAX_PATH] = "\xB1\x5C.txt";
    EXPECT_FALSE(CutLastSlash(file));

    ScratchFolder folder;
    const std::string tree = folder / "\xB1\x5C\\\xD6\xD0";
    ASSERT_TRUE(CreateDirectoryPath(tree.c_str()));
    EXPECT_TRUE(DirectoryExists(tree.c_str()));
    Stream stream;
    stream.File("\xB1\x5C.txt", "double byte").End();
    EXPECT_TRUE(Unpack(folder / "out", stream));
    EXPECT_EQ(ReadText(folder / "out\\\xB1\x5C.txt"), "double byte");
}

TEST(FilePaths, ModuleFolderEndsWithABackslash)
{
    char folder[MAX_PATH];
    ASSERT_TRUE(GetModuleFolder(folder));
    ASSERT_GT(strlen(folder), 3u);
    EXPECT_EQ(folder[strlen(folder) - 1], '\\');
    EXPECT_TRUE(DirectoryExists(folder));
    char other[MAX_PATH];
    ASSERT_TRUE(GetModuleFolderOf(GetModuleHandleA(NULL), other));
    EXPECT_STREQ(folder, other);

    char saved[MAX_PATH];
    ASSERT_TRUE(GetCurrentDirectoryA(MAX_PATH, saved));
    ScratchFolder scratch;
    EXPECT_TRUE(SetCurrentFolder(scratch.Path().c_str()));
    char now[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, now);
    EXPECT_EQ(std::string(now), scratch.Path());
    EXPECT_TRUE(SetCurrentFolder(nullptr));
    GetCurrentDirectoryA(MAX_PATH, now);
    EXPECT_EQ(std::string(now) + "\\", std::string(folder));
    EXPECT_FALSE(SetCurrentFolder((scratch / "missing").c_str()));
    SetCurrentDirectoryA(saved);
}

TEST(FilePaths, FileNameStamps)
{
    // The date is read before and after each call: a run that crosses
    // midnight (or a month's end) matches one of the two.
    char name[MAX_PATH] = "C:\\logs.d\\game.log.txt";
    std::string before = Stamp("%02d%02d");
    ASSERT_TRUE(StampFileNameMonth(name));
    std::string after = Stamp("%02d%02d");
    EXPECT_THAT(std::string(name), testing::AnyOf("C:\\logs.d\\game" + before + ".log.txt",
                                                  "C:\\logs.d\\game" + after + ".log.txt"));
    char plain[MAX_PATH] = "record";
    before = Stamp("%02d%02d%02d");
    ASSERT_TRUE(StampFileNameDay(plain));
    after = Stamp("%02d%02d%02d");
    EXPECT_THAT(std::string(plain), testing::AnyOf("record" + before, "record" + after));
    char small[10] = "ab.c";
    EXPECT_FALSE(StampFileNameDay(small, sizeof(small)));
    EXPECT_STREQ(small, "ab.c");
    EXPECT_TRUE(StampFileNameMonth(small, sizeof(small)));
}

TEST(FilePaths, FoldersAreCreatedAndDeleted)
{
    ScratchFolder folder;
    const std::string deep = folder / "a\\b\\c";
    ASSERT_TRUE(CreateDirectoryPath(deep.c_str()));
    EXPECT_TRUE(DirectoryExists(deep.c_str()));
    ASSERT_TRUE(WriteBytes(deep + "\\f.txt", "x"));
    EXPECT_TRUE(CreateDirectoryPath((deep + "\\").c_str()));   // exists: 1, nothing changes
    EXPECT_TRUE(FileExists(deep + "\\f.txt"));
    ASSERT_TRUE(WriteBytes(folder / "a\\plain", "p"));
    EXPECT_FALSE(CreateDirectoryPath((folder / "a\\plain\\sub").c_str()));

    EXPECT_TRUE(PathExists((folder / "a\\plain").c_str()));
    EXPECT_FALSE(DirectoryExists((folder / "a\\plain").c_str()));
    EXPECT_FALSE(PathExists(nullptr));

    // On a plain file only that file goes.
    EXPECT_TRUE(DeleteTree((folder / "a\\plain").c_str()));
    EXPECT_FALSE(FileExists(folder / "a\\plain"));
    EXPECT_TRUE(FileExists(deep + "\\f.txt"));
    EXPECT_TRUE(DeleteTree((folder / "a").c_str()));
    EXPECT_FALSE(FileExists(folder / "a"));
    EXPECT_TRUE(DirectoryExists(folder.Path().c_str()));
    EXPECT_FALSE(DeleteTree((folder / "missing").c_str()));
}

TEST(FilePaths, FilesOpenReadAndMove)
{
    ScratchFolder folder;
    const std::string path = folder / "data.bin";
    ASSERT_TRUE(WriteBytes(path, "0123456789"));
    EXPECT_TRUE(FileCanOpen(path.c_str()));
    EXPECT_FALSE(FileCanOpen((folder / "none").c_str()));
    EXPECT_EQ(GetFileSize(path.c_str()), 10u);
    EXPECT_EQ(GetFileSize((folder / "none").c_str()), 0u);

    struct BlockCase
    {
        uint32_t head, tail, offset, count;
        const char* expected;   // null: no block
    };
    const BlockCase cases[] = {
        { 0, 0, 0, 0, "0123456789" },
        { 4, 2, 3, 4, "3456" },
        { 1, 0, 8, 0, "89" },
        { 0, 0, 8, 100, "89" },
        { 0, 0, 9, 1, "9" },
        { 0, 0, 10, 0, nullptr },
        { 0, 0, 11, 1, nullptr },
    };
    for (const BlockCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.head << "/" << c.tail << "/" << c.offset << "/" << c.count);
        uint32_t length = 77;
        BYTE* block = ReadFileBlock(path.c_str(), &length, c.head, c.tail, c.offset, c.count);
        if (!c.expected) {
            EXPECT_EQ(block, nullptr);
            continue;
        }
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(block) + c.head, length), c.expected);
        EXPECT_EQ(block[c.head + length], 0);
        free(block);
    }
    uint32_t length;
    ASSERT_TRUE(WriteBytes(folder / "empty", ""));
    EXPECT_EQ(ReadFileBlock((folder / "empty").c_str(), &length, 0, 0, 0, 0), nullptr);

    // The extension is taken from the file name, not from a dotted folder.
    const std::string dotted = folder / "v1.2";
    ASSERT_TRUE(CreateDirectoryPath(dotted.c_str()));
    ASSERT_TRUE(WriteBytes(dotted + "\\save.peg", "game"));
    ASSERT_TRUE(WriteBytes(dotted + "\\save.bak", "older"));
    EXPECT_TRUE(MoveToNewExtension((dotted + "\\save.peg").c_str(), ".bak", FALSE));
    EXPECT_EQ(ReadText(dotted + "\\save.bak"), "game");
    EXPECT_FALSE(FileExists(dotted + "\\save.peg"));
    EXPECT_TRUE(MoveToNewExtension((dotted + "\\save.bak").c_str(), ".old", TRUE));
    EXPECT_EQ(ReadText(dotted + "\\save.bak.old"), "game");
    EXPECT_FALSE(MoveToNewExtension((dotted + "\\none").c_str(), ".x", TRUE));
}

TEST(FilePaths, CreateFileWithFoldersKeepsExistingContent)
{
    ScratchFolder folder;
    const std::string path = folder / "x\\y\\z.txt";
    HANDLE file = CreateFileWithFolders(path.c_str());
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written;
    WriteFile(file, "abc", 3, &written, NULL);
    CloseHandle(file);
    file = CreateFileWithFolders(path.c_str());
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_EQ(ReadText(path), "abc");
}

TEST(FilePaths, ForEachFileWalksSubFoldersFirst)
{
    ScratchFolder folder;
    ASSERT_TRUE(CreateDirectoryPath((folder / "sub").c_str()));
    ASSERT_TRUE(CreateDirectoryPath((folder / ".hidden").c_str()));
    ASSERT_TRUE(WriteBytes(folder / "top.ini", "1"));
    ASSERT_TRUE(WriteBytes(folder / "top.bmp", "1"));
    ASSERT_TRUE(WriteBytes(folder / "sub\\inner.ini", "1"));
    ASSERT_TRUE(WriteBytes(folder / ".hidden\\secret.ini", "1"));

    VisitLog log;
    EXPECT_TRUE(ForEachFile(folder.Path().c_str(), Visit, "*.ini", &log, TRUE));
    ASSERT_EQ(log.seen.size(), 2u);
    EXPECT_EQ(log.seen[0], "sub/inner.ini");
    EXPECT_EQ(log.seen[1].substr(log.seen[1].find('/')), "/top.ini");

    VisitLog flat;
    EXPECT_TRUE(ForEachFile(folder.Path().c_str(), Visit, nullptr, &flat, FALSE));
    EXPECT_EQ(flat.seen.size(), 2u);

    VisitLog stopped;
    stopped.stopAfter = 1;
    EXPECT_FALSE(ForEachFile(folder.Path().c_str(), Visit, "*", &stopped, TRUE));
    EXPECT_EQ(stopped.seen.size(), 1u);
    EXPECT_FALSE(ForEachFile((folder / "missing").c_str(), Visit, "*", &log, TRUE));
}

TEST(FilePaths, FileChecksumMatchesTheBlockChecksum)
{
    ScratchFolder folder;
    const std::vector<uint8_t> bytes = TestRandom(3).Bytes(1001);
    ASSERT_TRUE(WriteBytes(folder / "f", bytes));
    uint32_t value = 0;
    ASSERT_TRUE(FileChecksum((folder / "f").c_str(), &value));
    EXPECT_EQ(value, CalcChecksum(bytes.data(), 1001));
    ASSERT_TRUE(WriteBytes(folder / "abc", "abc"));
    ASSERT_TRUE(FileChecksum((folder / "abc").c_str(), &value));
    EXPECT_EQ(value, 0x616263u);
    ASSERT_TRUE(WriteBytes(folder / "empty", ""));
    ASSERT_TRUE(FileChecksum((folder / "empty").c_str(), &value));
    EXPECT_EQ(value, 0u);
    EXPECT_FALSE(FileChecksum((folder / "missing").c_str(), &value));
}

TEST(FolderBundle, TreeRoundTripThroughACompressedBlock)
{
    ScratchFolder folder;
    const std::string source = folder / "source";
    ASSERT_TRUE(CreateDirectoryPath((source + "\\scenes\\deep").c_str()));
    ASSERT_TRUE(CreateDirectoryPath((source + "\\empty").c_str()));
    const std::vector<uint8_t> picture = TestRandom(5).Bytes(70000);
    ASSERT_TRUE(WriteBytes(source + "\\layout.ini", "[S]\r\nk=v\r\n"));
    ASSERT_TRUE(WriteBytes(source + "\\zero.txt", ""));
    ASSERT_TRUE(WriteBytes(source + "\\scenes\\table.scn", "scene"));
    ASSERT_TRUE(WriteBytes(source + "\\scenes\\deep\\card.bmp", picture));

    BYTE* data = nullptr;
    uint32_t used = 0, capacity = 0;
    ASSERT_TRUE(PackFolder(source.c_str(), &data, &used, &capacity));
    uint32_t length = used;
    BYTE* block = CompressBlock(data, &length, kDefaultCompressLevel, 0);
    free(data);
    ASSERT_NE(block, nullptr);

    const std::string target = folder / "target";
    // An existing longer file ends up with the bundle's content exactly.
    ASSERT_TRUE(CreateDirectoryPath(target.c_str()));
    ASSERT_TRUE(WriteBytes(target + "\\layout.ini", std::string(500, 'o')));
    EXPECT_TRUE(UnpackFolder(target.c_str(), block, length));
    FreeBlock(block);

    EXPECT_EQ(ReadText(target + "\\layout.ini"), "[S]\r\nk=v\r\n");
    EXPECT_EQ(ReadText(target + "\\zero.txt"), "");
    EXPECT_TRUE(FileExists(target + "\\zero.txt"));
    EXPECT_EQ(ReadText(target + "\\scenes\\table.scn"), "scene");
    EXPECT_EQ(ReadBytes(target + "\\scenes\\deep\\card.bmp"), picture);
    // Folders come only with the files in them.
    EXPECT_FALSE(FileExists(target + "\\empty"));
    EXPECT_EQ(ListFolder(target), (std::vector<std::string>{ "layout.ini", "scenes", "zero.txt" }));
}

TEST(FolderBundle, EmptyFolderIsJustTheEndTag)
{
    ScratchFolder folder;
    ASSERT_TRUE(CreateDirectoryPath((folder / "empty").c_str()));
    BYTE* data = nullptr;
    uint32_t used = 0, capacity = 0;
    ASSERT_TRUE(PackFolder((folder / "empty").c_str(), &data, &used, &capacity));
    ASSERT_EQ(used, 1u);
    EXPECT_EQ(data[0], kBundleEnd);
    EXPECT_TRUE(UnpackFolderStream((folder / "out").c_str(), data, used));
    EXPECT_FALSE(FileExists(folder / "out"));
    free(data);
    EXPECT_FALSE(PackFolder((folder / "missing").c_str(), &data, &used, &capacity));
}

TEST(FolderBundle, NamesThatLeaveTheTargetAreRefused)
{
    const char* const names[] = {
        "..", ".", "..\\escape.txt", "../escape.txt", "sub\\x.txt", "C:\\escape.txt",
        "C:escape.txt", "\\escape.txt", "//server/share", "", "trailing.", "trailing ",
        ". .", "CON", "nul.txt", "a*b", "a?b", "a|b", "tab\tname",
    };
    ScratchFolder folder;
    const std::string target = folder / "target";
    for (const char* name : names) {
        SCOPED_TRACE(name);
        Stream asFile;
        asFile.File(name, "x").End();
        EXPECT_FALSE(Unpack(target, asFile));
        Stream asFolder;
        asFolder.Folder(name).File("inner.txt", "x").End().End();
        EXPECT_FALSE(Unpack(target, asFolder));
    }
    EXPECT_EQ(ListFolder(folder.Path()), std::vector<std::string>{});
    Stream good;
    good.Folder("sub").File("ok.txt", "fine").End().End();
    EXPECT_TRUE(Unpack(target, good));
    EXPECT_EQ(ReadText(target + "\\sub\\ok.txt"), "fine");
}

TEST(FolderBundle, DamagedStreamsAreRefused)
{
    ScratchFolder folder;
    const std::string target = folder / "target";
    struct DamageCase
    {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    std::vector<DamageCase> cases;
    Stream full;
    full.File("a.txt", "abc").End();
    cases.push_back({ "no end tag", std::vector<uint8_t>(full.bytes.begin(), full.bytes.end() - 1) });
    cases.push_back({ "content cut short", std::vector<uint8_t>(full.bytes.begin(), full.bytes.end() - 2) });
    cases.push_back({ "length cut short", std::vector<uint8_t>(full.bytes.begin(), full.bytes.begin() + 9) });
    cases.push_back({ "name without NUL", { kBundleFile, 'a', 'b' } });
    cases.push_back({ "unknown tag", { 7, 'a', 0, kBundleEnd } });
    cases.push_back({ "empty stream", {} });
    Stream huge;
    huge.Tag(kBundleFile).Name("big");
    huge.bytes.insert(huge.bytes.end(), { 0xFF, 0xFF, 0xFF, 0x7F, 'x' });
    cases.push_back({ "length past the end", huge.bytes });
    Stream nested;
    for (int i = 0; i < kMaxBundleDepth + 2; ++i)
        nested.Folder("d");
    nested.File("deep.txt", "x");
    for (int i = 0; i < kMaxBundleDepth + 3; ++i)
        nested.End();
    cases.push_back({ "folders nested too deep", nested.bytes });
    for (const DamageCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(UnpackFolderStream(target.c_str(), c.bytes.data(), uint32_t(c.bytes.size())));
    }
    const uint8_t one = kBundleEnd;
    EXPECT_FALSE(UnpackFolder(target.c_str(), &one, 1));   // not a compressed block
}

TEST(FilePaths, ReplacingWriteLeavesNoTemporaryFile)
{
    ScratchFolder folder;
    const std::string path = folder / "settings.dat";
    ASSERT_TRUE(WriteFileReplacing(path.c_str(), "first", 5));
    ASSERT_TRUE(WriteFileReplacing(path.c_str(), "second", 6));
    EXPECT_EQ(ReadText(path), "second");
    EXPECT_FALSE(WriteFileReplacing(path.c_str(), "third", 5, FALSE));
    EXPECT_EQ(ReadText(path), "second");
    EXPECT_EQ(ListFolder(folder.Path()), std::vector<std::string>{ "settings.dat" });
}
