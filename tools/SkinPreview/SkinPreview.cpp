// SPDX-License-Identifier: GPL-3.0-or-later
#include "SkinPreview.h"

#include "FilmStripKnob.h"
#include "MultiImageButton.h"
#include "MultiToggleSwitch.h"
#include "QuorbelSkin.h"
#include "SimpleEditLabel.h"
#include "SimpleLabel.h"
#include "SimpleTextButton.h"
#include "StaticImage.h"

namespace
{
struct BlockLook
{
    const char* label;
    float hue, saturation;
    bool lit;
};

// Display order GTE, CMP, BST, AMP, EQ, ECO, REV, CAB.
const BlockLook blocks[8] = { { "GTE", 0.5625f, 1.0f, true }, { "CMP", 0.625f, 0.7f, false }, { "BST", 0.125f, 1.0f, true },
                              { "AMP", 0.0f, 1.0f, true },    { "EQ", 1.0f, 1.0f, false },    { "ECO", 0.8125f, 1.0f, true },
                              { "REV", 0.25f, 1.0f, true },   { "CAB", 0.0625f, 1.0f, true } };

juce::Image skin (QuorbelSkin::ImageID id)
{
    return QuorbelSkin::getImage (id);
}

std::unique_ptr<SimpleLabel> label (const juce::String& text, juce::Colour colour, float height, juce::Justification justification)
{
    auto l = std::make_unique<SimpleLabel> (text);
    l->setTextColour (colour);
    l->setFont (juce::Font (height));
    l->justification = justification;
    return l;
}
} // namespace

//==============================================================================
SkinPreview::SkinPreview (Page page)
{
    add (std::make_unique<StaticImage> (skin (page == Page::about ? QuorbelSkin::BoxAboutBackground : QuorbelSkin::BoxBackground)),
         { 0, 0, 624, 890 });

    addAmpSection();
    addBlockRow (3);

    switch (page)
    {
        case Page::main:         addEffectPanel(); break;
        case Page::footswitches: addFootswitchPage(); break;
        case Page::about:        addAboutText(); break;
    }

    addTopBar (page);
    setSize (624, 890);
}

SkinPreview::~SkinPreview()
{
    viewport.setViewedComponent (nullptr, false);
    panelContent.deleteAllChildren();
    footswitchLayer.deleteAllChildren();
}

juce::Component& SkinPreview::add (std::unique_ptr<juce::Component> component, juce::Rectangle<int> bounds, juce::Component* parent)
{
    component->setBounds (bounds);

    if (parent != nullptr)
    {
        parent->addAndMakeVisible (*component);
        return *component.release();   // owned by the parent's deleteAllChildren
    }

    addAndMakeVisible (*component);
    return *components.add (component.release());
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
void SkinPreview::addTopBar (Page page)
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
    {
        auto button = std::make_unique<SimpleTextButton> (b.text);
        button->setTextColours (juce::Colour (0xff333333), juce::Colour (0xffeeeeee));
        button->setFont (juce::Font (28.0f));
        button->isOn = b.on;
        add (std::move (button), b.bounds);
    }

    add (std::make_unique<SimpleImageButton> (skin (QuorbelSkin::MaximizeOff), skin (QuorbelSkin::MaximizeOn)), { 493, 7, 36, 36 });
    add (std::make_unique<SimpleImageButton> (skin (QuorbelSkin::MinimizeOff), skin (QuorbelSkin::MinimizeOn)), { 537, 7, 36, 36 });
    auto close = std::make_unique<SimpleImageButton> (skin (QuorbelSkin::CloseOff), skin (QuorbelSkin::CloseOn));
    close->isOn = true;   // as if pressed, to show the lit image
    add (std::move (close), { 581, 7, 36, 36 });
}

void SkinPreview::addAmpSection()
{
    const double values[2][4] = { { 0.0, 0.35, 0.5, 0.72 }, { 1.0, 0.6, 0.25, 0.85 } };

    for (int row = 0; row < 2; ++row)
    {
        for (int column = 0; column < 4; ++column)
        {
            auto knob = std::make_unique<FilmStripKnob>();
            knob->setImage (skin (QuorbelSkin::LargeDialFilm), 1, QuorbelSkin::kFilmStripFrames, -1);
            knob->setValue (values[row][column]);
            add (std::move (knob), { 21 + 149 * column, 80 + 185 * row, 136, 136 });
        }
    }

    const int positions[3] = { 0, 1, 2 };

    for (int i = 0; i < 3; ++i)
    {
        auto toggle = std::make_unique<MultiToggleSwitch> (std::vector<MultiToggleSwitch::Segment> {
            { skin (QuorbelSkin::SwitchUp), 1.0f }, { skin (QuorbelSkin::SwitchCenter), 1.0f }, { skin (QuorbelSkin::SwitchDown), 1.0f } });
        toggle->currentIndex = positions[i];
        add (std::move (toggle), { 142 + 150 * i, 193, 40, 104 });
    }

    add (std::make_unique<StaticImage> (skin (QuorbelSkin::FXRedLine)), { 29, 515, 566, 4 });
}

void SkinPreview::addBlockRow (int selected)
{
    for (int i = 0; i < 8; ++i)
    {
        const auto colour = juce::Colour (blocks[i].hue, blocks[i].saturation, 0.9f, 1.0f);
        auto button = std::make_unique<SimpleImageButton> (skin (QuorbelSkin::FXBlockOff), tint (skin (QuorbelSkin::FXBlockOn), colour));
        button->showsPressedState = false;
        button->text = blocks[i].label;
        button->setTextColours (juce::Colour (0xff9b9b9b), juce::Colour (0xff222222));
        button->setFont (juce::Font (20.0f, juce::Font::bold));
        button->isOn = blocks[i].lit;

        const int d = i == selected ? 3 : -3;
        const int x = 36 + (int) ((float) i * 70.14286f) - d;
        add (std::move (button), { x, 487 - d, 60 + 2 * d, 60 + 2 * d });
    }
}

void SkinPreview::addEffectPanel()
{
    // The boost panel as the panel builder lays it out: title, four knobs,
    // then the boost type readout with its arrows.
    panelContent.setBounds (0, 0, 551, 296);
    viewport.setScrollBarsShown (true, false, true, false);
    viewport.setScrollBarThickness (8);
    viewport.setViewedComponent (&panelContent, false);
    viewport.getVerticalScrollBar().setColour (juce::ScrollBar::thumbColourId, juce::Colour (0xffcf1818));
    viewport.setBounds (36, 557, 567, 296);
    addAndMakeVisible (viewport);

    const auto grey = juce::Colour (0xff959595);
    add (label ("BOOST", juce::Colour (0xffdfdfdf), 30.0f, juce::Justification::centred), { 0, 0, 551, 48 }, &panelContent);

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
        add (label (knobs[column].caption, grey, 24.0f, juce::Justification::centredTop), { x - 11, y + 138, 148, 52 }, &panelContent);

        auto knob = std::make_unique<FilmStripKnob>();
        knob->setImage (skin (QuorbelSkin::FXDialsFilm), 1, QuorbelSkin::kFilmStripFrames, -1);
        knob->setValue (knobs[column].position);
        add (std::move (knob), { x - 6, y, 146, 156 }, &panelContent);

        auto value = std::make_unique<SimpleEditLabel>();
        value->setTextColour (grey);
        value->setFont (juce::Font (18.0f));
        value->lastText = knobs[column].value;
        value->setText (knobs[column].value, juce::dontSendNotification);
        add (std::move (value), { x + 9, y + 111, 108, 32 }, &panelContent);
    }

    const int readoutY = y + 176;
    auto readout = std::make_unique<SimpleImageButton> (skin (QuorbelSkin::FXReadout));
    readout->text = "SCREAMER";
    readout->setTextColour (juce::Colour (0xffdfdfdf));
    readout->setFont (juce::Font (24.0f));
    add (std::move (readout), { 136, readoutY, 274, 52 }, &panelContent);
    add (std::make_unique<SimpleImageButton> (skin (QuorbelSkin::ReadoutArrowLeftOff), skin (QuorbelSkin::ReadoutArrowLeftOn)),
         { 358, readoutY + 13, 20, 26 }, &panelContent);
    auto right = std::make_unique<SimpleImageButton> (skin (QuorbelSkin::ReadoutArrowRightOff), skin (QuorbelSkin::ReadoutArrowRightOn));
    right->isOn = true;   // as if pressed
    add (std::move (right), { 381, readoutY + 13, 20, 26 }, &panelContent);
}

void SkinPreview::addFootswitchPage()
{
    footswitchLayer.setBounds (36, 557, 551, 296);
    addAndMakeVisible (footswitchLayer);
    const juce::Point<int> origin (36, 557);

    const QuorbelSkin::ImageID icons[8] = { QuorbelSkin::GTEGreyedOut, QuorbelSkin::CMPGreyedOut, QuorbelSkin::BSTGreyedOut, QuorbelSkin::AMPGreyedOut,
                                            QuorbelSkin::EQGreyedOut,  QuorbelSkin::ECOGreyedOut, QuorbelSkin::REVGreyedOut, QuorbelSkin::CABGreyedOut };
    const std::vector<juce::Image> states { skin (QuorbelSkin::NotAssigned), skin (QuorbelSkin::Assigned), skin (QuorbelSkin::Invert) };
    const int assignment[8] = { 0, 1, 0, 2, 0, 1, 1, 0 };

    add (label ("FOOTSWITCH ASSIGN", juce::Colour (0xffdfdfdf), 30.0f, juce::Justification::centred), { 101, 9, 350, 32 }, &footswitchLayer);

    for (int i = 0; i < 8; ++i)
    {
        add (std::make_unique<StaticImage> (skin (icons[i])), juce::Rectangle<int> (38 + 70 * i, 625, 56, 56) - origin, &footswitchLayer);
        auto button = std::make_unique<MultiImageButton> (states);
        button->currentIndex = assignment[i];
        add (std::move (button), juce::Rectangle<int> (50 + 70 * i, 696, 32, 32) - origin, &footswitchLayer);
    }

    const char* legend[3] = { "NOT ASSIGNED", "ASSIGNED", "INVERT" };
    const int imageX[3] = { 132, 296, 459 };
    const int labelX[3] = { 66, 230, 393 };

    for (int i = 0; i < 3; ++i)
    {
        add (std::make_unique<StaticImage> (states[(size_t) i]), juce::Rectangle<int> (imageX[i], 778, 32, 32) - origin, &footswitchLayer);
        add (label (legend[i], juce::Colour (0xffdfdfdf), 24.0f, juce::Justification::centred), juce::Rectangle<int> (labelX[i], 814, 164, 32) - origin,
             &footswitchLayer);
    }
}

void SkinPreview::addAboutText()
{
    add (label ("Editor Version: 3.3.2.1\nFirmware Version: (unknown)\n", juce::Colour (0xff959595), 18.0f, juce::Justification::centred),
         { 40, 674, 220, 140 });
}

//==============================================================================
juce::Image SkinPreview::render (Page page, float scale)
{
    SkinPreview preview (page);
    return preview.createComponentSnapshot (preview.getLocalBounds(), true, scale);
}
