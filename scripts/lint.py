#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Vignetta developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""clang-tidy over the project's files that changed since they were last found clean.

Each file of a build's compile commands under the given folders is linted on every core,
unless .ci/tidy-clean already names it with the same key: a digest of clang-tidy's version,
.clang-tidy, the file and every header of the project it includes (as the build's own
dependency records list them). Linting a file whose key is recorded would give the same
answer, so it is skipped; a change to the file, to any project header it reads or to the
checks lints it again. Files found clean are recorded. --all lints everything.

    scripts/lint.py BUILD_DIR FOLDER... [--all]
"""

import concurrent.futures
import hashlib
import json
import os
import re
import shlex
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RECORD = os.path.join(ROOT, ".ci", "tidy-clean")


def tool():
    for name in ("clang-tidy", "clang-tidy-14"):
        try:
            version = subprocess.run([name, "--version"], capture_output=True, text=True,
                                     check=True).stdout
            return name, version
        except (OSError, subprocess.CalledProcessError):
            continue
    sys.exit("clang-tidy is not installed")


def dependencies(build, output):
    """The headers the build read for `output`, from ninja's own records."""
    listed = subprocess.run(["ninja", "-C", build, "-t", "deps", output], capture_output=True,
                            text=True, check=False).stdout.splitlines()
    return [line.strip() for line in listed[1:] if line.startswith("    ")]


def digest_of(paths, seed):
    digest = hashlib.sha256(seed.encode())
    for path in paths:
        digest.update(os.path.relpath(path, ROOT).encode() + b"\0")
        with open(path, "rb") as content:
            digest.update(content.read())
    return digest.hexdigest()


def main():
    arguments = [a for a in sys.argv[1:] if a != "--all"]
    everything = "--all" in sys.argv[1:]
    build = os.path.abspath(arguments[0])
    folders = [os.path.join(ROOT, folder.strip("/")) + "/" for folder in arguments[1:]]
    name, version = tool()
    with open(os.path.join(ROOT, ".clang-tidy"), "rb") as checks:
        seed = version + hashlib.sha256(checks.read()).hexdigest()

    with open(os.path.join(build, "compile_commands.json")) as commands:
        entries = json.load(commands)
    keys = {}
    for entry in entries:
        source = os.path.abspath(os.path.join(entry["directory"], entry["file"]))
        if not any(source.startswith(folder) for folder in folders):
            continue
        words = shlex.split(entry["command"])
        output = words[words.index("-o") + 1]
        project = sorted({path for path in dependencies(build, output)
                          if path.startswith(ROOT + "/") and os.path.isfile(path)} | {source})
        keys[os.path.relpath(source, ROOT)] = digest_of(project, seed)

    recorded = {}
    if os.path.exists(RECORD) and not everything:
        with open(RECORD) as record:
            for line in record:
                if line.strip() and not line.startswith("#"):
                    key, path = line.split(maxsplit=1)
                    recorded[path.strip()] = key
    todo = sorted(path for path, key in keys.items() if recorded.get(path) != key)
    print(f"clang-tidy: {len(keys) - len(todo)} of {len(keys)} files unchanged since found "
          f"clean; linting {len(todo)} on {os.cpu_count()} cores")

    def lint(path):
        run = subprocess.run([name, "-quiet", "-p", build, os.path.join(ROOT, path)],
                             capture_output=True, text=True, check=False)
        noise = re.compile(r"^(\d+ warnings? generated\.|Suppressed \d+ warnings.*|"
                           r"Use -header-filter=.*|Use -system-headers.*)$")
        said = "\n".join(line for line in (run.stdout + run.stderr).splitlines()
                         if not noise.match(line))
        return path, run.returncode, said

    failed = []
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count()) as pool:
        for path, status, said in pool.map(lint, todo):
            if status != 0:
                failed.append(path)
                print(said)
            else:
                recorded[path] = keys[path]

    # Files no longer built by these folders leave the record.
    kept = {path: key for path, key in recorded.items() if path in keys or
            not any(os.path.join(ROOT, path).startswith(folder) for folder in folders)}
    with open(RECORD, "w") as record:
        record.write("# Files clang-tidy found clean, by the key scripts/lint.py gives them.\n")
        for path in sorted(kept):
            record.write(f"{kept[path]} {path}\n")
    if failed:
        sys.exit(f"clang-tidy found problems in {len(failed)} files: {', '.join(failed)}")


if __name__ == "__main__":
    main()
