// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

/** The skin's images: their ids and the file names under which the archive
    holds them. Shared by the editor's image set and by the tool that paints
    the archive, so both always agree on the names. */
struct SkinImageTable
{
    enum ImageID : uint32_t
    {
        BoxBackground = 0,
        BoxAboutBackground,
        LargeDialFilm,
        FXDialsFilm,
        SwitchUp,
        SwitchCenter,
        SwitchDown,
        AboutOff,
        AboutOn,
        FirmwareOff,
        FirmwareOn,
        CloseOff,
        CloseOn,
        MaximizeOff,
        MaximizeOn,
        MinimizeOff,
        MinimizeOn,
        ReadoutArrowLeftOff,
        ReadoutArrowLeftOn,
        ReadoutArrowRightOff,
        ReadoutArrowRightOn,
        FXBlockOff,
        FXBlockOn,
        FXReadout,
        FXRedLine,
        FXScrollBar,
        StoreOutlineOff,
        StoreOutlineHalfOn,
        StoreOutlineOn,
        RecallOutlineOff,
        RecallOutlineHalfOn,
        RecallOutlineOn,
        ClearOutlineOff,
        ClearOutlineHalfOn,
        ClearOutlineOn,
        NotAssigned,
        Assigned,
        Invert,
        GTEGreyedOut,
        CMPGreyedOut,
        BSTGreyedOut,
        AMPGreyedOut,
        EQGreyedOut,
        REVGreyedOut,
        ECOGreyedOut,
        CABGreyedOut
    };

    static constexpr uint32_t kImageCount = 46;

    /** The file name of an image inside the archive, or null for an id of
        kImageCount or above. */
    static const char* getFileName (uint32_t id);

    /** Frames in each knob film strip: one column, this many rows. */
    static constexpr int kFilmStripFrames = 99;
};
