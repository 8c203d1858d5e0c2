#!/usr/bin/env python3
"""The host names the add-on uses: every name that the host's headers (host/include/, not
vhost/) declare, a call, type, constant, field or macro, and that the add-on's code (Src/,
support_library/src/) names. Each line: the name, then where the host declares it.

  tools/addon-host-names.py            prints the list
  tools/addon-host-names.py --check F  compares with the list kept in F: exit 1, naming them,
                                       when the add-on uses a host name F does not hold

The kept list is reviewed by hand: each name must be one the real host has.
"""
import os
import re
import subprocess
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
HOST = 'host/include'
ADDON = ['Src', 'support_library/src']
SOURCE = re.compile(r'\.(h|hpp|cpp)$')
# Kinds of declarations that the add-on can name: classes, macros, enumerators, functions,
# enums, members, namespaces, prototypes, structs, typedefs, unions, variables.
KINDS = 'cdefgmnpstuvx'


def sources(top):
    for folder, dirs, files in os.walk(os.path.join(ROOT, top)):
        dirs[:] = sorted(d for d in dirs if d != 'vhost')
        for f in sorted(files):
            if SOURCE.search(f):
                yield os.path.join(folder, f)


def host_declarations():
    """name -> set of "kind" or "scope kind" texts."""
    out = subprocess.run(['ctags', '--languages=C++', '--language-force=C++', '--kinds-C++=' + KINDS, '--fields=+aKZ',
                          '-x', '--_xformat=%N\t%K\t%Z\t%a'] + list(sources(HOST)),
                         check=True, capture_output=True, text=True).stdout
    rows = [(line.split('\t') + ['', '', ''])[:4] for line in out.splitlines()]
    # A private nested class is the host's own, and so is all it declares.
    hidden = {(scope + '::' if scope else '') + name for name, kind, scope, access in rows if access == 'private'}
    names = {}
    for name, kind, scope, access in rows:
        scope = re.sub(r'(::)?__anon\w+', '', scope)
        if access == 'private' or scope in hidden or name.startswith('VHOST_') or name.startswith('__anon'):
            continue
        names.setdefault(name, set()).add(f'{scope} {kind}' if scope else kind)
    return names


COMMENT_OR_TEXT = re.compile(r'//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'', re.S)
IDENTIFIER = re.compile(r'\b[A-Za-z_][A-Za-z0-9_]*\b')


def addon_identifiers():
    found = set()
    for top in ADDON:
        for path in sources(top):
            with open(path, encoding='utf-8', errors='replace') as f:
                code = COMMENT_OR_TEXT.sub(' ', f.read())
            # Raw strings and include lines name no host symbol.
            code = re.sub(r'^\s*#\s*include[^\n]*', ' ', code, flags=re.M)
            found.update(IDENTIFIER.findall(code))
    return found


def listing():
    host = host_declarations()
    used = addon_identifiers()
    return {name: ', '.join(sorted(host[name])) for name in sorted(used & set(host))}


def main(argv):
    names = listing()
    if len(argv) == 3 and argv[1] == '--check':
        with open(argv[2], encoding='utf-8') as f:
            kept = {line.split('\t', 1)[0] for line in f if line.strip() and not line.startswith('#')}
        missing = sorted(set(names) - kept)
        for name in missing:
            print(f'{argv[2]}: the add-on uses the host name {name} ({names[name]}), which the list does not hold')
        if missing:
            print('check that the real host has each name above, then add it: tools/addon-host-names.py > ' + argv[2])
        return 1 if missing else 0
    if len(argv) != 1:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    print('# Host names the add-on uses (tools/addon-host-names.py); each is one the real host has.')
    for name, where in names.items():
        print(f'{name}\t{where}')
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
