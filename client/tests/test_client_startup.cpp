// Start-up pieces that stand alone: binding the board library (with the
// faults it reports) and the crash-dump writer of the exception filter.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "BoardLibrary.h"
#include "CrashDump.h"
#include "store/FilePaths.h"

namespace {

std::vector<UINT> g_faults;

void RecordFault(UINT code) { g_faults.push_back(code); }

std::string ProgramFolder()
{
    char folder[MAX_PATH] = "";
    GetModuleFolder(folder);
    RemoveTrailingSlash(folder);
    return folder;
}

TEST(ClientStartupTest, BoardBindingFaults)
{
    struct Case {
        const char* what;
        const char* name;
        BOOL bound;
        BoardBinding binding;
        std::vector<UINT> faults;
    };
    const Case cases[] = {
        {"the real board library", "Mardavel", TRUE, kBoardBound, {}},
        {"no library", "Missing", FALSE, kBoardMissingLibrary, {430}},
        {"no QVBoardCreate: 431, then 430", "NoCreate", FALSE, kBoardMissingCreate, {431, 430}},
        {"no QVBoardDestory: 430 only", "NoDestroy", FALSE, kBoardMissingExport, {430}},
    };
    const std::string folder = ProgramFolder();
    for (const Case& c : cases) {
        CBoardLibrary library;
        EXPECT_EQ(library.Load(folder.c_str(), c.name), c.binding) << c.what;
        g_faults.clear();
        CBoardLibrary bound;
        EXPECT_EQ(BindBoardForStartup(bound, folder.c_str(), c.name, RecordFault), c.bound) << c.what;
        EXPECT_EQ(g_faults, c.faults) << c.what;
        EXPECT_EQ(bound.IsBound(), c.bound) << c.what;
    }
    CBoardLibrary library;
    ASSERT_EQ(library.Load(folder.c_str(), "NoDestroy"), kBoardMissingExport);
    EXPECT_NE(library.m_pfnCreate, nullptr) << "each entry is kept as soon as it is found";
    EXPECT_EQ(library.m_pfnDestory, nullptr);
}

LONG g_previousCalls = 0;
LONG WINAPI PreviousFilter(EXCEPTION_POINTERS*)
{
    g_previousCalls++;
    return EXCEPTION_CONTINUE_EXECUTION;
}

TEST(ClientStartupTest, CrashDump)
{
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "client_crash\\dumps";
    DeleteTree((std::string(temp) + "client_crash").c_str());

    EXCEPTION_RECORD record = {};
    record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
    CONTEXT context = {};
    ::RtlCaptureContext(&context);
    EXCEPTION_POINTERS pointers = {&record, &context};

    CrashDumpOptions options;
    options.folder = folder.c_str();
    options.askUser = FALSE;
    options.postFault = RecordFault;
    g_faults.clear();
    CrashDumpResult result = WriteCrashDump(&pointers, options);
    EXPECT_TRUE(result.written);
    EXPECT_TRUE(DirectoryExists(folder.c_str())) << "every missing level made";
    EXPECT_TRUE(FileCanOpen(result.path)) << result.path;
    EXPECT_NE(std::string(result.path).find("\\Mardavel_Crash_"), std::string::npos);
    EXPECT_EQ(std::string(result.path).substr(strlen(result.path) - 4), ".dmp");
    EXPECT_EQ(g_faults, (std::vector<UINT>{427}));

    // Without the dump writer nothing is written, and the filter installed
    // before still gets the exception.
    options.dbgHelp = "no_such_dbghelp.dll";
    options.previous = PreviousFilter;
    g_faults.clear();
    g_previousCalls = 0;
    result = WriteCrashDump(&pointers, options);
    EXPECT_FALSE(result.written);
    EXPECT_EQ(g_previousCalls, 1);
    EXPECT_EQ(result.filterResult, EXCEPTION_CONTINUE_EXECUTION) << "the previous filter's answer";
    EXPECT_TRUE(g_faults.empty());

    // No folder: nothing written, the previous filter still called.
    options.folder = "";
    options.dbgHelp = "dbghelp.dll";
    result = WriteCrashDump(NULL, options);
    EXPECT_FALSE(result.written);
    EXPECT_EQ(g_previousCalls, 2);
    DeleteTree((std::string(temp) + "client_crash").c_str());
}

}  // namespace
