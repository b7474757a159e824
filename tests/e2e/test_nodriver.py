"""The shipped card page assigns no card-text handler, so the driver library is never loaded,
even where the search path would find one."""

import os
import sys
import time

from desktop import Desktop


def main():
    program, artifacts, stub_dir = sys.argv[1], sys.argv[2] + "/nodriver", sys.argv[3]
    with Desktop(program, artifacts=artifacts) as d:
        log = os.path.join(d.artifacts, "ld-debug")
        d.start({"LD_DEBUG": "files", "LD_DEBUG_OUTPUT": log, "LD_LIBRARY_PATH": stub_dir})
        d.wait_window("Setup")
        d.wait_window("Instructions for Settings utility")  # the supporter's build has run
        time.sleep(0.5)
        opened = []
        for name in os.listdir(d.artifacts):
            if name.startswith("ld-debug"):
                with open(os.path.join(d.artifacts, name), errors="replace") as f:
                    opened += [line for line in f if "ZTXWDM" in line]
        assert not opened, "the driver library was looked for:\n" + "".join(opened[:5])
    print("1 passed, 0 failed: no driver library")


if __name__ == "__main__":
    main()
