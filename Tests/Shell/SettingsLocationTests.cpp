// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsLocation.h"

#include <gtest/gtest.h>

#include <memory>

TEST (SettingsLocation, FollowsXdgConfigHome)
{
    const juce::File home ("/home/player");

    EXPECT_EQ (SettingsLocation::settingsFile ("/tmp/cfg", home).getFullPathName(),
               "/tmp/cfg/Tessaquorbel Editor/Tessaquorbel Editor.settings");
    EXPECT_EQ (SettingsLocation::settingsFile (nullptr, home).getFullPathName(),
               "/home/player/.config/Tessaquorbel Editor/Tessaquorbel Editor.settings");
    EXPECT_EQ (SettingsLocation::settingsFile ("", home).getFullPathName(),
               "/home/player/.config/Tessaquorbel Editor/Tessaquorbel Editor.settings");
    // Relative values are invalid by the XDG rule.
    EXPECT_EQ (SettingsLocation::settingsFile ("cfg", home).getFullPathName(),
               "/home/player/.config/Tessaquorbel Editor/Tessaquorbel Editor.settings");
}

TEST (SettingsLocation, OptionsKeepTheFrameworkDefaults)
{
    const auto options = SettingsLocation::options();
    EXPECT_EQ (options.applicationName, "Tessaquorbel Editor");
    EXPECT_EQ (options.filenameSuffix, "settings");
    EXPECT_EQ (options.folderName, "Tessaquorbel Editor");
    EXPECT_EQ (options.osxLibrarySubFolder, "Application Support");
    EXPECT_FALSE (options.commonToAllUsers);
    EXPECT_FALSE (options.ignoreCaseOfKeyNames);
    EXPECT_EQ (options.millisecondsBeforeSaving, 3000);
    EXPECT_EQ (options.storageFormat, juce::PropertiesFile::storeAsXML);
    EXPECT_EQ (options.processLock, nullptr);
}

TEST (SettingsLocation, SavingCreatesTheFolderAndReloads)
{
    const auto root = juce::File::createTempFile ("tq-settings");
    const auto file = SettingsLocation::settingsFile (root.getFullPathName().toRawUTF8(), juce::File ("/nonexistent"));

    {
        juce::PropertiesFile settings (file, SettingsLocation::options());
        settings.setValue ("lastDirectory", "/music/impulses");
        ASSERT_TRUE (settings.saveIfNeeded());
    }

    EXPECT_TRUE (file.existsAsFile());
    juce::PropertiesFile again (file, SettingsLocation::options());
    EXPECT_EQ (again.getValue ("lastDirectory"), "/music/impulses");
    root.deleteRecursively();
}
