#!/usr/bin/env python3
"""Fails when the folders under src include each other in a cycle.

Each folder (src/launcher, src/platform/win32, ...) is a node; a file's #include "folder/..."
is an edge from its own folder to that one. The folders must form layers: a folder that could
reach itself again would mean neither side can be built or understood without the other.
"""
import pathlib
import re
import sys

SRC = pathlib.Path(__file__).resolve().parent.parent / "src"
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def folder_graph():
    """Each folder under src and the other folders its files include."""
    graph = {}
    for path in sorted(SRC.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        here = path.parent.relative_to(SRC).as_posix()
        edges = graph.setdefault(here, set())
        for target in INCLUDE.findall(path.read_text(encoding="utf-8")):
            there = pathlib.PurePosixPath(target).parent.as_posix()
            if there != here:
                edges.add(there)
    return graph


def find_cycle(graph):
    """One cycle as a list of folders (the first repeated last), or None."""
    state = {}  # absent: not seen; 1: on the current path; 2: done
    path = []

    def visit(node):
        state[node] = 1
        path.append(node)
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == 1:
                return path[path.index(nxt):] + [nxt]
            if nxt not in state:
                found = visit(nxt)
                if found:
                    return found
        path.pop()
        state[node] = 2
        return None

    for node in sorted(graph):
        if node not in state:
            found = visit(node)
            if found:
                return found
    return None


def main():
    cycle = find_cycle(folder_graph())
    if cycle:
        print("check: include cycle between src folders: " + " -> ".join(cycle), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
