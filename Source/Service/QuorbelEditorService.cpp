// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuorbelEditorService.h"

#include <cmath>
#include <cstring>

namespace Quorbel
{

using Tessarine::LogDebug;
using Tessarine::LogError;
using Tessarine::logMessage;

namespace
{
using Tessarine::TessarineData::floatFromWord;
using Tessarine::TessarineData::wordFromFloat;

// Versions compare as big-endian numbers of their four bytes.
uint32_t versionNumber (const std::array<uint8_t, 4>& v)
{
    return ((uint32_t) v[0] << 24) | ((uint32_t) v[1] << 16) | ((uint32_t) v[2] << 8) | (uint32_t) v[3];
}

std::map<uint32_t, float> floatsFromWords (const std::map<uint32_t, uint32_t>& words)
{
    std::map<uint32_t, float> values;

    for (const auto& entry : words)
        values.emplace (entry.first, floatFromWord (entry.second));

    return values;
}
} // namespace

QuorbelEditorService::QuorbelEditorService (const FirmwareVersionInfo* requiredVersion, ServiceSleeper* sleeper)
    : _sleeper (sleeper != nullptr ? sleeper : &_realSleeper)
{
    if (requiredVersion != nullptr)
        _requiredVersion = *requiredVersion;
    else
        _requiredVersion.kind = -1;
}

QuorbelEditorService::~QuorbelEditorService()
{
    // The worker is joined while the caches, mutexes and listeners that task
    // bodies use still exist.
    shutdown();
}

//==============================================================================
Tessarine::Result QuorbelEditorService::connect (Tessarine::TessarineProtocol* protocol)
{
    logMessage (LogDebug, protocol != nullptr ? "connect" : "disconnect");

    // setHandler takes the protocol's state lock, under which the protocol
    // reports to us, so it is called without _dataMutex. The new protocol's
    // reports reach us from the moment a task can use it.
    if (protocol != nullptr)
        protocol->setHandler (this);

    Tessarine::TessarineProtocol* previous;
    bool awaitingReconnect;

    {
        // Swapped before we wait for a call in progress, and the running
        // task's attachment ends here too: whichever thread gets the
        // device-call mutex first, the task makes no further call into the old
        // protocol, so a detach waits for one call, not for the rest of a
        // transfer. The restarting pedal of a firmware update leaves and comes
        // back on purpose; its task keeps its attachment.
        std::lock_guard<std::mutex> lock (_dataMutex);
        previous = _protocol;
        _protocol = protocol;
        awaitingReconnect = _awaitingReconnect;

        if (protocol != nullptr)
            _awaitingReconnect = false;

        if (! awaitingReconnect)
            ++_attachment;
    }

    if (previous != nullptr && previous != protocol)
        previous->setHandler (nullptr);

    // Shown at once: the task still inside the old protocol can no longer
    // change the state.
    if (protocol == nullptr && ! awaitingReconnect)
    {
        _taskQueue.cancelAll();
        setState (Disconnected);
    }

    {
        // Every device call holds this mutex and reads _protocol under it:
        // once we have had it, no task is inside the old protocol or will be.
        std::lock_guard<std::mutex> device (_deviceMutex);
    }

    if (awaitingReconnect || protocol == nullptr)
        return Result::success();

    setState (Idle);
    return beginRefreshAll (true);
}

void QuorbelEditorService::disconnect()
{
    connect (nullptr);
}

void QuorbelEditorService::shutdown()
{
    Tessarine::TessarineProtocol* protocol;
    bool firstCall, sendingFirmware;

    {
        std::lock_guard<std::mutex> lock (_dataMutex);
        firstCall = ! _stopping;
        _stopping = true;
        protocol = _protocol;
        sendingFirmware = _awaitingReconnect;
    }

    // Logged once no new device call can begin.
    if (firstCall)
        logMessage (LogDebug, "QuorbelEditorService: shutdown");

    // A pedal that has stopped answering must not hold the quit for the whole
    // reply time-out. A firmware image being sent goes to its end, time-outs
    // and all: an interrupted image is the worst that can happen to the pedal.
    if (protocol != nullptr && ! sendingFirmware)
        protocol->limitReplyWait (quitReplyWaitMilliseconds);

    {
        std::unique_lock<std::mutex> lock (_dataMutex);
        _presetWritten.wait (lock, [this] { return ! _writingPreset; });
    }

    if (protocol != nullptr)
        connect (nullptr);

    _taskQueue.stop();
}

void QuorbelEditorService::addListener (Listener* listener)
{
    std::lock_guard<std::mutex> lock (_listenerMutex);
    _listeners.push_back (listener);
}

void QuorbelEditorService::removeListener (Listener* listener)
{
    std::lock_guard<std::mutex> lock (_listenerMutex);
    _listeners.remove (listener);
}

//==============================================================================
QuorbelEditorService::State QuorbelEditorService::getState()
{
    std::lock_guard<std::mutex> lock (_dataMutex);
    return _state;
}

std::string QuorbelEditorService::getLastError()
{
    std::lock_guard<std::mutex> lock (_dataMutex);
    return _lastError;
}

bool QuorbelEditorService::getFirmwareVersionInfo (FirmwareVersionInfo& out)
{
    std::lock_guard<std::mutex> lock (_dataMutex);
    out = _deviceVersion;
    return _protocol != nullptr;
}

std::string QuorbelEditorService::getCurrentAmpName()
{
    std::lock_guard<std::mutex> lock (_dataMutex);
    return _ampName;
}

std::string QuorbelEditorService::getCurrentCabName()
{
    std::lock_guard<std::mutex> lock (_dataMutex);
    return _cabName;
}

int QuorbelEditorService::getCabMode()
{
    std::lock_guard<std::mutex> lock (_dataMutex);
    return _cabMode;
}

int QuorbelEditorService::getCurrentPresetIndex()
{
    std::lock_guard<std::mutex> lock (_dataMutex);
    return _currentPresetIndex;
}

//==============================================================================
Tessarine::Result QuorbelEditorService::getParameterInfo (QuorbelParamID id, ParameterInfo& out) const
{
    const ParameterInfo* info = _paramMap.find (id);

    if (info == nullptr)
        return TESSARINE_ERROR ("Parameter info not found");

    out = *info;
    return Result::success();
}

Tessarine::Result QuorbelEditorService::getParameterValue (QuorbelParamID id, ParameterValue& out)
{
    std::lock_guard<std::mutex> lock (_dataMutex);
    const ParameterInfo* info = _paramMap.find (id);

    if (info == nullptr || info->scope > scopeLive)
        return TESSARINE_ERROR ("No scope for parameter");

    const auto& cache = info->scope == scopePreset ? _presetValues
                      : info->scope == scopeGlobals ? _globalValues
                                                    : _liveValues;
    const auto found = cache.find (info->key);

    if (found == cache.end())
    {
        out = info->defaultValue;
        return Result::success();
    }

    if (info->kind == kindFloat)
        out = { kindFloat, (double) found->second };
    else if (info->kind == kindInteger)
        out = { kindInteger, (double) std::lroundf (found->second) };

    return Result::success();
}

Tessarine::Result QuorbelEditorService::setParameterValue (QuorbelParamID id, const ParameterValue& value)
{
    logMessage (LogDebug, "QuorbelEditorService: setParameterValue(%d,%f)", (int) id, (double) (float) value.value);
    return runTask ([this, id, value] (Task&) { return applyParameterValue (id, value, true); });
}

Tessarine::Result QuorbelEditorService::validatePresetValues (std::map<uint32_t, uint32_t>& values) const
{
    _paramMap.validatePresetValues (values);
    return Result::success();
}

Tessarine::Result QuorbelEditorService::requestChangePreset (int index)
{
    if ((unsigned) index >= 9u)
        return TESSARINE_ERROR ("Invalid preset index: %d", index);

    logMessage (LogDebug, "QuorbelEditorService: requestChangePreset(%d)", index);
    bool pending;

    {
        std::lock_guard<std::mutex> lock (_dataMutex);
        _requestedPreset = index;
        // A change that is ending in Error, or cut short by a detach, takes
        // nothing up any more: runTask refuses the request as it refuses any.
        pending = _presetChangePending && _state == Idle;
    }

    // The running change task reads the new target before its next round, or
    // has already cleared the flag together with its final check.
    if (pending)
        return Result::success();

    return runTask ([this] (Task& task) { return presetChangeTask (task); });
}

Tessarine::Result QuorbelEditorService::requestRefreshCurrentPreset()
{
    std::lock_guard<std::mutex> lock (_dataMutex);

    if (_protocol != nullptr && _state == Idle)
        _taskQueue.addTask ([this] (Task&) { adoptCurrentAttachment(); return refreshCurrentPresetTask(); }, {});
    else
        _refreshPending = true;

    return Result::success();
}

Tessarine::Result QuorbelEditorService::cancelAll()
{
    logMessage (LogDebug, "QuorbelEditorService: cancelAll");
    std::lock_guard<std::mutex> lock (_dataMutex);
    _taskQueue.cancelAll();
    return Result::success();
}

//==============================================================================
Tessarine::Result QuorbelEditorService::beginRefreshAll (bool afterConnect)
{
    return startTask (Refreshing, [this, afterConnect] (Task& task) { return refreshTask (task, afterConnect); });
}

Tessarine::Result QuorbelEditorService::setCurrentAmpData (const Tessarine::TessarineData::Amp& amp)
{
    return startTask (Sending, [this, amp] (Task&) { return ampUploadTask (amp); });
}

Tessarine::Result QuorbelEditorService::setCurrentCabData (const Tessarine::TessarineData::Cabinet& cab)
{
    return startTask (Sending, [this, cab] (Task&) { return cabUploadTask (cab); });
}

Tessarine::Result QuorbelEditorService::setPresetData (const FullQuorbelPreset& preset)
{
    return startTask (Sending, [this, preset] (Task&) { return presetUploadTask (preset); });
}

Tessarine::Result QuorbelEditorService::getPresetData (PresetCallback callback)
{
    return startTask (Receiving, [this, callback] (Task&) { return presetDownloadTask (callback); });
}

Tessarine::Result QuorbelEditorService::beginBackup (ProgressCallback progress, BackupCallback done)
{
    return startTask (BackingUp, [this, progress, done] (Task&) { return backupTask (progress, done); });
}

Tessarine::Result QuorbelEditorService::beginRestore (const QuorbelArchive& archive, ProgressCallback progress)
{
    // The entry's index becomes the pedal's slot number: refuse a bad one
    // before anything is written.
    for (const auto& entry : archive.presets)
        if (entry.index >= 9u)
            return TESSARINE_ERROR ("Invalid preset index in archive: %u", (unsigned) entry.index);

    return startTask (Restoring, [this, archive, progress] (Task&) { return restoreTask (archive, progress); });
}

Tessarine::Result QuorbelEditorService::beginFirmwareUpdate (const QuorbelArchive& archive, ProgressCallback progress)
{
    std::lock_guard<std::mutex> listeners (_listenerMutex);

    {
        std::lock_guard<std::mutex> lock (_dataMutex);

        if (_protocol == nullptr)
            return TESSARINE_ERROR ("Cannot start task while not connected");

        if (_state != Idle && _state != FirmwareUpdateRequired && _state != Error)
            return TESSARINE_ERROR ("Cannot start task while busy");

        _state = UpdatingFirmware;
        _taskQueue.addTask ([this, archive, progress] (Task& task) {
            adoptCurrentAttachment();
            return firmwareUpdateTask (task, archive, progress);
        }, {});
    }

    notifyStateChanged (UpdatingFirmware);
    return Result::success();
}

bool QuorbelEditorService::checkFirmwareVersion (const FirmwareVersionInfo& device) const
{
    const uint32_t requiredSystem = versionNumber (_requiredVersion.system);

    if (requiredSystem != 0 && versionNumber (device.system) < requiredSystem)
        return false;

    const uint32_t requiredDsp = versionNumber (_requiredVersion.dsp);
    return requiredDsp == 0 || versionNumber (device.dsp) >= requiredDsp;
}

//==============================================================================
void QuorbelEditorService::connectionStateChanged (int state)
{
    bool awaitingReconnect;

    {
        std::lock_guard<std::mutex> lock (_dataMutex);
        awaitingReconnect = _awaitingReconnect;
    }

    // A restarting pedal during a firmware update is expected to drop out.
    // Cancelled before Error is shown: a firmware update, which may start from
    // Error, started once the GUI shows it must not be cancelled by this.
    if (state == 2 && ! awaitingReconnect)
    {
        cancelAll();
        setError ("A communication error occurred");
    }
}

void QuorbelEditorService::messageReceived (const uint8_t* payload, size_t length)
{
    if (length != 11)
        return;

    for (int i = 0; i < 8; ++i)
        applyParameterValue ((QuorbelParamID) (paramLiveKnob1 + i), { kindFloat, (double) ((float) payload[i] / 255.0f) }, false);

    applyParameterValue (paramLiveFootswitch, { kindInteger, (double) payload[10] }, false);

    const int selectedPreset = payload[8];
    const int cabMode = payload[9];
    int cachedIndex;
    bool cabModeChanged = false;

    {
        std::lock_guard<std::mutex> lock (_dataMutex);
        logMessage (LogDebug, "selectedPreset = %d, _currentPresetIndex = %d, cabMode = %d", selectedPreset, _currentPresetIndex, cabMode);
        cachedIndex = _currentPresetIndex;

        if (_cabMode != cabMode)
        {
            _cabMode = cabMode;
            cabModeChanged = true;
        }
    }

    if (cabModeChanged)
        notifyDataChanged();

    if (selectedPreset != cachedIndex)
        requestRefreshCurrentPreset();
}

//==============================================================================
Tessarine::Result QuorbelEditorService::startTask (State state, TaskBody body)
{
    // The task may set its own state at once; it waits for this one to be told.
    std::lock_guard<std::mutex> listeners (_listenerMutex);

    {
        std::lock_guard<std::mutex> lock (_dataMutex);

        if (_protocol == nullptr)
            return TESSARINE_ERROR ("Cannot start task while not connected");

        if (_state != Idle)
            return TESSARINE_ERROR ("Cannot start task while busy");

        _state = state;
        _taskQueue.addTask ([this, body] (Task& task) {
            adoptCurrentAttachment();
            return body (task);
        }, {});
    }

    notifyStateChanged (state);
    return Result::success();
}

Tessarine::Result QuorbelEditorService::runTask (TaskBody body)
{
    return startTask (Idle, std::move (body));
}

void QuorbelEditorService::setState (State state)
{
    std::lock_guard<std::mutex> listeners (_listenerMutex);

    {
        std::lock_guard<std::mutex> lock (_dataMutex);
        _state = state;
    }

    notifyStateChanged (state);
}

void QuorbelEditorService::setError (const char* text)
{
    logMessage (LogError, "EdSvc error: %s", text != nullptr ? text : "");

    {
        std::lock_guard<std::mutex> lock (_dataMutex);
        _lastError = text != nullptr ? text : "";
    }

    setState (Error);
}

void QuorbelEditorService::notifyDataChanged()
{
    std::lock_guard<std::mutex> lock (_listenerMutex);

    for (Listener* listener : _listeners)
        if (listener->onDataChanged)
            listener->onDataChanged();
}

void QuorbelEditorService::notifyStateChanged (State state)
{
    for (Listener* listener : _listeners)
        if (listener->onStateChanged)
            listener->onStateChanged (state);
}

void QuorbelEditorService::notifyParameterChanged (QuorbelParamID id, const ParameterValue& value)
{
    std::lock_guard<std::mutex> lock (_listenerMutex);

    for (Listener* listener : _listeners)
        if (listener->onParameterChanged)
            listener->onParameterChanged (id, value);
}

Tessarine::Result QuorbelEditorService::refreshIfPending()
{
    bool pending;

    {
        std::lock_guard<std::mutex> lock (_dataMutex);
        pending = _refreshPending;
        _refreshPending = false;
    }

    return pending ? refreshCurrentPreset() : Result::success();
}

Tessarine::Result QuorbelEditorService::refreshCurrentPreset()
{
    {
        std::lock_guard<std::mutex> lock (_dataMutex);
        _refreshPending = false;
    }

    std::map<uint32_t, uint32_t> globals;

    if (! callDevice ([&] (Tessarine::TessarineProtocol& p) { return p.getGlobals (globals); }))
        return failTask (TESSARINE_ERROR ("Failed to get globals"));

    uint32_t index = 0;
    std::map<uint32_t, uint32_t> preset;
    Tessarine::TessarineData::AmpNameAndID amp;
    std::string cabName;

    Result result = callDevice ([&] (Tessarine::TessarineProtocol& p) { return p.getCurrentPreset (index); });

    if (result)
        result = callDevice ([&] (Tessarine::TessarineProtocol& p) { return p.getPreset (index, preset); });

    if (result)
        result = callDevice ([&] (Tessarine::TessarineProtocol& p) { return p.getAmpNameAndID (index, amp); });

    if (result)
        result = callDevice ([&] (Tessarine::TessarineProtocol& p) { return p.getCabName (index, cabName); });

    if (! result)
        return result;

    {
        std::lock_guard<std::mutex> lock (_dataMutex);
        _currentPresetIndex = (int) index;
        _presetValues = floatsFromWords (preset);
        _ampName = amp.name;
        _cabName = cabName;
        _globalValues = floatsFromWords (globals);
    }

    notifyDataChanged();
    return Result::success();
}

Tessarine::Result QuorbelEditorService::applyParameterValue (QuorbelParamID id, const ParameterValue& value, bool sendToDevice)
{
    const ParameterInfo* info = _paramMap.find (id);

    if (info == nullptr)
        return TESSARINE_ERROR ("Parameter not found");

    const float f = (float) value.value;

    if (sendToDevice)
    {
        const uint32_t word = wordFromFloat (f);
        const Result sent = callDevice ([&] (Tessarine::TessarineProtocol& p) { return p.setParameter (info->deviceParam, word); });

        if (! sent)
            return sent;
    }

    if (info->scope <= scopeLive)
    {
        std::lock_guard<std::mutex> lock (_dataMutex);
        auto& cache = info->scope == scopePreset ? _presetValues
                    : info->scope == scopeGlobals ? _globalValues
                                                  : _liveValues;
        cache[info->key] = f;
    }

    notifyParameterChanged (id, value);
    return Result::success();
}

} // namespace Quorbel
