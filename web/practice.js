// The Practice view: the questions of a set, one at a time, each value
// checked as it is typed, the worked answer a line at a time on request, and
// the score, kept in the browser per set. Every text in it (the question, the
// labels, the marks and the slips they name, what is heard, the tally, the
// rule, the notices) and every decision (what is read, what is right, what
// counts, what is kept and whether a kept record holds) comes from the
// library (exports.cpp); this lays them out, carries text in, and keeps the
// library's record where the browser lets it.
/* global page */
(function () {
  'use strict';

  var practiceView = document.getElementById('practice-view');
  var setText = document.getElementById('practice-set');
  var ruleText = document.getElementById('practice-rule');
  var notice = document.getElementById('practice-notice');
  var questionText = document.getElementById('practice-question');
  var questionFigure = document.getElementById('practice-figure');
  var answerFigure = document.getElementById('practice-answer-figure');
  var form = document.getElementById('practice-form');
  var fieldsBox = document.getElementById('practice-fields');
  var hintButton = document.getElementById('hint');
  var showButton = document.getElementById('show-answer');
  var nextButton = document.getElementById('next-question');
  var overButton = document.getElementById('start-over');
  var tally = document.getElementById('tally');
  var answerText = document.getElementById('practice-answer');
  var shownNote = document.getElementById('shown');
  var offer = document.getElementById('practice-offer');
  var offerButton = document.getElementById('practise-offered');

  var call = null; // into the page's library, once it is loaded
  var practised = null; // the set practised, as the library named it
  var offered = null; // the set the page opened at, or of the console's latest run
  var fields = [];
  var storage = null; // the browser's, unless it refuses

  function say(text) {
    if (text) {
      page.say('practice', text, true);
    }
  }

  function tell(text) {
    notice.textContent = text;
    notice.hidden = !text;
    say(text);
  }

  // Private modes may refuse the storage, or take it and throw on use.
  function openStorage() {
    try {
      localStorage.getItem('');
      storage = localStorage;
    } catch {
      storage = null;
    }
  }

  function keep(record) {
    if (storage) {
      try {
        storage.setItem(practised.key, record);
      } catch {
        storage = null;
      }
    }
  }

  function field(asked, index) {
    var id = 'value-' + index;
    var box = document.createElement('div');
    box.className = 'field';
    var label = document.createElement('label');
    label.htmlFor = id;
    label.textContent = asked.label;
    var input = document.createElement('input');
    input.id = id;
    input.type = 'text';
    input.inputMode = 'decimal';
    input.enterKeyHint = 'done';
    input.autocomplete = 'off';
    input.spellcheck = false;
    input.setAttribute('autocapitalize', 'off');
    input.setAttribute('autocorrect', 'off');
    var verdict = document.createElement('p');
    verdict.id = id + '-verdict';
    verdict.className = 'verdict';
    // Heard with the field: the question it answers, and its mark.
    input.setAttribute('aria-describedby', 'practice-question ' + verdict.id);
    // A mark is about the value it was given: editing the value clears it.
    input.addEventListener('input', function () {
      mark({ input: input, verdict: verdict }, null);
    });
    box.append(label, input, verdict);
    fieldsBox.appendChild(box);
    return { input: input, verdict: verdict };
  }

  // Scrolls the least that brings `element` whole into view, its end first
  // when it is taller than the screen: what a student asked for is where
  // they look.
  function reveal(element) {
    var box = element.getBoundingClientRect();
    if (box.bottom > innerHeight) {
      window.scrollBy(0, box.bottom - innerHeight + 8);
    } else if (box.top < 0) {
      window.scrollBy(0, box.top - 8);
    }
  }

  function mark(f, given) {
    f.verdict.textContent = given ? given.line : '';
    if (given && given.slip) {
      f.verdict.dataset.slip = given.slip;
    } else {
      delete f.verdict.dataset.slip;
    }
    if (given && given.marked && !given.right) {
      f.input.setAttribute('aria-invalid', 'true');
    } else {
      f.input.removeAttribute('aria-invalid');
    }
  }

  // The answer's area, the tally and the kept record, as the library has them.
  function update(state) {
    answerText.textContent = state.answer;
    answerText.hidden = !state.answer;
    answerFigure.innerHTML = state.answerFigure; // the library's SVG
    answerFigure.hidden = !state.answerFigure;
    shownNote.textContent = state.note;
    shownNote.hidden = !state.note;
    hintButton.disabled = !state.more;
    tally.textContent = state.tally;
    keep(state.record);
  }

  function ask(shown) {
    setText.textContent = String(shown.set);
    ruleText.textContent = shown.rule;
    questionText.textContent = shown.question;
    questionFigure.innerHTML = shown.figure; // the library's SVG
    fieldsBox.replaceChildren();
    fields = shown.fields.map(field);
    update(shown);
    fields[0].input.focus();
    say(shown.question);
  }

  // The set's practice, taken up from its kept record if there is one. A
  // browser that keeps nothing is named once.
  var toldNoStorage = false;
  function open(set) {
    practised = set;
    openStorage();
    var kept = storage ? storage.getItem(set.key) : null;
    var shown = call('practice_open', ['number', 'string'], [set.set, kept || '']);
    ask(shown);
    if (!storage && !toldNoStorage) {
      toldNoStorage = true;
      tell(set.noStorage);
    } else {
      tell(shown.notice);
    }
  }

  function check() {
    var typed = fields.map(function (f) {
      return f.input.value;
    });
    var checked = call('practice_check', ['string'], [typed.join('\n')]);
    checked.marks.forEach(function (given, index) {
      mark(fields[index], given);
    });
    update(checked);
    notice.textContent = checked.notice;
    notice.hidden = !checked.notice;
    say(checked.heard);
    if (checked.focus < fields.length) {
      fields[checked.focus].input.focus();
      reveal(fields[checked.focus].verdict.textContent ? fields[checked.focus].verdict
        : fields[checked.focus].input);
    }
  }

  function hint() {
    var hinted = call('practice_hint');
    update(hinted);
    say(hinted.heard);
    if (!hinted.more) {
      showButton.focus();
    }
    reveal(answerText);
  }

  function showAnswer() {
    update(call('practice_show'));
    answerText.focus({ preventScroll: true });
    reveal(answerText);
  }

  // The view opens at the set the page first had (the address's, or the
  // first run's) and stays on it: a later run's set is offered, not taken.
  function follow() {
    if (!practiceView.hidden && call && offered && !practised) {
      open(offered);
    }
    var other = Boolean(practised && offered && offered.set !== practised.set);
    offer.hidden = !other;
    if (other) {
      offerButton.textContent = 'Practise set ' + offered.set;
    }
  }

  document.addEventListener('projectile-view', function (event) {
    if (event.detail !== 'practice') {
      return;
    }
    if (call) {
      follow();
      if (fields.length) {
        fields[0].input.focus();
      }
      return;
    }
    page.library.then(function (library) {
      call = library;
      follow();
    });
  });

  form.addEventListener('submit', function (event) {
    event.preventDefault();
    check();
  });
  hintButton.addEventListener('click', hint);
  showButton.addEventListener('click', showAnswer);
  nextButton.addEventListener('click', function () {
    ask(call('practice_next'));
  });
  overButton.addEventListener('click', function () {
    ask(call('practice_start_over'));
    tell('');
  });
  offerButton.addEventListener('click', function () {
    open(offered);
    follow();
  });
  // The set the page opened at, until a console run offers another: a link
  // to Practice opens at its question without running the console.
  page.opened.then(function (opened) {
    offered = offered || opened;
    follow();
  });
  document.addEventListener('projectile-set', function (event) {
    offered = event.detail;
    follow();
  });
})();
