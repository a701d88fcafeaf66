"""What a build's binaries must be, read from them with the toolchain's objdump.

build_check.py OBJDUMP imports PROGRAM NAME... [--not NAME...]
    the program imports every NAME before --not and none after it
build_check.py OBJDUMP dlls PROGRAM.exe DLL...
    the Windows program needs exactly these DLLs
build_check.py OBJDUMP instructions OBJECT REGEX
    no instruction in OBJECT matches REGEX
build_check.py OBJDUMP flags COMPILE_COMMANDS SOURCE FLAG...
    SOURCE is compiled with every FLAG"""

import json
import re
import subprocess
import sys


def objdump(tool, option, path):
    return subprocess.run([tool, option, path], capture_output=True, text=True,
                          check=True).stdout


def imports(tool, program, *names):
    wanted, _, unwanted = " ".join(names).partition("--not")
    # The imported name ends the line both in an ELF program's dynamic symbols
    # and in a PE program's import tables.
    dump = objdump(tool, "-T" if not program.endswith(".exe") else "-p", program)
    found = {line.split()[-1] for line in dump.splitlines() if line.split()}
    missing = [n for n in wanted.split() if n not in found]
    present = [n for n in unwanted.split() if n in found]
    assert not missing and not present, f"{program}: missing {missing}, present {present}"
    print(f"{program} imports {wanted.split()} and none of {unwanted.split()}")


def dlls(tool, program, *expected):
    needed = re.findall(r"DLL Name: (\S+)", objdump(tool, "-p", program))
    assert sorted(needed) == sorted(expected), f"{program} needs {needed}"
    print(f"{program} needs {needed}")


def instructions(tool, obj, pattern):
    found = [line for line in objdump(tool, "-d", obj).splitlines() if re.search(pattern, line)]
    assert not found, f"{obj} has instructions matching /{pattern}/:\n" + "\n".join(found)
    print(f"{obj}: no instruction matches /{pattern}/")


def flags(_tool, commands, source, *wanted):
    with open(commands, encoding="utf-8") as f:
        command = next(c["command"] for c in json.load(f) if c["file"].endswith("/" + source))
    missing = [flag for flag in wanted if flag not in command.split()]
    assert not missing, f"{source} is compiled without {missing}: {command}"
    print(f"{source} is compiled with {list(wanted)}")


if __name__ == "__main__":
    tool, what, *arguments = sys.argv[1:]
    {"imports": imports, "dlls": dlls, "instructions": instructions, "flags": flags}[what](
        tool, *arguments)
