// Wires the drill's window, which the page already shows as it stands once
// started, to the module: the pupil's clicks, Enter and typing go to it,
// and it tells the page what to show; everything is decided there.
import loadDrill from "./webface.js";

// Served, the site keeps itself for use offline; a page opened from a disk
// has no service worker and needs none. A new version the worker has kept
// whole takes over at once, and the page shows it unless the pupil has
// already begun.
let begun = false;
if (/^https?:$/.test(location.protocol) && navigator.serviceWorker) {
    const updating = navigator.serviceWorker.controller !== null;
    navigator.serviceWorker.addEventListener("controllerchange", () => updating && !begun && location.reload());
    navigator.serviceWorker.register("sw.js");
}
for (const event of ["pointerdown", "keydown"]) addEventListener(event, () => (begun = true), { once: true, capture: true });

const main = document.querySelector("main");
const win = document.getElementById("Form1");
const canvas = win.querySelector("canvas");
const notice = document.getElementById("notice");
let drill = null;

// The window whole in the page, centred and as large as the page allows,
// on any screen: scaled so that it is a whole number of device pixels wide
// and placed on the device pixels, the circuit is drawn for exactly the
// device pixels it covers, sharp at any scale. The page's own size is
// main's, which pinch zoom leaves alone.
let ratio = 0;
function fit() {
    if (!win.isConnected) return;
    const dpr = window.devicePixelRatio;
    const [width, height] = [main.clientWidth, main.clientHeight];
    const [winWidth, winHeight] = [win.offsetWidth, win.offsetHeight];
    const fits = Math.min(width / winWidth, height / winHeight);
    const scale = Math.max(1, Math.floor(fits * winWidth * dpr)) / (winWidth * dpr);
    const onPixels = (v) => Math.round(v * dpr) / dpr;
    const left = onPixels((width - winWidth * scale) / 2);
    const top = onPixels((height - winHeight * scale) / 2);
    win.style.transform = `translate(${left}px, ${top}px) scale(${scale})`;
    const covered = dpr * scale;
    // Before the drill starts, only noted for its start.
    if (drill && covered !== ratio) drill.setDevicePixelRatio(covered);
    ratio = covered;
}
new ResizeObserver(fit).observe(main);
addEventListener("resize", fit);
fit();

// The canvas made ready for the circuit while the module loads: its first
// picture costs a slow device more than any other step of the start.
[canvas.width, canvas.height] = [win.offsetWidth, win.offsetHeight].map((n) => Math.round(n * ratio));
canvas.getContext("2d").putImageData(new ImageData(1, 1), 0, 0);

drill = await loadDrill();
// For the tests, and for a look from the browser's console.
globalThis.ohmDrill = drill;

// By the controls' order in the table, which the module's calls use.
const elements = drill.controlNames().split(" ").map((name) => document.getElementById(name));
for (const e of elements) {
    if (e.tagName === "BUTTON") e.addEventListener("click", () => drill.click(e.id));
    if (e.tagName !== "INPUT") continue;
    if (e.hasAttribute("data-spoken")) e.addEventListener("input", () => drill.edited(e.id));
    e.addEventListener("keydown", (event) => {
        // The Enter that commits an input method's text is not one for us.
        if (event.key !== "Enter" || event.isComposing) return;
        event.preventDefault();
        drill.enterPressed(e.id);
    });
}

let image = null;

// What the module asks of the page, by control index.
const page = {
    text: (i) => (elements[i].tagName === "INPUT" ? elements[i].value : elements[i].textContent),
    setText(i, text) {
        if (elements[i].tagName === "INPUT") elements[i].value = text;
        else elements[i].textContent = text;
    },
    setVisible: (i, visible) => (elements[i].style.display = visible ? "" : "none"),
    move(i, left, top) {
        elements[i].style.left = `${left}px`;
        elements[i].style.top = `${top}px`;
    },
    setAccessibleName(i, name) {
        if (name) elements[i].setAttribute("aria-label", name);
        else elements[i].removeAttribute("aria-label");
    },
    // The figure of that many device pixels, of which only the part its
    // lines cover comes anew; one image is kept for the next of its size.
    drawFigure(width, height, left, top, partWidth, partHeight, rgba) {
        const context = canvas.getContext("2d");
        if (canvas.width !== width || canvas.height !== height) [canvas.width, canvas.height] = [width, height];
        else context.clearRect(0, 0, width, height);
        if (!partWidth || !partHeight) return;
        if (image?.width !== partWidth || image?.height !== partHeight) image = new ImageData(partWidth, partHeight);
        image.data.set(rgba);
        context.putImageData(image, left, top);
    },
    // Emptied first, so the same words said twice are read twice.
    say(message) {
        notice.textContent = "";
        setTimeout(() => (notice.textContent = message), 0);
    },
    // The window gives way to a line that says the drill has ended, with the
    // run's result under it, and a screen reader hears both.
    end(endedNotice, result) {
        win.remove();
        const line = document.createElement("p");
        line.id = "ended";
        line.append(endedNotice, document.createElement("br"), result);
        main.append(line);
        page.say(`${endedNotice}${result}`);
        // An installed app's own window closes, as the desktop window does;
        // a browser tab stays with the line, even where the browser would
        // let a tab that has only this page in its history be closed.
        const app = ["standalone", "fullscreen", "minimal-ui"].some((mode) => matchMedia(`(display-mode: ${mode})`).matches);
        if (app || navigator.standalone) window.close();
    },
};

// Started in steps, each a short task of its own, so that a slow device
// never stops answering for long: start-up, then the first question.
drill.start(page, ratio);
await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
if (document.readyState !== "complete") await new Promise((resolve) => addEventListener("load", resolve, { once: true }));
drill.activate();
// The page holds the controls in focus order.
win.querySelector('[tabindex="0"]').focus();
