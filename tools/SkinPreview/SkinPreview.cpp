// SPDX-License-Identifier: GPL-3.0-or-later
#include "SkinPreview.h"

#include "QuorbelSkin.h"

namespace
{
struct BlockLook
{
    const char* label;
    float hue, saturation;
};

// Display order GTE, CMP, BST, AMP, EQ, ECO, REV, CAB.
const BlockLook blocks[8] = { { "GTE", 0.5625f, 1.0f }, { "CMP", 0.625f, 0.7f }, { "BST", 0.125f, 1.0f }, { "AMP", 0.0f, 1.0f },
                              { "EQ", 1.0f, 1.0f },     { "ECO", 0.8125f, 1.0f }, { "REV", 0.25f, 1.0f }, { "CAB", 0.0625f, 1.0f } };
const bool blockLit[8] = { true, false, true, true, false, true, true, true };

juce::Image skin (QuorbelSkin::ImageID id)
{
    return QuorbelSkin::getImage (id);
}
} // namespace

//==============================================================================
void SkinPreview::drawImageFitted (juce::Graphics& g, const juce::Image& image, juce::Rectangle<int> b, juce::RectanglePlacement placement)
{
    if (image.isValid())
        g.drawImageWithin (image, b.getX(), b.getY(), b.getWidth(), b.getHeight(), placement, false);
}

void SkinPreview::drawButton (juce::Graphics& g, const juce::Image& image, juce::Rectangle<int> b, const juce::String& text,
                              juce::Colour colour, const juce::Font& font, juce::Justification justification)
{
    juce::Graphics::ScopedSaveState state (g);
    g.reduceClipRegion (b);
    drawImageFitted (g, image, b, juce::RectanglePlacement::fillDestination);

    if (text.isNotEmpty())
    {
        g.setColour (colour);
        g.setFont (font);
        g.drawFittedText (text, b, justification, 2, 0.0f);
    }
}

void SkinPreview::drawKnob (juce::Graphics& g, const juce::Image& strip, juce::Rectangle<int> b, double value)
{
    if (strip.isNull())
        return;

    const int frames = QuorbelSkin::kFilmStripFrames;
    const int frameWidth = strip.getWidth();
    const int frameHeight = strip.getHeight() / frames;
    const int frame = (int) ((frames - 1) * juce::jlimit (0.0, 1.0, value) + 0.5);

    const float a = (float) frameHeight / (float) frameWidth;
    const float c = (float) b.getHeight() / (float) b.getWidth();
    int w = b.getWidth(), h = b.getHeight();

    if (a > c)
        w = (int) ((float) h / a);
    else
        h = (int) (a * (float) w);

    g.drawImage (strip, b.getX() + (b.getWidth() - w) / 2, b.getY() + (b.getHeight() - h) / 2, w, h, 0, frame * frameHeight, frameWidth, frameHeight);
}

juce::Image SkinPreview::tint (const juce::Image& image, juce::Colour colour)
{
    if (image.isNull())
        return {};

    juce::Image copy = image.createCopy();
    juce::Image::BitmapData pixels (copy, juce::Image::BitmapData::readWrite);

    for (int y = 0; y < copy.getHeight(); ++y)
    {
        for (int x = 0; x < copy.getWidth(); ++x)
        {
            const auto p = pixels.getPixelColour (x, y);
            pixels.setPixelColour (x, y, juce::Colour::fromFloatRGBA (p.getFloatRed() * colour.getFloatRed(), p.getFloatGreen() * colour.getFloatGreen(),
                                                                      p.getFloatBlue() * colour.getFloatBlue(), p.getFloatAlpha()));
        }
    }

    return copy;
}

//==============================================================================
void SkinPreview::drawTopBar (juce::Graphics& g, Page page)
{
    struct PageButton
    {
        const char* text;
        juce::Rectangle<int> bounds;
        bool on;
    };

    const PageButton buttons[] = { { "FOOTSWITCHES", { 190, 17, 190, 20 }, page == Page::footswitches },
                                   { "GLOBALS", { 70, 17, 120, 20 }, false },
                                   { "FILE", { 0, 17, 70, 20 }, false },
                                   { "ABOUT", { 380, 17, 100, 20 }, page == Page::about } };

    for (const auto& b : buttons)
        drawButton (g, {}, b.bounds, b.text, b.on ? juce::Colour (0xffeeeeee) : juce::Colour (0xff333333), juce::Font (28.0f),
                    juce::Justification::centred);

    drawImageFitted (g, skin (QuorbelSkin::MaximizeOff), { 493, 7, 36, 36 }, juce::RectanglePlacement::fillDestination);
    drawImageFitted (g, skin (QuorbelSkin::MinimizeOff), { 537, 7, 36, 36 }, juce::RectanglePlacement::fillDestination);
    drawImageFitted (g, skin (QuorbelSkin::CloseOn), { 581, 7, 36, 36 }, juce::RectanglePlacement::fillDestination);
}

void SkinPreview::drawAmpSection (juce::Graphics& g)
{
    const double values[2][4] = { { 0.0, 0.35, 0.5, 0.72 }, { 1.0, 0.6, 0.25, 0.85 } };

    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 4; ++column)
            drawKnob (g, skin (QuorbelSkin::LargeDialFilm), { 21 + 149 * column, 80 + 185 * row, 136, 136 }, values[row][column]);

    const QuorbelSkin::ImageID positions[3] = { QuorbelSkin::SwitchUp, QuorbelSkin::SwitchCenter, QuorbelSkin::SwitchDown };

    for (int i = 0; i < 3; ++i)
        drawImageFitted (g, skin (positions[i]), { 142 + 150 * i, 193, 40, 104 }, juce::RectanglePlacement (0));

    drawImageFitted (g, skin (QuorbelSkin::FXRedLine), { 29, 515, 566, 4 }, juce::RectanglePlacement::stretchToFit);
}

void SkinPreview::drawBlockRow (juce::Graphics& g, int selected)
{
    const juce::Image off = skin (QuorbelSkin::FXBlockOff);
    const juce::Image on = skin (QuorbelSkin::FXBlockOn);

    for (int i = 0; i < 8; ++i)
    {
        const int d = i == selected ? 3 : -3;
        const int x = 36 + (int) ((float) i * 70.14286f) - d;
        const juce::Rectangle<int> bounds (x, 487 - d, 60 + 2 * d, 60 + 2 * d);
        const auto colour = juce::Colour (blocks[i].hue, blocks[i].saturation, 0.9f, 1.0f);
        drawButton (g, blockLit[i] ? tint (on, colour) : off, bounds, blocks[i].label,
                    blockLit[i] ? juce::Colour (0xff222222) : juce::Colour (0xff9b9b9b), juce::Font (20.0f, juce::Font::bold),
                    juce::Justification::centred);
    }
}

void SkinPreview::drawEffectPanel (juce::Graphics& g)
{
    // The boost panel, as the panel builder lays it out, inside the viewport
    // at (36, 557): title, four knobs, then the boost type readout.
    juce::Graphics::ScopedSaveState state (g);
    g.reduceClipRegion (36, 557, 559, 296);
    g.setOrigin (36, 557);

    const auto grey = juce::Colour (0xff959595);
    drawButton (g, {}, { 0, 0, 551, 48 }, "BOOST", juce::Colour (0xffdfdfdf), juce::Font (30.0f), juce::Justification::centred);

    struct Knob
    {
        const char* caption;
        const char* value;
        double position;
    };

    const Knob knobs[4] = { { "DRIVE", "72 %", 0.72 }, { "TONE", "40 %", 0.4 }, { "LEVEL", "-6.0 dB", 0.5 }, { "POSTLVL", "0.0 dB", 0.67 } };
    const int y = 59;

    for (int column = 0; column < 4; ++column)
    {
        const int x = column * 141;
        drawButton (g, {}, { x - 11, y + 138, 148, 52 }, knobs[column].caption, grey, juce::Font (24.0f), juce::Justification::centredTop);
        drawKnob (g, skin (QuorbelSkin::FXDialsFilm), { x - 6, y, 146, 156 }, knobs[column].position);
        g.setColour (grey);
        g.setFont (juce::Font (18.0f));
        g.drawText (knobs[column].value, juce::Rectangle<int> (x + 9, y + 111, 108, 32), juce::Justification::centred, true);
    }

    const int readoutY = y + 176;
    drawButton (g, skin (QuorbelSkin::FXReadout), { 136, readoutY, 274, 52 }, "SCREAMER", juce::Colour (0xffdfdfdf), juce::Font (24.0f),
                juce::Justification::centred);
    drawImageFitted (g, skin (QuorbelSkin::ReadoutArrowLeftOff), { 358, readoutY + 13, 20, 26 }, juce::RectanglePlacement::fillDestination);
    drawImageFitted (g, skin (QuorbelSkin::ReadoutArrowRightOn), { 381, readoutY + 13, 20, 26 }, juce::RectanglePlacement::fillDestination);
}

void SkinPreview::drawFootswitchPage (juce::Graphics& g)
{
    const QuorbelSkin::ImageID icons[8] = { QuorbelSkin::GTEGreyedOut, QuorbelSkin::CMPGreyedOut, QuorbelSkin::BSTGreyedOut, QuorbelSkin::AMPGreyedOut,
                                            QuorbelSkin::EQGreyedOut,  QuorbelSkin::ECOGreyedOut, QuorbelSkin::REVGreyedOut, QuorbelSkin::CABGreyedOut };
    const QuorbelSkin::ImageID states[3] = { QuorbelSkin::NotAssigned, QuorbelSkin::Assigned, QuorbelSkin::Invert };
    const int assignment[8] = { 0, 1, 0, 2, 0, 1, 1, 0 };

    drawButton (g, {}, { 137, 566, 350, 32 }, "FOOTSWITCH ASSIGN", juce::Colour (0xffdfdfdf), juce::Font (30.0f), juce::Justification::centred);

    for (int i = 0; i < 8; ++i)
    {
        drawImageFitted (g, skin (icons[i]), { 38 + 70 * i, 625, 56, 56 }, juce::RectanglePlacement::stretchToFit);
        drawImageFitted (g, skin (states[assignment[i]]), { 50 + 70 * i, 696, 32, 32 }, juce::RectanglePlacement::fillDestination);
    }

    const char* legend[3] = { "NOT ASSIGNED", "ASSIGNED", "INVERT" };
    const int imageX[3] = { 132, 296, 459 };
    const int labelX[3] = { 66, 230, 393 };

    for (int i = 0; i < 3; ++i)
    {
        drawImageFitted (g, skin (states[i]), { imageX[i], 778, 32, 32 }, juce::RectanglePlacement::stretchToFit);
        drawButton (g, {}, { labelX[i], 814, 164, 32 }, legend[i], juce::Colour (0xffdfdfdf), juce::Font (24.0f), juce::Justification::centred);
    }
}

//==============================================================================
juce::Image SkinPreview::render (Page page, float scale)
{
    juce::Image image (juce::Image::ARGB, juce::roundToInt (624 * scale), juce::roundToInt (890 * scale), true);
    juce::Graphics g (image);
    g.addTransform (juce::AffineTransform::scale (scale));
    g.setImageResamplingQuality (juce::Graphics::highResamplingQuality);

    drawImageFitted (g, skin (page == Page::about ? QuorbelSkin::BoxAboutBackground : QuorbelSkin::BoxBackground), { 0, 0, 624, 890 },
                     juce::RectanglePlacement::stretchToFit);
    drawAmpSection (g);
    drawBlockRow (g, 3);

    switch (page)
    {
        case Page::main:
            drawEffectPanel (g);
            break;

        case Page::footswitches:
            drawFootswitchPage (g);
            break;

        case Page::about:
            drawButton (g, {}, { 40, 674, 220, 140 }, "Editor Version: 3.3.2.1\nFirmware Version: (unknown)\n", juce::Colour (0xff959595),
                        juce::Font (18.0f), juce::Justification::centred);
            break;
    }

    drawTopBar (g, page);
    return image;
}
