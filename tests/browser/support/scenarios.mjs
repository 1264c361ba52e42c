// The archive page's scenarios in one browser, from disk and over HTTP. Each
// test loads the page afresh and ends by checking that no script error was
// reported.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import { pathToFileURL } from 'node:url';
import { makeTempDir, serve, writeArchive } from './archive.mjs';
import { browserMissing, launch, skipUnless } from './browsers.mjs';
import { defineMoreScenarios, writeHostileArchive, writeManyArchive, writeSample, writeTenArchive }
  from './scenarios_more.mjs';
import { Viewer } from './viewer.mjs';

const TRIP = 'C:\\\\Photos\\\\Trip';
const HOME = 'C:\\\\Photos\\\\Home';

// Values that would break the script if written as they stand: a quote, a
// line break, a trailing backslash, an end tag of the script, "\x" that is no
// escape.
export const RECORDS = [
  { thumb: '_AAAAAA0.jpg', path: TRIP, source: 'cat.jpg', title: 'A cat on a box',
    subject: 'cats', category: 'Animals', comment: 'He said "hi"\r\nand left',
    author: 'Ann', picdate: 'March 5, 1999' },
  { thumb: '_AAAAAA8.jpg', path: TRIP, source: 'dog.jpg', title: 'Dog </script> C:\\xmas',
    subject: 'dogs', category: 'Animals', comment: 'trailing\\', author: 'Ben',
    picdate: 'April 12, 2000' },
  { thumb: '_AAAAAAH.jpg', path: HOME, source: 'fox.jpg', title: 'Two foxes', subject: 'wild',
    category: 'Animals', author: 'Ann', picdate: 'April 12, 2000' },
  { thumb: '_AAAAAAR.jpg', path: HOME, source: 'bench.jpg', title: 'Old church benches',
    subject: 'wood', category: 'Places', author: 'Cy', picdate: 'May 1, 2001' },
  { thumb: '_AAAAAB0.jpg', path: HOME, source: 'long.jpg',
    title: 'Supercalifragilisticexpialidocious', subject: 'word', category: 'Fun',
    author: 'Di', picdate: 'June 2001' },
  { thumb: '_AAAAAB8.jpg', path: TRIP, source: 'sea.jpg', title: 'The sea at dawn',
    subject: 'water', category: 'Places', author: 'Ann', picdate: 'July 4, 2002' },
  { thumb: '_AAAAABH.jpg', path: TRIP, source: 'boat.jpg', title: 'Boats', subject: 'water',
    category: 'Places', author: 'Ben', picdate: 'July 4, 2002' },
  { thumb: 'sub/_AAAAAC0.jpg', path: HOME, source: 'garden.jpg', title: 'Garden <b>bold</b>',
    subject: 'flowers', category: 'Places', comment: 'from a subdirectory page', author: 'Cy',
    picdate: 'August 9, 2003' },
];
const ALL = RECORDS.map((r) => r.thumb);
const thumbsOf = (...numbers) => numbers.map((n) => RECORDS[n - 1].thumb);
const sorted = (list) => [...list].sort();

export function defineScenarios(browserName) {
  const missing = skipUnless(browserMissing(browserName));
  describe(`archive page in ${browserName}`, { skip: missing }, () => {
    let browser;
    let viewer;
    let server;
    let dir;

    before(async () => {
      dir = makeTempDir('zendrel-page-');
      writeArchive(dir, RECORDS);
      writeSample(path.join(dir, '_AAAAAA1.jpg'), 1024, 683);
      writeManyArchive(path.join(dir, 'many'));
      writeHostileArchive(path.join(dir, 'hostile'));
      writeTenArchive(path.join(dir, 'ten'));
      server = await serve(dir);
      browser = await launch(browserName);
      viewer = new Viewer(await browser.newPage());
    });
    after(async () => {
      if (browser) await browser.close();
      if (server) await server.close();
      if (dir) fs.rmSync(dir, { recursive: true, force: true });
    });

    for (const origin of ['file', 'http']) {
      const url = () => (origin === 'file' ? pathToFileURL(path.join(dir, 'archive.htm')).href
        : `${server.url}archive.htm`);
      const scenario = (name, body) => test(`${origin}: ${name}`, async () => {
        await viewer.open(url());
        await body(viewer);
        assert.deepEqual(viewer.errors, []);
      });

      scenario('the frames come up with the welcome text', async (v) => {
        const show = await v.frame('show');
        assert.match(show.text, /Welcome to Zendrel/);
        assert.match(show.text, /Leave search field blank to get all images\./);
        assert.deepEqual((await v.frame('control')).links, ['Start']);
        assert.deepEqual((await v.frame('film')).images, []);
        assert.equal(await v.global('cat.count'), RECORDS.length);
        assert.equal(await v.global('cat.pic[1].title'), 'Dog </script> C:\\xmas');
        assert.equal(await v.global('cat.pic[0].comment'), 'He said "hi"\r\nand left');
        assert.equal(await v.global('cat.pic[1].comment'), 'trailing\\');
      });

      scenario('Start shows the search panel', async (v) => {
        await v.start();
        const panel = await v.page.evaluate(() => {
          const p = self.show.document.cont;
          const texts = (s) => [...s.options].map((o) => o.text);
          return { cols: texts(p.viewcols), words: texts(p.title), dates: texts(p.startdate),
            ends: texts(p.enddate), buttons: [p.elements[0].value, p.elements[1].value] };
        });
        assert.deepEqual(panel.cols, ['1', '2', '3', '4', '5', '6', '7', '8']);
        assert.deepEqual(panel.buttons, ['Search', ' Clear ']);
        assert.ok(panel.words.includes('cat') && panel.words.includes('benches'));
        assert.deepEqual(panel.dates, ['', 'March 5, 1999', 'April 12, 2000', 'May 1, 2001',
          'June 2001', 'July 4, 2002', 'August 9, 2003']);
        assert.deepEqual(panel.ends, panel.dates);
        assert.deepEqual((await v.frame('show')).links, ['C:\\photos\\home', 'C:\\photos\\trip']);
      });

      scenario('a word search finds its pictures, plural forms included', async (v) => {
        await v.start();
        await v.search({ text: 'dog' });
        let film = await v.results('film');
        assert.deepEqual(film.images, thumbsOf(2));
        assert.ok(film.loaded, 'thumbnails load');
        for (const [word, numbers] of [['fox', [3]], ['bench', [4]], ['box', [1]],
          ['water', [6, 7]], ["cat's", [1]]]) {
          await v.click('control', 'Start');
          await v.until(() => self.show.document.cont != null);
          await v.page.evaluate(() => { self.film.document.body.innerHTML = ''; });
          await v.search({ text: word });
          film = await v.results('film');
          assert.deepEqual(sorted(film.images), sorted(thumbsOf(...numbers)), word);
        }
      });

      scenario('an empty search lists every picture in record order', async (v) => {
        await v.start();
        await v.search({ text: '' });
        const film = await v.results('film');
        assert.deepEqual(film.images, ALL);
      });

      scenario('a single date, then a date range given backwards', async (v) => {
        await v.start();
        await v.search({ end: 'April 12, 2000' });
        assert.deepEqual((await v.results('film')).images, thumbsOf(2, 3));
        assert.equal(await v.global('self.control.document.cont.keywords.value'),
          '  April 12, 2000');
        await v.click('control', 'Start');
        await v.until(() => self.show.document.cont != null);
        await v.page.evaluate(() => { self.film.document.body.innerHTML = ''; });
        await v.search({ start: 'June 2001', end: 'April 12, 2000' });
        assert.deepEqual((await v.results('film')).images, thumbsOf(2, 3, 4, 5));
      });

      scenario('the panel lists fill the search text and Clear empties it', async (v) => {
        await v.start();
        const state = () => v.page.evaluate(() => {
          const p = self.show.document.cont;
          return [p.keywords.value, p.title.selectedIndex > 0, p.startdate.selectedIndex,
            p.enddate.selectedIndex, self.control.document.cont.keywords.value];
        });
        const choose = (list, text) => v.page.evaluate((l, t) => {
          const select = self.show.document.cont[l];
          select.selectedIndex = [...select.options].findIndex((o) => o.text === t);
          select.dispatchEvent(new self.show.Event('change'));
        }, list, text);
        await choose('title', 'cat');
        await choose('title', 'dogs');
        assert.deepEqual(await state(), ['cat dogs ', true, 0, 0, 'cat dogs ']);
        await choose('startdate', 'March 5, 1999');
        assert.deepEqual(await state(), ['March 5, 1999  ', false, 1, 0, 'March 5, 1999  ']);
        await choose('title', 'wild');
        assert.deepEqual(await state(), ['wild ', true, 0, 0, 'wild ']);
        await v.page.evaluate(() => self.show.document.cont.elements[1].click());
        assert.deepEqual(await state(), ['', false, 0, 0, '']);
      });

      scenario('a folder link lists the pictures of its folder', async (v) => {
        await v.start();
        await v.click('show', 'C:\\photos\\home');
        assert.deepEqual(sorted((await v.results('film')).images), sorted(thumbsOf(3, 4, 5, 8)));
        assert.equal(await v.global('self.control.document.cont.keywords.value'),
          'C:\\photos\\home');
      });

      scenario('1, 3 and 8 columns, with and without titles', async (v) => {
        const rowsOf = (frameName) => v.page.evaluate((f) => [...self[f].document.querySelectorAll('tr')]
          .map((tr) => tr.cells.length).filter((n) => n > 0), frameName);
        await v.start();
        await v.search({ cols: 3 });
        let show = await v.results('show');
        assert.deepEqual(show.images, ALL);
        assert.deepEqual(await rowsOf('show'), [3, 3, 2]);
        assert.doesNotMatch(show.html, /<small>/);
        assert.deepEqual((await v.frame('film')).images, []);

        await v.click('control', 'Start');
        await v.until(() => self.show.document.cont != null);
        await v.search({ cols: 8, titles: true });
        await v.until(() => self.show.document.querySelectorAll('td img').length === 8);
        show = await v.frame('show');
        assert.deepEqual(await rowsOf('show'), [8]);
        assert.match(show.html, /<table border="0" cellspacing="5" width="832">/);
        assert.match(show.html, /<small>Supercali<br>fragilisticex<br>pialidoci<\/small>/);

        await v.click('control', 'Start');
        await v.until(() => self.show.document.cont != null);
        await v.search({ cols: 1, titles: true });
        const film = await v.results('film');
        assert.deepEqual(await rowsOf('film'), [1, 1, 1, 1, 1, 1, 1, 1]);
        assert.match(film.html, /<small>Two foxes<\/small>/);
        assert.match((await v.frame('show')).html, /name="cont"/, 'the panel stays');
      });

      scenario('detail view, Prev and Next wrapping around, black view and back', async (v) => {
        await v.start();
        await v.search({ cols: 3 });
        await v.results('show');
        await v.clickImage('show', 0);
        await v.until(() => self.show.document.body.innerText.indexOf('Ann') >= 0);
        let show = await v.frame('show');
        assert.deepEqual(show.images, ['_AAAAAA1.jpg']);
        assert.match(show.text, /^\s*1\s+A cat on a box\s+cats\s+Animals\s+He said "hi"/);
        assert.match(show.text, /C:\\Photos\\Trip\s+cat\.jpg/);
        assert.deepEqual((await v.frame('film')).links, ['Prev', 'Next', 'All']);

        await v.click('film', 'Prev');
        await v.until(() => self.show.document.body.innerText.indexOf('Garden') >= 0 &&
          self.show.document.images[0].complete);
        show = await v.frame('show');
        assert.deepEqual(show.images, ['sub/_AAAAAC1.jpg']);
        assert.ok(show.loaded, 'the display copy of a subdirectory picture loads');
        await v.click('film', 'Next');
        await v.until(() => self.show.document.body.innerText.indexOf('A cat on a box') >= 0);
        await v.click('film', 'Next');
        await v.until(() => self.show.document.body.innerText.indexOf('xmas') >= 0);
        assert.match((await v.frame('show')).text, /C:\\xmas/);

        await v.clickImage('show', 0);
        await v.until(() => self.show.document.body.getAttribute('bgcolor') === '#000000');
        show = await v.frame('show');
        assert.deepEqual(show.images, ['_AAAAAA9.jpg']);
        assert.equal(show.text.trim(), '');
        await v.clickImage('show', 0);
        await v.until(() => self.show.document.body.innerText.indexOf('xmas') >= 0);
        assert.deepEqual((await v.frame('show')).images, ['_AAAAAA9.jpg']);

        await v.click('film', 'All');
        await v.until(() => self.show.document.querySelectorAll('td img').length === 8);
      });

      scenario('a slide show steps by itself', async (v) => {
        await v.start();
        await v.search({ text: 'water', slideshow: true, slideTime: 1 });
        await v.until(() => self.show.document.body.getAttribute('bgcolor') === '#000000' &&
          self.show.document.images.length === 1);
        const first = (await v.frame('show')).images[0];
        const film = await v.frame('film');
        assert.deepEqual(film.links, ['Prev', 'Next', 'All', ' 5', '10', '20']);
        await v.until((src) => self.show.document.images[0] &&
          self.show.document.images[0].getAttribute('src') !== src, first);
        const second = (await v.frame('show')).images[0];
        assert.deepEqual(sorted([first, second]), sorted(['_AAAAAB9.jpg', '_AAAAABJ.jpg']));
        await v.until((src) => self.show.document.images[0] &&
          self.show.document.images[0].getAttribute('src') !== src, second);

        await v.click('control', 'Start');
        await v.until(() => self.control.document.cont.slideshow.value === '0');
        assert.match((await v.frame('show')).html, /name="cont"/);
      });

      scenario('"Sorry, no matches found"', async (v) => {
        await v.start();
        await v.search({ text: 'zebra', cols: 4 });
        const film = await v.results('film');
        assert.match(film.text, /Sorry, no matches found/);

        // A slide show over no pictures keeps saying so.
        await v.click('control', 'Start');
        await v.until(() => self.show.document.cont != null);
        await v.page.evaluate(() => { self.film.document.body.innerHTML = ''; });
        await v.search({ text: 'zebra', slideshow: true, slideTime: 1 });
        assert.match((await v.results('film')).text, /Sorry, no matches found/);
        await v.page.evaluate(() => { self.film.document.body.innerHTML = ''; });
        assert.match((await v.results('film')).text, /Sorry, no matches found/);
      });

      scenario('search texts with quotes and angle brackets survive in the panel', async (v) => {
        const text = 'say "hi" <b>&amp;';
        await v.start();
        await v.search({ text });
        await v.results('film');
        await v.click('control', 'Start');
        await v.until(() => self.show.document.cont != null);
        const panel = await v.page.evaluate(() => ({
          value: self.show.document.cont.keywords.value,
          bold: self.show.document.querySelectorAll('b').length,
        }));
        assert.deepEqual(panel, { value: text, bold: 0 });
      });

      const manyUrl = () => (origin === 'file'
        ? pathToFileURL(path.join(dir, 'many', 'archive.htm')).href
        : `${server.url}many/archive.htm`);
      const hostileUrl = () => (origin === 'file'
        ? pathToFileURL(path.join(dir, 'hostile', 'archive.htm')).href
        : `${server.url}hostile/archive.htm`);
      const tenUrl = () => (origin === 'file'
        ? pathToFileURL(path.join(dir, 'ten', 'archive.htm')).href
        : `${server.url}ten/archive.htm`);
      defineMoreScenarios(scenario, browserName, { url, manyUrl, hostileUrl, tenUrl });
    }
  });
}
