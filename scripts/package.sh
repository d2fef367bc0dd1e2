#!/usr/bin/env bash
# Builds the Debian package dist/tubewyrm_<version>_<arch>.deb: installs what is
# missing (as root on Debian 12), builds in Release with Debian's hardening
# flags, packs with CPack and checks the result with lintian.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-packages.sh" play package

# The package build's settings are the `package` preset's (CMakePresets.json).
build=$top/build-package

# The presets are read from the current directory, and dpkg-buildflags maps
# the current directory out of the file names it leaves in the objects.
cd "$top"
# Debian's flags with every hardening feature; CMake reads them from the
# environment when the build folder is first configured, so start afresh.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export CXXFLAGS LDFLAGS
# The same sources make the same .deb byte for byte: CPack dates its files, and
# the metainfo and manual page date an unreleased version, by SOURCE_DATE_EPOCH
# when it is set; unset, it is the last commit's time (the clock outside git).
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$top" log -1 --format=%ct 2>/dev/null || true)
  [ -n "$SOURCE_DATE_EPOCH" ] || unset SOURCE_DATE_EPOCH
fi
[ -z "${SOURCE_DATE_EPOCH:-}" ] || export SOURCE_DATE_EPOCH
rm -rf "$build"
cmake --preset package
cmake --build --preset package -j"$(nproc)"
(cd "$build" && cpack --config CPackConfig.cmake -B "$build/cpack")

mkdir -p "$top/dist"
deb=$(find "$build/cpack" -maxdepth 1 -name 'tubewyrm_*.deb' -print -quit)
cp "$deb" "$top/dist/"
deb=$top/dist/$(basename "$deb")
echo "Package: $deb"
dpkg-deb --field "$deb"
# An error or a warning fails the package; the informational and pedantic
# findings are shown, with lintian's explanations, for the packager to weigh.
if ! lintian --info --display-info --pedantic --fail-on error,warning "$deb"; then
  echo "lintian reports errors or warnings" >&2
  exit 1
fi
echo "lintian: no error, no warning"
