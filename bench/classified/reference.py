"""One-pass reference for the classified import: read, split, form the runs of equal keys and,
unless --no-files, test each near and far photo."""
import os
import sys

path = sys.argv[1]
test_files = "--no-files" not in sys.argv
folder = os.path.dirname(os.path.abspath(path)) + os.sep
with open(path, "rb") as f:
    text = f.read().decode("cp932")
lines = text.split("\r\n")
if lines and lines[-1] == "":
    lines.pop()
groups = []
previous = None
missing = 0
for line in lines[1:]:
    fields = line.split(",")
    key = fields[2]
    if key != previous:
        groups.append(key)
        previous = key
    if test_files:
        if not os.path.isfile(folder + fields[6].replace("\\", "/")):
            missing += 1
        if not os.path.isfile(folder + fields[7].replace("\\", "/")):
            missing += 1
print(len(lines) - 1, len(groups), missing)
