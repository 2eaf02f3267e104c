// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimpleTextButton.h"

SimpleTextButton::SimpleTextButton (juce::StringRef caption)
    : SimpleImageButton (juce::Image(), juce::Image())
{
    text = caption;
    repaint();
}

SimpleTextButton::~SimpleTextButton() = default;
