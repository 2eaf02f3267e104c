// SPDX-License-Identifier: GPL-3.0-or-later
#include "FXPanelLayouts.h"
#include "QuorbelParamMap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using Quorbel::FXPanelLayouts;
using Quorbel::QuorbelParamMap;

namespace
{
const char* kindName (uint32_t kind)
{
    static const char* const names[] = { "SPACER", "KNOB", "NAMED_VALUE", "TITLE", "SWITCH", "AMP_NAME", "CAB_NAME", "SWITCH_NO_LABEL" };
    return kind < 8 ? names[kind] : "?";
}

std::string number (double v)
{
    char text[32];
    std::snprintf (text, sizeof (text), "%g", v);
    return text;
}

// One line per row, cells separated by "; ", each written as: kind, id when not
// zero, caption in quotes when not null, "w<width>" when not 1, choices as
// "text"=value. Null strings in unexpected places show up as "<null>".
std::string describe (const FXPanelLayouts::Layout& layout)
{
    std::string out;

    for (const auto& row : layout)
    {
        std::string line;

        for (const auto& item : row)
        {
            if (! line.empty())
                line += "; ";

            line += kindName (item.kind);

            if (item.paramId != 0)
                line += " " + std::to_string (item.paramId);

            if (item.label != nullptr)
                line += " \"" + std::string (item.label) + "\"";

            if (item.width != 1.0)
                line += " w" + number (item.width);

            if (item.nameA != nullptr || item.nameB != nullptr || item.valueA != 0.0 || item.valueB != 0.0)
                line += " \"" + std::string (item.nameA ? item.nameA : "<null>") + "\"=" + number (item.valueA) + " \""
                        + std::string (item.nameB ? item.nameB : "<null>") + "\"=" + number (item.valueB);
        }

        out += line + "\n";
    }

    return out;
}

std::string describePanel (uint32_t index)
{
    const auto* layout = FXPanelLayouts::getLayout (index);
    return layout != nullptr ? describe (*layout) : "<null>";
}

template <typename Fn>
void forEachItem (Fn&& fn)
{
    for (uint32_t index = 0; index < FXPanelLayouts::numLayouts; ++index)
    {
        const auto* layout = FXPanelLayouts::getLayout (index);
        ASSERT_NE (layout, nullptr) << "panel " << index;

        for (size_t row = 0; row < layout->size(); ++row)
            for (const auto& item : (*layout)[row])
                fn (index, row + 1, item);
    }
}
} // namespace

TEST (FXPanelLayouts, EveryPanelHoldsExactlyItsTabledCells)
{
    EXPECT_EQ (describePanel (QuorbelParamMap::AMP),
               "TITLE \"AMP\" w4\n"
               "AMP_NAME w4\n"
               "SPACER; KNOB 113 \"LEVEL\"; KNOB 114 \"DAMPING\"\n");

    EXPECT_EQ (describePanel (QuorbelParamMap::CAB),
               "TITLE \"CABINET\" w4\n"
               "CAB_NAME w4\n"
               "KNOB 97 \"ROLLOFF\"; KNOB 98 \"PEAKING\"; KNOB 99 \"BOTTOM\"; KNOB 100 \"AIR\"\n");

    EXPECT_EQ (describePanel (QuorbelParamMap::BST),
               "TITLE \"BOOST\" w4\n"
               "KNOB 2 \"DRIVE\"; KNOB 3 \"TONE\"; KNOB 4 \"LEVEL\"; KNOB 5 \"POSTLVL\"\n"
               "SPACER; NAMED_VALUE 1 w2\n");

    EXPECT_EQ (describePanel (QuorbelParamMap::REV),
               "TITLE \"REVERB\" w4\n"
               "KNOB 151 \"DRY LEVEL\"; KNOB 146 \"DECAY\"; KNOB 147 \"LO DAMP\"; KNOB 148 \"HI DAMP\"\n"
               "KNOB 149 \"DIFFUSION\"; KNOB 150 \"PREDELAY\"\n"
               "SPACER; NAMED_VALUE 145 w2\n");

    EXPECT_EQ (describePanel (QuorbelParamMap::ECO),
               "TITLE \"ECHO\" w4\n"
               "SPACER; NAMED_VALUE 193 w2\n"
               "KNOB 194 \"DELAY\"; KNOB 195 \"FEEDBACK\"; KNOB 196 \"MIX\"; KNOB 197 \"LEVEL\"\n"
               "SPACER; NAMED_VALUE 200 \"TAP MODE:\" w2\n"
               "SPACER; SWITCH 198 \"TAILS\" \"ON\"=1 \"OFF\"=0; SWITCH 199 \"SPILLOVER\" \"ON\"=1 \"OFF\"=0\n");

    EXPECT_EQ (describePanel (QuorbelParamMap::GTE),
               "TITLE \"NOISE GATE\" w4\n"
               "KNOB 65 \"THRESH\"; KNOB 66 \"RATIO\"; KNOB 67 \"ATTACK\"; KNOB 68 \"RELEASE\"\n");

    EXPECT_EQ (describePanel (QuorbelParamMap::CMP),
               "TITLE \"COMPRESSOR\" w4\n"
               "KNOB 131 \"THRESH\"; KNOB 132 \"RATIO\"; KNOB 133 \"LEVEL\"; SWITCH 134 \"AUTOGAIN\" \"ON\"=1 \"OFF\"=0\n"
               "KNOB 138 \"KNEE\"; KNOB 135 \"ATTACK\"; KNOB 136 \"RELEASE\"; SWITCH 137 \"DETECTOR\" \"PEAK\"=0 \"RMS\"=1\n"
               "SPACER; NAMED_VALUE 130 w2\n");

    EXPECT_EQ (describePanel (QuorbelParamMap::EQ),
               "TITLE \"PreTone:\" w4\n"
               "SPACER w0.5; SWITCH_NO_LABEL 160 \"ON\"=1 \"OFF\"=0; NAMED_VALUE 161 w2\n"
               "KNOB 165 \"ROLLOFF\"; KNOB 164 \"LEVEL\"; KNOB 162 \"FREQ\"; KNOB 163 \"Q\"\n"
               "TITLE \"Parametric EQ 1:\" w4\n"
               "SPACER w0.5; NAMED_VALUE 18 w2; SWITCH_NO_LABEL 17 \"PRE\"=0 \"POST\"=1\n"
               "SWITCH 16 \"ENABLE\" \"ON\"=1 \"OFF\"=0; KNOB 21 \"LEVEL\"; KNOB 19 \"FREQ\"; KNOB 20 \"Q\"\n"
               "TITLE \"Parametric EQ 2:\" w4\n"
               "SPACER w0.5; NAMED_VALUE 34 w2; SWITCH_NO_LABEL 33 \"PRE\"=0 \"POST\"=1\n"
               "SWITCH 32 \"ENABLE\" \"ON\"=1 \"OFF\"=0; KNOB 37 \"LEVEL\"; KNOB 35 \"FREQ\"; KNOB 36 \"Q\"\n"
               "TITLE \"Parametric EQ 3:\" w4\n"
               "SPACER w0.5; NAMED_VALUE 50 w2; SWITCH_NO_LABEL 49 \"PRE\"=0 \"POST\"=1\n"
               "SWITCH 48 \"ENABLE\" \"ON\"=1 \"OFF\"=0; KNOB 53 \"LEVEL\"; KNOB 51 \"FREQ\"; KNOB 52 \"Q\"\n");

    EXPECT_EQ (describePanel (FXPanelLayouts::globalsIndex),
               "TITLE \"GLOBAL SETTINGS\" w4\n"
               "SPACER; KNOB 256 \"MAINLVL\"; KNOB 257 \"XLRLVL\"\n"
               "SPACER; NAMED_VALUE 258 \"LEVEL:\" w2\n");
}

TEST (FXPanelLayouts, IndicesAboveTheGlobalSettingsHaveNoLayout)
{
    EXPECT_EQ (FXPanelLayouts::getLayout (8)->size(), 3u);
    EXPECT_EQ (FXPanelLayouts::getLayout (9), nullptr);
    EXPECT_EQ (FXPanelLayouts::getLayout (1000), nullptr);
    EXPECT_EQ (FXPanelLayouts::getLayout (0xFFFFFFFFu), nullptr);

    // The same index always gives the same, long-lived layout.
    EXPECT_EQ (FXPanelLayouts::getLayout (7), FXPanelLayouts::getLayout (7));
}

TEST (FXPanelLayouts, NoRowIsWiderThanThePanel)
{
    for (uint32_t index = 0; index < FXPanelLayouts::numLayouts; ++index)
    {
        const auto& layout = *FXPanelLayouts::getLayout (index);

        for (size_t row = 0; row < layout.size(); ++row)
        {
            double width = 0.0;

            for (const auto& item : layout[row])
                width += item.width;

            EXPECT_LE (width, 4.0) << "panel " << index << " row " << row + 1;
        }
    }
}

TEST (FXPanelLayouts, CaptionsAreNullWhereNoCaptionWidgetMayExist)
{
    forEachItem ([] (uint32_t panel, size_t row, const FXPanelLayouts::Item& item) {
        const auto where = "panel " + std::to_string (panel) + " row " + std::to_string (row);

        // An empty caption would still make a caption widget; the tables use
        // null for "no caption" throughout.
        if (item.label != nullptr)
        {
            EXPECT_STRNE (item.label, "") << where;
        }

        switch (item.kind)
        {
            case FXPanelLayouts::NAMED_VALUE:
                if (item.paramId == (uint32_t) paramEchoTapMode)
                    EXPECT_STREQ (item.label, "TAP MODE:") << where;
                else if (item.paramId == (uint32_t) paramOutputChoice)
                    EXPECT_STREQ (item.label, "LEVEL:") << where;
                else
                    EXPECT_EQ (item.label, nullptr) << where;
                break;

            case FXPanelLayouts::SWITCH_NO_LABEL:
            case FXPanelLayouts::AMP_NAME:
            case FXPanelLayouts::CAB_NAME:
            case FXPanelLayouts::SPACER:
                EXPECT_EQ (item.label, nullptr) << where;
                break;

            case FXPanelLayouts::KNOB:
            case FXPanelLayouts::TITLE:
            case FXPanelLayouts::SWITCH:
                EXPECT_NE (item.label, nullptr) << where;
                break;

            default:
                ADD_FAILURE() << where << ": unknown kind " << item.kind;
        }

        const bool hasChoices = item.kind == FXPanelLayouts::SWITCH || item.kind == FXPanelLayouts::SWITCH_NO_LABEL;
        EXPECT_EQ (item.nameA != nullptr, hasChoices) << where;
        EXPECT_EQ (item.nameB != nullptr, hasChoices) << where;

        if (! hasChoices)
        {
            EXPECT_EQ (item.valueA, 0.0) << where;
            EXPECT_EQ (item.valueB, 0.0) << where;
        }
    });
}

//==============================================================================
// The layouts against the parameter map the builder will ask about.

TEST (FXPanelLayoutsIntegrity, EveryControlNamesAParameterTheItemCanDrive)
{
    const QuorbelParamMap map;
    int controls = 0;

    forEachItem ([&] (uint32_t panel, size_t row, const FXPanelLayouts::Item& item) {
        const auto where = "panel " + std::to_string (panel) + " row " + std::to_string (row) + " id "
                           + std::to_string (item.paramId);

        switch (item.kind)
        {
            case FXPanelLayouts::SPACER:
            case FXPanelLayouts::TITLE:
            case FXPanelLayouts::AMP_NAME:
            case FXPanelLayouts::CAB_NAME:
                EXPECT_EQ (item.paramId, 0u) << where;
                return;
            default:
                break;
        }

        ++controls;
        const auto* info = map.find ((int) item.paramId);
        ASSERT_NE (info, nullptr) << where;

        // The editor never writes the pedal's own knob positions.
        EXPECT_NE (info->scope, (uint32_t) Quorbel::scopeLive) << where;

        if (item.kind == FXPanelLayouts::KNOB)
        {
            // A knob sends the value it computes, so the parameter must be a
            // float with a usable range for its taper.
            EXPECT_EQ (info->kind, (uint32_t) Quorbel::kindFloat) << where;
            EXPECT_NE (info->taper, (uint32_t) Quorbel::taperStepped) << where;
            EXPECT_LT (info->min.value, info->max.value) << where;

            if (info->taper == Quorbel::taperLogarithmic)
            {
                EXPECT_GT (info->min.value, 0.0) << where;
            }
        }
        else if (item.kind == FXPanelLayouts::NAMED_VALUE)
        {
            // Every value the stepper can reach has a name, and nothing else.
            ASSERT_FALSE (info->valueNames.empty()) << where;
            EXPECT_EQ (info->valueNames.front().value.value, info->min.value) << where;
            EXPECT_EQ (info->valueNames.back().value.value, info->max.value) << where;
            EXPECT_EQ ((double) info->valueNames.size(), info->max.value - info->min.value + 1.0) << where;
        }
        else
        {
            // Both choices are distinct values the parameter can hold.
            EXPECT_NE (item.valueA, item.valueB) << where;
            EXPECT_GE (item.valueA, info->min.value) << where;
            EXPECT_LE (item.valueA, info->max.value) << where;
            EXPECT_GE (item.valueB, info->min.value) << where;
            EXPECT_LE (item.valueB, info->max.value) << where;
        }
    });

    EXPECT_EQ (controls, 66);
}
