#!/usr/bin/env bash
# Runs one test on a loopback, X socket folder, desktop, message bus and runtime folder of
# its own, so that tests run side by side: the program's station address is built in, and
# every test serves its station there; X servers in two network namespaces would both take
# display 0, and the web engine's sandbox reaches the display through /tmp/.X11-unix. Where no network namespace can be made, the test runs as it
# is, and the caller runs tests one at a time (see scripts/test.sh).
#   isolated.sh COMMAND...
set -euo pipefail
if [ "${1:-}" != --inside ]; then
    for how in "--net --mount" "--net --mount --map-root-user"; do
        # shellcheck disable=SC2086  # two words on purpose
        unshare $how true 2>/dev/null && exec unshare $how -- bash "$0" --inside "$@"
    done
    exec "$@"
fi
shift
ip link set lo up
mkdir -p -m 1777 /tmp/.X11-unix
mount -t tmpfs -o mode=1777 tmpfs /tmp/.X11-unix
unset DISPLAY DBUS_SESSION_BUS_ADDRESS XDG_RUNTIME_DIR
# The programs' caches and settings (the web engine's storage, the listener's volume) of
# this test's own; GStreamer's plugin registry is shared, as it is written whole or not at
# all, so that no test pays for a new one.
private=$(mktemp -d)
export GST_REGISTRY=${GST_REGISTRY:-${XDG_CACHE_HOME:-$HOME/.cache}/gstreamer-1.0/registry.$(uname -m).bin}
export XDG_CACHE_HOME=$private/cache XDG_CONFIG_HOME=$private/config
source "$(dirname "$0")/desktop-session.sh"
desktop_start own
trap 'desktop_stop; rm -rf "$private"' EXIT
"$@"
