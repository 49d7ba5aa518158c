#include "ChatSetup.h"

#include <stdio.h>
#include <string.h>

#include "StringFunctions.h"

namespace {

struct Column {
    uint32_t size;
    CString title;
    CString value;
};

void PutU32(uint8_t* p, uint32_t value) { memcpy(p, &value, sizeof(value)); }

// Writes the header and the fields of one record; the total length.
uint32_t WriteRecord(uint8_t* record, const Column* columns, int count, bool titles)
{
    memset(record, 0, kChatRecordSize);
    PutU32(record + 4, (uint32_t)count);
    uint32_t offset = 8 + 4 * (uint32_t)count;
    for (int i = 0; i < count; i++) {
        PutU32(record + 8 + 4 * i, columns[i].size);
        const CString& text = titles ? columns[i].title : columns[i].value;
        const size_t n = CharBoundaryAtOrBefore(text, columns[i].size - 1);
        memcpy(record + offset, (LPCSTR)text, n);
        offset += columns[i].size;
    }
    PutU32(record, offset);
    return offset;
}

}  // namespace

void BuildChatRecords(const GameLaunchInfo& info, LPCSTR pszTitle1, LPCSTR pszTitle2, LPCSTR pszWatchTarget,
                      ChatRecords* pRecords)
{
    Column columns[kChatMaxColumns];
    int count = 0;
    columns[count++] = {20, LoadAppString(IDS_APP_COLUMN_USER), info.userName};
    columns[count++] = {20, LoadAppString(IDS_APP_COLUMN_NICKNAME), info.nickname};
    if (pszTitle1 != nullptr)
        columns[count++] = {16, pszTitle1, info.text466};
    if (pszTitle2 != nullptr) {
        char szNumber[16];
        snprintf(szNumber, sizeof(szNumber), "%d", (int)info.value484);
        columns[count++] = {16, pszTitle2, szNumber};
    }
    if (pszWatchTarget != nullptr && *pszWatchTarget != '\0')
        columns[count++] = {20, LoadAppString(IDS_APP_COLUMN_WATCHED), pszWatchTarget};
    pRecords->columnCount = (uint32_t)count;
    pRecords->length = WriteRecord(pRecords->definition, columns, count, true);
    WriteRecord(pRecords->row, columns, count, false);
}
