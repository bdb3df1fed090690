#!/usr/bin/env bash
# Checks the compiled help: a real compiled HTML help file (ITSF header) that
# holds its contents file and every page the contents list, each page valid
# UTF-8 or declared Windows-1251, and written in Russian.
#
#   checkchm.sh path/to/kvarcella.chm path/to/kvarcella.hhc
set -uo pipefail
export LC_ALL=C.UTF-8

chm=${1:?usage: checkchm.sh FILE.chm CONTENTS.hhc}
contents=${2:?usage: checkchm.sh FILE.chm CONTENTS.hhc}
failures=0

fail() {
    echo "checkchm: $*" >&2
    failures=$((failures + 1))
}

for tool in enum_chmLib extract_chmLib iconv; do
    command -v "$tool" >/dev/null || { echo "checkchm: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
[[ -f $chm ]] || { echo "checkchm: no such file: $chm" >&2; exit 1; }

magic=$(head -c 4 "$chm")
[[ $magic == ITSF ]] || { echo "checkchm: $chm starts with '$magic', not ITSF" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The last column of enum_chmLib's listing is the entry's path in the file.
enum_chmLib "$chm" | awk '$NF ~ /^\// {print $NF}' | sort >"$work/entries"
extract_chmLib "$chm" "$work/pages" >/dev/null || { echo "checkchm: extract_chmLib failed" >&2; exit 1; }

hhc=/$(basename "$contents")
grep -qxF "$hhc" "$work/entries" || fail "the contents file $hhc is not in the help file"

# The contents as compiled in, not only as written in the sources.
pages=$(grep -o '<param name="Local" value="[^"]*"' "$work/pages$hhc" 2>/dev/null |
        sed 's/.*value="\([^"]*\)"/\1/; s/#.*//' | sort -u)
[[ -n $pages ]] || fail "the contents list no page"
source_pages=$(grep -o '<param name="Local" value="[^"]*"' "$contents" |
               sed 's/.*value="\([^"]*\)"/\1/; s/#.*//' | sort -u)
[[ $pages == "$source_pages" ]] || fail "the compiled contents differ from $contents"

for page in $pages; do
    file=$work/pages/$page
    if ! grep -qxF "/$page" "$work/entries" || [[ ! -f $file ]]; then
        fail "$page is in the contents but not in the help file"
        continue
    fi
    if grep -qiE 'charset=["'\'']?(windows|cp)-?1251' "$file"; then
        text=$(iconv -f CP1251 -t UTF-8 "$file") || { fail "$page: not Windows-1251"; continue; }
    elif ! text=$(iconv -f UTF-8 -t UTF-8 "$file" 2>/dev/null); then
        fail "$page: neither valid UTF-8 nor declared Windows-1251"
        continue
    fi
    # Russian: the text outside the markup is mostly Cyrillic letters.
    visible=$(sed 's/<[^>]*>//g' <<<"$text")
    cyrillic=$(grep -oP '\p{Cyrillic}' <<<"$visible" | wc -l)
    latin=$(grep -oP '\p{Latin}' <<<"$visible" | wc -l)
    if ((cyrillic < 40 || cyrillic < 4 * latin)); then
        fail "$page: not Russian ($cyrillic Cyrillic, $latin Latin letters)"
    fi
    grep -qP '<title>[^<]*\p{Cyrillic}' <<<"$text" || fail "$page: no Russian title"
    # Pictures, style sheets and links to other pages come from the help file too.
    for target in $(grep -oiE '(src|href)="[^"#:]+' <<<"$text" | sed 's/^[^"]*"//' | sort -u); do
        grep -qxF "/$target" "$work/entries" || fail "$page refers to $target, which the help file lacks"
    done
done

count=$(wc -w <<<"$pages")
if ((failures > 0)); then
    echo "checkchm: $failures problem(s)" >&2
    exit 1
fi
echo "checkchm: $chm holds the contents and all $count pages, in Russian"
