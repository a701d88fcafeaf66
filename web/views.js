// The page's three views, one shown at a time: the Console (as the page
// opens), Practice and the Worksheet, each keeping its state while hidden.
// #practice or #worksheet in the address opens that view. Showing a view
// tells its script, which gets it ready, through a 'projectile-view' event.
(function () {
  'use strict';

  var names = ['console', 'practice', 'worksheet'];

  function show(name) {
    names.forEach(function (other) {
      document.getElementById(other + '-view').hidden = other !== name;
      document.getElementById('to-' + other).setAttribute('aria-pressed', String(other === name));
    });
    if (name === 'console') {
      var line = document.getElementById('line');
      var again = document.getElementById('again');
      (line.hidden ? again : line).focus({ preventScroll: true });
    }
    document.dispatchEvent(new CustomEvent('projectile-view', { detail: name }));
  }

  names.forEach(function (name) {
    document.getElementById('to-' + name).addEventListener('click', function () {
      show(name);
    });
  });
  var asked = location.hash.slice(1).split('&');
  names.forEach(function (name) {
    if (name !== 'console' && asked.indexOf(name) >= 0) {
      show(name);
    }
  });
})();
