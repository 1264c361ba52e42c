// WebKit through WebDriver classic: WebKitWebDriver drives the WebKitGTK
// MiniBrowser under a private Xvfb display. The session is wrapped in the
// few page methods of puppeteer-core that the tests use (goto, evaluate,
// waitForFunction, on), so the same scenarios run in all three engines.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';

const DRIVER = '/usr/bin/WebKitWebDriver';
const XVFB = '/usr/bin/Xvfb';

export function miniBrowser() {
  const lib = '/usr/lib/x86_64-linux-gnu';
  let names = [];
  try {
    names = fs.readdirSync(lib).filter((n) => /^webkit2?gtk-[0-9.]+$/.test(n)).sort().reverse();
  } catch {
    return null;
  }
  for (const name of names) {
    const binary = `${lib}/${name}/MiniBrowser`;
    if (fs.existsSync(binary)) return binary;
  }
  return null;
}

export function webkitMissing() {
  if (!fs.existsSync(DRIVER)) return `${DRIVER} is not installed (webkit2gtk-driver)`;
  if (!fs.existsSync(XVFB)) return `${XVFB} is not installed (xvfb)`;
  if (!miniBrowser()) return 'the WebKitGTK MiniBrowser is not installed';
  return false;
}

function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
    server.on('error', reject);
  });
}

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// A display number that no other X server holds.
function freeDisplay() {
  for (let n = 90 + Math.floor(Math.random() * 200); ; n++) {
    if (!fs.existsSync(`/tmp/.X${n}-lock`) && !fs.existsSync(`/tmp/.X11-unix/X${n}`)) return n;
  }
}

class Session {
  constructor(base, id) {
    this.base = base;
    this.id = id;
  }

  async command(method, path, body) {
    const res = await fetch(`${this.base}/session/${this.id}${path}`, {
      method,
      headers: { 'Content-Type': 'application/json' },
      body: body === undefined ? undefined : JSON.stringify(body),
    });
    const reply = await res.json();
    if (reply.value && reply.value.error) {
      throw new Error(`WebDriver ${path}: ${reply.value.error}: ${reply.value.message}`);
    }
    return reply.value;
  }
}

// The parts of a puppeteer Page that the scenarios use.
class WebDriverPage {
  constructor(session) {
    this.session = session;
    this.listeners = { pageerror: [], console: [] };
  }

  on(event, fn) {
    (this.listeners[event] ||= []).push(fn);
  }

  async goto(url) {
    await this.session.command('POST', '/url', { url });
    await this.watchErrors();
  }

  async close() {
    await this.session.command('POST', '/url', { url: 'about:blank' });
  }

  async setViewport({ width, height }) {
    await this.session.command('POST', '/window/rect', { width, height });
  }

  // Script errors of the page and its frames, collected in the page and
  // fetched after each call: WebDriver classic reports none by itself.
  async watchErrors() {
    await this.evaluate(() => {
      if (self.zendrelErrors) return;
      self.zendrelErrors = [];
      const watch = (win) => {
        if (!win || win.zendrelWatched) return;
        win.zendrelWatched = true;
        win.addEventListener('error', (e) => self.zendrelErrors.push(e.message));
      };
      watch(self);
      const frames = () => [self.control, self.film, self.show];
      frames().forEach(watch);
      // A written document starts without the listener.
      if (self.writeFrame) {
        const write = self.writeFrame;
        self.writeFrame = function (frame, text, kind) {
          frame.zendrelWatched = false;
          write(frame, text, kind);
          watch(frame);
        };
      }
    });
  }

  async evaluate(fn, ...args) {
    // A node or a window stands for "true", as a truthy result of a wait.
    const script = `return Promise.resolve((${fn}).apply(null, arguments)).then((v) => ({ ` +
      `v: v && typeof v === 'object' && (v.nodeType || v.window === v) ? true : v, ` +
      `e: self.zendrelErrors ? self.zendrelErrors.splice(0) : [] }));`;
    let reply;
    try {
      reply = await this.session.command('POST', '/execute/sync', { script, args });
    } catch (e) {
      throw new Error(`${e.message}\nin ${String(fn).slice(0, 200)}`);
    }
    if (reply && reply.e) {
      for (const message of reply.e) {
        for (const listener of this.listeners.pageerror) listener(new Error(message));
      }
    }
    return reply ? reply.v : undefined;
  }

  async waitForFunction(fn, { polling = 25, timeout = 10000 } = {}, ...args) {
    const end = Date.now() + timeout;
    for (;;) {
      const value = await this.evaluate(fn, ...args).catch((e) => {
        if (Date.now() > end) throw e;
        return undefined;
      });
      if (value) return { jsonValue: async () => value };
      if (Date.now() > end) throw new Error(`timed out waiting for ${String(fn).slice(0, 200)}`);
      await sleep(polling);
    }
  }
}

// Starts Xvfb, the driver and a MiniBrowser session; returns an object with
// newPage() and close() like a puppeteer Browser.
export async function launchWebKit() {
  const display = freeDisplay();
  const xvfb = spawn(XVFB, [`:${display}`, '-screen', '0', '1400x1000x24', '-nolisten', 'tcp'],
    { stdio: 'ignore' });
  const port = await freePort();
  const env = { ...process.env, DISPLAY: `:${display}` };
  const driver = spawn(DRIVER, [`--port=${port}`], { stdio: 'ignore', env });
  const base = `http://127.0.0.1:${port}`;
  const stop = () => {
    driver.kill();
    xvfb.kill();
  };
  let id;
  try {
    for (let tries = 0; ; tries++) {
      try {
        const res = await fetch(`${base}/session`, {
          method: 'POST',
          headers: { 'Content-Type': 'application/json' },
          body: JSON.stringify({
            capabilities: {
              alwaysMatch: {
                'webkitgtk:browserOptions': { binary: miniBrowser(), args: ['--automation'] },
              },
            },
          }),
        });
        const reply = await res.json();
        if (reply.value.error) throw new Error(`${reply.value.error}: ${reply.value.message}`);
        id = reply.value.sessionId;
        break;
      } catch (e) {
        if (tries > 50) throw e;
        await sleep(200);
      }
    }
  } catch (e) {
    stop();
    throw e;
  }
  const session = new Session(base, id);
  await session.command('POST', '/window/rect', { width: 1280, height: 800 }).catch(() => {});
  return {
    newPage: async () => new WebDriverPage(session),
    close: async () => {
      await session.command('DELETE', '').catch(() => {});
      stop();
    },
  };
}
