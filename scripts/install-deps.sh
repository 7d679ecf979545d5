#!/bin/sh
# Installs the Debian packages that building, running and testing need,
# and any further ones named as arguments.
# Quiet and quick when everything is already there.
set -eu

# Optional make targets name the extra packages they need as arguments; "web"
# stands for what the web face needs: Emscripten to build it, and Chromium
# and the npm packages of tests/web to test it.
web=""
extra=""
for arg in "$@"; do
    if [ "$arg" = web ]; then
        web=yes
        extra="$extra emscripten chromium"
        # WebKitGTK through its WebDriver, and Firefox ESR, for the other engines' tests.
        extra="$extra webkit2gtk-driver firefox-esr"
        # A Node.js from elsewhere brings its own npm.
        command -v npm >/dev/null 2>&1 || extra="$extra nodejs npm"
    else
        extra="$extra $arg"
    fi
done

packages="g++ cmake ninja-build make qt6-base-dev qt6-qpa-plugins libgl-dev libxcb1-dev \
fonts-ipafont-gothic python3-fonttools python3-brotli librsvg2-bin \
fonts-noto-cjk qt6-gtk-platformtheme fontconfig libfontconfig-dev xvfb xauth x11-utils xdotool \
appstream desktop-file-utils clang-format \
emscripten \
orca speech-dispatcher at-spi2-core dbus-daemon dbus-bin locales unicode-data $extra"

missing=""
for p in $packages; do
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

# The test's npm packages, exactly as locked; installed again only when the
# lock file changes.
if [ -n "$web" ]; then
    tests=$(dirname "$0")/../tests/web
    if ! cmp -s "$tests/package-lock.json" "$tests/node_modules/.installed-lock.json"; then
        echo "Installing the npm packages of tests/web"
        (cd "$tests" && npm ci --no-audit --no-fund --loglevel=error >/dev/null &&
            cp package-lock.json node_modules/.installed-lock.json)
    fi
fi
