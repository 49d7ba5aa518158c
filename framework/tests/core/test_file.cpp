// CFile: round trips, open modes, seeking and the error results.
#include <gtest/gtest.h>

#include "afx.h"

namespace {

// A private folder under the temporary folder, removed afterwards.
class FrameworkFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char szTemp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, szTemp);
        m_folder.Format("%sfwcore_%lu\\", szTemp, ::GetCurrentProcessId());
        ::CreateDirectoryA(m_folder, NULL);
    }
    void TearDown() override
    {
        WIN32_FIND_DATAA fd;
        HANDLE h = ::FindFirstFileA(m_folder + "*", &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                ::DeleteFileA(m_folder + fd.cFileName);
            } while (::FindNextFileA(h, &fd));
            ::FindClose(h);
        }
        ::RemoveDirectoryA(m_folder);
    }
    CString Path(LPCSTR name) const { return m_folder + name; }

    CString m_folder;
};

}  // namespace

TEST_F(FrameworkFile, WriteReadRoundTripWithChineseName)
{
    CString path = Path("牌局记录.dat");
    BYTE data[300];
    for (int i = 0; i < 300; i++)
        data[i] = (BYTE)(i * 7);
    {
        CFile f;
        ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeWrite));
        EXPECT_TRUE(f.Write(data, 100));
        EXPECT_TRUE(f.Write(data + 100, 200));
        EXPECT_TRUE(f.Flush());
        EXPECT_EQ(300u, f.GetLength());
        EXPECT_EQ(CString("牌局记录.dat"), f.GetFileName());
    }   // the destructor closes

    CFile f;
    ASSERT_TRUE(f.Open(path, CFile::modeRead | CFile::shareDenyWrite));
    BYTE back[400] = {};
    EXPECT_EQ(300u, f.Read(back, sizeof(back)));
    EXPECT_EQ(0, memcmp(data, back, 300));
    EXPECT_EQ(0u, f.Read(back, sizeof(back)));   // at the end
    EXPECT_EQ(300u, f.GetPosition());
    EXPECT_FALSE(f.Write(data, 1));              // opened for reading
    f.Close();
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(0u, f.Read(back, 1));              // closed
}

TEST_F(FrameworkFile, CreateTruncatesUnlessNoTruncate)
{
    CString path = Path("log.txt");
    CFile f;
    ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeWrite));
    f.Write("first line\r\n", 12);
    f.Close();

    // The log way: open or create, keep the content, write at the end.
    ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite | CFile::shareDenyNone));
    EXPECT_EQ(12, f.SeekToEnd());
    f.Write("second\r\n", 8);
    EXPECT_EQ(20u, f.GetLength());
    f.Close();

    ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeReadWrite));
    EXPECT_EQ(0u, f.GetLength());
}

TEST_F(FrameworkFile, SeekAndSetLength)
{
    CFile f;
    ASSERT_TRUE(f.Open(Path("seek.bin"), CFile::modeCreate | CFile::modeReadWrite));
    f.Write("0123456789", 10);
    struct Case { LONGLONG off; UINT from; LONGLONG expected; };
    const Case cases[] = {
        {3, CFile::begin, 3}, {2, CFile::current, 5}, {-1, CFile::end, 9},
        {-20, CFile::begin, -1}, {-20, CFile::end, -1}, {0, 7, -1}, {0, CFile::current, 9},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, f.Seek(c.off, c.from)) << c.off << " from " << c.from;
    char ch = 0;
    EXPECT_EQ(1u, f.Read(&ch, 1));
    EXPECT_EQ('9', ch);
    EXPECT_EQ(20, f.Seek(20, CFile::begin));     // past the end is allowed
    EXPECT_EQ(0u, f.Read(&ch, 1));

    EXPECT_TRUE(f.SetLength(4));
    EXPECT_EQ(4u, f.GetLength());
    f.SeekToBegin();
    char sz[8] = {};
    EXPECT_EQ(4u, f.Read(sz, 8));
    EXPECT_STREQ("0123", sz);
}

TEST_F(FrameworkFile, OpenFailuresReportTheCause)
{
    struct Case { CString path; UINT flags; int cause; };
    const Case cases[] = {
        {Path("missing.dat"), CFile::modeRead, CFileException::fileNotFound},
        {Path("no such folder\\x.dat"), CFile::modeCreate | CFile::modeWrite, CFileException::badPath},
        {CString(), CFile::modeRead, CFileException::badPath},
        {m_folder, CFile::modeRead, CFileException::accessDenied},
    };
    for (const Case& c : cases) {
        CFile f;
        CFileException error;
        EXPECT_FALSE(f.Open(c.path, c.flags, &error)) << (LPCSTR)c.path;
        EXPECT_EQ(c.cause, error.m_cause) << (LPCSTR)c.path << " os error " << error.m_lOsError;
        EXPECT_EQ(c.path, error.m_strFileName);
        EXPECT_FALSE(f.IsOpen());
        EXPECT_EQ(0u, f.GetLength());
        EXPECT_EQ(-1, f.Seek(0, CFile::begin));
    }
    CFile f;
    EXPECT_FALSE(f.Open(Path("missing.dat"), CFile::modeRead));   // no error record: still FALSE
}

TEST_F(FrameworkFile, ExclusiveOpenBlocksASecondOpen)
{
    CString path = Path("locked.dat");
    CFile first;
    ASSERT_TRUE(first.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive));
    CFile second;
    CFileException error;
    EXPECT_FALSE(second.Open(path, CFile::modeRead | CFile::shareDenyNone, &error));
    EXPECT_EQ(CFileException::sharingViolation, error.m_cause);
    first.Close();
    EXPECT_TRUE(second.Open(path, CFile::modeRead | CFile::shareDenyNone));
}

TEST_F(FrameworkFile, RenameAndRemove)
{
    CString a = Path("a.tmp"), b = Path("b.tmp");
    {
        CFile f;
        ASSERT_TRUE(f.Open(a, CFile::modeCreate | CFile::modeWrite));
    }
    EXPECT_TRUE(CFile::Rename(a, b));
    CFileException error;
    EXPECT_FALSE(CFile::Rename(a, b, &error));
    EXPECT_EQ(CFileException::fileNotFound, error.m_cause);
    EXPECT_TRUE(CFile::Remove(b));
    EXPECT_FALSE(CFile::Remove(b, &error));
    EXPECT_EQ(CFileException::fileNotFound, error.m_cause);
}

TEST_F(FrameworkFile, AttachedHandleIsLeftOpen)
{
    HANDLE h = ::CreateFileA(Path("h.bin"), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    {
        CFile f(h);
        EXPECT_TRUE(f.Write("ab", 2));
    }
    DWORD dwWritten = 0;
    EXPECT_TRUE(::WriteFile(h, "c", 1, &dwWritten, NULL));   // still open
    ::CloseHandle(h);
}
