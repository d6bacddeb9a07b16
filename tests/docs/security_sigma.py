"""docs/security.md against Sigma: its YAML blocks are valid Sigma for their
kind, its table of the public rules that fire is what those rules do on the
process events of an install and a removal, its filters take exactly
Vantrel's own events out of the rules they name, and every look-alike it
lists still alerts.

The events are built from the command lines the programs' own builders make
(the command_lines program) for each layout the document describes.

  security_sigma.py <source root> <command_lines program> [--print]

--print writes the two generated parts of the document (the table and the
look-alikes) for pasting, and checks nothing else.
"""

import json
import pathlib
import re
import subprocess
import sys

import jsonschema
import yaml

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from sigma_eval import Filter, Rule, SigmaError, fires  # noqa: E402

ROOT = pathlib.Path(sys.argv[1])
COMMAND_LINES = sys.argv[2]
PRINT = "--print" in sys.argv[3:]
HERE = pathlib.Path(__file__).parent / "sigma"
DOC = ROOT / "docs" / "security.md"

INTUNE_APP = "3b5f9a0c-1d2e-4f60-8a7b-9c0d1e2f3a4b_1"
SHA = "0d2db379574dd63e02f6be713a601e06ee41e0fbab06457293d007c78bc2a878"

# Each layout as the document describes it: the folder the programs run
# from, long and as Vantrel passes it (8.3 where the volume has it), the
# package likewise, the system folder, the INF copy as the removal passes it,
# the deployment tool's own command lines, and whether the filters admit it.
PROGRAM_FILES = dict(
    name="Program Files", folder=r"C:\Program Files\Vantrel", passed=r"C:\PROGRA~1\Vantrel",
    package=r"C:\Program Files\Vantrel\Packages\mypackage.7z",
    package_passed=r"C:\PROGRA~1\Vantrel\Packages\MYPACK~1.7Z",
    system=r"C:\Windows\System32", kept=r"C:\Windows\inf\MYPACK~1.INF", admitted=True,
    install=r'"C:\Program Files\Vantrel\vantrel.exe" "C:\Program Files\Vantrel\Packages\mypackage.7z"',
    remove=r'"C:\Program Files\Vantrel\vantrel-remove.exe" mypackage.inf /package:' + SHA)
LAYOUTS = [
    PROGRAM_FILES,
    dict(PROGRAM_FILES, name="SysWOW64", system=r"C:\Windows\SysWOW64"),
    dict(PROGRAM_FILES, name="no 8.3 names", passed=PROGRAM_FILES["folder"],
         package_passed=PROGRAM_FILES["package"], kept=r"C:\Windows\inf\mypackage.inf"),
    dict(name="Intune", folder="C:\\Windows\\IMECache\\" + INTUNE_APP, passed=r"C:\Windows\IMECache\3B5F9A~1",
         package="C:\\Windows\\IMECache\\" + INTUNE_APP + "\\mypackage.7z",
         package_passed=r"C:\Windows\IMECache\3B5F9A~1\MYPACK~1.7Z",
         system=r"C:\Windows\System32", kept=r"C:\Windows\inf\MYPACK~1.INF", admitted=True,
         install='vantrel.exe "mypackage.7z"', remove="vantrel-remove.exe mypackage.inf /package:" + SHA),
    dict(name="Configuration Manager", folder=r"C:\Windows\ccmcache\1b", passed=r"C:\Windows\ccmcache\1b",
         package=r"C:\Windows\ccmcache\1b\mypackage.7z", package_passed=r"C:\Windows\ccmcache\1b\MYPACK~1.7Z",
         system=r"C:\Windows\System32", kept=r"C:\Windows\inf\MYPACK~1.INF", admitted=True,
         install='vantrel.exe "mypackage.7z"', remove="vantrel-remove.exe mypackage.inf /package:" + SHA),
    dict(name="Group Policy", folder=r"\\fileserver\deploy\Vantrel\win64",
         passed=r"\\fileserver\deploy\Vantrel\win64",
         package=r"\\fileserver\deploy\Packages\mypackage.7z",
         package_passed=r"\\fileserver\deploy\Packages\MYPACK~1.7Z",
         system=r"C:\Windows\System32", kept=r"C:\Windows\inf\MYPACK~1.INF", admitted=False,
         install=r'"\\fileserver\deploy\Vantrel\win64\vantrel.exe" "\\fileserver\deploy\Packages\mypackage.7z"',
         remove=r'"\\fileserver\deploy\Vantrel\win64\vantrel-remove.exe" mypackage.inf /package:' + SHA),
]

STEPS = ["install 1: 7-Zip unpacks the package", "install 2: 7-Zip expands the cabinets",
         "install 3: 7-Zip expands the compressed INFs", "install 4: the INF installer",
         "removal: the INF uninstaller", "removal: runonce.exe, where the uninstall starts it"]

problems = []


def problem(text):
    problems.append(text)


def children(layout):
    """The builders' five (program, command line) pairs for the layout."""
    out = subprocess.run([COMMAND_LINES, layout["passed"], layout["package_passed"], r"C:\Windows",
                          layout["system"], "mypackage.inf", layout["kept"]],
                         check=True, capture_output=True, text=True).stdout
    return [tuple(line.split("\t")) for line in out.splitlines()]


def step_events(layout):
    """Per step, every event an endpoint product may log for it: the image as
    passed or in its long form, the parent in its long or its 8.3 form."""
    kids = children(layout)
    long_form = {layout["passed"]: layout["folder"]}

    def image_forms(program):
        forms = [program]
        for passed, folder in long_form.items():
            if program.startswith(passed + "\\") and passed != folder:
                forms.append(folder + program[len(passed):])
        return forms

    def parents(name):
        return sorted({layout["folder"] + "\\" + name, layout["passed"] + "\\" + name})

    steps = []
    for (program, line) in kids[:3]:
        steps.append([dict(Image=i, OriginalFileName="7z.exe", CommandLine=line, ParentImage=p,
                           ParentCommandLine=layout["install"])
                      for i in image_forms(program) for p in parents("vantrel.exe")])
    for (program, line), parent, tool in ((kids[3], "vantrel.exe", layout["install"]),
                                          (kids[4], "vantrel-remove.exe", layout["remove"])):
        steps.append([dict(Image=program, OriginalFileName="RUNDLL32.EXE", CommandLine=line, ParentImage=p,
                           ParentCommandLine=tool) for p in parents(parent)])
    program, line = kids[4]
    steps.append([dict(Image=layout["system"] + r"\runonce.exe", OriginalFileName="runonce.exe",
                       CommandLine=layout["system"] + r"\runonce.exe -r", ParentImage=program,
                       ParentCommandLine=line)])
    return steps


def variant(base, **fields):
    event = dict(base)
    event.update(fields)
    return event


def lookalikes(pf):
    """Events that resemble Vantrel's own but are not: (what, event). Built
    from the Program Files layout's events, one field changed."""
    seven, cabs, _, install, removal, _ = (s[0] for s in pf)
    work = r"C:\Windows\Temp\Vantrel"
    i_line = "rundll32 syssetup,SetupInfObjectInstallAction DefaultInstall 128 "
    r_line = "rundll32 setupapi,InstallHinfSection DefaultUninstall 128 "
    yield "install 4 started by cmd.exe", variant(install, ParentImage=r"C:\Windows\System32\cmd.exe")
    for parent in (r"C:\Users\ann\Downloads\vantrel.exe", r"C:\Windows\Temp\vantrel.exe",
                   r"C:\ProgramData\Vantrel\vantrel.exe", r"C:\PROGRA~3\Vantrel\vantrel.exe",
                   r"C:\Windows\IMECache\..\Temp\vantrel.exe", r"C:\Windows\ccmcache\..\Temp\vantrel.exe",
                   r"C:\Program Files\Vantrel\..\..\Users\ann\vantrel.exe", r"C:/Program Files/Vantrel/vantrel.exe",
                   r"\\fileserver\deploy\Vantrel\win64\vantrel.exe", r"\\?\C:\Program Files\Vantrel\vantrel.exe",
                   r"C:\Program Files\Vantrel\notes.txt:vantrel.exe", r"C:\Program Files\Vantrel\vantrel.exe.bak"):
        yield f"install 4 started by `{parent}`", variant(install, ParentImage=parent)
    yield "`rundll32.exe` copied to `C:\\Users\\ann`", variant(install, Image=r"C:\Users\ann\rundll32.exe")
    for inf in (r"C:\Users\ann\Downloads\mypackage.inf", r"C:\Windows\Temp\mypackage.inf",
                work + r"\i386\mypackage.inf", r"C:\Windows\inf\mypackage.inf", work + r"\..\mypackage.inf",
                work + r"\..\..\..\Users\ann\mypackage.inf", r"C:\Windows\Temp\VANTRE~1\mypackage.inf",
                r"C:/Windows/Temp/Vantrel/mypackage.inf", work + "/mypackage.inf",
                "\"" + work + "\\mypackage.inf\"", r"\\fileserver\share\mypackage.inf",
                "\\\\?\\" + work + r"\mypackage.inf", work + r"\readme.txt:mypackage.inf",
                work + r"\mypackage.inf:hidden.inf"):
        yield f"install 4 for `{inf}`", variant(install, CommandLine=i_line + inf)
    for line in (install["CommandLine"].replace("rundll32 ", "rundll32  ", 1), install["CommandLine"] + " ",
                 " " + install["CommandLine"], install["CommandLine"].replace("rundll32", '"rundll32"', 1),
                 install["CommandLine"].replace("syssetup,", "syssetup.dll,"),
                 install["CommandLine"].replace(" 128 ", " 132 "),
                 install["CommandLine"].replace(" 128 ", " 0 "),
                 install["CommandLine"].replace("DefaultInstall", "OtherInstall"),
                 install["CommandLine"].replace("rundll32 syssetup,", r"rundll32 C:\Users\ann\syssetup,"),
                 r_line + r"C:\Windows\inf\MYPACK~1.INF"):
        yield f"install 4 as `{line}`", variant(install, CommandLine=line)
    for inf in (r"C:\Windows\inf\sub\MYPACK~1.INF", r"C:\Windows\inf\..\Temp\evil.inf", work + r"\mypackage.inf",
                r"C:\Users\ann\mypackage.inf", r"\\?\C:\Windows\inf\MYPACK~1.INF"):
        yield f"removal for `{inf}`", variant(removal, CommandLine=r_line + inf)
    yield "removal as `" + removal["CommandLine"].replace("setupapi,", "setupapi.dll,") + "`", \
        variant(removal, CommandLine=removal["CommandLine"].replace("setupapi,", "setupapi.dll,"))
    yield "the removal's line started by `vantrel.exe`", \
        variant(removal, ParentImage=r"C:\Program Files\Vantrel\vantrel.exe")
    yield "the install's line started by `vantrel-remove.exe`", \
        variant(install, ParentImage=r"C:\Program Files\Vantrel\vantrel-remove.exe")
    yield "install 1 started by cmd.exe", variant(seven, ParentImage=r"C:\Windows\System32\cmd.exe")
    for parent in (r"C:\Users\ann\Downloads\vantrel.exe", r"C:\PROGRA~2\Vantrel\vantrel.exe",
                   r"C:\PROGRA~1\Vantrel\..\..\Users\ann\vantrel.exe", r"\\?\C:\PROGRA~1\Vantrel\vantrel.exe"):
        yield f"install 1 started by `{parent}`", variant(seven, ParentImage=parent)
    for image in (r"C:\PROGRA~2\Vantrel\7z.exe", r"C:\Users\Public\VANTRE~1\7z.exe",
                  r"C:\PROGRA~1\Vantrel\..\..\Users\ann\7z.exe", r"\\?\C:\PROGRA~1\Vantrel\7z.exe",
                  r"C:\PROGRA~1\Vantrel/7z.exe"):
        yield f"install 1 running `{image}`", variant(seven, Image=image)
    line = seven["CommandLine"]
    for other in (line.replace(r'-o"C:\Windows\Temp\Vantrel"', r'-o"C:\Windows\System32"'),
                  line.replace(r'-o"C:\Windows\Temp\Vantrel"', r'-o"C:\Windows\Temp\Vantrel\..\..\System32"'),
                  line.replace(" x -y ", " a -y "), line.replace(" -aoa ", " -aoa -pSECRET "),
                  line.replace(" x ", "  x "), line + " ", line.replace('"', "", 2),
                  line.replace(r"\7z", "/7z", 1), line.replace(r'MYPACK~1.7Z"', r'MYPACK~1.7Z:evil"'),
                  line.replace(r'"C:\PROGRA~1\Vantrel\Packages', r'"\\?\C:\PROGRA~1\Vantrel\Packages'),
                  cabs["CommandLine"].replace(r"\i386", r"\..\..\System32"),
                  cabs["CommandLine"].replace(r"Vantrel\*.cab", r"Vantrel\..\..\..\Users\ann\*.cab")):
        yield f"install 1 as `{other}`", variant(seven, CommandLine=other)


def fired(rules, event, filters=()):
    return sorted(r.id[:8] for r in rules if fires(r, event, filters))


class SigmaLoader(yaml.SafeLoader):
    """YAML as Sigma's tools read it: a date stays the text it is, as the
    schemas (written for JSON) expect."""


SigmaLoader.yaml_implicit_resolvers = {
    first: [(tag, regexp) for tag, regexp in resolvers if tag != "tag:yaml.org,2002:timestamp"]
    for first, resolvers in yaml.SafeLoader.yaml_implicit_resolvers.items()}


def yaml_blocks(text):
    return re.findall(r"^```yaml\n(.*?)^```", text, re.S | re.M)


def generated(text, marker):
    """The lines after an HTML comment marker, up to the first blank line."""
    m = re.search(rf"^<!-- {marker} -->\n(.*?)\n(\n|\Z)", text, re.S | re.M)
    return m.group(1) if m else None


def validate(documents):
    filter_schema = json.loads((HERE / "sigma-filters-schema.json").read_text())
    rule_schema = json.loads((HERE / "sigma-detection-rule-schema.json").read_text())
    checker = jsonschema.FormatChecker()
    rules, filters = [], []
    for doc in documents:
        is_filter = "filter" in doc
        schema = filter_schema if is_filter else rule_schema
        errors = list(jsonschema.Draft202012Validator(schema, format_checker=checker).iter_errors(doc))
        for e in errors:
            problem(f"{doc.get('title')}: not a valid Sigma {'filter' if is_filter else 'rule'}: "
                    f"{'/'.join(map(str, e.path))}: {e.message}")
        if "id" not in doc:
            problem(f"{doc.get('title')}: no id")
        if is_filter:
            extra = set(doc) - set(filter_schema["properties"])
            if extra:
                problem(f"{doc['title']}: keys a filter does not have: {sorted(extra)}")
            if set(doc["filter"]) != {"rules", "selection", "condition"}:
                problem(f"{doc['title']}: a filter holds rules, one selection and a condition")
            if doc["filter"].get("condition") != "not selection":
                problem(f"{doc['title']}: an exclusion's condition is 'not selection'")
        try:
            (filters if is_filter else rules).append(Filter(doc) if is_filter else Rule(doc))
        except (SigmaError, KeyError) as e:
            problem(f"{doc.get('title')}: cannot be evaluated: {e}")
    return rules, filters


def main():
    text = DOC.read_text()
    documents = [yaml.load(b, Loader=SigmaLoader) for b in yaml_blocks(text)]
    doc_rules, filters = validate(documents)
    public = [Rule(yaml.load(p.read_text(), Loader=SigmaLoader)) for p in sorted((HERE / "rules").glob("*.yml"))]
    rules = public + doc_rules
    known = {r.id for r in rules}
    for f in filters:
        for rid in f.rules:
            if rid not in known:
                problem(f"{f.title}: names rule {rid}, which is not among the rules checked")
    if len(filters) != 2:
        problem(f"the document holds {len(filters)} filters, not the two it describes")

    per_layout = {layout["name"]: step_events(layout) for layout in LAYOUTS}

    def step_table(with_filters):
        rows = ["| step | " + " | ".join(per_layout) + " |", "|---" * (len(per_layout) + 1) + "|"]
        for i, step in enumerate(STEPS):
            cells = []
            for events in per_layout.values():
                ids = sorted({rid for e in events[i] for rid in fired(rules, e, with_filters)})
                cells.append(", ".join(ids) or "none")
            rows.append(f"| {step} | " + " | ".join(cells) + " |")
        return "\n".join(rows)

    table = step_table(())

    items = []
    for what, event in lookalikes(per_layout["Program Files"]):
        before, after = fired(rules, event), fired(rules, event, filters)
        if not before:
            problem(f"look-alike {what}: no rule fires on it, so it shows nothing")
        elif after != before:
            problem(f"look-alike {what}: the filters take {sorted(set(before) - set(after))} out")
        items.append(f"- {what}: {', '.join(after) or 'nothing'}")
    listed = "\n".join(items)

    if PRINT:
        print(table)
        print()
        print(listed)
        print("\nWith the filters:\n" + step_table(filters))
        return 0

    for layout in LAYOUTS:
        for step, events in zip(STEPS, per_layout[layout["name"]]):
            for e in events:
                before, after = fired(rules, e), fired(rules, e, filters)
                if layout["admitted"] and after:
                    problem(f"{layout['name']}, {step}: {after} still fire on {e}")
                if not layout["admitted"] and after != before:
                    problem(f"{layout['name']}, {step}: the filters admit {e}, which the document says they do not")
    if generated(text, "rules per step") != table:
        problem("the table of rules per step differs from what the rules do; it is:\n" + table)
    if generated(text, "look-alikes") != listed:
        problem("the list of look-alikes differs from what the rules and filters do; it is:\n" + listed)

    for p in problems:
        print("security_sigma:", p)
    if not problems:
        print(f"security_sigma: {len(documents)} Sigma documents valid; {len(rules)} rules on "
              f"{sum(len(s) for v in per_layout.values() for s in v)} events of {len(LAYOUTS)} layouts "
              f"as the table says; Vantrel's own suppressed where admitted; {len(items)} look-alikes alert")
    return 1 if problems else 0


sys.exit(main())
