#!/usr/bin/env bash
# Usage: check_release_version.sh VERSION METAINFO DEBIAN_CHANGELOG
# Both files are made from CHANGELOG.md; their newest release must be VERSION,
# the one in project().
set -euo pipefail
version=$1
metainfo_newest=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$2" | head -n 1)
debian_newest=$(sed -n '1s/^tubewyrm (\([^)]*\)).*/\1/p' "$3")
status=0
if [ "$metainfo_newest" != "$version" ]; then
  echo "FAIL: the newest release in CHANGELOG.md is '$metainfo_newest' but project() says $version;" \
       "add a '## [$version] - YYYY-MM-DD' section to CHANGELOG.md (or fix the version in CMakeLists.txt)"
  status=1
fi
if [ "$debian_newest" != "$version" ]; then
  echo "FAIL: the Debian changelog made from CHANGELOG.md starts with '$debian_newest', not $version"
  status=1
fi
[ $status -eq 0 ] && echo "CHANGELOG.md's newest release is $version, as in project()"
exit $status
