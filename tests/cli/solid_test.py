#!/usr/bin/python3
"""The gear as --solid writes it. Every body is closed and clean as admesh sees
it (no holes, no edges to fix, no flipped normals), each edge is run once
each way, the volume and every triangle of the faces outward. A spur gear's
volume is its section's area times the face width; its section, and a
helical gear's at several heights, lie within the tolerance of the outline
--gear writes, the helical one turned by its helix (a right hand
counter-clockwise going up). A helical pair's 3MF holds two named objects in
millimetres with the STL's vertices and triangles, which mesh without overlap
at every height.

usage: solid_test.py RACKGEN WORK_DIR"""
import functools
import math
import os
import re
import subprocess
import sys
import unittest
import xml.etree.ElementTree as ET
import zipfile

import ezdxf
import ezdxf.path
import numpy as np
from shapely import affinity
from shapely.geometry import MultiLineString, Point, Polygon
from shapely.ops import polygonize

RACKGEN, WORK = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
ENV = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
TOLERANCE = 0.001  # mm, the default
FINE = 1e-5  # mm: the reference outline's chords and their flattening


def rackgen(*args):
    return subprocess.run([RACKGEN, *map(str, args)], env=ENV, capture_output=True, text=True, timeout=120)


def write(name, *args):
    path = os.path.join(WORK, name)
    r = rackgen(*args, "--solid", path)
    assert r.returncode == 0, r.stderr
    return path


def read_stl(path):
    """The triangles, (n, 3, 3) in mm."""
    data = np.fromfile(path, dtype=np.uint8)
    count = int(data[80:84].view("<u4")[0])
    assert data.size == 84 + 50 * count
    return data[84:].reshape(count, 50)[:, 12:48].copy().view("<f4").reshape(count, 3, 3).astype(float)


def outline(*args):
    """The outline --gear writes at a fine tolerance, as a polygon (with a ring's rim)."""
    path = os.path.join(WORK, "outline.dxf")
    r = rackgen(*args, "--gear", path, "--tolerance", FINE)
    assert r.returncode == 0, r.stderr
    rings = []
    for e in ezdxf.readfile(path).modelspace().query("LWPOLYLINE"):
        if len(e) == 2:  # a rim, two half circles: ezdxf's curves would stray from it
            (x1, y1), (x2, y2) = e.get_points("xy")
            rings.append(Point((x1 + x2) / 2, (y1 + y2) / 2).buffer(math.hypot(x2 - x1, y2 - y1) / 2, 4096))
        else:
            rings.append(Polygon([(p.x, p.y) for p in ezdxf.path.make_path(e).flattening(distance=FINE)]))
    return functools.reduce(lambda a, b: a.symmetric_difference(b), rings)


def section(triangles, height):
    """The mesh cut by the plane z = height, as a region."""
    z = triangles[:, :, 2]
    cut = triangles[(z.min(axis=1) < height) & (z.max(axis=1) > height)]
    segments = []
    for t in cut:
        points = []
        for a, b in ((0, 1), (1, 2), (2, 0)):
            if (t[a, 2] - height) * (t[b, 2] - height) < 0:
                a, b = (a, b) if t[a, 2] < t[b, 2] else (b, a)  # the same point from both sides of the edge
                u = (height - t[a, 2]) / (t[b, 2] - t[a, 2])
                points.append(tuple(t[a, :2] + u * (t[b, :2] - t[a, :2])))
        segments.append(points)
    faces = [Polygon(face.exterior) for face in polygonize(MultiLineString(segments))]  # a hole is a face too
    return functools.reduce(lambda a, b: a.symmetric_difference(b), faces)


def near(a, b, distance=TOLERANCE + 2 * FINE):
    """Whether every point of either region's boundary lies within the distance of the other's."""
    return a.boundary.buffer(distance, 32).contains(b.boundary) and b.boundary.buffer(distance, 32).contains(a.boundary)


class Solid(unittest.TestCase):
    def check_clean(self, path, bodies):
        report = subprocess.run(["admesh", path], capture_output=True, text=True, timeout=120).stdout
        for field in ("Degenerate facets", "Edges fixed", "Facets removed", "Facets added", "Facets reversed",
                      "Backwards edges", "Normals fixed"):
            self.assertEqual(re.search(field + r"\s*:\s*(\d+)", report).group(1), "0", f"{path}: {field}")
        self.assertEqual(int(re.search(r"Number of parts\s*:\s*(\d+)", report).group(1)), bodies, path)
        triangles = read_stl(path)
        points, ids = np.unique(triangles.reshape(-1, 3), axis=0, return_inverse=True)
        ids = ids.reshape(-1, 3).astype(np.int64)
        edges = np.concatenate([ids[:, i] * len(points) + ids[:, (i + 1) % 3] for i in range(3)])
        reverse = np.concatenate([ids[:, (i + 1) % 3] * len(points) + ids[:, i] for i in range(3)])
        self.assertEqual(len(np.unique(edges)), len(edges), f"{path}: an edge run twice the same way")
        self.assertTrue(np.array_equal(np.sort(edges), np.sort(reverse)), f"{path}: an edge run one way only")
        a, b, c = triangles[:, 0], triangles[:, 1], triangles[:, 2]
        self.assertGreater(np.einsum("ij,ij->i", a, np.cross(b, c)).sum() / 6, 0, path)  # outward
        # The faces' triangles all face out (a fan over an undercut tooth would fold some over).
        z = triangles[:, :, 2]
        up = np.cross(b - a, c - a)[:, 2]
        flat = z.min(axis=1) == z.max(axis=1)
        self.assertTrue((up[flat & (z[:, 0] == z.max())] > 0).all() and (up[flat & (z[:, 0] == 0)] < 0).all(), path)
        return triangles

    def test_spur_gear_is_its_section_times_the_face_width(self):
        gear = ("-z", 20, "-x", 0.3, "--module", 2)
        triangles = self.check_clean(write("spur.stl", *gear, "--face-width", 7, "--bore", 12), 1)
        a, b, c = triangles[:, 0], triangles[:, 1], triangles[:, 2]
        volume = np.einsum("ij,ij->i", a, np.cross(b, c)).sum() / 6
        lower = section(triangles, 1e-9)  # just above the lower face: its own polygon
        self.assertAlmostEqual(volume / (lower.area * 7), 1, delta=1e-6)
        top = triangles[triangles[:, :, 2].min(axis=1) == 7]
        cap = np.cross(top[:, 1] - top[:, 0], top[:, 2] - top[:, 0])[:, 2].sum() / 2
        self.assertAlmostEqual(cap / lower.area, 1, delta=1e-6)  # no triangle over another
        expected = outline(*gear).difference(Point(0, 0).buffer(6, 4096))
        self.assertTrue(near(lower, expected))
        self.assertFalse(near(lower, expected, TOLERANCE / 4))  # the arcs' chords are as coarse as allowed

    def test_undercut_gear_and_ring_are_closed(self):
        self.check_clean(write("undercut.stl", "-z", 8), 1)
        self.check_clean(write("ring.stl", "-z", 40, "--cutter-teeth", 20, "--internal"), 1)
        self.check_clean(write("pinion_in_ring.stl", "-z", 18, "--cutter-teeth", 20, "--mate", 50,
                               "--mate-internal", "--bore", 5), 2)
        ring = section(read_stl(os.path.join(WORK, "ring.stl")), 5)
        self.assertTrue(near(ring, outline("-z", 40, "--cutter-teeth", 20, "--internal")))

    def test_helical_sections_follow_the_helix(self):
        for z, beta, hand, sign in ((20, 20, "right", 1), (13, 30, "left", -1)):
            gear = ("-z", z, "--module", 1.5, "--helix-angle", beta, "--hand", hand)
            triangles = self.check_clean(write(f"helical_{z}.stl", *gear), 1)
            exact = outline(*gear)
            r = 1.5 * z / (2 * math.cos(math.radians(beta)))
            for height in (0.7, 7.3, 14.9):  # of 15 mm: ten normal modules
                turned = affinity.rotate(exact, sign * height * math.tan(math.radians(beta)) / r, origin=(0, 0),
                                         use_radians=True)
                self.assertTrue(near(section(triangles, height), turned), f"z = {z} at {height} mm")

    def test_pair_3mf_holds_two_named_objects_in_mesh(self):
        pair = ("-z", 12, "--mate", 30, "--helix-angle", 15, "--bore", 4, "--face-width", 5)
        stl = self.check_clean(write("pair.stl", *pair), 2)
        with zipfile.ZipFile(write("pair.3mf", *pair)) as package:
            self.assertIsNone(package.testzip())
            self.assertIn("3dmodel", package.read("_rels/.rels").decode())
            self.assertIn("[Content_Types].xml", package.namelist())
            model = ET.fromstring(package.read("3D/3dmodel.model"))
        ns = {"m": "http://schemas.microsoft.com/3dmanufacturing/core/2015/02"}
        self.assertEqual(model.get("unit"), "millimeter")
        objects = model.findall("m:resources/m:object", ns)
        self.assertEqual([o.get("name") for o in objects], ["gear", "mate"])
        self.assertEqual(len(model.findall("m:build/m:item", ns)), 2)
        bodies = []
        for o in objects:
            points = np.array([[float(v.get(k)) for k in "xyz"] for v in o.iterfind(".//m:vertex", ns)])
            corners = np.array([[int(t.get(k)) for k in ("v1", "v2", "v3")] for t in o.iterfind(".//m:triangle", ns)])
            self.assertEqual(len(points), len(corners) / 2)  # a body with its bore is a torus: V - E + F = 0
            bodies.append(points[corners])
        self.assertEqual(sum(map(len, bodies)), len(stl))
        self.assertEqual(sum(len(np.unique(b.reshape(-1, 3), axis=0)) for b in bodies),
                         len(np.unique(stl.reshape(-1, 3), axis=0)))
        # Each turned by its own hand, the two touch without overlap at every height.
        for height in (0.2, 2.6, 4.9):
            gear, mate = (section(b, height) for b in bodies)
            self.assertFalse(gear.buffer(-2 * TOLERANCE).intersects(mate), f"overlap at {height} mm")
            self.assertTrue(gear.buffer(2 * TOLERANCE).intersects(mate), f"a gap at {height} mm")

    def test_refusals(self):
        for args, reason in (((("-z", 20, "--bore", 17.5)), "root circle"),
                             (("-z", 40, "--cutter-teeth", 20, "--internal", "--bore", 5), "a ring has no bore")):
            r = rackgen(*args, "--solid", os.path.join(WORK, "refused.stl"))
            self.assertEqual(r.returncode, 2, r.stderr)
            self.assertIn(reason, r.stderr)
        r = rackgen("-z", 20, "--solid", os.path.join(WORK, "gear.obj"))
        self.assertEqual(r.returncode, 2)
        self.assertIn("must end in .stl, .3mf, .step or .stp", r.stderr)
        self.assertFalse(os.path.exists(os.path.join(WORK, "refused.stl")))


if __name__ == "__main__":
    os.makedirs(WORK, exist_ok=True)
    unittest.main(argv=sys.argv[:1])
