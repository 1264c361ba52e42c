// Writes archive pages for the tests with the project's own writers (the
// write_page tool), gives them pictures, and serves them over loopback HTTP.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
export const fixtures = path.join(here, '..', 'fixtures');

export function writePageTool() {
  const dir = process.env.ZENDREL_BINARY_DIR || path.join(here, '..', '..', '..', 'build');
  const tool = path.join(dir, 'write_page');
  if (!fs.existsSync(tool)) {
    throw new Error(`${tool} is missing: build it with "cmake --build build --target write_page"`);
  }
  return tool;
}

// A record is an object with the ten fields of a picture; missing ones are
// empty. `path` is given in its stored form (backslashes doubled).
export const FIELDS = ['thumb', 'file', 'path', 'source', 'title', 'subject', 'category',
  'comment', 'author', 'picdate'];

function encodeField(value) {
  return String(value ?? '').replace(/%/g, '%25').replace(/\t/g, '%09')
    .replace(/\r/g, '%0D').replace(/\n/g, '%0A');
}

export function recordsText(records) {
  return records.map((r) => FIELDS.map((f) => encodeField(r[f])).join('\t')).join('\n') + '\n';
}

// The writer's display-copy rule, to place the pictures the page will ask for.
export function displayName(thumb) {
  const alphabet = '0123456789ABCDFGHJKLMNPQRSTVWXYZ';
  const slash = thumb.lastIndexOf('/');
  const name = thumb.slice(slash + 1);
  const k = alphabet.indexOf(name[7]);
  return thumb.slice(0, slash + 1) + name.slice(0, 7) + alphabet[k + 1] + '.jpg';
}

export function makeTempDir(prefix) {
  return fs.mkdtempSync(path.join(os.tmpdir(), prefix));
}

// Writes DIR/archive.htm from `records`; with `pictures`, also every
// thumbnail, display copy and texture.jpg. Returns the page's path.
export function writeArchive(dir, records, { pictures = true } = {}) {
  fs.mkdirSync(dir, { recursive: true });
  const tsv = path.join(dir, 'records.tsv');
  fs.writeFileSync(tsv, recordsText(records));
  const page = path.join(dir, 'archive.htm');
  execFileSync(writePageTool(), [tsv, page], { stdio: ['ignore', 'ignore', 'inherit'] });
  if (pictures) {
    const jpeg = path.join(fixtures, 'picture.jpg');
    const names = ['texture.jpg'];
    for (const r of records) names.push(r.thumb, displayName(r.thumb));
    for (const name of names) {
      fs.mkdirSync(path.dirname(path.join(dir, name)), { recursive: true });
      fs.copyFileSync(jpeg, path.join(dir, name));
    }
  }
  return page;
}

const types = { '.htm': 'text/html', '.jpg': 'image/jpeg' };

// Serves `dir` on 127.0.0.1 at a free port; resolves to { url, close }.
export function serve(dir) {
  const server = http.createServer((req, res) => {
    const name = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    const file = path.join(dir, path.normalize(name));
    if (!file.startsWith(dir) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      res.writeHead(404);
      res.end();
      return;
    }
    res.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(res);
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      resolve({
        url: `http://127.0.0.1:${server.address().port}/`,
        close: () => new Promise((done) => server.close(done)),
      });
    });
  });
}
