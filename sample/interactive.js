// Answer scripts of the exam window's question pages.
//
// A page reports its complete current answer by assigning it to
// window.status whenever the answer changes, and "~" when it becomes empty.
// It reports nothing else, since the window takes any other status text as
// the answer. Formats:
//   multiple choice   the ticked values of the "menu" inputs, each followed by ","
//   essay             "~", then the text of "ta" (the window appends pieces)
//   fill in           the text of each "txtFill" box, each followed by "|"
//   ordered list,
//   select and place  the texts of the answer list "D3" joined by ","
// Items are identified by their text (textContent: option.text collapses
// blanks). The window compares it with the stored text in the form the
// page's parser leaves it (a CR LF reads as LF).
(function () {
  'use strict';

  var EMPTY = '~';
  var kind = null;   // 'choice', 'essay', 'fill', 'order', 'place' or 'none'
  var last = null;   // the answer the window holds as far as this page knows

  function named(name, tag) {
    var found = document.getElementsByName(name);
    var result = [];
    for (var i = 0; i < found.length; i++)
      if (found[i].tagName === tag) result.push(found[i]);
    return result;
  }

  function list(name) {
    return named(name, 'SELECT')[0] || null;
  }

  function trim(text) {
    return String(text).replace(/^\s+|\s+$/g, '');
  }

  function send(text) {
    window.status = text;
  }

  // --- answers per page kind -------------------------------------------

  function choiceAnswer() {
    var inputs = named('menu', 'INPUT');
    var answer = '';
    for (var i = 0; i < inputs.length; i++)
      if (inputs[i].checked) answer += trim(inputs[i].value) + ',';
    return answer;
  }

  function essayText() {
    var box = named('ta', 'TEXTAREA')[0];
    return box ? box.value : '';
  }

  function fillAnswer() {
    var boxes = named('txtFill', 'INPUT');
    var parts = [];
    var typed = false;
    for (var i = 0; i < boxes.length; i++) {
      // A "|" of the user's own would shift every later blank.
      var text = boxes[i].value.replace(/\|/g, ' ');
      if (trim(text) !== '') typed = true;
      parts.push(text + '|');
    }
    return typed ? parts.join('') : '';
  }

  function listAnswer() {
    var answer = list('D3');
    var texts = [];
    if (answer)
      for (var i = 0; i < answer.options.length; i++) texts.push(answer.options[i].textContent);
    return texts.join(',');
  }

  function currentAnswer() {
    switch (kind) {
      case 'choice': return choiceAnswer();
      case 'essay': return trim(essayText()) === '' ? '' : essayText();
      case 'fill': return fillAnswer();
      case 'order':
      case 'place': return listAnswer();
    }
    return '';
  }

  // The essay goes as "~" (the window empties its answer) and the text. A
  // text that reads "DONE" would be dropped by the window, so it goes in two
  // pieces that the window joins again.
  function sendEssay(text) {
    send(EMPTY);
    if (text === '') return;
    if (trim(text).toUpperCase() === 'DONE') {
      var cut = text.search(/\S/) + 1;
      send(text.slice(0, cut));
      send(text.slice(cut));
    } else {
      send(text);
    }
  }

  function reportIfChanged(always) {
    start();
    if (kind === 'none') return;
    var answer = currentAnswer();
    var shown = answer === '' ? EMPTY : answer;
    if (!always && shown === last) return;
    last = shown;
    if (kind === 'essay') sendEssay(answer);
    else send(shown);
  }

  // --- list pages --------------------------------------------------------
  //
  // Adding moves an item from the list that offers it into the answer list
  // "D3"; removing puts it back where it stood, so every item is placed at
  // most once and the offered lists show only what is left.

  function remember(source) {
    for (var i = 0; i < source.options.length; i++) {
      var option = source.options[i];
      option.setAttribute('data-z-source', source.name);
      option.setAttribute('data-z-order', String(i));
      option.setAttribute('data-z-value', option.value);
    }
  }

  function putBack(option) {
    var name = option.getAttribute('data-z-source');
    var source = name ? list(name) : null;
    if (!source) {
      option.parentNode.removeChild(option);
      return;
    }
    var order = Number(option.getAttribute('data-z-order'));
    option.value = option.getAttribute('data-z-value') || option.value;
    option.selected = false;
    for (var i = 0; i < source.options.length; i++) {
      if (Number(source.options[i].getAttribute('data-z-order')) > order) {
        source.insertBefore(option, source.options[i]);
        return;
      }
    }
    source.appendChild(option);
  }

  // An answer shown again (or the right answer) is already in "D3": take
  // those items out of the offered lists.
  function takePlaced(sources) {
    var answer = list('D3');
    if (!answer) return;
    for (var i = 0; i < answer.options.length; i++) {
      var entry = answer.options[i];
      for (var s = 0; s < sources.length; s++) {
        var match = null;
        for (var j = 0; j < sources[s].options.length && !match; j++)
          if (sources[s].options[j].textContent === entry.textContent) match = sources[s].options[j];
        if (match) {
          entry.setAttribute('data-z-source', match.getAttribute('data-z-source'));
          entry.setAttribute('data-z-order', match.getAttribute('data-z-order'));
          entry.setAttribute('data-z-value', match.getAttribute('data-z-value'));
          match.parentNode.removeChild(match);
          break;
        }
      }
    }
  }

  function addFrom(sources) {
    var answer = list('D3');
    if (!answer) return;
    for (var s = 0; s < sources.length; s++) {
      var source = sources[s];
      if (!source || source.selectedIndex < 0) continue;
      var option = source.options[source.selectedIndex];
      if (trim(option.textContent) === '') return;
      source.selectedIndex = -1;
      answer.appendChild(option);
      answer.selectedIndex = answer.options.length - 1;
      return;
    }
  }

  function removeSelected() {
    var answer = list('D3');
    if (!answer || answer.selectedIndex < 0) return;
    var at = answer.selectedIndex;
    putBack(answer.options[at]);
    answer.selectedIndex = Math.min(at, answer.options.length - 1);
  }

  function moveSelected(step) {
    var answer = list('D3');
    if (!answer || answer.selectedIndex < 0) return;
    var at = answer.selectedIndex;
    var to = at + step;
    if (to < 0 || to >= answer.options.length) return;
    var option = answer.options[at];
    if (step < 0) answer.insertBefore(option, answer.options[to]);
    else answer.insertBefore(option, answer.options[to].nextSibling);
    answer.selectedIndex = to;
  }

  // Every item carries its whole text as its tip, wherever it goes: a list
  // shares the page width with the others, and its long items wrap.
  function entitle(lists) {
    for (var s = 0; s < lists.length; s++)
      if (lists[s])
        for (var i = 0; i < lists[s].options.length; i++) lists[s].options[i].title = lists[s].options[i].textContent;
  }

  // --- start -------------------------------------------------------------

  function start() {
    if (kind !== null) return;
    if (list('D3') && list('D2')) {
      kind = list('D1') ? 'place' : 'order';
      var sources = kind === 'place' ? [list('D1'), list('D2')] : [list('D2')];
      for (var s = 0; s < sources.length; s++) remember(sources[s]);
      entitle(sources.concat([list('D3')]));
      takePlaced(sources);
    } else if (named('txtFill', 'INPUT').length > 0) {
      kind = 'fill';
    } else if (named('ta', 'TEXTAREA').length > 0) {
      kind = 'essay';
    } else if (named('menu', 'INPUT').length > 0) {
      kind = 'choice';
    } else {
      kind = 'none';
    }
    var answer = currentAnswer();
    last = answer === '' ? EMPTY : answer;
    // The window empties its answer when it shows an essay: send the text
    // shown, so an essay shown again is recorded again.
    if (kind === 'essay') reportIfChanged(true);
  }

  // The pages have nothing to submit; Enter in a form with one text box
  // would submit it and replace the question page.
  document.addEventListener('submit', function (event) { event.preventDefault(); }, true);

  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', start);
  else start();

  // --- what the pages call -----------------------------------------------

  // Key presses on the page (body onKeypress): Enter in a text box or a
  // list would submit the form.
  window.test = function () {
    var event = window.event;
    if (!event || (event.key !== 'Enter' && event.keyCode !== 13)) return;
    var target = event.target;
    var tag = target && target.tagName;
    if (tag === 'SELECT' || (tag === 'INPUT' && !/^(button|submit|reset|image|checkbox|radio)$/i.test(target.type)))
      event.preventDefault();
  };

  // Multiple choice: a click on a choice.
  window.do1 = function () { reportIfChanged(false); };

  // Essay: mouse-up, key-up and blur of "ta".
  window.SaveText = function () { reportIfChanged(false); };

  // Fill in the blank: mouse-up, key-up and blur of a "txtFill" box.
  window.SaveFillText = function () { reportIfChanged(false); };

  // Select and place: the item selected in "D1" (else in "D2") to the end
  // of "D3".
  window.Add = function () {
    start();
    addFrom([list('D1'), list('D2')]);
    reportIfChanged(false);
  };

  // Ordered list: the item selected in "D2" to the end of "D3".
  window.Add1 = function () {
    start();
    addFrom([list('D2')]);
    reportIfChanged(false);
  };

  // Both list pages: the entry selected in "D3" back to its list.
  window.Remove = function () {
    start();
    removeSelected();
    reportIfChanged(false);
  };

  window.MoveUp = function () {
    start();
    moveSelected(-1);
    reportIfChanged(false);
  };

  window.MoveDown = function () {
    start();
    moveSelected(1);
    reportIfChanged(false);
  };
})();
