// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BuiltInAmpModels.h"
#include "IErrorPresenter.h"
#include "IFileActionHost.h"
#include "IFilePicker.h"
#include "IPopupMenuRunner.h"
#include "QuorbelEditorService.h"
#include "SafeFileSave.h"
#include "TessarineData.h"

#include <juce_core/juce_core.h>

/** Everything the user does with files: the FILE menu (backup, restore,
    preset export and import, firmware update from the built-in image or a
    file) and the cabinet import behind the CAB panel's name readout.

    Each action asks for a file, prepares the data with the file readers and
    writers, and hands the transfer to the editor service. Backup and export
    finish later, on the service's worker thread, when the data has arrived;
    they write their file there and report only through the error presenter.
    The actions keep no state between runs.
*/
class FileMenuActions
{
public:
    /** The FILE menu's item ids. */
    enum MenuItem
    {
        itemBackup = 1,
        itemRestore = 2,
        itemExportPreset = 3,
        itemImportPreset = 4,
        itemUpdateFirmware = 5,
        itemUpdateFirmwareFromFile = 6
    };

    /** Firmware files beyond this size are refused unread; the pedal's image
        is about 113 KiB. */
    static constexpr juce::int64 maxFirmwareFileSize = 16 * 1024 * 1024;

    /** All references must outlive this object; the service must not call a
        completion callback after it is gone (the application shuts the
        service's queue down before it deletes the window). */
    FileMenuActions (Quorbel::QuorbelEditorService& service, const BuiltInAmpModels& amps, IFileActionHost& host,
                     IFilePicker& files, IPopupMenuRunner& menus, IErrorPresenter& errors);

    /** The FILE button's click: the menu, enabled by the service's state as
        read once now, then the chosen action. */
    void showFileMenu();

    void backup();
    void restore();
    void exportPreset();
    void importPreset();
    void startFirmwareUpdate (bool fromFile);
    void importCabinet();

    /** Completion of a backup: saves the bundle to `target`, replacing it only
        when the whole bundle was written. */
    void onBackupFinished (const juce::File& target, const Tessarine::TessarineData::QuorbelArchive& archive);

    /** Completion of a preset download: writes the preset file to `target`,
        replacing it only when the whole file was written. */
    void onPresetReceived (const juce::File& target, const Tessarine::TessarineData::FullQuorbelPreset& preset);

    /** How the bundle and preset files are opened for writing; tests pass an
        opener whose stream fails part-way. */
    void setSaveStreamOpener (SafeFileSave::StreamOpener opener) { saveStreamOpener = std::move (opener); }

    /** Reads a firmware file (stored bit-reversed) into `image`, refusing an
        empty, unreadable or oversized one; the log says why. */
    static Tessarine::Result readFirmwareFile (const juce::File& file, std::vector<uint8_t>& image);

    /** Reads the image built into the program. */
    static Tessarine::Result readBuiltInFirmware (std::vector<uint8_t>& image);

private:
    /** Shows the failure's text; the failure was logged where it was made. */
    void fail (const Tessarine::Result& failure);

    Quorbel::QuorbelEditorService& service;
    const BuiltInAmpModels& amps;
    IFileActionHost& host;
    IFilePicker& files;
    IPopupMenuRunner& menus;
    IErrorPresenter& errors;
    SafeFileSave::StreamOpener saveStreamOpener;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FileMenuActions)
};
