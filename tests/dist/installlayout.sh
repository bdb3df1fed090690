#!/usr/bin/env bash
# Installs the build into a temporary folder (DESTDIR, prefix /usr) and checks
# what a desktop needs: the program, its help in the data folder, the launcher
# entries, icon, software-centre description and crossword file type, each
# accepted by its validator. Files installed besides these are fine.
#
#   installlayout.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
export LC_ALL=C.UTF-8

build=${1:?usage: installlayout.sh BUILD_DIR SOURCE_DIR}
source_dir=${2:?usage: installlayout.sh BUILD_DIR SOURCE_DIR}
failures=0
fail() {
    echo "install: $*" >&2
    failures=$((failures + 1))
}
for tool in desktop-file-validate appstreamcli update-mime-database update-desktop-database xdg-mime gio; do
    command -v "$tool" >/dev/null || { echo "install: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; echo "install: cmake --install failed" >&2; exit 1; }

app=ru.kvarcella.Kvarcella
share=$root/usr/share
required=(
    usr/bin/kvarcella
    usr/bin/kvarcella-tool
    usr/share/kvarcella/kvarcella.chm
    usr/share/applications/ru.kvarcella.KvarcellaPrint.desktop
    usr/share/applications/$app.desktop
    usr/share/icons/hicolor/scalable/apps/$app.svg
    usr/share/metainfo/$app.metainfo.xml
    usr/share/mime/packages/$app.xml
    usr/share/man/man1/kvarcella.1.gz
    usr/share/man/man1/kvarcella-tool.1.gz
    usr/share/doc/kvarcella/copyright
    usr/share/doc/kvarcella/changelog.gz
)
for path in "${required[@]}"; do
    [[ -f $root/$path ]] || fail "missing /$path"
done
[[ -x $root/usr/bin/kvarcella ]] || fail "/usr/bin/kvarcella is not executable"
cmp -s "$root/usr/share/kvarcella/kvarcella.chm" "$build/src/shell/kvarcella.chm" ||
    fail "the installed help is not the one built"
outside=$(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name usr)
[[ -z $outside ]] || fail "installed outside /usr: $outside"

# Every launcher entry, installed or in the sources, passes the validator; the
# program's own names a command and an icon that are installed.
shopt -s nullglob
for entry in "$share"/applications/*.desktop "$source_dir"/dist/*.desktop; do
    out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate $(basename "$entry"): $out"
    [[ -z $out ]] || fail "desktop-file-validate $(basename "$entry") warns: $out"
done
entry=$share/applications/$app.desktop
if [[ -f $entry ]]; then
    exec_line=$(sed -n 's/^Exec=//p' "$entry")
    [[ $exec_line == 'kvarcella %f' ]] || fail "Exec is '$exec_line', not the program name and one file"
    grep -qx "Icon=$app" "$entry" || fail "the launcher entry names another icon"
    grep -qx 'MimeType=application/x-kvarcella-crossword;' "$entry" ||
        fail "the launcher entry does not declare the crossword type"
    grep -qx 'Name=Кварцелла 2.0' "$entry" || fail "the launcher entry is not named 'Кварцелла 2.0'"
    grep -qE '^Categories=Education;[A-Za-z]+;' "$entry" || fail "the launcher entry is not in Education plus a second category"
fi

# appstreamcli reports errors and warnings as "E:" and "W:" lines; pedantic
# notes ("P:", such as the capitals of the agreed application id) are fine.
metainfo=$share/metainfo/$app.metainfo.xml
if [[ -f $metainfo ]]; then
    out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate failed: $out"
    grep -E '^[EW]:' <<<"$out" && fail "appstreamcli validate reports problems"
    grep -q "<launchable type=\"desktop-id\">$app.desktop</launchable>" "$metainfo" ||
        fail "the description does not launch $app.desktop"
    grep -q '<project_license>GPL-3.0-or-later</project_license>' "$metainfo" ||
        fail "the description does not name the project's licence"
fi

# The licence: the full text at the top of the sources, and a machine-readable
# copyright file that puts every shipped file under it.
cmp -s "$source_dir/LICENSE" /usr/share/common-licenses/GPL-3 || fail "LICENSE is not the GPL 3 text"
copyright=$root/usr/share/doc/kvarcella/copyright
if [[ -f $copyright ]]; then
    head -1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
        fail "the copyright file is not in the machine-readable format"
    grep -A2 -x 'Files: \*' "$copyright" | grep -qx 'License: GPL-3+' ||
        fail "the copyright file does not put every file under GPL-3+"
fi

# The crossword type, as the desktop's own database tool compiles it.
if [[ -f $share/mime/packages/$app.xml ]]; then
    update-mime-database "$share/mime" >/dev/null 2>"$work/mime.log" || fail "update-mime-database: $(cat "$work/mime.log")"
    grep -qx 'application/x-kvarcella-crossword:\*\.crs' "$share/mime/globs" ||
        fail "*.crs is not known as application/x-kvarcella-crossword"
    grep -qx "application/x-kvarcella-crossword:$app" "$share/mime/icons" "$share/mime/generic-icons" 2>/dev/null ||
        fail "the crossword type does not show the program's icon"
    grep -q '<comment xml:lang="ru">Кроссворд</comment>' "$share/mime/application/x-kvarcella-crossword.xml" ||
        fail "the crossword type is not called 'Кроссворд'"
fi

# A double-click on a crossword opens it for solving. For a user who chose
# nothing, with only the installed folders in sight, both the generic
# xdg-mime and GLib's gio name the main program as the type's default; the
# print entry stays among the other handlers. (gio drops entries whose
# program is not on PATH.)
if [[ -f $share/mime/application/x-kvarcella-crossword.xml ]]; then
    update-desktop-database "$share/applications" 2>"$work/desktop.log" ||
        fail "update-desktop-database: $(cat "$work/desktop.log")"
    mkdir -p "$work/user/data" "$work/user/config" "$work/user/configdirs"
    clean_user=(env -i PATH="$root/usr/bin:/usr/bin:/bin" HOME="$work/user" LC_ALL=C.UTF-8
                XDG_DATA_DIRS="$share" XDG_DATA_HOME="$work/user/data"
                XDG_CONFIG_HOME="$work/user/config" XDG_CONFIG_DIRS="$work/user/configdirs")
    default=$("${clean_user[@]}" xdg-mime query default application/x-kvarcella-crossword 2>&1)
    [[ $default == "$app.desktop" ]] || fail "xdg-mime names '$default' as the crossword type's default"
    out=$("${clean_user[@]}" gio mime application/x-kvarcella-crossword 2>&1)
    default=$(sed -n '1s/^Default application for .*: //p' <<<"$out")
    [[ $default == "$app.desktop" ]] || fail "gio names '$default' as the crossword type's default: $out"
    grep -qx $'\tru.kvarcella.KvarcellaPrint.desktop' <<<"$out" ||
        fail "gio does not offer the print entry for crosswords: $out"
fi

if ((failures > 0)); then
    echo "install: $failures problem(s); installed files:" >&2
    (cd "$root" && find . -type f | sort) >&2
    exit 1
fi
echo "install: layout, launcher entries, description and file type are fine"
