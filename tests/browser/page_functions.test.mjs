// The page's script functions, run in Node on the script exactly as the
// writers emit it (head, record lines, tail of a page made by write_page).
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { before, describe, test } from 'node:test';
import vm from 'node:vm';
import { makeTempDir, writeArchive } from './support/archive.mjs';

// The script block's text, between its opening and closing tags.
function scriptOf(page) {
  const text = fs.readFileSync(page, 'latin1');
  const open = '<script language="JavaScript">\r\n';
  return text.slice(text.indexOf(open) + open.length, text.indexOf('</script>'));
}

function loadPage(records) {
  const dir = makeTempDir('zendrel-functions-');
  const context = vm.createContext({});
  vm.runInContext(scriptOf(writeArchive(dir, records, { pictures: false })), context);
  fs.rmSync(dir, { recursive: true });
  return context;
}

// The names of the functions the page calls from its links, handlers,
// listeners and timers, in any frame it writes.
function calledFunctions(text) {
  const patterns = [/\bparent\.([A-Za-z_$][\w$]*)\(/g, /\bon[a-z]+=\\?"([A-Za-z_$][\w$]*)\(/g,
    /addEventListener\("\w+", (?:parent\.)?([A-Za-z_$][\w$]*)[,)]/g,
    /setTimeout\((?:parent\.)?([A-Za-z_$][\w$]*)[,)]/g];
  return new Set(patterns.flatMap((pattern) => [...text.matchAll(pattern)].map((m) => m[1])));
}

const words = (list) => Array.from(list.word.slice(0, list.count));
const pic = (thumb, fields) => ({ thumb, path: 'C:\\\\P', picdate: 'May 1, 2000', ...fields });

describe('page functions', () => {
  let page;
  before(() => {
    page = loadPage([
      pic('_AAAAAA0.jpg', { title: 'Cat and dog', subject: 'cats', comment: 'A dog' }),
      pic('_AAAAAA8.jpg', { title: 'Dog', picdate: 'constructor' }),
      pic('_AAAAAAH.jpg', { title: 'the a an', subject: 'OR', picdate: '__proto__' }),
      pic('_AAAAAAR.jpg', { title: 'cat', path: 'D:\\\\Other' }),
    ]);
  });

  test('every function the page calls is defined by its script', () => {
    const dir = makeTempDir('zendrel-calls-');
    const text = fs.readFileSync(writeArchive(dir, [pic('_AAAAAA0.jpg', {})], { pictures: false }),
      'latin1');
    fs.rmSync(dir, { recursive: true });
    const context = vm.createContext({});
    const open = '<script language="JavaScript">\r\n';
    vm.runInContext(text.slice(text.indexOf(open) + open.length, text.indexOf('</script>')), context);
    const called = [...calledFunctions(text)];
    // The links of the viewer, the search, the slide show and the start.
    for (const name of ['showPic', 'doSearch', 'setSlide', 'startFrames', 'pageKey']) {
      assert.ok(called.includes(name), `${name} is not called from the page: the scan missed it`);
    }
    assert.deepEqual(called.filter((name) => typeof context[name] !== 'function'), []);
  });

  test('parseKeywords splits at separators, drops stop words and duplicates', () => {
    assert.deepEqual(words(page.parseKeywords("The Cat's box, and a dog-house.\tMORE;cat/x")),
      ['cat ', 'box ', 'dog ', 'house ', 'more ', 'x ']);
    assert.deepEqual(words(page.parseKeywords('  ,;.  ')), []);
    assert.deepEqual(words(page.parseKeywords('a an and or the')), []);
    assert.deepEqual(words(page.parseKeywords('\u00fc')), [' ']);
    assert.deepEqual(words(page.parseKeywords('back\\slash\bx\fy')), ['back ', 'slash ', 'x ', 'y ']);
  });

  test('words in other scripts are found whether typed or stored as references', () => {
    assert.deepEqual(words(page.parseKeywords('&#26085;&#26412; trip &#931;&#945;')),
      ['\u65e5\u672c ', 'trip ', '\u03c3\u03b1 ']);
    assert.deepEqual(words(page.parseKeywords('\u65e5\u672c, \u03a3\u03b1')),
      ['\u65e5\u672c ', '\u03c3\u03b1 ']);
    assert.deepEqual(words(page.parseKeywords('&#128512; &#0; &#99999999;')),
      ['\ud83d\ude00 ', '0 ', '99999999 ']);  // no character: left as digits
    // Neighbouring characters in the same block stay apart.
    assert.notDeepEqual(words(page.parseKeywords('\u65e5')), words(page.parseKeywords('\u75e5')));
  });

  test('normalizeWord drops a trailing \'s and what escape() encodes', () => {
    assert.equal(page.normalizeWord("it's"), 'it ');
    assert.equal(page.normalizeWord('\u00fcber'), 'ber ');
    assert.equal(page.normalizeWord('a+b@c*_/.-'), 'a+b@c*_/.- ');
    assert.equal(page.normalizeWord('say"<hi>&'), 'sayhi ');
    assert.equal(page.normalizeWord(''), ' ');
  });

  test('myDate puts year, month and day in front', () => {
    assert.equal(page.myDate('March 5, 1999'), '19990305March 5, 1999');
    assert.equal(page.myDate('December 25, 2000'), '20001225December 25, 2000');
    assert.equal(page.myDate('June 2001'), '20010600June 2001');
    assert.equal(page.myDate('Foo 1, 2000'), '20000001Foo 1, 2000');
    assert.equal(page.monthnum('Sep'), '09');
    assert.equal(page.monthnum('sep'), '00');
  });

  test('sortDates orders the date index and gives back every text whole', () => {
    const p = loadPage(['July 4, 2002', 'June 2001', 'March 5, 1999', 'July 4, 2002',
      'March 99', '', 'January 10, 2002'].map((d, i) => pic(`_AAAAA${i}0.jpg`, { picdate: d })));
    p.sortDates();
    const order = ['', 'March 5, 1999', 'June 2001', 'January 10, 2002', 'July 4, 2002', 'March 99'];
    assert.deepEqual([...p.cat.picdate.words], order);
    p.sortDates();
    assert.deepEqual([...p.cat.picdate.words], order);
    assert.equal(p.cat.picdate.item['July 4, 2002'].count, 2);
  });

  test('nextfile names the display copy, also in a subdirectory', () => {
    const cases = {
      '_ABCDEF0.jpg': '_ABCDEF1.jpg', '_ABCDEF8.jpg': '_ABCDEF9.jpg',
      '_ABCDEFH.jpg': '_ABCDEFJ.jpg', '_ABCDEFR.jpg': '_ABCDEFS.jpg',
      'sub/_ABCDEF0.jpg': 'sub/_ABCDEF1.jpg', 'a/b/_ABCDEFR.jpg': 'a/b/_ABCDEFS.jpg',
      'sub.d/_ABCDEF8.jpg': 'sub.d/_ABCDEF9.jpg',
    };
    for (const [thumb, display] of Object.entries(cases)) assert.equal(page.nextfile(thumb), display);
    for (const same of ['_ABCDEF7.jpg', '_ABCDEFG.jpg', '_ABCDEFQ.jpg', '_ABCDEFZ.jpg',
      '_ABCDEFE.jpg', '_ABCDEFa.jpg', 'x.jpg', '', 'sub/', 'sub/_AB.jpg']) {
      assert.equal(page.nextfile(same), same);
    }
  });

  test('shortTitle cuts at a blank near 32 characters and breaks long words', () => {
    const short = 'ab cd ef gh ij kl mn op qr st uv wx yz';
    const [a, b, c, d] = ['a', 'b', 'c', 'd'].map((ch) => (n) => ch.repeat(n));
    assert.equal(page.shortTitle(`${a(10)} ${b(10)} ${c(10)} tail`), `${a(10)} ${b(10)} ${c(10)}`);
    assert.equal(page.shortTitle(`${a(9)} ${b(9)} ${c(10)} dd ee`), `${a(9)} ${b(9)} ${c(10)}`);
    assert.equal(page.shortTitle(`${a(8)} ${b(8)} ${c(10)} ${d(11)}`), `${a(8)} ${b(8)} ${c(10)} dd`);
    assert.equal(page.shortTitle('x '.repeat(20)), 'x x x x x x x x x x x x x x x x');
    assert.equal(page.shortTitle(short), short.slice(0, 32));
    assert.equal(page.shortTitle('y'.repeat(40)), `${'y'.repeat(9)}<br>${'y'.repeat(13)}<br>${'y'.repeat(9)}`);
    assert.equal(page.shortTitle('w'.repeat(20)), `${'w'.repeat(9)}<br>${'w'.repeat(11)}`);
    assert.equal(page.shortTitle(`A big ${'z'.repeat(18)}`), `A big zzz<br>${'z'.repeat(15)}`);
    assert.equal(page.shortTitle(`Hello there ${'z'.repeat(17)}`),
      `Hello there ${'z'.repeat(12)}<br>${'z'.repeat(5)}`);
    assert.equal(page.shortTitle('Short enough'), 'Short enough');
  });

  test('titles in other scripts are shortened whole characters at a time', () => {
    const ref = (text) => Array.from(text, (ch) => `&#${ch.codePointAt(0)};`).join('');
    // Per script: a title longer than 32 characters, cut at a blank, and a
    // long word broken after its ninth character.
    for (const chars of ['\u6771\u4eac\u30bf\u30ef\u30fc\u306e\u591c\u666f', '\u0391\u03b8\u03ae\u03bd\u03b1', '\u041c\u043e\u0441\u043a\u0432\u0430', '\ud83d\ude00\ud83c\udf05']) {
      const word = Array.from(chars);
      const long = Array.from({ length: 20 }, (_, i) => word[i % word.length]);
      for (const form of [(list) => ref(list.join('')), (list) => list.join('')]) {
        const got = page.shortTitle(form(long));
        assert.equal(got, `${form(long.slice(0, 9))}<br>${form(long.slice(9))}`);
        const words = `${form(long.slice(0, 10))} ${form(long.slice(0, 10))} ${form(long.slice(0, 10))} x`;
        assert.equal(page.shortTitle(words), words.slice(0, -2));
      }
    }
    // Entities and tags count as one character; nothing is cut inside them.
    assert.equal(page.shortTitle(`${'ab '.repeat(9)}abc&amp;&eacute;&#8364;`), `${'ab '.repeat(9)}abc&amp;`);
    assert.equal(page.shortTitle(`<b>${'q'.repeat(17)}</b>`), `<b>${'q'.repeat(8)}<br>${'q'.repeat(9)}</b>`);
  });

  test('names show as text with the characters their references stand for', () => {
    assert.equal(page.decodeRefs('C:\\Fotos\\&#26085;&#26412;\\&#128512;'), 'C:\\Fotos\\\u65e5\u672c\\\ud83d\ude00');
    // A reference the code page holds, or no character, stays as written.
    assert.equal(page.decodeRefs('caf&#233; &#8364; &#0; &#55296; &#1114112; &#38;#233;'),
      'caf&#233; &#8364; &#0; &#55296; &#1114112; &#233;');
    assert.equal(page.nameText('<img src=x onerror=alert(1)>&#38;"q\'.jpg'),
      '&lt;img src=x onerror=alert(1)&gt;&amp;&quot;q\'.jpg');
    assert.equal(page.refText('\u65e5 \u20ac \u00e9 \ud83d\ude00'), '&#26085; \u20ac \u00e9 &#128512;');
    assert.equal(page.decodeRefs(page.refText('a\u4e00\u0100\ud83c\udf05')), 'a\u4e00\u0100\ud83c\udf05');
    const alt = (fields) => page.altText({ title: '', source: '', file: '', thumb: '_T.jpg', ...fields });
    assert.equal(alt({ title: '<b>T&#26085;</b> "x"' }), 'T&#26085; &quot;x&quot;');
    assert.equal(alt({ title: ' <br> ', source: '&#26085;<x>.jpg' }), '\u65e5&lt;x&gt;.jpg');
    assert.equal(alt({}), '_T.jpg');
  });

  test('checkPlural adds plural forms once', () => {
    const list = page.parseKeywords('box church bash bath cats cat ox b');
    page.checkPlural(list);
    assert.deepEqual(words(list), ['box ', 'church ', 'bash ', 'bath ', 'cats ', 'cat ', 'ox ',
      'b ', 'boxes ', 'churches ', 'bashes ', 'baths ', 'oxes ']);
  });

  test('_array_qsort sorts any range in place', () => {
    const cmp = (a, b) => a - b;
    let seed = 7;
    const random = () => (seed = (seed * 1103515245 + 12345) % 2147483648) % 50;
    for (const n of [0, 1, 2, 3, 10, 200]) {
      for (const make of [random, (i) => i, (i) => -i, () => 4]) {
        const data = Array.from({ length: n }, (_, i) => make(i));
        const copy = [...data];
        page._array_qsort(data, 0, n - 1, cmp);
        assert.deepEqual(data, [...copy].sort(cmp));
      }
    }
    const part = [9, 8, 7, 6, 5, 4];
    page._array_qsort(part, 1, 4, cmp);
    assert.deepEqual(part, [9, 5, 6, 7, 8, 4]);
    const texts = ['b', 'a', 'c', 'B'];
    page.array_qsort(texts, 0, 3, null);
    assert.deepEqual(texts, ['B', 'a', 'b', 'c']);
    assert.equal(page.array_qsort(null, 0, 3, null), undefined);
  });

  test('SearchIndex scores each picture by the entries it matched', () => {
    page.results = null;
    const found = page.cat.title.find(page.parseKeywords('dog cat'), null);
    const scores = Array.from(found.item.slice(0, found.count), (r) => [r.object.num, r.score]);
    assert.deepEqual(scores.slice(0, 1), [[1, 2]]);
    assert.deepEqual(scores.slice(1).sort(), [[2, 1], [4, 1]]);
    // Consecutive searches add up while `results` is kept.
    page.results = found;
    const again = page.cat.title.find(page.parseKeywords('cats'), null);
    assert.equal(again, found);
    assert.equal(again.item[0].object.num, 1);
    assert.equal(again.item[0].score, 3);
    page.results = null;
    assert.equal(page.cat.title.find(page.parseKeywords(''), null).count, 0);
  });

  test('the catalogue keeps folder and date keys of any text', () => {
    assert.deepEqual([...page.cat.path.words], ['C:\\p', 'D:\\other']);
    assert.deepEqual([...page.cat.picdate.words], ['May 1, 2000', 'constructor', '__proto__']);
    assert.equal(page.cat.picdate.item.constructor.item[0].num, 2);
    assert.equal(page.cat.picdate.item.__proto__.item[0].num, 3);
    assert.equal(page.cat.pic[2].num, 3);
  });

  // The scores and the order of results are those of a plain scan of the
  // list for every match, which the page replaced by a lookup.
  test('AddResult keeps the scores and order of a linear scan', () => {
    const records = Array.from({ length: 300 }, (_, i) => pic(`_A${String(i).padStart(5, '0')}0.jpg`,
      { title: ['red', 'green', 'blue', 'cyan'].filter((_, k) => (i * 7 + k * i) % (k + 2) === 0).join(' ') }));
    const p = loadPage(records);
    const q = loadPage(records);
    q.AddResult = function (object) {
      for (let i = 0; i < this.count; i++) {
        if (this.item[i].object === object) {
          this.item[i].score++;
          return;
        }
      }
      this.item[this.count++] = new q.Result(object, 1);
    };
    q.ResultList.prototype = undefined;
    vm.runInContext('ResultList = (function (make) { return function () { var r = make.call(this); r.add = AddResult; return r; }; })(ResultList);', q);
    for (const text of ['red', 'red green', 'blue cyan red', 'green blue']) {
      p.results = null;
      q.results = null;
      const a = p.cat.title.find(p.parseKeywords(text), null);
      p.results = a;
      p.cat.path.find(p.parseDate(text), null);
      const b = q.cat.title.find(q.parseKeywords(text), null);
      q.results = b;
      q.cat.path.find(q.parseDate(text), null);
      const pairs = (list) => Array.from(list.item.slice(0, list.count), (r) => `${r.object.num}:${r.score}`);
      assert.ok(a.count > 10, text);
      assert.deepEqual(pairs(a), pairs(b), text);
    }
  });

  test('a list is written with the groups of its screen and stand-ins for all the rest', () => {
    // count, columns, frame height, kept item (scroll offset), remembered pitch
    const cases = [
      [10000, 8, 800, null, null], [10000, 8, 800, [5000, 64000], 104],
      [10000, 8, 800, [9999, 0], 104], [10, 8, 800, null, null], [7, 8, 600, [6, 0], 100],
      [50000, 1, 776, null, null], [50000, 1, 776, [25000, 2525000], 101], [1001, 8, 300, null, null],
    ];
    for (const [count, cols, height, kept, pitch] of cases) {
      const frame = { innerHeight: height, innerWidth: 1152 };
      Object.assign(page, {
        self: page, show: frame, film: frame, searchAddress: 'search=',
        control: { document: { cont: { viewcols: { value: String(cols) }, titles: { checked: false } } } },
        results: { count, item: Array.from({ length: count }, (_, i) => ({ object: pic(`_${i}.jpg`, {}) })) },
        listPitches: Object.fromEntries(['show 8', 'show 7', 'film 1']
          .map((kind) => [kind, { pitch, gap: 2 }]).filter(() => pitch)),
        listPlace: kept && { address: 'search=', cols: Math.min(cols, count), titles: false, frame,
          item: kept[0], scroll: kept[1] },
      });
      const plan = page.listPlan();
      const name = `${count} in ${cols} columns, ${height} high, kept ${kept}`;
      const cells = [...plan.text.matchAll(/showPic\((\d+)\)/g)].map((m) => Number(m[1]));
      const standIns = [...plan.text.matchAll(/\* (\d+) - var/g)].map((m) => Number(m[1]));
      const columns = Math.min(cols, count);
      assert.equal(cells[0], plan.from * plan.chunk, name);
      assert.ok(cells.every((n, i) => i === 0 || n === cells[i - 1] + 1), name);
      assert.equal(cells.length, Math.min((plan.to + 1) * plan.chunk, count) - plan.from * plan.chunk, name);
      assert.equal(standIns.reduce((a, b) => a + b, 0) + Math.ceil(cells.length / columns),
        Math.ceil(count / columns), `every row has its height: ${name}`);
      assert.equal(standIns.length, (plan.from > 0) + (plan.to < plan.groups - 1), name);
      if (kept) assert.ok(cells.includes(kept[0]), `the kept picture is written: ${name}`);
      const bottom = (plan.to + 1) * (plan.chunk / columns) * (pitch || 104);
      assert.ok(plan.to === plan.groups - 1 || bottom >= plan.scroll + height,
        `the screen is written: ${name}`);
    }
  });
});
