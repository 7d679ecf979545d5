// The web face in Chromium, against the table and the rules the module
// carries: the layout, a whole drill by mouse, a question by keyboard, the
// circuit's pixels and an answer typed through an input method.
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { after, before, test } from "node:test";
import { contrastRatio, controlTable, expectedAnswer, firstQuestion, openDrill, placeOf, playDrill, shown, shows, startBrowser } from "./drillpage.mjs";

let browser;
before(async () => (browser = await startBrowser()));
after(() => browser?.close());

const rgb = (hex) => `rgb(${[1, 3, 5].map((i) => parseInt(hex.slice(i, i + 2), 16)).join(", ")})`;
const isSlot = (name) => /^(Label2|Text4)_/.test(name);

test("each control is where the table puts it, in its face, colours and state", async () => {
    const page = await openDrill(browser);
    const table = await controlTable(page);
    const seen = await page.evaluate(async (names) => {
        await document.fonts.ready;
        const win = document.getElementById("Form1");
        const w = { width: win.offsetWidth, height: win.offsetHeight };
        const controls = names.map((name) => {
            const e = document.getElementById(name);
            const s = getComputedStyle(e);
            // A hidden control has no box; its place is in its style. A
            // shown one's is in the window's pixels, at any scale.
            const [left, top, width, height] = ["left", "top", "width", "height"].map((k) => parseFloat(s[k]));
            const placed = { left: e.offsetLeft, top: e.offsetTop, width: e.offsetWidth, height: e.offsetHeight };
            return {
                ...{ tag: e.tagName, rect: s.display === "none" ? { left, top, width, height } : placed },
                ...{ text: e.tagName === "INPUT" ? e.value : e.textContent, display: s.display },
                ...{ family: s.fontFamily, size: s.fontSize, weight: s.fontWeight, color: s.color },
                ...{ background: s.backgroundColor, disabled: e.disabled, name: e.getAttribute("aria-label") },
                description: e.getAttribute("aria-description"),
            };
        });
        const loaded = [...document.fonts].filter((f) => f.status === "loaded").map((f) => f.family);
        const [title, label, background] = [document.title, win.getAttribute("aria-label"), getComputedStyle(win).backgroundColor];
        return { controls, loaded, window: { title, label, width: w.width, height: w.height, background } };
    }, table.controls.map((c) => c.name));

    assert.deepEqual(seen.window, {
        title: table.caption,
        label: table.caption,
        width: table.width,
        height: table.height,
        background: rgb(table.background),
    });
    assert.deepEqual(new Set(seen.loaded), new Set(table.controls.map((c) => c.fontFamily)));
    table.controls.forEach((c, i) => {
        const e = seen.controls[i];
        assert.equal(e.tag, { label: "DIV", textBox: "INPUT", button: "BUTTON" }[c.kind], c.name);
        assert.deepEqual(e.rect, placeOf(c), c.name);
        if (c.caption) assert.equal(e.text, c.caption, c.name);
        assert.equal(e.family, `"${c.fontFamily}"`, c.name);
        assert.equal(e.size, `${c.pixelSize}px`, c.name);
        assert.equal(e.weight, c.bold ? "700" : "400", c.name);
        if (c.letters) assert.equal(e.color, rgb(c.letters), c.name);
        if (c.background) assert.equal(e.background, rgb(c.background), c.name);
        if (!isSlot(c.name)) assert.equal(e.display !== "none", c.visible, c.name);
        assert.equal(e.disabled ?? false, c.kind === "textBox" && !c.enabled, c.name);
        // A box with a spoken form says it after its name.
        if (c.spoken) assert.ok(e.name.startsWith(c.accessibleName), `${c.name}: ${e.name}`);
        else assert.equal(e.name, c.accessibleName || null, c.name);
        assert.equal(e.description, c.accessibleDescription || null, c.name);
        // The row numbers and marks are the pupil's own results: readable though disabled.
        if (e.disabled && c.index >= 0) assert.ok(contrastRatio(e.color, e.background) >= 4.5, c.name);
    });
    assert.equal(seen.controls[table.controls.findIndex((c) => c.name === "Text6")].name, "得点 0 点");
    // The question shows each slot's caption and box together, one box asking.
    const slots = table.controls.filter((c) => c.name.startsWith("Text4_"));
    for (const c of slots)
        assert.equal(await shown(page, c.name), await shown(page, `Label2_${c.index}`), c.name);
    const asked = slots.filter((c) => seen.controls[table.controls.indexOf(c)].text === "？");
    assert.equal(asked.length, 1);
    assert.ok(await shown(page, asked[0].name));
    // Each value is said with its unit, the asked one as asked for; an edit is said too.
    for (const c of slots.filter((c) => seen.controls[table.controls.indexOf(c)].display !== "none")) {
        const { text, name } = seen.controls[table.controls.indexOf(c)];
        if (text === "？") assert.equal(name, `${c.accessibleName} 求める`);
        else {
            const unit = name.split(" ").at(-1);
            assert.equal(name, `${c.accessibleName} ${text} ${unit}`);
            assert.ok(["アンペア", "ボルト", "オーム"].includes(unit), name);
        }
    }
    await page.fill(`#${asked[0].name}`, "7");
    assert.match(await page.getAttribute(`#${asked[0].name}`, "aria-label"), / 7 (アンペア|ボルト|オーム)$/);

    // On a small screen the whole window shows, smaller.
    await page.setViewportSize({ width: 396, height: 400 });
    // Once the page has had the resize event.
    const box = await page.waitForFunction(
        (width) => {
            const r = document.getElementById("Form1").getBoundingClientRect();
            return r.width < width && r.toJSON();
        },
        table.width,
    );
    const { width, height } = await box.jsonValue();
    assert.deepEqual([width, height], [table.width / 2, table.height / 2]);
    assert.deepEqual(page.errors, []);
});

test("a whole drill of ten questions by mouse, then the end", async () => {
    const page = await openDrill(browser);
    await playDrill(page, await controlTable(page));
    // Whatever still arrives finds the drill ended.
    const body = await page.evaluate(() => document.body.innerHTML);
    await page.evaluate(() => ["Command2_1", "Command3", "Command5", "Command1"].forEach((name) => globalThis.ohmDrill.click(name)));
    await page.evaluate(() => globalThis.ohmDrill.enterPressed("Text7"));
    assert.equal(await page.evaluate(() => document.body.innerHTML), body);
    assert.deepEqual(page.errors, []);
});

test("a question by keyboard: Tab order, typing, Enter and Space", async () => {
    const page = await openDrill(browser);
    const table = await controlTable(page);
    const reachable = [];
    for (const name of table.focusOrder) if (await shown(page, name)) reachable.push(name);
    const visited = [await page.evaluate(() => document.activeElement.id)];
    while (visited.length < reachable.length) {
        await page.keyboard.press("Tab");
        visited.push(await page.evaluate(() => document.activeElement.id));
    }
    assert.deepEqual(visited, reachable);

    await page.focus("#Text7");
    await page.keyboard.type(await expectedAnswer(page));
    const question = await shows(page, "notice");
    await page.keyboard.press("Enter");
    assert.equal(await shows(page, "Text2_1"), "○");
    assert.equal(await shows(page, "Text6"), "10");
    // The marking is said through the polite live region, in place of the question.
    await page.waitForFunction((q) => !["", q].includes(document.getElementById("notice").textContent), question);
    assert.equal(await page.getAttribute("#notice", "aria-live"), "polite");
    assert.notEqual(question, "");
    await page.focus("#Command5");
    await page.keyboard.press("Space");
    assert.equal(await shows(page, "Text7"), "");
    await page.focus("#Text7");
    // A 9 before the right answer makes a wrong one, whatever the answer.
    await page.keyboard.type(`9${await expectedAnswer(page)}`);
    await page.keyboard.press("Enter");
    assert.equal(await shows(page, "Text2_2"), "×");
    assert.equal(await shows(page, "Text6"), "10");
    assert.deepEqual(page.errors, []);
});

// At device pixel ratio 2 the circuit is drawn at device resolution, as the
// desktop draws it at twice its size.
for (const ratio of [1, 1.5, 2])
test(`the first question's circuit is the desktop's, pixel for pixel, at ${ratio}×`, async () => {
    const page = await openDrill(browser, { clock: "12:34:07", ratio });
    const png = readFileSync(new URL(`../data/first-question-${ratio}x.png`, import.meta.url)).toString("base64");
    const result = await page.evaluate(async ([png, ratio]) => {
        const picture = new Image();
        picture.src = `data:image/png;base64,${png}`;
        await picture.decode();
        const reference = new OffscreenCanvas(picture.width, picture.height).getContext("2d");
        reference.drawImage(picture, 0, 0);
        const expected = reference.getImageData(0, 0, picture.width, picture.height).data;
        const canvas = document.querySelector("#Form1 canvas");
        const actual = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
        // Compared where no shown control lies over the circuit.
        const w = document.getElementById("Form1").getBoundingClientRect();
        const covers = [...document.querySelectorAll("#Form1 > :not(canvas)")]
            .filter((e) => getComputedStyle(e).display !== "none")
            .map((e) => e.getBoundingClientRect());
        let compared = 0, lines = 0, differing = [];
        for (let y = 0; y < picture.height; ++y)
            for (let x = 0; x < picture.width; ++x) {
                const [left, top] = [x / ratio + w.left, y / ratio + w.top];
                const inside = (r) => left >= r.left && left < r.right && top >= r.top && top < r.bottom;
                if (covers.some(inside)) continue;
                const i = 4 * (y * picture.width + x);
                // Where the figure has no pixel the window's black shows.
                const shownPixel = [0, 1, 2].map((c) => (actual[i + 3] ? actual[i + c] : 0));
                ++compared;
                if (actual[i + 3]) ++lines;
                if (shownPixel.some((v, c) => v !== expected[i + c])) differing.push([x, y]);
            }
        return { size: [canvas.width, canvas.height, picture.width, picture.height], compared, lines, differing: differing.slice(0, 10) };
    }, [png, ratio]);
    const size = [792, 573].map((n) => Math.ceil(n * ratio));
    assert.deepEqual(result.size, [...size, ...size]);
    assert.deepEqual(result.differing, []);
    assert.ok(result.compared > 200000 && result.lines > 1000, JSON.stringify(result));
});

test("「。３」 typed through an input method reads as 0.3", async () => {
    // At this time of day the first question's answer is 0.3.
    const page = await openDrill(browser, { clock: "09:00:34" });
    assert.equal(await expectedAnswer(page), "0.3");
    await page.focus("#Text7");
    const cdp = await page.context().newCDPSession(page);
    await cdp.send("Input.imeSetComposition", { text: "。３", selectionStart: 2, selectionEnd: 2 });
    // The Enter that would commit the composition marks nothing.
    await page.keyboard.press("Enter");
    assert.equal(await shows(page, "Text2_1"), "");
    await cdp.send("Input.insertText", { text: "。３" });
    assert.equal(await shows(page, "Text7"), "。３");
    assert.equal(await page.evaluate(() => globalThis.ohmDrill.answerReads("。３")), 0.3);
    await page.keyboard.press("Enter");
    assert.equal(await shows(page, "Text2_1"), "○");
    assert.equal(await shows(page, "Text6"), "10");
});

// On a phone, a tablet and a desktop the window is whole, centred, as large
// as the screen allows and drawn at the device pixels it covers; a tap on a
// key types.
const screens = {
    "a phone, portrait": { width: 390, height: 760, deviceScaleFactor: 3, mobile: true },
    "a tablet, landscape": { width: 1080, height: 740, deviceScaleFactor: 2, mobile: true },
    "a desktop": { width: 1920, height: 960, deviceScaleFactor: 1, mobile: false },
};
for (const [name, screen] of Object.entries(screens))
test(`on ${name} the window fills the screen, whole and centred, and a tap types`, async () => {
    const page = await browser.context.newPage();
    const cdp = await page.context().newCDPSession(page);
    await cdp.send("Emulation.setDeviceMetricsOverride", screen);
    await cdp.send("Emulation.setTouchEmulationEnabled", { enabled: true });
    await page.goto(browser.url);
    await firstQuestion(page);
    const seen = await page.evaluate(() => {
        const { left, top, right, bottom, width, height } = document.getElementById("Form1").getBoundingClientRect();
        const canvas = document.querySelector("#Form1 canvas");
        const key = document.getElementById("Command2_7").getBoundingClientRect();
        return {
            ...{ left, top, right, bottom, width, height, key: [key.x + key.width / 2, key.y + key.height / 2] },
            ...{ page: [innerWidth, innerHeight, document.documentElement.scrollWidth], canvas: [canvas.width, canvas.height] },
        };
    });
    assert.deepEqual(seen.page, [screen.width, screen.height, screen.width]);
    assert.ok(seen.left >= 0 && seen.top >= 0 && seen.right <= screen.width && seen.bottom <= screen.height, JSON.stringify(seen));
    assert.ok(Math.abs(seen.left - (screen.width - seen.right)) <= 1 && Math.abs(seen.top - (screen.height - seen.bottom)) <= 1, JSON.stringify(seen));
    assert.ok(seen.width >= screen.width - 1 || seen.height >= screen.height - 1, JSON.stringify(seen));
    assert.deepEqual(seen.canvas, [seen.width, seen.height].map((n) => Math.round(n * screen.deviceScaleFactor)));

    const [x, y] = seen.key;
    await cdp.send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints: [{ x, y }] });
    await cdp.send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [] });
    await page.waitForFunction(() => document.getElementById("Text7").value !== "");
    assert.equal(await shows(page, "Text7"), " 7");
    assert.deepEqual(page.errors ?? [], []);
    await page.close();
});
