// SPDX-License-Identifier: GPL-3.0-or-later
#include "FilmStripKnob.h"

#include <cmath>
#include <limits>

FilmStripKnob::FilmStripKnob() = default;

FilmStripKnob::~FilmStripKnob() = default;

//==============================================================================
void FilmStripKnob::setImage (const juce::Image& image, int newFramesPerRow, int rows, int frameCount)
{
    // A strip has at least one row and column: a zero here would divide by zero
    // in the frame pick.
    newFramesPerRow = juce::jmax (1, newFramesPerRow);
    rows = juce::jmax (1, rows);

    filmStrip = image;
    framesPerRow = newFramesPerRow;
    frameWidth = image.getWidth() / newFramesPerRow;
    frameHeight = image.getHeight() / rows;

    // More frames than the grid holds would pick cells outside the image and
    // show an empty knob; fewer than one would leave no frame to show.
    const auto cells = (int) juce::jmin ((juce::int64) rows * newFramesPerRow,
                                         (juce::int64) std::numeric_limits<int>::max());
    numFrames = juce::jlimit (1, cells, frameCount < 0 ? cells : frameCount);

    setValue (value);
}

void FilmStripKnob::setValue (double v)
{
    value = v;

    const double norm = normalised (v);
    const int frame = (int) ((numFrames - 1) * norm + 0.5);

    if (framesPerRow > 0)
    {
        frameX = (frame % framesPerRow) * frameWidth;
        frameY = (frame / framesPerRow) * frameHeight;
    }

    repaint();
}

double FilmStripKnob::normalised (double v) const
{
    const double range = maxValue - minValue;
    const double norm = range != 0.0 ? (v - minValue) / range : 0.0;

    // NaN (a broken parameter value) shows the bottom of the range.
    if (std::isnan (norm))
        return 0.0;

    return juce::jlimit (0.0, 1.0, norm);
}

//==============================================================================
void FilmStripKnob::paint (juce::Graphics& g)
{
    if (! filmStrip.isValid() || frameWidth <= 0 || frameHeight <= 0 || getWidth() <= 0 || getHeight() <= 0)
        return;

    // The frame keeps its aspect ratio, centred in the bounds.
    const float a = (float) frameHeight / (float) frameWidth;
    const float b = (float) getHeight() / (float) getWidth();

    int drawnWidth, drawnHeight;

    if (a > b)
    {
        drawnHeight = getHeight();
        drawnWidth = (int) ((float) getHeight() / a);
    }
    else
    {
        drawnWidth = getWidth();
        drawnHeight = (int) (a * (float) getWidth());
    }

    const int x = (getWidth() - drawnWidth) / 2;
    const int y = (getHeight() - drawnHeight) / 2;

    g.drawImage (filmStrip, x, y, drawnWidth, drawnHeight, frameX, frameY, frameWidth, frameHeight, false);
}

//==============================================================================
void FilmStripKnob::mouseDown (const juce::MouseEvent&)
{
    dragStartPosition = normalised (value);
}

void FilmStripKnob::mouseDrag (const juce::MouseEvent& e)
{
    // Measured from the mouse-down point every time, so pressing or releasing
    // shift mid-drag rescales the whole movement so far.
    const int pixels = e.mods.isShiftDown() ? fineDragPixels : dragPixels;
    const double norm = juce::jlimit (0.0, 1.0, dragStartPosition - (double) e.getDistanceFromDragStartY() / pixels);

    setValue (minValue + (maxValue - minValue) * norm);

    if (onValueChange)
        onValueChange (value);
}

void FilmStripKnob::mouseDoubleClick (const juce::MouseEvent&)
{
    if (onDoubleClick)
        onDoubleClick();
}
