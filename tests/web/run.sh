#!/bin/sh
# The web face's tests in Chromium, WebKitGTK and Firefox ESR against the
# built site:
#
#   sh tests/web/run.sh SITE_DIR
#
# Node's test runner reports each test; the last line counts them, and the
# exit status is non-zero when any failed.
set -eu

site=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
tap=$(mktemp)
trap 'rm -f "$tap"' EXIT

status=0
OHM_WEB_SITE=$site node --test --test-reporter=tap --test-reporter-destination=stdout \
    --test-reporter=tap --test-reporter-destination="$tap" "$here"/*.test.mjs || status=$?

passed=$(sed -n 's/^# pass \([0-9]*\)$/\1/p' "$tap")
failed=$(sed -n 's/^# fail \([0-9]*\)$/\1/p' "$tap")
echo "web: ${passed:-0} passed, ${failed:-0} failed"
[ "${passed:-0}" -gt 0 ] || status=1
exit "$status"
