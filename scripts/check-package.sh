#!/usr/bin/env bash
# Checks a Siteward Debian package: its name and version, the files it installs (programs, every
# data file, the /usr/bin links, menu entry, icons, manual pages, copyright, changelog, the user
# guide and its pictures), its dependencies, the hardening of its programs, and Debian's own
# checker (lintian) on the whole.
#   bash scripts/check-package.sh siteward_<version>_amd64.deb
# Prints every fault found and exits 1 if there was any.
set -euo pipefail
cd "$(dirname "$0")/.."

deb=$1
faults=0
fault() {
    echo "check-package: $*" >&2
    faults=$((faults + 1))
}

version=$(sed -n 's/^project(Siteward VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ "$(basename "$deb")" = "siteward_${version}_amd64.deb" ] ||
    fault "$(basename "$deb") is not named siteward_${version}_amd64.deb"
check_field() { # name, value
    [ "$(dpkg-deb -f "$deb" "$1")" = "$2" ] || fault "control field $1 is not $2"
}
check_field Package siteward
check_field Version "$version"
check_field Architecture amd64

# One line per entry, "type path[ -> target]" (f file, d folder, l link), without the leading "."
contents=$(dpkg-deb -c "$deb" | awk '{ $1 = substr($1, 1, 1); $2 = $3 = $4 = $5 = ""; print }' |
    sed -E -e 's/^(.) +\./\1 /' -e 's/^-/f/')
has() { # type, path[ -> target]
    grep -qxF -e "$1 $2" <<<"$contents" || fault "no $2 (type $1)"
}

home=/usr/lib/siteward
has f $home/siteward
has f $home/siteward-coords
# The program reads its data beside itself: every file of data/ must be there.
while IFS= read -r file; do
    has f "$home/$file"
done < <(cd data && find . -type f ! -name CMakeLists.txt | sed 's|^\./||' | sort)
has l "/usr/bin/siteward -> ../lib/siteward/siteward"
has l "/usr/bin/siteward-coords -> ../lib/siteward/siteward-coords"
has f /usr/share/applications/siteward.desktop
for size in 16 32 48 64 128 256; do
    has f "/usr/share/icons/hicolor/${size}x${size}/apps/siteward.png"
done
has f /usr/share/man/man1/siteward.1.gz
has f /usr/share/man/man1/siteward-coords.1.gz
has f /usr/share/doc/siteward/copyright
has f /usr/share/doc/siteward/changelog.gz
has f /usr/share/doc/siteward/user-guide.md
while IFS= read -r picture; do
    has f "/usr/share/doc/siteward/$picture"
done < <(grep -o '(images/[^)]*\.png)' docs/user-guide.md | tr -d '()' | sort -u)

# The programs must be executable; nothing may land outside the program's folder and
# /usr/share apart from the two links.
listing=$(dpkg-deb -c "$deb")
programs=$(grep -E " \.$home/siteward(-coords)?\$" <<<"$listing")
[ "$(grep -c '^-rwxr-xr-x' <<<"$programs")" -eq 2 ] || fault "a program is not executable: $programs"
stray=$(awk '{ print $2 }' <<<"$contents" |
    grep -vE "^/(|usr/|usr/lib/|${home#/}/.*|usr/share/.*|usr/bin/|usr/bin/siteward(-coords)?)\$" ||
    true)
[ -z "$stray" ] || fault "files outside the package's folders: $stray"

# Computed dependencies: Qt, shapelib and SQLite, and Qt's window-system plugins.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6gui6 libqt6core6 libshp libsqlite3 qt6-qpa-plugins; do
    grep -q "$library" <<<"$depends" || fault "Depends does not name $library: $depends"
done

# The files themselves: the changelog's first entry is this version, and both programs are
# hardened (stack protector, relocations read-only and bound at start).
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
top=$(zcat "$unpacked/usr/share/doc/siteward/changelog.gz" | head -n 1)
[[ "$top" == "siteward ($version) "* ]] || fault "the changelog's first entry is not $version: $top"
# (Each listing is read whole before it is searched: grep -q stopping early would break the
# pipe and fail the check.)
for program in siteward siteward-coords; do
    file="$unpacked$home/$program"
    dynamic=$(readelf -d "$file")
    headers=$(readelf -lW "$file")
    symbols=$(readelf -sW --dyn-syms "$file")
    grep -q 'BIND_NOW' <<<"$dynamic" || fault "$program is not linked with -z now"
    grep -q 'GNU_RELRO' <<<"$headers" || fault "$program is not linked with -z relro"
    grep -q '__stack_chk_fail' <<<"$symbols" || fault "$program is not built with the stack protector"
    if [ "$program" = siteward ]; then
        grep -q '_chk@' <<<"$symbols" ||
            fault "siteward calls no fortified C library function (-D_FORTIFY_SOURCE=2)"
    fi
done

# Debian's checker: no errors and no warnings. What it only notes (data files named *.txt,
# texts it takes for misspellings that are the program's own) is shown, not counted.
if lintian_out=$(lintian --fail-on error,warning "$deb" 2>&1); then
    :
else
    fault "lintian: $lintian_out"
fi
[ -z "$lintian_out" ] || echo "$lintian_out"

[ "$faults" -eq 0 ] || exit 1
echo "check-package: $(basename "$deb") holds the programs, $(cd data && find . -type f ! -name CMakeLists.txt | wc -l) data files, links, menu entry, icons, manual pages and changelog; hardened; lintian finds no error or warning"
