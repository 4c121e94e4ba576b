#pragma once

#include <QCoreApplication>
#include <QList>
#include <QPointer>
#include <utility>

// A window's default instance: the one the program means when it names the
// window class. One per class; the class befriends DefaultInstance<itself>
// so that only this creates it.
//
// - get() creates it on first use; find() only returns it, or null.
// - Unloading forgets it at once (find() is null, the next get() makes a new
//   one) and deletes it by deleteLater, so that it never goes under its own
//   running handler. A window that runs modal loops over itself discards
//   only after the last one has returned (forget() meanwhile).
// - At exit it goes in a post routine, before the application object: a
//   widget deleted after the application object crashes the exit.
template <typename Window> class DefaultInstance {
public:
    static Window& get()
    {
        State& s = state();
        if (!s.current) {
            s.current = new Window;
            // Once in the list whatever the number of windows made, and again
            // for an application object made after an earlier one ended.
            qRemovePostRoutine(&DefaultInstance::deleteAtExit);
            qAddPostRoutine(&DefaultInstance::deleteAtExit);
        }
        return *s.current;
    }

    static Window* find() { return state().current.data(); }

    // The window stops being the default instance now and is deleted once
    // control is back in the event loop.
    static void discard(Window* window)
    {
        if (!window)
            return;
        forget(window);
        window->deleteLater();
    }

    // The window stops being the default instance now; the caller discards
    // it once nothing of its own runs any more (at exit it goes regardless).
    static void forget(Window* window)
    {
        if (!window)
            return;
        State& s = state();
        if (s.current == window)
            s.current.clear();
        s.unloaded.removeIf([](const QPointer<Window>& w) { return w.isNull(); });
        if (!s.unloaded.contains(window))
            s.unloaded.append(window);
    }

private:
    struct State {
        QPointer<Window> current;
        QList<QPointer<Window>> unloaded; // not deleted yet
    };

    static State& state()
    {
        static State s;
        return s;
    }

    static void deleteAtExit()
    {
        State& s = state();
        delete s.current.data();
        for (const QPointer<Window>& window : std::exchange(s.unloaded, {}))
            delete window.data();
    }
};
