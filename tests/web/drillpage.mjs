// What the web tests share: the site served on a free loopback port, Debian's
// Chromium headless on a fresh profile, the drill opened in a new tab and
// played through.
import assert from "node:assert/strict";
import { mkdtempSync, readFile, rmSync } from "node:fs";
import { createServer } from "node:http";
import { tmpdir } from "node:os";
import { extname, join } from "node:path";
import { chromium } from "playwright-core";

const site = process.env.OHM_WEB_SITE;
const types = {
    ...{ ".html": "text/html", ".js": "text/javascript", ".css": "text/css", ".wasm": "application/wasm" },
    ...{ ".webmanifest": "application/manifest+json", ".png": "image/png", ".svg": "image/svg+xml" },
};

export async function startBrowser() {
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
    const context = await chromium.launchPersistentContext(profile, {
        executablePath: "/usr/bin/chromium",
        viewport: { width: 1024, height: 768 },
        args: ["--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
            "--disable-component-update", "--disable-sync"],
    });
    return {
        context,
        url: `http://127.0.0.1:${server.address().port}/`,
        // The site's server gone, as when the network is.
        async stopServer() {
            server.closeAllConnections();
            await new Promise((resolve) => server.close(resolve));
        },
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
        const screen = { width: 1024, height: 768, deviceScaleFactor: ratio, mobile: false };
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

// The keypad's key for each character of an answer, found by its caption.
function keyFor(table, character) {
    const caption = character === "." ? "・" : String.fromCharCode(0xff10 + Number(character));
    return table.controls.find((c) => c.name.startsWith("Command2_") && c.caption === caption).name;
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
    for (let question = 1; question <= 10; ++question) {
        const expected = await expectedAnswer(page);
        const right = question % 3 !== 0;
        await answer(page, table, right ? expected : `9${expected}`);
        score += right ? 10 : 0;
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
    assert.equal(await shown(page, "Form1"), false);
    assert.equal(await shows(page, "ended"), table.endedNotice);
}
