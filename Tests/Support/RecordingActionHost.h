// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IFileActionHost.h"
#include "QuorbelEditorService.h"

#include <mutex>
#include <vector>

/** The main component's part in the FILE actions, for tests: a fixed last
    folder, every folder remembered, every progress value, and parameter sends
    passed to the service and recorded. */
class RecordingActionHost : public IFileActionHost
{
public:
    struct Sent
    {
        QuorbelParamID id;
        double value;
        uint32_t kind;
        bool accepted;
    };

    RecordingActionHost (Quorbel::QuorbelEditorService& editorService, const juce::File& folder)
        : service (editorService), lastFolder (folder) {}

    juce::File getLastDirectory() override { return lastFolder; }
    juce::File getDefaultFile (const juce::String& name) override { return lastFolder.getChildFile (name); }
    void setLastDirectory (const juce::File& chosen) override { remembered.push_back (chosen); }

    void onProgress (double progress) override
    {
        std::lock_guard<std::mutex> lock (mutex);
        progressValues.push_back (progress);
    }

    bool setParameter (QuorbelParamID id, const Quorbel::QuorbelParamMap::ParameterValue& value) override
    {
        const bool accepted = (bool) service.setParameterValue (id, value);
        sentValues.push_back ({ id, value.value, value.kind, accepted });
        return accepted;
    }

    std::vector<double> progress() const
    {
        std::lock_guard<std::mutex> lock (mutex);
        return progressValues;
    }

    const std::vector<juce::File>& rememberedFolders() const { return remembered; }
    const std::vector<Sent>& sent() const { return sentValues; }

private:
    Quorbel::QuorbelEditorService& service;
    juce::File lastFolder;
    std::vector<juce::File> remembered;
    std::vector<Sent> sentValues;
    mutable std::mutex mutex;
    std::vector<double> progressValues;
};
