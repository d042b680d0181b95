#!/usr/bin/env bash
# Builds the Debian package with Debian's hardening flags, checks it with
# lintian, installs it with apt as a user would, checks the installed programs'
# hardening and files, and starts the editor from its installed path.
#
#     packaging/check-package.sh [BUILD_DIR]      (default: build, as run-tests.sh leaves it)
#
# The package is built in BUILD_DIR/package-tree, without tests or benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(cd "${1:-build}" && pwd)"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

fail() { echo "check-package: $*" >&2; exit 1; }

for tool in dpkg-buildflags lintian hardening-check desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
done

# Fortify, stack protector, full RELRO with BIND_NOW and PIE, as Debian builds.
tree="$build/package-tree"
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
CXXFLAGS="$CXXFLAGS $CPPFLAGS" cmake -S . -B "$tree" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUARVINEL_BUILD_TESTS=OFF -DQUARVINEL_BUILD_BENCH=OFF >/dev/null
cmake --build "$tree" -j"$(nproc)"

rm -rf "$build/packages"
(cd "$tree" && cpack -G DEB -B "$build/packages")
debs=("$build"/packages/quarvinel_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single quarvinel_*.deb"
deb="${debs[0]}"
echo "Package: $deb"
dpkg-deb --field "$deb" Package Version Depends

# Debian's own package checks; the overrides, each with its reason, are in
# packaging/lintian-overrides.
lintian --fail-on error,warning --suppress-tags-from-file packaging/lintian-overrides "$deb" \
  || fail "lintian found faults in $deb"

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
         /usr/share/man/man1/brennicor.1.gz /usr/share/man/man1/brennicor-cli.1.gz \
         /usr/share/man/man1/brennicor-automation-client.1.gz \
         /usr/share/bash-completion/completions/brennicor-cli \
         /usr/share/doc/quarvinel/copyright /usr/share/doc/quarvinel/changelog.Debian.gz \
         /usr/share/doc/quarvinel/README.md; do
  [ -e "$f" ] || fail "the package did not install $f"
done
grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
  /usr/share/doc/quarvinel/copyright || fail "the copyright file is not machine-readable"
grep -qx 'Exec=/usr/bin/brennicor -Automation' /usr/share/dbus-1/services/Brennicor.Application.service \
  || fail "the session bus's activation file does not start /usr/bin/brennicor"

# Every installed program is hardened (hardening-check: PIE, stack protector,
# fortify, RELRO and BIND_NOW; a program that calls no function fortify could
# protect passes).
for program in /usr/bin/brennicor /usr/bin/brennicor-cli /usr/bin/brennicor-automation-client; do
  hardening-check --nocfprotection "$program" || fail "$program is not hardened"
done
# The package's triggers have registered the character file type and offer it
# to the editor's launcher.
grep -q '^application/x-diablo2-character:\*\.d2s$' /usr/share/mime/globs \
  || fail "*.d2s is not registered as application/x-diablo2-character"
grep -qx 'application/x-diablo2-character=org.quarvinel.Quarvinel.desktop;' \
  /usr/share/applications/mimeinfo.cache || fail "file managers do not offer the editor for *.d2s"
# The desktop's own validators accept the launcher entry and the software-centre
# description, and there is an icon of the named size in every size.
desktop-file-validate /usr/share/applications/org.quarvinel.Quarvinel.desktop \
  || fail "desktop-file-validate refused the launcher entry"
appstreamcli validate --no-net --no-color /usr/share/metainfo/org.quarvinel.Quarvinel.metainfo.xml \
  || fail "appstreamcli refused the software-centre description"
grep -qx 'StartupWMClass=brennicor' /usr/share/applications/org.quarvinel.Quarvinel.desktop \
  || fail "the launcher entry does not match the editor's windows"
for size in 16 22 24 32 48 64 128 256; do
  python3 -c 'import struct, sys; d = open(sys.argv[1], "rb").read(24)
sys.exit(d[:8] != b"\x89PNG\r\n\x1a\n" or struct.unpack(">II", d[16:24]) != (int(sys.argv[2]),) * 2)' \
    "/usr/share/icons/hicolor/${size}x${size}/apps/quarvinel.png" "$size" || fail "no ${size}x${size} PNG icon"
done
cmp -s README.md /usr/share/doc/quarvinel/README.md || fail "the installed README.md is not the project's"
cmp -s docs/screenshots/main.png /usr/share/doc/quarvinel/docs/screenshots/main.png \
  || fail "the README's pictures are not installed beside it"

version="$(/usr/bin/brennicor --version)"
echo "$version"
upstream="$(dpkg-deb --field "$deb" Version)"
# The package's version first, then the name About shows in brackets.
case "$version" in
  "brennicor ${upstream%-*} ("*")") ;;
  *) fail "--version says '$version'" ;;
esac
# A wrong option is refused with status 2 before any display is needed.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/brennicor --bogus >/dev/null 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "brennicor --bogus without a display ended with $status, not 2"

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
# The installed file starts this editor: it writes none into the home.
[ ! -e "$tmp/home/.local/share/dbus-1/services/Brennicor.Application.service" ] \
  || fail "the installed editor wrote its own activation file into the home"
echo "check-package: the installed editor starts and runs"
