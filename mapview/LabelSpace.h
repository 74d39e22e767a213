// The room labels take on a zoomed view: each label claims its rectangle
// before it is drawn, and one that would cover a label drawn before it is
// left out. The layers draw in their fixed order (zones first, then the
// other layers, then route numbers), so zone names keep their place first.
// At 100 % on a 1x screen no space is kept and every label is drawn.
#pragma once

#include <QRect>

#include <unordered_map>
#include <vector>

namespace mapview {

class LabelSpace {
public:
    // True (and the rectangle kept) when `label` overlaps no label kept
    // before; false when it must be left out. An empty rectangle is always
    // drawn and keeps nothing.
    bool Claim(const QRect& label);
    int Kept() const { return static_cast<int>(m_labels.size()); }
    void Clear();

private:
    static constexpr int kCell = 64; // pixels per side of a grid cell
    std::vector<QRect> m_labels;
    // The labels touching each grid cell (key: cell column and row).
    std::unordered_map<long long, std::vector<int>> m_cells;
};

} // namespace mapview
