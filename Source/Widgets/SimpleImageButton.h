// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/** A button drawn from a normal and a down image, with an optional caption.

    It never changes its shown state on a click: it reports the click and its
    owner sets isOn when the pedal confirms the change. Only the press itself
    shows while the mouse is held (unless showsPressedState is cleared).
*/
class SimpleImageButton : public juce::Component
{
public:
    SimpleImageButton (const juce::Image& normalImage, const juce::Image& downImage);

    /** One image for both states. */
    explicit SimpleImageButton (const juce::Image& image);

    ~SimpleImageButton() override;

    void mouseDown (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;
    void mouseDoubleClick (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;

    /** One colour for the caption in both states. */
    void setTextColour (juce::Colour colour);
    void setTextColours (juce::Colour normal, juce::Colour on);
    void setFont (const juce::Font& newFont);

    /** True while drawn in the down state. */
    bool isDown() const noexcept { return isOn || (isPressed && showsPressedState); }

    std::function<void()> onClick;
    std::function<void()> onDoubleClick;

    juce::Image normalImage;
    juce::Image downImage;

    /** When false a press keeps the normal look. */
    bool showsPressedState = true;

    /** Set by the owner to draw the down state (selected page, lit block). */
    bool isOn = false;

    /** True between mouse down and mouse up. */
    bool isPressed = false;

    juce::String text;
    juce::Colour textColour;
    juce::Colour textColourOn;
    juce::Font font;
    juce::Justification justification { juce::Justification::centred };

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SimpleImageButton)
};
