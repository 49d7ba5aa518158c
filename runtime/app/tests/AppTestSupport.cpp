#include "AppTestSupport.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "net/MessageFrame.h"
#include "store/FilePaths.h"

namespace {
AppBoxRecorder* g_recorder = nullptr;
}

AppBoxRecorder::AppBoxRecorder()
{
    g_recorder = this;
    m_previous = SetMsgBoxRoutine(Routine);
}

AppBoxRecorder::~AppBoxRecorder()
{
    SetMsgBoxRoutine(m_previous);
    g_recorder = nullptr;
}

int AppBoxRecorder::Routine(MsgBoxRequest& request)
{
    if (g_recorder == nullptr)
        return IDOK;
    AppBoxCall call;
    call.text = (LPCSTR)request.text;
    call.type = request.nType;
    call.countdown = request.nCountdown;
    call.skinned = request.bSkinned;
    call.wantsEntry = request.bWantsEntry;
    g_recorder->calls.push_back(call);
    if (request.bWantsEntry)
        request.entryText = g_recorder->entryText.c_str();
    if (g_recorder->answers.empty())
        return IDOK;
    const int answer = g_recorder->answers.front();
    g_recorder->answers.pop_front();
    return answer;
}

ScopedArguments::ScopedArguments(std::vector<std::string> arguments)
    : m_arguments(std::move(arguments)), m_savedArgc(__argc), m_savedArgv(__argv)
{
    for (std::string& argument : m_arguments)
        m_pointers.push_back(&argument[0]);
    m_pointers.push_back(nullptr);
    __argc = (int)m_arguments.size();
    __argv = m_pointers.data();
}

ScopedArguments::~ScopedArguments()
{
    __argc = m_savedArgc;
    __argv = m_savedArgv;
}

ScopedRegistryKey::ScopedRegistryKey(const std::string& path, HKEY root) : m_root(root), m_path(path)
{
    ::RegDeleteTreeA(m_root, m_path.c_str());
    HKEY key;
    if (::RegCreateKeyExA(m_root, m_path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) == ERROR_SUCCESS)
        ::RegCloseKey(key);
}

ScopedRegistryKey::~ScopedRegistryKey() { ::RegDeleteTreeA(m_root, m_path.c_str()); }

void ScopedRegistryKey::SetString(const char* name, const std::string& value)
{
    HKEY key;
    ASSERT_EQ(::RegCreateKeyExA(m_root, m_path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL),
              ERROR_SUCCESS);
    ::RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)value.c_str(), (DWORD)value.size() + 1);
    ::RegCloseKey(key);
}

void ScopedRegistryKey::SetDword(const char* name, DWORD value)
{
    HKEY key;
    ASSERT_EQ(::RegCreateKeyExA(m_root, m_path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL),
              ERROR_SUCCESS);
    ::RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE*)&value, sizeof(value));
    ::RegCloseKey(key);
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string ProgramFolder()
{
    char folder[MAX_PATH];
    GetModuleFolder(folder);
    RemoveTrailingSlash(folder);
    return folder;
}

std::vector<uint8_t> JoinReplyBody(const std::vector<ReplyPlayer>& players, uint16_t secondValue,
                                   const std::vector<std::vector<uint8_t>>& blobs)
{
    std::vector<uint8_t> body(4, 0);
    body[0] = uint8_t(players.size());
    body[1] = uint8_t(players.size() >> 8);
    body[2] = uint8_t(secondValue);
    body[3] = uint8_t(secondValue >> 8);
    for (const ReplyPlayer& player : players) {
        JoinPlayerRecord record;
        memset(&record, 0, sizeof(record));
        record.chairAndCodePage = player.chair | uint32_t(player.codePage) << 16;
        memcpy(record.userName, player.user.data(), std::min(player.user.size(), sizeof(record.userName)));
        memcpy(record.nickname, player.nick.data(), std::min(player.nick.size(), sizeof(record.nickname)));
        record.value = player.value;
        const uint8_t* p = reinterpret_cast<const uint8_t*>(&record);
        body.insert(body.end(), p, p + sizeof(record));
    }
    for (const std::vector<uint8_t>& blob : blobs) {
        const uint32_t length = (uint32_t)blob.size();
        const uint8_t* p = reinterpret_cast<const uint8_t*>(&length);
        body.insert(body.end(), p, p + 4);
        body.insert(body.end(), blob.begin(), blob.end());
    }
    return body;
}

uint8_t* JoinReplyMessage(const std::vector<uint8_t>& body, uint32_t result)
{
    const std::vector<uint8_t> message =
        BuildNetMessage(0x80000200, body.data(), (uint32_t)body.size(), result);
    uint8_t* block = static_cast<uint8_t*>(malloc(message.size()));
    memcpy(block, message.data(), message.size());
    return block;
}
