#!/usr/bin/env bash
# Makes the Debian package into a temporary folder, compares the files it
# holds with the expected list, and runs lintian, which must report no error
# (its warnings are printed). The help pages are compared with the help folder:
# check-debian-package.sh <cpack> <build folder> <list> <help folder>
set -euo pipefail
cpack="$1" build="$2" expected="$3" help="$4"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
packages=("$out"/sorvella_*.deb)
[[ ${#packages[@]} -eq 1 && -f "${packages[0]}" ]]
dpkg-deb -c "${packages[0]}" | awk '$1 !~ /^d/ {print substr($6, 2)}' | sort >"$out/files"
pages=/usr/share/sorvella/help/
diff -u <({ cat "$expected"; find "$help" -type f -printf "$pages%P\n"; } | sort) "$out/files" \
  || { echo "the package's files differ from the expected ones (-)"; exit 1; }
lintian --fail-on error "${packages[0]}"
