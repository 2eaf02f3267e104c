// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace TestSupport
{

/** Runs the JUCE message loop until condition holds or timeoutMs passes; true
    when the condition held. The GUI runner starts JUCE's GUI once for all its
    tests (see GuiTestEnvironment.cpp), so any test may create components. */
bool pumpMessagesUntil (const std::function<bool()>& condition, int timeoutMs = 2000);

} // namespace TestSupport
