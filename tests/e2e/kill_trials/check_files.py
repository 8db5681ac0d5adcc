#!/usr/bin/env python3
"""Looks for torn files after a killed download or install: every file the
operation writes must be absent, the old one, or the whole new one.

    check_files.py pack FOLDER SOURCE REFERENCE
        FOLDER is the pack folder in the program's face folder; SOURCE the
        service's folder of the pack (imgs.txt names its files); REFERENCE
        holds small.bmp and main.html as an undisturbed run made them.
        Each listed file must equal SOURCE's, small.bmp and main.html must
        equal REFERENCE's.

    check_files.py update PROGRAM TEMPLATE TREE
        PROGRAM is the program folder, TEMPLATE the same folder before the
        update, TREE the service's update tree (one folder per version with
        its urls.txt). Each file a version installs must equal TEMPLATE's or
        that of a version installing it; Kestrup.exe must be there, either
        TEMPLATE's or the updater a version delivered; Tovlo.exe must be
        TEMPLATE's.

Prints one line per torn file ("torn PATH: ...") and per leftover file that
the operation does not name ("stray PATH", temporaries of a write cut
short), then a last line "torn N stray M". Exits 1 when a file is torn.
"""
import os
import sys


def content(path):
    try:
        with open(path, 'rb') as f:
            return f.read()
    except FileNotFoundError:
        return None


def real_name(remote):
    """The installed name of a served file: main__exe.txt stands for main.exe."""
    if '__' not in remote:
        return remote
    start = remote.index('__') + 2
    end = remote.find('.txt', start)
    ext = remote[start:end] if end >= 0 else remote[start:]
    return remote.replace('__' + ext, '').replace('.txt', '.' + ext)


def files_below(folder, skip=()):
    found = []
    for top, dirs, names in os.walk(folder):
        rel_top = os.path.relpath(top, folder)
        dirs[:] = [d for d in dirs if os.path.normpath(os.path.join(rel_top, d)) not in skip]
        found += [os.path.normpath(os.path.join(rel_top, n)) for n in names]
    return sorted(found)


def describe(data):
    return 'missing' if data is None else f'{len(data)} bytes'


def check_pack(folder, source, reference):
    listed = [n for n in open(os.path.join(source, 'imgs.txt'), encoding='latin-1').read().split('/') if n]
    wanted = {n: [content(os.path.join(source, n))] for n in listed}
    for name in ('small.bmp', 'main.html'):
        wanted[name] = [content(os.path.join(reference, name))]
    torn, stray = [], []
    for name in files_below(folder) if os.path.isdir(folder) else []:
        if name not in wanted:
            stray.append(name)
            continue
        data = content(os.path.join(folder, name))
        if data not in wanted[name]:
            torn.append(f'{name}: {describe(data)}, not the whole new file ({describe(wanted[name][0])})')
    return torn, stray


def check_update(program, template, tree):
    allowed = {}  # installed path -> the contents it may have
    for version in sorted(os.listdir(tree)):
        urls = os.path.join(tree, version, 'urls.txt')
        if not os.path.isfile(urls):
            continue
        for remote in open(urls, encoding='latin-1').read().split('--'):
            if not remote:
                continue
            path = os.path.normpath(real_name(remote))
            allowed.setdefault(path, [content(os.path.join(template, path))])
            allowed[path].append(content(os.path.join(tree, version, remote)))
    updaters = [content(os.path.join(template, 'Kestrup.exe'))] + allowed.get('Kestrup_updateSelf.exe', [])[1:]
    required = {'Kestrup.exe': updaters, 'Tovlo.exe': [content(os.path.join(template, 'Tovlo.exe'))]}
    torn, stray = [], []
    for path, contents in sorted(required.items()):
        data = content(os.path.join(program, path))
        if data not in contents:
            torn.append(f'{path}: {describe(data)}, neither the old nor a delivered file')
    for path, contents in sorted(allowed.items()):
        data = content(os.path.join(program, path))
        if data is not None and data not in contents:
            torn.append(f'{path}: {describe(data)}, neither the old file nor one a version installs')
    # The folders the programs keep their own scratch and web data in.
    skip = {'webdata', 'updateTemp', 'temp'}
    known = set(files_below(template, skip)) | set(allowed) | set(required)
    stray = [p for p in files_below(program, skip) if p not in known]
    return torn, stray


def main():
    args = sys.argv[1:]
    if len(args) != 4 or args[0] not in ('pack', 'update'):
        print(__doc__, file=sys.stderr)
        return 2
    torn, stray = (check_pack if args[0] == 'pack' else check_update)(*args[1:])
    for line in torn:
        print('torn ' + line)
    for name in stray:
        print('stray ' + name)
    print(f'torn {len(torn)} stray {len(stray)}')
    return 1 if torn else 0


if __name__ == '__main__':
    sys.exit(main())
