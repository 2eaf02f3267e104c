// SPDX-License-Identifier: GPL-3.0-or-later
#include "AmpModelCatalogue.h"

#include <cassert>

namespace
{
// The two bass amps' impulse responses were captured on another system and
// keep its line ends; the editor reads both kinds alike.
const AmpModelDescription kRows[AmpModelCatalogue::kCount] = {
    { 1, 40, 10, "Plexi", false },
    { 2, 45, 12, "Brit 800", false },
    { 3, 50, 13, "Hot Brit", false },
    { 4, 15, 20, "D Luxe", false },
    { 5, 20, 21, "'59 Bman", false },
    { 6, 10, 23, "US Clean", false },
    { 7, 12, 24, "65 Clean", false },
    { 8, 30, 30, "Top Boost", false },
    { 9, 25, 40, "Rumble", true },
    { 10, 55, 41, "Marc IV Lead", false },
    { 11, 56, 42, "Marc IV EQ", false },
    { 12, 26, 43, "Rumble Brite", true },
    { 13, 41, 668, "Freedman BE", false },
    { 14, 42, 669, "Freedman HBE", false },
    { 15, 80, 70, "Kornfield", false },
    { 16, 60, 72, "Recto", false },
    { 17, 65, 73, "5051", false },
    { 18, 63, 74, "SLO", false },
    { 19, 70, 80, "Arkhan", false },
    { 20, 150, 90, "SV Tee", false },
    { 21, 200, 990, "Power EL34", false },
    { 22, 205, 991, "Power 6L6", false },
    { 23, 210, 992, "Power EL84", false },
    { 24, 215, 993, "Power KT88", false },
};
} // namespace

const AmpModelDescription& AmpModelCatalogue::row (int r)
{
    assert (r >= 1 && r <= (int) kCount);
    return kRows[r - 1];
}
