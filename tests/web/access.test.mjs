// The web face for pupils who listen or zoom: axe-core's checks of the page
// in three states, and the page at the browser's 200 % zoom, whole, drawn at
// the screen's own pixels, with a focus ring seen on every control.
import assert from "node:assert/strict";
import { fileURLToPath } from "node:url";
import { test } from "node:test";
import { controlTable, expectedAnswer, openDrill, shown, shows, startBrowser } from "./drillpage.mjs";

const axe = fileURLToPath(new URL("node_modules/axe-core/axe.min.js", import.meta.url));

// Each rule that fails, with the controls it fails on.
async function violations(page) {
    if (!(await page.evaluate(() => "axe" in globalThis))) await page.addScriptTag({ path: axe });
    return page.evaluate(async () => {
        const found = await globalThis.axe.run(document, {
            // A caption spread with ideographic spaces, 「終　了」, names the
            // control without them, 「終了」: the same word, which the rule
            // takes for another.
            rules: { "label-content-name-mismatch": { enabled: false } },
        });
        return found.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`);
    });
}

test("axe-core finds nothing at the start, after a wrong answer and after 次", async () => {
    const browser = await startBrowser();
    try {
        const page = await openDrill(browser);
        assert.deepEqual(await violations(page), [], "at the start");
        await page.focus("#Text7");
        await page.keyboard.type(`9${await expectedAnswer(page)}`);
        await page.keyboard.press("Enter");
        assert.equal(await shown(page, "Label5"), true);
        assert.deepEqual(await violations(page), [], "after a wrong answer");
        await page.click("#Command5");
        assert.equal(await shows(page, "Text7"), "");
        assert.equal(await shown(page, "Label5"), false);
        assert.deepEqual(await violations(page), [], "after 次");
        assert.deepEqual(page.errors, []);
    } finally {
        await browser.close();
    }
});

// A control's box with the 4 pixels around it, as far as the window shows
// them, in a screenshot; a screenshot counts the screen's pixels, which the
// browser's zoom makes more than the page's.
async function around(page, name) {
    const [box, clip] = await page.evaluate((id) => {
        const b = document.getElementById(id).getBoundingClientRect();
        const w = document.getElementById("Form1").getBoundingClientRect();
        const [x, y] = [Math.max(b.left - 4, w.left), Math.max(b.top - 4, w.top)];
        const [right, bottom] = [Math.min(b.right + 4, w.right), Math.min(b.bottom + 4, w.bottom)];
        const r = devicePixelRatio;
        return [b.toJSON(), { x: x * r, y: y * r, width: (right - x) * r, height: (bottom - y) * r }];
    }, name);
    return { box, clip, png: (await page.screenshot({ clip })).toString("base64") };
}

// For each side of a control's box, the share of its length along which 2
// pixels or more within 4 of the edge change when it takes the focus: a ring
// seen all round. Pixels of the window, which may be shown smaller.
async function ringAround([focused, unfocused]) {
    const [a, b] = await Promise.all(
        [focused, unfocused].map(async ({ png }) => {
            const picture = new Image();
            picture.src = `data:image/png;base64,${png}`;
            await picture.decode();
            const context = new OffscreenCanvas(picture.width, picture.height).getContext("2d");
            context.drawImage(picture, 0, 0);
            return context.getImageData(0, 0, picture.width, picture.height);
        }),
    );
    const { box, clip } = focused;
    const win = document.getElementById("Form1");
    const shown = (devicePixelRatio * win.getBoundingClientRect().width) / win.offsetWidth;
    const differs = (x, y) => {
        if (x < 0 || y < 0 || x >= a.width || y >= a.height) return false;
        const i = 4 * (y * a.width + x);
        return [0, 1, 2].reduce((sum, c) => sum + Math.abs(a.data[i + c] - b.data[i + c]), 0) > 96;
    };
    const [left, right] = [box.left, box.right].map((v) => Math.round(v * devicePixelRatio - clip.x));
    const [top, bottom] = [box.top, box.bottom].map((v) => Math.round(v * devicePixelRatio - clip.y));
    const band = Math.round(4 * shown);
    const count = (from, to, f) => Array.from({ length: to - from }, (_, k) => f(from + k)).filter(Boolean).length;
    const share = (from, to, ringAt) => count(from, to, (p) => count(-band, band, (q) => ringAt(p, q)) >= Math.floor(2 * shown)) / (to - from);
    return {
        top: share(left, right, (x, q) => differs(x, top + q)),
        bottom: share(left, right, (x, q) => differs(x, bottom + q)),
        left: share(top, bottom, (y, q) => differs(left + q, y)),
        right: share(top, bottom, (y, q) => differs(right + q, y)),
    };
}

test("at 200 % zoom the window is whole, sharp, and shows where the focus is", async () => {
    const browser = await startBrowser({ zoom: 2 });
    try {
        const page = await openDrill(browser);
        const table = await controlTable(page);
        const fitted = () =>
            page.evaluate(() => {
                const w = document.getElementById("Form1").getBoundingClientRect();
                const canvas = document.querySelector("#Form1 canvas");
                const [width, height] = [w.width, w.height].map((v) => Math.round(v * devicePixelRatio));
                return {
                    whole: w.left >= 0 && w.top >= 0 && w.right <= innerWidth && w.bottom <= innerHeight,
                    drawn: [canvas.width, canvas.height],
                    covers: [width, height],
                };
            });
        assert.deepEqual(await page.evaluate(() => [innerWidth, innerHeight, devicePixelRatio]), [512, 384, 2]);
        const small = await fitted();
        assert.ok(small.whole, JSON.stringify(small));
        assert.deepEqual(small.drawn, small.covers);
        // The page hears of a new size by the frame after.
        const resize = async (width, height) => {
            await page.setViewportSize({ width, height });
            await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
        };
        // A screen big enough for the zoomed window: no longer scaled down.
        await resize(2 * table.width, 2 * table.height);
        assert.deepEqual(await fitted(), { whole: true, drawn: [2 * table.width, 2 * table.height], covers: [2 * table.width, 2 * table.height] });
        await resize(1024, 768);
        assert.deepEqual(await fitted(), small);

        // Each control in a Tab round, focused and then not.
        const reachable = [];
        for (const name of table.focusOrder) if (await shown(page, name)) reachable.push(name);
        await page.keyboard.press("Tab");
        await page.keyboard.press("Shift+Tab");
        const focused = [];
        const unfocused = [];
        for (const [k, name] of reachable.entries()) {
            assert.equal(await page.evaluate(() => document.activeElement.id), name);
            focused.push(await around(page, name));
            if (k > 0) unfocused.push(await around(page, reachable[k - 1]));
            await page.keyboard.press("Tab");
        }
        unfocused.push(await around(page, reachable.at(-1)));
        const poor = [];
        for (const [k, name] of reachable.entries()) {
            const sides = await page.evaluate(ringAround, [focused[k], unfocused[k]]);
            if (Object.values(sides).some((share) => share < 0.9)) poor.push({ name, ...sides });
        }
        assert.deepEqual(poor, []);
        assert.deepEqual(page.errors, []);
    } finally {
        await browser.close();
    }
});
