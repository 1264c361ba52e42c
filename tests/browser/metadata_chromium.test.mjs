// An archive built by the real program with --metadata from pictures whose
// descriptions exiftool wrote, opened from disk in headless Chromium: a
// keyword search and a date search find the pictures those came from.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { fixtures, makeTempDir } from './support/archive.mjs';
import { browserMissing, launch, skipUnless } from './support/browsers.mjs';
import { Viewer } from './support/viewer.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const zendrel = process.env.ZENDREL || path.join(here, '..', '..', 'build', 'zendrel');

function exiftoolMissing() {
  try {
    execFileSync('exiftool', ['-ver'], { stdio: 'ignore' });
    return false;
  } catch {
    return 'exiftool (libimage-exiftool-perl) is not installed';
  }
}

// What exiftool writes into each picture.
const PICTURES = {
  'harbour.jpg': ['-XMP-dc:Title=Harbour', '-XMP-dc:Subject=boats', '-XMP-dc:Subject=fog',
    '-EXIF:DateTimeOriginal=2001:02:03 10:00:00'],
  'garden.jpg': ['-IPTC:Keywords=roses', '-IPTC:Keywords=bench', '-IPTC:DateCreated=1999:07:14'],
  'lane.jpg': ['-XMP-lr:HierarchicalSubject=Places|France|Brest',
    '-XMP-photoshop:DateCreated=2001-02-03'],
  'plain.jpg': [],
  // A scanned print: its year alone, keywords of several words, a program's
  // own tags beside them, a caption with markup.
  'scan.jpg': ['-XMP-dc:Subject=old town', '-XMP-dc:Subject=Saint-Malo',
    '-XMP-dc:Subject=darktable|format|jpg', '-XMP-lr:HierarchicalSubject=darktable|changed',
    '-XMP-photoshop:DateCreated=1987', '-EXIF:ImageDescription=<img src=x onerror=alert(1)>'],
};

const missing = skipUnless(browserMissing('chromium') || exiftoolMissing() ||
  (!fs.existsSync(zendrel) && `${zendrel} is missing: build it first`));

describe('archive with descriptions from the pictures in chromium', { skip: missing }, () => {
  let work;
  let dest;
  let thumbOf;
  let browser;
  let viewer;

  before(async () => {
    work = makeTempDir('zendrel-metadata-');
    const source = path.join(work, 'pictures');
    dest = path.join(work, 'archive');
    fs.mkdirSync(source);
    for (const [name, tags] of Object.entries(PICTURES)) {
      const file = path.join(source, name);
      fs.copyFileSync(path.join(fixtures, 'picture.jpg'), file);
      if (tags.length) execFileSync('exiftool', ['-q', '-overwrite_original', ...tags, file]);
    }
    execFileSync(zendrel, ['build', '--source', source, '--dest', dest, '--copy', 'no',
      '--metadata'], { stdio: 'ignore' });
    const records = execFileSync(zendrel, ['records', dest], { encoding: 'utf8' })
      .split('\n').filter((l) => l).map((l) => l.split('\t'));
    thumbOf = Object.fromEntries(records.map((r) => [r[3], r[0]]));
    browser = await launch('chromium');
    viewer = new Viewer(await browser.newPage());
  });
  after(async () => {
    if (browser) await browser.close();
    if (work) fs.rmSync(work, { recursive: true, force: true });
  });

  const search = async (options) => {
    await viewer.open(pathToFileURL(path.join(dest, 'archive.htm')).href);
    await viewer.start();
    await viewer.search(options);
    const film = await viewer.results('film');
    return [...film.images].sort();
  };
  const thumbs = (...names) => names.map((n) => thumbOf[n]).sort();

  test('a keyword search finds the pictures that carry the keyword', async () => {
    assert.equal(Object.keys(thumbOf).length, 5);
    assert.deepEqual(await search({ text: 'boats' }), thumbs('harbour.jpg'));
    assert.deepEqual(await search({ text: 'roses' }), thumbs('garden.jpg'));
    assert.deepEqual(await search({ word: 'brest' }), thumbs('lane.jpg'));
    assert.deepEqual(viewer.errors, []);
  });

  test('each keyword finds its picture; a program\'s own tags are no keywords', async () => {
    for (const word of ['old town', 'town', 'Saint-Malo', 'malo']) {
      assert.deepEqual(await search({ text: word }), thumbs('scan.jpg'), word);
    }
    assert.deepEqual(await search({ text: 'darktable' }), []);
    assert.deepEqual(await search({ end: '1987' }), thumbs('scan.jpg'));
    assert.deepEqual(viewer.errors, []);
  });

  test('a date search finds the pictures taken that day', async () => {
    assert.deepEqual(await search({ end: 'February 3, 2001' }), thumbs('harbour.jpg', 'lane.jpg'));
    assert.deepEqual(await search({ end: 'July 14, 1999' }), thumbs('garden.jpg'));
    assert.deepEqual(await search({ start: 'July 14, 1999', end: 'February 3, 2001' }),
      thumbs('harbour.jpg', 'garden.jpg', 'lane.jpg'));
    assert.deepEqual(viewer.errors, []);
  });
});
