#!/usr/bin/python3
"""Reads DXF files the way a strict reader would and says what is wrong.

    dxf-check.py [--describe] FILE.dxf...

Each file must be UTF-8 text of the 2010 release (AC1024) in which every
object has a handle of its own below $HANDSEED and an owner that exists, and
it must load in ezdxf without a warning, without anything ezdxf has to add
that the format requires, and with an audit that finds no error and fixes
nothing. Prints "ok FILE" or "fault FILE: WHAT" per file and exits 1 when
any file has a fault.

--describe prints instead, for one file, what the drawing holds: every block
with its entities, then model space; a block reference as "insert NAME", a
polyface mesh as "mesh closed|open" with the colours its faces show, every
other entity by its type; each with its colour (bylayer, byblock, index N,
rgb R G B). Blocks are sorted by name.

Runs with the system's Python (Debian's python3-ezdxf).
"""
import logging
import sys
from collections import Counter

import ezdxf

# What ezdxf adds to every drawing it loads for its own object collections
# (the format does not require these), and the end markers it makes for
# every block reference and polyline while it binds them (the audit reports
# a polyline whose own end marker is missing).
EZDXF_OWN_ADDITIONS = {"DICTIONARY", "MLEADERSTYLE", "MLINESTYLE", "MATERIAL", "SEQEND"}
# Layer the other program adds to every drawing it opens.
LAYERS_ADDED_ANYWAY = {"Defpoints"}
# Structure tags that are no objects and have no handles.
NO_HANDLE = {"SECTION", "ENDSEC", "EOF", "ENDTAB", "CLASS"}


class Fault(Exception):
    pass


def read_pairs(path):
    """Group code and value pairs of an ASCII DXF file, strictly UTF-8."""
    with open(path, encoding="utf-8", errors="strict", newline=None) as stream:
        lines = stream.read().split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    if len(lines) % 2:
        raise Fault("odd number of lines")
    pairs = []
    for i in range(0, len(lines), 2):
        try:
            pairs.append((int(lines[i]), lines[i + 1]))
        except ValueError:
            raise Fault(f"line {i + 1}: no group code: {lines[i]!r}")
    return pairs


def raw_objects(pairs):
    """(type, handle, owner) of every object in file order, and the header."""
    objects, header = [], {}
    section, variable, current = None, None, None
    for code, value in pairs:
        if code == 0:
            if current:
                objects.append(current)
            current = None
            if value not in NO_HANDLE:
                current = {"type": value, "handle": None, "owner": None}
            continue
        if code == 2 and section is None:
            section = value
        if current is None:
            if section == "HEADER":
                if code == 9:
                    variable = value
                elif variable:
                    header.setdefault(variable, value)
            if code == 2 and value in ("HEADER", "CLASSES", "TABLES", "BLOCKS", "ENTITIES", "OBJECTS"):
                section = value
            continue
        if code in (5, 105) and current["handle"] is None:
            current["handle"] = value
        elif code == 330 and current["owner"] is None:
            current["owner"] = value
    if current:
        objects.append(current)
    return objects, header


def check_structure(path):
    pairs = read_pairs(path)
    if not pairs or pairs[-1] != (0, "EOF"):
        raise Fault("no EOF at the end")
    objects, header = raw_objects(pairs)
    if header.get("$ACADVER") != "AC1024":
        raise Fault(f"$ACADVER is {header.get('$ACADVER')}, not AC1024")
    seed = int(header.get("$HANDSEED", "0"), 16)
    handles = Counter(o["handle"] for o in objects)
    for o in objects:
        if o["handle"] is None:
            raise Fault(f"{o['type']} without a handle")
        if int(o["handle"], 16) >= seed:
            raise Fault(f"{o['type']} #{o['handle']} not below $HANDSEED {seed:X}")
        if handles[o["handle"]] > 1:
            raise Fault(f"handle #{o['handle']} used {handles[o['handle']]} times")
    root = next((o["handle"] for o in objects if o["type"] == "DICTIONARY"), None)
    for o in objects:
        owner = o["owner"]
        if owner is None:
            raise Fault(f"{o['type']} #{o['handle']} without an owner")
        if owner == "0":
            if o["type"] != "TABLE" and o["handle"] != root:
                raise Fault(f"{o['type']} #{o['handle']} owned by nothing")
        elif owner not in handles:
            raise Fault(f"{o['type']} #{o['handle']} owned by #{owner}, which is not there")
    return {o["handle"] for o in objects}


class Warnings(logging.Handler):
    def __init__(self):
        super().__init__(logging.WARNING)
        self.messages = []

    def emit(self, record):
        self.messages.append(record.getMessage())


def load_strictly(path):
    handles = check_structure(path)
    warnings = Warnings()
    logger = logging.getLogger("ezdxf")
    logger.addHandler(warnings)
    try:
        doc = ezdxf.readfile(path)
    except Exception as error:  # every reader error is a fault of the file
        raise Fault(f"ezdxf cannot read it: {error}")
    finally:
        logger.removeHandler(warnings)
    if warnings.messages:
        raise Fault("ezdxf warns: " + "; ".join(warnings.messages))
    added = []
    for handle, entity in doc.entitydb.items():
        if handle in handles:
            continue
        kind = entity.dxftype()
        name = entity.dxf.get("name", "") if entity.dxf.is_supported("name") else ""
        if kind in EZDXF_OWN_ADDITIONS or (kind == "LAYER" and name in LAYERS_ADDED_ANYWAY):
            continue
        added.append(f"{kind} {name}".strip())
    if added:
        raise Fault("ezdxf had to add " + ", ".join(sorted(added)))
    auditor = doc.audit()
    if auditor.has_errors or auditor.has_fixes:
        reports = [e.message for e in auditor.errors] + [f.message for f in auditor.fixes]
        raise Fault("audit: " + "; ".join(reports[:5]) + (" ..." if len(reports) > 5 else ""))
    return doc


def colour_text(entity):
    if entity.dxf.hasattr("true_color"):
        r, g, b = ezdxf.colors.int2rgb(entity.dxf.true_color)
        return f"rgb {r} {g} {b}"
    index = entity.dxf.color
    if index == 0:
        return "byblock"
    if index == 256:
        return "bylayer"
    return f"index {index}"


def polyface_text(polyface):
    """'mesh closed' when every edge joins two faces that run it in
    opposite directions, with the colours the faces show."""
    own = colour_text(polyface)
    shown, sides = set(), Counter()
    for face in polyface.indexed_faces()[1]:
        record = face.face_record
        shown.add(colour_text(record) if record.dxf.hasattr("color") else own)
        corners = list(face.indices)
        for a, b in zip(corners, corners[1:] + corners[:1]):
            sides[(a, b)] += 1
    closed = bool(sides) and all(n == 1 and sides.get((b, a)) == 1 for (a, b), n in sides.items())
    return f"mesh {'closed' if closed else 'open'} {' + '.join(sorted(shown))}"


def entity_text(entity):
    kind = entity.dxftype()
    if kind == "INSERT":
        return f"insert {entity.dxf.name} {colour_text(entity)}"
    if kind == "POLYLINE" and entity.is_poly_face_mesh:
        return polyface_text(entity) + f" ({colour_text(entity)})"
    return f"{kind.lower()} {colour_text(entity)}"


def describe(doc):
    lines = []
    for block in sorted((b for b in doc.blocks if not b.is_any_layout), key=lambda b: b.name):
        lines.append(f"block {block.name}")
        lines += ["  " + entity_text(e) for e in block]
    lines.append("model space")
    lines += ["  " + entity_text(e) for e in doc.modelspace()]
    return "\n".join(lines)


def main(argv):
    args = argv[1:]
    describing = bool(args) and args[0] == "--describe"
    if describing:
        args = args[1:]
    if not args or (describing and len(args) != 1):
        print(__doc__.strip().split("\n\n")[1], file=sys.stderr)
        return 2
    faults = 0
    for path in args:
        try:
            doc = load_strictly(path)
        except (Fault, OSError, UnicodeDecodeError) as fault:
            print(f"fault {path}: {fault}")
            faults += 1
            continue
        print(describe(doc) if describing else f"ok {path}")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
