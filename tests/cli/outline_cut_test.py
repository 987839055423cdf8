#!/usr/bin/python3
"""The whole gear's outline against a gear cut by simulation: a disc of the tip
radius, less the cutter at a thousand or so places rolled over the pitch circle
(shapely), compared about the first tooth with the outline read back from the
DXF (ezdxf, arcs expanded). On the outline itself: no side crosses another, the
root and tip circles, the tooth thickness on the reference circle. A helical
gear's transverse section is cut by the normal rack seen in that plane:
stretched by 1/cos β along its rolling line, which in transverse modules
(m_n/cos β) is the normal rack with its heights times cos β.

usage: outline_cut_test.py RACKGEN WORK_DIR"""
import math
import os
import subprocess
import sys
import time
import unittest

import ezdxf
from ezdxf.path import make_path
from shapely import affinity
from shapely.geometry import LineString, MultiPolygon, Point, Polygon, box
from shapely.ops import unary_union

RACKGEN, WORK = sys.argv[1], sys.argv[2]
ENV = {k: v for k, v in os.environ.items() if k != "DISPLAY"}

PI = 3.14159265358979  # the program's π
# The cutter rackgen teaches with: pressure angle (degrees), addendum, dedendum, tip radius.
TAUGHT = (20.0, 1.0, 1.25, 0.0)
# How far the simulated gear may stand from the exact form, module units: its
# arcs are chords of 2e-7, its cutter's steps leave less than 3e-5.
SIMULATION_ERROR = 5e-5
# The coordinates' last digit, mm.
ROUNDING = 1e-6
# Roll per simulated place: the cutter's corners move about 1.5 modules per unit
# of roll, and close the gaps between places (below); its flanks' envelope
# needs at least 600 places.
ROLL_STEP = 0.002
LEAST_PLACES = 600


def cutter_tooth(cutter, x, cos_beta):
    """One cutter tooth about x = 0 of the rack frame (rolling line y = 0,
    reference line y = x·cos β), from its tip line to its root line, which the
    gear's tip circle only touches: a convex polygon, each rounded corner in 400
    chords. Built in the normal plane, then its heights times cos β."""
    angle, ha, hf, rho = cutter
    alpha = PI / (180 / angle)
    tip, root = x - hf, x + ha

    def flank(y):  # the right flank: half a pitch wide on the reference line
        return PI / 4 - (x - y) * math.tan(alpha)

    right = [(flank(tip), tip)]
    if rho > 0:
        cx, cy = flank(tip + rho) - rho / math.cos(alpha), tip + rho
        a = [-math.pi / 2 + (math.pi / 2 - alpha) * i / 400 for i in range(401)]
        right = [(cx + rho * math.cos(v), cy + rho * math.sin(v)) for v in a]
    right.append((flank(root), root))
    return Polygon([(-px, py * cos_beta) for px, py in reversed(right)] + [(px, py * cos_beta) for px, py in right])


def arc_points(radius, a, b):
    """Points of the arc from polar angle a to b (from +y towards +x), chords within 2e-7."""
    n = max(8, math.ceil((b - a) / math.sqrt(8 * 2e-7 / radius)))
    return [(radius * math.sin(a + (b - a) * i / n), radius * math.cos(a + (b - a) * i / n)) for i in range(n + 1)]


def simulate(cutter, z, x, cos_beta, wedge, blank_x=None):
    """The gear cut within the wedge (polar angles a, b about the centre at the
    origin; +y through the first tooth's pitch point), (transverse) module units,
    from a blank of the shift blank_x (x: the gear's own). The cutter
    stands at roll t turned by t about the centre, its rolling line touching the
    pitch circle where it stood at t = 0 moved on by r·t. A sharp corner jumps
    from place to place; the hull of its small neighbourhood at two places in
    turn fills the notch it would leave between them."""
    alpha = PI / (180 / cutter[0])
    r = z / 2
    ra, rf = r + (cutter[1] + (x if blank_x is None else blank_x)) * cos_beta, r + (x - cutter[2]) * cos_beta
    a, b = wedge
    gear = Polygon([(0, 0)] + arc_points(ra, a, b))
    bounds = gear.envelope
    # A point at polar angle φ is within the cutter's reach while |φ - t| < acos(rf / ra).
    reach = math.acos(rf / ra)
    places = max(LEAST_PLACES, math.ceil((b - a + 2 * reach) / ROLL_STEP))
    rolls = [a - reach + (b - a + 2 * reach) * i / (places - 1) for i in range(places)]
    tooth = cutter_tooth(cutter, x, cos_beta)
    tip = (x - cutter[2]) * cos_beta
    corners = [tooth.intersection(box(px - 0.01, py, px + 0.01, py + 0.01))
               for px, py in tooth.exterior.coords[:-1] if cutter[3] == 0 and abs(py - tip) < 1e-12]
    first = x * math.tan(alpha) - PI / 4  # the centre of cutter tooth 0 (x·cos β·tan α_t = x·tan α_n)
    # Teeth farther from the point of rolling than the annulus between root and tip circle reaches.
    span = math.sqrt(ra * ra - rf * rf) + PI

    def placed(shape, k, t):
        moved = affinity.translate(shape, first + k * PI - r * t, r)
        return affinity.rotate(moved, -t, origin=(0, 0), use_radians=True)

    cuts, previous = [], {}
    for t in rolls:
        current = {}
        for k in range(math.floor((r * t - span - first) / PI), math.ceil((r * t + span - first) / PI) + 1):
            cut = placed(tooth, k, t)
            if not cut.intersects(bounds):
                continue
            cuts.append(cut)
            current[k] = [placed(corner, k, t) for corner in corners]
            cuts.extend(MultiPolygon([p, q]).convex_hull for p, q in zip(previous.get(k, []), current[k]))
        previous = current
        if len(cuts) > 300:
            gear, cuts = gear.difference(unary_union(cuts)), []
    gear = gear.difference(unary_union(cuts))
    # A tooth undercut through from both sides falls off: the gear keeps the rest.
    return max(getattr(gear, "geoms", [gear]), key=lambda part: part.area)


def read_outline(name, module):
    """The outline of a DXF, its arcs expanded, module units."""
    entities = list(ezdxf.readfile(name).modelspace())
    assert [e.dxftype() for e in entities] == ["LWPOLYLINE"] and entities[0].closed
    points = make_path(entities[0]).flattening(distance=1e-7 * module)
    return Polygon([(p.x / module, p.y / module) for p in points])


class OutlineAgainstCut(unittest.TestCase):
    # name, cutter, z, x, module, tolerance (mm), where the tooth ends: on the tip
    # circle, where its flanks meet, or where its undercuts meet (the top falls off)
    CASES = [
        ("undercut", TAUGHT, 8, 0.3, 2.0, 0.001, "tip"),
        ("deep undercut", TAUGHT, 5, 0.0, 1.0, 0.001, "tip"),
        ("pointed", TAUGHT, 6, 0.6, 1.0, 0.001, "point"),
        ("negative, module 10", TAUGHT, 200, -0.5, 10.0, 0.001, "tip"),
        ("undercut through", TAUGHT, 8, -0.9, 1.0, 0.001, "cut off"),
        ("coarse", TAUGHT, 20, 0.0, 1.0, 0.02, "tip"),
        ("A, undercut", (20.0, 1.0, 1.25, 0.38), 12, 0.0, 1.0, 0.001, "tip"),
        ("D, negative", (20.0, 1.0, 1.40, 0.39), 30, -0.3, 1.0, 0.001, "tip"),
        # Shifted so far that the tip arc's centre stands above the rolling line.
        ("D, pointed", (20.0, 1.0, 1.40, 0.39), 12, 1.1, 1.0, 0.001, "point"),
        ("14.5°, undercut", (14.5, 1.0, 1.25, 0.0), 20, 0.0, 1.0, 0.001, "tip"),
        ("25°, pointed", (25.0, 1.0, 1.25, 0.3), 7, 0.6, 1.0, 0.001, "point"),
        # The dedendum 1 - 0.8 equals the tip radius: the tip arc's centre runs on the rolling line.
        ("stub, module 5", (20.0, 0.8, 1.0, 0.2), 15, 0.8, 5.0, 0.001, "tip"),
    ]
    # Helical gears, the same and then the helix angle and the options before the cutter's: the module,
    # cutter and shift the normal plane's. The published pinion; undercut by a rounded tip; the tip
    # arc's ellipse at its flattest; a profile given after the helix keeps it, and the left hand; pointed.
    HELICAL = [
        ("helical 30°", TAUGHT, 12, 0.09809, 3.0, 0.001, "tip", 30.0),
        ("helical 20°, undercut", (20.0, 1.0, 1.25, 0.38), 8, 0.0, 1.0, 0.001, "tip", 20.0),
        ("helical 45°, module 2", (20.0, 1.0, 1.25, 0.3), 20, 0.5, 2.0, 0.001, "tip", 45.0),
        ("helical 15°, D, left", (20.0, 1.0, 1.40, 0.39), 15, -0.3, 1.0, 0.001, "tip", 15.0, "--hand", "left",
         "--profile", "D"),
        ("helical 35°, pointed", (20.0, 1.0, 1.25, 0.1), 5, 0.9, 1.0, 0.001, "point", 35.0),
        # The tip arc's ellipse curves most at its lowest point, radius ρ/cos β about a centre
        # ρ·sin²β/cos β above its own: where the rolling line passes between the two, the roll at
        # which a point of the arc cuts runs back near the lowest point (the tip line 0.390 below
        # the rolling line, the ellipse's centre 0.061 below, that centre of curvature 0.049 above).
        ("helical 30°, tip arc about the rolling line", (20.0, 1.0, 1.25, 0.38), 20, 0.8, 1.0, 0.001, "tip", 30.0),
        ("helical 45°, tip arc about the rolling line", (20.0, 1.0, 1.25, 0.38), 40, 0.6, 1.0, 0.001, "tip", 45.0),
    ]

    def outline_file(self, name, cutter, z, x, module, tolerance, helix, allowance=None):
        dxf = os.path.join(WORK, name.replace(" ", "_").replace(",", "").replace("°", "") + ".dxf")
        angle, addendum, dedendum, tip_radius = cutter
        helix = ["--helix-angle", str(helix[0]), *helix[1:]] if helix else []
        # Allowances are millimetres at the gear's module, given before the outputs.
        module_first = ["--module", str(module)] if allowance else []
        command = [RACKGEN, *module_first, *helix, "-z", str(z), "-x", str(x), "--pressure-angle", str(angle), "--addendum",
                   str(addendum), "--dedendum", str(dedendum), "--tip-radius", str(tip_radius), "--gear", dxf,
                   "--module", str(module), "--tolerance", str(tolerance)]
        if allowance:
            command.append(f"--thickness-allowance={allowance[0]},{allowance[1]}")
        r = subprocess.run(command, env=ENV, capture_output=True, text=True, timeout=60)
        self.assertEqual(r.returncode, 0, r.stderr)
        return dxf

    def test_outline_follows_the_cut_gear(self):
        for case in self.CASES + self.HELICAL:
            with self.subTest(case[0]):
                self.check(*case)

    # A gear thinned by its allowances is written at the middle of its limits:
    # cut with the cutter fed in to x + E/(2·m·tan α), E the mean allowance, from
    # the nominal blank.
    def test_thinned_gear_is_cut_with_the_cutter_fed_in(self):
        self.check("thinned", TAUGHT, 12, 0.6, 3.0, 0.001, "tip", allowance=(-0.080, -0.130))

    def check(self, name, cutter, z, x, module, tolerance, end, *helix, allowance=None):
        started = time.monotonic()
        # Transverse modules, and the transverse pressure angle.
        cos_beta = math.cos(PI / (180 / helix[0])) if helix else 1.0
        unit = module / cos_beta
        outline = read_outline(self.outline_file(name, cutter, z, x, module, tolerance, helix, allowance), unit)
        self.assertTrue(outline.is_valid, "sides cross")
        alpha = math.atan(math.tan(PI / (180 / cutter[0])) / cos_beta)
        blank_x = x
        if allowance:
            x += sum(allowance) / 2 / (2 * module * math.tan(PI / (180 / cutter[0])))
        r = z / 2
        ra, rf = r + (cutter[1] + blank_x) * cos_beta, r + (x - cutter[2]) * cos_beta
        slack = (tolerance + ROUNDING) / unit

        # The root and tip circles.
        self.assertAlmostEqual(outline.exterior.distance(Point(0, 0)), rf, delta=slack)
        top = max(math.hypot(*p) for p in outline.exterior.coords)
        if end == "tip":
            self.assertAlmostEqual(top, ra, delta=slack)
        else:
            self.assertLess(top, ra - 0.01)

        # On the reference circle the first tooth's left flank stands on +y and its
        # right flank π/2 + 2x·cos β·tan α further on. One pitch about the first
        # tooth, from space middle to space middle:
        psi = (PI / 2 + 2 * x * cos_beta * math.tan(alpha)) / r
        wedge = (psi / 2 - PI / z, psi / 2 + PI / z)
        if end != "cut off":
            circle = LineString(arc_points(r, *wedge))
            crossings = sorted(math.atan2(p.x, p.y) for p in outline.exterior.intersection(circle).geoms)
            self.assertEqual(len(crossings), 2)
            self.assertAlmostEqual(r * crossings[0], 0, delta=slack / math.cos(alpha))
            self.assertAlmostEqual(r * (crossings[1] - crossings[0]), r * psi,
                                   delta=2 * slack / math.cos(alpha))

        cut = simulate(cutter, z, x, cos_beta, wedge, blank_x)
        mine = outline.intersection(Polygon([(0, 0)] + arc_points(2 * ra, *wedge)))
        distance = mine.boundary.hausdorff_distance(cut.boundary)
        print(f"\n  {name}: {distance:.6f} module units = {distance * unit:.6f} mm from the cut gear "
              f"(tolerance {tolerance} mm), {time.monotonic() - started:.1f} s", end="", file=sys.stderr)
        self.assertLess(distance, slack + SIMULATION_ERROR)


if __name__ == "__main__":
    os.makedirs(WORK, exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=2)
