#include "exam/PageLock.h"

namespace {

// zLockPage(win, on): one window and its frames. The guard listeners are
// installed once per document and look at the window's flag.
const char* const kLockFunction = R"JS(function zLockPage(win, on) {
  try {
    var doc = win.document;
    win.__zPageLocked = on;
    if (!win.__zPageLockGuard) {
      win.__zPageLockGuard = true;
      var types = ['mousedown', 'mouseup', 'click', 'dblclick', 'keydown', 'keypress', 'keyup', 'input',
                   'change', 'paste', 'drop'];
      var drop = function (event) {
        if (!win.__zPageLocked) return;
        var target = event.target;
        if (target && target.closest && target.closest('input,select,textarea,button,option')) {
          event.preventDefault();
          event.stopImmediatePropagation();
        }
      };
      for (var t = 0; t < types.length; t++) doc.addEventListener(types[t], drop, true);
    }
    var controls = doc.querySelectorAll('input,select,textarea,button');
    for (var i = 0; i < controls.length; i++) {
      var control = controls[i];
      if (on && !control.disabled) {
        control.disabled = true;
        control.setAttribute('data-z-locked', '1');
      } else if (!on && control.getAttribute('data-z-locked')) {
        control.disabled = false;
        control.removeAttribute('data-z-locked');
      }
    }
    if (on && doc.activeElement && doc.activeElement.blur) doc.activeElement.blur();
    for (var f = 0; f < win.frames.length; f++) zLockPage(win.frames[f], on);
  } catch (e) {}
})JS";

} // namespace

QString pageLockScript(bool locked)
{
    return QStringLiteral("(function () { ") + QLatin1String(kLockFunction) + QStringLiteral(" zLockPage(window, ")
        + (locked ? QStringLiteral("true") : QStringLiteral("false")) + QStringLiteral("); })();");
}

QString pageLockElement()
{
    // Run after the page's own start-up (its scripts build controls when the
    // document has been read) and once more when every frame is there.
    return QStringLiteral("<script>(function () { ") + QLatin1String(kLockFunction)
        + QStringLiteral(" var lock = function () { zLockPage(window, true); }; lock();"
                         " if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', lock);"
                         " window.addEventListener('load', lock); })();</script>");
}
