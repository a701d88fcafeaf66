// The Worksheet view: a set's questions to print with room to work, then,
// from a new page, its answer key; and the same sheet as a Moodle quiz file.
// The library (exports.cpp) reads the set and count as typed into the fields,
// makes the sheet once, and makes every text; this lays them out.
/* global page */
(function () {
  'use strict';

  var form = document.getElementById('worksheet-form');
  var setField = document.getElementById('worksheet-set');
  var countField = document.getElementById('worksheet-count');
  var problem = document.getElementById('worksheet-problem');
  var sheetTitle = document.getElementById('sheet-title');
  var questions = document.getElementById('sheet-questions');
  var answers = document.getElementById('sheet-answers');
  var key = document.getElementById('sheet-key');
  var view = document.getElementById('worksheet-view');
  var sheet = document.getElementById('sheet');

  var call = null; // into the page's library, once it is loaded
  var file = null; // the name of the sheet's Moodle file
  var pageSet = null; // the set of the console's latest run

  // A question or an answer, with its figure (the library's SVG) under it.
  function piece(text, figure) {
    var box = document.createElement('div');
    box.className = 'piece';
    var block = document.createElement('pre');
    block.textContent = text;
    var drawn = document.createElement('div');
    drawn.className = 'figure';
    drawn.innerHTML = figure;
    box.append(block, drawn);
    return box;
  }

  function row(cells, tag) {
    var line = document.createElement('tr');
    cells.forEach(function (cell) {
      var item = document.createElement(tag);
      item.textContent = cell;
      line.appendChild(item);
    });
    return line;
  }

  // The sheet of the set and count in the fields, or what is wrong with them.
  function make() {
    var made = call('sheet', ['string', 'string'], [setField.value, countField.value]);
    setField.setAttribute('aria-invalid', String(Boolean(made.setInvalid)));
    countField.setAttribute('aria-invalid', String(Boolean(made.countInvalid)));
    if (!countField.value && made.count) {
      countField.value = String(made.count); // the library's default
    }
    if (made.problem) {
      // Said, and the sheet under it cleared, so that no stale sheet is
      // printed as if it were the one asked for.
      problem.textContent = made.problem;
      problem.hidden = false;
      page.say('worksheet', made.problem, true);
      sheet.hidden = true;
      [sheetTitle, questions, key, answers].forEach(function (part) {
        part.replaceChildren();
      });
      return false;
    }
    problem.hidden = true;
    sheet.hidden = false;
    if (made.unchanged) {
      return true;
    }
    file = made.file;
    sheetTitle.textContent = made.title;
    questions.replaceChildren.apply(questions, made.questions.map(function (text, i) {
      return piece(text, made.questionFigures[i]);
    }));
    var head = document.createElement('thead');
    head.appendChild(row(made.head, 'th'));
    var body = document.createElement('tbody');
    made.rows.forEach(function (cells) {
      body.appendChild(row(cells, 'td'));
    });
    key.replaceChildren(head, body);
    answers.replaceChildren.apply(answers, made.answers.map(function (text, i) {
      return piece(text, made.answerFigures[i]);
    }));
    return true;
  }

  // The Moodle file of the sheet on show.
  function download() {
    if (!make()) {
      return;
    }
    var xml = call('sheet_moodle', [], [], true);
    var link = document.createElement('a');
    link.href = 'data:application/xml;charset=utf-8,' + encodeURIComponent(xml);
    link.download = file;
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
  function takePageSet() {
    if (!setField.value && pageSet !== null) {
      setField.value = String(pageSet);
    }
  }

  document.addEventListener('projectile-set', function (event) {
    pageSet = event.detail.set;
    if (!setField.value) {
      takePageSet();
      if (call && !view.hidden) {
        make();
      }
    }
  });

  document.addEventListener('projectile-view', function (event) {
    if (event.detail !== 'worksheet') {
      return;
    }
    takePageSet();
    page.library.then(function (library) {
      call = library;
      takePageSet();
      make();
    });
  });
})();
