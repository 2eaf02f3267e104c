// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SimpleImageButton.h"

/** A button that is only its caption. */
class SimpleTextButton : public SimpleImageButton
{
public:
    explicit SimpleTextButton (juce::StringRef caption);
    ~SimpleTextButton() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SimpleTextButton)
};
