#!/usr/bin/env bash
# Checks a Siteward Debian package: its name and version, the files it installs (programs, every
# data file, the /usr/bin links, menu entry, icon, manual page, copyright) and its dependencies.
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

has f /opt/siteward/siteward
has f /opt/siteward/siteward-coords
# The program reads its data beside itself: every file of data/ must be there.
while IFS= read -r file; do
    has f "/opt/siteward/$file"
done < <(cd data && find . -type f ! -name CMakeLists.txt | sed 's|^\./||' | sort)
has l "/usr/bin/siteward -> /opt/siteward/siteward"
has l "/usr/bin/siteward-coords -> /opt/siteward/siteward-coords"
has f /usr/share/applications/siteward.desktop
has f /usr/share/icons/hicolor/256x256/apps/siteward.png
has f /usr/share/man/man1/siteward.1.gz
has f /usr/share/man/man1/siteward-coords.1.gz
has f /usr/share/doc/siteward/copyright

# The programs must be executable; nothing may land outside /opt/siteward and /usr/share
# apart from the two links.
dpkg-deb -c "$deb" | grep -E ' \./opt/siteward/siteward(-coords)?$' | grep -qv '^-rwxr-xr-x' &&
    fault "a program is not executable"
stray=$(awk '{ print $2 }' <<<"$contents" |
    grep -vE '^/(|opt/|opt/siteward/.*|usr/|usr/share/.*|usr/bin/|usr/bin/siteward(-coords)?)$' || true)
[ -z "$stray" ] || fault "files outside the package's folders: $stray"

# Computed dependencies: Qt, shapelib and SQLite, and Qt's window-system plugins.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6gui6 libqt6core6 libshp libsqlite3 qt6-qpa-plugins; do
    grep -q "$library" <<<"$depends" || fault "Depends does not name $library: $depends"
done

[ "$faults" -eq 0 ] || exit 1
echo "check-package: $(basename "$deb") holds the programs, $(cd data && find . -type f ! -name CMakeLists.txt | wc -l) data files, links, menu entry, icon and manual page"
