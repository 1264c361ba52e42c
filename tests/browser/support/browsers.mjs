// Starts the system's Chromium or Firefox ESR through puppeteer-core, with a
// fresh profile each time, or WebKitGTK through its WebDriver.
import fs from 'node:fs';
import puppeteer from 'puppeteer-core';
import { makeTempDir } from './archive.mjs';
import { launchWebKit, webkitMissing } from './webdriver.mjs';

export const BROWSERS = {
  chromium: '/usr/bin/chromium',
  firefox: '/usr/bin/firefox-esr',
};

export function browserMissing(name) {
  if (name === 'webkit') return webkitMissing();
  return fs.existsSync(BROWSERS[name]) ? false : `${BROWSERS[name]} is not installed`;
}

// What a test file needs and lacks (a browser, a tool, the program), or
// false: locally the file's tests are skipped with a "SKIP:" line, which
// ctest reports as skipped; under CI (CI=true) the file fails instead.
export function skipUnless(missing) {
  if (!missing) return false;
  if (process.env.CI === 'true') throw new Error(`${missing}; under CI every check must run`);
  console.log(`SKIP: ${missing}`);
  return missing;
}

// close() also removes the profile; the browser's last writes may still be
// under way, hence the retries.
export async function launch(name, extraArgs = []) {
  if (name === 'webkit') return launchWebKit();
  const userDataDir = makeTempDir(`zendrel-${name}-`);
  const browser = await start(name, userDataDir, extraArgs);
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    try {
      fs.rmSync(userDataDir, { recursive: true, force: true, maxRetries: 10, retryDelay: 100 });
    } catch {
      // A profile left in the temporary directory harms nothing.
    }
  };
  return browser;
}

function start(name, userDataDir, extraArgs) {
  if (name === 'firefox') {
    return puppeteer.launch({
      browser: 'firefox', executablePath: BROWSERS.firefox, headless: true, userDataDir,
    });
  }
  return puppeteer.launch({
    executablePath: BROWSERS.chromium,
    headless: true,
    userDataDir,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', ...extraArgs],
  });
}
