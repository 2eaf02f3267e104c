// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppIconPainter.h"

#include "KnobFilmPainter.h"
#include "SkinStyle.h"

namespace
{
// Drawn on a 256-unit square, scaled to the pixel size.
constexpr float kCanvas = 256.0f;
constexpr float kCorner = 50.0f;

// The knob's outermost scale mark lies 64 units from its centre.
constexpr float kKnobScale = 1.55f;

// Shown as frame 18 of a 26-frame film: about two o'clock, most of the arc lit.
constexpr int kKnobFrame = 18;
constexpr int kKnobFrames = 26;

const juce::Rectangle<float> kTile { 14.0f, 12.0f, 228.0f, 228.0f };

void paintTile (juce::Graphics& g)
{
    // A soft shadow under the tile, so it stands off light and dark panels alike.
    for (int i = 4; i >= 1; --i)
    {
        g.setColour (juce::Colours::black.withAlpha (0.09f));
        g.fillRoundedRectangle (kTile.expanded ((float) i * 1.2f).translated (0.0f, 2.0f + (float) i), kCorner + (float) i);
    }

    g.setGradientFill (juce::ColourGradient (SkinStyle::plateTop.brighter (0.15f), 0.0f, kTile.getY(),
                                             SkinStyle::enclosureBottom, 0.0f, kTile.getBottom(), false));
    g.fillRoundedRectangle (kTile, kCorner);

    juce::Path outline;
    outline.addRoundedRectangle (kTile.reduced (1.0f), kCorner - 1.0f);
    SkinStyle::drawRaisedRim (g, outline, 2.5f);
}
} // namespace

juce::Image AppIconPainter::paint (int size)
{
    juce::Image icon (juce::Image::ARGB, size, size, true, juce::SoftwareImageType());
    juce::Graphics g (icon);
    g.addTransform (juce::AffineTransform::scale ((float) size / kCanvas));

    paintTile (g);

    // The knob is drawn around the origin, so the scale leaves its centre on
    // the tile's.
    g.addTransform (juce::AffineTransform::scale (kKnobScale).translated (kTile.getCentre()));
    KnobFilmPainter::paintLargeDial (g, {}, KnobFilmPainter::angleForFrame (kKnobFrame, kKnobFrames),
                                     (float) kKnobFrame / (float) (kKnobFrames - 1));
    return icon;
}
