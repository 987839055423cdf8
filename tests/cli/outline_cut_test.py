#!/usr/bin/python3
"""The whole gear's outline against a gear cut by simulation: a disc of the tip
radius, less the cutter at a thousand or so places rolled over the pitch circle
(shapely), compared about the first tooth with the outline read back from the
DXF (ezdxf, arcs expanded); the same for pinion-type cutters rolled round an
external gear or inside a ring. On the outline itself: no side crosses
another, the root and tip circles, the tooth thickness on the reference circle.

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


def cutter_tooth(cutter, x):
    """One cutter tooth about x = 0 of the rack frame (rolling line y = 0,
    reference line y = x), from its tip line to its root line, which the gear's
    tip circle only touches: a convex polygon, each rounded corner in 400 chords."""
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
    return Polygon([(-px, py) for px, py in reversed(right)] + right)


def arc_points(radius, a, b):
    """Points of the arc from polar angle a to b (from +y towards +x), chords within 2e-7."""
    n = max(8, math.ceil((b - a) / math.sqrt(8 * 2e-7 / radius)))
    return [(radius * math.sin(a + (b - a) * i / n), radius * math.cos(a + (b - a) * i / n)) for i in range(n + 1)]


def simulate(cutter, z, x, wedge):
    """The gear cut within the wedge (polar angles a, b about the centre at the
    origin; +y through the first tooth's pitch point), module units. The cutter
    stands at roll t turned by t about the centre, its rolling line touching the
    pitch circle where it stood at t = 0 moved on by r·t. A sharp corner jumps
    from place to place; the hull of its small neighbourhood at two places in
    turn fills the notch it would leave between them."""
    alpha = PI / (180 / cutter[0])
    r = z / 2
    ra, rf = r + cutter[1] + x, r - cutter[2] + x
    a, b = wedge
    gear = Polygon([(0, 0)] + arc_points(ra, a, b))
    bounds = gear.envelope
    # A point at polar angle φ is within the cutter's reach while |φ - t| < acos(rf / ra).
    reach = math.acos(rf / ra)
    places = max(LEAST_PLACES, math.ceil((b - a + 2 * reach) / ROLL_STEP))
    rolls = [a - reach + (b - a + 2 * reach) * i / (places - 1) for i in range(places)]
    tooth = cutter_tooth(cutter, x)
    tip = x - cutter[2]
    corners = [tooth.intersection(box(px - 0.01, py, px + 0.01, py + 0.01))
               for px, py in tooth.exterior.coords[:-1] if cutter[3] == 0 and abs(py - tip) < 1e-12]
    first = x * math.tan(alpha) - PI / 4  # the centre of cutter tooth 0
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

    def outline_file(self, name, cutter, z, x, module, tolerance):
        dxf = os.path.join(WORK, name.replace(" ", "_").replace(",", "") + ".dxf")
        angle, addendum, dedendum, tip_radius = cutter
        command = [RACKGEN, "-z", str(z), "-x", str(x), "--pressure-angle", str(angle), "--addendum",
                   str(addendum), "--dedendum", str(dedendum), "--tip-radius", str(tip_radius), "--gear", dxf,
                   "--module", str(module), "--tolerance", str(tolerance)]
        r = subprocess.run(command, env=ENV, capture_output=True, text=True, timeout=60)
        self.assertEqual(r.returncode, 0, r.stderr)
        return dxf

    def test_outline_follows_the_cut_gear(self):
        for name, cutter, z, x, module, tolerance, end in self.CASES:
            with self.subTest(name):
                started = time.monotonic()
                outline = read_outline(self.outline_file(name, cutter, z, x, module, tolerance), module)
                self.assertTrue(outline.is_valid, "sides cross")
                alpha = PI / (180 / cutter[0])
                r = z / 2
                ra, rf = r + cutter[1] + x, r - cutter[2] + x
                slack = (tolerance + ROUNDING) / module  # module units

                # The root and tip circles.
                self.assertAlmostEqual(outline.exterior.distance(Point(0, 0)), rf, delta=slack)
                top = max(math.hypot(*p) for p in outline.exterior.coords)
                if end == "tip":
                    self.assertAlmostEqual(top, ra, delta=slack)
                else:
                    self.assertLess(top, ra - 0.01)

                # On the reference circle the first tooth's left flank stands on +y and its
                # right flank π/2 + 2x·tan α further on. One pitch about the first tooth,
                # from space middle to space middle:
                psi = (PI / 2 + 2 * x * math.tan(alpha)) / r
                wedge = (psi / 2 - PI / z, psi / 2 + PI / z)
                if end != "cut off":
                    circle = LineString(arc_points(r, *wedge))
                    crossings = sorted(math.atan2(p.x, p.y) for p in outline.exterior.intersection(circle).geoms)
                    self.assertEqual(len(crossings), 2)
                    self.assertAlmostEqual(r * crossings[0], 0, delta=slack / math.cos(alpha))
                    self.assertAlmostEqual(r * (crossings[1] - crossings[0]), r * psi,
                                           delta=2 * slack / math.cos(alpha))

                cut = simulate(cutter, z, x, wedge)
                mine = outline.intersection(Polygon([(0, 0)] + arc_points(2 * ra, *wedge)))
                distance = mine.boundary.hausdorff_distance(cut.boundary)
                print(f"\n  {name}: {distance:.6f} module units = {distance * module:.6f} mm from the cut gear "
                      f"(tolerance {tolerance} mm), {time.monotonic() - started:.1f} s", end="", file=sys.stderr)
                self.assertLess(distance, slack + SIMULATION_ERROR)


def inverse_involute(v):
    """The angle whose involute tan a - a is v (Newton's method from a cube root's start)."""
    a = (3 * v) ** (1 / 3)
    for _ in range(30):
        a -= (math.tan(a) - a - v) / math.tan(a) ** 2
    return a


def pinion_tooth(alpha, hf, zc, xc, low):
    """One tooth of a pinion-type cutter of zc teeth and shift xc, its centre at the origin and the tooth
    on +y: involute flanks from its base circle (radial below it, down to radius low) to its tip circle
    zc/2 + hf + xc, sharp corners, and the tip arc between them. Points as (radius, polar angle from +y
    towards +x), and the corners' angle."""
    rb, tip = zc / 2 * math.cos(alpha), zc / 2 + hf + xc
    half = (PI / 2 + 2 * xc * math.tan(alpha)) / zc + math.tan(alpha) - alpha  # on the base circle

    def angle(radius):
        a = math.acos(min(1, rb / radius))
        return half - (math.tan(a) - a)

    radii = sorted({low + (tip - low) * i / 800 for i in range(801)} | ({rb} if low < rb else set()))
    right = [(radius, angle(radius)) for radius in radii]
    land = [(tip, angle(tip) * (2 * i / 40 - 1)) for i in range(1, 40)]  # the tip arc between the corners
    return [(radius, -a) for radius, a in right] + land + right[::-1], angle(tip)


def simulate_pinion(cutter, z, x, internal, wedge):
    """The gear (or the ring's space, the hole in the blank) cut by a pinion-type cutter within the wedge,
    module units, centre at the origin, +y through the first tooth's left flank on the reference circle.
    The cutter's centre stands at the cutting centre distance a0 on the line of centres at polar angle
    beta; its pitch circle rolls on the gear's (outside it, or inside the ring), so its tooth 0 points
    (1 ± z/zc)·(beta - s) further on than at beta = s, the middle of a space of the gear, where it stands
    centred in that space, pointing to the gear's centre (or away from the ring's)."""
    angle, ha, hf, zc, xc = cutter
    alpha = PI / (180 / angle)
    sign = -1 if internal else 1
    inv_a0 = 2 * math.tan(alpha) * (x + sign * xc) / (z + sign * zc) + math.tan(alpha) - alpha
    a0 = (z + sign * zc) / 2 * math.cos(alpha) / math.cos(inverse_involute(inv_a0))
    r, tip_c = z / 2, zc / 2 + hf + xc
    ra = r + sign * ha + x  # the tip circle; a ring's r - (ha - x)
    root = a0 + tip_c if internal else a0 - tip_c
    outer = max(ra, root) + 0.5
    a, b = wedge
    psi = (PI / 2 + sign * 2 * x * math.tan(alpha)) / r
    space = psi / 2 + PI / z
    low = ra - a0 - 0.01 if internal else a0 - ra - 0.01  # what of the cutter lies beyond the blank
    tooth, corner_angle = pinion_tooth(alpha, hf, zc, xc, low)
    corner = [(tip_c, corner_angle - 0.01 / tip_c), (tip_c, corner_angle), (tip_c - 0.01, corner_angle)]
    corners = [corner, [(radius, -a) for radius, a in corner]]
    # How far from the line of centres the cutter's tip circle reaches into the blank.
    reach = max(abs(math.atan2(tip_c * math.sin(u), a0 + tip_c * math.cos(u)))
                for u in (2 * math.pi * i / 3600 for i in range(3600))
                if (math.hypot(tip_c * math.sin(u), a0 + tip_c * math.cos(u)) - ra) * sign < 0)
    speed = a0 + tip_c * abs(1 + sign * z / zc)  # the tip corner's run per unit of b
    places = math.ceil((b - a + 2 * reach) / (0.01 / speed))
    wedge_shape = Polygon([(0, 0)] + arc_points(outer, a, b))
    blank = Point(0, 0).buffer(ra, 4096).intersection(wedge_shape)

    def place(points, beta, k):
        """The points of cutter tooth k, placed for beta."""
        turn = space + (0 if internal else PI) + (beta - space) * (1 + sign * z / zc) + 2 * PI * k / zc
        cx, cy = a0 * math.sin(beta), a0 * math.cos(beta)
        return [(cx + radius * math.sin(u + turn), cy + radius * math.cos(u + turn)) for radius, u in points]

    cuts, previous = [], {}
    for i in range(places):
        beta = a - reach + (b - a + 2 * reach) * i / (places - 1)
        current = {}
        for k in range(zc):
            # A tooth whose tip stands far off the wedge cuts nothing in it.
            [(tip_x, tip_y)] = place([(tip_c, 0)], beta, k)
            off = abs(math.remainder(math.atan2(tip_x, tip_y) - (a + b) / 2, 2 * PI)) - (b - a) / 2
            if (math.hypot(tip_x, tip_y) - ra) * sign > 2 * (hf + ha) or off > 2 * (hf + ha) / ra:
                continue
            cut = Polygon(place(tooth, beta, k))
            if not cut.intersects(wedge_shape):
                continue
            cuts.append(cut)
            current[k] = [Polygon(place(c, beta, k)) for c in corners]
            cuts.extend(MultiPolygon([p, q]).convex_hull for p, q in zip(previous.get(k, []), current[k]))
        previous = current
        if len(cuts) > 300:
            cuts = [unary_union(cuts)]
    cut = unary_union(cuts)
    if internal:
        return blank.union(cut.intersection(wedge_shape)), outer
    gear = blank.difference(cut)
    return max(getattr(gear, "geoms", [gear]), key=lambda part: part.area), outer


class PinionCutAgainstOutline(unittest.TestCase):
    # name, cutter (pressure angle, ha, hf, zc, xc), z, x, ring, module, tolerance (mm). None has the
    # gear's tip reach past the cutter's base circle, where the cutter's own form is not involute.
    CASES = [
        ("published, undercut", (20.0, 1.0, 1.25, 25, 0.2), 12, 0.0, False, 1.0, 0.001),
        ("cutter shifted back, module 3", (20.0, 1.0, 1.25, 16, -0.2), 20, 0.3, False, 3.0, 0.01),
        ("ring, published, module 2", (20.0, 1.0, 1.25, 20, 0.0), 50, 0.5, True, 2.0, 0.001),
        ("ring, shifted cutter", (20.0, 1.0, 1.25, 16, 0.1), 60, 0.8, True, 1.0, 0.001),
    ]

    def test_outline_follows_the_cut_gear(self):
        for name, cutter, z, x, internal, module, tolerance in self.CASES:
            with self.subTest(name):
                started = time.monotonic()
                dxf = os.path.join(WORK, "pinion_" + name.replace(",", "").replace(" ", "_") + ".dxf")
                command = [RACKGEN, "--quiet", "-z", str(z), "-x", str(x), "--cutter-teeth", str(cutter[3]),
                           "--cutter-shift", str(cutter[4]), "--gear", dxf, "--module", str(module), "--tolerance",
                           str(tolerance)]
                r = subprocess.run(command + (["--internal"] if internal else []), env=ENV, capture_output=True,
                                   text=True, timeout=60)
                self.assertEqual((r.returncode, r.stderr), (0, ""))
                teeth = list(ezdxf.readfile(dxf).modelspace())[0]
                points = make_path(teeth).flattening(distance=1e-7 * module)
                outline = Polygon([(p.x / module, p.y / module) for p in points])
                self.assertTrue(outline.is_valid, "sides cross")
                psi = (PI / 2 + (-2 if internal else 2) * x * math.tan(PI / (180 / cutter[0]))) / (z / 2)
                wedge = (psi / 2 - PI / z, psi / 2 + PI / z)
                cut, outer = simulate_pinion(cutter, z, x, internal, wedge)
                mine = outline.intersection(Polygon([(0, 0)] + arc_points(outer, *wedge)))
                distance = mine.boundary.hausdorff_distance(cut.boundary)
                print(f"\n  {name}: {distance:.6f} module units from the cut gear, "
                      f"{time.monotonic() - started:.1f} s", end="", file=sys.stderr)
                self.assertLess(distance, (tolerance + ROUNDING) / module + SIMULATION_ERROR)


if __name__ == "__main__":
    os.makedirs(WORK, exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=2)
