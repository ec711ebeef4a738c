#!/usr/bin/python3
"""Checks the two Windows DLLs: machine type, exact export set, import
allow-list, the one manifest resource and its text, no version resource."""
import re
import sys

import pefile

NATIVES = ["findExecutable", "getIntValue", "getStringValue", "execFunc"]
EXPECTED_EXPORTS = {
    "x86": {f"_Java_tessal_jni_JNIManager_{n}@12" for n in NATIVES},
    "x64": {f"Java_tessal_jni_JNIManager_{n}" for n in NATIVES},
}
MACHINES = {"x86": 0x14C, "x64": 0x8664}
ALLOWED_IMPORTS = {"kernel32.dll", "shell32.dll"}
RT_MANIFEST, RT_VERSION = 24, 16

failures = []


def check(ok, what):
    print(("ok      " if ok else "FAILED  ") + what)
    if not ok:
        failures.append(what)


def resources(pe):
    """(type, id, language, bytes) of every resource."""
    found = []
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return found
    for rtype in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for rid in rtype.directory.entries:
            for lang in rid.directory.entries:
                data = pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)
                found.append((rtype.id, rid.id, lang.id, data))
    return found


def check_dll(arch, path):
    pe = pefile.PE(path)
    check(pe.FILE_HEADER.Machine == MACHINES[arch], f"{arch}: machine type {hex(pe.FILE_HEADER.Machine)}")
    check(pe.is_dll(), f"{arch}: is a DLL")

    exports = [s.name.decode() for s in getattr(pe, "DIRECTORY_ENTRY_EXPORT", None).symbols] \
        if hasattr(pe, "DIRECTORY_ENTRY_EXPORT") else []
    check(sorted(exports) == sorted(EXPECTED_EXPORTS[arch]),
          f"{arch}: exports exactly the four natives, found {sorted(exports)}")

    imported = {d.dll.decode().lower() for d in getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])}
    check(imported <= ALLOWED_IMPORTS and "kernel32.dll" in imported,
          f"{arch}: imports only kernel32.dll and shell32.dll, found {sorted(imported)}")
    delay = getattr(pe, "DIRECTORY_ENTRY_DELAY_IMPORT", [])
    check(not delay, f"{arch}: no delay-load imports")

    res = resources(pe)
    manifests = [r for r in res if r[0] == RT_MANIFEST]
    check(len(res) == 1 and len(manifests) == 1, f"{arch}: one resource, a manifest (found {[r[:3] for r in res]})")
    check(not [r for r in res if r[0] == RT_VERSION], f"{arch}: no version resource")
    if manifests:
        _, rid, lang, data = manifests[0]
        check(rid == 2 and lang == 1033, f"{arch}: manifest ID 2, language 1033 (found {rid}, {lang})")
        text = data.decode("utf-8", "replace")
        level = re.search(r'<requestedExecutionLevel\s+level="([^"]+)"\s+uiAccess="([^"]+)"', text)
        check(level is not None and level.group(1) == "asInvoker" and level.group(2) == "false",
              f"{arch}: manifest requests asInvoker without UI access")


if len(sys.argv) != 3:
    sys.exit("usage: check_pe.py <x86 dll> <x64 dll>")
check_dll("x86", sys.argv[1])
check_dll("x64", sys.argv[2])
print(f"{'FAILED' if failures else 'PASSED'}: {len(failures)} check(s) failed")
sys.exit(1 if failures else 0)
