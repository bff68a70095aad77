"""The files an NSIS installer carries after its stub, as it would unpack
them: the programs it installs and the plug-in DLLs it runs."""

import lzma
import struct

SIGNATURE = struct.pack("<I", 0xDEADBEEF) + b"NullsoftInst"


class NsisError(Exception):
    """No installer's data, or data of a form this reader does not know."""


def stub_size(installer):
    """Where the data follows the stub: the first header, which makensis
    puts on a 512-byte boundary."""
    for offset in range(512, len(installer), 512):
        if installer[offset + 4:offset + 20] == SIGNATURE:
            return offset
    raise NsisError("no NSIS header after the stub")


def carried_files(installer):
    """The data blocks after the installer's own script: every file it
    installs or unpacks, in the order makensis stored them."""
    start = stub_size(installer)
    _, _, _, header_size, total = struct.unpack_from("<II12sII", installer, start)
    # The total counts the first header and the checksum that ends the file.
    data = installer[start + 28:start + total - 4]
    if len(data) < 5 or data[0] >= 9 * 5 * 5:
        raise NsisError("not one LZMA stream (SetCompressor /SOLID lzma)")
    properties, dictionary = data[0], struct.unpack_from("<I", data, 1)[0]
    lzma_filter = {"id": lzma.FILTER_LZMA1, "dict_size": dictionary, "lc": properties % 9,
                   "lp": properties // 9 % 5, "pb": properties // 45}
    try:
        stream = lzma.LZMADecompressor(lzma.FORMAT_RAW, filters=[lzma_filter]).decompress(data[5:])
    except lzma.LZMAError as error:
        raise NsisError("the LZMA stream does not unpack: %s" % error)
    blocks, offset = [], 0
    while offset + 4 <= len(stream):
        size = struct.unpack_from("<I", stream, offset)[0]
        if offset + 4 + size > len(stream):
            raise NsisError("a block runs past the unpacked data's end")
        blocks.append(stream[offset + 4:offset + 4 + size])
        offset += 4 + size
    if not blocks or len(blocks[0]) != header_size:
        raise NsisError("the first block is not the installer's script")
    return blocks[1:]
