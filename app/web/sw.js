// Keeps the whole site in the browser, so that once visited, or installed,
// the drill runs without a network. The build writes each file of the site
// with the SHA-256 of its bytes, and a hash of them all, in place of the two
// names below: a new version is a new cache, filled on install, and the old
// one is deleted only when the new one takes over.
const files = SITE_FILES;
const version = SITE_VERSION;
const cacheName = `ohm-drill-${version}`;

const hex = (buffer) => [...new Uint8Array(buffer)].map((b) => b.toString(16).padStart(2, "0")).join("");

// Every file as this version has it, or none: a file of another version (a
// host halfway through taking a new upload, or an old copy on the way) fails
// the install, the old version stays, and the next visit tries again.
async function keep() {
    const cache = await caches.open(cacheName);
    const wanted = Object.entries(files).map(([file, hash]) => [file, hash, file]);
    wanted.push(["./", files["index.html"], "index.html"]);
    for (const [address, hash, file] of wanted) {
        // Past the browser's own cache: the files on the host now.
        const response = await fetch(new Request(address, { cache: "reload" }));
        const bytes = await response.clone().arrayBuffer();
        if (!response.ok || hex(await crypto.subtle.digest("SHA-256", bytes)) !== hash)
            throw new Error(`${file} on the host is not of version ${version}`);
        await cache.put(address, response);
    }
}

self.addEventListener("install", (event) => {
    event.waitUntil(keep().then(() => self.skipWaiting()));
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
