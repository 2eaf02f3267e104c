// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FXPanelLayouts.h"
#include "QuorbelParamMap.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <map>
#include <memory>

class SimpleImageButton;

/** Turns an effect panel layout into widgets and parameter bindings: places
    every item on the 141-pixel column grid, wires the user's actions to the
    editor and registers, per parameter, a binding that redraws the item's
    widgets when the value changes.

    The main component owns what the builder fills (the panel content, the
    owned widget array and the binding map) and hands it over by reference; the
    builder adds nothing of its own to a panel, so clearing those three
    disposes of everything it made. Message thread only. */
class FXPanelBuilder
{
public:
    using ParameterInfo = Quorbel::QuorbelParamMap::ParameterInfo;
    using ParameterValue = Quorbel::QuorbelParamMap::ParameterValue;
    using ParameterBinding = std::function<void (const ParameterValue&)>;
    using Bindings = std::multimap<QuorbelParamID, ParameterBinding>;
    using Item = Quorbel::FXPanelLayouts::Item;

    /** What the panel's widgets need from the editor. */
    struct Editor
    {
        /** A copy of the parameter's description; a default description when
            the editor does not know the id. */
        std::function<ParameterInfo (QuorbelParamID)> getParameterInfo;

        /** The parameter's current value, or {0, 0.0} when there is none. */
        std::function<ParameterValue (QuorbelParamID)> getParameterValue;

        /** Sends a value to the pedal; false when it was refused (the editor
            reports that itself). */
        std::function<bool (QuorbelParamID, ParameterValue)> setParameter;

        /** Shows a popup list and waits for the choice: the chosen item id, or
            0 when dismissed. When empty, the list opens modally at the mouse. */
        std::function<int (const juce::PopupMenu&)> showMenu;

        /** Clicks on the amp-model and cabinet name readouts; a click does
            nothing while these are empty. */
        std::function<void()> onAmpNameClick;
        std::function<void()> onCabNameClick;
    };

    FXPanelBuilder (juce::Component& panelContent, juce::OwnedArray<juce::Component>& panelComponents,
                    Bindings& panelBindings, Editor editor);

    /** Drops the shown panel: readout pointers, then bindings, then widgets,
        so no binding outlives the widgets it points to. */
    void clear();

    /** Builds panel `index` (a BlockID, or 8 for the global settings) into the
        cleared content and sets the content's height. False, with nothing
        built and the height left alone, when there is no such panel. */
    bool build (int index);

    /** The amp-model and cabinet name readouts of the built panel, or null. */
    SimpleImageButton* getAmpNameReadout() const noexcept { return ampNameReadout; }
    SimpleImageButton* getCabNameReadout() const noexcept { return cabNameReadout; }

    //==============================================================================
    /** The readout cell of named values and name readouts, from x: the readout,
        then its caption when not null, then the arrows when onStep is set.
        Raises rowBottom to the cell's bottom. */
    SimpleImageButton* addValueReadout (int x, int y, int& rowBottom, const char* caption, std::function<void (int)> onStep);

    void addPanelKnob (double column, int rowTop, int& rowBottom, const char* caption, const ParameterInfo& info);
    void addPanelSwitch (double column, int rowTop, int& rowBottom, const Item& item, const ParameterInfo& info);
    void addPanelNamedValue (double column, int rowTop, int& rowBottom, const char* caption, const ParameterInfo& info);

private:
    template <typename WidgetType>
    WidgetType* addWidget (std::unique_ptr<WidgetType> widget, juce::Rectangle<int> bounds);

    void bind (int paramId, ParameterBinding binding);

    juce::Component& content;
    juce::OwnedArray<juce::Component>& components;
    Bindings& bindings;

    // Shared with every closure the panel's widgets hold, so the closures stay
    // valid however long the widgets live.
    std::shared_ptr<const Editor> editor;

    SimpleImageButton* ampNameReadout = nullptr;
    SimpleImageButton* cabNameReadout = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FXPanelBuilder)
};
