#!/usr/bin/env bash
# Checks what the package installs besides the programs, from the source tree: the desktop entry
# (desktop-file-validate), the AppStream metadata (appstreamcli, offline) and that the two agree, the MIME type
# for kernel dumps (a shared-mime-info database built from it tells a dump from a packet capture, both *.dmp),
# the bash completion of tervolin-kb (run as bash runs it), and that the manual pages and the completion cover
# every command and option that `tervolin-kb --help` lists.
# Usage: metadata_test.sh SOURCE_DIR TERVOLIN_KB
set -euo pipefail
export LC_ALL=C.UTF-8
source_dir="$1"
kb="$2"
packaging="$source_dir/packaging"
id="io.github.tervolin.Tervolin"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
for tool in desktop-file-validate appstreamcli update-mime-database gio; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is needed (see scripts/setup)" >&2; exit 1; }
done

# 1. Desktop entry and AppStream metadata.
desktop="$packaging/$id.desktop"
metainfo="$packaging/$id.metainfo.xml"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
appstreamcli validate --no-net --strict "$metainfo" || fail "appstreamcli rejects $metainfo"
grep -q "<id>$id</id>" "$metainfo" || fail "the metadata's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "the metadata does not launch $id.desktop"
grep -q "setDesktopFileName(QStringLiteral(\"$id\"))" "$source_dir/main.cpp" ||
  fail "the program does not name $id as its desktop entry (Wayland shells match windows by it)"
for binary in tervolin tervolin-kb; do
  grep -q "<binary>$binary</binary>" "$metainfo" || fail "the metadata does not provide $binary"
done
mime_type="$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$packaging/tervolin-dump.xml")"
[ -n "$mime_type" ] || fail "no MIME type in tervolin-dump.xml"
grep -qx "MimeType=$mime_type;" "$desktop" || fail "the desktop entry does not open $mime_type"
grep -q "<mediatype>$mime_type</mediatype>" "$metainfo" || fail "the metadata does not provide $mime_type"
grep -q '^Exec=tervolin %F$' "$desktop" || fail "the desktop entry does not pass files to tervolin"

# 2. The MIME type, in a database of its own beside the system's: magic decides between the types of *.dmp.
mkdir -p "$scratch/share/mime/packages"
cp "$packaging/tervolin-dump.xml" "$scratch/share/mime/packages/"
update-mime-database "$scratch/share/mime" >"$scratch/mime.log" 2>&1 || { cat "$scratch/mime.log"; fail "update-mime-database rejects tervolin-dump.xml"; }
printf 'PAGEDU64\x0f\x00\x00\x00' >"$scratch/MEMORY.DMP.dmp"
printf 'PAGEDUMP\x0f\x00\x00\x00' >"$scratch/old.dmp"
printf 'PAGEDU64\x0f\x00\x00\x00' >"$scratch/renamed.bin"
printf '\xd4\xc3\xb2\xa1\x02\x00\x04\x00' >"$scratch/capture.dmp"
content_type() {
  XDG_DATA_HOME="$scratch/share" XDG_DATA_DIRS="$scratch/share:/usr/share" \
    gio info -a standard::content-type "$1" | sed -n 's/.*standard::content-type: //p'
}
for f in MEMORY.DMP.dmp old.dmp renamed.bin; do
  [ "$(content_type "$scratch/$f")" = "$mime_type" ] || fail "$f is $(content_type "$scratch/$f"), not $mime_type"
done
[ "$(content_type "$scratch/capture.dmp")" != "$mime_type" ] || fail "a packet capture named *.dmp became $mime_type"

# 3. Completion: COMPREPLY for a command line, the cursor at its end (a trailing blank starts a new word).
completion="$packaging/tervolin-kb.bash-completion"
bash -n "$completion" || fail "the completion is not valid bash"
fixture="$source_dir/tests/fixtures/jet/lanping_jet3_gbk.mdb"
mkdir -p "$scratch/dumps/Minidump"
touch "$scratch/dumps/Minidump/120926-10000-01.dmp" "$scratch/dumps/crashes.zip"
complete_line() {
  (cd "$scratch" && COMPLETION="$completion" KB="$kb" LINE="$1" bash --norc --noprofile -c '
    source "$COMPLETION"
    read -r -a COMP_WORDS <<<"$LINE"
    COMP_WORDS[0]="$KB"
    [[ "$LINE" == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _tervolin_kb
    printf "%s\n" "${COMPREPLY[@]}" | sort | paste -sd " " -')
}
expect_completion() {
  local got
  got="$(complete_line "$1")"
  [ "$got" = "$2" ] || fail "completing '$1' gave '$got', expected '$2'"
}
expect_completion "tervolin-kb " "convert count dump export import list lookup"
expect_completion "tervolin-kb lo" "lookup"
expect_completion "tervolin-kb --" "--db --help"
expect_completion "tervolin-kb lookup --" "--db --exact --help --json"
expect_completion "tervolin-kb --json lookup --e" "--exact"
expect_completion "tervolin-kb dump --" "--db --help --json --text"
expect_completion "tervolin-kb export --" "--db --format --help"
expect_completion "tervolin-kb export --format " "csv tsv"
expect_completion "tervolin-kb import --" "--force --help"
expect_completion "tervolin-kb --db $fixture lookup 0x0000007" "0x0000007B"
expect_completion "tervolin-kb --db $fixture lookup 0X0000009" "0x0000009f"
expect_completion "tervolin-kb --db $fixture --json lookup 蓝" "蓝屏"
expect_completion "tervolin-kb --db $scratch/missing.mdb lookup 0x" ""
expect_completion "tervolin-kb dump $scratch/dumps/" "$scratch/dumps/Minidump $scratch/dumps/crashes.zip"
expect_completion "tervolin-kb dump --json $scratch/dumps/Minidump/1" "$scratch/dumps/Minidump/120926-10000-01.dmp"
expect_completion "tervolin-kb dump --text " "$(cd "$scratch" && { compgen -f; echo -; } | sort | paste -sd " " -)"
expect_completion "tervolin-kb --db $scratch/dumps/cr" "$scratch/dumps/crashes.zip"

# 4. What --help lists is in the manual page and in the completion (a command added later must be added there).
help="$("$kb" --help)"
commands="$(sed -n '/^Commands:/,/^$/p' <<<"$help" | sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p')"
[ -n "$commands" ] || fail "no commands found in tervolin-kb --help"
options="$(grep -o -- '--[a-z][a-z-]*' <<<"$help" | sort -u)"
manual="$packaging/tervolin-kb.1"
for c in $commands; do
  grep -q "^\.B[IR]* $c\b" "$manual" || fail "the manual page does not describe the command $c"
  grep -q "\b$c\b" "$completion" || fail "the completion does not know the command $c"
done
for o in $options; do
  grep -q -- "${o//-/\\\\-}" "$manual" || fail "the manual page does not mention $o"
  grep -q -- "$o" "$completion" || fail "the completion does not know $o"
done
for page in "$manual" "$packaging/tervolin.1"; do
  warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings=all -l "$page" 2>&1 >/dev/null)"
  [ -z "$warnings" ] || fail "$(basename "$page") renders with warnings: $warnings"
  grep -q '^\.SH EXIT STATUS' "$page" || fail "$(basename "$page") has no EXIT STATUS section"
done

((failures == 0)) || { echo "$failures check(s) failed" >&2; exit 1; }
echo "metadata test passed"
