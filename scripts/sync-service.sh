#!/usr/bin/env bash
# Build and start tirelmo-sync, the sync service two computers of one person share.
#
#   scripts/sync-service.sh [--port N] [--token T] [other tirelmo-sync options]
#
# Installs what is missing (the native group of install-deps.sh), builds the target with the
# native preset when needed, and runs it in the foreground on http://127.0.0.1:8230 with its
# database in ~/.local/share/tirelmo/sync.db (set TIRELMO_SYNC_DB to use another). Ctrl+C
# stops it. The token may also come from the environment: TIRELMO_SYNC_TOKEN.
# Options after the script's name go to tirelmo-sync as they are (see --help).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
case ${1:-} in
  -h|--help) sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
esac

"$root/scripts/install-deps.sh" native

cd "$root"
cmake --preset native >/dev/null
cmake --build build/native --target tirelmo-sync -j2 >/dev/null

db=${TIRELMO_SYNC_DB:-$HOME/.local/share/tirelmo/sync.db}
mkdir -p "$(dirname "$db")"
exec build/native/server/tirelmo-sync --db "$db" --port 8230 "$@"
