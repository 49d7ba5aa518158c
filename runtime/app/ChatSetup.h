// Setting up the chat control of the game window from the launch record:
// two record values become properties of the control, then it gets the
// columns of its player list and the local player's own row.
#pragma once

#include <windows.h>

#include <cstdint>

#include "AppStrings.h"
#include "LaunchInfo.h"
#include "TableJoin.h"

constexpr size_t kChatRecordSize = 1024;
constexpr int kChatMaxColumns = 5;

// The column definition (titles) and the own row (values): each a header
// {u32 total length, u32 column count, u32 size of each column} followed by
// one field per column, zero-filled to 1024 bytes.
struct ChatRecords {
    uint8_t definition[kChatRecordSize];
    uint8_t row[kChatRecordSize];
    uint32_t length;
    uint32_t columnCount;
};

// The columns: user name and nickname always (20 bytes each); the launch
// record's text at 466 (16) when pszTitle1 is given; its number at 484 as
// decimal text (16) when pszTitle2 is given; the watched player (20) when
// pszWatchTarget is given. A text longer than its field is cut.
void BuildChatRecords(const GameLaunchInfo& info, LPCSTR pszTitle1, LPCSTR pszTitle2, LPCSTR pszWatchTarget,
                      ChatRecords* pRecords);

// The set-up on the chat control (the kit's CQVChatEx, or any class with the
// same calls): method 57 (TRUE), properties 18 and 19, method 35, then the
// definition through method 49 and the own row through method 47. Title ids
// of 0 leave their columns out; the further arguments of some callers are
// not used. Results are not looked at.
template <class ChatControl>
void ApplyLaunchInfoToChat(ChatControl* pChat, UINT nTitle1, UINT nTitle2, LPCSTR pszWatchTarget, int = 0,
                           BOOL = FALSE)
{
    if (pChat == nullptr)
        return;
    const GameLaunchInfo& info = theLaunchInfo;
    pChat->CallDispid57(TRUE);
    pChat->SetStringProperty18(info.chatText);
    pChat->SetShortProperty19(info.chatValue);
    pChat->CallDispid35();

    const CString title1 = nTitle1 != 0 ? LoadAppString(nTitle1) : CString();
    const CString title2 = nTitle2 != 0 ? LoadAppString(nTitle2) : CString();
    ChatRecords records;
    BuildChatRecords(info, nTitle1 != 0 ? (LPCSTR)title1 : nullptr, nTitle2 != 0 ? (LPCSTR)title2 : nullptr,
                     pszWatchTarget, &records);
    pChat->CallDispid49(static_cast<const void*>(records.definition), records.length);
    pChat->CallDispid47(static_cast<const void*>(records.row), records.length, info.text86, "", "",
                        (int32_t)GetJoinSecondValue(), 0);
}
