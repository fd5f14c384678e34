#!/usr/bin/env python3
"""The include circle check on small trees written to a temporary folder."""

import os
import subprocess
import sys
import tempfile
import unittest

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                      "check_include_circles.py")


def run_on(files):
    """Writes {path: text} under a fresh root and runs the check there: (exit code, output)."""
    with tempfile.TemporaryDirectory() as root:
        for path, text in files.items():
            full = os.path.join(root, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w", encoding="utf-8") as f:
                f.write(text)
        done = subprocess.run([sys.executable, SCRIPT, root], capture_output=True, text=True)
        return done.returncode, done.stdout + done.stderr


def inc(*targets):
    return "".join(f'#include "{t}"\n' for t in targets)


class IncludeCircles(unittest.TestCase):
    def test_trees_without_circles_pass(self):
        cases = {
            "each file includes its own header, a diamond below": {
                "engine/a.h": inc("engine/b.h", "engine/c.h"),
                "engine/a.cpp": inc("engine/a.h", "layoutfiles/d.h"),
                "engine/b.h": inc("layoutfiles/d.h"),
                "engine/b.cpp": inc("engine/b.h"),
                "engine/c.h": inc("layoutfiles/d.h"),
                "layoutfiles/d.h": "",
                "layoutfiles/d.cpp": inc("layoutfiles/d.h", "platform/platform.h"),
                "platform/platform.h": "#include <string>\n",
            },
            "what is commented out, angled or outside the product is no edge": {
                "engine/a.h": inc("engine/b.h"),
                "engine/b.cpp": '// #include "engine/a.h"\n#include <engine/a.h>\n' + inc("tests/t.h"),
                "tests/t.h": inc("engine/a.h"),
                "tests/t.cpp": inc("engine/b.h", "tests/t.h"),
            },
            "a header included twice is one edge, not a circle": {
                "tools/x.cpp": inc("tools/y.h", "tools/y.h"),
                "tools/y.cpp": inc("tools/y.h"),
            },
        }
        for name, files in cases.items():
            with self.subTest(name):
                code, out = run_on(files)
                self.assertEqual(code, 0, out)
                self.assertIn("ok", out)

    def test_circles_fail_with_their_chain(self):
        cases = {
            "two rooms tied through their sources": (
                {
                    "engine/translate.h": "",
                    "engine/translate.cpp": inc("engine/translate.h", "engine/output.h"),
                    "engine/output.h": "",
                    "engine/output.cpp": inc("engine/output.h", "engine/translate.h"),
                },
                ["engine/output -> engine/translate -> engine/output"],
            ),
            "three rooms across folders, through headers": (
                {
                    "engine/a.h": inc("layoutfiles/b.h"),
                    "layoutfiles/b.h": inc("platform/sim/c.h"),
                    "platform/sim/c.h": inc("engine/a.h"),
                    "common/d.h": inc("engine/a.h"),
                },
                ["engine/a -> layoutfiles/b -> platform/sim/c -> engine/a"],
            ),
            "an include named from the including file's folder": (
                {
                    "settings/a.cpp": inc("b.h"),
                    "settings/b.cpp": inc("settings/a.h"),
                    "settings/a.h": "",
                    "settings/b.h": "",
                },
                ["settings/a -> settings/b -> settings/a"],
            ),
            "two separate circles are both told": (
                {
                    "engine/a.h": inc("engine/b.h"),
                    "engine/b.h": inc("engine/a.h"),
                    "tools/c.h": inc("tools/d.h"),
                    "tools/d.h": "",
                    "tools/d.cpp": inc("tools/c.h"),
                },
                ["engine/a -> engine/b -> engine/a", "tools/c -> tools/d -> tools/c"],
            ),
        }
        for name, (files, chains) in cases.items():
            with self.subTest(name):
                code, out = run_on(files)
                self.assertEqual(code, 1, out)
                for chain in chains:
                    self.assertTrue(any(line.strip() == chain for line in out.splitlines()), out)

    def test_names_the_includes_that_tie_the_circle(self):
        code, out = run_on({
            "engine/a.cpp": inc("engine/b.h"),
            "engine/b.cpp": inc("engine/a.h"),
            "engine/a.h": "",
            "engine/b.h": "",
        })
        self.assertEqual(code, 1, out)
        self.assertIn("engine/a.cpp includes engine/b.h", out)
        self.assertIn("engine/b.cpp includes engine/a.h", out)


if __name__ == "__main__":
    unittest.main()
