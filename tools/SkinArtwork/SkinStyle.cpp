// SPDX-License-Identifier: GPL-3.0-or-later
#include "SkinStyle.h"

const juce::Colour SkinStyle::enclosureTop { 0xff25272c };
const juce::Colour SkinStyle::enclosureBottom { 0xff17181b };
const juce::Colour SkinStyle::stripTop { 0xff80858d };
const juce::Colour SkinStyle::stripBottom { 0xff5d6168 };
const juce::Colour SkinStyle::plateTop { 0xff2e3136 };
const juce::Colour SkinStyle::plateBottom { 0xff202226 };
const juce::Colour SkinStyle::screenTop { 0xff15171a };
const juce::Colour SkinStyle::screenBottom { 0xff0e0f11 };
const juce::Colour SkinStyle::legend { 0xffc9cdd3 };
const juce::Colour SkinStyle::legendDim { 0xff80858c };
const juce::Colour SkinStyle::engraved { 0xff0a0b0c };
const juce::Colour SkinStyle::accent { 0xffd62b20 };
const juce::Colour SkinStyle::accentBright { 0xffff4a38 };

namespace
{
juce::Typeface::Ptr loadTypeface (std::initializer_list<const char*> paths)
{
    for (const char* path : paths)
    {
        juce::MemoryBlock data;

        if (juce::File (path).loadFileAsData (data) && data.getSize() > 0)
            if (auto typeface = juce::Typeface::createSystemTypefaceFor (data.getData(), data.getSize()))
                return typeface;
    }

    return nullptr;
}

juce::Font fontFrom (const juce::Typeface::Ptr& typeface, float height, bool bold)
{
    if (typeface == nullptr)
        return juce::Font (height, bold ? juce::Font::bold : juce::Font::plain);

    return juce::Font (typeface).withHeight (height);
}

// Loaded once, released by releaseTypefaces before the framework shuts down.
struct Typefaces
{
    bool loaded = false;
    juce::Typeface::Ptr condensedBold, bold, plain;

    void load()
    {
        if (loaded)
            return;

        loaded = true;
        condensedBold = loadTypeface ({ "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf",
                                        "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf" });
        bold = loadTypeface ({ "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf" });
        plain = loadTypeface ({ "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf" });
    }
};

Typefaces typefaces;
} // namespace

juce::Font SkinStyle::legendFont (float height)
{
    typefaces.load();
    return fontFrom (typefaces.condensedBold, height, true);
}

juce::Font SkinStyle::brandFont (float height)
{
    typefaces.load();
    return fontFrom (typefaces.bold, height, true);
}

juce::Font SkinStyle::plainFont (float height)
{
    typefaces.load();
    return fontFrom (typefaces.plain, height, false);
}

void SkinStyle::releaseTypefaces()
{
    typefaces = Typefaces();
}

namespace
{
int pixelLength (int length)
{
    return juce::roundToInt ((float) length * SkinStyle::kScale);
}

// The logical length a side of an image was made from. Rounding moved it by
// at most half a pixel, which is less than half a logical pixel at any scale
// of at least 1, so rounding again undoes it.
static_assert (SkinStyle::kScale >= 1.0f);

int logicalLength (int pixels)
{
    return juce::roundToInt ((float) pixels / SkinStyle::kScale);
}

juce::AffineTransform frameTransform (const juce::Image& image, int frame, int frames)
{
    const int frameHeight = image.getHeight() / frames;
    return juce::AffineTransform::scale ((float) image.getWidth() / (float) logicalLength (image.getWidth()),
                                         (float) frameHeight / (float) logicalLength (frameHeight))
        .translated (0.0f, (float) (frame * frameHeight));
}
} // namespace

juce::Image SkinStyle::createImage (int width, int height, int frames)
{
    return juce::Image (juce::Image::ARGB, pixelLength (width), pixelLength (height) * frames, true, juce::SoftwareImageType());
}

std::unique_ptr<juce::Graphics> SkinStyle::createGraphics (juce::Image& image, int frame, int frames)
{
    auto g = std::make_unique<juce::Graphics> (image);
    const int frameHeight = image.getHeight() / frames;
    g->reduceClipRegion (0, frame * frameHeight, image.getWidth(), frameHeight);
    g->addTransform (frameTransform (image, frame, frames));
    g->setImageResamplingQuality (juce::Graphics::highResamplingQuality);
    return g;
}

juce::AffineTransform SkinStyle::toPixels (const juce::Image& image)
{
    return frameTransform (image, 0, 1);
}

void SkinStyle::drawEngravedText (juce::Graphics& g, const juce::String& text, juce::Rectangle<float> area,
                                  juce::Justification justification, juce::Colour colour, juce::Colour shadow)
{
    g.setColour (shadow);
    g.drawText (text, area.translated (0.0f, -0.6f), justification, false);
    g.setColour (juce::Colours::white.withAlpha (0.07f));
    g.drawText (text, area.translated (0.0f, 0.7f), justification, false);
    g.setColour (colour);
    g.drawText (text, area, justification, false);
}

void SkinStyle::drawGlow (juce::Graphics& g, const juce::Path& path, juce::Colour colour, float width, int layers)
{
    for (int i = layers; i >= 1; --i)
    {
        const float t = (float) i / (float) layers;
        g.setColour (colour.withMultipliedAlpha (0.10f * (1.0f - t) + 0.02f));
        g.strokePath (path, juce::PathStrokeType (width * t, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    }
}

void SkinStyle::drawRecess (juce::Graphics& g, juce::Rectangle<float> area, float corner, juce::Colour top, juce::Colour bottom)
{
    // Light lip first, one pixel lower, so it shows only along the bottom edge.
    g.setColour (juce::Colours::white.withAlpha (0.07f));
    g.fillRoundedRectangle (area.translated (0.0f, 1.0f), corner);
    g.setColour (juce::Colours::black.withAlpha (0.85f));
    g.fillRoundedRectangle (area, corner);

    g.setGradientFill (juce::ColourGradient (top, area.getX(), area.getY(), bottom, area.getX(), area.getBottom(), false));
    g.fillRoundedRectangle (area.reduced (0.8f), juce::jmax (0.0f, corner - 0.8f));

    // Shadow cast by the upper edge onto the floor of the recess.
    juce::Graphics::ScopedSaveState state (g);
    juce::Path floor;
    floor.addRoundedRectangle (area.reduced (0.8f), juce::jmax (0.0f, corner - 0.8f));
    g.reduceClipRegion (floor);
    g.setGradientFill (juce::ColourGradient (juce::Colours::black.withAlpha (0.55f), 0.0f, area.getY(),
                                             juce::Colours::transparentBlack, 0.0f, area.getY() + juce::jmin (10.0f, area.getHeight() * 0.4f), false));
    g.fillRect (area);
}

void SkinStyle::drawRaisedRim (juce::Graphics& g, const juce::Path& outline, float width)
{
    const auto bounds = outline.getBounds();
    g.setGradientFill (juce::ColourGradient (juce::Colours::white.withAlpha (0.22f), 0.0f, bounds.getY(),
                                             juce::Colours::black.withAlpha (0.55f), 0.0f, bounds.getBottom(), false));
    g.strokePath (outline, juce::PathStrokeType (width));
}
