// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BuiltInAmpModels.h"
#include "FileMenuActions.h"
#include "IErrorPresenter.h"
#include "IFileActionHost.h"
#include "IFilePicker.h"
#include "IPopupMenuRunner.h"
#include "MousePopupMenuRunner.h"
#include "NativeFilePicker.h"

class MainComponent;

/** The main component's share of the file and amp-model work: it owns the
    parsed built-in amp models and the FILE actions, and connects them to the
    component (remembered folder, progress, parameter sends, the "Error"
    alert).

    Dialogs and menus go through replaceable seams: the platform's file
    dialog and a popup menu at the mouse unless a test installs its own.
*/
class MainComponentActions : private IFileActionHost,
                             private IErrorPresenter,
                             private IFilePicker,
                             private IPopupMenuRunner
{
public:
    /** Parses the built-in amp models. */
    MainComponentActions (MainComponent& owner, Quorbel::QuorbelEditorService& service);
    ~MainComponentActions() override;

    /** Replaces the file dialogs or the menus (null: the real ones again).
        Message thread, while no action runs. */
    void setFilePicker (IFilePicker* picker) { filePicker = picker; }
    void setMenuRunner (IPopupMenuRunner* runner) { menuRunner = runner; }

    FileMenuActions& getFileActions() { return fileActions; }
    BuiltInAmpModels& getAmpModels() { return ampModels; }

    void chooseBuiltInAmp();

private:
    // IFileActionHost
    juce::File getLastDirectory() override;
    juce::File getDefaultFile (const juce::String& name) override;
    void setLastDirectory (const juce::File& chosen) override;
    void onProgress (double progress) override;
    bool setParameter (QuorbelParamID id, const Quorbel::QuorbelParamMap::ParameterValue& value) override;

    // IErrorPresenter
    void showError (const char* text) override;

    // IFilePicker and IPopupMenuRunner: whichever is installed.
    juce::File chooseFileToOpen (const juce::String& title, const juce::File& startingPoint,
                                 const juce::String& filter) override;
    juce::File chooseFileToSave (const juce::String& title, const juce::File& startingPoint,
                                 const juce::String& filter) override;
    int show (const juce::PopupMenu& menu) override;

    MainComponent& owner;
    Quorbel::QuorbelEditorService& service;
    NativeFilePicker nativeFilePicker;
    MousePopupMenuRunner mouseMenuRunner;
    IFilePicker* filePicker = nullptr;
    IPopupMenuRunner* menuRunner = nullptr;
    BuiltInAmpModels ampModels;
    FileMenuActions fileActions;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainComponentActions)
};
