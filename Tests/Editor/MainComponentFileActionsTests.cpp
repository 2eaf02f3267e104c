// SPDX-License-Identifier: GPL-3.0-or-later
// The FILE button, the amp chooser and the built-in amp models as the main
// component carries them: its remembered folder, its "Error" alert and its
// lifetime.
#include "Support/ConnectedServiceFixture.h"
#include "Support/GuiTestEnvironment.h"
#include "MainComponent.h"
#include "Support/ScriptedFilePicker.h"
#include "Support/ScriptedMenuRunner.h"
#include "SimpleImageButton.h"
#include "SimpleTextButton.h"
#include "BackupArchive.h"
#include "BuiltInAmpModels.h"
#include "FileMenuActions.h"

#include <gtest/gtest.h>

namespace
{
class MainComponentFiles : public ConnectedServiceFixture
{
protected:
    MainComponentFiles()
    {
        settings = std::make_unique<juce::PropertiesFile> (scratch.file ("test.settings"), juce::PropertiesFile::Options());
        main = std::make_unique<MainComponent> (settings.get(), service.get());
        main->presentError = [this] (const juce::String& message) { alerts.push_back (message); };
        main->setFileActionSeams (&files, &menus);
    }

    ~MainComponentFiles() override
    {
        // The component goes before the service, as in the application.
        service->shutdown();
        main.reset();
    }

    void clickFile()
    {
        auto* button = dynamic_cast<SimpleTextButton*> (main->findChildWithID ("FILE"));
        ASSERT_NE (button, nullptr);
        ASSERT_TRUE (button->onClick);
        button->onClick();
    }

    /** Lets queued alerts reach presentError. */
    void settle() { TestSupport::pumpMessagesUntil ([] { return false; }, 60); }

    std::unique_ptr<juce::PropertiesFile> settings;
    std::unique_ptr<MainComponent> main;
    ScriptedFilePicker files;
    ScriptedMenuRunner menus;
    std::vector<juce::String> alerts;
};
} // namespace

TEST_F (MainComponentFiles, HoldsTheParsedAmpModelsForItsLifetime)
{
    for (const BuiltInAmpModel& row : builtInAmpModels)
        EXPECT_NE (row.parsed, nullptr) << row.name;

    main.reset();

    for (const BuiltInAmpModel& row : builtInAmpModels)
        EXPECT_EQ (row.parsed, nullptr) << row.name;
}

TEST_F (MainComponentFiles, TheFileButtonBacksUpAndRemembersTheFolder)
{
    attachAndSettle();
    const juce::File target = scratch.file ("Pedal.tqu");
    files.answer (target);
    menus.choose (FileMenuActions::itemBackup);

    clickFile();

    ASSERT_EQ (menus.menusShown(), 1);
    EXPECT_EQ (menus.lastMenu()[0].text, "Backup");
    EXPECT_TRUE (menus.lastMenu()[0].enabled);
    EXPECT_EQ (files.requests().back().startingPoint,
               juce::File::getSpecialLocation (juce::File::userDocumentsDirectory).getChildFile ("Backup.tqu"))
        << "nothing remembered yet: the documents folder";
    // Stored as chosen; it is reduced to its folder once the file exists.
    EXPECT_EQ (settings->getValue ("lastDirectory"), target.getFullPathName());

    ASSERT_TRUE (waitForIdle());
    Tessarine::TessarineData::QuorbelArchive loaded;
    EXPECT_TRUE (BackupArchive::loadFile (target, loaded));
    EXPECT_EQ (loaded.presets.size(), 9u);
    EXPECT_EQ (main->getLastDirectory(), scratch.get());

    settle();
    EXPECT_TRUE (alerts.empty());
}

TEST_F (MainComponentFiles, FailuresReachTheErrorAlert)
{
    // No pedal: the firmware update is refused after the file was read.
    files.answer (scratch.file ("dsp.ldr"));
    scratch.file ("dsp.ldr").replaceWithText ("not much of an image");
    main->startFirmwareUpdate (true);

    files.answer (scratch.file ("Room.cab"));
    main->importCabinet();

    menus.choose (3);
    main->chooseBuiltInAmp();

    settle();
    EXPECT_EQ (alerts, (std::vector<juce::String> { "Failed to start firmware update", "Failed to load cabinet",
                                                    "Failed to send amp" }));
}

TEST_F (MainComponentFiles, TheAmpChooserSendsThroughTheComponentsService)
{
    attachAndSettle();
    menus.choose (24);
    main->chooseBuiltInAmp();
    ASSERT_TRUE (waitForIdle());

    EXPECT_EQ (service->getCurrentAmpName(), "Power KT88");
    EXPECT_EQ (menus.lastMenu().size(), 24u);

    Tessarine::TessarineData::FullQuorbelPreset preset;
    preset.amp.id = 993;
    EXPECT_TRUE (main->findBuiltInAmpForPreset (*service, preset, false));
    EXPECT_EQ (preset.amp.name, "Power KT88");
}

TEST_F (MainComponentFiles, TheNameReadoutsOpenTheAmpMenuAndTheCabinetDialog)
{
    // The amp-model and cabinet readouts are the panels' wide value cells.
    const auto readout = [this]() -> SimpleImageButton* {
        auto* viewport = dynamic_cast<juce::Viewport*> (main->findChildWithID ("panelViewport"));

        if (viewport == nullptr || viewport->getViewedComponent() == nullptr)
            return nullptr;

        for (auto* child : viewport->getViewedComponent()->getChildren())
            if (auto* button = dynamic_cast<SimpleImageButton*> (child))
                if (button->getBounds() == juce::Rectangle<int> (136, 59, 274, 52) && button->onClick)
                    return button;

        return nullptr;
    };

    main->showFXPanel (Quorbel::QuorbelParamMap::AMP);
    ASSERT_NE (readout(), nullptr);
    menus.choose (0);
    readout()->onClick();
    ASSERT_EQ (menus.menusShown(), 1);
    EXPECT_EQ (menus.lastMenu().size(), 24u);
    EXPECT_EQ (menus.lastMenu()[4].text, "59 Bman");

    main->showFXPanel (Quorbel::QuorbelParamMap::CAB);
    ASSERT_NE (readout(), nullptr);
    readout()->onClick();
    ASSERT_EQ (files.requests().size(), 1u);
    EXPECT_EQ (files.requests().back().title, "Import Cabinet");

    settle();
    EXPECT_TRUE (alerts.empty()) << "both cancelled: nothing to report";
}
