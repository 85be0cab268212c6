#!/usr/bin/env bash
# Installs what is missing, builds into build/ and starts Sorvella.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" build -DCMAKE_BUILD_TYPE=RelWithDebInfo -- sorvella
exec "$root/build/app/sorvella" "$@"
