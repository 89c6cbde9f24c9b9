"""What the release tests do under Wine, as a user would: run programs, read the registry,
and read what the stand-in browser was started with.

The Wine prefix, its architecture and the display come from the environment (WINEPREFIX,
WINEARCH, DISPLAY), as scripts/test sets them.
"""

import os
import subprocess
import tempfile
import time

ENV = dict(os.environ)
# Wine mirrors new file associations into the host's desktop menus; tests must not.
ENV["WINEDLLOVERRIDES"] = ";".join(
    part for part in (os.environ.get("WINEDLLOVERRIDES", ""), "winemenubuilder.exe=d") if part)


def wine(*arguments, env=None, timeout=120):
    """Runs a program under Wine (stdin empty, as after a double-click nobody types into) and
    returns the completed process, its output as text."""
    return subprocess.run(["wine", *arguments], stdin=subprocess.DEVNULL, capture_output=True,
                          env={**ENV, **(env or {})}, timeout=timeout, check=False,
                          encoding="utf-8", errors="replace")


def windows_path(path):
    """The Windows form of a Unix path (Z:\\...)."""
    return subprocess.run(["winepath", "-w", path], capture_output=True, env=ENV, check=True,
                          encoding="utf-8").stdout.strip()


def _unquote(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            i += 1
        out.append(text[i])
        i += 1
    return "".join(out)


def _parse_reg(text):
    """{key: {value name ("" for the default): data}} from a .reg export; text values as text,
    other types as written."""
    keys, current, pending = {}, None, ""
    for line in text.splitlines():
        line = pending + line.strip()
        pending = ""
        if line.endswith("\\") and not line.endswith('"'):
            pending = line[:-1]
            continue
        if line.startswith("[") and line.endswith("]"):
            current = keys.setdefault(line[1:-1], {})
        elif current is not None and "=" in line:
            if line.startswith("@="):
                name, data = "", line[2:]
            else:
                end = 1
                while line[end] != '"':
                    end += 2 if line[end] == "\\" else 1
                name, data = _unquote(line[1:end]), line[end + 2:]
            current[name] = _unquote(data[1:-1]) if data.startswith('"') else data
    return keys


def registry(key):
    """Every subkey and value under key (a full name: HKEY_CURRENT_USER\\...), as reg exports
    them; {} when the key does not exist. In a 64-bit prefix, the 64-bit view: what 64-bit
    Windows shows in Settings and uses for file types."""
    with tempfile.TemporaryDirectory() as folder:
        target = os.path.join(folder, "export.reg")
        view = ["/reg:64"] if ENV.get("WINEARCH") == "win64" else []
        wine("reg", "export", key, windows_path(target), "/y", *view)
        if not os.path.exists(target):
            return {}
        with open(target, "rb") as export:
            return _parse_reg(export.read().decode("utf-16"))


def read_record(path, timeout=20.0):
    """The arguments after its own name that the stand-in browser recorded in path; None when
    no complete record came within timeout seconds."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if os.path.exists(path):
            with open(path, encoding="utf-8") as record:
                lines = record.read().split("\n")
            if "end" in lines:
                arguments = [_unescape(line[4:]) for line in lines if line.startswith("arg ")]
                return arguments[1:]
        time.sleep(0.1)
    return None


def _unescape(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"r": "\r", "n": "\n"}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)
