// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IErrorPresenter.h"
#include "IPopupMenuRunner.h"
#include "QuorbelEditorService.h"
#include "Result.h"
#include "TessarineData.h"

#include <cstdint>

/** One row of the built-in amp table: the menu text and the amp-model data
    file compiled into the program. */
struct BuiltInAmpModel
{
    const char* name;                                // the amp menu's item text
    const char* dataText;                            // not necessarily followed by a NUL: always used with textLength
    uint64_t textLength;
    Tessarine::TessarineData::Amp* parsed;           // set while a BuiltInAmpModels object owns it; null when the text did not parse
};

constexpr int kBuiltInAmpModelCount = 24;

/** The process-wide table; menu id = row number = index + 1. */
extern BuiltInAmpModel builtInAmpModels[kBuiltInAmpModelCount];

/** The 24 amp models the editor carries, because a pedal's preset names its
    amp model only by identifier while the full amp data has to be sent with
    it.

    The main component holds one of these: constructing it parses every text
    of the table once (a text that does not read leaves its row without a
    record, silently; the row stays in the menu and reports itself when
    chosen), destroying it releases the records. One exists at a time.
*/
class BuiltInAmpModels
{
public:
    /** Parses the rows of `table` (the built-in table unless a test gives its own). */
    explicit BuiltInAmpModels (BuiltInAmpModel* table = builtInAmpModels, int rowCount = kBuiltInAmpModelCount);
    ~BuiltInAmpModels();

    /** The amp-name readout's click: a menu of every row; the chosen model is
        sent to the pedal's current preset. Failures show "Failed to load amp"
        (no parsed record) or "Failed to send amp" (the service refused). */
    void chooseBuiltInAmp (Quorbel::QuorbelEditorService& service, IPopupMenuRunner& menus, IErrorPresenter& errors);

    /** Completes a preset read from a file or bundle with the amp data of the
        first row whose identifier matches the preset's amp identifier (the
        identifier, never the row or the Index), and validates its parameters.
        With `copyAmpImpulse` the amp's own impulse and name also become the
        preset's cabinet. No match: "Failed to find amp data for id:%d", and
        the preset stays as it was. */
    Tessarine::Result findBuiltInAmpForPreset (Quorbel::QuorbelEditorService& service,
                                               Tessarine::TessarineData::FullQuorbelPreset& preset,
                                               bool copyAmpImpulse) const;

    int getRowCount() const { return rowCount; }
    const BuiltInAmpModel& getRow (int index) const { return table[index]; }

private:
    BuiltInAmpModel* table;
    int rowCount;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BuiltInAmpModels)
};
