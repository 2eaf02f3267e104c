// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace Tessarine
{

/** Converts a value that came from the pedal or from a file to int the way a
    C cast would (toward zero), but without undefined behaviour on values a
    corrupt block or file can carry: NaN gives 0, and anything beyond the int
    range (infinities included) gives the nearest end of that range.

    Every such conversion in the editor goes through here: widget positions,
    preset indices, switch and assignment values. */
int truncateToInt (double value);

} // namespace Tessarine
