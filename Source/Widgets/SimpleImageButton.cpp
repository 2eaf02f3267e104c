// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimpleImageButton.h"

SimpleImageButton::SimpleImageButton (const juce::Image& normal, const juce::Image& down)
    : normalImage (normal), downImage (down)
{
}

SimpleImageButton::SimpleImageButton (const juce::Image& image)
    : SimpleImageButton (image, image)
{
}

SimpleImageButton::~SimpleImageButton() = default;

//==============================================================================
void SimpleImageButton::mouseDown (const juce::MouseEvent&)
{
    isPressed = true;
    repaint();
}

void SimpleImageButton::mouseUp (const juce::MouseEvent&)
{
    if (! isPressed)
        return;

    // The click fires on release wherever the pointer is now.
    isPressed = false;
    repaint();

    if (onClick)
        onClick();
}

void SimpleImageButton::mouseDoubleClick (const juce::MouseEvent&)
{
    if (onDoubleClick)
        onDoubleClick();
}

void SimpleImageButton::paint (juce::Graphics& g)
{
    const bool down = isDown();

    g.drawImageWithin (down ? downImage : normalImage, 0, 0, getWidth(), getHeight(),
                       juce::RectanglePlacement::fillDestination, false);

    if (text.isEmpty())
        return;

    g.setColour (down ? textColourOn : textColour);
    g.setFont (font);
    g.drawFittedText (text, 0, 0, getWidth(), getHeight(), justification, 2);
}

//==============================================================================
void SimpleImageButton::setTextColour (juce::Colour colour)
{
    setTextColours (colour, colour);
}

void SimpleImageButton::setTextColours (juce::Colour normal, juce::Colour on)
{
    textColour = normal;
    textColourOn = on;
    repaint();
}

void SimpleImageButton::setFont (const juce::Font& newFont)
{
    font = newFont;
    repaint();
}
