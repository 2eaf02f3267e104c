// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "QuorbelParamMap.h"
#include "ServiceSleeper.h"
#include "TaskQueue.h"
#include "TessarineData.h"
#include "TessarineProtocol.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <mutex>
#include <string>

namespace Quorbel
{

/** The one object between the GUI and the pedal.

    It caches the pedal's state (current preset, preset, globals and live
    values, amp and cabinet names, cab mode, firmware versions), keeps the state
    machine the GUI shows, tells listeners about changes, and runs every device
    transfer as a task on its queue's worker thread.

    The protocol it is attached to is not owned. Every call into it is made
    under a device-call mutex, so connect() (attach or detach) returns only when
    no task is inside the previous protocol any more and the application may
    delete it at once. connect() swaps the protocol and ends the running task's
    attachment before it waits for that mutex, so the task's next call never
    reaches the old pedal: a detach waits for one call, not for the rest of a
    transfer. The service never calls into a protocol while holding its data
    mutex: the protocol reports state changes to us under its own lock.
*/
class QuorbelEditorService : private Tessarine::TessarineProtocol::Handler
{
public:
    using ParameterValue = QuorbelParamMap::ParameterValue;
    using ParameterInfo = QuorbelParamMap::ParameterInfo;
    using FirmwareVersionInfo = Tessarine::TessarineData::FirmwareVersionInfo;
    using QuorbelArchive = Tessarine::TessarineData::QuorbelArchive;
    using FullQuorbelPreset = Tessarine::TessarineData::FullQuorbelPreset;
    using Result = Tessarine::Result;

    enum State
    {
        Disconnected = 0,
        Idle = 1,
        Busy = 2, // never entered; the GUI has a text for it
        Refreshing = 3,
        Sending = 4,
        Receiving = 5,
        Restoring = 6,
        BackingUp = 7,
        UpdatingFirmware = 8,
        WaitingForReconnect = 9,
        FirmwareUpdateRequired = 10,
        Error = 11
    };

    /** Three callbacks, each possibly empty. They run on the thread that made
        the change, with the listener mutex held: a callback must not add or
        remove listeners, nor start a task. A state is set and told inside one
        hold of that mutex, so listeners hear the states in the order they were
        set, and the state a callback is told is the service's state while it
        runs. */
    struct Listener
    {
        std::function<void()> onDataChanged;
        std::function<void (State)> onStateChanged;
        std::function<void (QuorbelParamID, const ParameterValue&)> onParameterChanged;
    };

    using ProgressCallback = std::function<void (double)>;
    using PresetCallback = std::function<void (const FullQuorbelPreset&)>;
    using BackupCallback = std::function<void (const QuorbelArchive&)>;

    /** Durations of the service's waits; the defaults are the pedal's. */
    static constexpr int settleMilliseconds = 3000;
    static constexpr int reconnectPollMilliseconds = 500;
    static constexpr int reconnectLimitMilliseconds = 29501;
    static constexpr int readyMilliseconds = 3000;

    /** A preset change gives up after this many exchanges in a row that did
        not bring the pedal to an unchanged target. */
    static constexpr int presetChangeRoundLimit = 3;

    /** Once the editor quits, a pedal that has not answered for this long is
        taken to have stopped answering (the firmware transfer excepted). */
    static constexpr int quitReplyWaitMilliseconds = 1000;

    /** `requiredVersion` null means no requirement. `sleeper` (not owned) is
        how the service waits; null uses a real sleeper. */
    explicit QuorbelEditorService (const FirmwareVersionInfo* requiredVersion, ServiceSleeper* sleeper = nullptr);

    /** Shuts down (see shutdown) before any member a task uses goes. */
    ~QuorbelEditorService() override;

    //==============================================================================
    /** Attaches a protocol (starting a refresh) or, with null, detaches. */
    Result connect (Tessarine::TessarineProtocol* protocol);
    void disconnect();

    /** Ends the service's work with the pedal, then joins the worker; later
        tasks are dropped. A reading task fails at its next device call; a
        writing task finishes the preset it is writing and stops there; a
        firmware image being sent is sent to its end. Then the pedal is
        detached and every task cancelled. The application calls it when it
        quits, before it deletes what listeners and callbacks reach. Calling it
        again does no more than detach a pedal attached since. */
    void shutdown();

    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    //==============================================================================
    State getState();
    std::string getLastError();
    /** The version read at the last attach; returns whether a pedal is attached. */
    bool getFirmwareVersionInfo (FirmwareVersionInfo& out);
    std::string getCurrentAmpName();
    std::string getCurrentCabName();
    int getCabMode();
    int getCurrentPresetIndex();

    //==============================================================================
    Result getParameterInfo (QuorbelParamID id, ParameterInfo& out) const;
    Result getParameterValue (QuorbelParamID id, ParameterValue& out);
    Result setParameterValue (QuorbelParamID id, const ParameterValue& value);
    Result validatePresetValues (std::map<uint32_t, uint32_t>& values) const;

    Result requestChangePreset (int index);
    Result requestRefreshCurrentPreset();
    Result cancelAll();

    //==============================================================================
    Result beginRefreshAll (bool afterConnect);
    Result setCurrentAmpData (const Tessarine::TessarineData::Amp& amp);
    Result setCurrentCabData (const Tessarine::TessarineData::Cabinet& cab);
    Result setPresetData (const FullQuorbelPreset& preset);
    Result getPresetData (PresetCallback callback);
    Result beginBackup (ProgressCallback progress, BackupCallback done);
    Result beginRestore (const QuorbelArchive& archive, ProgressCallback progress);
    Result beginFirmwareUpdate (const QuorbelArchive& archive, ProgressCallback progress);

    /** Whether the pedal's firmware meets the required version. */
    bool checkFirmwareVersion (const FirmwareVersionInfo& device) const;

private:
    using Task = Tessarine::TaskQueue::Task;
    using TaskBody = std::function<Result (Task&)>;

    //==============================================================================
    // Protocol handler (the transport's reader thread).
    void reservedNotification0() override {}
    void reservedNotification1() override {}
    void connectionStateChanged (int state) override;
    void messageReceived (const uint8_t* payload, size_t length) override;

    //==============================================================================
    Result startTask (State state, TaskBody body);
    Result runTask (TaskBody body);
    void setState (State state);
    void setError (const char* text);
    void notifyDataChanged();
    /** Called with _listenerMutex held, in the same hold that set the state. */
    void notifyStateChanged (State state);
    void notifyParameterChanged (QuorbelParamID id, const ParameterValue& value);
    Result refreshCurrentPreset();
    Result refreshIfPending();
    Result applyParameterValue (QuorbelParamID id, const ParameterValue& value, bool sendToDevice);

    //==============================================================================
    // Worker-thread helpers. A task belongs to the attachment it started on; once
    // the pedal it talked to is detached, its device calls fail and its state
    // changes are dropped, so a pedal that is simply gone never shows Error, a
    // quick re-attach's refresh is not overwritten, and the old task never
    // writes to the newly attached pedal.
    void adoptCurrentAttachment();
    Result callDevice (const std::function<Result (Tessarine::TessarineProtocol&)>& call);
    void setTaskState (State state);
    void setTaskError (const char* text);
    /** Shows the failure's text as the error and returns the failure. */
    Result failTask (Result failure);
    int cachedPresetIndex();
    void sleepFor (int milliseconds, const Task& task);

    Result refreshTask (Task& task, bool afterConnect);
    Result ampUploadTask (const Tessarine::TessarineData::Amp& amp);
    Result cabUploadTask (const Tessarine::TessarineData::Cabinet& cab);
    Result presetUploadTask (const FullQuorbelPreset& preset);
    Result presetDownloadTask (const PresetCallback& callback);
    Result backupTask (const ProgressCallback& progress, const BackupCallback& done);
    Result restoreTask (const QuorbelArchive& archive, const ProgressCallback& progress);
    Result presetChangeTask (Task& task);
    Result refreshCurrentPresetTask();
    Result firmwareUpdateTask (Task& task, const QuorbelArchive& archive, const ProgressCallback& progress);

    /** Lives while a task writes one preset's blocks: shutdown lets them all
        go out before it detaches, so no preset is left half-written on the
        pedal. Once shutdown has begun, none begins. */
    class PresetWrite;

    Result writePreset (uint32_t index, const FullQuorbelPreset& preset, const char* presetLog, const char* ampDataLog,
                        const char* filterLog, const char* ampNameLog, const char* cabDataLog, const char* cabNameLog);
    Result readPreset (uint32_t index, FullQuorbelPreset& preset, const char* presetLog, const char* ampDataLog,
                       const char* filterLog, const char* ampNameLog, const char* cabDataLog, const char* cabNameLog);

    //==============================================================================
    Tessarine::TessarineProtocol* _protocol = nullptr;
    const QuorbelParamMap _paramMap;
    std::mutex _dataMutex;
    // Taken before _dataMutex where both are held (every state change).
    std::mutex _listenerMutex;
    std::list<Listener*> _listeners;
    Tessarine::TaskQueue _taskQueue;
    State _state = Disconnected;
    bool _presetChangePending = false;
    int _requestedPreset = -1;
    int _currentPresetIndex = 0;
    std::map<uint32_t, float> _presetValues;
    std::string _ampName;
    std::string _cabName;
    std::map<uint32_t, float> _globalValues;
    std::map<uint32_t, float> _liveValues;
    bool _awaitingReconnect = false;
    FirmwareVersionInfo _requiredVersion;
    FirmwareVersionInfo _deviceVersion;
    std::string _lastError;
    bool _refreshPending = false;
    int _cabMode = 1;

    // Held around every call into the protocol; connect takes it to wait for
    // the call in progress.
    std::mutex _deviceMutex;
    // Set once shutdown has begun; from then on a device call is made only for
    // a preset being written (_writingPreset). Both under _dataMutex.
    bool _stopping = false;
    bool _writingPreset = false;
    std::condition_variable _presetWritten;
    // Counts the attaches and detaches that reset the state machine (not the
    // ones a firmware update waits through); under _dataMutex.
    uint64_t _attachment = 0;
    // The attachment the running task belongs to (worker thread only).
    uint64_t _taskAttachment = 0;

    ServiceSleeper _realSleeper;
    ServiceSleeper* _sleeper;

    QuorbelEditorService (const QuorbelEditorService&) = delete;
    QuorbelEditorService& operator= (const QuorbelEditorService&) = delete;
};

} // namespace Quorbel
