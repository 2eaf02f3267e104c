// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsLocation.h"

#include <cstdlib>

juce::PropertiesFile::Options SettingsLocation::options()
{
    juce::PropertiesFile::Options options;
    options.applicationName = "Tessaquorbel Editor";
    options.filenameSuffix = "settings";
    options.folderName = "Tessaquorbel Editor";
    options.osxLibrarySubFolder = "Application Support";
    return options;
}

juce::File SettingsLocation::settingsFile (const char* xdgConfigHome, const juce::File& home)
{
    const auto opts = options();
    const juce::String configured (xdgConfigHome != nullptr ? juce::String::fromUTF8 (xdgConfigHome) : juce::String());

    const auto configFolder = juce::File::isAbsolutePath (configured) ? juce::File (configured)
                                                                      : home.getChildFile (".config");

    return configFolder.getChildFile (opts.folderName)
        .getChildFile (opts.applicationName)
        .withFileExtension (opts.filenameSuffix);
}

juce::File SettingsLocation::settingsFile()
{
    return settingsFile (std::getenv ("XDG_CONFIG_HOME"), juce::File::getSpecialLocation (juce::File::userHomeDirectory));
}

juce::PropertiesFile* SettingsLocation::createSettings()
{
    return new juce::PropertiesFile (settingsFile(), options());
}
