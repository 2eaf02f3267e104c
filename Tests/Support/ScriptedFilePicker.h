// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IFilePicker.h"

#include <deque>
#include <vector>

/** Answers file dialogs from a script instead of asking anyone, and records
    every dialog it was asked to show. With nothing scripted it answers as a
    cancelled dialog. */
class ScriptedFilePicker : public IFilePicker
{
public:
    struct Request
    {
        bool save;
        juce::String title;
        juce::File startingPoint;
        juce::String filter;
    };

    /** The next dialog returns this file (a default juce::File = cancel). */
    void answer (const juce::File& file) { answers.push_back (file); }

    juce::File chooseFileToOpen (const juce::String& title, const juce::File& startingPoint,
                                 const juce::String& filter) override
    {
        return next ({ false, title, startingPoint, filter });
    }

    juce::File chooseFileToSave (const juce::String& title, const juce::File& startingPoint,
                                 const juce::String& filter) override
    {
        return next ({ true, title, startingPoint, filter });
    }

    const std::vector<Request>& requests() const { return asked; }

private:
    juce::File next (Request request)
    {
        asked.push_back (request);

        if (answers.empty())
            return {};

        const juce::File file = answers.front();
        answers.pop_front();
        return file;
    }

    std::deque<juce::File> answers;
    std::vector<Request> asked;
};
