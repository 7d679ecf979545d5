// What a blind pupil hears of the web edition: tests/orca/tst_orca_web.py
// runs the real Orca reading Chromium through one question by keyboard.
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import { fileURLToPath } from "node:url";
import { test } from "node:test";

test("Orca reads one question in Chromium: the question, keys, marks, score, the next", (t) => {
    const script = fileURLToPath(new URL("../orca/tst_orca_web.py", import.meta.url));
    const run = spawnSync("/usr/bin/python3", [script, process.env.OHM_WEB_SITE], { encoding: "utf8", timeout: 240000 });
    t.diagnostic(run.stdout + run.stderr);
    assert.equal(run.status, 0, run.stdout + run.stderr);
});
