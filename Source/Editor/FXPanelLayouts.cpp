// SPDX-License-Identifier: GPL-3.0-or-later
#include "FXPanelLayouts.h"

#include "QuorbelParamID.h"

namespace Quorbel
{

namespace
{
using Item = FXPanelLayouts::Item;
using Layout = FXPanelLayouts::Layout;

// Cell makers, so the tables below read like the panels they describe.
Item spacer (double width = 1.0)
{
    return { FXPanelLayouts::SPACER, 0, nullptr, width, nullptr, 0.0, nullptr, 0.0 };
}

Item title (const char* text)
{
    return { FXPanelLayouts::TITLE, 0, text, 4.0, nullptr, 0.0, nullptr, 0.0 };
}

Item knob (QuorbelParamID id, const char* caption)
{
    return { FXPanelLayouts::KNOB, (uint32_t) id, caption, 1.0, nullptr, 0.0, nullptr, 0.0 };
}

Item namedValue (QuorbelParamID id, const char* caption = nullptr)
{
    return { FXPanelLayouts::NAMED_VALUE, (uint32_t) id, caption, 2.0, nullptr, 0.0, nullptr, 0.0 };
}

Item choiceSwitch (QuorbelParamID id, const char* caption, const char* nameA, double valueA, const char* nameB, double valueB)
{
    return { FXPanelLayouts::SWITCH, (uint32_t) id, caption, 1.0, nameA, valueA, nameB, valueB };
}

Item onOffSwitch (QuorbelParamID id, const char* caption)
{
    return choiceSwitch (id, caption, "ON", 1.0, "OFF", 0.0);
}

Item compactSwitch (QuorbelParamID id, const char* nameA, double valueA, const char* nameB, double valueB)
{
    return { FXPanelLayouts::SWITCH_NO_LABEL, (uint32_t) id, nullptr, 1.0, nameA, valueA, nameB, valueB };
}

Item nameReadout (FXPanelLayouts::ItemKind kind)
{
    return { kind, 0, nullptr, 4.0, nullptr, 0.0, nullptr, 0.0 };
}

// The three parametric bands differ only in their title and parameter base:
// base + 0 enable, 1 pre/post, 2 filter type, 3 frequency, 4 Q, 5 level.
void addParametricBand (Layout& layout, const char* bandTitle, int base)
{
    const auto id = [base] (int offset) { return (QuorbelParamID) (base + offset); };

    layout.push_back ({ title (bandTitle) });
    layout.push_back ({ spacer (0.5), namedValue (id (2)), compactSwitch (id (1), "PRE", 0.0, "POST", 1.0) });
    layout.push_back ({ onOffSwitch (id (0), "ENABLE"), knob (id (5), "LEVEL"), knob (id (3), "FREQ"), knob (id (4), "Q") });
}

Layout makeEqLayout()
{
    Layout layout {
        { title ("PreTone:") },
        { spacer (0.5), compactSwitch (paramEqPreToneEnable, "ON", 1.0, "OFF", 0.0), namedValue (paramEqPreToneFilterType) },
        { knob (paramEqPreToneRollOff, "ROLLOFF"), knob (paramEqPreToneLevel, "LEVEL"), knob (paramEqPreToneFrequency, "FREQ"),
          knob (paramEqPreToneQ, "Q") },
    };

    addParametricBand (layout, "Parametric EQ 1:", paramEqBand1Enable);
    addParametricBand (layout, "Parametric EQ 2:", paramEqBand2Enable);
    addParametricBand (layout, "Parametric EQ 3:", paramEqBand3Enable);
    return layout;
}

const Layout ampLayout {
    { title ("AMP") },
    { nameReadout (FXPanelLayouts::AMP_NAME) },
    { spacer(), knob (paramAmpLevel, "LEVEL"), knob (paramAmpDamping, "DAMPING") },
};

const Layout cabLayout {
    { title ("CABINET") },
    { nameReadout (FXPanelLayouts::CAB_NAME) },
    { knob (paramCabRollOff, "ROLLOFF"), knob (paramCabPeaking, "PEAKING"), knob (paramCabBottom, "BOTTOM"), knob (paramCabAir, "AIR") },
};

const Layout boostLayout {
    { title ("BOOST") },
    { knob (paramBoostDrive, "DRIVE"), knob (paramBoostTone, "TONE"), knob (paramBoostLevel, "LEVEL"),
      knob (paramBoostPostLevel, "POSTLVL") },
    { spacer(), namedValue (paramBoostType) },
};

const Layout reverbLayout {
    { title ("REVERB") },
    { knob (paramReverbDryLevel, "DRY LEVEL"), knob (paramReverbDecay, "DECAY"), knob (paramReverbLowDamping, "LO DAMP"),
      knob (paramReverbHighDamping, "HI DAMP") },
    { knob (paramReverbDiffusion, "DIFFUSION"), knob (paramReverbPreDelay, "PREDELAY") },
    { spacer(), namedValue (paramReverbType) },
};

const Layout echoLayout {
    { title ("ECHO") },
    { spacer(), namedValue (paramEchoType) },
    { knob (paramEchoDelayTime, "DELAY"), knob (paramEchoFeedback, "FEEDBACK"), knob (paramEchoMix, "MIX"), knob (paramEchoLevel, "LEVEL") },
    { spacer(), namedValue (paramEchoTapMode, "TAP MODE:") },
    { spacer(), onOffSwitch (paramEchoTails, "TAILS"), onOffSwitch (paramEchoSpillover, "SPILLOVER") },
};

const Layout gateLayout {
    { title ("NOISE GATE") },
    { knob (paramGateThreshold, "THRESH"), knob (paramGateRatio, "RATIO"), knob (paramGateAttack, "ATTACK"), knob (paramGateRelease, "RELEASE") },
};

const Layout compressorLayout {
    { title ("COMPRESSOR") },
    { knob (paramCompressorThreshold, "THRESH"), knob (paramCompressorRatio, "RATIO"), knob (paramCompressorLevel, "LEVEL"),
      onOffSwitch (paramCompressorAutoGain, "AUTOGAIN") },
    { knob (paramCompressorKnee, "KNEE"), knob (paramCompressorAttack, "ATTACK"), knob (paramCompressorRelease, "RELEASE"),
      choiceSwitch (paramCompressorDetector, "DETECTOR", "PEAK", 0.0, "RMS", 1.0) },
    { spacer(), namedValue (paramCompressorType) },
};

const Layout eqLayout = makeEqLayout();

const Layout globalsLayout {
    { title ("GLOBAL SETTINGS") },
    { spacer(), knob (paramMainLevel, "MAINLVL"), knob (paramXlrLevel, "XLRLVL") },
    { spacer(), namedValue (paramOutputChoice, "LEVEL:") },
};

// Indexed by BlockID, then the global settings.
const Layout* const layouts[FXPanelLayouts::numLayouts] = {
    &ampLayout, &cabLayout, &boostLayout, &reverbLayout, &echoLayout, &gateLayout, &compressorLayout, &eqLayout, &globalsLayout,
};
} // namespace

const FXPanelLayouts::Layout* FXPanelLayouts::getLayout (uint32_t index)
{
    return index < numLayouts ? layouts[index] : nullptr;
}

} // namespace Quorbel
