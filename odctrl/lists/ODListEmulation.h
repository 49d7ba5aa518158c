// ODListEmulation.h - the list's answers to the three list-view messages
// that other code sends it as if it were the platform's list view: find an
// item (LVM_FINDITEMA), read a cell's text into the caller's buffer
// (LVM_GETITEMTEXTA) and write one (LVM_SETITEMTEXTA).
//
// The records mirror the platform's LVFINDINFOA and the leading fields of
// LVITEMA (the only ones read or written here, so callers built with a longer
// LVITEMA are served too); the window's file checks the layouts against the
// platform header. Every answer is computed from the model alone.
#pragma once

#include <stdint.h>

#include "ODListModel.h"

namespace odlist {

// LVFINDINFOA.
struct LvFindInfoA
{
    uint32_t flags;
    const char* psz;
    intptr_t lParam;
    int32_t ptX, ptY;
    uint32_t vkDirection;
};

// The leading fields of LVITEMA.
struct LvItemA
{
    uint32_t mask;
    int32_t iItem;
    int32_t iSubItem;
    uint32_t state;
    uint32_t stateMask;
    char* pszText;
    int32_t cchTextMax;
};

// The platform's find flags.
enum LvFindFlag : uint32_t {
    kLvfiParam = 0x1,
    kLvfiString = 0x2,
    kLvfiPartial = 0x8,
    kLvfiWrap = 0x20,
};

// The platform's answer for "not found".
const intptr_t kLvNotFound = -1;

// The first row after `start` (-1: from row 0) whose column-0 cell matches:
// text equal to psz (kLvfiString) or beginning with it (kLvfiPartial, which
// implies the text test), data equal to lParam (kLvfiParam), going on at row
// 0 after the last row with kLvfiWrap. -1 for no record, no match, a text
// search without text, a virtual list, or an lParam wider than the rows' 32-bit data.
intptr_t AnswerFindItem(ListModel& model, intptr_t start, const LvFindInfoA* info);
// Copies the cell (item, iSubItem) into pszText, at most cchTextMax - 1 bytes
// (never half a double-byte character) and a terminator; the bytes copied.
// 0 without record or buffer, for a negative item or sub-item, or a
// buffer size below 1; the buffer is then left as it was.
intptr_t AnswerGetItemText(ListModel& model, intptr_t item, LvItemA* info);
// SetItemText (item, iSubItem, pszText); 0 without record or text, or for a
// negative item or sub-item.
intptr_t AnswerSetItemText(ListModel& model, intptr_t item, const LvItemA* info);

}  // namespace odlist
