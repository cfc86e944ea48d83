// Sorts the table of files by the column whose heading is clicked: numbers
// from the largest down first, names from A; a second click reverses.
'use strict';
(function () {
  const table = document.querySelector('table.files');
  if (!table) return;
  const body = table.tBodies[0];
  const headings = Array.from(table.tHead.rows[0].cells);

  function key(row, column) {
    const cell = row.cells[column];
    if (!cell) return '';
    if (cell.dataset.v !== undefined) return Number(cell.dataset.v);
    return cell.textContent;
  }

  function sort(column, descending) {
    const rows = Array.from(body.rows);
    const collator = new Intl.Collator('en', { numeric: true, sensitivity: 'base' });
    rows.sort(function (a, b) {
      const x = key(a, column);
      const y = key(b, column);
      let order = typeof x === 'number' && typeof y === 'number' ? x - y : collator.compare(String(x), String(y));
      if (descending) order = -order;
      // Files that could not be read stay last, in their order.
      return order || Number(a.dataset.order) - Number(b.dataset.order);
    });
    rows.sort(function (a, b) { return Number(a.classList.contains('unread')) - Number(b.classList.contains('unread')); });
    body.append.apply(body, rows);
    headings.forEach(function (heading, i) {
      if (i === column) {
        heading.setAttribute('aria-sort', descending ? 'descending' : 'ascending');
      } else {
        heading.removeAttribute('aria-sort');
      }
    });
  }

  headings.forEach(function (heading, column) {
    const button = heading.querySelector('button');
    if (!button) return;
    button.addEventListener('click', function () {
      const current = heading.getAttribute('aria-sort');
      const numeric = column > 0;
      const descending = current ? current === 'ascending' : numeric;
      sort(column, descending);
    });
  });
})();
