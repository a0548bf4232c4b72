"""The package-manager manifests of one Kivora release (used by release.py).

winget gets the three-file manifest set (version, installer, default
locale; schema 1.6.0) plus a Japanese locale, Scoop one kivora.json. Both
point at the download address the build was given (KIVORA_DOWNLOAD_URL, where
"{version}" stands for the version) and carry the SHA-256 of the file they
download, computed from the file itself.

The YAML is written by hand: every text goes out as a JSON string, which is
also a valid YAML double-quoted scalar, so no text can break the layout.
"""

import json
import pathlib

PACKAGE_ID = "Orvanta.Kivora"
MANIFEST_VERSION = "1.6.0"
SCHEMA = "https://aka.ms/winget-manifest.{kind}.1.6.0.schema.json"

SHORT_DESCRIPTION = {
    "en-US": "Keeps NumLock, CapsLock and ScrollLock in the states you chose.",
    "ja-JP": "NumLock・CapsLock・ScrollLock を選んだ状態に保ちます。",
}
DESCRIPTION = {
    "en-US": (
        "A small resident tray utility that keeps NumLock, CapsLock and ScrollLock in the states "
        "you chose: per-window rules, a remote-desktop policy, rules for particular keyboards, "
        "IME control, an Insert-key block, a pause hotkey, notify-only mode and KX-Script, its "
        "own scripting language. Installs for the current user without administrator rights. "
        "A silent uninstall (\"Uninstall.exe /S\") keeps your settings; "
        "\"Uninstall.exe /S /REMOVESETTINGS\" removes them too."),
    "ja-JP": (
        "NumLock・CapsLock・ScrollLock を選んだ状態に保つ常駐ツールです。ウィンドウごとの設定、"
        "リモートデスクトップでの設定、キーボードごとの設定、IME の制御、Insert キーの無効化、"
        "一時停止のホットキー、通知のみのモード、独自のスクリプト言語 KX-Script を備えます。"
        "管理者権限なしで、現在のユーザーにインストールされます。サイレントでのアンインストール"
        "(\"Uninstall.exe /S\")は設定を残します。設定も削除するには "
        "\"Uninstall.exe /S /REMOVESETTINGS\" を使ってください。"),
}
TAGS = ["numlock", "capslock", "scrolllock", "keyboard", "tray", "ime"]


def _mapping_lines(mapping, indent):
    pad = " " * indent
    lines = []
    for key, value in mapping.items():
        if isinstance(value, dict):
            lines += [f"{pad}{key}:", *_mapping_lines(value, indent + 2)]
        elif isinstance(value, list) and value and isinstance(value[0], dict):
            lines.append(f"{pad}{key}:")
            for item in value:
                item_lines = _mapping_lines(item, indent + 2)
                item_lines[0] = f"{pad}- {item_lines[0].lstrip()}"
                lines += item_lines
        elif isinstance(value, list):
            lines.append(f"{pad}{key}:")
            lines += [f"{pad}- {json.dumps(v, ensure_ascii=False)}" for v in value]
        else:
            lines.append(f"{pad}{key}: {json.dumps(value, ensure_ascii=False)}")
    return lines


def _yaml(kind, fields):
    header = [f"# yaml-language-server: $schema={SCHEMA.format(kind=kind)}", ""]
    return "\n".join(header + _mapping_lines(fields, 0)) + "\n"


def winget_manifests(*, version, setup_url, setup_sha256, web_site, copyright):
    """{file name: text} of the winget manifest set."""
    common = {"PackageIdentifier": PACKAGE_ID, "PackageVersion": version}
    files = {
        f"{PACKAGE_ID}.yaml": _yaml("version", {
            **common,
            "DefaultLocale": "en-US",
            "ManifestType": "version",
            "ManifestVersion": MANIFEST_VERSION,
        }),
        f"{PACKAGE_ID}.installer.yaml": _yaml("installer", {
            **common,
            "MinimumOSVersion": "10.0.0.0",
            "InstallerType": "nullsoft",
            "Scope": "user",
            "InstallModes": ["interactive", "silent", "silentWithProgress"],
            # The installer's own switch; its uninstall entry's quiet command
            # ("Uninstall.exe" /S) is what winget runs to remove it, and that
            # keeps the settings.
            "InstallerSwitches": {"Silent": "/S", "SilentWithProgress": "/S"},
            "UpgradeBehavior": "install",
            "ProductCode": "Kivora",
            "AppsAndFeaturesEntries": [{
                "DisplayName": "Kivora",
                "Publisher": "Orvanta",
                "DisplayVersion": version,
                "ProductCode": "Kivora",
            }],
            "Installers": [{
                "Architecture": "x64",
                "InstallerUrl": setup_url,
                "InstallerSha256": setup_sha256.upper(),
            }],
            "ManifestType": "installer",
            "ManifestVersion": MANIFEST_VERSION,
        }),
    }
    for locale, kind in (("en-US", "defaultLocale"), ("ja-JP", "locale")):
        files[f"{PACKAGE_ID}.locale.{locale}.yaml"] = _yaml(kind, {
            **common,
            "PackageLocale": locale,
            "Publisher": "Orvanta",
            "PublisherUrl": web_site,
            "PackageName": "Kivora",
            "PackageUrl": web_site,
            "License": "MIT",
            "Copyright": copyright,
            "ShortDescription": SHORT_DESCRIPTION[locale],
            "Description": DESCRIPTION[locale],
            "Tags": TAGS,
            "ManifestType": kind,
            "ManifestVersion": MANIFEST_VERSION,
        })
    return files


def scoop_manifest(*, version, zip_url, zip_sha256, web_site):
    """kivora.json. Kivora.ini beside the program is kept across updates;
    Scoop makes a missing persisted name a folder, so the file is created
    first, as Kivora itself creates it (UTF-16 with a byte-order mark, so
    that Japanese window titles survive)."""
    create_ini = ('if (!(Test-Path "$persist_dir\\Kivora.ini")) { '
                  '[IO.File]::WriteAllBytes("$dir\\Kivora.ini", [byte[]](0xFF,0xFE,0x0D,0x00,0x0A,0x00)) }')
    manifest = {
        "version": version,
        "description": SHORT_DESCRIPTION["en-US"],
        "homepage": web_site,
        "license": "MIT",
        "architecture": {"64bit": {"url": zip_url, "hash": zip_sha256.lower()}},
        "extract_dir": "Kivora",
        "pre_install": create_ini,
        "bin": "kxscript.exe",
        "shortcuts": [["Kivora.exe", "Kivora"]],
        "persist": "Kivora.ini",
        "notes": "Settings live in the registry; started with /O, Kivora keeps them in Kivora.ini, "
                 "which survives updates.",
    }
    return json.dumps(manifest, indent=2, ensure_ascii=False) + "\n"


def write_manifests(folder: pathlib.Path, *, version, download_url, web_site, copyright,
                    zip_file: pathlib.Path, zip_sha256, setup_file, setup_sha256):
    """Writes folder/winget/*.yaml (when there is an installer) and
    folder/scoop/kivora.json; returns the files written."""
    base = download_url.replace("{version}", version)
    if not base.endswith("/"):
        base += "/"
    written = []
    if setup_file is not None:
        winget = folder / "winget"
        winget.mkdir(parents=True, exist_ok=True)
        for name, text in winget_manifests(version=version, setup_url=base + setup_file.name,
                                           setup_sha256=setup_sha256, web_site=web_site,
                                           copyright=copyright).items():
            (winget / name).write_text(text, encoding="utf-8", newline="\n")
            written.append(winget / name)
    scoop = folder / "scoop"
    scoop.mkdir(parents=True, exist_ok=True)
    (scoop / "kivora.json").write_text(
        scoop_manifest(version=version, zip_url=base + zip_file.name, zip_sha256=zip_sha256,
                       web_site=web_site), encoding="utf-8", newline="\n")
    written.append(scoop / "kivora.json")
    return written
