#!/usr/bin/env bash
# Builds the Debian package dist/tubewyrm_<version>_<arch>.deb: installs what is
# missing (as root on Debian 12), builds in Release with Debian's hardening
# flags, packs with CPack and checks the result with lintian.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-packages.sh" play package

# The package build's settings are the `package` preset's (CMakePresets.json).
build=$top/build-package

# Debian's flags with every hardening feature; CMake reads them from the
# environment when the build folder is first configured, so start afresh.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export CXXFLAGS LDFLAGS
rm -rf "$build"
cd "$top"  # the presets are read from the current directory
cmake --preset package
cmake --build --preset package -j"$(nproc)"
(cd "$build" && cpack --config CPackConfig.cmake -B "$build/cpack")

mkdir -p "$top/dist"
deb=$(find "$build/cpack" -maxdepth 1 -name 'tubewyrm_*.deb' -print -quit)
cp "$deb" "$top/dist/"
deb=$top/dist/$(basename "$deb")
echo "Package: $deb"
dpkg-deb --field "$deb"
# lintian reports errors with "E:"; warnings are printed for the packager to read.
lintian --info "$deb" | tee "$build/lintian.txt"
if grep -q '^E: ' "$build/lintian.txt"; then
  echo "lintian reports errors" >&2
  exit 1
fi
