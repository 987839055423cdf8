#!/usr/bin/python3
"""The gear and its mate as --gear writes them with --mate: turned together by
the ratio over more than one pitch, they never overlap by more than the
outline's tolerance and touch within it at every step (no backlash at the
working centre distance); moved 0.1 mm further apart they never touch. Over a
spread of pairs the outlines overlap exactly where --info says they interfere.
A pinion inside a ring, both turning the same way, likewise: 0.1 mm nearer the
ring's centre the pinion never touches it, 0.1 mm further out it digs in.

usage: mesh_test.py RACKGEN WORK_DIR"""
import json
import math
import os
import subprocess
import sys
import unittest

import ezdxf
import ezdxf.path
from shapely import affinity
from shapely.geometry import Point, Polygon

RACKGEN, WORK = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
ENV = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
TOLERANCE = 0.001  # mm: the outline's chords
SLACK = 4 * TOLERANCE  # both outlines' chords, and the flattening of their arcs


def outlines(path):
    """The two closed outlines of the DXF, arcs flattened, as polygons."""
    doc = ezdxf.readfile(path)
    polygons = []
    for entity in doc.modelspace().query("LWPOLYLINE"):
        points = [(p.x, p.y) for p in ezdxf.path.make_path(entity).flattening(distance=TOLERANCE / 4)]
        polygons.append(Polygon(points))
    return polygons


def write_pair(z1, x1, z2, x2, module, *cutter):
    """The pair's outlines (gear, mate) and its data."""
    stem = os.path.join(WORK, "pair_" + "_".join(map(str, (z1, x1, z2, x2, *cutter))))
    r = subprocess.run([RACKGEN, "-z", str(z1), "-x", str(x1), "--module", str(module), "--mate", str(z2),
                        "--mate-shift", str(x2), *cutter, "--gear", stem + ".dxf", "--info", stem + ".json"],
                       env=ENV, capture_output=True, text=True, timeout=120)
    assert r.returncode == 0, r.stderr
    with open(stem + ".json") as f:
        return outlines(stem + ".dxf"), json.load(f)["pair"]


def turned(gear, mate, z1, z2, a, turn):
    return (affinity.rotate(gear, turn, origin=(0, 0), use_radians=True),
            affinity.rotate(mate, -turn * z1 / z2, origin=(a, 0), use_radians=True))


class Mesh(unittest.TestCase):
    def check_pair(self, z1, x1, z2, x2, module):
        (gear, mate), pair = write_pair(z1, x1, z2, x2, module)
        a = pair["centre_distance"]
        self.assertTrue(gear.is_valid and mate.is_valid)
        self.assertAlmostEqual(mate.centroid.x, a, delta=0.01 * module)
        apart = affinity.translate(mate, 0.1, 0)
        pitch = 2 * math.pi / z1
        for k in range(61):  # a pitch and a half in fine steps
            turn = 1.5 * pitch * k / 60
            g, m = turned(gear, mate, z1, z2, a, turn)
            far = affinity.rotate(apart, -turn * z1 / z2, origin=(a + 0.1, 0), use_radians=True)
            self.assertFalse(g.buffer(-SLACK).intersects(m), f"overlap at turn {turn}")
            self.assertTrue(g.buffer(SLACK).intersects(m), f"a gap at turn {turn}")
            self.assertFalse(g.buffer(SLACK).intersects(far), f"touching 0.1 mm apart at turn {turn}")

    def test_published_pair_with_shift(self):
        self.check_pair(12, 0.6, 24, 0.36, 3)

    def test_standard_pair(self):
        self.check_pair(12, 0, 24, 0, 3)

    def test_pair_of_large_shifts_works_with_its_reduced_tips(self):
        self.check_pair(40, 1.2, 40, 1.2, 1)

    def test_overlap_exactly_where_the_data_says_interference(self):
        # Undercut pinions whose mates reach below their form circles into the
        # undercut, which clears them; and cutters whose addendum passes their
        # dedendum (no clearance left), whose gears' tips dig into each other.
        tall = ("--addendum", "1.4", "--dedendum", "1.0")
        for z1, x1, z2, x2, *cutter in [(8, 0, 60, 0), (10, 0, 40, 0), (12, 0, 12, 0), (14, 0, 80, 0),
                                        (20, 0.5, 30, 0.3), (9, 0.2, 50, -0.2), (30, 1.1, 60, 1.0), (6, 0.5, 100, 0),
                                        (20, 0, 30, 0, *tall), (8, 0, 60, 0, "--addendum", "1.3"),
                                        (15, 0, 15, 0, "--addendum", "1.1", "--dedendum", "1.0"),
                                        (12, 0, 40, 0, "--addendum", "1.25")]:
            (gear, mate), pair = write_pair(z1, x1, z2, x2, 1, *cutter)
            pitch = 2 * math.pi / z1
            overlap = any(g.buffer(-SLACK).intersects(m)
                          for g, m in (turned(gear, mate, z1, z2, pair["centre_distance"], 1.5 * pitch * k / 90)
                                       for k in range(91)))
            self.assertEqual(overlap, pair["interference"], f"z = {z1}, {z2}; x = {x1}, {x2} {cutter}")


class InternalMesh(unittest.TestCase):
    """The published pinion inside a ring (module 3, z 16 and 24, x 0 and 0.5,
    a cutter of 10 teeth), the ring chosen as the mate or as the gear."""
    PAIR = ["--module", "3", "--cutter-teeth", "10"]

    def write(self, name, *args):
        stem = os.path.join(WORK, name)
        r = subprocess.run([RACKGEN, *self.PAIR, *args, "--gear", stem + ".dxf", "--info", stem + ".json"],
                           env=ENV, capture_output=True, text=True, timeout=120)
        self.assertEqual(r.returncode, 0, r.stderr)
        with open(stem + ".json") as f:
            return outlines(stem + ".dxf"), json.load(f)["pair"]

    def check_mesh(self, pinion, ring, pinion_centre, ring_centre, a):
        """Turned together over a pitch, both the same way, the pinion by the ratio."""
        self.assertAlmostEqual(ring.centroid.distance(Point(ring_centre)), 0, delta=0.01)
        self.assertAlmostEqual(Point(pinion_centre).distance(Point(ring_centre)), a, delta=1e-6)
        # The pinion 0.1 mm nearer the ring's centre: no flank reaches the ring's.
        step = (ring_centre[0] - pinion_centre[0]) / a * 0.1
        near = affinity.translate(pinion, step, 0)
        near_centre = (pinion_centre[0] + step, 0)
        for k in range(61):
            turn = 2 * math.pi / 24 * k / 60
            r = affinity.rotate(ring, turn, origin=ring_centre, use_radians=True)
            p = affinity.rotate(pinion, turn * 24 / 16, origin=pinion_centre, use_radians=True)
            n = affinity.rotate(near, turn * 24 / 16, origin=near_centre, use_radians=True)
            self.assertFalse(r.buffer(-SLACK).intersects(p), f"overlap at turn {turn}")
            self.assertTrue(r.buffer(SLACK).intersects(p), f"a gap at turn {turn}")
            self.assertFalse(r.buffer(SLACK).intersects(n), f"touching 0.1 mm nearer at turn {turn}")
        # 0.1 mm the other way the teeth dig in: the overlap is seen.
        far = affinity.translate(pinion, -step, 0)
        self.assertTrue(ring.buffer(-SLACK).intersects(far))

    def test_ring_as_the_mate_and_as_the_gear(self):
        (pinion, teeth, rim), pair = self.write("pinion_ring", "-z", "16", "--mate", "24", "--mate-shift", "0.5",
                                                "--mate-internal")
        a = pair["centre_distance"]
        self.assertAlmostEqual(a, 13.1683, places=4)
        self.check_mesh(pinion, Polygon(rim.exterior, [teeth.exterior]), (0, 0), (a, 0), a)
        (teeth, rim, pinion), pair = self.write("ring_pinion", "-z", "24", "-x", "0.5", "--internal",
                                                "--mate", "16")
        self.assertAlmostEqual(pair["centre_distance"], a, places=9)
        self.check_mesh(pinion, Polygon(rim.exterior, [teeth.exterior]), (a, 0), (0, 0), a)


if __name__ == "__main__":
    os.makedirs(WORK, exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=2)
