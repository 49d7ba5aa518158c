// ODListEmulation.cpp - list-view message answers over the model.
#include "ODListEmulation.h"

#include <string.h>

#include <string>

namespace odlist {

intptr_t AnswerFindItem(ListModel& model, intptr_t start, const LvFindInfoA* info)
{
    // The model finds nothing in virtual mode (its answer there, 0, is no row).
    if (!info || model.IsVirtual() || start < -1 || start > model.GetItemCount())
        return kLvNotFound;
    ODFindInfo find = {};
    if (info->flags & (kLvfiString | kLvfiPartial)) {
        if (!info->psz)
            return kLvNotFound;
        find.flags |= kFindText;
        find.text = info->psz;
        if (info->flags & kLvfiPartial)
            find.flags |= kFindPrefix;
    }
    if (info->flags & kLvfiParam) {
        // The rows keep 32 bits of data: a wider value is in no row.
        if (info->lParam != intptr_t(uint32_t(info->lParam)) && info->lParam != intptr_t(int32_t(info->lParam)))
            return kLvNotFound;
        find.flags |= kFindData;
        find.data = uint32_t(info->lParam);
    }
    if (info->flags & kLvfiWrap)
        find.flags |= kFindWrap;
    // -2 is the place before the first row.
    const int found = model.FindItem(&find, 0, start == -1 ? -2 : int(start));
    return found < 0 ? kLvNotFound : found;
}

intptr_t AnswerGetItemText(ListModel& model, intptr_t item, LvItemA* info)
{
    if (!info || !info->pszText || item < 0 || item > INT32_MAX || info->iSubItem < 0 || info->cchTextMax < 1)
        return 0;
    const std::string text = model.GetItemText(int(item), info->iSubItem);
    const size_t n = CutAtCharacter(text.c_str(), text.size(), size_t(info->cchTextMax) - 1);
    memcpy(info->pszText, text.data(), n);
    info->pszText[n] = '\0';
    return intptr_t(n);
}

intptr_t AnswerSetItemText(ListModel& model, intptr_t item, const LvItemA* info)
{
    if (!info || !info->pszText || item < 0 || item > INT32_MAX || info->iSubItem < 0)
        return 0;
    return model.SetItemText(int(item), info->iSubItem, info->pszText);
}

}  // namespace odlist
