#pragma once

#include "foundation/Messages.h"
#include "foundation/SharedState.h"

#include <QString>
#include <functional>
#include <type_traits>
#include <utility>

// How a window opens a window of another subsystem without the libraries
// depending on each other in a circle (a subsystem never links a later one).
// Each destination has its own link type, declared in a header beside its
// callers; the program wires it at start to the window that serves it. So a
// new window adds its own header and one line of wiring, and edits no shared
// file.
//
//   // mainwindow/links/ExamWindowLink.h
//   struct ExamWindowLink : WindowLink<ExamWindowLink, void(const ExamParameters& record)> {
//       static constexpr const char* window = "The exam window";
//   };
//   ExamWindowLink::open(record);                 // the caller
//   ExamWindowLink::wire(&frmZiduver::launch);    // app/
//
// Until it is wired, opening a link says through ShowMessage that its window
// comes with a later version, and returns a default value.
// The message of a link not wired yet: "<window> comes with a later version."
QString windowComesLaterText(const QString& window);

template <typename Link, typename Signature> class WindowLink;

template <typename Link, typename Result, typename... Args> class WindowLink<Link, Result(Args...)> {
public:
    using Target = std::function<Result(Args...)>;

    // Wires the link; an empty target unwires it.
    static void wire(Target target) { slot() = std::move(target); }
    static bool wired() { return bool(slot()); }

    static Result open(Args... args)
    {
        // A copy, so that a target that rewires the link runs to its end.
        if (const Target target = slot())
            return target(std::forward<Args>(args)...);
        ShowMessage(windowComesLaterText(QString::fromUtf8(Link::window)), gLogin.gAppName, OneButton);
        if constexpr (!std::is_void_v<Result>)
            return Result{};
    }

private:
    static Target& slot()
    {
        static Target target;
        return target;
    }
};
