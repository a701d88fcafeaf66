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
  var files = null; // the names of the sheet's Moodle and Canvas files
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
    files = { moodle: made.file, canvas: made.canvasFile };
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

  function save(href, name) {
    var link = document.createElement('a');
    link.href = href;
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
  }

  // The Moodle file of the sheet on show.
  function downloadMoodle() {
    if (make()) {
      var xml = call('sheet_moodle', [], [], 'text');
      save('data:application/xml;charset=utf-8,' + encodeURIComponent(xml), files.moodle);
    }
  }

  // Its package for Canvas: a zip, carried as base64.
  function downloadCanvas() {
    if (make()) {
      var bytes = call('sheet_qti', [], [], 'bytes');
      var binary = '';
      for (var i = 0; i < bytes.length; i += 0x8000) {
        binary += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
      }
      save('data:application/zip;base64,' + btoa(binary), files.canvas);
    }
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
  document.getElementById('download').addEventListener('click', downloadMoodle);
  document.getElementById('download-canvas').addEventListener('click', downloadCanvas);

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
