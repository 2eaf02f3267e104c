// SPDX-License-Identifier: GPL-3.0-or-later
//
// The main component's FILE and amp-model actions: the component's side (what
// its buttons start, and the errors, parameter sends and remembered folder the
// actions call back into), and MainComponentActions, which owns the actions
// and connects them to the component.

#include "MainComponentActions.h"
#include "MainComponent.h"

#include "Result.h"

#include <cstdarg>
#include <cstdio>

//==============================================================================
void MainComponent::showFileMenu()
{
    actions->getFileActions().showFileMenu();
}

void MainComponent::startFirmwareUpdate (bool fromFile)
{
    actions->getFileActions().startFirmwareUpdate (fromFile);
}

void MainComponent::importCabinet()
{
    actions->getFileActions().importCabinet();
}

void MainComponent::chooseBuiltInAmp()
{
    actions->chooseBuiltInAmp();
}

Tessarine::Result MainComponent::findBuiltInAmpForPreset (Service& editorService,
                                                          Tessarine::TessarineData::FullQuorbelPreset& preset,
                                                          bool copyAmpImpulse)
{
    return actions->getAmpModels().findBuiltInAmpForPreset (editorService, preset, copyAmpImpulse);
}

void MainComponent::setFileActionSeams (IFilePicker* files, IPopupMenuRunner* menus)
{
    actions->setFilePicker (files);
    actions->setMenuRunner (menus);
}

//==============================================================================
void MainComponent::setError (const char* format, ...)
{
    char text[512] = {};

    if (format != nullptr)
    {
        va_list args;
        va_start (args, format);
        std::vsnprintf (text, sizeof (text), format, args);
        va_end (args);
    }

    const juce::String message = juce::String::fromUTF8 (text);
    postUpdate ([this, message] {
        if (presentError)
            presentError (message);
        else
            juce::AlertWindow::showMessageBoxAsync (juce::MessageBoxIconType::WarningIcon, "Error", message, "OK", nullptr);
    });
}

bool MainComponent::setParameter (QuorbelParamID id, const ParameterValue& value)
{
    if (service->setParameterValue (id, value))
        return true;

    setError ("%s", "Failed to set parameter");
    TESSARINE_ERROR ("Failed to set parameter");
    return false;
}

juce::File MainComponent::getLastDirectory() const
{
    const auto stored = settings != nullptr ? settings->getValue ("lastDirectory") : juce::String();

    // A hand-edited settings file may hold anything; only absolute paths are
    // paths here.
    if (! juce::File::isAbsolutePath (stored))
        return {};

    juce::File f (stored);

    if (f.existsAsFile())
        f = f.getParentDirectory();

    return f.exists() ? f : juce::File();
}

juce::File MainComponent::getDefaultFile (const juce::String& name) const
{
    auto folder = getLastDirectory();

    if (! folder.exists())
        folder = juce::File::getSpecialLocation (juce::File::userDocumentsDirectory);

    return name.isNotEmpty() ? folder.getChildFile (name) : folder;
}

void MainComponent::setLastDirectory (juce::File file)
{
    if (file.existsAsFile())
        file = file.getParentDirectory();

    if (settings != nullptr)
        settings->setValue ("lastDirectory", file.getFullPathName());
}

//==============================================================================

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
