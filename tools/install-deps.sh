#!/usr/bin/env bash
# Installs every Debian package the two builds and their tests need.
# Safe to run again: when everything is present it only checks and returns.
set -euo pipefail
case "${1:-}" in -h|--help) sed -n '2,/^set /{/^#/{s/^# \{0,1\}//;p}}' "$0"; exit 0 ;; esac

packages=(
  cmake ninja-build g++ make flex bison
  libboost1.81-dev libgtest-dev libgmock-dev googletest
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  wine wine64 xvfb xdotool x11-utils imagemagick fonts-noto-cjk
  fp-utils nsis lua5.4 hyperfine zip unzip file python3
  osslsigncode openssl python3-yaml git
  clang libclang-rt-14-dev clang-format clang-tidy
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -q i386; then
  : # 64-bit Wine is enough; no i386 architecture needed
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
