// SPDX-License-Identifier: GPL-3.0-or-later
#include "KnobFilmPainter.h"

#include "SkinStyle.h"

#include <cmath>

namespace
{
constexpr float kSweep = juce::MathConstants<float>::pi * 1.5f;
constexpr float kStart = -kSweep * 0.5f;

juce::Point<float> polar (juce::Point<float> centre, float radius, float angle)
{
    return centre.getPointOnCircumference (radius, angle);
}

void paintScale (juce::Graphics& g, juce::Point<float> c, float inner, float outer, float majorInner, juce::Colour colour,
                 float minorWidth, float majorWidth)
{
    for (int i = 0; i <= 10; ++i)
    {
        const bool major = i == 0 || i == 5 || i == 10;
        const float a = kStart + kSweep * (float) i / 10.0f;
        juce::Path tick;
        tick.startNewSubPath (polar (c, major ? majorInner : inner, a));
        tick.lineTo (polar (c, outer, a));
        g.setColour (major ? colour.brighter (0.35f) : colour);
        g.strokePath (tick, juce::PathStrokeType (major ? majorWidth : minorWidth, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    }
}

// The groove the lit arc runs in, and the arc itself from the minimum to the
// pointer.
void paintValueArc (juce::Graphics& g, juce::Point<float> c, float radius, float width, float angle, float norm)
{
    juce::Path track;
    track.addCentredArc (c.x, c.y, radius, radius, 0.0f, kStart, kStart + kSweep, true);
    g.setColour (juce::Colours::white.withAlpha (0.06f));
    g.strokePath (track, juce::PathStrokeType (width + 1.2f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded),
                  juce::AffineTransform::translation (0.0f, 0.6f));
    g.setColour (juce::Colour (0xff08090a));
    g.strokePath (track, juce::PathStrokeType (width + 1.0f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));

    if (norm <= 0.0f)
        return;

    juce::Path lit;
    lit.addCentredArc (c.x, c.y, radius, radius, 0.0f, kStart, angle, true);
    SkinStyle::drawGlow (g, lit, SkinStyle::accentBright, width * 4.0f, 5);
    g.setColour (SkinStyle::accent);
    g.strokePath (lit, juce::PathStrokeType (width, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    g.setColour (SkinStyle::accentBright.withAlpha (0.8f));
    g.strokePath (lit, juce::PathStrokeType (width * 0.4f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
}

void paintShadow (juce::Graphics& g, juce::Point<float> c, float radius)
{
    const juce::Point<float> s = c.translated (0.0f, radius * 0.12f);
    g.setGradientFill (juce::ColourGradient (juce::Colours::black.withAlpha (0.75f), s.x, s.y,
                                             juce::Colours::transparentBlack, s.x + radius * 1.22f, s.y, true));
    g.fillEllipse (juce::Rectangle<float> (radius * 2.5f, radius * 2.5f).withCentre (s));
}

// Black skirt with a ring of grip ridges that turn with the knob.
void paintSkirt (juce::Graphics& g, juce::Point<float> c, float radius, float ridgeDepth, int ridges, float angle)
{
    const auto disc = juce::Rectangle<float> (radius * 2.0f, radius * 2.0f).withCentre (c);
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff3b3e44), c.x - radius * 0.5f, c.y - radius * 0.7f,
                                             juce::Colour (0xff101113), c.x + radius * 0.4f, c.y + radius, false));
    g.fillEllipse (disc);

    for (int i = 0; i < ridges; ++i)
    {
        const float a = angle + juce::MathConstants<float>::twoPi * (float) i / (float) ridges;
        // Ridges facing the light from above catch it; those below stay dark.
        const float lightness = 0.5f - 0.5f * std::cos (a);
        juce::Path ridge;
        ridge.startNewSubPath (polar (c, radius - ridgeDepth, a));
        ridge.lineTo (polar (c, radius - 0.4f, a));
        g.setColour (juce::Colours::black.withAlpha (0.55f));
        g.strokePath (ridge, juce::PathStrokeType (radius * 0.045f));
        juce::Path edge;
        const float offset = 0.6f / radius;
        edge.startNewSubPath (polar (c, radius - ridgeDepth, a + offset * 2.0f));
        edge.lineTo (polar (c, radius - 0.6f, a + offset * 2.0f));
        g.setColour (juce::Colours::white.withAlpha (0.05f + 0.13f * lightness));
        g.strokePath (edge, juce::PathStrokeType (radius * 0.02f));
    }

    juce::Path rim;
    rim.addEllipse (disc.reduced (0.3f));
    SkinStyle::drawRaisedRim (g, rim, 0.8f);
    g.setColour (juce::Colours::black.withAlpha (0.8f));
    g.drawEllipse (disc.expanded (0.3f), 0.7f);
}

// Spun metal: a lit gradient under fine concentric rings and a soft
// highlight; it does not change as the knob turns.
void paintCap (juce::Graphics& g, juce::Point<float> c, float radius, juce::Colour light, juce::Colour dark)
{
    const auto disc = juce::Rectangle<float> (radius * 2.0f, radius * 2.0f).withCentre (c);

    // The step between skirt and cap.
    g.setColour (juce::Colours::black.withAlpha (0.6f));
    g.fillEllipse (disc.expanded (1.2f).translated (0.0f, 0.9f));

    g.setGradientFill (juce::ColourGradient (light, c.x - radius * 0.7f, c.y - radius * 0.8f, dark, c.x + radius * 0.6f, c.y + radius, false));
    g.fillEllipse (disc);

    for (float r = radius * 0.12f; r < radius; r += 0.75f)
    {
        const float t = r / radius;
        g.setColour ((((int) (r * 4.0f)) % 2 == 0 ? juce::Colours::white : juce::Colours::black).withAlpha (0.035f * (1.0f - t * 0.5f)));
        g.drawEllipse (juce::Rectangle<float> (r * 2.0f, r * 2.0f).withCentre (c), 0.4f);
    }

    // Spun metal throws light in soft wedges that turn with the viewer, not
    // the knob: a conical sheen, built from thin slices.
    const int slices = 144;

    for (int i = 0; i < slices; ++i)
    {
        const float a0 = juce::MathConstants<float>::twoPi * (float) i / (float) slices;
        const float a1 = a0 + juce::MathConstants<float>::twoPi / (float) slices + 0.004f;
        const float mid = (a0 + a1) * 0.5f;
        const float sheen = std::pow (std::abs (std::cos (mid + 0.75f)), 6.0f) * 0.16f
                          + std::pow (std::abs (std::cos (mid - 0.55f)), 12.0f) * 0.05f;
        juce::Path slice;
        slice.addPieSegment (disc, a0, a1, 0.0f);
        g.setColour (juce::Colours::white.withAlpha (sheen));
        g.fillPath (slice);
    }

    g.setGradientFill (juce::ColourGradient (juce::Colours::white.withAlpha (0.28f), c.x - radius * 0.3f, c.y - radius * 0.55f,
                                             juce::Colours::white.withAlpha (0.0f), c.x - radius * 0.3f + radius * 0.75f, c.y - radius * 0.55f, true));
    g.fillEllipse (disc);

    juce::Path rim;
    rim.addEllipse (disc.reduced (0.35f));
    SkinStyle::drawRaisedRim (g, rim, 0.7f);
}

void paintPointer (juce::Graphics& g, juce::Point<float> c, float from, float to, float width, float angle)
{
    juce::Path line;
    line.startNewSubPath (polar (c, from, angle));
    line.lineTo (polar (c, to, angle));
    const juce::PathStrokeType stroke (width, juce::PathStrokeType::curved, juce::PathStrokeType::rounded);

    g.setColour (juce::Colours::black.withAlpha (0.55f));
    g.strokePath (line, stroke, juce::AffineTransform::translation (0.0f, width * 0.45f));
    g.setColour (juce::Colour (0xfff4f4f2));
    g.strokePath (line, stroke);
}

void paintSkirtNotch (juce::Graphics& g, juce::Point<float> c, float from, float to, float width, float angle)
{
    juce::Path notch;
    notch.startNewSubPath (polar (c, from, angle));
    notch.lineTo (polar (c, to, angle));
    g.setColour (juce::Colour (0xffe8e8e6));
    g.strokePath (notch, juce::PathStrokeType (width, juce::PathStrokeType::curved, juce::PathStrokeType::butt));
}

juce::Image paintFilm (int frameSize, int frames, void (*paintFrame) (juce::Graphics&, juce::Point<float>, float, float),
                       juce::Point<float> centre)
{
    juce::Image strip = SkinStyle::createImage (frameSize, frameSize, frames);

    for (int i = 0; i < frames; ++i)
    {
        auto g = SkinStyle::createGraphics (strip, i, frames);
        const float norm = frames > 1 ? (float) i / (float) (frames - 1) : 0.0f;
        paintFrame (*g, centre, KnobFilmPainter::angleForFrame (i, frames), norm);
    }

    return strip;
}
} // namespace

float KnobFilmPainter::angleForFrame (int frame, int frames)
{
    const float norm = frames > 1 ? (float) frame / (float) (frames - 1) : 0.0f;
    return kStart + kSweep * norm;
}

void KnobFilmPainter::paintLargeDial (juce::Graphics& g, juce::Point<float> c, float angle, float norm)
{
    paintScale (g, c, 58.5f, 63.0f, 57.0f, juce::Colour (0xff8a8f96), 1.1f, 1.7f);
    paintValueArc (g, c, 52.5f, 2.6f, angle, norm);
    paintShadow (g, c, 46.0f);
    paintSkirt (g, c, 46.0f, 7.0f, 44, angle);
    paintCap (g, c, 36.0f, juce::Colour (0xff747982), juce::Colour (0xff1f2124));
    paintSkirtNotch (g, c, 37.5f, 45.2f, 2.6f, angle);
    paintPointer (g, c, 12.0f, 33.0f, 3.4f, angle);
}

void KnobFilmPainter::paintEffectDial (juce::Graphics& g, juce::Point<float> c, float angle, float norm)
{
    // Window for the value text the panel draws over the lower part.
    SkinStyle::drawRecess (g, { c.x - 52.0f, 109.0f, 104.0f, 24.0f }, 5.0f, juce::Colour (0xff0c0d0f), juce::Colour (0xff121316));

    paintScale (g, c, 45.5f, 49.0f, 44.5f, juce::Colour (0xff72777e), 1.0f, 1.5f);
    paintValueArc (g, c, 40.5f, 2.2f, angle, norm);
    paintShadow (g, c, 34.0f);
    paintSkirt (g, c, 34.0f, 5.5f, 36, angle);
    paintCap (g, c, 26.0f, juce::Colour (0xff5f646c), juce::Colour (0xff1c1e21));
    paintSkirtNotch (g, c, 27.2f, 33.4f, 2.2f, angle);
    paintPointer (g, c, 8.0f, 23.5f, 2.8f, angle);
}

juce::Image KnobFilmPainter::paintLargeDialFilm (int frames)
{
    return paintFilm (kLargeFrame, frames, &paintLargeDial, { kLargeFrame * 0.5f, kLargeFrame * 0.5f });
}

juce::Image KnobFilmPainter::paintEffectDialFilm (int frames)
{
    // The panel centres the caption and the value field 69 pixels into the
    // frame, so the knob sits on that line too.
    return paintFilm (kEffectFrame, frames, &paintEffectDial, { 69.0f, 55.0f });
}
