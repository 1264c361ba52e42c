// The page value fuzzer's judge: reads one request a line from standard
// input, "<field> <page base64> <expected base64 or ->", and answers "ok" or
// "FAIL <why>" on standard output. A page passes when its script block ends
// where a browser ends it (the page's own closing tag), the whole script
// parses in V8, and its one record reads back with the fuzzed value in its
// own field and every other field as written.
import readline from 'node:readline';
import vm from 'node:vm';

const cp1252 = new TextDecoder('windows-1252');
const context = vm.createContext({});  // one for all pages: making one costs more than a page

// The text of the first script element, ended as an HTML parser ends it
// (script data, escaped and double-escaped states), or null when it never ends.
function scriptText(html) {
  const open = html.search(/<script[\s>]/i);
  if (open < 0) return null;
  const start = html.indexOf('>', open) + 1;
  const tagEnd = (i, name) =>
    html.slice(i, i + name.length).toLowerCase() === name && /[\t\n\f\r />]/.test(html[i + name.length] ?? '');
  let state = 'data';
  for (let i = start; i < html.length; ++i) {
    if (state === 'data') {
      if (html.startsWith('<!--', i)) { state = 'escaped'; i += 3; continue; }
      if (tagEnd(i, '</script')) return html.slice(start, i);
    } else if (state === 'escaped') {
      if (html.startsWith('-->', i)) { state = 'data'; i += 2; continue; }
      if (tagEnd(i, '</script')) return html.slice(start, i);
      if (tagEnd(i, '<script')) { state = 'double'; i += 6; continue; }
    } else {  // double escaped: only "-->" or "</script" leads out
      if (html.startsWith('-->', i)) { state = 'data'; i += 2; continue; }
      if (tagEnd(i, '</script')) { state = 'escaped'; i += 7; continue; }
    }
  }
  return null;
}

function judge(field, page, expected) {
  const html = cp1252.decode(page);
  const script = scriptText(html);
  if (script === null) return 'the script block never ends';
  if (!script.includes('var pickedItem;')) return 'the script block ends before the tail';
  try {
    new vm.Script(script);
  } catch (e) {
    return 'the script does not parse: ' + e.message;
  }
  const lines = script.split(/\r\n|\r|\n/);
  const first = lines.findIndex((l) => l.startsWith('cat.add'));
  if (first < 0) return 'no record line';
  if (lines.slice(first + 1).some((l) => l.startsWith('cat.add'))) return 'two record lines';
  const statement = lines.slice(first, first + 5).join('\n');
  let args;
  try {
    args = vm.runInContext(
      '(function () { var out; var cat = {add: function (p) { out = p; }};' +
        'function Pic() { this.args = Array.prototype.slice.call(arguments); }\n' +
        statement + '\n; return out.args; })()', context);
  } catch (e) {
    return 'the record does not run: ' + e.message;
  }
  if (args.length !== 10) return `the record has ${args.length} values`;
  for (let k = 0; k < 10; ++k) {
    if (k !== field && args[k] !== 'v' + k) return `field ${k} reads ${JSON.stringify(args[k])}`;
  }
  if (typeof args[field] !== 'string') return 'the value is not a string';
  if (expected !== null && args[field] !== expected)
    return `the value reads ${JSON.stringify(args[field])}, not ${JSON.stringify(expected)}`;
  return null;
}

const lines = readline.createInterface({ input: process.stdin });
for await (const line of lines) {
  const [field, page, expected] = line.split(' ');
  const failure = judge(
    Number(field), Buffer.from(page, 'base64'),
    expected === '-' ? null : cp1252.decode(Buffer.from(expected, 'base64')));
  process.stdout.write(failure === null ? 'ok\n' : 'FAIL ' + failure.replace(/\n/g, ' ') + '\n');
}
