#!/usr/bin/env bash
# Builds the Debian package and checks it: metadata, layout, lintian, and the
# unpacked program finding its texture.jpg through the /usr/bin link.
# Usage: package_test.sh BUILD_DIR VERSION (the project's version).
# Without dpkg-deb or lintian it exits 77 (skipped), and fails under CI.
set -euo pipefail
for tool in cpack dpkg-deb lintian; do
  command -v "$tool" >/dev/null && continue
  [ "${CI:-}" = true ] && { echo "FAIL: $tool is missing (tools/install-deps.sh)" >&2; exit 1; }
  echo "SKIP: $tool is missing (tools/install-deps.sh)"
  exit 77
done
build_dir=$1
version=$2
cd "$build_dir"
cpack -G DEB >/dev/null
deb=zendrel_${version}_amd64.deb
fail() { echo "FAIL: $*" >&2; exit 1; }

info=$(dpkg-deb --info "$deb")
for field in "Package: zendrel" "Version: $version" "Architecture: amd64" "Section: graphics"; do
  grep -q "$field" <<<"$info" || fail "control lacks '$field'"
done
for lib in libqt6widgets6 libturbojpeg0 libexif12 libexiv2-27 libmdb3; do
  grep -q "Depends:.*$lib" <<<"$info" || fail "Depends lacks $lib"
done

contents=$(dpkg-deb --contents "$deb")
for path in ./usr/lib/zendrel/zendrel ./usr/lib/zendrel/texture.jpg \
    ./usr/share/applications/zendrel.desktop ./usr/share/man/man1/zendrel.1.gz \
    ./usr/share/bash-completion/completions/zendrel ./usr/share/doc/zendrel/copyright \
    ./usr/share/icons/hicolor/256x256/apps/zendrel.png; do
  grep -q " $path\$" <<<"$contents" || fail "package lacks $path"
done
grep -q "./usr/bin/zendrel -> ../lib/zendrel/zendrel" <<<"$contents" || fail "no /usr/bin/zendrel link"

errors=$(lintian "$deb" 2>/dev/null | grep '^E:' || true)
[ -z "$errors" ] || fail "lintian errors: $errors"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
"$root/usr/bin/zendrel" --version | grep -qx "Zendrel $version" || fail "--version"
"$root/usr/bin/zendrel" demo "$root/demo" >/dev/null
[ -s "$root/demo/archive/texture.jpg" ] || fail "the demo archive has no texture.jpg"
cmp -s "$root/demo/archive/texture.jpg" "$root/usr/lib/zendrel/texture.jpg" || fail "texture differs"
echo "1 passed, 0 failed"
