// Keeps the whole site in the browser, so that once visited, or installed,
// the drill runs without a network. The build writes the site's files and a
// hash of them in place of the two names below: a new build is a new cache,
// filled on install, and the old one is deleted when the new one takes over.
const files = SITE_FILES;
const version = SITE_VERSION;
const cacheName = `ohm-drill-${version}`;

self.addEventListener("install", (event) => {
    // Past the browser's own cache: the files of this build, not older ones.
    const requests = ["./", ...files].map((file) => new Request(file, { cache: "reload" }));
    event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(requests)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
    const old = (name) => name.startsWith("ohm-drill-") && name !== cacheName;
    const cleared = caches.keys().then((names) => Promise.all(names.filter(old).map((name) => caches.delete(name))));
    event.waitUntil(cleared.then(() => self.clients.claim()));
});

// From the cache first; the network only for what is not in it.
self.addEventListener("fetch", (event) => {
    if (event.request.method !== "GET") return;
    event.respondWith(caches.match(event.request, { cacheName }).then((cached) => cached ?? fetch(event.request)));
});
