// The page's side of the game, run before the program starts: the player's folder /velm-orra kept
// in the page's IndexedDB, the one-copy lock, and the copies of the folder after each save.
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  // Deleting a WebGL context (SDL destroys the renderer of the start picture, and a lost device's)
  // makes emscripten drop every event handler on the canvas, SDL's mouse handlers among them.
  // SDL adds and removes its own handlers with its window, so that sweep is left out.
  JSEvents.removeAllHandlersOnTarget = function () {};

  addRunDependency('velm-orra-storage');
  var pending = 2;
  function ready() {
    if (--pending === 0) removeRunDependency('velm-orra-storage');
  }

  // The IndexedDB database of this origin named "/velm-orra" holds the folder between visits.
  FS.mkdir('/velm-orra');
  FS.mount(IDBFS, {}, '/velm-orra');
  FS.syncfs(true, function (error) {
    Module.velmOrraStorage = !error;
    if (error) console.warn('Velm Orra: the browser storage cannot be read (' + error + ')');
    ready();
  });

  // One copy of the game per origin: the lock is held while the page lives; a second tab finds
  // it taken. A page being reloaded lets go of it a moment after the new one asks, so the ask
  // waits up to three seconds. Without the Web Locks API there is nothing to guard with.
  Module.velmOrraLock = 'none';
  Module.velmOrraLockState = function () {
    return { held: 1, taken: 2 }[Module.velmOrraLock] || 0;
  };
  if (navigator.locks && navigator.locks.request && window.AbortController) {
    var giveUp = new AbortController();
    var timer = setTimeout(function () { giveUp.abort(); }, 3000);
    navigator.locks.request('velm-orra', { signal: giveUp.signal }, function () {
      clearTimeout(timer);
      Module.velmOrraLock = 'held';
      ready();
      return new Promise(function () {});
    }).catch(function (error) {
      Module.velmOrraLock = error && error.name === 'AbortError' ? 'taken' : 'none';
      ready();
    });
  } else {
    ready();
  }
});

// Copies the folder into IndexedDB; a call while a copy runs starts one more after it, so that
// the last save is always copied. velmOrraSaved counts the finished copies.
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
})();
