#!/usr/bin/env python3
"""Writes the release folder: the portable zip of the given files, any further release files
(--add, such as the installer), the package manifests (--fill) and SHA256SUMS over everything
in the folder. In a manifest, "${sha256:NAME}" becomes the SHA-256 of the release file NAME.

The folder is emptied first, so it never holds a file of an older build. The zip is the same
bytes on every machine for the same input: entries in the order given, each with the time
--epoch (seconds since 1970, shown in UTC), the same attributes and the same compression.
"""

import argparse
import hashlib
import os
import re
import shutil
import time
import zipfile

# A plain file in the MS-DOS attribute form that Windows' own zip folders write.
DOS_ARCHIVE_ATTRIBUTE = 0x20
# Zip times start in 1980; earlier epochs (an unset clock) cannot be stored.
ZIP_EPOCH = 315532800


def zip_time(epoch):
    return time.gmtime(max(epoch, ZIP_EPOCH))[:6]


def write_zip(path, files, epoch):
    with zipfile.ZipFile(path, "w") as archive:
        for source in files:
            entry = zipfile.ZipInfo(os.path.basename(source), date_time=zip_time(epoch))
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.create_system = 0
            entry.external_attr = DOS_ARCHIVE_ATTRIBUTE
            with open(source, "rb") as data:
                archive.writestr(entry, data.read(), compresslevel=9)


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as data:
        for block in iter(lambda: data.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


def fill(template, dist):
    with open(template, encoding="utf-8") as source:
        text = source.read()
    # Written when the file named is already in the folder; a name it lacks is a KeyError.
    digests = {name: sha256(os.path.join(dist, name)) for name in os.listdir(dist)}
    text = re.sub(r"\$\{sha256:([^}]+)\}", lambda match: digests[match.group(1)], text)
    with open(os.path.join(dist, os.path.basename(template)), "w", encoding="utf-8",
              newline="\n") as manifest:
        manifest.write(text)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--epoch", type=int, required=True)
    parser.add_argument("--dist", required=True, help="the release folder, emptied first")
    parser.add_argument("--zip", required=True, help="the zip's file name")
    parser.add_argument("--add", action="append", default=[], help="a further release file")
    parser.add_argument("--fill", nargs="*", default=[], help="a manifest template")
    parser.add_argument("files", nargs="+", help="what the zip holds, in this order")
    options = parser.parse_args()

    shutil.rmtree(options.dist, ignore_errors=True)
    os.makedirs(options.dist)
    write_zip(os.path.join(options.dist, options.zip), options.files, options.epoch)
    for extra in options.add:
        shutil.copyfile(extra, os.path.join(options.dist, os.path.basename(extra)))
    for template in options.fill:
        fill(template, options.dist)
    # The format of sha256sum, which "sha256sum -c SHA256SUMS" checks.
    names = sorted(os.listdir(options.dist))
    with open(os.path.join(options.dist, "SHA256SUMS"), "w", newline="\n") as sums:
        for name in names:
            sums.write("%s  %s\n" % (sha256(os.path.join(options.dist, name)), name))


if __name__ == "__main__":
    main()
