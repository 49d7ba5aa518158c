// ODListHeaderCtrl.h - CODListHeaderCtrl, the header a CODListCtrl keeps
// above its rows. It is the library's header (and says so: its run-time
// class is CODHeaderCtrl's) with two additions: a right click is first
// offered to the list's parent (-2066 with the header item under the
// pointer; a non-zero answer takes it over, else the header's own handling
// follows), and a column's width limits can be set by index.
#pragma once

#include "ODHeaderCtrl.h"

class CODListHeaderCtrl : public CODHeaderCtrl
{
public:
    // Width limits of column n (its extras record); n × 24 (the record's
    // offset in the extras), -1 for a column the header does not have.
    int SetExtraValues(int n, int minWidth, int maxWidth);

protected:
    afx_msg void OnRButtonDown(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()
};
