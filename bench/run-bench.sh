#!/bin/sh
# make bench: the drill against a bare Qt window of its size, at start-up and
# in memory, and what a new question and the marking of an answer cost; with
# the web edition's site, its download, its first question and 次 in
# Chromium, and Lighthouse's audit of it. Prints a table. A figure off its
# target is reported, never an error; the script fails only when something
# cannot run.
#
#   sh bench/run-bench.sh [BUILD_DIR [WEB_SITE_DIR]]
#
# OHM_BENCH_RUNS (default 40) and OHM_BENCH_MEDIAN (default 21) trade time
# for steadier figures; so do OHM_BENCH_WEB_PAIRS and OHM_BENCH_WEB_LOADS for
# the web edition's (bench/web-bench.mjs), and OHM_BENCH_LIGHTHOUSE_RUNS
# (default 3) for its Lighthouse audits (bench/lighthouse-bench.mjs).
# OHM_BENCH_ONLY=web leaves out the desktop program: nothing is built, and
# BUILD_DIR is not read.
set -eu

build=${1:-build}
runs=${OHM_BENCH_RUNS:-40}
median=${OHM_BENCH_MEDIAN:-21}
memory_runs=5
only=${OHM_BENCH_ONLY:-}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "bench: $1" >&2
    [ -f "$2" ] && sed 's/^/    /' "$2" >&2
    exit 1
}

case "$only" in
"") ;;
web) [ -d "${2:-}" ] || fail "OHM_BENCH_ONLY=web wants the web edition's site" /dev/null ;;
*) fail "OHM_BENCH_ONLY is empty or web, not $only" /dev/null ;;
esac

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
if [ "$only" = web ]; then
    echo
    echo "ohm-parallel benchmark, web edition, $(date '+%Y-%m-%d %H:%M')"
    echo "machine: ${cpu:-unknown CPU}, $(nproc) cores"
else
    cmake --build "$build" --target bench-programs >"$work/build.log" 2>&1 ||
        fail "could not build the bench programs" "$work/build.log"
    command -v valgrind >/dev/null || fail "valgrind is not installed" /dev/null

    bench_question="$build/bench/bench_question"

    # Start-up and memory, then the instructions each program runs up to the
    # report of its first paint (callgrind writes them out before the program
    # quits, the rest of the run goes to a second file), all on one X server.
    # shellcheck disable=SC2016 # the inner script expands its own arguments
    xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" env QT_QPA_PLATFORM=xcb sh -c '
        "$1/bench/bench-startup" "$2" "$3" "$1/bench/ohm-bench-drill" "$1/bench/ohm-bench-baseline" \
            >"$4/startup.txt" || exit 1
        export OHM_BENCH_EXIT_AFTER_QUESTION=1
        valgrind --tool=callgrind --dump-before="QCoreApplication::exit*" \
            --callgrind-out-file="$4/start.drill" "$1/bench/ohm-bench-drill" \
            >/dev/null 2>&1 || exit 1
        valgrind --tool=callgrind --dump-before="QCoreApplication::exit*" \
            --callgrind-out-file="$4/start.baseline" "$1/bench/ohm-bench-baseline" \
            >/dev/null 2>&1' \
        sh "$build" "$runs" "$memory_runs" "$work" 2>"$work/startup.log" ||
        fail "start-up runs failed" "$work/startup.log"
    for profile in "$work/start.drill.1" "$work/start.baseline.1"; do
        [ -f "$profile" ] || fail "callgrind wrote no profile up to the first paint" /dev/null
    done

    # The question benchmarks, offscreen. CPU time from the kernel's task clock
    # has the resolution a single click needs; where perf events are closed,
    # wall time in whole milliseconds is what is left.
    export QT_QPA_PLATFORM=offscreen
    if "$bench_question" -perf -perfcounter task-clock questionDraw >"$work/probe.log" 2>&1; then
        timer="-perf -perfcounter task-clock -minimumvalue 2000000"
        time_unit="CPU us"
    else
        timer=""
        time_unit="wall us"
    fi
    # shellcheck disable=SC2086 # $timer is a list of options
    "$bench_question" $timer -median "$median" -o "$work/time.csv,csv" -o "$work/time.txt,txt" \
        >/dev/null 2>"$work/time.log" || fail "timed question benchmarks failed" "$work/time.txt"
    "$bench_question" -callgrind -o "$work/instr.csv,csv" -o "$work/instr.txt,txt" \
        >/dev/null 2>"$work/instr.log" || fail "callgrind question benchmarks failed" "$work/instr.txt"

    qt=$(sed -n 's/^Config: .*, Qt \([0-9.]*\) .*/\1/p' "$work/time.txt")
    build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")

    echo
    echo "ohm-parallel benchmark, $(date '+%Y-%m-%d %H:%M')"
    echo "machine: ${cpu:-unknown CPU}, $(nproc) cores; Qt $qt; build ${build_type:-default}"
    echo
    echo "Start-up to the first question on screen (Xvfb), and peak memory,"
    echo "against a bare Qt window of the same size with one label in the same face"
    echo "(IPAPGothic, named as installed):"
    # The instruction count goes with the start-up figures, above the memory.
    instructions=$(awk '/^totals:/ { n[FILENAME == ARGV[1]] = $2 }
        END {
            r = n[1] / n[0]
            printf "%-38s %7.1fM %8.1fM  %-4s %6.3f  <= 1.60  %s\n",
                "  instructions to first question", n[1] / 1e6, n[0] / 1e6, "", r,
                r <= 1.60 ? "met" : "missed"
        }' "$work/start.drill.1" "$work/start.baseline.1")
    awk -v row="$instructions" '/^peak RSS/ && !done { print row; done = 1 } { print }' "$work/startup.txt"
    echo
    echo "A new question and a marking (offscreen). Time: median of $median runs,"
    echo "each on a fresh window; instructions: callgrind, one run."
    awk -F, -v unit="$time_unit" '
        function unquote(s) { gsub(/"/, "", s); return s }
        function key(f, t) { return unquote(f) "/" unquote(t) }
        FNR == NR { time[key($1, $2)] = $4; unit_of[key($1, $2)] = unquote($3); next }
        { instr[key($1, $2)] = $4 }
        function grouped(n,   s) {
            s = sprintf("%d", n)
            while (s ~ /[0-9][0-9][0-9][0-9]/) sub(/[0-9][0-9][0-9]($|,)/, ",&", s)
            return s
        }
        # A limit of 0 is no target; each limit met or missed is said so.
        function verdict(value, limit) {
            return limit == 0 ? "" : (value <= limit ? "met" : "missed")
        }
        function row(label, k, timeLimit, instrLimit,   t, n) {
            t = time[k]
            if (unit_of[k] == "WalltimeMilliseconds") t *= 1000; else t /= 1000
            n = instr[k]
            printf "%-44s %10.1f %-6s %14s %-6s  %s\n", label, t, verdict(t, timeLimit),
                grouped(n), verdict(n, instrLimit),
                timeLimit == 0 ? "" : sprintf("<= %d us%s", timeLimit,
                    instrLimit == 0 ? "" : sprintf(", <= %.1f M", instrLimit / 1e6))
        }
        END {
            printf "%-44s %10s %-6s %14s %-6s  %s\n", "", unit, "", "instructions", "", "target"
            row("next question (Command5 + paint), current", "nextQuestion/current", 500, 2500000)
            row("next question (Command5 + paint), voltage", "nextQuestion/voltage", 500, 2500000)
            row("next question (Command5 + paint), resistance", "nextQuestion/resistance", 500, 2500000)
            row("mark an answer (Command3 + paint), right", "markAnswer/right answer", 0, 0)
            row("mark an answer (Command3 + paint), wrong", "markAnswer/wrong answer", 0, 0)
            print "  pieces of a new question:"
            row("  the 180-line diagram on the canvas", "diagramRedraw/", 100, 0)
            row("  the diagram as device pixels, 1x", "diagramPixels/1x", 1000, 0)
            row("  the diagram as device pixels, 2x", "diagramPixels/2x", 5000, 0)
            row("  the random draws and the circuit", "questionDraw/", 0, 0)
            row("  the paint of the whole window", "windowPaint/", 0, 0)
            if (unit ~ /wall/)
                print "(perf events are closed here: a single click is timed in whole milliseconds)"
        }' "$work/time.csv" "$work/instr.csv"
fi

# The web edition's download (make web-build): each file of its site as a
# server sends it gzipped, fonts included, and the whole against its limit.
site=${2:-}
if [ -n "$site" ] && [ -d "$site" ]; then
    echo
    for file in "$site"/*; do
        printf "%s %s\n" "$(basename "$file")" "$(gzip -9c "$file" | wc -c)"
    done | awk '
        { printf "  %-42s %8.1f KB\n", $1, $2 / 1024; total += $2 }
        END {
            kb = total / 1024
            printf "%-44s %8.1f KB  %-6s  <= 80 KB\n", "web edition, gzipped download in all", kb,
                kb <= 80 ? "met" : "missed"
        }'

    # The edition in one file to hand out, beside the site: as it lies on a
    # disk, which is how it is handed out, and as a server would send it.
    single=$(dirname "$site")/ohm-parallel.html
    if [ -f "$single" ]; then
        printf "%s %s\n" "$(wc -c <"$single")" "$(gzip -9c "$single" | wc -c)" | awk '{
            printf "%-44s %8.1f KB  %-6s  <= 160 KB\n", "web edition in one file", $1 / 1024,
                $1 <= 160 * 1024 ? "met" : "missed"
            printf "%-44s %8.1f KB\n", "  the same, gzipped", $2 / 1024
        }'
    fi

    # Its first question and its 次 in headless Chromium, driven by the
    # Playwright of the web tests, then Lighthouse's audits from bench/'s
    # own npm packages.
    here=$(dirname "$0")
    if [ ! -x /usr/bin/chromium ] || [ ! -d "$here/../tests/web/node_modules/playwright-core" ] ||
        [ ! -d "$here/node_modules/lighthouse" ]; then
        sh "$here/../scripts/install-deps.sh" web-test bench >"$work/web-deps.log" 2>&1 ||
            fail "could not install Chromium, Playwright and Lighthouse for the web edition" "$work/web-deps.log"
    fi
    node "$here/web-bench.mjs" "$site" 2>"$work/web.log" ||
        fail "the web edition's runs in Chromium failed" "$work/web.log"
    mkdir "$work/lighthouse"
    CHROME_PATH=/usr/bin/chromium node "$here/lighthouse-bench.mjs" "$site" "$work/lighthouse" \
        2>"$work/lighthouse.log" || fail "the web edition's Lighthouse runs failed" "$work/lighthouse.log"
fi
