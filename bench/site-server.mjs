// The web edition's site as a static host serves it: text, scripts and the
// module gzipped when the browser takes gzip, the faces and the icon as
// they are, each with its content type. Caching is left to the browser.
import { readdirSync, readFileSync } from "node:fs";
import { createServer } from "node:http";
import { extname, join } from "node:path";
import { gzipSync } from "node:zlib";

const types = {
    ".html": ["text/html; charset=utf-8", true],
    ".js": ["text/javascript; charset=utf-8", true],
    ".mjs": ["text/javascript; charset=utf-8", true],
    ".css": ["text/css; charset=utf-8", true],
    ".json": ["application/json", true],
    ".webmanifest": ["application/manifest+json", true],
    ".svg": ["image/svg+xml", true],
    ".txt": ["text/plain; charset=utf-8", true],
    ".wasm": ["application/wasm", true],
    ".woff2": ["font/woff2", false],
    ".png": ["image/png", false],
};

// The site has no folders; it is read, and gzipped, once.
export async function serveSite(site) {
    const files = new Map();
    for (const name of readdirSync(site)) {
        const [type, compress] = types[extname(name)] ?? ["application/octet-stream", false];
        const body = readFileSync(join(site, name));
        files.set(name, { type, body, gzipped: compress ? gzipSync(body, { level: 9 }) : null });
    }
    const server = createServer((request, response) => {
        const name = new URL(request.url, "http://x").pathname.slice(1) || "index.html";
        const file = files.get(name);
        if (!file) return response.writeHead(404, { "Content-Type": "text/plain" }).end("not found");
        const headers = { "Content-Type": file.type };
        let body = file.body;
        if (file.gzipped) {
            headers.Vary = "Accept-Encoding";
            if (/\bgzip\b/.test(request.headers["accept-encoding"] ?? "")) {
                headers["Content-Encoding"] = "gzip";
                body = file.gzipped;
            }
        }
        headers["Content-Length"] = body.length;
        response.writeHead(200, headers).end(request.method === "HEAD" ? undefined : body);
    });
    await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
    return {
        url: `http://127.0.0.1:${server.address().port}/`,
        close: () => new Promise((resolve) => server.close(resolve)),
    };
}
