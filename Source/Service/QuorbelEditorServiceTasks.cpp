// SPDX-License-Identifier: GPL-3.0-or-later
// The editor service's task bodies: they run one at a time on the worker thread
// and talk to the pedal only through callDevice.
#include "QuorbelEditorService.h"

#include "NameSanitiser.h"

namespace Quorbel
{

using Tessarine::LogDebug;
using Tessarine::LogWarning;
using Tessarine::logMessage;
using Tessarine::TessarineProtocol;

namespace
{
Tessarine::TessarineData::FullQuorbelPreset defaultPresetContents()
{
    // A new record already is the default: unit impulses, empty names, a
    // finishing filter that passes the signal unchanged.
    return {};
}
} // namespace

//==============================================================================
// Worker-thread helpers.

void QuorbelEditorService::adoptCurrentAttachment()
{
    std::lock_guard<std::mutex> lock (_dataMutex);
    _taskAttachment = _attachment;
}

Tessarine::Result QuorbelEditorService::callDevice (const std::function<Result (TessarineProtocol&)>& call)
{
    std::lock_guard<std::mutex> device (_deviceMutex);
    TessarineProtocol* protocol;

    {
        // Once shutdown has begun, only the rest of a preset being written goes out.
        std::lock_guard<std::mutex> lock (_dataMutex);
        const bool mayCall = _attachment == _taskAttachment && (! _stopping || _writingPreset);
        protocol = mayCall ? _protocol : nullptr;
    }

    if (protocol == nullptr)
        return TESSARINE_ERROR ("No pedal attached");

    return call (*protocol);
}

class QuorbelEditorService::PresetWrite
{
public:
    explicit PresetWrite (QuorbelEditorService& owner) : service (owner)
    {
        std::lock_guard<std::mutex> lock (service._dataMutex);
        began = ! service._stopping;
        service._writingPreset = began;
    }

    ~PresetWrite()
    {
        if (! began)
            return;

        {
            std::lock_guard<std::mutex> lock (service._dataMutex);
            service._writingPreset = false;
        }

        service._presetWritten.notify_all();
    }

    bool hasBegun() const { return began; }

private:
    QuorbelEditorService& service;
    bool began;

    PresetWrite (const PresetWrite&) = delete;
    PresetWrite& operator= (const PresetWrite&) = delete;
};

void QuorbelEditorService::setTaskState (State state)
{
    std::lock_guard<std::mutex> listeners (_listenerMutex);

    {
        std::lock_guard<std::mutex> lock (_dataMutex);

        if (_attachment != _taskAttachment)
            return;

        _state = state;
    }

    notifyStateChanged (state);
}

void QuorbelEditorService::setTaskError (const char* text)
{
    std::lock_guard<std::mutex> listeners (_listenerMutex);

    {
        std::lock_guard<std::mutex> lock (_dataMutex);

        // The pedal this task talked to has gone: the detach already showed
        // Disconnected, and a re-attach may be refreshing by now. Tested in
        // the same section that sets the state, so a detach cannot slip in
        // between and be overwritten.
        if (_attachment != _taskAttachment)
            return;

        logMessage (Tessarine::LogError, "EdSvc error: %s", text != nullptr ? text : "");
        _lastError = text != nullptr ? text : "";
        _state = Error;
    }

    notifyStateChanged (Error);
}

Tessarine::Result QuorbelEditorService::failTask (Result failure)
{
    setTaskError (failure.error);
    return failure;
}

int QuorbelEditorService::cachedPresetIndex()
{
    std::lock_guard<std::mutex> lock (_dataMutex);
    return _currentPresetIndex;
}

void QuorbelEditorService::sleepFor (int milliseconds, const Task& task)
{
    _sleeper->sleep (milliseconds, task.cancelled);
}

//==============================================================================
Tessarine::Result QuorbelEditorService::refreshTask (Task& task, bool afterConnect)
{
    logMessage (LogDebug, "Starting refresh");
    setTaskState (Refreshing);

    if (afterConnect)
    {
        // The pedal needs a moment after enumeration before it answers.
        sleepFor (settleMilliseconds, task);

        FirmwareVersionInfo version;

        if (callDevice ([&] (TessarineProtocol& p) { return p.getFirmwareVersionInfo (version); }))
        {
            logMessage (LogDebug, "QuorbelEditorService: System version: %d.%d.%d", version.system[0], version.system[1], version.system[2]);
            logMessage (LogDebug, "QuorbelEditorService: DSP version: %d.%d.%d", version.dsp[0], version.dsp[1], version.dsp[2]);
        }
        else
        {
            logMessage (LogWarning, "Failed to get version information - assuming invalid version");
            version = FirmwareVersionInfo();
            version.kind = -1;
        }

        {
            std::lock_guard<std::mutex> lock (_dataMutex);
            _deviceVersion = version;
        }

        bool alive = false;

        if (! callDevice ([&] (TessarineProtocol& p) { return p.ping (alive); }))
            return failTask (TESSARINE_ERROR ("Failed to connect (1)"));

        if (! alive)
            return failTask (TESSARINE_ERROR ("Failed to connect (2)"));

        if (! checkFirmwareVersion (version))
        {
            setTaskState (FirmwareUpdateRequired);
            return Result::success();
        }
    }

    if (! refreshCurrentPreset())
        return failTask (TESSARINE_ERROR ("Failed to refresh preset"));

    setTaskState (Idle);
    notifyDataChanged();
    refreshIfPending();

    return callDevice ([] (TessarineProtocol& p) { return p.requestParameterUpdates(); });
}

Tessarine::Result QuorbelEditorService::ampUploadTask (const Tessarine::TessarineData::Amp& amp)
{
    const uint32_t index = (uint32_t) cachedPresetIndex();
    logMessage (LogDebug, "Sending amp");
    setTaskState (Sending);

    {
        const PresetWrite write (*this);

        if (! write.hasBegun())
            return TESSARINE_ERROR ("Service is stopping");

        if (! callDevice ([&] (TessarineProtocol& p) { return p.setAmpData (index, amp.data, false); }))
            return failTask (TESSARINE_ERROR ("Failed to send amp data"));

        if (! callDevice ([&] (TessarineProtocol& p) { return p.setFinishingFilter (index, amp.finishingFilter, false); }))
            return failTask (TESSARINE_ERROR ("Failed to send finishing filter data"));

        if (! callDevice ([&] (TessarineProtocol& p) { return p.setAmpNameAndID (index, amp.nameAndID, false); }))
            return failTask (TESSARINE_ERROR ("Failed to send amp name and ID"));
    }

    {
        std::lock_guard<std::mutex> lock (_dataMutex);
        _ampName = amp.nameAndID.name;
    }

    setTaskState (Idle);
    notifyDataChanged();
    refreshIfPending();
    return Result::success();
}

Tessarine::Result QuorbelEditorService::cabUploadTask (const Tessarine::TessarineData::Cabinet& cab)
{
    const uint32_t index = (uint32_t) cachedPresetIndex();
    logMessage (LogDebug, "Sending cab");
    setTaskState (Sending);
    const std::string name = Tessarine::TessarineData::sanitiseName (cab.name, 15);

    {
        const PresetWrite write (*this);

        if (! write.hasBegun())
            return TESSARINE_ERROR ("Service is stopping");

        if (! callDevice ([&] (TessarineProtocol& p) { return p.setCabData (index, cab.impulse); }))
            return failTask (TESSARINE_ERROR ("Failed to send cab data"));

        if (! callDevice ([&] (TessarineProtocol& p) { return p.setCabName (index, name); }))
            return failTask (TESSARINE_ERROR ("Failed to send cab name"));
    }

    {
        std::lock_guard<std::mutex> lock (_dataMutex);
        _cabName = name;
    }

    setTaskState (Idle);
    notifyDataChanged();
    refreshIfPending();
    return Result::success();
}

Tessarine::Result QuorbelEditorService::writePreset (uint32_t index, const FullQuorbelPreset& preset, const char* presetLog,
                                                     const char* ampDataLog, const char* filterLog, const char* ampNameLog,
                                                     const char* cabDataLog, const char* cabNameLog)
{
    // Cabinet names go as given here: a whole preset is written as it was read.
    const PresetWrite write (*this);

    if (! write.hasBegun())
        return TESSARINE_ERROR ("Service is stopping");

    if (presetLog != nullptr)
        logMessage (LogDebug, presetLog, (int) index);

    if (! callDevice ([&] (TessarineProtocol& p) { return p.setPreset (index, preset.params); }))
        return failTask (TESSARINE_ERROR ("Failed to set preset data"));

    logMessage (LogDebug, ampDataLog, (int) index);

    if (! callDevice ([&] (TessarineProtocol& p) { return p.setAmpData (index, preset.ampData, false); }))
        return failTask (TESSARINE_ERROR ("Failed to set amp data"));

    logMessage (LogDebug, filterLog, (int) index);

    if (! callDevice ([&] (TessarineProtocol& p) { return p.setFinishingFilter (index, preset.finishingFilter, false); }))
        return failTask (TESSARINE_ERROR ("Failed to set finishing filter data"));

    logMessage (LogDebug, ampNameLog, (int) index);

    if (! callDevice ([&] (TessarineProtocol& p) { return p.setAmpNameAndID (index, preset.amp, false); }))
        return failTask (TESSARINE_ERROR ("Failed to set amp name and ID"));

    logMessage (LogDebug, cabDataLog, (int) index);

    if (! callDevice ([&] (TessarineProtocol& p) { return p.setCabData (index, preset.cab.impulse); }))
        return failTask (TESSARINE_ERROR ("Failed to set cabinet data"));

    logMessage (LogDebug, cabNameLog, (int) index);

    if (! callDevice ([&] (TessarineProtocol& p) { return p.setCabName (index, preset.cab.name); }))
        return failTask (TESSARINE_ERROR ("Failed to set cabinet name"));

    return Result::success();
}

Tessarine::Result QuorbelEditorService::readPreset (uint32_t index, FullQuorbelPreset& preset, const char* presetLog,
                                                    const char* ampDataLog, const char* filterLog, const char* ampNameLog,
                                                    const char* cabDataLog, const char* cabNameLog)
{
    if (presetLog != nullptr)
        logMessage (LogDebug, presetLog, (int) index);

    if (! callDevice ([&] (TessarineProtocol& p) { return p.getPreset (index, preset.params); }))
        return failTask (TESSARINE_ERROR ("Failed to get preset data"));

    logMessage (LogDebug, ampDataLog, (int) index);

    if (! callDevice ([&] (TessarineProtocol& p) { return p.getAmpData (index, preset.ampData); }))
        return failTask (TESSARINE_ERROR ("Failed to get amp data"));

    logMessage (LogDebug, filterLog, (int) index);

    if (! callDevice ([&] (TessarineProtocol& p) { return p.getFinishingFilter (index, preset.finishingFilter); }))
        return failTask (TESSARINE_ERROR ("Failed to get finishing filter data"));

    logMessage (LogDebug, ampNameLog, (int) index);

    if (! callDevice ([&] (TessarineProtocol& p) { return p.getAmpNameAndID (index, preset.amp); }))
        return failTask (TESSARINE_ERROR ("Failed to get amp name and ID"));

    logMessage (LogDebug, cabDataLog, (int) index);

    if (! callDevice ([&] (TessarineProtocol& p) { return p.getCabData (index, preset.cab.impulse); }))
        return failTask (TESSARINE_ERROR ("Failed to get cabinet data"));

    logMessage (LogDebug, cabNameLog, (int) index);

    if (! callDevice ([&] (TessarineProtocol& p) { return p.getCabName (index, preset.cab.name); }))
        return failTask (TESSARINE_ERROR ("Failed to get cabinet name"));

    return Result::success();
}

Tessarine::Result QuorbelEditorService::presetUploadTask (const FullQuorbelPreset& preset)
{
    logMessage (LogDebug, "Starting setPresetData");
    setTaskState (Sending);
    uint32_t index = 0;

    // The pedal's own current slot, not the cached one.
    if (! callDevice ([&] (TessarineProtocol& p) { return p.getCurrentPreset (index); }))
        return failTask (TESSARINE_ERROR ("Failed to get preset index"));

    const Result written = writePreset (index, preset, "Sending preset %d", "Sending ampData %d", "Sending finishingFilter %d",
                                        "Sending ampNameAndID %d", "Sending cabData %d", "Sending cabName %d");

    if (! written)
        return written;

    setTaskState (Idle);
    refreshCurrentPreset();
    return Result::success();
}

Tessarine::Result QuorbelEditorService::presetDownloadTask (const PresetCallback& callback)
{
    logMessage (LogDebug, "Starting getPresetData");
    setTaskState (Receiving);
    FullQuorbelPreset preset = defaultPresetContents();
    uint32_t index = 0;

    if (! callDevice ([&] (TessarineProtocol& p) { return p.getCurrentPreset (index); }))
        return failTask (TESSARINE_ERROR ("Failed to get preset index"));

    const Result read = readPreset (index, preset, "Read preset %d", "Read ampData %d", "Read finishingFilter %d",
                                    "Read ampNameAndID %d", "Read cabData %d", "Read cabName %d");

    if (! read)
        return read;

    setTaskState (Idle);
    refreshIfPending();

    if (callback)
        callback (preset);

    return Result::success();
}

Tessarine::Result QuorbelEditorService::backupTask (const ProgressCallback& progress, const BackupCallback& done)
{
    logMessage (LogDebug, "Starting backup");
    setTaskState (BackingUp);

    QuorbelArchive archive;
    archive.globals = std::make_unique<std::map<uint32_t, uint32_t>>();

    if (! callDevice ([&] (TessarineProtocol& p) { return p.getGlobals (*archive.globals); }))
        return failTask (TESSARINE_ERROR ("Failed to get globals"));

    for (uint32_t index = 0; index < 9; ++index)
    {
        archive.presets.emplace_back();
        auto& entry = archive.presets.back();
        entry.index = index;
        entry.preset = defaultPresetContents();
        logMessage (LogDebug, "Backup preset %d", (int) index);

        if (progress)
            progress (index / 9.0);

        const Result read = readPreset (index, entry.preset, nullptr, "Backup ampData %d", "Backup finishingFilter %d",
                                        "Backup ampNameAndID %d", "Backup cabData %d", "Backup cabName %d");

        if (! read)
            return read;
    }

    setTaskState (Idle);
    refreshIfPending();

    if (done)
        done (archive);

    return Result::success();
}

Tessarine::Result QuorbelEditorService::restoreTask (const QuorbelArchive& archive, const ProgressCallback& progress)
{
    logMessage (LogDebug, "Starting restore");
    setTaskState (Restoring);

    if (archive.globals != nullptr
        && ! callDevice ([&] (TessarineProtocol& p) { return p.setGlobals (*archive.globals); }))
        return failTask (TESSARINE_ERROR ("Failed to set globals"));

    for (const auto& entry : archive.presets)
    {
        logMessage (LogDebug, "Restoring preset %d", (int) entry.index);

        if (progress)
            progress (entry.index / 9.0);

        const Result written = writePreset (entry.index, entry.preset, nullptr, "Restoring ampData %d", "Restoring finishingFilter %d",
                                            "Restoring ampNameAndID %d", "Restoring cabData %d", "Restoring cabName %d");

        if (! written)
            return written;
    }

    setTaskState (Idle);
    refreshCurrentPreset();
    return Result::success();
}

Tessarine::Result QuorbelEditorService::presetChangeTask (Task& task)
{
    int lastTarget = -1;
    int roundsOnTarget = 0;

    for (;;)
    {
        int target;
        int reported;
        bool cancelled;
        bool givenUp;

        {
            // Whether to go on is judged on the target read here, and the flag
            // is cleared in the same hold: a request that came before moved the
            // target and gets rounds of its own; one that comes after finds no
            // change pending and queues its own task.
            std::lock_guard<std::mutex> lock (_dataMutex);
            target = _requestedPreset;
            reported = _currentPresetIndex;
            roundsOnTarget = target == lastTarget ? roundsOnTarget + 1 : 1;
            cancelled = task.cancelled;
            givenUp = roundsOnTarget > presetChangeRoundLimit;
            _presetChangePending = ! cancelled && ! givenUp;
        }

        lastTarget = target;

        if (cancelled)
            return TESSARINE_ERROR ("Task cancelled");

        if (givenUp)
        {
            // A pedal that never reports the asked-for preset must not keep the
            // worker busy for ever. No error: the switch already shows the
            // pedal's own preset.
            logMessage (LogWarning, "Preset change to %d given up: the pedal still reports preset %d", target, reported);
            return TESSARINE_ERROR ("Pedal did not change to the requested preset");
        }

        Result result = callDevice ([&] (TessarineProtocol& p) { return p.setCurrentPreset ((uint32_t) target); });

        if (result && ! refreshCurrentPreset())
            result = TESSARINE_ERROR ("Failed to refresh preset");

        if (! result)
        {
            // The switch already shows the new preset: say why the pedal is not
            // on it. Shown before the flag goes, so a request in between is
            // refused as any request is in Error.
            failTask (result);
            std::lock_guard<std::mutex> lock (_dataMutex);
            _presetChangePending = false;
            return result;
        }

        bool done;

        {
            // Judged and cleared together, as above.
            std::lock_guard<std::mutex> lock (_dataMutex);
            reported = _currentPresetIndex;
            done = reported == _requestedPreset;

            if (done)
                _presetChangePending = false;
        }

        notifyDataChanged();

        if (done)
        {
            logMessage (LogDebug, "Preset change done: the pedal is on preset %d", reported);
            return Result::success();
        }
    }
}

Tessarine::Result QuorbelEditorService::refreshCurrentPresetTask()
{
    const Result result = refreshCurrentPreset();

    if (result)
        notifyDataChanged();

    return result;
}

//==============================================================================
Tessarine::Result QuorbelEditorService::firmwareUpdateTask (Task& task, const QuorbelArchive& archive, const ProgressCallback& progress)
{
    logMessage (LogDebug, "Starting update");
    // An earlier communication failure may have left the protocol refusing
    // every exchange.
    callDevice ([] (TessarineProtocol& p) { p.clearErrorState(); return Result::success(); });

    {
        std::lock_guard<std::mutex> lock (_dataMutex);
        _awaitingReconnect = true;
    }

    setTaskState (UpdatingFirmware);

    if (archive.firmware != nullptr)
    {
        const std::vector<uint8_t> image (*archive.firmware);

        if (! callDevice ([&] (TessarineProtocol& p) { return p.sendFirmware (image, progress); }))
        {
            {
                std::lock_guard<std::mutex> lock (_dataMutex);
                _awaitingReconnect = false;
            }

            return failTask (TESSARINE_ERROR ("Failed to update DSP firmware"));
        }

        logMessage (LogDebug, "Reconnecting");
        setTaskState (WaitingForReconnect);

        // The restarting pedal detaches and attaches; both are expected and
        // leave the state alone, and the attach clears the flag.
        for (int elapsed = 0;; elapsed += reconnectPollMilliseconds)
        {
            sleepFor (reconnectPollMilliseconds, task);
            bool awaiting;

            {
                std::lock_guard<std::mutex> lock (_dataMutex);
                awaiting = _awaitingReconnect;
            }

            if (! awaiting)
                break;

            if (elapsed >= reconnectLimitMilliseconds)
            {
                {
                    std::lock_guard<std::mutex> lock (_dataMutex);
                    _awaitingReconnect = false;
                }

                return failTask (TESSARINE_ERROR ("Timeout waiting for reconnect"));
            }

            if (task.cancelled)
            {
                std::lock_guard<std::mutex> lock (_dataMutex);
                _awaitingReconnect = false;
                return TESSARINE_ERROR ("Task cancelled");
            }
        }

        logMessage (LogDebug, "Waiting for ready");
        sleepFor (readyMilliseconds, task);
    }
    else
    {
        std::lock_guard<std::mutex> lock (_dataMutex);
        _awaitingReconnect = false;
    }

    logMessage (LogDebug, "Update complete");
    setTaskState (Idle);
    beginRefreshAll (false);
    return Result::success();
}

} // namespace Quorbel
