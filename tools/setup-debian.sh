#!/bin/sh
# Installs what building and testing Oberin needs on a fresh Debian machine (run as root), for the
# test architecture ARCH (x86 or x64, see tools/test-arch.sh): always the 32-bit win32-threads
# compiler of the shipped program; for x86 the 32-bit posix-threads compiler and 32-bit Wine, for
# x64 the x86-64 compilers and 64-bit Wine alone; and the host locales of the languages a machine
# case may name. Safe to run again: it only installs and generates what is missing.
# Usage: setup-debian.sh ARCH
set -eu
case "${1:-}" in
  x86) arch_packages="g++-mingw-w64-i686-posix wine wine32:i386" ;;
  x64) arch_packages="g++-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-win32 wine64" ;;
  *) echo "usage: setup-debian.sh x86|x64" >&2; exit 2 ;;
esac
need=""
for pkg in locales cmake ninja-build g++-mingw-w64-i686-win32 mingw-w64-tools googletest xvfb python3 \
           $arch_packages; do
  dpkg -s "$pkg" >/dev/null 2>&1 || need="$need $pkg"
done
top=$(cd "$(dirname "$0")/.." && pwd)
if [ -n "$need" ]; then
  case "$need" in
    *:i386*)
      case " $(dpkg --print-foreign-architectures | tr '\n' ' ') " in
        *" i386 "*) ;;
        *) dpkg --add-architecture i386 ;;
      esac ;;
  esac
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends $need
fi
# The locales of the languages a machine case may name, as tests/bed/locales.txt maps them.
locales=$(awk '!/^#/ && NF { print $2 }' "$top/tests/bed/locales.txt")
missing=""
for locale in $locales; do
  short=$(echo "$locale" | sed 's/UTF-8$/utf8/')
  locale -a | grep -qx "$short" || missing="$missing $locale"
done
[ -z "$missing" ] && exit 0
for locale in $missing; do
  grep -qx "$locale UTF-8" /etc/locale.gen 2>/dev/null || echo "$locale UTF-8" >>/etc/locale.gen
done
locale-gen
