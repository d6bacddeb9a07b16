#!/usr/bin/env python3
"""Intune's app bodies that vantrel-pack --show --json prints, checked against
Microsoft Graph's v1.0 types (the TypeScript declarations that
scripts/graph-types.txt pins): every property must be one the body's type or
its bases declare, every enum value one its union lists (a flags value such
as "x86,x64" part by part), and each "@odata.type" must name the type or one
derived from it. Graph takes an unknown name or value as a bad request.

  graph_types.py <source root> <JSON file>
  graph_types.py <source root> -- <command printing the JSON> [args...]
"""
import hashlib
import json
import re
import subprocess
import sys

# Graph serialises these enums as sets of flags, comma-separated.
FLAGS = {"WindowsArchitecture"}
PRIMITIVES = {"string": str, "boolean": bool, "number": (int, float)}


def pinned_types(root):
    pin = {}
    sha = {}
    for line in open(f"{root}/scripts/graph-types.txt", encoding="utf-8"):
        words = line.split()
        if len(words) == 2 and not line.startswith("#"):
            pin[words[0]] = words[1]
        elif len(words) == 3 and words[0] == "sha256":
            sha[words[2]] = words[1]
    path = f"{root}/.tools/{pin['package']}-{pin['version']}/microsoft-graph.d.ts"
    try:
        data = open(path, "rb").read()
    except OSError as error:
        sys.exit(f"graph types: {error} (scripts/setup.sh fetches it)")
    if hashlib.sha256(data).hexdigest() != sha["microsoft-graph.d.ts"]:
        sys.exit(f"graph types: {path} is not the file scripts/graph-types.txt pins")
    return data.decode("utf-8").replace("\r\n", "\n")


def read_schema(text):
    interfaces = {}  # name -> (base or None, {property: type})
    for match in re.finditer(r"^export interface (\w+)(?: extends (\w+))? \{\n(.*?)^\}", text,
                             re.M | re.S):
        properties = dict(re.findall(r"^    (\w+)\??: (.+);$", match.group(3), re.M))
        interfaces[match.group(1)] = (match.group(2), properties)
    enums = {}
    for match in re.finditer(r"^export type (\w+) =((?:\s*\|?\s*\"[^\"]*\")+);", text, re.M):
        enums[match.group(1)] = set(re.findall(r"\"([^\"]*)\"", match.group(2)))
    return interfaces, enums


class Checker:
    def __init__(self, interfaces, enums):
        self.interfaces, self.enums, self.faults = interfaces, enums, []

    def properties(self, name):
        found = {}
        while name:
            base, own = self.interfaces[name]
            found = {**own, **found}
            name = base
        return found

    def derives(self, name, base):
        while name and name != base:
            name = self.interfaces[name][0]
        return name == base

    def value(self, where, declared, value):
        declared = re.sub(r"^NullableOption<(.*)>$", r"\1", declared)
        if declared.endswith("[]"):
            if not isinstance(value, list):
                self.faults.append(f"{where}: {declared} wants an array")
                return
            for i, item in enumerate(value):
                self.value(f"{where}[{i}]", declared[:-2], item)
        elif declared in self.interfaces:
            self.object(where, declared, value)
        elif declared in self.enums:
            parts = value.split(",") if declared in FLAGS and isinstance(value, str) else [value]
            for part in parts:
                if part not in self.enums[declared]:
                    self.faults.append(f"{where}: {part!r} is no value of {declared}")
        elif declared in PRIMITIVES:
            if not isinstance(value, PRIMITIVES[declared]) or (
                    declared == "number" and isinstance(value, bool)):
                self.faults.append(f"{where}: {value!r} is not a {declared}")
        else:
            self.faults.append(f"{where}: the check does not know type {declared}")

    def object(self, where, declared, body):
        if not isinstance(body, dict):
            self.faults.append(f"{where}: {declared} wants an object")
            return
        name = declared
        odata = body.get("@odata.type")
        if odata is not None:
            name = odata.removeprefix("#microsoft.graph.")
            name = name[:1].upper() + name[1:]
            if not odata.startswith("#microsoft.graph.") or name not in self.interfaces \
                    or not self.derives(name, declared):
                self.faults.append(f"{where}: @odata.type {odata!r} is no {declared}")
                return
        properties = self.properties(name)
        for key, value in body.items():
            if key == "@odata.type":
                continue
            if key not in properties:
                self.faults.append(f"{where}.{key}: no property of {name}")
            else:
                self.value(f"{where}.{key}", properties[key], value)


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    root = sys.argv[1]
    if sys.argv[2] == "--":
        printed = subprocess.run(sys.argv[3:], capture_output=True, text=True)
        if printed.returncode != 0:
            sys.exit(f"graph types: {sys.argv[3]} ended with {printed.returncode}: {printed.stderr}")
        view = json.loads(printed.stdout)
    else:
        view = json.load(open(sys.argv[2], encoding="utf-8"))
    interfaces, enums = read_schema(pinned_types(root))
    for needed in ("Win32LobApp", "Win32LobAppRegistryRule", "Win32LobAppReturnCode",
                   "Win32LobAppInstallExperience"):
        if needed not in interfaces:
            sys.exit(f"graph types: no interface {needed} in the pinned types")
    apps = view.get("intuneApps") or []
    if not apps:
        sys.exit("graph types: the JSON holds no Intune app to check")
    checker = Checker(interfaces, enums)
    for app in apps:
        checker.object(app["bundle"], "Win32LobApp", app["win32LobApp"])
    for fault in checker.faults:
        print(f"graph types: {fault}")
    if checker.faults:
        sys.exit(1)
    print(f"graph types: {len(apps)} app(s) hold only Graph's names and values")


if __name__ == "__main__":
    main()
