// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FXPanelLayouts.h"

#include <juce_graphics/juce_graphics.h>

namespace Quorbel
{

/** Where the widgets of an effect panel go: a grid of 141-pixel columns, with
    every cell's widgets at fixed offsets from its column's x and its row's top.

    Kept apart from the builder so the geometry, panel heights included, can be
    checked without creating a single widget. All rectangles are in the
    coordinates of the panel content component. */
class PanelGrid
{
public:
    static constexpr int columnPitch = 141;
    static constexpr int panelWidth = 551;

    /** x of a column: column x 141, truncated toward zero (2.5 gives 352, -0.5
        gives -70). */
    static int columnX (double column);

    /** x a named-value cell is laid out from: one column to the left of the
        item's own, so its readout begins 5 pixels left of the item's column. */
    static int namedValueX (double column);

    /** The bottom of a row of top `rowTop` after an item of `kind`; kinds that
        make nothing (spacers, unknown kinds) leave the row as it is. */
    static int itemBottom (uint32_t kind, int rowTop);

    /** The final height of a built panel: each non-empty row starts at the
        previous row's bottom. */
    static int layoutHeight (const FXPanelLayouts::Layout& layout);

    // Knob cell (kind 1).
    static juce::Rectangle<int> knobCaption (int x, int rowTop) { return { x - 11, rowTop + 138, 148, 52 }; }
    static juce::Rectangle<int> knob (int x, int rowTop) { return { x - 6, rowTop, 146, 156 }; }
    static juce::Rectangle<int> knobValue (int x, int rowTop) { return { x + 9, rowTop + 111, 108, 32 }; }

    // Title (kind 3), across the whole panel whatever the column.
    static juce::Rectangle<int> title (int rowTop) { return { 0, rowTop, panelWidth, 48 }; }

    // Two stacked choices with a caption under them (kind 4); the caption is
    // where a knob's is.
    static juce::Rectangle<int> switchCaption (int x, int rowTop) { return knobCaption (x, rowTop); }
    static juce::Rectangle<int> upperChoice (int x, int rowTop) { return { x - 8, rowTop + 29, 142, 38 }; }
    static juce::Rectangle<int> lowerChoice (int x, int rowTop) { return { x - 8, rowTop + 71, 142, 38 }; }

    // Two small choices side by side (kind 7).
    static juce::Rectangle<int> leftChoice (int x, int rowTop) { return { x - 1, rowTop - 2, 64, 52 }; }
    static juce::Rectangle<int> rightChoice (int x, int rowTop) { return { x + 63, rowTop - 2, 64, 52 }; }

    // Readout cell (kinds 2, 5 and 6), from the cell's x.
    static juce::Rectangle<int> readout (int x, int y) { return { x + 136, y, 274, 52 }; }
    static juce::Rectangle<int> readoutCaption (int x, int y) { return { x + 6, y, 126, 52 }; }
    static juce::Rectangle<int> leftArrow (int x, int y) { return { x + 358, y + 13, 20, 26 }; }
    static juce::Rectangle<int> rightArrow (int x, int y) { return { x + 381, y + 13, 20, 26 }; }
    static int readoutBottom (int y) { return y + 61; }

    PanelGrid() = delete;
};

} // namespace Quorbel
