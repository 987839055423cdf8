#!/usr/bin/python3
"""The command line as a user runs it, with no display: the gear's SVG and DXF
and the scene pictures read back by other programs (ezdxf, rsvg-convert), the
data file against the dialogue's, exit codes and messages, and no file left
behind by a failure.

usage: gear_files_test.py RACKGEN DIALOGUE_DRIVER WORK_DIR"""
import json
import math
import os
import re
import subprocess
import sys
import unittest

import ezdxf
import numpy
from ezdxf.path import make_path
from shapely.geometry import LinearRing, Point

RACKGEN, DRIVER, WORK = sys.argv[1], sys.argv[2], sys.argv[3]
ENV = {k: v for k, v in os.environ.items() if k != "DISPLAY"}


def run(*args, cwd=WORK, env=ENV, quiet=True):
    """rackgen with --quiet unless asked: standard error then holds only what went wrong."""
    quiet_option = ["--quiet"] if quiet else []
    return subprocess.run([RACKGEN, *quiet_option, *args], cwd=cwd, env=env, capture_output=True, text=True,
                          timeout=60)


# A number written as negative zero: "-0", "-0.0000", "-0.000000", "-0e0".
NEGATIVE_ZERO = re.compile(r"(?<![\w.])-0(\.0*)?(e[-+]?\d+)?(?![\d.])")


def path(name):
    return os.path.join(WORK, name)


def read_flank(name):
    """The data file's flank points, module units, gear centre at (0, -r)."""
    with open(path(name), "rb") as f:
        lines = f.read().split(b"\n")
    points = []
    for line in lines[1:]:
        if not line:
            break
        x, y = line.split(b",")
        points.append((float(x), float(y)))
    return points


def svg_path(text):
    """The path's commands, each its letter and numbers, and the whole path text."""
    d = re.search(r'<path [^>]*d="([^"]*)"', text).group(1)
    return [(c, [float(v) for v in args.split()]) for c, args in re.findall(r"([MLAZ])([^MLAZ]*)", d)], d


def outline_ring(polyline, module):
    """A DXF outline, its arcs expanded, module units."""
    return LinearRing([(p.x / module, p.y / module) for p in make_path(polyline).flattening(distance=1e-7)])


def read_ppm(data):
    """(width, height, rgb bytes) of a binary PPM."""
    fields = data.split(maxsplit=4)
    return int(fields[1]), int(fields[2]), fields[4]


class GearFiles(unittest.TestCase):
    # z = 8 with x = 0.3 is undercut; z = 3 with x = 0.12 has the longest tooth; module 2.5 scales.
    CASES = [(8, "0.3", 2.5), (20, "0", 1.0), (3, "0.12", 1.0)]

    def test_outline_files_read_back(self):
        for z, x, module in self.CASES:
            with self.subTest(z=z, x=x):
                stem = f"gear_z{z}"
                r = run("-z", str(z), "-x", x, "--flank", stem + ".txt", "--gear", stem + ".dxf", "--module",
                        str(module), "--gear", stem + ".svg", "--module", str(module))
                self.assertEqual(r.returncode, 0, r.stderr)
                self.assertEqual(r.stdout + r.stderr, "")

                doc = ezdxf.readfile(path(stem + ".dxf"))
                auditor = doc.audit()
                self.assertEqual((len(auditor.errors), len(auditor.fixes)), (0, 0))
                self.assertEqual(doc.header["$INSUNITS"], 4)
                entities = list(doc.modelspace())
                self.assertEqual([e.dxftype() for e in entities], ["LWPOLYLINE"])
                polyline = entities[0]
                self.assertTrue(polyline.closed)
                dxf = [tuple(p) for p in polyline.get_points("xy")]
                # Closed once: no vertex repeats its neighbour, the last is not the first.
                for a, b in zip(dxf, dxf[1:] + dxf[:1]):
                    self.assertGreater(math.dist(a, b), 1e-6 * module)

                # The data file's flank points lie on the curves the outline follows, on
                # every tooth (tooth k turned clockwise by k·2π/z, the centre at the origin),
                # within its tolerance of 0.001 mm; the last one was moved to the tip circle
                # along its chord.
                ring = outline_ring(polyline, module)
                flank = read_flank(stem + ".txt")[:-1]
                for k in range(z):
                    a = 2 * math.pi * k / z
                    for fx, fy in flank:
                        fy += z / 2
                        q = Point(fx * math.cos(a) + fy * math.sin(a), -fx * math.sin(a) + fy * math.cos(a))
                        self.assertLess(ring.distance(q), 0.0011 / module, f"tooth {k} flank point {q}")

                # The SVG draws the DXF's sides: its lines, and its arcs about the centre in
                # the direction of their bulges (the y axis turned down).
                with open(path(stem + ".svg")) as f:
                    svg = f.read()
                self.assertEqual(svg.count("<path"), 1)
                commands, d = svg_path(svg)
                self.assertTrue(d.rstrip().endswith("Z"))
                self.assertIn('fill="none"', svg)
                self.assertEqual(len(commands), len(dxf) + 1)
                bulges = [b for _, _, b in polyline.get_points("xyb")]
                for i, (letter, numbers) in enumerate(commands[:-1]):
                    self.assertLess(math.dist((numbers[-2], -numbers[-1]), dxf[i]), 1e-9)
                    if i == 0:
                        continue
                    b = bulges[i - 1]
                    self.assertEqual(letter, "A" if b else "L")
                    if b:
                        self.assertAlmostEqual(numbers[0], math.hypot(*dxf[i]), delta=2e-6)
                        self.assertEqual(numbers[3:5], [abs(b) > 1, b > 0])
                size = re.search(r'width="([\d.]+)mm" height="([\d.]+)mm" viewBox="([-\d. ]+)"', svg)
                self.assertEqual(float(size.group(1)), float(size.group(3).split()[2]))

                # Drawn by another renderer: the outline shows round a white middle.
                png = subprocess.run(["rsvg-convert", "-w", "200", "-h", "200", "-b", "white", path(stem + ".svg")],
                                     capture_output=True, timeout=60, check=True).stdout
                ppm = subprocess.run(["convert", "png:-", "ppm:-"], input=png, capture_output=True, timeout=60,
                                     check=True).stdout
                w, h, rgb = read_ppm(ppm)
                dark = sum(1 for i in range(0, len(rgb), 3) if rgb[i] < 128)
                self.assertGreater(dark, 200)
                middle = (h // 2 * w + w // 2) * 3
                self.assertEqual(rgb[middle:middle + 3], b"\xff\xff\xff")

    def test_pointed_tooth_ends_where_its_flanks_meet(self):
        r = run("-z", "3", "-x", "0.3", "--flank", "pointed.txt", "--gear", "pointed.dxf")
        self.assertEqual(r.returncode, 0, r.stderr)
        meeting = float(re.search(r"flanks meet at radius ([\d.]+)\n$", r.stderr).group(1))
        polyline = ezdxf.readfile(path("pointed.dxf")).modelspace()[0]
        outline = [tuple(p) for p in polyline.get_points("xy")]
        # The warning's radius is where the data file's chords meet.
        self.assertAlmostEqual(max(math.hypot(*p) for p in outline), meeting, delta=1e-4)
        ring = outline_ring(polyline, 1.0)
        for fx, fy in read_flank("pointed.txt"):
            q = (fx, fy + 1.5)
            if math.hypot(*q) < meeting - 1e-3:
                self.assertLess(ring.distance(Point(q)), 0.0011)
        # One simple loop: no two sides that do not share a vertex cross.
        def cross(o, a, b):
            return (a[0] - o[0]) * (b[1] - o[1]) - (a[1] - o[1]) * (b[0] - o[0])
        sides = list(zip(outline, outline[1:] + outline[:1]))
        for i, (a, b) in enumerate(sides):
            for c, d in sides[i + 2:len(sides) - (1 if i == 0 else 0)]:
                crosses = cross(a, b, c) * cross(a, b, d) < 0 and cross(c, d, a) * cross(c, d, b) < 0
                self.assertFalse(crosses, f"{a}-{b} crosses {c}-{d}")

    def test_standard_gear_and_module(self):
        r = run("-z", "12", "-x", "0.5", "--gear", "std.dxf", "--standard", "--module", "3", "--gear", "shifted.dxf",
                "--gear", "inch.dxf", "--diametral-pitch", "10", "--units", "in", "--gear", "inch.svg", "--units",
                "in", "--diametral-pitch", "10")
        self.assertEqual(r.returncode, 0, r.stderr)
        std = ezdxf.readfile(path("std.dxf")).modelspace()[0]
        shifted = ezdxf.readfile(path("shifted.dxf")).modelspace()[0]
        radius = lambda e: max(math.hypot(*p) for p in e.get_points("xy"))
        self.assertAlmostEqual(radius(std), 3 * (6 + 1), places=5)  # tip radius of x = 0, module 3
        self.assertAlmostEqual(radius(shifted), 6 + 1.5, places=5)
        # 10 teeth per inch, drawn in inches: the tip radius (z/2 + 1 + x)/P inches.
        inch = ezdxf.readfile(path("inch.dxf"))
        self.assertEqual(inch.header["$INSUNITS"], 1)
        self.assertAlmostEqual(radius(inch.modelspace()[0]), 0.75, places=6)
        with open(path("inch.svg")) as f:
            svg = f.read()
        self.assertRegex(svg, r'<svg [^>]*width="1\.[0-9]+in" height="1\.[0-9]+in"')
        commands, _ = svg_path(svg)
        self.assertAlmostEqual(max(math.hypot(*v[-2:]) for c, v in commands if v), 0.75, places=6)

    def test_settings_before_the_outputs_are_defaults(self):
        # Before the first output a setting starts every output of its kind; after one it sets only that one.
        r = run("-z", "8", "-x", "0.3", "--scene", "4", "--step", "300", "--zoom", "15", "--size", "300x200",
                "--standard", "--tolerance", "0.01", "--render", "d1.png", "--gear", "d1.dxf", "--render", "d2.png",
                "--gear", "d2.dxf", "--tolerance", "0.001")
        self.assertEqual((r.returncode, r.stderr), (0, ""))
        r = run("-z", "8", "-x", "0.3", "--render", "e.png", "--scene", "4", "--step", "300", "--zoom", "15",
                "--size", "300x200", "--gear", "e.dxf", "--standard", "--tolerance", "0.01")
        self.assertEqual((r.returncode, r.stderr), (0, ""))
        read = lambda name: open(path(name), "rb").read()
        self.assertEqual((read("d1.png"), read("d2.png"), read("d1.dxf")),
                         (read("e.png"), read("e.png"), read("e.dxf")))
        self.assertNotEqual(read("d2.dxf"), read("e.dxf"))

    def test_vector_pictures_hold_what_is_in_view(self):
        # Status 0 under the sanitizer build's leak checker too: the font library's caches are given back.
        r = run("-z", "100", "--render", "whole.svg", "--scene", "7", "--render", "zoomed.svg", "--scene", "7",
                "--zoom", "-30", "--render", "whole.pdf", "--scene", "7", "--size", "600x400")
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertLess(os.path.getsize(path("zoomed.svg")), os.path.getsize(path("whole.svg")) / 2)
        subprocess.run(["rsvg-convert", "-o", path("zoomed.png"), path("zoomed.svg")], timeout=60, check=True)
        with open(path("whole.pdf"), "rb") as f:
            self.assertEqual(f.read(5), b"%PDF-")

    def test_cutter(self):
        # The specified cutter given value by value, or profile D with its dedendum and tip radius set
        # back, writes the very bytes of no cutter option.
        def outputs(stem):
            return ["--flank", stem + ".txt", "--gear", stem + ".svg", "--gear", stem + ".dxf",
                    "--render", stem + ".png", "--scene", "3", "--step", "60"]
        runs = {"plain": ["-z", "8", "-x", "0.3"],
                "given": ["-z", "8", "--pressure-angle", "20", "--addendum", "1", "--dedendum", "1.25",
                          "--tip-radius", "0", "-x", "0.3"],
                "reset": ["--profile", "D", "-z", "8", "-x", "0.3", "--dedendum", "1.25", "--tip-radius", "0"]}
        for stem, args in runs.items():
            r = run(*args, *outputs(stem))
            self.assertEqual((r.returncode, r.stderr), (0, ""), stem)
        for ending in (".txt", ".svg", ".dxf", ".png"):
            with open(path("plain" + ending), "rb") as f:
                plain = f.read()
            for stem in ("given", "reset"):
                with open(path(stem + ending), "rb") as f:
                    self.assertEqual(f.read(), plain, stem + ending)

        # Another cutter cuts another gear: tip circle z/2 + ha + x, root circle z/2 - hf + x. A
        # --module before the outputs scales every gear, one after a --gear only that gear.
        r = run("--module", "2", "-z", "12", "-x", "0.5", "--profile", "B", "--addendum", "0.8", "--gear",
                "b2.dxf", "--gear", "b3.dxf", "--module", "3")
        self.assertEqual(r.returncode, 0, r.stderr)
        for name, module in (("b2.dxf", 2), ("b3.dxf", 3)):
            radii = [math.hypot(*p) for p in ezdxf.readfile(path(name)).modelspace()[0].get_points("xy")]
            self.assertAlmostEqual(max(radii), module * (6 + 0.8 + 0.5), places=5)
            self.assertAlmostEqual(min(radii), module * (6 - 1.25 + 0.5), places=5)

    def test_pinion_cutter_and_ring(self):
        # The published examples: a gear and a ring, each cut by a pinion-type cutter.
        for args, root, distance, angle in (
                (["-z", "12", "--cutter-teeth", "25", "--cutter-shift", "0.2"], "9.4854", "18.6927", "21.5642"),
                (["-z", "50", "-x", "0.5", "--cutter-teeth", "20", "--internal"], "53.4061", "15.4530", "24.1968")):
            r = run(*args, "--info")
            self.assertEqual(r.returncode, 0, r.stderr)
            self.assertRegex(r.stdout, rf"root diameter +{root} mm\n(.*\n)*cutting centre distance +{distance} mm\n"
                             rf"cutting pressure angle +{angle} deg\n")

        # A ring's file: its teeth, between its tip and root circles (the tip of z = 24 lies inside its
        # base circle, where the flanks end radially; outline_cut_test holds the flanks against a cut
        # ring), and its rim, given or the root diameter and six modules.
        for z, x, cutter, module, tolerance, rim in ((50, 0.5, 20, 2.0, 0.001, 130.0), (24, 0.0, 12, 1.0, 0.01, None)):
            with self.subTest(z=z):
                stem = f"ring{z}"
                rim_option = ["--rim-diameter", str(rim)] if rim else []
                r = run("-z", str(z), "-x", str(x), "--cutter-teeth", str(cutter), "--internal", "--module",
                        str(module), "--tolerance", str(tolerance), *rim_option, "--gear", stem + ".dxf", "--gear",
                        stem + ".svg", "--info", stem + ".json", "--flank", stem + "_flank.json", quiet=False)
                self.assertEqual(r.returncode, 0, r.stderr)
                with open(path(stem + ".json")) as f:
                    data = json.load(f)
                tip, root = data["tip_diameter"] / 2, data["root_diameter"] / 2
                self.assertAlmostEqual(tip, module * (z / 2 - 1 + x), places=9)
                rim = rim or 2 * root + 6 * module
                self.assertIn(f"{stem}.svg: the ring, rim diameter {rim:g} mm, module {module:g} mm, tolerance "
                              f"{tolerance:g} mm\n", r.stderr)
                # The flank of the ring's tooth, from its root circle in to its tip circle.
                with open(path(stem + "_flank.json")) as f:
                    flank = json.load(f)
                self.assertEqual((flank["cutter_teeth"], flank["cutter_shift"], flank["internal"]), (cutter, 0, True))
                ends = [math.hypot(px, py + module * z / 2) for px, py in flank["points"][::len(flank["points"]) - 1]]
                self.assertAlmostEqual(ends[0], root, places=6)
                self.assertAlmostEqual(ends[1], tip, places=6)
                doc = ezdxf.readfile(path(stem + ".dxf"))
                auditor = doc.audit()
                self.assertEqual((len(auditor.errors), len(auditor.fixes)), (0, 0))
                teeth, rim_line = doc.modelspace()
                self.assertTrue(teeth.closed and rim_line.closed)
                rim_points = rim_line.get_points("xyb")
                self.assertEqual([b for _, _, b in rim_points], [1, 1])
                for px, py, _ in rim_points:
                    self.assertAlmostEqual(math.hypot(px, py), rim / 2, delta=1e-6)
                self.assertEqual(len(teeth) % z, 0)
                slack = tolerance + 1e-6
                radii = [math.hypot(p.x, p.y) for p in make_path(teeth).flattening(distance=1e-7)]
                self.assertAlmostEqual(min(radii), tip, delta=slack)
                self.assertAlmostEqual(max(radii), root, delta=slack)

                # Drawn by another renderer: the ring's material filled by the even-odd rule, the middle empty.
                with open(path(stem + ".svg")) as f:
                    svg = f.read()
                self.assertEqual(svg.count("<path"), 1)
                self.assertIn('fill-rule="evenodd"', svg)
                png = subprocess.run(["rsvg-convert", "-w", "200", "-h", "200", "-b", "white", path(stem + ".svg")],
                                     capture_output=True, timeout=60, check=True).stdout
                w, h, rgb = read_ppm(subprocess.run(["convert", "png:-", "ppm:-"], input=png, capture_output=True,
                                                    timeout=60, check=True).stdout)
                width = float(re.search(r'width="([\d.]+)mm"', svg).group(1))
                middle = (h // 2 * w + w // 2) * 3
                in_rim = middle + round((root + rim / 2) / 2 * w / width) * 3
                self.assertEqual(rgb[middle:middle + 3], b"\xff\xff\xff")
                self.assertLess(max(rgb[in_rim:in_rim + 3]), 0xf0)

    def test_gear_data(self):
        keys = {"unit", "teeth", "shift", "module", "pressure_angle", "addendum", "dedendum", "tip_radius",
                "tooth_addendum", "tooth_dedendum", "flank_depth", "min_teeth_textbook", "min_shift_textbook",
                "pitch_diameter", "base_diameter", "tip_diameter", "root_diameter", "pitch", "base_pitch",
                "tooth_thickness", "tip_thickness", "pointed", "pointed_diameter", "undercut",
                "min_shift_no_undercut", "min_teeth_no_undercut", "form_diameter", "span_teeth", "span",
                "pin_diameter", "over_pins", "between_pins", "cutter_kind", "cutter_teeth", "cutter_shift",
                "cutting_centre_distance", "cutting_pressure_angle", "internal", "thickness_allowance",
                "tooth_thickness_limits", "span_limits", "over_pins_limits", "chordal_thickness", "chordal_height",
                "chordal_thickness_limits"}
        # The table on standard output and the JSON in one run; the pointed gear has no tip thickness.
        r = run("-z", "10", "-x", "0.7", "--module", "2", "--info", "--info", "ten.json")
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertRegex(r.stdout, r"tip diameter +26\.8000 mm\n")
        # The cutter's heights said as the cutter's, the tooth's own beside them.
        self.assertRegex(r.stdout, r"cutter addendum +2\.0000 mm\n(.*\n)*tooth addendum +3\.4000 mm\n")
        # Why undercut starts where it does: the sharp corner cuts from 1.25 modules, the textbooks count
        # from 1 (17.1 teeth; a least shift of 0.181 for z = 14, rounded up).
        r = run("-z", "14", "--info")
        self.assertRegex(r.stdout, r"least teeth without undercut +21\.3716\n(.*\n)*cutter flank depth +1\.2500 mm"
                         r"(.*\n)+least teeth, textbook count +17\.0973 .*\nleast shift, textbook count +0\.1812 ")
        with open(path("ten.json")) as f:
            data = json.load(f)
        self.assertEqual(set(data), keys)
        self.assertEqual((data["pointed"], data["tip_thickness"], data["module"], data["unit"]), (True, 0, 2, "mm"))
        # A setting after --info sets that output only, as after any output: 20 teeth at 10 teeth per inch
        # have a pitch diameter of exactly 2 in, that is a module of 2.54 mm.
        r = run("-z", "20", "--info", "--diametral-pitch", "10", "--units", "in", "--info=p10.json",
                "--diametral-pitch", "10", "--units", "in", "--pin", "5", "--info", "m254.json", "--module", "2.54")
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertRegex(r.stdout, r"module m +0\.1000 in\n(.*\n)*pitch \(reference\) diameter +2\.0000 in\n")
        self.assertNotIn(" mm", r.stdout)
        with open(path("p10.json")) as f:
            inches = json.load(f)
        with open(path("m254.json")) as f:
            millimetres = json.load(f)
        self.assertEqual((inches["unit"], inches["pitch_diameter"]), ("in", 2))
        self.assertAlmostEqual(inches["pin_diameter"], 5 / 25.4, places=9)
        self.assertEqual((millimetres["unit"], millimetres["pitch_diameter"], millimetres["module"]), ("mm", 50.8, 2.54))
        self.assertAlmostEqual(inches["tip_diameter"] * 25.4, millimetres["tip_diameter"], places=8)
        # A mate adds its own data and the pair's; the published pair m = 3, z = 12/24, x = 0.6/0.36.
        r = run("-z", "12", "-x", "0.6", "--module", "3", "--mate", "24", "--mate-shift", "0.36", "--info=pair.json")
        self.assertEqual(r.returncode, 0, r.stderr)
        with open(path("pair.json")) as f:
            data = json.load(f)
        self.assertEqual(set(data), keys | {"mate", "pair"})
        self.assertEqual(set(data["mate"]), keys - {"unit"})
        self.assertAlmostEqual(data["pair"]["centre_distance"], 56.4999, places=4)
        self.assertAlmostEqual(data["pair"]["working_pressure_angle"], 26.0886, places=4)
        self.assertEqual((data["span_limits"], data["pair"]["normal_backlash"]), (None, None))
        # The same pair mounted at 56.4999 mm (the mate's shift solved), thinned, ± 0.020 mm: limits as
        # [upper, lower], backlash as [least, greatest], the gears' angular backlash in degrees.
        r = run("-z", "12", "-x", "0.6", "--module", "3", "--mate", "24", "--centre-distance", "56.4999",
                "--thickness-allowance=-0.080,-0.130", "--mate-thickness-allowance=-0.090,-0.150",
                "--centre-distance-tolerance", "0.020", "--info=thin.json")
        self.assertEqual(r.returncode, 0, r.stderr)
        with open(path("thin.json")) as f:
            data = json.load(f)
        pair = data["pair"]
        self.assertAlmostEqual(data["mate"]["shift"], 0.36, places=4)
        figures = [*data["span_limits"], *data["mate"]["span_limits"], *pair["normal_backlash"],
                   pair["least_recommended_backlash"]]
        for got, published in zip(figures, [23.8013, 23.7543, 32.6600, 32.6036, 0.1422, 0.2807, 0.1188]):
            self.assertAlmostEqual(got, published, delta=6e-5)
        self.assertEqual((data["thickness_allowance"], pair["centre_distance_tolerance"]), ([-0.08, -0.13], 0.02))
        self.assertGreater(pair["angular_backlash"][0], pair["mate_angular_backlash"][0])
        # Too little backlash is said; none at all, the gears bind.
        r = run("-z", "12", "-x", "0.6", "--module", "3", "--mate", "24", "--mate-shift", "0.36",
                "--centre-distance", "56.45", "--info=bind.json")
        self.assertRegex(r.stderr, r"the pair's backlash: the gears bind")
        r = run("-z", "12", "--thickness-allowance=-2,-3", "--info=gone.json")
        self.assertEqual(r.returncode, 1)
        self.assertIn("the gear's tooth thinned by -2 mm cannot be cut", r.stderr)
        # The published pinion inside a ring (a cutter of 10 teeth): the table's figures (inv α_w unrounded),
        # and with the ring's shift 0.516 a centre distance of exactly 13.2 mm and no involute interference.
        internal = ["-z", "16", "--cutter-teeth", "10", "--module", "3", "--mate", "24", "--mate-internal"]
        for shift, figures, angle, involute in (
                ("0.5", r"working pressure angle +31\.0936 deg\ncentre distance +13\.1683 mm\n"
                        r"(.*\n)*tip diameter after the reduction +54\.0000 mm\n"
                        r"mate's tip diameter after it +69\.0000 mm\ncontact ratio +1\.6795\n"
                        r"(.*\n)*involute interference +yes\n", 31.09362, True),
                ("0.516", r"centre distance +13\.2000 mm\n(.*\n)*involute interference +no\n", 31.3209, False)):
            r = run(*internal, "--mate-shift", shift, "--info", "--info=ring.json")
            self.assertEqual(r.returncode, 0, r.stderr)
            self.assertRegex(r.stdout, figures)
            with open(path("ring.json")) as f:
                pair = json.load(f)["pair"]
            self.assertLessEqual({"internal", "trochoid_interference", "trimming_interference"}, set(pair))
            self.assertAlmostEqual(pair["working_pressure_angle"], angle, places=4)
            self.assertEqual((pair["internal"], pair["involute_interference"]), (True, involute))
        # A cutter with no clearance left: written, with the warning.
        r = run("-z", "20", "--mate", "30", "--addendum", "1.4", "--dedendum", "1", "--info=dig.json")
        self.assertEqual((r.returncode, r.stderr),
                         (0, "rackgen: the gear and its mate interfere: each gear's tip digs into the other's root\n"))
        # A pair that cannot mesh without backlash is refused, and nothing is written.
        r = run("-z", "20", "-x", "-0.5", "--mate", "20", "--mate-shift", "-0.5", "--info=none.json")
        self.assertEqual(r.returncode, 1)
        self.assertIn("cannot be a pair: their shifts are too far below zero", r.stderr)
        self.assertFalse(os.path.exists(path("none.json")))

    def test_helical_pair(self):
        # The published normal-system pair: m_n = 3, β = 30°, z = 12/60, x_n = 0.09809/0; its centre distance
        # of exactly 125 mm holds only with the shift taken as x·m_n.
        r = run("--module", "3", "--helix-angle", "30", "-z", "12", "-x", "0.09809", "--mate", "60", "--face-width",
                "20", "--info", "helical.json")
        self.assertEqual(r.returncode, 0, r.stderr)
        with open(path("helical.json")) as f:
            data = json.load(f)
        gear, mate, pair = data, data["mate"], data["pair"]
        self.assertLessEqual({"transverse_module", "base_helix_angle", "lead", "face_width", "overlap_ratio",
                              "normal_tooth_thickness", "transverse_tooth_thickness"}, set(gear) & set(mate))
        self.assertEqual((gear["helix_angle"], gear["hand"], mate["helix_angle"], mate["hand"]),
                         (30, "right", 30, "left"))
        self.assertAlmostEqual(gear["transverse_pressure_angle"], 22.79588, delta=1e-5)
        self.assertAlmostEqual(gear["transverse_module"], 3 / math.cos(math.radians(30)), places=8)
        self.assertAlmostEqual(gear["base_helix_angle"], 28.02432, delta=1e-5)
        self.assertAlmostEqual(gear["lead"], math.pi * gear["pitch_diameter"] / math.tan(math.radians(30)), places=6)
        self.assertAlmostEqual(gear["normal_tooth_thickness"], 3 * (math.pi / 2 + 2 * 0.09809 * math.tan(
            math.radians(20))), places=8)
        self.assertAlmostEqual(gear["transverse_tooth_thickness"], gear["normal_tooth_thickness"] / math.cos(
            math.radians(30)), places=8)
        self.assertAlmostEqual(pair["working_pressure_angle"], 23.1126, delta=5e-5)
        self.assertAlmostEqual(pair["centre_distance"], 125.000, delta=5e-4)
        for g in (gear, mate):
            g["reduced_tip_diameter"] = g["tip_diameter"] - 2 * pair["tip_reduction"]
        for key, figures in (("pitch_diameter", (41.569, 207.846)), ("base_diameter", (38.322, 191.611)),
                             ("reduced_tip_diameter", (48.154, 213.842)), ("root_diameter", (34.658, 200.346))):
            self.assertAlmostEqual(gear[key], figures[0], delta=5e-4, msg=key)
            self.assertAlmostEqual(mate[key], figures[1], delta=5e-4, msg=key)
        self.assertAlmostEqual(pair["contact_ratio"], 1.294, delta=5e-4)
        self.assertAlmostEqual(pair["overlap_ratio"], 1.061, delta=5e-4)
        self.assertAlmostEqual(pair["total_contact_ratio"], pair["contact_ratio"] + pair["overlap_ratio"], places=8)
        # A helix angle of 0 is the spur gear, to the byte.
        outputs = {}
        for stem, helix in (("spur", []), ("beta0", ["--helix-angle", "0"])):
            r = run(*helix, "-z", "12", "-x", "0.3", "--tip-radius", "0.38", "--mate", "30", "--module", "2",
                    "--info", "--info", f"{stem}.json", "--gear", f"{stem}.svg", "--flank", f"{stem}.csv")
            self.assertEqual(r.returncode, 0, r.stderr)
            outputs[stem] = [r.stdout]
            for suffix in (".json", ".svg", ".csv"):
                with open(path(stem + suffix), "rb") as f:
                    outputs[stem].append(f.read())
        self.assertEqual(outputs["spur"], outputs["beta0"])

    def test_clips_of_a_scene_playing_and_japanese_legends(self):
        # One frame a step, as --render draws each: the GIF's frame 10 is the PNG of step 10, pixel for
        # pixel; the videos hold the frames at the size asked for.
        r = run("-z", "8", "--scene", "4", "--zoom", "-8", "--size", "200x160", "--steps", "0:20", "--fps", "10",
                "--render", "c.gif", "--render", "c.mp4", "--render", "c.webm", "--render", "c10.png", "--step", "10",
                quiet=False)
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertIn("c.gif: scene 4, steps 0 to 20, zoom -8, 200\u00d7160, 10 frames a second\n", r.stderr)
        for name, codec in (("c.gif", "gif"), ("c.mp4", "h264"), ("c.webm", "vp9")):
            probe = subprocess.run(["ffprobe", "-v", "error", "-show_entries", "stream=codec_name,width,height",
                                    "-of", "csv=p=0", path(name)], capture_output=True, text=True)
            self.assertEqual(probe.stdout.strip(), f"{codec},200,160", name)
        frames = lambda *args: subprocess.run(["ffmpeg", "-v", "error", *args, "-f", "rawvideo", "-pix_fmt",
                                               "rgb24", "-"], capture_output=True).stdout
        gif = frames("-i", path("c.gif"))
        self.assertEqual(len(gif), 21 * 200 * 160 * 3)
        self.assertEqual(gif[10 * 200 * 160 * 3:11 * 200 * 160 * 3], frames("-i", path("c10.png")))
        # What a clip cannot be: refused with the reason, nothing written.
        r = run("-z", "8", "--size", "201x160", "--render", "odd.mp4")
        self.assertEqual((r.returncode, r.stderr), (1, 'rackgen: cannot write "odd.mp4": a video\'s width and '
                                                       "height must be even\n"))
        self.assertFalse(os.path.exists(path("odd.mp4")))
        # --lang ja: the legend in Japanese, nothing else of the frame changed.
        r = run("-z", "8", "--scene", "3", "--render", "en.png", "--render", "ja.png", "--lang", "ja")
        self.assertEqual(r.returncode, 0, r.stderr)
        en, ja = frames("-i", path("en.png")), frames("-i", path("ja.png"))
        rows = [y for y in range(800) if en[y * 2400:(y + 1) * 2400] != ja[y * 2400:(y + 1) * 2400]]
        self.assertTrue(rows and max(rows) < 100, rows[-1:] if rows else "no change")
        for bad in (["--steps", "5:2"], ["--steps", "0:10001"], ["--fps", "0"], ["--lang", "fr"]):
            self.assertEqual(run("-z", "8", *bad, "--render", "bad.gif").returncode, 2, bad)

    def test_flank_points_as_csv_and_json(self):
        # A name ending .csv or .json, in any case, holds the data file's points in mm at the module, the gear
        # centre at (0, -m·z/2); any other name holds the data file.
        r = run("-z", "8", "-x", "0.3", "--profile", "B", "--module", "2.5", "--flank", "pts.CSV", "--flank",
                "pts.Json", "--flank", "pts.csv.txt", "--flank", "pts.txt")
        self.assertEqual((r.returncode, r.stderr), (0, ""))
        with open(path("pts.CSV"), encoding="utf-8") as f:
            self.assertEqual(f.readline(), "x_mm,y_mm\n")
        points = numpy.loadtxt(path("pts.CSV"), delimiter=",", skiprows=1)
        with open(path("pts.Json")) as f:
            data = json.load(f)
        self.assertEqual(data, {"z": 8, "x": 0.3, "module": 2.5, "pressure_angle": 20, "addendum": 2.5,
                                "dedendum": 3.125, "tip_radius": 0.75, "points": points.tolist()})
        numpy.testing.assert_allclose(points, 2.5 * numpy.array(read_flank("pts.txt")), rtol=0, atol=1.3e-6)
        radii = numpy.hypot(points[:, 0], points[:, 1] + 2.5 * 4)
        self.assertAlmostEqual(radii.min(), 2.5 * (4 - 1.25 + 0.3), places=9)
        self.assertAlmostEqual(radii.max(), 2.5 * (4 + 1 + 0.3), places=9)
        with open(path("pts.csv.txt"), "rb") as a, open(path("pts.txt"), "rb") as b:
            self.assertEqual(a.read(), b.read())

    def test_each_file_said_in_one_line(self):
        # What each file holds, in the order written; the table on standard output is no file.
        # A still scene shows no step, whichever was asked.
        r = run("-z", "8", "-x", "-0.25", "--mate", "20", "--module", "2", "--render", "s3.pdf", "--scene", "4",
                "--step", "300", "--zoom", "15", "--render", "s7.svg", "--scene", "7", "--step", "5", "--gear", "said.dxf", "--diametral-pitch", "10", "--units", "in",
                "--gear", "said.svg", "--standard", "--info", "--info", "said.json", "--pin", "3.5", "--flank",
                "said.csv", "--flank", "said.txt", quiet=False)
        self.assertEqual((r.returncode, r.stderr),
                         (0, "s3.pdf: scene 4, step 300, zoom 15, 800\u00d7800\n"
                             "s7.svg: scene 7, step 0 (5 asked), zoom 0, 800\u00d7800\n"
                             "said.dxf: the gear and its mate, module 2.54 mm, in inches, tolerance 0.001 mm\n"
                             "said.svg: the standard gear (x = 0), module 2 mm, tolerance 0.001 mm\n"
                             "said.json: the data of the gear, its mate and the pair, module 2 mm, pins 3.5 mm\n"
                             "said.csv: the flank's points of z = 8, x = -0.25, module 2 mm\n"
                             "said.txt: the tooth data file of z = 8, x = -0.25, in module units\n"))

    def test_no_negative_zero(self):
        # Shifts just below zero, whose figures round to zero, and coordinates on the axes.
        for x in ("-1e-300", "-0", "-0.0000001"):
            outputs = ["--info", "--info", "nz.json", "--flank", "nz.csv", "--flank", "nz_points.json", "--gear",
                       "nz.svg", "--gear", "nz.dxf", "--gear", "nz_in.svg", "--units", "in"]
            for z in ("5", "12"):
                r = run("-z", z, "-x", x, "--mate", z, "--mate-shift", x, *outputs, quiet=False)
                self.assertEqual(r.returncode, 0, r.stderr)
                texts = {"standard output": r.stdout, "standard error": r.stderr}
                for name in ("nz.json", "nz.csv", "nz_points.json", "nz.svg", "nz.dxf", "nz_in.svg"):
                    with open(path(name)) as f:
                        texts[name] = f.read()
                for name, text in texts.items():
                    self.assertIsNone(NEGATIVE_ZERO.search(text), f"z = {z}, x = {x}: {name}")
        # A cutter said back in a refusal.
        r = run("-z", "20", "--pressure-angle", "50", "--tip-radius", "-0", "--gear", "a.svg")
        self.assertEqual(r.returncode, 2)
        self.assertIn("tip radius 0)", r.stderr)

    def test_flank_file_is_the_dialogues(self):
        r = run("--teeth", "8", "--shift", "0.3", "--flank", "cli.txt")
        self.assertEqual(r.returncode, 0, r.stderr)
        with open(path("dialogue.in"), "w") as f:
            f.write("8\n0.3\n1\ndialogue.txt\n")
        with open(path("dialogue.in")) as stdin:
            subprocess.run([DRIVER, path("dialogue.state")], stdin=stdin, cwd=WORK, env=dict(ENV, LC_ALL="C"),
                           capture_output=True, timeout=60, check=True)
        with open(path("cli.txt"), "rb") as a, open(path("dialogue.txt"), "rb") as b:
            self.assertEqual(a.read(), b.read())


class Usage(unittest.TestCase):
    def assert_bad_usage(self, reason, *args):
        r = run(*args)
        self.assertEqual(r.returncode, 2, args)
        first, rest = r.stderr.split("\n", 1)
        self.assertIn(reason, first)
        self.assertEqual(rest, "rackgen: try 'rackgen --help'\n")

    def test_bad_usage(self):
        self.assert_bad_usage('unknown option "--colour"', "-z", "20", "--colour", "red", "--gear", "a.svg")
        self.assert_bad_usage('--teeth must be a whole number, not "20.5"', "-z", "20.5", "--gear", "a.svg")
        self.assert_bad_usage('--scene must be 1 to 8, not "9"', "-z", "20", "--render", "a.png", "--scene", "9")
        self.assert_bad_usage("--teeth Z", "--gear", "a.svg")
        self.assert_bad_usage("must end in .svg or .dxf", "-z", "20", "--gear", "a.png")
        self.assert_bad_usage("--module must come before the outputs or follow the --gear, --solid, --info or "
                              "--sheet it sets", "-z", "20", "--render", "a.png", "--module", "2")
        self.assert_bad_usage("--tolerance must come before the outputs or follow the --gear or --solid it sets",
                              "-z", "20", "--info", "--tolerance", "0.01")
        self.assert_bad_usage("--pin must come before the outputs or follow the --info or --sheet it sets", "-z", "20",
                              "--gear", "a.svg", "--pin", "2")
        self.assert_bad_usage('--units must be mm or in, not "cm"', "-z", "20", "--gear", "a.svg", "--units", "cm")
        self.assert_bad_usage('--diametral-pitch must be a number of teeth per inch from 0.00254 to 25400 (a module '
                              'of 0.001 to 10000 mm), not "30000"', "-z", "20", "--diametral-pitch", "30000",
                              "--gear", "a.svg")
        self.assert_bad_usage("--scene must come before the outputs or follow the --render it sets", "-z", "20",
                              "--render", "a.png", "--gear", "a.svg", "--scene", "2")
        self.assert_bad_usage("cannot be used: the pressure angle must be from 10 to 35 degrees", "-z", "20",
                              "--pressure-angle", "50", "--gear", "a.svg")
        self.assert_bad_usage('--profile must be A, B, C or D, not "E"', "-z", "20", "--profile", "E")
        self.assert_bad_usage('--tip-radius must be a number, not "sharp"', "-z", "20", "--tip-radius", "sharp")
        # Every number is decimal, as --teeth's: no hexadecimal, inf or nan.
        for option, word in (("--shift", "0x1p-2"), ("--shift", "inf"), ("--pressure-angle", "nan"),
                             ("--teeth", "0x8"), ("--mate-shift", "-Infinity")):
            self.assert_bad_usage(f'{option} must be a {"whole " if option == "--teeth" else ""}number, not "{word}"',
                                  "-z", "20", "--mate", "40", option, word, "--gear", "a.svg")
        self.assert_bad_usage('--module must be a number of millimetres from 0.001 to 10000, not "0x10"', "-z", "20",
                              "--module", "0x10", "--gear", "a.svg")
        self.assert_bad_usage('--tolerance must be a number of millimetres from 1e-05 to 1, not "0"', "-z", "20",
                              "--gear", "a.svg", "--tolerance", "0")
        self.assert_bad_usage('--size must be WxH', "-z", "20", "--render", "a.png", "--size", "800")
        self.assert_bad_usage("-x needs a value", "-z", "20", "--gear", "a.svg", "-x")
        self.assert_bad_usage('"-x=0.5": write -x 0.5 or --shift=0.5', "-z", "20", "-x=0.5", "--gear", "a.svg")
        self.assert_bad_usage('"-z=20": write -z 20 or --teeth=20', "-z=20", "--gear", "a.svg")
        self.assert_bad_usage('"-h=1": -h takes no value; write -h or --help', "-h=1")
        self.assert_bad_usage("--mate-shift needs --mate Z2", "-z", "20", "--mate-shift", "0.2", "--gear", "a.svg")
        # The pinion-type cutter and the ring: the cutter's range, a tip radius the rack's tip land holds
        # but a cutter of 8 teeth's does not, what needs a cutter or a ring, and a rim inside the root circle.
        pinion = ["-z", "50", "--cutter-teeth", "20"]
        self.assert_bad_usage('--cutter-teeth must be a whole number from 6 to 400, not "3"', "-z", "20",
                              "--cutter-teeth", "3", "--gear", "a.svg")
        self.assert_bad_usage('--cutter-shift must be a number from -1 to 1, not "2"', *pinion, "--cutter-shift", "2",
                              "--gear", "a.svg")
        self.assertEqual(run("-z", "12", "--tip-radius", "0.4", "--info").returncode, 0)
        self.assert_bad_usage("cannot be used: the tip radius is too large for the cutter's tip land", "-z", "12",
                              "--cutter-teeth", "8", "--tip-radius", "0.4", "--gear", "a.svg")
        self.assert_bad_usage("--cutter-shift needs --cutter-teeth ZC", "-z", "20", "--cutter-shift", "0.2", "--info")
        self.assert_bad_usage("--internal needs --cutter-teeth ZC", "-z", "50", "--internal", "--gear", "a.svg")
        self.assert_bad_usage("--mate-internal needs --cutter-teeth ZC", "-z", "16", "--mate", "24", "--mate-internal",
                              "--gear", "a.svg")
        self.assert_bad_usage("--mate-internal needs --mate Z2: the ring's number of teeth", *pinion,
                              "--mate-internal", "--gear", "a.svg")
        self.assert_bad_usage("--internal and --mate-internal together: the gear and its mate cannot both be rings",
                              *pinion, "--internal", "--mate", "70", "--mate-internal", "--gear", "a.svg")
        self.assert_bad_usage("--rim-diameter needs --internal or --mate-internal", *pinion, "--gear", "a.svg",
                              "--rim-diameter", "70")
        self.assert_bad_usage("--rim-diameter must come before the outputs or follow the --gear or --solid it sets", *pinion,
                              "--internal", "--info", "--rim-diameter", "70")
        self.assert_bad_usage('--rim-diameter 53.4 of "a.dxf" must be larger than the ring\'s root diameter, 53.4061 mm',
                              *pinion, "-x", "0.5", "--internal", "--gear", "a.svg", "--gear", "a.dxf",
                              "--rim-diameter", "53.4")
        self.assert_bad_usage('--rim-diameter 82 of "a.svg" must be larger than the ring\'s root diameter, 82.0909 mm',
                              "-z", "16", "--cutter-teeth", "10", "--module", "3", "--mate", "24", "--mate-shift",
                              "0.516", "--mate-internal", "--gear", "a.svg", "--rim-diameter", "82")
        # The helix: its range, its hand, and no helical pinion-type cutter.
        self.assert_bad_usage('--helix-angle must be a number from 0 to 45 degrees, not "50"', "-z", "20",
                              "--helix-angle", "50", "--gear", "a.svg")
        self.assert_bad_usage('--hand must be left or right, not "up"', "-z", "20", "--helix-angle", "20", "--hand",
                              "up", "--gear", "a.svg")
        self.assert_bad_usage("--helix-angle with --cutter-teeth, --internal or --mate-internal", *pinion,
                              "--helix-angle", "20", "--gear", "a.svg")
        # Allowances: two limits in order, millimetres at the module given before the outputs.
        self.assert_bad_usage("--thickness-allowance: the limits are reversed", "-z", "20",
                              "--thickness-allowance=-0.13,-0.08", "--gear", "a.svg")
        self.assert_bad_usage('--thickness-allowance must be UPPER,LOWER in mm', "-z", "20",
                              "--thickness-allowance", "0.1", "--gear", "a.svg")
        self.assert_bad_usage("millimetres at one module", "-z", "20", "--thickness-allowance=-0.08,-0.13",
                              "--gear", "a.svg", "--module", "3")
        self.assert_bad_usage("--centre-distance and --centre-distance-tolerance need --mate Z2", "-z", "20",
                              "--centre-distance-tolerance", "0.02", "--gear", "a.svg")
        self.assertEqual([n for n in os.listdir(WORK) if n.startswith("a.")], [])

    def test_help_and_version(self):
        for option in ("--help", "-h"):
            r = run(option)
            self.assertEqual((r.returncode, r.stderr), (0, ""))
            self.assertIn("--render FILE", r.stdout)
            self.assertIn("D  20 degrees, 1, 1.40, 0.39", r.stdout)
            self.assertIn("step K of that scene (0 ... 10000, default 0)", r.stdout)
            self.assertIn("(-300 ... 300, default 0)", r.stdout)
        r = run("--version")
        self.assertEqual(r.returncode, 0)
        self.assertRegex(r.stdout, r"^rackgen \d+\.\d+(\.\d+)?\nCopyright 2026 rackgen developers\nMIT License")

    def test_refused_gear_and_unwritable_file(self):
        # The dialogue's reasons, word for word after the option.
        r = run("-z", "2", "--gear", "refused.svg")
        self.assertEqual(r.returncode, 1)
        self.assertEqual(r.stderr, "rackgen: --teeth 2 is refused: the number of teeth must be a whole number "
                         "from 3 to 1000\n")
        r = run("-z", "20", "-x", "1.3", "--gear", "refused.svg")
        self.assertEqual(r.returncode, 1)
        self.assertIn("--shift 1.3 is refused: with z = 20 the shift coefficient must be", r.stderr)
        r = run("-z", "8", "-x", "1", "--profile", "A", "--gear", "refused.svg")  # the specified cutter cuts it
        self.assertEqual(r.returncode, 1)
        self.assertIn("--shift 1 is refused: z = 8 with x = 1 cannot be generated: the cutter's tip arc", r.stderr)
        r = run("-z", "20", "--cutter-teeth", "20", "--internal", "--gear", "refused.svg")
        self.assertEqual((r.returncode, r.stderr), (1, "rackgen: --teeth 20 is refused: the cutter is too large for "
                                                       "the ring: it must have fewer teeth than the ring's 20\n"))
        # Flanks meeting on the root circle leave no tooth; a tooth too small for its module has no outline.
        before = sorted(os.listdir(WORK))
        r = run("-z", "3", "-x", "-0.249999", "--gear", "refused.svg")
        self.assertEqual(r.returncode, 1)
        self.assertIn("its flanks meet at the root circle, so the tooth has no body", r.stderr)
        r = run("-z", "3", "-x", "-0.2499", "--module", "0.001", "--gear", "refused.dxf")
        self.assertEqual(r.returncode, 1)
        self.assertIn('cannot write "refused.dxf": the tooth is too small to draw at that module', r.stderr)
        self.assertEqual(sorted(os.listdir(WORK)), before)

        # A directory where the file should be: nothing written, nothing left beside it.
        os.makedirs(path("taken.dxf"), exist_ok=True)
        if os.path.exists(path("fine.svg")):
            os.remove(path("fine.svg"))
        before = sorted(os.listdir(WORK))
        r = run("-z", "20", "--gear", "taken.dxf", "--gear", "fine.svg")
        self.assertEqual(r.returncode, 1)
        self.assertIn('cannot write "taken.dxf": Is a directory', r.stderr)
        self.assertEqual(sorted(os.listdir(WORK)), sorted(before + ["fine.svg"]))

    def test_any_name_the_system_takes(self):
        # A name of 255 bytes at the end of a 4090-byte path: written whole, nothing left beside it.
        name = "flank" + "n" * 250
        folder_length = 4090 - len(name) - 1
        parts = ["d" * 200] * (folder_length // 201)
        parts.append("e" * (folder_length - 201 * len(parts)))
        folder = "/".join(parts)
        os.makedirs(path(folder), exist_ok=True)
        long_name = folder + "/" + name
        self.assertEqual(len(long_name), 4090)
        r = run("-z", "20", "--flank", long_name, "--flank", "short.txt")
        self.assertEqual((r.returncode, r.stderr), (0, ""))
        work = os.open(WORK, os.O_RDONLY)  # the long name is too long below WORK's own path
        self.addCleanup(os.close, work)
        opener = lambda name, flags: os.open(name, flags, dir_fd=work)
        with open(long_name, "rb", opener=opener) as written, open(path("short.txt"), "rb") as short:
            self.assertEqual(written.read(), short.read())
        self.assertEqual(os.listdir(path(folder)), [name])

        # Written again, the file keeps its mode; a device is written in place.
        os.chmod(long_name, 0o640, dir_fd=work)
        r = run("-z", "30", "--flank", long_name)
        self.assertEqual(r.returncode, 0)
        self.assertEqual(os.stat(long_name, dir_fd=work).st_mode & 0o777, 0o640)
        r = subprocess.run([RACKGEN, "-z", "20", "--flank", "/dev/stdout"], cwd=WORK, env=ENV,
                           capture_output=True, timeout=60)
        with open(path("short.txt"), "rb") as short:
            self.assertEqual((r.returncode, r.stdout), (0, short.read()))


if __name__ == "__main__":
    os.makedirs(WORK, exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=2)
