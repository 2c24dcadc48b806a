#!/usr/bin/env python3
"""Checks that a manual page names the options its program's --help names, and no other.

    check_manual_options.py PROGRAM PAGE.1

The options of --help are the first column of the lines under "Options:"; those of the page
are the tags (.TP) of its OPTIONS section. The synopsis must name every option too, and
where the usage line gives an option's values ("--from latlon|usng|utm") the OPTIONS section
names each of them. Prints every difference and exits 1 if there was any.
"""

import re
import subprocess
import sys

OPTION = re.compile(r"^(--?[A-Za-z][\w-]*|--)$")


def help_text(program):
    done = subprocess.run([program, "--help"], capture_output=True, text=True, check=True)
    return done.stdout


def help_options(text):
    """The options of the lines under "Options:", and the values the usage line gives them."""
    options = set()
    in_options = False
    for line in text.splitlines():
        if line.startswith("Options:"):
            in_options = True
            continue
        if in_options and line.startswith("  "):
            first_column = re.split(r"\s{2,}", line.strip())[0]
            for word in re.split(r"[,\s]+", first_column):
                if OPTION.match(word):
                    options.add(word)
        elif in_options and line.strip():
            in_options = False
    usage = text.splitlines()[0]
    values = {m.group(1): set(m.group(2).split("|"))
              for m in re.finditer(r"\[(--?[\w-]+) ([\w]+(?:\|[\w]+)+)\]", usage)}
    return options, values


def roff_words(line):
    """The words of one roff line: font escapes, macro names and quotes taken out."""
    line = re.sub(r"\\f[BIRP]", "", line)
    line = line.replace("\\-", "-").replace('"', " ")
    line = re.sub(r"^\.[A-Z]+\s*", "", line)
    return [w for part in re.split(r"[\s,|\[\]]+", line) for w in part.split("=") if w]


def sections(page):
    """The page's lines by section name (.SH NAME)."""
    found, name = {}, None
    for line in page.splitlines():
        if line.startswith(".SH "):
            name = line[4:].strip().strip('"')
            found[name] = []
        elif name:
            found[name].append(line)
    return found


def page_options(page):
    """The options tagged in OPTIONS, the words of OPTIONS in bold, and those of SYNOPSIS."""
    parts = sections(page)
    lines = parts.get("OPTIONS", [])
    tagged = set()
    for before, tag in zip(lines, lines[1:]):
        if before.startswith(".TP"):
            tagged.update(w for w in roff_words(tag) if OPTION.match(w))
    bold = {w for line in lines if line.startswith(".B ") for w in roff_words(line)}
    synopsis = {w for line in parts.get("SYNOPSIS", []) for w in roff_words(line)}
    return tagged, bold, synopsis


def differences(help_output, page):
    options, values = help_options(help_output)
    tagged, bold, synopsis = page_options(page)
    faults = []
    for option in sorted(options - tagged):
        faults.append(f"--help names {option}, the page's OPTIONS do not")
    for option in sorted(tagged - options):
        faults.append(f"the page's OPTIONS name {option}, --help does not")
    for option in sorted(options - synopsis):
        faults.append(f"the page's SYNOPSIS does not name {option}")
    for option, names in sorted(values.items()):
        for value in sorted(names - bold):
            faults.append(f"--help gives {option} the value {value}, the page's OPTIONS do not")
    if not options:
        faults.append("--help names no options under 'Options:'")
    return faults


def main():
    program, page_file = sys.argv[1], sys.argv[2]
    with open(page_file, encoding="utf-8") as page:
        faults = differences(help_text(program), page.read())
    for fault in faults:
        print(f"{page_file}: {fault}", file=sys.stderr)
    if faults:
        sys.exit(1)
    print(f"{page_file} names the options of {program} --help")


if __name__ == "__main__":
    main()
