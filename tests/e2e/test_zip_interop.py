"""ZIP64 archives of the program's zip writer against other zip tools: the ZipInterop test of
services_tests.exe writes them (70,000 entries; an entry past 4 GiB), `unzip -t` and zipfile
check them here. Backup archives of a run and restored foreign ones: test_backup_restore.py."""

import os
import shutil
import subprocess
import zipfile
import zlib

from e2elib import BUILD, Checks, unix_path

t = Checks()
WIN = "C:\\glenvask-tests\\zip-interop-%d" % os.getpid()
HERE = unix_path(WIN)
HUGE = os.environ.get("GLENVASK_ZIP_HUGE", "1") != "0"  # 4 GiB on the disk for a minute


def check_archive(name, expected):
    """The archive passes unzip -t and zipfile's test, holding exactly the entries expected
    (name: size, CRC), each deflated; its entries."""
    path = os.path.join(HERE, name)
    r = subprocess.run(["unzip", "-tqq", path], stdin=subprocess.DEVNULL, capture_output=True,
                       text=True, errors="replace", timeout=600)
    t.check(r.returncode == 0, f"{name}: unzip -t ({(r.stdout + r.stderr).strip()[:300]})")
    with zipfile.ZipFile(path) as z:
        t.check(z.testzip() is None, f"{name}: zipfile reads every entry with its CRC")
        infos = {i.filename: i for i in z.infolist()}
    got = {n: (i.file_size, i.CRC, i.compress_type) for n, i in infos.items()}
    want = {n: e + (zipfile.ZIP_DEFLATED,) for n, e in expected.items()}
    t.check(got == want, f"{name}: entries, deflated {sorted(got)[:5]}... {sorted(want)[:5]}...")
    return infos


shutil.rmtree(HERE, ignore_errors=True)
os.makedirs(HERE)
try:
    env = dict(os.environ, GLENVASK_ZIP_INTEROP=WIN, GLENVASK_ZIP_INTEROP_HUGE="1" if HUGE else "")
    r = subprocess.run(["wine", os.path.join(BUILD, "services_tests.exe"),
                        "--gtest_filter=ZipInterop.*"], env=env, stdin=subprocess.DEVNULL,
                       capture_output=True, text=True, errors="replace", timeout=900)
    t.check(r.returncode == 0 and "[  PASSED  ] 1 test" in r.stdout,
            "the Windows half passes:\n" + r.stdout[-3000:] + r.stderr[-1000:])
    check_archive("many.zip", {f"n{i // 1000}/{i}": (len(str(i)), zlib.crc32(str(i).encode()))
                               for i in range(70000)})
    if HUGE:
        size, crc, block = (4 << 30) + 100, 0, bytes(1 << 26)
        for at in range(0, size, len(block)):
            crc = zlib.crc32(block[:min(len(block), size - at)], crc)
        infos = check_archive("huge.zip", {"huge/zeros.bin": (size, crc),
                                           "after.txt": (20, zlib.crc32(b"after four gigabytes"))})
        t.check(infos["after.txt"].header_offset > 1 << 32, "an entry after 4 GiB")
finally:
    shutil.rmtree(HERE, ignore_errors=True)
t.finish()
