// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_graphics/juce_graphics.h>

/** The look shared by every painted skin image: the palette, the typefaces
    and the few drawing habits (bevels, glows, engraved text) that make the
    pieces read as one enclosure.

    Everything is drawn in the editor's own coordinates (the 624 x 890 panel)
    on images of twice that resolution.
*/
class SkinStyle
{
public:
    static constexpr float kScale = 2.0f;

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

    /** An image of logical size w x h at the skin's resolution, transparent. */
    static juce::Image createImage (int width, int height);

    /** Graphics on an image from createImage, scaled so drawing uses logical
        coordinates. */
    static std::unique_ptr<juce::Graphics> createGraphics (juce::Image& image);

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
