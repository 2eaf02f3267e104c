// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_data_structures/juce_data_structures.h>

/** Where the editor keeps its settings file, and the file's options.

    The options are the editor's own (application and folder "Tessaquorbel
    Editor", suffix "settings", everything else the framework's defaults), but
    on Linux the framework would put the folder straight into the home
    directory; the editor follows the XDG rule instead and keeps it in
    $XDG_CONFIG_HOME (or ~/.config), as "Tessaquorbel Editor/Tessaquorbel
    Editor.settings".
*/
class SettingsLocation
{
public:
    static juce::PropertiesFile::Options options();

    /** The settings file for the given XDG_CONFIG_HOME value (null or empty
        when unset) and home folder. A relative XDG_CONFIG_HOME is invalid by
        the XDG rule and ignored. */
    static juce::File settingsFile (const char* xdgConfigHome, const juce::File& home);

    /** The settings file for this process's environment. */
    static juce::File settingsFile();

    /** A new settings file over settingsFile() and options(). */
    static juce::PropertiesFile* createSettings();
};
