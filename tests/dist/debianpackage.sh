#!/usr/bin/env bash
# Builds the Debian package with CPack and checks it the way an installer
# would see it: its control fields, its file list, a stripped program, and
# lintian with no error or warning. Files packed besides the required ones
# are fine.
#
#   debianpackage.sh BUILD_DIR
set -uo pipefail
export LC_ALL=C.UTF-8

build=${1:?usage: debianpackage.sh BUILD_DIR}
failures=0
fail() {
    echo "package: $*" >&2
    failures=$((failures + 1))
}
for tool in cpack dpkg-deb dpkg-shlibdeps lintian file; do
    command -v "$tool" >/dev/null || { echo "package: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
started=$SECONDS
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; echo "package: cpack failed" >&2; exit 1; }
debs=("$work"/*.deb)
((${#debs[@]} == 1)) && [[ -f ${debs[0]} ]] || { echo "package: cpack made ${#debs[@]} packages" >&2; exit 1; }
deb=${debs[0]}
echo "package: $(basename "$deb") built in $((SECONDS - started)) s"

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == kvarcella ]] || fail "Package is '$(field Package)'"
[[ $(field Architecture) == "$(dpkg --print-architecture)" ]] || fail "Architecture is '$(field Architecture)'"
[[ $(field Version) =~ ^[0-9]+\.[0-9]+ ]] || fail "Version is '$(field Version)'"
[[ $(field Section) == education ]] || fail "Section is '$(field Section)'"
[[ -n $(field Maintainer) && -n $(field Description) ]] || fail "no Maintainer or Description"

# Depends: the libraries as dpkg-shlibdeps found them, plus what nothing links.
depends=$(field Depends)
IFS=',' read -ra wanted <<<"$depends"
has_dependency() {
    local d
    for d in "${wanted[@]}"; do
        d=${d# }
        [[ ${d%% *} == "$1" ]] && return 0
    done
    return 1
}
needed=(libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 fonts-liberation)
if apt-cache show --no-all-versions qt6-translations-l10n >/dev/null 2>&1; then
    needed+=(qt6-translations-l10n)
fi
for d in "${needed[@]}"; do
    has_dependency "$d" || fail "Depends lacks $d: $depends"
done
[[ $depends == *'libqt6core6 (>='* ]] || fail "Depends has no library versions, so dpkg-shlibdeps did not run: $depends"
[[ $(field Recommends) == 'xchm, xdg-utils' ]] || fail "Recommends is '$(field Recommends)'"

# The file list: the required files, all under /usr, owned by root.
dpkg-deb -c "$deb" >"$work/contents"
app=ru.kvarcella.Kvarcella
for path in usr/bin/kvarcella usr/bin/kvarcella-tool usr/share/kvarcella/kvarcella.chm \
            usr/share/applications/$app.desktop usr/share/applications/ru.kvarcella.KvarcellaPrint.desktop \
            usr/share/icons/hicolor/scalable/apps/$app.svg \
            usr/share/metainfo/$app.metainfo.xml usr/share/mime/packages/$app.xml \
            usr/share/man/man1/kvarcella.1.gz usr/share/man/man1/kvarcella-tool.1.gz \
            usr/share/doc/kvarcella/copyright usr/share/doc/kvarcella/changelog.gz; do
    grep -q " \./$path\$" "$work/contents" || fail "the package lacks /$path"
done
awk '{print $6}' "$work/contents" | grep -v '^\./usr/' && fail "the package holds files outside /usr"
awk '$2 != "root/root"' "$work/contents" | grep . && fail "the package holds files not owned by root"
dpkg-deb -x "$deb" "$work/tree"
file "$work/tree/usr/bin/kvarcella" | grep -q ', stripped' || fail "the program is not stripped"

# Errors and warnings fail; the information tags are shown, and the README
# says why they stay.
started=$SECONDS
lintian --display-info --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1
grep -v '^running with root privileges' "$work/lintian.log"
echo "package: lintian took $((SECONDS - started)) s"
grep -E '^[EW]: ' "$work/lintian.log" >/dev/null && fail "lintian reports errors or warnings"

if ((failures > 0)); then
    echo "package: $failures problem(s). Fields:" >&2
    dpkg-deb -I "$deb" >&2
    cat "$work/contents" >&2
    exit 1
fi
echo "package: fields, file list and lintian are fine"
