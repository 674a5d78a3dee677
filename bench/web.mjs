// The page in headless Chromium at 1280 x 900, served as plain files from 127.0.0.1 (no
// compression, as python3 -m http.server serves them): for a first visit up to the playing screen
// the bytes sent and the times, then the processor share of one core at rest on the playing
// screen over `seconds` after a reload (the first game's tip seen), of the page's own process (the renderers) and of the GPU process.
// Without WebGL (--disable-gpu --disable-webgl) and with it (SwiftShader's WebGL, the renderer
// named opengles2 by the page's ?renderer= since the page itself would not draw with a software
// WebGL). The rest is measured with the music playing (the browser's audio threads work in the
// page's process) and again with the page's sound stopped. Prints one line per run.
// Usage: node bench/web.mjs <dist/web folder> [runs=1] [seconds=10] [mode: webgl | software]
import { readdirSync, readFileSync } from 'node:fs';
import { SiteServer, launchChromium, waitFor, sleep } from '../tests/ports/chromium.mjs';

const [site, runsArg, secondsArg, only] = process.argv.slice(2);
if (!site) throw new Error('usage: node bench/web.mjs <dist/web folder> [runs] [seconds]');
const runs = Number(runsArg || 1), seconds = Number(secondsArg || 10);

const modes = [
  { name: 'without WebGL', flags: ['--disable-gpu', '--disable-webgl'], query: '' },
  { name: 'with WebGL', flags: ['--use-angle=swiftshader', '--enable-unsafe-swiftshader',
                                '--ignore-gpu-blocklist'], query: '?renderer=opengles2' },
];

async function cpuByType(chromium) {
  const processes = await chromium.processes();
  const sum = (type) => processes.filter((p) => p.type === type)
    .reduce((s, p) => s + p.cpuTime, 0);
  return { renderer: sum('renderer'), gpu: sum('GPU'), threads: rendererThreads(processes) };
}

// Processor seconds by thread name in the renderers (Linux's /proc; ticks of 1/100 s).
function rendererThreads(processes) {
  const threads = {};
  for (const p of processes.filter((q) => q.type === 'renderer')) {
    let tasks = [];
    try { tasks = readdirSync(`/proc/${p.id}/task`); } catch { continue; }
    for (const task of tasks) {
      try {
        const stat = readFileSync(`/proc/${p.id}/task/${task}/stat`, 'utf8');
        const name = stat.slice(stat.indexOf('(') + 1, stat.lastIndexOf(')'));
        const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
        threads[name] = (threads[name] || 0) + (Number(fields[11]) + Number(fields[12])) / 100;
      } catch { /* the thread ended */ }
    }
  }
  return threads;
}

// The renderers' busiest threads between two samples, as shares of a core.
function busiest(a, b, seconds) {
  return Object.keys(b.threads)
    .map((name) => [name, 100 * (b.threads[name] - (a.threads[name] || 0)) / seconds])
    .filter(([, share]) => share >= 0.3).sort((x, y) => y[1] - x[1])
    .map(([name, share]) => `${name} ${share.toFixed(1)}`).join(', ');
}

for (let run = 0; run < runs; run++) {
  for (const mode of modes) {
    if (only && (only === 'webgl') !== (mode.name === 'with WebGL')) continue;
    const server = new SiteServer(site);
    const url = await server.start();
    const chromium = await launchChromium(mode.flags);
    try {
      const page = await chromium.page();
      await page.setup({ width: 1280, height: 900 });
      const began = Date.now();
      await page.send('Page.navigate', { url: url + mode.query });
      await waitFor('the playing screen', () => page.line('Starting game...'), 180, page);
      const playing = (Date.now() - began) / 1000;
      const at = (text) => ((page.line(text)?.at ?? NaN) - began) / 1000;
      const device = page.line('Device - ')?.text.replace(/^.*Device - /, '') ?? '?';
      const bytes = server.bytes;
      // The first game's first tip animates for 20 s: the rest is measured after a reload, with
      // that tip seen.
      const from = page.console.length;
      await page.send('Page.reload', {});
      await waitFor('the playing screen again', () => page.line('Starting game...', from), 180,
                    page);
      await sleep(3000);
      const fed = '[Module.velmOrraSoundFrames, Module.SDL2.audioContext.currentTime, ' +
                  'Module.SDL2.audioContext.sampleRate]';
      const before = await cpuByType(chromium);
      const fedFrom = await page.evaluate(fed);
      await sleep(seconds * 1000);
      const after = await cpuByType(chromium);
      const fedTo = await page.evaluate(fed);
      // The share of the output's frames SDL mixed: under 100 % means gaps in the sound.
      const pace = (100 * (fedTo[0] - fedFrom[0]) / ((fedTo[1] - fedFrom[1]) * fedTo[2])).toFixed(0);
      const share = (k, a = after, b = before) => (100 * (a[k] - b[k]) / seconds).toFixed(1);
      // Once more with the page's sound stopped: what the browser's audio threads took.
      await page.evaluate('Module.SDL2 && Module.SDL2.audioContext && Module.SDL2.audioContext.suspend()');
      await sleep(1000);
      const quietFrom = await cpuByType(chromium);
      await sleep(seconds * 1000);
      const quiet = await cpuByType(chromium);
      console.log(`web ${mode.name}: first visit ${(bytes / 1048576).toFixed(1)} MB in ` +
                  `${server.requests.length} requests; program started ${at('Program started').toFixed(2)} s, ` +
                  `first frame ${at('Initializing Direct3D Device...').toFixed(2)} s, playing screen ` +
                  `${playing.toFixed(2)} s; at rest ${share('renderer')} % (page) + ` +
                  `${share('gpu')} % (GPU process) with the sound mixed at ${pace} % of its pace, ` +
                  `without sound ` +
                  `${share('renderer', quiet, quietFrom)} % + ${share('gpu', quiet, quietFrom)} %; ` +
                  `${device}; the page's threads ${busiest(before, after, seconds)}; without ` +
                  `sound ${busiest(quietFrom, quiet, seconds)}`);
    } finally {
      await chromium.close();
      await server.stop();
    }
  }
}
