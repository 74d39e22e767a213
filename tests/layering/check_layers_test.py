#!/usr/bin/env python3
"""The layering check on small trees made here: each case plants one fault."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "check-layers.py")

TABLE = """[levels]
records  -
data     records
windows  data
codec    records
outside  windows codec
[libraries]
[files]
records/*   records
core/frm*   windows
core/*      data
update/*    codec
tests/*     outside
"""


class LayeringCheck(unittest.TestCase):
    def run_check(self, files, cmake="", allowed=""):
        root = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, root)
        os.mkdir(os.path.join(root, "scripts"))
        shutil.copy(SCRIPT, os.path.join(root, "scripts", "check-layers.py"))
        for name, text in [("scripts/layers.txt", TABLE), ("scripts/layers-allowed.txt", allowed),
                           ("CMakeLists.txt", cmake)] + list(files.items()):
            os.makedirs(os.path.dirname(os.path.join(root, name)), exist_ok=True)
            with open(os.path.join(root, name), "w") as f:
                f.write(text)
        subprocess.run(["git", "init", "-q", root], check=True)
        subprocess.run(["git", "-C", root, "add", "-A"], check=True)
        done = subprocess.run([sys.executable, os.path.join(root, "scripts", "check-layers.py"), root],
                              capture_output=True, text=True)
        return done.returncode, done.stdout

    def test_cases(self):
        base = {"records/R.h": "", "core/modA.h": '#include "records/R.h"\n', "core/frmA.h": '#include "core/modA.h"\n'}
        cases = [
            ("includes pointing down pass", {}, "", "", 0, ""),
            ("an include from a lower level into a higher one fails",
             {"records/R.cpp": '#include "core/modA.h"\n'}, "", "", 1, "records/R.cpp -> core/modA.h"),
            ("an include beside the level (updater into Wayloom) fails",
             {"update/K.cpp": '#include "core/modA.h"\n'}, "", "", 1, "codec includes data, beside it"),
            ("an allow-listed wrong-way include passes",
             {"records/R.cpp": '#include "core/frmA.h"\n'}, "", "records/R.cpp -> core/frmA.h\n", 0, ""),
            ("an allow-list line whose include is gone fails",
             {}, "", "records/R.cpp -> core/frmA.h\n", 1, "no longer needed"),
            ("a file in a library's source list takes the library's level",
             {"core/modB.cpp": '#include "core/frmA.h"\n'}, "add_library(windows STATIC core/modB.cpp)\n", "", 0,
             ""),
            ("a link against the levels fails",
             {}, "add_library(records STATIC records/R.h)\nadd_library(data STATIC core/modA.h)\n"
                 "target_link_libraries(records PUBLIC data)\n", "", 1, "library records (records) links data"),
            ("a cycle of links fails",
             {}, "add_library(x STATIC)\nadd_library(y STATIC)\ntarget_link_libraries(x PUBLIC y)\n"
                 "target_link_libraries(y PRIVATE x)\n", "", 1, "cycle: x -> y -> x"),
            ("a program file the table does not place fails", {"elsewhere/Z.cpp": ""}, "", "", 1, "no level"),
            ("tests may include anything", {"tests/T.cpp": '#include "core/frmA.h"\n'}, "", "", 0, ""),
        ]
        for name, extra, cmake, allowed, code, says in cases:
            with self.subTest(name):
                got, out = self.run_check({**base, **extra}, cmake, allowed)
                self.assertEqual(got, code, out)
                self.assertIn(says, out)


if __name__ == "__main__":
    unittest.main()
