// Opens the HTML report of zav-import in a real browser (Debian's chromium,
// headless, driven by playwright-core) and checks what an engineer sees:
// every diagnostic under its line, the complete model list, filters that
// hide what they should, hostile model files shown as text, no console
// errors, nothing fetched, and pages that stay quick on the largest file.
// run_browser_tests.sh sets the environment.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const { spawnSync } = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const { chromium } = require('playwright-core');

function required(name) {
  const value = process.env[name];
  if (!value) throw new Error(name + ' is not set; run the tests through run_browser_tests.sh');
  return value;
}

const zavImport = required('ZAV_IMPORT');
const browserPath = required('ZAV_BROWSER');
const work = required('ZAV_WORK_DIR');
const sourceDir = required('ZAV_SOURCE_DIR');
const corpusDir = required('ZAV_CORPUS_DIR');

// The largest file of the corpus, and one with diagnostics of every severity.
const corpusFiles = ['ksl_ltc_LinearTech.lib', 'ksl_bordo_opa209.txt'];
// The corpus lies beside the project; a checkout without it skips the tests
// that need it, as the other corpus tests do.
const noCorpus = corpusFiles.every((file) => fs.existsSync(path.join(corpusDir, file)))
  ? false
  : `no corpus at ${corpusDir}`;
const examplesDir = path.join(sourceDir, 'examples');

// A model file written to attack the page: markup in comments, in model and
// subcircuit names (a name runs to the next blank, '=' or parenthesis, so
// the script inside it calls alert with a template string), and in the file
// name, which the index and the page's title show.
const hostileName = '"><img src=x onerror=alert(4)>.lib';
const hostileText = [
  '* <script>alert(1)</script> in a comment',
  '.MODEL Q<script>alert`1`</script> NPN(BF=100 VA=50) ; <script>alert(1)</script>',
  '.SUBCKT S_"><script>alert`2`</script> A B',
  'R1 A B 1k',
  '.ENDS',
  '.MODEL D1 D(IS=1 FOO=&lt;b&gt;)',
  '',
].join('\n');

const launchArgs = [
  '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
  '--disable-component-update', '--disable-sync',
];

function runZavImport(args, cwd = work) {
  const result = spawnSync(zavImport, args, { cwd, encoding: 'utf8', maxBuffer: 1 << 28 });
  if (result.error) throw result.error;
  // 1 only says that a diagnostic reached --fail-on.
  assert.ok(result.status === 0 || result.status === 1, `zav-import ${args.join(' ')}: ${result.stderr}`);
  return result;
}

// What zav-import says about a file on its own, to hold the page against.
function expectedFor(file) {
  const diagnostics = runZavImport(['--check', '--diagnostics=json', file]).stderr
    .split('\n').filter(Boolean).map((line) => JSON.parse(line));
  const models = runZavImport(['--list', file]).stdout.split('\n').filter(Boolean).map((line) => {
    const [name, kind, start, state] = line.split('\t');
    return { name, kind, line: Number(start), state };
  });
  return { diagnostics, models };
}

// Bytes outside printable ASCII: the page shows them decoded, JSON as
// escapes or U+FFFD. Held against each other as '?'.
function plain(text) {
  return text.replace(/[^\t\n\x20-\x7e]+/g, '?');
}

function makeReport(name, inputs, cwd = work) {
  const dir = path.join(work, name);
  runZavImport(['--check', '-q', '--report', dir, ...inputs], cwd);
  return dir;
}

// The pages of a report, by file name, as the index links them.
async function pagesOf(page, reportDir) {
  await page.goto('file://' + path.join(reportDir, 'index.html'));
  return page.$$eval('table.files tbody a', (links) => links.map((a) => ({ name: a.textContent, href: a.href })));
}

let browser;
let examplesReport;
let hostileReport;
let corpusReport;

test.before(async () => {
  fs.mkdirSync(path.join(work, 'hostile'), { recursive: true });
  fs.writeFileSync(path.join(work, 'hostile', hostileName), hostileText);
  // Named as from the top of the source tree, as the screenshot shows it.
  examplesReport = makeReport('examples-report', ['-r', 'examples'], sourceDir);
  hostileReport = makeReport('hostile-report', [path.join(work, 'hostile', hostileName)]);
  if (!noCorpus) corpusReport = makeReport('corpus-report', corpusFiles.map((file) => path.join(corpusDir, file)));
  // Playwright gives the browser a fresh profile (--user-data-dir) of its own.
  browser = await chromium.launch({ executablePath: browserPath, headless: true, args: launchArgs });
});

test.after(async () => {
  if (browser) await browser.close();
});

// A page that records console errors, script errors, dialogs and every
// request that is not for a file of the report.
async function watchedPage(options = {}) {
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 }, ...options });
  const page = await context.newPage();
  const seen = [];
  page.on('console', (message) => {
    if (message.type() === 'error' || message.type() === 'warning') seen.push(`console ${message.type()}: ${message.text()}`);
  });
  page.on('pageerror', (error) => seen.push('script error: ' + error.message));
  page.on('dialog', async (dialog) => {
    seen.push('dialog: ' + dialog.message());
    await dialog.dismiss();
  });
  await context.route('**/*', (route) => {
    const url = route.request().url();
    if (url.startsWith('file://')) return route.continue();
    seen.push('request: ' + url);
    return route.abort();
  });
  return { page, seen, context };
}

// Rows the filters leave visible, by line number.
function visibleRows(page) {
  return page.$$eval('#lines .b > div', (rows) =>
    rows.filter((row) => row.checkVisibility()).map((row) => Number(row.id.slice(1))));
}

// The link of the model list to model `name`. (Found by index: text
// selectors walk the whole document, which takes long on a page of 50,000
// lines.)
async function modelLink(page, name) {
  const index = await page.$$eval('nav.models .mn', (names, wanted) =>
    names.findIndex((n) => n.textContent === wanted), name);
  assert.ok(index >= 0, `${name} is in the model list`);
  return page.locator('nav.models a').nth(index);
}

async function setFilters(page, severity, changed) {
  await page.check(`#filters input[name=severity][value=${severity}]`);
  if (changed) await page.check('#filters input[name=changed]');
  else await page.uncheck('#filters input[name=changed]');
}

// Every diagnostic sits under the row of its line (or heads the page when it
// is about no line), in its severity's colour, in the order filed.
async function checkDiagnostics(page, expected) {
  const shown = await page.$$eval('#lines .d', (items) => items.map((item) => {
    const row = item.closest('.b > div');
    const label = item.querySelector('b').textContent;
    return {
      line: row ? Number(row.id.slice(1)) : null,
      severity: label,
      colour: getComputedStyle(item).borderLeftColor,
      message: item.textContent.slice(label.length),
    };
  }));
  const byLine = (a, b) => (a.line ?? 0) - (b.line ?? 0);
  const want = expected.diagnostics.map((d) => ({ line: d.line, severity: d.severity, message: plain(d.message) }))
    .sort(byLine);
  const got = shown.map((d) => ({ line: d.line, severity: d.severity, message: plain(d.message) })).sort(byLine);
  assert.deepEqual(got, want);
  const colours = new Map();
  for (const d of shown) {
    if (!colours.has(d.severity)) colours.set(d.severity, d.colour);
    assert.equal(d.colour, colours.get(d.severity), `one colour per severity (${d.severity})`);
  }
  assert.equal(new Set(colours.values()).size, colours.size, 'each severity has its own colour');
}

// The model list names every model, with its kind and completeness, and
// jumps to the line where it starts.
async function checkModelList(page, expected) {
  const listed = await page.$$eval('nav.models li a', (links) => links.map((a) => ({
    name: a.querySelector('.mn').textContent,
    kind: a.querySelector('.mk').textContent,
    line: Number(a.getAttribute('href').match(/#L(\d+)$/)[1]),
    state: a.querySelector('.ms').textContent,
  })));
  const plainModel = (m) => ({ name: plain(m.name), kind: plain(m.kind), line: m.line, state: m.state });
  assert.deepEqual(listed.map(plainModel), expected.models.map(plainModel));
  // Links to a line of this page (a long file's other parts hold the rest).
  const missing = await page.$$eval('nav.models li a[href^="#"]', (links) =>
    links.filter((a) => !document.getElementById(a.getAttribute('href').slice(1))).length);
  assert.equal(missing, 0, 'every model link to this page has its row');
}

async function checkFilters(page, expected) {
  const all = await visibleRows(page);
  const linesWith = (severities) =>
    [...new Set(expected.diagnostics.filter((d) => d.line && severities.includes(d.severity)).map((d) => d.line))]
      .sort((a, b) => a - b);

  await setFilters(page, 'errors', false);
  assert.deepEqual(await visibleRows(page), linesWith(['error']));
  assert.equal(await page.$$eval('#lines .d', (items) => items.filter((d) => d.checkVisibility() &&
    !d.classList.contains('e')).length), 0, 'errors only shows no other diagnostic');

  await setFilters(page, 'warnings', false);
  assert.deepEqual(await visibleRows(page), linesWith(['error', 'warning']));

  // Changed lines only: what stays differs between input and output, what
  // goes is the same on both sides.
  await setFilters(page, 'all', true);
  const sides = await page.$$eval('#lines .b > div', (rows) => rows.map((row) => {
    const [input, output] = row.querySelectorAll('pre');
    return { line: Number(row.id.slice(1)), shown: row.checkVisibility(), same: input.textContent === output.textContent };
  }));
  const kept = sides.filter((row) => row.shown);
  assert.ok(kept.length > 0 && kept.length < sides.length, 'the filter keeps some lines and hides others');
  for (const row of sides) assert.equal(row.shown, !row.same, `line ${row.line}`);
  assert.match(await page.textContent('#shown'),
    new RegExp(`^Changed lines only: ${kept.length.toLocaleString('en')} lines? of `));

  await setFilters(page, 'all', false);
  assert.deepEqual(await visibleRows(page), all);
  return kept.map((row) => row.line);
}

test('the page of examples/ shows each diagnostic at its line, every model, and filters', async () => {
  const { page, seen } = await watchedPage();
  const [entry] = await pagesOf(page, examplesReport);
  const expected = expectedFor(path.join(examplesDir, 'mixed_library.lib'));
  await page.goto(entry.href);
  assert.equal(await page.textContent('h1'), 'examples/mixed_library.lib');
  await page.screenshot({ path: path.join(work, 'report-page.png') });
  if (process.env.ZAV_UPDATE_SCREENSHOT === '1') {
    fs.copyFileSync(path.join(work, 'report-page.png'), path.join(sourceDir, 'docs', 'report-page.png'));
  }
  await checkDiagnostics(page, expected);
  await checkModelList(page, expected);
  const changed = await checkFilters(page, expected);
  // Known by reading the example: the lines the translation touches.
  assert.deepEqual(changed, [4, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16, 19]);

  // The model FILTER is partial: one of its element cards became a comment.
  await (await modelLink(page, 'FILTER')).click();
  assert.equal(await page.evaluate(() => location.hash), '#L12');
  const top = await page.$eval('#L12', (row) => row.getBoundingClientRect().top);
  const barBottom = await page.$eval('.bar', (bar) => bar.getBoundingClientRect().bottom);
  assert.ok(top >= barBottom && top < 800, `the jump shows line 12 below the filter bar (${top}, ${barBottom})`);

  // A model's line shows when its link is followed, whatever the filters.
  await page.goto(entry.href);
  await setFilters(page, 'errors', true);
  assert.deepEqual(await visibleRows(page), [8, 11, 19]);
  await (await modelLink(page, 'QLAT')).click();
  assert.deepEqual(await visibleRows(page), [6, 8, 11, 19]);
  assert.deepEqual(seen, []);
});

test('a hostile model file stays text', async () => {
  const { page, seen } = await watchedPage();
  const pages = await pagesOf(page, hostileReport);
  assert.deepEqual(pages.map((p) => p.name), [path.join(work, 'hostile', hostileName)]);
  assert.equal(await page.$$eval('img', (images) => images.length), 0, 'the index holds no image');
  await page.goto(pages[0].href);
  assert.equal(await page.evaluate(() => document.scripts.length), 1, 'the page runs its own script only');
  assert.equal(await page.$$eval('img', (images) => images.length), 0);
  assert.equal(await page.textContent('#L1 pre'), '* <script>alert(1)</script> in a comment');
  assert.equal(await page.$eval('#L2 pre', (pre) => pre.textContent),
    '.MODEL Q<script>alert`1`</script> NPN(BF=100 VA=50) ; <script>alert(1)</script>');
  assert.equal(await page.$eval('#L6 pre', (pre) => pre.textContent), '.MODEL D1 D(IS=1 FOO=&lt;b&gt;)');
  assert.ok((await page.textContent('h1')).endsWith(hostileName));
  assert.ok((await page.title()).includes(hostileName));
  const expected = expectedFor(path.join(work, 'hostile', hostileName));
  assert.ok(expected.models.some((m) => m.name === 'Q<script>alert`1`</script>'));
  await checkModelList(page, expected);
  await checkDiagnostics(page, expected);
  assert.deepEqual(seen, []);
});

test('the corpus files: diagnostics at their lines, every model, filters; quick on the largest', { skip: noCorpus }, async (t) => {
  const { page, seen } = await watchedPage();
  const pages = await pagesOf(page, corpusReport);
  assert.deepEqual(pages.map((p) => path.basename(p.name)), corpusFiles);
  for (const [i, file] of corpusFiles.entries()) {
    const expected = expectedFor(path.join(corpusDir, file));
    await page.goto(pages[i].href, { waitUntil: 'load' });
    const timing = await page.evaluate(() => new Promise((resolve) => {
      const loaded = Math.round(performance.getEntriesByType('navigation')[0].loadEventEnd);
      new PerformanceObserver((list) => {
        const paint = list.getEntriesByName('first-contentful-paint')[0];
        if (paint) resolve({ paint: Math.round(paint.startTime), loaded });
      }).observe({ type: 'paint', buffered: true });
    }));
    // A filter takes effect within a frame or two, whatever the file's size.
    const filterTime = await page.evaluate(() => new Promise((resolve) => {
      const start = performance.now();
      document.querySelector('#filters input[value=errors]').click();
      requestAnimationFrame(() => setTimeout(() => {
        const took = performance.now() - start;
        document.querySelector('#filters input[value=all]').click();
        resolve(Math.round(took));
      }, 0));
    }));
    const bytes = fs.statSync(new URL(pages[i].href)).size;
    t.diagnostic(`${file}: ${bytes} bytes, first paint ${timing.paint} ms, loaded ${timing.loaded} ms, ` +
      `errors filter ${filterTime} ms`);
    assert.ok(timing.paint > 0 && timing.paint < 3000, `${file}: first paint after ${timing.paint} ms`);
    assert.ok(filterTime < 1500, `${file}: the errors filter took ${filterTime} ms`);

    await checkDiagnostics(page, expected);
    await checkModelList(page, expected);
    await checkFilters(page, expected);

    // The last model of the list is far down the page: its link lands on it.
    const last = expected.models[expected.models.length - 1];
    await page.click(`nav.models li:last-child a`);
    await page.waitForFunction((id) => {
      const top = document.getElementById(id).getBoundingClientRect().top;
      return top > 0 && top < window.innerHeight;
    }, `L${last.line}`);
  }
  assert.deepEqual(seen, []);
});

test('a file too long for one page: parts, each model a link to its part', async () => {
  const { page, seen } = await watchedPage();
  // 60,000 comment lines between a model on the first part and one on the
  // second, each with an error.
  const lines = ['.MODEL D1 D(IS=1 FOO=1)'];
  for (let i = 2; i < 60000; ++i) lines.push('* filler ' + i);
  lines.push('.MODEL D2 D(IS=1 FOO=2)', '');
  const file = path.join(work, 'long.lib');
  fs.writeFileSync(file, lines.join('\n'));
  const expected = expectedFor(file);
  const [entry] = await pagesOf(page, makeReport('long-report', [file]));
  await page.goto(entry.href);
  assert.deepEqual(await page.$$eval('nav.parts li', (items) => items.map((item) => item.textContent)),
    ['lines 1\u201350,000 1 error', 'lines 50,001\u201360,000 1 error']);
  assert.deepEqual(await visibleRows(page).then((rows) => [rows[0], rows[rows.length - 1]]), [1, 50000]);
  await checkModelList(page, expected);
  await (await modelLink(page, 'D2')).click();
  await page.waitForURL(/part2\.html#L60000$/);
  assert.equal(await page.textContent('#L60000 .d.e'), 'error"FOO" is not a recognized model parameter. ' +
    'It will be converted to a comment');
  assert.deepEqual(await visibleRows(page).then((rows) => [rows[0], rows[rows.length - 1]]), [50001, 60000]);
  await (await modelLink(page, 'D1')).click();
  await page.waitForURL(/long\.lib\.html#L1$/);
  assert.deepEqual(seen, []);
});

test('the index: every file with the counts of --summary, sortable', { skip: noCorpus }, async () => {
  const { page, seen } = await watchedPage();
  const inputs = [...corpusFiles.map((file) => path.join(corpusDir, file)), path.join(examplesDir, 'mixed_library.lib')];
  const dir = makeReport('index-report', inputs);
  const summary = runZavImport(['--check', '-q', '--summary', ...inputs]).stderr.trim().split('\n');
  const headings = summary[0].trim().split(/\s+/);
  const fromSummary = new Map(summary.slice(1, -1).map((line) => {
    const cells = line.trim().split(/\s+/);
    return [cells[0], Object.fromEntries(headings.slice(1).map((h, i) => [h, Number(cells[i + 1])]))];
  }));
  // The index's headings for the --summary columns.
  const columns = {
    models: 'models', subckts: 'subckts', 'cards-commented': 'cards commented', info: 'info', warnings: 'warnings',
    errors: 'errors', renamed: 'params renamed', moved: 'params moved', 'params-commented': 'params commented',
    partial: 'partial',
  };
  await page.goto('file://' + path.join(dir, 'index.html'));
  const table = await page.$eval('table.files', (t) => ({
    headings: Array.from(t.tHead.rows[0].cells, (c) => c.textContent),
    rows: Array.from(t.tBodies[0].rows, (r) => Array.from(r.cells, (c) => c.textContent)),
  }));
  assert.equal(table.rows.length, inputs.length);
  for (const row of table.rows) {
    const counts = fromSummary.get(row[0]);
    assert.ok(counts, `${row[0]} is in the summary`);
    for (const [column, heading] of Object.entries(columns)) {
      const cell = row[table.headings.indexOf(heading)];
      assert.equal(Number(cell.replace(/,/g, '')), counts[column], `${row[0]}: ${heading}`);
    }
  }

  const columnValues = (heading) => page.$$eval('table.files tbody tr', (rows, index) =>
    rows.map((r) => Number(r.cells[index].dataset.v)), table.headings.indexOf(heading));
  await page.click('table.files th button:text-is("errors")');
  const descending = await columnValues('errors');
  assert.deepEqual(descending, [...descending].sort((a, b) => b - a));
  assert.equal(await page.getAttribute('table.files th:has(button:text-is("errors"))', 'aria-sort'), 'descending');
  await page.click('table.files th button:text-is("errors")');
  assert.deepEqual(await columnValues('errors'), [...descending].reverse());
  await page.click('table.files th button:text-is("file")');
  const names = await page.$$eval('table.files tbody tr', (rows) => rows.map((r) => r.cells[0].textContent));
  assert.deepEqual(names, [...names].sort((a, b) => a.localeCompare(b, 'en', { numeric: true, sensitivity: 'base' })));

  // A file's name opens its page.
  await page.click(`table.files tbody a:text-is("${inputs[2]}")`);
  assert.equal(await page.textContent('h1'), inputs[2]);
  assert.deepEqual(seen, []);
});

test('printing: the lines of every block, without the side list and the filters', async () => {
  const { page, seen } = await watchedPage();
  const [entry] = await pagesOf(page, examplesReport);
  await page.goto(entry.href);
  await page.emulateMedia({ media: 'print' });
  const printed = await page.evaluate(() => ({
    models: getComputedStyle(document.querySelector('nav.models')).display,
    filters: getComputedStyle(document.querySelector('#filters fieldset')).display,
    blocks: Array.from(document.querySelectorAll('.b'), (b) => getComputedStyle(b).contentVisibility),
  }));
  assert.equal(printed.models, 'none');
  assert.equal(printed.filters, 'none');
  assert.ok(printed.blocks.every((v) => v === 'visible'));
  const pdf = await page.pdf({ landscape: true });
  assert.ok(pdf.length > 10000 && pdf.subarray(0, 5).toString() === '%PDF-');
  assert.deepEqual(seen, []);
});
