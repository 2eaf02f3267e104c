// SPDX-License-Identifier: GPL-3.0-or-later
#include "SkinImageTable.h"

namespace
{
const char* const fileNames[SkinImageTable::kImageCount] = {
    "TessarineBoxBackground@2x.png",
    "TessarineBoxAboutBackground@2x.png",
    "QuorBelLargeDialFilm@2x.png",
    "TessarineFXDialsFilm@2x.png",
    "SwitchUp@2x.png",
    "SwitchCenter@2x.png",
    "SwitchDown@2x.png",
    "AboutOff@2x.png",
    "AboutOn@2x.png",
    "FirmwareOff@2x.png",
    "FirmwareOn@2x.png",
    "CloseOff@2x.png",
    "CloseOn@2x.png",
    "MaximizeOff@2x.png",
    "MaximizeOn@2x.png",
    "MinimizeOff@2x.png",
    "MinimizeOn@2x.png",
    "EffectsSectionReadoutBoxArrowLeftOff@2x.png",
    "EffectsSectionReadoutBoxArrowLeftOn@2x.png",
    "EffectsSectionReadoutBoxArrowRightOff@2x.png",
    "EffectsSectionReadoutBoxArrowRightOn@2x.png",
    "FXBlockOff@2x.png",
    "FXBlockOn@2x.png",
    "FXReadout@2x.png",
    "FXRedLine@2x.png",
    "FXScrollBar@2x.png",
    "StoreOutlineOff.png",
    "StoreOutlineHalfOn.png",
    "StoreOutlineOn.png",
    "RecallOutlineOff.png",
    "RecallOutlineHalfOn.png",
    "RecallOutlineOn.png",
    "ClearOutlineOff.png",
    "ClearOutlineHalfOn.png",
    "ClearOutlineOn.png",
    "NotAssigned.png",
    "Assigned.png",
    "Invert.png",
    "GTEGreyedOut.png",
    "CMPGreyedOut.png",
    "BSTGreyedOut.png",
    "AMPGreyedOut.png",
    "EQGreyedOut.png",
    "REVGreyedOut.png",
    "ECOGreyedOut.png",
    "CABGreyedOut.png",
};
} // namespace

const char* SkinImageTable::getFileName (uint32_t id)
{
    return id < kImageCount ? fileNames[id] : nullptr;
}
