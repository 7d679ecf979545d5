#!/usr/bin/python3
# What a blind pupil hears of the web edition: the real Orca reads Debian's
# Chromium, not headless, on the session of tst_orca.py (its own X server,
# buses, speech and Orca settings), while this script does one question by
# keyboard alone: the question said with its values and units, keypad keys
# with the answer so far, a wrong answer with ○/× and the correct answer and
# score, the right one typed in, and 次 with the next question.
#
# Usage: tst_orca_web.py SITE_DIR
import functools
import http.server
import json
import os
import re
import sys
import threading
import time

sys.dont_write_bytecode = True  # no __pycache__ left in the sources
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from tst_orca import (NUMBER, SLOTS, parse_question, run_listened, start_orca,  # noqa: E402
                      unit_of)

# Chromium's own first run and network are left out, and its offer to
# translate the page (its profile says so), so that what is said is the
# page's.
CHROMIUM = ["/usr/bin/chromium", "--force-renderer-accessibility", "--no-sandbox", "--disable-gpu",
            "--no-first-run", "--no-default-browser-check", "--disable-background-networking",
            "--disable-component-update", "--disable-sync", "--password-store=basic",
            "--window-position=0,0", "--window-size=1024,768"]


# Orca reads a page through from the top once it has loaded, and a key that
# stops the reading leaves the place it reached as where Tab goes on from:
# the first Tab then lands on whatever box the reading had come to, not on
# the key after 終了 where the page put the focus. The pupil here listens to
# the question and goes on from 終了.
SETTINGS = "\nfrom orca import settings\nsettings.sayAllOnLoad = False\n"


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(site):
    """The site on a free loopback port, from a thread of this script."""
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(Quiet, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def start_chromium(s, url):
    profile = os.path.join(s.tmp, "chromium")
    os.makedirs(os.path.join(profile, "Default"))
    with open(os.path.join(profile, "Default", "Preferences"), "w") as f:
        json.dump({"translate": {"enabled": False}}, f)
    s.start("chromium", CHROMIUM + ["--user-data-dir=" + profile, url])
    # The browser's window has the keyboard before the page loads, as when
    # a pupil opens the page; focused after, it would give the keyboard to
    # its own toolbar and not to the control the page focuses.
    window = []

    def find_window():
        window[:] = s.run(["xdotool", "search", "--onlyvisible", "--class", "chromium"]).stdout.split()[:1]
        return bool(window)

    s.wait_for("the browser's window", find_window)
    s.run(["xdotool", "windowfocus", "--sync", window[0]])


def quiet(s, seconds=1.0):
    """Waits until Orca has said nothing for a while, as a pupil listens to
    the end."""
    def silent():
        said = s.heard()
        return not said or time.time() - said[-1][0] > seconds
    s.wait_for("Orca to finish", silent)


def question(s):
    """One question by keyboard, from the page's load; returns the number of
    markings said."""
    loaded = s.expect(0, "^Finished loading", "the page loaded")
    since = [t for _, t in s.heard()].index(loaded.string)
    s.expect(since, "^終了 プッシュボタン", "the focused control on start")
    number, task, given, asked = parse_question(s.expect(since, "^第1問", "the first question").string)
    print("question 1:", task, given, "asked", asked)
    quiet(s)

    # Keypad keys with Space: the key, then the answer so far.
    for key in "012345":
        s.press("Tab", "^%s プッシュボタン" % key, "Tab onto key " + key)
    s.press("space", "^5　答え 5$", "keypad 5")
    for key in ["6", "7", "8", "9", "クリア"]:
        s.press("Tab", "^%s プッシュボタン" % key, "Tab onto key " + key)
    s.press("space", "^クリア　答え なし$", "keypad クリア")
    s.press("Tab", "^小数点 プッシュボタン", "Tab onto 小数点")
    s.press("space", "^小数点　答え 0\\.$", "keypad 小数点")

    # A wrong answer ("." reads as 0), then the right one typed in.
    s.press("Tab", "^入力 プッシュボタン", "Tab onto 入力")
    wrong, _ = s.press("space", "^×　まちがい。正解は (%s)。得点 0点$" % NUMBER,
                       "wrong answer with the correct value")
    s.press("Tab", "^答え", "Tab onto the answer box")
    s.run(["xdotool", "key", "ctrl+a"])
    s.type(wrong.group(1))
    s.press("Return", "^○　正解です。得点 10点$", "right answer with the score")

    # 次: the next question, said whole.
    # A button named by one letter Orca reads by its description instead.
    s.press("Tab", "^次の問題へ進む プッシュボタン", "Tab onto 次")
    number, task, given, asked = parse_question(s.press("space", "^第2問", "the second question")[0].string)
    print("question 2:", task, given, "asked", asked)
    # The boxes after 次 show what the question said: each given value in
    # its box, said with its unit after the box's name, and ？ in the asked
    # one, said as asked for; the unit is in the box's description too.
    shown = {name: (value, unit) for name, value, unit in given}
    shown[asked] = ("？", unit_of(asked))
    for name in [n for n in SLOTS if n in shown]:
        value, unit = shown[name]
        spoken = "求める" if name == asked else "%s %s" % (value, unit)
        heard = "^%s %s エントリ %s( |$)" % (name, re.escape(spoken), re.escape(value))
        _, since = s.press("Tab", heard, "Tab onto " + name)
        s.expect(since, "単位%s" % unit, "the unit of " + name)
    time.sleep(1)  # anything said twice would come now
    said = [t for _, t in s.heard()]
    return sum("○　正解です" in t for t in said), sum("×　まちがい" in t for t in said)


def main():
    site = os.path.abspath(sys.argv[1])

    def listen(s):
        server = serve(site)
        try:
            t0 = time.monotonic()
            start_orca(s, SETTINGS)
            start_chromium(s, "http://127.0.0.1:%d/" % server.server_address[1])
            print("session up in %.1f s" % (time.monotonic() - t0))
            t0 = time.monotonic()
            heard = question(s)
            print("question in %.1f s" % (time.monotonic() - t0))
            return heard
        finally:
            server.shutdown()
    return run_listened("ohm-orca-web-", listen, (1, 1))


if __name__ == "__main__":
    sys.exit(main())
