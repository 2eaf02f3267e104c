// SPDX-License-Identifier: GPL-3.0-or-later
// The FILE menu: its items per service state, its dialogs, and what a
// dismissed menu or a cancelled dialog leaves behind.
#include "Support/FileActionFixture.h"

#include <gtest/gtest.h>

namespace
{
using Item = ScriptedMenuRunner::Item;

std::vector<bool> enabledItems (const std::vector<Item>& menu)
{
    std::vector<bool> enabled;

    for (const Item& item : menu)
        enabled.push_back (item.enabled);

    return enabled;
}

class FileMenu : public FileActionFixture
{
protected:
    std::vector<bool> enabledInMenu()
    {
        menus.choose (0);
        actions.showFileMenu();
        return enabledItems (menus.lastMenu());
    }
};

const std::vector<bool> kNothing { false, false, false, false, false, false };
const std::vector<bool> kEverything { true, true, true, true, true, true };
const std::vector<bool> kFirmwareOnly { false, false, false, false, true, true };
} // namespace

TEST_F (FileMenu, ListsItsSixItemsUnticked)
{
    menus.choose (0);
    actions.showFileMenu();

    const char* const texts[] = { "Backup", "Restore", "Export Preset", "Import Preset", "Update Firmware",
                                  "Update Firmware from File" };
    ASSERT_EQ (menus.lastMenu().size(), 6u);

    for (int i = 0; i < 6; ++i)
    {
        EXPECT_EQ (menus.lastMenu()[(size_t) i].id, i + 1);
        EXPECT_EQ (menus.lastMenu()[(size_t) i].text, texts[i]);
        EXPECT_FALSE (menus.lastMenu()[(size_t) i].ticked);
    }
}

TEST_F (FileMenu, ItemsAreEnabledByTheServiceState)
{
    EXPECT_EQ (enabledInMenu(), kNothing) << "no pedal";

    attachAndSettle();
    EXPECT_EQ (enabledInMenu(), kEverything) << "Idle";

    // A slow pedal keeps the download running while the menu is opened.
    pedal.setReplyDelay (std::chrono::milliseconds (100));
    ASSERT_TRUE (service->getPresetData ([] (const auto&) {}));
    ASSERT_EQ (service->getState(), State::Receiving);
    EXPECT_EQ (enabledInMenu(), kNothing) << "Receiving";
    pedal.setReplyDelay (std::chrono::milliseconds (0));
    ASSERT_TRUE (waitForIdle());

    // A failed transfer leaves Error, from which only a firmware update leads.
    pedal.injectFault (0xC5, TestSupport::SimulatedPedal::Fault::nack(), 1, 0);
    ASSERT_TRUE (service->getPresetData ([] (const auto&) {}));
    ASSERT_TRUE (waitFor ([&] { return service->getState() == State::Error; }));
    pedal.clearFaults();
    EXPECT_EQ (enabledInMenu(), kFirmwareOnly) << "Error";
}

TEST_F (FileMenu, AnOutdatedPedalOffersOnlyTheFirmwareUpdate)
{
    pedal.setVersions ({ 1, 0, 0 }, { 0, 3, 2 }, 1);
    connection = std::make_unique<TestSupport::PedalConnection> (pedal, timeouts);
    ASSERT_TRUE (connection->isConnected());
    ASSERT_TRUE (service->connect (&connection->protocol()));
    ASSERT_TRUE (waitFor ([&] { return service->getState() == State::FirmwareUpdateRequired; }));

    EXPECT_EQ (enabledInMenu(), kFirmwareOnly);
}

TEST_F (FileMenu, ADismissedMenuOrAnUnknownIdDoesNothing)
{
    attachAndSettle();

    for (int id : { 0, 7, -1 })
    {
        menus.choose (id);
        actions.showFileMenu();
    }

    EXPECT_TRUE (files.requests().empty());
    EXPECT_TRUE (shownErrors().empty());
}

TEST_F (FileMenu, AStateChangeWhileTheMenuIsOpenMakesTheActionFail)
{
    attachAndSettle();
    menus.whileOpen = [this] { detach(); };

    runMenuItem (FileMenuActions::itemBackup, scratch.file ("Backup.tqu"));

    EXPECT_EQ (shownErrors(), std::vector<std::string> { "Failed to start backup" });
    EXPECT_TRUE (log.contains ("Failed to start backup"));
    EXPECT_FALSE (scratch.file ("Backup.tqu").exists());
}

TEST_F (FileMenu, EveryDialogHasItsTitleStartAndFilter)
{
    struct Expected
    {
        int item;
        bool save;
        const char* title;
        juce::File start;
        const char* filter;
    };

    const juce::File folder = scratch.get();
    const Expected dialogs[] = {
        { 1, true, "Save Backup Bundle", folder.getChildFile ("Backup.tqu"), "*.tqu;*.TQU" },
        { 2, false, "Restore Backup Bundle", folder, "*.tqu;*.TQU" },
        { 3, true, "Export Preset", folder.getChildFile ("Preset.tqp"), "*.tqp;*.TQP" },
        { 4, false, "Import Preset", folder, "*.tqp;*.pre;*.TQP;*.PRE" },
        { 6, false, "Select Firmware", folder.getChildFile ("DSP Firmware.ldr"), "*.ldr;*.LDR" },
    };

    attachAndSettle();

    for (const Expected& e : dialogs)
    {
        menus.choose (e.item);
        actions.showFileMenu();
        const ScriptedFilePicker::Request& asked = files.requests().back();
        EXPECT_EQ (asked.save, e.save) << e.title;
        EXPECT_EQ (asked.title, e.title);
        EXPECT_EQ (asked.startingPoint, e.start) << e.title;
        EXPECT_EQ (asked.filter, e.filter) << e.title;
    }

    actions.importCabinet();
    EXPECT_FALSE (files.requests().back().save);
    EXPECT_EQ (files.requests().back().title, "Import Cabinet");
    EXPECT_EQ (files.requests().back().startingPoint, folder);
    EXPECT_EQ (files.requests().back().filter, "*.wav;*.cab;*.WAV;*.CAB;*.aif;*.aiff;*.AIF;*.AIFF");
}

TEST_F (FileMenu, ACancelledDialogDoesNothingAndRemembersNoFolder)
{
    attachAndSettle();
    pedal.clearReceived();

    for (int item : { 1, 2, 3, 4, 6 })
    {
        menus.choose (item);
        actions.showFileMenu();   // nothing scripted: the dialog is cancelled
    }

    actions.importCabinet();

    EXPECT_EQ (files.requests().size(), 6u);
    EXPECT_TRUE (host.rememberedFolders().empty());
    EXPECT_TRUE (shownErrors().empty());
    EXPECT_EQ (service->getState(), State::Idle);
    EXPECT_EQ (pedal.receivedCount(), 0u);
}
