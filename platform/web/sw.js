// The service worker of Velm Orra's page: it keeps what a game needs, so that after one visit
// the page plays without the network. Everything but the page itself is asked for with the
// build's id (?v=<id>) and kept in the cache of that build, "velm-orra-<id>", the first time it
// passes; the page is fetched from the network first (a new build shows at once) and kept too.
// A new build's worker takes over at once and deletes the caches of other builds.
'use strict';
const BUILD = '@VO_BUILD@';
const CACHE = 'velm-orra-' + BUILD;
// Kept at once: the page and what it needs before the program starts.
const PAGE = ['./', 'boot.js?v=' + BUILD, 'manifest.webmanifest', 'icon-192.png', 'icon-512.png'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(PAGE))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys().then((names) => Promise.all(names
    .filter((name) => name.startsWith('velm-orra-') && name !== CACHE)
    .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The cache of the build a file was asked for with (the page of a newer build may be served by
// this worker until the newer worker takes over).
function cacheFor(url) {
  const build = url.searchParams.get('v');
  return caches.open(build ? 'velm-orra-' + build : CACHE);
}

async function pageFirstFromNetwork(request) {
  try {
    const response = await fetch(request);
    if (response.ok) {
      const cache = await caches.open(CACHE);
      await cache.put('./', response.clone());
    }
    return response;
  } catch (error) {
    const kept = await caches.match('./');
    if (kept) return kept;
    throw error;
  }
}

async function keptFirst(event, url) {
  const kept = await caches.match(event.request);
  if (kept) return kept;
  const response = await fetch(event.request);
  // Only whole answers are kept (not a range or an error); the page gets its answer while the
  // copy is stored.
  if (response.status === 200 && url.searchParams.has('v')) {
    const copy = response.clone();
    event.waitUntil(cacheFor(url).then((cache) => cache.put(event.request, copy)));
  }
  return response;
}

self.addEventListener('fetch', (event) => {
  const request = event.request;
  const url = new URL(request.url);
  if (request.method !== 'GET' || url.origin !== self.location.origin) return;
  if (request.mode === 'navigate') {
    event.respondWith(pageFirstFromNetwork(request));
    return;
  }
  event.respondWith(keptFirst(event, url));
});
