#!/usr/bin/python3
"""Gears cut by a pinion-type (shaper) cutter, simulated here from first
principles, against the outline rackgen writes (--gear FILE.dxf). The cutter is
built in this file alone: z_c involute teeth of module 1, their tooth thickness
on the pitch circle π/2 + 2·x_c·tan α, tip circle z_c/2 + h_f + x_c, tip
corners sharp or rounded by ρ, flanks radial below the base circle down to a
root circle that never reaches the gear. The cutter turns about the gear at
the cutting centre distance, rolling its pitch circle on the gear's (outside
it for an external gear, inside a ring); every place it takes is subtracted
from the blank (shapely), over the rolls that reach one tooth (one space of a
ring), and the Hausdorff distance between that tooth's boundary and the
outline's, both clipped to the same sector, must lie within the outline's
tolerance plus the simulation's own error. (The rack's outline is checked
against its own simulated cut in tests/cli/outline_cut_test.py.)

usage: pinion_cut_test.py RACKGEN WORK_DIR"""
import math
import os
import subprocess
import sys
import time
import unittest

import ezdxf
import numpy as np
from ezdxf.path import make_path
from shapely.geometry import LineString, MultiPoint, Point, Polygon
from shapely.ops import unary_union
from shapely.prepared import prep

RACKGEN, WORK = sys.argv[1], sys.argv[2]
ENV = {k: v for k, v in os.environ.items() if k != "DISPLAY"}

ALPHA = math.radians(20.0)
ADDENDUM, DEDENDUM = 1.0, 1.25  # the gear's, in modules
TOLERANCE = 0.001  # rackgen's default --tolerance, mm (module 1: module units)
ROUNDING = 1e-6  # the DXF's last digit

# The simulation's own error, module units, the sum of:
#  - CHORD: the cutter's and the blank's curves are chords within this of the exact curves;
#  - STEP: between two places the cutter's flank (or tip land) leaves a scallop of
#    height δ²/8·Rc·Rg/(Rg ± Rc) on the gear, δ the relative turn of one step and Rc,
#    Rg the curvature radii of the cutter and the gear where they touch (+ for an
#    external gear's convex flank, - for a ring's concave one); the step is chosen
#    so that this stays below STEP;
#  - the tips, measured as the cut runs: a tip's path (a sharp corner, or a tip
#    arc's centre) strays from its chord between two places by its sagitta; a
#    rounded tip that jumps d leaves a scallop of d²/(8ρ); a sharp corner jumps less
#    than CORNER_STEP, and the hull of its small triangle (sides CORNER_SIDE) at two
#    places in turn fills the notch it would leave, overreaching by less than
#    CORNER_SIDE·δ/4.
CHORD = 1e-6
STEP = 5e-6
CORNER_SIDE = 0.04
CORNER_STEP = CORNER_SIDE / 2


def inv(angle):
    return math.tan(angle) - angle


def inverse_inv(value):
    angle = (3 * value) ** (1 / 3)
    for _ in range(60):
        angle -= (inv(angle) - value) / math.tan(angle) ** 2
    return angle


def polar(radius, theta):
    """The point at polar angle θ, clockwise from +y."""
    return (radius * math.sin(theta), radius * math.cos(theta))


def arc(radius, a, b, error=CHORD):
    """Points of the arc about the origin from polar angle a to b, chords within error."""
    n = max(2, math.ceil(abs(b - a) / math.sqrt(8 * error / radius)))
    return [polar(radius, a + (b - a) * i / n) for i in range(n + 1)]


class PinionCutter:
    """z_c teeth, shift x_c, tip radius ρ, cutting a gear of z teeth and shift x:
    external, or a ring (internal) with the cutter inside it. Its tooth 0 in its own
    frame (a convex polygon: `tooth`), its sharp corners' triangles (`corners`), its
    tips (`tips`: the sharp corners, or the centres of the tip arcs of radius `rho`),
    the teeth that may reach the gear at roll u (`teeth_at(u)`), and how tooth k
    stands at roll u: `place(u, k)` gives the clockwise turn φ and the centre c that
    take its own frame into the gear's (gear centre at the origin, polar angles
    clockwise from +y)."""

    def placed(self, points, u, k):
        phi, (cx, cy) = self.place(u, k)
        c, s = math.cos(phi), math.sin(phi)
        return np.column_stack((points[:, 0] * c + points[:, 1] * s + cx, -points[:, 0] * s + points[:, 1] * c + cy))

    def __init__(self, zc, xc, rho, z, x, internal):
        self.zc, self.internal = zc, internal
        side = -1 if internal else 1
        self.pressure = inverse_inv(2 * math.tan(ALPHA) * (x + side * xc) / (z + side * zc) + inv(ALPHA))
        self.distance = (z + side * zc) / 2 * math.cos(ALPHA) / math.cos(self.pressure)
        r0, rb0 = zc / 2, zc / 2 * math.cos(ALPHA)
        self.tip = r0 + DEDENDUM + xc
        self.base = rb0
        gear_tip = z / 2 - (1 - x) if internal else z / 2 + ADDENDUM + x
        # What lies nearer the cutter's centre than this never reaches the gear's blank.
        reach = gear_tip - self.distance if internal else self.distance - gear_tip
        self.root = min(r0 - 1.5, reach - 0.05)
        assert self.root > 0.2 * r0, "the cutter has no room for its root circle"

        # The right flank (positive polar angle): the involute from the base circle
        # at θb, unwound by u, stands at radius rb0·√(1 + u²), polar angle θb - inv.
        theta_b = (math.pi / 2 + 2 * xc * math.tan(ALPHA)) / zc + inv(ALPHA)

        def flank(u):
            return polar(rb0 * math.hypot(1, u), theta_b - (u - math.atan(u)))

        if rho > 0:
            # The arc's centre C lies ρ inside the tip circle and ρ from the flank along
            # its normal, which touches the base circle: on the involute of the same base
            # circle with the string ρ shorter, i.e. started ρ/rb0 nearer the tooth centre.
            centre_radius = self.tip - rho
            assert centre_radius > rb0
            u_c = math.sqrt((centre_radius / rb0) ** 2 - 1)
            theta_c = theta_b - (u_c - math.atan(u_c)) - rho / rb0
            u_end = u_c + rho / rb0
            centre = polar(centre_radius, theta_c)
            end = flank(u_end)
            assert abs(math.dist(centre, end) - rho) < 1e-12
            assert theta_c > 0, "the tip arcs overlap"
        else:
            u_end = math.sqrt((self.tip / rb0) ** 2 - 1)
            theta_c = theta_b - (u_end - math.atan(u_end))
        # Involute chords: the curvature radius is rb0·u, the tangent turns by du.
        u_low = math.sqrt(max(0.0, (self.root / rb0) ** 2 - 1))
        us, u = [u_low], u_low
        while u < u_end:
            u = min(u_end, u + min(0.02, math.sqrt(8 * CHORD / (rb0 * max(u, 1e-6)))))
            us.append(u)
        right = ([] if self.root >= rb0 else [polar(self.root, theta_b)]) + [flank(u) for u in us]
        if rho > 0:
            a = math.atan2(end[0] - centre[0], end[1] - centre[1])
            n = max(2, math.ceil(abs(theta_c - a) / math.sqrt(8 * CHORD / rho)))
            right += [(centre[0] + rho * math.sin(a + (theta_c - a) * i / n),
                       centre[1] + rho * math.cos(a + (theta_c - a) * i / n)) for i in range(1, n + 1)]
        tip_land = arc(self.tip, theta_c, -theta_c)[1:-1]
        outline = right + tip_land + [(-px, py) for px, py in reversed(right)]
        self.tooth = np.array(outline)
        assert Polygon(outline).is_valid and Polygon(outline).convex_hull.area - Polygon(outline).area < 1e-9
        self.rho, self.corners = rho, []
        if rho > 0:
            self.tips = np.array([centre, (-centre[0], centre[1])])
        else:
            # Triangles: the corner, CORNER_SIDE down the flank, CORNER_SIDE along the tip land.
            down = flank(math.sqrt(u_end ** 2 - 2 * CORNER_SIDE / rb0))
            along = polar(self.tip, theta_c - CORNER_SIDE / self.tip)
            corner = polar(self.tip, theta_c)
            self.tips = np.array([corner, (-corner[0], corner[1])])
            self.corners = [np.array([corner, down, along]), np.array([(-corner[0], corner[1]),
                                                                       (-down[0], down[1]),
                                                                       (-along[0], along[1])])]
        # The gear's space centre, where a cutter tooth stands on the line of centres:
        # external, the space before tooth 0 (which spans 0 ... ψ on the reference
        # circle); a ring's space spans -ψ ... 0.
        psi = (math.pi / 2 + 2 * x * math.tan(ALPHA)) / (z / 2)
        self.space = -psi / 2 if internal else psi / 2 - math.pi / z
        # The cutter's pitch circle rolls on the gear's: it turns 1 + z/z_c (outside) or
        # 1 - z/z_c (inside) times the line of centres' turn β, which is the roll u.
        self.rate = 1 - z / zc if internal else 1 + z / zc
        # Points of the cutter's tip circle reach the gear's tip circle within this of β.
        self.reach = math.acos((self.distance ** 2 + gear_tip ** 2 - self.tip ** 2) / (2 * self.distance * gear_tip))
        self.turn = abs(self.rate)

    def teeth_at(self, u):
        return range(self.zc)

    def place(self, u, k):
        phi = self.space + (0 if self.internal else math.pi) + self.rate * (u - self.space) + 2 * math.pi * k / self.zc
        return phi, polar(self.distance, u)

    def scallop_radius(self, z, x):
        """The largest Rc·Rg/(Rg ± Rc) where the cutter touches the gear: flanks
        (Rc, Rg the involutes' strings, their difference a₀·sin α₀ on a ring) and the
        tip land on the root circle."""
        rc = math.sqrt(self.tip ** 2 - self.base ** 2)
        if self.internal:
            rg = rc + self.distance * math.sin(self.pressure)
            root = self.distance + self.tip
            return max(rc * rg / (rg - rc), self.tip * root / (root - self.tip))
        return z / 2 + ADDENDUM + x


def sector(a, b, inner, outer):
    """The annular sector between polar angles a and b, radii inner (0: a wedge) and outer."""
    inside = [(0.0, 0.0)] if inner == 0 else arc(inner, b, a)
    return Polygon(arc(outer, a, b) + inside)


def simulate(cutter, blank, wedge, z, x):
    """The blank less every place of the cutter over the rolls that reach the wedge
    (polar angles a, b), stepped so that the flanks' scallops stay within STEP.
    Returns the cut region, its error bound and the number of places."""
    a, b = wedge
    delta = math.sqrt(8 * STEP / cutter.scallop_radius(z, x))
    du = delta / cutter.turn
    rolls = np.arange(a - cutter.reach - 0.02, b + cutter.reach + 0.02 + du, du)
    window = prep(blank)
    near = prep(blank.buffer(cutter.rho + 0.01))
    cuts, touched, jump, path = [], [], 0.0, 0.0
    gear = blank
    for i, u in enumerate(rolls):
        reaching = 0
        for k in cutter.teeth_at(u):
            tooth = Polygon(cutter.placed(cutter.tooth, u, k))
            if not window.intersects(tooth):
                continue
            reaching += 1
            cuts.append(tooth)
            for corner in cutter.corners:
                now, before = cutter.placed(corner, u, k), cutter.placed(corner, rolls[i - 1], k)
                cuts.append(MultiPoint(np.vstack((now, before))).convex_hull)
            # The tips' paths (sharp corners, or the tip arcs' centres) where they cut:
            # how far they jump, and how far each path strays from its chords.
            before, now, after = (cutter.placed(cutter.tips, v, k) for v in (u - du, u, u + du))
            for p, q, r in zip(before, now, after):
                if near.contains(Point(q)):
                    jump = max(jump, math.dist(p, q))
                    path = max(path, LineString([p, r]).distance(Point(q)) / 4)
        touched.append(reaching > 0)
        if len(cuts) > 400:
            gear, cuts = gear.difference(unary_union(cuts)), []
    gear = gear.difference(unary_union(cuts))
    assert not touched[0] and not touched[-1], "the rolls simulated do not cover all that reaches the tooth"
    if cutter.corners:
        assert jump < CORNER_STEP, f"the corners jump {jump} a step"
        tips = CORNER_SIDE * delta / 4
    else:
        tips = jump ** 2 / (8 * cutter.rho)
    return gear, CHORD + STEP + path + tips, len(rolls)


def read_outline(path, tip_circle):
    """The DXF's closed polyline nearest the tip circle (a ring's file also holds its
    rim), arcs expanded within 1e-7, as a polygon."""
    best = None
    for entity in ezdxf.readfile(path).modelspace().query("LWPOLYLINE"):
        assert entity.closed
        points = [(p.x, p.y) for p in make_path(entity).flattening(distance=1e-7)]
        gap = min(abs(math.hypot(*p) - tip_circle) for p in points)
        if best is None or gap < best[0]:
            best = (gap, points)
    return Polygon(best[1])


def densified(line, step=0.005):
    """The boundary's points, no two neighbours farther apart than step."""
    out = []
    for ring in [line] if line.geom_type != "MultiLineString" else line.geoms:
        coords = np.array(ring.coords)
        for p, q in zip(coords[:-1], coords[1:]):
            n = max(1, math.ceil(np.hypot(*(q - p)) / step))
            out.extend(p + (q - p) * j / n for j in range(n))
        out.append(coords[-1])
    return MultiPoint(out)


def boundary_distance(p, q):
    """The Hausdorff distance between two regions' boundaries (every point of one,
    densely, to the other's segments, both ways) and the radius where it is found."""
    return max(max((q.boundary.distance(pt), math.hypot(pt.x, pt.y)) for pt in densified(p.boundary).geoms),
               max((p.boundary.distance(pt), math.hypot(pt.x, pt.y)) for pt in densified(q.boundary).geoms))


class PinionCutAgainstOutline(unittest.TestCase):
    # name, z, x, cutter teeth, cutter shift, tip radius, internal
    CASES = [
        ("z 12, 25-tooth cutter, undercut", 12, 0.0, 25, 0.0, 0.0, False),
        ("z 20, 25-tooth cutter", 20, 0.0, 25, 0.0, 0.0, False),
        ("z 12, cutter shifted 0.2", 12, 0.0, 25, 0.2, 0.0, False),
        ("z 12, tip radius 0.25", 12, 0.0, 25, 0.0, 0.25, False),
        # The tip circle lies beyond √(rb² + (a₀·sin α₀)²), where the involute would touch
        # the cutter's flank below its base circle: that flank cuts the tip corners.
        ("z 20, 10-tooth cutter", 20, 0.0, 10, 0.0, 0.0, False),
        ("z 12, 60-tooth cutter", 12, 0.0, 60, 0.0, 0.0, False),
        ("z 12, x 0.4", 12, 0.4, 25, 0.0, 0.0, False),
        ("ring z 50, x 0.5", 50, 0.5, 20, 0.0, 0.0, True),
        ("ring z 60, tip radius 0.3", 60, 0.0, 20, 0.0, 0.3, True),
        # The ring's tip circle lies inside √(rb² + (a₀·sin α₀)²): the involute there
        # would touch the cutter's flank below its base circle, which cuts it instead.
        ("ring z 40", 40, 0.0, 20, 0.0, 0.0, True),
    ]

    def outline(self, name, z, x, zc, xc, rho, internal):
        dxf = os.path.join(WORK, "".join(c if c.isalnum() else "_" for c in name) + ".dxf")
        command = [RACKGEN, "--teeth", str(z), "--shift", str(x), "--tip-radius", str(rho), "--module", "1",
                   "--gear", dxf, "--quiet"]
        command += ["--cutter-teeth", str(zc), "--cutter-shift", str(xc)]
        if internal:
            command.append("--internal")
        r = subprocess.run(command, env=ENV, capture_output=True, text=True, timeout=60)
        self.assertEqual(r.returncode, 0, r.stderr)
        return dxf

    def test_outline_follows_the_simulated_cut(self):
        for name, z, x, zc, xc, rho, internal in self.CASES:
            with self.subTest(name):
                started = time.monotonic()
                dxf = self.outline(name, z, x, zc, xc, rho, internal)
                cutter = PinionCutter(zc, xc, rho, z, x, internal)
                psi = (math.pi / 2 + 2 * x * math.tan(ALPHA)) / (z / 2)
                # One tooth (from space middle to space middle), or a ring's space
                # (from tooth middle to tooth middle).
                middle = -psi / 2 if internal else psi / 2
                wedge = (middle - math.pi / z, middle + math.pi / z)
                if internal:
                    tip = z / 2 - (1 - x)
                    outer = cutter.distance + cutter.tip + 1.0
                    blank = sector(wedge[0], wedge[1], tip, outer)
                    teeth = read_outline(dxf, tip)
                    drawn = sector(wedge[0], wedge[1], 0, outer).difference(teeth)
                else:
                    tip = z / 2 + ADDENDUM + x
                    blank = sector(wedge[0], wedge[1], 0, tip)
                    drawn = read_outline(dxf, tip).intersection(sector(wedge[0], wedge[1], 0, tip + 1.0))
                cut, error, places = simulate(cutter, blank, wedge, z, x)
                parts = sorted(getattr(cut, "geoms", [cut]), key=lambda p: p.area)
                self.assertLess(sum(p.area for p in parts[:-1]), 1e-8, "the cut left loose pieces")
                distance, radius = boundary_distance(parts[-1], drawn)
                bound = TOLERANCE + ROUNDING + error
                print(f"\n  {name}: Hausdorff {distance:.6f} mm at radius {radius:.3f}, bound {bound:.6f} mm "
                      f"(tolerance {TOLERANCE} + simulation {error:.6f} + rounding {ROUNDING}), {places} places, "
                      f"{time.monotonic() - started:.1f} s", end="", file=sys.stderr)
                self.assertLess(distance, bound)


if __name__ == "__main__":
    os.makedirs(WORK, exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=2)
