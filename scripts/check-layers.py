#!/usr/bin/env python3
"""Checks the include graph of the product folders: every include names its folder, no folder
includes from a folder above it, and no file includes itself back through a cycle."""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# Which folders each folder may include from (res/ holds only ids and constants).
ALLOWED = {
    'win': {'win'},
    'sable': {'sable', 'win', 'res'},
    'catalog': {'catalog', 'win', 'res'},
    'recent': {'recent', 'win', 'res'},
    'ui': {'ui', 'catalog', 'recent', 'sable', 'win', 'res'},
    'app': {'app', 'ui', 'catalog', 'recent', 'sable', 'win', 'res'},
    'tools': {'tools', 'catalog', 'win', 'res'},
    'checkhost': {'checkhost', 'catalog', 'win', 'res'},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def main():
    problems = []
    graph = {}
    for folder in ALLOWED:
        for name in sorted(os.listdir(os.path.join(ROOT, folder))):
            if not name.endswith(('.h', '.cpp', '.c')):
                continue
            path = f'{folder}/{name}'
            with open(os.path.join(ROOT, path), encoding='utf-8') as f:
                includes = INCLUDE.findall(f.read())
            graph[path] = includes
            for inc in includes:
                top = inc.split('/')[0]
                if '/' not in inc:
                    problems.append(f'{path}: "{inc}" does not name its folder')
                elif top not in ALLOWED[folder]:
                    problems.append(f'{path}: includes "{inc}" from a folder above it')
    # The framework and the skin link no project library above them.
    for folder, allowed in (('win', set()), ('sable', {'brindle_win'})):
        with open(os.path.join(ROOT, folder, 'CMakeLists.txt'), encoding='utf-8') as f:
            text = f.read()
        for libs in re.findall(r'target_link_libraries\(\s*\S+\s+(?:PUBLIC|PRIVATE|INTERFACE)?([^)]*)\)', text):
            for lib in libs.split():
                if lib.startswith('brindle_') and lib not in allowed:
                    problems.append(f'{folder}/CMakeLists.txt: links {lib}')
    # A cycle among headers: depth-first search with colours.
    state = {}

    def visit(node, stack):
        state[node] = 1
        for nxt in graph.get(node, []):
            if nxt not in graph:
                continue
            if state.get(nxt) == 1:
                problems.append('include cycle: ' + ' -> '.join(stack + [nxt]))
            elif not state.get(nxt):
                visit(nxt, stack + [nxt])
        state[node] = 2

    for node in graph:
        if not state.get(node):
            visit(node, [node])
    for p in problems:
        print(p)
    print(f'{len(graph)} files checked, {len(problems)} problems')
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
