// SPDX-License-Identifier: GPL-3.0-or-later
#include "ZoomWindow.h"

#include "ContentZoom.h"

namespace
{
    constexpr int kNoPosition = -100;

    // A position this far out is on no display; clamping to it keeps the
    // rectangle arithmetic of a hand-edited settings file from overflowing.
    constexpr int kFarAway = 1 << 24;

    int clampedPosition (int value)
    {
        return juce::jlimit (-kFarAway, kFarAway, value);
    }
}

//==============================================================================
ZoomWindow::ZoomWindow (const juce::String& name,
                        juce::PropertiesFile* settingsFile,
                        juce::Component* contentComponent,
                        juce::Colour backgroundColour,
                        int width, int height,
                        int minWidth, int minHeight)
    : juce::ResizableWindow (name, backgroundColour, true),
      settings (settingsFile),
      content (contentComponent),
      creationArea (0, 0, width, height)
{
    setUsingNativeTitleBar (false);
    setResizable (true, true);

    // Without a reported display the window's own size stands in for it, so the
    // window can shrink to its minimum but not grow.
    const auto display = mainDisplayArea (creationArea);

    // A display smaller than the minimum size must not leave the limits inverted.
    const int maxWidth = juce::jmax (minWidth, juce::jmin (2 * width, display.getWidth()));
    const int maxHeight = juce::jmax (minHeight, juce::jmin (2 * height, display.getHeight()));

    aspectRatio = (double) width / (double) juce::jmax (height, 1);
    displayAspectRatio = (double) display.getWidth() / (double) juce::jmax (display.getHeight(), 1);

    setResizeLimits (minWidth, minHeight, maxWidth, maxHeight);
    setSize (width, height);

    if (auto* constrainer = getConstrainer())
        constrainer->setFixedAspectRatio ((double) (float) aspectRatio);

    setContentOwned (new ContentZoom (content.get()), true);

    int x = kNoPosition, y = kNoPosition, savedWidth = width, savedHeight = height;

    if (settings != nullptr)
    {
        x = settings->getIntValue ("windowX", kNoPosition);
        y = settings->getIntValue ("windowY", kNoPosition);
        savedWidth = settings->getIntValue ("windowWidth", width);
        savedHeight = settings->getIntValue ("windowHeight", height);
        maximised = settings->getIntValue ("isMaximized", 0) != 0;

        if (maximised)
        {
            const juce::Rectangle<int> before (clampedPosition (settings->getIntValue ("boundsBeforeMaximize_x", 0)),
                                               clampedPosition (settings->getIntValue ("boundsBeforeMaximize_y", 0)),
                                               settings->getIntValue ("boundsBeforeMaximize_w", width),
                                               settings->getIntValue ("boundsBeforeMaximize_h", height));

            // The zoom sets these bounds directly, so an edited file must not
            // be able to send the window off screen or beyond its limits.
            boundsBeforeMaximise = clampedToLimits (before);

            if (! liesOnAnyDisplay (boundsBeforeMaximise, juce::Desktop::getInstance().getDisplays().displays))
                boundsBeforeMaximise = centredOnMainDisplay (boundsBeforeMaximise);
        }
    }

    zoomInProgress = true;
    restoreBounds (x, y, savedWidth, savedHeight);
    zoomInProgress = false;
}

ZoomWindow::~ZoomWindow()
{
    writeSettings();

    // The wrapper goes first: it holds the content as a child it does not own.
    setContentOwned (nullptr, true);
    content.reset();
}

//==============================================================================
void ZoomWindow::resized()
{
    // Any resize the window did not start itself (the user's drag, the system)
    // leaves the zoomed state.
    if (! zoomInProgress)
        maximised = false;

    juce::ResizableWindow::resized();
}

void ZoomWindow::toggleZoom()
{
    const auto display = mainDisplayArea (getBounds());

    zoomInProgress = true;
    const bool wasMaximised = maximised;
    maximised = ! maximised;

    juce::Rectangle<int> target;

    if (! wasMaximised)
    {
        boundsBeforeMaximise = getBounds();
        target = zoomedBounds (getBounds(), aspectRatio, displayAspectRatio, display);
    }
    else
    {
        target = boundsBeforeMaximise;
    }

    // Directly, not through the constrainer: on a large display the zoomed size
    // may exceed what manual resizing allows.
    setBounds (target);
    zoomInProgress = false;
}

void ZoomWindow::minimise()
{
    setMinimised (true);
}

//==============================================================================
juce::Rectangle<int> ZoomWindow::zoomedBounds (juce::Rectangle<int> current,
                                               double aspect,
                                               double displayAspect,
                                               juce::Rectangle<int> displayArea)
{
    int newWidth, newHeight;

    if (aspect > displayAspect)
    {
        newWidth = displayArea.getWidth();
        newHeight = (int) (displayArea.getWidth() / aspect);
    }
    else
    {
        newWidth = (int) (aspect * displayArea.getHeight());
        newHeight = displayArea.getHeight();
    }

    int newX = current.getX();
    int newY = current.getY();

    if (newX + newWidth > displayArea.getWidth())
        newX = displayArea.getWidth() - newWidth;

    if (newY + newHeight > displayArea.getHeight())
        newY = displayArea.getHeight() - newHeight;

    newX = juce::jmax (newX, displayArea.getX());
    newY = juce::jmax (newY, displayArea.getY());

    return { newX, newY, newWidth, newHeight };
}

juce::Rectangle<int> ZoomWindow::displayAreaOr (const juce::Displays::Display* display,
                                                juce::Rectangle<int> fallback)
{
    return display != nullptr ? display->totalArea : fallback;
}

bool ZoomWindow::liesOnAnyDisplay (juce::Rectangle<int> bounds,
                                   const juce::Array<juce::Displays::Display>& displays)
{
    if (displays.isEmpty())
        return true;

    for (const auto& display : displays)
        if (display.totalArea.intersects (bounds))
            return true;

    return false;
}

//==============================================================================
juce::Rectangle<int> ZoomWindow::mainDisplayArea (juce::Rectangle<int> fallback) const
{
    return displayAreaOr (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay(), fallback);
}

juce::Rectangle<int> ZoomWindow::clampedToLimits (juce::Rectangle<int> bounds)
{
    if (auto* constrainer = getConstrainer())
        return bounds.withSize (juce::jlimit (constrainer->getMinimumWidth(), constrainer->getMaximumWidth(), bounds.getWidth()),
                                juce::jlimit (constrainer->getMinimumHeight(), constrainer->getMaximumHeight(), bounds.getHeight()));

    return bounds;
}

juce::Rectangle<int> ZoomWindow::centredOnMainDisplay (juce::Rectangle<int> bounds) const
{
    // The same centring as Component::centreWithSize, which would dereference a
    // missing main display.
    const auto* primary = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay();
    const auto area = primary != nullptr ? primary->userArea : creationArea;

    return { area.getCentreX() - bounds.getWidth() / 2,
             area.getCentreY() - bounds.getHeight() / 2,
             bounds.getWidth(), bounds.getHeight() };
}

void ZoomWindow::restoreBounds (int x, int y, int width, int height)
{
    const auto size = clampedToLimits ({ width, height });

    if (settings != nullptr && x != kNoPosition && y != kNoPosition)
    {
        const auto saved = size.withPosition (clampedPosition (x), clampedPosition (y));

        // The constrainer corrects the size and aspect ratio and keeps the window
        // reachable on the display nearest to it; a position on no display at
        // all (a display since removed) starts centred instead.
        if (liesOnAnyDisplay (saved, juce::Desktop::getInstance().getDisplays().displays))
        {
            setBoundsConstrained (saved);
            return;
        }
    }

    // Not through the constrainer: a saved size keeps its aspect as it was.
    setBounds (centredOnMainDisplay (size));
}

void ZoomWindow::writeSettings() const
{
    if (settings == nullptr)
        return;

    settings->setValue ("windowX", getX());
    settings->setValue ("windowY", getY());
    settings->setValue ("windowWidth", getWidth());
    settings->setValue ("windowHeight", getHeight());
    settings->setValue ("isMaximized", maximised ? 1 : 0);
    settings->setValue ("boundsBeforeMaximize_x", boundsBeforeMaximise.getX());
    settings->setValue ("boundsBeforeMaximize_y", boundsBeforeMaximise.getY());
    settings->setValue ("boundsBeforeMaximize_w", boundsBeforeMaximise.getWidth());
    settings->setValue ("boundsBeforeMaximize_h", boundsBeforeMaximise.getHeight());
}
