// The Practice view: the questions of the page's set, one at a time, each
// answer hidden until the student has tried it. Every text in it (the
// question, the fields' labels, the marks, what is heard, the tally, the
// rule) and every decision (what is read, what is right, what counts) comes
// from the library (exports.cpp); this lays them out and carries text in.
(function () {
  'use strict';

  var practiceView = document.getElementById('practice-view');
  var setText = document.getElementById('practice-set');
  var ruleText = document.getElementById('practice-rule');
  var questionText = document.getElementById('practice-question');
  var form = document.getElementById('practice-form');
  var fieldsBox = document.getElementById('practice-fields');
  var showButton = document.getElementById('show-answer');
  var nextButton = document.getElementById('next-question');
  var tally = document.getElementById('tally');
  var answerText = document.getElementById('practice-answer');
  var shownNote = document.getElementById('shown');
  var announcer = document.getElementById('announce');

  var library = null; // an instance of the page's library, for Practice alone
  var set = null; // the set practised
  var pageSet = null; // the set of the console's latest run
  var fields = [];

  function call(name, argTypes, args) {
    return JSON.parse(library.ccall('practice_' + name, 'string', argTypes || [], args || []));
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
    input.setAttribute('aria-describedby', verdict.id);
    // A mark is about the value it was given: editing the value clears it.
    input.addEventListener('input', function () {
      verdict.textContent = '';
      input.removeAttribute('aria-invalid');
    });
    box.append(label, input, verdict);
    fieldsBox.appendChild(box);
    return { input: input, verdict: verdict };
  }

  function ask(shown) {
    set = shown.set;
    setText.textContent = String(shown.set);
    ruleText.textContent = shown.rule;
    questionText.textContent = shown.question;
    tally.textContent = shown.tally;
    answerText.hidden = true;
    answerText.textContent = '';
    shownNote.hidden = true;
    fieldsBox.replaceChildren();
    fields = shown.fields.map(field);
    fields[0].input.focus();
  }

  function check() {
    var typed = fields.map(function (f) {
      return f.input.value;
    });
    var checked = call('check', ['string'], [typed.join('\n')]);
    checked.marks.forEach(function (mark, index) {
      var f = fields[index];
      f.verdict.textContent = mark.line;
      if (mark.right) {
        f.input.removeAttribute('aria-invalid');
      } else {
        f.input.setAttribute('aria-invalid', 'true');
      }
    });
    tally.textContent = checked.tally;
    say(checked.heard);
    if (checked.focus < fields.length) {
      fields[checked.focus].input.focus();
    }
  }

  function showAnswer() {
    var shown = call('show');
    answerText.textContent = shown.answer;
    answerText.hidden = false;
    shownNote.textContent = shown.note;
    shownNote.hidden = false;
    answerText.focus();
  }

  // The view follows the page's set: that of the console's latest run.
  function follow() {
    if (!practiceView.hidden && library && pageSet !== null && pageSet !== set) {
      ask(call('open', ['number'], [pageSet]));
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
    loadProgram({}).then(function (program) {
      library = program;
      follow();
    });
  });

  form.addEventListener('submit', function (event) {
    event.preventDefault();
    check();
  });
  showButton.addEventListener('click', showAnswer);
  nextButton.addEventListener('click', function () {
    ask(call('next'));
  });
  document.addEventListener('projectile-set', function (event) {
    pageSet = event.detail;
    follow();
  });
})();
