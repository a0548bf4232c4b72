#!/usr/bin/env python3
"""Puts the files of one Kivora release into a folder, as Windows users get them.

The programs are stripped of their symbols; the texts get CR LF line ends
(Notepad on older Windows shows LF-only files as one line), and the read-me
and the sample scripts a UTF-8 byte-order mark, so that no editor has to
guess their encoding. Beside the folder it writes an NSIS include that lists
exactly these files, for the installer to install and the uninstaller to
remove.
"""

import argparse
import re
import pathlib
import shutil
import subprocess
import sys

UTF8_BOM = b"\xef\xbb\xbf"


def windows_text(text: str) -> bytes:
    lines = text.replace("\r\n", "\n").split("\n")
    return "\r\n".join(lines).encode("utf-8")


def write_text(target: pathlib.Path, text: str, bom: bool) -> None:
    target.write_bytes((UTF8_BOM if bom else b"") + windows_text(text))


def read_source_text(path: pathlib.Path) -> str:
    data = path.read_bytes()
    if data.startswith(UTF8_BOM):
        data = data[len(UTF8_BOM):]
    return data.decode("utf-8")


def nsis_include(stage: pathlib.Path, files: list[pathlib.Path]) -> str:
    """Two macros: install every staged file, remove every one of them."""
    folders = sorted({f.parent for f in files}, key=lambda p: (len(p.parts), str(p)))
    install = []
    for folder in folders:
        target = "$INSTDIR" + "".join("\\" + part for part in folder.parts)
        install.append(f'  SetOutPath "{target}"')
        for f in sorted(x for x in files if x.parent == folder):
            install.append(f'  File "{(stage / f).as_posix()}"')
    install.append('  SetOutPath "$INSTDIR"')
    remove = [f'  Delete "$INSTDIR\\{chr(92).join(f.parts)}"' for f in sorted(files)]
    for folder in sorted((f for f in folders if f.parts), key=lambda p: -len(p.parts)):
        remove.append(f'  RMDir "$INSTDIR\\{chr(92).join(folder.parts)}"')
    return ("; Written by stage_dist.py: the files of this release.\n"
            "!macro KIVORA_INSTALL_FILES\n" + "\n".join(install) + "\n!macroend\n"
            "!macro KIVORA_REMOVE_FILES\n" + "\n".join(remove) + "\n!macroend\n")


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--stage", required=True, help="folder to fill (emptied first)")
    parser.add_argument("--nsis-list", required=True, help="NSIS include to write")
    parser.add_argument("--version", required=True)
    parser.add_argument("--copyright", required=True)
    parser.add_argument("--strip", required=True, help="the strip program for Windows executables")
    parser.add_argument("--program", action="append", default=[], help="an executable to ship stripped")
    parser.add_argument("--file", action="append", default=[], help="a file to ship as it is")
    parser.add_argument("--readme", required=True, help="read-me source; @VERSION@ and @COPYRIGHT@ are replaced")
    parser.add_argument("--license", required=True)
    parser.add_argument("--sample", action="append", default=[], help="a sample script")
    args = parser.parse_args()

    stage = pathlib.Path(args.stage)
    if stage.exists():
        shutil.rmtree(stage)
    (stage / "samples").mkdir(parents=True)

    for program in map(pathlib.Path, args.program):
        subprocess.run([args.strip, "--strip-all", "-o", str(stage / program.name), str(program)], check=True)
    for f in map(pathlib.Path, args.file):
        shutil.copyfile(f, stage / f.name)
    readme = read_source_text(pathlib.Path(args.readme))
    readme = readme.replace("@VERSION@", args.version).replace("@COPYRIGHT@", args.copyright)
    if re.search(r"@[A-Z]+@", readme):
        raise SystemExit("stage_dist: the read-me holds a placeholder nobody fills")
    write_text(stage / "ReadMe.txt", readme, bom=True)
    write_text(stage / "License.txt", read_source_text(pathlib.Path(args.license)), bom=False)
    for sample in map(pathlib.Path, args.sample):
        write_text(stage / "samples" / sample.name, read_source_text(sample), bom=True)

    files = sorted(p.relative_to(stage) for p in stage.rglob("*") if p.is_file())
    pathlib.Path(args.nsis_list).write_text(nsis_include(stage, files), encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
