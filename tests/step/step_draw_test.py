#!/usr/bin/python3
"""The helical pair's STEP file read back by another reader, OpenCASCADE's
command interpreter (occt-draw): two solids, each valid, each with its centre
of gravity on its own axis halfway up the face width (the gear's at the
origin, its mate's on +x at the centre distance).

usage: step_draw_test.py STEP_SOLID_TEST OCCT_DRAW ARTIFACTS"""
import math
import os
import re
import subprocess
import sys
import unittest

TEST, DRAW, ARTIFACTS = sys.argv[1:4]
FACE_WIDTH = 20.0
CENTRE_DISTANCE = 2.0 * (20 + 30) / (2.0 * math.cos(math.radians(20.0)))  # m_n (z1 + z2) / (2 cos β)


class StepDrawTest(unittest.TestCase):
    def test_helical_pair_reads_back(self):
        subprocess.run([TEST, "--gtest_filter=StepSolid.HelicalPairTwistsByItsHands"], check=True,
                       stdout=subprocess.DEVNULL)
        script = os.path.join(ARTIFACTS, "read_back.tcl")
        with open(script, "w") as f:
            f.write("pload MODELING DATAEXCHANGE\n"
                    f"stepread {os.path.join(ARTIFACTS, 'helical.step')} a *\n"
                    "foreach s {a_1 a_2} { puts \"$s [checkshape $s]\"; puts [vprops $s] }\n"
                    "puts [isdraw a_3]\nexit\n")
        out = subprocess.run([DRAW, "-b", "-f", script], capture_output=True, text=True, timeout=300).stdout
        self.assertEqual(out.count("This shape seems to be valid"), 2, out)
        centres = re.findall(r"X =\s*(\S+)\s*Y =\s*(\S+)\s*Z =\s*(\S+)", out)
        self.assertEqual(len(centres), 2, out)
        masses = [float(m) for m in re.findall(r"Mass :\s*(\S+)", out)]
        self.assertTrue(all(m > 0.0 for m in masses), out)
        for (x, y, z), x_axis in zip(centres, (0.0, CENTRE_DISTANCE)):
            self.assertAlmostEqual(float(x), x_axis, delta=1e-3)
            self.assertAlmostEqual(float(y), 0.0, delta=1e-3)
            self.assertAlmostEqual(float(z), FACE_WIDTH / 2, delta=1e-6)
        self.assertTrue(out.rstrip().endswith("0"), out)  # no third solid


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
