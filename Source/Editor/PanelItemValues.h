// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "QuorbelParamMap.h"

#include <juce_core/juce_core.h>

namespace Quorbel
{

/** What the controls of an effect panel show for a parameter value, and what
    they send for a user's action: value texts, typed values, stepped and
    chosen values. Pure functions of a parameter description, so the panel's
    closures stay short and the rules can be checked without a window.

    Every double that came from the pedal, a file or the user is turned into an
    int through Tessarine::truncateToInt, so NaN and huge values never reach a
    plain cast. */
class PanelItemValues
{
public:
    /** The value as a knob's value field shows it: value x display scale with
        the parameter's decimals ("%.<decimals>f"), then a blank and the units
        when there are any. */
    static juce::String formatValue (const QuorbelParamMap::ParameterInfo& info, double value);

    /** The value to send for text typed into a knob's value field: the text's
        leading number (0 when it has none) divided by the display scale,
        clamped into [min, max]. Never NaN: "nan" counts as no number. */
    static double parseTypedValue (const QuorbelParamMap::ParameterInfo& info, const juce::String& text);

    /** The name a named-value readout shows: the first value name whose value
        truncates to the same int as `value`, or an empty string. */
    static juce::String nameForValue (const QuorbelParamMap::ParameterInfo& info, double value);

    /** The value an arrow sends: the current value truncated, moved by `step`
        and clamped into [min, max] (both truncated). The ends hold; nothing
        wraps. */
    static int stepValue (const QuorbelParamMap::ParameterInfo& info, double current, int step);

    /** The value a choice button sends: its table value truncated. */
    static int choiceValue (double choice);

    /** Whether a choice button is lit for the parameter's value. */
    static bool isChoiceOn (double choice, double value);

    PanelItemValues() = delete;
};

} // namespace Quorbel
