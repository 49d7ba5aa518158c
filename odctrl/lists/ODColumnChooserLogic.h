// ODColumnChooserLogic.h - the rules of the list's column chooser apart
// from any window: which columns the box lists, where a column dropped from
// it lands in the header, and the caption its drag image shows.
#pragma once

#include <stddef.h>

#include <functional>
#include <string>
#include <vector>

#include "ODListModel.h"

namespace odlist {

// The columns a chooser lists: every column of the model that is not shown
// and that `listed` accepts (every one without a filter), in column order.
std::vector<int> ChooserColumns(const ListModel& model, const std::function<bool(int)>& listed);

// The header position a column dropped from the chooser takes: 0 on a list
// that shows no column, wherever the drop; else the divider the header
// marked; -1 (the column stays hidden) when none is marked.
int ChooserDropPosition(int shownCount, int markedDivider);

// The drag image's caption: the text cut to fit `size` bytes with its
// terminator, never inside a double-byte character. The bytes copied
// (0 and nothing written without a buffer).
size_t CopyCaption(const std::string& text, char* buffer, size_t size);

}  // namespace odlist
