// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_graphics/juce_graphics.h>

/** The look shared by every painted skin image: the palette, the typefaces
    and the few drawing habits (bevels, glows, engraved text) that make the
    pieces read as one enclosure.

    Everything is drawn in the editor's own coordinates (the 624 x 890 panel)
    on images of kScale times that resolution.
*/
class SkinStyle
{
public:
    /** Image pixels per pixel of the layout, for every image of the skin.
        4/3 is the largest size the window's resizer allows (832 wide), the
        default size on a display scaled by two, and covers a full-height zoom
        on displays up to 1200 pixels high. Larger artwork would be drawn
        smaller than it is nearly always, and every pixel of it is decoded
        before the first frame. */
    static constexpr float kScale = 4.0f / 3.0f;

    // Palette.
    static const juce::Colour enclosureTop, enclosureBottom;
    static const juce::Colour stripTop, stripBottom;
    static const juce::Colour plateTop, plateBottom;
    static const juce::Colour screenTop, screenBottom;
    static const juce::Colour legend, legendDim, engraved;
    static const juce::Colour accent, accentBright;

    /** Typefaces from the system's DejaVu files when present (so the build does
        not depend on the font configuration), else the default sans. */
    static juce::Font legendFont (float height);   // condensed bold, for captions
    static juce::Font brandFont (float height);    // wide bold, for the name
    static juce::Font plainFont (float height);
    static void releaseTypefaces();

    /** A transparent image of logical size width x height at the skin's
        resolution, each side rounded to whole pixels. With frames above 1, a
        film strip: that many such frames in one column, every frame the same
        whole number of pixels high, so frame i starts at i times its height. */
    static juce::Image createImage (int width, int height, int frames = 1);

    /** Graphics on one frame of an image from createImage (made with that
        many frames), clipped to it, that draws in the frame's logical
        coordinates. Each axis is scaled by its rounded pixel size over its
        logical size, so the drawing fills the frame exactly and every part
        lands where the layout puts it when a widget stretches the image over
        its bounds. */
    static std::unique_ptr<juce::Graphics> createGraphics (juce::Image& image, int frame = 0, int frames = 1);

    /** Logical coordinates to pixels of an image from createImage (one
        frame), as createGraphics draws them. */
    static juce::AffineTransform toPixels (const juce::Image& image);

    /** Text with a dark cut below and a light lip above, as if engraved. */
    static void drawEngravedText (juce::Graphics& g, const juce::String& text, juce::Rectangle<float> area,
                                  juce::Justification justification, juce::Colour colour, juce::Colour shadow);

    /** A soft glow: the path stroked several times, widening and fading. */
    static void drawGlow (juce::Graphics& g, const juce::Path& path, juce::Colour colour, float width, int layers);

    /** A rounded rectangle sunk into the surface: shadow along the top, light
        lip along the bottom. */
    static void drawRecess (juce::Graphics& g, juce::Rectangle<float> area, float corner,
                            juce::Colour top, juce::Colour bottom);

    /** A lighter rim along the upper half of a shape and a dark one along its
        lower half, for raised parts lit from above. */
    static void drawRaisedRim (juce::Graphics& g, const juce::Path& outline, float width);
};
