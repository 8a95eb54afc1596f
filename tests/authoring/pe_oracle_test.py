#!/usr/bin/env python3
"""The programs that ludex-pack writes into real programs, read by readers of
their own: pefile (every resource but the quiz kept byte for byte, the two
streams in the neutral language, the checksum, the image size, the data
directory, the relocations, the initialized data size, no warning) and objdump
(the section names, long ones included).
Usage: pe_oracle_test.py LUDEX_PACK OBJDUMP PROGRAMS_DIR SAMPLE_SOURCE"""
import os
import subprocess
import sys
import tempfile

import pefile

PROGRAMS = ["gui64.exe", "gui32.exe", "library64.dll", "norelocs64.exe", "norelocs32.exe", "bare64.exe",
            "bare32.exe", "align512.exe", "stripped32.exe"]


def resources(pe):
    found = {}
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries if hasattr(pe, "DIRECTORY_ENTRY_RESOURCE") else []:
        for name in kind.directory.entries:
            for language in name.directory.entries:
                key = (str(kind.name or kind.id), str(name.name or name.id), language.id)
                found[key] = pe.get_data(language.data.struct.OffsetToData, language.data.struct.Size)
    return found


def quiz(key):
    return key[:2] in [("PATCH", "104"), ("PATCH", "105")]


def relocations(pe):
    blocks = getattr(pe, "DIRECTORY_ENTRY_BASERELOC", [])
    return [(entry.rva, entry.type) for block in blocks for entry in block.entries]


def section_names(objdump, path):
    listing = subprocess.run([objdump, "-h", path], capture_output=True, text=True, check=True).stdout
    return [line.split()[1] for line in listing.splitlines() if line[:4].strip().isdigit()]


def problems(pack, objdump, player_path, sample, out_path):
    build = subprocess.run([pack, "build", sample, "-o", out_path, "--player", player_path], capture_output=True)
    if build.returncode != 0:
        return ["ludex-pack refused it: " + build.stderr.decode("utf-8", "replace")]
    player, out = pefile.PE(player_path), pefile.PE(out_path)
    kept = {key: data for key, data in resources(player).items() if not quiz(key)}
    written = resources(out)
    rsrc = next(s for s in out.sections if s.Name.rstrip(b"\0") == b".rsrc")
    old_rsrc = [s.SizeOfRawData for s in player.sections if s.Name.rstrip(b"\0") == b".rsrc"]
    directory = out.OPTIONAL_HEADER.DATA_DIRECTORY
    end = max(s.VirtualAddress + max(s.Misc_VirtualSize, 1) for s in out.sections)
    alignment = out.OPTIONAL_HEADER.SectionAlignment
    checks = {
        "other resources kept": {k: v for k, v in written.items() if not quiz(k)} == kept,
        "the two streams, neutral": sorted(k for k in written if quiz(k)) == [("PATCH", "104", 0), ("PATCH", "105", 0)],
        "checksum": out.OPTIONAL_HEADER.CheckSum == out.generate_checksum(),
        "image size": out.OPTIONAL_HEADER.SizeOfImage == (end + alignment - 1) // alignment * alignment,
        "resource entry": (directory[2].VirtualAddress, directory[2].Size) == (rsrc.VirtualAddress,
                                                                               rsrc.Misc_VirtualSize),
        "relocations": relocations(out) == relocations(player),
        "relocation entry size": directory[5].Size == player.OPTIONAL_HEADER.DATA_DIRECTORY[5].Size,
        "initialized data": out.OPTIONAL_HEADER.SizeOfInitializedData - player.OPTIONAL_HEADER.SizeOfInitializedData
        == rsrc.SizeOfRawData - sum(old_rsrc),
        "no warnings": out.get_warnings() == [],
        "section names": [n for n in section_names(objdump, out_path) if n != ".rsrc"] ==
        [n for n in section_names(objdump, player_path) if n != ".rsrc"],
    }
    return [name for name, right in checks.items() if not right]


def main():
    pack, objdump, folder, sample = sys.argv[1:5]
    failures = 0
    with tempfile.TemporaryDirectory() as work:
        for program in PROGRAMS:
            wrong = problems(pack, objdump, os.path.join(folder, program), sample, os.path.join(work, program))
            print(f"{program}: {'right' if not wrong else 'WRONG: ' + ', '.join(wrong)}")
            failures += bool(wrong)
    print(f"pe oracle: {len(PROGRAMS) - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
