#!/bin/sh
# Installs what building and testing Oberin needs on a fresh Debian machine (run as root).
# Safe to run again: it only installs what is missing.
set -eu
need=""
for pkg in cmake ninja-build g++-mingw-w64-i686-posix g++-mingw-w64-i686-win32 mingw-w64-tools googletest \
           wine wine32:i386 xvfb python3; do
  dpkg -s "$pkg" >/dev/null 2>&1 || need="$need $pkg"
done
[ -z "$need" ] && exit 0
case " $(dpkg --print-foreign-architectures | tr '\n' ' ') " in
  *" i386 "*) ;;
  *) dpkg --add-architecture i386 ;;
esac
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends $need
