// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IErrorPresenter.h"

#include <mutex>
#include <string>
#include <vector>

/** Keeps every error text shown, from any thread. */
class RecordingErrorPresenter : public IErrorPresenter
{
public:
    void showError (const char* text) override
    {
        std::lock_guard<std::mutex> lock (mutex);
        shown.push_back (text != nullptr ? text : "");
    }

    std::vector<std::string> errors() const
    {
        std::lock_guard<std::mutex> lock (mutex);
        return shown;
    }

private:
    mutable std::mutex mutex;
    std::vector<std::string> shown;
};
