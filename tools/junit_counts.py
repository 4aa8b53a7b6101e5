"""Prints "PASSED FAILED SKIPPED" for the JUnit XML files given.

Both ctest (--output-junit) and pytest (--junitxml) write these; a test case
with a <failure> or <error> child, or ctest's status="fail", has failed.
A file that cannot be read counts as one failure.
"""

import sys
import xml.etree.ElementTree as ET


def count(path):
    try:
        root = ET.parse(path).getroot()
    except (OSError, ET.ParseError):
        return 0, 1, 0
    passed = failed = skipped = 0
    for case in root.iter("testcase"):
        children = {child.tag for child in case}
        if children & {"failure", "error"} or case.get("status") == "fail":
            failed += 1
        elif "skipped" in children or case.get("status") in ("notrun", "disabled"):
            skipped += 1
        else:
            passed += 1
    return passed, failed, skipped


def main(paths):
    totals = [0, 0, 0]
    for path in paths:
        for i, n in enumerate(count(path)):
            totals[i] += n
    print(*totals)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
