// The web face for pupils who listen or zoom: axe-core's checks of the page
// in three states.
import assert from "node:assert/strict";
import { fileURLToPath } from "node:url";
import { test } from "node:test";
import { expectedAnswer, openDrill, shown, shows, startBrowser } from "./drillpage.mjs";

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
