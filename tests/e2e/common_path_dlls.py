#!/usr/bin/env python3
"""The common run loads no DLL beyond the loader's floor and user32's own.

Usage: common_path_dlls.py WINE LINKVANE_EXE STANDIN_EXE

The common run is the shell's: a plain C:\\ path to a .url file, the template from browser.dat
beside the exe or, without one, the default browser's command from the registry, the browser
started. Under Wine each DLL costs a run its loading, which is much of what a run takes, so on
this path linkvane.exe may load only:
- the loader's floor, which every program gets before its first instruction: ntdll (the loader
  itself), kernel32 and kernelbase, the C runtime (msvcrt, and ucrtbase, which Wine's msvcrt
  builds on), advapi32 (the registry) and sechost (advapi32's own);
- user32, which hands the browser the foreground (AllowSetForegroundWindow), and what loading
  user32 brings with it: win32u, gdi32, imm32, version, and zlib1 under some Wine builds.
Anything else (shlwapi and shcore for the shell's URL test, shell32, comdlg32, ole32) costs a
run its start-up time for nothing.

The runs go with WINEDEBUG=+pid,+loaddll; the DLLs counted are those whose loading the loader
reports for linkvane.exe's own process.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

FLOOR = {"ntdll", "kernel32", "kernelbase", "msvcrt", "ucrtbase", "sechost", "advapi32"}
USER32 = {"user32", "win32u", "gdi32", "imm32", "version", "zlib1"}
URL = "https://example.com/linkvane/common-path"
PROGID = "LinkvaneDllTest.HTTP"
CHOICE = r"HKCU\Software\Microsoft\Windows\Shell\Associations\UrlAssociations\http\UserChoice"
# "0020:0024:trace:loaddll:build_module Loaded L"C:\\windows\\system32\\user32.dll" at ..."
LOADED = re.compile(r'^([0-9a-f]+):[0-9a-f]+:trace:loaddll:\w+ Loaded L"([^"]+)"', re.M)


def reg(wine, *arguments):
    subprocess.run([wine, "reg"] + list(arguments) + ["/f"], check=False, timeout=120,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def loaded_dlls(wine, exe, shortcut, record, windows_record):
    """The DLLs that linkvane.exe's process loaded on shortcut, by base name, lower case."""
    env = dict(os.environ, WINEDEBUG="+pid,+loaddll", LINKVANE_STANDIN_RECORD=windows_record)
    run = subprocess.run([wine, exe, shortcut], env=env, capture_output=True, text=True,
                         errors="replace", timeout=120, check=False)
    # The browser is not waited for; it has written its record once its process has ended.
    for _ in range(100):
        if os.path.exists(record):
            break
        time.sleep(0.1)
    if run.returncode != 0 or not os.path.exists(record):
        raise AssertionError("the browser was not started (status %d)" % run.returncode)
    loads = LOADED.findall(run.stderr)
    own = [pid for pid, path in loads if path.lower().endswith("\\\\linkvane.exe")]
    if not own:
        raise AssertionError("no loading reported for linkvane.exe:\n" + run.stderr[-2000:])
    names = {re.split(r"\\\\", path)[-1].lower() for pid, path in loads if pid == own[0]}
    return {name[:-4] for name in names if name.endswith(".dll")}


def main(wine, linkvane, standin):
    prefix = os.environ.get("WINEPREFIX", os.path.expanduser("~/.wine"))
    folder = tempfile.mkdtemp(prefix="linkvane-dlls.", dir=os.path.join(prefix, "drive_c"))
    windows_folder = "C:\\" + os.path.basename(folder)
    exe = os.path.join(folder, "linkvane.exe")
    shutil.copy(linkvane, exe)
    shutil.copy(standin, os.path.join(folder, "browser.exe"))
    browser = windows_folder + "\\browser.exe"
    with open(os.path.join(folder, "x.url"), "w", newline="") as url:
        url.write("[InternetShortcut]\r\nURL=%s\r\n" % URL)
    failures = []
    try:
        for case in ["browser.dat", "registry"]:
            if case == "browser.dat":
                with open(os.path.join(folder, "browser.dat"), "w", newline="") as dat:
                    dat.write('"%s" %%s\r\n' % browser)
            else:
                os.remove(os.path.join(folder, "browser.dat"))
                reg(wine, "add", CHOICE, "/v", "ProgId", "/d", PROGID)
                reg(wine, "add", "HKCR\\%s\\shell\\open\\command" % PROGID, "/ve", "/d",
                    '"%s" "%%1"' % browser)
            record = "record-%s.txt" % case.replace(".", "-")
            try:
                extra = loaded_dlls(wine, exe, windows_folder + "\\x.url",
                                    os.path.join(folder, record),
                                    windows_folder + "\\" + record) - FLOOR - USER32
            except AssertionError as error:
                failures.append("%s: %s" % (case, error))
                continue
            if extra:
                failures.append("%s: loaded %s" % (case, ", ".join(sorted(extra))))
            else:
                print("%s: only the floor and user32's own DLLs" % case)
    finally:
        reg(wine, "delete", CHOICE)
        reg(wine, "delete", "HKCR\\" + PROGID)
        shutil.rmtree(folder, ignore_errors=True)
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
