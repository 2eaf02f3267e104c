// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The editor window's three pages built from the real widgets over the
    loaded skin (QuorbelSkin), at the positions the main component and the
    panel builder give them: top bar, amp knobs, switches, block buttons, an
    effect panel in its viewport, the footswitch-assign page and the About
    page. For judging the artwork in place; it sends nothing anywhere.
*/
class SkinPreview : public juce::Component
{
public:
    enum class Page { main, about, footswitches };

    explicit SkinPreview (Page page);
    ~SkinPreview() override;

    /** A snapshot of the page at scale times the window's size. */
    static juce::Image render (Page page, float scale);

private:
    juce::Component& add (std::unique_ptr<juce::Component> component, juce::Rectangle<int> bounds, juce::Component* parent = nullptr);

    void addTopBar (Page page);
    void addAmpSection();
    void addBlockRow (int selected);
    void addEffectPanel();
    void addFootswitchPage();
    void addAboutText();

    static juce::Image tint (const juce::Image& image, juce::Colour colour);

    juce::OwnedArray<juce::Component> components;
    juce::Component panelContent;
    juce::Viewport viewport;
    juce::Component footswitchLayer;
};
