#!/usr/bin/env python3
"""The host names the add-on uses, each by its qualified name: every call, type, constant,
field or macro that the host's headers (host/include/, not vhost/) declare and that the
add-on's code (Src/, support_library/src/) names. The compiler's own reading of each of the
add-on's translation units (libclang, with the flags of the build's compile_commands.json)
tells which declaration each use refers to; a use whose declaration lies in the host's headers
is a host name, named by its scopes (namespace, class, enum) and its own name. Each line of
the list: the qualified name, its kind, and the header that declares it.

  tools/addon-host-names.py [--root DIR] COMPILE_COMMANDS...
        prints the list of what the add-on uses in the builds whose compile_commands.json
        files are given (one per host generation, so that each generation's calls are seen)
  tools/addon-host-names.py [--root DIR] --check LIST COMPILE_COMMANDS
        exit 1, naming each, when the add-on uses a host name LIST does not hold, or when
        one of its translation units cannot be read or is missing from COMPILE_COMMANDS

DIR is the tree to read (default: this one). The kept list is reviewed by hand: each name
must be one the real host has.
"""
import concurrent.futures
import ctypes
import json
import os
import re
import shlex
import subprocess
import sys

try:
    import clang.cindex as cindex
except ImportError:
    # Debian's bindings (python3-clang-14) sit where the system's python3 looks, which another
    # python3 first on the PATH does not.
    sys.path.append('/usr/lib/python3/dist-packages')
    try:
        import clang.cindex as cindex
    except ImportError:
        cindex = None

HOST = 'host/include'
ADDON = ['Src', 'support_library/src']
SOURCE = re.compile(r'\.(h|hpp|cpp)$')

# What each kind of declaration is called in the list.
KIND_NAMES = {
    'FUNCTION_DECL': 'function', 'FUNCTION_TEMPLATE': 'function template', 'CXX_METHOD': 'member function',
    'CONSTRUCTOR': 'constructor', 'DESTRUCTOR': 'destructor', 'CONVERSION_FUNCTION': 'conversion',
    'FIELD_DECL': 'field', 'VAR_DECL': 'variable', 'ENUM_CONSTANT_DECL': 'enumerator', 'ENUM_DECL': 'enum',
    'STRUCT_DECL': 'struct', 'UNION_DECL': 'union', 'CLASS_DECL': 'class', 'CLASS_TEMPLATE': 'class template',
    'TYPEDEF_DECL': 'typedef', 'TYPE_ALIAS_DECL': 'typedef', 'TYPE_ALIAS_TEMPLATE_DECL': 'typedef template',
    'NAMESPACE': 'namespace', 'MACRO_DEFINITION': 'macro',
}
# Members the compiler declares itself when the code needs them: the class's own name covers them.
IMPLICIT_KINDS = {'CONSTRUCTOR', 'DESTRUCTOR', 'CXX_METHOD'}


def sources(root, top):
    for folder, dirs, files in os.walk(os.path.join(root, top)):
        dirs[:] = sorted(d for d in dirs if d != 'vhost')
        for f in sorted(files):
            if SOURCE.search(f):
                yield os.path.join(folder, f)


def is_addon(root, path):
    return any(path.startswith(os.path.join(root, top) + os.sep) for top in ADDON)


def is_host(root, path):
    host = os.path.join(root, HOST) + os.sep
    return path.startswith(host) and not path.startswith(host + 'vhost' + os.sep)


def compiler_arguments(entry):
    """The entry's flags for reading the unit alone: no output, no warnings (errors still count)."""
    args = entry['arguments'] if 'arguments' in entry else shlex.split(entry['command'])
    out, skip = [], False
    for a in args[1:]:
        if skip:
            skip = False
        elif a in ('-o', '-c'):
            skip = True
        elif not (a == '-Werror' or a.startswith('-Werror=')
                  or os.path.normpath(os.path.join(entry['directory'], a)) == entry['file']):
            out.append(a)
    return out + ['-w']


def qualified_name(decl):
    parts = []
    while decl is not None and decl.kind != cindex.CursorKind.TRANSLATION_UNIT:
        if decl.spelling:  # an anonymous record or enum adds no scope
            parts.append(decl.spelling)
        decl = decl.semantic_parent
    return '::'.join(reversed(parts))


def is_implicit(decl):
    parent = decl.semantic_parent
    return decl.kind.name in IMPLICIT_KINDS and parent is not None and decl.location == parent.location


def libclang(name, *argtypes):
    """A libclang call the bindings do not wrap."""
    call = getattr(cindex.conf.lib, name)
    call.argtypes, call.restype = list(argtypes), None
    return call


def spelling_place(root, cursor):
    """Where the cursor's name is written ("file:line:col"): inside a macro's arguments, the
    argument, not the macro's name."""
    f, line, col, offset = cindex.c_object_p(), ctypes.c_uint(), ctypes.c_uint(), ctypes.c_uint()
    uint = ctypes.POINTER(ctypes.c_uint)
    libclang('clang_getSpellingLocation', cindex.SourceLocation, ctypes.POINTER(cindex.c_object_p), uint, uint, uint)(
        cursor.location, ctypes.byref(f), ctypes.byref(line), ctypes.byref(col), ctypes.byref(offset))
    return f'{os.path.relpath(os.path.normpath(cindex.File(f).name), root)}:{line.value}:{col.value}' if f else None


def overridden(method):
    """The virtual members a member function overrides."""
    cursors = ctypes.POINTER(cindex.Cursor)
    found, count = cursors(), ctypes.c_uint(0)
    libclang('clang_getOverriddenCursors', cindex.Cursor, ctypes.POINTER(cursors), ctypes.POINTER(ctypes.c_uint))(
        method, ctypes.byref(found), ctypes.byref(count))
    out = []
    for i in range(count.value):
        c = cindex.Cursor.from_buffer_copy(found[i])
        c._tu = method._tu  # what the bindings' cursor calls expect
        out.append(c)
    if count.value:
        libclang('clang_disposeOverriddenCursors', cursors)(found)
    return out


def declarations_named(cursor):
    """The declarations a cursor names: what a use refers to; for a declaration, its first
    declaration (the add-on defines an entry point the host declares) and what it overrides."""
    if not cursor.kind.is_declaration():
        return [cursor.referenced]
    out = [cursor.canonical] if cursor.canonical != cursor else []
    if cursor.kind == cindex.CursorKind.CXX_METHOD:
        out += overridden(cursor)
    return out


def host_header(root, decl):
    """The host header (relative to host/include/) that holds the declaration, or None."""
    where = decl.location.file if decl is not None else None
    if where is None or not is_host(root, os.path.normpath(where.name)):
        return None
    return os.path.relpath(os.path.normpath(where.name), os.path.join(root, HOST))


def range_calls(statement):
    """A range-based for over a class calls its begin and end, which the code does not write:
    [(qualified name, class declaration)]."""
    parts = list(statement.get_children())
    record = parts[1].type.get_declaration() if len(parts) > 2 else None
    if record is None or record.kind == cindex.CursorKind.NO_DECL_FOUND:
        return []
    return [(qualified_name(record) + '::' + call, record) for call in ('begin', 'end')]


def read_unit(job):
    """Reads one translation unit: (file, errors, uses, resolved). uses: {qualified name: (kind,
    header, place)} of each host declaration the add-on's code in it names; resolved: each place
    ("file:line:col") in the add-on where the compiler tells what the name written there is."""
    root, entry = job
    unit_file = entry['file']
    try:
        os.chdir(entry['directory'])
        tu = cindex.Index.create().parse(unit_file, args=compiler_arguments(entry),
                                         options=cindex.TranslationUnit.PARSE_DETAILED_PROCESSING_RECORD)
    except Exception as e:  # noqa: BLE001 - any failure to read the unit is reported, not passed
        return unit_file, [f'cannot be read: {e}'], {}, set()
    errors = [f'{d.location.file}:{d.location.line}: {d.spelling}' for d in tu.diagnostics
              if d.severity >= cindex.Diagnostic.Error]
    uses, resolved = {}, set()

    def visit(cursor):
        for child in cursor.get_children():
            where = child.location.file
            if where is None or not is_addon(root, os.path.normpath(where.name)):
                if child.kind == cindex.CursorKind.NAMESPACE:
                    visit(child)  # the add-on's own parts of a namespace the host opens too
                continue
            place = spelling_place(root, child) or f'{os.path.relpath(where.name, root)}:{child.location.line}'
            if child.kind.is_declaration() or child.referenced is not None:
                resolved.add(place)
            for decl in declarations_named(child):
                header = host_header(root, decl)
                if header is not None and not is_implicit(decl):
                    name = decl.spelling if decl.kind == cindex.CursorKind.MACRO_DEFINITION else qualified_name(decl)
                    uses.setdefault(name, (KIND_NAMES.get(decl.kind.name, decl.kind.name.lower()), header, place))
            if child.kind == cindex.CursorKind.CXX_FOR_RANGE_STMT:
                for name, record in range_calls(child):
                    header = host_header(root, record)
                    if header is not None:
                        uses.setdefault(name, ('member function', header, place))
            visit(child)

    visit(tu.cursor)
    return unit_file, errors, uses, resolved


def addon_units(root, commands_file):
    """The add-on's entries of a compile_commands.json, and each add-on source it lacks."""
    with open(commands_file, encoding='utf-8') as f:
        entries = json.load(f)
    units = {}
    for e in entries:
        path = os.path.normpath(os.path.join(e['directory'], e['file']))
        if is_addon(root, path):
            units[path] = dict(e, file=path)
    wanted = [p for top in ADDON for p in sources(root, top) if p.endswith('.cpp')]
    return list(units.values()), [p for p in wanted if p not in units]


# The names the compiler does not resolve: macros (also those only tested with #if), names in
# code the build does not compile (other platforms, the other host generation's form of a
# call), and members in templates whose types are not known yet. These are read from the text
# and known by their written name alone: a macro is "macro", any other name "unresolved".
COMMENT_OR_TEXT = re.compile(r'//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'|^[ \t]*#[ \t]*include[^\n]*',
                             re.S | re.M)
IDENTIFIER = re.compile(r'\b[A-Za-z_][A-Za-z0-9_]*\b')
UNRESOLVED = 'unresolved'


def host_declarations(root):
    """Each name the host's headers declare (Universal Ctags) -> the header, and whether it is a macro."""
    out = subprocess.run(['ctags', '--languages=C++', '--language-force=C++', '--kinds-C++=cdefgmnpstuvx',
                          '-x', '--_xformat=%N\t%K\t%F'] + list(sources(root, HOST)),
                         check=True, capture_output=True, text=True).stdout
    names = {}
    for line in out.splitlines():
        name, kind, header = (line.split('\t') + ['', ''])[:3]
        if not name.startswith('__anon') and not name.startswith('VHOST_'):
            macro = names.get(name, ('', False))[1] or kind == 'macro'
            names[name] = (os.path.relpath(header, os.path.join(root, HOST)), macro)
    return names


def text_uses(root, resolved):
    """Host names written in the add-on where the compiler did not resolve them: {name: (kind, header, place)}."""
    host, uses = host_declarations(root), {}
    for top in ADDON:
        for path in sources(root, top):
            with open(path, encoding='latin-1') as f:  # byte columns, as the compiler counts them
                code = COMMENT_OR_TEXT.sub(lambda m: re.sub(r'[^\n]', ' ', m.group(0)), f.read())
            rel = os.path.relpath(path, root)
            for number, line in enumerate(code.split('\n'), 1):
                for m in IDENTIFIER.finditer(line):
                    name, place = m.group(0), f'{rel}:{number}:{m.start() + 1}'
                    header, macro = host.get(name, (None, False))
                    if header is not None and (macro or place not in resolved):
                        uses.setdefault(name, ('macro' if macro else UNRESOLVED, header, place))
    return uses


def read_build(root, commands_file):
    """(problems, uses) over all the add-on's units of one build; uses as read_unit gives them."""
    units, unlisted = addon_units(root, commands_file)
    problems = [f'{os.path.relpath(p, root)}: not in {commands_file}, so its host names cannot be read' for p in unlisted]
    if not units:
        problems.append(f"{commands_file}: holds none of the add-on's translation units")
    uses, resolved = {}, set()
    # A reader that dies takes the check down with it (BrokenProcessPool), rather than leaving it waiting.
    with concurrent.futures.ProcessPoolExecutor(min(8, os.cpu_count() or 1)) as pool:
        for unit_file, errors, unit_uses, unit_resolved in pool.map(read_unit, [(root, u) for u in units]):
            problems += [f'{os.path.relpath(unit_file, root)}: {e}' for e in errors]
            for name, what in unit_uses.items():
                uses.setdefault(name, what)
            resolved |= unit_resolved
    if not problems:  # with a unit unread, every name in it would read as unresolved
        for name, what in text_uses(root, resolved).items():
            uses.setdefault(name, what)
    return problems, uses


def read_list(path):
    """{name: kinds} of a kept list."""
    kept = {}
    with open(path, encoding='utf-8') as f:
        for line in f:
            if line.strip() and not line.startswith('#'):
                name, kind = (line.rstrip('\n').split('\t') + [''])[:2]
                kept.setdefault(name, set()).add(kind)
    return kept


def is_kept(kept, name, kind):
    """An unresolved name is kept by any line of that name; a resolved one not by an unresolved line."""
    return name in kept and (kind == UNRESOLVED or kept[name] != {UNRESOLVED})


def check(root, list_file, commands_file):
    problems, uses = read_build(root, commands_file)
    kept = read_list(list_file)
    for name, (kind, header, place) in sorted(uses.items()):
        if not is_kept(kept, name, kind):
            problems.append(f'{place}: the add-on uses the host {kind} {name} ({header}), which {list_file} does not hold')
    for p in problems:
        print(p)
    if problems:
        print(f'check that the real host has each name above, then add it to {list_file} (see tools/addon-host-names.py)')
    return 1 if problems else 0


def listing(root, commands_files):
    uses = {}
    for commands_file in commands_files:
        problems, build_uses = read_build(root, commands_file)
        if problems:
            print('\n'.join(problems), file=sys.stderr)
            return 1
        for name, what in build_uses.items():
            if name not in uses or uses[name][0] == UNRESOLVED:  # another build may resolve it
                uses[name] = what
    print('# Host names the add-on uses (tools/addon-host-names.py): the name with its scopes, its kind, the header.')
    print('# Each is one the real host has. An "unresolved" name is written where no build tells what it refers to')
    print('# (the place follows), and is kept by its written name alone.')
    for name, (kind, header, place) in sorted(uses.items()):
        print(f'{name}\t{kind}\t{header}' + (f'\t{place}' if kind == UNRESOLVED else ''))
    return 0


def main(argv):
    root = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
    if len(argv) > 2 and argv[1] == '--root':
        root, argv = os.path.realpath(argv[2]), argv[:1] + argv[3:]
    if cindex is None:
        print('the host name check needs the libclang bindings for python3 (tools/setup.sh installs python3-clang-14)')
        return 1
    if len(argv) == 4 and argv[1] == '--check':
        return check(root, os.path.abspath(argv[2]), os.path.abspath(argv[3]))
    if len(argv) < 2 or argv[1].startswith('-'):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    return listing(root, [os.path.abspath(a) for a in argv[1:]])


if __name__ == '__main__':
    sys.exit(main(sys.argv))
