// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/SyntheticMouse.h"

namespace TestSupport
{

juce::MouseEvent SyntheticMouse::make (juce::Component& target, juce::Point<float> position,
                                       juce::Point<float> downPosition, juce::ModifierKeys mods,
                                       int clicks, bool dragged)
{
    const auto now = juce::Time::getCurrentTime();

    return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), position, mods,
                             juce::MouseInputSource::defaultPressure,
                             juce::MouseInputSource::defaultOrientation,
                             juce::MouseInputSource::defaultRotation,
                             juce::MouseInputSource::defaultTiltX,
                             juce::MouseInputSource::defaultTiltY,
                             &target, &target, now, downPosition, now, clicks, dragged);
}

juce::MouseEvent SyntheticMouse::down (juce::Component& target, juce::Point<float> at, juce::ModifierKeys mods)
{
    return make (target, at, at, mods, 1, false);
}

juce::MouseEvent SyntheticMouse::drag (juce::Component& target, juce::Point<float> from, juce::Point<float> to,
                                       juce::ModifierKeys mods)
{
    return make (target, to, from, mods, 1, true);
}

juce::MouseEvent SyntheticMouse::up (juce::Component& target, juce::Point<float> from, juce::Point<float> to)
{
    // A release carries the button that was let go no more.
    return make (target, to, from, juce::ModifierKeys(), 1, from != to);
}

juce::MouseEvent SyntheticMouse::doubleClick (juce::Component& target, juce::Point<float> at)
{
    return make (target, at, at, juce::ModifierKeys(), 2, false);
}

} // namespace TestSupport
