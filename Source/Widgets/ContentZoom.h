// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Shows a component that was laid out once at a fixed design size at whatever
    size this wrapper is given, by scaling it uniformly from its top-left corner.

    The window resizes this wrapper; the wrapped component keeps its design size
    and only its transform changes, so it never has to lay itself out again. The
    wrapped component is not owned.
*/
class ContentZoom : public juce::Component
{
public:
    explicit ContentZoom (juce::Component* content);
    ~ContentZoom() override;

    void paint (juce::Graphics&) override;
    void resized() override;

private:
    juce::Component* content;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ContentZoom)
};
