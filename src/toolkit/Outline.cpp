#include "toolkit/Outline.h"

#include <algorithm>

namespace slumra::tk {

TOutline::TOutline(TWinControl* parent) : TListBox(parent) {}

void TOutline::SetLines(std::vector<std::string> lines) {
    FOwnLines = std::move(lines);
    Build(FOwnLines.size(), [this](std::size_t i) { return std::string_view(FOwnLines[i]); });
}

void TOutline::SetLines(std::size_t count, const std::function<std::string_view(std::size_t)>& line) {
    Build(count, line);
    FOwnLines.clear();
}

void TOutline::Build(std::size_t count, const std::function<std::string_view(std::size_t)>& line) {
    FNodes.clear();
    FNodes.reserve(count);
    int last[4] = {0, 0, 0, 0};  // the latest item of each level
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view text = line(i);
        std::size_t spaces = 0;
        while (spaces < text.size() && spaces < 2 && text[spaces] == ' ') ++spaces;
        TOutlineNode node;
        node.Text = text.substr(spaces);
        // A level can only go one deeper than the item before it.
        const int previous = FNodes.empty() ? 0 : FNodes.back().Level;
        node.Level = std::min(static_cast<int>(spaces) + 1, previous + 1);
        node.Parent = node.Level > 1 ? last[node.Level - 1] : 0;
        const int level = node.Level, parent = node.Parent;
        FNodes.push_back(node);
        const int n = static_cast<int>(FNodes.size());
        last[level] = n;
        for (int l = level + 1; l <= 3; ++l) last[l] = 0;
        if (parent > 0) FNodes[static_cast<std::size_t>(parent - 1)].HasItems = true;
    }
    Rebuild(0);
}

void TOutline::Rebuild(int keepItem) {
    FRows.clear();
    for (int n = 1; n <= ItemCount(); ++n) {
        bool shown = true;
        for (int p = Item(n).Parent; p != 0; p = Item(p).Parent) {
            if (!Item(p).Expanded) {
                shown = false;
                break;
            }
        }
        if (shown) FRows.push_back(n);
    }
    const int top = TopIndex();
    // The rows show the items' own texts: nothing is copied, however long the outline.
    SetItemSource(static_cast<int>(FRows.size()),
                  [this](int row) { return Item(FRows[static_cast<std::size_t>(row)]).Text; });
    SetTopIndex(top);
    SetItemIndex(RowOfItem(keepItem));
    Invalidate();
}

int TOutline::ItemOfRow(int row) const {
    return row >= 0 && row < static_cast<int>(FRows.size()) ? FRows[static_cast<std::size_t>(row)] : 0;
}

int TOutline::RowOfItem(int n) const {
    const auto it = std::lower_bound(FRows.begin(), FRows.end(), n);
    return it != FRows.end() && *it == n ? static_cast<int>(it - FRows.begin()) : -1;
}

void TOutline::SetSelectedItem(int n) {
    if (n < 1 || n > ItemCount()) return;
    bool changed = false;
    for (int p = Item(n).Parent; p != 0; p = Item(p).Parent) {
        if (!Item(p).Expanded) FNodes[static_cast<std::size_t>(p - 1)].Expanded = changed = true;
    }
    if (changed)
        Rebuild(n);
    else
        SetItemIndex(RowOfItem(n));
}

void TOutline::Expand(int n) {
    if (n < 1 || n > ItemCount() || !Item(n).HasItems || Item(n).Expanded) return;
    FNodes[static_cast<std::size_t>(n - 1)].Expanded = true;
    Rebuild(SelectedItem());
}

void TOutline::Collapse(int n) {
    if (n < 1 || n > ItemCount() || !Item(n).Expanded) return;
    FNodes[static_cast<std::size_t>(n - 1)].Expanded = false;
    // A selection inside the collapsed branch moves up to the branch itself.
    int keep = SelectedItem();
    for (int p = keep; p != 0; p = Item(p).Parent) {
        if (p == n) {
            keep = n;
            break;
        }
    }
    Rebuild(keep);
}

void TOutline::Toggle(int n) {
    if (n < 1 || n > ItemCount()) return;
    if (Item(n).Expanded)
        Collapse(n);
    else
        Expand(n);
}

void TOutline::FullExpand() {
    for (TOutlineNode& node : FNodes) node.Expanded = node.HasItems;
    Rebuild(SelectedItem());
}

LRESULT TOutline::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CHAR && (wp == '+' || wp == '-')) {
        if (wp == '+')
            Expand(SelectedItem());
        else
            Collapse(SelectedItem());
        if (OnSelect) OnSelect(this);
        return 0;
    }
    if (msg == WM_LBUTTONDBLCLK) {
        const LRESULT r = TListBox::WndProc(msg, wp, lp);
        Toggle(SelectedItem());
        return r;
    }
    return TListBox::WndProc(msg, wp, lp);
}

}  // namespace slumra::tk
