"""What makes Windows XP refuse to start a program for its manifest ("the
application configuration is incorrect"); Windows 98 reads none."""

import io
import re
import xml.etree.ElementTree as ElementTree

ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
# The children of <assembly> XP's schema knows in its own namespace; XP
# refuses any other there, and skips elements of later namespaces (asm.v3's
# trustInfo, compatibility.v1's supportedOS).
XP_CHILDREN = {"assemblyIdentity", "comInterfaceExternalProxyStub", "dependency", "description",
               "file", "noInherit", "noInheritable"}
VERSION = re.compile(r"^\d{1,5}(\.\d{1,5}){3}$")


def _identity_problems(identity, where):
    problems = []
    for attribute in ("type", "name", "version"):
        if not identity.get(attribute):
            problems.append("%s has no %s" % (where, attribute))
    if identity.get("type", "win32").lower() != "win32":
        problems.append("%s is of type %s, not win32" % (where, identity.get("type")))
    version = identity.get("version", "0.0.0.0")
    if not VERSION.match(version) or max(map(int, version.split("."))) > 65535:
        problems.append("%s has the version %r, not four numbers" % (where, version))
    architecture = identity.get("processorArchitecture", "x86").lower()
    if architecture not in ("x86", "*"):
        problems.append("%s is for %s, not x86" % (where, architecture))
    token = identity.get("publicKeyToken")
    if token is not None and not re.match(r"^[0-9a-fA-F]{16}$", token):
        problems.append("%s has the public key token %r" % (where, token))
    return problems


def manifest_problems(text, resource, is_dll):
    """What XP's loader would refuse in the manifest resource `resource`."""
    expected = 2 if is_dll else 1
    if resource != expected:
        return ["the manifest is resource %d; Windows reads a %s's as %d" %
                (resource, "DLL" if is_dll else "program", expected)]
    problems, declared = [], []
    try:
        for event, item in ElementTree.iterparse(io.BytesIO(text), ("start", "start-ns")):
            if event == "start-ns":
                declared.append(item[1])
                continue
            # One namespace twice on one element corrupts XP SP2's parser.
            if len(set(declared)) != len(declared):
                problems.append("<%s> declares one namespace twice" % item.tag)
            declared = []
        root = ElementTree.parse(io.BytesIO(text)).getroot()
    except ElementTree.ParseError as error:
        return ["not well-formed XML: %s" % error]
    if root.tag != ASM_V1 + "assembly" or root.get("manifestVersion") != "1.0":
        return problems + ["the root is %s, not asm.v1's <assembly manifestVersion=\"1.0\">" %
                           root.tag]
    for child in root:
        if child.tag.startswith(ASM_V1) and child.tag[len(ASM_V1):] not in XP_CHILDREN:
            problems.append("<%s> in asm.v1's namespace, which XP refuses" %
                            child.tag[len(ASM_V1):])
    own = root.findall(ASM_V1 + "assemblyIdentity")
    if len(own) != 1:
        problems.append("%d identities of the program's own, not one" % len(own))
    for identity in own:
        problems += _identity_problems(identity, "the program's identity")
    for dependency in root.iter(ASM_V1 + "dependentAssembly"):
        for identity in dependency.findall(ASM_V1 + "assemblyIdentity"):
            problems += _identity_problems(identity, "the dependency %s" % identity.get("name"))
    return problems
