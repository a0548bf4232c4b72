#!/usr/bin/env python3
"""Checks that Windows programs import nothing Windows 7 SP1 lacks.

Kivora runs on Windows 7 SP1 and later. A function a later Windows added must
be looked up at run time (platform/win32/system_functions.h); imported, it
keeps the program from starting at all where it is missing. Two checks over
the import tables that `objdump -p` lists:

  functions  no imported function is on the list of functions newer than
             Windows 7 SP1 (newer_than_windows7.txt)
  dlls       every imported DLL is one Windows 7 SP1 ships (windows7_dlls.txt)

    check_imports.py --objdump OBJDUMP --lists DIR [--check functions|dlls] PROGRAM...
    check_imports.py --listing FILE ...   (objdump output read from FILE, for tests)

Ends with 1 and names every offending import, else 0.
"""
import argparse
import os
import re
import subprocess
import sys


def read_list(path):
    """Names, one a line; '#' starts a comment."""
    names = set()
    with open(path, encoding="utf-8") as f:
        for line in f:
            name = line.split("#", 1)[0].strip()
            if name:
                names.add(name)
    return names


def parse_imports(listing):
    """{dll (lower case): [function, ...]} from the text of `objdump -p`."""
    imports = {}
    dll = None
    for line in listing.splitlines():
        match = re.match(r"\s*DLL Name:\s*(\S+)", line)
        if match:
            dll = match.group(1).lower()
            imports.setdefault(dll, [])
            continue
        # "\t<vma>\t <hint> <name>" under a DLL; a blank line ends it.
        match = re.match(r"\t[0-9a-fA-F]+\t\s*[0-9]+\s+(\S+)", line)
        if dll and match:
            imports[dll].append(match.group(1))
        elif not line.strip():
            dll = None
    return imports


def listing_of(objdump, program):
    return subprocess.run([objdump, "-p", program], check=True, capture_output=True,
                          text=True).stdout


def problems(name, imports, newer, dlls, checks):
    found = []
    if not imports:
        found.append("%s: no import table found" % name)
    for dll, functions in sorted(imports.items()):
        if "dlls" in checks and dll not in dlls:
            found.append("%s: imports %s, which Windows 7 SP1 does not ship" % (name, dll))
        if "functions" in checks:
            for function in functions:
                if function in newer:
                    found.append("%s: imports %s from %s, which Windows 7 SP1 lacks" %
                                 (name, function, dll))
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--objdump", default="x86_64-w64-mingw32-objdump")
    parser.add_argument("--lists", default=os.path.dirname(os.path.abspath(__file__)),
                        help="folder of newer_than_windows7.txt and windows7_dlls.txt")
    parser.add_argument("--check", choices=("functions", "dlls"), action="append",
                        help="run only this check (default: both)")
    parser.add_argument("--listing", action="store_true",
                        help="the arguments are files of objdump output, not programs")
    parser.add_argument("programs", nargs="+")
    args = parser.parse_args()
    checks = set(args.check or ("functions", "dlls"))
    newer = read_list(os.path.join(args.lists, "newer_than_windows7.txt"))
    dlls = {name.lower() for name in read_list(os.path.join(args.lists, "windows7_dlls.txt"))}
    found = []
    for program in args.programs:
        if args.listing:
            with open(program, encoding="utf-8") as f:
                listing = f.read()
        else:
            listing = listing_of(args.objdump, program)
        found += problems(os.path.basename(program), parse_imports(listing), newer, dlls, checks)
    for line in found:
        print(line)
    if not found:
        print("%s: nothing Windows 7 SP1 lacks" % ", ".join(map(os.path.basename, args.programs)))
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
