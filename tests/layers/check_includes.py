#!/usr/bin/env python3
"""Reads every #include of the sources under SRC and fails on one that leaves its layer.

    check_includes.py SRC [--expect FILE]

A folder of SRC may include its own headers, those of the folders in the layers below its own
and, within its layer, only those the table names beside it. Qt's headers, and the headers that
bring them, are included only where the program meets the window system. Prints one line per
include that does not keep to that and exits 1 when there is one; with --expect, exits 1 unless
it finds exactly the lines of FILE (the check's own test, on a tree that breaks every rule)."""
import os
import re
import sys

# Bottom first. Dependencies point down only: the platform (and the system facts beside it),
# the document (and the one place where its bytes become Qt's text), the RPG program and the
# conversion library, the services built on them, and the program's windows, the outside
# libraries and the command-line tool at the top.
LAYERS = [
    ["platform", "sysinfo"],
    ["document", "qtedge"],
    ["calvex", "rpgprogram"],
    ["frame", "access", "ondrel", "tessary", "library"],
    ["outside", "ui", "cli"],
]
# The includes between two folders of one layer, each for a reason.
BESIDE = {
    ("rpgprogram", "calvex"),  # a program is imported and built by the conversion library
    ("frame", "tessary"),  # the help pages are made from the prompt help
    ("ui", "outside"),  # the program's windows open the outside libraries
}
# The folders that may include Qt: everything else is plain C++.
QT = {"qtedge", "tessary", "outside", "ui"}

LAYER = {folder: level for level, folders in enumerate(LAYERS) for folder in folders}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')
QT_HEADER = re.compile(r"^Q[A-Za-z]|^Qt[A-Z]|^qt[a-z]*/")


def may_include(folder, other):
    if folder == other:
        return True
    if other not in LAYER:
        return False
    return LAYER[other] < LAYER[folder] or (folder, other) in BESIDE


class Tree:
    def __init__(self, src):
        self.src = src
        self.includes = {}  # path -> [(line number, written, resolved path or None, angled)]
        self.qt = {}  # path -> the Qt header it brings, directly or through others, or None

    def folders(self):
        return sorted(d for d in os.listdir(self.src) if os.path.isdir(os.path.join(self.src, d)))

    def resolve(self, root, target, angled):
        """The file an include names: beside the includer first (".." included), then from SRC."""
        candidates = [os.path.join(self.src, target)]
        if not angled:
            candidates.insert(0, os.path.join(root, target))
        for candidate in candidates:
            if os.path.isfile(candidate):
                return os.path.normpath(candidate)
        return None

    def read(self, path):
        if path not in self.includes:
            found = []
            with open(path, encoding="latin-1") as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if m:
                        angled, target = m.group(1) == "<", m.group(2)
                        resolved = self.resolve(os.path.dirname(path), target, angled)
                        found.append((number, target, resolved, angled))
            self.includes[path] = found
        return self.includes[path]

    def brings_qt(self, path):
        if path in self.qt:
            return self.qt[path]
        self.qt[path] = None  # an include cycle brings nothing more
        for _, target, resolved, angled in self.read(path):
            header = target if angled and resolved is None and QT_HEADER.match(target) else None
            if header is None and resolved is not None:
                header = self.brings_qt(resolved)
            if header is not None:
                self.qt[path] = header
                break
        return self.qt[path]

    def folder_of(self, resolved, target):
        where = os.path.relpath(resolved, self.src) if resolved else target
        return where.split("/")[0] if "/" in where else None


def check(src):
    tree = Tree(src)
    problems = []
    for folder in tree.folders():
        if folder not in LAYER:
            problems.append(f"{folder}: a folder the table of layers does not place")
            continue
        for root, dirs, files in os.walk(os.path.join(src, folder)):
            dirs.sort()
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(root, name)
                shown = os.path.relpath(path, src)
                for number, target, resolved, angled in tree.read(path):
                    where = f"{shown}:{number}:"
                    written = f"<{target}>" if angled else f'"{target}"'
                    if angled and resolved is None:
                        if QT_HEADER.match(target) and folder not in QT:
                            problems.append(f"{where} {written} in a Qt-free folder")
                        continue
                    other = tree.folder_of(resolved, target)
                    if other is not None and not may_include(folder, other):
                        problems.append(f"{where} {written} ({folder} may not include {other})")
                        continue
                    header = tree.brings_qt(resolved) if resolved else None
                    if header is not None and folder not in QT:
                        problems.append(f"{where} {written} brings <{header}> into a Qt-free folder")
    return problems


def main(argv):
    if len(argv) not in (2, 4) or (len(argv) == 4 and argv[2] != "--expect"):
        print(__doc__, file=sys.stderr)
        return 2
    problems = check(argv[1])
    for problem in problems:
        print(problem)
    print(f"{len(problems)} out of their layer")
    if len(argv) == 2:
        return 1 if problems else 0
    with open(argv[3], encoding="utf-8") as f:
        expected = [line.rstrip("\n") for line in f if line.strip()]
    missed = [line for line in expected if line not in problems]
    unexpected = [line for line in problems if line not in expected]
    for line in missed:
        print(f"not found: {line}")
    for line in unexpected:
        print(f"not expected: {line}")
    return 1 if missed or unexpected else 0


sys.exit(main(sys.argv))
