// The Worksheet's Mark papers: the teacher chooses images of the class's
// answer pages (or takes photos of them); the browser decodes each, and the
// library (marks.cpp) reads it, puts it to its student and judges every
// value. This shows the marks as they fill in, each value left unclear
// beside a crop of its scan with a field to type it, and offers the marks
// as the CSV projectile-set --mark writes.
/* global page */
(function () {
  'use strict';

  var chooser = document.getElementById('mark-papers');
  var download = document.getElementById('download-marks');
  var progress = document.getElementById('marks-progress');
  var section = document.getElementById('marks');
  var skipped = document.getElementById('marks-skipped');
  var unclear = document.getElementById('marks-unclear');
  var table = document.getElementById('marks-table');

  // An image larger than this is drawn smaller for the reader: an A4 page
  // at 200 dpi, a bubble still 20 pixels across, in less than half the
  // memory and time of 300 dpi.
  var longest = 2400;

  var call = null;
  // Each unclear value's crop by the value it shows, cut while its image is
  // at hand: decoding every file again for its crops once the marks are in
  // held the page up for as long as reading them had.
  var crops = {};

  function element(tag, text) {
    var made = document.createElement(tag);
    if (text) {
      made.textContent = text;
    }
    return made;
  }

  function tell(text) {
    progress.textContent = text;
    progress.hidden = !text;
  }

  // An image file as the browser decodes it (away from the page's own
  // thread), or null when it is none.
  function decoded(file) {
    return createImageBitmap(file, { colorSpaceConversion: 'none', premultiplyAlpha: 'none' })
      .catch(function () {
        return null;
      });
  }

  // A decoded image drawn no larger than the reader takes it.
  function drawn(bitmap) {
    var scale = Math.min(1, longest / Math.max(bitmap.width, bitmap.height));
    var canvas = document.createElement('canvas');
    canvas.width = Math.round(bitmap.width * scale);
    canvas.height = Math.round(bitmap.height * scale);
    canvas.getContext('2d', { willReadFrequently: true })
      .drawImage(bitmap, 0, 0, canvas.width, canvas.height);
    bitmap.close();
    return canvas;
  }

  function cropKey(value) {
    return value.student + ' ' + value.question + ' ' + value.what;
  }

  // A block cut from the page's image and drawn the right way up, however
  // the page lay: its corners (top left, top right, bottom right, bottom
  // left of the block as printed) are put at the crop's.
  function cut(image, w) {
    var across = Math.hypot(w[2] - w[0], w[3] - w[1]);
    var down = Math.hypot(w[6] - w[0], w[7] - w[1]);
    if (!(across >= 1 && down >= 1)) {
      return null;
    }
    var ux = (w[2] - w[0]) / across;
    var uy = (w[3] - w[1]) / across;
    var vx = (w[6] - w[0]) / down;
    var vy = (w[7] - w[1]) / down;
    var det = ux * vy - vx * uy;
    var canvas = element('canvas');
    canvas.width = Math.round(across);
    canvas.height = Math.round(down);
    var drawing = canvas.getContext('2d');
    var a = vy / det;
    var b = -uy / det;
    var c = -vx / det;
    var d = ux / det;
    drawing.setTransform(a, b, c, d, -(a * w[0] + c * w[1]), -(b * w[0] + d * w[1]));
    drawing.drawImage(image, 0, 0);
    return canvas;
  }

  // A page's values left unclear, each cut from the page just read: those
  // named by its file and not cut before (two photos may share a name).
  function cutCrops(image, source, values) {
    values.forEach(function (value) {
      var key = cropKey(value);
      if (value.source === source && !(key in crops)) {
        crops[key] = cut(image, value.where);
      }
    });
  }

  // The reader's reply, and the page's image when it is one.
  function read(file, bitmap) {
    if (!bitmap) {
      return { read: false, said: 'not an image this browser can read' };
    }
    var canvas = drawn(bitmap);
    var image = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
    var room = call('pixels_room', ['number'], [image.data.length]);
    call.put(room.at, image.data);
    var reply = call('marks_add', ['number', 'number', 'string'], [image.width, image.height, file.name]);
    reply.image = canvas;
    return reply;
  }

  function where(value) {
    return (value.name ? value.name + ', ' : '') + 'page ' + value.page + ', question ' +
      value.question + ', ' + value.label;
  }

  // A value to settle: its crop, what is doubtful, and a field for it.
  function unclearOf(value) {
    var box = element('form');
    box.className = 'unclear-value';
    box.noValidate = true;
    var canvas = crops[cropKey(value)] || element('canvas');
    canvas.hidden = !crops[cropKey(value)];
    canvas.setAttribute('role', 'img');
    canvas.setAttribute('aria-label', 'The scan of ' + where(value));
    var side = element('div');
    var field = element('input');
    field.inputMode = 'decimal';
    field.autocomplete = 'off';
    var label = element('label', where(value) + ': ' + value.why + '. The value is ');
    label.append(field);
    var problem = element('p');
    problem.hidden = true;
    var settle = element('button', 'Settle');
    settle.type = 'submit';
    side.append(label, settle, problem);
    box.append(canvas, side);
    box.addEventListener('submit', function (event) {
      event.preventDefault();
      var reply = call('marks_settle', ['number', 'number', 'string', 'string'],
        [value.student, value.question, value.what, field.value]);
      field.setAttribute('aria-invalid', String(Boolean(reply.problem)));
      if (reply.problem) {
        problem.textContent = reply.problem;
        problem.hidden = false;
        page.say('worksheet', reply.problem, true);
        return;
      }
      box.remove();
      showTable(call('marks'));
      page.say('worksheet', where(value) + ' settled.', true);
    });
    return box;
  }

  function showTable(marks) {
    var head = element('thead');
    var body = element('tbody');
    marks.rows.forEach(function (cells, r) {
      var line = element('tr');
      cells.forEach(function (cell) {
        line.appendChild(element(r === 0 ? 'th' : 'td', cell));
      });
      (r === 0 ? head : body).appendChild(line);
    });
    var made = element('table');
    made.className = 'key';
    made.append(head, body);
    table.replaceChildren(made);
    table.tabIndex = table.scrollWidth > table.clientWidth ? 0 : -1;
  }

  function show(marks) {
    section.hidden = false;
    showTable(marks);
    unclear.replaceChildren.apply(unclear, marks.unclear.map(unclearOf));
  }

  // Files decoded this many ahead of the one read: the browser decodes
  // them while the library reads, a decoding on each of two processors.
  var ahead = 2;

  // Each file in turn, the marks shown as they fill in; the download once
  // every file is read.
  function mark(chosen) {
    var begun = call('marks_begin');
    if (begun.problem) {
      tell(begun.problem);
      page.say('worksheet', begun.problem, true);
      return;
    }
    download.disabled = true;
    crops = {};
    skipped.replaceChildren();
    var read_pages = 0;
    var decoding = chosen.slice(0, ahead).map(decoded);
    chosen.reduce(function (before, file, k) {
      return before.then(function () {
        tell('Reading ' + (k + 1) + ' of ' + chosen.length + ': ' + file.name);
        if (k + ahead < chosen.length) {
          decoding.push(decoded(chosen[k + ahead]));
        }
        return decoding[k].then(function (bitmap) {
          decoding[k] = null;
          var reply = read(file, bitmap);
          var marks = call('marks');
          if (reply.read) {
            read_pages += 1;
            cutCrops(reply.image, file.name, marks.unclear);
          } else {
            skipped.appendChild(element('li', file.name + ': ' + reply.said));
          }
          showTable(marks);
          section.hidden = false;
        });
      });
    }, Promise.resolve()).then(function () {
      var marks = call('marks');
      show(marks);
      if (marks.unmarked.length) {
        skipped.appendChild(element('li', 'No page read of ' + marks.unmarked.join('; ')));
      }
      var said = read_pages + ' of ' + chosen.length + ' pages read; ' + marks.unclear.length +
        ' values to settle.';
      tell(said);
      page.say('worksheet', said, true);
      download.disabled = false;
    });
  }

  chooser.addEventListener('change', function () {
    var chosen = Array.prototype.slice.call(chooser.files);
    if (!chosen.length) {
      return;
    }
    page.library.then(function (library) {
      call = library;
      mark(chosen);
    });
  });

  download.addEventListener('click', function () {
    var file = call('marks_file');
    page.save(call.bytes(file.at, file.size), file.type, file.file);
  });
})();
