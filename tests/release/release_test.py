#!/usr/bin/env python3
"""The release as a Windows user meets it, under Wine: the checksums, the portable zip
unpacked into a folder with blanks and non-ASCII letters in its name, register.cmd, shortcut
files opened through the association in the stand-in browser, and unregister.cmd. Without
Wine: the winget and Scoop manifests against their schemas and the files (ManifestsTest).

Usage: release_test.py --dist DIR --helpers DIR [ManifestsTest]
  DIR of --dist: scripts/package's dist/; of --helpers: the windows build's folder holding
  standin_browser.exe and open_with.exe (found in its subfolders).
"""

import argparse
import hashlib
import json
import os
import re
import shutil
import sys
import tempfile
import unittest
import zipfile

import yaml
from jsonschema import Draft7Validator, FormatChecker

from wine_user import read_record, registry, windows_path, wine

DIST = HELPERS = None
# The published schemas of the manifests, copied into the shared folder beside the checkout.
SCHEMAS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../../shared/schemas")
CLASSES = "HKEY_CURRENT_USER\\Software\\Classes"
ZIP_ENTRIES = ["linkvane.exe", "README.txt", "browser.dat.example", "register.cmd",
               "unregister.cmd", "choose-browser.cmd"]
# Shortcut files of the kinds the associations cover, opened from a folder whose name has
# blanks and non-ASCII letters; the browser must receive exactly the URL.
SHORTCUTS = [
    ("Mein Lesezeichen ä.webloc",
     '<?xml version="1.0" encoding="UTF-8"?>\n<plist version="1.0">\n<dict>\n'
     "\t<key>URL</key>\n\t<string>https://example.com/from?a=webloc&amp;b=2</string>\n"
     "</dict>\n</plist>\n", "https://example.com/from?a=webloc&b=2"),
    ("Ein Link ö.desktop", "[Desktop Entry]\nType=Link\nName=Example\n"
     "URL=https://example.org/from-a-desktop-file\n", "https://example.org/from-a-desktop-file"),
]


def find_helper(name):
    for folder, _, files in os.walk(HELPERS):
        if name in files:
            return os.path.join(folder, name)
    raise FileNotFoundError(name)


def release_file(pattern):
    names = [name for name in os.listdir(DIST) if re.fullmatch(pattern, name)]
    if len(names) != 1:
        raise AssertionError("expected one %s in %s, found %s" % (pattern, DIST, names))
    return os.path.join(DIST, names[0])


def per_user_associations(exe):
    """What register.cmd writes for exe (a Windows path)."""
    progid = CLASSES + "\\Linkvane.Shortcut"
    expected = {
        progid: {"": "Web location shortcut"},
        progid + "\\DefaultIcon": {"": '"%s",0' % exe},
        progid + "\\shell": {},
        progid + "\\shell\\open": {},
        progid + "\\shell\\open\\command": {"": '"%s" "%%1"' % exe},
    }
    for extension in (".webloc", ".desktop"):
        expected[CLASSES + "\\" + extension] = {"": "Linkvane.Shortcut"}
        expected[CLASSES + "\\" + extension + "\\OpenWithProgids"] = {"Linkvane.Shortcut": ""}
    return expected


def associations():
    found = {}
    for key in ("Linkvane.Shortcut", ".webloc", ".desktop"):
        found.update(registry(CLASSES + "\\" + key))
    return found


class ReleaseFilesTest(unittest.TestCase):
    def test_checksums_cover_every_release_file(self):
        with open(os.path.join(DIST, "SHA256SUMS"), encoding="ascii") as sums:
            listed = dict(reversed(line.split("  ", 1)) for line in sums.read().splitlines())
        self.assertEqual(sorted(listed), sorted(set(os.listdir(DIST)) - {"SHA256SUMS"}))
        for name, digest in listed.items():
            with open(os.path.join(DIST, name), "rb") as data:
                self.assertEqual(hashlib.sha256(data.read()).hexdigest(), digest, name)

    def test_zip_holds_the_program_and_its_texts_in_crlf(self):
        with zipfile.ZipFile(release_file(r"linkvane-.*-win32\.zip")) as archive:
            self.assertEqual(archive.namelist(), ZIP_ENTRIES)
            for name in ZIP_ENTRIES[1:]:
                text = archive.read(name)
                self.assertNotRegex(text, rb"@[A-Z_]+@", name + ": template left")
                self.assertEqual(text.count(b"\n"), text.count(b"\r\n"), name + ": not CRLF")


class ManifestsTest(unittest.TestCase):
    def setUp(self):
        self.setup = os.path.basename(release_file(r"linkvane-.*-setup\.exe"))
        self.version = self.setup[len("linkvane-"):-len("-setup.exe")]
        self.id = os.path.basename(release_file(r".*\.installer\.yaml"))[:-len(".installer.yaml")]

    def load(self, name, schema):
        with open(os.path.join(DIST, name), encoding="utf-8") as f:
            # As winget reads YAML (1.2): an unquoted date stays a string.
            loader = type("Yaml12", (yaml.SafeLoader,), {"yaml_implicit_resolvers": {
                k: [r for r in v if r[0] != "tag:yaml.org,2002:timestamp"]
                for k, v in yaml.SafeLoader.yaml_implicit_resolvers.items()}})
            manifest = json.load(f) if name.endswith(".json") else yaml.load(f, Loader=loader)
        with open(os.path.join(SCHEMAS, schema), encoding="utf-8") as f:
            validator = Draft7Validator(json.load(f), format_checker=FormatChecker())
        self.assertEqual(["%s: %s" % ("/".join(map(str, e.absolute_path)), e.message)
                          for e in validator.iter_errors(manifest)], [], name)
        return manifest

    def assert_release_file(self, url, digest, name):
        self.assertRegex(url, r"^https://[^ ]+/v%s/%s$" % (self.version, re.escape(name)))
        with open(os.path.join(DIST, name), "rb") as data:
            self.assertEqual(digest, hashlib.sha256(data.read()).hexdigest(), name)

    def test_winget(self):
        manifests = {}
        for suffix, kind in ((".yaml", "version"), (".installer.yaml", "installer"),
                             (".locale.en-US.yaml", "defaultLocale")):
            manifest = manifests[kind] = self.load(
                self.id + suffix, "winget-1.10.0/manifest.%s.1.10.0.json" % kind)
            self.assertEqual([manifest[k] for k in ("ManifestType", "ManifestVersion",
                                                    "PackageIdentifier", "PackageVersion")],
                             [kind, "1.10.0", self.id, self.version])
        installers = manifests["installer"]["Installers"]
        self.assertEqual([(i["Scope"], i.get("InstallerSwitches")) for i in installers],
                         [("user", None), ("machine", {"Custom": "/AllUsers"})])
        for i in installers:
            self.assert_release_file(i["InstallerUrl"], i["InstallerSha256"], self.setup)

    def test_scoop(self):
        manifest = self.load("linkvane.json", "scoop/schema.json")
        self.assertEqual(manifest["version"], self.version)
        zip_name = "linkvane-%s-win32.zip" % self.version
        self.assert_release_file(manifest["url"], manifest["hash"], zip_name)
        self.assertEqual(manifest["autoupdate"]["url"].replace("$version", self.version),
                         manifest["url"])


class PortableCopyTest(unittest.TestCase):
    """Two copies unpacked side by side, registered and unregistered in turn."""

    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="linkvane-release-")
        self.addCleanup(shutil.rmtree, self.work, True)
        self.addCleanup(self.unregister_all)
        self.copies = []
        with zipfile.ZipFile(release_file(r"linkvane-.*-win32\.zip")) as archive:
            # Folder names that no batch file may break: &, %, ^, parentheses, non-ASCII.
            for name in ("Zoë/Tools (x86)/R&D 100%/linkvane", "Zweite Kopie ^ö"):
                folder = os.path.join(self.work, name)
                archive.extractall(folder)
                self.copies.append(folder)
        self.standin = windows_path(find_helper("standin_browser.exe"))
        self.record = os.path.join(self.work, "record.txt")
        for folder in self.copies:
            with open(os.path.join(folder, "browser.dat"), "w", newline="\r\n") as dat:
                dat.write('"%s" "%%s"\n' % self.standin)

    def unregister_all(self):
        for key in ("Classes\\Linkvane.Shortcut", "Classes\\.webloc", "Classes\\.desktop", "Linkvane"):
            wine("reg", "delete", "HKEY_CURRENT_USER\\Software\\" + key, "/f")

    def run_cmd(self, folder, script):
        # Started as a double-click starts it: no cmd /c line of the test's own to quote.
        done = wine(windows_path(os.path.join(folder, script)))
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        return done.stdout

    def exe(self, folder):
        return windows_path(os.path.join(folder, "linkvane.exe"))

    def test_register_open_and_unregister(self):
        first, second = self.copies
        self.assertIn("now open with", self.run_cmd(first, "register.cmd"))
        self.assertEqual(associations(), per_user_associations(self.exe(first)))

        shortcuts = os.path.join(self.work, "Web Orte ü")
        os.makedirs(shortcuts)
        for name, content, url in SHORTCUTS:
            with self.subTest(shortcut=name):
                path = os.path.join(shortcuts, name)
                with open(path, "w", encoding="utf-8") as shortcut:
                    shortcut.write(content)
                if os.path.exists(self.record):
                    os.remove(self.record)
                opened = wine(windows_path(find_helper("open_with.exe")), windows_path(path),
                              env={"LINKVANE_STANDIN_RECORD": windows_path(self.record)})
                self.assertEqual(opened.returncode, 0, opened.stdout + opened.stderr)
                self.assertEqual(read_record(self.record), [url])

        # Another copy registered since: the first one's unregister.cmd leaves it alone.
        self.run_cmd(second, "register.cmd")
        self.run_cmd(first, "unregister.cmd")
        self.assertEqual(associations(), per_user_associations(self.exe(second)))
        self.run_cmd(second, "unregister.cmd")
        self.assertEqual((associations(), registry("HKEY_CURRENT_USER\\Software\\Linkvane")), ({}, {}))

        # .desktop owned by another program: it keeps it, through register and unregister.
        wine("reg", "add", CLASSES + "\\.desktop", "/ve", "/d", "Other.Program", "/f")
        self.run_cmd(second, "register.cmd")
        expected = per_user_associations(self.exe(second))
        expected[CLASSES + "\\.desktop"] = {"": "Other.Program"}
        self.assertEqual(associations(), expected)
        self.run_cmd(second, "unregister.cmd")
        self.assertEqual(associations(), {CLASSES + "\\.desktop": {"": "Other.Program"}})

        # Without its exe the script fails, and says so in its exit status.
        os.remove(os.path.join(second, "linkvane.exe"))
        for script in ("register.cmd", "unregister.cmd"):
            failed = wine(windows_path(os.path.join(second, script)))
            self.assertEqual((failed.returncode, "failed" in failed.stdout), (1, True), script)


def main():
    global DIST, HELPERS
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--dist", required=True)
    parser.add_argument("--helpers", required=True)
    options, rest = parser.parse_known_args()
    DIST, HELPERS = os.path.abspath(options.dist), os.path.abspath(options.helpers)
    unittest.main(argv=[sys.argv[0], "-v", *rest])


if __name__ == "__main__":
    main()
