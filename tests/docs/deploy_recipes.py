#!/usr/bin/env python3
"""What the deployment guide's recipes do, checked against what it says.

  deploy_recipes.py <playbook.yml> <deploy.md>

The playbook is the guide's yaml blocks, one play each (ansible_syntax.sh
takes them out). Three checks:

1. Folders: ansible.windows.win_copy fails when dest names a file whose
   folder does not exist ("If src and dest are files and if the parent
   directory of dest doesn't exist, then the task will fail"). So every
   win_copy of a file either has a dest ending in a backslash (the module
   makes it) or a dest whose folder an earlier win_file state=directory
   task of the same play made (it makes the parents too).
2. Return codes in Ansible: for every code of the guide's two tables, the
   play that runs the program (vantrel.exe, vantrel-remove.exe) retries,
   fails, reports a change and restarts exactly as the table's Ansible
   column says. The task's until, failed_when and changed_when and the
   restart's when are evaluated with Jinja2, as Ansible evaluates them.
3. Return codes in Intune and Configuration Manager: the list each recipe
   gives (a "Return codes" line) names every code of both tables once, with
   the type of the table's column for that tool.
4. The bundle: the install play's task that sets vantrel_bundle, run by
   ansible-playbook on this machine with the environment of 64-bit Windows
   (a 64-bit and a 32-bit process) and of 32-bit Windows, gives win64,
   win64 and win32, and win32 on 64-bit Windows where the play's
   bundle_on_64bit says so.
"""
import json
import os
import re
import subprocess
import sys
import tempfile

import jinja2
import yaml

COPY = {"win_copy", "ansible.windows.win_copy"}
FILE = {"win_file", "ansible.windows.win_file"}
COMMAND = {"win_command", "ansible.windows.win_command", "win_shell", "ansible.windows.win_shell"}
REBOOT = {"win_reboot", "ansible.windows.win_reboot"}

env = jinja2.Environment(undefined=jinja2.DebugUndefined)
failures = []


def fail(message):
    failures.append(message)


def render(text, variables):
    """The string with the play's variables put in (those of variables first)."""
    for _ in range(5):
        new = env.from_string(str(text)).render(**variables)
        if new == text:
            break
        text = new
    return text


def folder(path):
    return path.replace("/", "\\").rstrip("\\").lower()


def tasks_of(play):
    """The play's tasks in order, blocks opened."""
    def walk(tasks):
        for task in tasks or []:
            if "block" in task:
                for part in ("block", "rescue", "always"):
                    yield from walk(task.get(part))
            else:
                yield task
    for section in ("pre_tasks", "tasks", "post_tasks"):
        yield from walk(play.get(section))


def module_of(task, names):
    for name in names:
        if name in task:
            return task[name] if isinstance(task[name], dict) else {}
    return None


def check_folders(play):
    variables = play.get("vars") or {}
    made = []
    for task in tasks_of(play):
        args = module_of(task, FILE)
        if args is not None and args.get("state") == "directory":
            made.append(folder(render(args["path"], variables)))
            continue
        args = module_of(task, COPY)
        if args is None:
            continue
        dest = render(args.get("dest", ""), variables)
        src = str(args.get("src", ""))
        if dest.endswith(("\\", "/")) or src.endswith("/"):
            # The module makes a folder dest (and a dest for a folder src).
            made.append(folder(dest))
            continue
        parent = folder(dest).rsplit("\\", 1)[0]
        if not any(m == parent or m.startswith(parent + "\\") for m in made):
            fail(f"{play.get('name')}: task '{task.get('name')}' copies to {dest}, "
                 f"but no earlier win_file state=directory makes {parent} "
                 "(win_copy fails where the folder does not exist)")


def tables(guide):
    """{program: {code: {tool: cell}}} from the guide's two return code tables."""
    found = []
    columns = None
    for line in guide.splitlines():
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if line.startswith("| code | meaning |"):
            columns = cells
            found.append({})
        elif columns and line.startswith("|---"):
            continue
        elif columns and line.startswith("|") and cells[0].isdigit():
            found[-1][int(cells[0])] = dict(zip(columns[2:], cells[2:]))
        else:
            columns = None
    if len(found) != 2:
        fail(f"the guide has {len(found)} return code tables, not 2 (install, removal)")
        return {}
    return {"vantrel.exe": found[0], "vantrel-remove.exe": found[1]}


def expression(text, register, rc):
    """An until/failed_when/changed_when/when, as Ansible evaluates it."""
    if isinstance(text, bool):
        return text
    if isinstance(text, list):
        return all(expression(t, register, rc) for t in text)
    return bool(env.compile_expression(str(text))(**{register: {"rc": rc}}))


WANTED = {  # the table's Ansible cell: retried, failed, changed, restarted
    "ok": (False, False, False, False),
    "changed": (False, False, True, False),
    "changed, restart": (False, False, True, True),
    "failed": (False, True, None, False),
    "retried, then failed": (True, True, None, False),
}


def check_codes_in_ansible(plays, codes):
    for program, table in codes.items():
        runs = []
        for play in plays:
            tasks = list(tasks_of(play))
            for i, task in enumerate(tasks):
                args = module_of(task, COMMAND)
                line = (args or {}).get("cmd", "") if args is not None else ""
                if not re.search(r"\\" + re.escape(program) + r'"', str(line)):
                    continue
                register = task.get("register")
                reboots = [t for t in tasks[i + 1:] if module_of(t, REBOOT) is not None]
                runs.append((play.get("name"), task, register, reboots))
        if not runs:
            fail(f"no play runs {program}")
        for name, task, register, reboots in runs:
            if not register:
                fail(f"{name}: the task running {program} registers no result")
                continue
            for code, row in sorted(table.items()):
                cell = row.get("Ansible")
                if cell not in WANTED:
                    fail(f"{program} {code}: the table's Ansible cell '{cell}' is none of {list(WANTED)}")
                    continue
                retried = "until" in task and not expression(task["until"], register, code)
                failed = expression(task.get("failed_when", f"{register}.rc != 0"), register, code)
                changed = expression(task.get("changed_when", True), register, code)
                restart = any(expression(r.get("when", True), register, code) for r in reboots)
                got = (retried, failed, changed, restart)
                want = WANTED[cell]
                if any(w is not None and w != g for w, g in zip(want, got)):
                    fail(f"{name}: {program} exit {code} is '{cell}' in the table, but the play "
                         f"gives retried={retried} failed={failed} changed={changed} restart={restart}")


def listed_codes(line):
    """'`0`, `13` Success; `1` to `6` Failed' -> {0: 'Success', 13: ..., 1: 'Failed', ...}"""
    listed = {}
    for group in line.split(";"):
        kind = re.sub(r"\(.*?\)", "", group.rsplit("`", 1)[-1]).strip(" .,")
        codes = []
        for start, end in re.findall(r"`(\d+)`(?: to `(\d+)`)?", group):
            codes += range(int(start), int(end or start) + 1)
        for code in codes:
            if code in listed:
                fail(f"return code {code} is listed twice: {line}")
            listed[code] = kind
    return listed


def check_codes_in_tools(guide, codes):
    tools = {"Microsoft Intune": "Intune", "Configuration Manager": "Configuration Manager"}
    sections = re.split(r"^## ", guide, flags=re.M)
    for heading, column in tools.items():
        section = next((s for s in sections if s.startswith(heading)), None)
        match = section and re.search(r"Return codes[^:]*:(.*?)(?:\n\s*\n|\n\s*- |\n\d\.)", section, re.S)
        if not match:
            fail(f"{heading}: no 'Return codes' line")
            continue
        listed = listed_codes(" ".join(match.group(1).split()))
        wanted = {}
        for program, table in codes.items():
            for code, row in table.items():
                kind = re.sub(r"\(.*?\)", "", row[column]).strip()
                if wanted.setdefault(code, kind) != kind:
                    fail(f"{column}: code {code} is '{wanted[code]}' for one program, '{kind}' for the other")
        for code in sorted(set(wanted) | set(listed)):
            if listed.get(code, "").lower() != wanted.get(code, "").lower():
                fail(f"{heading}: the recipe lists code {code} as '{listed.get(code, 'nothing')}', "
                     f"the tables' {column} column says '{wanted.get(code, 'nothing')}'")


BUNDLES = [  # the host's environment, bundle_on_64bit, the bundle wanted
    ({"PROCESSOR_ARCHITECTURE": "AMD64"}, None, "win64"),
    ({"PROCESSOR_ARCHITECTURE": "x86", "PROCESSOR_ARCHITEW6432": "AMD64"}, None, "win64"),
    ({"PROCESSOR_ARCHITECTURE": "x86"}, None, "win32"),
    ({"PROCESSOR_ARCHITECTURE": "AMD64"}, "win32", "win32"),
    ({"PROCESSOR_ARCHITECTURE": "x86"}, "win64", "win32"),
]


def check_bundle(plays):
    for play in plays:
        tasks = [t for t in tasks_of(play)
                 if "vantrel_bundle" in (module_of(t, {"set_fact", "ansible.builtin.set_fact"}) or {})]
        if not any("vantrel.exe" in json.dumps(t) for t in tasks_of(play)):
            continue
        if not tasks:
            fail(f"{play.get('name')}: no task sets vantrel_bundle for this Windows")
            continue
        with tempfile.TemporaryDirectory() as work:
            book = os.path.join(work, "bundle.yml")
            probe = {"name": "bundle", "hosts": "localhost", "connection": "local",
                     "gather_facts": False, "vars": play.get("vars") or {},
                     "tasks": tasks + [{"ansible.builtin.debug": {"msg": "bundle={{ vantrel_bundle }}"}}]}
            with open(book, "w") as out:
                yaml.safe_dump([probe], out)
            for environment, on64, wanted in BUNDLES:
                extra = {"ansible_env": environment}
                if on64:
                    extra["bundle_on_64bit"] = on64
                run = subprocess.run(["ansible-playbook", "-i", "localhost,", book, "-e", json.dumps(extra)],
                                     capture_output=True, text=True,
                                     env=dict(os.environ, ANSIBLE_LOCALHOST_WARNING="false"))
                got = re.findall(r'"bundle=([^"]*)"', run.stdout)
                if got != [wanted]:
                    fail(f"{play.get('name')}: with {environment}, bundle_on_64bit {on64 or 'as set'}, "
                         f"the play picks {got or run.stdout[-300:]}, not {wanted}")


def main():
    plays = yaml.safe_load(open(sys.argv[1])) or []
    guide = open(sys.argv[2]).read()
    for play in plays:
        check_folders(play)
    codes = tables(guide)
    if codes:
        check_codes_in_ansible(plays, codes)
        check_codes_in_tools(guide, codes)
    check_bundle(plays)
    for message in failures:
        print(f"FAIL: {message}")
    if failures:
        return 1
    print(f"ok:   {len(plays)} plays: every copied file has its folder; the return codes of "
          "the Ansible, Intune and Configuration Manager recipes are the tables'; "
          f"the play picks the bundle for {len(BUNDLES)} kinds of Windows")
    return 0


if __name__ == "__main__":
    sys.exit(main())
