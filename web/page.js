// The page around its views: the Console, Practice and the Worksheet, one
// shown at a time, each keeping its state while hidden; the one instance of
// the library that Practice and the Worksheet share; and the page's one
// voice, its live region, which speaks for the view on screen alone. What
// the page opens at (its views, the view, the set and what each view needs)
// is the library's one reply to the address (page_open). Showing a view
// tells its script, through a 'projectile-view' event.
/* global loadProgram */
/* exported page */
var page = (function () {
  'use strict';

  var names = [];
  var shown = null;
  var announcer = document.getElementById('announce');

  // Calls into the shared instance: each returns the library's JSON, parsed.
  // call.bytes(at, size) copies bytes a reply says are in its memory;
  // call.put(at, bytes) puts bytes where a reply gave room for them.
  var library = loadProgram({}).then(function (program) {
    var call = function (name, types, args) {
      return JSON.parse(program.ccall(name, 'string', types || [], args || []));
    };
    call.bytes = function (at, size) {
      return program.HEAPU8.slice(at, at + size);
    };
    call.put = function (at, bytes) {
      program.HEAPU8.set(bytes, at);
    };
    return call;
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

  // A link opened in a tab already showing the page changes only its
  // address's fragment: the page starts again, as if opened from the link.
  window.addEventListener('hashchange', function () {
    location.reload();
  });

  // The page opens from one reply: the views, the one the address names,
  // its set and what the views need of it.
  var opened = library.then(function (call) {
    var reply = call('page_open', ['string'], [location.hash]);
    names = reply.views;
    names.forEach(function (name) {
      document.getElementById('to-' + name).addEventListener('click', function () {
        show(name);
      });
    });
    show(reply.view);
    return reply;
  });

  // Bytes the library made, saved as a file of that name and type.
  function save(bytes, type, name) {
    var link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], { type: type }));
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function () {
      URL.revokeObjectURL(link.href);
    }, 60000);
  }

  return {
    library: library,
    opened: opened,
    say: say,
    save: save,
    isShown: function (name) {
      return shown === name;
    },
  };
})();
