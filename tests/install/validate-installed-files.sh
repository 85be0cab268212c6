#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the installed launcher
# entry, AppStream metadata (offline) and manual page with their own tools:
# validate-installed-files.sh <cmake> <build folder>
set -euo pipefail
cmake="$1" build="$2"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
desktop-file-validate "$prefix/share/applications/org.sorvella.Sorvella.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.sorvella.Sorvella.metainfo.xml"
# man reports the formatter's warnings on standard error and still succeeds.
warnings=$(MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/sorvella.1.gz" 2>&1 >/dev/null)
if [[ -n "$warnings" ]]; then
  echo "$warnings"
  exit 1
fi
