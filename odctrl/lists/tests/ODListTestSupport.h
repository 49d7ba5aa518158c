// Helpers of the list control's window tests.
#pragma once

#include "ODListTypes.h"

namespace odlisttest {

// A column showing its title, of that width.
inline odlist::ColumnInfo Column(const char* text, int width)
{
    odlist::ColumnInfo c;
    c.flags = odlist::kColumnHasText;
    c.text = text;
    c.width = width;
    return c;
}

}  // namespace odlisttest
