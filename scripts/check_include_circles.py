#!/usr/bin/env python3
"""Fails when the product's rooms include each other in a circle.

A room is a file, with X.h and X.cpp of one folder counted as one room: X.cpp including X.h is the
room itself, but X.cpp including Y.h while Y.cpp includes X.h ties the two together. Only quoted
includes count; they are resolved as the compiler does with the repository root on the include path
(the including file's folder first, then the root).

Usage: check_include_circles.py [ROOT]     (ROOT defaults to the repository holding this script)
Prints each circle as `a -> b -> a` and exits 1, or prints one ok line and exits 0.
"""

import os
import re
import sys

# The product's folders; a folder that does not exist yet is skipped. Tests are not rooms: they may
# include anything.
PRODUCT_FOLDERS = ["common", "layoutfiles", "engine", "platform", "settings", "scanviewer",
                   "setuphook", "desktopsetup", "tools"]
SOURCE_SUFFIXES = (".h", ".hpp", ".c", ".cc", ".cpp")
# Enough to show the lead what to cut; a tangle beyond this is listed by its members.
MAX_CIRCLES_PER_TANGLE = 30

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def room_of(path):
    """engine/translate.cpp -> engine/translate"""
    return os.path.splitext(path)[0]


def product_files(root):
    files = []
    for folder in PRODUCT_FOLDERS:
        top = os.path.join(root, folder)
        for dirpath, dirnames, filenames in os.walk(top):
            dirnames.sort()
            for name in sorted(filenames):
                if name.endswith(SOURCE_SUFFIXES):
                    files.append(os.path.relpath(os.path.join(dirpath, name), root).replace(os.sep, "/"))
    return files


def resolve(root, includer, target):
    """The repository-relative path a quoted include names, or None when it names no file here."""
    for base in (os.path.dirname(includer), ""):
        candidate = os.path.normpath(os.path.join(base, target)).replace(os.sep, "/")
        if not candidate.startswith("../") and os.path.isfile(os.path.join(root, candidate)):
            return candidate
    return None


def include_graph(root):
    """room -> {included room: [(file, included file), ...]}, product rooms only, no self edges."""
    files = product_files(root)
    in_product = set(files)
    graph = {room_of(f): {} for f in files}
    for f in files:
        with open(os.path.join(root, f), encoding="utf-8", errors="replace") as text:
            for line in text:
                m = INCLUDE.match(line)
                if not m:
                    continue
                target = resolve(root, f, m.group(1))
                if target is None or target not in in_product:
                    continue
                a, b = room_of(f), room_of(target)
                if a != b:
                    graph[a].setdefault(b, []).append((f, target))
    return graph


def tangles(graph):
    """Strongly connected components of more than one room (Tarjan, iterative), sorted."""
    index, low, on_stack, stack, result = {}, {}, set(), [], []
    counter = 0
    for start in sorted(graph):
        if start in index:
            continue
        work = [(start, iter(sorted(graph[start])))]
        index[start] = low[start] = counter
        counter += 1
        stack.append(start)
        on_stack.add(start)
        while work:
            node, children = work[-1]
            child = next(children, None)
            if child is not None:
                if child not in index:
                    index[child] = low[child] = counter
                    counter += 1
                    stack.append(child)
                    on_stack.add(child)
                    work.append((child, iter(sorted(graph[child]))))
                elif child in on_stack:
                    low[node] = min(low[node], index[child])
                continue
            work.pop()
            if work:
                parent = work[-1][0]
                low[parent] = min(low[parent], low[node])
            if low[node] == index[node]:
                component = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    component.append(member)
                    if member == node:
                        break
                if len(component) > 1:
                    result.append(sorted(component))
    return sorted(result)


def circles(graph, members, limit):
    """Elementary circles within one tangle, each starting at its smallest room, at most `limit`."""
    members = set(members)
    found = []
    for start in sorted(members):
        # Circles through rooms smaller than `start` were found from those rooms already.
        allowed = {m for m in members if m >= start}
        path, on_path = [start], {start}
        work = [iter(sorted(n for n in graph[start] if n in allowed))]
        while work:
            nxt = next(work[-1], None)
            if nxt is None:
                work.pop()
                on_path.discard(path.pop())
                continue
            if nxt == start:
                found.append(path + [start])
                if len(found) >= limit:
                    return found
            elif nxt not in on_path:
                path.append(nxt)
                on_path.add(nxt)
                work.append(iter(sorted(n for n in graph[nxt] if n in allowed)))
    return found


def main(argv):
    if len(argv) > 2:
        print(f"usage: {argv[0]} [ROOT]", file=sys.stderr)
        return 2
    root = argv[1] if len(argv) == 2 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    if not os.path.isdir(root):
        print(f"include circles: no folder {root}", file=sys.stderr)
        return 2
    graph = include_graph(root)
    found = tangles(graph)
    if not found:
        print(f"include circles: ok, {len(graph)} rooms include each other as a tree")
        return 0
    for members in found:
        chains = circles(graph, members, MAX_CIRCLES_PER_TANGLE)
        print(f"include circle among {len(members)} rooms: {', '.join(members)}")
        for chain in chains:
            print("  " + " -> ".join(chain))
        if len(chains) >= MAX_CIRCLES_PER_TANGLE:
            print(f"  (first {MAX_CIRCLES_PER_TANGLE} circles shown)")
        edges = sorted((a, b) for a in members for b in graph[a] if b in members)
        for a, b in edges:
            for includer, included in graph[a][b]:
                print(f"    {includer} includes {included}")
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
