// The page around its views: the Console (as the page opens), Practice and
// the Worksheet, one shown at a time, each keeping its state while hidden;
// the one instance of the library that Practice and the Worksheet share; and
// the page's one voice, its live region, which speaks for the view on screen
// alone. The view the address names is the library's to read (page_view).
// Showing a view tells its script, through a 'projectile-view' event.
/* global loadProgram */
/* exported page */
var page = (function () {
  'use strict';

  var names = ['console', 'practice', 'worksheet'];
  var shown = 'console';
  var announcer = document.getElementById('announce');

  // Calls into the shared instance: each returns the library's JSON,
  // parsed; with `raw` 'text', its text as it is, and with 'bytes', the bytes
  // it returns after their length.
  var library = loadProgram({}).then(function (program) {
    return function (name, types, args, raw) {
      if (raw === 'bytes') {
        var at = program.ccall(name, 'number', types || [], args || []);
        var heap = program.HEAPU8;
        var size = heap[at] | (heap[at + 1] << 8) | (heap[at + 2] << 16) | (heap[at + 3] << 24);
        return heap.slice(at + 4, at + 4 + size);
      }
      var returned = program.ccall(name, 'string', types || [], args || []);
      return raw ? returned : JSON.parse(returned);
    };
  });

  // What is said waits for the end of a thought (a prompt, a verdict) or, while
  // output streams on, two seconds; a piece longer than this is cut to its
  // end, since nobody listens to thousands of questions. Only the view on
  // screen is heard, and a switch of view drops whatever waits.
  var longest = 4000;
  var waiting = [];
  var waitingLength = 0;
  var waitingCut = false;
  var timer = 0;

  function drop() {
    clearTimeout(timer);
    timer = 0;
    waiting = [];
    waitingLength = 0;
    waitingCut = false;
  }

  function speak() {
    var text = waiting.join('');
    if (waitingCut || text.length > longest) {
      text = '… ' + text.slice(text.indexOf('\n', text.length - longest) + 1);
    }
    drop();
    text = text.trim();
    if (!text) {
      return;
    }
    var piece = document.createElement('p');
    piece.textContent = text;
    announcer.appendChild(piece);
    while (announcer.childNodes.length > 3) {
      announcer.removeChild(announcer.firstChild);
    }
  }

  // `text` from `view`, heard now when `complete`, else with what follows.
  function say(view, text, complete) {
    if (view !== shown) {
      return;
    }
    waiting.push(text);
    waitingLength += text.length;
    while (waitingLength - waiting[0].length >= longest) {
      waitingLength -= waiting.shift().length;
      waitingCut = true;
    }
    if (complete) {
      speak();
    } else if (!timer) {
      timer = setTimeout(speak, 2000);
    }
  }

  function show(name) {
    drop();
    announcer.replaceChildren();
    shown = name;
    names.forEach(function (other) {
      document.getElementById(other + '-view').hidden = other !== name;
      document.getElementById('to-' + other).setAttribute('aria-pressed', String(other === name));
    });
    document.dispatchEvent(new CustomEvent('projectile-view', { detail: name }));
  }

  names.forEach(function (name) {
    document.getElementById('to-' + name).addEventListener('click', function () {
      show(name);
    });
  });

  // A link opened in a tab already showing the page changes only its
  // address's fragment: the page starts again, as if opened from the link.
  window.addEventListener('hashchange', function () {
    location.reload();
  });

  // What the address asks of the views: its view, and a class's number of
  // versions for the Worksheet.
  var asked = { view: 'console', versions: '' };
  library.then(function (call) {
    asked = call('page_view', ['string'], [location.hash]);
    if (asked.view !== 'console') {
      show(asked.view);
    }
  });

  return {
    library: library,
    asked: function () {
      return asked;
    },
    say: say,
    isShown: function (name) {
      return shown === name;
    },
  };
})();
