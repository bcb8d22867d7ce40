#!/usr/bin/env python3
"""Counts the test reports in a folder: GoogleTest's XML files (one per program) and
ctest's JUnit file. Prints "TESTS FAILED REPORTS"; a file that does not parse counts
as one failed report."""
import glob
import os
import sys
import xml.etree.ElementTree as ElementTree

tests = failed = reports = 0
for path in sorted(glob.glob(os.path.join(sys.argv[1], '*.xml'))):
    reports += 1
    try:
        top = ElementTree.parse(path).getroot()
    except ElementTree.ParseError:
        failed += 1
        continue
    tests += int(top.get('tests', 0))
    failed += int(top.get('failures', 0)) + int(top.get('errors', 0))
print(tests, failed, reports)
