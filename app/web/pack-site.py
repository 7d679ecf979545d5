#!/usr/bin/python3
"""The built site made ready to go offline, and made into one file.

    pack-site.py worker SITE TEMPLATE   writes SITE/sw.js: the template with
                                        the site's files, the hash of each and
                                        of them all
    pack-site.py single SITE LOADER WASM OUT
                                        writes OUT: SITE/index.html with
                                        everything it loads inside it, LOADER
                                        (a classic script) in place of the
                                        module and WASM inside it gzipped
"""
import base64
import gzip
import hashlib
import json
import re
import sys
from pathlib import Path

TYPES = {".woff2": "font/woff2", ".svg": "image/svg+xml", ".png": "image/png"}
IMPORT = 'import loadDrill from "./webface.js";\n'
SCRIPT = '<script type="module" src="page.js"></script>'


def worker(site, template):
    names = sorted(p.name for p in site.iterdir() if p.is_file() and p.name != "sw.js")
    files = {name: hashlib.sha256((site / name).read_bytes()).hexdigest() for name in names}
    digest = hashlib.sha256()
    for name in names:
        digest.update(name.encode() + b"\0" + (site / name).read_bytes())
    text = template.read_text(encoding="utf-8")
    text = text.replace("SITE_FILES", json.dumps(files, indent=1)).replace("SITE_VERSION", json.dumps(digest.hexdigest()[:16]))
    # Written only when it changes, which is when the browsers update it.
    sw = site / "sw.js"
    if not sw.exists() or sw.read_text(encoding="utf-8") != text:
        sw.write_text(text, encoding="utf-8")


def data_url(path):
    return f"data:{TYPES[path.suffix]};base64,{base64.b64encode(path.read_bytes()).decode()}"


def inline_script(text, opening="<script>"):
    if "</script" in text:
        sys.exit("pack-site.py: a script that says </script cannot go inline")
    return f"{opening}\n{text}</script>"


# In the one file the module's WebAssembly is gzipped, at less than half its
# size in base64, and unpacked by the browser before the module starts.
UNPACK = """const loadDrill = async () => {
    const packed = Uint8Array.from(atob("%s"), (c) => c.charCodeAt(0));
    const unpacked = new Blob([packed]).stream().pipeThrough(new DecompressionStream("gzip"));
    return globalThis.loadDrill({ wasmBinary: new Uint8Array(await new Response(unpacked).arrayBuffer()) });
};
"""


def single(site, loader, wasm, out):
    sizes = {}

    def link(tag):
        rel = re.search(r'rel="([^"]*)"', tag)[1]
        href = re.search(r'href="([^"]*)"', tag)[1]
        if rel == "stylesheet":
            css = (site / href).read_text(encoding="utf-8")
            for font in re.findall(r'url\("([^"]*)"\)', css):
                sizes[font] = (site / font).stat().st_size
                css = css.replace(f'url("{font}")', f'url("{data_url(site / font)}")')
            return f"<style>\n{css}</style>\n"
        if rel == "icon":
            return tag.replace(href, data_url(site / href)) + "\n"
        # Nothing to preload, and a manifest means nothing from a disk.
        return ""

    page = (site / "page.js").read_text(encoding="utf-8")
    html = (site / "index.html").read_text(encoding="utf-8")
    if IMPORT not in page or SCRIPT not in html:
        sys.exit("pack-site.py: index.html or page.js no longer loads the module as expected")
    script = inline_script(loader.read_text(encoding="utf-8")) + "\n"
    packed = base64.b64encode(gzip.compress(wasm.read_bytes(), 9, mtime=0)).decode()
    script += inline_script(page.replace(IMPORT, UNPACK % packed), '<script type="module">')
    html = re.sub(r"(<link [^>]*>)\n", lambda m: link(m[1]), html)
    html = html.replace(SCRIPT, script)
    data = html.encode()
    out.write_bytes(data)
    sizes["the module"] = loader.stat().st_size
    sizes["its WebAssembly, gzipped in base64"] = len(packed)
    pieces = ", ".join(f"{name} {size // 1024} KB" for name, size in sizes.items())
    print(f"{out.name}: {len(data) // 1024} KB, {len(gzip.compress(data, 9)) // 1024} KB gzipped; in it: {pieces}")


if __name__ == "__main__":
    if sys.argv[1] == "worker":
        worker(Path(sys.argv[2]), Path(sys.argv[3]))
    else:
        single(Path(sys.argv[2]), Path(sys.argv[3]), Path(sys.argv[4]), Path(sys.argv[5]))
