// A small DevTools-protocol client for headless Chromium: launch on a given
// profile, open a page, evaluate, screenshot, type and click, and collect what
// the page writes to its console. Needs node's WebSocket (--experimental-websocket).
import { spawn } from 'node:child_process';
import { existsSync, readFileSync, rmSync } from 'node:fs';
import { join } from 'node:path';

const kChromiumFlags = [
  '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--autoplay-policy=no-user-gesture-required', '--window-size=1024,768',
];

export const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// Polls `test` every `every` ms until it gives a truthy value; rejects after `ms`.
export async function waitFor(what, test, ms = 10000, every = 50) {
  const end = Date.now() + ms;
  for (;;) {
    const value = await test();
    if (value) return value;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await sleep(every);
  }
}

export class Browser {
  // Starts Chromium on `profile` (a folder) and connects to it.
  static async launch(profile) {
    const portFile = join(profile, 'DevToolsActivePort');
    rmSync(portFile, { force: true });
    const child = spawn('chromium', [...kChromiumFlags, `--user-data-dir=${profile}`,
      '--remote-debugging-port=0', 'about:blank'], { stdio: ['ignore', 'ignore', 'pipe'] });
    let stderr = '';
    child.stderr.on('data', (d) => { stderr += d; });
    const exited = new Promise((done) => child.once('exit', done));
    try {
      await waitFor('Chromium to open its DevTools port', () => existsSync(portFile) &&
        readFileSync(portFile, 'utf8').split('\n').length >= 2, 60000);
    } catch (error) {
      child.kill('SIGKILL');
      throw new Error(`${error.message}\n${stderr.slice(-2000)}`);
    }
    const [port, path] = readFileSync(portFile, 'utf8').split('\n');
    const socket = new WebSocket(`ws://127.0.0.1:${port}${path}`);
    await new Promise((done, fail) => {
      socket.onopen = done;
      socket.onerror = () => fail(new Error('cannot connect to Chromium'));
    });
    return new Browser(child, exited, socket);
  }

  constructor(child, exited, socket) {
    this.child = child;
    this.exited = exited;
    this.socket = socket;
    this.nextId = 1;
    this.pending = new Map();
    this.listeners = [];
    socket.onmessage = (m) => this.receive(JSON.parse(m.data));
  }

  receive(message) {
    if (message.id === undefined) {
      for (const listener of this.listeners) listener(message);
      return;
    }
    const call = this.pending.get(message.id);
    this.pending.delete(message.id);
    if (message.error) call.fail(new Error(`${call.method}: ${message.error.message}`));
    else call.done(message.result);
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    this.socket.send(JSON.stringify({ id, method, params, sessionId }));
    return new Promise((done, fail) => this.pending.set(id, { done, fail, method }));
  }

  // A new tab, attached and with its console and exceptions collected.
  async newPage() {
    const { targetId } = await this.send('Target.createTarget', { url: 'about:blank' });
    const { sessionId } = await this.send('Target.attachToTarget', { targetId, flatten: true });
    const page = new Page(this, sessionId, targetId);
    this.listeners.push((m) => { if (m.sessionId === sessionId) page.event(m); });
    await page.send('Runtime.enable');
    await page.send('Log.enable');
    await page.send('Page.enable');
    return page;
  }

  // Closes the browser the orderly way, so the profile is written out.
  async close() {
    try {
      await Promise.race([this.send('Browser.close'), sleep(5000)]);
    } catch { /* the socket may close first */ }
    await Promise.race([this.exited, sleep(10000)]);
    if (this.child.exitCode === null) this.child.kill('SIGKILL');
    this.socket.close();
  }
}

export class Page {
  constructor(browser, sessionId, targetId) {
    this.browser = browser;
    this.sessionId = sessionId;
    this.targetId = targetId;
    this.console = [];  // { level, text }
    this.errors = [];   // uncaught exceptions and error-level log entries
  }

  send(method, params = {}) { return this.browser.send(method, params, this.sessionId); }

  event(m) {
    if (m.method === 'Runtime.consoleAPICalled') {
      const text = m.params.args.map((a) => (a.value !== undefined ? String(a.value) : a.description || '')).join(' ');
      this.console.push({ level: m.params.type, text });
      if (m.params.type === 'error') this.errors.push(`console.error: ${text}`);
    } else if (m.method === 'Runtime.exceptionThrown') {
      const d = m.params.exceptionDetails;
      this.errors.push(`exception: ${d.exception ? d.exception.description : d.text}`);
    } else if (m.method === 'Log.entryAdded' && m.params.entry.level === 'error') {
      this.errors.push(`log: ${m.params.entry.text} ${m.params.entry.url || ''}`);
    }
  }

  // Lines the page printed (console.log and friends), in order.
  printed() { return this.console.filter((c) => c.level !== 'error').map((c) => c.text); }

  async goto(url) {
    const loaded = new Promise((done) => {
      const listener = (m) => {
        if (m.sessionId === this.sessionId && m.method === 'Page.loadEventFired') {
          this.browser.listeners.splice(this.browser.listeners.indexOf(listener), 1);
          done();
        }
      };
      this.browser.listeners.push(listener);
    });
    await this.send('Page.navigate', { url });
    await Promise.race([loaded, sleep(20000)]);
  }

  // The value of a page expression (awaited when it is a promise).
  async evaluate(expression) {
    const r = await this.send('Runtime.evaluate', { expression, returnByValue: true, awaitPromise: true });
    if (r.exceptionDetails) throw new Error(`${expression}: ${r.exceptionDetails.exception?.description || r.exceptionDetails.text}`);
    return r.result.value;
  }

  // A PNG of a page rectangle in CSS pixels, as a Buffer.
  async screenshot(clip) {
    const r = await this.send('Page.captureScreenshot', { format: 'png', clip: { ...clip, scale: 1 } });
    return Buffer.from(r.data, 'base64');
  }

  // A key as the keyboard sends it: down, a pause a player's press takes, up.
  async press(key, holdMs = 120) {
    await this.keyDown(key);
    await sleep(holdMs);
    await this.keyUp(key);
  }

  keyDown(key) { return this.send('Input.dispatchKeyEvent', { type: 'keyDown', ...key }); }
  keyUp(key) {
    const { text, ...rest } = key;
    return this.send('Input.dispatchKeyEvent', { type: 'keyUp', ...rest });
  }

  mouse(type, x, y, button = 'left') {
    return this.send('Input.dispatchMouseEvent', { type, x, y, button, clickCount: 1 });
  }

  // Hides or shows the page as minimising its window and restoring it does.
  async setHidden(hidden) {
    const { windowId } = await this.browser.send('Browser.getWindowForTarget', { targetId: this.targetId });
    await this.browser.send('Browser.setWindowBounds', { windowId, bounds: { windowState: hidden ? 'minimized' : 'normal' } });
  }
}

// Keys as DevTools dispatches them.
export const Keys = {
  space: { key: ' ', code: 'Space', windowsVirtualKeyCode: 32, text: ' ' },
  escape: { key: 'Escape', code: 'Escape', windowsVirtualKeyCode: 27 },
  left: { key: 'ArrowLeft', code: 'ArrowLeft', windowsVirtualKeyCode: 37 },
  down: { key: 'ArrowDown', code: 'ArrowDown', windowsVirtualKeyCode: 40 },
  pageDown: { key: 'PageDown', code: 'PageDown', windowsVirtualKeyCode: 34 },
  end: { key: 'End', code: 'End', windowsVirtualKeyCode: 35 },
  g: { key: 'g', code: 'KeyG', windowsVirtualKeyCode: 71, text: 'g' },
};
