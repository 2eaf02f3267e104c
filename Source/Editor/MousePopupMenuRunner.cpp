// SPDX-License-Identifier: GPL-3.0-or-later
#include "MousePopupMenuRunner.h"

int MousePopupMenuRunner::show (const juce::PopupMenu& menu)
{
    juce::PopupMenu shown (menu);
    return shown.show();
}
