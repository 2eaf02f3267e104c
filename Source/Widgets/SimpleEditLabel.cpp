// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimpleEditLabel.h"

SimpleEditLabel::SimpleEditLabel()
    : juce::Label ({}, {})
{
    // Editable on a double click only; a lost focus discards the edit.
    setEditable (false, true, true);
    setJustificationType (juce::Justification::centred);
    setColour (juce::TextEditor::backgroundColourId, juce::Colour (0));
}

SimpleEditLabel::~SimpleEditLabel() = default;

void SimpleEditLabel::setTextColour (juce::Colour c)
{
    // The editor the label opens copies these, so typed text, outline,
    // selection and caret all follow c.
    setColour (juce::Label::textColourId, c);
    setColour (juce::TextEditor::textColourId, c);
    setColour (juce::TextEditor::outlineColourId, c);
    setColour (juce::TextEditor::highlightColourId, c);
    setColour (juce::TextEditor::highlightedTextColourId, c.contrasting (1.0f));
    setColour (juce::TextEditor::focusedOutlineColourId, c);
    setColour (juce::CaretComponent::caretColourId, c.darker (0.4f));

    // The label overwrites the editor's text and focused outline colours with
    // its own "when editing" colours whenever the look-and-feel defines them
    // (the default one defines a white editing text), so those follow c too.
    setColour (juce::Label::textWhenEditingColourId, c);
    setColour (juce::Label::outlineWhenEditingColourId, c);
}

void SimpleEditLabel::textWasEdited()
{
    if (validator && ! validator (getText()))
        setText (lastText, juce::dontSendNotification);

    lastText = getText();
}
