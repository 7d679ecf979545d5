// What the web tests share: the site served on a free loopback port, Debian's
// Chromium headless on a fresh profile, and the drill opened in a new tab.
import { mkdirSync, mkdtempSync, readFile, rmSync, writeFileSync } from "node:fs";
import { createServer } from "node:http";
import { tmpdir } from "node:os";
import { extname, join } from "node:path";
import { chromium } from "playwright-core";

const site = process.env.OHM_WEB_SITE;
const types = { ".html": "text/html", ".js": "text/javascript", ".css": "text/css", ".wasm": "application/wasm" };

// zoom: the browser's own zoom for every page, as a pupil sets it with Ctrl
// and +, here through the profile's default zoom level (1.2 to the power of
// the level).
export async function startBrowser({ zoom = 1 } = {}) {
    // Only the site's own files, which have no folders: no path escapes it.
    const server = createServer((request, response) => {
        const name = new URL(request.url, "http://x").pathname.slice(1) || "index.html";
        readFile(join(site, name.replaceAll("/", "")), (error, body) => {
            if (error) return response.writeHead(404).end();
            response.writeHead(200, { "Content-Type": types[extname(name)] ?? "font/woff2" }).end(body);
        });
    });
    await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
    const profile = mkdtempSync(join(tmpdir(), "ohm-chromium-"));
    mkdirSync(join(profile, "Default"));
    const level = Math.log(zoom) / Math.log(1.2);
    writeFileSync(join(profile, "Default", "Preferences"), JSON.stringify({ partition: { default_zoom_level: { x: level } } }));
    const context = await chromium.launchPersistentContext(profile, {
        executablePath: "/usr/bin/chromium",
        viewport: { width: 1024, height: 768 },
        args: ["--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
            "--disable-component-update", "--disable-sync"],
    });
    return {
        context,
        url: `http://127.0.0.1:${server.address().port}/`,
        async close() {
            await context.close();
            server.close();
            rmSync(profile, { recursive: true, force: true });
        },
    };
}

// The page's Date reads this time of day before any of its scripts runs;
// the drill seeds its questions from it.
function fixClock(time) {
    const [hours, minutes, seconds] = time.split(":").map(Number);
    globalThis.Date = class extends Date {
        constructor(...args) {
            super(...args);
            if (args.length === 0) this.setHours(hours, minutes, seconds, 0);
        }
        static now() {
            return new this().getTime();
        }
    };
}

// A new tab with the first question set up; the page's errors are kept.
export async function openDrill(browser, { clock } = {}) {
    const page = await browser.context.newPage();
    page.errors = [];
    page.on("pageerror", (error) => page.errors.push(error));
    if (clock) await page.addInitScript(fixClock, clock);
    await page.goto(browser.url);
    await page.waitForFunction(() => (document.getElementById("Label4")?.textContent ?? "") !== "");
    return page;
}

// The module's table of the window and its controls, and its test exports.
export const controlTable = (page) => page.evaluate(() => globalThis.ohmDrill.controlTable());
export const expectedAnswer = (page) => page.evaluate(() => globalThis.ohmDrill.expectedAnswerText());

// What a control shows: a box's value, a label's or button's text.
export const shows = (page, name) =>
    page.evaluate((id) => {
        const e = document.getElementById(id);
        return e.tagName === "INPUT" ? e.value : e.textContent;
    }, name);

export const shown = (page, name) =>
    page.evaluate((id) => {
        const e = document.getElementById(id);
        return e !== null && getComputedStyle(e).display !== "none";
    }, name);
