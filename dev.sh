#!/usr/bin/env bash
# Installs what the build needs, builds, and runs VESK or its test suite.
#   ./dev.sh run [vesk parameters...]   the Linux program, on the current directory by default
#   ./dev.sh test                       every test of both builds (the Windows one under Wine)
set -euo pipefail
cd "$(dirname "$0")"

NATIVE_PACKAGES=(cmake make g++ libgtest-dev python3 python3-pyte attr)
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine wine64 libwine fonts-wine tmux)

install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

build_native() {
  cmake --preset native >/dev/null
  cmake --build --preset native
}

case "${1:-}" in
  run)
    shift
    install_missing "${NATIVE_PACKAGES[@]}"
    build_native >/dev/null
    exec build/native/vesk "$@"
    ;;
  test)
    install_missing "${NATIVE_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"
    build_native
    ctest --preset native
    # The Windows program, cross-built, and the same end-to-end suite under Wine.
    cmake --preset windows >/dev/null
    cmake --build --preset windows
    ctest --preset windows
    ;;
  *)
    echo "usage: $0 run [parameters...] | test" >&2
    exit 2
    ;;
esac
