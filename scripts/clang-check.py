"""Writes a Ninja file that compiles every C++ translation unit of the build
(the program's and the tests', not GoogleTest's own) with clang for
x86_64-w64-mingw32, syntax only, with the build's own definitions and
warnings as errors. Called by scripts/check-clang.

    clang-check.py <compile_commands.json> <output folder> <clang++> <g++>
"""

import hashlib
import json
import os
import shlex
import subprocess
import sys


def gcc_cxx_include_dirs(gxx):
    """The MinGW-w64 GCC's own search list: its libstdc++ and the MinGW-w64
    headers (clang would otherwise look in the host's /usr/include)."""
    out = subprocess.run([gxx, "-xc++", "-E", "-v", "-"], input="", capture_output=True,
                         text=True, check=True).stderr.splitlines()
    start = out.index("#include <...> search starts here:") + 1
    end = out.index("End of search list.")
    dirs = [os.path.normpath(line.strip()) for line in out[start:end]]
    # GCC's own intrinsics and fixed headers are for GCC; clang has its own.
    return [d for d in dirs if not d.endswith(("/include", "/include-fixed"))
            or "x86_64-w64-mingw32/include" in d]


def clang_flags(arguments):
    """The definitions, include folders, language and warning flags of one
    GCC command line."""
    keep = []
    it = iter(arguments[1:])
    for arg in it:
        if arg in ("-o", "-MF", "-MT", "-MQ"):
            next(it, None)
        elif arg in ("-I", "-isystem", "-D", "-include"):
            keep += [arg, next(it)]
        elif arg.startswith(("-D", "-I", "-std=", "-W")) and arg != "-Wl":
            keep.append(arg)
    return keep


def main():
    commands, out_dir, clangxx, gxx = sys.argv[1:5]
    resource_dir = subprocess.run([clangxx, "-print-resource-dir"], capture_output=True,
                                  text=True, check=True).stdout.strip()
    # The order clang itself uses: C++ library, compiler, then C library.
    gcc_dirs = gcc_cxx_include_dirs(gxx)
    cxx_dirs = [d for d in gcc_dirs if "/c++" in d]
    c_dirs = [d for d in gcc_dirs if "/c++" not in d]
    system = ["-nostdinc"]
    for d in cxx_dirs + [os.path.join(resource_dir, "include")] + c_dirs:
        system += ["-isystem", d]
    target = ["--target=x86_64-w64-mingw32", "-fsyntax-only", "-Wall", "-Wextra", "-Werror"]

    lines = [
        "rule check",
        f"  command = {shlex.quote(clangxx)} $flags -MD -MF $out.d $in && touch $out",
        "  deps = gcc",
        "  depfile = $out.d",
        "  description = clang $in",
        "",
    ]
    seen = set()
    for entry in json.load(open(commands)):
        source = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
        if not source.endswith(".cpp") or "/googletest/" in source:
            continue
        arguments = entry.get("arguments") or shlex.split(entry["command"])
        flags = target + system + clang_flags(arguments)
        key = hashlib.sha1((source + " ".join(flags)).encode()).hexdigest()[:16]
        if key in seen:
            continue
        seen.add(key)
        stamp = f"{os.path.basename(source)}.{key}.ok"
        lines.append(f"build {stamp}: check {source.replace(' ', '$ ')}")
        lines.append("  flags = " + " ".join(shlex.quote(f) for f in flags))
    text = "\n".join(lines) + "\n"
    os.makedirs(out_dir, exist_ok=True)
    path = os.path.join(out_dir, "build.ninja")
    if not os.path.exists(path) or open(path).read() != text:
        with open(path, "w") as f:
            f.write(text)


if __name__ == "__main__":
    main()
