// SPDX-License-Identifier: GPL-3.0-or-later
#include "NameSanitiser.h"

namespace Tessarine
{
namespace TessarineData
{

namespace
{
bool isShownByThePedal (unsigned char c)
{
    return c >= 0x20 && c <= 0x7E && c != '\\' && c != '`' && c != '|' && c != '~';
}
} // namespace

std::string sanitiseName (const std::string& name, int maxLength)
{
    std::string result = maxLength < 0 ? name : name.substr (0, (size_t) maxLength);

    for (char& c : result)
        if (! isShownByThePedal ((unsigned char) c))
            c = '?';

    return result;
}

} // namespace TessarineData
} // namespace Tessarine
