#!/usr/bin/env python3
"""Checks a config.ini left behind by a killed program against the copy
taken just before the operation started.

    check_config.py BEFORE AFTER [SECTION KEY NEW_VALUE]...

AFTER must be GBK text made only of blank lines, comments (";"), section
lines ("[name]") and key lines ("key=value") inside a section, with no key
twice in a section. Every key of BEFORE must still be there with its value,
and no key may have been added, except the keys named on the command line:
each of those holds either its value in BEFORE (or is missing when BEFORE
lacked it) or NEW_VALUE. Section and key names match without regard to
case, as the program reads them. Prints what is wrong and exits 1.
"""
import sys


def parse(path):
    """The file as {(section, key): value}, or raises ValueError saying why not."""
    data = open(path, 'rb').read()
    if not data:
        raise ValueError('the file is empty')
    try:
        text = data.decode('gbk')
    except UnicodeDecodeError as e:
        raise ValueError(f'not GBK text: {e}')
    values = {}
    section = None
    for number, line in enumerate(text.split('\n'), 1):
        line = line.rstrip('\r')
        bare = line.strip(' \t')
        if not bare or bare.startswith(';'):
            continue
        if bare.startswith('['):
            if not bare.endswith(']') or len(bare) < 3:
                raise ValueError(f'line {number} is no section line: {line!r}')
            section = bare[1:-1].strip().lower()
            continue
        if '=' not in bare:
            raise ValueError(f'line {number} is neither a section nor a key: {line!r}')
        if section is None:
            raise ValueError(f'line {number} is a key outside any section: {line!r}')
        key, value = bare.split('=', 1)
        name = (section, key.strip().lower())
        if not name[1]:
            raise ValueError(f'line {number} has no key name: {line!r}')
        if name in values:
            raise ValueError(f'line {number} repeats the key {key.strip()} of [{section}]')
        values[name] = value.strip(' \t')
    return values


def main():
    args = sys.argv[1:]
    if len(args) < 2 or (len(args) - 2) % 3:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        before = parse(args[0])
    except ValueError as e:
        print(f'the config.ini taken before the operation is unusable: {e}')
        return 2
    try:
        after = parse(args[1])
    except ValueError as e:
        print(f'config.ini does not parse: {e}')
        return 1
    written = {}
    for i in range(2, len(args), 3):
        written[(args[i].lower(), args[i + 1].lower())] = args[i + 2]
    problems = []
    for name in sorted(set(before) | set(after) | set(written)):
        old, now = before.get(name), after.get(name)
        label = f'[{name[0]}] {name[1]}'
        if name in written:
            if now != old and now != written[name]:
                problems.append(f'{label} holds {now!r}: neither the old {old!r} nor the new {written[name]!r}')
        elif now != old:
            problems.append(f'{label} changed from {old!r} to {now!r}')
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
