#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# install.sh <build directory> <work directory>
# Installs the built program into a temporary root and runs the installed
# executable from another directory with a fresh home on the offscreen
# platform: the first start seeds the user's base.ini from the installed one,
# a second start keeps the user's changes. Validates the desktop entry, the
# AppStream metadata and the manual page, then builds the Debian package and
# checks its dependencies and its file list.
set -euo pipefail
build=$(realpath "$1")
work=$(realpath -m "$2")
rm -rf "$work"
mkdir -p "$work/elsewhere" "$work/home"
root=$work/root
id=example.quorvix.Quorvix
fail() { echo "install: $*" >&2; exit 1; }

DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log"
exe=$root/usr/bin/quorvix
shipped=$root/usr/share/quorvix/base.ini
for f in "$exe" "$shipped" "$root/usr/share/quorvix/help.htm" \
  "$root/usr/share/doc/quorvix/copyright" "$root/usr/share/doc/quorvix/changelog.gz" \
  "$root/usr/share/man/man1/quorvix.1.gz" \
  "$root/usr/share/icons/hicolor/scalable/apps/$id.svg"; do
  [ -s "$f" ] || fail "$f not installed"
done
for size in 48 256; do
  png=$root/usr/share/icons/hicolor/${size}x$size/apps/$id.png
  [ "$(identify -format '%wx%h' "$png")" = "${size}x$size" ] || fail "$png is not $size px"
done

desktop-file-validate "$root/usr/share/applications/$id.desktop"
echo "install: desktop-file-validate passed"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml"
grep -qF '<project_license>GPL-3.0-or-later</project_license>' \
  "$root/usr/share/metainfo/$id.metainfo.xml" || fail "the metadata names no project licence"
warnings=$(zcat "$root/usr/share/man/man1/quorvix.1.gz" | groff -man -ww -z -K utf8 2>&1)
[ -z "$warnings" ] || fail "manual page: $warnings"
echo "install: manual page renders without warnings"

# The installed program, started away from its files with a fresh home.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/config QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p -m 0700 "$XDG_RUNTIME_DIR"
config=$XDG_CONFIG_HOME/quorvix
cd "$work/elsewhere"
pid=""
stop() {
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=""
  fi
}
trap stop EXIT

"$exe" >"$work/first.log" 2>&1 &
pid=$!
for _ in $(seq 1 1200); do  # up to two minutes on a loaded machine
  [ -f "$config/base.ini" ] && break
  kill -0 "$pid" 2>/dev/null || { cat "$work/first.log"; fail "the program ended early"; }
  sleep 0.1
done
stop
[ -f "$config/base.ini" ] || fail "no base.ini seeded in $config"
cmp "$config/base.ini" "$shipped" || fail "the seeded base.ini differs from the installed one"
[ ! -e "$work/elsewhere/base.ini" ] || fail "base.ini written to the current directory"
echo "install: first start seeded $config/base.ini"

# A second start reads the user's changed copy and leaves it as it is. The
# program opens base.ini for its first overview, after the place of the
# database has been decided.
printf '[Processor]\nMy own machine=1,1\n' >>"$config/base.ini"
cp "$config/base.ini" "$work/changed.ini"
inotifywait -e open --format '%f' -t 120 "$config" >"$work/opened" 2>"$work/inotify.log" &
watch=$!
for _ in $(seq 1 600); do  # the program may start once the watch is set
  grep -qs 'Watches established' "$work/inotify.log" && break
  kill -0 "$watch" 2>/dev/null || fail "inotifywait: $(cat "$work/inotify.log")"
  sleep 0.05
done
grep -qs 'Watches established' "$work/inotify.log" || fail "no watch on $config"
"$exe" >"$work/second.log" 2>&1 &
pid=$!
wait "$watch" || { cat "$work/second.log"; fail "the second start never opened its database"; }
stop
grep -qx 'base.ini' "$work/opened" || fail "opened $(cat "$work/opened"), not base.ini"
cmp "$config/base.ini" "$work/changed.ini" || fail "the second start changed the user's base.ini"
[ "$(ls -A "$config")" = "base.ini" ] || fail "left in $config: $(ls -A "$config")"
echo "install: second start kept the user's base.ini"

# --version --verbose names the files the installed program uses.
"$exe" --version --verbose >"$work/where.txt" || fail "--version --verbose failed"
for line in "database: $config/base.ini (your copy)" \
  "shipped database: $shipped" "help: $root/usr/share/quorvix/help.htm"; do
  grep -qxF "$line" "$work/where.txt" || fail "--version --verbose lacks '$line': $(cat "$work/where.txt")"
done
echo "install: --version --verbose names the installed files"

# The Debian package: Depends from the binary's libraries plus the Qt
# platform plugins, fonts-wine recommended, and only the program's files.
cd "$work"
(cd "$build" && cpack -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/package/quorvix_*_amd64.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "install: Depends: $depends"
tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//' >"$work/depends"
for p in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins libjpeg62-turbo libudev1 libc6 libstdc++6; do
  grep -qxF "$p" "$work/depends" || fail "Depends lacks $p"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = "fonts-wine" ] || fail "Recommends is not fonts-wine"
[ "$(dpkg-deb -f "$deb" Package)" = "quorvix" ] || fail "package name"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort >"$work/files"
sort >"$work/expected" <<LIST
./usr/bin/quorvix
./usr/share/applications/$id.desktop
./usr/share/doc/quorvix/changelog.gz
./usr/share/doc/quorvix/copyright
./usr/share/icons/hicolor/256x256/apps/$id.png
./usr/share/icons/hicolor/48x48/apps/$id.png
./usr/share/icons/hicolor/scalable/apps/$id.svg
./usr/share/man/man1/quorvix.1.gz
./usr/share/metainfo/$id.metainfo.xml
./usr/share/quorvix/base.ini
./usr/share/quorvix/help.htm
LIST
diff -u "$work/expected" "$work/files" || fail "the package holds other files than the program's"
echo "install: $(basename "$deb"), $(stat -c %s "$deb") bytes, $(wc -l <"$work/files") files"

# lintian: clean but for the menu item's spelling, which the program keeps.
lintian --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>"$work/lintian-stderr.txt" || true
grep -v -x 'W: quorvix: spelling-error-in-binary Comparision Comparison \[usr/bin/quorvix\]' \
  "$work/lintian.txt" >"$work/lintian-other.txt" || true
[ ! -s "$work/lintian-other.txt" ] || { cat "$work/lintian-other.txt"; fail "lintian"; }
echo "install: lintian reports nothing but the menu item's spelling"
