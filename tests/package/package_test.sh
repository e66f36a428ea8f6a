#!/usr/bin/env bash
# Builds the Debian package with cpack, unpacks it into a scratch root (dpkg -x) and checks the installed tree:
# layout, AppStream metadata and desktop entry as installed, the machine-readable copyright, tervolin-kb on the
# bundled knowledge base (also by its default path, through the /usr/bin symlink), the window under Xvfb reaching
# its main window (not the start-up error box), and lintian reporting neither errors nor warnings.
# Usage: package_test.sh BINARY_DIR BUILD_TREE_TERVOLIN_KB
set -euo pipefail
bin_dir="$1"
# The package must carry the knowledge base the build made: as many rows as the build tree's db1.mdb.
expected_rows="$("$2" --db "$bin_dir/db1.mdb" count)"
((expected_rows > 0)) || { echo "FAIL: the build's db1.mdb is empty" >&2; exit 1; }

scratch="$(mktemp -d)"
xvfb_pid=""
app_pid=""
cleanup() {
  local pid
  for pid in $app_pid $xvfb_pid; do
    if kill "$pid" 2>/dev/null; then wait "$pid" 2>/dev/null || true; fi
  done
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# 1. Build the package into the scratch folder (the package target does the same after building everything).
cpack -G DEB --config "$bin_dir/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; fail "cpack failed"; }
debs=("$scratch"/out/tervolin_*.deb)
[ -f "${debs[0]}" ] || fail "no tervolin_*.deb produced"
deb="${debs[0]}"
echo "package: $(basename "$deb")"

depends="$(dpkg-deb -f "$deb" Depends)"
for dep in libqt6widgets6 libsqlite3-0 libmdb3 qt6-qpa-plugins fonts-noto-cjk fonts-arphic-uming fonts-arphic-ukai; do
  grep -q "\b$dep\b" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
grep -q qt6-translations-l10n <<<"$(dpkg-deb -f "$deb" Recommends)" || fail "Recommends lacks qt6-translations-l10n"

# 2. Unpack and check the layout.
root="$scratch/root"
dpkg-deb -x "$deb" "$root"
desktop="usr/share/applications/io.github.tervolin.Tervolin.desktop"
metainfo="usr/share/metainfo/io.github.tervolin.Tervolin.metainfo.xml"
for f in usr/lib/tervolin/tervolin usr/lib/tervolin/tervolin-kb usr/lib/tervolin/db1.mdb \
         "$desktop" "$metainfo" usr/share/mime/packages/tervolin-dump.xml \
         usr/share/bash-completion/completions/tervolin-kb usr/share/icons/hicolor/48x48/apps/tervolin.png \
         usr/share/icons/hicolor/256x256/apps/tervolin.png usr/share/icons/hicolor/scalable/apps/tervolin.svg \
         usr/share/man/man1/tervolin.1.gz usr/share/man/man1/tervolin-kb.1.gz usr/share/doc/tervolin/copyright; do
  [ -f "$root/$f" ] || fail "missing /$f"
done
# The installed tree as a software centre sees it: metadata, desktop entry and icon found together.
appstreamcli validate-tree --no-net "$root" >"$scratch/appstream.log" 2>&1 ||
  { cat "$scratch/appstream.log"; fail "appstreamcli validate-tree rejects the installed tree"; }
desktop-file-validate "$root/$desktop" || fail "desktop-file-validate rejects the installed desktop entry"
# Machine-readable copyright naming every licence.
copyright="$root/usr/share/doc/tervolin/copyright"
head -n1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "the copyright file is not in the machine-readable format"
for license in Expat CC-BY-4.0 Apache-2.0; do
  grep -qx "License: $license" "$copyright" || fail "the copyright file does not name $license"
done
[ "$(dpkg-deb -f "$deb" Maintainer)" = "$(sed -n 's/^Upstream-Contact: //p' "$copyright")" ] ||
  fail "Maintainer and the copyright file's contact differ"
dpkg-deb -f "$deb" Homepage | grep -q '^https://' || fail "no Homepage"
for p in tervolin tervolin-kb; do
  [ "$(readlink "$root/usr/bin/$p")" = "../lib/tervolin/$p" ] || fail "/usr/bin/$p is not a relative link to /usr/lib/tervolin/$p"
  [ -x "$root/usr/bin/$p" ] || fail "/usr/bin/$p does not resolve to a program"
done
grep -qx 'Categories=Utility;' "$root/$desktop" || fail "desktop entry not in Utility"
grep -qx 'Icon=tervolin' "$root/$desktop" || fail "desktop entry names another icon"

# 3. tervolin-kb on the bundled knowledge base: named explicitly, and by default beside the program
#    (started through the /usr/bin symlink, so the default must follow it into /usr/lib/tervolin).
count="$("$root/usr/bin/tervolin-kb" --db "$root/usr/lib/tervolin/db1.mdb" count)"
[ "$count" = "$expected_rows" ] || fail "tervolin-kb --db … count printed '$count', expected $expected_rows"
count="$(cd "$scratch" && "$root/usr/bin/tervolin-kb" count)"
[ "$count" = "$expected_rows" ] || fail "tervolin-kb count (default database) printed '$count', expected $expected_rows"

# 4. Under Xvfb: the program reaches its main window (a normal window), and, as a control, a copy of the program
#    without db1.mdb shows only the start-up error box (a dialog) — the same title, a different window type.
#    Every wait here waits for an event (Xvfb ready, a window mapped, a window gone, a process ended), never for
#    an amount of time: on a loaded machine each step only takes longer. A program that never shows a window is
#    ended by the test's own time limit.
if ! command -v Xvfb >/dev/null || ! command -v xwininfo >/dev/null || ! command -v xprop >/dev/null; then
  fail "Xvfb, xwininfo and xprop are needed (Debian packages xvfb, x11-utils)"
fi
# Xvfb writes its display number into the pipe once it accepts connections; end of file means it died.
# -noreset: by default the server resets whenever its last client leaves (each xwininfo, the ended program), and a
# client connecting during that reset is refused — about one connection in a hundred here.
mkfifo "$scratch/displayfd"
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1024x768x24 3>"$scratch/displayfd" >"$scratch/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r display <"$scratch/displayfd" || { cat "$scratch/xvfb.log"; fail "Xvfb did not start"; }
export DISPLAY=":$display"

# The ids of the viewable top-level windows titled Tervolin1.0, one per line.
tervolin_windows() {
  local id
  for id in $(xwininfo -root -children | awk '/"Tervolin1.0"/ {print $1}'); do
    if xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then echo "$id"; fi
  done
}

# Starts program $1 under Xvfb and prints the window types (_NET_WM_WINDOW_TYPE, one line per window) of its
# first viewable windows titled Tervolin1.0. A message box's list holds _NET_WM_WINDOW_TYPE_DIALOG; the main
# window's does not. Then ends the program and waits until the server has taken its windows down, so that the
# next program's windows are not mixed with them.
run_windowed() {
  local ids="" id
  QT_QPA_PLATFORM=xcb "$1" >"$scratch/xcb.log" 2>&1 &
  app_pid=$!
  until ids="$(tervolin_windows)" && [ -n "$ids" ]; do
    kill -0 "$app_pid" 2>/dev/null || { cat "$scratch/xcb.log"; fail "$1 ended without showing a window titled Tervolin1.0"; }
    sleep 0.2
  done
  types=""
  for id in $ids; do
    types+="$(xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | sed 's/.*= //; s/ //g' || true)"$'\n'
  done
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
  while [ -n "$(tervolin_windows)" ]; do sleep 0.2; done
}

run_windowed "$root/usr/bin/tervolin"
grep -v _NET_WM_WINDOW_TYPE_DIALOG <<<"$types" | grep -q . || fail "installed tervolin did not reach its main window (windows: $types)"
cp -a "$root/usr/lib/tervolin" "$scratch/nodb"
rm "$scratch/nodb/db1.mdb"
run_windowed "$scratch/nodb/tervolin"
grep -q _NET_WM_WINDOW_TYPE_DIALOG <<<"$types" || fail "without db1.mdb no error box appeared (windows: $types)"
if grep -v _NET_WM_WINDOW_TYPE_DIALOG <<<"$types" | grep -q .; then fail "without db1.mdb a main window appeared (windows: $types)"; fi

# 5. lintian: no errors and no warnings (informational tags are printed for the record).
if ! command -v lintian >/dev/null; then fail "lintian is needed (Debian package lintian)"; fi
lintian --allow-root --tag-display-limit 0 "$deb" >"$scratch/lintian.log" 2>&1 || true
cat "$scratch/lintian.log"
if grep -q '^[EW]: ' "$scratch/lintian.log"; then fail "lintian reports errors or warnings"; fi
echo "package test passed"
