// make bench, the web edition under Lighthouse's default mobile audit
// (simulated slow 4G, CPU slowed 4 times) in Debian's Chromium, headless,
// the site served gzipped from 127.0.0.1. Prints the medians of a few runs
// as rows for bench/run-bench.sh; a figure off its target is reported,
// never an error.
//
//   node bench/lighthouse-bench.mjs SITE_DIR OUT_DIR
//
// Each run's report goes to OUT_DIR as lighthouse-N.json, and its Chromium
// profile to OUT_DIR/chromium-N. OHM_BENCH_LIGHTHOUSE_RUNS (default 3) is
// how many runs there are; CHROME_PATH (default /usr/bin/chromium) the
// browser.
import { mkdirSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import * as chromeLauncher from "chrome-launcher";
import lighthouse from "lighthouse";
import { count, median, row } from "./rows.mjs";
import { serveSite } from "./site-server.mjs";

const [site, out] = process.argv.slice(2);
if (!site || !out) throw new Error("usage: node bench/lighthouse-bench.mjs SITE_DIR OUT_DIR");
const runs = count("OHM_BENCH_LIGHTHOUSE_RUNS", 3);
const chromePath = process.env.CHROME_PATH || "/usr/bin/chromium";
// What Chromium needs here: no sandbox as root, no GPU, and nothing of its
// own on the network to disturb the timings.
const chromeFlags = ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync"];
const categories = ["performance", "accessibility", "best-practices"];

const server = await serveSite(site);
const reports = [];
let browser = "";
const started = Date.now();
try {
    for (let i = 1; i <= runs; ++i) {
        // A fresh Chromium for each run, with a profile of its own. It is
        // killed, so its temporary files go in there too, not in /tmp.
        const profile = join(out, `chromium-${i}`);
        mkdirSync(profile, { recursive: true });
        const chrome = await chromeLauncher.launch({
            chromePath,
            chromeFlags,
            userDataDir: profile,
            envVars: { ...process.env, TMPDIR: profile },
            logLevel: "silent",
        });
        try {
            // The user agent gives the major version only.
            browser ||= (await (await fetch(`http://127.0.0.1:${chrome.port}/json/version`)).json()).Browser;
            const result = await lighthouse(server.url, {
                port: chrome.port,
                output: "json",
                logLevel: "error",
                onlyCategories: categories,
            });
            if (!result) throw new Error("Lighthouse gave no report");
            writeFileSync(join(out, `lighthouse-${i}.json`), result.report);
            const { lhr } = result;
            if (lhr.runtimeError) throw new Error(`Lighthouse: ${lhr.runtimeError.code}: ${lhr.runtimeError.message}`);
            for (const id of categories)
                if (typeof lhr.categories[id]?.score !== "number") throw new Error(`Lighthouse gave no ${id} score`);
            reports.push(lhr);
        } finally {
            await chrome.kill();
        }
    }
} finally {
    await server.close();
}
const seconds = (Date.now() - started) / 1000;

const score = (id) => median(reports.map((lhr) => Math.round(lhr.categories[id].score * 100)));
const metric = (id) => median(reports.map((lhr) => lhr.audits[id].numericValue));
// The scored audits that cost a category points, in any run.
const short = (id) => {
    const ids = new Set();
    for (const lhr of reports)
        for (const ref of lhr.categories[id].auditRefs)
            if (ref.weight > 0 && lhr.audits[ref.id].score !== null && lhr.audits[ref.id].score < 1) ids.add(ref.id);
    return [...ids];
};
const atLeast = (value, limit) => (value >= limit ? "met" : "missed");
const atMost = (value, limit) => (value <= limit ? "met" : "missed");

const first = reports[0];
const chromium = browser.replace(/^.*\//, "");
console.log();
console.log(`Web edition under Lighthouse ${first.lighthouseVersion}'s mobile audit (simulated slow 4G,`);
console.log(`CPU x${first.configSettings.throttling.cpuSlowdownMultiplier}) in headless Chromium ${chromium}, served gzipped from 127.0.0.1:`);
console.log(`${runs === 1 ? "one run" : `medians of ${runs} runs, each`} in a fresh Chromium (${seconds.toFixed(0)} s in all):`);
const performance = score("performance");
const tbt = metric("total-blocking-time");
const lcp = metric("largest-contentful-paint") / 1000;
row("  first contentful paint", (metric("first-contentful-paint") / 1000).toFixed(2), "s", "", "");
row("  speed index", (metric("speed-index") / 1000).toFixed(2), "s", "", "");
row("  cumulative layout shift", metric("cumulative-layout-shift").toFixed(3), "", "", "");
row("web edition, Lighthouse performance", String(performance), "", atLeast(performance, 95), ">= 95");
row("web edition, total blocking time", tbt.toFixed(0), "ms", atMost(tbt, 150), "<= 150 ms");
row("web edition, largest contentful paint", lcp.toFixed(2), "s", atMost(lcp, 2), "<= 2.0 s");
for (const [id, label] of [["accessibility", "accessibility"], ["best-practices", "best practices"]]) {
    const value = score(id);
    row(`web edition, Lighthouse ${label}`, String(value), "", atLeast(value, 100), ">= 100");
    if (value < 100) console.log(`  short of 100 by: ${short(id).join(", ")}`);
}
