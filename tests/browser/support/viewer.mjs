// Drives an archive page the way a user does: through the links, buttons
// and lists of its frames. Everything runs in the frameset's window, which
// reaches the frames as self.control, self.film and self.show.

// Missing pictures are reported by the browser as console errors; the page
// names "texture2.jpg" on purpose without the archive holding it.
const HARMLESS = /Failed to load resource/;

export class Viewer {
  constructor(page) {
    this.page = page;
    this.errors = [];
    page.on('pageerror', (e) => this.errors.push(`page error: ${e.message}`));
    page.on('console', (m) => {
      if (m.type() === 'error' && !HARMLESS.test(m.text())) this.errors.push(`console: ${m.text()}`);
    });
  }

  async until(fn, arg) {
    await this.page.waitForFunction(fn, { polling: 25, timeout: 10000 }, arg);
  }

  // Loads the page and waits for the Start link and the built panel text.
  async open(url) {
    this.errors = [];
    await this.page.goto(url);
    await this.until(() => self.control && self.control.document.links.length === 1 &&
      self.controlFrame != null && self.show.document.body &&
      self.show.document.body.innerHTML.indexOf('Welcome to Zendrel') >= 0);
  }

  // Loads the page at an address of a view: through a blank page, so that
  // only the address is new, and waits for the state form.
  async openAt(url) {
    await this.page.goto('about:blank');
    await this.page.goto(url);
    await this.until(() => self.control && self.control.document.links.length === 1 &&
      self.controlFrame != null && self.show.document.body);
  }

  // A snapshot of one frame: its text, its markup, its pictures.
  frame(name) {
    return this.page.evaluate((n) => {
      const doc = self[n].document;
      return {
        text: doc.body ? doc.body.innerText : '',
        html: doc.body ? doc.body.innerHTML : '',
        bgcolor: doc.body ? doc.body.getAttribute('bgcolor') : null,
        images: [...doc.images].map((i) => i.getAttribute('src')),
        // Thumbnails below the frame's first screen load only when scrolled to.
        loaded: [...doc.images].filter((i) => i.getBoundingClientRect().top < self[n].innerHeight)
          .every((i) => i.complete && i.naturalWidth > 0),
        links: [...doc.links].map((a) => a.textContent),
      };
    }, name);
  }

  // Clicks the link of `frame` whose text is `text` (or the `index`th link).
  async click(frame, which) {
    await this.page.evaluate((f, w) => {
      const links = [...self[f].document.links];
      const link = typeof w === 'number' ? links[w] : links.find((a) => a.textContent === w);
      if (!link) throw new Error(`no link ${w} in ${f}`);
      link.click();
    }, frame, which);
  }

  async clickImage(frame, index) {
    await this.page.evaluate((f, i) => self[f].document.images[i].parentNode.click(), frame, index);
  }

  async start() {
    await this.click('control', 'Start');
    await this.until(() => self.show.document.cont != null && self.show.document.cont.keywords);
  }

  // Sets the panel as a user would (each change fires the list's or box's
  // own handler) and presses Search. `options`: text, cols, titles,
  // slideshow, word (an index word), start and end (date texts).
  async search(options = {}) {
    await this.page.evaluate((o) => {
      const panel = self.show.document.cont;
      const win = self.show;
      const choose = (select, text) => {
        const k = [...select.options].findIndex((opt) => opt.text === text);
        if (k < 0) throw new Error(`no entry ${text} in ${select.name}`);
        select.selectedIndex = k;
        select.dispatchEvent(new win.Event('change'));
      };
      if (o.cols != null) choose(panel.viewcols, String(o.cols));
      if (o.titles != null && panel.titles.checked !== o.titles) panel.titles.click();
      if (o.slideshow != null) panel.slideshow.checked = o.slideshow;
      if (o.word != null) choose(panel.title, o.word);
      if (o.start != null) choose(panel.startdate, o.start);
      if (o.end != null) choose(panel.enddate, o.end);
      if (o.text != null) panel.keywords.value = o.text;
      panel.elements[0].click();
      // A test's slide time, stored before the show's first step.
      if (o.slideTime != null) self.control.document.cont.slideshow.value = o.slideTime;
    }, options);
  }

  // Waits until `frame` shows thumbnails, those of its first screen loaded,
  // or the no-match page.
  async results(frame) {
    await this.until((f) => {
      const body = self[f].document.body;
      const images = [...self[f].document.images]
        .filter((i) => i.getBoundingClientRect().top < self[f].innerHeight);
      return body && (body.querySelector('td img') || body.innerHTML.indexOf('Sorry') >= 0) &&
        images.every((i) => i.complete);
    }, frame);
    return this.frame(frame);
  }

  global(expression) {
    return this.page.evaluate((e) => JSON.parse(JSON.stringify(self.eval(e))), expression);
  }
}
