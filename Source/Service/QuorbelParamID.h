// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/** The number of every parameter the editor knows: the same number the pedal
    uses in its parameter lists and in live set-parameter messages.

    Plain integers on purpose: ids travel as int and as 32-bit list keys, and an
    id outside this list is a valid argument that is simply not found. Names
    follow the role each panel gives the parameter; the ones without a role in
    the editor carry their number. */
enum QuorbelParamID : int
{
    // Boost
    paramBoostEnable = 0,
    paramBoostType = 1,
    paramBoostDrive = 2,
    paramBoostTone = 3,
    paramBoostLevel = 4,
    paramBoostPostLevel = 5,

    // EQ parametric bands: base + 0 enable, 1 position (pre/post), 2 filter type,
    // 3 frequency, 4 Q, 5 level.
    paramEqBand1Enable = 16,
    paramEqBand1Position = 17,
    paramEqBand1FilterType = 18,
    paramEqBand1Frequency = 19,
    paramEqBand1Q = 20,
    paramEqBand1Level = 21,
    paramEqBand2Enable = 32,
    paramEqBand2Position = 33,
    paramEqBand2FilterType = 34,
    paramEqBand2Frequency = 35,
    paramEqBand2Q = 36,
    paramEqBand2Level = 37,
    paramEqBand3Enable = 48,
    paramEqBand3Position = 49,
    paramEqBand3FilterType = 50,
    paramEqBand3Frequency = 51,
    paramEqBand3Q = 52,
    paramEqBand3Level = 53,

    // Noise gate
    paramGateEnable = 64,
    paramGateThreshold = 65,
    paramGateRatio = 66,
    paramGateAttack = 67,
    paramGateRelease = 68,

    // Live values reported by the pedal: its eight knobs and the footswitch
    paramLiveKnob1 = 80,
    paramLiveKnob2 = 81,
    paramLiveKnob3 = 82,
    paramLiveKnob4 = 83,
    paramLiveKnob5 = 84,
    paramLiveKnob6 = 85,
    paramLiveKnob7 = 86,
    paramLiveKnob8 = 87,
    paramLiveFootswitch = 88,

    // Cabinet
    paramCabEnable = 96,
    paramCabRollOff = 97,
    paramCabPeaking = 98,
    paramCabBottom = 99,
    paramCabAir = 100,
    paramCab101 = 101,

    // Amp
    paramAmpEnable = 112,
    paramAmpLevel = 113,
    paramAmpDamping = 114,

    // Compressor
    paramCompressorEnable = 128,
    paramCompressor129 = 129,
    paramCompressorType = 130,
    paramCompressorThreshold = 131,
    paramCompressorRatio = 132,
    paramCompressorLevel = 133,
    paramCompressorAutoGain = 134,
    paramCompressorAttack = 135,
    paramCompressorRelease = 136,
    paramCompressorDetector = 137,
    paramCompressorKnee = 138,

    // Reverb
    paramReverbEnable = 144,
    paramReverbType = 145,
    paramReverbDecay = 146,
    paramReverbLowDamping = 147,
    paramReverbHighDamping = 148,
    paramReverbDiffusion = 149,
    paramReverbPreDelay = 150,
    paramReverbDryLevel = 151,

    // EQ pre-tone filter and block switch
    paramEqPreToneEnable = 160,
    paramEqPreToneFilterType = 161,
    paramEqPreToneFrequency = 162,
    paramEqPreToneQ = 163,
    paramEqPreToneLevel = 164,
    paramEqPreToneRollOff = 165,
    paramEqEnable = 176,

    // Echo (198..200 live in the globals)
    paramEchoEnable = 192,
    paramEchoType = 193,
    paramEchoDelayTime = 194,
    paramEchoFeedback = 195,
    paramEchoMix = 196,
    paramEchoLevel = 197,
    paramEchoTails = 198,
    paramEchoSpillover = 199,
    paramEchoTapMode = 200,

    // Globals
    paramMainLevel = 256,
    paramXlrLevel = 257,
    paramOutputChoice = 258,
    paramGlobal261 = 261,
    paramFootswitchGate = 262,
    paramFootswitchCompressor = 263,
    paramFootswitchBoost = 264,
    paramFootswitchAmp = 265,
    paramFootswitchEq = 266,
    paramFootswitchReverb = 267,
    paramFootswitchCab = 268,
    paramGlobal269 = 269,
    paramGlobal270 = 270,
    paramGlobal272 = 272,
    paramGlobal273 = 273,
    paramGlobal274 = 274,
    paramGlobal275 = 275,
    paramGlobal276 = 276,
    paramGlobal277 = 277,
    paramGlobal278 = 278,
    paramGlobal279 = 279,
    paramGlobal280 = 280,
    paramGlobal281 = 281,
    paramGlobal282 = 282,
    paramGlobal283 = 283,
    paramGlobal284 = 284,
    paramGlobal285 = 285,
    paramGlobal286 = 286,
    paramGlobal287 = 287,
    paramFootswitchEcho = 288
};
