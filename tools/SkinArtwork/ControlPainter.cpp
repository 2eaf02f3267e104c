// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlPainter.h"

#include "SkinStyle.h"

namespace
{
const juce::Colour chromeLight { 0xffeef0f3 };
const juce::Colour chromeMid { 0xff9ba0a8 };
const juce::Colour chromeDark { 0xff3e4248 };

juce::Path hexagon (juce::Point<float> c, float radius)
{
    juce::Path p;
    p.addPolygon (c, 6, radius, juce::MathConstants<float>::pi / 6.0f);
    return p;
}

// Chrome across a shaft: dark edges, a bright line a little left of centre.
juce::ColourGradient chromeAcross (float left, float right, float y)
{
    juce::ColourGradient gradient (chromeDark, left, y, chromeDark.darker (0.4f), right, y, false);
    gradient.addColour (0.25, chromeMid);
    gradient.addColour (0.4, chromeLight);
    gradient.addColour (0.62, chromeMid);
    return gradient;
}

void paintBall (juce::Graphics& g, juce::Point<float> c, float radius)
{
    g.setColour (juce::Colours::black.withAlpha (0.45f));
    g.fillEllipse (juce::Rectangle<float> (radius * 2.1f, radius * 2.1f).withCentre (c.translated (1.0f, 1.6f)));
    juce::ColourGradient gradient (juce::Colours::white, c.x - radius * 0.35f, c.y - radius * 0.45f, chromeDark, c.x + radius * 0.9f, c.y + radius, true);
    gradient.addColour (0.35, chromeMid);
    g.setGradientFill (gradient);
    g.fillEllipse (juce::Rectangle<float> (radius * 2.0f, radius * 2.0f).withCentre (c));
    g.setColour (juce::Colours::black.withAlpha (0.5f));
    g.drawEllipse (juce::Rectangle<float> (radius * 2.0f, radius * 2.0f).withCentre (c), 0.5f);
}

void paintLever (juce::Graphics& g, juce::Point<float> base, float tipY)
{
    const float direction = tipY < base.y ? -1.0f : 1.0f;
    juce::Path shaft;
    shaft.startNewSubPath (base.x - 3.4f, base.y);
    shaft.lineTo (base.x - 2.3f, tipY - direction * 2.0f);
    shaft.lineTo (base.x + 2.3f, tipY - direction * 2.0f);
    shaft.lineTo (base.x + 3.4f, base.y);
    shaft.closeSubPath();

    g.setColour (juce::Colours::black.withAlpha (0.4f));
    g.fillPath (shaft, juce::AffineTransform::translation (1.4f, 2.2f));
    g.setGradientFill (chromeAcross (base.x - 3.4f, base.x + 3.4f, base.y));
    g.fillPath (shaft);

    paintBall (g, { base.x, tipY }, 5.0f);
}

void paintNut (juce::Graphics& g, juce::Point<float> c)
{
    // Washer, then the hex nut, then the threaded bushing the lever comes out of.
    g.setColour (juce::Colours::black.withAlpha (0.5f));
    g.fillEllipse (juce::Rectangle<float> (28.0f, 28.0f).withCentre (c.translated (0.6f, 1.4f)));
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff8d929a), c.x - 10.0f, c.y - 12.0f, juce::Colour (0xff2c2f33), c.x + 8.0f, c.y + 13.0f, false));
    g.fillEllipse (juce::Rectangle<float> (27.0f, 27.0f).withCentre (c));

    const juce::Path nut = hexagon (c, 11.5f);
    juce::ColourGradient face (juce::Colour (0xffd7dade), c.x - 9.0f, c.y - 10.0f, juce::Colour (0xff4a4e55), c.x + 9.0f, c.y + 10.0f, false);
    face.addColour (0.45, juce::Colour (0xffa3a8b0));
    g.setGradientFill (face);
    g.fillPath (nut);
    g.setColour (juce::Colours::black.withAlpha (0.55f));
    g.strokePath (nut, juce::PathStrokeType (0.6f));

    // Flats of the hexagon catch the light differently.
    for (int i = 0; i < 6; ++i)
    {
        const float a = juce::MathConstants<float>::pi / 6.0f + (float) i * juce::MathConstants<float>::pi / 3.0f;
        juce::Path spoke;
        spoke.startNewSubPath (c.getPointOnCircumference (6.0f, a));
        spoke.lineTo (c.getPointOnCircumference (11.2f, a));
        g.setColour (juce::Colours::black.withAlpha (0.15f));
        g.strokePath (spoke, juce::PathStrokeType (0.5f));
    }

    juce::ColourGradient bushing (juce::Colour (0xffc9cdd2), c.x - 4.0f, c.y - 5.0f, juce::Colour (0xff30343a), c.x + 4.0f, c.y + 6.0f, false);
    g.setGradientFill (bushing);
    g.fillEllipse (juce::Rectangle<float> (12.0f, 12.0f).withCentre (c));
    g.setColour (juce::Colours::black.withAlpha (0.6f));
    g.drawEllipse (juce::Rectangle<float> (12.0f, 12.0f).withCentre (c), 0.5f);
    g.setColour (juce::Colour (0xff17181a));
    g.fillEllipse (juce::Rectangle<float> (6.4f, 6.4f).withCentre (c));
}

void paintRoundButton (juce::Graphics& g, juce::Point<float> c, float radius, juce::Colour top, juce::Colour bottom)
{
    const auto disc = juce::Rectangle<float> (radius * 2.0f, radius * 2.0f).withCentre (c);
    g.setColour (juce::Colours::black.withAlpha (0.35f));
    g.fillEllipse (disc.expanded (1.6f).translated (0.0f, 0.8f));
    g.setColour (juce::Colours::black.withAlpha (0.85f));
    g.fillEllipse (disc.expanded (0.7f));
    g.setGradientFill (juce::ColourGradient (top, c.x, disc.getY(), bottom, c.x, disc.getBottom(), false));
    g.fillEllipse (disc);

    juce::Path rim;
    rim.addEllipse (disc.reduced (0.5f));
    SkinStyle::drawRaisedRim (g, rim, 0.9f);

    g.setGradientFill (juce::ColourGradient (juce::Colours::white.withAlpha (0.16f), c.x, disc.getY(),
                                             juce::Colours::white.withAlpha (0.0f), c.x, c.y, false));
    g.fillEllipse (disc.reduced (2.0f).withTrimmedBottom (radius * 0.9f));
}

juce::Path windowGlyph (ControlPainter::WindowGlyph glyph, juce::Point<float> c)
{
    juce::Path p;

    switch (glyph)
    {
        case ControlPainter::WindowGlyph::close:
            p.startNewSubPath (c.translated (-4.6f, -4.6f));
            p.lineTo (c.translated (4.6f, 4.6f));
            p.startNewSubPath (c.translated (4.6f, -4.6f));
            p.lineTo (c.translated (-4.6f, 4.6f));
            break;

        case ControlPainter::WindowGlyph::maximise:
            // Two corners pointing outwards: the window grows to the display.
            p.startNewSubPath (c.translated (-5.5f, -1.2f));
            p.lineTo (c.translated (-5.5f, -5.5f));
            p.lineTo (c.translated (-1.2f, -5.5f));
            p.startNewSubPath (c.translated (5.5f, 1.2f));
            p.lineTo (c.translated (5.5f, 5.5f));
            p.lineTo (c.translated (1.2f, 5.5f));
            p.startNewSubPath (c.translated (-5.0f, -5.0f));
            p.lineTo (c.translated (-1.8f, -1.8f));
            p.startNewSubPath (c.translated (5.0f, 5.0f));
            p.lineTo (c.translated (1.8f, 1.8f));
            break;

        case ControlPainter::WindowGlyph::minimise:
            p.startNewSubPath (c.translated (-5.0f, 3.2f));
            p.lineTo (c.translated (5.0f, 3.2f));
            break;
    }

    return p;
}
} // namespace

//==============================================================================
juce::Image ControlPainter::paintToggleSwitch (SwitchPosition position)
{
    auto image = SkinStyle::createImage (40, 104);
    auto g = SkinStyle::createGraphics (image);

    // The slot the lever moves in.
    SkinStyle::drawRecess (*g, { 7.0f, 3.0f, 26.0f, 98.0f }, 8.0f, juce::Colour (0xff0f1012), juce::Colour (0xff17181b));

    const juce::Point<float> centre (20.0f, 52.0f);
    paintNut (*g, centre);

    switch (position)
    {
        case SwitchPosition::up:     paintLever (*g, centre, 14.0f); break;
        case SwitchPosition::down:   paintLever (*g, centre, 90.0f); break;
        case SwitchPosition::centre: paintBall (*g, centre, 6.2f); break;
    }

    return image;
}

juce::Image ControlPainter::paintWindowButton (WindowGlyph glyph, bool on)
{
    auto image = SkinStyle::createImage (36, 36);
    auto g = SkinStyle::createGraphics (image);
    const juce::Point<float> c (18.0f, 18.0f);

    if (on && glyph == WindowGlyph::close)
        paintRoundButton (*g, c, 13.0f, juce::Colour (0xffe8473a), juce::Colour (0xff9c1c14));
    else if (on)
        paintRoundButton (*g, c, 13.0f, juce::Colour (0xff6a6f77), juce::Colour (0xff3a3d43));
    else
        paintRoundButton (*g, c, 13.0f, juce::Colour (0xff3d4046), juce::Colour (0xff1b1c1f));

    const auto path = windowGlyph (glyph, c);
    const juce::PathStrokeType stroke (2.1f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded);
    g->setColour (juce::Colours::black.withAlpha (0.6f));
    g->strokePath (path, stroke, juce::AffineTransform::translation (0.0f, 0.8f));
    g->setColour (on ? juce::Colours::white : juce::Colour (0xffb4b8be));
    g->strokePath (path, stroke);
    return image;
}

juce::Image ControlPainter::paintPillButton (const juce::String& caption, bool on)
{
    auto image = SkinStyle::createImage (100, 24);
    auto g = SkinStyle::createGraphics (image);
    const juce::Rectangle<float> body (2.0f, 2.0f, 96.0f, 20.0f);

    g->setColour (juce::Colours::black.withAlpha (0.8f));
    g->fillRoundedRectangle (body.expanded (0.8f), 10.8f);
    g->setGradientFill (juce::ColourGradient (on ? juce::Colour (0xff3a2220) : juce::Colour (0xff34373c), 0.0f, body.getY(),
                                              on ? juce::Colour (0xff1f1111) : juce::Colour (0xff1d1f22), 0.0f, body.getBottom(), false));
    g->fillRoundedRectangle (body, 10.0f);

    juce::Path outline;
    outline.addRoundedRectangle (body.reduced (0.5f), 9.5f);

    if (on)
    {
        SkinStyle::drawGlow (*g, outline, SkinStyle::accentBright, 5.0f, 4);
        g->setColour (SkinStyle::accent);
        g->strokePath (outline, juce::PathStrokeType (1.1f));
    }
    else
    {
        SkinStyle::drawRaisedRim (*g, outline, 0.8f);
    }

    g->setFont (SkinStyle::legendFont (12.5f).withExtraKerningFactor (0.12f));
    g->setColour (on ? juce::Colours::white : juce::Colour (0xff9a9ea5));
    g->drawText (caption, body, juce::Justification::centred, false);
    return image;
}

juce::Image ControlPainter::paintReadoutArrow (bool pointsLeft, bool on)
{
    auto image = SkinStyle::createImage (20, 26);
    auto g = SkinStyle::createGraphics (image);

    juce::Path arrow;
    arrow.addTriangle (13.5f, 6.5f, 13.5f, 19.5f, 5.5f, 13.0f);

    if (! pointsLeft)
        arrow.applyTransform (juce::AffineTransform::scale (-1.0f, 1.0f, 10.0f, 13.0f));

    const juce::PathStrokeType rounding (1.6f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded);

    if (on)
    {
        SkinStyle::drawGlow (*g, arrow, SkinStyle::accentBright, 9.0f, 5);
        g->setColour (SkinStyle::accentBright);
    }
    else
    {
        g->setColour (juce::Colours::black.withAlpha (0.7f));
        g->fillPath (arrow, juce::AffineTransform::translation (0.0f, 1.0f));
        g->strokePath (arrow, rounding, juce::AffineTransform::translation (0.0f, 1.0f));
        g->setColour (juce::Colour (0xff7a7e85));
    }

    g->fillPath (arrow);
    g->strokePath (arrow, rounding);
    return image;
}

juce::Image ControlPainter::paintBlockButton (bool on)
{
    auto image = SkinStyle::createImage (66, 66);
    auto g = SkinStyle::createGraphics (image);
    const juce::Rectangle<float> body (3.0f, 3.0f, 60.0f, 60.0f);
    const float corner = 10.0f;

    g->setColour (juce::Colours::black.withAlpha (0.5f));
    g->fillRoundedRectangle (body.expanded (1.5f).translated (0.0f, 1.2f), corner + 1.5f);
    g->setColour (juce::Colours::black.withAlpha (0.9f));
    g->fillRoundedRectangle (body.expanded (0.8f), corner + 0.8f);

    juce::Path outline;
    outline.addRoundedRectangle (body.reduced (0.6f), corner - 0.6f);

    // The lit button is near white: the editor multiplies it by each block's
    // own colour, so its shading and lamp come out in that colour.
    if (on)
    {
        juce::ColourGradient fill (juce::Colours::white, body.getCentreX(), body.getCentreY() - 4.0f,
                                   juce::Colour (0xffa9a9a9), body.getRight() + 6.0f, body.getBottom() + 6.0f, true);
        fill.addColour (0.55, juce::Colour (0xffe9e9e9));
        g->setGradientFill (fill);
        g->fillRoundedRectangle (body, corner);
        g->setColour (juce::Colours::white.withAlpha (0.9f));
        g->strokePath (outline, juce::PathStrokeType (1.0f));
    }
    else
    {
        g->setGradientFill (juce::ColourGradient (juce::Colour (0xff383b41), 0.0f, body.getY(), juce::Colour (0xff1b1c1f), 0.0f, body.getBottom(), false));
        g->fillRoundedRectangle (body, corner);
        SkinStyle::drawRaisedRim (*g, outline, 1.0f);
    }

    // The lamp above the caption.
    const juce::Rectangle<float> lamp = juce::Rectangle<float> (11.0f, 3.6f).withCentre ({ body.getCentreX(), body.getY() + 8.5f });
    g->setColour (juce::Colours::black.withAlpha (on ? 0.25f : 0.8f));
    g->fillRoundedRectangle (lamp.expanded (1.0f), 2.6f);

    if (on)
    {
        g->setGradientFill (juce::ColourGradient (juce::Colours::white.withAlpha (0.9f), lamp.getCentreX(), lamp.getCentreY(),
                                                  juce::Colours::white.withAlpha (0.0f), lamp.getCentreX() + 14.0f, lamp.getCentreY(), true));
        g->fillEllipse (lamp.expanded (12.0f, 6.0f));
        g->setColour (juce::Colours::white);
    }
    else
    {
        g->setColour (juce::Colour (0xff2c1412));
    }

    g->fillRoundedRectangle (lamp, 1.8f);

    // A soft top highlight: the button is a moulded cap, lit from above.
    g->setGradientFill (juce::ColourGradient (juce::Colours::white.withAlpha (on ? 0.5f : 0.07f), 0.0f, body.getY(),
                                              juce::Colours::white.withAlpha (0.0f), 0.0f, body.getY() + 22.0f, false));
    g->fillRoundedRectangle (body.reduced (2.0f).withHeight (22.0f), corner - 2.0f);
    return image;
}

juce::Image ControlPainter::paintReadout()
{
    auto image = SkinStyle::createImage (274, 52);
    auto g = SkinStyle::createGraphics (image);
    const juce::Rectangle<float> box (1.0f, 1.0f, 272.0f, 50.0f);

    SkinStyle::drawRecess (*g, box, 8.0f, juce::Colour (0xff08090a), juce::Colour (0xff131417));

    // A faint reflection on the glass over the upper half.
    g->setGradientFill (juce::ColourGradient (juce::Colours::white.withAlpha (0.035f), 0.0f, box.getY() + 2.0f,
                                              juce::Colours::white.withAlpha (0.0f), 0.0f, box.getCentreY(), false));
    g->fillRoundedRectangle (box.reduced (3.0f).withHeight (box.getHeight() * 0.48f), 6.0f);

    // Thin red rule along the floor, the editor's accent.
    g->setColour (SkinStyle::accent.withAlpha (0.45f));
    g->fillRoundedRectangle (juce::Rectangle<float> (box.getWidth() - 40.0f, 0.8f).withCentre ({ box.getCentreX(), box.getBottom() - 4.5f }), 0.4f);
    return image;
}

juce::Image ControlPainter::paintRedLine()
{
    auto image = SkinStyle::createImage (566, 4);
    auto g = SkinStyle::createGraphics (image);
    const juce::Rectangle<float> area (0.0f, 0.0f, 566.0f, 4.0f);

    juce::ColourGradient glow (SkinStyle::accent.withAlpha (0.0f), 0.0f, 0.0f, SkinStyle::accent.withAlpha (0.0f), 0.0f, 4.0f, false);
    glow.addColour (0.5, SkinStyle::accent.withAlpha (0.55f));
    g->setGradientFill (glow);
    g->fillRect (area);

    juce::ColourGradient core (SkinStyle::accent, 0.0f, 0.0f, SkinStyle::accent, 566.0f, 0.0f, false);
    core.addColour (0.5, SkinStyle::accentBright);
    g->setGradientFill (core);
    g->fillRect (0.0f, 1.3f, 566.0f, 1.4f);
    g->setColour (juce::Colour (0xffff8a7a).withAlpha (0.7f));
    g->fillRect (0.0f, 1.75f, 566.0f, 0.5f);
    return image;
}

juce::Image ControlPainter::paintScrollBar()
{
    auto image = SkinStyle::createImage (8, 296);
    auto g = SkinStyle::createGraphics (image);
    SkinStyle::drawRecess (*g, { 1.0f, 1.0f, 6.0f, 294.0f }, 3.0f, juce::Colour (0xff08090a), juce::Colour (0xff121316));
    g->setColour (SkinStyle::accent.withAlpha (0.35f));
    g->fillRect (3.6f, 8.0f, 0.8f, 280.0f);
    return image;
}

juce::Image ControlPainter::paintOutline (const juce::String& caption, Lamp lamp)
{
    auto image = SkinStyle::createImage (100, 36);
    auto g = SkinStyle::createGraphics (image);
    const juce::Rectangle<float> body (3.0f, 3.0f, 94.0f, 30.0f);

    juce::Path outline;
    outline.addRoundedRectangle (body, 6.0f);

    juce::Colour line, text;

    switch (lamp)
    {
        case Lamp::off:
            line = juce::Colour (0xff44474d);
            text = juce::Colour (0xff73777e);
            break;

        case Lamp::half:
            SkinStyle::drawGlow (*g, outline, SkinStyle::accent, 5.0f, 3);
            line = juce::Colour (0xff97302a);
            text = juce::Colour (0xffb9bcc1);
            break;

        case Lamp::on:
            SkinStyle::drawGlow (*g, outline, SkinStyle::accentBright, 8.0f, 5);
            line = SkinStyle::accentBright;
            text = juce::Colours::white;
            break;
    }

    g->setColour (juce::Colours::black.withAlpha (0.6f));
    g->strokePath (outline, juce::PathStrokeType (1.6f), juce::AffineTransform::translation (0.0f, 0.8f));
    g->setColour (line);
    g->strokePath (outline, juce::PathStrokeType (1.6f));

    g->setFont (SkinStyle::legendFont (15.0f).withExtraKerningFactor (0.14f));
    g->setColour (text);
    g->drawText (caption, body, juce::Justification::centred, false);
    return image;
}
