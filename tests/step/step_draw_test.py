#!/usr/bin/python3
"""--solid's STEP file read back by another program, OpenCASCADE's command
interpreter (occt-draw): a helical pair with a bore holds two solids, each
valid, each with its volume the 3MF body's within 1e-4 and its centre of
gravity on its own axis halfway up the face width (the gear's at the origin,
its mate's on +x at the centre distance). A file the kernel refuses is never
written.

usage: step_draw_test.py RACKGEN OCCT_DRAW WORK_DIR"""
import json
import os
import re
import subprocess
import sys
import unittest
import xml.etree.ElementTree as ET
import zipfile

import numpy as np

RACKGEN, DRAW, WORK = (os.path.abspath(a) for a in sys.argv[1:4])
ENV = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
FACE_WIDTH = 8.0
PAIR = ("-z", 12, "-x", 0.3, "--mate", 30, "--helix-angle", 15, "--bore", 4, "--face-width", FACE_WIDTH)


def rackgen(*args):
    return subprocess.run([RACKGEN, *map(str, args)], env=ENV, capture_output=True, text=True, timeout=300)


def mesh_volumes(path):
    """Each 3MF object's volume, mm³."""
    with zipfile.ZipFile(path) as package:
        model = ET.fromstring(package.read("3D/3dmodel.model"))
    ns = {"m": "http://schemas.microsoft.com/3dmanufacturing/core/2015/02"}
    volumes = []
    for o in model.findall("m:resources/m:object", ns):
        points = np.array([[float(v.get(k)) for k in "xyz"] for v in o.iterfind(".//m:vertex", ns)])
        corners = np.array([[int(t.get(k)) for k in ("v1", "v2", "v3")] for t in o.iterfind(".//m:triangle", ns)])
        a, b, c = (points[corners[:, i]] for i in range(3))
        volumes.append(np.einsum("ij,ij->i", a, np.cross(b, c)).sum() / 6)
    return volumes


class StepDrawTest(unittest.TestCase):
    def test_helical_pair_reads_back(self):
        step, mesh = os.path.join(WORK, "pair.step"), os.path.join(WORK, "pair.3mf")
        r = rackgen(*PAIR, "--solid", step, "--solid", mesh)
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertIn("pair.step: the gear and its mate, two bodies", r.stderr)
        script = os.path.join(WORK, "read_back.tcl")
        with open(script, "w") as f:
            f.write("pload MODELING DATAEXCHANGE\n"
                    f"stepread {step} a *\n"
                    "foreach s {a_1 a_2} { puts \"$s [checkshape $s]\"; puts [vprops $s] }\n"
                    "puts [isdraw a_3]\nexit\n")
        out = subprocess.run([DRAW, "-b", "-f", script], capture_output=True, text=True, timeout=300).stdout
        self.assertEqual(out.count("This shape seems to be valid"), 2, out)
        self.assertTrue(out.rstrip().endswith("0"), out)  # no third solid
        masses = [float(m) for m in re.findall(r"Mass :\s*(\S+)", out)]
        for mass, volume in zip(masses, mesh_volumes(mesh), strict=True):
            self.assertAlmostEqual(mass / volume, 1, delta=1e-4)
        info = os.path.join(WORK, "pair.json")
        self.assertEqual(rackgen(*PAIR, "--info", info).returncode, 0)
        with open(info) as f:
            centre_distance = json.load(f)["pair"]["centre_distance"]
        centres = re.findall(r"X =\s*(\S+)\s*Y =\s*(\S+)\s*Z =\s*(\S+)", out)
        self.assertEqual(len(centres), 2, out)
        for (x, y, z), axis in zip(centres, (0.0, centre_distance)):
            self.assertAlmostEqual(float(x), axis, delta=1e-3)
            self.assertAlmostEqual(float(y), 0.0, delta=1e-3)
            self.assertAlmostEqual(float(z), FACE_WIDTH / 2, delta=1e-6)

    def test_a_refused_solid_leaves_no_file(self):
        path = os.path.join(WORK, "twisted.step")
        r = rackgen("-z", 8, "--helix-angle", 45, "--face-width", 80, "--solid", path)
        self.assertEqual(r.returncode, 1, r.stderr)
        self.assertIn("the teeth turn more than twice about the axis", r.stderr)
        self.assertFalse(os.path.exists(path))


if __name__ == "__main__":
    os.makedirs(WORK, exist_ok=True)
    unittest.main(argv=sys.argv[:1])
