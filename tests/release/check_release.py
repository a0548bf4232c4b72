#!/usr/bin/env python3
"""Checks a built release folder as a user or a package manager sees it.

    check_release.py DIST_DIR VERSION EPOCH_FILE

- SHA256SUMS is in sha256sum -c form and right for every file it names, and
  names the zip, the installer and the programs inside.
- The winget manifests and kivora.json parse, and the hashes and file names
  in them are those of the zip and the installer beside them.
- The zip holds one folder Kivora, its entries in sorted order and dated at
  the build's SOURCE_DATE_EPOCH (nothing of the time of the build).
"""
import hashlib
import json
import pathlib
import sys
import time
import unittest
import zipfile

import yaml

DIST = pathlib.Path(sys.argv[1])
VERSION = sys.argv[2]
EPOCH = int(pathlib.Path(sys.argv[3]).read_text().strip())


def sha256(path):
    return hashlib.sha256(path.read_bytes()).hexdigest()


class Release(unittest.TestCase):
    def setUp(self):
        self.version = VERSION
        self.zip = DIST / f"Kivora-{VERSION}-win64.zip"
        self.setup = DIST / f"Kivora-{VERSION}-win64-setup.exe"

    def test_sums_are_right_for_the_files_beside_them(self):
        named = []
        for line in (DIST / "SHA256SUMS").read_text(encoding="ascii").splitlines():
            digest, name = line.split("  ", 1)
            self.assertRegex(digest, r"^[0-9a-f]{64}$")
            self.assertEqual(sha256(DIST / name), digest, name)
            named.append(name)
        self.assertEqual(named, [self.zip.name, self.setup.name, "Kivora/Kivora.exe",
                                 "Kivora/kxscript.exe", "Kivora/Kivora.chm"])

    def test_winget_manifests_parse_and_point_at_the_installer(self):
        folder = DIST / "manifests" / "winget"
        loaded = {p.name: yaml.safe_load(p.read_text(encoding="utf-8")) for p in folder.glob("*.yaml")}
        self.assertEqual(set(loaded), {"Orvanta.Kivora.yaml", "Orvanta.Kivora.installer.yaml",
                                       "Orvanta.Kivora.locale.en-US.yaml", "Orvanta.Kivora.locale.ja-JP.yaml"})
        for name, manifest in loaded.items():
            self.assertEqual(manifest["PackageIdentifier"], "Orvanta.Kivora", name)
            self.assertEqual(manifest["PackageVersion"], self.version, name)
            self.assertGreaterEqual(tuple(map(int, manifest["ManifestVersion"].split("."))), (1, 6, 0))
        self.assertEqual(loaded["Orvanta.Kivora.yaml"]["DefaultLocale"], "en-US")
        installer = loaded["Orvanta.Kivora.installer.yaml"]
        self.assertEqual((installer["InstallerType"], installer["Scope"]), ("nullsoft", "user"))
        self.assertEqual(installer["InstallerSwitches"]["Silent"], "/S")
        [entry] = installer["Installers"]
        self.assertEqual(entry["InstallerSha256"], sha256(self.setup).upper())
        self.assertTrue(entry["InstallerUrl"].endswith("/" + self.setup.name), entry["InstallerUrl"])

    def test_scoop_manifest_parses_and_points_at_the_zip(self):
        manifest = json.loads((DIST / "manifests" / "scoop" / "kivora.json").read_text(encoding="utf-8"))
        download = manifest["architecture"]["64bit"]
        self.assertEqual(download["hash"], sha256(self.zip))
        self.assertTrue(download["url"].endswith("/" + self.zip.name), download["url"])
        self.assertEqual(manifest["version"], self.version)
        self.assertEqual(manifest["extract_dir"], "Kivora")
        self.assertEqual(manifest["persist"], "Kivora.ini")
        with zipfile.ZipFile(self.zip) as archive:
            self.assertIn("Kivora/" + manifest["shortcuts"][0][0], archive.namelist())

    def test_zip_is_sorted_and_dated_at_the_commit(self):
        expected = time.gmtime(max(EPOCH, 315532800))[:6]
        with zipfile.ZipFile(self.zip) as archive:
            infos = archive.infolist()
        names = [i.filename for i in infos]
        self.assertEqual(names, sorted(names, key=lambda n: n.rstrip("/").split("/")))
        self.assertTrue(all(n.startswith("Kivora/") for n in names))
        # DOS dates keep even seconds only.
        self.assertEqual({i.date_time for i in infos}, {expected[:5] + (expected[5] // 2 * 2,)})


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
