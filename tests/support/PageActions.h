#pragma once

// Script functions that act as the user on an answer page whose document is
// `doc`: pick an option by its text, press a button by its caption, tick a
// choice, type into or clear a box and fire its key-up and mouse-up events.
// A missing control raises an error that names it.
inline const char* const kPageActions = R"JS(
  function list(name) { return doc.getElementsByName(name)[0]; }
  function pickIn(select, text) {
    for (var i = 0; i < select.options.length; i++)
      if (select.options[i].textContent === text) { select.selectedIndex = i; return; }
    throw new Error('no option "' + text + '"');
  }
  function pick(name, text) { pickIn(list(name), text); }
  function pickTree(text) { pickIn(doc.getElementById('TreeView'), text); }
  function press(value) {
    var buttons = doc.querySelectorAll('input[type=button]');
    for (var i = 0; i < buttons.length; i++)
      if (buttons[i].value === value) { buttons[i].click(); return; }
    throw new Error('no button "' + value + '"');
  }
  function tick(value) { doc.querySelector('input[name=menu][value="' + value + '"]').click(); }
  function box(name, index) { return doc.getElementsByName(name)[index || 0]; }
  function typeInto(element, text) {
    element.focus();
    element.selectionStart = element.selectionEnd = element.value.length;
    doc.execCommand('insertText', false, text);
  }
  function clear(element) { element.focus(); element.select(); doc.execCommand('delete'); }
  function keyUp(element) { element.dispatchEvent(new KeyboardEvent('keyup', { bubbles: true })); }
  function mouseUp(element) { element.dispatchEvent(new MouseEvent('mouseup', { bubbles: true })); }
  function texts(select) {
    var out = [];
    for (var i = 0; i < select.options.length; i++) out.push(select.options[i].textContent);
    return out.join('|');
  }
)JS";
