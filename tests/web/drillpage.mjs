// What the web tests share: the site served on a free loopback port, Debian's
// Chromium headless on a fresh profile, and the drill opened in a new tab.
import { mkdtempSync, readFile, rmSync } from "node:fs";
import { createServer } from "node:http";
import { tmpdir } from "node:os";
import { extname, join } from "node:path";
import { chromium } from "playwright-core";

const site = process.env.OHM_WEB_SITE;
const types = { ".html": "text/html", ".js": "text/javascript", ".css": "text/css", ".wasm": "application/wasm" };

// The site on a free loopback port. Its page with ?clock=12:34:07 reads that
// time of day, for a browser that cannot run a script before the page's own.
export async function serveSite() {
    // Only the site's own files, which have no folders: no path escapes it.
    const server = createServer((request, response) => {
        const url = new URL(request.url, "http://x");
        const name = url.pathname.slice(1) || "index.html";
        readFile(join(site, name.replaceAll("/", "")), (error, body) => {
            if (error) return response.writeHead(404).end();
            const clock = url.searchParams.get("clock");
            if (clock && name === "index.html")
                body = String(body).replace("<head>", `<head><script>(${fixClock})(${JSON.stringify(clock)})</script>`);
            response.writeHead(200, { "Content-Type": types[extname(name)] ?? "font/woff2" }).end(body);
        });
    });
    await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
    return { url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() };
}

export async function startBrowser() {
    const server = await serveSite();
    const profile = mkdtempSync(join(tmpdir(), "ohm-chromium-"));
    const context = await chromium.launchPersistentContext(profile, {
        executablePath: "/usr/bin/chromium",
        viewport: { width: 1024, height: 768 },
        args: ["--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
            "--disable-component-update", "--disable-sync"],
    });
    return {
        context,
        url: server.url,
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

// The keypad's key for each character of an answer, found by its caption.
export function keyFor(table, character) {
    const caption = character === "." ? "・" : String.fromCharCode(0xff10 + Number(character));
    return table.controls.find((c) => c.name.startsWith("Command2_") && c.caption === caption).name;
}

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

// Where the table puts a control once the drill has started: start-up moves
// the rows of numbers and marks to a 36-pixel pitch.
export function placeOf(c) {
    const row = /^Text([12])_/.exec(c.name);
    return row ? { ...c.rect, left: 36 * c.index + 50, top: row[1] === "1" ? 445 : 477 } : c.rect;
}

// Each control's border box relative to the window, by name; a hidden
// control has no box, so its place is read from its style.
export const layout = (page) =>
    page.evaluate(() => {
        const w = document.getElementById("Form1").getBoundingClientRect();
        const rects = {};
        for (const { name } of globalThis.ohmDrill.controlTable().controls) {
            const e = document.getElementById(name);
            const s = getComputedStyle(e);
            const r = e.getBoundingClientRect();
            rects[name] = s.display === "none"
                ? Object.fromEntries(["left", "top", "width", "height"].map((k) => [k, parseFloat(s[k])]))
                : { left: r.left - w.left, top: r.top - w.top, width: r.width, height: r.height };
        }
        return { window: { width: w.width, height: w.height }, rects };
    });
