#!/usr/bin/env node
// Saves screenshots of the archive page into docs/screenshots/: the welcome
// page, the thumbnail table and the detail view, in headless Chromium.
//
//   node tools/screenshots-page.mjs               makes the demo archive first
//                                                  (build/zendrel demo)
//   node tools/screenshots-page.mjs --archive DIR  uses DIR/archive.htm
//   ... --detail N                                 shows the Nth picture (from 0)
//                                                  in the detail view
//
// Needs `npm install` done in tests/browser (tools/install-deps.sh does it).
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { launch } from '../tests/browser/support/browsers.mjs';
import { Viewer } from '../tests/browser/support/viewer.mjs';

const root = path.join(path.dirname(fileURLToPath(import.meta.url)), '..');
const out = path.join(root, 'docs', 'screenshots');

function archiveDir() {
  const given = process.argv.indexOf('--archive');
  if (given > 0) return path.resolve(process.argv[given + 1]);
  const demo = fs.mkdtempSync(path.join(os.tmpdir(), 'zendrel-demo-'));
  const zendrel = process.env.ZENDREL || path.join(root, 'build', 'zendrel');
  execFileSync(zendrel, ['demo', demo], { stdio: 'inherit' });
  return path.join(demo, 'archive');
}

const dir = archiveDir();

// The third picture of the demo stands upright; `--detail N` picks another.
function detailIndex() {
  const given = process.argv.indexOf('--detail');
  return given > 0 ? Number(process.argv[given + 1]) : 2;
}
const page = path.join(dir, 'archive.htm');
if (!fs.existsSync(page)) {
  console.error(`screenshots-page: ${page} does not exist`);
  process.exit(1);
}
fs.mkdirSync(out, { recursive: true });

const browser = await launch('chromium');
try {
  const tab = await browser.newPage();
  await tab.setViewport({ width: 1000, height: 800 });
  const viewer = new Viewer(tab);
  const allLoaded = () => [self.show, self.film].every((w) =>
    [...w.document.images].every((i) => i.complete));
  const save = async (name) => {
    await viewer.until(allLoaded);
    const file = path.join(out, `page-${name}.png`);
    await tab.screenshot({ path: file });
    console.log(`wrote ${path.relative(root, file)}`);
  };

  await viewer.open(pathToFileURL(page).href);
  await save('welcome');

  await viewer.start();
  await viewer.search({ text: '', cols: 5, titles: true });
  await viewer.results('show');
  await save('thumbnails');

  // A portrait picture: its display copy and description fit side by side.
  await viewer.clickImage('show', detailIndex());
  await viewer.until(() => self.show.document.body.innerHTML.indexOf('showBlack') >= 0);
  await save('detail');

  if (viewer.errors.length) {
    console.error(`screenshots-page: the page reported errors:\n${viewer.errors.join('\n')}`);
    process.exitCode = 1;
  }
} finally {
  await browser.close();
}
