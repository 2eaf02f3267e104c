// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IPopupMenuRunner.h"

/** The editor's menus: shown modally at the mouse position, with no target
    component and no callback. */
class MousePopupMenuRunner : public IPopupMenuRunner
{
public:
    int show (const juce::PopupMenu& menu) override;
};
