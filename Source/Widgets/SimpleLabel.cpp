// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimpleLabel.h"

SimpleLabel::SimpleLabel (juce::StringRef caption)
    : SimpleTextButton (caption)
{
}

SimpleLabel::~SimpleLabel() = default;
