// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BusySpinner.h"
#include "iStatusDisplay.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The translucent status layer over the whole editor while the service is
    busy, disconnected or in error: one or two lines of text in a dark box, a
    busy spinner and a progress bar.

    While visible it covers and blocks the controls below it, and it takes the
    keyboard focus when shown so that no field underneath keeps receiving keys.
    Its owner gives it its bounds and its visibility and drives it through
    iStatusDisplay.
*/
class OverlayComponent : public juce::Component,
                         public virtual iStatusDisplay
{
public:
    OverlayComponent();
    ~OverlayComponent() override;

    void paint (juce::Graphics&) override;
    void resized() override;

    void showBusy (bool busy) override;
    void setStatusText (const juce::String& text, bool isError) override;
    void show (bool visible) override;
    void setProgress (double progress) override;

    const juce::String& getFirstLine() const noexcept { return line1; }
    const juce::String& getSecondLine() const noexcept { return line2; }
    double getProgress() const noexcept { return progress; }
    bool isFocusPending() const noexcept { return focusOnNextPaint; }

    const BusySpinner& getSpinner() const noexcept { return spinner; }
    const juce::ProgressBar& getProgressBar() const noexcept { return progressBar; }

    /** Text heights of the two lines; the owner may change them once after
        construction, and they apply from the next paint. */
    float line1FontHeight = 24.0f;
    float line2FontHeight = 12.0f;

private:
    BusySpinner spinner;
    juce::String line1;
    juce::String line2;

    // Declared before the bar, which reads it as soon as it is built.
    double progress = -1.0;
    juce::ProgressBar progressBar { progress };

    int boxWidth = 400;
    int progressBarWidth = 300;
    int progressBarHeight = 10;
    int boxHeight = 200;
    int textOffset = 50;
    int spinnerSize = 48;
    bool focusOnNextPaint = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OverlayComponent)
};
