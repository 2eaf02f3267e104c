// SPDX-License-Identifier: GPL-3.0-or-later
#include "FXPanelBuilder.h"

#include "FilmStripKnob.h"
#include "SimpleEditLabel.h"
#include "SimpleImageButton.h"
#include "SimpleLabel.h"

#include "Support/SyntheticMouse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

using Quorbel::FXPanelLayouts;
using Quorbel::QuorbelParamMap;
using ParameterValue = QuorbelParamMap::ParameterValue;
using TestSupport::SyntheticMouse;

namespace
{

struct Sent
{
    int id;
    uint32_t kind;
    double value;
};

/** A panel as the main component holds one, built against a stand-in for the
    editor: descriptions from the real parameter map, values from a map the
    test fills, every send recorded. */
class FXPanelBuilderTest : public ::testing::Test
{
protected:
    FXPanelBuilderTest()
    {
        content.setBounds (0, 0, 551, 296);
        content.setVisible (true); // hit tests only find visible components
    }

    FXPanelBuilder::Editor makeEditor()
    {
        FXPanelBuilder::Editor editor;
        editor.getParameterInfo = [this] (QuorbelParamID id)
        {
            const auto* info = map.find (id);
            return info != nullptr ? *info : QuorbelParamMap::ParameterInfo();
        };
        editor.getParameterValue = [this] (QuorbelParamID id)
        {
            const auto it = values.find (id);
            return it != values.end() ? it->second : ParameterValue { 0, 0.0 };
        };
        editor.setParameter = [this] (QuorbelParamID id, ParameterValue value)
        {
            sent.push_back ({ (int) id, value.kind, value.value });
            return accept;
        };
        editor.showMenu = [this] (const juce::PopupMenu& menu)
        {
            menuItems.clear();

            for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
                menuItems.push_back (it.getItem().text.toStdString());

            return menuChoice;
        };
        return editor;
    }

    void show (int index)
    {
        builder.clear();
        builder.build (index);
    }

    /** The panel widget of type T at exactly these bounds, or null. */
    template <typename T>
    T* widgetAt (juce::Rectangle<int> bounds)
    {
        T* found = nullptr;

        for (auto* child : content.getChildren())
            if (auto* widget = dynamic_cast<T*> (child); widget != nullptr && child->getBounds() == bounds)
            {
                EXPECT_EQ (found, nullptr) << "two widgets at " << bounds.toString();
                found = widget;
            }

        return found;
    }

    template <typename T>
    std::vector<T*> widgetsOfType()
    {
        std::vector<T*> found;

        for (auto* child : content.getChildren())
            if (auto* widget = dynamic_cast<T*> (child))
                found.push_back (widget);

        return found;
    }

    /** The caption label with this text. */
    SimpleLabel* labelWithText (const juce::String& text)
    {
        for (auto* label : widgetsOfType<SimpleLabel>())
            if (label->text == text)
                return label;

        return nullptr;
    }

    void deliver (int id, double value)
    {
        const auto range = bindings.equal_range ((QuorbelParamID) id);
        ASSERT_NE (range.first, range.second) << "no binding for " << id;

        for (auto it = range.first; it != range.second; ++it)
            it->second ({ 0, value });
    }

    static void click (SimpleImageButton& button)
    {
        button.mouseDown (SyntheticMouse::down (button, { 5.0f, 5.0f }));
        button.mouseUp (SyntheticMouse::up (button, { 5.0f, 5.0f }, { 5.0f, 5.0f }));
    }

    QuorbelParamMap map;
    std::map<int, ParameterValue> values;
    std::vector<Sent> sent;
    bool accept = true;
    int menuChoice = 0;
    std::vector<std::string> menuItems;

    juce::Component content;
    juce::OwnedArray<juce::Component> components;
    FXPanelBuilder::Bindings bindings;
    FXPanelBuilder builder { content, components, bindings, makeEditor() };
};

const int kEqBand1Top = 59 + 61 + 176 + 59; // PreTone title, its switch row and knobs, the band's title

} // namespace

//==============================================================================
TEST_F (FXPanelBuilderTest, EachPanelIsAsTallAsItsRows)
{
    const std::map<int, int> heights { { QuorbelParamMap::AMP, 296 }, { QuorbelParamMap::CAB, 296 }, { QuorbelParamMap::BST, 296 },
                                       { QuorbelParamMap::REV, 472 }, { QuorbelParamMap::ECO, 533 }, { QuorbelParamMap::GTE, 235 },
                                       { QuorbelParamMap::CMP, 472 }, { QuorbelParamMap::EQ, 1184 }, { 8, 296 } };

    for (const auto& [index, height] : heights)
    {
        show (index);
        EXPECT_EQ (content.getBounds(), juce::Rectangle<int> (0, 0, 551, height)) << "panel " << index;

        // Captions hang 14 pixels below their row's bottom, never further.
        for (auto* child : content.getChildren())
            EXPECT_LE (child->getBottom(), height + 14) << "panel " << index << " " << child->getBounds().toString();
    }
}

TEST_F (FXPanelBuilderTest, BoostTypeSitsOneColumnInWithItsArrows)
{
    show (QuorbelParamMap::BST);

    auto* readout = widgetAt<SimpleImageButton> ({ 136, 235, 274, 52 });
    ASSERT_NE (readout, nullptr);
    EXPECT_NE (widgetAt<SimpleImageButton> ({ 358, 248, 20, 26 }), nullptr);
    EXPECT_NE (widgetAt<SimpleImageButton> ({ 381, 248, 20, 26 }), nullptr);

    // Title, four knob cells of three widgets, readout and two arrows; one
    // binding per control.
    EXPECT_EQ (content.getNumChildComponents(), 1 + 4 * 3 + 3);
    EXPECT_EQ (components.size(), content.getNumChildComponents());
    EXPECT_EQ (bindings.size(), 5u);
}

TEST_F (FXPanelBuilderTest, EqBandsStartHalfAColumnIn)
{
    show (QuorbelParamMap::EQ);

    // The filter type at column 0.5 lays out from x -70, so its readout is at 66.
    EXPECT_NE (widgetAt<SimpleImageButton> ({ 66, kEqBand1Top, 274, 52 }), nullptr);

    // The pre/post switch at column 2.5 (x 352).
    auto* pre = widgetAt<SimpleLabel> ({ 351, kEqBand1Top - 2, 64, 52 });
    auto* post = widgetAt<SimpleLabel> ({ 415, kEqBand1Top - 2, 64, 52 });
    ASSERT_NE (pre, nullptr);
    ASSERT_NE (post, nullptr);
    EXPECT_EQ (pre->text, "PRE");
    EXPECT_EQ (post->text, "POST");

    // In the tone section the on/off switch stands before the filter type.
    EXPECT_EQ (widgetAt<SimpleLabel> ({ 69, 59 - 2, 64, 52 })->text, "ON");
    EXPECT_EQ (widgetAt<SimpleLabel> ({ 133, 59 - 2, 64, 52 })->text, "OFF");
    // Column 1.5 lays out from x 70 (70.5 truncated).
    EXPECT_NE (widgetAt<SimpleImageButton> ({ 206, 59, 274, 52 }), nullptr);

    EXPECT_EQ (bindings.size(), 24u);
}

TEST_F (FXPanelBuilderTest, KnobCellsLayValueFieldOverKnobOverCaption)
{
    show (QuorbelParamMap::AMP);

    // LEVEL at column 1, on the third row (title 59 + amp name 61).
    const int x = 141, y = 120;
    auto* caption = widgetAt<SimpleLabel> ({ x - 11, y + 138, 148, 52 });
    auto* knob = widgetAt<FilmStripKnob> ({ x - 6, y, 146, 156 });
    auto* value = widgetAt<SimpleEditLabel> ({ x + 9, y + 111, 108, 32 });
    ASSERT_NE (caption, nullptr);
    ASSERT_NE (knob, nullptr);
    ASSERT_NE (value, nullptr);

    EXPECT_EQ (caption->text, "LEVEL");
    EXPECT_EQ (caption->textColour, juce::Colour (0xff959595));
    EXPECT_EQ (caption->justification, juce::Justification (juce::Justification::centredTop));
    EXPECT_EQ (caption->font.getHeight(), 24.0f);

    EXPECT_LT (content.getIndexOfChildComponent (caption), content.getIndexOfChildComponent (knob));
    EXPECT_LT (content.getIndexOfChildComponent (knob), content.getIndexOfChildComponent (value));
    EXPECT_EQ (content.getComponentAt (x + 60, y + 120), value);
    EXPECT_EQ (content.getComponentAt (x + 60, y + 150), knob);
    EXPECT_EQ (knob->getNumFrames(), 99);

    EXPECT_EQ (value->findColour (juce::Label::textColourId), juce::Colour (0xff959595));
    EXPECT_EQ (value->getFont().getHeight(), 18.0f);
    EXPECT_EQ (value->getJustificationType(), juce::Justification (juce::Justification::centred));

    auto* title = widgetAt<SimpleLabel> ({ 0, 0, 551, 48 });
    ASSERT_NE (title, nullptr);
    EXPECT_EQ (title->text, "AMP");
    EXPECT_EQ (title->textColour, juce::Colour (0xffdfdfdf));
    EXPECT_EQ (title->font.getHeight(), 30.0f);
}

TEST_F (FXPanelBuilderTest, KnobsShowAndSendTheirParameter)
{
    values[paramEqBand1Frequency] = { 1, 2000.0 };
    show (QuorbelParamMap::EQ);

    // FREQ of band 1: column 2 of the band's knob row.
    const int x = 282, y = kEqBand1Top + 61;
    auto* knob = widgetAt<FilmStripKnob> ({ x - 6, y, 146, 156 });
    auto* value = widgetAt<SimpleEditLabel> ({ x + 9, y + 111, 108, 32 });
    ASSERT_NE (knob, nullptr);
    ASSERT_NE (value, nullptr);

    // Shown at once, on the logarithmic taper.
    EXPECT_NEAR (knob->getValue(), 2.0 / 3.0, 1e-9);
    EXPECT_EQ (value->getText(), "2000 Hz");
    EXPECT_EQ (value->lastText, "2000 Hz");

    deliver (paramEqBand1Frequency, 200.0);
    EXPECT_NEAR (knob->getValue(), 1.0 / 3.0, 1e-9);
    EXPECT_EQ (value->getText(), "200 Hz");

    knob->onValueChange (0.5);
    ASSERT_EQ (sent.size(), 1u);
    EXPECT_EQ (sent[0].id, paramEqBand1Frequency);
    EXPECT_EQ (sent[0].kind, 0u);
    EXPECT_NEAR (sent[0].value, std::sqrt (20.0 * 20000.0), 1e-6);

    // A double click restores the default with its own kind.
    knob->onDoubleClick();
    ASSERT_EQ (sent.size(), 2u);
    EXPECT_EQ (sent[1].kind, 1u);
    EXPECT_DOUBLE_EQ (sent[1].value, 1000.0);
}

TEST_F (FXPanelBuilderTest, TypedValuesAreScaledClampedAndRefusedWhenTheEditorRefuses)
{
    show (QuorbelParamMap::GTE);

    // RELEASE (0.01..1 s, shown in ms) at column 3 of the knob row.
    auto* value = widgetAt<SimpleEditLabel> ({ 423 + 9, 59 + 111, 108, 32 });
    ASSERT_NE (value, nullptr);
    EXPECT_EQ (value->getText(), "0 ms"); // no value held: {0, 0.0}

    EXPECT_TRUE (value->validator ("250"));
    EXPECT_TRUE (value->validator ("slow"));
    accept = false;
    EXPECT_FALSE (value->validator ("5000"));

    ASSERT_EQ (sent.size(), 3u);
    EXPECT_EQ (sent[0].id, paramGateRelease);
    EXPECT_DOUBLE_EQ (sent[0].value, 0.25);
    EXPECT_DOUBLE_EQ (sent[1].value, map.find (paramGateRelease)->min.value);
    EXPECT_DOUBLE_EQ (sent[2].value, 1.0);
}

TEST_F (FXPanelBuilderTest, NamedValuesStepWithinTheirRangeAndPickFromAList)
{
    values[paramEqBand2FilterType] = { 0, 11.0 };
    show (QuorbelParamMap::EQ);

    const int y = kEqBand1Top + 61 + 176 + 59; // band 2's switch row
    auto* readout = widgetAt<SimpleImageButton> ({ 66, y, 274, 52 });
    auto* left = widgetAt<SimpleImageButton> ({ -70 + 358, y + 13, 20, 26 });
    auto* right = widgetAt<SimpleImageButton> ({ -70 + 381, y + 13, 20, 26 });
    ASSERT_NE (readout, nullptr);
    ASSERT_NE (left, nullptr);
    ASSERT_NE (right, nullptr);
    EXPECT_EQ (readout->text, "PEAKING");

    // At the top the right arrow sends the top again; it never wraps.
    click (*right);
    values[paramEqBand2FilterType] = { 0, -1.0 };
    click (*left);
    values[paramEqBand2FilterType] = { 0, 4.0 };
    click (*right);

    ASSERT_EQ (sent.size(), 3u);
    EXPECT_EQ (sent[0].id, paramEqBand2FilterType);
    EXPECT_EQ (sent[0].value, 11.0);
    EXPECT_EQ (sent[1].value, -1.0);
    EXPECT_EQ (sent[2].value, 5.0);

    // The list offers every name in order; the first entry is -1.
    menuChoice = 1;
    click (*readout);
    ASSERT_EQ (menuItems.size(), 13u);
    EXPECT_EQ (menuItems.front(), "NONE");
    EXPECT_EQ (menuItems.back(), "PEAKING");
    ASSERT_EQ (sent.size(), 4u);
    EXPECT_EQ (sent[3].value, -1.0);

    // Dismissing the list sends nothing.
    menuChoice = 0;
    click (*readout);
    EXPECT_EQ (sent.size(), 4u);

    // A value without a name empties the readout.
    deliver (paramEqBand2FilterType, 12.0);
    EXPECT_EQ (readout->text, "");
    deliver (paramEqBand2FilterType, 3.0);
    EXPECT_EQ (readout->text, "LOW SHELF 1");
}

TEST_F (FXPanelBuilderTest, NamedValueCaptionsSitLeftOfTheReadout)
{
    show (FXPanelLayouts::globalsIndex);

    auto* caption = widgetAt<SimpleLabel> ({ 6, 59 + 176, 126, 52 });
    ASSERT_NE (caption, nullptr);
    EXPECT_EQ (caption->text, "LEVEL:");
    EXPECT_EQ (caption->justification, juce::Justification (juce::Justification::centredRight));
    EXPECT_NE (widgetAt<SimpleImageButton> ({ 136, 59 + 176, 274, 52 }), nullptr);
}

TEST_F (FXPanelBuilderTest, SwitchesSendTheirChoiceAndLightTheMatchingOne)
{
    values[paramCompressorDetector] = { 0, 1.0 };
    show (QuorbelParamMap::CMP);

    // DETECTOR: column 3 of the second knob row; PEAK (0) above RMS (1).
    const int x = 423, y = 59 + 176;
    auto* peak = widgetAt<SimpleLabel> ({ x - 8, y + 29, 142, 38 });
    auto* rms = widgetAt<SimpleLabel> ({ x - 8, y + 71, 142, 38 });
    ASSERT_NE (peak, nullptr);
    ASSERT_NE (rms, nullptr);
    EXPECT_EQ (peak->text, "PEAK");
    EXPECT_EQ (rms->text, "RMS");
    EXPECT_EQ (labelWithText ("DETECTOR")->getBounds(), juce::Rectangle<int> (x - 11, y + 138, 148, 52));
    EXPECT_EQ (peak->textColour, juce::Colour (0xff464646));
    EXPECT_EQ (peak->textColourOn, juce::Colour (0xffffffff));
    EXPECT_EQ (peak->font.getHeight(), 28.0f);

    EXPECT_FALSE (peak->isOn);
    EXPECT_TRUE (rms->isOn);

    deliver (paramCompressorDetector, 2.0);
    EXPECT_FALSE (peak->isOn);
    EXPECT_FALSE (rms->isOn);

    // Clicking shows nothing by itself; the value comes back from the pedal.
    click (*peak);
    click (*rms);
    ASSERT_EQ (sent.size(), 2u);
    EXPECT_EQ (sent[0].id, paramCompressorDetector);
    EXPECT_EQ (sent[0].value, 0.0);
    EXPECT_EQ (sent[1].value, 1.0);
    EXPECT_FALSE (peak->isOn);
}

TEST_F (FXPanelBuilderTest, NameReadoutsAreHandedOutAndCallTheirActionWhenSet)
{
    int ampClicks = 0;
    FXPanelBuilder::Editor editor = makeEditor();
    editor.onAmpNameClick = [&ampClicks] { ++ampClicks; };
    FXPanelBuilder withActions (content, components, bindings, editor);

    withActions.build (QuorbelParamMap::AMP);
    auto* amp = withActions.getAmpNameReadout();
    ASSERT_NE (amp, nullptr);
    EXPECT_EQ (amp->getBounds(), juce::Rectangle<int> (136, 59, 274, 52));
    EXPECT_EQ (withActions.getCabNameReadout(), nullptr);
    click (*amp);
    EXPECT_EQ (ampClicks, 1);

    withActions.clear();
    EXPECT_EQ (withActions.getAmpNameReadout(), nullptr);
    withActions.build (QuorbelParamMap::CAB);
    ASSERT_NE (withActions.getCabNameReadout(), nullptr);
    EXPECT_EQ (withActions.getAmpNameReadout(), nullptr);

    // No cabinet import yet: the click does nothing.
    click (*withActions.getCabNameReadout());
    EXPECT_EQ (ampClicks, 1);
    EXPECT_TRUE (sent.empty());
}

TEST_F (FXPanelBuilderTest, RebuildingReplacesEveryWidgetAndBinding)
{
    show (QuorbelParamMap::REV);
    const auto widgetCount = components.size();
    const auto bindingCount = bindings.size();

    std::vector<juce::Component::SafePointer<juce::Component>> old;

    for (auto* child : content.getChildren())
        old.emplace_back (child);

    show (QuorbelParamMap::REV);
    EXPECT_EQ (components.size(), widgetCount);
    EXPECT_EQ (bindings.size(), bindingCount);
    EXPECT_EQ (content.getNumChildComponents(), widgetCount);

    for (const auto& widget : old)
        EXPECT_EQ (widget.getComponent(), nullptr);

    // A switch to a smaller panel leaves nothing of the larger one behind.
    show (QuorbelParamMap::GTE);
    EXPECT_EQ (components.size(), 1 + 4 * 3);
    EXPECT_EQ (bindings.size(), 4u);
    EXPECT_EQ (bindings.count (paramReverbDecay), 0u);
}

TEST_F (FXPanelBuilderTest, AnIndexWithoutAPanelBuildsNothing)
{
    show (QuorbelParamMap::EQ);
    builder.clear();

    EXPECT_FALSE (builder.build (9));
    EXPECT_FALSE (builder.build (-1));
    EXPECT_EQ (content.getNumChildComponents(), 0);
    EXPECT_TRUE (bindings.empty());
    EXPECT_EQ (content.getHeight(), 1184); // the previous height stays
}

TEST_F (FXPanelBuilderTest, UnknownParametersStillDriveTheItemsOwnIdWithFiniteValues)
{
    // An editor that knows no parameter: every description is empty.
    FXPanelBuilder::Editor editor = makeEditor();
    editor.getParameterInfo = [] (QuorbelParamID) { return QuorbelParamMap::ParameterInfo(); };
    FXPanelBuilder blind (content, components, bindings, editor);
    blind.build (QuorbelParamMap::EQ);

    auto* knob = widgetAt<FilmStripKnob> ({ 282 - 6, kEqBand1Top + 61, 146, 156 });
    ASSERT_NE (knob, nullptr);
    EXPECT_EQ (knob->getValue(), 0.0);

    knob->onValueChange (0.7);
    ASSERT_EQ (sent.size(), 1u);
    EXPECT_EQ (sent[0].id, paramEqBand1Frequency);
    EXPECT_TRUE (std::isfinite (sent[0].value));
    EXPECT_EQ (bindings.count (paramEqBand1Frequency), 1u);
}

TEST_F (FXPanelBuilderTest, PanelsPaintWithoutASkin)
{
    // No skin is loaded in this runner, so every image of the panel is null.
    for (int index = 0; index <= 8; ++index)
    {
        show (index);
        const auto snapshot = content.createComponentSnapshot (content.getLocalBounds());
        EXPECT_EQ (snapshot.getHeight(), content.getHeight());
    }
}
