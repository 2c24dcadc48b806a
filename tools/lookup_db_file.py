"""Writing a lookup database file whole or not at all.

Both lookup tables are installed beside the program and read by it while it runs, so a failed
rebuild must never leave a half-written file where the old one was: the new file is built under a
temporary name in the target's own folder and renamed over the target only once it is complete,
compacted and closed.
"""

import os
import sqlite3
import tempfile


def write_lookup_db(target, build, source_info):
    """Builds the SQLite file `target` (a path) with `build(connection)`.

    `build` creates and fills the lookup table. `source_info` is a list of (key, value) texts
    stored in a small `source_info` table, so that anyone holding the installed file can tell
    where its rows came from (the ZIP list's licence asks for that attribution).
    Raises whatever `build` or SQLite raises; the target is then left as it was.
    """
    folder = os.path.dirname(os.path.abspath(target))
    os.makedirs(folder, exist_ok=True)
    fd, temp_path = tempfile.mkstemp(prefix=".building-", suffix=".tmp", dir=folder)
    os.close(fd)
    try:
        con = sqlite3.connect(temp_path)
        try:
            # One transaction for the whole fill: far faster than a commit per row, and a
            # failure leaves nothing behind but the temporary file removed below.
            with con:
                build(con)
                con.execute("CREATE TABLE source_info (KEY TEXT NOT NULL, VALUE TEXT NOT NULL)")
                con.executemany("INSERT INTO source_info (KEY, VALUE) VALUES (?, ?)", source_info)
            con.execute("VACUUM")
            # The program opens the file read-only; a rollback journal (not WAL) needs no
            # side files next to it.
            mode = con.execute("PRAGMA journal_mode").fetchone()[0]
            if mode.lower() != "delete":
                raise RuntimeError(f"unexpected journal mode {mode}")
        finally:
            con.close()
        os.chmod(temp_path, 0o644)
        os.replace(temp_path, target)
    except BaseException:
        if os.path.exists(temp_path):
            os.remove(temp_path)
        raise
