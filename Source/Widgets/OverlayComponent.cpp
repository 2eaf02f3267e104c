// SPDX-License-Identifier: GPL-3.0-or-later
#include "OverlayComponent.h"

OverlayComponent::OverlayComponent()
{
    progressBar.setColour (juce::ProgressBar::backgroundColourId, juce::Colour (0xff222222));
    progressBar.setColour (juce::ProgressBar::foregroundColourId, juce::Colour (0xff555555));
    progressBar.setPercentageDisplay (false);

    addAndMakeVisible (spinner);
    setWantsKeyboardFocus (true);
    addAndMakeVisible (progressBar);

    setProgress (-1.0);
}

OverlayComponent::~OverlayComponent() = default;

//==============================================================================
void OverlayComponent::resized()
{
    const int w = getWidth();
    const int h = getHeight();

    const int spinnerTop = textOffset / 2 + (h / 2 - spinnerSize / 2);
    spinner.setBounds (w / 2 - spinnerSize / 2, spinnerTop, spinnerSize, spinnerSize);

    // The bar takes the place of the second line: the owner never shows both.
    progressBar.setBounds (w / 2 - progressBarWidth / 2, spinnerTop - 15 - progressBarHeight,
                           progressBarWidth, progressBarHeight);
}

void OverlayComponent::paint (juce::Graphics& g)
{
    const int w = getWidth();
    const int h = getHeight();

    g.fillAll (juce::Colour (0xbb333333));

    const int boxX = w / 2 - boxWidth / 2;
    const int boxY = h / 2 - boxHeight / 2;

    g.setColour (juce::Colour (0xbb000000));
    g.fillRoundedRectangle ((float) boxX, (float) boxY, (float) boxWidth, (float) boxHeight, 32.0f);

    g.setColour (juce::Colour (0xffffffff));

    const auto line1Area = juce::Rectangle<float> ((float) boxX, (float) (boxY - textOffset),
                                                   (float) boxWidth, (float) boxHeight);
    g.setFont (line1FontHeight);
    g.drawFittedText (line1, line1Area.getSmallestIntegerContainer(), juce::Justification::centred, 2);

    g.setFont (line2FontHeight);
    g.drawFittedText (line2, line1Area.translated (0.0f, 35.0f).getSmallestIntegerContainer(),
                      juce::Justification::centred, 2);

    // Taken here rather than in show(): a component can only take the focus
    // once it is on screen, and the first paint is when it is. A paint off
    // screen (a snapshot) leaves the request for the first real one.
    if (focusOnNextPaint && isShowing())
    {
        focusOnNextPaint = false;
        grabKeyboardFocus();
    }
}

//==============================================================================
void OverlayComponent::showBusy (bool busy)
{
    spinner.setVisible (busy);
}

void OverlayComponent::setStatusText (const juce::String& text, bool)
{
    // An error looks the same here; the owner shows it elsewhere.
    const int newline = text.indexOfChar ('\n');

    line1 = newline < 0 ? text : text.substring (0, newline);
    line2 = newline < 0 ? juce::String() : text.substring (newline + 1);
    repaint();
}

void OverlayComponent::show (bool visible)
{
    if (visible)
        focusOnNextPaint = true;

    setVisible (visible);
}

void OverlayComponent::setProgress (double newProgress)
{
    progress = newProgress;

    // A NaN fails the comparison and hides the bar.
    progressBar.setVisible (newProgress >= 0.0);
}
