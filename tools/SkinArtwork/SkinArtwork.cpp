// SPDX-License-Identifier: GPL-3.0-or-later
#include "SkinArtwork.h"

#include "ControlPainter.h"
#include "IconPainter.h"
#include "KnobFilmPainter.h"
#include "PanelBackgroundPainter.h"
#include "SkinImageTable.h"

juce::Image SkinArtwork::paint (uint32_t id)
{
    using T = SkinImageTable;
    using C = ControlPainter;
    using I = IconPainter;

    switch (id)
    {
        case T::BoxBackground:        return PanelBackgroundPainter::paintMain();
        case T::BoxAboutBackground:   return PanelBackgroundPainter::paintAbout();
        case T::LargeDialFilm:        return KnobFilmPainter::paintLargeDialFilm (T::kFilmStripFrames);
        case T::FXDialsFilm:          return KnobFilmPainter::paintEffectDialFilm (T::kFilmStripFrames);
        case T::SwitchUp:             return C::paintToggleSwitch (C::SwitchPosition::up);
        case T::SwitchCenter:         return C::paintToggleSwitch (C::SwitchPosition::centre);
        case T::SwitchDown:           return C::paintToggleSwitch (C::SwitchPosition::down);
        case T::AboutOff:             return C::paintPillButton ("ABOUT", false);
        case T::AboutOn:              return C::paintPillButton ("ABOUT", true);
        case T::FirmwareOff:          return C::paintPillButton ("FIRMWARE", false);
        case T::FirmwareOn:           return C::paintPillButton ("FIRMWARE", true);
        case T::CloseOff:             return C::paintWindowButton (C::WindowGlyph::close, false);
        case T::CloseOn:              return C::paintWindowButton (C::WindowGlyph::close, true);
        case T::MaximizeOff:          return C::paintWindowButton (C::WindowGlyph::maximise, false);
        case T::MaximizeOn:           return C::paintWindowButton (C::WindowGlyph::maximise, true);
        case T::MinimizeOff:          return C::paintWindowButton (C::WindowGlyph::minimise, false);
        case T::MinimizeOn:           return C::paintWindowButton (C::WindowGlyph::minimise, true);
        case T::ReadoutArrowLeftOff:  return C::paintReadoutArrow (true, false);
        case T::ReadoutArrowLeftOn:   return C::paintReadoutArrow (true, true);
        case T::ReadoutArrowRightOff: return C::paintReadoutArrow (false, false);
        case T::ReadoutArrowRightOn:  return C::paintReadoutArrow (false, true);
        case T::FXBlockOff:           return C::paintBlockButton (false);
        case T::FXBlockOn:            return C::paintBlockButton (true);
        case T::FXReadout:            return C::paintReadout();
        case T::FXRedLine:            return C::paintRedLine();
        case T::FXScrollBar:          return C::paintScrollBar();
        case T::StoreOutlineOff:      return C::paintOutline ("STORE", C::Lamp::off);
        case T::StoreOutlineHalfOn:   return C::paintOutline ("STORE", C::Lamp::half);
        case T::StoreOutlineOn:       return C::paintOutline ("STORE", C::Lamp::on);
        case T::RecallOutlineOff:     return C::paintOutline ("RECALL", C::Lamp::off);
        case T::RecallOutlineHalfOn:  return C::paintOutline ("RECALL", C::Lamp::half);
        case T::RecallOutlineOn:      return C::paintOutline ("RECALL", C::Lamp::on);
        case T::ClearOutlineOff:      return C::paintOutline ("CLEAR", C::Lamp::off);
        case T::ClearOutlineHalfOn:   return C::paintOutline ("CLEAR", C::Lamp::half);
        case T::ClearOutlineOn:       return C::paintOutline ("CLEAR", C::Lamp::on);
        case T::NotAssigned:          return I::paintAssignment (I::Assignment::none);
        case T::Assigned:             return I::paintAssignment (I::Assignment::assigned);
        case T::Invert:               return I::paintAssignment (I::Assignment::inverted);
        case T::GTEGreyedOut:         return I::paintBlockIcon (I::Block::gate, "GTE");
        case T::CMPGreyedOut:         return I::paintBlockIcon (I::Block::compressor, "CMP");
        case T::BSTGreyedOut:         return I::paintBlockIcon (I::Block::boost, "BST");
        case T::AMPGreyedOut:         return I::paintBlockIcon (I::Block::amp, "AMP");
        case T::EQGreyedOut:          return I::paintBlockIcon (I::Block::equaliser, "EQ");
        case T::REVGreyedOut:         return I::paintBlockIcon (I::Block::reverb, "REV");
        case T::ECOGreyedOut:         return I::paintBlockIcon (I::Block::echo, "ECO");
        case T::CABGreyedOut:         return I::paintBlockIcon (I::Block::cabinet, "CAB");
        default:                      return {};
    }
}
