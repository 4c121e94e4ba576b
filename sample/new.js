// Answer script of the tree question's answer frame (left.htm).
//
// The frame offers the leaves in the list "D1"; this script draws the tree
// below it: the root text ("hidRowVal3"), each node, and the leaves placed
// under each node. "Move" moves the selected leaf of "D1" under the node
// selected in the tree; "Remove" puts the selected placed leaf (or every
// leaf of the selected node) back into "D1".
//
// The page reports its complete current answer by assigning it to
// window.status whenever the answer changes, and nothing else: one entry
// per node joined by ",", an entry being the node's text followed by "#"
// and each leaf placed under it. A tree without any placed leaf is an empty
// answer and is reported as "~". The state starts from "hidRowVal2", which
// holds the answer in that format (the bare node list when nothing is
// placed yet).
(function () {
  'use strict';

  var EMPTY = '~';
  var TREE_ID = 'TreeView';
  var nodes = null;   // [{ text, leaves: [{ text, option }] }]
  var last = null;    // the answer the window holds as far as this page knows

  function named(name, tag) {
    var found = document.getElementsByName(name);
    for (var i = 0; i < found.length; i++)
      if (found[i].tagName === tag) return found[i];
    return null;
  }

  function hidden(name) {
    var input = named(name, 'INPUT');
    return input ? input.value : '';
  }

  function leafList() {
    return named('D1', 'SELECT');
  }

  function tree() {
    return document.getElementById(TREE_ID);
  }

  function trim(text) {
    return String(text).replace(/^\s+|\s+$/g, '');
  }

  function answer() {
    var entries = [];
    var placed = false;
    for (var i = 0; i < nodes.length; i++) {
      var fields = [nodes[i].text];
      for (var j = 0; j < nodes[i].leaves.length; j++) {
        fields.push(nodes[i].leaves[j].text);
        placed = true;
      }
      entries.push(fields.join('#'));
    }
    return placed ? entries.join(',') : EMPTY;
  }

  function reportIfChanged() {
    var shown = answer();
    if (shown === last) return;
    last = shown;
    window.status = shown;
  }

  // --- the leaves offered ------------------------------------------------

  function remember(leaves) {
    for (var i = 0; i < leaves.options.length; i++) {
      leaves.options[i].setAttribute('data-z-order', String(i));
      leaves.options[i].setAttribute('data-z-value', leaves.options[i].value);
      leaves.options[i].title = leaves.options[i].textContent;
    }
  }

  // The option of "D1" showing this text, taken out of the list.
  function takeLeaf(text) {
    var leaves = leafList();
    if (!leaves) return null;
    for (var i = 0; i < leaves.options.length; i++) {
      var option = leaves.options[i];
      if (option.textContent === text) {
        leaves.removeChild(option);
        return option;
      }
    }
    return null;
  }

  function putBack(leaf) {
    var leaves = leafList();
    if (!leaves) return;
    var option = leaf.option;
    if (!option) {
      // A leaf of an answer shown again that the list does not offer.
      option = document.createElement('option');
      option.textContent = leaf.text;
      option.setAttribute('data-z-order', String(Number.MAX_SAFE_INTEGER));
    }
    option.title = leaf.text;
    option.value = option.getAttribute('data-z-value') || option.value;
    option.selected = false;
    var order = Number(option.getAttribute('data-z-order'));
    for (var i = 0; i < leaves.options.length; i++) {
      if (Number(leaves.options[i].getAttribute('data-z-order')) > order) {
        leaves.insertBefore(option, leaves.options[i]);
        return;
      }
    }
    leaves.appendChild(option);
  }

  // --- the tree ------------------------------------------------------------

  function parseState(text) {
    var result = [];
    var entries = String(text).split(',');
    for (var i = 0; i < entries.length; i++) {
      var fields = entries[i].split('#');
      if (trim(fields[0]) === '') continue;
      var node = { text: fields[0], leaves: [] };
      for (var j = 1; j < fields.length; j++)
        if (trim(fields[j]) !== '') node.leaves.push({ text: fields[j], option: takeLeaf(fields[j]) });
      result.push(node);
    }
    return result;
  }

  // The style text holds a style element (class "f"); install its rules.
  function installStyle(styleText) {
    var match = /<style[^>]*>([\s\S]*?)<\/style>/i.exec(styleText);
    var css = (match ? match[1] : '').replace(/<!--|-->/g, '');
    if (trim(css) === '') return;
    var style = document.createElement('style');
    style.textContent = css;
    (document.head || document.documentElement).appendChild(style);
  }

  // A template's content is inert: the question's images and scripts are
  // not loaded or run again.
  function plainText(html) {
    var box = document.createElement('template');
    box.innerHTML = html;
    return trim(box.content.textContent);
  }

  // The tree goes in the cell beside the buttons ("TreeCell"); a frame page
  // without one gets it below the leaves.
  function build() {
    var leaves = leafList();
    var place = document.getElementById('TreeCell') || (leaves ? leaves.parentNode : document.body);
    installStyle(hidden('qFont'));

    var root = document.createElement('div');
    root.className = 'f';
    root.style.fontWeight = 'bold';
    root.style.marginBottom = '0.3em';
    root.textContent = hidden('hidRowVal3');
    place.appendChild(root);

    var view = document.createElement('select');
    view.id = TREE_ID;
    view.className = 'f';
    view.size = 12;
    view.setAttribute('aria-label', plainText(hidden('Question')));
    place.appendChild(view);
  }

  function draw(selectNode, selectLeaf) {
    var view = tree();
    while (view.firstChild) view.removeChild(view.firstChild);
    for (var i = 0; i < nodes.length; i++) {
      var node = document.createElement('option');
      node.textContent = nodes[i].text;
      node.title = nodes[i].text;
      node.setAttribute('data-node', String(i));
      node.style.fontWeight = 'bold';
      view.appendChild(node);
      if (i === selectNode && selectLeaf < 0) node.selected = true;
      for (var j = 0; j < nodes[i].leaves.length; j++) {
        var leaf = document.createElement('option');
        leaf.textContent = nodes[i].leaves[j].text;
        leaf.title = nodes[i].leaves[j].text;
        leaf.setAttribute('data-node', String(i));
        leaf.setAttribute('data-leaf', String(j));
        leaf.style.paddingLeft = '2em';
        view.appendChild(leaf);
        if (i === selectNode && j === selectLeaf) leaf.selected = true;
      }
    }
  }

  // The tree's selection: { node, leaf } (leaf -1 for a node), or null.
  function selection() {
    var view = tree();
    if (!view || view.selectedIndex < 0) return null;
    var option = view.options[view.selectedIndex];
    var leaf = option.getAttribute('data-leaf');
    return { node: Number(option.getAttribute('data-node')), leaf: leaf === null ? -1 : Number(leaf) };
  }

  function start() {
    if (nodes !== null) return;
    var leaves = leafList();
    if (leaves) remember(leaves);
    nodes = parseState(hidden('hidRowVal2'));
    build();
    draw(-1, -1);
    last = answer();
  }

  // The tree frame has nothing to submit.
  document.addEventListener('submit', function (event) { event.preventDefault(); }, true);

  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', start);
  else start();

  // --- what the page calls -----------------------------------------------

  // "Move": the leaf selected in "D1" under the node selected in the tree
  // (the node of a selected leaf; the only node when there is one).
  window.MoveNodes = function () {
    start();
    var leaves = leafList();
    if (!leaves || leaves.selectedIndex < 0) return;
    var chosen = selection();
    var target = chosen ? chosen.node : (nodes.length === 1 ? 0 : -1);
    if (target < 0) return;
    var option = leaves.options[leaves.selectedIndex];
    if (trim(option.textContent) === '') return;
    leaves.removeChild(option);
    option.selected = false;
    nodes[target].leaves.push({ text: option.textContent, option: option });
    draw(target, -1);
    reportIfChanged();
  };

  // "Remove": the placed leaf selected in the tree back into "D1"; with a
  // node selected, every leaf under it.
  window.RemoveNodes = function () {
    start();
    var chosen = selection();
    if (!chosen) return;
    var node = nodes[chosen.node];
    var removed = chosen.leaf < 0 ? node.leaves.splice(0) : node.leaves.splice(chosen.leaf, 1);
    for (var i = 0; i < removed.length; i++) putBack(removed[i]);
    draw(chosen.node, -1);
    reportIfChanged();
  };
})();
