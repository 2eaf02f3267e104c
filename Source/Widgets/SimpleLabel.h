// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SimpleTextButton.h"

/** Static text drawn like a caption-only button. Its owner leaves the callbacks
    empty and gives both states one colour, so a press shows nothing. */
class SimpleLabel : public SimpleTextButton
{
public:
    explicit SimpleLabel (juce::StringRef caption);
    ~SimpleLabel() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SimpleLabel)
};
