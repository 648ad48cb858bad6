#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need, and only those that
# are missing. Works as root or through sudo; does nothing (and needs neither) when all are there.
#   scripts/deps.sh          build, run and test
#   scripts/deps.sh bench    ... and the benchmarks' comparison libraries
#   scripts/deps.sh fuzz     ... and clang with its fuzzer runtime
set -euo pipefail

packages=(
    g++ cmake make pkg-config
    libsdl2-dev zlib1g-dev libpng-dev
    libfreetype-dev fonts-dejavu-core
    libgtest-dev libgmock-dev libbenchmark-dev
    # the end-to-end tests that play the game in a real window on a virtual X display
    xvfb xdotool
    # ... and read the window's pixels back from the X server
    libx11-dev
    # the package (dpkg-shlibdeps finds its dependencies; CPack looks at files with `file`)
    # and the tests of what an install lays out: desktop entry, metadata, manual pages
    dpkg-dev file desktop-file-utils appstream man-db groff-base
)
for group in "$@"; do
    case "$group" in
    bench) packages+=(libpixman-1-dev) ;;
    fuzz) packages+=(clang libclang-rt-dev) ;;
    *) echo "deps: unknown group '$group' (known: bench, fuzz)" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "deps: installing ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
    run() { "$@"; }
elif command -v sudo >/dev/null 2>&1; then
    run() { sudo "$@"; }
else
    echo "deps: missing ${missing[*]}; run this script as root or install sudo" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
run apt-get update -qq
run apt-get install -y -qq --no-install-recommends "${missing[@]}"
