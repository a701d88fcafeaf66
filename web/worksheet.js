// The Worksheet view: a set's questions to print with room to work, then,
// from a new page, its answer key; and the same set as a Moodle quiz file.
// Every text, the set and count read from the fields included, comes from
// the library (exports.cpp); this lays them out.
(function () {
  'use strict';

  var form = document.getElementById('worksheet-form');
  var setField = document.getElementById('worksheet-set');
  var countField = document.getElementById('worksheet-count');
  var problem = document.getElementById('worksheet-problem');
  var sheetTitle = document.getElementById('sheet-title');
  var questions = document.getElementById('sheet-questions');
  var answers = document.getElementById('sheet-answers');
  var screen = document.getElementById('screen');
  var view = document.getElementById('worksheet-view');
  var MOST = 100;

  var library = null;
  var shown = null; // the set and count the sheet shows

  function call(name, returnType, argTypes, args) {
    return library.ccall(name, returnType, argTypes, args);
  }

  function pre(text) {
    var block = document.createElement('pre');
    block.textContent = text;
    return block;
  }

  // The sheet of the set and count in the fields, or what is wrong with them.
  function make() {
    var set = call('read_set', 'number', ['string'], [setField.value.trim()]);
    var count = call('read_count', 'number', ['string', 'number'], [countField.value.trim(), MOST]);
    setField.setAttribute('aria-invalid', String(set < 0));
    countField.setAttribute('aria-invalid', String(count < 0));
    if (set < 0 || count < 0) {
      problem.textContent = set < 0 ? 'The set is a whole number from 0 to 4294967295.'
        : 'The number of questions is a whole number from 1 to ' + MOST + '.';
      problem.hidden = false;
      return false;
    }
    problem.hidden = true;
    if (shown && shown.set === set && shown.count === count) {
      return true;
    }
    shown = { set: set, count: count };
    sheetTitle.textContent = 'Projectile motion questions, set ' + set;
    var questionBlocks = [];
    var answerBlocks = [];
    for (var n = 1; n <= count; n++) {
      questionBlocks.push(pre(call('set_piece', 'string', ['number', 'number', 'number'], [set, n, 0])));
      answerBlocks.push(pre(call('set_piece', 'string', ['number', 'number', 'number'], [set, n, 1])));
    }
    questions.replaceChildren.apply(questions, questionBlocks);
    answers.replaceChildren.apply(answers, answerBlocks);
    return true;
  }

  function download() {
    if (!make()) {
      return;
    }
    var xml = call('set_moodle', 'string', ['number', 'number'], [shown.set, shown.count]);
    var link = document.createElement('a');
    link.href = 'data:application/xml;charset=utf-8,' + encodeURIComponent(xml);
    link.download = 'projectile-set-' + shown.set + '.xml';
    document.body.appendChild(link);
    link.click();
    link.remove();
  }

  form.addEventListener('submit', function (event) {
    event.preventDefault();
    make();
  });
  document.getElementById('print').addEventListener('click', function () {
    if (make()) {
      window.print();
    }
  });
  document.getElementById('download').addEventListener('click', download);

  // The page's set, once its first run has one, unless another was typed.
  document.addEventListener('projectile-set', function (event) {
    if (!setField.value) {
      setField.value = String(event.detail);
      if (library && !view.hidden) {
        make();
      }
    }
  });

  document.addEventListener('projectile-view', function (event) {
    if (event.detail !== 'worksheet') {
      return;
    }
    if (!setField.value && screen.dataset.set) {
      setField.value = screen.dataset.set;
    }
    if (library) {
      make();
      return;
    }
    createProgram({ noInitialRun: true, clockSecond: 0 }).then(function (program) {
      library = program;
      if (!setField.value) {
        setField.value = screen.dataset.set || '';
      }
      make();
    });
  });
})();
