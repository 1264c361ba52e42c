// Times the archive page on real archives built by `zendrel build` (10,000
// and 50,000 small generated pictures, kept in the temporary directory
// between runs), opened from disk in Chromium, Firefox and WebKit, beside the
// same archive's page as another build of the program writes it (for
// instance today's main), measured in the same run.
//
//   node bench/page_bench.mjs [RUNS] [COUNTS] [--old DIR] [--browsers LIST]
//
// RUNS: each figure is the best of RUNS fresh loads (3 unless given): a
// shared machine's load only ever adds time. COUNTS: e.g. 10000,50000 (the
// default). --old DIR: the build directory of the other program (its
// `zendrel`); without it only this build's page is timed. --browsers: e.g.
// chromium,firefox (default all three; WebKit where its driver is there).
// This build's programs come from ZENDREL_BINARY_DIR or build/.
//
// Figures, in milliseconds:
//   start   from navigation until the Start link is there (in Chromium and
//           Firefox as the page sees it, polling itself every 2 ms)
//   panel   from navigation until the search panel shows, Start being
//           clicked the moment it is there
//   1col, 8col   from pressing Search (empty search text: every picture)
//           until the list's first screen is in its frame and drawn; the
//           page's own 50 ms timer before it lists is included
//   last    from pressing Search (8 columns) until the last picture's
//           thumbnail stands on the screen, the frame scrolled to its end
//           (as End or the scroll bar do) as soon as the first screen is there
//   back    from Escape in the detail view of a picture from the middle of
//           the list until that picture is on the list's screen again, or,
//           where the page does not keep the place, until the list's first
//           screen is back (marked "*")
// WebKit's figures come through WebDriver polling: they are upper bounds,
// some tens of milliseconds late.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const here = path.dirname(new URL(import.meta.url).pathname);
const support = (name) => pathToFileURL(path.join(here, '..', 'tests', 'browser', 'support', name)).href;
const { browserMissing, launch } = await import(support('browsers.mjs'));

const MONTHS = ['January', 'February', 'March', 'April', 'May', 'June', 'July', 'August',
  'September', 'October', 'November', 'December'];

// Deterministic records: about 5,000 distinct words, dates in camera order
// over ten years, twenty folders.
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
    records.push({
      folder: `Folder${i % 20}`,
      title: words(3) + (i % 10 === 0 ? ' needle' : ''),
      subject: words(2),
      category: `cat${i % 20}`,
      comment: words(5),
      date: `${MONTHS[Math.floor(day / 30.5) % 12]} ${(day % 28) + 1}, ${1995 + Math.floor(day / 365)}`,
    });
  }
  return records;
}

// The archive of `count` pictures of 64 by 48 pixels, built once; each call
// writes its page again with `binaryDir`'s program into `name` (a copy of
// the archive whose pictures are hard links), which only writes the page.
function realArchive(count, binaryDir, name) {
  const root = path.join(os.tmpdir(), `zendrel-page-bench-${count}`);
  const archive = path.join(root, 'archive');
  const catalogue = path.join(root, 'pictures.txt');
  const build = (dest) => execFileSync(path.join(binaryDir, 'zendrel'), ['build', '--catalog',
    catalogue, '--dest', dest, '--copy', 'no', '--jobs', '2'], { stdio: ['ignore', 'ignore', 'inherit'] });
  if (!fs.existsSync(path.join(root, 'built'))) {
    fs.rmSync(root, { recursive: true, force: true });
    const pictures = path.join(root, 'pictures');
    console.log(`building ${count} pictures into ${root} (once)`);
    const thisBuild = process.env.ZENDREL_BINARY_DIR || path.join(here, '..', 'build');
    execFileSync(path.join(thisBuild, 'make_samples'), [pictures, String(count), '64', '48']);
    const lines = ['SourceFile\tTitle\tSubject\tCategory\tComment\tAuthor\tDate'];
    makeRecords(count).forEach((r, i) => {
      const file = `C:${pictures.replace(/\//g, '\\')}\\p${String(i + 1).padStart(6, '0')}.jpg`;
      lines.push([file, r.title, r.subject, r.category, r.comment, 'Bench', r.date].join('\t'));
    });
    fs.writeFileSync(catalogue, lines.join('\r\n') + '\r\n', 'latin1');
    fs.mkdirSync(archive);
    build(archive);
    fs.writeFileSync(path.join(root, 'built'), '');
  }
  const dest = path.join(root, name);
  if (!fs.existsSync(dest)) execFileSync('cp', ['-al', archive, dest]);
  for (const page of ['archive.htm', 'archive.txt', 'archive_bak.htm']) {
    fs.rmSync(path.join(dest, page), { force: true });
  }
  build(dest);
  return pathToFileURL(path.join(dest, 'archive.htm')).href;
}

// One fresh load: every figure of the table.
async function measure(browser, url, count) {
  const page = await browser.newPage();
  const poll = { polling: 5, timeout: 180000 };
  const wait = async (fn, ...args) => (await page.waitForFunction(fn, poll, ...args)).jsonValue();
  try {
    await page.setViewport?.({ width: 1280, height: 800 });
    // Where the driver can, the page itself notes the moment the Start link
    // is there: the driver's round trips, slow while the page works, stay
    // out of the figure.
    await page.evaluateOnNewDocument?.(() => {
      if (self !== self.top) return;
      const look = () => {
        try {
          if (self.control && self.control.document && self.control.document.links.length === 1) {
            self.benchStartReady = performance.now();
            return;
          }
        } catch {
          // The frames are not there yet.
        }
        setTimeout(look, 2);
      };
      look();
    });
    await page.goto(url);
    const start = Math.round(await wait(() => self.control && self.control.document &&
      self.control.document.links.length === 1 && (self.benchStartReady || performance.now())));
    await page.evaluate(() => self.control.document.links[0].click());
    const panel = Math.round(await wait(() => self.show.document.cont != null &&
      self.show.document.cont.keywords != null && performance.now()));

    // Presses Search with an empty text in `cols` columns; returns the
    // frame that lists.
    const search = (cols) => page.evaluate((n) => {
      self.listDone = null;
      const p = self.show.document.cont;
      p.viewcols.selectedIndex = n - 1;
      p.viewcols.dispatchEvent(new self.show.Event('change'));
      p.keywords.value = '';
      self.benchStart = performance.now();
      p.elements[0].click();
    }, cols);
    const startPanel = async () => {
      await page.evaluate(() => self.control.document.links[0].click());
      await wait(() => self.show.document.cont != null && self.show.document.cont.keywords != null);
    };
    // The first screen: the frame's table reaches below its bottom edge (or
    // holds every picture), then one frame is drawn.
    const firstScreen = (frameName) => wait((f) => {
      const frame = self[f];
      const doc = frame.document;
      if (!doc.body || doc.forms.length > 0) return false;
      const images = doc.images;
      if (images.length === 0) return false;
      const last = images[images.length - 1].getBoundingClientRect();
      if (last.bottom < frame.innerHeight && images.length < 96) return false;
      return new Promise((done) => frame.requestAnimationFrame(() =>
        setTimeout(() => done(performance.now() - self.benchStart), 0)));
    }, frameName);

    await search(1);
    const col1 = Math.round(await firstScreen('film'));
    await startPanel();
    await search(8);
    const col8 = Math.round(await firstScreen('show'));
    // End: the frame scrolled to its bottom until the last thumbnail stands
    // there.
    const last = Math.round(await wait((n) => {
      const frame = self.show;
      const doc = frame.document;
      if (!doc.body || doc.forms.length > 0) return false;
      frame.scrollTo(0, doc.documentElement.scrollHeight);
      const link = doc.querySelector(`a[href="javascript:parent.showPic(${n - 1})"]`);
      if (!link) return false;
      const box = link.getBoundingClientRect();
      return box.bottom > 0 && box.top < frame.innerHeight && performance.now() - self.benchStart;
    }, count).catch(() => Infinity));

    // A picture from the middle, then Escape.
    const middle = Math.floor(count / 2);
    await wait((n) => {
      const doc = self.show.document;
      const link = doc.querySelector(`a[href="javascript:parent.showPic(${n})"]`);
      if (!link) {
        self.show.scrollTo(0, doc.documentElement.scrollHeight / 2);
        return false;
      }
      link.scrollIntoView();
      link.click();
      return true;
    }, middle);
    await wait(() => self.show.document.body && self.show.document.body.innerText.indexOf('Bench') >= 0);
    await page.evaluate(() => {
      self.benchStart = performance.now();
      self.show.document.body.dispatchEvent(new self.show.KeyboardEvent('keydown',
        { key: 'Escape', bubbles: true, cancelable: true }));
    });
    const back = await wait((n) => {
      const frame = self.show;
      const doc = frame.document;
      if (!doc.body || doc.images.length === 0 || doc.querySelector('td img') == null) return false;
      const link = doc.querySelector(`a[href="javascript:parent.showPic(${n})"]`);
      const kept = link && link.getBoundingClientRect().bottom > 0 &&
        link.getBoundingClientRect().top < frame.innerHeight;
      if (!kept && performance.now() - self.benchStart < 3000) return false;
      return new Promise((done) => frame.requestAnimationFrame(() => setTimeout(() =>
        done([performance.now() - self.benchStart, kept ? 1 : 0]), 0)));
    }, middle);
    return { start, panel, col1, col8, last, back: Math.round(back[0]), kept: back[1] };
  } finally {
    await page.close();
  }
}

const args = process.argv.slice(2);
const option = (name) => {
  const at = args.indexOf(name);
  return at >= 0 ? args.splice(at, 2)[1] : null;
};
const oldDir = option('--old');
const browsers = (option('--browsers') || 'chromium,firefox,webkit').split(',');
const runs = Number(args[0] || 3);
const counts = (args[1] || '10000,50000').split(',').map(Number);
const thisDir = process.env.ZENDREL_BINARY_DIR || path.join(here, '..', 'build');

const FIGURES = ['start', 'panel', 'col1', 'col8', 'last', 'back'];
console.log(`best of ${runs} fresh loads from disk, milliseconds; load average ${os.loadavg()
  .map((l) => l.toFixed(1)).join(' ')} on ${os.cpus().length} cores`);
console.log(`records  browser   page  ${FIGURES.map((f) => f.padStart(6)).join('')}`);
for (const count of counts) {
  const pages = [['new', realArchive(count, thisDir, 'archive-new')]];
  if (oldDir) pages.push(['old', realArchive(count, oldDir, 'archive-old')]);
  for (const name of browsers) {
    if (browserMissing(name)) continue;
    const browser = await launch(name);
    try {
      for (const [label, url] of pages) {
        const list = [];
        for (let k = 0; k < runs; k++) list.push(await measure(browser, url, count));
        const best = (f) => Math.min(...list.map((r) => r[f]));
        const kept = list.every((r) => r.kept) ? ' ' : '*';
        console.log(`${String(count).padStart(7)}  ${name.padEnd(8)}  ${label.padEnd(4)}  ` +
          `${FIGURES.map((f) => String(best(f)).padStart(6)).join('')}${kept}`);
      }
    } finally {
      await browser.close();
    }
  }
}
