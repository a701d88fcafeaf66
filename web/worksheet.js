// The Worksheet view: a set's questions to print with room to work, then,
// from a new page, its answer key; and the same set as a Moodle quiz file.
// The library (exports.cpp) reads the set and count typed into the fields
// and makes every text; this lays them out.
(function () {
  'use strict';

  var form = document.getElementById('worksheet-form');
  var setField = document.getElementById('worksheet-set');
  var countField = document.getElementById('worksheet-count');
  var problem = document.getElementById('worksheet-problem');
  var sheetTitle = document.getElementById('sheet-title');
  var questions = document.getElementById('sheet-questions');
  var answers = document.getElementById('sheet-answers');
  var view = document.getElementById('worksheet-view');

  var library = null;
  var shown = null; // the sheet on show, as the library made it
  var pageSet = null; // the set of the console's latest run

  function pre(text) {
    var block = document.createElement('pre');
    block.textContent = text;
    return block;
  }

  // The sheet of the set and count in the fields, or what is wrong with them.
  function make() {
    var typed = [setField.value.trim(), countField.value.trim()];
    var made = JSON.parse(library.ccall('sheet', 'string', ['string', 'string'], typed));
    setField.setAttribute('aria-invalid', String(Boolean(made.setInvalid)));
    countField.setAttribute('aria-invalid', String(Boolean(made.countInvalid)));
    if (!countField.value && made.count) {
      countField.value = String(made.count); // the library's default
    }
    if (made.problem) {
      problem.textContent = made.problem;
      problem.hidden = false;
      return false;
    }
    problem.hidden = true;
    if (shown && shown.set === made.set && shown.count === made.count) {
      return true;
    }
    shown = made;
    sheetTitle.textContent = made.title;
    questions.replaceChildren.apply(questions, made.questions.map(pre));
    answers.replaceChildren.apply(answers, made.answers.map(pre));
    return true;
  }

  function download() {
    if (!make()) {
      return;
    }
    var xml = library.ccall('sheet_moodle', 'string', ['number', 'number'], [shown.set, shown.count]);
    var link = document.createElement('a');
    link.href = 'data:application/xml;charset=utf-8,' + encodeURIComponent(xml);
    link.download = shown.file;
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
    pageSet = event.detail;
    if (!setField.value) {
      setField.value = String(pageSet);
      if (library && !view.hidden) {
        make();
      }
    }
  });

  document.addEventListener('projectile-view', function (event) {
    if (event.detail !== 'worksheet') {
      return;
    }
    if (!setField.value && pageSet !== null) {
      setField.value = String(pageSet);
    }
    if (library) {
      make();
      return;
    }
    loadProgram({}).then(function (program) {
      library = program;
      if (!setField.value && pageSet !== null) {
        setField.value = String(pageSet);
      }
      make();
    });
  });
})();
