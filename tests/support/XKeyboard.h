#pragma once

#include "tests/support/EventWaits.h"

#include <dlfcn.h>
#include <initializer_list>
#include <iterator>

// Key presses through the X test extension, loaded at run time (only its
// libraries are needed, not their headers): the window system's path, as
// the user presses the keys.
class XKeyboard {
public:
    XKeyboard()
    {
        m_x11 = dlopen("libX11.so.6", RTLD_NOW);
        m_xtst = dlopen("libXtst.so.6", RTLD_NOW);
        if (!m_x11 || !m_xtst)
            return;
        m_open = reinterpret_cast<OpenDisplay>(dlsym(m_x11, "XOpenDisplay"));
        m_close = reinterpret_cast<CloseDisplay>(dlsym(m_x11, "XCloseDisplay"));
        m_flush = reinterpret_cast<Flush>(dlsym(m_x11, "XFlush"));
        m_keycode = reinterpret_cast<KeysymToKeycode>(dlsym(m_x11, "XKeysymToKeycode"));
        m_fake = reinterpret_cast<FakeKey>(dlsym(m_xtst, "XTestFakeKeyEvent"));
        if (m_open && m_close && m_flush && m_keycode && m_fake)
            m_display = m_open(nullptr);
    }
    ~XKeyboard()
    {
        if (m_display)
            m_close(m_display);
        if (m_xtst)
            dlclose(m_xtst);
        if (m_x11)
            dlclose(m_x11);
    }
    XKeyboard(const XKeyboard&) = delete;
    XKeyboard& operator=(const XKeyboard&) = delete;

    bool available() const { return m_display != nullptr; }

    // Presses the keys in order and lets them go in reverse order (a chord
    // such as Alt and a letter), then lets the program take them.
    void press(std::initializer_list<unsigned long> keysyms)
    {
        for (unsigned long keysym : keysyms)
            m_fake(m_display, m_keycode(m_display, keysym), 1, 0);
        for (auto it = std::rbegin(keysyms); it != std::rend(keysyms); ++it)
            m_fake(m_display, m_keycode(m_display, *it), 0, 0);
        m_flush(m_display);
        settle(300);
    }

    static constexpr unsigned long kEscape = 0xff1b;
    static constexpr unsigned long kF10 = 0xffc7;
    static constexpr unsigned long kAlt = 0xffe9;
    static constexpr unsigned long kDown = 0xff54;

private:
    using OpenDisplay = void* (*)(const char*);
    using CloseDisplay = int (*)(void*);
    using Flush = int (*)(void*);
    using KeysymToKeycode = unsigned char (*)(void*, unsigned long);
    using FakeKey = int (*)(void*, unsigned int, int, unsigned long);

    void* m_x11 = nullptr;
    void* m_xtst = nullptr;
    OpenDisplay m_open = nullptr;
    CloseDisplay m_close = nullptr;
    Flush m_flush = nullptr;
    KeysymToKeycode m_keycode = nullptr;
    FakeKey m_fake = nullptr;
    void* m_display = nullptr;
};
