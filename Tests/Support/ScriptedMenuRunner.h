// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IPopupMenuRunner.h"

#include <functional>
#include <vector>

/** Stands in for a modal popup menu: records the items of every menu shown
    and "chooses" the scripted id (0 = dismissed). A hook runs while the menu
    is "open", for tests of what changes meanwhile. */
class ScriptedMenuRunner : public IPopupMenuRunner
{
public:
    struct Item
    {
        int id;
        juce::String text;
        bool enabled;
        bool ticked;
    };

    void choose (int id) { chosen = id; }
    std::function<void()> whileOpen;

    int show (const juce::PopupMenu& menu) override
    {
        std::vector<Item> items;

        for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
        {
            const juce::PopupMenu::Item& item = it.getItem();
            items.push_back ({ item.itemID, item.text, item.isEnabled, item.isTicked });
        }

        shown.push_back (items);

        if (whileOpen)
            whileOpen();

        return chosen;
    }

    int menusShown() const { return (int) shown.size(); }
    const std::vector<Item>& lastMenu() const { return shown.back(); }

private:
    int chosen = 0;
    std::vector<std::vector<Item>> shown;
};
