// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimpleEditLabel.h"

#include "Support/GuiTestEnvironment.h"
#include "Support/SyntheticMouse.h"

#include <gtest/gtest.h>

#include <vector>

using TestSupport::SyntheticMouse;

namespace
{

// juce::Label keeps its mouse handlers protected; the framework calls them
// through Component, and so do these tests.
juce::Component& asComponent (SimpleEditLabel& label) { return label; }

/** A readout as an effect panel sets it up (a value shown by the owner, a
    validator that accepts numbers up to 10), kept off screen: the tests share
    one display with other test processes, whose windows could take the focus
    from an on-screen editor and so cancel its edit. (JUCE's debug build notes
    that an off-screen editor cannot take the keyboard focus; nothing here
    needs it to.) */
class SimpleEditLabelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        label.setBounds (0, 0, 108, 32);
        label.validator = [this] (const juce::String& text)
        {
            offered.push_back (text);
            return text.containsOnly ("0123456789.") && text.getDoubleValue() <= 10.0;
        };

        showValue ("2.5");
    }

    /** What the owner does when the pedal reports a value. */
    void showValue (const juce::String& text)
    {
        label.lastText = text;
        label.setText (text, juce::dontSendNotification);
    }

    juce::TextEditor* openEditor()
    {
        asComponent (label).mouseDoubleClick (SyntheticMouse::doubleClick (label, { 50.0f, 16.0f }));
        return label.getCurrentTextEditor();
    }

    /** Types into the open editor and presses key; the label reacts to the
        key through the message loop. */
    void typeAndPress (const juce::String& typed, int keyCode)
    {
        auto* editor = label.getCurrentTextEditor();
        ASSERT_NE (editor, nullptr);
        editor->setText (typed, false);
        editor->keyPressed (juce::KeyPress (keyCode));
        ASSERT_TRUE (TestSupport::pumpMessagesUntil ([this] { return ! label.isBeingEdited(); }));
    }

    SimpleEditLabel label;
    std::vector<juce::String> offered;
};

} // namespace

//==============================================================================
TEST_F (SimpleEditLabelTest, OpensOnADoubleClickOnly)
{
    EXPECT_FALSE (label.isEditableOnSingleClick());
    EXPECT_TRUE (label.isEditableOnDoubleClick());
    EXPECT_TRUE (label.doesLossOfFocusDiscardChanges());
    EXPECT_EQ (label.getJustificationType(), juce::Justification (juce::Justification::centred));
    EXPECT_EQ (label.findColour (juce::TextEditor::backgroundColourId), juce::Colour (0));

    asComponent (label).mouseDown (SyntheticMouse::down (label, { 50.0f, 16.0f }));
    asComponent (label).mouseUp (SyntheticMouse::up (label, { 50.0f, 16.0f }, { 50.0f, 16.0f }));
    EXPECT_FALSE (label.isBeingEdited());

    auto* editor = openEditor();
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (editor->getText(), "2.5");
}

TEST_F (SimpleEditLabelTest, AcceptedTextIsCommittedAndRemembered)
{
    openEditor();
    typeAndPress ("7.25", juce::KeyPress::returnKey);

    EXPECT_EQ (offered, (std::vector<juce::String> { "7.25" }));
    EXPECT_EQ (label.getText(), "7.25");
    EXPECT_EQ (label.lastText, "7.25");
}

TEST_F (SimpleEditLabelTest, RefusedTextIsReplacedByTheLastText)
{
    openEditor();
    typeAndPress ("loud", juce::KeyPress::returnKey);

    EXPECT_EQ (offered, (std::vector<juce::String> { "loud" }));
    EXPECT_EQ (label.getText(), "2.5");
    EXPECT_EQ (label.lastText, "2.5");

    // Refused again after an accepted edit: back to the accepted text.
    openEditor();
    typeAndPress ("3", juce::KeyPress::returnKey);
    openEditor();
    typeAndPress ("99", juce::KeyPress::returnKey);
    EXPECT_EQ (label.getText(), "3");
}

TEST_F (SimpleEditLabelTest, RefusedBeforeAnyValueWasShownRestoresEmptyText)
{
    SimpleEditLabel fresh;
    fresh.setBounds (0, 0, 108, 32);
    fresh.validator = [] (const juce::String&) { return false; };

    asComponent (fresh).mouseDoubleClick (SyntheticMouse::doubleClick (fresh, { 5.0f, 5.0f }));
    ASSERT_NE (fresh.getCurrentTextEditor(), nullptr);
    fresh.getCurrentTextEditor()->setText ("4", false);
    fresh.getCurrentTextEditor()->keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
    ASSERT_TRUE (TestSupport::pumpMessagesUntil ([&] { return ! fresh.isBeingEdited(); }));

    EXPECT_EQ (fresh.getText(), "");
    EXPECT_EQ (fresh.lastText, "");
}

TEST_F (SimpleEditLabelTest, EscapeOrLostFocusCancelsWithoutAskingTheValidator)
{
    openEditor();
    typeAndPress ("8", juce::KeyPress::escapeKey);

    EXPECT_TRUE (offered.empty());
    EXPECT_EQ (label.getText(), "2.5");

    auto* editor = openEditor();
    ASSERT_NE (editor, nullptr);
    editor->setText ("9", false);
    static_cast<juce::Component*> (editor)->focusLost (juce::Component::focusChangedByMouseClick);
    ASSERT_TRUE (TestSupport::pumpMessagesUntil ([this] { return ! label.isBeingEdited(); }));

    EXPECT_TRUE (offered.empty());
    EXPECT_EQ (label.getText(), "2.5");
}

TEST_F (SimpleEditLabelTest, WithoutAValidatorEveryEditIsAccepted)
{
    label.validator = nullptr;
    openEditor();
    typeAndPress ("anything", juce::KeyPress::returnKey);

    EXPECT_EQ (label.getText(), "anything");
    EXPECT_EQ (label.lastText, "anything");
}

TEST_F (SimpleEditLabelTest, TextColourReachesTheEditor)
{
    const juce::Colour c (0xff959595);
    label.setTextColour (c);

    EXPECT_EQ (label.findColour (juce::Label::textColourId), c);

    auto* editor = openEditor();
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (editor->findColour (juce::TextEditor::textColourId), c);
    EXPECT_EQ (editor->findColour (juce::TextEditor::outlineColourId), c);
    EXPECT_EQ (editor->findColour (juce::TextEditor::focusedOutlineColourId), c);
    EXPECT_EQ (editor->findColour (juce::TextEditor::highlightColourId), c);
    EXPECT_EQ (editor->findColour (juce::TextEditor::highlightedTextColourId), c.contrasting (1.0f));
    EXPECT_EQ (editor->findColour (juce::CaretComponent::caretColourId), c.darker (0.4f));
    EXPECT_EQ (editor->findColour (juce::TextEditor::backgroundColourId), juce::Colour (0));

    label.hideEditor (true);
}
