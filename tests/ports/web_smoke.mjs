// The browser build in headless Chromium, served from 127.0.0.1: the game reaches the playing
// screen ("Starting game..." on the console), a ball moved with two clicks arrives and brings new
// balls, the sound runs after that click, a music volume changed on the Options screen is in the
// page's IndexedDB and on the Options screen again after a reload, and Exit saves and ends the
// game with a word on the page. Prints the download size and the start times.
// Usage: node web_smoke.mjs <dist/web> <screenshot folder>
// Chromium is driven through its DevTools protocol over a pipe; nothing is fetched from outside.
import { spawn, execFileSync } from 'node:child_process';
import { createServer } from 'node:http';
import { mkdtempSync, mkdirSync, readFileSync, readdirSync, statSync, writeFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, extname } from 'node:path';

const [site, shots] = process.argv.slice(2);
if (!site || !shots) throw new Error('usage: node web_smoke.mjs <dist/web> <screenshot folder>');
mkdirSync(shots, { recursive: true });
const WIDTH = 1000, HEIGHT = 750; // the 800 x 600 picture at 1.25 times

function fail(message) {
  console.error(`FAIL (web): ${message}`);
  process.exitCode = 1;
  throw new Error(message);
}

// --- The site, served as files -------------------------------------------------------------
const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                '.data': 'application/octet-stream', '.png': 'image/png' };
const server = createServer((request, response) => {
  const name = request.url === '/' ? 'index.html' : decodeURIComponent(request.url.slice(1).split('?')[0]);
  if (name.includes('/') || name.startsWith('.')) { response.writeHead(404); response.end(); return; }
  try {
    const body = readFileSync(join(site, name));
    response.writeHead(200, { 'Content-Type': types[extname(name)] || 'application/octet-stream' });
    response.end(body);
  } catch {
    response.writeHead(404);
    response.end();
  }
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const url = `http://127.0.0.1:${server.address().port}/`;
const download = readdirSync(site).reduce((sum, f) => sum + statSync(join(site, f)).size, 0);

// --- Chromium and its DevTools protocol over fds 3 (to it) and 4 (from it) -------------------
const profile = mkdtempSync(join(tmpdir(), 'vo-chromium-'));
const browser = spawn('chromium', [
  '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--disable-default-apps', '--mute-audio', '--remote-debugging-pipe',
  `--user-data-dir=${profile}`, `--window-size=${WIDTH},${HEIGHT}`, 'about:blank',
], { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
let browserErrors = '';
browser.stderr.on('data', (d) => { browserErrors = (browserErrors + d).slice(-4000); });
const toBrowser = browser.stdio[3], fromBrowser = browser.stdio[4];
let nextId = 1, buffered = '';
const waiting = new Map(), listeners = [];
fromBrowser.on('data', (chunk) => {
  buffered += chunk.toString('utf8');
  let end;
  while ((end = buffered.indexOf('\0')) >= 0) {
    const message = JSON.parse(buffered.slice(0, end));
    buffered = buffered.slice(end + 1);
    if (message.id && waiting.has(message.id)) {
      const { resolve, reject } = waiting.get(message.id);
      waiting.delete(message.id);
      if (message.error) reject(new Error(JSON.stringify(message.error))); else resolve(message.result);
    } else if (message.method) {
      for (const listen of listeners) listen(message);
    }
  }
});
let session;
function send(method, params = {}, sessionId = session) {
  const id = nextId++;
  toBrowser.write(JSON.stringify({ id, method, params, ...(sessionId ? { sessionId } : {}) }) + '\0');
  return new Promise((resolve, reject) => waiting.set(id, { resolve, reject }));
}
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

const consoleLines = [];
listeners.push((m) => {
  if (m.method === 'Runtime.consoleAPICalled') {
    const text = m.params.args.map((a) => a.value ?? a.description ?? '').join(' ');
    consoleLines.push({ text, at: m.params.timestamp });
  } else if (m.method === 'Runtime.exceptionThrown') {
    consoleLines.push({ text: 'EXCEPTION ' + m.params.exceptionDetails.text, at: Date.now() });
  } else if (m.method === 'Page.javascriptDialogOpening') {
    consoleLines.push({ text: 'DIALOG ' + m.params.message, at: Date.now() });
  }
});

async function waitFor(what, test, seconds) {
  for (let i = 0; i < seconds * 10; i++) {
    const found = await test();
    if (found) return found;
    await sleep(100);
  }
  const tail = consoleLines.slice(-15).map((l) => '  ' + l.text).join('\n');
  fail(`${what} did not happen within ${seconds} s; the console said:\n${tail}`);
}
const consoleLine = (text, from = 0) => consoleLines.slice(from).find((l) => l.text.includes(text));
async function evaluate(expression) {
  const r = await send('Runtime.evaluate', { expression, awaitPromise: true, returnByValue: true });
  if (r.exceptionDetails) fail(`${expression}: ${r.exceptionDetails.text}`);
  return r.result.value;
}

// --- The picture: screenshots read as RGB through ImageMagick --------------------------------
async function shot(name) {
  const { data } = await send('Page.captureScreenshot', { format: 'png' });
  const file = join(shots, `web-${name}.png`);
  writeFileSync(file, Buffer.from(data, 'base64'));
  const rgb = execFileSync('convert', [file, '-depth', '8', 'rgb:-'], { maxBuffer: 64 << 20 });
  return { file, rgb };
}
// The picture's rectangle in the page: scaled to fit with its proportions, centred.
const scale = Math.min(WIDTH / 800, HEIGHT / 600);
const left = (WIDTH - 800 * scale) / 2, top = (HEIGHT - 600 * scale) / 2;
const page = (x, y) => [left + x * scale, top + y * scale];
function pixel(image, x, y) {
  const [px, py] = page(x, y).map(Math.round);
  const i = (py * WIDTH + px) * 3;
  return [image.rgb[i], image.rgb[i + 1], image.rgb[i + 2]];
}
// Which cells hold a ball ('o') or not ('.'), column by column: a cell's middle against the
// colour most middles share, the empty cell (as the desktop end-to-end tests read it).
function readField(image) {
  const middles = [];
  for (let x = 0; x < 9; x++)
    for (let y = 0; y < 9; y++) {
      let r = 0, g = 0, b = 0;
      for (let dx = 0; dx < 6; dx++)
        for (let dy = 0; dy < 6; dy++) {
          const p = pixel(image, 298 + 52 * x + 23 + dx, 26 + 52 * y + 23 + dy);
          r += p[0]; g += p[1]; b += p[2];
        }
      middles.push([r / 36, g / 36, b / 36].map(Math.round));
    }
  const counts = new Map();
  for (const m of middles) counts.set(m.join(), (counts.get(m.join()) || 0) + 1);
  const empty = [...counts.entries()].sort((a, b) => b[1] - a[1])[0][0].split(',').map(Number);
  return middles.map((m) => (m.reduce((d, v, i) => d + (v - empty[i]) ** 2, 0) > 900 ? 'o' : '.')).join('');
}
const ballCount = (field) => field.replace(/\./g, '').length;
// Mean difference (0..255) of a picture rectangle between two screenshots.
function regionDiff(a, b, x, y, w, h) {
  let sum = 0, n = 0;
  for (let yy = y; yy < y + h; yy += 2)
    for (let xx = x; xx < x + w; xx += 2) {
      const p = pixel(a, xx, yy), q = pixel(b, xx, yy);
      sum += Math.abs(p[0] - q[0]) + Math.abs(p[1] - q[1]) + Math.abs(p[2] - q[2]);
      n += 3;
    }
  return sum / n;
}

// --- Input, in picture coordinates --------------------------------------------------------
async function click(x, y) {
  const [px, py] = page(x, y);
  await send('Input.dispatchMouseEvent', { type: 'mouseMoved', x: px, y: py });
  await sleep(100);
  await send('Input.dispatchMouseEvent', { type: 'mousePressed', x: px, y: py, button: 'left', buttons: 1, clickCount: 1 });
  await sleep(80);
  await send('Input.dispatchMouseEvent', { type: 'mouseReleased', x: px, y: py, button: 'left', buttons: 0, clickCount: 1 });
  await sleep(300);
}
async function key(name, code, keyCode) {
  for (const type of ['rawKeyDown', 'keyUp']) {
    await send('Input.dispatchKeyEvent', { type, key: name, code, windowsVirtualKeyCode: keyCode, nativeVirtualKeyCode: keyCode });
    await sleep(80);
  }
  await sleep(200);
}

// The IndexedDB copy of a file of the player's folder, as bytes (null when missing).
const storedFile = (name) => evaluate(`new Promise((resolve, reject) => {
  const open = indexedDB.open('/velm-orra');
  open.onerror = () => reject(open.error);
  open.onsuccess = () => {
    const db = open.result;
    if (!db.objectStoreNames.contains('FILE_DATA')) { resolve(null); return; }
    const get = db.transaction('FILE_DATA').objectStore('FILE_DATA').get('/velm-orra/${name}');
    get.onsuccess = () => resolve(get.result && get.result.contents ? Array.from(get.result.contents) : null);
    get.onerror = () => reject(get.error);
  };
})`);
const int32At = (bytes, offset) => bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) | (bytes[offset + 3] << 24);

// Loads the page; waits for the playing screen and the game's first balls.
async function start(what) {
  const from = consoleLines.length;
  const began = Date.now();
  await send('Page.navigate', { url });
  await waitFor(`"Starting game..." (${what})`, () => consoleLine('Starting game...', from), 120);
  await waitFor(`"Loading config ..." (${what})`, () => consoleLine('Loading config ...', from), 30);
  const at = (text) => ((consoleLine(text, from)?.at ?? NaN) - began) / 1000;
  return { started: at('Program started'), painted: at('Initializing Direct3D Device...'),
           playing: at('Starting game...') };
}
async function waitForBalls(n, name) {
  let image, field;
  await waitFor(`${n} balls on the field`, async () => {
    image = await shot(name);
    field = readField(image);
    return ballCount(field) === n;
  }, 40);
  return { image, field };
}

try {
  await send('Target.setDiscoverTargets', { discover: true }, null);
  const targets = await send('Target.getTargets', {}, null);
  const target = targets.targetInfos.find((t) => t.type === 'page');
  ({ sessionId: session } = await send('Target.attachToTarget', { targetId: target.targetId, flatten: true }, null));
  await send('Page.enable');
  await send('Runtime.enable');
  // The page's size exactly, whatever the headless window keeps for itself.
  await send('Emulation.setDeviceMetricsOverride', { width: WIDTH, height: HEIGHT, deviceScaleFactor: 1, mobile: false });
  // A headless page has no focus of its own; the game pauses while its page is not focused.
  await send('Emulation.setFocusEmulationEnabled', { enabled: true });

  const first = await start('first visit');
  console.log(`web: download ${(download / 1048576).toFixed(1)} MB; from the request: program started ` +
              `${first.started.toFixed(2)} s, first frame painted ${first.painted.toFixed(2)} s, ` +
              `playing screen ${first.playing.toFixed(2)} s`);
  if (consoleLines.some((l) => /DIALOG|EXCEPTION|Aborted/.test(l.text))) fail('the page reported an error');

  // A ball beside an empty cell goes there with two clicks: the turn brings three new balls.
  let { field } = await waitForBalls(6, 'game');
  let move = null;
  for (let i = 0; i < 81 && !move; i++) {
    if (field[i] !== 'o') continue;
    const x = Math.floor(i / 9), y = i % 9;
    for (const [dx, dy] of [[1, 0], [-1, 0], [0, 1], [0, -1]]) {
      const tx = x + dx, ty = y + dy;
      if (tx >= 0 && tx < 9 && ty >= 0 && ty < 9 && field[tx * 9 + ty] === '.') { move = { x, y, tx, ty }; break; }
    }
  }
  if (!move) fail('no ball can move');
  const saves = await evaluate('Module.velmOrraSaved');
  await click(298 + 52 * move.x + 26, 26 + 52 * move.y + 26);
  await click(298 + 52 * move.tx + 26, 26 + 52 * move.ty + 26);
  ({ field } = await waitForBalls(9, 'moved'));
  if (field[move.tx * 9 + move.ty] !== 'o') fail('the moved ball is not where it was sent');
  // The page's audio runs once the player has clicked (SDL resumes it on the first input).
  const audio = await evaluate('Module.SDL2 && Module.SDL2.audioContext ? Module.SDL2.audioContext.state : "none"');
  const silent = consoleLines.find((l) => /Audio: (no|cannot)/.test(l.text));
  if (audio !== 'running' || silent) fail(`no sound after a click: the audio context is ${audio}${silent ? '; ' + silent.text : ''}`);
  // The finished turn is saved, and the save copied into IndexedDB.
  await waitFor('the copy of the turn\'s save', async () => (await evaluate('Module.velmOrraSaved')) > saves, 20);

  // Options: the music volume up (Right) by keys; Back saves it.
  await click(144, 398);
  const before = await shot('options');
  for (let i = 0; i < 4; i++) await key('ArrowRight', 'ArrowRight', 39);
  const changed = await shot('options-louder');
  if (regionDiff(before, changed, 480, 165, 300, 40) < 2) fail('the music bar did not change');
  const copied = await evaluate('Module.velmOrraSaved');
  await key('Escape', 'Escape', 27);
  await waitFor('the copy of the volume\'s save', async () => (await evaluate('Module.velmOrraSaved')) > copied, 20);
  const stored = await storedFile('Config.bin');
  if (!stored || stored.length !== 1450) fail(`Config.bin in IndexedDB is ${stored ? stored.length : 'missing'}`);
  const volume = int32At(stored, 600);
  if (volume <= 50) fail(`the stored music volume is ${volume}, not above the default 50`);

  // A reload: the volume is the one set. A kept game (one with points) is offered first, in a
  // message that Escape (No) declines.
  const again = await start('reload');
  console.log(`web: after a reload, playing screen ${again.playing.toFixed(2)} s`);
  await sleep(1500);
  const offered = await shot('reloaded');
  if (stored[608] !== 0) {
    await key('Escape', 'Escape', 27);
    await sleep(800);
  }
  await click(144, 398);
  const reloaded = await shot('options-reloaded');
  const drift = regionDiff(changed, reloaded, 480, 165, 300, 40);
  if (drift > 2) fail(`the music bar after the reload differs (${drift.toFixed(1)}) from the one set`);
  const after = await storedFile('Config.bin');
  if (int32At(after, 600) !== volume) fail('the stored volume changed over the reload');
  if (!(await storedFile('registry'))) fail('the registry file was not kept');
  console.log(`web: music volume ${volume} kept over the reload; screenshots in ${shots} (${offered.file})`);

  // Exit and Yes: the game saves, lets go of its window and the page says it has ended.
  const ending = consoleLines.length;
  await key('Escape', 'Escape', 27);
  await click(144, 536);
  await click(466, 344);
  await waitFor('the save at the end', () => consoleLine('Saving config ...', ending), 20);
  const status = await waitFor('the page\'s word on the end',
    () => evaluate('document.getElementById("status").textContent'), 10);
  if (!/ended/.test(status)) fail(`the page says "${status}" at the end`);
  await shot('ended');
  console.log('PASS (web)');
} catch (error) {
  if (!process.exitCode) {
    console.error(`FAIL (web): ${error.message}`);
    if (browserErrors) console.error(browserErrors.split('\n').slice(-10).join('\n'));
    process.exitCode = 1;
  }
} finally {
  const gone = new Promise((resolve) => browser.once('exit', resolve));
  browser.kill('SIGKILL');
  await gone;
  server.close();
  rmSync(profile, { recursive: true, force: true, maxRetries: 5 });
}
