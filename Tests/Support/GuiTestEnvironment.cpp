// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/GuiTestEnvironment.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <thread>

namespace
{

/** A bare X server (Xvfb without a window manager) has none of the atoms a
    window manager creates, and JUCE sets WM_PROTOCOLS on every new window and
    reads WM_STATE without checking that they exist, which ends the process
    with a BadAtom error. Interning them first, as any window manager would,
    lets windows open on the virtual display.

    The connection stays open while the tests run: Xvfb resets, forgetting
    the atoms, whenever its last client disconnects. A connection that comes in
    just as another test's last one leaves is refused by that reset, so opening
    is tried again for a while; giving up silently here would leave JUCE's own
    connection, made a moment later, on a server without the atoms. */
class WindowManagerAtoms
{
public:
    WindowManagerAtoms()
        : display (openDisplay())
    {
        if (display == nullptr)
        {
            if (std::getenv ("DISPLAY") != nullptr)
                std::cerr << "GuiTestEnvironment: cannot open the X display " << std::getenv ("DISPLAY") << "\n";

            return;
        }

        for (auto* name : { "WM_PROTOCOLS", "WM_TAKE_FOCUS", "WM_DELETE_WINDOW", "_NET_WM_PING", "WM_CHANGE_STATE", "WM_STATE" })
            XInternAtom (display, name, False);

        XSync (display, False);
    }

    ~WindowManagerAtoms()
    {
        if (display != nullptr)
            XCloseDisplay (display);
    }

private:
    static Display* openDisplay()
    {
        if (std::getenv ("DISPLAY") == nullptr)
            return nullptr;

        // A reset takes milliseconds; five seconds covers a loaded machine.
        for (int attempt = 0; attempt < 250; ++attempt)
        {
            if (auto* opened = XOpenDisplay (nullptr))
                return opened;

            std::this_thread::sleep_for (std::chrono::milliseconds (20));
        }

        return nullptr;
    }

    Display* display;
};

/** Starts JUCE's GUI (message manager, desktop) before the first test of the
    runner and shuts it down after the last, on the main thread. */
class GuiTestEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        atoms = std::make_unique<WindowManagerAtoms>();
        juce = std::make_unique<juce::ScopedJuceInitialiser_GUI>();
    }

    void TearDown() override
    {
        juce.reset();
        atoms.reset();
    }

private:
    std::unique_ptr<WindowManagerAtoms> atoms;
    std::unique_ptr<juce::ScopedJuceInitialiser_GUI> juce;
};

// gtest owns and runs every registered environment; registering at static
// initialisation covers each test file of the runner without a main of our own.
[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment (new GuiTestEnvironment);

} // namespace

namespace TestSupport
{

bool pumpMessagesUntil (const std::function<bool()>& condition, int timeoutMs)
{
    const auto deadline = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

    while (! condition())
    {
        if (juce::Time::getMillisecondCounter() >= deadline)
            return false;

        juce::MessageManager::getInstance()->runDispatchLoopUntil (10);
    }

    return true;
}

} // namespace TestSupport
