// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace Tessarine
{
namespace TessarineData
{

/** The first maxLength characters of name (all of it when maxLength is
    negative), with every character the pedal cannot show replaced by '?'.

    The pedal shows printable ASCII except '\\', '`', '|' and '~'; anything
    else, including each byte of a multi-byte UTF-8 character, is replaced
    byte by byte. The editor service applies it to cabinet names before
    sending them.
*/
std::string sanitiseName (const std::string& name, int maxLength);

} // namespace TessarineData
} // namespace Tessarine
