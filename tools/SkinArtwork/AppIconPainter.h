// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_graphics/juce_graphics.h>

/** The editor's application icon for the desktop's menus and task bars: the
    large amp knob, turned past twelve o'clock with its arc lit, on a rounded
    tile of the enclosure's finish.

    Painted at the pixel size asked for rather than at the skin's resolution,
    since the desktop picks an icon file by its exact size.
*/
class AppIconPainter
{
public:
    /** A square icon of size x size pixels. */
    static juce::Image paint (int size);
};
