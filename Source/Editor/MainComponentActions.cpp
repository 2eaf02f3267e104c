// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainComponentActions.h"
#include "MainComponent.h"

MainComponentActions::MainComponentActions (MainComponent& component, Quorbel::QuorbelEditorService& editorService)
    : owner (component), service (editorService),
      fileActions (editorService, ampModels, *this, *this, *this, *this)
{
}

MainComponentActions::~MainComponentActions() = default;

void MainComponentActions::chooseBuiltInAmp()
{
    ampModels.chooseBuiltInAmp (service, *this, *this);
}

juce::File MainComponentActions::getLastDirectory() { return owner.getLastDirectory(); }
juce::File MainComponentActions::getDefaultFile (const juce::String& name) { return owner.getDefaultFile (name); }
void MainComponentActions::setLastDirectory (const juce::File& chosen) { owner.setLastDirectory (chosen); }
void MainComponentActions::onProgress (double progress) { owner.onProgress (progress); }

bool MainComponentActions::setParameter (QuorbelParamID id, const Quorbel::QuorbelParamMap::ParameterValue& value)
{
    return owner.setParameter (id, value);
}

void MainComponentActions::showError (const char* text)
{
    owner.setError ("%s", text);
}

juce::File MainComponentActions::chooseFileToOpen (const juce::String& title, const juce::File& startingPoint,
                                                   const juce::String& filter)
{
    IFilePicker& picker = filePicker != nullptr ? *filePicker : nativeFilePicker;
    return picker.chooseFileToOpen (title, startingPoint, filter);
}

juce::File MainComponentActions::chooseFileToSave (const juce::String& title, const juce::File& startingPoint,
                                                   const juce::String& filter)
{
    IFilePicker& picker = filePicker != nullptr ? *filePicker : nativeFilePicker;
    return picker.chooseFileToSave (title, startingPoint, filter);
}

int MainComponentActions::show (const juce::PopupMenu& menu)
{
    return (menuRunner != nullptr ? *menuRunner : mouseMenuRunner).show (menu);
}
