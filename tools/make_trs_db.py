#!/usr/bin/python3
"""Builds the township-range-section centroid table zorn_trs.mdb (SQLite).

Table Plss_zorn: TRS TEXT ("T01N R02E S03"), LONGITUDE REAL (west negative), LATITUDE REAL,
indexed on TRS. The converter looks a section up by that key and shifts the centroid by the
chosen part of the section.

Two sources:

  * by default, the ideal survey: every township 1-7 north and 1-68 south of the base line,
    every range 1-43 east and 1-34 west of the principal meridian, sections 1-36, laid out as
    exact six-mile townships and one-mile sections from the initial point at Tallahassee.
    Real surveys drift from this ideal (correction lines, closing errors, irregular and
    fractional sections, land grants), typically by a few hundred metres and in places by a
    mile or more, so these centroids are an approximation good for locating a section, not for
    boundary work;

  * with --from-csv FILE, an agency's own survey table with the columns TRS, LONGITUDE,
    LATITUDE (a header row naming them is optional and may order them differently). Every
    row is checked; on any error nothing is written and each error is listed with its line.

Usage:
  /usr/bin/python3 tools/make_trs_db.py [-o data/databases/zorn_trs.mdb]
  /usr/bin/python3 tools/make_trs_db.py --from-csv survey.csv [-o ...]
"""

import argparse
import csv
import math
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lookup_db_file import write_lookup_db  # noqa: E402

DEFAULT_OUTPUT = os.path.join(
    os.path.dirname(os.path.abspath(__file__)), os.pardir, "data", "databases", "zorn_trs.mdb"
)

# WGS84 ellipsoid.
WGS84_A = 6378137.0
WGS84_F = 1.0 / 298.257223563
WGS84_E2 = WGS84_F * (2.0 - WGS84_F)

# The original surveys were chained in US survey feet: a mile is 5280 * 1200/3937 m.
SURVEY_MILE_M = 5280.0 * 1200.0 / 3937.0

# Initial point of the Tallahassee principal meridian and base line (30°26'04.12" N,
# 84°16'37.59" W). The published value predates the modern datums; the shift to WGS84 here is
# a few tens of metres, far below how much the real survey departs from the ideal grid.
INITIAL_LATITUDE = 30.0 + 26.0 / 60.0 + 4.12 / 3600.0
INITIAL_LONGITUDE = -(84.0 + 16.0 / 60.0 + 37.59 / 3600.0)

# The converter refuses anything beyond these, so a key outside them could never be asked for.
TOWNSHIP_LIMITS = {"N": 7, "S": 68}
RANGE_LIMITS = {"E": 43, "W": 34}
SECTIONS_PER_TOWNSHIP = 36
# The converter builds section keys up to this number; irregular surveys (land grants) number
# sections beyond 36, so an agency table may hold them.
MAX_SECTION_KEY = 8030

DECIMALS = 6  # about 0.1 m: far finer than the approximation itself

# --- Geodesy -------------------------------------------------------------------------------


def meridian_arc(lat_deg):
    """Distance in metres along the meridian from the equator to `lat_deg` (degrees).

    Series expansion in e^2 to the e^6 terms; error well under a millimetre on WGS84.
    """
    phi = math.radians(lat_deg)
    e2 = WGS84_E2
    e4 = e2 * e2
    e6 = e4 * e2
    return WGS84_A * (
        (1 - e2 / 4 - 3 * e4 / 64 - 5 * e6 / 256) * phi
        - (3 * e2 / 8 + 3 * e4 / 32 + 45 * e6 / 1024) * math.sin(2 * phi)
        + (15 * e4 / 256 + 45 * e6 / 1024) * math.sin(4 * phi)
        - (35 * e6 / 3072) * math.sin(6 * phi)
    )


def meridian_radius(lat_deg):
    """Radius of curvature in the meridian (metres) at `lat_deg` (degrees)."""
    s = math.sin(math.radians(lat_deg))
    return WGS84_A * (1 - WGS84_E2) / (1 - WGS84_E2 * s * s) ** 1.5


def parallel_radius(lat_deg):
    """Radius (metres) of the parallel circle at `lat_deg` (degrees): N(phi) cos(phi)."""
    phi = math.radians(lat_deg)
    s = math.sin(phi)
    return WGS84_A / math.sqrt(1 - WGS84_E2 * s * s) * math.cos(phi)


def latitude_at_arc(arc_m):
    """Inverse of meridian_arc: latitude (degrees) whose meridian arc is `arc_m` metres."""
    lat = math.degrees(arc_m / WGS84_A)
    for _ in range(20):
        step = math.degrees((arc_m - meridian_arc(lat)) / meridian_radius(lat))
        lat += step
        if abs(step) < 1e-12:
            break
    return lat


def offset_position(north_mi, east_mi):
    """Latitude and longitude (degrees) of the point `north_mi` survey miles north of the base
    line and `east_mi` east of the principal meridian (negative: south, west).

    North distances run along the meridian; east distances along the point's own parallel, as
    in an ideal survey whose range lines are spaced six miles apart on every parallel.
    """
    lat = latitude_at_arc(meridian_arc(INITIAL_LATITUDE) + north_mi * SURVEY_MILE_M)
    lon = INITIAL_LONGITUDE + math.degrees(east_mi * SURVEY_MILE_M / parallel_radius(lat))
    return lat, lon


# --- The ideal survey ----------------------------------------------------------------------


def trs_key(township, township_dir, range_, range_dir, section):
    """Lookup key as the converter builds it: two-digit township and range, section with at
    least two digits ("T01N R02E S03", "T10S R43E S36", "S100")."""
    return f"T{township:02d}{township_dir} R{range_:02d}{range_dir} S{section:02d}"


def section_cell(section):
    """Row (0 = north) and column (0 = west) of a section 1-36 within its township.

    Sections run back and forth: 1-6 from east to west along the north row, 7-12 from west to
    east below them, and so on to 36 in the south-east corner.
    """
    if not 1 <= section <= SECTIONS_PER_TOWNSHIP:
        raise ValueError(f"section {section} is not 1-36")
    row, place = divmod(section - 1, 6)
    column = 5 - place if row % 2 == 0 else place
    return row, column


def section_centre_miles(township, township_dir, range_, range_dir, section):
    """Centre of a section in survey miles north and east of the initial point."""
    row, column = section_cell(section)
    # North edge of the township: township n north ends n*6 miles north of the base line,
    # township n south begins (n-1)*6 miles south of it.
    north_edge = township * 6 if township_dir == "N" else -(township - 1) * 6
    west_edge = (range_ - 1) * 6 if range_dir == "E" else -range_ * 6
    return north_edge - row - 0.5, west_edge + column + 0.5


def ideal_rows():
    """(key, longitude, latitude) for every section of the ideal survey."""
    for township_dir in ("N", "S"):
        for township in range(1, TOWNSHIP_LIMITS[township_dir] + 1):
            for range_dir in ("E", "W"):
                for range_ in range(1, RANGE_LIMITS[range_dir] + 1):
                    for section in range(1, SECTIONS_PER_TOWNSHIP + 1):
                        north, east = section_centre_miles(
                            township, township_dir, range_, range_dir, section
                        )
                        lat, lon = offset_position(north, east)
                        yield (
                            trs_key(township, township_dir, range_, range_dir, section),
                            round(lon, DECIMALS),
                            round(lat, DECIMALS),
                        )


# --- An agency's own table -----------------------------------------------------------------

KEY_PATTERN = re.compile(r"T(\d{2})([NS]) R(\d{2})([EW]) S(\d{2,4})")
COLUMNS = ("TRS", "LONGITUDE", "LATITUDE")


class CsvErrors(Exception):
    """The table was refused; `errors` lists one message per fault, with its line."""

    def __init__(self, errors):
        super().__init__(f"{len(errors)} error(s)")
        self.errors = errors


def key_fault(key):
    """Why `key` is not a key the converter can ask for, or None when it is."""
    match = KEY_PATTERN.fullmatch(key)
    if not match:
        return f"key '{key}' is not in the form T01N R02E S03"
    township, township_dir, range_, range_dir, section_text = match.groups()
    township, range_, section = int(township), int(range_), int(section_text)
    if not 1 <= township <= TOWNSHIP_LIMITS[township_dir]:
        return (
            f"key '{key}': township {township_dir} must be 1-{TOWNSHIP_LIMITS[township_dir]}"
        )
    if not 1 <= range_ <= RANGE_LIMITS[range_dir]:
        return f"key '{key}': range {range_dir} must be 1-{RANGE_LIMITS[range_dir]}"
    if not 1 <= section <= MAX_SECTION_KEY:
        return f"key '{key}': section must be 1-{MAX_SECTION_KEY}"
    # The converter writes the section without extra leading zeros ("S07", "S100"); a key
    # written "S007" would never be found.
    if section_text != f"{section:02d}":
        return f"key '{key}': section must be written S{section:02d}"
    return None


def parse_number(text, name, low, high):
    """The value of `text` as a finite number within [low, high]; raises ValueError."""
    try:
        value = float(text)
    except ValueError:
        raise ValueError(f"{name} '{text}' is not a number") from None
    if not math.isfinite(value):
        raise ValueError(f"{name} '{text}' is not a finite number")
    if not low <= value <= high:
        # Tables kept with west-positive longitudes are common; say so rather than just
        # "out of range".
        hint = " (west longitudes are negative)" if name == "LONGITUDE" and value > 0 else ""
        raise ValueError(f"{name} {text} is outside {low:g} to {high:g}{hint}")
    return value


def read_survey_csv(lines):
    """Rows (key, longitude, latitude) of an agency table given as an iterable of text lines.

    Raises CsvErrors listing every fault found (line numbers count from 1).
    """
    rows, errors, first_line = [], [], {}
    positions = (0, 1, 2)
    first = True
    reader = csv.reader(lines)
    for fields in reader:
        line_no = reader.line_num  # physical line, right even after a quoted line break
        fields = [f.strip() for f in fields]
        if not any(fields):
            continue
        upper = [f.upper() for f in fields]
        if first and "TRS" in upper:
            first = False
            missing = [c for c in COLUMNS if c not in upper]
            if missing:
                errors.append(f"line {line_no}: header lacks column(s) {', '.join(missing)}")
                break
            positions = tuple(upper.index(c) for c in COLUMNS)
            continue
        first = False
        if len(fields) <= max(positions):
            errors.append(f"line {line_no}: expected the columns TRS, LONGITUDE, LATITUDE")
            continue
        key, lon_text, lat_text = (fields[p] for p in positions)
        fault = key_fault(key)
        if fault:
            errors.append(f"line {line_no}: {fault}")
            continue
        try:
            lon = parse_number(lon_text, "LONGITUDE", -180.0, 0.0)
            lat = parse_number(lat_text, "LATITUDE", 0.0, 90.0)
        except ValueError as err:
            errors.append(f"line {line_no}: {err}")
            continue
        if key in first_line:
            errors.append(f"line {line_no}: key {key} repeats line {first_line[key]}")
            continue
        first_line[key] = line_no
        rows.append((key, lon, lat))
    if not rows and not errors:
        errors.append("the table holds no rows")
    if errors:
        raise CsvErrors(errors)
    return rows


# --- The database --------------------------------------------------------------------------


def build_table(rows):
    def build(con):
        con.execute(
            "CREATE TABLE Plss_zorn (TRS TEXT NOT NULL, LONGITUDE REAL NOT NULL,"
            " LATITUDE REAL NOT NULL)"
        )
        con.executemany("INSERT INTO Plss_zorn (TRS, LONGITUDE, LATITUDE) VALUES (?, ?, ?)", rows)
        con.execute("CREATE INDEX Plss_zorn_TRS ON Plss_zorn (TRS)")

    return build


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("-o", "--output", default=DEFAULT_OUTPUT, help="database file to write")
    parser.add_argument("--from-csv", metavar="FILE", help="agency table TRS,LONGITUDE,LATITUDE")
    args = parser.parse_args(argv)

    if args.from_csv:
        try:
            with open(args.from_csv, newline="", encoding="utf-8-sig") as f:
                rows = read_survey_csv(f)
        except CsvErrors as err:
            shown = err.errors[:100]
            for message in shown:
                print(f"{args.from_csv}: {message}", file=sys.stderr)
            if len(err.errors) > len(shown):
                print(f"... and {len(err.errors) - len(shown)} more", file=sys.stderr)
            print(f"nothing written: {len(err.errors)} error(s)", file=sys.stderr)
            return 1
        except (OSError, UnicodeDecodeError) as err:
            print(f"{args.from_csv}: {err}", file=sys.stderr)
            return 1
        info = [("source", "agency survey table"), ("file", os.path.basename(args.from_csv))]
    else:
        rows = list(ideal_rows())
        info = [
            ("source", "ideal survey geometry: 6-mile townships, 1-mile sections"),
            ("initial_point", f"{INITIAL_LATITUDE:.6f} {INITIAL_LONGITUDE:.6f}"),
            ("ellipsoid", "WGS84"),
            ("mile_m", f"{SURVEY_MILE_M:.6f}"),
        ]
    write_lookup_db(args.output, build_table(rows), info)
    print(f"{args.output}: {len(rows)} sections, {os.path.getsize(args.output)} bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
