#!/usr/bin/env python3
"""The game's own sources by size: every .cpp and .h under the product folders (not tests/,
bench/ or tools/), the longest files by lines and the longest functions by lines from their
first line to their closing brace (Universal Ctags finds them).

    scripts/sizes.py [--top N] [--limit-file L] [--limit-function F]

Exits 1 when a file is over L lines or a function over F lines (both 0 by default: no limit)."""
import argparse
import json
import os
import subprocess
import sys

FOLDERS = ["fx", "game", "layout", "platform", "render", "shell", "state", "ui", "view"]


def sources(root):
    for folder in FOLDERS:
        for base, _, names in os.walk(os.path.join(root, folder)):
            for name in sorted(names):
                if name.endswith((".cpp", ".h")):
                    yield os.path.relpath(os.path.join(base, name), root)


def functions(root, files):
    out = subprocess.run(
        ["ctags", "--output-format=json", "--fields=+ne", "--c++-kinds=f", "--language-force=C++",
         "-o", "-"] + files, cwd=root, capture_output=True, text=True, check=True).stdout
    for line in out.splitlines():
        tag = json.loads(line)
        if tag.get("kind") == "function" and "end" in tag:
            name = tag["name"] if "scope" not in tag else tag["scope"] + "::" + tag["name"]
            yield tag["end"] - tag["line"] + 1, tag["path"], tag["line"], name


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--top", type=int, default=10)
    parser.add_argument("--limit-file", type=int, default=0)
    parser.add_argument("--limit-function", type=int, default=0)
    args = parser.parse_args()
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    files = list(sources(root))
    sizes = []
    for f in files:
        with open(os.path.join(root, f), encoding="utf-8") as text:
            sizes.append((sum(1 for _ in text), f))
    sizes.sort(reverse=True)
    funcs = sorted(functions(root, files), reverse=True)
    print(f"{len(files)} files, {sum(n for n, _ in sizes)} lines, {len(funcs)} functions")
    print(f"Longest files:")
    for n, f in sizes[:args.top]:
        print(f"  {n:5}  {f}")
    print(f"Longest functions:")
    for n, f, line, name in funcs[:args.top]:
        print(f"  {n:5}  {f}:{line}  {name}")
    over = [s for s in sizes if args.limit_file and s[0] > args.limit_file]
    over += [s for s in funcs if args.limit_function and s[0] > args.limit_function]
    if over:
        print(f"{len(over)} over the limits", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
