// The drill without a network: the site once visited, with its manifest for
// installing it, and the edition in one file, opened from the disk.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { dirname, join } from "node:path";
import { after, before, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";
import { fileURLToPath, pathToFileURL } from "node:url";
import { answer, controlTable, expectedAnswer, firstQuestion, openDrill, playDrill, serveSite, shows, startBrowser } from "./drillpage.mjs";

let browser;
before(async () => (browser = await startBrowser()));
after(() => browser?.close());

test("installed, the site runs with its server and the network gone; 終了 closes the app", async () => {
    const page = await openDrill(browser);
    const table = await controlTable(page);
    const manifest = await page.evaluate(async () => {
        const link = document.querySelector("link[rel=manifest]");
        const manifest = await (await fetch(link.href)).json();
        // The size each icon is drawn at.
        for (const icon of manifest.icons) {
            const image = new Image();
            image.src = new URL(icon.src, link.href);
            await image.decode();
            icon.drawn = `${image.naturalWidth}x${image.naturalHeight}`;
        }
        return manifest;
    });
    assert.equal(manifest.name, table.caption);
    assert.equal(manifest.lang, "ja");
    assert.equal(manifest.display, "standalone");
    // A picture is drawn at the size it is offered at; the drawing at any size.
    assert.ok(manifest.icons.some((i) => i.sizes === "192x192"));
    for (const i of manifest.icons) assert.ok(i.sizes === "any" ? i.type === "image/svg+xml" : i.sizes === i.drawn, i.src);

    await page.evaluate(() => navigator.serviceWorker.ready);
    await page.reload();
    assert.ok(await page.evaluate(() => navigator.serviceWorker.controller !== null));
    // Installed as a browser would from the manifest, whose id is the site.
    const cdp = await browser.context.newCDPSession(page);
    await cdp.send("PWA.install", { manifestId: browser.url });
    await browser.stopServer();
    await browser.context.setOffline(true);
    await page.reload();
    await firstQuestion(page);
    await answer(page, table, await expectedAnswer(page));
    assert.equal(await shows(page, "Text2_1"), "○");
    assert.equal(await shows(page, "Text6"), "10");
    assert.deepEqual(page.errors, []);

    // The app opened from its icon closes on 終了. Headless, it opens in a
    // tab, and Chromium cannot emulate the app's display mode there: the
    // site's pages (not the one-file page) have matchMedia say that they
    // show the app on its own.
    await browser.context.addInitScript(() => {
        if (location.protocol !== "http:") return;
        const media = globalThis.matchMedia;
        globalThis.matchMedia = (query) => (query === "(display-mode: standalone)" ? { matches: true } : media(query));
    });
    const launched = browser.context.waitForEvent("page");
    await cdp.send("PWA.launch", { manifestId: browser.url });
    const app = await launched;
    await firstQuestion(app);
    const closed = app.waitForEvent("close");
    await app.click("#Command1");
    await closed;
});

test("the edition in one file runs from the disk, offline, to the drill's end", async () => {
    await browser.context.setOffline(true);
    const file = join(dirname(process.env.OHM_WEB_SITE), "ohm-parallel.html");
    const page = await openDrill(browser, { url: pathToFileURL(file).href });
    const fonts = await page.evaluate(() => document.fonts.ready.then((set) => [...set].map((f) => f.status)));
    assert.deepEqual(fonts, ["loaded", "loaded"]);
    await playDrill(page, await controlTable(page));
    assert.deepEqual(page.errors, []);
});

// A folder of a host, as a teacher puts the site there, whose server sends
// the WebAssembly with a wrong type: a question, then offline after one visit.
test("under a folder of a host the site plays, and offline after one visit", async () => {
    const host = await startBrowser();
    const server = await serveSite({ prefix: "/science/ohm/", wasmType: "application/octet-stream" });
    try {
        const page = await openDrill(host, { url: server.url });
        const table = await controlTable(page);
        await answer(page, table, await expectedAnswer(page));
        assert.equal(await shows(page, "Text2_1"), "○");
        assert.equal(await page.evaluate(async () => (await navigator.serviceWorker.ready).scope), server.url);
        await server.close();
        await host.context.setOffline(true);
        await page.reload();
        await firstQuestion(page);
        await answer(page, table, await expectedAnswer(page));
        assert.equal(await shows(page, "Text2_1"), "○");
        assert.deepEqual(page.errors, []);
    } finally {
        await host.close();
    }
});

// Version 1 visited, version 2 put in its place on the host: the next visit
// shows version 2, and so does the device offline afterwards.
test("a new version on the host is what the next visit shows, offline too", async () => {
    const host = await startBrowser();
    const folder = mkdtempSync(join(tmpdir(), "ohm-versions-"));
    const [v1, v2] = [join(folder, "1"), join(folder, "2")];
    cpSync(process.env.OHM_WEB_SITE, v1, { recursive: true });
    cpSync(process.env.OHM_WEB_SITE, v2, { recursive: true });
    const index = join(v2, "index.html");
    writeFileSync(index, String(readFileSync(index)).replace(/title="Ver\.[^"]*"/, 'title="Ver.2"'));
    const pack = fileURLToPath(new URL("../../app/web/pack-site.py", import.meta.url));
    execFileSync("/usr/bin/python3", [pack, "worker", v2, fileURLToPath(new URL("../../app/web/sw.js", import.meta.url))]);
    let root = v1;
    const server = await serveSite({ root: () => root, prefix: "/ohm/" });
    const version = async (page) => {
        for (let tries = 0; tries < 100; ++tries, await sleep(100))
            try {
                const title = await page.evaluate(() => document.getElementById("Text5")?.title);
                if (title === "Ver.2") return title;
            } catch {} // between a page and the one it reloads to
        return page.evaluate(() => document.getElementById("Text5")?.title);
    };
    try {
        const first = await openDrill(host, { url: server.url });
        await first.evaluate(() => navigator.serviceWorker.ready);
        await first.close();
        root = v2;
        const next = await host.context.newPage();
        await next.goto(server.url);
        assert.equal(await version(next), "Ver.2");
        await server.close();
        await host.context.setOffline(true);
        await next.reload();
        await firstQuestion(next);
        assert.equal(await version(next), "Ver.2");
    } finally {
        await host.close();
        rmSync(folder, { recursive: true, force: true });
    }
});
