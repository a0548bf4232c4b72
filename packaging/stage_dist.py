"""Puts the files of one Kivora release into a folder, as Windows users get them
(used by release.py).

The programs are stripped of their symbols; the texts get CR LF line ends
(Notepad on older Windows shows LF-only files as one line), and the read-me
and the sample scripts a UTF-8 byte-order mark, so that no editor has to
guess their encoding. nsis_include lists exactly these files for NSIS, for
the installer to install and the uninstaller to remove.
"""

import os
import pathlib
import re
import shutil
import subprocess

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


def stage_release(stage: pathlib.Path, *, version: str, copyright: str, strip: str,
                  programs: list[str], files: list[str], readme: str, license: str,
                  samples: list[str], epoch: int) -> list[pathlib.Path]:
    """Fills stage (emptied first); returns its files, relative to it, sorted.
    strip writes the time it runs into a PE header that says 0 (as the
    linker leaves it), unless SOURCE_DATE_EPOCH gives it the release's date."""
    if stage.exists():
        shutil.rmtree(stage)
    (stage / "samples").mkdir(parents=True)

    for program in map(pathlib.Path, programs):
        subprocess.run([strip, "--strip-all", "-o", str(stage / program.name), str(program)], check=True,
                       env=dict(os.environ, SOURCE_DATE_EPOCH=str(epoch)))
    for f in map(pathlib.Path, files):
        shutil.copyfile(f, stage / f.name)
    text = read_source_text(pathlib.Path(readme))
    text = text.replace("@VERSION@", version).replace("@COPYRIGHT@", copyright)
    if re.search(r"@[A-Z]+@", text):
        raise SystemExit("stage_dist: the read-me holds a placeholder nobody fills")
    write_text(stage / "ReadMe.txt", text, bom=True)
    write_text(stage / "License.txt", read_source_text(pathlib.Path(license)), bom=False)
    for sample in map(pathlib.Path, samples):
        write_text(stage / "samples" / sample.name, read_source_text(sample), bom=True)
    return sorted(p.relative_to(stage) for p in stage.rglob("*") if p.is_file())


def set_dates(root: pathlib.Path, epoch: int) -> None:
    """Dates root and everything in it at epoch: the installer keeps each
    file's date, and the date of a build is not the release's."""
    for path in [root, *root.rglob("*")]:
        os.utime(path, (epoch, epoch))
