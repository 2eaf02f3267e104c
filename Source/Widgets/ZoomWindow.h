// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/** The editor's one top-level window.

    It has no native title bar (the content draws its own drag bar and window
    buttons), resizes freely between its limits while keeping the aspect ratio
    it was created with, and scales its content instead of laying it out again
    (see ContentZoom). toggleZoom() switches between the largest aspect-correct
    size that fits the main display and the size before.

    Position, size and zoom state are read from the settings file when the
    window is created and written back when it is destroyed; the file's owner
    saves it. Message thread only.
*/
class ZoomWindow : public juce::ResizableWindow
{
public:
    /** Takes ownership of content. settings may be null: then nothing is
        restored or saved. */
    ZoomWindow (const juce::String& name,
                juce::PropertiesFile* settings,
                juce::Component* content,
                juce::Colour backgroundColour,
                int width, int height,
                int minWidth, int minHeight);

    ~ZoomWindow() override;

    void resized() override;

    /** Zooms to the main display, or back to the bounds before the zoom. */
    void toggleZoom();

    void minimise();

    bool isMaximised() const noexcept { return maximised; }
    juce::Rectangle<int> getBoundsBeforeMaximise() const noexcept { return boundsBeforeMaximise; }

    //==============================================================================
    /** The bounds a zoom gives a window at current: the largest size of the
        window's aspect ratio that fits the display, moved back inside it when it
        would stick out. */
    static juce::Rectangle<int> zoomedBounds (juce::Rectangle<int> current,
                                              double aspectRatio,
                                              double displayAspectRatio,
                                              juce::Rectangle<int> displayArea);

    /** The display's total area, or fallback when the system reports no display. */
    static juce::Rectangle<int> displayAreaOr (const juce::Displays::Display* display,
                                               juce::Rectangle<int> fallback);

    /** True when bounds overlap one of the displays, or when there are none to
        judge against. */
    static bool liesOnAnyDisplay (juce::Rectangle<int> bounds,
                                  const juce::Array<juce::Displays::Display>& displays);

private:
    juce::Rectangle<int> mainDisplayArea (juce::Rectangle<int> fallback) const;
    juce::Rectangle<int> clampedToLimits (juce::Rectangle<int> bounds);
    juce::Rectangle<int> centredOnMainDisplay (juce::Rectangle<int> bounds) const;
    void restoreBounds (int x, int y, int width, int height);
    void writeSettings() const;

    juce::PropertiesFile* settings;
    std::unique_ptr<juce::Component> content;
    juce::Rectangle<int> boundsBeforeMaximise;
    bool maximised = false;
    bool zoomInProgress = false;
    double aspectRatio = 1.0;
    double displayAspectRatio = 1.0;

    // Used when no display is reported at all.
    juce::Rectangle<int> creationArea;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ZoomWindow)
};
