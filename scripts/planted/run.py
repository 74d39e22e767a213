#!/usr/bin/env python3
"""Plants each fault of faults.py in turn, builds, runs the tests and puts the
source back; reports which tests caught which fault.

  scripts/planted/run.py --check             every fault still applies (no build)
  scripts/planted/run.py [--build DIR] [--only NAME...] [--report FILE]
                                             plant, build, test; 'caught N of M'
  scripts/planted/run.py --sole REPORT       the tests that alone catch a fault

Run on demand (it takes a while: one incremental build and one test run per
fault), not in CI. The working tree must be clean of changes to the files the
faults touch; the source is restored even when the run is interrupted.
"""
import argparse
import json
import os
import pathlib
import signal
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent.parent
sys.path.insert(0, str(HERE))
from faults import FAULTS  # noqa: E402


def check():
    bad = 0
    for name, path, old, _ in FAULTS:
        text = (ROOT / path).read_text(encoding="utf-8")
        n = text.count(old)
        if n != 1:
            print(f"{name}: {path}: the text occurs {n} times")
            bad += 1
    names = [f[0] for f in FAULTS]
    if len(set(names)) != len(names):
        print("two faults share a name")
        bad += 1
    print(f"{len(FAULTS)} faults, {bad} no longer apply")
    return 1 if bad else 0


def failing_tests(build, env):
    with tempfile.TemporaryDirectory() as tmp:
        junit = os.path.join(tmp, "junit.xml")
        subprocess.run(["ctest", "--test-dir", build, "-j", str(os.cpu_count() or 2), "--timeout", "300",
                        "-LE", "slow", "--output-junit", junit],
                       env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        failed = []
        if os.path.exists(junit):
            for case in ET.parse(junit).getroot().iter("testcase"):
                if case.get("status") not in ("run", "notrun") or case.find("failure") is not None:
                    if case.get("status") != "notrun":
                        failed.append(case.get("name"))
        return sorted(failed)


def run(args):
    # A run started in the background ignores SIGINT; a TERM must still put
    # the planted file back.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    build = args.build
    chosen = [f for f in FAULTS if not args.only or f[0] in args.only]
    report = {}
    for name, path, old, new in chosen:
        file = ROOT / path
        original = file.read_bytes()
        text = original.decode("utf-8")
        if text.count(old) != 1:
            report[name] = {"status": "does not apply"}
            print(f"{name}: does not apply")
            continue
        try:
            file.write_text(text.replace(old, new), encoding="utf-8")
            built = subprocess.run(["cmake", "--build", build, "-j", str(os.cpu_count() or 2)],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0
            if not built:
                report[name] = {"status": "does not build"}
            else:
                failed = failing_tests(build, env)
                report[name] = {"status": "caught" if failed else "missed", "tests": failed}
        finally:
            file.write_bytes(original)
        print(f"{name}: {report[name]['status']} {' '.join(report[name].get('tests', []))}", flush=True)
        if args.report:  # kept after every fault, so that a stopped run loses nothing
            pathlib.Path(args.report).write_text(json.dumps(report, indent=1, sort_keys=True))
    subprocess.run(["cmake", "--build", build], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    caught = sum(1 for r in report.values() if r["status"] == "caught")
    print(f"caught {caught} of {len(chosen)}")
    if args.report:
        pathlib.Path(args.report).write_text(json.dumps(report, indent=1, sort_keys=True))
    return 0


def sole(path):
    report = json.loads(pathlib.Path(path).read_text())
    for name, r in sorted(report.items()):
        tests = r.get("tests", [])
        if len(tests) == 1:
            print(f"{tests[0]}\t{name}")
    return 0


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--check", action="store_true")
    p.add_argument("--build", default=str(ROOT / "build"))
    p.add_argument("--only", nargs="*")
    p.add_argument("--report")
    p.add_argument("--sole")
    args = p.parse_args()
    if args.check:
        return check()
    if args.sole:
        return sole(args.sole)
    return run(args)


if __name__ == "__main__":
    sys.exit(main())
