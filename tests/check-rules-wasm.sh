#!/bin/sh
# The rules as emscripten compiles them for the browser pass the same cases
# as the desktop build, under node, and give the same texts and readings
# for millions of floats.
#   check-rules-wasm.sh SOURCE_DIR NATIVE_RULECHECK OUT_DIR
set -eu
source_dir=$1
native=$2
out=$3
mkdir -p "$out"

# Debian's emscripten takes its libraries from its prebuilt cache, offline,
# and its tools find their node modules where Debian puts them, also when
# the node on the path is not Debian's. The wasm goes inside the script: a
# node with fetch of its own would otherwise try to fetch it as a URL.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
em++ -std=c++20 -O2 -ffp-contract=off -fno-fast-math -Wall -Wextra -Werror \
    -I"$source_dir" -I"$source_dir/tests" \
    -sENVIRONMENT=node -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1 -sSINGLE_FILE=1 \
    "$source_dir"/drill/numbertext.cpp "$source_dir"/marking/answer.cpp \
    "$source_dir"/tests/rulecheck.cpp \
    -o "$out/rulecheck.js"

node "$out/rulecheck.js"
browser=$(node "$out/rulecheck.js" --digest)
desktop=$("$native" --digest)
if [ "$browser" != "$desktop" ]; then
    echo "the browser's build digests the floats as $browser, the desktop's as $desktop"
    exit 1
fi
echo "same digest on both builds: $desktop"
