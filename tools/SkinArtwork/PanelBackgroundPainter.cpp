// SPDX-License-Identifier: GPL-3.0-or-later
#include "PanelBackgroundPainter.h"

#include "KnobFilmPainter.h"
#include "SkinStyle.h"
#include "SurfaceTexture.h"

namespace
{
const juce::Rectangle<float> topBar (0.0f, 0.0f, 624.0f, 46.0f);
const juce::Rectangle<float> faceplate (14.0f, 56.0f, 596.0f, 418.0f);
const juce::Rectangle<float> screenBezel (26.0f, 549.0f, 587.0f, 312.0f);
const juce::Rectangle<float> screen (30.0f, 553.0f, 579.0f, 304.0f);

// Captions under the amp knobs, left to right: top row, then bottom row.
const char* const knobCaptions[2][4] = { { "GAIN", "BASS", "MIDDLE", "TREBLE" },
                                         { "MASTER", "PRESENCE", "DEPTH", "LEVEL" } };
const char* const switchCaptions[3] = { "BANK", "PRESET", "CAB" };

void paintScrew (juce::Graphics& g, juce::Point<float> c, float angle)
{
    const auto head = juce::Rectangle<float> (9.0f, 9.0f).withCentre (c);
    g.setColour (juce::Colours::black.withAlpha (0.7f));
    g.fillEllipse (head.expanded (1.0f).translated (0.0f, 0.6f));
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xffa4a9b0), head.getX(), head.getY(), juce::Colour (0xff34373c), head.getRight(), head.getBottom(), false));
    g.fillEllipse (head);

    juce::Path slot;
    slot.startNewSubPath (c.getPointOnCircumference (3.2f, angle));
    slot.lineTo (c.getPointOnCircumference (3.2f, angle + juce::MathConstants<float>::pi));
    g.setColour (juce::Colours::black.withAlpha (0.75f));
    g.strokePath (slot, juce::PathStrokeType (1.3f));
    g.setColour (juce::Colours::white.withAlpha (0.18f));
    g.strokePath (slot, juce::PathStrokeType (0.5f), juce::AffineTransform::translation (0.0f, 0.8f));
}

void paintTopBar (juce::Graphics& g)
{
    juce::ColourGradient bar (SkinStyle::stripTop, 0.0f, 0.0f, SkinStyle::stripBottom, 0.0f, topBar.getBottom(), false);
    bar.addColour (0.08, SkinStyle::stripTop.brighter (0.12f));
    g.setGradientFill (bar);
    g.fillRect (topBar);
}

void paintTopBarDetails (juce::Graphics& g)
{
    // Bright chamfer along the top, dark step down to the enclosure below.
    g.setColour (juce::Colours::white.withAlpha (0.22f));
    g.fillRect (0.0f, 0.0f, 624.0f, 0.8f);
    g.setColour (juce::Colour (0xff0b0c0d));
    g.fillRect (0.0f, topBar.getBottom() - 1.0f, 624.0f, 1.2f);
    g.setGradientFill (juce::ColourGradient (juce::Colours::black.withAlpha (0.55f), 0.0f, topBar.getBottom(),
                                             juce::Colours::transparentBlack, 0.0f, topBar.getBottom() + 8.0f, false));
    g.fillRect (0.0f, topBar.getBottom(), 624.0f, 8.0f);

    // Recess the three window buttons sit in.
    SkinStyle::drawRecess (g, { 489.0f, 4.0f, 132.0f, 38.0f }, 19.0f, juce::Colour (0xff3f4247), juce::Colour (0xff4f5359));
}

void paintFaceplate (juce::Graphics& g)
{
    g.setColour (juce::Colours::black.withAlpha (0.55f));
    g.fillRoundedRectangle (faceplate.expanded (2.0f).translated (0.0f, 1.5f), 12.0f);
    g.setGradientFill (juce::ColourGradient (SkinStyle::plateTop, 0.0f, faceplate.getY(), SkinStyle::plateBottom, 0.0f, faceplate.getBottom(), false));
    g.fillRoundedRectangle (faceplate, 10.0f);
}

void paintFaceplateDetails (juce::Graphics& g)
{
    juce::Path edge;
    edge.addRoundedRectangle (faceplate.reduced (0.5f), 9.5f);
    SkinStyle::drawRaisedRim (g, edge, 1.0f);

    for (auto corner : { faceplate.getTopLeft().translated (11.0f, 11.0f), faceplate.getTopRight().translated (-11.0f, 11.0f),
                         faceplate.getBottomLeft().translated (11.0f, -11.0f), faceplate.getBottomRight().translated (-11.0f, -11.0f) })
        paintScrew (g, corner, 0.6f + corner.x * 0.01f);

    // Wells the knobs are mounted in.
    for (int row = 0; row < 2; ++row)
    {
        for (int column = 0; column < 4; ++column)
        {
            const auto c = PanelBackgroundPainter::ampKnobPosition (column, row).toFloat().translated (68.0f, 68.0f);
            const auto well = juce::Rectangle<float> (134.0f, 134.0f).withCentre (c);
            g.setGradientFill (juce::ColourGradient (juce::Colours::black.withAlpha (0.0f), c.x, c.y,
                                                     juce::Colours::black.withAlpha (0.22f), c.x + 67.0f, c.y, true));
            g.fillEllipse (well);
            g.setColour (juce::Colours::white.withAlpha (0.045f));
            g.drawEllipse (well.translated (0.0f, 0.8f), 0.8f);
            g.setColour (juce::Colours::black.withAlpha (0.35f));
            g.drawEllipse (well, 0.8f);

            g.setFont (SkinStyle::legendFont (13.0f).withExtraKerningFactor (0.14f));
            SkinStyle::drawEngravedText (g, knobCaptions[row][column], { c.x - 60.0f, c.y + 70.0f, 120.0f, 16.0f },
                                         juce::Justification::centred, SkinStyle::legend, SkinStyle::engraved);
        }
    }

    // Switch captions above, position numbers beside (bank and preset count
    // 3, 2, 1 from the top).
    for (int i = 0; i < 3; ++i)
    {
        const auto bounds = PanelBackgroundPainter::switchBounds (i).toFloat();
        g.setFont (SkinStyle::legendFont (11.0f).withExtraKerningFactor (0.12f));
        SkinStyle::drawEngravedText (g, switchCaptions[i], { bounds.getCentreX() - 30.0f, bounds.getY() - 14.0f, 60.0f, 12.0f },
                                     juce::Justification::centred, SkinStyle::legend, SkinStyle::engraved);

        for (int position = 0; position < 3; ++position)
        {
            const float y = bounds.getY() + 14.0f + 38.0f * (float) position;

            if (i < 2)
            {
                g.setFont (SkinStyle::legendFont (10.5f));
                SkinStyle::drawEngravedText (g, juce::String (3 - position), { bounds.getRight() + 1.0f, y - 6.0f, 10.0f, 12.0f },
                                             juce::Justification::centredLeft, SkinStyle::legendDim, SkinStyle::engraved);
            }
            else
            {
                g.setColour (SkinStyle::legendDim);
                g.fillEllipse (juce::Rectangle<float> (2.6f, 2.6f).withCentre ({ bounds.getRight() + 3.5f, y }));
            }
        }
    }
}

void paintBlockRow (juce::Graphics& g)
{
    // A shallow channel the block buttons sit in along the signal line.
    const juce::Rectangle<float> channel (24.0f, 490.0f, 576.0f, 54.0f);
    SkinStyle::drawRecess (g, channel, 27.0f, juce::Colour (0xff111214), juce::Colour (0xff17181b));

    g.setFont (SkinStyle::legendFont (9.0f).withExtraKerningFactor (0.2f));
    SkinStyle::drawEngravedText (g, "IN", { 0.0f, 511.0f, 24.0f, 12.0f }, juce::Justification::centred, SkinStyle::legendDim, SkinStyle::engraved);
    SkinStyle::drawEngravedText (g, "OUT", { 600.0f, 511.0f, 24.0f, 12.0f }, juce::Justification::centred, SkinStyle::legendDim, SkinStyle::engraved);
}
} // namespace

//==============================================================================
juce::Point<int> PanelBackgroundPainter::ampKnobPosition (int column, int row)
{
    return { 21 + 149 * column, 80 + 185 * row };
}

juce::Rectangle<int> PanelBackgroundPainter::switchBounds (int index)
{
    return { 142 + 150 * index, 193, 40, 104 };
}

juce::Rectangle<int> PanelBackgroundPainter::viewportBounds()
{
    return { 36, 557, 567, 296 };
}

void PanelBackgroundPainter::paintBrand (juce::Graphics& g, juce::Rectangle<float> area, float height)
{
    const juce::String name ("TESSAQUORBEL");
    const auto font = SkinStyle::brandFont (height).withExtraKerningFactor (0.28f);
    g.setFont (font);

    // Silver lettering: a vertical gradient through the glyphs.
    juce::GlyphArrangement glyphs;
    glyphs.addLineOfText (font, name, 0.0f, 0.0f);
    const auto ink = glyphs.getBoundingBox (0, -1, false);
    const float x = area.getCentreX() - ink.getWidth() * 0.5f - ink.getX();
    const float baseline = area.getCentreY() + height * 0.36f;

    juce::Path text;
    glyphs.moveRangeOfGlyphs (0, -1, x, baseline);
    glyphs.createPath (text);

    g.setColour (juce::Colours::black.withAlpha (0.7f));
    g.fillPath (text, juce::AffineTransform::translation (0.0f, 1.0f));
    juce::ColourGradient silver (juce::Colour (0xfff2f3f5), 0.0f, text.getBounds().getY(), juce::Colour (0xff8e939b), 0.0f, text.getBounds().getBottom(), false);
    silver.addColour (0.55, juce::Colour (0xffc4c8ce));
    g.setGradientFill (silver);
    g.fillPath (text);

    // Red rules either side of the name.
    const auto bounds = text.getBounds();
    const float ruleY = bounds.getCentreY();

    for (int side = 0; side < 2; ++side)
    {
        const float from = side == 0 ? area.getX() : bounds.getRight() + 14.0f;
        const float to = side == 0 ? bounds.getX() - 14.0f : area.getRight();
        juce::ColourGradient rule (SkinStyle::accent.withAlpha (side == 0 ? 0.0f : 0.9f), from, ruleY,
                                   SkinStyle::accent.withAlpha (side == 0 ? 0.9f : 0.0f), to, ruleY, false);
        g.setGradientFill (rule);
        g.fillRect (from, ruleY - 0.7f, to - from, 1.4f);
    }
}

void PanelBackgroundPainter::paintScreen (juce::Graphics& g)
{
    g.setColour (juce::Colours::black.withAlpha (0.5f));
    g.fillRoundedRectangle (screenBezel.expanded (1.5f).translated (0.0f, 1.0f), 12.0f);
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff0c0d0f), 0.0f, screenBezel.getY(), juce::Colour (0xff1a1b1e), 0.0f, screenBezel.getBottom(), false));
    g.fillRoundedRectangle (screenBezel, 10.0f);

    juce::Path bezelEdge;
    bezelEdge.addRoundedRectangle (screenBezel.reduced (0.5f), 9.5f);
    g.setGradientFill (juce::ColourGradient (juce::Colours::black.withAlpha (0.8f), 0.0f, screenBezel.getY(),
                                             juce::Colours::white.withAlpha (0.14f), 0.0f, screenBezel.getBottom(), false));
    g.strokePath (bezelEdge, juce::PathStrokeType (1.0f));

    SkinStyle::drawRecess (g, screen, 7.0f, SkinStyle::screenTop, SkinStyle::screenBottom);

    // Glass: a broad, faint sheen from the top left.
    juce::Graphics::ScopedSaveState state (g);
    juce::Path glass;
    glass.addRoundedRectangle (screen.reduced (1.0f), 6.0f);
    g.reduceClipRegion (glass);
    juce::Path sheen;
    sheen.startNewSubPath (screen.getX(), screen.getY());
    sheen.lineTo (screen.getX() + screen.getWidth() * 0.62f, screen.getY());
    sheen.lineTo (screen.getX() + screen.getWidth() * 0.34f, screen.getBottom());
    sheen.lineTo (screen.getX(), screen.getBottom());
    sheen.closeSubPath();
    g.setGradientFill (juce::ColourGradient (juce::Colours::white.withAlpha (0.028f), screen.getX(), screen.getY(),
                                             juce::Colours::white.withAlpha (0.0f), screen.getX() + 260.0f, screen.getY() + 200.0f, false));
    g.fillPath (sheen);
}

juce::Image PanelBackgroundPainter::paintEnclosure()
{
    auto image = SkinStyle::createImage (kWidth, kHeight);

    {
        auto g = SkinStyle::createGraphics (image);
        g->setGradientFill (juce::ColourGradient (SkinStyle::enclosureTop, 0.0f, 0.0f, SkinStyle::enclosureBottom, 0.0f, (float) kHeight, false));
        g->fillAll();
        paintTopBar (*g);
        paintFaceplate (*g);
    }

    // Grain goes onto the bare metal before anything is drawn on it.
    SurfaceTexture::speckle (image, { 0.0f, 0.0f, (float) kWidth, (float) kHeight }, 0.035f, 11);
    SurfaceTexture::brush (image, topBar, 0.05f, 12);
    SurfaceTexture::brush (image, faceplate, 0.06f, 13);

    {
        auto g = SkinStyle::createGraphics (image);
        paintTopBarDetails (*g);
        paintFaceplateDetails (*g);
        paintBrand (*g, { 44.0f, 428.0f, 536.0f, 30.0f }, 23.0f);
        paintBlockRow (*g);
        paintScreen (*g);

        // Maker's mark and screws along the foot of the enclosure.
        g->setFont (SkinStyle::legendFont (9.5f).withExtraKerningFactor (0.35f));
        SkinStyle::drawEngravedText (*g, "TESSARINE  AMP MODELLING PROCESSOR", { 0.0f, 866.0f, 624.0f, 18.0f }, juce::Justification::centred,
                                     juce::Colour (0xff5b5f66), SkinStyle::engraved);
        paintScrew (*g, { 16.0f, 875.0f }, 0.3f);
        paintScrew (*g, { 608.0f, 875.0f }, 1.1f);
    }

    return image;
}

juce::Image PanelBackgroundPainter::paintMain()
{
    return paintEnclosure();
}

juce::Image PanelBackgroundPainter::paintAbout()
{
    auto image = paintEnclosure();
    auto g = SkinStyle::createGraphics (image);

    // Left column: a heading over the version text the editor writes at
    // (40, 674, 220, 140). Right: the emblem and the name.
    g->setFont (SkinStyle::legendFont (20.0f).withExtraKerningFactor (0.25f));
    g->setColour (juce::Colour (0xffdfdfdf));
    g->drawText ("ABOUT", juce::Rectangle<float> (40.0f, 618.0f, 220.0f, 28.0f), juce::Justification::centred, false);
    g->setColour (SkinStyle::accent);
    g->fillRect (120.0f, 650.0f, 60.0f, 1.5f);

    g->setColour (juce::Colours::white.withAlpha (0.06f));
    g->fillRect (288.0f, 590.0f, 1.0f, 232.0f);

    const juce::Point<float> emblem (446.0f, 656.0f);
    KnobFilmPainter::paintLargeDial (*g, emblem, juce::MathConstants<float>::pi * 0.25f, 0.833f);

    paintBrand (*g, { 310.0f, 742.0f, 272.0f, 26.0f }, 19.0f);
    g->setFont (SkinStyle::legendFont (13.0f).withExtraKerningFactor (0.4f));
    g->setColour (juce::Colour (0xff8a8f96));
    g->drawText ("EDITOR", juce::Rectangle<float> (310.0f, 772.0f, 272.0f, 18.0f), juce::Justification::centred, false);
    g->setFont (SkinStyle::plainFont (11.0f));
    g->setColour (juce::Colour (0xff5d6168));
    g->drawText (juce::String ("by Tessarine"), juce::Rectangle<float> (310.0f, 796.0f, 272.0f, 16.0f), juce::Justification::centred, false);
    return image;
}
