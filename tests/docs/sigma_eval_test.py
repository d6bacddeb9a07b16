"""The Sigma evaluator reads rules as Sigma does, checked on the public rules
themselves where they hold the case."""

import pathlib
import sys

import yaml

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from sigma_eval import Filter, Rule, SigmaError, fires  # noqa: E402

RULES = pathlib.Path(__file__).parent / "sigma" / "rules"
failures = []


def check(what, got, want):
    if got != want:
        failures.append(f"{what}: {got}, not {want}")


def rule(detection, **extra):
    return Rule(dict(title="t", id="r", logsource={"product": "windows"}, detection=detection, **extra))


suspicious = Rule(yaml.safe_load((RULES / "proc_creation_win_rundll32_susp_activity.yml").read_text()))
control = {"CommandLine": r'"C:\Windows\system32\rundll32.exe" Shell32.dll,Control_RunDLL x.cpl'}
check("contains|all across case", fires(suspicious, control), True)
check("contains|all needs every value", fires(suspicious, {"CommandLine": "rundll32 shell32.dll,Other"}), False)
check("'not 1 of filter_main_*' takes the screensaver out",
      fires(suspicious, {"CommandLine": "rundll32 shell32.dll,Control_RunDLL desk.cpl,screensaver,@screensaver"}),
      False)
check("all of a map's fields: the control-panel filter needs its parent too",
      fires(suspicious, dict(control, ParentImage=r"C:\Windows\System32\control.exe", ParentCommandLine="x.cpl")),
      False)
image = Rule(yaml.safe_load((RULES / "proc_creation_win_susp_ntfs_short_name_path_use_image.yml").read_text()))
check("a value ending in a lone backslash", fires(image, {"Image": r"C:\PROGRA~1\x\7z.exe"}), True)
check("endswith in a list of maps", fires(image, {"Image": r"C:\PROGRA~1\7zG.exe"}), False)
check("a field the event lacks matches nothing", fires(image, {"CommandLine": r"C:\PROGRA~1\x"}), False)

plain = rule({"s": {"Image": r"C:\a\\*.exe", "Name": r"x\*y"}, "condition": "s"})
check(r"\\* is a backslash and a wildcard", fires(plain, {"Image": r"c:\A\b\c.EXE", "Name": "x*y"}), True)
check(r"\* is a star", fires(plain, {"Image": r"C:\a\b.exe", "Name": "xzy"}), False)
regex = rule({"s": {"A|re": "^ab$", "B|re|i": "^ab$"}, "condition": "s"})
check("re keeps case, re|i does not", (fires(regex, {"A": "ab", "B": "AB"}), fires(regex, {"A": "AB", "B": "ab"})),
      (True, False))
either = rule({"a": {"X": "1"}, "b": {"Y": "2"}, "condition": "(a or not b) and not (a and b)"})
check("or, not, brackets", [fires(either, e) for e in ({"X": "1"}, {"Y": "2"}, {"X": "0"}, {"X": "1", "Y": "2"})],
      [True, False, True, False])

flt = Filter(dict(title="f", logsource={"product": "windows"},
                  filter={"rules": ["r"], "selection": {"Name": "x*"}, "condition": "not selection"}))
any_name = rule({"s": {"Name": "*"}, "condition": "s"})
check("a filter is joined with and to the rules it names",
      (fires(any_name, {"Name": "xa"}, [flt]), fires(any_name, {"Name": "ya"}, [flt])), (False, True))
check("a filter leaves other rules alone",
      fires(Rule(dict(title="o", id="o", logsource={"product": "windows"},
                      detection={"s": {"Name": "*"}, "condition": "s"})), {"Name": "xa"}, [flt]), True)

for detection in ({"s": {"A|base64": "x"}, "condition": "s"}, {"s": ["word"], "condition": "s"},
                  {"s": {"A": "x"}, "condition": "s | count() > 1"}, {"s": {"A": "x"}, "condition": "t"}):
    try:
        rule(detection)
        failures.append(f"{detection} was read although it is outside the subset")
    except SigmaError:
        pass

for f in failures:
    print("sigma_eval:", f)
if not failures:
    print("sigma_eval: the evaluator reads the cases as Sigma does")
sys.exit(1 if failures else 0)
