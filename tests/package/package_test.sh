#!/usr/bin/env bash
# Builds the Debian package with cpack, unpacks it into a scratch root (dpkg -x) and checks the installed tree:
# layout, AppStream metadata and desktop entry as installed, the machine-readable copyright, tervolin-kb on the
# bundled knowledge base (also by its default path, through the /usr/bin symlink), the window starting under
# offscreen and, under Xvfb, reaching its main window (not the start-up error box), and lintian reporting neither
# errors nor warnings.
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
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
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

# 4. The window under offscreen: still running after five seconds (no crash, no missing library), ended by us.
set +e
QT_QPA_PLATFORM=offscreen timeout -s TERM 5 "$root/usr/bin/tervolin" >"$scratch/offscreen.log" 2>&1
status=$?
set -e
[ "$status" -eq 124 ] || { cat "$scratch/offscreen.log"; fail "tervolin exited with status $status under offscreen"; }

# 5. Under Xvfb: the program reaches its main window (a normal window), and, as a control, a copy of the program
#    without db1.mdb shows only the start-up error box (a dialog) — the same title, a different window type.
if ! command -v Xvfb >/dev/null || ! command -v xwininfo >/dev/null || ! command -v xprop >/dev/null; then
  fail "Xvfb, xwininfo and xprop are needed (Debian packages xvfb, x11-utils)"
fi
exec 3>"$scratch/display"
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 >"$scratch/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
[ -s "$scratch/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$scratch/display")"

# Prints the window types (_NET_WM_WINDOW_TYPE, one line per window) of the viewable top-level windows titled
# Tervolin1.0, polling up to 60 seconds. A message box's list holds _NET_WM_WINDOW_TYPE_DIALOG; the main window's does not.
tervolin_window_types() {
  local deadline=$((SECONDS + 60)) ids types
  while ((SECONDS < deadline)); do
    ids="$(xwininfo -root -children 2>/dev/null | awk '/"Tervolin1.0"/ {print $1}')"
    types=""
    for id in $ids; do
      xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' || continue
      types+="$(xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | sed 's/.*= //; s/ //g')
"
    done
    if [ -n "$types" ]; then echo "$types"; return 0; fi
    kill -0 "$app_pid" 2>/dev/null || return 1
    sleep 0.2
  done
  return 1
}

run_windowed() {
  QT_QPA_PLATFORM=xcb "$1" >"$scratch/xcb.log" 2>&1 &
  app_pid=$!
  types="$(tervolin_window_types)" || { cat "$scratch/xcb.log"; fail "$1 showed no window titled Tervolin1.0"; }
  kill "$app_pid"; wait "$app_pid" 2>/dev/null || true; app_pid=""
  echo "$types"
}

types="$(run_windowed "$root/usr/bin/tervolin")"
grep -v _NET_WM_WINDOW_TYPE_DIALOG <<<"$types" | grep -q . || fail "installed tervolin did not reach its main window (windows: $types)"
cp -a "$root/usr/lib/tervolin" "$scratch/nodb"
rm "$scratch/nodb/db1.mdb"
types="$(run_windowed "$scratch/nodb/tervolin")"
grep -q _NET_WM_WINDOW_TYPE_DIALOG <<<"$types" || fail "without db1.mdb no error box appeared (windows: $types)"
grep -v _NET_WM_WINDOW_TYPE_DIALOG <<<"$types" | grep -q . && fail "without db1.mdb a main window appeared (windows: $types)"

# 6. lintian: no errors and no warnings (informational tags are printed for the record).
if ! command -v lintian >/dev/null; then fail "lintian is needed (Debian package lintian)"; fi
lintian --allow-root --tag-display-limit 0 "$deb" >"$scratch/lintian.log" 2>&1 || true
cat "$scratch/lintian.log"
if grep -q '^[EW]: ' "$scratch/lintian.log"; then fail "lintian reports errors or warnings"; fi
echo "package test passed"
