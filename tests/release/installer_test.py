#!/usr/bin/env python3
"""The installer as a Windows user meets it, under Wine, in each of its two modes: a silent
upgrade over an older version (built here with a version of its own), the files and registry
entries it leaves, shortcut files double-clicked from a folder with blanks and non-ASCII
letters in its name, and the silent uninstall run from its Apps & features entry; the Start-menu
entry in the user's language.

Usage: installer_test.py --dist DIR --helpers DIR   (as release_test.py)
"""

import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest
import zipfile

from release_test import SHORTCUTS, find_helper, main, release_file
from wine_user import ENV, read_record, registry, windows_path, wine

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PROGID = "Linkvane.Shortcut"
OLD_VERSION = "0.9.0"
INSTALLED = ["README.txt", "browser.dat.example", "linkvane.exe", "uninstall.exe"]
USER_BROWSER_DAT = b"\"C:\\my browser\\browser.exe\" %s\r\n"
# Mode, its switch, registry root, and the folder as a Windows variable names it (a 32-bit
# program's Program Files is the (x86) one on 64-bit Windows). Wine runs everything as
# administrator, so all users installs without asking; the last mode's installer is built to
# act as a standard user, so it restarts elevated, passing on the folder, which has blanks, and
# its uninstaller is double-clicked, without /AllUsers. For all users, only Program Files will do.
PROGRAM_FILES = "%ProgramFiles(x86)%" if ENV.get("WINEARCH") == "win64" else "%ProgramFiles%"
MODES = [
    ("per_user", [], "HKEY_CURRENT_USER", "%LOCALAPPDATA%\\Programs\\Linkvane"),
    ("all_users", ["/AllUsers"], "HKEY_LOCAL_MACHINE", PROGRAM_FILES + "\\Linkvane"),
    ("standard_user", ["/AllUsers"], "HKEY_LOCAL_MACHINE", PROGRAM_FILES + "\\Linkvane"),
]
# Where the installer puts its Start-menu shortcut to /choose, by mode, and its English name.
START_MENU = {"HKEY_CURRENT_USER": "%APPDATA%", "HKEY_LOCAL_MACHINE": "%ProgramData%"}
ENGLISH_ENTRY = "Linkvane - choose a browser.lnk"
UNINSTALL = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Linkvane"
# The test CA of a signed release (tests/release/signing): the uninstaller written must be signed.
SIGNED_BY = os.environ.get("LINKVANE_TEST_CA")
URL_SHORTCUT = ("Eine Seite ü.url", "[InternetShortcut]\r\nURL=https://example.net/from-a-url\r\n",
                "https://example.net/from-a-url")


def expand(text):
    if not text.startswith("%"):
        return text
    return wine("cmd", "/c", "echo " + text).stdout.strip()


def unix_path(windows):
    return subprocess.run(["winepath", "-u", windows], capture_output=True, env=ENV,
                          check=True, encoding="utf-8").stdout.strip()


def chooser_shortcut(root, entry):
    programs = expand(START_MENU[root]) + "\\Microsoft\\Windows\\Start Menu\\Programs"
    return os.path.join(unix_path(programs), entry)


def recorded_entry(root):
    """The file name of the Start-menu entry, as the installation recorded it."""
    return registry(root + UNINSTALL)[root + UNINSTALL]["StartMenuEntry"]


def chooser_names():
    """The Start-menu entry's name in each of the installer's languages (package/lang)."""
    names = {}
    folder = os.path.join(ROOT, "package", "lang")
    for file in os.listdir(folder):
        with open(os.path.join(folder, file), encoding="utf-8") as texts:
            names[file[:-len(".nsh")]] = re.search(r'^LangString LV_CHOOSER \S+ "(.*)"$',
                                                   texts.read(), re.M).group(1)
    return names


def expected_entries(root, folder, version):
    """The keys the installer writes that are Linkvane's alone, in full."""
    exe = folder + "\\linkvane.exe"
    classes = root + "\\Software\\Classes\\"
    capabilities = root + "\\Software\\Linkvane\\Capabilities"
    uninstall = root + "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Linkvane"
    entries = {
        classes + PROGID: {"": "Web location shortcut"},
        classes + PROGID + "\\DefaultIcon": {"": '"%s",0' % exe},
        classes + PROGID + "\\shell": {},
        classes + PROGID + "\\shell\\open": {},
        classes + PROGID + "\\shell\\open\\command": {"": '"%s" "%%1"' % exe},
        root + "\\Software\\Linkvane": {},
        capabilities: {"ApplicationName": "Linkvane", "ApplicationIcon": '"%s",0' % exe,
                       "ApplicationDescription": "Opens web-location shortcut files in a browser"},
        capabilities + "\\FileAssociations": {e: PROGID for e in (".webloc", ".desktop", ".url")},
        uninstall: {
            "DisplayName": "Linkvane", "DisplayVersion": version,
            "Publisher": "The Linkvane developers", "DisplayIcon": exe, "InstallLocation": folder,
            "UninstallString": '"%s\\uninstall.exe"%s' % (folder, " /AllUsers" * (root[5] == "L")),
            "NoModify": "dword:00000001", "NoRepair": "dword:00000001",
            "StartMenuEntry": ENGLISH_ENTRY},
    }
    entries[uninstall]["QuietUninstallString"] = entries[uninstall]["UninstallString"] + " /S"
    for extension in (".webloc", ".desktop"):
        entries[classes + extension] = {"": PROGID}
        entries[classes + extension + "\\OpenWithProgids"] = {PROGID: ""}
    return entries


def linkvane_entries(root):
    """What the registry holds of the keys above, and the Linkvane values of shared keys."""
    found = {}
    for key in ("Software\\Classes\\" + PROGID, "Software\\Classes\\.webloc",
                "Software\\Classes\\.desktop", "Software\\Linkvane",
                "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Linkvane"):
        found.update(registry(root + "\\" + key))
    for key in ("Software\\Classes\\.url\\OpenWithProgids", "Software\\RegisteredApplications"):
        values = registry(root + "\\" + key).get(root + "\\" + key, {})
        if PROGID in values or "Linkvane" in values:
            found[root + "\\" + key] = {n: v for n, v in values.items() if "Linkvane" in n}
    return found


class InstallerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="linkvane-installer-")
        cls.setup = release_file(r"linkvane-.*-setup\.exe")
        cls.version = os.path.basename(cls.setup)[len("linkvane-"):-len("-setup.exe")]
        cls.zip = zipfile.ZipFile(release_file(r"linkvane-.*-win32\.zip"))
        # The older installer: the same script and files, another version and README.txt.
        stage = os.path.join(cls.work, "stage")
        cls.zip.extractall(stage)
        with open(os.path.join(stage, "README.txt"), "wb") as readme:
            readme.write(b"Linkvane " + OLD_VERSION.encode() + b"\r\n")
        cls.old_setup = cls.build(OLD_VERSION, stage)
        cls.zip.extractall(os.path.join(cls.work, "new"))
        cls.standard_user_setup = cls.build(cls.version, os.path.join(cls.work, "new"),
                                            "-DACT_AS_STANDARD_USER")

    @classmethod
    def build(cls, version, stage, *defines):
        setup = os.path.join(cls.work, "linkvane-%s%s-setup.exe" % (version, len(defines)))
        subprocess.run(["makensis", "-V1", "-DVERSION=" + version, "-DVERSION_QUAD=" + version + ".0",
                        "-DPUBLISHER=The Linkvane developers", "-DSTAGE=" + stage,
                        "-DICON=" + os.path.join(ROOT, "res", "linkvane.ico"),
                        "-DOUTFILE=" + setup, *defines,
                        os.path.join(ROOT, "package", "linkvane.nsi")], check=True)
        return setup

    @classmethod
    def tearDownClass(cls):
        cls.zip.close()
        shutil.rmtree(cls.work, True)

    def test_manifest_asks_for_no_elevation(self):
        with open(self.setup, "rb") as setup:
            self.assertIn(b'<requestedExecutionLevel level="asInvoker"', setup.read())

    def test_modes(self):
        for name, switches, root, folder_variable in MODES:
            with self.subTest(mode=name):
                folder = expand(folder_variable)
                self.addCleanup(shutil.rmtree, unix_path(folder), True)
                url_type = registry(root + "\\Software\\Classes\\.url")
                standard = name == "standard_user"
                self.upgrade(switches, folder, standard)
                self.check_installed(root, folder)
                if SIGNED_BY and not standard:  # that installer is the test's own, unsigned
                    verified = subprocess.run(
                        ["osslsigncode", "verify", "-CAfile", SIGNED_BY, "-in",
                         os.path.join(unix_path(folder), "uninstall.exe")], capture_output=True, text=True)
                    self.assertEqual(verified.returncode, 0, verified.stdout + verified.stderr)
                self.double_click(folder, wine_start=name == "all_users")
                self.uninstall(root, folder, standard)
                self.assertEqual(registry(root + "\\Software\\Classes\\.url"), url_type)

    def test_all_users_only_into_program_files(self):
        # A folder under C:\\ that every user may change: refused before anything is written.
        folder = "C:\\Tools(x86)\\R&D_100%\\Zo\u00eb"
        self.assertEqual(wine(windows_path(self.setup), "/S", "/AllUsers", "/D=" + folder).returncode, 2)
        self.assertFalse(os.path.exists(unix_path(folder)))
        self.assertEqual(linkvane_entries("HKEY_LOCAL_MACHINE"), {})

    def test_start_menu_entry_in_the_users_language(self):
        """Installed in Japanese over an English installation, whose entry it replaces;
        uninstalled in German, which removes the Japanese entry, as recorded."""
        japanese, german = self.locales("ja_JP.UTF-8", "de_DE.UTF-8")
        root, folder = "HKEY_CURRENT_USER", expand(MODES[0][3])
        self.addCleanup(shutil.rmtree, unix_path(folder), True)
        programs = os.path.dirname(chooser_shortcut(root, ENGLISH_ENTRY))
        entries = lambda: [name for name in os.listdir(programs) if name.startswith("Linkvane")]
        self.assertEqual(wine(windows_path(self.old_setup), "/S").returncode, 0)
        self.assertEqual(wine(windows_path(self.setup), "/S", env=japanese).returncode, 0)
        entry = chooser_names()["Japanese"] + ".lnk"
        self.assertEqual(recorded_entry(root), entry)
        self.assertEqual(entries(), [entry])
        uninstaller = folder + "\\uninstall.exe"
        self.assertEqual(wine(uninstaller, "/S", "_?=" + folder, env=german).returncode, 0)
        self.assertEqual(entries(), [])

    def test_start_menu_entry_names(self):
        # Each a file name that the Start menu lists under Linkvane.
        for language, name in chooser_names().items():
            with self.subTest(language=language):
                self.assertTrue(name.startswith("Linkvane - "), name)
                self.assertFalse(set(name) & set(':\\/*?"<>|'), name)

    def locales(self, *names):
        """The environment of each UTF-8 locale name, built here: Wine takes the display
        language from LC_ALL, but without that locale in glibc its file names are ASCII alone."""
        folder = os.path.join(self.work, "locales")
        os.makedirs(folder, exist_ok=True)
        for name in names:
            subprocess.run(["localedef", "-i", name.split(".")[0], "-f", "UTF-8",
                            os.path.join(folder, name)], check=True)
        return [{"LC_ALL": name, "LOCPATH": folder} for name in names]

    def upgrade(self, switches, folder, standard):
        """The older version, then the user's browser.dat, then this one, all silent."""
        self.assertEqual(wine(windows_path(self.old_setup), "/S", *switches).returncode, 0)
        with open(os.path.join(unix_path(folder), "browser.dat"), "wb") as dat:
            dat.write(USER_BROWSER_DAT)
        setup = self.standard_user_setup if standard else self.setup
        self.assertEqual(wine(windows_path(setup), "/S", *switches).returncode, 0)
        with open(os.path.join(unix_path(folder), "browser.dat"), "rb") as dat:
            self.assertEqual(dat.read(), USER_BROWSER_DAT)

    def check_installed(self, root, folder):
        files = unix_path(folder)
        self.assertEqual(sorted(os.listdir(files)), sorted(INSTALLED + ["browser.dat"]))
        for name in ("linkvane.exe", "README.txt", "browser.dat.example"):
            with open(os.path.join(files, name), "rb") as installed:
                self.assertEqual(installed.read(), self.zip.read(name), name)
        found = linkvane_entries(root)
        uninstall = root + "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Linkvane"
        self.assertRegex(found[uninstall].pop("EstimatedSize", ""), r"^dword:000001[0-9a-f]{2}$")
        expected = expected_entries(root, folder, self.version)
        expected[root + "\\Software\\Classes\\.url\\OpenWithProgids"] = {PROGID: ""}
        expected[root + "\\Software\\RegisteredApplications"] = {
            "Linkvane": "Software\\Linkvane\\Capabilities"}
        self.assertEqual(found, expected)
        self.assertTrue(os.path.exists(chooser_shortcut(root, ENGLISH_ENTRY)))

    def double_click(self, folder, wine_start):
        record = os.path.join(self.work, "record.txt")
        with open(os.path.join(unix_path(folder), "browser.dat"), "w", newline="\r\n") as dat:
            dat.write('"%s" "%%s"\n' % windows_path(find_helper("standin_browser.exe")))
        shortcuts = os.path.join(self.work, "Web Orte ü")
        os.makedirs(shortcuts, exist_ok=True)
        for name, content, url in SHORTCUTS + [URL_SHORTCUT]:
            with self.subTest(shortcut=name):
                path = windows_path(os.path.join(shortcuts, name))
                with open(unix_path(path), "w", encoding="utf-8") as shortcut:
                    shortcut.write(content)
                if os.path.exists(record):
                    os.remove(record)
                env = {"LINKVANE_STANDIN_RECORD": windows_path(record)}
                helper = windows_path(find_helper("open_with.exe"))
                if name.endswith(".url"):  # .url stays Windows': Linkvane is under Open with
                    opened = wine(helper, "/progid", PROGID, path, env=env)
                elif wine_start:  # what Explorer does with a double-click
                    opened = wine("start", path, env=env)
                else:  # Wine's shell ignores per-user classes: read them as Windows would
                    opened = wine(helper, path, env=env)
                self.assertEqual(opened.returncode, 0, opened.stdout + opened.stderr)
                self.assertEqual(read_record(record), [url])
        with open(os.path.join(unix_path(folder), "browser.dat"), "wb") as dat:
            dat.write(USER_BROWSER_DAT)

    def uninstall(self, root, folder, double_click):
        """As Settings does it: the entry's QuietUninstallString, which returns at once while a
        copy of the uninstaller does the work; or uninstall.exe itself, as a double-click."""
        uninstall = registry(root + UNINSTALL)[root + UNINSTALL]
        command, entry = uninstall["QuietUninstallString"], uninstall["StartMenuEntry"]
        program, switches = command[1:].split('" ', 1)
        switches = "/S" if double_click else switches
        self.assertEqual(wine(program, *switches.split()).returncode, 0)
        files = unix_path(folder)
        # Windows lets the elevated uninstall.exe move itself aside, to be deleted at the next
        # restart; Wine cannot move a running program's file, so there the uninstall.exe left
        # behind must be one that the restart deletes.
        left_for_restart = lambda: (
            double_click and sorted(os.listdir(files)) == ["browser.dat", "uninstall.exe"]
            and folder.lower() + "\\uninstall.exe" in deleted_at_restart())
        deadline = time.monotonic() + 60
        while (os.listdir(files) != ["browser.dat"] and not left_for_restart()
               and time.monotonic() < deadline):
            time.sleep(0.5)
        time.sleep(1)
        left = sorted(os.listdir(files))
        if left_for_restart():
            left.remove("uninstall.exe")
        self.assertEqual(left, ["browser.dat"])
        self.assertEqual(linkvane_entries(root), {})
        self.assertFalse(os.path.exists(chooser_shortcut(root, entry)))


def deleted_at_restart():
    """The files the next restart deletes (PendingFileRenameOperations), in lower case."""
    key = "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Session Manager"
    data = registry(key).get(key, {}).get("PendingFileRenameOperations", "")
    if not data.startswith("hex(7):"):
        return ""
    return bytes.fromhex(data[7:].replace(",", "")).decode("utf-16-le").lower()


if __name__ == "__main__":
    main()
