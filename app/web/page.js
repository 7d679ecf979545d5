// Builds the drill's window from the table the module hands out and passes
// the pupil's clicks and Enter to it; everything else is decided there.
import loadDrill from "./webface.js";

// Served, the site keeps itself for use offline; a page opened from a disk
// has no service worker and needs none.
if (/^https?:$/.test(location.protocol)) navigator.serviceWorker?.register("sw.js");

const drill = await loadDrill();
const table = drill.controlTable();
// For the tests, and for a look from the browser's console.
globalThis.ohmDrill = drill;

document.title = table.caption;
document.querySelector("h1").textContent = table.caption;
const win = document.createElement("div");
win.id = "Form1";
win.setAttribute("role", "group");
win.setAttribute("aria-label", table.caption);
Object.assign(win.style, {
    width: `${table.width}px`,
    height: `${table.height}px`,
    background: table.background,
});

// The circuit lies behind every control.
const canvas = document.createElement("canvas");
canvas.style.width = `${table.width}px`;
canvas.style.height = `${table.height}px`;
win.append(canvas);

const tags = { label: "div", textBox: "input", button: "button" };
const elements = [];
for (const c of table.controls) {
    const e = document.createElement(tags[c.kind]);
    e.id = c.name;
    if (c.kind === "textBox") {
        e.value = c.caption;
        e.disabled = !c.enabled;
    } else {
        e.textContent = c.caption;
    }
    if (c.kind === "button") e.type = "button";
    Object.assign(e.style, {
        left: `${c.rect.left}px`,
        top: `${c.rect.top}px`,
        width: `${c.rect.width}px`,
        height: `${c.rect.height}px`,
        fontFamily: `"${c.fontFamily}"`,
        fontSize: `${c.pixelSize}px`,
        fontWeight: c.bold ? "bold" : "normal",
        display: c.visible ? "" : "none",
    });
    // A button centres its caption, as on the desktop.
    if (c.kind !== "button") e.style.textAlign = c.align;
    if (c.background) e.style.background = c.background;
    if (c.letters) e.style.color = c.letters;
    if (c.accessibleName) e.setAttribute("aria-label", c.accessibleName);
    if (c.accessibleDescription) e.setAttribute("aria-description", c.accessibleDescription);
    // Tab follows the order of the page (see below), never a tabindex above 0.
    if (c.kind !== "label") e.tabIndex = c.focusable && table.focusOrder.includes(c.name) ? 0 : -1;
    // Painted in the table's order wherever it stands in the page.
    e.style.zIndex = elements.length + 1;
    if (c.kind === "button") e.addEventListener("click", () => drill.click(c.name));
    if (c.kind === "textBox" && c.spoken) e.addEventListener("input", () => drill.edited(c.name));
    if (c.kind === "textBox")
        e.addEventListener("keydown", (event) => {
            // The Enter that commits an input method's text is not one for us.
            if (event.key !== "Enter" || event.isComposing) return;
            event.preventDefault();
            drill.enterPressed(c.name);
        });
    elements.push(e);
}
// The page holds the controls in focus order, so that Tab and a screen
// reader's reading go the same way; each of the others comes just before the
// next control after it in the table that has a place in the focus order,
// as a box's caption comes before the box.
const before = new Map(table.focusOrder.map((name) => [name, []]));
let waiting = [];
table.controls.forEach((c, i) => {
    waiting.push(elements[i]);
    if (!before.has(c.name)) return;
    before.set(c.name, waiting);
    waiting = [];
});
for (const name of table.focusOrder) win.append(...before.get(name));
win.append(...waiting);
const main = document.querySelector("main");
main.append(win);
// Decimal keys on a phone's keyboard for the answer.
document.getElementById("Text7").inputMode = "decimal";
const notice = document.getElementById("notice");

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
    // The figure's pixels are copied into one image kept for the next.
    drawFigure(width, height, rgba) {
        if (image?.width !== width || image?.height !== height) {
            canvas.width = width;
            canvas.height = height;
            image = new ImageData(width, height);
        }
        image.data.set(rgba);
        canvas.getContext("2d").putImageData(image, 0, 0);
    },
    // Emptied first, so the same words said twice are read twice.
    say(message) {
        notice.textContent = "";
        setTimeout(() => (notice.textContent = message), 0);
    },
    end() {
        win.remove();
        const line = document.createElement("p");
        line.id = "ended";
        line.textContent = table.endedNotice;
        main.append(line);
        // An installed app's own window closes, as the desktop window does;
        // a browser tab stays with the line, even where the browser would
        // let a tab that has only this page in its history be closed.
        const app = ["standalone", "fullscreen", "minimal-ui"].some((mode) => matchMedia(`(display-mode: ${mode})`).matches);
        if (app || navigator.standalone) window.close();
    },
};

// A narrow screen, or a page zoomed past the screen, gets the whole window,
// smaller. The circuit is drawn for the device pixels it then covers, so it
// stays as sharp as the screen allows: at 200 % on a screen 1024 pixels wide
// the window is 512 pixels of the page, and 1024 of the screen.
let ratio = 0;
function fit() {
    const scale = Math.min(1, innerWidth / table.width, innerHeight / table.height);
    win.style.transform = scale < 1 ? `scale(${scale})` : "";
    const covered = window.devicePixelRatio * scale;
    // The first time, before the drill starts, only noted for its start.
    if (ratio && covered !== ratio) drill.setDevicePixelRatio(covered);
    ratio = covered;
}
addEventListener("resize", fit);
fit();

drill.start(page, ratio);
function activate() {
    drill.activate();
    document.getElementById(table.focusOrder[0]).focus();
}
if (document.readyState === "complete") activate();
else addEventListener("load", activate, { once: true });
