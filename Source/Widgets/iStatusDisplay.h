// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

/** What the main component's status routine drives to show the editor
    service's state: one or two lines of text, a busy indicator and a progress
    bar over the editor. Message thread only. */
class iStatusDisplay
{
public:
    virtual ~iStatusDisplay() = default;

    /** Text before the first newline is the first line, the rest the second. */
    virtual void setStatusText (const juce::String& text, bool isError) = 0;
    virtual void showBusy (bool busy) = 0;
    virtual void show (bool visible) = 0;

    /** 0..1 shows the bar at that fill; a negative value (or NaN) hides it. */
    virtual void setProgress (double progress) = 0;
};
