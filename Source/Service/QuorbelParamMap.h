// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "QuorbelParamID.h"
#include "QuorbelParameterTable.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Quorbel
{

/** The editor's description of every pedal parameter: store, kind, range,
    default, display rule and value names, keyed by id.

    Built once from the constant parameter table and never changed afterwards,
    so any thread may read it without a lock; pointers it hands out stay valid
    for its lifetime. */
class QuorbelParamMap
{
public:
    /** A value as a kind (0 integer, 1 float) and a double; an integer is held
        as a whole-numbered double. */
    struct ParameterValue
    {
        uint32_t kind = kindInteger;
        double value = 0.0;
    };

    struct ValueName
    {
        std::string name;
        ParameterValue value;
    };

    struct ParameterInfo
    {
        int id = 0;
        uint32_t key = 0;         // key in the service's value caches
        uint16_t deviceParam = 0; // number in the live set-parameter message
        uint32_t scope = scopePreset;
        uint32_t kind = kindInteger;
        ParameterValue min;
        ParameterValue max;
        ParameterValue defaultValue;
        uint32_t taper = taperStepped;
        int decimals = 0;
        double displayScale = 1.0;
        const char* units = nullptr;
        std::vector<ValueName> valueNames;
    };

    /** Effect blocks, as the GUI picks panels and block switches. */
    enum BlockID
    {
        AMP = 0,
        CAB = 1,
        BST = 2,
        REV = 3,
        ECO = 4,
        GTE = 5,
        CMP = 6,
        EQ = 7
    };

    QuorbelParamMap();

    /** The entry with exactly this id, or null. */
    const ParameterInfo* find (int id) const;

    /** Every entry in ascending id order. */
    std::vector<const ParameterInfo*> getAll() const;

    /** Rebuilds a preset's parameter list as the pedal may be sent it: one
        entry per preset-scope parameter, taken from the list (or its default
        when absent or not a number) and clamped to the parameter's range.
        Entries of other scopes and unknown keys are dropped. Value words are
        the bit patterns of 32-bit floats. */
    void validatePresetValues (std::map<uint32_t, uint32_t>& values) const;

private:
    std::map<int, ParameterInfo> entries;
};

} // namespace Quorbel
