#!/usr/bin/env python3
"""Every 32-bit file Ludora ships loads on Windows XP SP3 and Windows 98 SE:
the programs of dist/, the installer's helper, the installer and the files
it carries (the same programs, NSIS's plug-in DLLs). Read from the files
alone, without Wine, whose DLLs export far more than either Windows.

A file fails for an import the availability table (docs/) does not list, or
lists as missing or a stub on XP, or missing on 98; an import by ordinal, a
bound or a delay-loaded import; an OS or subsystem version above 4.0; a
manifest XP would refuse. An import that 98 has only as a failing stub needs
a line in stubs_on_98.tsv saying why it harms no one there. A program of the
build also imports only the DLLs its build line names, in at most 1 MiB.

    check_shipped.py [repository]     (exit status 1 on any failure)
"""

import glob
import hashlib
import os
import sys

from manifest_rules import manifest_problems
from nsis_data import NsisError, carried_files
from pe_file import BOUND_IMPORTS, DELAY_IMPORTS, PeError, PeFile

HERE = os.path.dirname(os.path.abspath(__file__))
LIMIT = 1 << 20


def read_rows(path, columns):
    with open(path, encoding="utf-8") as rows:
        return [line.rstrip("\n").split("\t")[:columns] for line in rows
                if line.strip() and not line.startswith("#")]


def availability(path):
    """(dll, function) -> (on XP SP3, on 98 SE), each yes, stub or no."""
    table = {}
    for dll, function, xp, win98, *_ in read_rows(path, 6):
        table[(dll.lower(), function)] = (xp, win98)
    return table


def stubs_on_98(path):
    """(file, dll, function) -> why that stub harms no one on Windows 98."""
    return {(name, dll.lower(), function): why
            for name, dll, function, why in read_rows(path, 4)}


class Report:
    def __init__(self, table, reviewed):
        self.table, self.reviewed, self.failures, self.stubs_seen = table, reviewed, [], set()

    def fail(self, name, what):
        self.failures.append("%s: %s" % (name, what))

    def check(self, name, data, dlls=None, note=""):
        """Checks one file; `dlls`, the DLLs its build line allows."""
        try:
            pe = PeFile(data)
            imports, delayed, manifests = pe.imports(), pe.delay_dlls(), pe.manifests()
        except PeError as error:
            self.fail(name + note, "unreadable: %s" % error)
            return
        for what, version in (("OS", pe.os_version), ("subsystem", pe.subsystem_version)):
            if version > (4, 0):
                self.fail(name, "asks for %s version %d.%d, above 4.0" % ((what,) + version))
        if pe.directory(BOUND_IMPORTS)[1] or any(bound for *_, bound in imports):
            self.fail(name, "has bound imports")
        if pe.directory(DELAY_IMPORTS)[1]:
            self.fail(name, "has a delay-load table (%s)" % ", ".join(delayed))
        stubs = []
        for dll, function, ordinal, _ in imports:
            key = (dll.lower(), function)
            if function is None:
                self.fail(name, "imports %s by ordinal %d" % (dll, ordinal))
            elif dlls is not None and dll.lower()[:-4] not in dlls:
                self.fail(name, "imports %s, which its build line does not name" % dll)
            elif key not in self.table:
                self.fail(name, "imports %s %s, which the table does not list" % (dll, function))
            elif self.table[key][0] != "yes":
                has = "has only as a stub" if self.table[key][0] == "stub" else "lacks"
                self.fail(name, "imports %s %s, which Windows XP SP3 %s" % (dll, function, has))
            elif self.table[key][1] == "no":
                self.fail(name, "imports %s %s, which Windows 98 SE lacks" % (dll, function))
            elif self.table[key][1] == "stub":
                stubs.append(key)
        for ident, text in manifests:
            for problem in manifest_problems(text, ident, pe.is_dll):
                self.fail(name, "manifest: %s" % problem)
        resources = ", ".join(str(ident) for ident, _ in manifests)
        print("%s%s: %d functions of %s; OS %d.%d, subsystem %d.%d; %s" % (
            name, note, len(imports), ", ".join(sorted({d.lower() for d, *_ in imports})),
            *pe.os_version, *pe.subsystem_version,
            "manifest " + resources if manifests else "no manifest"))
        for dll, function in stubs:
            why = self.reviewed.get((name, dll, function))
            self.stubs_seen.add((name, dll, function))
            print("    only a stub on 98: %s %s (%s)" % (dll, function, why or "UNREVIEWED"))
            if not why:
                self.fail(name, "imports %s %s, only a stub on 98, which stubs_on_98.tsv does "
                          "not account for" % (dll, function))


def check_carried(report, setup, built):
    """The programs and DLLs the installer carries: those built are named."""
    try:
        carried = carried_files(setup)
    except NsisError as error:
        report.fail("ludora-setup.exe", "its data not read: %s" % error)
        return
    for number, block in enumerate(carried):
        if block[:2] != b"MZ":
            continue
        same = built.get(hashlib.sha256(block).hexdigest())
        if same:
            print("ludora-setup.exe carries %s as built" % same)
            continue
        try:
            name = PeFile(block).export_name() or "carried file %d" % number
        except PeError:
            name = "carried file %d" % number
        report.check(name, block, note=" (carried by ludora-setup.exe)")


def main(root):
    report = Report(availability(os.path.join(root, "docs", "windows-api-availability.tsv")),
                    stubs_on_98(os.path.join(HERE, "stubs_on_98.tsv")))
    build = os.path.join(root, "build", "mingw")
    programs = {}  # path -> the DLLs its build line names
    with open(os.path.join(build, "programs.txt"), encoding="utf-8") as lines:
        for line in lines:
            if line.strip():
                path, *dlls = line.split()
                programs[os.path.realpath(path)] = dlls
    for path in glob.glob(os.path.join(root, "dist", "*.exe")):
        programs.setdefault(os.path.realpath(path), None)
    if len(programs) < 5:
        report.fail("programs.txt", "lists only %d programs" % len(programs))
    built = {}  # SHA-256 -> the file's name
    for path, dlls in sorted(programs.items()):
        name = os.path.basename(path)
        try:
            with open(path, "rb") as program:
                data = program.read()
        except OSError as error:
            report.fail(name, "not built: %s" % error.strerror)
            continue
        if dlls is None:
            report.fail(name, "in dist/ but no program of the build")
        if len(data) > LIMIT:
            report.fail(name, "%d bytes, over 1 MiB" % len(data))
        built[hashlib.sha256(data).hexdigest()] = name
        report.check(name, data, dlls)

    try:
        with open(os.path.join(root, "build", "ludora-setup.exe"), "rb") as installer:
            setup = installer.read()
    except OSError as error:
        report.fail("ludora-setup.exe", "not built: %s" % error.strerror)
        setup = None
    if setup is not None:
        report.check("ludora-setup.exe", setup,
                     note=" (the installer's stub, the uninstaller's too)")
        check_carried(report, setup, built)
    for name, dll, function in sorted(set(report.reviewed) - report.stubs_seen):
        report.fail("stubs_on_98.tsv",
                    "names %s %s of %s, no longer imported" % (dll, function, name))

    for failure in report.failures:
        print("FAIL " + failure)
    print("shipped files: %s" % ("%d failures" % len(report.failures) if report.failures
                                 else "all load on Windows XP SP3 and 98 SE"))
    return 1 if report.failures else 0


if __name__ == "__main__":
    sys.exit(main(os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                                  os.path.join(HERE, "..", ".."))))
