// A small client of classic W3C WebDriver over HTTP, enough to drive
// WebKitGTK's MiniBrowser: a session, a page, scripts, clicks, keys and
// screenshots, with the call names of drillpage.mjs's Playwright pages.
import { spawn } from "node:child_process";
import { createServer } from "node:net";
import { setTimeout as sleep } from "node:timers/promises";

const elementKey = "element-6066-11e4-a52e-4f735466cecf";

async function freePort() {
    const server = createServer();
    await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
    const { port } = server.address();
    await new Promise((resolve) => server.close(resolve));
    return port;
}

function displayNumber(xvfb) {
    return new Promise((resolve, reject) => {
        xvfb.stdio[3].once("data", (number) => resolve(String(number).trim()));
        xvfb.once("exit", () => reject(new Error("Xvfb did not start")));
    });
}

// WebKitGTK's WebDriver on a private X display for the browser windows it
// opens, the display numbered by Xvfb itself.
export async function startWebKit() {
    const port = await freePort();
    const display = spawn("Xvfb", ["-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"], {
        stdio: ["ignore", "ignore", "ignore", "pipe"],
    });
    const driver = spawn("WebKitWebDriver", [`--port=${port}`], {
        stdio: "ignore",
        env: { ...process.env, DISPLAY: `:${await displayNumber(display)}` },
    });
    const exited = Promise.all([driver, display].map((p) => new Promise((resolve) => p.once("exit", resolve))));
    // The browser ends with the driver, or with the display; both go even
    // when the tests stop short.
    const stop = () => [driver, display].forEach((p) => p.exitCode === null && p.kill());
    process.once("exit", stop);
    const call = async (method, path, body) => {
        const response = await fetch(`http://127.0.0.1:${port}${path}`, {
            method,
            headers: { "Content-Type": "application/json" },
            body: body && JSON.stringify(body),
        });
        const { value } = await response.json();
        if (!response.ok) throw new Error(`WebDriver ${method} ${path}: ${value.error}: ${value.message}`);
        return value;
    };
    let started;
    try {
        for (let tries = 0; !(await call("GET", "/status").then((s) => s.ready, () => false)); ++tries) {
            if (tries === 100 || driver.exitCode !== null) throw new Error("WebKitWebDriver did not start");
            await sleep(100);
        }
        started = await call("POST", "/session", { capabilities: {} });
    } catch (error) {
        stop();
        throw error;
    }
    const session = `/session/${started.sessionId}`;
    const find = async (name) =>
        (await call("POST", `${session}/element`, { using: "css selector", value: `#${name}` }))[elementKey];
    return {
        goto: (url) => call("POST", `${session}/url`, { url }),
        // The function runs in the page with one argument; what it throws is thrown here.
        async evaluate(fn, arg) {
            const script = `const done = arguments[1];
                Promise.resolve().then(() => (${fn})(arguments[0])).then(
                    (value) => done({ value }), (error) => done({ error: String(error) }));`;
            const { value, error } = await call("POST", `${session}/execute/async`, { script, args: [arg ?? null] });
            if (error) throw new Error(`in the page: ${error}`);
            return value;
        },
        click: async (name) => call("POST", `${session}/element/${await find(name)}/click`, {}),
        type: async (name, text) => call("POST", `${session}/element/${await find(name)}/value`, { text }),
        press: async (name, key) => call("POST", `${session}/element/${await find(name)}/value`, { text: { Enter: "\uE007" }[key] }),
        screenshot: async () => Buffer.from(await call("GET", `${session}/screenshot`), "base64"),
        async close() {
            await call("DELETE", session).catch(() => {});
            stop();
            await exited;
        },
    };
}
