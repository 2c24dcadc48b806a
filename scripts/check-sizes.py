#!/usr/bin/env python3
"""Size limits of the project's own code: no source file over 500 lines and no function over 80
lines, tests, fuzz targets and benchmarks aside. Prints what is over and exits 1, or prints
nothing and exits 0.

    scripts/check-sizes.py [--list N]   # --list: also the N longest functions

Functions are found by their braces: a brace block at namespace or class scope whose head holds
a parameter list. Lines are counted from the line of the head's name to the closing brace."""
import re
import subprocess
import sys

MAX_FILE = 500
MAX_FUNCTION = 80
EXEMPT = re.compile(r"(^|/)(tests|fuzz|bench)/|^testsupport/|^tools/")


def strip(text):
    """Comments, strings and character literals become blanks of the same length (newlines kept)."""
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out.append(" " * (j - i))
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif c == 'R' and text.startswith('R"', i):
            m = re.match(r'R"([^(]*)\(', text[i:])
            end = text.find(")" + m.group(1) + '"', i) if m else -1
            j = n if end < 0 else end + len(m.group(1)) + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            out.append(" " * (j + 1 - i))
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def functions(path):
    text = strip(open(path, encoding="utf-8", errors="replace").read())
    stack = []  # (kind, start offset)
    results = []
    last = 0  # where the current head began (after the last ; { or } at this scope)
    for i, c in enumerate(text):
        if c == "{":
            in_function = any(kind == "fn" for kind, _ in stack)
            kind = "other"
            if not in_function:
                head = text[last:i]
                if re.search(r"\b(namespace|class|struct|enum|union)\b[^()]*$", head) or \
                        re.search(r'extern\s*$', head):
                    kind = "ns"
                elif ")" in head and not re.search(r"=\s*$", head.strip()):
                    kind = "fn"
            stack.append((kind, last if kind == "fn" else i))
            last = i + 1
        elif c == "}":
            if stack:
                kind, start = stack.pop()
                if kind == "fn":
                    head = text[start:].lstrip()
                    first = start + (len(text[start:]) - len(head))
                    line0 = text.count("\n", 0, first) + 1
                    line1 = text.count("\n", 0, i) + 1
                    m = re.search(r"([A-Za-z_~][\w:~<>]*)\s*\(", head)
                    name = m.group(1) if m else "?"
                    results.append((line1 - line0 + 1, line0, name))
            last = i + 1
        elif c == ";" and not any(kind == "fn" for kind, _ in stack):
            last = i + 1
    return results


def main():
    listing = int(sys.argv[2]) if len(sys.argv) > 2 and sys.argv[1] == "--list" else 0
    files = subprocess.run(["git", "ls-files", "*.cpp", "*.h"], capture_output=True, text=True,
                           check=True).stdout.split()
    over = []
    everything = []
    for f in files:
        if EXEMPT.search(f):
            continue
        lines = sum(1 for _ in open(f, encoding="utf-8", errors="replace"))
        if lines > MAX_FILE:
            over.append(f"{f}: {lines} lines (at most {MAX_FILE})")
        for length, line, name in functions(f):
            everything.append((length, f"{f}:{line} {name}"))
            if length > MAX_FUNCTION:
                over.append(f"{f}:{line}: {name} is {length} lines (at most {MAX_FUNCTION})")
    for length, where in sorted(everything, reverse=True)[:listing]:
        print(f"{length:5} {where}")
    for line in over:
        print(line)
    return 1 if over else 0


if __name__ == "__main__":
    sys.exit(main())
