// The Worksheet view: a set's questions to print with room to work, then,
// from a new page, its answer key; or, for a class, a sheet for each student
// and each one's marking table; and the files the library offers of it (a
// Moodle quiz file, a Canvas package, a class's list), a button each. The
// library (exports.cpp, sheet.cpp) reads the fields as typed, makes the
// sheet once, and makes every text and file; this lays them out.
/* global page */
(function () {
  'use strict';

  var form = document.getElementById('worksheet-form');
  var fields = {
    set: document.getElementById('worksheet-set'),
    count: document.getElementById('worksheet-count'),
    versions: document.getElementById('worksheet-versions'),
    names: document.getElementById('worksheet-names'),
  };
  var problem = document.getElementById('worksheet-problem');
  var note = document.getElementById('worksheet-note');
  var sheetTitle = document.getElementById('sheet-title');
  var questions = document.getElementById('sheet-questions');
  var answers = document.getElementById('sheet-answers');
  var keys = document.getElementById('sheet-keys');
  var view = document.getElementById('worksheet-view');
  var sheet = document.getElementById('sheet');
  var downloads = document.getElementById('downloads');
  // Where students will open the page, for a class's Practice links: kept in
  // this browser with the class set (never with the names).
  var linkField = document.getElementById('worksheet-link');
  var room = document.getElementById('worksheet-room');
  var answerSheets = document.getElementById('worksheet-answer-sheets');
  var paper = document.getElementById('worksheet-paper');
  var answerUrls = []; // the answer pages' images, let go when they are drawn again

  var call = null; // into the page's library, once it is loaded
  var made = null; // the sheet on show, as the library made it
  var pageSet = null; // the set the page opened at, or of the console's latest run

  function element(tag, className, text) {
    var made = document.createElement(tag);
    if (className) {
      made.className = className;
    }
    if (text) {
      made.textContent = text;
    }
    return made;
  }

  // A question or an answer, with its figure (the library's SVG) beside it.
  function piece(text, figure) {
    var box = element('div', 'piece');
    var drawn = element('div', 'figure');
    drawn.innerHTML = figure;
    box.append(element('pre', '', text), drawn);
    return box;
  }

  // A set's sheet opens with a line for a name and a date; a student's,
  // with the name and set.
  function sheetOf(one) {
    var section = element('section', 'student-sheet');
    if (one.heading) {
      section.append(element('h3', '', one.heading));
    } else {
      var line = element('p', 'name-line');
      line.append('Name ', element('span', 'blank'), ' Date ', element('span', 'blank short'));
      section.append(line);
    }
    one.questions.forEach(function (text, i) {
      section.append(piece(text, one.figures[i]));
    });
    return section;
  }

  function row(cells, tag) {
    var line = document.createElement('tr');
    cells.forEach(function (cell) {
      line.appendChild(element(tag, '', cell));
    });
    return line;
  }

  // A key's table. The keys scroll together where they must, and only then
  // does the keyboard stop at them, once.
  function keyOf(one, head) {
    var section = element('section', 'student-key');
    var table = element('table', 'key');
    var thead = document.createElement('thead');
    thead.appendChild(row(head, 'th'));
    var body = document.createElement('tbody');
    one.rows.forEach(function (cells) {
      body.appendChild(row(cells, 'td'));
    });
    table.append(thead, body);
    if (one.heading) {
      section.append(element('h3', '', one.heading));
    }
    section.append(table);
    return section;
  }

  // The sheet of the fields, or what is wrong with them: said, and the sheet
  // under it cleared, so that no stale sheet is printed as if it were the
  // one asked for.
  function make() {
    var reply = call('sheet', ['string', 'string', 'string', 'string'],
      [fields.set.value, fields.count.value, fields.versions.value, fields.names.value]);
    Object.keys(fields).forEach(function (name) {
      fields[name].setAttribute('aria-invalid', String(reply.field === name));
    });
    if (!fields.count.value && reply.count) {
      fields.count.value = String(reply.count); // the library's default
    }
    if (reply.problem) {
      made = null;
      problem.textContent = reply.problem;
      problem.hidden = false;
      note.hidden = true;
      page.say('worksheet', reply.problem, true);
      sheet.hidden = true;
      [sheetTitle, questions, keys, answers, downloads].forEach(function (part) {
        part.replaceChildren();
      });
      return false;
    }
    problem.hidden = true;
    sheet.hidden = false;
    if (reply.unchanged) {
      return true;
    }
    made = reply;
    tellNote(made.note);
    linkField.parentElement.hidden = !made.ofClass;
    if (made.ofClass && !linkField.value) {
      linkField.value = kept(linkKey()) || '';
    }
    // The address keeps the set and a class's number of versions, never
    // its names; changed in place, so that the page does not start again.
    history.replaceState(null, '', made.address);
    downloads.replaceChildren.apply(downloads, made.downloads.map(downloadButton));
    sheetTitle.textContent = made.title;
    questions.replaceChildren.apply(questions, made.sheets.map(sheetOf));
    addAnswerPages();
    keys.replaceChildren.apply(keys, made.keys.map(function (one) {
      return keyOf(one, made.head);
    }));
    answers.replaceChildren.apply(answers, made.answers.map(function (text, i) {
      return piece(text, made.answerFigures[i]);
    }));
    keysStop();
    return true;
  }

  // Each student's answer pages after their questions, as the library draws
  // them for the paper chosen: an image each, drawn as it nears the screen
  // (a page of a thousand bubbles takes the browser some 50 ms, a class of
  // 200 students half a minute), and printed as drawn.
  function addAnswerPages() {
    answerUrls.forEach(function (url) {
      URL.revokeObjectURL(url);
    });
    answerUrls = [];
    Array.prototype.forEach.call(questions.children, function (section, i) {
      section.querySelectorAll('.answer-page').forEach(function (old) {
        old.remove();
      });
      for (var p = 1; p <= made.answerPages; p += 1) {
        var drawn = call('answer_page', ['number', 'number', 'string'], [i, p, paper.value]);
        var url = URL.createObjectURL(new Blob([drawn.svg], { type: 'image/svg+xml' }));
        answerUrls.push(url);
        var image = element('img', 'answer-page ' + paper.value);
        image.loading = 'lazy';
        image.width = drawn.width;
        image.height = drawn.height;
        image.src = url;
        image.alt = 'Answer sheet' + (made.sheets[i].heading ? ', ' + made.sheets[i].heading : '') +
          ', page ' + p + ' of ' + made.answerPages;
        section.append(image);
      }
    });
  }

  function keysStop() {
    if (keys.scrollWidth > keys.clientWidth) {
      keys.tabIndex = 0;
    } else {
      keys.removeAttribute('tabindex');
    }
  }
  window.addEventListener('resize', keysStop);

  function tellNote(text) {
    note.textContent = text;
    note.hidden = !text;
    if (text) {
      page.say('worksheet', text, true);
    }
  }

  function linkKey() {
    return 'projectile-link-' + fields.set.value;
  }

  // The browser's storage, where it allows it.
  function kept(key) {
    try {
      return localStorage.getItem(key);
    } catch {
      return null;
    }
  }

  function keep(key, value) {
    try {
      localStorage.setItem(key, value);
    } catch {
      // Nothing kept: the teacher types it again next time.
    }
  }

  // A file of the sheet, as the library makes it: a class's list with each
  // student's Practice link on the page where students open it.
  function download(form) {
    if (!make()) {
      return;
    }
    var file;
    var bytes;
    try {
      file = call('sheet_file', ['string', 'string', 'string'], [form, linkField.value, location.href]);
      bytes = file.problem ? null : call.bytes(file.at, file.size);
    } catch (error) {
      // Memory this browser would not give, say: said, never a silent nothing.
      file = { problem: 'This browser could not make the file (' + error.message + '). ' +
        'Ask for fewer versions or questions, or make it with projectile-set.' };
    }
    linkField.setAttribute('aria-invalid', String(Boolean(file.problem) && form === 'list'));
    if (file.problem) {
      problem.textContent = file.problem;
      problem.hidden = false;
      page.say('worksheet', file.problem, true);
      return;
    }
    problem.hidden = true;
    tellNote(file.note);
    if (linkField.value) {
      keep(linkKey(), linkField.value);
    }
    page.save(bytes, file.type, file.file);
  }

  function downloadButton(offered) {
    var button = element('button', '', offered.label);
    button.type = 'button';
    button.id = 'download-' + offered.form;
    button.addEventListener('click', function () {
      download(offered.form);
    });
    return button;
  }

  // Room to work, and answer sheets, are the paper's layout alone: the
  // sheet is the same.
  room.addEventListener('change', function () {
    sheet.classList.toggle('no-room', !room.checked);
  });
  answerSheets.addEventListener('change', function () {
    sheet.classList.toggle('no-answer-sheets', !answerSheets.checked);
  });
  paper.addEventListener('change', function () {
    if (made) {
      addAnswerPages();
    }
  });

  form.addEventListener('submit', function (event) {
    event.preventDefault();
    make();
  });
  // Printed once every answer page is drawn.
  document.getElementById('print').addEventListener('click', function () {
    if (make()) {
      Promise.all(Array.prototype.map.call(sheet.querySelectorAll('.answer-page'), function (image) {
        image.loading = 'eager';
        return image.decode().catch(function () {});
      })).then(function () {
        window.print();
      });
    }
  });

  // The set the page opened at (or of the console's latest run), unless
  // another was typed; and a sheet's count and a class's number of
  // versions, if the address names them.
  function takePageSet(opened) {
    if (!fields.set.value && pageSet !== null) {
      fields.set.value = String(pageSet);
    }
    if (opened && !fields.count.value) {
      fields.count.value = opened.count;
    }
    if (opened && !fields.versions.value && !fields.names.value) {
      fields.versions.value = opened.versions;
    }
  }

  document.addEventListener('projectile-set', function (event) {
    pageSet = event.detail.set;
    if (!fields.set.value) {
      takePageSet(null);
      if (call && !view.hidden) {
        make();
      }
    }
  });

  var firstShow = true;
  document.addEventListener('projectile-view', function (event) {
    if (event.detail !== 'worksheet') {
      return;
    }
    page.opened.then(function (opened) {
      // What the address asked for fills the fields the first time only.
      var asked = firstShow ? opened : null;
      firstShow = false;
      pageSet = pageSet === null ? opened.set : pageSet;
      takePageSet(asked);
      page.library.then(function (library) {
        call = library;
        make();
      });
    });
  });
})();
