// The page around the game: it fits the canvas to the window, leaves the browser its own keys,
// offers full screen, keeps one tab playing at a time, installs the service worker that makes
// the page work offline, and fetches the parts of the game data (data/<part>.data.gz, unpacked
// here, with the loader data/<part>.js beside each) before the game asks for them or when it
// does. Files are asked for with the build's id (?v=...), which the service worker keeps them by.
'use strict';
(function () {
  var BUILD = document.documentElement.getAttribute('data-build');
  var canvas = document.getElementById('canvas');
  var statusLine = document.getElementById('status');
  var fullButton = document.getElementById('fullscreen');
  var elsewhere = document.getElementById('elsewhere');
  var LANGUAGES = ['en', 'de', 'fr', 'es', 'it', 'nl', 'pt'];

  function show(text) {
    statusLine.textContent = text;
    statusLine.hidden = !text;
  }
  function versioned(path) {
    return path + '?v=' + BUILD;
  }

  // --- The canvas: the picture's pixels, scaled by the page to fit the window -----------------
  var fitted = '';
  function fit() {
    var w = canvas.width, h = canvas.height;
    var vw = window.innerWidth, vh = window.innerHeight;
    var key = w + 'x' + h + '@' + vw + 'x' + vh;
    if (!w || !h || !vw || !vh || key === fitted) return;
    fitted = key;
    var scale = Math.min(vw / w, vh / h);
    canvas.style.width = Math.floor(w * scale) + 'px';
    canvas.style.height = Math.floor(h * scale) + 'px';
  }
  window.addEventListener('resize', fit);
  fit();

  // --- The browser's own keys reach the browser, not the game ----------------------------------
  // Reload, full screen, developer tools, zoom, find, print, address bar, history, tabs.
  function browsersKey(e) {
    var k = e.key || '', ctrl = e.ctrlKey || e.metaKey;
    return k === 'F5' || k === 'F11' || k === 'F12' ||
      (ctrl && !e.altKey && /^[rldfpwt+=\-0]$/i.test(k)) ||
      (ctrl && e.shiftKey && /^[ijc]$/i.test(k)) ||
      (ctrl && (k === 'Tab' || k === 'PageUp' || k === 'PageDown')) ||
      (e.altKey && !ctrl && (k === 'ArrowLeft' || k === 'ArrowRight' || k === 'Home'));
  }
  function passToBrowser(e) {
    if (browsersKey(e)) e.stopImmediatePropagation();
  }
  // Captured on the window before the game's own listeners there see them.
  window.addEventListener('keydown', passToBrowser, true);
  window.addEventListener('keyup', passToBrowser, true);
  window.addEventListener('keypress', passToBrowser, true);
  // Input wakes the game's passes from their pace at rest (a timer) to every display refresh.
  function wake() {
    if (Module._VelmOrraWake) Module._VelmOrraWake();
  }
  ['pointerdown', 'pointermove', 'touchstart', 'keydown', 'wheel'].forEach(function (type) {
    window.addEventListener(type, wake, { capture: true, passive: true });
  });
  // The right button drops a selection: no menu of the browser's over the game.
  canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });

  // --- Full screen: the page's, never kept ------------------------------------------------------
  function fullScreen(on) {
    var root = document.documentElement;
    if (on && !document.fullscreenElement && root.requestFullscreen)
      root.requestFullscreen({ navigationUI: 'hide' }).catch(function () {});
    else if (!on && document.fullscreenElement && document.exitFullscreen)
      document.exitFullscreen().catch(function () {});
  }
  if (document.fullscreenEnabled) {
    fullButton.hidden = false;
    fullButton.addEventListener('click', function () {
      fullScreen(!document.fullscreenElement);
      canvas.focus();
    });
    document.addEventListener('fullscreenchange', function () {
      fullButton.title = document.fullscreenElement ? 'Leave full screen' : 'Full screen';
    });
  }

  // --- Sound through an AudioWorklet -------------------------------------------------------------
  // SDL plays through a ScriptProcessorNode, which browsers have deprecated: SDL is handed a
  // stand-in with the same calls whose samples an AudioWorkletNode plays. SDL still mixes on the
  // page's thread, whole buffers the worklet asks for; the worklet only plays what it was sent, so
  // neither shared memory nor special server headers are needed, and its code comes from the page
  // itself (no file to fetch, offline too). The worklet renders the device's buffer in one burst
  // and takes messages only between bursts: it keeps `low` frames queued or asked for (a burst and
  // two of SDL's buffers), counting what it asked for until it arrives, so a burst never runs dry.
  var WORKLET = [
    'class VelmOrraOutput extends AudioWorkletProcessor {',
    '  constructor(options) {',
    '    super();',
    '    const o = options.processorOptions;',
    '    this.low = o.low; this.frames = o.frames; this.channels = o.channels;',
    '    this.queue = []; this.offset = 0; this.queued = 0; this.asked = 0;',
    '    this.port.onmessage = (e) => {',
    '      const n = e.data.length / this.channels;',
    '      this.queue.push(e.data); this.queued += n; this.asked = Math.max(0, this.asked - n);',
    '    };',
    '  }',
    '  process(inputs, outputs) {',
    '    const out = outputs[0], n = out[0].length;',
    '    let i = 0;',
    '    while (i < n && this.queue.length) {',
    '      const buffer = this.queue[0], length = buffer.length / this.channels;',
    '      const offset = this.offset, take = Math.min(n - i, length - offset);',
    '      for (let c = 0; c < out.length; c++) {',
    '        const from = Math.min(c, this.channels - 1) * length + offset;',
    '        out[c].set(buffer.subarray(from, from + take), i);',
    '      }',
    '      i += take; this.offset += take; this.queued -= take;',
    '      if (this.offset >= length) { this.queue.shift(); this.offset = 0; }',
    '    }',
    '    if (i < n) for (let c = 0; c < out.length; c++) out[c].fill(0, i);',
    '    const short = this.low - this.queued - this.asked;',
    '    if (short > 0) {',
    '      const wanted = Math.ceil(short / this.frames) * this.frames;',
    '      this.asked += wanted;',
    '      this.port.postMessage(wanted);',
    '    }',
    '    return true;',
    '  }',
    '}',
    "registerProcessor('velm-orra-output', VelmOrraOutput);",
  ].join('\n');
  var worklets = new WeakMap();
  function workletOf(context) {
    if (!worklets.has(context)) {
      var url = URL.createObjectURL(new Blob([WORKLET], { type: 'text/javascript' }));
      worklets.set(context, context.audioWorklet.addModule(url));
    }
    return worklets.get(context);
  }
  function SoundStandIn(context, frames, channels) {
    var self = this, node = null, destination = null;
    var output = {
      numberOfChannels: channels,
      data: [],
      getChannelData: function (c) { return this.data[c]; },
    };
    this.onaudioprocess = null;
    // The buffers asked for go in one message: each channel's samples in a row, one channel
    // after the other (one array to hand over: a message costs more than its samples).
    function mix(wanted) {
      var length = Math.ceil(wanted / frames) * frames;
      var samples = new Float32Array(channels * length);
      for (var at = 0; at < length; at += frames) {
        output.data = [];
        for (var c = 0; c < channels; c++)
          output.data.push(samples.subarray(c * length + at, c * length + at + frames));
        if (self.onaudioprocess) self.onaudioprocess({ outputBuffer: output });
      }
      // The frames mixed so far, to hold against the context's clock: short means gaps.
      Module.velmOrraSoundFrames = (Module.velmOrraSoundFrames || 0) + length;
      node.port.postMessage(samples, [samples.buffer]);
    }
    workletOf(context).then(function () {
      node = new AudioWorkletNode(context, 'velm-orra-output', {
        numberOfInputs: 0, numberOfOutputs: 1, outputChannelCount: [channels],
        processorOptions: {
          frames: frames,
          channels: channels,
          low: 2 * frames + Math.ceil((context.baseLatency || 0) * context.sampleRate),
        },
      });
      node.port.onmessage = function (e) { mix(e.data); };
      if (destination) node.connect(destination);
    }, function (error) {
      console.warn('Velm Orra: no sound (' + error + ')');
    });
    this.connect = function (to) {
      destination = to;
      if (node) node.connect(to);
    };
    this.disconnect = function () {
      destination = null;
      self.onaudioprocess = null;
      if (node) node.disconnect();
    };
  }
  // SDL makes its context with the browser's defaults, which ask for the shortest output buffer
  // the device takes (10 ms in Chromium): the audio threads then wake a hundred times a second,
  // which at rest with the music playing cost more than the game's own frames. A buffer of about
  // 50 ms lets them wake some twenty times; a sound starts at most about 140 ms after its cause
  // (the buffer and the worklet's queue), instead of about 60 ms.
  if (window.AudioContext) {
    var PlainContext = window.AudioContext;
    window.AudioContext = class extends PlainContext {
      constructor(options) {
        super(Object.assign({ latencyHint: 0.05 }, options));
      }
    };
  }
  if (window.AudioContext && window.AudioWorkletNode && window.isSecureContext &&
      'audioWorklet' in AudioContext.prototype) {
    var scriptProcessor = AudioContext.prototype.createScriptProcessor;
    AudioContext.prototype.createScriptProcessor = function (frames, inputs, outputs) {
      // Recording (inputs) is no part of the game: only the output is stood in for.
      if (inputs) return scriptProcessor.apply(this, arguments);
      return new SoundStandIn(this, frames, outputs);
    };
  }

  // --- The game data, in parts ------------------------------------------------------------------
  var parts = {};   // name -> { state: 'loading' | 'ready' | 'failed', loaded, total, at, promise }
  var unpacked = {}; // name -> the part's bytes until its loader takes them
  function download(name, part) {
    var gzip = typeof DecompressionStream === 'function';
    return fetch(versioned('data/' + name + (gzip ? '.data.gz' : '.data'))).then(function (r) {
      if (!r.ok) throw new Error('data/' + name + ': ' + r.status + ' ' + r.statusText);
      part.total = Number(r.headers.get('Content-Length')) || 0;
      if (!r.body || !r.body.getReader) return r.arrayBuffer();
      var reader = r.body.getReader(), chunks = [];
      function more() {
        return reader.read().then(function (step) {
          if (step.done) return new Blob(chunks).arrayBuffer();
          chunks.push(step.value);
          part.loaded += step.value.length;
          progress();
          return more();
        });
      }
      return more();
    }).then(function (bytes) {
      // A server that sends the file with a gzip encoding has had the browser unpack it.
      var head = new Uint8Array(bytes, 0, Math.min(2, bytes.byteLength));
      if (!gzip || head[0] !== 0x1f || head[1] !== 0x8b) return bytes;
      var stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('gzip'));
      return new Response(stream).arrayBuffer();
    });
  }
  function runScript(src) {
    return new Promise(function (resolve, reject) {
      var s = document.createElement('script');
      s.src = src;
      s.onload = function () { resolve(); };
      s.onerror = function () { reject(new Error(src + ' could not be loaded')); };
      document.body.appendChild(s);
    });
  }
  // A part is fetched once; one that failed is tried again when asked for 10 s later.
  function fetchPart(name) {
    var part = parts[name];
    if (part && (part.state !== 'failed' || Date.now() - part.at < 10000)) return part.promise;
    part = parts[name] = { state: 'loading', loaded: 0, total: 0, at: 0 };
    part.promise = download(name, part).then(function (bytes) {
      unpacked[name] = bytes;
      // The loader finds the bytes through Module.getPreloadedPackage and puts the files in
      // place (before the program starts, or at once once it runs).
      return runScript(versioned('data/' + name + '.js'));
    }).then(function () {
      delete unpacked[name];
      part.state = 'ready';
    }, function (error) {
      delete unpacked[name];
      part.state = 'failed';
      part.at = Date.now();
      console.warn('Velm Orra: the data part "' + name + '" could not be fetched (' + error + ')');
      throw error;
    });
    part.promise.catch(function () {});
    return part.promise;
  }
  var baseShown = true;
  function progress() {
    var base = parts.base;
    if (!baseShown || !base || !base.total) return;
    show('Loading Velm Orra… ' + Math.round(base.loaded / 1048576) + ' of ' +
         Math.round(base.total / 1048576) + ' MB');
  }
  // The parts the game will likely ask for first, fetched beside the base: the language the
  // browser prefers (the game follows it unless the player chose another) and the 2x pictures
  // on a dense screen.
  function likelyParts() {
    var wanted = [];
    var langs = navigator.languages && navigator.languages.length ? navigator.languages
      : [navigator.language || 'en'];
    for (var i = 0; i < langs.length; i++) {
      var code = String(langs[i]).slice(0, 2).toLowerCase();
      if (LANGUAGES.indexOf(code) >= 0) {
        if (code !== 'en') wanted.push('lang-' + code);
        break;
      }
    }
    if ((window.devicePixelRatio || 1) >= 1.5) {
      wanted.push('2x');
      if (wanted.length > 1) wanted.push('2x-' + wanted[0]);
    }
    return wanted;
  }
  // LANGUAGE for the game: the browser's languages in order, as locale names.
  function languageList() {
    var langs = navigator.languages && navigator.languages.length ? navigator.languages
      : [navigator.language || ''];
    return Array.prototype.map.call(langs, function (l) { return String(l).replace('-', '_'); })
      .join(':');
  }

  // --- The service worker: the page, the program and the fetched data kept for offline -------
  // On a first visit the page waits (a moment) for the worker to take over, so that everything
  // after this page goes through it and is kept.
  function serviceWorker() {
    if (!('serviceWorker' in navigator) || !window.isSecureContext) return Promise.resolve();
    return navigator.serviceWorker.register('sw.js').then(function (registration) {
      if (navigator.serviceWorker.controller || registration.active) return;
      return new Promise(function (resolve) {
        var timer = setTimeout(resolve, 5000);
        navigator.serviceWorker.addEventListener('controllerchange', function () {
          clearTimeout(timer);
          resolve();
        }, { once: true });
      });
    }).catch(function (error) {
      console.warn('Velm Orra: no service worker (' + error + '); the page needs the network');
    });
  }

  // --- One writing tab ---------------------------------------------------------------------------
  // The tab that plays holds the "velm-orra" lock of the origin (Web Locks) for as long as it
  // plays. Another tab finds it taken and offers to take the game over: it asks the playing tab
  // (a BroadcastChannel) to save and stop, which lets go of the lock.
  var channel = 'BroadcastChannel' in window ? new BroadcastChannel('velm-orra') : null;
  var lockState = 'none'; // 'held', 'taken', or 'none' without the Web Locks API
  var letGo = null;       // ends the hold on the lock
  var running = false;    // the game runs in this tab
  var started = false;    // the program was started in this tab (it cannot start twice)
  function hold() {
    lockState = 'held';
    return new Promise(function (resolve) { letGo = resolve; });
  }
  // Waits up to `wait` ms for the lock (a reloaded page lets go of it a moment after the new
  // one asks); `steal` takes it from a tab that does not answer.
  function acquire(wait, steal) {
    if (!navigator.locks || !navigator.locks.request || !window.AbortController)
      return Promise.resolve('none');
    return new Promise(function (resolve) {
      var give = new AbortController();
      var timer = setTimeout(function () { give.abort(); }, wait);
      var options = steal ? { steal: true } : { signal: give.signal };
      navigator.locks.request('velm-orra', options, function () {
        clearTimeout(timer);
        resolve('held');
        return hold();
      }).catch(function (error) {
        clearTimeout(timer);
        if (lockState === 'held') {
          // Stolen by a tab that could not reach this one: stop writing at once.
          lockState = 'taken';
          if (running) giveUp();
        }
        resolve(error && error.name === 'AbortError' ? 'taken' : 'none');
      });
    });
  }
  function release() {
    lockState = 'none';
    if (letGo) letGo();
    letGo = null;
  }
  function showElsewhere(title, text) {
    document.getElementById('elsewhere-title').textContent = title;
    document.getElementById('elsewhere-text').textContent = text;
    show('');
    elsewhere.hidden = false;
    document.getElementById('play-here').focus();
  }
  // Saves and stops the game in this tab, then lets another tab have the lock.
  function giveUp() {
    running = false;
    if (Module._VelmOrraGiveUp) Module._VelmOrraGiveUp();
    // The game runs no frame any more; its music stops with it.
    if (Module.SDL2 && Module.SDL2.audioContext) Module.SDL2.audioContext.suspend();
    var waited = 0;
    (function wait() {
      if (Module.velmOrraPersistIdle && !Module.velmOrraPersistIdle() && (waited += 50) < 5000) {
        setTimeout(wait, 50);
        return;
      }
      release();
      if (channel) channel.postMessage('released');
      canvas.hidden = true;
      showElsewhere('Velm Orra is now open in another tab',
        'Your game and scores were saved there. Play here, and that tab saves and stops.');
    })();
  }
  if (channel) channel.onmessage = function (e) {
    if (e.data === 'take-over' && running) giveUp();
  };
  // Asks the playing tab to save and stop; resolves once it has let go (or did not answer).
  function askToLetGo() {
    if (!channel) return Promise.resolve();
    return new Promise(function (resolve) {
      var timer = setTimeout(done, 6000);
      function done() {
        clearTimeout(timer);
        channel.removeEventListener('message', heard);
        resolve();
      }
      function heard(e) {
        if (e.data === 'released') done();
      }
      channel.addEventListener('message', heard);
      channel.postMessage('take-over');
    });
  }
  document.getElementById('play-here').addEventListener('click', function () {
    elsewhere.hidden = true;
    show('Loading Velm Orra…');
    if (started) {
      // The program ran here once and cannot start again: a new page takes over.
      sessionStorage.setItem('velm-orra-take-over', '1');
      location.reload();
      return;
    }
    askToLetGo().then(function () { return acquire(4000, false); }).then(function (state) {
      return state === 'taken' ? acquire(0, true) : state;
    }).then(start);
  });

  // --- The program -------------------------------------------------------------------------------
  function dealArguments(query) {
    var seed = query.get('seed'), daily = query.get('daily');
    if (seed && /^[0-9]{1,19}$/.test(seed)) return ['--seed', seed];
    // A real day from 1970-01-01 on (the game would refuse another and not start).
    var day = daily && /^[0-9]{4}-[0-9]{2}-[0-9]{2}$/.test(daily) && new Date(daily + 'T00:00:00Z');
    if (day && !isNaN(day) && day.getUTCFullYear() >= 1970 &&
        day.toISOString().slice(0, 10) === daily) return ['--daily', daily];
    return [];
  }

  window.Module = {
    canvas: canvas,
    locateFile: function (path) { return versioned(path); },
    getPreloadedPackage: function (remote) {
      var name = String(remote).split('?')[0].replace(/^.*\//, '').replace(/\.data$/, '');
      var bytes = unpacked[name] || null;
      delete unpacked[name];
      return bytes;
    },
    setStatus: function () {},
    onRuntimeInitialized: function () {
      baseShown = false;
      show('');
      canvas.focus();
    },
    onAbort: function (what) { show('Velm Orra stopped: ' + what); },
    velmOrraEnded: function () {
      running = false;
      release();
      show('Velm Orra has ended. Reload the page to play again.');
    },
    velmOrraLockState: function () { return { held: 1, taken: 2 }[lockState] || 0; },
    velmOrraLanguages: languageList,
    // ?renderer=software or ?renderer=opengles2 names SDL's renderer (for measuring either).
    velmOrraRenderer: new URLSearchParams(location.search).get('renderer') || '',
    // ?seed=N deals game N (as velm-orra --seed N), ?daily=YYYY-MM-DD that day's game; anything
    // else in them is ignored, so that a mistyped link still starts the game.
    arguments: dealArguments(new URLSearchParams(location.search)),
    velmOrraFit: fit,
    velmOrraFullScreen: fullScreen,
    // The part's state for the game: 1 there, 0 on its way, -1 failed.
    velmOrraDataSet: function (name) {
      var part = parts[name];
      if (!part || part.state === 'failed') {
        fetchPart(name);
        part = parts[name];
      }
      return part.state === 'ready' ? 1 : part.state === 'failed' ? -1 : 0;
    },
    velmOrraDataShare: function (name) {
      var part = parts[name];
      if (!part) return 0;
      if (part.state === 'ready') return 1;
      return part.total ? Math.min(1, part.loaded / part.total) : 0;
    },
  };

  function start(state) {
    if (state === 'taken') {
      showElsewhere('Velm Orra is open in another tab',
        'One tab at a time keeps your scores and your game. Play here, and the other tab ' +
        'saves and stops.');
      return;
    }
    started = running = true;
    show('Loading Velm Orra…');
    Module.velmOrraBase = fetchPart('base');
    Module.velmOrraBase.catch(function (error) {
      show('Velm Orra could not load its data: ' + error.message);
    });
    likelyParts().forEach(fetchPart);
    runScript(versioned('index.js')).catch(function (error) {
      show('Velm Orra could not be loaded: ' + error.message);
    });
  }

  var takingOver = sessionStorage.getItem('velm-orra-take-over') === '1';
  sessionStorage.removeItem('velm-orra-take-over');
  serviceWorker().then(function () {
    if (!takingOver) return acquire(3000, false);
    return askToLetGo().then(function () { return acquire(4000, false); }).then(function (s) {
      return s === 'taken' ? acquire(0, true) : s;
    });
  }).then(start);
})();
