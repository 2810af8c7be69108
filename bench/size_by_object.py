"""Where an executable's bytes come from: the sizes of the loaded sections in a GNU ld map file,
added up by the object file (or archive member) that brought them. Debug sections do not count.
Usage: size_by_object.py MAP [TOP]"""
import collections
import re
import sys

# An input section: its name, then its address, size and object file, on the same line or, where
# the name is long (one section a function, as Koravel is built), on the next.
SECTION = re.compile(r"^ (\.\S+)(?:\n|\s+)\s*0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(\S+)", re.MULTILINE)


def sizes(path):
    total = collections.Counter()
    with open(path) as map_file:
        # What the linker left out is listed first; the map proper follows.
        for match in SECTION.finditer(map_file.read().partition("Linker script and memory map")[2]):
            if not match.group(1).startswith(".debug"):
                total[re.sub(r".*/", "", match.group(3))] += int(match.group(2), 16)
    return total


def main():
    total = sizes(sys.argv[1])
    top = int(sys.argv[2]) if len(sys.argv) > 2 else 12
    for name, size in total.most_common(top):
        print(f"{size:8d}  {name}")
    print(f"{sum(total.values()):8d}  in all ({len(total)} objects)")


if __name__ == "__main__":
    main()
