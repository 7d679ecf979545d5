#!/bin/sh
# Installs the Debian packages a make target needs:
#
#   sh scripts/install-deps.sh [test] [web] [web-test] [bench] [PACKAGE...]
#
# With no argument, what building and running the desktop program needs;
# "test" adds the desktop test lab, "web" what building the web face needs,
# "web-test" the browsers, Node.js and the npm packages of tests/web, "bench"
# Chromium, Node.js and the npm packages of bench/ (Lighthouse). Any other
# argument is a further Debian package, for a target that builds the desktop
# tree too. Quiet and quick when everything is already there.
set -eu

# The desktop faces are committed TTFs and the icons are made with
# rsvg-convert; the tests are configured in the same tree, so libxcb is
# needed at build time.
desktop="g++ cmake ninja-build make qt6-base-dev qt6-qpa-plugins libgl-dev libxcb1-dev \
librsvg2-bin fontconfig libfontconfig-dev"

# What the CTest suite and make lint run: the real window under Xvfb and
# xdotool, Orca with its buses and speech, the desktop file validators, a
# Japanese desktop in a dark scheme, the remaking of the faces, and the
# Unicode data the table of skipped characters is checked against.
lab="xvfb xauth x11-utils xdotool appstream desktop-file-utils \
clang-format clang-tidy-14 clang-format-14 \
fonts-noto-cjk qt6-gtk-platformtheme fonts-ipafont-gothic python3-fonttools python3-brotli \
orca speech-dispatcher at-spi2-core dbus-daemon dbus-bin locales unicode-data"

# Emscripten for the module; scripts/make-fonts.py makes the woff2 faces
# from the IPA fonts, and rsvg-convert the icons.
web="emscripten cmake ninja-build make python3 python3-fonttools python3-brotli \
fonts-ipafont-gothic librsvg2-bin"

# Chromium, WebKitGTK through its WebDriver, and Firefox ESR.
browsers="chromium webkit2gtk-driver firefox-esr"

packages=""
need_desktop=""
web_test=""
bench=""
need_node=""
web_build=""
[ $# -eq 0 ] && need_desktop=yes
for arg in "$@"; do
    case "$arg" in
    test) need_desktop=yes packages="$packages $lab" ;;
    web) web_build=yes need_node=yes packages="$packages $web" ;;
    web-test) web_test=yes need_node=yes packages="$packages $browsers" ;;
    bench) bench=yes need_node=yes packages="$packages chromium" ;;
    *) need_desktop=yes packages="$packages $arg" ;;
    esac
done
[ -n "$need_desktop" ] && packages="$desktop $packages"
# A Node.js from elsewhere brings its own npm.
if [ -n "$need_node" ] && { ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; }; then
    packages="$packages nodejs npm"
fi

missing=""
for p in $packages; do
    case " $missing " in *" $p "*) continue ;; esac
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
        missing="$missing $p"
    fi
done

if [ -n "$missing" ]; then
    as_root=""
    [ "$(id -u)" -ne 0 ] && as_root="sudo"

    echo "Installing missing packages:$missing"
    $as_root apt-get update -qq
    $as_root env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi

[ -n "$need_node" ] || exit 0

# The lock files of the tests and the bench want Node.js 20 or later;
# Debian 12's own is 18, which builds the web edition well enough.
node_version=$(node --version)
node_version=${node_version#v}
if [ -n "$web_test$bench" ] && [ "${node_version%%.*}" -lt 20 ]; then
    echo "tests/web and bench/ need Node.js 20 or later (found $node_version): install it from nodejs.org or NodeSource, or with nvm, and run make again" >&2
    exit 1
fi

# A folder's npm packages, exactly as locked; installed again only when the
# lock file changes.
npm_packages() {
    if ! cmp -s "$1/package-lock.json" "$1/node_modules/.installed-lock.json"; then
        echo "Installing the npm packages of $2"
        (cd "$1" && npm ci --no-audit --no-fund --loglevel=error >/dev/null &&
            cp package-lock.json node_modules/.installed-lock.json)
    fi
}
[ -z "$web_build" ] || npm_packages "$(dirname "$0")/../app/web" app/web
[ -z "$web_test" ] || npm_packages "$(dirname "$0")/../tests/web" tests/web
[ -z "$bench" ] || npm_packages "$(dirname "$0")/../bench" bench/
