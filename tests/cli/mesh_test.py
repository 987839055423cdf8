#!/usr/bin/python3
"""The gear and its mate as --gear writes them with --mate: turned together by
the ratio over more than one pitch, they never overlap by more than the
outline's tolerance and touch within it at every step (no backlash at the
working centre distance); moved 0.1 mm further apart they never touch.

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
from shapely.geometry import Polygon

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


class Mesh(unittest.TestCase):
    def check_pair(self, z1, x1, z2, x2, module):
        stem = os.path.join(WORK, f"pair_{z1}_{x1}_{z2}_{x2}")
        r = subprocess.run([RACKGEN, "-z", str(z1), "-x", str(x1), "--module", str(module), "--mate", str(z2),
                            "--mate-shift", str(x2), "--gear", stem + ".dxf", "--info", stem + ".json"],
                           env=ENV, capture_output=True, text=True, timeout=120)
        self.assertEqual(r.returncode, 0, r.stderr)
        with open(stem + ".json") as f:
            a = json.load(f)["pair"]["centre_distance"]
        gear, mate = outlines(stem + ".dxf")
        self.assertTrue(gear.is_valid and mate.is_valid)
        self.assertAlmostEqual(mate.centroid.x, a, delta=0.01 * module)
        apart = affinity.translate(mate, 0.1, 0)
        pitch = 2 * math.pi / z1
        for k in range(61):  # a pitch and a half in fine steps
            turn = 1.5 * pitch * k / 60
            g = affinity.rotate(gear, turn, origin=(0, 0), use_radians=True)
            m = affinity.rotate(mate, -turn * z1 / z2, origin=(a, 0), use_radians=True)
            far = affinity.rotate(apart, -turn * z1 / z2, origin=(a + 0.1, 0), use_radians=True)
            self.assertFalse(g.buffer(-SLACK).intersects(m), f"overlap at turn {turn}")
            self.assertTrue(g.buffer(SLACK).intersects(m), f"a gap at turn {turn}")
            self.assertFalse(g.buffer(SLACK).intersects(far), f"touching 0.1 mm apart at turn {turn}")

    def test_published_pair_with_shift(self):
        self.check_pair(12, 0.6, 24, 0.36, 3)

    def test_standard_pair(self):
        self.check_pair(12, 0, 24, 0, 3)


if __name__ == "__main__":
    os.makedirs(WORK, exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=2)
