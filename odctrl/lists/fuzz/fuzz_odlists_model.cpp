// Drives the list's data model with operation sequences read from the input
// (insert, delete, sort, select, focus, expand, tree edits, columns, virtual
// mode, find, export, stored column state) and checks its invariants after
// every step.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "ODListGeometry.h"
#include "ODListModel.h"

namespace {

using namespace odlist;

class Reader
{
public:
    Reader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool More() const { return m_at < m_size; }
    uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    int Small(int range) { return range > 0 ? Byte() % range : 0; }
    std::string Text()
    {
        const int n = Small(12);
        std::string s;
        for (int i = 0; i < n; ++i)
            s += char(Byte() % 5 == 0 ? '|' : 'a' + Byte() % 4);
        return s;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

class FuzzHost : public ListHost
{
public:
    bool vetoes = false;
    intptr_t Notify(Notification& n) override
    {
        if (n.code == kNotifySelChanging)
            return vetoes && n.item % 3 == 1;
        if (n.code == kNotifyVirtualFill && n.descriptor) {
            ODLVITEM& d = *n.descriptor;
            if ((d.mask & kMaskText) && d.text && d.textMax > 0)
                snprintf(d.text, size_t(d.textMax), "v%d", d.item % 17);
            d.mask |= kMaskImage | kMaskState;
            d.image = d.item % 5;
            d.state = uint32_t(d.item) * 7u;
        }
        return 0;
    }
};

void Check(ListModel& model, int op)
{
    const std::string problem = model.CheckInvariants();
    if (!problem.empty()) {
        fprintf(stderr, "after operation %d: %s\n", op, problem.c_str());
        abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Reader in(data, size);
    FuzzHost host;
    ListModel model;
    model.SetHost(&host);
    ListGeometry geometry(model);
    static const uint32_t kStyles[] = {0, kStyleTree, kStyleTreeLook, kStyleSingleSel, kStyleTree | kStyleSingleSel};
    model.SetStyleWord(kStyles[in.Small(5)]);
    const uint32_t baseStyle = model.GetStyleWord();
    std::vector<NodeHandle> nodes = {kTreeRoot};
    for (int i = 0; i < 3; ++i) {
        ColumnInfo c;
        c.width = 40 + 10 * i;
        model.InsertColumn(i, c);
        model.ShowColumn(i, i);
    }
    int steps = 0;
    while (in.More() && steps++ < 400) {
        const int op = in.Small(23);
        const int count = model.GetItemCount();
        const int rows = model.GetDisplayCount();
        switch (op) {
        case 0: {
            const std::string text = in.Text();
            model.InsertItemEx(in.Small(count + 6), text.c_str(), in.Small(4) - 1, in.Small(4) - 1);
            break;
        }
        case 1: model.DeleteItem(in.Small(count + 2) - 1); break;
        case 2:
            if (in.Small(8) == 0)
                model.DeleteAllItems();
            break;
        case 3: {
            const std::string text = in.Text();
            model.SetItemText(in.Small(count + 2) - 1, in.Small(4), text.c_str());
            break;
        }
        case 4: model.SortItems(in.Small(4), in.Small(2)); break;
        case 5: {
            const uint8_t flags = in.Byte();
            host.vetoes = flags & 16;
            model.SelectRange(in.Small(rows + 3) - 2, in.Small(rows + 3) - 2, flags & 1, flags & 2, flags & 4,
                              flags & 8);
            break;
        }
        case 6: model.SetFocusCell(in.Small(rows + 4) - 3, in.Small(5) - 2); break;
        case 7: model.InvertSelection(); break;
        case 8: {
            const std::string text = in.Text();
            ODLVITEM d = {};
            d.mask = kMaskText;
            d.text = const_cast<char*>(text.c_str());
            static const NodeHandle kAfter[] = {kInsertFirst, kInsertLast, kInsertSorted};
            const NodeHandle parent = nodes[size_t(in.Small(int(nodes.size())))];
            const int how = in.Small(4);
            const NodeHandle after = how < 3 ? kAfter[how] : nodes[size_t(in.Small(int(nodes.size())))];
            const NodeHandle node = model.InsertTreeItem(&d, parent, after, in.Small(3) - 1);
            if (node)
                nodes.push_back(node);
            break;
        }
        case 9: model.DeleteTreeItem(nodes[size_t(in.Small(int(nodes.size())))]); break;
        case 10: model.Expand(nodes[size_t(in.Small(int(nodes.size())))], in.Small(4)); break;
        case 11:
            if (model.IsVirtual()) {
                if (in.Small(3) == 0)
                    model.SetStyleWord(baseStyle);
                else
                    model.SetItemCount(in.Small(300));
            } else {
                model.SetStyleWord(baseStyle | kStyleVirtual);
                model.SetItemCount(in.Small(300));
            }
            break;
        case 12: {
            const int column = in.Small(model.GetColumnCount() + 2);
            switch (in.Small(4)) {
            case 0: {
                ColumnInfo c;
                c.width = in.Small(300) - 20;
                c.minWidth = in.Small(30);
                c.maxWidth = in.Small(200) - 50;
                c.flags = in.Small(2) ? kColumnNoFocus : 0;
                if (model.GetColumnCount() < 12)
                    model.InsertColumn(column, c);
                break;
            }
            case 1: model.DeleteColumn(column); break;
            case 2: model.ShowColumn(column, in.Small(6) - 1); break;
            default: model.HideColumn(column); break;
            }
            break;
        }
        case 13:
            if (in.Small(2))
                model.SetColumnWidth(in.Small(model.GetColumnCount() + 1), in.Small(400) - 50);
            else
                model.SetLeftMargin(in.Small(40) - 5);
            break;
        case 14: {
            const std::string text = in.Text();
            ODFindInfo info = {uint32_t(in.Byte()) | (uint32_t(in.Small(4)) << 8), text.c_str(), in.Small(5),
                               in.Small(3), uint32_t(in.Small(3))};
            const int found = model.FindItem(&info, in.Small(4), in.Small(count + 8) - 4);
            if (found != kNoRow && found != 0 && (found < 0 || found >= count))
                abort();
            break;
        }
        case 15: model.SetItemState(in.Small(rows + 3) - 2, in.Byte(), in.Byte()); break;
        case 16:
            if (in.Small(2))
                model.MoveItemUp(in.Small(rows + 2) - 1);
            else
                model.MoveItemDown(in.Small(rows + 2) - 1);
            break;
        case 17: {
            std::string text = model.SaveColumnState();
            if (in.Small(2)) {
                const int at = text.empty() ? 0 : in.Small(int(text.size()));
                if (!text.empty())
                    text[size_t(at)] = char(in.Byte());
            }
            model.LoadColumnState(text.c_str());
            break;
        }
        case 18: model.SetOption(8, in.Small(2) ? '|' : ';'); break;
        case 19: {
            std::string text;
            model.GetRowText(text, in.Small(count + 2) - 1, '\t');
            (void)model.GetSelectionText();
            break;
        }
        case 20: {
            ODLVITEM d = {};
            char buffer[8] = "cell";  // a text to write, a buffer to read into
            d.mask = in.Byte() | (uint32_t(in.Small(4)) << 8);
            d.item = in.Small(count + 3) - 2;
            d.subItem = in.Small(5) - 1;
            d.text = buffer;
            d.textMax = in.Small(9);
            d.state = in.Byte();
            d.value1 = in.Small(5) - 1;
            if (in.Small(2))
                model.GetItem(&d);
            else
                model.SetItem(&d);
            break;
        }
        case 22: {
            geometry.SetRowHeight(in.Small(30) - 5);
            if (in.Small(2))
                geometry.SetStateImageSize(in.Small(20), in.Small(20));
            geometry.Layout(in.Small(300), in.Small(300), in.Small(40) - 5);
            geometry.SetTopIndex(in.Small(rows + 4) - 2);
            geometry.SetHorzPos(in.Small(500) - 50);
            ODHitTestInfo hit = {};
            hit.x = in.Small(320) - 10;
            hit.y = in.Small(320) - 10;
            const int item = geometry.HitTest(&hit);
            if (item < -2 || item >= count || (item >= 0 && geometry.GetRowHeight() < 1))
                abort();
            geometry.EnsureVisible(in.Small(count + 2) - 1, false);
            odscroll::Rect r;
            geometry.GetCellRect(in.Small(count + 2) - 1, in.Small(4), &r, in.Small(6) - 1);
            const int top = geometry.GetTopIndex();
            if (top < 0 || (rows > 0 && top >= rows))
                abort();
            break;
        }
        default: model.ExpandAll(nodes[size_t(in.Small(int(nodes.size())))], in.Small(3), in.Small(4) - 1); break;
        }
        Check(model, op);
    }
    model.SetOption(8, '|');
    return 0;
}
