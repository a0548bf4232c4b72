#!/usr/bin/env python3
"""Checks that a built Kivora.chm holds every topic the program opens.

    check_help_file.py Kivora.chm
"""
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "tools" / "gen"))
import chm_names  # noqa: E402

EXPECTED = [
    "/_RESOURCE/HLP000001.html",  # the tray menu's Help
    "/_RESOURCE/HLP000017.html",  # the settings dialog (and its #imehelp section)
    "/_RESOURCE/HLP000018.html",  # the per-window rule dialogs
    "/_RESOURCE/HLP000020.html",  # the debug-log dialog
    "/_RESOURCE/HLP000024.html",  # the script editor
    "/_RESOURCE/kivora.css",
    "/Kivora.hhc",
]

names = set(chm_names.names(pathlib.Path(sys.argv[1]).read_bytes()))
missing = [n for n in EXPECTED if n not in names]
if missing:
    print("missing from the help file:", ", ".join(missing))
    sys.exit(1)
print(f"{len(EXPECTED)} expected names present among {len(names)}")
