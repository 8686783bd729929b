#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running the game need.
# Only what is missing is installed, so a ready machine pays one dpkg query.
set -euo pipefail

packages=(
  # build
  g++ cmake make ninja-build pkgconf
  # the catalogues of the game's texts: msgfmt compiles them, xgettext and msgcmp check them
  gettext
  libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libjpeg62-turbo-dev libfontconfig-dev
  libgtest-dev libbenchmark-dev
  # speech: libspeechd (the client of speech-dispatcher) and libdbus (is a screen reader running?)
  libspeechd-dev libdbus-1-dev
  # the settings file is read with inih
  libinih-dev
  # the network game: standalone Asio (headers), libsodium (SHA-256, the salt), Avahi (finding
  # games on the local network; the daemon only to try it by hand)
  libasio-dev libsodium-dev libavahi-client-dev
  # the asset generator draws its lettering with FreeType and packs its icons with zlib
  libfreetype-dev zlib1g-dev
  # run: free faces with Cyrillic for the roles the game's fonts play
  fontconfig fonts-dejavu-core fonts-liberation2 fonts-paratype
  # window tests (setxkbmap switches the server's keyboard layout)
  xvfb xdotool x11-utils x11-xkb-utils libx11-dev libxtst-dev
  # the Debian package (CPack finds the libraries with dpkg-shlibdeps and file) and its checks
  dpkg-dev file lintian desktop-file-utils appstream
  # fuzzing (libFuzzer comes with clang's runtime libraries)
  clang libclang-rt-14-dev
  # benchmarks and measurements
  hyperfine time
  # the one test that speaks through the real daemon, to a null audio output
  speech-dispatcher speech-dispatcher-espeak-ng espeak-ng
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  run=()
elif command -v sudo >/dev/null 2>&1; then
  run=(sudo)
else
  echo "error: these packages are missing and I cannot install them (not root, no sudo): ${missing[*]}" >&2
  exit 1
fi
apt=("${run[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -q)
if ! "${apt[@]}" update || ! "${apt[@]}" install -y --no-install-recommends "${missing[@]}"; then
  echo "error: could not install: ${missing[*]} (run as root, or as a user allowed to use sudo)" >&2
  exit 1
fi
