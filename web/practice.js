// The Practice view: the questions of the page's set, one at a time, each
// answer hidden until the student has tried it. The questions, the answers,
// what is asked, how a typed value is read and whether it is right all come
// from the library (exports.cpp); this lays them out and carries text in.
(function () {
  'use strict';

  var practiceView = document.getElementById('practice-view');
  var setText = document.getElementById('practice-set');
  var questionText = document.getElementById('practice-question');
  var form = document.getElementById('practice-form');
  var fieldsBox = document.getElementById('practice-fields');
  var showButton = document.getElementById('show-answer');
  var nextButton = document.getElementById('next-question');
  var tally = document.getElementById('tally');
  var answerText = document.getElementById('practice-answer');
  var shownNote = document.getElementById('shown');
  var announcer = document.getElementById('announce');
  var screen = document.getElementById('screen');

  // As projectile::verdict numbers them.
  var UNREADABLE = 0;
  var NEGATIVE = 1;
  var RIGHT = 3;
  var EXPECTED = 'Expected a number such as 2.04; use a point for decimals.';

  var library = null; // an instance of the program whose main() never runs
  var set = null; // the set practised
  var fields = [];
  var tried = 0; // questions checked with a value read, before their answer was shown
  var rightFirst = 0; // of those, questions all right at that first check
  var attempted = false;
  var shown = false;

  function call(name, returnType, argTypes, args) {
    return library.ccall('practice_' + name, returnType, argTypes || [], args || []);
  }

  // Through the page's one live region, as the console's output is.
  function say(text) {
    var piece = document.createElement('p');
    piece.textContent = text;
    announcer.appendChild(piece);
    while (announcer.childNodes.length > 3) {
      announcer.removeChild(announcer.firstChild);
    }
  }

  function showTally() {
    tally.textContent =
      'Right at the first check: ' + rightFirst + ' of ' + tried + (tried === 1 ? ' question' : ' questions') + ' tried.';
  }

  function field(index) {
    var id = 'value-' + index;
    var box = document.createElement('div');
    box.className = 'field';
    var label = document.createElement('label');
    label.htmlFor = id;
    label.textContent = call('label', 'string', ['number'], [index]);
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
    input.setAttribute('aria-describedby', verdict.id);
    // A mark is about the value it was given: editing the value clears it.
    input.addEventListener('input', function () {
      verdict.textContent = '';
      input.removeAttribute('aria-invalid');
    });
    box.append(label, input, verdict);
    fieldsBox.appendChild(box);
    return { input: input, verdict: verdict, name: call('name', 'string', ['number'], [index]) };
  }

  function ask() {
    var count = call('next', 'number');
    questionText.textContent = call('question', 'string');
    answerText.hidden = true;
    answerText.textContent = '';
    shownNote.hidden = true;
    fieldsBox.replaceChildren();
    fields = [];
    for (var i = 0; i < count; i++) {
      fields.push(field(i));
    }
    attempted = false;
    shown = false;
    fields[0].input.focus();
  }

  function startSet(newSet) {
    set = newSet;
    setText.textContent = String(set);
    call('start', null, ['number'], [set]);
    tried = 0;
    rightFirst = 0;
    showTally();
    ask();
  }

  function check() {
    var words = [];
    var firstWrong = null;
    var read = 0;
    var allRight = true;
    fields.forEach(function (f, index) {
      var verdict = call('check', 'number', ['number', 'string'], [index, f.input.value]);
      var mark;
      if (verdict === RIGHT) {
        mark = '✓ Right.';
        words.push(f.name + ': right.');
        f.input.removeAttribute('aria-invalid');
      } else {
        allRight = false;
        firstWrong = firstWrong || f;
        f.input.setAttribute('aria-invalid', 'true');
        if (verdict === UNREADABLE) {
          mark = '? ' + EXPECTED;
          words.push(f.name + ': ' + EXPECTED);
        } else {
          var printed = call('printed', 'string', ['number'], [index]);
          mark = '✗ Wrong: the answer is ' + printed + '.';
          if (verdict === NEGATIVE) {
            mark += ' ' + call('sign_hint', 'string', ['number'], [index]);
          }
          words.push(f.name + ': wrong, the answer is ' + printed + '.');
        }
      }
      if (verdict !== UNREADABLE) {
        read++;
      }
      f.verdict.textContent = mark;
    });
    if (read > 0 && !attempted && !shown) {
      attempted = true;
      tried++;
      rightFirst += allRight ? 1 : 0;
      showTally();
    }
    say(words.join(' '));
    if (firstWrong) {
      firstWrong.input.focus();
    }
  }

  function showAnswer() {
    answerText.textContent = call('answer', 'string');
    answerText.hidden = false;
    shownNote.hidden = false;
    shown = true;
    answerText.focus();
  }

  // The view follows the page's set: that of the console's latest run.
  function follow() {
    var pageSet = Number(screen.dataset.set);
    if (!practiceView.hidden && library && screen.dataset.set && pageSet !== set) {
      startSet(pageSet);
    }
  }

  document.addEventListener('projectile-view', function (event) {
    if (event.detail !== 'practice') {
      return;
    }
    if (library) {
      follow();
      if (fields.length) {
        fields[0].input.focus();
      }
      return;
    }
    createProgram({ noInitialRun: true, clockSecond: 0 }).then(function (program) {
      library = program;
      follow();
    });
  });

  form.addEventListener('submit', function (event) {
    event.preventDefault();
    check();
  });
  showButton.addEventListener('click', showAnswer);
  nextButton.addEventListener('click', ask);
  document.addEventListener('projectile-set', follow);
})();
