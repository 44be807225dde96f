#!/usr/bin/env python3
"""Reads the shipped oberin.exe as a file, on any machine, with no Wine: a 32-bit (PE32) Windows
program marked for Windows NT 4.0 (operating system and subsystem 4.0) that imports only from NT
4.0's system libraries and none of the functions that came after it. Each check prints the value
it read; the last line is the release figure (size, imports). Exit code 1 when a check fails.

Usage: shipped_program.py OBERIN.EXE [REPORT]   (REPORT: a copy of the output)
"""
import os
import struct
import sys

# NT 4.0's system libraries, and the functions of theirs that came later, which mingw-w64's
# runtimes may call.
NT4_LIBRARIES = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
                 "comctl32.dll", "msvcrt.dll", "comdlg32.dll", "ole32.dll", "version.dll",
                 "ntdll.dll"}
LATER_FUNCTIONS = {"GetTickCount64", "AddVectoredExceptionHandler",
                   "RemoveVectoredExceptionHandler", "GetFileSizeEx", "GetModuleHandleExA",
                   "GetModuleHandleExW", "InitializeCriticalSectionEx", "SetThreadDescription",
                   "GetSystemTimePreciseAsFileTime"}
I386, PE32, GUI = 0x14C, 0x10B, 2


class Image:
    def __init__(self, data):
        self.data = data
        pe = self.u32(0x3C)
        if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        self.machine, sections = struct.unpack_from("<HH", data, pe + 4)
        optional_size = struct.unpack_from("<H", data, pe + 20)[0]
        self.optional = pe + 24
        self.magic = self.u16(self.optional)
        self.sections = [struct.unpack_from("<8sIIII", data, self.optional + optional_size + 40 * i)
                         for i in range(sections)]

    def u16(self, offset):
        return struct.unpack_from("<H", self.data, offset)[0]

    def u32(self, offset):
        return struct.unpack_from("<I", self.data, offset)[0]

    def at(self, rva):
        """The file offset of a relative virtual address."""
        for _, size, address, raw_size, raw in self.sections:
            if address <= rva < address + max(size, raw_size):
                return raw + rva - address
        raise ValueError(f"address {rva:#x} in no section")

    def text(self, rva):
        start = self.at(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def imports(self):
        """{library: [function or #ordinal]} of a PE32 image."""
        result, entry = {}, self.at(self.u32(self.optional + 96 + 8))
        while self.u32(entry + 12):
            names = self.u32(entry) or self.u32(entry + 16)
            functions, slot = [], self.at(names)
            while thunk := self.u32(slot):
                functions.append(f"#{thunk & 0xFFFF}" if thunk & 0x80000000 else
                                 self.text(thunk + 2))
                slot += 4
            result[self.text(self.u32(entry + 12))] = functions
            entry += 20
        return result


def check(path):
    lines, failed = [], False

    def report(ok, text):
        nonlocal failed
        failed |= not ok
        lines.append(("" if ok else "FAILED: ") + text)

    data = open(path, "rb").read()
    image = Image(data)
    report(image.machine == I386, f"machine {image.machine:#x} (expected {I386:#x}, i386)")
    report(image.magic == PE32, f"optional header {image.magic:#x} (expected {PE32:#x}, PE32)")
    if image.magic != PE32:
        return lines, True
    o = image.optional
    os_version = (image.u16(o + 40), image.u16(o + 42))
    subsystem, subsystem_version = image.u16(o + 68), (image.u16(o + 48), image.u16(o + 50))
    report(os_version == (4, 0), "operating system version %d.%d (expected 4.0)" % os_version)
    report(subsystem == GUI, f"subsystem {subsystem} (expected {GUI}, Windows GUI)")
    report(subsystem_version == (4, 0),
           "subsystem version %d.%d (expected 4.0)" % subsystem_version)
    imports = image.imports()
    foreign = [name for name in imports if name.lower() not in NT4_LIBRARIES]
    foreign += [f for functions in imports.values() for f in functions if f in LATER_FUNCTIONS]
    report(not foreign, "imports not in Windows NT 4.0: " + (" ".join(foreign) or "none"))
    lines.append("oberin.exe (32-bit, shipped): %.1f KB; imports %d functions from %s"
                 % (len(data) / 1024, sum(map(len, imports.values())), ", ".join(imports)))
    return lines, failed


def main():
    try:
        lines, failed = check(sys.argv[1])
    except (OSError, ValueError, struct.error) as error:
        lines, failed = [f"FAILED: {sys.argv[1]}: {error}"], True
    text = "\n".join(lines) + "\n"
    sys.stdout.write(text)
    if len(sys.argv) > 2:
        os.makedirs(os.path.dirname(os.path.abspath(sys.argv[2])), exist_ok=True)
        with open(sys.argv[2], "w") as copy:
            copy.write(text)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
