#!/usr/bin/env bash
# Installs what building and testing Zendrel needs, from Debian's packages
# and the npm registry; skips what is already there. Run as root.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev libturbojpeg0-dev libjpeg62-turbo-dev libexif-dev libmdb3 mdbtools-dev
  qt6-base-dev xvfb xauth fonts-liberation python3
  nodejs npm chromium firefox-esr
  clang libclang-rt-14-dev
  dpkg-dev lintian)
if [ "${1:-}" = "--bench" ]; then packages+=(libvips-dev imagemagick libbenchmark-dev); fi

# A Node.js that brings its own npm (as NodeSource's does) conflicts with
# Debian's npm package: take whichever is there.
if command -v node >/dev/null && command -v npm >/dev/null; then
  packages=("${packages[@]/nodejs}")
  packages=("${packages[@]/npm}")
fi

missing=()
for p in "${packages[@]}"; do
  [ -n "$p" ] || continue
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# puppeteer-core drives the system's Chromium and Firefox; it downloads no browser.
if [ -f tests/browser/package.json ] && [ ! -d tests/browser/node_modules/puppeteer-core ]; then
  (cd tests/browser && npm install --no-audit --no-fund --loglevel=error)
fi
