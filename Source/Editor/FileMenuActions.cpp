// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileMenuActions.h"
#include "BackupArchive.h"
#include "BuiltInFirmwareImage.h"
#include "FirmwarePlaceholder.h"
#include "InStreamWrapper.h"
#include "OutStreamWrapper.h"
#include "PresetConversion.h"
#include "SafeFileSave.h"
#include "TessarineDataFile.h"
#include "UserCabinetImporter.h"

#include <memory>

using namespace Tessarine;
using namespace Tessarine::TessarineData;
using State = Quorbel::QuorbelEditorService::State;

namespace
{
// Linux file names are case-sensitive: a file saved elsewhere as PRESET.TQP
// must show in the dialogs too, and the cabinet importer reads AIFF as well.
const char* const kBundleFilter = "*.tqu;*.TQU";
const char* const kPresetFilter = "*.tqp;*.TQP";
const char* const kImportPresetFilter = "*.tqp;*.pre;*.TQP;*.PRE";
const char* const kFirmwareFilter = "*.ldr;*.LDR";
const char* const kCabinetFilter = "*.wav;*.cab;*.WAV;*.CAB;*.aif;*.aiff;*.AIF;*.AIFF";

// The older unit's converted knob values go to the amp knobs in this order.
const QuorbelParamID kConvertedKnobParameters[kConvertedKnobCount] = {
    paramLiveKnob2, paramLiveKnob4, paramLiveKnob6, paramLiveKnob8,
    paramLiveKnob1, paramLiveKnob3, paramLiveKnob5, paramLiveKnob7,
};

bool wasCancelled (const juce::File& chosen)
{
    return chosen == juce::File();
}
} // namespace

FileMenuActions::FileMenuActions (Quorbel::QuorbelEditorService& editorService, const BuiltInAmpModels& ampModels,
                                  IFileActionHost& actionHost, IFilePicker& filePicker, IPopupMenuRunner& menuRunner,
                                  IErrorPresenter& errorPresenter)
    : service (editorService), amps (ampModels), host (actionHost), files (filePicker), menus (menuRunner),
      errors (errorPresenter)
{
}

void FileMenuActions::fail (const Result& failure)
{
    errors.showError (failure.error);
}

//==============================================================================
void FileMenuActions::showFileMenu()
{
    const State state = service.getState();
    const bool idle = state == State::Idle;
    const bool firmwareAllowed = idle || state == State::FirmwareUpdateRequired || state == State::Error;

    juce::PopupMenu menu;
    menu.addItem (itemBackup, "Backup", idle, false);
    menu.addItem (itemRestore, "Restore", idle, false);
    menu.addItem (itemExportPreset, "Export Preset", idle, false);
    menu.addItem (itemImportPreset, "Import Preset", idle, false);
    menu.addItem (itemUpdateFirmware, "Update Firmware", firmwareAllowed, false);
    menu.addItem (itemUpdateFirmwareFromFile, "Update Firmware from File", firmwareAllowed, false);

    switch (menus.show (menu))
    {
        case itemBackup:                 backup(); break;
        case itemRestore:                restore(); break;
        case itemExportPreset:           exportPreset(); break;
        case itemImportPreset:           importPreset(); break;
        case itemUpdateFirmware:         startFirmwareUpdate (false); break;
        case itemUpdateFirmwareFromFile: startFirmwareUpdate (true); break;
        default:                         break;
    }
}

//==============================================================================
void FileMenuActions::backup()
{
    const juce::File target = files.chooseFileToSave ("Save Backup Bundle", host.getDefaultFile ("Backup.tqu"), kBundleFilter);

    if (wasCancelled (target))
        return;

    host.setLastDirectory (target);

    if (! service.beginBackup ([this] (double progress) { host.onProgress (progress); },
                               [this, target] (const QuorbelArchive& archive) { onBackupFinished (target, archive); }))
        fail (TESSARINE_ERROR ("Failed to start backup"));
}

void FileMenuActions::onBackupFinished (const juce::File& target, const QuorbelArchive& archive)
{
    SafeFileSave save (target, saveStreamOpener);

    if (! BackupArchive::save (archive, save))
        fail (TESSARINE_ERROR ("Failed to save archive"));
}

void FileMenuActions::restore()
{
    const juce::File source = files.chooseFileToOpen ("Restore Backup Bundle", host.getLastDirectory(), kBundleFilter);

    if (wasCancelled (source))
        return;

    host.setLastDirectory (source);
    QuorbelArchive archive;

    if (! BackupArchive::loadFile (source, archive))
    {
        fail (TESSARINE_ERROR ("Failed to load backup"));
        return;
    }

    // A bundle's preset files carry no amp data; an entry whose amp is not
    // built in is restored with what it has rather than stopping the restore.
    for (QuorbelArchive::PresetEntry& entry : archive.presets)
        if (! amps.findBuiltInAmpForPreset (service, entry.preset, false))
            logMessage (LogWarning, "Failed to get amp data for preset %d in bundle", (int) entry.index);

    if (! service.beginRestore (archive, [this] (double progress) { host.onProgress (progress); }))
        fail (TESSARINE_ERROR ("Failed to start restore"));
}

//==============================================================================
void FileMenuActions::exportPreset()
{
    const juce::File target = files.chooseFileToSave ("Export Preset", host.getDefaultFile ("Preset.tqp"), kPresetFilter);

    if (wasCancelled (target))
        return;

    host.setLastDirectory (target);

    if (! service.getPresetData ([this, target] (const FullQuorbelPreset& preset) { onPresetReceived (target, preset); }))
        fail (TESSARINE_ERROR ("Failed to export preset"));
}

void FileMenuActions::onPresetReceived (const juce::File& target, const FullQuorbelPreset& preset)
{
    // Written beside the target and moved over it only once complete, so a
    // failed export never costs the user the file that was there.
    SafeFileSave save (target, saveStreamOpener);

    if (! save.open())
    {
        fail (TESSARINE_ERROR ("Failed to overwrite file"));
        return;
    }

    OutStreamWrapper out (save.getStream());
    const Result written = TessarineDataFile::writeFullPresetFile (preset, out, 0);
    const bool flushed = save.finishWriting();

    if (! written || ! flushed)
    {
        fail (TESSARINE_ERROR ("Failed to save preset"));
        return;
    }

    if (! save.commit())
        fail (TESSARINE_ERROR ("Failed to overwrite file"));
}

void FileMenuActions::importPreset()
{
    const juce::File source = files.chooseFileToOpen ("Import Preset", host.getLastDirectory(), kImportPresetFilter);

    if (wasCancelled (source))
        return;

    host.setLastDirectory (source);

    FullQuorbelPreset preset;
    bool copyAmpImpulse = false;
    // Not tested for being open: a missing or unreadable file fails in the reader.
    juce::FileInputStream stream (source);
    InStreamWrapper in (stream);

    if (source.hasFileExtension ("pre"))
    {
        Preset older;

        if (! TessarineDataFile::readPresetFile (in, older, nullptr))
        {
            fail (TESSARINE_ERROR ("Failed to load preset"));
            return;
        }

        double knobValues[kConvertedKnobCount] = {};

        if (! convertPreset (older, preset, &copyAmpImpulse, knobValues))
        {
            fail (TESSARINE_ERROR ("Failed to convert preset"));
            return;
        }

        // The knobs go at once, whatever becomes of the upload below; a
        // refused send reports itself.
        for (int i = 0; i < kConvertedKnobCount; ++i)
        {
            Quorbel::QuorbelParamMap::ParameterValue value;
            value.kind = 0;
            value.value = knobValues[i];
            host.setParameter (kConvertedKnobParameters[i], value);
        }
    }
    else if (! TessarineDataFile::readFullPresetFile (in, preset, nullptr))
    {
        fail (TESSARINE_ERROR ("Failed to load preset"));
        return;
    }

    if (! amps.findBuiltInAmpForPreset (service, preset, copyAmpImpulse))
    {
        fail (TESSARINE_ERROR ("Failed to get amp data for preset"));
        return;
    }

    if (! service.setPresetData (preset))
        fail (TESSARINE_ERROR ("Failed to import preset"));
}

//==============================================================================
Result FileMenuActions::readFirmwareFile (const juce::File& file, std::vector<uint8_t>& image)
{
    image.clear();
    juce::FileInputStream stream (file);

    if (! stream.openedOk())
        return TESSARINE_ERROR ("Cannot open the firmware file");

    const juce::int64 length = stream.getTotalLength();

    if (length <= 0)
        return TESSARINE_ERROR ("The firmware file is empty");

    if (length > maxFirmwareFileSize)
        return TESSARINE_ERROR ("The firmware file is too large to be firmware");

    InStreamWrapper in (stream);
    const Result r = TessarineDataFile::readBitReversed (in, image);

    if (! r)
        return r;

    // A read error ends the framework's stream like its end would; only its
    // status tells them apart.
    if (stream.getStatus().failed())
        return TESSARINE_ERROR ("Failed to read the firmware file");

    if (image.empty() || (juce::int64) image.size() > maxFirmwareFileSize)
        return TESSARINE_ERROR ("The firmware file changed while it was read");

    return kSuccess;
}

Result FileMenuActions::readBuiltInFirmware (std::vector<uint8_t>& image)
{
    static_assert (BuiltInData::builtInFirmwareImageSize == ProductData::FirmwarePlaceholder::kImageSize,
                   "the built-in firmware image has the size of the pedal's DSP image");

    juce::MemoryInputStream stream (BuiltInData::builtInFirmwareImage, BuiltInData::builtInFirmwareImageSize, false);
    InStreamWrapper in (stream);
    return TessarineDataFile::readBitReversed (in, image);
}

void FileMenuActions::startFirmwareUpdate (bool fromFile)
{
    QuorbelArchive archive;
    archive.firmware = std::make_unique<std::vector<uint8_t>>();

    if (fromFile)
    {
        const juce::File source = files.chooseFileToOpen ("Select Firmware", host.getDefaultFile ("DSP Firmware.ldr"),
                                                          kFirmwareFilter);

        if (wasCancelled (source))
            return;

        host.setLastDirectory (source);

        if (! readFirmwareFile (source, *archive.firmware))
        {
            fail (TESSARINE_ERROR ("Failed to load firmware"));
            return;
        }
    }
    else if (! readBuiltInFirmware (*archive.firmware))
    {
        fail (TESSARINE_ERROR ("Failed to load firmware"));
        return;
    }

    // The placeholder this editor is built with when the maker's image is not
    // available must never reach a pedal, wherever it comes from.
    if (ProductData::FirmwarePlaceholder::isPlaceholder (*archive.firmware))
    {
        logMessage (LogWarning, "The firmware image is the editor's placeholder, not DSP firmware: nothing is sent. "
                                "Use Update Firmware from File with a firmware file.");
        fail (TESSARINE_ERROR ("Failed to load firmware"));
        return;
    }

    if (! service.beginFirmwareUpdate (archive, [this] (double progress) { host.onProgress (progress); }))
        fail (TESSARINE_ERROR ("Failed to start firmware update"));
}

//==============================================================================
void FileMenuActions::importCabinet()
{
    const juce::File source = files.chooseFileToOpen ("Import Cabinet", host.getLastDirectory(), kCabinetFilter);

    if (wasCancelled (source))
        return;

    host.setLastDirectory (source);
    Cabinet cabinet;

    // These three are shown but not logged: the readers have nothing to add.
    if (source.hasFileExtension ("cab"))
    {
        juce::FileInputStream stream (source);
        InStreamWrapper in (stream);

        if (! TessarineDataFile::readCabinetFile (in, cabinet, nullptr))
        {
            errors.showError ("Failed to load cabinet");
            return;
        }
    }
    else
    {
        if (! UserCabinetImporter::importImpulse (source.getFullPathName().toRawUTF8(), &cabinet.impulse[0][0]))
        {
            errors.showError ("Failed to import cabinet");
            return;
        }

        cabinet.name = source.getFileNameWithoutExtension().toStdString();
    }

    if (! service.setCurrentCabData (cabinet))
        errors.showError ("Failed to send cabinet");
}
