// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Shows a popup menu modally and returns the chosen item's id (0 when it was
    dismissed). The editor's menus go through it so that tests can choose an
    item without a modal loop. */
class IPopupMenuRunner
{
public:
    virtual ~IPopupMenuRunner() = default;

    virtual int show (const juce::PopupMenu& menu) = 0;
};
