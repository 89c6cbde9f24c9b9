#!/usr/bin/env python3
"""The winget and Scoop manifests of the release: valid against the published schemas (copies
in the shared folder's schemas/), and naming the version, URLs and hashes of the files shipped.

Usage: manifests_test.py --dist DIR [--schemas DIR]   (DIR of --schemas: default ../shared/schemas)
"""

import argparse
import glob
import hashlib
import json
import os
import sys
import unittest

import yaml
from jsonschema import Draft7Validator, FormatChecker

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DIST = SCHEMAS = None


class Yaml12Loader(yaml.SafeLoader):
    """YAML as winget reads it: an unquoted date stays a string."""


Yaml12Loader.yaml_implicit_resolvers = {
    key: [r for r in resolvers if r[0] != "tag:yaml.org,2002:timestamp"]
    for key, resolvers in yaml.SafeLoader.yaml_implicit_resolvers.items()}


def load(name):
    with open(os.path.join(DIST, name), encoding="utf-8") as f:
        return json.load(f) if name.endswith(".json") else yaml.load(f, Loader=Yaml12Loader)


def sha256(name):
    with open(os.path.join(DIST, name), "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


class ManifestsTest(unittest.TestCase):
    def setUp(self):
        setup = os.path.basename(glob.glob(os.path.join(DIST, "linkvane-*-setup.exe"))[0])
        self.version = setup[len("linkvane-"):-len("-setup.exe")]
        self.files = {"setup": setup, "zip": "linkvane-%s-win32.zip" % self.version}
        self.id = os.path.basename(glob.glob(os.path.join(DIST, "*.installer.yaml"))[0])[:-15]
        self.winget = {kind: load(self.id + suffix) for kind, suffix in (
            ("version", ".yaml"), ("installer", ".installer.yaml"),
            ("defaultLocale", ".locale.en-US.yaml"))}

    def assert_valid(self, schema, manifest):
        with open(os.path.join(SCHEMAS, schema), encoding="utf-8") as f:
            validator = Draft7Validator(json.load(f), format_checker=FormatChecker())
        self.assertEqual(["%s: %s" % ("/".join(map(str, e.absolute_path)), e.message)
                          for e in validator.iter_errors(manifest)], [], schema)

    def assert_download(self, url, name):
        self.assertRegex(url, r"^https://[^ ]+/v%s/%s$" % (self.version, name.replace(".", r"\.")))

    def test_winget(self):
        for kind, manifest in self.winget.items():
            self.assert_valid("winget-1.10.0/manifest.%s.1.10.0.json" % kind, manifest)
            self.assertEqual((manifest["ManifestType"], manifest["ManifestVersion"],
                              manifest["PackageIdentifier"], manifest["PackageVersion"]),
                             (kind, "1.10.0", self.id, self.version))
        installers = self.winget["installer"]["Installers"]
        self.assertEqual([(i["Scope"], i.get("InstallerSwitches")) for i in installers],
                         [("user", None), ("machine", {"Custom": "/AllUsers"})])
        for installer in installers:
            self.assertEqual(installer["InstallerSha256"], sha256(self.files["setup"]))
            self.assert_download(installer["InstallerUrl"], self.files["setup"])

    def test_scoop(self):
        manifest = load("linkvane.json")
        self.assert_valid("scoop/schema.json", manifest)
        self.assertEqual((manifest["version"], manifest["hash"]),
                         (self.version, sha256(self.files["zip"])))
        self.assert_download(manifest["url"], self.files["zip"])
        self.assertEqual(manifest["autoupdate"]["url"].replace("$version", self.version),
                         manifest["url"])


def main():
    global DIST, SCHEMAS
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--dist", required=True)
    parser.add_argument("--schemas", default=os.path.join(ROOT, "..", "shared", "schemas"))
    options, rest = parser.parse_known_args()
    DIST, SCHEMAS = os.path.abspath(options.dist), os.path.abspath(options.schemas)
    unittest.main(argv=[sys.argv[0], "-v", *rest])


if __name__ == "__main__":
    main()
