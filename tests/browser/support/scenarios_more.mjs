// Scenarios of the page's keys, addresses, small screens, lazy thumbnails
// and names, run by defineScenarios in every browser and from both origins.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { makeTempDir, writeArchive, writePageTool } from './archive.mjs';

// A key pressed in the show frame, as the browser delivers it there.
function press(v, key) {
  return v.page.evaluate((k) => {
    const doc = self.show.document;
    doc.body.dispatchEvent(new self.show.KeyboardEvent('keydown', { key: k, bubbles: true,
      cancelable: true }));
  }, key);
}

const AXE = fs.readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

// axe-core's critical and serious findings in every frame of the view shown.
function axeFaults(v, view) {
  return v.page.evaluate(async (source, name) => {
    const faults = [];
    for (const f of ['control', 'film', 'show']) {
      const win = self[f];
      win.eval(source);
      const found = await win.axe.run(win.document, { iframes: false, resultTypes: ['violations'] });
      for (const rule of found.violations) {
        if (rule.impact === 'critical' || rule.impact === 'serious') {
          faults.push(`${name}/${f}: ${rule.id} at ${rule.nodes.slice(0, 3).map((n) => n.target.join(' '))}`);
        }
      }
    }
    return faults;
  }, AXE, view);
}

// The link of result `i` in `frame`, when it stands on the frame's screen.
const onScreen = (v, frame, i) => v.until(([f, n]) => {
  const link = self[f].document.querySelector(`a[href="javascript:parent.showPic(${n})"]`);
  if (!link) return false;
  const box = link.getBoundingClientRect();
  return box.bottom > 0 && box.top < self[f].innerHeight;
}, [frame, i]);

const showing = (v, text) => v.until((t) => self.show.document.body &&
  self.show.document.body.innerText.indexOf(t) >= 0, text);
const hash = (v) => v.global('self.location.hash');

// Writes a sample photograph of `width` by `height` to `file`.
export function writeSample(file, width, height) {
  const tool = path.join(path.dirname(writePageTool()), 'make_samples');
  const dir = makeTempDir('zendrel-sample-');
  execFileSync(tool, [dir, '1', String(width), String(height)]);
  fs.copyFileSync(path.join(dir, 'p000001.jpg'), file);
  fs.rmSync(dir, { recursive: true, force: true });
}

// Many records for the lazy loading: one folder, one date, titles "Pic N".
export function manyRecords(count) {
  return Array.from({ length: count }, (_, i) => ({
    thumb: `_${String(i).padStart(6, '0')}0.jpg`, path: 'C:\\\\Many', source: `m${i}.jpg`,
    title: i % 2 ? `Pic ${i}` : '', picdate: 'May 1, 2001',
  }));
}

async function setSize(v, browserName, width, height, phone) {
  if (browserName === 'chromium') {
    await v.page.setViewport({ width, height, isMobile: phone, hasTouch: phone,
      deviceScaleFactor: phone ? 2 : 1 });
  } else {
    await v.page.setViewport({ width, height });
  }
}

export function defineMoreScenarios(scenario, browserName, { url, manyUrl, hostileUrl, tenUrl }) {
  scenario('every view passes axe-core; navigation targets are 24 pixels or more', async (v) => {
    const faults = await axeFaults(v, 'welcome');
    await v.start();
    faults.push(...await axeFaults(v, 'panel'));
    await v.search({ cols: 3, titles: true });
    await v.results('show');
    faults.push(...await axeFaults(v, 'list'));
    await v.clickImage('show', 0);
    await showing(v, 'A cat on a box');
    faults.push(...await axeFaults(v, 'detail'));
    const targets = await v.page.evaluate(() => [...self.film.document.links,
      ...self.control.document.links].map((a) => {
      const box = a.getBoundingClientRect();
      return Math.min(box.width, box.height);
    }));
    for (const size of targets) assert.ok(size >= 24, `Start, Prev, Next, All: ${targets}`);
    await v.clickImage('show', 0);
    await v.until(() => self.show.document.body.getAttribute('bgcolor') === '#000000');
    faults.push(...await axeFaults(v, 'black'));
    await v.click('control', 'Start');
    await v.until(() => self.show.document.cont != null);
    await v.search({ text: 'water', slideshow: true, slideTime: 1 });
    await v.until(() => self.film.document.links.length === 6);
    faults.push(...await axeFaults(v, 'slide show'));
    await v.click('control', 'Start');
    await v.until(() => self.control.document.cont.slideshow.value === '0');
    assert.deepEqual(faults, []);
  });

  scenario('Enter in the search field and on a box searches; the form stays', async (v) => {
    await v.start();
    const enter = (field) => v.page.evaluate(async (name, real) => {
      const input = self.show.document.cont[name];
      input.focus();
      if (!real) {
        input.dispatchEvent(new self.show.KeyboardEvent('keydown', { key: 'Enter', keyCode: 13,
          bubbles: true, cancelable: true }));
      }
    }, field, v.page.keyboard != null);
    await v.page.evaluate(() => { self.show.document.cont.keywords.value = 'water'; });
    await enter('keywords');
    if (v.page.keyboard) await v.page.keyboard.press('Enter');
    await v.until(() => self.film.document.querySelectorAll('td img').length === 2);
    await v.click('control', 'Start');
    await v.until(() => self.show.document.cont != null);
    await v.page.evaluate(() => { self.show.document.cont.keywords.value = 'dog'; });
    await enter('titles');
    if (v.page.keyboard) await v.page.keyboard.press('Enter');
    await v.until(() => self.film.document.querySelectorAll('td img').length === 1);
    assert.equal(await v.global('self.location.search + self.show.location.search'), '');
    assert.equal(await v.global('self.control.document.cont.keywords.value'), 'dog');
  });

  scenario('the address of a date range gives that date search', async (v) => {
    await v.openAt(`${url()}#search=&from=April%2012%2C%202000&to=May%201%2C%202001`);
    await v.until(() => self.film.document.querySelectorAll('td img').length > 0);
    assert.deepEqual((await v.frame('film')).images, ['_AAAAAA8.jpg', '_AAAAAAH.jpg', '_AAAAAAR.jpg']);
  });

  scenario('10,000 records: a Japanese word inside a caption, End, Escape back', async (v) => {
    await v.openAt(tenUrl());
    await v.start();
    await v.search({ text: '\u65e5\u672c' });
    await v.until(() => self.film.document.querySelectorAll('td img').length > 0);
    assert.deepEqual((await v.frame('film')).images, ['_0000000.jpg', '_0000080.jpg']);
    await v.click('control', 'Start');
    await v.until(() => self.show.document.cont != null);
    await v.search({ text: 'pi' });
    await v.until(() => self.film.document.body.innerHTML.indexOf('Sorry') >= 0);

    await v.click('control', 'Start');
    await v.until(() => self.show.document.cont != null);
    await v.search({ cols: 8, text: '' });
    await v.until(() => self.show.document.querySelector('td img') != null);
    // The scroll bar's whole length is there at once: its end shows the last row.
    const full = await v.page.evaluate(() => {
      const doc = self.show.document;
      self.show.scrollTo(0, doc.documentElement.scrollHeight);
      return doc.documentElement.scrollHeight;
    });
    assert.ok(full > 10000 / 8 * 96, `the list is ${full} pixels high`);
    await onScreen(v, 'show', 9999);
    assert.equal(await v.global('self.show.document.querySelectorAll("td img").length') > 0, true);

    await v.page.evaluate(() => self.show.scrollTo(0, self.show.document.documentElement.scrollHeight / 2));
    await v.until(() => self.show.document.querySelector('a[href="javascript:parent.showPic(5000)"]') != null);
    await v.page.evaluate(() => {
      const link = self.show.document.querySelector('a[href="javascript:parent.showPic(5000)"]');
      link.scrollIntoView();
      link.click();
    });
    await showing(v, 'm5000.jpg');
    await press(v, 'Escape');
    await onScreen(v, 'show', 5000);
    // The rows above and below the kept place come when the browser is idle,
    // without moving it; scrolling up, every row on the screen is there.
    await new Promise((r) => setTimeout(r, 500));
    await onScreen(v, 'show', 5000);
    for (let step = 0; step < 4; step++) {
      await v.page.evaluate(() => self.show.scrollBy(0, -self.show.innerHeight));
      await v.until(() => {
        const frame = self.show;
        const seen = [...frame.document.querySelectorAll('td a')].filter((a) => {
          const box = a.getBoundingClientRect();
          return box.bottom > 0 && box.top < frame.innerHeight;
        }).map((a) => Number(/\((\d+)\)/.exec(a.getAttribute('href'))[1]));
        return seen.length >= 8 * Math.floor(frame.innerHeight / 110) &&
          seen.every((n, k) => k === 0 || n === seen[k - 1] + 1);
      });
    }
    const order = await v.page.evaluate(() => [...self.show.document.querySelectorAll('td a')]
      .map((a) => Number(/\((\d+)\)/.exec(a.getAttribute('href'))[1])));
    assert.ok(order.every((n, k) => k === 0 || n > order[k - 1]), 'the rows stand in the order of the results');
    await v.clickImage('show', 0);
    await v.until(() => self.pictureView && self.show.document.images.length === 1);
    await press(v, 'ArrowRight');
    await v.page.evaluate(() => history.back());
    // Chromium reloads a frameset on Back and reads the 10,000 records anew;
    // a wait begun before the reload would watch the page that went away.
    const deadline = Date.now() + 30000;
    for (;;) {
      const back = await v.page.evaluate(() => !self.pictureView &&
        self.show.document.querySelector('td img') != null).catch(() => false);
      if (back) break;
      assert.ok(Date.now() < deadline, 'Back did not return to the list within 30 s');
      await new Promise((resolve) => setTimeout(resolve, 100));
    }
  });

  scenario('the panel at 390 pixels: the whole width, every control on the screen', async (v) => {
    try {
      await setSize(v, browserName, 390, 844, true);
      await v.open(url());
      await v.start();
      const seen = await v.page.evaluate(() => {
        const doc = self.show.document;
        return {
          width: self.show.innerWidth,
          whole: self.innerWidth,
          scroll: doc.documentElement.scrollWidth,
          right: Math.max(...[...doc.forms[0].elements].map((e) => e.getBoundingClientRect().right)),
          start: self.control.document.links[0].getBoundingClientRect().height,
        };
      });
      // WebKit's window keeps a width of its own a little above 390.
      assert.ok(seen.width === seen.whole && seen.whole <= 600, JSON.stringify(seen));
      assert.ok(seen.scroll <= seen.width && seen.right <= seen.width, JSON.stringify(seen));
      assert.ok(seen.start >= 44, JSON.stringify(seen));
      await v.search({ cols: 8, titles: true });
      await v.until(() => self.show.document.querySelectorAll('td img').length === 8);
      assert.ok(await v.global('self.show.document.documentElement.scrollWidth <= self.show.innerWidth'),
        'the list fits across');
    } finally {
      await setSize(v, browserName, browserName === 'webkit' ? 1280 : 800,
        browserName === 'webkit' ? 800 : 600, false);
    }
  });

  scenario('keys move through the detail and black views and back to the list', async (v) => {
    await v.start();
    await v.search({ cols: 3 });
    await v.results('show');
    await v.clickImage('show', 0);
    await showing(v, 'A cat on a box');
    for (const [key, text] of [['ArrowRight', 'xmas'], ['ArrowLeft', 'A cat on a box'],
      ['ArrowLeft', 'Garden'], ['Home', 'A cat on a box'], ['End', 'Garden'],
      ['PageDown', 'A cat on a box'], ['PageUp', 'Garden']]) {
      await press(v, key);
      await showing(v, text);
    }
    await v.clickImage('show', 0);
    await v.until(() => self.show.document.body.getAttribute('bgcolor') === '#000000');
    await press(v, 'ArrowRight');
    await v.until(() => self.show.document.images[0].getAttribute('src') === '_AAAAAA1.jpg');
    assert.equal((await v.frame('show')).bgcolor, '#000000', 'still on black');
    await press(v, 'Escape');
    await v.until(() => self.show.document.querySelectorAll('td img').length === 8);
    // In the list the keys do nothing.
    await press(v, 'ArrowRight');
    await new Promise((r) => setTimeout(r, 150));
    assert.equal(await v.global('self.show.document.querySelectorAll("td img").length'), 8);
  });

  scenario('Space pauses and resumes a slide show', async (v) => {
    await v.start();
    await v.search({ text: 'water', slideshow: true, slideTime: 1 });
    await v.until(() => self.show.document.body.getAttribute('bgcolor') === '#000000' &&
      self.show.document.images.length === 1);
    await press(v, ' ');
    const paused = (await v.frame('show')).images[0];
    await new Promise((r) => setTimeout(r, 2500));
    assert.equal((await v.frame('show')).images[0], paused, 'no step while paused');
    assert.equal(await v.global('self.control.document.cont.slideshow.value'), '0');
    await press(v, ' ');
    await v.until((src) => self.show.document.images[0].getAttribute('src') !== src, paused);
    await v.click('control', 'Start');
    await v.until(() => self.control.document.cont.slideshow.value === '0');
  });

  scenario('the state form is out of sight and out of the Tab order', async (v) => {
    const seen = await v.page.evaluate(() => {
      const doc = self.control.document;
      const link = doc.links[0];
      link.focus();
      return {
        boxes: [...doc.forms[0].elements].map((e) => e.getClientRects().length),
        ring: self.control.getComputedStyle(link).outlineStyle,
        height: doc.forms[0].getBoundingClientRect().height,
      };
    });
    assert.deepEqual(seen.boxes, [0, 0, 0, 0, 0, 0, 0]);
    assert.equal(seen.height, 0);
    assert.equal(seen.ring, 'solid', 'a focused link shows a ring');
    assert.equal(await v.global('self.control.document.cont.viewcols.value'), '1');
    if (v.page.keyboard) {
      // A real Tab from Start, where the driver can press keys.
      await v.page.evaluate(() => self.control.document.links[0].focus());
      await v.page.keyboard.press('Tab');
      assert.notEqual(await v.global('self.control.document.activeElement.tagName'), 'INPUT');
    }
  });

  scenario('Back, Forward, a reload and a link reach the same views', async (v) => {
    await v.start();
    assert.equal(await hash(v), '#start');
    await v.search({ cols: 3, text: 'water' });
    await v.until(() => self.show.document.querySelectorAll('td img').length === 2);
    const list = await hash(v);
    assert.match(list, /^#search=water&cols=3$/);
    await v.clickImage('show', 0);
    await v.until(() => self.show.document.body.innerText.indexOf('water') >= 0);
    const first = (await v.frame('show')).images[0];
    const picture = await hash(v);
    assert.match(picture, /^#search=water&cols=3&pic=_AAAAAB/);

    await v.page.evaluate(() => history.back());
    await v.until((h) => self.location.hash === h && self.show && self.show.document.body &&
      self.show.document.querySelectorAll('td img').length === 2, list);
    await v.page.evaluate(() => history.forward());
    await v.until((src) => self.location.hash.indexOf('&pic=') > 0 && self.show &&
      self.show.document.images.length === 1 &&
      self.show.document.images[0].getAttribute('src') === src, first);

    await v.openAt(`${url()}#search=&cols=1&pic=_AAAAAAR.jpg&view=black`);
    await v.until(() => self.show.document.body &&
      self.show.document.body.getAttribute('bgcolor') === '#000000' &&
      self.show.document.images.length === 1);
    assert.deepEqual((await v.frame('show')).images, ['_AAAAAAS.jpg']);
    assert.deepEqual((await v.frame('film')).links, ['Prev', 'Next', 'All']);

    await v.openAt(`${url()}#folder=${encodeURIComponent('C:\\photos\\home')}&cols=4`);
    await v.until(() => self.show.document.querySelectorAll('td img').length === 4);
    await v.openAt(`${url()}#start`);
    await v.until(() => self.show.document.cont != null);
    await v.openAt(`${url()}#pic=nothing.jpg`);
    await v.until(() => self.film.document.querySelectorAll('td img').length === 8);
  });

  scenario('a phone: viewports, finger-sized targets, a fitted picture, a swipe', async (v) => {
    try {
      await setSize(v, browserName, 390, 844, true);
      await v.open(url());
      await v.start();
      const heads = await v.page.evaluate(() => ['control', 'film', 'show'].map((f) => {
        const meta = self[f].document.querySelector('meta[name=viewport]');
        return [meta && meta.content, self[f].document.documentElement.lang];
      }));
      for (const head of heads) assert.deepEqual(head, ['width=device-width, initial-scale=1', 'en']);
      const start = await v.global('self.control.document.links[0].getBoundingClientRect().height');
      assert.ok(start >= 44, `Start is ${start} px high`);
      await v.search({ cols: 2 });
      await v.results('show');
      await v.clickImage('show', 0);
      await showing(v, 'A cat on a box');
      await v.until(() => self.show.document.images[0].complete);
      const fit = await v.page.evaluate(() => {
        const doc = self.show.document;
        const img = doc.images[0];
        return { width: img.getBoundingClientRect().width, natural: img.naturalWidth,
          frame: self.show.innerWidth, scroll: doc.documentElement.scrollWidth,
          targets: [...self.film.document.links].map((a) => a.getBoundingClientRect().height) };
      });
      assert.ok(fit.width <= fit.frame && fit.width <= fit.natural, JSON.stringify(fit));
      assert.ok(fit.scroll <= fit.frame, `the detail view scrolls sideways: ${JSON.stringify(fit)}`);
      for (const h of fit.targets) assert.ok(h >= 44, `Prev/Next/All ${fit.targets}`);

      // A swipe to the left shows the next picture, to the right the one before.
      const swipe = async (from, to) => {
        if (browserName === 'chromium') {
          await v.page.touchscreen.touchStart(128 + from, 300);
          await v.page.touchscreen.touchMove(128 + (from + to) / 2, 302);
          await v.page.touchscreen.touchMove(128 + to, 305);
          await v.page.touchscreen.touchEnd();
        } else {
          await v.page.evaluate((a, b) => {
            const doc = self.show.document;
            const at = (type, x) => doc.body.dispatchEvent(new self.show.PointerEvent(type,
              { pointerType: 'touch', clientX: x, clientY: 300, bubbles: true }));
            at('pointerdown', a);
            at('pointerup', b);
          }, from, to);
        }
      };
      await swipe(200, 40);
      await showing(v, 'xmas');
      await swipe(40, 200);
      await showing(v, 'A cat on a box');

      // Every picture's detail view fits across the phone: neither a frame
      // nor the page scrolls sideways, whatever the picture and its text.
      for (let i = 0; i < 8; i++) {
        await press(v, i === 0 ? 'Home' : 'ArrowRight');
        await v.until((n) => self.pickedItem === n && self.pictureView && !self.picPending &&
          self.show.document.images.length > 0 && self.show.document.images[0].complete, i);
        const wide = await v.page.evaluate(() => [self, self.film, self.show].map((w) =>
          w.document.documentElement.scrollWidth - w.innerWidth));
        assert.ok(wide.every((d) => d <= 0), `picture ${i + 1} scrolls sideways by ${wide}`);
      }
    } finally {
      await setSize(v, browserName, browserName === 'webkit' ? 1280 : 800,
        browserName === 'webkit' ? 800 : 600, false);
    }
  });

  scenario('at 1280x800 a 1024-pixel picture and its description fit', async (v) => {
    try {
      await setSize(v, browserName, 1280, 800, false);
      await v.open(url());
      await v.start();
      await v.search({ cols: 3 });
      await v.results('show');
      await v.clickImage('show', 0);
      await showing(v, 'A cat on a box');
      await v.until(() => self.show.document.images[0].complete);
      const fit = await v.page.evaluate(() => {
        const doc = self.show.document;
        const img = doc.images[0];
        const text = doc.querySelectorAll('td')[1].getBoundingClientRect();
        return { natural: img.naturalWidth, width: img.getBoundingClientRect().width,
          height: img.getBoundingClientRect().height, frameHeight: self.show.innerHeight,
          right: text.right, frame: self.show.innerWidth, scroll: doc.documentElement.scrollWidth,
          top: self.document.documentElement.scrollWidth - self.innerWidth };
      });
      assert.equal(fit.natural, 1024);
      assert.ok(fit.scroll <= fit.frame && fit.right <= fit.frame, JSON.stringify(fit));
      assert.ok(fit.height <= fit.frameHeight, JSON.stringify(fit));
      assert.ok(fit.top <= 0, JSON.stringify(fit));
    } finally {
      await setSize(v, browserName, browserName === 'webkit' ? 1280 : 800,
        browserName === 'webkit' ? 800 : 600, false);
    }
  });

  scenario('pictures carry alt texts; the page, frames and documents are named', async (v) => {
    const named = await v.page.evaluate(() => ({
      lang: document.documentElement.lang,
      titles: [...document.getElementsByTagName('frame')].map((f) => f.title),
    }));
    assert.equal(named.lang, 'en');
    for (const title of named.titles) assert.ok(title.length > 0);
    await v.start();
    await v.search({ cols: 3 });
    const show = await v.results('show');
    const alts = await v.page.evaluate(() => [...self.show.document.images].map((i) => i.alt));
    assert.equal(alts.length, show.images.length);
    // A title is HTML: the alt text is its text.
    assert.deepEqual(alts, ['A cat on a box', 'Dog  C:\\xmas', 'Two foxes',
      'Old church benches', 'Supercalifragilisticexpialidocious', 'The sea at dawn', 'Boats',
      'Garden bold']);
    await v.clickImage('show', 1);
    await showing(v, 'xmas');
    assert.equal(await v.global('self.show.document.images[0].alt'), 'Dog  C:\\xmas');
  });

  defineHostileScenario(scenario, { hostileUrl });

  scenario('a long list: the first screen first, every row in the end', async (v) => {
    await v.openAt(manyUrl());
    await v.start();
    await v.search({ cols: 4 });
    await v.until(() => self.show.document.images.length === 600);
    const seen = await v.page.evaluate(() => {
      const doc = self.show.document;
      const rows = [...doc.querySelectorAll('tr')].map((tr) => tr.cells.length);
      const links = [...doc.querySelectorAll('td a')].map((a) => a.getAttribute('href'));
      return { rows, order: links.every((h, i) => h === `javascript:parent.showPic(${i})`),
        alt: doc.images[0].alt + '|' + doc.images[1].alt,
        lazy: [...doc.images].every((i) => i.getAttribute('loading') === 'lazy') };
    });
    assert.deepEqual(seen.rows, [...Array(150).fill(4), 0]);
    assert.ok(seen.order, 'cells in result order');
    assert.equal(seen.alt, 'm0.jpg|Pic 1');
    assert.ok(seen.lazy);
    // Only the pictures near the first screen are asked for.
    await new Promise((r) => setTimeout(r, 500));
    const asked = await v.page.evaluate(() => [...self.show.document.images]
      .filter((i) => i.complete && i.naturalWidth > 0).length);
    assert.ok(asked > 0 && asked < 300, `${asked} of 600 thumbnails loaded at first`);
    await v.page.evaluate(() => self.show.scrollTo(0, self.show.document.body.scrollHeight));
    await v.until(() => {
      const last = self.show.document.images[599];
      return last.complete && last.naturalWidth > 0;
    });
  });
}

// Names and values from other people's files: markup in a file name, a
// folder and a title read from a picture, characters outside the code page,
// a backslash. The page shows each exactly and runs none of it. The
// records are native text: characters beyond Windows-1252 become references
// on the way in.
const HOSTILE_NAME = '<img src=x onerror="parent.pwned=1">\'&.jpg';
const HOSTILE_FOLDER = 'C:\\\\Photos\\\\<svg onload=parent.pwned=2>\\\\\u65e5\u672c';
const TOKYO = '\u6771\u4eac\u30bf\u30ef\u30fc\u306e\u591c\u666f';
export const HOSTILE_RECORDS = [
  { thumb: '_HHHHHH0.jpg', path: HOSTILE_FOLDER, source: HOSTILE_NAME,
    title: '&lt;b onclick=x&gt; &amp;amp; back&#92;slash',
    comment: '&lt;img src=x onerror=parent.pwned=3&gt; a\\sb <i>kept</i>', file: '\'"><script>parent.pwned=4</script>',
    picdate: 'May 1, 2001' },
  { thumb: '_HHHHHH8.jpg', path: 'C:\\\\Photos', source: '\u041c\u043e\u0441\u043a\u0432\u0430.jpg',
    title: TOKYO.repeat(4), picdate: 'May 1, 2001' },
  { thumb: '_HHHHHHH.jpg', path: 'C:\\\\Photos', source: 'greek.jpg',
    title: '\u0391\u03b8\u03ae\u03bd\u03b1 \u0391\u03b8\u03ae\u03bd\u03b1 \u0391\u03b8\u03ae\u03bd\u03b1 \u0391\u03b8\u03ae\u03bd\u03b1 \u0391\u03b8\u03ae\u03bd\u03b1 \u0391\u03b8\u03ae\u03bd\u03b1',
    picdate: 'May 1, 2001' },
];

export function writeHostileArchive(dir) {
  return writeArchive(dir, HOSTILE_RECORDS);
}

function defineHostileScenario(scenario, { hostileUrl }) {
  scenario('hostile names and values show as written and run nothing', async (v) => {
    await v.openAt(hostileUrl());
    await v.start();
    // The folder link reads as the folder, characters and all.
    const folder = 'C:\\photos\\<svg onload=parent.pwned=2>\\\u65e5\u672c';
    const links = (await v.frame('show')).links;
    assert.ok(links.includes(folder), JSON.stringify(links));
    await v.search({ cols: 3, titles: true });
    await v.results('show');
    const list = await v.page.evaluate(() => ({
      titles: [...self.show.document.querySelectorAll('small')].map((s) => s.innerText),
      alts: [...self.show.document.images].map((i) => i.alt),
    }));
    const tokyo = '\u6771\u4eac\u30bf\u30ef\u30fc\u306e\u591c\u666f';
    // Four times Tokyo: one word of 32 characters, broken after 9 and 22.
    const three = Array.from(tokyo.repeat(4));
    assert.deepEqual(list.titles, [
      '<b onclick=x> &amp; back\\slash',
      `${three.slice(0, 9).join('')}\n${three.slice(9, 22).join('')}\n${three.slice(22).join('')}`,
      '\u0391\u03b8\u03ae\u03bd\u03b1 \u0391\u03b8\u03ae\u03bd\u03b1 \u0391\u03b8\u03ae\u03bd\u03b1 \u0391\u03b8\u03ae\u03bd\u03b1 \u0391\u03b8\u03ae\u03bd\u03b1',
    ]);
    assert.deepEqual(list.alts, ['<b onclick=x> &amp; back\\slash',
      tokyo.repeat(4), '\u0391\u03b8\u03ae\u03bd\u03b1 '.repeat(6).trim()]);
    await v.clickImage('show', 0);
    await v.until(() => self.show.document.body &&
      self.show.document.body.innerText.indexOf('a\\sb kept') >= 0);
    const detail = await v.page.evaluate(() => ({
      text: self.show.document.body.innerText,
      images: self.show.document.images.length,
      scripts: self.show.document.querySelectorAll('script, svg').length,
      italic: self.show.document.querySelectorAll('i').length,
    }));
    for (const shown of ['<b onclick=x> &amp; back\\slash',
      '<img src=x onerror=parent.pwned=3> a\\sb kept',
      'C:\\Photos\\<svg onload=parent.pwned=2>\\\u65e5\u672c', '<img src=x onerror="parent.pwned=1">\'&.jpg',
      '\'"><script>parent.pwned=4</script>']) {
      assert.ok(detail.text.includes(shown), `${shown} in ${detail.text}`);
    }
    assert.deepEqual([detail.images, detail.scripts, detail.italic], [1, 0, 1]);
    // The folder link finds the folder, and its text is the folder's.
    await v.start();
    await v.click('show', folder);
    await v.results('film');
    assert.equal(await v.global('self.control.document.cont.keywords.value'), folder);
    assert.deepEqual((await v.frame('film')).images, ['_HHHHHH0.jpg']);
    await new Promise((r) => setTimeout(r, 200));
    assert.equal(await v.global('typeof self.pwned'), 'undefined');
  });
}

// The long list's archive, beside the main one.
export function writeManyArchive(dir) {
  return writeArchive(dir, manyRecords(600));
}

// 10,000 records without pictures; two captions in Japanese, whose words
// run together (the page stores them as numeric references).
export function writeTenArchive(dir) {
  const records = manyRecords(10000);
  records[0].title = '\u65e5\u672c\u306e\u685c';
  records[8].comment = '\u65b0\u3057\u3044\u65e5\u672c\u8a9e';
  return writeArchive(dir, records, { pictures: false });
}
