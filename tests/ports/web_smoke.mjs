// The browser build in headless Chromium (no WebGL: the picture drawn in memory), served as plain
// files from 127.0.0.1:
// - a first visit fetches at most kFirstVisitLimit bytes up to the playing screen ("Starting
//   game..." on the console), no other language's pictures and no 2x pictures, and leaves an
//   installable app (manifest, icons) with its service worker in charge;
// - a ball moved with two clicks arrives and brings new balls, the sound runs after that click,
//   a music volume changed on the Options screen is in the page's IndexedDB;
// - the browser's own keys (F5, Ctrl+R) reach the browser, the game's keys the game;
// - with the server stopped, a reload plays from the service worker's cache: the volume is still
//   the one set and a move goes through;
// - a second tab (a phone: 390 x 844, touch) shows that the game is open in another tab; its
//   "Play here" makes the first tab save and stop and say so, and the second plays upright, a
//   whole move made by touch (a drag), and ends with Exit by taps;
// - with a file of "daily: date=… board=…" lines (the Linux build's deals), the page started with
//   "?daily=<date>" prints the same line for each of those days.
// Prints the first visit's bytes and times. Screenshots land in the given folder.
// Usage: node web_smoke.mjs <dist/web> <screenshot folder> [daily deals file]
import { execFileSync } from 'node:child_process';
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { SiteServer, launchChromium, waitFor, sleep } from './chromium.mjs';

const [site, shots, dailyFile] = process.argv.slice(2);
if (!site || !shots) throw new Error('usage: node web_smoke.mjs <dist/web> <screenshot folder>');
mkdirSync(shots, { recursive: true });
const kFirstVisitLimit = 12 * 1048576;

function fail(message) {
  throw new Error(message);
}

// --- The picture on the page ------------------------------------------------------------------
// Where a picture point is on the page: the canvas scaled to fit and centred; upright, the
// field's frame is the arranged picture's top piece, 492 pixels wide (layout/Layout.h).
async function geometry(page) {
  return page.evaluate(`(() => {
    const r = document.getElementById('canvas').getBoundingClientRect();
    const c = document.getElementById('canvas');
    return { left: r.left, top: r.top, width: r.width, height: r.height,
             upright: c.width * 600 !== c.height * 800 };
  })()`);
}
// The upright arrangement's pieces (layout/Layout.h's kPortraitPlaying): picture rectangle
// [left, top, right, bottom] and its place in the arranged picture, 492 pixels wide.
// The Options screen's music bar (x, y, width, height in the picture).
const kMusicBar = [480, 95, 300, 40];
const kUprightPieces = [[286, 14, 778, 506, 0, 0], [442, 506, 736, 600, 156, 492],
                        [66, 312, 220, 374, 0, 508], [240, 328, 278, 412, 452, 498],
                        [50, 18, 236, 312, 35, 600], [50, 378, 236, 582, 263, 596],
                        [240, 508, 440, 600, 256, 806]];
function toPage(g, x, y) {
  if (!g.upright) return [g.left + x * g.width / 800, g.top + y * g.height / 600];
  const s = g.width / 492;
  const p = kUprightPieces.find(([l, t, r, b]) => x >= l && x < r && y >= t && y < b);
  if (!p) fail(`(${x}, ${y}) is not shown upright`);
  return [g.left + (p[4] + x - p[0]) * s, g.top + (p[5] + y - p[1]) * s];
}
async function shot(page, name) {
  const png = await page.screenshot();
  const file = join(shots, `web-${name}.png`);
  writeFileSync(file, png);
  const rgb = execFileSync('convert', [file, '-depth', '8', 'rgb:-'], { maxBuffer: 64 << 20 });
  return { file, rgb, width: page.width };
}
function pixel(image, g, x, y) {
  const [px, py] = toPage(g, x, y).map(Math.round);
  const i = (py * image.width + px) * 3;
  return [image.rgb[i], image.rgb[i + 1], image.rgb[i + 2]];
}
// Which cells hold a ball ('o') or not ('.'), column by column: a cell's middle against the
// colour most middles share, the empty cell (as the desktop end-to-end tests read it).
function readField(image, g) {
  const middles = [];
  for (let x = 0; x < 9; x++)
    for (let y = 0; y < 9; y++) {
      let r = 0, gr = 0, b = 0;
      for (let dx = 0; dx < 6; dx++)
        for (let dy = 0; dy < 6; dy++) {
          const p = pixel(image, g, 298 + 52 * x + 23 + dx, 26 + 52 * y + 23 + dy);
          r += p[0]; gr += p[1]; b += p[2];
        }
      middles.push([r / 36, gr / 36, b / 36].map(Math.round));
    }
  const counts = new Map();
  for (const m of middles) counts.set(m.join(), (counts.get(m.join()) || 0) + 1);
  const empty = [...counts.entries()].sort((a, b) => b[1] - a[1])[0][0].split(',').map(Number);
  return middles.map((m) => (m.reduce((d, v, i) => d + (v - empty[i]) ** 2, 0) > 900 ? 'o' : '.'))
    .join('');
}
const ballCount = (field) => field.replace(/\./g, '').length;
function regionDiff(a, b, g, x, y, w, h) {
  let sum = 0, n = 0;
  for (let yy = y; yy < y + h; yy += 2)
    for (let xx = x; xx < x + w; xx += 2) {
      const p = pixel(a, g, xx, yy), q = pixel(b, g, xx, yy);
      sum += Math.abs(p[0] - q[0]) + Math.abs(p[1] - q[1]) + Math.abs(p[2] - q[2]);
      n += 3;
    }
  return sum / n;
}
async function waitForBalls(page, n, name) {
  let field;
  await waitFor(`${n} balls on the field`, async () => {
    const g = await geometry(page);
    field = readField(await shot(page, name), g);
    return ballCount(field) === n;
  }, 40, page);
  return field;
}
// A ball beside an empty cell, and that cell.
function findMove(field) {
  for (let i = 0; i < 81; i++) {
    if (field[i] !== 'o') continue;
    const x = Math.floor(i / 9), y = i % 9;
    for (const [dx, dy] of [[1, 0], [-1, 0], [0, 1], [0, -1]]) {
      const tx = x + dx, ty = y + dy;
      if (tx >= 0 && tx < 9 && ty >= 0 && ty < 9 && field[tx * 9 + ty] === '.')
        return { x, y, tx, ty };
    }
  }
  fail('no ball can move');
}
const cellMiddle = (x, y) => [298 + 52 * x + 26, 26 + 52 * y + 26];
// Moves a ball of `field` to a free cell beside it by `act(from, to)` (picture points): it
// arrives there and the turn brings three new balls.
async function moveBy(page, field, name, act) {
  const move = findMove(field);
  await act(cellMiddle(move.x, move.y), cellMiddle(move.tx, move.ty));
  let after;
  // Only a turn brings balls, so three more mean the move was made; the cell it left may already
  // hold one of the new balls.
  await waitFor(`the ball's arrival and three new balls (${name})`, async () => {
    after = readField(await shot(page, name), await geometry(page));
    return after[move.tx * 9 + move.ty] === 'o' && ballCount(after) === ballCount(field) + 3;
  }, 40, page);
  return after;
}

// --- Input ----------------------------------------------------------------------------------------
async function click(page, x, y) {
  const [px, py] = toPage(await geometry(page), x, y);
  await page.send('Input.dispatchMouseEvent', { type: 'mouseMoved', x: px, y: py });
  await sleep(100);
  await page.send('Input.dispatchMouseEvent',
                  { type: 'mousePressed', x: px, y: py, button: 'left', buttons: 1, clickCount: 1 });
  await sleep(80);
  await page.send('Input.dispatchMouseEvent',
                  { type: 'mouseReleased', x: px, y: py, button: 'left', buttons: 0, clickCount: 1 });
  await sleep(300);
}
async function key(page, name, code, keyCode) {
  for (const type of ['rawKeyDown', 'keyUp']) {
    await page.send('Input.dispatchKeyEvent', { type, key: name, code, windowsVirtualKeyCode: keyCode,
                                                nativeVirtualKeyCode: keyCode });
    await sleep(80);
  }
  await sleep(200);
}
// A finger down at `from` (page pixels), moved in steps to `to`, and lifted there.
async function touch(page, from, to = from) {
  const at = ([x, y]) => [{ x, y, id: 1 }];
  await page.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: at(from) });
  await sleep(120);
  for (let i = 1; i <= 6; i++) {
    const p = [from[0] + (to[0] - from[0]) * i / 6, from[1] + (to[1] - from[1]) * i / 6];
    if (to !== from) {
      await page.send('Input.dispatchTouchEvent', { type: 'touchMove', touchPoints: at(p) });
      await sleep(40);
    }
  }
  await page.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
  await sleep(300);
}
async function tapElement(page, id) {
  const [x, y] = await page.evaluate(`(() => {
    const r = document.getElementById('${id}').getBoundingClientRect();
    return [r.left + r.width / 2, r.top + r.height / 2];
  })()`);
  await touch(page, [x, y]);
}
async function tap(page, x, y) {
  await touch(page, toPage(await geometry(page), x, y));
}

// The IndexedDB copy of a file of the player's folder, as bytes (null when missing).
const storedFile = (page, name) => page.evaluate(`new Promise((resolve, reject) => {
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
const int32At = (bytes, offset) =>
  bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) | (bytes[offset + 3] << 24);

// Loads the page (or reloads it); waits for the playing screen and, when asked, a game's balls.
async function start(page, url, what) {
  const from = page.console.length;
  const began = Date.now();
  if (url) await page.send('Page.navigate', { url });
  else await page.send('Page.reload', {});
  await waitFor(`"Starting game..." (${what})`, () => page.line('Starting game...', from), 120, page);
  await waitFor(`"Loading config ..." (${what})`, () => page.line('Loading config ...', from), 30,
                page);
  const at = (text) => ((page.line(text, from)?.at ?? NaN) - began) / 1000;
  if (page.console.slice(from).some((l) => /DIALOG|EXCEPTION|Aborted/.test(l.text)))
    fail(`the page reported an error (${what})`);
  return { started: at('Program started'), painted: at('Initializing Direct3D Device...'),
           playing: at('Starting game...') };
}

const server = new SiteServer(site);
const url = await server.start();
const chromium = await launchChromium(['--disable-gpu', '--disable-webgl']);
try {
  const first = await chromium.page();
  await first.setup({ width: 1000, height: 750 });

  // A first visit: its bytes, the parts it fetched, the app it leaves.
  const visit = await start(first, url, 'first visit');
  const bytes = server.bytes, asked = server.requests.slice();
  console.log(`web: first visit ${(bytes / 1048576).toFixed(1)} MB in ${asked.length} requests; ` +
              `program started ${visit.started.toFixed(2)} s, first frame painted ` +
              `${visit.painted.toFixed(2)} s, playing screen ${visit.playing.toFixed(2)} s`);
  if (bytes > kFirstVisitLimit) fail(`the first visit fetched ${bytes} bytes`);
  const extra = asked.filter((p) => /\/data\/(lang-|2x|symbols)/.test(p));
  if (extra.length) fail(`the first visit fetched parts it does not show: ${extra.join(' ')}`);
  const renderer = first.line('Device - ')?.text ?? '';
  if (!/software/.test(renderer)) fail(`the log names the renderer as "${renderer}"`);
  const errors = await first.send('Page.getInstallabilityErrors');
  if (errors.installabilityErrors.length)
    fail(`not installable: ${JSON.stringify(errors.installabilityErrors)}`);
  const app = await first.evaluate(`(async () => {
    const manifest = await (await fetch('manifest.webmanifest')).json();
    const sizes = [];
    for (const icon of manifest.icons) {
      const png = new DataView(await (await fetch(icon.src)).arrayBuffer());
      sizes.push(icon.sizes + '=' + png.getUint32(16) + 'x' + png.getUint32(20));
    }
    const kept = [];
    for (const name of await caches.keys())
      for (const request of await (await caches.open(name)).keys()) kept.push(request.url);
    return { display: manifest.display, sizes, worker: !!navigator.serviceWorker.controller,
             kept };
  })()`);
  if (app.display !== 'standalone' || !app.sizes.includes('192x192=192x192') ||
      !app.sizes.includes('512x512=512x512'))
    fail(`the manifest: ${JSON.stringify(app)}`);
  for (const file of ['index.js', 'index.wasm', 'data/base.data.gz', 'data/base.js'])
    if (!app.worker || !app.kept.some((u) => u.includes('/' + file + '?v=')))
      fail(`the service worker does not keep ${file}`);

  // Two clicks move a ball: the turn brings three new balls, and is saved.
  let field = await waitForBalls(first, 6, 'game');
  const saves = await first.evaluate('Module.velmOrraSaved');
  await moveBy(first, field, 'moved', async (from, to) => {
    await click(first, ...from);
    await click(first, ...to);
  });
  // The sound runs once the player has clicked, through the page's AudioWorklet.
  const audio = await first.evaluate(`(() => {
    const sdl = Module.SDL2 || {};
    return (sdl.audioContext ? sdl.audioContext.state : 'none') + ' ' +
      (sdl.audio && sdl.audio.scriptProcessorNode instanceof ScriptProcessorNode ? 'deprecated'
                                                                                  : 'worklet');
  })()`);
  if (audio !== 'running worklet') fail(`the sound after a click: ${audio}`);
  // SDL keeps up with the output (a worklet that asks too late plays gaps of silence).
  const fed = `[Module.velmOrraSoundFrames, Module.SDL2.audioContext.currentTime,
                Module.SDL2.audioContext.sampleRate]`;
  const [mixedFrom, timeFrom] = await first.evaluate(fed);
  await sleep(3000);
  const [mixedTo, timeTo, rate] = await first.evaluate(fed);
  const pace = (mixedTo - mixedFrom) / ((timeTo - timeFrom) * rate);
  if (!(pace > 0.9)) fail(`the sound mixed at ${(100 * pace).toFixed(0)} % of the output's pace`);
  await waitFor('the copy of the turn\'s save',
                async () => (await first.evaluate('Module.velmOrraSaved')) > saves, 20, first);

  // Options: the music volume up (Right) by keys; Back saves it.
  const g = await geometry(first);
  await click(first, 144, 398);
  const before = await shot(first, 'options');
  for (let i = 0; i < 4; i++) await key(first, 'ArrowRight', 'ArrowRight', 39);
  const changed = await shot(first, 'options-louder');
  if (regionDiff(before, changed, g, ...kMusicBar) < 2) fail('the music bar did not change');
  const copied = await first.evaluate('Module.velmOrraSaved');
  await key(first, 'Escape', 'Escape', 27);
  await waitFor('the copy of the volume\'s save',
                async () => (await first.evaluate('Module.velmOrraSaved')) > copied, 20, first);
  const stored = await storedFile(first, 'Config.bin');
  if (!stored || stored.length !== 1450) fail(`Config.bin in IndexedDB: ${stored?.length}`);
  const volume = int32At(stored, 600);
  if (volume <= 50) fail(`the stored music volume is ${volume}, not above the default 50`);

  // The browser's keys are not taken from it; the game's are.
  const taken = await first.evaluate(`[['F5', 'F5', false], ['r', 'KeyR', true],
      ['F11', 'F11', false], ['ArrowLeft', 'ArrowLeft', false]].map(([key, code, ctrlKey]) => {
    const e = new KeyboardEvent('keydown', { key, code, ctrlKey, bubbles: true,
                                             cancelable: true });
    document.getElementById('canvas').dispatchEvent(e);
    return key + (e.defaultPrevented ? ' taken' : ' passed');
  }).join(', ')`);
  if (taken !== 'F5 passed, r passed, F11 passed, ArrowLeft taken')
    fail(`the keys: ${taken}`);

  // Offline: the server stops; a reload plays from the service worker's cache.
  await server.stop();
  const offline = await start(first, null, 'offline reload');
  console.log(`web: offline reload, playing screen ${offline.playing.toFixed(2)} s`);
  await sleep(1500);
  if (stored[608] !== 0) { // a kept game is offered first: Escape (No) declines it
    await key(first, 'Escape', 'Escape', 27);
    await sleep(800);
  }
  await click(first, 144, 398);
  const reloaded = await shot(first, 'options-offline');
  const drift = regionDiff(changed, reloaded, g, ...kMusicBar);
  if (drift > 2) fail(`the music bar after the reload differs (${drift.toFixed(1)}) from the one set`);
  await key(first, 'Escape', 'Escape', 27);
  await sleep(500);
  if (stored[608] !== 0) { // the kept game declined: a new one
    await click(first, 144, 179);
    field = await waitForBalls(first, 6, 'offline-game');
  } else {
    field = readField(await shot(first, 'offline-game'), g);
  }
  await moveBy(first, field, 'offline-moved', async (from, to) => {
    await click(first, ...from);
    await click(first, ...to);
  });

  // A second tab, a phone: the game is open in the first one, until it takes the game over.
  const phone = await chromium.page({ create: true });
  await phone.setup({ width: 390, height: 844, touch: true });
  await phone.send('Page.navigate', { url });
  const title = await waitFor('the second tab\'s page', () => phone.evaluate(`(() => {
    const e = document.getElementById('elsewhere');
    return e && !e.hidden && document.getElementById('elsewhere-title').textContent;
  })()`), 30, phone);
  if (!/open in another tab/.test(title)) fail(`the second tab says "${title}"`);
  await writeFileSync(join(shots, 'web-second-tab.png'), await phone.screenshot());
  const from = phone.console.length, stopping = first.console.length;
  await tapElement(phone, 'play-here');
  await waitFor('the first tab\'s word that it stopped', () => first.evaluate(
    `!document.getElementById('elsewhere').hidden &&
     /now open in another tab/.test(document.getElementById('elsewhere-title').textContent)`),
    20, first);
  if (!(await first.line('Saving config ...', stopping))) fail('the first tab did not save');
  await waitFor('"Starting game..." (taken over)', () => phone.line('Starting game...', from), 120,
                phone);
  const portrait = await geometry(phone);
  if (!portrait.upright) fail('the phone shows the picture whole, not upright');
  const cell = 52 * portrait.width / 492;
  if (cell < 40) fail(`a cell is ${cell.toFixed(1)} CSS pixels on the phone`);
  await sleep(1500);
  // The game the first tab kept is offered: Yes plays on with it.
  if (phone.line('Config.bin holds a game', from)) {
    await shot(phone, 'phone-offered');
    await tap(phone, 470, 340);
  }
  await sleep(500);
  field = readField(await shot(phone, 'phone-game'), portrait);
  if (ballCount(field) < 2) {
    await tap(phone, 142, 181); // New Game
    field = await waitForBalls(phone, 6, 'phone-game');
  }
  // A whole move by touch: the ball dragged to its cell.
  await moveBy(phone, field, 'phone-moved', async (from, to) => {
    await touch(phone, toPage(portrait, ...from), toPage(portrait, ...to));
  });

  // Exit and Yes by taps: the game saves, lets go of its window and the page says it has ended.
  const ending = phone.console.length;
  await tap(phone, 144, 536);
  await tap(phone, 466, 344);
  await waitFor('the save at the end', () => phone.line('Saving config ...', ending), 20, phone);
  const status = await waitFor('the page\'s word on the end',
    () => phone.evaluate('document.getElementById("status").textContent'), 10, phone);
  if (!/ended/.test(status)) fail(`the page says "${status}" at the end`);
  await shot(phone, 'ended');
  console.log(`web: second tab took over; a move by touch on a 390 x 844 phone (cells ` +
              `${cell.toFixed(1)} CSS px); screenshots in ${shots}`);

  // The day's deal is the same as on Linux: the page given the day prints it as the game starts.
  const deals = dailyFile ? readFileSync(dailyFile, 'utf8').split('\n').filter((l) => l) : [];
  for (const expected of deals) {
    const date = /date=([0-9-]+)/.exec(expected)[1];
    const before = phone.console.length;
    await phone.send('Page.navigate', { url: `${url}?daily=${date}` });
    const seen = await waitFor(`the deal of ${date}`,
      () => phone.line(`daily: date=${date}`, before), 120, phone);
    if (seen.text.trim() !== expected.trim())
      fail(`the deal of ${date} is "${seen.text}", on Linux "${expected}"`);
  }
  if (deals.length) console.log(`web: the daily deals of ${deals.length} days are Linux's`);
  console.log('PASS (web)');
} catch (error) {
  console.error(`FAIL (web): ${error.message}`);
  if (chromium.errors) console.error(chromium.errors.split('\n').slice(-10).join('\n'));
  process.exitCode = 1;
} finally {
  await chromium.close();
  await server.stop();
}
