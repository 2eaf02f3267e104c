// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

/** What the 24 built-in amp-model texts are made from: per row, the Index of
    the text's header, the amp identifier and name its name-and-identifier
    segment carries, and whether the text keeps the CRLF line ends its impulse
    segment came with. Row numbers are the editor's amp-menu ids.
*/
struct AmpModelDescription
{
    int row;                 // 1..24, the order of the editor's amp menu
    uint32_t index;          // the number in the text's first line
    uint32_t ampId;          // what presets refer to the model by
    const char* ampName;     // the name sent to the pedal
    bool crlfImpulseLines;   // the impulse segment's word lines end in CRLF
};

class AmpModelCatalogue
{
public:
    static constexpr size_t kCount = 24;

    /** Row r (1..24). */
    static const AmpModelDescription& row (int r);
};
