// SPDX-License-Identifier: GPL-3.0-or-later
#include "TruncateToInt.h"

#include <climits>
#include <cmath>

namespace Tessarine
{

int truncateToInt (double value)
{
    if (std::isnan (value))
        return 0;

    // Both bounds are exact in a double, so the comparisons are exact too.
    if (value >= static_cast<double> (INT_MAX))
        return INT_MAX;

    if (value <= static_cast<double> (INT_MIN))
        return INT_MIN;

    return static_cast<int> (value);
}

} // namespace Tessarine
