#!/usr/bin/python3
"""Checks the menu entries in packaging/ as the desktop reads them.

   check_desktop_entries.py PACKAGING_DIR
"""
import pathlib
import sys


def entry_keys(path):
    keys = {}
    for line in path.read_text(encoding="utf-8").splitlines():
        if "=" in line and not line.startswith("#"):
            key, value = line.split("=", 1)
            keys[key.strip()] = value.strip()
    return keys


def main():
    entries = sorted(pathlib.Path(sys.argv[1]).glob("*.desktop"))
    names = [entry.name for entry in entries]
    failures = []
    if names != ["org.kalvena.Kalvena.desktop", "org.kalvena.Results.desktop"]:
        failures.append(f"unexpected entries: {names}")
    for entry in entries:
        keys = entry_keys(entry)
        # A claimed type makes the program the default for every such file.
        if "MimeType" in keys:
            failures.append(f"{entry.name}: MimeType={keys['MimeType']}")
        # The desktop finds a program's windows by their class, which the
        # programs set to the entry's name.
        if keys.get("StartupWMClass") != entry.name.removesuffix(".desktop"):
            failures.append(f"{entry.name}: StartupWMClass={keys.get('StartupWMClass')}")
    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(entries)} entries, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
