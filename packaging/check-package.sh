#!/usr/bin/env bash
# Builds the Debian package from the build tree, installs it with apt as a user
# would, and starts the editor from its installed path to prove it runs.
#
#     packaging/check-package.sh [BUILD_DIR]      (default: build, as run-tests.sh leaves it)
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(cd "${1:-build}" && pwd)"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

fail() { echo "check-package: $*" >&2; exit 1; }

rm -rf "$build/packages"
(cd "$build" && cpack -G DEB -B "$build/packages")
debs=("$build"/packages/quarvinel_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single quarvinel_*.deb"
deb="${debs[0]}"
echo "Package: $deb"
dpkg-deb --field "$deb" Package Version Depends

# apt wants a path with a slash to take a file rather than a name.
export DEBIAN_FRONTEND=noninteractive
if ! $sudo apt-get install -y -qq "$deb"; then
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq "$deb"
fi
dpkg-query -W -f='${Status}\n' quarvinel | grep -q "install ok installed" || fail "quarvinel is not installed"

for f in /usr/bin/brennicor /usr/share/applications/org.quarvinel.Quarvinel.desktop \
         /usr/share/metainfo/org.quarvinel.Quarvinel.metainfo.xml \
         /usr/share/icons/hicolor/256x256/apps/quarvinel.png \
         /usr/share/icons/hicolor/scalable/apps/quarvinel.svg \
         /usr/share/man/man1/brennicor.1.gz /usr/share/doc/quarvinel/README.md; do
  [ -e "$f" ] || fail "the package did not install $f"
done
# The package's trigger has registered the character file type.
grep -q '^application/x-diablo2-character:\*\.d2s$' /usr/share/mime/globs \
  || fail "*.d2s is not registered as application/x-diablo2-character"

version="$(/usr/bin/brennicor --version)"
echo "$version"
[ "$version" = "brennicor $(dpkg-deb --field "$deb" Version)" ] || fail "--version says '$version'"

# The editor itself, offscreen, in a home of its own: it must still be running
# two seconds after its start.
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/home" "$tmp/runtime"
chmod 700 "$tmp/runtime"
env -u DBUS_SESSION_BUS_ADDRESS -u DISPLAY -u WAYLAND_DISPLAY \
  HOME="$tmp/home" XDG_RUNTIME_DIR="$tmp/runtime" QT_QPA_PLATFORM=offscreen \
  /usr/bin/brennicor >"$tmp/editor.log" 2>&1 &
pid=$!
sleep 2
if ! kill -0 "$pid" 2>/dev/null; then
  wait "$pid" && code=0 || code=$?
  cat "$tmp/editor.log" >&2
  fail "/usr/bin/brennicor ended within two seconds (code $code)"
fi
kill "$pid"
wait "$pid" 2>/dev/null || true
echo "check-package: the installed editor starts and runs"
