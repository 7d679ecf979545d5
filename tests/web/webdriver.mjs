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

// WebKitGTK's WebDriver in a process group of its own, with a private X
// display for the browser windows it opens.
export async function startWebKit() {
    const port = await freePort();
    const driver = spawn(
        "xvfb-run",
        ["-a", "-s", "-screen 0 1280x1024x24 -nolisten tcp", "WebKitWebDriver", `--port=${port}`],
        { detached: true, stdio: "ignore" },
    );
    const exited = new Promise((resolve) => driver.once("exit", resolve));
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
    for (let tries = 0; ; ++tries) {
        const ready = await call("GET", "/status").then((s) => s.ready, () => false);
        if (ready) break;
        if (tries === 100 || driver.exitCode !== null) throw new Error("WebKitWebDriver did not start");
        await sleep(100);
    }
    const { sessionId, capabilities } = await call("POST", "/session", { capabilities: {} });
    const session = `/session/${sessionId}`;
    const find = async (name) =>
        (await call("POST", `${session}/element`, { using: "css selector", value: `#${name}` }))[elementKey];
    return {
        version: `${capabilities.browserName} ${capabilities.browserVersion}`,
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
            process.kill(-driver.pid, "SIGTERM");
            await exited;
        },
    };
}
