// Headless Chromium (Debian's) driven through its DevTools protocol over a pipe, and a plain
// static file server on 127.0.0.1 that counts what it sends; nothing is fetched from outside.
// Shared by the page's smoke test and its measurements.
import { spawn } from 'node:child_process';
import { createServer } from 'node:http';
import { mkdtempSync, readFileSync, rmSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, extname, normalize, sep } from 'node:path';

export const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// --- A static server: files only, Last-Modified and 304 as python's http.server answers -------
const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                '.data': 'application/octet-stream', '.gz': 'application/gzip',
                '.png': 'image/png', '.webmanifest': 'application/manifest+json' };
export class SiteServer {
  constructor(root) {
    this.root = root;
    this.bytes = 0;       // body bytes sent since the last reset
    this.requests = [];   // paths asked for since the last reset
    this.server = null;
    this.port = 0;
  }
  // Starts (again, on the same port when it had one).
  async start() {
    this.server = createServer((request, response) => this.answer(request, response));
    await new Promise((resolve) => this.server.listen(this.port, '127.0.0.1', resolve));
    this.port = this.server.address().port;
    return `http://127.0.0.1:${this.port}/`;
  }
  async stop() {
    if (!this.server) return;
    this.server.closeAllConnections();
    await new Promise((resolve) => this.server.close(resolve));
    this.server = null;
  }
  reset() {
    this.bytes = 0;
    this.requests = [];
  }
  answer(request, response) {
    const path = decodeURIComponent(request.url.split('?')[0]);
    this.requests.push(path);
    const name = normalize(path === '/' ? 'index.html' : path.slice(1));
    if (name.startsWith('..') || name.split(sep).some((p) => p.startsWith('.'))) {
      response.writeHead(404);
      response.end();
      return;
    }
    let stat;
    try {
      stat = statSync(join(this.root, name));
      if (!stat.isFile()) throw new Error('not a file');
    } catch {
      response.writeHead(404);
      response.end();
      return;
    }
    const modified = new Date(Math.floor(stat.mtimeMs / 1000) * 1000);
    const since = Date.parse(request.headers['if-modified-since'] || '');
    if (!Number.isNaN(since) && modified.getTime() <= since) {
      response.writeHead(304);
      response.end();
      return;
    }
    const body = readFileSync(join(this.root, name));
    response.writeHead(200, { 'Content-Type': types[extname(name)] || 'application/octet-stream',
                              'Content-Length': body.length,
                              'Last-Modified': modified.toUTCString() });
    this.bytes += body.length;
    response.end(body);
  }
}

// --- Chromium ---------------------------------------------------------------------------------
// `flags`: more command-line switches (e.g. ['--disable-gpu']).
export async function launchChromium(flags = []) {
  const profile = mkdtempSync(join(tmpdir(), 'vo-chromium-'));
  const browser = spawn('chromium', [
    '--headless', '--no-sandbox', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--disable-default-apps', '--mute-audio', '--remote-debugging-pipe',
    '--autoplay-policy=no-user-gesture-required',
    `--user-data-dir=${profile}`, ...flags, 'about:blank',
  ], { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'], detached: true });
  return new Chromium(browser, profile);
}

export class Chromium {
  constructor(browser, profile) {
    this.browser = browser;
    this.profile = profile;
    this.errors = '';
    this.nextId = 1;
    this.waiting = new Map();
    this.listeners = [];
    let buffered = '';
    browser.stderr.on('data', (d) => { this.errors = (this.errors + d).slice(-4000); });
    browser.stdio[4].on('data', (chunk) => {
      buffered += chunk.toString('utf8');
      let end;
      while ((end = buffered.indexOf('\0')) >= 0) {
        const message = JSON.parse(buffered.slice(0, end));
        buffered = buffered.slice(end + 1);
        if (message.id && this.waiting.has(message.id)) {
          const { resolve, reject } = this.waiting.get(message.id);
          this.waiting.delete(message.id);
          if (message.error) reject(new Error(JSON.stringify(message.error)));
          else resolve(message.result);
        } else if (message.method) {
          for (const listen of this.listeners) listen(message);
        }
      }
    });
  }
  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    this.browser.stdio[3].write(JSON.stringify({ id, method, params,
                                                 ...(sessionId ? { sessionId } : {}) }) + '\0');
    return new Promise((resolve, reject) => this.waiting.set(id, { resolve, reject }));
  }
  // A page (the first one, or a new one) with its console collected.
  async page(options = {}) {
    let targetId;
    if (options.create) {
      ({ targetId } = await this.send('Target.createTarget', { url: 'about:blank' }));
    } else {
      const { targetInfos } = await this.send('Target.getTargets');
      targetId = targetInfos.find((t) => t.type === 'page').targetId;
    }
    const { sessionId } = await this.send('Target.attachToTarget', { targetId, flatten: true });
    return new Page(this, sessionId, targetId);
  }
  // The process id of the renderer showing `url`'s origin, and of the GPU process.
  async processes() {
    const { processInfo } = await this.send('SystemInfo.getProcessInfo');
    return processInfo;
  }
  // Ends the browser with every process it started (its own process group).
  async close() {
    const gone = new Promise((resolve) => this.browser.once('exit', resolve));
    try {
      process.kill(-this.browser.pid, 'SIGKILL');
    } catch {
      this.browser.kill('SIGKILL');
    }
    await gone;
    await sleep(200);
    try {
      rmSync(this.profile, { recursive: true, force: true, maxRetries: 10 });
    } catch (error) {
      console.error(`chromium: ${this.profile} is left (${error.message})`);
    }
  }
}

export class Page {
  constructor(chromium, sessionId, targetId) {
    this.chromium = chromium;
    this.sessionId = sessionId;
    this.targetId = targetId;
    this.console = []; // { text, at }
    chromium.listeners.push((m) => {
      if (m.sessionId !== sessionId) return;
      if (m.method === 'Runtime.consoleAPICalled') {
        const text = m.params.args.map((a) => a.value ?? a.description ?? '').join(' ');
        this.console.push({ text, at: m.params.timestamp });
      } else if (m.method === 'Runtime.exceptionThrown') {
        const d = m.params.exceptionDetails;
        this.console.push({ text: 'EXCEPTION ' + (d.exception?.description ?? d.text),
                            at: Date.now() });
      } else if (m.method === 'Page.javascriptDialogOpening') {
        this.console.push({ text: 'DIALOG ' + m.params.message, at: Date.now() });
      }
    });
  }
  send(method, params = {}) {
    return this.chromium.send(method, params, this.sessionId);
  }
  // The page's size in CSS pixels; `scale` device pixels a CSS pixel; `touch` a phone.
  async setup({ width, height, scale = 1, touch = false }) {
    await this.send('Page.enable');
    await this.send('Runtime.enable');
    await this.send('Emulation.setDeviceMetricsOverride',
                    { width, height, deviceScaleFactor: scale, mobile: touch });
    if (touch) await this.send('Emulation.setTouchEmulationEnabled', { enabled: true,
                                                                        maxTouchPoints: 5 });
    // A headless page has no focus of its own; the game pauses while its page is not focused.
    await this.send('Emulation.setFocusEmulationEnabled', { enabled: true });
    this.width = width;
    this.height = height;
  }
  line(text, from = 0) {
    return this.console.slice(from).find((l) => l.text.includes(text));
  }
  async evaluate(expression) {
    const r = await this.send('Runtime.evaluate',
                              { expression, awaitPromise: true, returnByValue: true });
    if (r.exceptionDetails) {
      throw new Error(`${expression}: ${r.exceptionDetails.exception?.description ??
                      r.exceptionDetails.text}`);
    }
    return r.result.value;
  }
  async screenshot() {
    const { data } = await this.send('Page.captureScreenshot', { format: 'png' });
    return Buffer.from(data, 'base64');
  }
}

// Waits for `test` to give something true; throws with the page's last console lines when it
// does not within `seconds`.
export async function waitFor(what, test, seconds, page = null) {
  for (let i = 0; i < seconds * 10; i++) {
    const found = await test();
    if (found) return found;
    await sleep(100);
  }
  const tail = page ? page.console.slice(-15).map((l) => '  ' + l.text).join('\n') : '';
  throw new Error(`${what} did not happen within ${seconds} s` +
                  (tail ? `; the console said:\n${tail}` : ''));
}

// Processor time (user + system, seconds) of a process, from /proc.
export function cpuSeconds(pid) {
  const stat = readFileSync(`/proc/${pid}/stat`, 'utf8');
  const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
  return (Number(fields[11]) + Number(fields[12])) / 100; // utime, stime in clock ticks
}
