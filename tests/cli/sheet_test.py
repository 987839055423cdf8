#!/usr/bin/python3
"""--sheet for the worked pair, PDF and SVG in both languages: one A4 page
(pdfinfo), the --info table's figures on it (pdftotext; in the SVG as its own
text, which rsvg-convert draws without a complaint), the language chosen by
--lang or else by the locale, and a name that is neither .pdf nor .svg refused.

usage: sheet_test.py RACKGEN WORK_DIR"""
import os
import re
import subprocess
import sys
import unittest

RACKGEN, WORK = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
PAIR = ["--module", "3", "-z", "12", "-x", "0.6", "--mate", "24", "--mate-shift", "0.36",
        "--thickness-allowance=-0.080,-0.130", "--mate-thickness-allowance=-0.090,-0.150",
        "--centre-distance-tolerance", "0.020"]
ENV = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "LC_ALL", "LC_MESSAGES", "LANG")}


def run(*args, env=ENV):
    return subprocess.run([RACKGEN, *PAIR, *args], env=env, capture_output=True, text=True, timeout=120)


def pdf_text(path):
    return subprocess.run(["pdftotext", "-layout", path, "-"], capture_output=True, text=True,
                          check=True).stdout


class Sheet(unittest.TestCase):
    def test_pages_and_figures(self):
        info = run("--info").stdout
        span = re.search(r"span measurement\s+(\S+)", info).group(1)
        backlash = re.search(r"normal backlash \(least / greatest\)\s+(\S+)", info).group(1)
        self.assertEqual((span, backlash), ("23.8765", "0.1422"))
        for lang, title in (("en", "Gear data sheet"), ("ja", "歯車諸元表")):
            pdf, svg = os.path.join(WORK, lang + ".PDF"), os.path.join(WORK, lang + ".svg")
            r = run("--lang", lang, "--sheet", pdf, "--sheet", svg)
            self.assertEqual(r.returncode, 0, r.stderr)
            self.assertIn("the gear data sheet of the gear, its mate and the pair, module 3 mm, scale 1:1", r.stderr)
            pages = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True, check=True).stdout
            self.assertRegex(pages, r"Pages:\s+1\n")
            self.assertRegex(pages, r"Page size:\s+595.2\d* x 841.8\d* pts \(A4\)")
            text = pdf_text(pdf)
            with open(svg, encoding="utf-8") as f:
                svg_text = f.read()
            self.assertRegex(svg_text[:400], r'width="595.2\d*pt" height="841.8\d*pt"')
            for figure in (title, span + " mm", backlash + " / ", "24", "尺度 1:1" if lang == "ja" else "Scale 1:1"):
                self.assertIn(figure, text)
                self.assertIn(figure, svg_text)
            drawn = subprocess.run(["rsvg-convert", "-o", os.path.join(WORK, lang + ".png"), svg],
                                   capture_output=True, text=True)
            self.assertEqual((drawn.returncode, drawn.stderr), (0, ""))

    def test_language_from_locale(self):
        for env, language in ({"LANG": "ja_JP.UTF-8"}, "Japanese"), ({"LANG": "ja_JP.UTF-8", "LC_ALL": "C"}, "English"):
            path = os.path.join(WORK, "locale.pdf")
            r = run("--sheet", path, env={**ENV, **env})
            self.assertEqual(r.returncode, 0, r.stderr)
            self.assertTrue(r.stderr.rstrip().endswith(language), r.stderr)
            self.assertEqual("歯車諸元表" in pdf_text(path), language == "Japanese")

    def test_refusals(self):
        r = run("--sheet", os.path.join(WORK, "sheet.png"))
        self.assertEqual(r.returncode, 2)
        self.assertIn("must end in .pdf or .svg", r.stderr)
        r = run("--sheet", os.path.join(WORK, "sheet.pdf"), "--units", "in")
        self.assertEqual(r.returncode, 2)


if __name__ == "__main__":
    os.makedirs(WORK, exist_ok=True)
    unittest.main(argv=sys.argv[:1])
