#!/usr/bin/env python3
"""The host-name check (tools/check-addon-api.sh) on a copy of one add-on unit, ImporterOrtho.cpp
with the add-on headers it includes, the host's headers and the check itself. Each case plants a
change in the copy and states whether the check passes, and what it names when it fails.

  host_names_test.py SOURCE_DIR COMPILE_COMMANDS
"""
import json
import os
import shlex
import shutil
import subprocess
import sys
import tempfile

UNIT = 'Src/Classes/ImporterOrtho.cpp'
MOVE = '\treturn IO::fileSystem.Move(from, to);\n'
CREATE_CALL = '\tif (const GSErrCode err = IO::fileSystem.Create(to)) return err;\n'
# A member only the stand-in declares, beside one the real host has.
CREATE_MEMBER = ('host/include/FileSystem.hpp',
                 ('\tGSErrCode CreateFolder(', '\tGSErrCode Create(const Location& loc) const;\n\tGSErrCode CreateFolder('))

# (case, {file: (text to find, text to put in its place)}, new files, exit status, texts the output holds)
CASES = [
    ('the unit as it is', {}, {}, 0, []),
    ('a member only the stand-in declares, called',
     dict([CREATE_MEMBER, (UNIT, (MOVE, CREATE_CALL + MOVE))]), {},
     1, [UNIT + ':', 'member function IO::FileSystem::Create (FileSystem.hpp)']),
    ('the same call where this platform compiles nothing',
     dict([CREATE_MEMBER, (UNIT, (MOVE, '#if defined(_WIN32)\n' + CREATE_CALL + '#endif\n' + MOVE))]), {},
     1, [UNIT + ':', 'unresolved Create ']),
    ('a range the stand-in alone makes iterable',
     {'host/include/Location.hpp': ('\tvoid DeleteExtension();', '\tvoid DeleteExtension();\n'
                                    '\tconst char* begin() const;\n\tconst char* end() const;'),
      UNIT: (MOVE, '\tfor (const char c : IO::Name("x")) (void)c;\n' + MOVE)}, {},
     1, [UNIT + ':', 'member function IO::Name::begin (Location.hpp)', 'IO::Name::end']),
    ('a host macro only tested',
     {'host/include/APIdefs_Base.h': ('\n#endif', '\n#define API_PLANTED_FEATURE 1\n#endif'),
      UNIT: (MOVE, '#ifdef API_PLANTED_FEATURE\n#endif\n' + MOVE)}, {},
     1, [UNIT + ':', 'macro API_PLANTED_FEATURE']),
    ('a unit the compiler cannot read', {UNIT: (MOVE, '\treturn IO::fileSystem.Move(from to);\n')}, {},
     1, [UNIT + ': ', 'expected']),
    ('an add-on source the build does not list', {}, {'Src/Classes/Unlisted.cpp': 'int Unlisted() { return 0; }\n'},
     1, ['Src/Classes/Unlisted.cpp: not in ']),
]


def unit_entry(commands_file):
    with open(commands_file, encoding='utf-8') as f:
        return next(e for e in json.load(f) if os.path.normpath(e['file']).endswith(UNIT))


def addon_files(source, entry):
    """The unit and the add-on headers it includes, relative to SOURCE (the compiler's own list)."""
    args = [a for a in shlex.split(entry['command']) if a != '-c']
    args = [a for i, a in enumerate(args) if a != '-o' and (i == 0 or args[i - 1] != '-o')]
    deps = subprocess.run(args + ['-MM', '-MF', '-'], cwd=entry['directory'], check=True, capture_output=True,
                          text=True).stdout
    paths = [os.path.normpath(os.path.join(entry['directory'], p)) for p in deps.replace('\\\n', ' ').split()[1:]]
    addon = [os.path.join(source, top) + os.sep for top in ('Src', 'support_library/src')]
    return sorted({os.path.relpath(p, source) for p in paths if any(p.startswith(top) for top in addon)})


def make_copy(source, files, tree):
    for part in ['host/include', 'tools']:
        shutil.copytree(os.path.join(source, part), os.path.join(tree, part))
    for rel in files:
        os.makedirs(os.path.dirname(os.path.join(tree, rel)), exist_ok=True)
        shutil.copy(os.path.join(source, rel), os.path.join(tree, rel))


def run_case(base, entry, source, case):
    name, edits, new_files, status, texts = case
    with tempfile.TemporaryDirectory() as work:
        tree = os.path.join(os.path.realpath(work), 'tree')
        shutil.copytree(base, tree, symlinks=True)
        for rel, (old, new) in edits.items():
            path = os.path.join(tree, rel)
            with open(path, encoding='utf-8') as f:
                text = f.read()
            if old not in text:
                return [f'{name}: {rel} no longer holds {old!r}; the case needs a new anchor']
            with open(path, 'w', encoding='utf-8') as f:
                f.write(text.replace(old, new, 1))
        for rel, text in new_files.items():
            with open(os.path.join(tree, rel), 'w', encoding='utf-8') as f:
                f.write(text)
        commands = os.path.join(work, 'compile_commands.json')
        moved = {k: v.replace(source, tree) for k, v in entry.items() if k != 'directory'}
        with open(commands, 'w', encoding='utf-8') as f:
            json.dump([dict(moved, directory=entry['directory'])], f)
        run = subprocess.run([os.path.join(tree, 'tools/check-addon-api.sh'), tree, commands],
                             capture_output=True, text=True)
        out = run.stdout + run.stderr
        faults = [f'{name}: exit status {run.returncode}, not {status}'] if run.returncode != status else []
        faults += [f'{name}: the output does not hold {t!r}' for t in texts if t not in out]
        return faults + ([f'--- {name}:\n{out}'] if faults else [])


def main(argv):
    source, commands_file = os.path.realpath(argv[1]), argv[2]
    entry = unit_entry(commands_file)
    with tempfile.TemporaryDirectory() as work:
        base = os.path.join(work, 'base')
        make_copy(source, addon_files(source, entry), base)
        faults = [f for case in CASES for f in run_case(base, entry, source, case)]
    print('\n'.join(faults) if faults else f'{len(CASES)} cases hold')
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
