// SPDX-License-Identifier: GPL-3.0-or-later
#include "BuiltInAmpModels.h"
#include "BuiltInAmpModelTexts.h"
#include "InStreamWrapper.h"
#include "TessarineDataFile.h"

using namespace Tessarine;
using namespace Tessarine::TessarineData;

#define TQ_AMP_ROW(menuName, n) { menuName, BuiltInData::ampModelText##n, BuiltInData::ampModelText##n##Size, nullptr }

BuiltInAmpModel builtInAmpModels[kBuiltInAmpModelCount] = {
    TQ_AMP_ROW ("Plexi", 01),
    TQ_AMP_ROW ("Brit 800", 02),
    TQ_AMP_ROW ("Hot Brit", 03),
    TQ_AMP_ROW ("D Luxe", 04),
    TQ_AMP_ROW ("59 Bman", 05),
    TQ_AMP_ROW ("US Clean", 06),
    TQ_AMP_ROW ("65 Clean", 07),
    TQ_AMP_ROW ("Top Boost", 08),
    TQ_AMP_ROW ("Rumble", 09),
    TQ_AMP_ROW ("Marc IV Lead", 10),
    TQ_AMP_ROW ("Marc IV EQ", 11),
    TQ_AMP_ROW ("Rumble Brite", 12),
    TQ_AMP_ROW ("Freedman BE", 13),
    TQ_AMP_ROW ("Freedman HBE", 14),
    TQ_AMP_ROW ("Kornfield", 15),
    TQ_AMP_ROW ("Recto", 16),
    TQ_AMP_ROW ("5051", 17),
    TQ_AMP_ROW ("SLO", 18),
    TQ_AMP_ROW ("Arkhan", 19),
    TQ_AMP_ROW ("SV Tee", 20),
    TQ_AMP_ROW ("Power EL34", 21),
    TQ_AMP_ROW ("Power 6L6", 22),
    TQ_AMP_ROW ("Power EL84", 23),
    TQ_AMP_ROW ("Power KT88", 24),
};

#undef TQ_AMP_ROW

BuiltInAmpModels::BuiltInAmpModels (BuiltInAmpModel* rows, int count) : table (rows), rowCount (count)
{
    for (int i = 0; i < rowCount; ++i)
    {
        BuiltInAmpModel& row = table[i];
        row.parsed = new Amp();

        juce::MemoryInputStream text (row.dataText, (size_t) row.textLength, false);
        InStreamWrapper in (text);

        if (! TessarineDataFile::readAmpModelFile (in, *row.parsed, nullptr))
        {
            delete row.parsed;
            row.parsed = nullptr;
        }
    }
}

BuiltInAmpModels::~BuiltInAmpModels()
{
    for (int i = 0; i < rowCount; ++i)
    {
        delete table[i].parsed;
        table[i].parsed = nullptr;
    }
}

void BuiltInAmpModels::chooseBuiltInAmp (Quorbel::QuorbelEditorService& service, IPopupMenuRunner& menus,
                                         IErrorPresenter& errors)
{
    juce::PopupMenu menu;

    for (int i = 0; i < rowCount; ++i)
        menu.addItem (i + 1, table[i].name, true, false);

    const int id = menus.show (menu);

    if (id == 0)
        return;

    // Any id outside the menu (a negative one included) is a row not below the count.
    const unsigned row = (unsigned) id - 1u;

    if (row >= (unsigned) rowCount || table[row].parsed == nullptr)
    {
        TESSARINE_ERROR ("Amp data not found!");
        errors.showError ("Failed to load amp");
        TESSARINE_ERROR ("Failed to load amp");
        return;
    }

    const Amp amp (*table[row].parsed);

    if (! service.setCurrentAmpData (amp))
        errors.showError ("Failed to send amp");
}

Result BuiltInAmpModels::findBuiltInAmpForPreset (Quorbel::QuorbelEditorService& service, FullQuorbelPreset& preset,
                                                  bool copyAmpImpulse) const
{
    const uint32_t id = preset.amp.id;
    const Amp* found = nullptr;

    for (int i = 0; i < rowCount && found == nullptr; ++i)
        if (table[i].parsed != nullptr && table[i].parsed->nameAndID.id == id)
            found = table[i].parsed;

    if (found == nullptr)
    {
        TESSARINE_ERROR ("Amp data not found!");
        return TESSARINE_ERROR ("Failed to find amp data for id:%d", (int) id);
    }

    const Amp amp (*found);
    preset.ampData = amp.data;
    preset.amp.id = amp.nameAndID.id;
    preset.amp.name = amp.nameAndID.name;
    preset.finishingFilter = amp.finishingFilter;

    if (copyAmpImpulse)
    {
        preset.cab.name = amp.nameAndID.name;
        decodeImpulse (amp.impulse.data(), preset.cab.impulse);
    }

    service.validatePresetValues (preset.params);
    return kSuccess;
}
