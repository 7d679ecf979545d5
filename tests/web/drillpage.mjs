// What the web tests share: the site served on a free loopback port, Debian's
// Chromium headless on a fresh profile, the drill opened in a new tab and
// played through.
import assert from "node:assert/strict";
import { mkdirSync, mkdtempSync, readFile, rmSync, writeFileSync } from "node:fs";
import { createServer } from "node:http";
import { tmpdir } from "node:os";
import { extname, join } from "node:path";
import { chromium } from "playwright-core";

const site = process.env.OHM_WEB_SITE;
const types = {
    ...{ ".html": "text/html", ".js": "text/javascript", ".css": "text/css", ".wasm": "application/wasm" },
    ...{ ".webmanifest": "application/manifest+json", ".png": "image/png", ".svg": "image/svg+xml" },
};

// The site on a free loopback port, under prefix (a folder of a host, as
// "/science/ohm/"), from the folder root() gives at each request; wasmType
// is the type the host sends WebAssembly as. Its page with ?clock=12:34:07
// reads that time of day, for a browser that cannot run a script before the
// page's own.
export async function serveSite({ root = () => site, prefix = "/", wasmType = types[".wasm"] } = {}) {
    // Only the site's own files, which have no folders: no path escapes it.
    const server = createServer((request, response) => {
        const url = new URL(request.url, "http://x");
        if (!url.pathname.startsWith(prefix)) return response.writeHead(404).end();
        const name = url.pathname.slice(prefix.length) || "index.html";
        readFile(join(root(), name.replaceAll("/", "")), (error, body) => {
            if (error) return response.writeHead(404).end();
            const clock = url.searchParams.get("clock");
            if (clock && name === "index.html")
                body = String(body).replace("<head>", `<head><script>(${fixClock})(${JSON.stringify(clock)})</script>`);
            const type = extname(name) === ".wasm" ? wasmType : types[extname(name)] ?? "font/woff2";
            response.writeHead(200, { "Content-Type": type }).end(body);
        });
    });
    await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
    return {
        url: `http://127.0.0.1:${server.address().port}${prefix}`,
        async close() {
            server.closeAllConnections();
            await new Promise((resolve) => server.close(resolve));
        },
    };
}

// zoom: the browser's own zoom for every page, as a pupil sets it with Ctrl
// and +, here through the profile's default zoom level (1.2 to the power of
// the level).
export async function startBrowser({ zoom = 1 } = {}) {
    const server = await serveSite();
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
        url: server.url,
        // The site's server gone, as when the network is.
        stopServer: () => server.close(),
        async close() {
            await context.close();
            await server.close();
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

// A new tab with the first question set up, of the site or of the page at
// url, on a screen of that many device pixels to a CSS pixel; the page's
// errors are kept.
export async function openDrill(browser, { clock, ratio, url } = {}) {
    const page = await browser.context.newPage();
    page.errors = [];
    page.on("pageerror", (error) => page.errors.push(error));
    if (clock) await page.addInitScript(fixClock, clock);
    if (ratio) {
        const cdp = await page.context().newCDPSession(page);
        // The window's own size, so that the window is shown at its size.
        const screen = { width: 792, height: 573, deviceScaleFactor: ratio, mobile: false };
        await cdp.send("Emulation.setDeviceMetricsOverride", screen);
    }
    await page.goto(url ?? browser.url);
    await firstQuestion(page);
    return page;
}

export const firstQuestion = (page) =>
    page.waitForFunction(() => (document.getElementById("Label4")?.textContent ?? "") !== "");

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

// The contrast ratio of two computed colours, "rgb(r, g, b)", as the
// accessibility guidelines measure it.
export function contrastRatio(a, b) {
    const luminance = (css) => {
        const [r, g, b] = css.match(/\d+/g).slice(0, 3).map((v) => {
            const c = v / 255;
            return c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4;
        });
        return 0.2126 * r + 0.7152 * g + 0.0722 * b;
    };
    const [l1, l2] = [luminance(a), luminance(b)].sort((x, y) => y - x);
    return (l1 + 0.05) / (l2 + 0.05);
}

// An answer built on the keypad, then 入力.
export async function answer(page, table, text) {
    for (const character of text) await page.click(`#${keyFor(table, character)}`);
    await page.click("#Command3");
}

// Ten questions by mouse to the drill's end, every third answer wrong: a 9
// put before the right one. Each mark, the score and 「正解は…」 are checked.
export async function playDrill(page, table) {
    let score = 0;
    const marks = [];
    for (let question = 1; question <= 10; ++question) {
        const expected = await expectedAnswer(page);
        const right = question % 3 !== 0;
        await answer(page, table, right ? expected : `9${expected}`);
        score += right ? 10 : 0;
        marks.push(right ? "○" : "×");
        assert.equal(await shows(page, `Text2_${question}`), right ? "○" : "×", `question ${question}`);
        assert.equal(await shows(page, "Text6"), String(score));
        assert.equal(await shown(page, "Label5"), !right);
        if (!right) {
            // The number after 「正解は」 is the expected one, in whatever form.
            const [, shownNumber] = /^正解は(.*)$/.exec(await shows(page, "Label5"));
            const reads = (t) => page.evaluate((t) => globalThis.ohmDrill.answerReads(t), t);
            assert.equal(await reads(shownNumber), await reads(expected));
        }
        await page.click("#Command5");
        if (question < 10) {
            assert.equal(await shows(page, "Text7"), "");
            assert.equal(await shown(page, "Label5"), false);
        }
    }
    // The line after the end keeps the result, and a screen reader hears it.
    assert.equal(await shown(page, "Form1"), false);
    const result = `得点 ${score}点　${marks.join(" ")}　Ver.${table.version}`;
    assert.equal(await shows(page, "ended"), table.endedNotice + result);
    await page.waitForFunction((line) => document.getElementById("notice").textContent === line, table.endedNotice + result);
}

// Where the table puts a control once the drill has started: start-up moves
// the rows of numbers and marks to a 36-pixel pitch.
export function placeOf(c) {
    const row = /^Text([12])_/.exec(c.name);
    return row ? { ...c.rect, left: 36 * c.index + 50, top: row[1] === "1" ? 445 : 477 } : c.rect;
}

// Each control's border box in the window's own pixels, whatever the scale
// the window is fitted to the page at, by name; a hidden control has no box,
// so its place is read from its style.
export const layout = (page) =>
    page.evaluate(() => {
        const w = document.getElementById("Form1");
        const rects = {};
        for (const { name } of globalThis.ohmDrill.controlTable().controls) {
            const e = document.getElementById(name);
            const s = getComputedStyle(e);
            rects[name] = s.display === "none"
                ? Object.fromEntries(["left", "top", "width", "height"].map((k) => [k, parseFloat(s[k])]))
                : { left: e.offsetLeft, top: e.offsetTop, width: e.offsetWidth, height: e.offsetHeight };
        }
        return { window: { width: w.offsetWidth, height: w.offsetHeight }, rects };
    });
