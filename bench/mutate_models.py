#!/usr/bin/env python3
"""Writes mutated model files for comparing two builds' output (see compare_builds.sh).

  mutate_models.py OUT_DIR COUNT SEED SOURCE...

Each file is a stretch of one source (a file, or a folder of them) with a few
random edits: lines dropped, repeated, swapped or brought in from another
source, characters the tokenizer treats specially inserted or deleted, case
changed; some files are cut off mid-line or given CR LF line ends. The same
seed gives the same files.
"""
import os
import random
import sys

# What the edits insert: characters and words that change how a line is cut
# into tokens or how a card is classified.
INSERTS = [
    b'{', b'}', b',', b'/', b';', b'*', b'=', b'(', b')', b'+', b'.', b'"', b"'", b'\t', b'\r',
    b'\xc3\xa9', b'\x00', b'\x1a', b' ', b'\n', b'\n+', b'\n*', b'$', b'~', b'@',
    b'.MODEL', b' AKO:', b'PARAMS:', b'{A+B}', b'1E-3', b'.SUBCKT X 1 2', b'.ENDS', b'.END\n',
    b'LEVEL=7', b'IS=', b'=(1,2)', b'\n.LIB', b'\n.INC',
]


def read_sources(paths):
    sources = []
    for path in paths:
        names = [path]
        if os.path.isdir(path):
            names = [os.path.join(path, n) for n in sorted(os.listdir(path))
                     if not n.endswith(('.md', '.tsv', '.expected'))]
        for name in names:
            if os.path.isfile(name):
                with open(name, 'rb') as f:
                    sources.append(f.read())
    return sources


def mutate(rng, sources):
    lines = rng.choice(sources).split(b'\n')
    if len(lines) > 400:
        start = rng.randrange(len(lines) - 300)
        lines = lines[start:start + rng.randrange(50, 300)]
    for _ in range(rng.randrange(1, 12)):
        if not lines:
            break
        j = rng.randrange(len(lines))
        edit = rng.randrange(7)
        if edit == 0:
            del lines[j]
        elif edit == 1:
            lines.insert(j, lines[rng.randrange(len(lines))])
        elif edit == 2:
            at = rng.randrange(len(lines[j]) + 1)
            lines[j] = lines[j][:at] + rng.choice(INSERTS) + lines[j][at:]
        elif edit == 3:
            if lines[j]:
                at = rng.randrange(len(lines[j]))
                lines[j] = lines[j][:at] + lines[j][at + 1:]
        elif edit == 4:
            k = rng.randrange(len(lines))
            lines[j], lines[k] = lines[k], lines[j]
        elif edit == 5:
            other = rng.choice(sources).split(b'\n')
            start = rng.randrange(len(other))
            lines[j:j] = other[start:start + rng.randrange(1, 20)]
        else:
            lines[j] = lines[j].upper() if rng.random() < 0.5 else lines[j].lower()
    data = b'\n'.join(lines)
    roll = rng.random()
    if roll < 0.2:
        data = data[:rng.randrange(len(data) + 1)]
    elif roll < 0.3:
        data = data.replace(b'\n', b'\r\n')
    return data


def main():
    if len(sys.argv) < 5:
        sys.exit(__doc__.strip())
    out, count, seed = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    sources = read_sources(sys.argv[4:])
    if not sources:
        sys.exit('mutate_models.py: no source files')
    rng = random.Random(seed)
    os.makedirs(out, exist_ok=True)
    for i in range(count):
        with open(os.path.join(out, 'f%05d.lib' % i), 'wb') as f:
            f.write(mutate(rng, sources))


if __name__ == '__main__':
    main()
