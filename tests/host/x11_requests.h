// What a window manager or a user would send to the game's window, sent straight through
// Xlib: the close request (WM_DELETE_WINDOW) and key presses and releases.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>

inline void send_close_request(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

inline void send_key(Display* display, Window window, KeySym key, bool press) {
    XEvent event{};
    event.xkey.type = press ? KeyPress : KeyRelease;
    event.xkey.display = display;
    event.xkey.window = window;
    event.xkey.root = DefaultRootWindow(display);
    event.xkey.time = CurrentTime;
    event.xkey.same_screen = True;
    event.xkey.keycode = XKeysymToKeycode(display, key);
    XSendEvent(display, window, True, press ? KeyPressMask : KeyReleaseMask, &event);
    XFlush(display);
}

inline std::string window_title(Display* display, Window window) {
    char* name = nullptr;
    std::string title;
    if (XFetchName(display, window, &name) && name) {
        title = name;
        XFree(name);
    }
    return title;
}

// The first top-level window with this title, or 0.
inline Window find_window(Display* display, const std::string& title) {
    Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) return 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        if (window_title(display, children[i]) == title) found = children[i];
    }
    if (children) XFree(children);
    return found;
}
