// SPDX-License-Identifier: GPL-3.0-or-later
#include "FXPanelBuilder.h"

#include "FilmStripKnob.h"
#include "KnobTaper.h"
#include "PanelGrid.h"
#include "PanelItemValues.h"
#include "QuorbelSkin.h"
#include "SimpleEditLabel.h"
#include "SimpleImageButton.h"
#include "SimpleLabel.h"

using Quorbel::FXPanelLayouts;
using Quorbel::KnobTaper;
using Quorbel::PanelGrid;
using Quorbel::PanelItemValues;

namespace
{
// The panel's colours and fonts.
const juce::Colour captionColour (0xff959595);
const juce::Colour titleColour (0xffdfdfdf);
const juce::Colour choiceColour (0xff464646);
const juce::Colour choiceColourOn (0xffffffff);
const juce::Colour readoutColour (0xffdfdfdf);

juce::Font plainFont (float height)
{
    return juce::Font (height, juce::Font::plain);
}

std::unique_ptr<SimpleLabel> makeLabel (const char* text, juce::Colour colour, float fontHeight, juce::Justification justification)
{
    auto label = std::make_unique<SimpleLabel> (juce::String::fromUTF8 (text));
    label->setTextColour (colour);
    label->setFont (plainFont (fontHeight));
    label->justification = justification;
    return label;
}

std::unique_ptr<SimpleLabel> makeChoice (const char* text)
{
    auto choice = std::make_unique<SimpleLabel> (juce::String::fromUTF8 (text != nullptr ? text : ""));
    choice->setTextColours (choiceColour, choiceColourOn);
    choice->setFont (plainFont (28.0f));
    return choice;
}

bool send (const FXPanelBuilder::Editor& editor, QuorbelParamID id, FXPanelBuilder::ParameterValue value)
{
    return editor.setParameter ? editor.setParameter (id, value) : false;
}

juce::Image skinImage (SkinImageTable::ImageID id)
{
    return QuorbelSkin::getImage (id);
}
} // namespace

//==============================================================================
FXPanelBuilder::FXPanelBuilder (juce::Component& panelContent, juce::OwnedArray<juce::Component>& panelComponents,
                                Bindings& panelBindings, Editor editorToUse)
    : content (panelContent),
      components (panelComponents),
      bindings (panelBindings),
      editor (std::make_shared<const Editor> (std::move (editorToUse)))
{
}

void FXPanelBuilder::clear()
{
    ampNameReadout = nullptr;
    cabNameReadout = nullptr;
    bindings.clear();
    content.removeAllChildren();
    components.clear();
}

bool FXPanelBuilder::build (int index)
{
    // A negative index wraps to a huge one, which has no layout either.
    const auto* rows = FXPanelLayouts::getLayout ((uint32_t) index);

    if (rows == nullptr)
        return false;

    int y = 0;

    for (const auto& row : *rows)
    {
        if (row.empty())
            continue;

        double column = 0.0;
        int rowBottom = y;

        for (const auto& item : row)
        {
            auto info = editor->getParameterInfo ? editor->getParameterInfo ((QuorbelParamID) item.paramId) : ParameterInfo();

            // A failed lookup leaves a default description; the item's
            // controls must still drive the item's own parameter.
            info.id = (int) item.paramId;

            switch (item.kind)
            {
                case FXPanelLayouts::KNOB:
                    addPanelKnob (column, y, rowBottom, item.label, info);
                    break;

                case FXPanelLayouts::NAMED_VALUE:
                    addPanelNamedValue (column, y, rowBottom, item.label, info);
                    break;

                case FXPanelLayouts::TITLE:
                    addWidget (makeLabel (item.label, titleColour, 30.0f, juce::Justification::centred), PanelGrid::title (y));
                    rowBottom = std::max (rowBottom, PanelGrid::itemBottom (item.kind, y));
                    break;

                case FXPanelLayouts::SWITCH:
                case FXPanelLayouts::SWITCH_NO_LABEL:
                    addPanelSwitch (column, y, rowBottom, item, info);
                    break;

                case FXPanelLayouts::AMP_NAME:
                case FXPanelLayouts::CAB_NAME:
                {
                    auto* readout = addValueReadout (0, y, rowBottom, nullptr, {});
                    const bool isAmp = item.kind == FXPanelLayouts::AMP_NAME;

                    // Read the action at click time: the amp menu and the
                    // cabinet import may be installed after the panel is built.
                    readout->onClick = [editor = editor, isAmp]
                    {
                        const auto& action = isAmp ? editor->onAmpNameClick : editor->onCabNameClick;

                        if (action)
                            action();
                    };

                    (isAmp ? ampNameReadout : cabNameReadout) = readout;
                    break;
                }

                default:
                    break; // spacers and unknown kinds only take up room
            }

            column += item.width;
        }

        y = rowBottom;
    }

    content.setBounds (0, 0, content.getWidth(), y);
    return true;
}

//==============================================================================
template <typename WidgetType>
WidgetType* FXPanelBuilder::addWidget (std::unique_ptr<WidgetType> widget, juce::Rectangle<int> bounds)
{
    auto* raw = widget.get();
    components.add (widget.release());
    raw->setBounds (bounds);
    content.addAndMakeVisible (raw);
    return raw;
}

void FXPanelBuilder::bind (int paramId, ParameterBinding binding)
{
    const auto id = (QuorbelParamID) paramId;
    bindings.emplace (id, binding);

    ParameterValue current { 0, 0.0 };

    if (editor->getParameterValue)
        current = editor->getParameterValue (id);

    binding (current);
}

SimpleImageButton* FXPanelBuilder::addValueReadout (int x, int y, int& rowBottom, const char* caption, std::function<void (int)> onStep)
{
    auto readout = std::make_unique<SimpleImageButton> (skinImage (SkinImageTable::FXReadout));
    readout->setTextColour (readoutColour);
    readout->setFont (plainFont (24.0f));
    auto* shown = addWidget (std::move (readout), PanelGrid::readout (x, y));

    if (caption != nullptr)
        addWidget (makeLabel (caption, captionColour, 24.0f, juce::Justification::centredRight), PanelGrid::readoutCaption (x, y));

    if (onStep)
    {
        auto* left = addWidget (std::make_unique<SimpleImageButton> (skinImage (SkinImageTable::ReadoutArrowLeftOff),
                                                                     skinImage (SkinImageTable::ReadoutArrowLeftOn)),
                                PanelGrid::leftArrow (x, y));
        auto* right = addWidget (std::make_unique<SimpleImageButton> (skinImage (SkinImageTable::ReadoutArrowRightOff),
                                                                      skinImage (SkinImageTable::ReadoutArrowRightOn)),
                                 PanelGrid::rightArrow (x, y));

        left->onClick = [onStep] { onStep (-1); };
        right->onClick = [onStep] { onStep (+1); };
    }

    rowBottom = std::max (rowBottom, PanelGrid::readoutBottom (y));
    return shown;
}

void FXPanelBuilder::addPanelKnob (double column, int rowTop, int& rowBottom, const char* caption, const ParameterInfo& info)
{
    const int x = PanelGrid::columnX (column);
    const auto id = (QuorbelParamID) info.id;

    // Added in this order on purpose: the knob takes clicks where it overlaps
    // its caption, and the value field lies on top of the knob.
    if (caption != nullptr)
        addWidget (makeLabel (caption, captionColour, 24.0f, juce::Justification::centredTop), PanelGrid::knobCaption (x, rowTop));

    auto* knob = addWidget (std::make_unique<FilmStripKnob>(), PanelGrid::knob (x, rowTop));
    knob->setImage (skinImage (SkinImageTable::FXDialsFilm), 1, SkinImageTable::kFilmStripFrames, -1);

    auto valueField = std::make_unique<SimpleEditLabel>();
    valueField->setJustificationType (juce::Justification::centred);
    valueField->setTextColour (captionColour);
    valueField->setFont (plainFont (18.0f));
    auto* value = addWidget (std::move (valueField), PanelGrid::knobValue (x, rowTop));

    knob->onValueChange = [editor = editor, id, info] (double position)
    {
        send (*editor, id, { 0, KnobTaper::toValue (info, position) });
    };

    knob->onDoubleClick = [editor = editor, id, info] { send (*editor, id, info.defaultValue); };

    value->validator = [editor = editor, id, info] (const juce::String& text)
    {
        return send (*editor, id, { 0, PanelItemValues::parseTypedValue (info, text) });
    };

    bind (info.id, [knob, info, value] (const ParameterValue& v)
    {
        knob->setValue (KnobTaper::toPosition (info, v.value));

        const auto text = PanelItemValues::formatValue (info, v.value);
        value->lastText = text;
        value->setText (text, juce::dontSendNotification);
    });

    rowBottom = std::max (rowBottom, PanelGrid::itemBottom (FXPanelLayouts::KNOB, rowTop));
}

void FXPanelBuilder::addPanelSwitch (double column, int rowTop, int& rowBottom, const Item& item, const ParameterInfo& info)
{
    const int x = PanelGrid::columnX (column);
    const auto id = (QuorbelParamID) info.id;
    const bool stacked = item.kind == FXPanelLayouts::SWITCH;

    if (item.label != nullptr)
    {
        auto caption = stacked ? makeLabel (item.label, captionColour, 24.0f, juce::Justification::centredTop)
                               : makeLabel (item.label, titleColour, 30.0f, juce::Justification::centred);
        addWidget (std::move (caption), PanelGrid::switchCaption (x, rowTop));
    }

    auto* first = addWidget (makeChoice (item.nameA), stacked ? PanelGrid::upperChoice (x, rowTop) : PanelGrid::leftChoice (x, rowTop));
    auto* second = addWidget (makeChoice (item.nameB), stacked ? PanelGrid::lowerChoice (x, rowTop) : PanelGrid::rightChoice (x, rowTop));

    first->onClick = [editor = editor, id, item] { send (*editor, id, { 0, (double) PanelItemValues::choiceValue (item.valueA) }); };
    second->onClick = [editor = editor, id, item] { send (*editor, id, { 0, (double) PanelItemValues::choiceValue (item.valueB) }); };

    bind (info.id, [first, second, item] (const ParameterValue& v)
    {
        first->isOn = PanelItemValues::isChoiceOn (item.valueA, v.value);
        second->isOn = PanelItemValues::isChoiceOn (item.valueB, v.value);
        first->repaint();
        second->repaint();
    });

    rowBottom = std::max (rowBottom, PanelGrid::itemBottom (item.kind, rowTop));
}

void FXPanelBuilder::addPanelNamedValue (double column, int rowTop, int& rowBottom, const char* caption, const ParameterInfo& info)
{
    const auto id = (QuorbelParamID) info.id;

    auto step = [editor = editor, id, info] (int direction)
    {
        ParameterValue current { 0, 0.0 };

        if (editor->getParameterValue)
            current = editor->getParameterValue (id);

        send (*editor, id, { 0, (double) PanelItemValues::stepValue (info, current.value, direction) });
    };

    auto* readout = addValueReadout (PanelGrid::namedValueX (column), rowTop, rowBottom, caption, step);

    readout->onClick = [editor = editor, id, info]
    {
        juce::PopupMenu menu;
        int itemId = 1;

        for (const auto& entry : info.valueNames)
            menu.addItem (itemId++, juce::String::fromUTF8 (entry.name.c_str()));

        const int chosen = editor->showMenu ? editor->showMenu (menu) : menu.showAt ((juce::Component*) nullptr);

        if (chosen > 0 && (size_t) chosen <= info.valueNames.size())
            send (*editor, id, info.valueNames[(size_t) chosen - 1].value);
    };

    bind (info.id, [readout, info] (const ParameterValue& v)
    {
        readout->text = PanelItemValues::nameForValue (info, v.value);
        readout->repaint();
    });
}
