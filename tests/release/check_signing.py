#!/usr/bin/env python3
"""Signs a release with a throwaway certificate and checks every signature.

    check_signing.py SOURCE_DIR RELEASE_CONFIG SCRATCH_DIR

Makes a self-signed code-signing certificate with openssl (in SCRATCH_DIR;
its key is removed at the end), has packaging/release.py --sign write
a release into SCRATCH_DIR/release, and checks with osslsigncode verify,
against that certificate, Kivora.exe and kxscript.exe in the release folder
and in the zip, the installer, and what the installer installs (in a Wine
prefix of its own), the uninstaller included. SHA256SUMS must name the
signed files.
"""
import hashlib
import os
import pathlib
import shutil
import subprocess
import sys
import unittest
import zipfile

SOURCE, CONFIG, SCRATCH = map(pathlib.Path, sys.argv[1:4])
PASSWORD = "throwaway-test-password"


def run(*command, **options):
    return subprocess.run([str(c) for c in command], check=True, capture_output=True, text=True,
                          **options)


class SignedRelease(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        shutil.rmtree(SCRATCH, ignore_errors=True)
        SCRATCH.mkdir(parents=True)
        cls.cert = SCRATCH / "cert.pem"
        key = SCRATCH / "key.pem"
        cls.pfx = SCRATCH / "cert.pfx"
        run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key,
            "-out", cls.cert, "-days", "2", "-subj", "/CN=Kivora throwaway test signer",
            "-addext", "extendedKeyUsage=codeSigning", "-addext", "keyUsage=digitalSignature")
        run("openssl", "pkcs12", "-export", "-inkey", key, "-in", cls.cert, "-out", cls.pfx,
            "-passout", "pass:" + PASSWORD)
        cls.release = SCRATCH / "release"
        environment = dict(os.environ, KIVORA_SIGN_PASSWORD=PASSWORD)
        environment.pop("KIVORA_SIGN_TIMESTAMP_URL", None)
        result = subprocess.run([sys.executable, SOURCE / "packaging" / "release.py", "--config", CONFIG,
                                 "--out", cls.release, "--sign", cls.pfx],
                                env=environment, capture_output=True, text=True)
        if result.returncode != 0:
            raise AssertionError(f"release.py --sign failed:\n{result.stdout}{result.stderr}")
        cls.setup = next(cls.release.glob("Kivora-*-win64-setup.exe"))
        cls.zip = next(cls.release.glob("Kivora-*-win64.zip"))

    @classmethod
    def tearDownClass(cls):
        for secret in ("key.pem", "cert.pfx"):
            (SCRATCH / secret).unlink(missing_ok=True)

    def assertSigned(self, path):
        result = subprocess.run(["osslsigncode", "verify", "-CAfile", str(self.cert), "-in", str(path)],
                                capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, f"{path}:\n{result.stdout}{result.stderr}")
        self.assertIn("Signature verification: ok", result.stdout, path)
        self.assertIn("sha256", result.stdout.lower(), path)

    def test_programs_zip_and_installer_are_signed(self):
        for name in ("Kivora.exe", "kxscript.exe"):
            self.assertSigned(self.release / "Kivora" / name)
        self.assertSigned(self.setup)
        unpacked = SCRATCH / "unpacked"
        with zipfile.ZipFile(self.zip) as archive:
            archive.extractall(unpacked)
        for name in ("Kivora.exe", "kxscript.exe"):
            self.assertSigned(unpacked / "Kivora" / name)

    def test_what_the_installer_installs_is_signed(self):
        prefix = SCRATCH / "wineprefix"
        target = SCRATCH / "installed"
        wine_target = "Z:" + str(target).replace("/", "\\")
        subprocess.run([SOURCE / "tools" / "wine-run", "--prefix", prefix, self.setup, "/S",
                        "/D=" + wine_target], check=True, timeout=600)
        for name in ("Kivora.exe", "kxscript.exe", "Uninstall.exe"):
            self.assertSigned(target / name)

    def test_sums_name_the_signed_files(self):
        for line in (self.release / "SHA256SUMS").read_text().splitlines():
            digest, name = line.split("  ", 1)
            self.assertEqual(hashlib.sha256((self.release / name).read_bytes()).hexdigest(), digest, name)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
