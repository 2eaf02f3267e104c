// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "QuorbelParamID.h"

#include <cstddef>
#include <cstdint>

namespace Quorbel
{

/** Which store a parameter lives in. */
enum ParameterScope : uint32_t
{
    scopePreset = 0,  // stored in each device preset
    scopeGlobals = 1, // stored once in the device
    scopeLive = 2     // the pedal's own knob and switch positions, only reported
};

enum ParameterKind : uint32_t
{
    kindInteger = 0,
    kindFloat = 1
};

/** How a knob position maps to a value. */
enum ParameterTaper : uint32_t
{
    taperStepped = 0,
    taperLinear = 1,
    taperLogarithmic = 2
};

/** One row of the constant parameter table the parameter map is built from.
    Values are written as the table gives them; the map narrows them to the
    parameter's kind. */
struct ParameterTableEntry
{
    uint32_t paramId;
    uint32_t scope;
    uint32_t kind;
    uint32_t taper;
    double min;
    double max;
    double defaultValue;
    const char* const* valueNames; // null-terminated, the first naming `min`; or null
    double step;
    const char* units;             // or null
    double displayScale;
};

constexpr size_t parameterTableSize = 112;

/** Every parameter of the pedal, in the table's own (not id) order. */
extern const ParameterTableEntry parameterTable[parameterTableSize];

} // namespace Quorbel
