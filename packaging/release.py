#!/usr/bin/env python3
"""Makes one Kivora release from the built files.

    release.py --config release.json --out DIR [--sign FILE.pfx]

release.json is written by the build (packaging/CMakeLists.txt): the version,
the built programs and help file, the texts, makensis and how to run a
Windows program. DIR receives

    Kivora/                          the release's files, as the zip holds them
    Kivora-VERSION-win64.zip
    Kivora-VERSION-win64-setup.exe   (when makensis is there)
    SHA256SUMS                       the zip, the installer and the programs, for sha256sum -c
    manifests/winget/*.yaml, manifests/scoop/kivora.json

Every date in them is SOURCE_DATE_EPOCH (the build's epoch file), every
list is sorted, so two builds of one commit give the same bytes.

--sign signs Kivora.exe and kxscript.exe before they are packed, then the
uninstaller, then the installer, with osslsigncode (SHA-256 Authenticode).
The password comes from KIVORA_SIGN_PASSWORD (handed over on standard input,
never on a command line), a time-stamp server from KIVORA_SIGN_TIMESTAMP_URL
when set. NSIS writes its uninstaller while installing, so a signed release
builds it beforehand: a first installer that only writes the uninstaller is
run once (through Wine on Linux), the uninstaller is signed, and the real
installer carries that file.
"""

import argparse
import hashlib
import json
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

from manifests import write_manifests
from stage_dist import nsis_include, set_dates, stage_release

FOLDER = "Kivora"
SIGNED_PROGRAMS = ["Kivora.exe", "kxscript.exe"]
SUMMED_FILES = ["Kivora.exe", "kxscript.exe", "Kivora.chm"]
ZIP_EPOCH_FLOOR = 315532800  # 1980-01-01, the first date a zip entry holds


def sha256(path: pathlib.Path) -> str:
    digest = hashlib.sha256()
    with path.open("rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


def write_zip(target: pathlib.Path, root: pathlib.Path, folder: str, epoch: int) -> None:
    """root/folder packed with fixed dates, attributes and order: folders
    before what they hold, names sorted."""
    date = time.gmtime(max(epoch, ZIP_EPOCH_FLOOR))[:6]
    entries = sorted([root / folder, *(root / folder).rglob("*")],
                     key=lambda p: p.relative_to(root).parts)
    target.unlink(missing_ok=True)
    with zipfile.ZipFile(target, "w") as archive:
        for path in entries:
            name = path.relative_to(root).as_posix() + ("/" if path.is_dir() else "")
            info = zipfile.ZipInfo(name, date_time=date)
            info.create_system = 0  # MS-DOS attributes, as Windows' own zip folders write
            if path.is_dir():
                info.external_attr = 0x10
                archive.writestr(info, b"")
            else:
                info.external_attr = 0x20
                info.compress_type = zipfile.ZIP_DEFLATED
                archive.writestr(info, path.read_bytes(), compresslevel=9)


class Signer:
    def __init__(self, pfx: pathlib.Path):
        self.pfx = pfx
        self.password = os.environ.get("KIVORA_SIGN_PASSWORD")
        if self.password is None:
            raise SystemExit("release: --sign needs the certificate's password in KIVORA_SIGN_PASSWORD")
        self.timestamp_url = os.environ.get("KIVORA_SIGN_TIMESTAMP_URL", "")
        self.tool = shutil.which("osslsigncode")
        if not self.tool:
            raise SystemExit("release: --sign needs osslsigncode (tools/install-deps.sh installs it)")

    def sign(self, path: pathlib.Path, description: str) -> None:
        signed = path.with_name(path.name + ".signed")
        signed.unlink(missing_ok=True)
        command = [self.tool, "sign", "-pkcs12", str(self.pfx), "-readpass", "-", "-h", "sha256",
                   "-n", description]
        if self.timestamp_url:
            command += ["-ts", self.timestamp_url]
        command += ["-in", str(path), "-out", str(signed)]
        result = subprocess.run(command, input=self.password, text=True, capture_output=True)
        if result.returncode != 0:
            signed.unlink(missing_ok=True)
            raise SystemExit(f"release: signing {path.name} failed:\n{result.stdout}{result.stderr}")
        signed.replace(path)
        print(f"release: signed {path.name}")


def makensis(config, work: pathlib.Path, file_list: pathlib.Path, outfile: pathlib.Path,
             epoch: int, *defines: str) -> None:
    command = [config["makensis"], "-V2", "-INPUTCHARSET", "UTF8",
               f"-DVERSION={config['version']}", f"-DCOPYRIGHT={config['copyright']}",
               f"-DTARGET={config['nsis_target']}", f"-DFILES={file_list}",
               f"-DICON={config['icon']}", f"-DWEB_SITE={config['web_site']}",
               f"-DOUTFILE={outfile}", *defines, config["nsis_script"]]
    environment = dict(os.environ, SOURCE_DATE_EPOCH=str(epoch))
    subprocess.run(command, check=True, cwd=work, env=environment)


def signed_uninstaller(config, work: pathlib.Path, file_list: pathlib.Path, epoch: int,
                       signer: Signer) -> pathlib.Path:
    """The first pass of a signed installer: the uninstaller, signed."""
    writer = work / "uninstaller-writer.exe"
    makensis(config, work, file_list, writer, epoch, "-DUNINSTALLER_WRITER")
    uninstaller = work / "Uninstall.exe"
    uninstaller.unlink(missing_ok=True)
    # The writer puts Uninstall.exe beside itself and quits.
    subprocess.run([*config["run_windows_program"], str(writer)], cwd=work)
    if not uninstaller.is_file():
        raise SystemExit("release: the uninstaller writer wrote no Uninstall.exe")
    signer.sign(uninstaller, "Kivora Uninstall")
    return uninstaller


def write_sums(out: pathlib.Path, files: list[pathlib.Path]) -> None:
    lines = [f"{sha256(f)}  {f.relative_to(out).as_posix()}\n" for f in files]
    (out / "SHA256SUMS").write_text("".join(lines), encoding="ascii", newline="\n")


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--config", required=True, type=pathlib.Path)
    parser.add_argument("--out", required=True, type=pathlib.Path)
    parser.add_argument("--sign", type=pathlib.Path, metavar="FILE.pfx")
    args = parser.parse_args()

    config = json.loads(args.config.read_text(encoding="utf-8"))
    epoch = int(pathlib.Path(config["source_date_file"]).read_text().strip())
    signer = Signer(args.sign.resolve()) if args.sign else None
    out = args.out.resolve()
    out.mkdir(parents=True, exist_ok=True)
    version = config["version"]

    stage = out / FOLDER
    files = stage_release(stage, version=version, copyright=config["copyright"],
                          strip=config["strip"], programs=config["programs"], files=config["files"],
                          readme=config["readme"], license=config["license"], samples=config["samples"],
                          epoch=epoch)
    if signer:
        for name in SIGNED_PROGRAMS:
            signer.sign(stage / name, "Kivora" if name == "Kivora.exe" else "Kivora script runner")
    set_dates(stage, epoch)

    zip_file = out / f"Kivora-{version}-win64.zip"
    write_zip(zip_file, out, FOLDER, epoch)

    setup = None
    if config.get("makensis"):
        setup = out / f"Kivora-{version}-win64-setup.exe"
        with tempfile.TemporaryDirectory(prefix="kivora-release-") as temporary:
            work = pathlib.Path(temporary)
            file_list = work / "installer_files.nsh"
            file_list.write_text(nsis_include(stage, files), encoding="utf-8")
            defines = []
            if signer:
                uninstaller = signed_uninstaller(config, work, file_list, epoch, signer)
                defines.append(f"-DSIGNED_UNINSTALLER={uninstaller}")
            makensis(config, work, file_list, setup, epoch, *defines)
        if signer:
            signer.sign(setup, "Kivora Setup")

    summed = [zip_file, *([setup] if setup else []), *(stage / name for name in SUMMED_FILES)]
    write_sums(out, summed)
    write_manifests(out / "manifests", version=version, download_url=config["download_url"],
                    web_site=config["web_site"], copyright=config["copyright"],
                    zip_file=zip_file, zip_sha256=sha256(zip_file),
                    setup_file=setup, setup_sha256=sha256(setup) if setup else None)
    return 0


if __name__ == "__main__":
    sys.exit(main())
