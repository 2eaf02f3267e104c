// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuorbelParameterTable.h"

namespace Quorbel
{

namespace
{
const char* const boostTypeNames[] = { "SCREAMER", "OVERDRIVE", "DISTORTION", "FUZZ", "CLEAN", nullptr };

// Starts at -1: "NONE" switches the filter off.
const char* const filterTypeNames[] = { "NONE", "GAIN ONLY", "LOWPASS 1", "HIGHPASS 1", "LOW SHELF 1", "HIGH SHELF 1",
                                        "LOWPASS 2", "HIGHPASS 2", "LOW SHELF 2", "HIGH SHELF 2", "BANDPASS", "NOTCH",
                                        "PEAKING", nullptr };

const char* const compressorTypeNames[] = { "STUDIO", "PEDAL", nullptr };

const char* const reverbTypeNames[] = { "SMALL HALL", "MED. HALL", "LARGE HALL", "SPRING 1", "SPRING 2", "PLATE", "CAVERN", nullptr };

const char* const echoTypeNames[] = { "DIGITAL", "ANALOG", "TAPE", "DARK TAPE", "SOFT DIGITAL", nullptr };

const char* const tapModeNames[] = { "QUARTER", "DOUBLETIME", "TRIPLETS", "SIXTEENTHS", "DOTTED EIGHTHS", nullptr };

const char* const outputChoiceNames[] = { "NONE", "1/4\"", "XLR", "BOTH", nullptr };
} // namespace

// id, scope, kind, taper, min, max, default, value names, step, units, display scale
const ParameterTableEntry parameterTable[parameterTableSize] = {
    {   0, scopePreset, kindInteger, taperStepped, 0, 1, 0, nullptr, 1, nullptr, 1 },
    {   1, scopePreset, kindInteger, taperStepped, 0, 4, 1, boostTypeNames, 1, nullptr, 1 },
    {   2, scopePreset, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    {   3, scopePreset, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    {   4, scopePreset, kindFloat, taperLinear, -24, 12, 0, nullptr, 0.1, "dB", 1 },
    {   5, scopePreset, kindFloat, taperLinear, -24, 12, 0, nullptr, 0.1, "dB", 1 },
    {  16, scopePreset, kindInteger, taperStepped, 0, 1, 0, nullptr, 1, nullptr, 1 },
    {  17, scopePreset, kindInteger, taperStepped, 0, 1, 1, nullptr, 1, nullptr, 1 },
    {  18, scopePreset, kindInteger, taperStepped, -1, 11, 0, filterTypeNames, 1, nullptr, 1 },
    {  19, scopePreset, kindFloat, taperLogarithmic, 20, 20000, 1000, nullptr, 1, "Hz", 1 },
    {  20, scopePreset, kindFloat, taperLinear, 0.5, 10, 0.7071, nullptr, 0.01, nullptr, 1 },
    {  21, scopePreset, kindFloat, taperLinear, -12, 12, 0, nullptr, 0.1, "dB", 1 },
    {  32, scopePreset, kindInteger, taperStepped, 0, 1, 0, nullptr, 1, nullptr, 1 },
    {  33, scopePreset, kindInteger, taperStepped, 0, 1, 1, nullptr, 1, nullptr, 1 },
    {  34, scopePreset, kindInteger, taperStepped, -1, 11, 0, filterTypeNames, 1, nullptr, 1 },
    {  35, scopePreset, kindFloat, taperLogarithmic, 20, 20000, 1000, nullptr, 1, "Hz", 1 },
    {  36, scopePreset, kindFloat, taperLinear, 0.5, 10, 0.7071, nullptr, 0.01, nullptr, 1 },
    {  37, scopePreset, kindFloat, taperLinear, -12, 12, 0, nullptr, 0.1, "dB", 1 },
    {  48, scopePreset, kindInteger, taperStepped, 0, 1, 0, nullptr, 1, nullptr, 1 },
    {  49, scopePreset, kindInteger, taperStepped, 0, 1, 1, nullptr, 1, nullptr, 1 },
    {  50, scopePreset, kindInteger, taperStepped, -1, 11, 0, filterTypeNames, 1, nullptr, 1 },
    {  51, scopePreset, kindFloat, taperLogarithmic, 20, 20000, 1000, nullptr, 1, "Hz", 1 },
    {  52, scopePreset, kindFloat, taperLinear, 0.5, 10, 0.7071, nullptr, 0.01, nullptr, 1 },
    {  53, scopePreset, kindFloat, taperLinear, -12, 12, 0, nullptr, 0.1, "dB", 1 },
    {  64, scopePreset, kindInteger, taperStepped, 0, 1, 0, nullptr, 1, nullptr, 1 },
    {  65, scopePreset, kindFloat, taperLinear, -80, 0, -70, nullptr, 0.1, "dB", 1 },
    {  66, scopePreset, kindFloat, taperLinear, 1, 5, 2, nullptr, 0.1, ": 1", 1 },
    {  67, scopePreset, kindFloat, taperLinear, 0, 0.03, 0.001, nullptr, 1, "ms", 1000 },
    {  68, scopePreset, kindFloat, taperLinear, 0.01, 1, 0.03, nullptr, 1, "ms", 1000 },
    {  80, scopeLive, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    {  81, scopeLive, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    {  82, scopeLive, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    {  83, scopeLive, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    {  84, scopeLive, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    {  85, scopeLive, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    {  86, scopeLive, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    {  87, scopeLive, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    {  88, scopeLive, kindInteger, taperStepped, 0, 1, 0, nullptr, 1, nullptr, 1 },
    {  96, scopePreset, kindInteger, taperStepped, 0, 1, 1, nullptr, 1, nullptr, 1 },
    {  97, scopePreset, kindFloat, taperLogarithmic, 1000, 20000, 20000, nullptr, 1, "Hz", 1 },
    {  98, scopePreset, kindFloat, taperLinear, 0.5, 10, 0.7071, nullptr, 0.01, nullptr, 1 },
    {  99, scopePreset, kindFloat, taperLinear, -12, 12, 0, nullptr, 0.1, "dB", 1 },
    { 100, scopePreset, kindFloat, taperLinear, -12, 12, 0, nullptr, 0.1, "dB", 1 },
    { 101, scopePreset, kindFloat, taperLinear, -24, 12, 0, nullptr, 0.1, "dB", 1 },
    { 112, scopePreset, kindInteger, taperLinear, 0, 1, 0, nullptr, 1, nullptr, 1 },
    { 113, scopePreset, kindFloat, taperLinear, -24, 24, 0, nullptr, 0.1, "dB", 1 },
    { 114, scopePreset, kindFloat, taperLinear, 0, 1, 1, nullptr, 1, "%", 100 },
    { 128, scopePreset, kindInteger, taperStepped, 0, 1, 0, nullptr, 1, nullptr, 1 },
    { 129, scopePreset, kindInteger, taperStepped, 0, 1, 0, nullptr, 1, nullptr, 1 },
    { 130, scopePreset, kindInteger, taperStepped, 0, 1, 0, compressorTypeNames, 1, nullptr, 1 },
    { 131, scopePreset, kindFloat, taperLinear, -120, 0, -40, nullptr, 0.1, "dB", 1 },
    { 132, scopePreset, kindFloat, taperLinear, 1, 20, 3, nullptr, 0.1, ": 1", 1 },
    { 133, scopePreset, kindFloat, taperLinear, -12, 12, 0, nullptr, 0.1, "dB", 1 },
    { 134, scopePreset, kindInteger, taperLinear, 0, 1, 0, nullptr, 1, nullptr, 1 },
    { 135, scopePreset, kindFloat, taperLinear, 0.001, 0.3, 0.01, nullptr, 1, "ms", 1000 },
    { 136, scopePreset, kindFloat, taperLinear, 0.01, 2, 1, nullptr, 1, "ms", 1000 },
    { 137, scopePreset, kindInteger, taperStepped, 0, 1, 0, nullptr, 1, nullptr, 1 },
    { 138, scopePreset, kindFloat, taperLinear, 0, 24, 0, nullptr, 0.1, "dB", 1 },
    { 144, scopePreset, kindInteger, taperStepped, 0, 1, 1, nullptr, 1, nullptr, 1 },
    { 145, scopePreset, kindInteger, taperStepped, 0, 6, 4, reverbTypeNames, 1, nullptr, 1 },
    { 146, scopePreset, kindFloat, taperLinear, 0, 1, 0.7, nullptr, 1, "%", 100 },
    { 147, scopePreset, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    { 148, scopePreset, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    { 149, scopePreset, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    { 150, scopePreset, kindFloat, taperLinear, 0, 0.1, 0, nullptr, 1, "ms", 1000 },
    { 151, scopePreset, kindFloat, taperLinear, -120, 12, 0, nullptr, 0.1, "dB", 1 },
    { 192, scopePreset, kindInteger, taperStepped, 0, 1, 1, nullptr, 1, nullptr, 1 },
    { 193, scopePreset, kindInteger, taperStepped, 0, 4, 0, echoTypeNames, 1, nullptr, 1 },
    { 194, scopePreset, kindFloat, taperLinear, 0.001, 1.365, 0.375, nullptr, 1, "ms", 1000 },
    { 195, scopePreset, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    { 196, scopePreset, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    { 197, scopePreset, kindFloat, taperLinear, -120, 12, 0, nullptr, 0.1, "dB", 1 },
    { 198, scopeGlobals, kindInteger, taperStepped, 0, 1, 1, nullptr, 1, nullptr, 1 },
    { 199, scopeGlobals, kindInteger, taperStepped, 0, 1, 1, nullptr, 1, nullptr, 1 },
    { 200, scopeGlobals, kindInteger, taperStepped, 0, 4, 0, tapModeNames, 1, nullptr, 1 },
    { 160, scopePreset, kindInteger, taperStepped, 0, 1, 0, nullptr, 1, nullptr, 1 },
    { 161, scopePreset, kindInteger, taperStepped, -1, 11, 0, filterTypeNames, 1, nullptr, 1 },
    { 162, scopePreset, kindFloat, taperLogarithmic, 20, 20000, 1000, nullptr, 1, "Hz", 1 },
    { 163, scopePreset, kindFloat, taperLinear, 0.5, 10, 0.7071, nullptr, 0.01, nullptr, 1 },
    { 164, scopePreset, kindFloat, taperLinear, -12, 12, 0, nullptr, 0.1, "dB", 1 },
    { 165, scopePreset, kindFloat, taperLogarithmic, 20, 1000, 45, nullptr, 1, "Hz", 1 },
    { 176, scopePreset, kindInteger, taperStepped, 0, 1, 0, nullptr, 1, nullptr, 1 },
    { 256, scopeGlobals, kindFloat, taperLinear, -24, 12, 0, nullptr, 0.1, "dB", 1 },
    { 257, scopeGlobals, kindFloat, taperLinear, -24, 12, 0, nullptr, 0.1, "dB", 1 },
    { 258, scopeGlobals, kindInteger, taperStepped, 0, 3, 3, outputChoiceNames, 1, nullptr, 1 },
    { 261, scopeGlobals, kindInteger, taperStepped, 0, 1, 0, nullptr, 1, nullptr, 1 },
    { 262, scopeGlobals, kindInteger, taperStepped, 0, 2, 0, nullptr, 1, nullptr, 1 },
    { 263, scopeGlobals, kindInteger, taperStepped, 0, 2, 0, nullptr, 1, nullptr, 1 },
    { 264, scopeGlobals, kindInteger, taperStepped, 0, 2, 1, nullptr, 1, nullptr, 1 },
    { 265, scopeGlobals, kindInteger, taperStepped, 0, 2, 0, nullptr, 1, nullptr, 1 },
    { 266, scopeGlobals, kindInteger, taperStepped, 0, 2, 0, nullptr, 1, nullptr, 1 },
    { 288, scopeGlobals, kindInteger, taperStepped, 0, 2, 1, nullptr, 1, nullptr, 1 },
    { 267, scopeGlobals, kindInteger, taperStepped, 0, 2, 0, nullptr, 1, nullptr, 1 },
    { 268, scopeGlobals, kindInteger, taperStepped, 0, 2, 0, nullptr, 1, nullptr, 1 },
    { 269, scopeGlobals, kindInteger, taperStepped, 0, 8, 0, nullptr, 1, nullptr, 1 },
    { 270, scopeGlobals, kindInteger, taperStepped, 0, 8, 0, nullptr, 1, nullptr, 1 },
    { 272, scopeGlobals, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    { 273, scopeGlobals, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    { 274, scopeGlobals, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    { 275, scopeGlobals, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    { 276, scopeGlobals, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    { 277, scopeGlobals, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    { 278, scopeGlobals, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    { 279, scopeGlobals, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    { 280, scopeGlobals, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    { 281, scopeGlobals, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    { 282, scopeGlobals, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    { 283, scopeGlobals, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    { 284, scopeGlobals, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    { 285, scopeGlobals, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    { 286, scopeGlobals, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
    { 287, scopeGlobals, kindFloat, taperLinear, 0, 1, 0.5, nullptr, 1, "%", 100 },
};

} // namespace Quorbel
