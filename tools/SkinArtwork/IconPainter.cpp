// SPDX-License-Identifier: GPL-3.0-or-later
#include "IconPainter.h"

#include "SkinStyle.h"

#include <cmath>

juce::Path IconPainter::pictogram (Block block, juce::Rectangle<float> a)
{
    juce::Path p;
    const float x = a.getX(), y = a.getY(), w = a.getWidth(), h = a.getHeight();
    const float cy = a.getCentreY();

    switch (block)
    {
        case Block::gate:
        {
            // A wave that the gate cuts off to silence.
            p.startNewSubPath (x, cy);
            for (float t = 0.0f; t <= 0.55f; t += 0.01f)
                p.lineTo (x + w * t, cy - std::sin (t / 0.55f * juce::MathConstants<float>::twoPi * 2.0f) * h * 0.42f * (1.0f - t * 0.6f));
            p.lineTo (x + w * 0.62f, cy);
            p.lineTo (x + w, cy);
            p.startNewSubPath (x + w * 0.62f, y);
            p.lineTo (x + w * 0.62f, y + h);
            break;
        }

        case Block::compressor:
        {
            // Two arrows pressing a wave flat.
            const float mid = x + w * 0.5f;
            p.startNewSubPath (x, cy);
            for (float t = 0.0f; t <= 1.0f; t += 0.01f)
                p.lineTo (x + w * t, cy - std::sin (t * juce::MathConstants<float>::twoPi * 2.5f) * h * 0.16f);
            p.startNewSubPath (mid, y);
            p.lineTo (mid, y + h * 0.22f);
            p.startNewSubPath (mid - 4.0f, y + h * 0.1f);
            p.lineTo (mid, y + h * 0.24f);
            p.lineTo (mid + 4.0f, y + h * 0.1f);
            p.startNewSubPath (mid, y + h);
            p.lineTo (mid, y + h * 0.78f);
            p.startNewSubPath (mid - 4.0f, y + h * 0.9f);
            p.lineTo (mid, y + h * 0.76f);
            p.lineTo (mid + 4.0f, y + h * 0.9f);
            break;
        }

        case Block::boost:
        {
            // A bolt.
            p.startNewSubPath (x + w * 0.58f, y);
            p.lineTo (x + w * 0.3f, y + h * 0.56f);
            p.lineTo (x + w * 0.5f, y + h * 0.56f);
            p.lineTo (x + w * 0.4f, y + h);
            p.lineTo (x + w * 0.72f, y + h * 0.4f);
            p.lineTo (x + w * 0.52f, y + h * 0.4f);
            p.closeSubPath();
            break;
        }

        case Block::amp:
        {
            // An amp head: cabinet outline, control strip and grille.
            const auto body = a.reduced (w * 0.08f, 0.0f);
            p.addRoundedRectangle (body, 2.5f);
            p.startNewSubPath (body.getX(), body.getY() + h * 0.32f);
            p.lineTo (body.getRight(), body.getY() + h * 0.32f);
            for (int i = 0; i < 4; ++i)
                p.addEllipse (juce::Rectangle<float> (2.6f, 2.6f).withCentre ({ body.getX() + body.getWidth() * (0.2f + 0.2f * (float) i), body.getY() + h * 0.16f }));
            for (int i = 0; i < 3; ++i)
            {
                const float gy = body.getY() + h * (0.5f + 0.16f * (float) i);
                p.startNewSubPath (body.getX() + 4.0f, gy);
                p.lineTo (body.getRight() - 4.0f, gy);
            }
            break;
        }

        case Block::equaliser:
        {
            // Three faders at different settings.
            const float levels[] = { 0.65f, 0.25f, 0.5f };
            for (int i = 0; i < 3; ++i)
            {
                const float fx = x + w * (0.2f + 0.3f * (float) i);
                p.startNewSubPath (fx, y);
                p.lineTo (fx, y + h);
                p.addRoundedRectangle (juce::Rectangle<float> (7.0f, 3.6f).withCentre ({ fx, y + h * levels[i] }), 1.2f);
            }
            break;
        }

        case Block::reverb:
        {
            // A source and its reflections spreading out.
            const juce::Point<float> source (x + w * 0.12f, cy);
            p.addEllipse (juce::Rectangle<float> (3.2f, 3.2f).withCentre (source));
            for (int i = 1; i <= 3; ++i)
            {
                const float r = w * 0.26f * (float) i;
                p.addCentredArc (source.x, source.y, r, r, 0.0f, juce::MathConstants<float>::pi * 0.28f, juce::MathConstants<float>::pi * 0.72f, true);
            }
            break;
        }

        case Block::echo:
        {
            // Repeats, each smaller than the one before, centred as a row.
            const float radii[] = { 4.6f, 3.6f, 2.6f, 1.7f };
            const float gap = 1.5f;
            float bx = a.getCentreX() - (2.0f * (4.6f + 3.6f + 2.6f + 1.7f) + 3.0f * gap) * 0.5f;

            for (float r : radii)
            {
                p.addEllipse (juce::Rectangle<float> (r * 2.0f, r * 2.0f).withCentre ({ bx + r, cy }));
                bx += r * 2.0f + gap;
            }
            break;
        }

        case Block::cabinet:
        {
            // A speaker in its box.
            const auto box = juce::Rectangle<float> (h * 1.05f, h).withCentre (a.getCentre());
            p.addRoundedRectangle (box, 2.5f);
            const float r = h * 0.36f;
            p.addEllipse (juce::Rectangle<float> (r * 2.0f, r * 2.0f).withCentre (box.getCentre()));
            p.addEllipse (juce::Rectangle<float> (r * 0.7f, r * 0.7f).withCentre (box.getCentre()));
            break;
        }
    }

    return p;
}

juce::Image IconPainter::paintBlockIcon (Block block, const juce::String& name)
{
    auto image = SkinStyle::createImage (56, 56);
    auto g = SkinStyle::createGraphics (image);
    const juce::Rectangle<float> body (2.0f, 2.0f, 52.0f, 52.0f);

    g->setColour (juce::Colours::black.withAlpha (0.85f));
    g->fillRoundedRectangle (body.expanded (0.8f), 9.0f);
    g->setGradientFill (juce::ColourGradient (juce::Colour (0xff2a2c31), 0.0f, body.getY(), juce::Colour (0xff1a1b1e), 0.0f, body.getBottom(), false));
    g->fillRoundedRectangle (body, 8.5f);

    juce::Path outline;
    outline.addRoundedRectangle (body.reduced (0.5f), 8.0f);
    SkinStyle::drawRaisedRim (*g, outline, 0.8f);

    const auto art = pictogram (block, { 14.0f, 9.0f, 28.0f, 20.0f });
    const juce::PathStrokeType stroke (1.7f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded);
    g->setColour (juce::Colours::black.withAlpha (0.6f));
    g->strokePath (art, stroke, juce::AffineTransform::translation (0.0f, 0.8f));
    g->setColour (juce::Colour (0xff80848b));
    g->strokePath (art, stroke);

    g->setFont (SkinStyle::legendFont (14.0f).withExtraKerningFactor (0.1f));
    SkinStyle::drawEngravedText (*g, name, { 2.0f, 33.0f, 52.0f, 16.0f }, juce::Justification::centred,
                                 juce::Colour (0xff8c9097), juce::Colours::black.withAlpha (0.8f));
    return image;
}

juce::Image IconPainter::paintAssignment (Assignment assignment)
{
    auto image = SkinStyle::createImage (32, 32);
    auto g = SkinStyle::createGraphics (image);
    const juce::Point<float> c (16.0f, 16.0f);
    const auto disc = [c] (float r) { return juce::Rectangle<float> (r * 2.0f, r * 2.0f).withCentre (c); };

    // Bezel of the stomp button.
    g->setColour (juce::Colours::black.withAlpha (0.8f));
    g->fillEllipse (disc (13.6f));
    g->setGradientFill (juce::ColourGradient (juce::Colour (0xff9ba0a8), c.x - 8.0f, c.y - 12.0f, juce::Colour (0xff2b2e33), c.x + 8.0f, c.y + 13.0f, false));
    g->fillEllipse (disc (12.8f));
    g->setColour (juce::Colour (0xff101113));
    g->fillEllipse (disc (9.4f));

    juce::Path lamp;
    lamp.addEllipse (disc (6.6f));

    switch (assignment)
    {
        case Assignment::none:
            g->setGradientFill (juce::ColourGradient (juce::Colour (0xff2e3034), c.x, c.y - 6.0f, juce::Colour (0xff1b1c1f), c.x, c.y + 6.0f, false));
            g->fillPath (lamp);
            break;

        case Assignment::assigned:
        {
            SkinStyle::drawGlow (*g, lamp, SkinStyle::accentBright, 12.0f, 6);
            juce::ColourGradient lit (juce::Colour (0xffffb3a8), c.x - 1.5f, c.y - 2.0f, SkinStyle::accent, c.x + 5.0f, c.y + 6.0f, true);
            lit.addColour (0.4, SkinStyle::accentBright);
            g->setGradientFill (lit);
            g->fillPath (lamp);
            break;
        }

        case Assignment::inverted:
        {
            // Lit only around its edge, dark in the middle: on while the
            // footswitch is off.
            juce::Path ring;
            ring.addEllipse (disc (5.4f));
            SkinStyle::drawGlow (*g, ring, SkinStyle::accentBright, 8.0f, 5);
            g->setColour (SkinStyle::accentBright);
            g->strokePath (ring, juce::PathStrokeType (2.2f));
            g->setColour (juce::Colour (0xff141517));
            g->fillEllipse (disc (3.4f));
            break;
        }
    }

    return image;
}
