// make bench, the web edition in Debian's Chromium, headless: its first
// question painted against a bare page of the window's size, and what a 次
// costs in the page. Prints rows for bench/run-bench.sh; a figure off its
// target is reported, never an error.
//
//   node bench/web-bench.mjs SITE_DIR
//
// OHM_BENCH_WEB_PAIRS (default 15) is how many loads of the drill are paired
// with loads of the bare page, OHM_BENCH_WEB_LOADS (default 5) how many loads
// of the drill have 次 clicked nine times.
import { readFile } from "node:fs";
import { createServer } from "node:http";
import { createRequire } from "node:module";
import { extname, join } from "node:path";
import { fileURLToPath } from "node:url";
import { count, median, row } from "./rows.mjs";

const require = createRequire(new URL("../tests/web/package.json", import.meta.url));
const { chromium } = require("playwright-core");

const site = process.argv[2];
if (!site) throw new Error("usage: node bench/web-bench.mjs SITE_DIR");
const pairs = count("OHM_BENCH_WEB_PAIRS", 15);
const loads = count("OHM_BENCH_WEB_LOADS", 5);
const barePage = fileURLToPath(new URL("bare-page.html", import.meta.url));
const types = { ".html": "text/html", ".js": "text/javascript", ".css": "text/css", ".wasm": "application/wasm" };

// The site's own files, which have no folders, with the bare page beside
// them. A page asked for with ?isolated is cross-origin isolated, which
// gives its clock steps of 5 us instead of 100.
const server = createServer((request, response) => {
    const url = new URL(request.url, "http://x");
    const name = url.pathname.slice(1) || "index.html";
    const file = name === "bare-page.html" ? barePage : join(site, name.replaceAll("/", ""));
    readFile(file, (error, body) => {
        if (error) return response.writeHead(404).end();
        const headers = { "Content-Type": types[extname(name)] ?? "font/woff2" };
        if (url.searchParams.has("isolated")) {
            headers["Cross-Origin-Opener-Policy"] = "same-origin";
            headers["Cross-Origin-Embedder-Policy"] = "require-corp";
        }
        response.writeHead(200, headers).end(body);
    });
});

// Runs in the page before its own scripts. ohmBenchFirstPaint resolves with
// the time from the start of the navigation to the end of the first frame
// that began with the label's text in place and no web font loading, and
// started no font load in its layout.
function awaitFirstPaint(label) {
    const frame = () => new Promise((resolve) => requestAnimationFrame(resolve));
    // A message posted from a frame's callbacks is taken once it is painted.
    const painted = () =>
        new Promise((resolve) => {
            const channel = new MessageChannel();
            channel.port1.onmessage = resolve;
            channel.port2.postMessage(null);
        });
    globalThis.ohmBenchFirstPaint = (async () => {
        for (;;) {
            await frame();
            const ready = (document.getElementById(label)?.textContent ?? "") !== "" &&
                document.fonts.status === "loaded";
            await painted();
            if (ready && document.fonts.status === "loaded") return performance.now();
        }
    })();
}

// Each load in a context of its own: nothing is cached, the face included.
async function openPage(browser, url, label) {
    const context = await browser.newContext({ viewport: { width: 1024, height: 768 } });
    const page = await context.newPage();
    // An error of the page's own, or no first paint in 30 s, ends the bench.
    const failed = new Promise((resolve, reject) => {
        page.on("pageerror", reject);
        setTimeout(() => reject(new Error(`${url}: nothing painted in 30 s`)), 30000).unref();
    });
    await page.addInitScript(awaitFirstPaint, label);
    await page.goto(url);
    const painted = await Promise.race([page.evaluate(() => globalThis.ohmBenchFirstPaint), failed]);
    return { page, context, painted };
}

async function firstPaint(browser, url, label) {
    const { context, painted } = await openPage(browser, url, label);
    await context.close();
    return painted;
}

// Nine 次 from a painted window each; the tenth would end the drill. A click
// is timed to the end of the style and layout it causes; the handler clears
// the answer box, which shows it ran.
async function nextClicks(browser, url) {
    const { page, context } = await openPage(browser, `${url}?isolated`, "Label4");
    const result = await page.evaluate(async () => {
        const times = [];
        const answer = document.getElementById("Text7");
        for (let i = 0; i < 9; ++i) {
            await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
            answer.value = "1";
            const start = performance.now();
            globalThis.ohmDrill.click("Command5");
            void document.body.offsetHeight;
            times.push(performance.now() - start);
            if (answer.value !== "" || !answer.isConnected) throw new Error(`次 number ${i + 1} did nothing`);
        }
        return { times, isolated: globalThis.crossOriginIsolated };
    });
    await context.close();
    return result;
}

await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
const url = `http://127.0.0.1:${server.address().port}/`;
const browser = await chromium.launch({
    executablePath: "/usr/bin/chromium",
    headless: true,
    args: ["--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
        "--disable-component-update", "--disable-sync"],
});
try {
    const drill = [];
    const bare = [];
    // One pair first, uncounted, for the browser's own start-up.
    for (let i = -1; i < pairs; ++i) {
        const order = i % 2 ? ["drill", "bare"] : ["bare", "drill"];
        const times = {};
        for (const which of order)
            times[which] = which === "drill"
                ? await firstPaint(browser, url, "Label4")
                : await firstPaint(browser, `${url}bare-page.html`, "Label1");
        if (i < 0) continue;
        drill.push(times.drill);
        bare.push(times.bare);
    }
    const ratio = median(drill.map((d, i) => d / bare[i]));

    const clicks = [];
    let isolated = true;
    for (let i = 0; i < loads; ++i) {
        const result = await nextClicks(browser, url);
        clicks.push(...result.times);
        isolated &&= result.isolated;
    }
    const next = median(clicks);

    console.log();
    console.log(`Web edition in headless Chromium ${browser.version()}, no GPU. From navigation to the`);
    console.log(`first question painted: medians of ${pairs} loads, each in a fresh context, paired in`);
    console.log("turns with loads of a bare page of the window's size with one label in the same");
    console.log("face; the ratio is the median of the pairs' ratios:");
    row("  drill", median(drill).toFixed(1), "ms", "", "");
    row("  bare page", median(bare).toFixed(1), "ms", "", "");
    row("web edition, first question, drill/bare page", ratio.toFixed(2), "", ratio <= 1.5 ? "met" : "missed",
        "<= 1.50");
    console.log(`次 in the page (handler, DOM updates, the diagram, style and layout), median of`);
    const step = isolated ? 5 : 100;
    console.log(`${clicks.length} clicks in ${loads} load${loads === 1 ? "" : "s"}, on a clock in steps of ${step} us:`);
    row("  slowest click", Math.max(...clicks).toFixed(2), "ms", "", "");
    row("web edition, 次 cycle in the page", next.toFixed(2), "ms", next <= 2 ? "met" : "missed", "<= 2 ms");
} finally {
    await browser.close();
    server.close();
}
