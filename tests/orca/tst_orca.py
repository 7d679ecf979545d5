#!/usr/bin/python3
# What a blind pupil hears. The real Orca, with speech-dispatcher's dummy
# output module, reads the real program while this script drives it by
# keyboard alone (xdotool): start, a full Tab round, keypad presses, a wrong
# and then a right answer, 次, a wrong answer, and a review of the marks.
# Each step waits for the utterance it expects in the log that Orca's
# customizations write, and the whole transcript is printed at the end.
#
# Everything runs privately in a temporary directory: an X server, a D-Bus
# session bus, the AT-SPI bus, a Japanese UTF-8 locale built with localedef,
# speech-dispatcher and Orca with settings of their own. Every process
# started here is ended here, and dies with this script if it is killed.
#
# Usage: tst_orca.py PROGRAM
import ctypes
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
TITLE = "オームの法則（並列）"
# A loaded two-core machine can keep Orca busy for seconds.
WAIT = 60
SLOTS = ["電流 I", "電流 I1", "電流 I2", "電圧 E", "電圧 E1", "電圧 E2",
         "抵抗 R1", "抵抗 R2", "抵抗 R"]  # in the Tab order of the boxes
KEYS = [str(d) for d in range(10)] + ["クリア", "小数点"]
NUMBER = r"\d+(?:\.\d+)?"  # as a pupil writes it: "0.8", never ".8"


class Failure(Exception):
    pass


def die_with_parent():
    # PR_SET_PDEATHSIG: the child is ended when this script goes.
    ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGTERM)


class Session:
    def __init__(self, tmp):
        self.tmp = tmp
        self.procs = []
        self.keys = []  # (time, key) as pressed, for the transcript
        self.log = os.path.join(tmp, "speech.log")
        home = os.path.join(tmp, "home")
        run = os.path.join(tmp, "run")
        os.makedirs(home)
        os.makedirs(run, mode=0o700)
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": home,
            "XDG_RUNTIME_DIR": run,
            "XDG_CONFIG_HOME": os.path.join(home, ".config"),
            "XDG_DATA_HOME": os.path.join(home, ".local", "share"),
            "XDG_CACHE_HOME": os.path.join(home, ".cache"),
            "GSETTINGS_BACKEND": "memory",
            "LANG": "ja_JP.UTF-8",
            "LC_ALL": "ja_JP.UTF-8",
            "LOCPATH": os.path.join(tmp, "locale"),
            "OHM_SPEECH_LOG": self.log,
            # Marks every process of this session, those the buses start too.
            "OHM_ORCA_SESSION": tmp,
        }

    def start(self, name, argv, env=None, **kwargs):
        out = open(os.path.join(self.tmp, name + ".out"), "wb")
        proc = subprocess.Popen(argv, env=env or self.env, stdin=subprocess.DEVNULL, stdout=out,
                                stderr=subprocess.STDOUT, preexec_fn=die_with_parent, **kwargs)
        out.close()
        self.procs.append((name, proc))
        return proc

    def started_with_fd(self, name, argv_with_fd):
        """Starts a program that writes a line (display, bus address) to the
        descriptor given in its arguments, and returns that line."""
        read_end, write_end = os.pipe()
        self.start(name, [a.replace("FD", str(write_end)) for a in argv_with_fd],
                   pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            line = pipe.readline().strip()
        if not line:
            raise Failure(name + " did not start")
        return line

    def wait_for(self, what, test, timeout=WAIT):
        deadline = time.monotonic() + timeout
        while not test():
            for name, proc in self.procs:
                if proc.poll() is not None:
                    raise Failure("%s ended early (status %s) while waiting for %s"
                                  % (name, proc.returncode, what))
            if time.monotonic() > deadline:
                raise Failure("timed out waiting for " + what)
            time.sleep(0.2)

    def run(self, argv, timeout=30):
        return subprocess.run(argv, env=self.env, capture_output=True, text=True,
                              timeout=timeout)

    def stop(self):
        for _, proc in reversed(self.procs):
            if proc.poll() is None:
                proc.terminate()
        for _, proc in reversed(self.procs):
            try:
                proc.wait(10)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
        # What the buses started (the AT-SPI registry) ends with its bus.
        deadline = time.monotonic() + 15
        while self.leftovers() and time.monotonic() < deadline:
            time.sleep(0.2)
        left = self.leftovers()
        for pid in left:
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        return left

    def leftovers(self):
        mark = ("OHM_ORCA_SESSION=" + self.tmp).encode()
        found = []
        for entry in os.listdir("/proc"):
            if not entry.isdigit() or int(entry) == os.getpid():
                continue
            try:
                with open("/proc/%s/environ" % entry, "rb") as f:
                    if mark in f.read().split(b"\0"):
                        found.append(int(entry))
            except OSError:
                pass
        return found

    # What Orca has said so far: (time, text) pairs.
    def heard(self):
        try:
            with open(self.log, encoding="utf-8") as f:
                lines = f.read().splitlines()
        except FileNotFoundError:
            return []
        said = []
        for line in lines:
            m = re.match(r"^(\d+\.\d+) SPEECH OUTPUT: '(.*)'( \{.*\})?$", line)
            if m:
                said.append((float(m.group(1)), m.group(2)))
        return said

    def expect(self, since, pattern, what):
        """Waits for an utterance after the first `since` ones that matches."""
        found = []

        def hear():
            for _, text in self.heard()[since:]:
                m = re.search(pattern, text)
                if m:
                    found.append(m)
                    return True
            return False

        try:
            self.wait_for(what, hear)
        except Failure as failure:
            said = [t for _, t in self.heard()[since:]]
            raise Failure("%s: expected /%s/, heard %s" % (failure, pattern, said)) from None
        return found[0]

    def press(self, key, pattern, what):
        since = len(self.heard())
        self.keys.append((time.time(), key))
        result = self.run(["xdotool", "key", "--clearmodifiers", key])
        if result.returncode != 0:
            raise Failure("xdotool key %s: %s" % (key, result.stderr))
        return self.expect(since, pattern, what), since

    def type(self, text):
        self.keys.append((time.time(), "type " + text))
        self.run(["xdotool", "type", "--delay", "100", text])

    def transcript(self):
        if not self.heard():
            return ""
        start = self.heard()[0][0]
        events = [(t, "  %6.2f  Orca: %s" % (t - start, s)) for t, s in self.heard()]
        events += [(t, "  %6.2f  [%s]" % (t - start, k)) for t, k in self.keys]
        return "\n".join(line for _, line in sorted(events, key=lambda e: e[0]))


def parse_question(text):
    """The notice of a new question, after 通知 on the desktop: number, task,
    given (name, value, unit) and the asked name."""
    m = re.search(r"第(\d+)問　((?:電流|電圧|抵抗)を求めよう)。(.*)、(\S+ \S+) を求める", text)
    if not m:
        raise Failure("not a question notice: " + text)
    given = []
    for part in m.group(3).split("、"):
        g = re.fullmatch(r"(\S+ \S+) (%s) (アンペア|ボルト|オーム)" % NUMBER, part)
        if not g:
            raise Failure("given quantity not read whole with its unit: %r in %s" % (part, text))
        given.append(g.groups())
    return int(m.group(1)), m.group(2), given, m.group(4)


def unit_of(name):
    return {"電流": "アンペア", "電圧": "ボルト", "抵抗": "オーム"}[name.split()[0]]


def review(s):
    """Orca's flat review from the top line to the bottom one, read line by
    line with the keypad (7 up, 8 this line, 9 down): the lines read."""
    def line(key):
        since = len(s.heard())
        s.keys.append((time.time(), key))
        s.run(["xdotool", "key", key])
        read = lambda: [t for _, t in s.heard()[since:]
                        if not t.startswith("num lock") and not re.fullmatch(r"\d ", t)]
        try:
            s.wait_for("a line read by " + key, read, timeout=5)
        except Failure:
            return None  # at the top or the bottom, Orca says no line
        time.sleep(0.3)  # the rest of what it says
        return " ".join(read())

    line("KP_8")
    while line("KP_7") is not None and len(s.keys) < 200:
        pass
    lines = [line("KP_8")]
    while len(lines) < 30:
        lines.append(line("KP_9"))
        if lines[-1] is None:
            return lines[:-1]
    return lines


def reviewed_values(s, given):
    """The review of the window, which must hold each given value with its
    name and unit."""
    lines = review(s)
    for name, value, unit in given:
        if not any("%s %s %s" % (name, value, unit) in line for line in lines):
            raise Failure("%s %s %s not in review: %s" % (name, value, unit, lines))
    return lines


def start_orca(s, settings=""):
    """The X server, the buses, speech and Orca, until Orca first speaks;
    settings: Python lines for Orca's settings module."""
    os.makedirs(s.env["LOCPATH"])
    localedef = subprocess.run(["localedef", "-i", "ja_JP", "-f", "UTF-8",
                                os.path.join(s.env["LOCPATH"], "ja_JP.UTF-8")],
                               env={"PATH": s.env["PATH"], "LC_ALL": "C"}, capture_output=True,
                               text=True, timeout=120)
    if localedef.returncode not in (0, 1):  # 1: warnings only
        raise Failure("localedef: " + localedef.stderr)
    s.env["DISPLAY"] = ":" + s.started_with_fd(
        "xvfb", ["Xvfb", "-displayfd", "FD", "-screen", "0", "1024x768x24", "-nolisten", "tcp"])
    s.env["DBUS_SESSION_BUS_ADDRESS"] = s.started_with_fd(
        "dbus", ["dbus-daemon", "--session", "--nofork", "--print-address=FD"])
    s.start("atspi", ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    # Asked for by name before it has taken the name, the bus would be
    # started a second time by D-Bus activation, and the launcher started
    # here would give up; so ask the bus daemon whether the name is taken.
    s.wait_for("the AT-SPI bus", lambda: "boolean true" in s.run(
        ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
         "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner",
         "string:org.a11y.Bus"]).stdout)

    speechd = os.path.join(s.tmp, "speechd")
    os.makedirs(os.path.join(speechd, "modules"))
    with open(os.path.join(speechd, "speechd.conf"), "w") as f:
        # The dummy module aborts without an audio method it knows.
        f.write('AudioOutputMethod "libao"\nAddModule "dummy" "sd_dummy" ""\n'
                'DefaultModule dummy\nLogDir "%s"\n' % s.tmp)
    s.start("speechd", ["speech-dispatcher", "--run-single", "--timeout", "0",
                        "--config-dir", speechd])
    socket = os.path.join(s.env["XDG_RUNTIME_DIR"], "speech-dispatcher", "speechd.sock")
    s.wait_for("speech-dispatcher", lambda: os.path.exists(socket))

    prefs = os.path.join(s.tmp, "orca")
    os.makedirs(prefs)
    shutil.copy(os.path.join(HERE, "orca-customizations.py"), prefs)
    with open(os.path.join(prefs, "orca-customizations.py"), "a") as f:
        f.write(settings)
    s.start("orca", ["/usr/bin/python3", os.path.join(HERE, "start-orca.py"), prefs])
    s.wait_for("Orca's first words", lambda: s.heard())


def bring_up(s, program):
    t0 = time.monotonic()
    start_orca(s)
    # Orca has switched accessibility on for the session; the program
    # started now exposes its controls, as it would for a pupil.
    s.start("program", [program], env=dict(s.env, QT_QPA_PLATFORM="xcb"))
    window = []

    def find_window():
        found = s.run(["xdotool", "search", "--name", TITLE]).stdout.split()
        window[:] = found[:1]
        return bool(found)

    s.wait_for("the window", find_window)
    print("session up in %.1f s" % (time.monotonic() - t0))
    return window[0]


def drill(s, window):
    """The steps of a pupil; returns the number of markings spoken."""
    since = len(s.heard())
    s.run(["xdotool", "windowfocus", "--sync", window])
    s.expect(since, "^" + TITLE + "$", "window title on start")
    s.expect(since, "^終了 プッシュボタン", "the focused control on start")
    notice = s.expect(0, "通知 第1問", "the first question").string
    number, task, given, asked = parse_question(notice)
    print("question 1:", task, given, "asked", asked)
    if number != 1 or unit_of(asked) not in ("アンペア", "ボルト", "オーム"):
        raise Failure("first question notice: " + notice)

    # A full Tab round, back to 終了.
    for key in KEYS:
        s.press("Tab", "^%s プッシュボタン" % key, "Tab onto key " + key)
    s.press("Tab", "^入力 プッシュボタン", "Tab onto 入力")
    s.press("Tab", "^答え テキスト", "Tab onto the answer box, the first time")
    s.press("Tab", "^次 プッシュボタン", "Tab onto 次")
    values = {name: "%s %s" % (value, unit) for name, value, unit in given}
    values[asked] = "求める"
    for name in [n for n in SLOTS if n in values]:
        _, since = s.press("Tab", "^%s テキスト" % name, "Tab onto " + name)
        s.expect(since, "^%s( |\\.|$)" % re.escape(values[name]), "whole value of " + name)
    _, since = s.press("Tab", "^得点 テキスト", "Tab onto the score")
    s.expect(since, "^0 点( |\\.|$)", "the score with 点")
    s.press("Tab", "^終了 プッシュボタン", "Tab round back to 終了")
    # Orca's review reads every control now, the hidden slots too.
    reviewed_values(s, given)

    # Keypad presses with Space: the key, then the answer as a number.
    for _ in range(6):
        s.press("Tab", "プッシュボタン", "Tab through the keypad")
    s.press("space", "^通知 5　答え 5", "keypad 5")
    for _ in range(5):
        s.press("Tab", "プッシュボタン", "Tab through the keypad")
    s.press("space", "^通知 クリア　答え なし", "keypad クリア")
    s.press("Tab", "^小数点 プッシュボタン", "Tab onto 小数点")
    s.press("space", "^通知 小数点　答え 0\\.", "keypad 小数点")

    # A wrong answer ("." reads as 0), then the right one typed in.
    s.press("Tab", "^入力 プッシュボタン", "Tab onto 入力")
    wrong, _ = s.press("space", "^通知 ×　まちがい。正解は (%s)。得点 0点" % NUMBER,
                       "wrong answer with the correct value")
    correct = wrong.group(1)
    s.press("Tab", "^答え テキスト", "Tab onto the answer box")
    s.run(["xdotool", "key", "ctrl+a"])
    s.type(correct)
    s.press("Return", "^通知 ○　正解です。得点 10点", "right answer with the score")

    # 次: the next question, then a wrong answer on it.
    s.press("Tab", "^次 プッシュボタン", "Tab onto 次")
    notice = s.press("space", "通知 第2問", "the second question")[0].string
    number, task, given, asked = parse_question(notice)
    print("question 2:", task, given, "asked", asked)
    s.press("shift+Tab", "^答え テキスト", "back to the answer box")
    second, _ = s.press("Return", "^通知 ×　まちがい。正解は (%s)。得点 10点" % NUMBER,
                        "second wrong answer")

    # The second question in review: the slots hidden in the first one are
    # there now, and the marks with the correct answer.
    lines = reviewed_values(s, given)
    marks = [line for line in lines if "第1問の結果" in line]
    if not marks or not marks[0].startswith(
            "第1問の結果 ○ 正解 第2問の結果 × まちがい 正解は %s 第3問の結果 まだ"
            % second.group(1)):
        raise Failure("marks in review: %s" % marks)

    time.sleep(2)  # anything said twice would come now
    said = [t for _, t in s.heard()]
    return (sum("○　正解です" in t for t in said), sum("×　まちがい" in t for t in said))


def run_listened(prefix, listen, markings):
    """Runs listen(s) in a new session on private buses and settings: it
    returns how many right and wrong markings were said, which must be
    `markings`, each said once. Prints what Orca said, stops everything the
    session started and cleans up, stopped by a signal too: the exit status."""
    for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(sig, lambda *_: sys.exit("stopped by a signal"))
    tmp = tempfile.mkdtemp(prefix=prefix)
    s = Session(tmp)
    status = 0
    try:
        heard = listen(s)
        if heard != markings:
            raise Failure("each marking is said once: heard %d right, %d wrong" % heard)
    except Failure as failure:
        print("FAIL:", failure)
        status = 1
    finally:
        print("Transcript (seconds, keys pressed and what Orca said):")
        print(s.transcript())
        left = s.stop()
        if left:
            print("FAIL: processes left running (now killed):", left)
            status = 1
        shutil.rmtree(tmp, ignore_errors=True)
    print("PASS" if status == 0 else "FAILED")
    return status


def main():
    program = os.path.abspath(sys.argv[1])

    def listen(s):
        window = bring_up(s, program)
        t0 = time.monotonic()
        heard = drill(s, window)
        print("drill in %.1f s" % (time.monotonic() - t0))
        return heard
    return run_listened("ohm-orca-", listen, (1, 2))


if __name__ == "__main__":
    sys.exit(main())
