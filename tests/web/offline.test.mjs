// The drill without a network: the site once visited, with its manifest for
// installing it, and the edition in one file, opened from the disk.
import assert from "node:assert/strict";
import { dirname, join } from "node:path";
import { after, before, test } from "node:test";
import { pathToFileURL } from "node:url";
import { answer, controlTable, expectedAnswer, firstQuestion, openDrill, playDrill, shows, startBrowser } from "./drillpage.mjs";

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
