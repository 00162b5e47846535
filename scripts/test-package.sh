#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh), unpacks it into a scratch
# root and checks what it holds: the programs, the desktop entry, the icon,
# the AppStream metainfo, the manual page and the declared dependencies, and
# that the programs find their libraries and start.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/package.sh

build=build/package
debs=("$build"/rowshift_*.deb)
deb=${debs[0]}
root=$build/root
rm -rf "$root"
mkdir -p "$root"
dpkg -x "$deb" "$root"
echo "== checking $deb =="

app_id=org.rowshift.rowshift
desktop=$root/usr/share/applications/$app_id.desktop
icon=$root/usr/share/icons/hicolor/scalable/apps/$app_id.svg
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
man_page=$root/usr/share/man/man1/rowshift-cli.1.gz
log=$(mktemp)
trap 'rm -f "$log"' EXIT

passed=0 failed=0 skipped=0
# check DESCRIPTION COMMAND...: runs the command; its output is shown only
# when it fails.
check() {
    local what=$1
    shift
    if "$@" >"$log" 2>&1; then
        passed=$((passed + 1))
        echo "ok    $what"
    else
        failed=$((failed + 1))
        echo "FAIL  $what"
        sed 's/^/      /' "$log"
    fi
}
skip() {
    skipped=$((skipped + 1))
    echo "skip  $1"
}

depends_on() {
    dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//' | grep -qx "$1"
}
only_under_usr() {
    local paths
    paths=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
    [[ -n $paths ]] && ! grep -v '^\./usr/' <<<"$paths"
}
is_elf_executable() {
    [[ -x $1 ]] && file -b "$1" | grep -q '^ELF .* executable'
}
# Every library found, and no search path of the build machine left in.
links_completely() {
    local libraries dynamic
    libraries=$(ldd "$1")
    dynamic=$(readelf -d "$1")
    ! grep 'not found' <<<"$libraries" && ! grep -E 'RPATH|RUNPATH' <<<"$dynamic"
}
# The window takes no arguments and runs until it is closed: still running
# after a few seconds means it started.
window_starts() {
    local status=0
    QT_QPA_PLATFORM=offscreen timeout 5 "$root/usr/bin/rowshift" || status=$?
    [[ $status -eq 124 ]]
}
desktop_entry_matches() {
    grep -qx 'Exec=rowshift' "$desktop" && grep -qx "Icon=$app_id" "$desktop"
}
is_svg() {
    file -b "$icon" | grep -q 'SVG'
}
man_page_renders() {
    [[ -z $(gzip -dc "$1" | groff -man -ww -z -Tutf8 2>&1) ]]
}
cli_help() {
    local out
    out=$("$root/usr/bin/rowshift-cli" --help)
    [[ $out == *fit* && $out == *apply* && $out == *profile* ]]
}

check "package is named rowshift" test "$(dpkg-deb -f "$deb" Package)" = rowshift
for dep in libqt6core6 libqt6gui6 libqt6widgets6 qt6-image-formats-plugins; do
    check "depends on $dep" depends_on "$dep"
done
check "installs only under /usr" only_under_usr

check "rowshift is an executable" is_elf_executable "$root/usr/bin/rowshift"
check "rowshift finds all its libraries" links_completely "$root/usr/bin/rowshift"
check "rowshift starts" window_starts

check "desktop entry is valid" desktop-file-validate "$desktop"
check "desktop entry starts rowshift with its icon" desktop_entry_matches
check "icon is an SVG image" is_svg
check "metainfo is valid" appstreamcli validate --no-net "$metainfo"
check "metainfo, desktop entry and icon agree" appstreamcli validate-tree --no-net "$root"

cli=$root/usr/bin/rowshift-cli
if [[ -e $cli ]]; then
    check "rowshift-cli is an executable" is_elf_executable "$cli"
    check "rowshift-cli finds all its libraries" links_completely "$cli"
    check "rowshift-cli --help names its commands" cli_help
    check "rowshift-cli manual page renders cleanly" man_page_renders "$man_page"
else
    skip "rowshift-cli is not built yet: no binary, --help or manual page to check"
fi

echo "package: $passed passed, $failed failed, $skipped skipped"
[[ $failed -eq 0 ]]
