// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace Quorbel
{

/** What each effect panel contains, as constant data: one layout per effect
    block (indexed by QuorbelParamMap::BlockID) and one, index 8, for the global
    settings.

    The panel builder turns a layout into widgets every time a panel is shown,
    so changing a panel means changing a table here, not code. The layouts are
    built during static initialisation and never change afterwards. */
class FXPanelLayouts
{
public:
    /** What the builder makes of an item. */
    enum ItemKind : uint32_t
    {
        SPACER = 0,          // nothing; only advances the column
        KNOB = 1,            // knob, caption under it, editable value field
        NAMED_VALUE = 2,     // readout of a value's name with arrows and a popup list
        TITLE = 3,           // section title across the panel
        SWITCH = 4,          // two stacked choice buttons with a caption under them
        AMP_NAME = 5,        // the current amp model's name
        CAB_NAME = 6,        // the current cabinet's name
        SWITCH_NO_LABEL = 7  // two small choice buttons side by side, no caption
    };

    /** One control cell of a row. Strings are static literals; a null label
        means no caption widget at all, which is not the same as an empty one. */
    struct Item
    {
        uint32_t kind = SPACER;
        uint32_t paramId = 0;       // 0 for spacers, titles and name readouts
        const char* label = nullptr;
        double width = 1.0;         // in panel columns
        const char* nameA = nullptr; // switches: first choice
        double valueA = 0.0;
        const char* nameB = nullptr; // switches: second choice
        double valueB = 0.0;
    };

    using Row = std::vector<Item>;
    using Layout = std::vector<Row>;

    /** Number of layouts: eight effect blocks and the global settings. */
    static constexpr uint32_t numLayouts = 9;

    /** Index of the global-settings layout. */
    static constexpr uint32_t globalsIndex = 8;

    /** The rows of panel `index`, or null for an index above 8. The layout
        lives as long as the program. */
    static const Layout* getLayout (uint32_t index);

    FXPanelLayouts() = delete;
};

} // namespace Quorbel
