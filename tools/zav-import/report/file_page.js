// The filters of a file's page. The page is complete without this script:
// it only switches classes that the style sheet acts on, and says how many
// lines are shown. Nothing here reads or writes text from the model file.
'use strict';
(function () {
  const form = document.getElementById('filters');
  const lines = document.getElementById('lines');
  const shown = document.getElementById('shown');
  const bar = document.querySelector('.bar');
  if (!form || !lines || !shown || !bar) return;
  const total = Number(lines.dataset.all);
  const blocks = Array.from(lines.getElementsByClassName('b'));
  const filterIndex = { all: 0, warnings: 1, errors: 2 };
  // The height a block's rows take under each filter, in half lines, as
  // the page counted them when it was written.
  const heights = blocks.map(function (block) { return block.dataset.u.split(' ').map(Number); });

  function counted(n) {
    return n.toLocaleString('en') + (n === 1 ? ' line' : ' lines');
  }

  function apply() {
    const severity = form.elements.severity.value;
    const changed = form.elements.changed.checked;
    lines.classList.toggle('only-errors', severity === 'errors');
    lines.classList.toggle('only-warnings', severity === 'warnings');
    lines.classList.toggle('only-changed', changed);
    lines.classList.toggle('filtered', severity !== 'all' || changed);
    // The page counted each combination when it was written.
    const n = Number(lines.dataset[severity + (changed ? 'Changed' : '')]);
    // The browser lays out only the blocks in view; the others stand at the
    // size they will have, so that the scroll bar and the jumps to a line
    // land where the rows are.
    const which = filterIndex[severity] + (changed ? 3 : 0);
    const halfLine = lineHeight() / 2;
    blocks.forEach(function (block, i) {
      const units = heights[i][which];
      block.hidden = units === 0;
      block.style.containIntrinsicSize = 'auto ' + Math.round(units * halfLine) + 'px';
    });
    revealTarget();
    lines.classList.toggle('none', n === 0);
    // Said in words too, so that a printed page tells what it leaves out.
    const filters = [{ all: '', warnings: 'warnings and errors', errors: 'errors only' }[severity]];
    if (changed) filters.push('changed lines only');
    const what = filters.filter(Boolean).join(', ');
    shown.value = what === '' ? 'All ' + counted(total)
      : what.charAt(0).toUpperCase() + what.slice(1) + ': ' + counted(n) + ' of ' + total.toLocaleString('en');
  }

  // The line a link points at shows whatever the filters, even in a block
  // they would hide whole.
  function revealTarget() {
    const row = location.hash.length > 1 ? document.getElementById(location.hash.slice(1)) : null;
    if (row && row.parentElement.hidden) {
      row.parentElement.hidden = false;
      row.scrollIntoView();
    }
  }

  function lineHeight() {
    return parseFloat(getComputedStyle(lines).lineHeight) || 18;
  }

  function fitBar() {
    document.documentElement.style.setProperty('--bar', bar.offsetHeight + 'px');
  }

  form.addEventListener('change', apply);
  form.addEventListener('submit', function (event) { event.preventDefault(); });
  window.addEventListener('resize', fitBar);
  window.addEventListener('hashchange', revealTarget);
  fitBar();
  apply();
})();
