// The page as a terminal for the program. Each run is a fresh instance of the
// C++ program (createProgram, which the build makes from it): what it writes
// to standard output is shown as it comes, and what is typed at the line after
// its prompt is its standard input. The run itself, every text of it
// included, is the program's; this only carries lines in and text out.
/* global loadProgram, page */
(function () {
  'use strict';

  var screen = document.getElementById('screen');
  var current = document.getElementById('current');
  var partial = document.getElementById('partial');
  var line = document.getElementById('line');
  var stopButton = document.getElementById('stop');
  var againButton = document.getElementById('again');
  var statusText = document.getElementById('status');
  var consoleView = document.getElementById('console-view');
  var notice = document.getElementById('notice');
  var setNumber = document.getElementById('set-number');
  var copyButton = document.getElementById('copy-link');

  // Like a terminal's scrollback, the screen keeps the last lines written, up
  // to this many characters: more than 10,000 questions with their answers
  // (none takes 600), so that a run of any length uses bounded memory.
  var scrollback = 6500000;
  // The program runs in slices, at most one a frame, each just after the page
  // was drawn, so that keys and clicks are taken between them; a slice ends at
  // whichever comes first. Laying out a slice's text takes longer than making
  // it: the characters keep a frame short.
  var sliceMilliseconds = 8;
  var sliceCharacters = 1 << 16;

  var kept = 0; // characters in the screen's finished lines
  var following = true; // whether the view stays at the newest line
  var run = null; // the run under way, if any

  function atBottom() {
    var root = document.documentElement;
    return root.scrollTop + root.clientHeight >= root.scrollHeight - 4;
  }

  // At most once a frame: finding the end lays the page out, which the
  // browser would otherwise do only once before drawing it. The screen's
  // blocks out of view are laid out at an estimated height, and take their
  // own as they come into view, which moves the end: once the output stops
  // (`settle`), the end is followed for a few frames more, until it stays;
  // while it streams, the next slice follows it anyway.
  var scrollQueued = false;
  var scrolledTo = -1; // where the page's own last scroll left the view
  function scrollToEnd(settle) {
    // Another view keeps its own place on the page.
    if (following && !scrollQueued && !consoleView.hidden) {
      scrollQueued = true;
      var frames = settle ? 8 : 1;
      var follow = function () {
        if (following && !consoleView.hidden) {
          // Where the scroll will stop, from what the layout already knows:
          // reading scrollTop after scrolling would lay the page out again.
          var root = document.documentElement;
          var end = root.scrollHeight;
          window.scrollTo(0, end);
          scrolledTo = end - root.clientHeight;
        }
        if (--frames > 0 && following && !atBottom()) {
          requestAnimationFrame(follow);
        } else {
          scrollQueued = false;
        }
      };
      requestAnimationFrame(follow);
    }
  }

  // Text onto the screen: whole lines become a block of their own before the
  // line being written, which holds the rest (a prompt, say) and the input.
  function show(text) {
    var all = partial.textContent + text;
    var end = all.lastIndexOf('\n') + 1;
    if (end > 0) {
      var block = document.createElement('div');
      block.textContent = all.slice(0, end);
      screen.insertBefore(block, current);
      kept += end;
      while (kept > scrollback && screen.firstChild !== current) {
        kept -= screen.firstChild.textContent.length;
        screen.removeChild(screen.firstChild);
      }
    }
    partial.textContent = all.slice(end);
  }

  // A screen reader hears the output in pieces that end at a prompt or at
  // the end of the run, and every two seconds while output streams on.
  function hear(text, complete) {
    page.say('console', text, complete);
  }

  // Each run's set is the library's to choose: the one the page opened at
  // (page_open), for the first run only, else the clock's second (run_set).
  // It is shown, and handed to the other views with an event.
  var first = null; // the page's opening reply, until the first run takes it
  var chosen = null;

  function chooseSet(program) {
    chosen = first || JSON.parse(program.ccall('run_set', 'string', [], []));
    first = null;
    if (chosen.notice) {
      tell(chosen.notice);
    }
    screen.dataset.set = String(chosen.set);
    setNumber.textContent = String(chosen.set);
    document.dispatchEvent(new CustomEvent('projectile-set', { detail: chosen }));
    return chosen.set;
  }

  function tell(text) {
    notice.textContent = text;
    notice.hidden = false;
    hear(text + '\n', true);
  }

  // The address that opens the page at this run's set, from file:// too.
  copyButton.addEventListener('click', function () {
    if (!chosen) {
      return;
    }
    var link = location.href.split('#')[0] + chosen.link;
    var copied = navigator.clipboard ? navigator.clipboard.writeText(link) : Promise.reject();
    copied.then(
      function () {
        tell('Link copied: ' + link);
      },
      function () {
        tell('Copy this link: ' + link);
      }
    );
  });

  function setStatus(text) {
    statusText.textContent = text;
  }

  // What the program's standard input and output calls (see stdio.js).
  function terminalFor(thisRun) {
    var decoder = new TextDecoder();
    var encoder = new TextEncoder();
    var sliceStart = performance.now();
    var sliceWritten = 0;
    var input = new Uint8Array(0);

    function take(most) {
      var bytes = input.subarray(0, most);
      input = input.subarray(bytes.length);
      return bytes;
    }

    thisRun.submit = function (typed) {
      input = encoder.encode(typed + '\n');
      var deliver = thisRun.waiting;
      thisRun.waiting = null;
      line.hidden = true;
      line.value = '';
      show(typed + '\n');
      setStatus('Running…');
      sliceStart = performance.now();
      sliceWritten = 0;
      deliver(take);
    };

    return {
      write: function (fd, bytes) {
        var text = decoder.decode(bytes, { stream: true });
        sliceWritten += text.length;
        show(text);
        hear(text, false);
      },
      mustPause: function () {
        return (
          sliceWritten >= sliceCharacters || performance.now() - sliceStart >= sliceMilliseconds
        );
      },
      pause: function (resume) {
        scrollToEnd();
        requestAnimationFrame(function () {
          thisRun.timer = setTimeout(function () {
            if (thisRun === run) {
              sliceStart = performance.now();
              sliceWritten = 0;
              resume();
            }
          }, 0);
        });
      },
      read: function (deliver) {
        if (input.length > 0) {
          deliver(take);
          return;
        }
        thisRun.waiting = deliver;
        line.hidden = false;
        line.focus({ preventScroll: true });
        following = true;
        scrollToEnd(true);
        setStatus('Type your answer, then press Enter.');
        hear('', true);
      },
    };
  }

  // A run and its own instance of the program, loading. The first is loaded
  // as the page opens, beside the shared instance, and runs nothing until
  // the console is shown.
  function prepare() {
    var thisRun = { waiting: null, timer: 0, submit: null };
    return { run: thisRun, program: loadProgram({ console: terminalFor(thisRun) }) };
  }
  var prepared = prepare();

  function start() {
    var next = prepared || prepare();
    prepared = null;
    var thisRun = next.run;
    run = thisRun;
    againButton.hidden = true;
    stopButton.hidden = false;
    setStatus('Running…');
    next.program
      .then(function (program) {
        if (thisRun !== run) {
          return null;
        }
        return program.ccall('console_run', 'number', ['number'], [chooseSet(program)], {
          async: true,
        });
      })
      .then(
        function () {
          finish(thisRun, 'The run has ended.');
        },
        function () {
          finish(thisRun, 'The program stopped with an error.');
        }
      );
  }

  // The end of a run, however it came. A stopped program is never resumed:
  // its instance is dropped, as an interrupted process is gone.
  function finish(thisRun, message) {
    if (thisRun !== run) {
      return;
    }
    run = null;
    clearTimeout(thisRun.timer);
    thisRun.waiting = null;
    line.hidden = true;
    line.value = '';
    stopButton.hidden = true;
    againButton.hidden = false;
    hear('\n' + message, true);
    setStatus(message + ' Press New run to start again.');
    scrollToEnd(true);
    againButton.focus({ preventScroll: true });
  }

  // As a terminal shows an interrupt, after whatever was typed so far.
  function interrupt() {
    if (run) {
      show((run.waiting ? line.value : '') + '^C\n');
      finish(run, 'The run was stopped.');
    }
  }

  line.addEventListener('keydown', function (event) {
    if (event.key === 'Enter' && run && run.waiting) {
      event.preventDefault();
      run.submit(line.value);
    }
  });

  // Ctrl+C interrupts the run, as in a terminal, unless there is text
  // selected to copy.
  document.addEventListener('keydown', function (event) {
    var key = event.key === 'c' || event.key === 'C';
    if (!key || !event.ctrlKey || event.altKey || event.metaKey || !run || consoleView.hidden) {
      return;
    }
    var inLine = document.activeElement === line && line.selectionStart !== line.selectionEnd;
    var onPage = !window.getSelection().isCollapsed;
    if (!inLine && !onPage) {
      event.preventDefault();
      interrupt();
    }
  });

  // A tap or click on the screen goes to the input (and so, on a phone,
  // brings up its keyboard), unless it was to select text.
  screen.addEventListener('click', function () {
    if (!line.hidden && window.getSelection().isCollapsed) {
      line.focus({ preventScroll: true });
    }
  });

  window.addEventListener(
    'scroll',
    function () {
      // The page's own scroll to the end says nothing of where the reader
      // wants to be, even when the end has moved on since.
      if (Math.abs(document.documentElement.scrollTop - scrolledTo) > 1) {
        following = atBottom();
      }
    },
    { passive: true }
  );

  // The first run starts when the console is first shown, with the set the
  // page opened at: a page opened at another view runs nothing.
  var started = false;
  document.addEventListener('projectile-view', function (event) {
    if (event.detail !== 'console') {
      return;
    }
    if (started) {
      (line.hidden ? againButton : line).focus({ preventScroll: true });
      return;
    }
    started = true;
    page.opened.then(function (opened) {
      first = opened;
      start();
    });
  });

  stopButton.addEventListener('click', interrupt);
  againButton.addEventListener('click', start);
})();
