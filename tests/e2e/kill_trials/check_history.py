#!/usr/bin/env python3
"""Checks the usage history database left behind by a killed program, with
the sqlite3 command-line tool (the same library any later start uses).

    check_history.py DB rows FILE         saves the rows (id, img) as JSON
    check_history.py DB check BEFORE [IMG]

"check" opens DB, which must pass "pragma integrity_check" and let the
history table be read. It then compares the rows with BEFORE (a file saved
by "rows" just before the operation) and prints what it found:

    old      the rows are those of BEFORE
    new      IMG was recorded: it is the newest row, with an id above every
             id of BEFORE, and the other rows are those of BEFORE without it
    partial  the earlier row of IMG was removed and the new one not yet
             added (the program records a use in separate statements)

Without IMG only "old" is sound. Anything else is printed with the reason,
and the exit status is 1.
"""
import json
import subprocess
import sys


def sqlite(db, sql, *options):
    done = subprocess.run(['sqlite3', '-batch', *options, db, sql], capture_output=True, text=True, timeout=30)
    if done.returncode != 0:
        raise RuntimeError((done.stderr or done.stdout).strip() or f'sqlite3 ended with {done.returncode}')
    return done.stdout


def rows(db):
    text = sqlite(db, 'select id, img from history order by id', '-json').strip()
    return [[r['id'], r['img']] for r in json.loads(text)] if text else []


def classify(before, after, img):
    if after == before:
        return 'old'
    if img is None:
        return None
    others = [r for r in before if r[1] != img]
    if after == others:
        return 'partial'
    top = max([r[0] for r in before], default=0)
    if after[:-1] == others and after and after[-1][1] == img and after[-1][0] > top:
        return 'new'
    return None


def main():
    if len(sys.argv) == 4 and sys.argv[2] == 'rows':
        json.dump(rows(sys.argv[1]), open(sys.argv[3], 'w'))
        return 0
    if len(sys.argv) not in (4, 5) or sys.argv[2] != 'check':
        print(__doc__, file=sys.stderr)
        return 2
    db, before_file = sys.argv[1], sys.argv[3]
    img = sys.argv[4] if len(sys.argv) == 5 else None
    try:
        integrity = sqlite(db, 'pragma integrity_check').strip()
        if integrity != 'ok':
            print(f'integrity_check: {integrity[:300]}')
            return 1
        after = rows(db)
    except (RuntimeError, ValueError, subprocess.TimeoutExpired) as e:
        print(f'the history database does not open or read: {e}')
        return 1
    before = json.load(open(before_file))
    kind = classify(before, after, img)
    if kind is None:
        print(f'the history rows are neither the old nor the new ones: before {before}, after {after}')
        return 1
    print(kind)
    return 0


if __name__ == '__main__':
    sys.exit(main())
