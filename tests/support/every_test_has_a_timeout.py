"""Fails, naming them, when a test that ctest lists has no TIMEOUT property.

Usage: every_test_has_a_timeout.py CTEST BUILD_FOLDER
"""
import json
import subprocess
import sys

ctest, build_folder = sys.argv[1:3]
listing = json.loads(subprocess.run([ctest, "--show-only=json-v1", "--test-dir", build_folder],
                                    check=True, capture_output=True, text=True).stdout)
tests = listing["tests"]
if not tests:
    sys.exit(f"ctest lists no tests in {build_folder}")
untimed = [test["name"] for test in tests
           if not any(p["name"] == "TIMEOUT" for p in test.get("properties", []))]
if untimed:
    sys.exit("tests without a TIMEOUT:\n  " + "\n  ".join(untimed))
print(f"all {len(tests)} tests have a TIMEOUT")
