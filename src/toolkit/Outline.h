// TOutline: a tree of up to three levels shown as an owner-drawn list of its visible rows.
// Lines give the tree: no leading space for level 1, one for level 2, two for level 3.
#pragma once

#include "toolkit/StdCtrls.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace slumra::tk {

struct TOutlineNode {
    int Level = 1;          // 1..3
    std::string_view Text;  // without the leading spaces; kept by the outline or its source
    int Parent = 0;         // item number of the parent, 0 at level 1
    bool HasItems = false;  // has children
    bool Expanded = false;
};

class TOutline : public TListBox {
public:
    explicit TOutline(TWinControl* parent);

    // Replaces the tree; every item starts collapsed.
    void SetLines(std::vector<std::string> lines);
    // The same with lines kept elsewhere: `line(i)` for i below `count`, read once here. The
    // texts must stay where they are until the lines are set again.
    void SetLines(std::size_t count, const std::function<std::string_view(std::size_t)>& line);
    int ItemCount() const { return static_cast<int>(FNodes.size()); }
    // Item n (1-based, tree order).
    const TOutlineNode& Item(int n) const { return FNodes[static_cast<std::size_t>(n - 1)]; }
    // The item shown in a row, and the row of a visible item (-1 when hidden).
    int ItemOfRow(int row) const;
    int RowOfItem(int n) const;

    // 0 for none.
    int SelectedItem() const { return ItemOfRow(ItemIndex()); }
    // Selects item n, expanding its parents so that it shows.
    void SetSelectedItem(int n);
    // The item at a client point, 0 for none.
    int GetItem(int x, int y) const { return ItemOfRow(ItemAtPos(x, y)); }

    void Expand(int n);
    void Collapse(int n);
    void Toggle(int n);
    void FullExpand();

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Build(std::size_t count, const std::function<std::string_view(std::size_t)>& line);
    void Rebuild(int keepItem);
    std::vector<std::string> FOwnLines;  // the lines when the outline keeps them itself
    std::vector<TOutlineNode> FNodes;
    std::vector<int> FRows;  // item numbers of the visible rows
};

}  // namespace slumra::tk
