"""Backup archives against other zip tools, both ways: the ZipInterop tests of
services_tests.exe write archives that `unzip -t` and zipfile check here, and read the archives
that Info-ZIP's zip and zipfile make here, whole and without their central directory."""

import os
import pathlib
import random
import re
import shutil
import struct
import subprocess
import zipfile
import zlib

from e2elib import BUILD, PREFIX, Checks, unix_path

t = Checks()
WIN = "C:\\glenvask-tests\\zip-interop-%d" % os.getpid()
HERE = unix_path(WIN)
TESTS = os.path.join(BUILD, "services_tests.exe")
HUGE = os.environ.get("GLENVASK_ZIP_HUGE", "1") != "0"  # 4 GiB on the disk for a minute


def manifest(path):
    """archive -> {entry: (size, crc)} from the lines the Windows half wrote."""
    out = {}
    for line in pathlib.Path(path).read_text(encoding="utf-8").splitlines():
        archive, entry, size, crc = line.split("\t")
        out.setdefault(archive, {})[entry] = (int(size), int(crc))
    return out


def check_archive(path, expected, what):
    name = os.path.basename(path)
    r = subprocess.run(["unzip", "-tqq", path], stdin=subprocess.DEVNULL, capture_output=True,
                       text=True, errors="replace", timeout=600)
    t.check(r.returncode == 0, f"{what} {name}: unzip -t passes ({r.returncode}: "
                               f"{(r.stdout + r.stderr).strip()[:300]})")
    with zipfile.ZipFile(path) as z:
        t.check(z.testzip() is None, f"{what} {name}: zipfile reads every entry with its CRC")
        infos = {i.filename: i for i in z.infolist()}
    t.check(set(infos) == set(expected),
            f"{what} {name}: entries {sorted(infos)[:5]}... == {sorted(expected)[:5]}...")
    for entry, (size, crc) in expected.items():
        i = infos.get(entry)
        if i is None:
            continue
        t.check(i.file_size == size and i.CRC == crc, f"{name}: {entry} size and CRC")
        t.check(i.compress_type == zipfile.ZIP_DEFLATED, f"{name}: {entry} is deflated")
        ascii_name = all(ord(c) < 128 for c in entry)
        t.check(bool(i.flag_bits & 0x800) == (not ascii_name),
                f"{name}: {entry} flagged UTF-8 exactly when not ASCII")
        t.check(not re.match(r"^([A-Za-z]:|/|\\)", entry) and ".." not in entry.split("/"),
                f"{name}: {entry} has no drive, root or ..")
    return infos


def foreign_archives(folder):
    """Archives made by Info-ZIP's zip and by zipfile, whole and cut before their directory."""
    src = os.path.join(folder, "src")
    rnd = random.Random(5)
    files = {
        "top.txt": b"top level\r\n" * 50,
        "dir/sub/nested.log": bytes(rnd.randrange(256) for _ in range(20000)),
        "dir/empty.dat": b"",
        "caf\u00e9 \u20ac/\u65e5\u672c.txt": "non-ASCII".encode(),
        "big/random.bin": rnd.randbytes(1 << 20),
    }
    for name, data in files.items():
        p = os.path.join(src, *name.split("/"))
        os.makedirs(os.path.dirname(p), exist_ok=True)
        pathlib.Path(p).write_bytes(data)
    expected = {n: (len(d), zlib.crc32(d)) for n, d in files.items()}
    made = dict.fromkeys(["infozip.zip", "infozip-stream.zip", "python.zip"], "whole")
    subprocess.run(["zip", "-qr", os.path.join(folder, "infozip.zip"), "."], cwd=src, check=True)
    with open(os.path.join(folder, "infozip-stream.zip"), "wb") as out:  # data descriptors
        subprocess.run(["zip", "-qr", "-", "."], cwd=src, stdout=out, check=True)
    with zipfile.ZipFile(os.path.join(folder, "python.zip"), "w") as z:
        for i, (name, data) in enumerate(files.items()):
            z.writestr(name, data, zipfile.ZIP_STORED if i % 2 else zipfile.ZIP_DEFLATED)
    # Without their central directory: the bytes up to it.
    for name in ["infozip.zip", "infozip-stream.zip", "python.zip"]:
        data = pathlib.Path(folder, name).read_bytes()
        cd_offset = struct.unpack("<I", data[data.rfind(b"PK\x05\x06") + 16:][:4])[0]
        cut = name.replace(".zip", "-cut.zip")
        pathlib.Path(folder, cut).write_bytes(data[:cd_offset])
        made[cut] = "cut"
    with open(os.path.join(folder, "expected.txt"), "w", encoding="utf-8", newline="\n") as f:
        for archive, mode in made.items():
            for entry, (size, crc) in expected.items():
                f.write(f"{archive}\t{entry}\t{size}\t{crc}\t{mode}\n")


shutil.rmtree(HERE, ignore_errors=True)
os.makedirs(os.path.join(HERE, "Backup"))
os.makedirs(os.path.join(HERE, "ddrive"))
foreign_archives(os.path.join(HERE, "foreign"))
# Drive D: of the prefix, for this test only, when the prefix has none.
d_link = os.path.join(PREFIX, "dosdevices", "d:")
made_d = not os.path.lexists(d_link)
if made_d:
    os.symlink(os.path.join(HERE, "ddrive"), d_link)
try:
    env = dict(os.environ, GLENVASK_ZIP_INTEROP=WIN, GLENVASK_ZIP_INTEROP_D="1" if made_d else "",
               GLENVASK_ZIP_INTEROP_HUGE="1" if HUGE else "")
    r = subprocess.run(["wine", TESTS, "--gtest_filter=ZipInterop.*"], env=env,
                       stdin=subprocess.DEVNULL, capture_output=True, text=True,
                       errors="replace", timeout=900)
    t.check(r.returncode == 0 and "[  PASSED  ] 3 tests" in r.stdout,
            "the Windows half passes:\n" + r.stdout[-3000:] + r.stderr[-1000:])
finally:
    if made_d:
        os.remove(d_link)

try:
    backups = manifest(os.path.join(HERE, "backups.txt"))
    names = sorted(os.listdir(os.path.join(HERE, "Backup")))
    t.check(names == sorted(backups), f"archives {names} == {sorted(backups)}")
    for n in names:
        t.check(re.fullmatch(r"[CD]_\d{12,14}\.zip", n) is not None, f"{n}: drive_ddmmyyyyhnns.zip")
    if made_d:
        t.check(sorted(n[0] for n in names) == ["C", "C", "D"], "C, D then C again: three archives")
    for archive, expected in backups.items():
        check_archive(os.path.join(HERE, "Backup", archive), expected, "backup")
    appended = [a for a, e in backups.items() if any(k.endswith("later/appended.txt") for k in e)]
    t.check(len(appended) == 1 and len(backups[appended[0]]) > 1,
            "the appended archive keeps its earlier entries")

    zip64 = manifest(os.path.join(HERE, "zip64.txt"))
    infos = check_archive(os.path.join(HERE, "many.zip"), zip64["many.zip"], "zip64")
    t.check(len(infos) == 70000, "70,000 entries")
    if HUGE:
        huge = os.path.join(HERE, "huge.zip")
        t.check(os.path.getsize(huge) > 1 << 32, "the huge archive passes 4 GiB")
        infos = check_archive(huge, zip64["huge.zip"], "zip64")
        t.check(infos["after.txt"].header_offset > 1 << 32, "an entry after 4 GiB")
        with zipfile.ZipFile(huge) as z:
            t.check(z.read("after.txt") == b"after four gigabytes", "and it reads")
finally:
    shutil.rmtree(HERE, ignore_errors=True)
t.finish()
