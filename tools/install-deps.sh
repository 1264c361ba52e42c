#!/usr/bin/env bash
# Installs what building and testing Zendrel needs, from Debian's packages
# and the npm registry (the versions of tests/browser/package-lock.json);
# skips what is already there. Installing packages needs root.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev libturbojpeg0-dev libjpeg62-turbo-dev libexif-dev libexiv2-dev libmdb3
  mdbtools-dev mdbtools libimage-exiftool-perl
  libheif-dev libpng-dev libwebp-dev libtiff-dev liblcms2-dev
  libheif-examples webp imagemagick libtiff-tools
  qt6-base-dev xvfb xauth fonts-liberation python3
  openbox xdotool x11-utils libxcb-cursor0 at-spi2-core python3-pyatspi
  nodejs npm chromium firefox-esr webkit2gtk-driver
  clang clang-format
  dpkg-dev lintian)
if [ "${1:-}" = "--bench" ]; then packages+=(libvips-dev); fi

# A Node.js that brings its own npm (as NodeSource's does) conflicts with
# Debian's npm package: take whichever is there.
if command -v node >/dev/null && command -v npm >/dev/null; then
  packages=("${packages[@]/nodejs}")
  packages=("${packages[@]/npm}")
fi

install_missing() {
  local missing=() p
  for p in "$@"; do
    [ -n "$p" ] || continue
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps.sh: these Debian packages are missing: ${missing[*]}" >&2
    echo "install-deps.sh: installing them needs root; run: sudo bash tools/install-deps.sh" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

install_missing "${packages[@]}"
# The fuzz targets and sanitizers need the runtime of the clang that is
# installed, whatever its version.
clang_major=$(clang --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -n 1)
install_missing "libclang-rt-${clang_major}-dev"

# puppeteer-core drives the system's Chromium and Firefox, WebKitWebDriver the
# WebKitGTK MiniBrowser; no browser is downloaded. npm ci installs exactly what the lockfile names.
if [ -f tests/browser/package-lock.json ] && [ ! -d tests/browser/node_modules/puppeteer-core ]; then
  (cd tests/browser && npm ci --no-audit --no-fund --loglevel=error)
fi
