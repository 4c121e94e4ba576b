#pragma once

#include <functional>

// Set once the program or the desktop session is ending: windows then close
// without asking the user anything.
bool programEnding();
void setProgramEnding(bool ending);

// What a window holds that the user typed and has not saved yet (a note's
// text): while the window is open, how it is saved, as its Save button
// would, before the program ends. One object per open window.
class EndingSave {
public:
    explicit EndingSave(std::function<void()> save);
    ~EndingSave();
    EndingSave(const EndingSave&) = delete;
    EndingSave& operator=(const EndingSave&) = delete;

private:
    friend void runEndingSaves();
    std::function<void()> m_save;
};

// The program ends: every open window's save runs once, the latest opened
// first. Before the running exam ends, whose windows they may be.
void runEndingSaves();
