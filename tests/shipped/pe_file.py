"""A 32-bit Windows program or DLL as its headers describe it to the loader:
the versions it asks for, the functions it imports, its manifests."""

import struct

MACHINE_I386 = 0x14C
PE32 = 0x10B
RT_MANIFEST = 24
# The data directories read here, by their index.
EXPORTS, IMPORTS, RESOURCES, BOUND_IMPORTS, DELAY_IMPORTS = 0, 1, 2, 11, 13


class PeError(Exception):
    """The file is no 32-bit PE file, or its headers point outside it."""


class PeFile:
    def __init__(self, data):
        self.data = data
        if self._unpack("<2s", 0)[0] != b"MZ":
            raise PeError("no MZ header")
        pe = self._unpack("<I", 0x3C)[0]
        if self._unpack("<4s", pe)[0] != b"PE\0\0":
            raise PeError("no PE signature")
        self.machine, sections, _, _, _, optional_size, characteristics = self._unpack(
            "<HHIIIHH", pe + 4)
        self.is_dll = bool(characteristics & 0x2000)
        optional = pe + 24
        if self.machine != MACHINE_I386 or self._unpack("<H", optional)[0] != PE32:
            raise PeError("not a 32-bit x86 file (machine %#x)" % self.machine)
        os_major, os_minor, _, _, sub_major, sub_minor = self._unpack("<6H", optional + 40)
        self.os_version = (os_major, os_minor)
        self.subsystem_version = (sub_major, sub_minor)
        self.headers_size = self._unpack("<I", optional + 60)[0]
        self.subsystem = self._unpack("<H", optional + 68)[0]
        count = self._unpack("<I", optional + 92)[0]
        self.directories = [self._unpack("<II", optional + 96 + 8 * i) if i < count else (0, 0)
                            for i in range(16)]
        table = optional + optional_size
        self.sections = [self._unpack("<8xIIII", table + 40 * i) for i in range(sections)]

    def _unpack(self, layout, offset):
        if offset < 0 or offset + struct.calcsize(layout) > len(self.data):
            raise PeError("a header at %#x lies outside the file" % offset)
        return struct.unpack_from(layout, self.data, offset)

    def offset(self, rva):
        """Where in the file the byte the loader maps at `rva` is."""
        if rva < self.headers_size:
            return rva
        for virtual_size, address, raw_size, raw_at in self.sections:
            if address <= rva < address + max(virtual_size, raw_size):
                if rva - address >= raw_size:
                    raise PeError("RVA %#x is in no byte of the file" % rva)
                return raw_at + rva - address
        raise PeError("RVA %#x is in no section" % rva)

    def at(self, layout, rva):
        return self._unpack(layout, self.offset(rva))

    def _string(self, rva):
        start = self.offset(rva)
        end = self.data.find(b"\0", start)
        if end < 0:
            raise PeError("a name at RVA %#x has no end" % rva)
        return self.data[start:end].decode("latin-1")

    def directory(self, index):
        return self.directories[index]

    def imports(self):
        """(dll, function name or None, ordinal or None, bound) per imported
        function, `bound` when the descriptor carries a binding's stamp."""
        rva, size = self.directory(IMPORTS)
        found = []
        while size:
            lookup, stamp, _, name, first = self.at("<5I", rva)
            if not (lookup or name or first):
                return found
            dll = self._string(name)
            thunk = lookup or first
            while True:
                entry = self.at("<I", thunk)[0]
                if not entry:
                    break
                if entry & 0x80000000:
                    found.append((dll, None, entry & 0xFFFF, stamp != 0))
                else:
                    found.append((dll, self._string(entry + 2), None, stamp != 0))
                thunk += 4
            rva += 20
        return found

    def delay_dlls(self):
        """The DLLs of the delay-load table."""
        rva, size = self.directory(DELAY_IMPORTS)
        found = []
        while size:
            attributes, name = self.at("<II", rva)
            if not name:
                return found
            # Version 1 (attribute bit 0) holds RVAs; version 0, addresses.
            found.append(self._string(name) if attributes & 1 else "address %#x" % name)
            rva += 32
        return found

    def export_name(self):
        rva, size = self.directory(EXPORTS)
        return self._string(self.at("<I", rva + 12)[0]) if size else None

    def manifests(self):
        """(resource id, bytes) of each RT_MANIFEST resource, in any language."""
        root, size = self.directory(RESOURCES)
        if not size:
            return []

        def entries(directory):
            named, numbered = self.at("<12xHH", directory)
            for i in range(named + numbered):
                key, target = self.at("<II", directory + 16 + 8 * i)
                yield key, target

        found = []
        for kind, types in entries(root):
            if kind != RT_MANIFEST or not types & 0x80000000:
                continue
            for ident, languages in entries(root + (types & 0x7FFFFFFF)):
                if not languages & 0x80000000:
                    raise PeError("a manifest without a language directory")
                for _, leaf in entries(root + (languages & 0x7FFFFFFF)):
                    data_rva, data_size = self.at("<II", root + (leaf & 0x7FFFFFFF))
                    start = self.offset(data_rva)
                    if start + data_size > len(self.data):
                        raise PeError("the manifest %d runs past the file's end" % ident)
                    found.append((ident, self.data[start:start + data_size]))
        return found
