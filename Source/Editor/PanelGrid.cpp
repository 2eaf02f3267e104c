// SPDX-License-Identifier: GPL-3.0-or-later
#include "PanelGrid.h"

#include "TruncateToInt.h"

#include <algorithm>

namespace Quorbel
{

int PanelGrid::columnX (double column)
{
    return Tessarine::truncateToInt (column * columnPitch);
}

int PanelGrid::namedValueX (double column)
{
    return Tessarine::truncateToInt ((column - 1.0) * columnPitch);
}

int PanelGrid::itemBottom (uint32_t kind, int rowTop)
{
    switch (kind)
    {
        case FXPanelLayouts::KNOB:
        case FXPanelLayouts::SWITCH:
            return rowTop + 176;

        case FXPanelLayouts::NAMED_VALUE:
        case FXPanelLayouts::AMP_NAME:
        case FXPanelLayouts::CAB_NAME:
        case FXPanelLayouts::SWITCH_NO_LABEL:
            return readoutBottom (rowTop);

        case FXPanelLayouts::TITLE:
            return rowTop + 59;

        default:
            return rowTop;
    }
}

int PanelGrid::layoutHeight (const FXPanelLayouts::Layout& layout)
{
    int y = 0;

    for (const auto& row : layout)
    {
        if (row.empty())
            continue;

        int rowBottom = y;

        for (const auto& item : row)
            rowBottom = std::max (rowBottom, itemBottom (item.kind, y));

        y = rowBottom;
    }

    return y;
}

} // namespace Quorbel
