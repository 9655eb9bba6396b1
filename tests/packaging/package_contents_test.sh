#!/usr/bin/env bash
# Packs the build (as scripts/package does) into a temporary folder and checks the package: the
# program, its assets, menu entry, icon and documents, nothing else, and dependencies that include
# those computed from its shared libraries.
# Usage: package_contents_test.sh BUILD_DIR
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$tmp" >"$tmp/cpack.log" 2>&1 || {
  cat "$tmp/cpack.log"
  exit 1
}
deb=$(echo "$tmp"/tivomarsh-remote_*.deb)
[ -f "$deb" ] || { echo "FAILED: no package in $tmp: $(ls "$tmp")"; exit 1; }
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort >"$tmp/files"

status=0
for f in ./usr/bin/tivomarsh-remote ./usr/share/tivomarsh-remote/layouts/tivomarshApple.layout \
  ./usr/share/tivomarsh-remote/images/bark.png ./usr/share/tivomarsh-remote/scenarios/demo.scenario \
  ./usr/share/applications/tivomarsh-remote.desktop \
  ./usr/share/icons/hicolor/128x128/apps/tivomarsh-remote.png ./usr/share/doc/tivomarsh-remote/README.md; do
  grep -qxF "$f" "$tmp/files" || { echo "FAILED: the package lacks $f"; status=1; }
done
stray=$(grep -vE '^\./usr/(bin/tivomarsh-remote|share/(tivomarsh-remote|applications|icons/hicolor|doc/tivomarsh-remote)/.+)$' \
  "$tmp/files" || true)
[ -z "$stray" ] || { echo "FAILED: the package holds more than the program: $stray"; status=1; }
depends=$(dpkg-deb -f "$deb" Depends)
for d in libcairo2 libicu fonts-dejavu-core; do
  [[ "$depends" == *"$d"* ]] || { echo "FAILED: the package does not depend on $d: $depends"; status=1; }
done
exit $status
