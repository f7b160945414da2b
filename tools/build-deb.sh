#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian binary package in build-deb/ from a copy of the sources
# (dpkg-buildpackage writes next to the source tree, so the copy keeps the
# worktree clean), puts the .deb in the top folder and runs lintian on it,
# failing on any error or warning.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

# The version is defined once, in CMakeLists.txt; the changelog must agree.
version=$(sed -n 's/^project(Quillmarch VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
changelog=$(dpkg-parsechangelog -S Version)
if [ "${changelog%-*}" != "$version" ]; then
    echo "debian/changelog is at $changelog but CMakeLists.txt at $version:" \
         "add a changelog entry for $version" >&2
    exit 1
fi

out=$top/build-deb
src=$out/quillmarch-$version
rm -rf "$out"
mkdir -p "$src"
# Tracked files and new ones not yet committed, without the build trees.
git ls-files -z --cached --others --exclude-standard |
    grep -zv '\.deb$' | xargs -0 cp --parents -t "$src" 2>/dev/null || true
[ -f "$src/debian/rules" ] || { echo "Copying the sources into $src failed" >&2; exit 1; }

(cd "$src" && dpkg-buildpackage -b -us -uc -j"${JOBS:-$(nproc)}" >"$out/build.log" 2>&1) || {
    tail -n 40 "$out/build.log" >&2
    echo "dpkg-buildpackage failed; the whole log is in $out/build.log" >&2
    exit 1
}
deb=$(ls "$out"/quillmarch_"$changelog"_*.deb)
cp "$deb" "$top/"
echo "Built $(basename "$deb")"
lintian --fail-on error,warning --display-info "$out"/quillmarch_"$changelog"_*.changes
echo "lintian: no errors or warnings"
