#!/usr/bin/env python3
"""The layering check: every include points down or sideways within a level.

Reads the level table (scripts/layers.txt), the explicit source lists and
links of the libraries (add_library / target_sources / target_link_libraries in
every CMakeLists.txt) and the quoted includes of every tracked .cpp and .h.
Fails on
  - an include from a file into a level its own level does not use,
  - a link between libraries against the levels, or a cycle of links,
  - a program file the table places nowhere,
  - an allow-list line (scripts/layers-allowed.txt) that no longer matches an
    include that needs it: the list only shrinks.

  scripts/check-layers.py [SOURCE_DIR]           check
  scripts/check-layers.py --print-allow-list     print today's wrong-way includes
"""

import fnmatch
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
TABLE = os.path.join(HERE, "layers.txt")
ALLOWED = os.path.join(HERE, "layers-allowed.txt")
SOURCE_SUFFIXES = (".cpp", ".h")


def read_table(path):
    """Returns (uses, library_levels, file_patterns) from the level table."""
    uses, libraries, patterns = {}, {}, []
    section = None
    with open(path, encoding="utf-8") as table:
        for number, raw in enumerate(table, 1):
            line = raw.split("#", 1)[0].strip()
            if not line:
                continue
            if line.startswith("[") and line.endswith("]"):
                section = line[1:-1]
                continue
            words = line.split()
            if section == "levels":
                uses[words[0]] = [w for w in words[1:] if w != "-"]
            elif section == "libraries" and len(words) == 2:
                libraries[words[0]] = words[1]
            elif section == "files" and len(words) == 2:
                patterns.append((words[0], words[1]))
            else:
                sys.exit(f"{path}:{number}: cannot read '{raw.rstrip()}'")
    for level, below in uses.items():
        for other in below:
            if other not in uses:
                sys.exit(f"{path}: level {level} uses unknown level {other}")
    for _, level in list(libraries.items()) + patterns:
        if level not in uses:
            sys.exit(f"{path}: unknown level {level}")
    return uses, libraries, patterns


def reachable(uses):
    """Each level with every level it may include (itself too)."""
    closure = {}
    for level in uses:
        seen, todo = {level}, [level]
        while todo:
            for lower in uses[todo.pop()]:
                if lower not in seen:
                    seen.add(lower)
                    todo.append(lower)
        closure[level] = seen
    return closure


def find_cycle(graph):
    """A cycle of the directed graph as a list of nodes, or None."""
    state = {}

    def visit(node, path):
        state[node] = "open"
        path.append(node)
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == "open":
                return path[path.index(nxt):] + [nxt]
            if nxt not in state:
                found = visit(nxt, path)
                if found:
                    return found
        path.pop()
        state[node] = "done"
        return None

    for node in sorted(graph):
        if node not in state:
            found = visit(node, [])
            if found:
                return found
    return None


def tracked_files(root):
    try:
        out = subprocess.run(["git", "-C", root, "ls-files"], check=True, capture_output=True, text=True).stdout
        return sorted(out.split())
    except (OSError, subprocess.CalledProcessError):
        found = []
        for folder, _, names in os.walk(root):
            if "/build" in folder[len(root):] or "/.git" in folder[len(root):]:
                continue
            found += [os.path.relpath(os.path.join(folder, n), root) for n in names]
        return sorted(found)


def strip_cmake_comments(text):
    return "\n".join(line.split("#", 1)[0] for line in text.splitlines())


def read_cmake(root, files):
    """Explicit library sources {file: library} and links {library: {library}}."""
    commands = re.compile(r"\b(set|add_library|target_sources|target_link_libraries)\s*\(([^)]*)\)", re.S)
    sources, links, libraries = {}, {}, set()
    for cmake_file in (f for f in files if os.path.basename(f) == "CMakeLists.txt"):
        folder = os.path.dirname(cmake_file)
        with open(os.path.join(root, cmake_file), encoding="utf-8") as handle:
            text = strip_cmake_comments(handle.read())
        variables = {}  # set(NAME a.cpp b.h ...) lists, expanded where a library names them
        for command, body in commands.findall(text):
            words = []
            for word in body.split():
                name = re.fullmatch(r"\$\{(\w+)\}", word.strip('"'))
                words += variables.get(name.group(1), [word]) if name else [word]
            if not words or "$" in words[0]:
                continue
            if command == "set":
                variables[words[0]] = words[1:]
                continue
            target = words[0]
            if command == "target_link_libraries":
                links.setdefault(target, set()).update(w for w in words[1:] if "$" not in w and "::" not in w)
                continue
            if command == "add_library":
                libraries.add(target)
            for word in words[1:]:
                word = word.strip('"')
                word = word.replace("${CMAKE_CURRENT_SOURCE_DIR}/", "").replace("${CMAKE_SOURCE_DIR}/", "/")
                if "$" in word or not word.endswith(SOURCE_SUFFIXES):
                    continue
                path = word[1:] if word.startswith("/") else os.path.normpath(os.path.join(folder, word))
                sources[path] = target
    links = {lib: {d for d in deps if d in libraries} for lib, deps in links.items() if lib in libraries}
    return sources, links, libraries


INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def includes_of(root, path):
    """The tracked files (or generated paths) a file includes with quotes."""
    with open(os.path.join(root, path), encoding="utf-8", errors="replace") as handle:
        text = handle.read()
    result = []
    for name in INCLUDE.findall(text):
        beside = os.path.normpath(os.path.join(os.path.dirname(path), name))
        if os.path.exists(os.path.join(root, beside)):
            result.append(beside)
        elif not name.startswith(".."):
            result.append(os.path.normpath(name))  # from the source root, or generated (core/Version.h)
    return result


def main(argv):
    print_list = "--print-allow-list" in argv
    args = [a for a in argv if not a.startswith("--")]
    root = os.path.abspath(args[0] if args else os.path.join(HERE, ".."))
    uses, library_levels, patterns = read_table(TABLE)
    closure = reachable(uses)
    files = tracked_files(root)
    sources, links, libraries = read_cmake(root, files)
    problems = []

    def library_level(library):
        return library_levels.get(library, library if library in uses else None)

    def level_of(path):
        library = sources.get(path)
        if library and library_level(library):
            return library_level(library)
        for pattern, level in patterns:
            if fnmatch.fnmatchcase(path, pattern):
                return level
        return None

    code = [f for f in files if f.endswith(SOURCE_SUFFIXES)]
    wrong_way = []
    for path in code:
        level = level_of(path)
        if level is None:
            problems.append(f"{path}: no level (add it to scripts/layers.txt)")
            continue
        for target in includes_of(root, path):
            target_level = level_of(target)
            if target_level is None or target_level in closure[level]:
                continue
            wrong_way.append(f"{path} -> {target}")
            if print_list:
                continue
            note = "above" if level in closure[target_level] else "beside"
            wrong_way[-1] += f"  ({level} includes {target_level}, {note} it)"

    # Libraries: links follow the levels, and never form a cycle.
    for library in sorted(links):
        level = library_level(library)
        for dep in sorted(links[library]):
            dep_level = library_level(dep)
            if level and dep_level and dep_level not in closure[level]:
                problems.append(f"library {library} ({level}) links {dep} ({dep_level})")
    cycle = find_cycle(links)
    if cycle:
        problems.append("libraries link in a cycle: " + " -> ".join(cycle))
    for path, library in sorted(sources.items()):
        if library in libraries and path.endswith(SOURCE_SUFFIXES) and path not in files:
            problems.append(f"{path}: in the source list of {library} but not tracked")

    if print_list:
        print("\n".join(sorted(set(wrong_way))))
        return 0

    allowed = set()
    if os.path.exists(ALLOWED):
        with open(ALLOWED, encoding="utf-8") as handle:
            allowed = {ln.split("#", 1)[0].strip() for ln in handle} - {""}
    found = {entry.split("  (", 1)[0]: entry for entry in wrong_way}
    for key in sorted(found):
        if key not in allowed:
            problems.append(f"wrong-way include: {found[key]}")
    for key in sorted(allowed - set(found)):
        problems.append(f"allow-list line no longer needed, delete it from scripts/layers-allowed.txt: {key}")

    for line in problems:
        print(line)
    print(f"layers: {len(code)} files, {len(allowed & set(found))} allowed wrong-way includes, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
