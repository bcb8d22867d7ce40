#!/usr/bin/env python3
"""Checks the library's includes against its layers (src/layers.txt).

Every file under src/s, and every test under tests/ (which mirrors src/s; FooTest.cpp
tests Foo), belongs to the module of the longest matching path of the table. The check fails when
- a file belongs to no module;
- a file includes a header of a module in a higher layer;
- modules include each other, directly or through others (within a layer too).

    scripts/check-layers.py [--root FOLDER]   (FOLDER: the tree, default this one)
    scripts/check-layers.py --self-test       the check against small trees of its own

Prints one line per fault and a summary; exits 1 on any fault.
"""
import argparse
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
SOURCES = ('.h', '.cpp', '.inc')


def read_layers(path):
    """[(layer, [module, ...])] in order, lowest first."""
    layers = []
    with open(path, encoding='utf-8') as table:
        for line in table:
            line = line.split('#', 1)[0].strip()
            if line:
                name, *modules = line.split()
                layers.append((name, modules))
    return layers


def module_of(relative, modules):
    """The longest module path that relative (a path under src/s) starts with."""
    best = None
    for module in modules:
        if relative == module or (relative.startswith(module) and relative[len(module)] in '/._'):
            if best is None or len(module) > len(best):
                best = module
    return best


def files_under(folder):
    for where, _, names in os.walk(folder):
        for name in sorted(names):
            if name.endswith(SOURCES):
                yield os.path.join(where, name)


def includes_of(path):
    with open(path, encoding='utf-8', errors='replace') as source:
        for number, line in enumerate(source, 1):
            match = INCLUDE.match(line)
            if match:
                yield number, match.group(1)


def cycles(edges):
    """The strongly connected components of more than one module (Tarjan)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []
    counter = [0]

    def visit(node):
        index[node] = low[node] = counter[0]
        counter[0] += 1
        stack.append(node)
        on_stack.add(node)
        for target in sorted(edges.get(node, ())):
            if target not in index:
                visit(target)
                low[node] = min(low[node], low[target])
            elif target in on_stack:
                low[node] = min(low[node], index[target])
        if low[node] == index[node]:
            component = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                component.append(member)
                if member == node:
                    break
            if len(component) > 1:
                found.append(sorted(component))

    for node in sorted(edges):
        if node not in index:
            visit(node)
    return found


def check(root, quiet=False):
    layers = read_layers(os.path.join(root, 'src', 'layers.txt'))
    layer_of = {}
    for number, (_, modules) in enumerate(layers):
        for module in modules:
            layer_of[module] = number
    modules = list(layer_of)
    faults = []
    edges = {}  # module -> {module: [where, ...]}
    library = os.path.join(root, 'src', 's')
    tests = os.path.join(root, 'tests')
    checked = 0
    for base, is_test in ((library, False), (tests, True)):
        if not os.path.isdir(base):
            continue
        for path in files_under(base):
            relative = os.path.relpath(path, base).replace(os.sep, '/')
            if is_test:  # FooTest.cpp, FooTest_win.cpp test Foo
                relative = re.sub(r'Test(?=(_[a-z]+)?\.[a-z]+$)', '', relative)
            module = module_of(relative, modules)
            if module is None:
                if not is_test:
                    faults.append(f'src/s/{relative}: in no module of src/layers.txt')
                continue  # tests of no library module (programs, resources) are not layered
            checked += 1
            shown = os.path.relpath(path, root).replace(os.sep, '/')
            for line, header in includes_of(path):
                if header.startswith('s/'):
                    target = module_of(header[2:], modules)
                elif is_test and os.path.exists(os.path.join(tests, header)):
                    target = module_of(header, modules)  # a helper of another test folder
                else:
                    continue
                if target is None or target == module:
                    continue
                where = f'{shown}:{line} includes "{header}"'
                if layer_of[target] > layer_of[module]:
                    faults.append(f'{where}: up from layer {layers[layer_of[module]][0]} ({module}) '
                                  f'to layer {layers[layer_of[target]][0]} ({target})')
                if not is_test:
                    edges.setdefault(module, {}).setdefault(target, []).append(where)
    for component in cycles({m: set(t) for m, t in edges.items()}):
        faults.append('modules include each other: ' + ', '.join(component))
        members = set(component)
        for module in component:
            for target, wheres in sorted(edges.get(module, {}).items()):
                if target in members:
                    faults.append(f'  {module} -> {target}: {wheres[0]}' +
                                  (f' (and {len(wheres) - 1} more)' if len(wheres) > 1 else ''))
    if quiet:
        return faults
    for fault in faults:
        print(fault)
    edge_count = sum(len(targets) for targets in edges.values())
    print(f'layers: {checked} files in {len(modules)} modules of {len(layers)} layers, '
          f'{edge_count} module edges, {len([f for f in faults if not f.startswith("  ")])} faults')
    return not faults


def self_test(root):
    """Trees of a few files under this tree's layer table, each with the faults it
    must give (a part of each fault's text); True when every tree gives them."""
    import shutil
    import tempfile
    cases = [
        ('an include down a layer', {'s/image/B.h': '#include "s/base/A.h"', 's/base/A.h': ''}, []),
        ('an include up a layer', {'s/base/A.h': '#include "s/image/B.h"', 's/image/B.h': ''},
         ['up from layer foundation (base) to layer image (image)']),
        ('two modules of a layer including each other',
         {'s/map/A.h': '#include "s/xml/B.h"', 's/xml/B.h': '#include "s/map/A.h"'},
         ['modules include each other: map, xml']),
        ('a cycle through three modules', {'s/map/A.h': '#include "s/xml/B.h"', 's/xml/B.h': '#include "s/reg/C.h"',
                                           's/reg/C.h': '#include "s/map/A.h"'},
         ['modules include each other: map, reg, xml']),
        ('a file in no module', {'s/nowhere/C.h': ''}, ['s/nowhere/C.h: in no module']),
        ('a test including above its layer', {'s/base/A.h': '', 's/image/B.h': '',
                                               '../tests/base/ATest.cpp': '#include "s/image/B.h"'},
         ['tests/base/ATest.cpp:1 includes "s/image/B.h": up from layer foundation']),
        ('the split piece of a module above the rest',
         {'s/archive/icon/Archive.h': '', 's/archive/icon/Archive.cpp': '#include "s/image/ico/I.h"',
          's/image/ico/I.h': '#include "s/archive/icon/Archive.h"'}, []),
    ]
    good = True
    for name, files, expected in cases:
        with tempfile.TemporaryDirectory() as tree:
            os.makedirs(os.path.join(tree, 'src'))
            shutil.copy(os.path.join(root, 'src', 'layers.txt'), os.path.join(tree, 'src', 'layers.txt'))
            for path, text in files.items():
                full = os.path.normpath(os.path.join(tree, 'src', path))
                os.makedirs(os.path.dirname(full), exist_ok=True)
                with open(full, 'w', encoding='utf-8') as out:
                    out.write(text + '\n')
            faults = check(tree, quiet=True)
        missing = [part for part in expected if not any(part in fault for fault in faults)]
        if missing or (not expected and faults):
            good = False
            print(f'self-test: {name}: expected {expected or "no fault"}, found {faults or "no fault"}')
    print(f'self-test: {len(cases)} trees, {"all as expected" if good else "FAILED"}')
    return good


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--root', default=os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
    parser.add_argument('--self-test', action='store_true')
    arguments = parser.parse_args()
    root = os.path.abspath(arguments.root)
    sys.exit(0 if (self_test(root) if arguments.self_test else check(root)) else 1)


if __name__ == '__main__':
    main()
