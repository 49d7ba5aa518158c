// ODColumnChooserLogic.cpp - the column chooser's rules.
#include "ODColumnChooserLogic.h"

#include <string.h>

#include "ODThemeValues.h"

namespace odlist {

std::vector<int> ChooserColumns(const ListModel& model, const std::function<bool(int)>& listed)
{
    std::vector<int> columns;
    for (int column = 0; column < model.GetColumnCount(); ++column)
        if (!model.IsColumnShown(column) && (!listed || listed(column)))
            columns.push_back(column);
    return columns;
}

int ChooserDropPosition(int shownCount, int markedDivider)
{
    if (shownCount <= 0)
        return 0;
    return markedDivider >= 0 ? markedDivider : -1;
}

size_t CopyCaption(const std::string& text, char* buffer, size_t size)
{
    if (!buffer || size == 0)
        return 0;
    // Whole characters while they fit before the terminator; the text ends
    // at its first zero byte as the header reads it.
    const size_t length = strnlen(text.c_str(), text.size());
    size_t n = 0;
    while (n < length) {
        const size_t step =
            odtheme::IsLeadByte936(static_cast<unsigned char>(text[n])) && n + 1 < length ? 2 : 1;
        if (n + step > size - 1)
            break;
        n += step;
    }
    memcpy(buffer, text.data(), n);
    buffer[n] = 0;
    return n;
}

}  // namespace odlist
