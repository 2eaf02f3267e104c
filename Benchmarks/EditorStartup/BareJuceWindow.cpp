// SPDX-License-Identifier: GPL-3.0-or-later
// The reference for the editor's start-up time: a window of the editor's size
// and kind (no native title bar, black background) that paints one frame of
// text, built with the same JUCE libraries and settings as the editor.
#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
class Content : public juce::Component
{
public:
    Content() { setSize (416, 593); }

    void paint (juce::Graphics& g) override
    {
        g.fillAll (juce::Colour (0xff202020));
        g.setColour (juce::Colours::white);
        g.setFont (24.0f);
        g.drawText ("Bare JUCE Window", getLocalBounds(), juce::Justification::centred);
    }
};

class BareWindowApplication : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override { return "Bare JUCE Window"; }
    const juce::String getApplicationVersion() override { return "1.0"; }
    bool moreThanOneInstanceAllowed() override { return true; }

    void initialise (const juce::String&) override
    {
        window = std::make_unique<juce::ResizableWindow> ("Bare JUCE Window", juce::Colours::black, true);
        window->setUsingNativeTitleBar (false);
        window->setContentOwned (new Content(), true);
        window->centreWithSize (416, 593);
        window->setVisible (true);
    }

    void shutdown() override { window = nullptr; }

private:
    std::unique_ptr<juce::ResizableWindow> window;
};
} // namespace

START_JUCE_APPLICATION (BareWindowApplication)
