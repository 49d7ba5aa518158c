// Helpers of the application base's tests: a recorder for the message
// boxes, the process's arguments swapped for a launch, registry values and
// temporary folders that clean up after themselves, and join replies built
// field by field.
#pragma once

#include <gtest/gtest.h>

#include "ClientServices.h"
#include "TableJoin.h"
#include "../../store/tests/StoreTestFiles.h"

#include <deque>
#include <string>
#include <vector>

// Every box shown through the box routine, answered from a queue (IDOK when
// it is empty).
struct AppBoxCall {
    std::string text;
    UINT type = 0;
    int countdown = -1;
    BOOL skinned = FALSE;
    BOOL wantsEntry = FALSE;
};
struct AppBoxRecorder {
    std::vector<AppBoxCall> calls;
    std::deque<int> answers;
    std::string entryText;           // handed back to MsgBoxEx

    AppBoxRecorder();
    ~AppBoxRecorder();
    AppBoxRecorder(const AppBoxRecorder&) = delete;
    AppBoxRecorder& operator=(const AppBoxRecorder&) = delete;

private:
    static int Routine(MsgBoxRequest& request);
    MsgBoxRoutine m_previous;
};

// The process's arguments (as __argc/__argv) replaced for a scope.
class ScopedArguments
{
public:
    explicit ScopedArguments(std::vector<std::string> arguments);
    ~ScopedArguments();
    ScopedArguments(const ScopedArguments&) = delete;
    ScopedArguments& operator=(const ScopedArguments&) = delete;

private:
    std::vector<std::string> m_arguments;
    std::vector<char*> m_pointers;
    int m_savedArgc;
    char** m_savedArgv;
};

// A key under HKEY_CURRENT_USER deleted (with everything below it) at the end
// of the scope, and what it held before.
class ScopedRegistryKey
{
public:
    explicit ScopedRegistryKey(const std::string& path, HKEY root = HKEY_CURRENT_USER);
    ~ScopedRegistryKey();
    ScopedRegistryKey(const ScopedRegistryKey&) = delete;
    ScopedRegistryKey& operator=(const ScopedRegistryKey&) = delete;

    void SetString(const char* name, const std::string& value);
    void SetDword(const char* name, DWORD value);

private:
    HKEY m_root;
    std::string m_path;
};

std::vector<std::string> SplitLines(const std::string& text);

// The folder of the test program, without a trailing backslash.
std::string ProgramFolder();

// A join reply body, built in parts.
struct ReplyPlayer {
    uint16_t chair;
    std::string user;
    std::string nick;
    uint32_t value = 0;
    uint16_t codePage = 936;
};
std::vector<uint8_t> JoinReplyBody(const std::vector<ReplyPlayer>& players, uint16_t secondValue,
                                   const std::vector<std::vector<uint8_t>>& blobs);
// The whole reply message (12-byte header) in a malloc block, for
// ParseJoinReply; free it with free().
uint8_t* JoinReplyMessage(const std::vector<uint8_t>& body, uint32_t result = 1);
