#!/usr/bin/python3
"""Makes the pictures of the user guide (docs/images) from the real program.

    bash tools/screenshots/session.sh /usr/bin/python3 tools/screenshots/make_screenshots.py \\
        PROGRAM IMAGES_FOLDER
(./build.sh screenshots does this.)

It walks through the guide as a user would: a facility point, a fire, a storm position, an
address list and a converted perimeter, each typed into the real windows, converted, unlocked
and written. Every file the guide says a step writes is checked, so a change that breaks a
step of the guide stops this script; the pictures are taken on the way, in the states the
guide shows.
"""

import pathlib
import subprocess
import sys
import tempfile
import time

from driver import (answer, app_named, click, dialog, extents, field_beside, fill, find, keys,
                    move, pick_file, press, shot, text_of, type_text, window)

# A drawing as Google Earth saves it: one closed ring around a fire north of Tallahassee.
PERIMETER_KML = """<?xml version="1.0" encoding="UTF-8"?>
<kml xmlns="http://www.opengis.net/kml/2.2">
<Document>
<name>Oak Hill perimeter.kml</name>
<Placemark>
<name>Oak Hill perimeter</name>
<Polygon>
<outerBoundaryIs>
<LinearRing>
<coordinates>
-84.5040,30.2530,0 -84.4960,30.2535,0 -84.4950,30.2470,0 -84.5030,30.2460,0 -84.5040,30.2530,0
</coordinates>
</LinearRing>
</outerBoundaryIs>
</Polygon>
</Placemark>
</Document>
</kml>
"""


LINK_QUESTION = "Add Image or Web link?"


class Tour:
    def __init__(self, program, images, work):
        self.images = pathlib.Path(images)
        self.work = pathlib.Path(work)
        self.process = subprocess.Popen([program], cwd=work)
        self.app = app_named("Siteward")
        self.main = window(self.app, "Siteward")

    def picture(self, name, *windows):
        shot(self.images / name, *windows)
        print(f"  {name}")

    def written(self, *names):
        """Fails unless every named file is in the working folder and not empty."""
        for name in names:
            path = self.work / name
            deadline = time.time() + 10
            while not (path.exists() and path.stat().st_size > 0):
                if time.time() > deadline:
                    raise SystemExit(f"the guide's step did not write {name}")
                time.sleep(0.2)

    def open_window(self, button, title):
        press(find(self.main, "push button", button))
        found = window(self.app, title)
        move(title, 0, 0)
        return found

    def converter(self, task):
        press(find(task, "push button", "Coordinate Conversion"))
        found = window(self.app, "Coordinate Conversion")
        move("Coordinate Conversion", extents(task)[2] + 12, 0)
        return found

    def combo(self, root, caption, text):
        fill(find(find(root, "combo box", caption), "text"), text)

    def fire_details(self, task, percent, significant):
        """The fire's area, fuel, cause, percent contained and significance, as the Wildfires
        and the KML conversion windows both take them."""
        fill(find(task, "text", "Area Involved:"), "12.5")
        self.combo(task, "Fuel Type:", "Grass")
        self.combo(task, "Fire Cause:", "lightning")
        fill(find(task, "text", "Percent Contained"), percent)
        click(find(task, "radio button", significant))

    def output(self, task, button, chosen, *expected, questions=()):
        """Presses an output button, chooses the file `chosen` in the working folder, answers
        No to each question, and checks that the `expected` files (or `chosen`) are written."""
        press(find(task, "push button", button))
        pick_file(self.app, str(self.work / chosen))
        for question in questions:
            answer(self.app, "No", question)
        self.written(*(expected or (chosen,)))

    # The windows, in the order of the guide.

    def main_window(self):
        move("Siteward", 0, 0)
        self.picture("main-window.png", self.main)

    def facilities(self):
        fac = self.open_window("Facility and Incidents", "Facilities Management")
        click(find(fac, "radio button", "ICS"))
        self.combo(fac, "Facility/Incident Type:", "Helibase")
        fill(find(fac, "text", "Facility/Incident  Name:"), "Perry Helibase")
        conv = self.converter(fac)
        click(find(conv, "radio button", "D.D"))
        type_text("083" "5822" "30" "1172")  # 83.5822 W, 30.1172 N
        find(conv, "label", "-083.5822")
        self.picture("converter-dd.png", conv)
        press(find(fac, "push button", "Enable File and Shapefile Creation"))
        self.picture("facilities.png", fac, conv)

        press(find(fac, "push button", "Create KML for Google Earth"))
        pick_file(self.app, str(self.work / "pfPerry Helibase.kml"))
        box = dialog(self.app, LINK_QUESTION)
        self.picture("link-question.png", fac)
        press(find(box, "push button", "No"))
        self.written("pfPerry Helibase.kml")

        self.output(fac, "Write to Shapefile (Albers)", "helibases.shp", "pfhelibases.shp",
                    "pfhelibases.shx", "pfhelibases.dbf", "pfhelibases.prj")
        self.output(fac, "Create New Facility File", "helibases.txt", "pfhelibases.txt")
        press(find(conv, "push button", "Close"))
        press(find(fac, "push button", "Exit"))

    def wildfires(self):
        fire = self.open_window("WildFires", "Wildfire Management")
        fill(find(fire, "text", "Fire Name:"), "Oak Hill")
        fill(find(fire, "text", "Incident Number:"), "2026-042")
        click(find(fire, "radio button", "Initial"))
        conv = self.converter(fire)
        move("Coordinate Conversion", 400, 0)

        click(find(conv, "radio button", "DMS.S"))
        type_text("084" "30" "00" "00" "30" "15" "00" "00")  # 84°30'00.00" W, 30°15'00.00" N
        find(conv, "label", "30.2500")
        self.picture("converter-dms.png", conv)

        click(find(conv, "radio button", "TRS"))
        click(find(conv, "radio button", "Township south"))
        fill(field_beside(conv, "Township:"), "01")
        click(find(conv, "radio button", "Range west"))
        fill(field_beside(conv, "Range:"), "01")
        fill(field_beside(conv, "Section:"), "16")
        click(find(conv, "radio button", "NE quarter"))
        press(find(conv, "push button", "Preview TRS"))
        find(conv, "label", "T01S R01W S16 NE1/4")
        self.picture("converter-trs.png", conv)
        press(find(conv, "push button", "Convert"))
        find(conv, "label", "30.4018")

        click(find(conv, "radio button", "USNG / UTM"))
        fill(find(conv, "text", "US National Grid reference, UTM coordinate or latitude and longitude"),
             "16R GU 40550 49133", leave=False)
        keys("Return")
        find(conv, "label", "-084.5000")
        self.picture("converter-usng.png", conv)
        press(find(conv, "push button", "Close"))

        self.fire_details(fire, percent="20", significant="Yes")
        press(find(fire, "push button", "Enable File and Shapefile Creation"))
        find(fire, "push button", "Create KML for Google Earth")
        self.picture("wildfires.png", fire)

        self.output(fire, "Create KML for Google Earth", "pwOak Hill.kml",
                    questions=("Add Current NOAA Southeast Radar and Water Vapor Imagery?",
                               LINK_QUESTION))
        self.output(fire, "Create New Wildfire File", "fires.txt", "pwfires.txt")
        self.output(fire, "Write to Shapefile (Albers)", "fires.shp", "pwfires.shp",
                    "pwfires.dbf", "pwfires.prj")
        press(find(fire, "push button", "Exit"))

    def hurricanes(self):
        storm = self.open_window("Hurricanes", "Hurricanes")
        self.combo(storm, "Storm Name:", "Arthur")
        click(find(storm, "radio button", "Actual Location"))
        hour = find(storm, "scroll bar", "UTC Hour:")
        x, y, width, height = extents(hour)
        subprocess.run(["xdotool", "mousemove", "--sync", str(x + width - 6), str(y + height // 2),
                        "click", "--repeat", "15", "--delay", "80", "1"], check=True)
        find(storm, "label", "15:00")
        fill(find(storm, "text", "Hurricane Winds (MPH): Use SliderBar or Enter in Box"), "100")
        find(storm, "label", "Category 2")
        conv = self.converter(storm)
        move("Coordinate Conversion", 400, 0)
        click(find(conv, "radio button", "D.D"))
        type_text("080" "2500" "25" "5000")  # 80.25 W, 25.5 N
        find(conv, "label", "25.5000")
        press(find(conv, "push button", "Close"))
        press(find(storm, "push button", "Enable File and Shapefile Creation"))
        self.picture("hurricanes.png", storm)

        self.output(storm, "Create KML for Google Earth", "phArthur.kml",
                    questions=("Add Latest GOES Wind Shear Imagery", LINK_QUESTION))
        self.output(storm, "Create New Hurricane File", "arthur.txt", "pharthur.txt")
        # Creating the text file empties the name and the coordinates for the next position.
        press(find(storm, "push button", "Exit"))

    def addresses(self):
        where = self.open_window("Facility Addresses", "Google Earth Address Matching")
        click(find(where, "radio button", "Tarn Facility"))
        fill(find(where, "text", "Facility Name:"), "Station 12")
        self.combo(where, "Facility Type:", "Tower")
        fill(find(where, "text", "Street:"), "100 Main St")
        fill(find(where, "text", "Zip Code:"), "32301")
        press(find(where, "push button", "Search For City By Zip Code"))
        city = find(where, "text", "City/Town:")
        deadline = time.time() + 10
        while text_of(city) != "Tallahassee":
            if time.time() > deadline:
                raise SystemExit("the ZIP search did not fill in the city")
            time.sleep(0.2)
        press(find(where, "push button", "Preview KML File Data"))
        answer(self.app, "No", LINK_QUESTION)
        find(where, "push button", "Create KML")
        self.picture("addresses.png", where)
        self.output(where, "Create KML", "paStation 12.kml")
        press(find(where, "push button", "Exit"))

    def kml_conversion(self):
        (self.work / "Oak Hill perimeter.kml").write_text(PERIMETER_KML, encoding="utf-8")
        kml = self.open_window("Convert KML to Fire Shapefile", "Wildfire Management")
        click(find(kml, "radio button", "Wildfire"))
        self.combo(kml, "Feature Type:", "Fire Perimeter")
        fill(find(kml, "text", "Fire Name"), "Oak Hill")
        fill(find(kml, "text", "Incident Number:"), "2026-042")
        click(find(kml, "radio button", "Update"))
        self.fire_details(kml, percent="60", significant="No")
        press(find(kml, "push button", "Enable KML to Shapefile Conversion"))
        press(find(kml, "push button", "Convert KML to Shapefile"))
        pick_file(self.app, str(self.work / "Oak Hill perimeter.kml"))
        answer(self.app, "No", "Build all Locations as Points?")
        box = dialog(self.app, "Initial Shape Type is Polygon - Build as Line Instead?")
        self.picture("kml-shape-question.png", kml)
        press(find(box, "push button", "No"))
        answer(self.app, "OK", "KML Converted to Polygon Shapefile")
        self.written("swOakHillper.shp", "swOakHillper.shx", "swOakHillper.dbf", "swOakHillper.prj")
        find(kml, "label", contains="Drawn perimeter:")
        self.picture("kml-conversion.png", kml)
        press(find(kml, "push button", "Exit"))

    def quit(self):
        press(find(self.main, "push button", "Exit"))
        self.process.wait(timeout=20)


def main():
    program, images = str(pathlib.Path(sys.argv[1]).resolve()), sys.argv[2]
    pathlib.Path(images).mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="siteward-screenshots-") as scratch:
        # A third argument keeps the files the tour writes there, to look at.
        work = sys.argv[3] if len(sys.argv) > 3 else scratch
        pathlib.Path(work).mkdir(parents=True, exist_ok=True)
        tour = Tour(program, images, work)
        try:
            for step in (tour.main_window, tour.facilities, tour.wildfires, tour.hurricanes,
                         tour.addresses, tour.kml_conversion):
                print(step.__name__)
                step()
            tour.quit()
        finally:
            if tour.process.poll() is None:
                failed = pathlib.Path(tempfile.gettempdir()) / "siteward-screenshots-failed.png"
                subprocess.run(["import", "-window", "root", str(failed)], check=False)
                print(f"the screen when it stopped: {failed}")
                tour.process.terminate()


if __name__ == "__main__":
    main()
