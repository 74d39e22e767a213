#include "mapview/LabelSpace.h"

namespace mapview {

namespace {

long long CellKey(int column, int row)
{
    return (static_cast<long long>(column) << 32) ^ static_cast<unsigned int>(row);
}

int CellOf(int pixel, int cell)
{
    return pixel >= 0 ? pixel / cell : -((-pixel + cell - 1) / cell);
}

} // namespace

bool LabelSpace::Claim(const QRect& label)
{
    if (label.isEmpty())
        return true;
    const int left = CellOf(label.left(), kCell), right = CellOf(label.right(), kCell);
    const int top = CellOf(label.top(), kCell), bottom = CellOf(label.bottom(), kCell);
    for (int row = top; row <= bottom; ++row)
        for (int column = left; column <= right; ++column) {
            const auto it = m_cells.find(CellKey(column, row));
            if (it == m_cells.end())
                continue;
            for (int kept : it->second)
                if (m_labels[static_cast<std::size_t>(kept)].intersects(label))
                    return false;
        }
    const int index = static_cast<int>(m_labels.size());
    m_labels.push_back(label);
    for (int row = top; row <= bottom; ++row)
        for (int column = left; column <= right; ++column)
            m_cells[CellKey(column, row)].push_back(index);
    return true;
}

void LabelSpace::Clear()
{
    m_labels.clear();
    m_cells.clear();
}

} // namespace mapview
