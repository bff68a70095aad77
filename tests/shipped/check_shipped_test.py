#!/usr/bin/env python3
"""The check refuses what would keep a file from loading: each fault made in a
copy of a real program of the build, and manifests XP would refuse."""

import contextlib
import io
import os
import struct
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_shipped  # noqa: E402
from manifest_rules import manifest_problems  # noqa: E402
from pe_file import DELAY_IMPORTS, IMPORTS, PeFile  # noqa: E402

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
PROGRAM = os.path.join(ROOT, "dist", "sparkrun.exe")


class ShippedFileFaults(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(PROGRAM, "rb") as program:
            cls.data = program.read()
        cls.pe = PeFile(cls.data)
        cls.optional = struct.unpack_from("<I", cls.data, 0x3C)[0] + 24
        cls.table = check_shipped.availability(
            os.path.join(ROOT, "docs", "windows-api-availability.tsv"))
        cls.table[("kernel32.dll", "LoadLibraryB")] = ("yes", "stub")  # as a wide form is

    def failures(self, data):
        report = check_shipped.Report(self.table, {})
        with contextlib.redirect_stdout(io.StringIO()):
            report.check("sparkrun.exe", bytes(data))
        return report.failures

    def changed(self, offset, layout, *values):
        data = bytearray(self.data)
        struct.pack_into(layout, data, offset, *values)
        return data

    def test_each_fault_is_refused(self):
        before = self.failures(self.data)
        descriptor = self.pe.offset(self.pe.directory(IMPORTS)[0])
        first_thunk = self.pe.offset(self.pe.at("<I", self.pe.directory(IMPORTS)[0])[0])
        library = self.data.find(b"LoadLibraryA\0")
        self.assertGreater(library, 0)
        faults = {
            "OS version 5.1": self.changed(self.optional + 40, "<HH", 5, 1),
            "subsystem version 5.1": self.changed(self.optional + 48, "<HH", 5, 1),
            "by ordinal": self.changed(first_thunk, "<I", 0x80000001),
            "bound imports": self.changed(descriptor + 4, "<I", 0xFFFFFFFF),
            "delay-load": self.changed(self.optional + 96 + 8 * DELAY_IMPORTS, "<II",
                                       self.pe.directory(IMPORTS)[0], 32),
            "LoadLibraryB, only a stub on 98": self.changed(library, "12s", b"LoadLibraryB"),
            "LoadLibraryC, which the table does not list":
                self.changed(library, "12s", b"LoadLibraryC"),
        }
        for fault, data in faults.items():
            with self.subTest(fault):
                found = [line for line in self.failures(data) if line not in before]
                self.assertTrue(any(fault in line for line in found), found)

    def test_manifests_xp_refuses(self):
        def manifest(body, root='xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0"'):
            return ('<?xml version="1.0" encoding="UTF-8"?><assembly %s>'
                    '<assemblyIdentity type="win32" name="A.B" version="1.0.0.0"/>%s</assembly>'
                    % (root, body)).encode()

        trust = ('<trustInfo %s><security><requestedPrivileges><requestedExecutionLevel '
                 'level="asInvoker"/></requestedPrivileges></security></trustInfo>')
        common = ('<dependency><dependentAssembly><assemblyIdentity type="win32" '
                  'name="Microsoft.Windows.Common-Controls" version="6.0.0.0" '
                  'processorArchitecture="%s" publicKeyToken="6595b64144ccf1df"/>'
                  '</dependentAssembly></dependency>')
        self.assertEqual(manifest_problems(manifest(trust % 'xmlns="urn:schemas-microsoft-com:'
                                                    'asm.v3"' + common % "x86"), 1, False), [])
        refused = {
            "not well-formed": manifest("<description>"),
            "which XP refuses": manifest(trust % ""),
            "one namespace twice": manifest(trust % 'xmlns:v3="urn:schemas-microsoft-com:asm.v3" '
                                            'xmlns="urn:schemas-microsoft-com:asm.v3"'),
            "for amd64": manifest(common % "amd64"),
            "the root": manifest("", 'xmlns="urn:schemas-microsoft-com:asm.v1"'),
        }
        for problem, text in refused.items():
            with self.subTest(problem):
                found = manifest_problems(text, 1, False)
                self.assertTrue(any(problem in line for line in found), found)
        self.assertIn("resource 2", manifest_problems(manifest(""), 2, False)[0])


if __name__ == "__main__":
    unittest.main()
