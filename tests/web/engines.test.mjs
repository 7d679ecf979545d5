// The short drill in each engine a pupil's device may run: WebKit (every
// iPad's) through WebKitGTK's WebDriver, Firefox ESR through WebDriver BiDi,
// and Chromium beside them, so that a step failing in one engine alone
// points at that engine. Every engine plays the same questions.
import assert from "node:assert/strict";
import { after, before, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";
import puppeteer from "puppeteer-core";
import { controlTable, expectedAnswer, keyFor, layout, placeOf, serveSite, shown, shows, startBrowser } from "./drillpage.mjs";
import { startWebKit } from "./webdriver.mjs";

let site;
before(async () => (site = await serveSite()));
after(() => site?.close());

// Each engine's tab as { goto, evaluate, click, type, press, close }, the
// controls named as in the table.
const engines = {
    WebKit: startWebKit,
    async Firefox() {
        const browser = await puppeteer.launch({
            browser: "firefox",
            executablePath: "/usr/bin/firefox-esr",
            headless: true,
            defaultViewport: { width: 1024, height: 768 },
        });
        const [page] = await browser.pages();
        return {
            goto: (url) => page.goto(url),
            evaluate: (fn, arg) => page.evaluate(fn, arg),
            click: (name) => page.click(`#${name}`),
            type: (name, text) => page.type(`#${name}`, text),
            press: (name, key) => page.focus(`#${name}`).then(() => page.keyboard.press(key)),
            close: () => browser.close(),
        };
    },
    async Chromium() {
        const browser = await startBrowser();
        const page = await browser.context.newPage();
        return {
            goto: (url) => page.goto(url),
            evaluate: (fn, arg) => page.evaluate(fn, arg),
            click: (name) => page.click(`#${name}`),
            type: (name, text) => page.locator(`#${name}`).pressSequentially(text),
            press: (name, key) => page.press(`#${name}`, key),
            close: () => browser.close(),
        };
    },
};

for (const [engine, open] of Object.entries(engines))
    test(`${engine}: the layout, a right and a wrong answer, 次 and the end`, async (t) => {
        const tab = await open();
        t.after(() => tab.close());
        // The drill is the tab's only page, which some browsers would let a
        // script close: the tab must stay, with the line after the end.
        await tab.goto(`${site.url}?clock=12:34:07`);
        for (let tries = 0; !(await shows(tab, "Label4").catch(() => "")); ++tries) {
            assert.ok(tries < 200, "the first question never showed");
            await sleep(50);
        }
        const table = await controlTable(tab);

        await t.test("each control's box is where the table puts it", async () => {
            const seen = await layout(tab);
            assert.deepEqual(seen.window, { width: table.width, height: table.height });
            for (const c of table.controls) assert.deepEqual(seen.rects[c.name], placeOf(c), c.name);
        });

        await t.test("a right answer on the keypad", async () => {
            for (const character of await expectedAnswer(tab)) await tab.click(keyFor(table, character));
            await tab.click("Command3");
            assert.equal(await shows(tab, "Text2_1"), "○");
            assert.equal(await shows(tab, "Text6"), "10");
            assert.equal(await shown(tab, "Label5"), false);
        });

        await t.test("次 clears the answer", async () => {
            await tab.click("Command5");
            assert.equal(await shows(tab, "Text7"), "");
        });

        await t.test("a wrong answer typed, then Enter", async () => {
            const expected = await expectedAnswer(tab);
            // A 9 before the right answer makes a wrong one, whatever the answer.
            await tab.type("Text7", `9${expected}`);
            await tab.press("Text7", "Enter");
            assert.equal(await shows(tab, "Text2_2"), "×");
            assert.equal(await shows(tab, "Text6"), "10");
            assert.ok(await shown(tab, "Label5"));
            const [, number] = /^正解は(.*)$/.exec(await shows(tab, "Label5"));
            const reads = (text) => tab.evaluate((text) => globalThis.ohmDrill.answerReads(text), text);
            assert.equal(await reads(number), await reads(expected));
        });

        await t.test("終了 closes the window and says the drill has ended, with its result", async () => {
            await tab.click("Command1");
            assert.equal(await shown(tab, "Form1"), false);
            const unmarked = Array(8).fill("－").join(" ");
            assert.equal(await shows(tab, "ended"), `${table.endedNotice}得点 10点　○ × ${unmarked}　Ver.${table.version}`);
        });
    });
