// Times the archive page in headless Chromium, opened from disk: pages of
// 1,000, 10,000 and 50,000 records (no pictures) written by write_page. Then a
// real archive of 10,000 small pictures, built by `zendrel build` from
// generated JPEGs and kept between runs, in Chromium and Firefox (see realArchive).
//
//   node bench/page_bench.mjs [RUNS] [COUNTS] [--real]   (after building zendrel,
//                                                 write_page, make_samples)
// --real times only the real archive.
//
// COUNTS: page sizes separated by commas, e.g. 50000 (default 1000,10000,50000).
// Each figure is the best of RUNS runs (3 unless given): a shared machine's
// load only ever adds time.
// Prints, per page size, the milliseconds from navigation until the Start
// link is there and the search panel is built; of an empty search that lists
// every picture and of a one-word search that matches a tenth of the records
// (each as "listed/drawn": until the thumbnails' table is in the frame, and
// until the next frame is drawn; both include the page's own 50 ms timer
// before it lists); and of showing the panel again after a search.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const here = path.dirname(new URL(import.meta.url).pathname);
const support = (name) => pathToFileURL(path.join(here, '..', 'tests', 'browser', 'support', name)).href;
const { makeTempDir, writeArchive } = await import(support('archive.mjs'));
const { browserMissing, launch } = await import(support('browsers.mjs'));

const MONTHS = ['January', 'February', 'March', 'April', 'May', 'June', 'July', 'August',
  'September', 'October', 'November', 'December'];

// Deterministic records: about 5,000 distinct words, dates in camera order
// over ten years, twenty folders; every tenth record carries "needle".
function makeRecords(count) {
  let seed = 12345;
  const random = (n) => {
    seed = (seed * 1103515245 + 12345) % 2147483648;
    return seed % n;
  };
  const word = () => `w${random(5000).toString(36)}x`;
  const words = (n) => Array.from({ length: n }, word).join(' ');
  const records = [];
  for (let i = 0; i < count; i++) {
    const day = Math.floor((i * 3650) / count);
    const date = `${MONTHS[Math.floor(day / 30.5) % 12]} ${(day % 28) + 1}, ${1995 + Math.floor(day / 365)}`;
    records.push({
      thumb: `_${String(i).padStart(6, '0')}0.jpg`,
      path: `C:\\\\Photos\\\\Folder${i % 20}`,
      source: `img${i}.jpg`,
      title: words(3) + (i % 10 === 0 ? ' needle' : ''),
      subject: words(2),
      category: `cat${i % 20}`,
      comment: words(5),
      author: 'Bench',
      picdate: date,
    });
  }
  return records;
}

async function measure(browser, count) {
  const dir = makeTempDir('zendrel-bench-');
  const page = await browser.newPage();
  const url = pathToFileURL(writeArchive(dir, makeRecords(count), { pictures: false })).href;
  const poll = { polling: 5, timeout: 60000 };

  // performance.now() counts from the navigation's start.
  await page.goto(url);
  const started = await page.waitForFunction(() => self.control &&
    self.control.document.links.length === 1 && self.controlFrame != null && performance.now(), poll);
  const ready = Math.round(await started.jsonValue());

  // From pressing Search until the thumbnails' table is in the film frame's
  // document (the page's showList has returned), and until the next frame
  // after that has been drawn.
  const search = async (text, expected) => {
    await page.evaluate(() => self.control.document.links[0].click());
    await page.waitForFunction(() => self.show.document.cont != null, poll);
    await page.evaluate((t) => {
      const original = self.showList;
      self.showList = function () {
        original();
        self.benchListed = performance.now();
        self.showList = original;
      };
      self.benchListed = null;
      self.show.document.cont.keywords.value = t;
      self.benchStart = performance.now();
      self.show.document.cont.elements[0].click();
    }, text);
    const listed = await page.waitForFunction(() => self.benchListed != null &&
      self.benchListed - self.benchStart, poll);
    const drawn = await page.evaluate(() => new Promise((done) => requestAnimationFrame(() =>
      setTimeout(() => done(performance.now() - self.benchStart), 0))));
    // The later rows come in slices after the first screen's.
    await page.waitForFunction(() => self.listJob == null, poll);
    const images = await page.evaluate(() => self.film.document.images.length);
    if (images !== expected) throw new Error(`"${text}" listed ${images} pictures, not ${expected}`);
    return [Math.round(await listed.jsonValue()), Math.round(drawn)];
  };
  const all = await search('', count);
  const needle = await search('needle', count / 10);

  const again = await page.evaluate(() => {
    const start = performance.now();
    self.showControl();
    return Math.round(performance.now() - start);
  });
  await page.close();
  fs.rmSync(dir, { recursive: true });
  return { count, ready, all, needle, again };
}

const args = process.argv.slice(2);
const numeric = args.filter((a) => /^[0-9][0-9,]*$/.test(a));
const runs = Number(numeric[0] || 3);
const realOnly = args.includes('--real');
const counts = (numeric[1] || '1000,10000,50000').split(',').map(Number);
const best = (list, pick) => Math.min(...list.map(pick));
const pair = (list, key) => `${best(list, (r) => r[key][0])}/${best(list, (r) => r[key][1])}`;

// The pages hold no pictures: image loading is turned off, so that thousands
// of missing files do not stand in for the page's own work.
if (!realOnly) {
  const browser = await launch('chromium', ['--blink-settings=imagesEnabled=false']);
  try {
    console.log(`best of ${runs} runs, milliseconds`);
    console.log('records  ready  empty search  word search  panel again');
    console.log('                (listed/drawn) (listed/drawn)');
    for (const count of counts) {
      const list = [];
      for (let k = 0; k < runs; k++) list.push(await measure(browser, count));
      console.log(`${String(count).padStart(7)}  ${String(best(list, (r) => r.ready)).padStart(5)}  ` +
        `${pair(list, 'all').padStart(12)}  ${pair(list, 'needle').padStart(11)}  ` +
        `${String(best(list, (r) => r.again)).padStart(11)}`);
    }
  } finally {
    await browser.close();
  }
}

// A real archive of 10,000 pictures of 160 by 120 pixels, built once into
// the temporary directory and kept there: its catalogue gives every tenth
// picture the title word "needle". Each run builds again, which only
// writes the page anew.
const REAL = 10000;
function realArchive() {
  const binary = process.env.ZENDREL_BINARY_DIR || path.join(here, '..', 'build');
  const root = path.join(os.tmpdir(), `zendrel-page-bench-${REAL}`);
  const archive = path.join(root, 'archive');
  const catalogue = path.join(root, 'pictures.txt');
  const build = () => execFileSync(path.join(binary, 'zendrel'), ['build', '--catalog', catalogue,
    '--dest', archive, '--copy', 'no', '--jobs', '2'], { stdio: ['ignore', 'ignore', 'inherit'] });
  if (fs.existsSync(path.join(root, 'built'))) {
    // Pictures are kept; the page is written again by this build's writer.
    build();
    return path.join(archive, 'archive.htm');
  }
  fs.rmSync(root, { recursive: true, force: true });
  const pictures = path.join(root, 'pictures');
  console.log(`building ${REAL} pictures into ${root} (once)`);
  execFileSync(path.join(binary, 'make_samples'), [pictures, String(REAL), '160', '120']);
  const records = makeRecords(REAL);
  const lines = ['SourceFile\tTitle\tSubject\tCategory\tComment\tAuthor\tDate'];
  for (let i = 0; i < REAL; i++) {
    const r = records[i];
    const file = `C:${pictures.replace(/\//g, '\\')}\\p${String(i + 1).padStart(6, '0')}.jpg`;
    lines.push([file, r.title, r.subject, r.category, r.comment, r.author, r.picdate].join('\t'));
  }
  fs.writeFileSync(catalogue, lines.join('\r\n') + '\r\n', 'latin1');
  fs.mkdirSync(archive);
  build();
  fs.writeFileSync(path.join(root, 'built'), '');
  return path.join(archive, 'archive.htm');
}

// One run on the real archive: Start ready; an empty search until its list
// is written (the first screen's rows) and until every row is there; until
// every thumbnail of the first screen has loaded and been drawn; the same
// for a one-word search that matches a tenth.
async function measureReal(browser, url) {
  const page = await browser.newPage();
  const poll = { polling: 5, timeout: 120000 };
  await page.goto(url);
  const started = await page.waitForFunction(() => self.control &&
    self.control.document.links.length === 1 && self.controlFrame != null && performance.now(), poll);
  const ready = Math.round(await started.jsonValue());
  const search = async (text, expected) => {
    await page.evaluate(() => self.control.document.links[0].click());
    await page.waitForFunction(() => self.show.document.cont != null, poll);
    await page.evaluate((t) => {
      const original = self.showList;
      self.showList = function () {
        original();
        self.benchListed = performance.now();
        self.showList = original;
      };
      self.benchListed = null;
      self.show.document.cont.keywords.value = t;
      self.benchStart = performance.now();
      self.show.document.cont.elements[0].click();
    }, text);
    const listed = await page.waitForFunction(() => self.benchListed != null &&
      self.benchListed - self.benchStart, poll);
    const shown = await page.waitForFunction(() => {
      const f = self.film;
      const first = [...f.document.images].filter((i) => i.getBoundingClientRect().top < f.innerHeight);
      return first.length > 0 && first.every((i) => i.complete && i.naturalWidth > 0) &&
        new Promise((done) => f.requestAnimationFrame(() =>
          setTimeout(() => done(performance.now() - self.benchStart), 0)));
    }, poll);
    const complete = await page.waitForFunction((n) => self.listJob == null &&
      self.film.document.images.length === n && performance.now() - self.benchStart, poll, expected);
    return [Math.round(await listed.jsonValue()), Math.round(await complete.jsonValue()),
      Math.round(await shown.jsonValue())];
  };
  const all = await search('', REAL);
  const needle = await search('needle', REAL / 10);
  await page.close();
  return { ready, all, needle };
}

const url = pathToFileURL(realArchive()).href;
const triple = (list, key) => [0, 1, 2].map((k) => best(list, (r) => r[key][k])).join('/');
console.log(`\nreal archive of ${REAL} pictures from disk, best of ${runs} runs, milliseconds`);
console.log('targets: ready 400, list 200, first screen drawn 300');
console.log('browser   ready  empty search           word search');
console.log('                 (listed/all rows/first screen drawn)');
// WebKit's figures come through WebDriver polling: they are upper bounds,
// up to a poll (some tens of milliseconds) late.
for (const name of ['chromium', 'firefox', 'webkit']) {
  if (name === 'webkit' && browserMissing('webkit')) continue;
  const browser = await launch(name);
  try {
    const list = [];
    for (let k = 0; k < runs; k++) list.push(await measureReal(browser, url));
    console.log(`${name.padEnd(8)}  ${String(best(list, (r) => r.ready)).padStart(5)}  ` +
      `${triple(list, 'all').padEnd(21)}  ${triple(list, 'needle')}`);
  } finally {
    await browser.close();
  }
}
