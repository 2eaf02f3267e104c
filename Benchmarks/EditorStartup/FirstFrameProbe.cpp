// SPDX-License-Identifier: GPL-3.0-or-later
// tq_first_frame_probe <window name> <program> [arguments...]
//
// Starts the program (its output discarded) and prints the milliseconds from its start until a
// top-level window of that name is mapped and shows a painted frame (its
// pixels are no longer all one colour), then ends the program. Polls every
// millisecond; gives up after 30 s (exit status 1).
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <cstdio>
#include <cstring>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{
// The framework writes WM_NAME as UTF8_STRING, which XFetchName does not
// return, so the property's bytes are compared directly.
bool hasName (Display* display, Window window, const char* name)
{
    XTextProperty property {};
    bool matches = false;

    if (XGetWMName (display, window, &property) != 0 && property.value != nullptr)
    {
        matches = property.nitems == std::strlen (name)
               && std::memcmp (property.value, name, property.nitems) == 0;
        XFree (property.value);
    }

    return matches;
}

Window findMappedWindow (Display* display, const char* name)
{
    Window root = DefaultRootWindow (display), parent = 0, *children = nullptr;
    unsigned int count = 0;
    Window found = 0;

    if (XQueryTree (display, root, &root, &parent, &children, &count) == 0)
        return 0;

    for (unsigned int i = 0; i < count && found == 0; ++i)
    {
        XWindowAttributes attributes;

        if (XGetWindowAttributes (display, children[i], &attributes) != 0 && attributes.map_state == IsViewable
            && hasName (display, children[i], name))
            found = children[i];
    }

    if (children != nullptr)
        XFree (children);

    return found;
}

bool isPainted (Display* display, Window window)
{
    XWindowAttributes attributes;

    if (XGetWindowAttributes (display, window, &attributes) == 0 || attributes.width < 2 || attributes.height < 2)
        return false;

    XImage* image = XGetImage (display, window, 0, 0, (unsigned) attributes.width, (unsigned) attributes.height, AllPlanes, ZPixmap);

    if (image == nullptr)
        return false;

    const unsigned long first = XGetPixel (image, 0, 0);
    bool varied = false;

    for (int y = 0; y < image->height && ! varied; y += 3)
        for (int x = 0; x < image->width && ! varied; x += 3)
            varied = XGetPixel (image, x, y) != first;

    XDestroyImage (image);
    return varied;
}
} // namespace

int main (int argc, char** argv)
{
    if (argc < 3)
    {
        std::fprintf (stderr, "usage: %s <window name> <program> [arguments...]\n", argv[0]);
        return 2;
    }

    Display* display = XOpenDisplay (nullptr);

    if (display == nullptr)
    {
        std::fprintf (stderr, "no X display\n");
        return 2;
    }

    // Errors from windows that vanish while we look at them are expected.
    XSetErrorHandler ([] (Display*, XErrorEvent*) { return 0; });

    const auto started = std::chrono::steady_clock::now();
    const pid_t child = fork();

    if (child == 0)
    {
        // Our standard output carries only the figure.
        if (const int devNull = open ("/dev/null", O_WRONLY); devNull >= 0)
        {
            dup2 (devNull, STDOUT_FILENO);
            dup2 (devNull, STDERR_FILENO);
        }

        execv (argv[2], argv + 2);
        _exit (127);
    }

    int result = 1;

    while (std::chrono::steady_clock::now() - started < std::chrono::seconds (30))
    {
        if (const Window window = findMappedWindow (display, argv[1]); window != 0 && isPainted (display, window))
        {
            const auto elapsed = std::chrono::duration<double, std::milli> (std::chrono::steady_clock::now() - started);
            std::printf ("%.1f\n", elapsed.count());
            result = 0;
            break;
        }

        std::this_thread::sleep_for (std::chrono::milliseconds (1));
    }

    kill (child, SIGINT);
    int status = 0;

    for (int i = 0; i < 500 && waitpid (child, &status, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for (std::chrono::milliseconds (10));

    kill (child, SIGKILL);
    waitpid (child, &status, WNOHANG);
    XCloseDisplay (display);
    return result;
}
