"""Lazy imports of a DLL, made from its import library, as assembly in a C++ file: for every function
the library imports, the import slot that callers call through (__imp_NAME), holding at first a stub
of its own, and the stub, which hands the slot and the function's name to KoravelBindImport (on the
first call: it loads the DLL, looks the function up and puts it in the slot) and goes on to the
function with the caller's arguments untouched. Each slot, stub and name is a section of its own,
so that the linker keeps only those of the functions called.
Usage: lazy_imports.py ARCH NM LIB OUT, ARCH i686 or x86_64"""
import subprocess
import sys

arch, nm, library, out = sys.argv[1:]
symbols = subprocess.run([nm, library], capture_output=True, text=True, check=True).stdout
# "__imp_MessageBoxA" on x86_64; "__imp__MessageBoxA@16" on i686, whose C names take an underscore.
slots = sorted({line.split()[-1] for line in symbols.splitlines() if " I __imp_" in line})
x64 = arch == "x86_64"
lines = ["// Made by cmake/lazy_imports.py from " + library.rsplit("/", 1)[-1] + ".", "__asm__("]
for n, slot in enumerate(slots):
    name = slot[len("__imp_"):] if x64 else slot[len("__imp__"):].split("@")[0]
    lines += [f'    ".section .data$lazy{n},\\"w\\"\\n.globl {slot}\\n"',
              f'    "{slot}: {".quad" if x64 else ".long"} .Lstub{n}\\n"',
              f'    ".section .rdata$lazy{n},\\"dr\\"\\n.Lname{n}: .asciz \\"{name}\\"\\n"',
              f'    ".section .text$lazy{n},\\"xr\\"\\n.Lstub{n}:\\n"']
    if x64:
        lines += [f'    "leaq {slot}(%rip), %rax\\nleaq .Lname{n}(%rip), %r10\\njmp KoravelLazyTail\\n"']
    else:
        lines += [f'    "movl ${slot}, %eax\\nmovl $.Lname{n}, %edx\\njmp _KoravelLazyTail\\n"']
lines += ['    ".text\\n");']
with open(out, "w") as file:
    file.write("\n".join(lines) + "\n")
