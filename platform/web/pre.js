// The program's side of the page (boot.js), run before the program starts: the browser's
// languages for the game, the player's folder /velm-orra kept in the page's IndexedDB, the
// copies of the folder after each save, and the game data's base part in place before main.
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  // Deleting a WebGL context (SDL destroys the renderer of the start picture, and a lost device's)
  // makes emscripten drop every event handler on the canvas, SDL's mouse handlers among them.
  // SDL adds and removes its own handlers with its window, so that sweep is left out.
  JSEvents.removeAllHandlersOnTarget = function () {};

  // The game picks the first of these it speaks (a choice on the Options screen comes first).
  if (Module.velmOrraLanguages) ENV.LANGUAGE = Module.velmOrraLanguages();
  if (Module.velmOrraRenderer) ENV.SDL_RENDER_DRIVER = Module.velmOrraRenderer;

  addRunDependency('velm-orra-storage');
  addRunDependency('velm-orra-data');
  // The base part's loader adds its files in a pre-run step of its own; the program waits for
  // it. Without the base nothing can start: the page says so.
  if (Module.velmOrraBase) {
    Module.velmOrraBase.then(function () { removeRunDependency('velm-orra-data'); },
                             function () {});
  } else {
    removeRunDependency('velm-orra-data');
  }

  // The IndexedDB database of this origin named "/velm-orra" holds the folder between visits.
  FS.mkdir('/velm-orra');
  FS.mount(IDBFS, {}, '/velm-orra');
  FS.syncfs(true, function (error) {
    Module.velmOrraStorage = !error;
    if (error) console.warn('Velm Orra: the browser storage cannot be read (' + error + ')');
    removeRunDependency('velm-orra-storage');
  });
});

// Copies the folder into IndexedDB; a call while a copy runs starts one more after it, so that
// the last save is always copied. velmOrraSaved counts the finished copies; velmOrraPersistIdle
// says that no copy runs or waits.
Module.velmOrraSaved = 0;
(function () {
  var busy = false, again = false;
  Module.velmOrraPersist = function () {
    if (!Module.velmOrraStorage) return;
    if (busy) {
      again = true;
      return;
    }
    busy = true;
    FS.syncfs(false, function (error) {
      busy = false;
      if (error) console.warn('Velm Orra: saving to the browser storage failed (' + error + ')');
      else Module.velmOrraSaved++;
      if (again) {
        again = false;
        Module.velmOrraPersist();
      }
    });
  };
  Module.velmOrraPersistIdle = function () { return !busy && !again; };
})();

// Shows changed areas of the picture drawn in memory (32-bit ARGB, `pitch` bytes a row at
// `pixels`) on the canvas's 2D context, each through each piece (from, to: SDL_Rects, four
// 32-bit integers each, of the same size); `whole` first fills the canvas with `gaps`
// (0xRRGGBB). Returns 0 where the canvas has no 2D context (it draws with WebGL).
(function () {
  var image = null, words = null;
  function rect(address) {
    var i = address >> 2;
    return [HEAP32[i], HEAP32[i + 1], HEAP32[i + 2], HEAP32[i + 3]];
  }
  Module.velmOrraShowPicture = function (pixels, pitch, pieces, pieceCount, areas, areaCount,
                                         whole, gaps) {
    var canvas = Module.canvas;
    var context = canvas.getContext('2d');
    if (!context) return 0;
    if (!image || image.width < canvas.width || image.height < canvas.height) {
      image = context.createImageData(canvas.width, canvas.height);
      words = new Uint32Array(image.data.buffer);
    }
    if (whole) {
      context.fillStyle = '#' + ('00000' + gaps.toString(16)).slice(-6);
      context.fillRect(0, 0, canvas.width, canvas.height);
    }
    for (var k = 0; k < pieceCount; k++) {
      var from = rect(pieces + 32 * k), to = rect(pieces + 32 * k + 16);
      for (var a = 0; a < areaCount; a++) {
        var area = rect(areas + 16 * a);
        var x0 = Math.max(area[0], from[0]), y0 = Math.max(area[1], from[1]);
        var x1 = Math.min(area[0] + area[2], from[0] + from[2]);
        var y1 = Math.min(area[1] + area[3], from[1] + from[3]);
        if (x1 <= x0 || y1 <= y0) continue;
        var w = x1 - x0, h = y1 - y0, stride = image.width;
        for (var y = 0; y < h; y++) {
          var src = (pixels + (y0 + y) * pitch + x0 * 4) >> 2, dst = y * stride;
          for (var x = 0; x < w; x++) {
            var v = HEAPU32[src + x]; // B G R A in memory; the canvas wants R G B A
            words[dst + x] = 0xff000000 | ((v & 0xff) << 16) | (v & 0xff00) | ((v >> 16) & 0xff);
          }
        }
        context.putImageData(image, to[0] + x0 - from[0], to[1] + y0 - from[1], 0, 0, w, h);
      }
    }
    return 1;
  };
})();
