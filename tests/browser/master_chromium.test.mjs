// A master archive made by the real program (zendrel build for three
// subdirectories, then zendrel master over them), opened from disk in
// headless Chromium: every thumbnail loads, a folder search lists one
// folder's pictures, and the detail view of a picture from each subdirectory
// shows that picture's display copy, also from a master of masters.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { displayName, makeTempDir } from './support/archive.mjs';
import { browserMissing, launch, skipUnless } from './support/browsers.mjs';
import { Viewer } from './support/viewer.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const zendrel = process.env.ZENDREL || path.join(here, '..', '..', 'build', 'zendrel');

// The demo's sample pictures, shared out over three subdirectories; "c" also
// has a name outside ASCII.
const FOLDERS = {
  a: ['IMG_0001.JPG', 'IMG_0002.JPG'],
  b: ['IMG_0003.JPG', 'evening.jpg'],
  c: ['Café.jpg', 'garden.jpg', 'upside_down.jpg'],
};

function run(...args) {
  return execFileSync(zendrel, args, { encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'] });
}

// The master's records as `zendrel records` lists them: thumb, file, path...
function masterRecords(dir) {
  return run('records', dir).split('\n').filter((l) => l).map((l) => {
    const [thumb, file, folder, source] = l.split('\t');
    return { thumb, file, folder, source };
  });
}

const missing = skipUnless(browserMissing('chromium') ||
  (!fs.existsSync(zendrel) && `${zendrel} is missing: build it first`));

describe('master archive in chromium', { skip: missing }, () => {
  let work;
  let master;
  let records;
  let browser;
  let viewer;

  before(async () => {
    work = makeTempDir('zendrel-master-');
    run('demo', path.join(work, 'demo'));
    const samples = path.join(work, 'demo', 'sample-pictures');
    master = path.join(work, 'master');
    for (const [folder, names] of Object.entries(FOLDERS)) {
      const source = path.join(work, 'pictures', folder);
      fs.mkdirSync(source, { recursive: true });
      for (const name of names) fs.copyFileSync(path.join(samples, name), path.join(source, name));
      const dest = path.join(master, folder);
      fs.mkdirSync(dest, { recursive: true });
      run('build', '--source', source, '--dest', dest, '--copy', 'no');
    }
    // Neither a subdirectory without a page nor a plain file contributes.
    fs.mkdirSync(path.join(master, 'empty'));
    fs.writeFileSync(path.join(master, 'notes.txt'), 'not an archive\n');
    run('master', master);
    records = masterRecords(master);

    browser = await launch('chromium');
    viewer = new Viewer(await browser.newPage());
  });
  after(async () => {
    if (browser) await browser.close();
    if (work) fs.rmSync(work, { recursive: true, force: true });
  });

  const open = () => viewer.open(pathToFileURL(path.join(master, 'archive.htm')).href);
  const thumbsOf = (folder) => records.filter((r) => r.thumb.startsWith(`${folder}/`))
    .map((r) => r.thumb).sort();

  test('the master holds every picture of the three subdirectories', () => {
    assert.equal(records.length, 7);
    for (const [folder, names] of Object.entries(FOLDERS)) {
      assert.equal(thumbsOf(folder).length, names.length, folder);
      for (const r of records.filter((x) => x.thumb.startsWith(`${folder}/`))) {
        assert.match(r.thumb, new RegExp(`^${folder}/_[0-9A-Z]{7}\\.jpg$`));
        assert.equal(r.file, `${folder}/`);
        assert.ok(r.folder.endsWith(`\\\\${folder}`), r.folder);
      }
    }
  });

  test('the thumbnail table shows every picture, each thumbnail loaded', async () => {
    await open();
    await viewer.start();
    await viewer.search({ text: '', cols: 4 });
    await viewer.results('show');
    const shown = await viewer.page.evaluate(() => [...self.show.document.querySelectorAll('td img')]
      .map((i) => ({ src: i.getAttribute('src'), width: i.naturalWidth })));
    assert.deepEqual(shown.map((i) => i.src), records.map((r) => r.thumb));
    for (const image of shown) assert.equal(image.width, 96, image.src);
    assert.deepEqual(viewer.errors, []);
  });

  test('a folder search lists just that folder\'s pictures', async () => {
    for (const folder of Object.keys(FOLDERS)) {
      await open();
      await viewer.start();
      const link = (await viewer.frame('show')).links.find((l) => l.endsWith(`\\${folder}`));
      assert.ok(link, `a folder link for ${folder}`);
      await viewer.click('show', link);
      const film = await viewer.results('film');
      assert.deepEqual([...film.images].sort(), thumbsOf(folder));
      assert.ok(film.loaded, 'thumbnails load');
    }
    assert.deepEqual(viewer.errors, []);
  });

  test('the detail view of a picture from each subdirectory shows its display copy', async () => {
    for (const folder of Object.keys(FOLDERS)) {
      await open();
      await viewer.start();
      await viewer.search({ text: '', cols: 4 });
      await viewer.results('show');
      const index = records.findIndex((r) => r.thumb.startsWith(`${folder}/`));
      await viewer.clickImage('show', index);
      await viewer.until(() => self.show.document.images.length === 1 &&
        self.show.document.images[0].complete);
      const shown = await viewer.page.evaluate(() => {
        const image = self.show.document.images[0];
        return { src: image.getAttribute('src'), width: image.naturalWidth,
          text: self.show.document.body.innerText };
      });
      assert.match(shown.src, new RegExp(`^${folder}/_[0-9A-Z]{7}\\.jpg$`));
      assert.equal(shown.src, displayName(records[index].thumb));
      assert.ok(shown.width > 96, `${shown.src} is ${shown.width} pixels wide`);
      assert.ok(shown.text.includes(records[index].source), shown.text);
    }
    assert.deepEqual(viewer.errors, []);
  });

  test('a master of masters shows the display copy under both prefixes', async () => {
    // The work directory's one subdirectory with a page is the master.
    run('master', work);
    const outer = masterRecords(work);
    assert.deepEqual(outer.map((r) => r.thumb), records.map((r) => `master/${r.thumb}`));
    await viewer.open(pathToFileURL(path.join(work, 'archive.htm')).href);
    await viewer.start();
    await viewer.search({ text: '', cols: 4 });
    await viewer.results('show');
    const index = outer.length - 1;
    await viewer.clickImage('show', index);
    await viewer.until(() => self.show.document.images.length === 1 &&
      self.show.document.images[0].complete);
    const shown = await viewer.page.evaluate(() => [self.show.document.images[0].getAttribute('src'),
      self.show.document.images[0].naturalWidth]);
    assert.equal(shown[0], displayName(outer[index].thumb));
    assert.ok(shown[1] > 96, `${shown[0]} is ${shown[1]} pixels wide`);
    assert.deepEqual(viewer.errors, []);
  });
});
