#!/usr/bin/env bash
# The deployment guide's recipes replayed: a small model of each tool's cycle
# (evaluate the detection rule, run the command the rule calls for, map its
# exit code through the recipe's return codes, evaluate again) drives the real
# vantrel.exe and vantrel-remove.exe through version 1, version 2, a version 3
# that fails, an uninstall of version 1 and the removal of version 2, three
# evaluation cycles each. Commands, return codes, scripts and playbook
# conditions are read from docs/deploy.md, so the replay breaks when a recipe
# does. At the end it prints one line per tool and path.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir tool_cycles
CYCLES=3
RECEIPT_KEY='HKLM\SOFTWARE\Vantrel\Packages\mypackage.inf'
ADDREG_KEY='HKLM\Software\VantrelTest\Cycles'
clean_machine() {
  reg_delete_key "$RECEIPT_KEY"
  reg_delete_key "$ADDREG_KEY"
  rm -f "$E2E_INF_UNIX/mypackage.inf" "$E2E_INF_UNIX/mypackage.pnf"
  # The Ansible play's vantrel_dir and package_dir, which its copy tasks make.
  rm -rf "${ANS_VANTREL_UNIX:?}" "$(dirname "${ANS_PACKAGE_UNIX:?}")"
}

# ---- what the recipes say ----------------------------------------------------
# The commands and return code lists an administrator types into Intune and
# Configuration Manager, the tables that explain the codes, both Group Policy
# scripts verbatim, and the conditions of the two Ansible tasks that run Vantrel.
declare -A CODE TABLE
recipes="$(python3 - "$VANTREL_ROOT/docs/deploy.md" <<'PY'
import re, sys, shlex, yaml
doc = open(sys.argv[1], encoding="utf-8").read()
q = shlex.quote

def die(msg):
    sys.exit("docs/deploy.md: " + msg)

def section(title):
    m = re.search(r"^## " + re.escape(title) + r".*?$(.*?)(?=^## |\Z)", doc, re.M | re.S)
    return m.group(1) if m else die("no section " + title)

def bullet(text, label):
    m = re.search(r"^\s*- " + re.escape(label) + r"(.*?)(?=^\s*- |^\s*\d+\. |^\s*$)", text, re.M | re.S)
    return " ".join(m.group(1).split()) if m else die("no bullet " + label)

def command(text):
    m = re.search(r"`([^`]+)`", text)
    return m.group(1) if m else die("no command in: " + text)

def code_list(text):
    out = {}
    for part in text.split(";"):
        # Advice in brackets ("delete the default codes ...: 1707, 1641") is no
        # part of the type's name; "(no reboot)" is.
        kind = re.sub(r"\s*\([^)]*:[^)]*\)", "", part.rsplit("`", 1)[-1]).strip().rstrip(".").strip()
        for a, b in re.findall(r"`(\d+)` to `(\d+)`", part):
            out.update({c: kind for c in range(int(a), int(b) + 1)})
        for c in re.findall(r"`(\d+)`", re.sub(r"`\d+` to `\d+`", "", part)):
            out[int(c)] = kind
    return out or die("an empty return code list")

for tool, title, column, inst, rem in (
        ("intune", "Microsoft Intune", 2, "Install command:", "Uninstall command:"),
        ("cm", "Configuration Manager", 3, "Installation program:", "Uninstall program:")):
    text = section(title)
    print(f"INSTALL_{tool}={q(command(bullet(text, inst)))}")
    print(f"REMOVE_{tool}={q(command(bullet(text, rem)))}")
    for c, kind in code_list(bullet(text, "Return codes").split("):", 1)[1]).items():
        print(f"CODE[{tool},{c}]={q(kind)}")
    for title2 in ("Return codes", "Removal return codes"):
        for line in section(title2).splitlines():
            cells = [c.strip() for c in line.strip().strip("|").split("|")]
            if len(cells) == 5 and cells[0].isdigit():
                print(f"TABLE[{tool},{cells[0]}]={q(cells[column])}")

# Each script's logic: its detection (the key and value it queries, and which
# outcome of findstr ends the script), the Vantrel command with the script's
# variables filled in as on 64-bit Windows (PROCESSOR_ARCHITECTURE AMD64),
# and what it does with the exit code.
for block in re.findall(r"```bat\n(.*?)```", doc, re.S):
    kind = "STARTUP" if "vantrel.exe" in block else "SHUTDOWN"
    env = dict(re.findall(r'^set "(\w+)=(.*)"$', block, re.M))
    for name, value in re.findall(r'^if /i "%PROCESSOR_ARCHITECTURE%"=="AMD64" set "(\w+)=(.*)"$', block, re.M):
        env[name] = value
    expand = lambda text: re.sub(r"%(\w+)%", lambda m: m.group(0) if m.group(1) in ("SHARE", "PACKAGE_SHA256")
                                 else re.sub(r"%(\w+)%", lambda n: env[n.group(1)], env[m.group(1)]), text)
    m = re.search(r'^reg query "([^"]+)" /v (\w+) /reg:64 2>nul \^\n\s*\| findstr /i /c:"%PACKAGE_SHA256%" >nul (&&|\|\|) exit /b 0$',
                  block, re.M) or die(kind + " script: no detection line")
    print(f"GPO_{kind}_KEY={q(m.group(1))} GPO_{kind}_VALUE={q(m.group(2))}")
    print(f"GPO_{kind}_ENDS_WHEN={'found' if m.group(3) == '&&' else 'missing'}")
    runs = [expand(line) for line in block.splitlines() if line.startswith('"%SHARE%\\Vantrel\\')]
    runs or die(kind + " script: runs no Vantrel")
    print(f"GPO_{kind}_CMD={q(runs[0])} GPO_{kind}_RUNS={len(runs)}")
    retry = re.search(r'^((?:if not "%ERRORLEVEL%"=="\d+" )+)exit /b %ERRORLEVEL%$', block, re.M)
    retry_on = " ".join(re.findall(r"(\d+)", retry.group(1))) if retry else ""
    success = " ".join(re.findall(r'^if "%ERRORLEVEL%"=="(\d+)" exit /b 0$', block, re.M))
    print(f"GPO_{kind}_RETRY_ON={q(retry_on)} GPO_{kind}_SUCCESS={q(success)}")

def codes(expr, var, negated):
    m = re.fullmatch(re.escape(var) + r"\.rc \| default\(0\) " + ("not in" if negated else "in") +
                     r" \[([\d, ]+)\]", str(expr).strip())
    return " ".join(x.strip() for x in m.group(1).split(",")) if m else die("unexpected condition: " + str(expr))

for play in (yaml.safe_load(b)[0] for b in re.findall(r"```yaml\n(.*?)```", doc, re.S)):
    task = next(t for t in play["tasks"] if "ansible.windows.win_command" in t)
    var, kind = task["register"], ("INSTALL" if task["register"] == "vantrel" else "REMOVE")
    known = {k: v for k, v in play["vars"].items() if k != "package_sha256"}  # the app's own, later
    cmd = re.sub(r"\{\{\s*(\w+)\s*\}\}", lambda m: known.get(m.group(1), m.group(0)),
                 task["ansible.windows.win_command"]["cmd"])
    print(f"ANS_{kind}_CMD={q(cmd)}")
    print(f"ANS_{kind}_RETRY_ON={q(codes(task['until'], var, True))}")
    print(f"ANS_{kind}_RETRIES={int(task['retries'])}")
    print(f"ANS_{kind}_OK={q(codes(task['failed_when'], var, True))}")
    print(f"ANS_{kind}_CHANGED={q(codes(task['changed_when'], var, False) if 'changed_when' in task else '')}")
    if kind == "INSTALL":
        # The model below tests the receipt against the package's checksum;
        # another test in the playbook must change the model too.
        if task.get("when") != "receipt.value | default('') | lower != package_file.stat.checksum | lower":
            die("the install task's when is not the receipt test: " + str(task.get("when")))
PY
)" || e2e_die "the recipes could not be read"
eval "$recipes"
ANS_VANTREL_UNIX="$E2E_DRIVE_C/$(tr '\\' / <<<"${ANS_INSTALL_CMD#\"C:\\}" | sed 's|/vantrel.exe".*||')"
ANS_PACKAGE_UNIX="$E2E_DRIVE_C/$(tr '\\' / <<<"${ANS_INSTALL_CMD##* \"C:\\}" | tr -d '"')"
clean_machine
for var in INSTALL_intune REMOVE_intune INSTALL_cm REMOVE_cm GPO_STARTUP_CMD GPO_SHUTDOWN_CMD \
           ANS_INSTALL_CMD ANS_REMOVE_CMD; do
  [ -n "${!var:-}" ] || e2e_die "docs/deploy.md gave no $var"
done
# The list each tool is given must say what the tables say, code for code.
for tool in intune cm; do
  differ=""
  for key in "${!TABLE[@]}"; do
    [ "${key%%,*}" = "$tool" ] || continue
    [ "${CODE[$key]:-unlisted}" = "${TABLE[$key]}" ] || differ+=" ${key#*,}:${CODE[$key]:-unlisted}/${TABLE[$key]}"
  done
  expect_eq "$tool's return code list against the tables (codes that differ)" "${differ:-none}" none
done

# Where a tool's type of return code leaves the model: Success (its variants,
# Ansible's changed and ok), Soft reboot, Retry (Fast retry), or Failed.
# Intune and Configuration Manager take a code missing from the list as a failure.
outcome() {  # <type>
  case "$1" in
    Success*) echo Success ;;
    Soft*) echo SoftReboot ;;
    Retry | "Fast retry") echo Retry ;;
    *) echo Failed ;;
  esac
}

# ---- the packages ----------------------------------------------------------
# One INF name, mypackage.inf, as the recipes name it; each version writes its
# own DriverVer version into an AddReg value and takes the key away again on
# uninstall. Version 3 copies a file its package lacks: 8, nothing started.
declare -A SHA CONTENT INF_SRC
make_app() {  # <version number> [--broken]
  local n=$1 src="$CASE_UNIX/src-v$1" content="$CASE_UNIX/content-v$1"
  mkdir -p "$src"
  {
    printf '[Version]\r\nSignature="$Windows NT$"\r\nDriverVer=01/02/2025,%s.0.0.0\r\n\r\n' "$n"
    printf '[DefaultInstall]\r\nAddReg=Vt.AddReg\r\n'
    [ "${2:-}" = --broken ] && printf 'CopyFiles=Vt.Files\r\n\r\n[Vt.Files]\r\nmissing.txt\r\n\r\n[DestinationDirs]\r\nVt.Files=11\r\n\r\n[SourceDisksNames]\r\n1="Vantrel test disk",,,i386\r\n\r\n[SourceDisksFiles]\r\nmissing.txt=1\r\n'
    printf '\r\n[Vt.AddReg]\r\nHKLM,"Software\\VantrelTest\\Cycles","Build",0,"%s.0.0.0"\r\n' "$n"
    printf '\r\n[DefaultUninstall]\r\nDelReg=Vt.DelReg\r\n\r\n[Vt.DelReg]\r\nHKLM,"Software\\VantrelTest\\Cycles"\r\n'
  } >"$src/mypackage.inf"
  # Intune's and Configuration Manager's content folder: the bundle and the package.
  make_install_folder "$content"
  if [ "${2:-}" = --broken ]; then
    make_package_by_hand "$src" "$content/mypackage.7z"
  else
    make_package "$src" "$content/mypackage.7z"
  fi
  SHA[v$n]="$(sha256sum "$content/mypackage.7z" | cut -d' ' -f1)"
  CONTENT[v$n]="$content"
  INF_SRC[v$n]="$src/mypackage.inf"
}
make_app 1
make_app 2
make_app 3 --broken

# ---- the machine -----------------------------------------------------------
reg_data() {  # <key> <value name>: from the native (64-bit) view, empty when absent
  wine_run 30 reg query "$1" /v "$2" /reg:64 2>/dev/null | tr -d '\r' | awk -v n="$2" '$1 == n { print $3 }'
}
receipt_sha() { reg_data "$RECEIPT_KEY" PackageSHA256; }
# The detection rule every recipe sets: PackageSHA256, string comparison, Equals.
detected() { [ "$(receipt_sha)" = "${SHA[$1]}" ]; }

# v1, v2 or none when the receipt, the INF copy in C:\windows\inf and the INF's
# own AddReg value tell the same story; otherwise what each of them holds.
machine_state() {
  local sha version build copy=none receipt=none app
  sha="$(receipt_sha)"
  version="$(reg_data "$RECEIPT_KEY" Version)"
  build="$(reg_data "$ADDREG_KEY" Build)"
  [ -e "$E2E_INF_UNIX/mypackage.inf" ] && copy=other
  for app in v1 v2 v3; do
    [ "$sha" = "${SHA[$app]}" ] && receipt=$app
    cmp -s "$E2E_INF_UNIX/mypackage.inf" "${INF_SRC[$app]}" && copy=$app
  done
  [ -n "$sha" ] && [ "$receipt" = none ] && receipt=other
  if [ "$receipt$copy" = nonenone ] && [ -z "$version$build" ]; then
    echo none
  elif [ "$receipt" = "$copy" ] && [ "$version" = "${receipt#v}.0.0.0" ] && [ "$build" = "$version" ]; then
    echo "$receipt"
  else
    echo "receipt=$receipt/Version=${version:--} INF-copy=$copy AddReg-Build=${build:--}"
  fi
}

# ---- counting --------------------------------------------------------------
# Per step: commands run, runs whose mapped outcome is Failed, successful
# installs, and the last cycle that changed the receipt.
reset_step() { INSTALLS=0; REMOVALS=0; FAILED=0; GOOD_INSTALLS=0; LAST_CHANGE=0; }
note_outcome() {  # <install|remove> <outcome>
  [ "$2" = Failed ] && FAILED=$((FAILED + 1))
  [ "$1" = install ] && [ "$2" != Failed ] && [ "$2" != Retry ] && GOOD_INSTALLS=$((GOOD_INSTALLS + 1))
  return 0
}

# ---- Intune and Configuration Manager ----------------------------------------
# Both agents work the same cycle on a Win32 app / an application's deployment
# type (docs/deploy.md's sources: "Add, assign, and monitor a Win32 app in
# Microsoft Intune" and "Create applications": the detection rule decides
# whether the app is installed; a Required app that is not detected gets its
# install command, an Uninstall assignment of a detected app its uninstall
# command; the exit code is looked up in the app's return codes, and after a
# success the rule is evaluated again, Intune reporting an app that is still
# not detected as failed). A Failed code is retried on the agent's next
# evaluation (Intune's next check-in; Configuration Manager's next application
# deployment evaluation cycle), which is each model cycle here; a Retry code
# again at once, up to RETRIES times (Intune: three attempts; Configuration
# Manager's Fast retry: "retries every two hours, for a total of 10 times").
declare -A RETRIES=([intune]=3 [cm]=10)

app_run() {  # <tool> <install|remove> <app>: sets OUTCOME and RC
  local tool=$1 what=$2 app=$3 line try=0 place=$PWD hole="<the package's SHA-256>"
  if [ "$what" = install ]; then line="INSTALL_$tool"; else line="REMOVE_$tool"; fi
  line="${!line}"
  line="${line/"$hole"/${SHA[$app]}}"
  # Intune runs the command in the folder it unpacked the content to; the
  # Configuration Manager client in its copy of the content folder.
  cd "${CONTENT[$app]}" || e2e_die "no content folder for $app"
  while :; do
    run_command_line "$line"
    RC=$E2E_RC
    if [ "$what" = install ]; then INSTALLS=$((INSTALLS + 1)); else REMOVALS=$((REMOVALS + 1)); fi
    OUTCOME="$(outcome "${CODE[$tool,$RC]:-Failed}")"
    try=$((try + 1))
    [ "$OUTCOME" = Retry ] && [ "$try" -lt "${RETRIES[$tool]}" ] || break
  done
  cd "$place" || true
  note_outcome "$what" "$OUTCOME"
  echo "      $tool maps $RC to ${CODE[$tool,$RC]:-Failed (not listed)}"
  # The rule again: a success must leave it saying what the command was for.
  if [ "$OUTCOME" = Success ] || [ "$OUTCOME" = SoftReboot ]; then
    if [ "$what" = install ] && ! detected "$app"; then
      fail "$tool: $app's install ended $RC ($OUTCOME) but its rule does not detect it"
    elif [ "$what" = remove ] && detected "$app"; then
      fail "$tool: $app's uninstall ended $RC ($OUTCOME) but its rule still detects it"
    fi
  fi
}

# One evaluation. The step's assignments: REQUIRED (with SUPERSEDES and
# UNINSTALL_PREVIOUS) and UNINSTALL (a list of apps with Uninstall intent).
app_cycle() {  # <tool>
  local app
  for app in $UNINSTALL; do
    detected "$app" && app_run "$1" remove "$app"
  done
  [ -n "$REQUIRED" ] || return 0
  detected "$REQUIRED" && return 0
  # Supersedence ("Add Win32 app supersedence"; "Revise and supersede
  # applications"): with Uninstall previous version Yes (Configuration
  # Manager: Uninstall ticked) the superseded app's uninstall command runs
  # first where its rule finds it; with No, only the new app's install runs.
  if [ -n "$SUPERSEDES" ] && [ "$UNINSTALL_PREVIOUS" = yes ] && detected "$SUPERSEDES"; then
    app_run "$1" remove "$SUPERSEDES"
    [ "$OUTCOME" = Success ] || return 0
  fi
  app_run "$1" install "$REQUIRED"
}

# ---- Group Policy --------------------------------------------------------------
# The guide's two scripts as their lines state them (Wine 8's cmd cannot run
# them: it takes both branches of `a | findstr ... && x || y`, and its reg
# prints errors to stdout). A computer startup script runs at every start, a
# shutdown script at every shutdown (Computer Configuration > Policies >
# Windows Settings > Scripts (Startup/Shutdown)); Group Policy retries
# neither: the next start or shutdown is the next try, and a non-zero exit is
# the script's failure. Only the share differs: Wine has no SMB shares, so a
# local folder with the same layout (Vantrel\win64, Packages).
SHARE_UNIX="$CASE_UNIX/share"
SHARE_WIN="$CASE_WIN\\share"
mkdir -p "$SHARE_UNIX/Vantrel" "$SHARE_UNIX/Packages"
make_install_folder "$SHARE_UNIX/Vantrel/win64"
gpo_run() {  # <STARTUP|SHUTDOWN> <app>
  local kind=$1 app=$2 var found=missing line tries=0 code
  var="GPO_${kind}_KEY"; local key="${!var}"; var="GPO_${kind}_VALUE"; local value="${!var}"
  var="GPO_${kind}_ENDS_WHEN"; local ends_when="${!var}"
  var="GPO_${kind}_CMD"; line="${!var}"; var="GPO_${kind}_RUNS"; local runs="${!var}"
  var="GPO_${kind}_RETRY_ON"; local retry_on="${!var}"; var="GPO_${kind}_SUCCESS"; local success="${!var}"
  # reg query ... /reg:64 | findstr /i /c:"%PACKAGE_SHA256%"
  wine_run 30 reg query "$key" /v "$value" /reg:64 2>/dev/null | tr -d '\r' | grep -qiF "${SHA[$app]}" && found=found
  if [ "$found" = "$ends_when" ]; then echo "      $kind script: $found, exit /b 0"; return 0; fi
  line="${line//%SHARE%/$SHARE_WIN}"
  line="${line//%PACKAGE_SHA256%/${SHA[$app]}}"
  while :; do
    run_command_line "$line"
    code=$E2E_RC
    if [ "$kind" = STARTUP ]; then
      INSTALLS=$((INSTALLS + 1))
      { [ "$code" = 0 ] || [ "$code" = 3010 ]; } && GOOD_INSTALLS=$((GOOD_INSTALLS + 1))
    else REMOVALS=$((REMOVALS + 1)); fi
    tries=$((tries + 1))
    # One more run after a pause where the script has one ("ping -n 31").
    [[ " $retry_on " == *" $code "* ]] && [ "$tries" -lt "$runs" ] || break
  done
  [[ " $success " == *" $code "* ]] && code=0
  echo "      $kind script: exit /b $code"
  [ "$code" = 0 ] || FAILED=$((FAILED + 1))
}
# A start, then a shutdown, with the linked scripts (STARTUP, SHUTDOWN: an
# app or empty). "For version 2, put its package and hash into the same
# script": the share's one package is the startup script's version.
gpo_cycle() {
  if [ -n "$STARTUP" ]; then
    cp "${CONTENT[$STARTUP]}/mypackage.7z" "$SHARE_UNIX/Packages/mypackage.7z"
    gpo_run STARTUP "$STARTUP"
  fi
  [ -z "$SHUTDOWN" ] || gpo_run SHUTDOWN "$SHUTDOWN"
}

# ---- Ansible -----------------------------------------------------------------
# A cycle is one run of each play the step applies (PLAY_INSTALL: the app in
# the install playbook; PLAY_REMOVE: the app in the removal playbook). The
# install task runs `when` the receipt (win_reg_stat) differs from the package's
# checksum (win_stat, sha256); `until` repeats it while the code is a retry
# code, `retries` times; `failed_when` fails the host on any other code than
# the listed ones; the removal task has no `when` and runs on every play.
ans_task() {  # <INSTALL|REMOVE> <command line>: sets OUTCOME
  local tries=0 retry_on="ANS_$1_RETRY_ON" retries="ANS_$1_RETRIES" ok="ANS_$1_OK" changed="ANS_$1_CHANGED"
  while :; do
    run_command_line "$2"
    if [ "$1" = INSTALL ]; then INSTALLS=$((INSTALLS + 1)); else REMOVALS=$((REMOVALS + 1)); fi
    tries=$((tries + 1))
    [[ " ${!retry_on} " == *" $E2E_RC "* ]] && [ "$tries" -le "${!retries}" ] || break
  done
  if [[ " ${!ok} " != *" $E2E_RC "* ]]; then OUTCOME=Failed
  elif [ -z "${!changed}" ] || [[ " ${!changed} " == *" $E2E_RC "* ]]; then OUTCOME=changed
  else OUTCOME=ok; fi
  echo "      ansible: $OUTCOME"
  note_outcome "$([ "$1" = INSTALL ] && echo install || echo remove)" "$([ "$OUTCOME" = Failed ] && echo Failed || echo Success)"
}
ansible_cycle() {
  if [ -n "$PLAY_INSTALL" ]; then
    # win_copy of the bundle and the package, win_file of its folder.
    [ -f "$ANS_VANTREL_UNIX/vantrel.exe" ] || make_install_folder "$ANS_VANTREL_UNIX"
    mkdir -p "$(dirname "$ANS_PACKAGE_UNIX")"
    cp "${CONTENT[$PLAY_INSTALL]}/mypackage.7z" "$ANS_PACKAGE_UNIX"
    local checksum receipt
    checksum="$(sha256sum "$ANS_PACKAGE_UNIX" | cut -d' ' -f1)"
    receipt="$(receipt_sha)"
    [ "${receipt,,}" != "${checksum,,}" ] && ans_task INSTALL "$ANS_INSTALL_CMD"
  fi
  [ -z "$PLAY_REMOVE" ] || ans_task REMOVE "${ANS_REMOVE_CMD//\{\{ package_sha256 \}\}/${SHA[$PLAY_REMOVE]}}"
  return 0
}

# ---- the path ----------------------------------------------------------------
declare -a TABLE_ROWS
run_step() {  # <tool> <what> <installs> <removals> <failed> <state>: CYCLES cycles, then the checks
  local tool=$1 cycle before after state
  reset_step
  before="$(receipt_sha)"
  for cycle in $(seq 1 "$CYCLES"); do
    echo "-- $tool, $2, cycle $cycle"
    case "$tool" in intune | cm) app_cycle "$tool" ;; gpo) gpo_cycle ;; ansible) ansible_cycle ;; esac
    after="$(receipt_sha)"
    [ "$after" = "$before" ] || LAST_CHANGE=$cycle
    before=$after
  done
  state="$(machine_state)"
  expect_eq "$tool, $2: commands run (installs removals failed)" "$INSTALLS $REMOVALS $FAILED" "$3 $4 $5"
  # Settled: nothing changed the machine in the last cycle, and no package
  # was installed twice.
  if [ "$LAST_CHANGE" -lt "$CYCLES" ] && [ "$GOOD_INSTALLS" -le 1 ]; then LOOPED=${LOOPED:-no}; else
    LOOPED=yes; fail "$tool, $2: loops (receipt changed in cycle $LAST_CHANGE, $GOOD_INSTALLS good installs)"
  fi
  expect_eq "$tool, $2: the machine afterwards" "$state" "$6"
  STEP_INSTALLS+=("$INSTALLS"); STEP_REMOVALS+=("$REMOVALS"); STEP_STATES+=("$state")
}
begin_path() { STEP_INSTALLS=(); STEP_REMOVALS=(); STEP_STATES=(); LOOPED=""; clean_machine; }
end_path() {  # <tool> <path>
  local sum_i=0 sum_r=0 n
  for n in "${STEP_INSTALLS[@]}"; do sum_i=$((sum_i + n)); done
  for n in "${STEP_REMOVALS[@]}"; do sum_r=$((sum_r + n)); done
  TABLE_ROWS+=("$(printf '%-7s | %-41s | %dx%d | %-13s | %-13s | %-5s | %s' "$1" "$2" \
    "${#STEP_INSTALLS[@]}" "$CYCLES" "${STEP_INSTALLS[*]} =$sum_i" "${STEP_REMOVALS[*]} =$sum_r" \
    "$LOOPED" "$(IFS=,; echo "${STEP_STATES[*]}")")")
}

# Intune and Configuration Manager. Version 3 supersedes version 2 with
# Uninstall No (the guide's usual one; with Yes version 2's uninstall would
# run before version 3's install fails). Before the uninstall step, version
# 3's deployment is withdrawn and version 2's is Required again.
app_path() {  # <tool> <uninstall previous: no|yes>
  local tool=$1 yes=$2 v1_removal=0; [ "$yes" = yes ] && v1_removal=1
  begin_path
  REQUIRED=v1 SUPERSEDES="" UNINSTALL_PREVIOUS=no UNINSTALL=""
  run_step "$tool" "v1 Required" 1 0 0 v1
  REQUIRED=v2 SUPERSEDES=v1 UNINSTALL_PREVIOUS=$yes
  run_step "$tool" "v2 supersedes v1, uninstall $yes" 1 "$v1_removal" 0 v2
  REQUIRED=v3 SUPERSEDES=v2 UNINSTALL_PREVIOUS=no
  run_step "$tool" "v3 (fails) supersedes v2" 3 0 3 v2
  REQUIRED=v2 SUPERSEDES="" UNINSTALL=v1
  run_step "$tool" "v2 Required, v1 Uninstall assignment" 0 0 0 v2
  # The guide's promise for v1's uninstall should the agent run it anyway
  # (a detection result from before version 2 landed): 19, mapped Success,
  # version 2 stays.
  reset_step
  app_run "$tool" remove v1
  expect_eq "$tool: v1's uninstall command where v2 is: exit code, outcome" "$RC $OUTCOME" "19 Success"
  expect_eq "$tool: the machine after v1's uninstall command" "$(machine_state)" v2
  STEP_REMOVALS[3]=$((STEP_REMOVALS[3] + REMOVALS))
  REQUIRED="" UNINSTALL=v2
  run_step "$tool" "v2 Uninstall assignment" 0 1 0 none
  local label="Required; supersedence uninstall $yes"
  [ "$tool" = cm ] && label="Required; supersedence Uninstall $([ "$yes" = yes ] && echo ticked || echo unticked)"
  end_path "$tool" "$label"
}
app_path intune no
app_path intune yes
app_path cm no
app_path cm yes

# Group Policy: the startup script carries one version at a time; the
# shutdown script removes the one version it names. Before the removals the
# startup script goes back to version 2; before version 2's removal it is
# unlinked ("Unlink the startup script's GPO first").
begin_path
STARTUP=v1 SHUTDOWN=""
run_step gpo "startup script v1" 1 0 0 v1
STARTUP=v2
run_step gpo "startup script v2" 1 0 0 v2
STARTUP=v3
run_step gpo "startup script v3 (fails)" 3 0 3 v2
STARTUP=v2 SHUTDOWN=v1
run_step gpo "startup v2, shutdown script v1" 0 0 0 v2
STARTUP="" SHUTDOWN=v2
run_step gpo "startup unlinked, shutdown script v2" 0 1 0 none
end_path gpo "startup install; shutdown scoped removal"

# Ansible: the install playbook with one package at a time, then the removal
# playbook beside it. The removal task has no `when`: it runs every play,
# 19 where another package is there, 13 where none is, both ok.
begin_path
PLAY_INSTALL=v1 PLAY_REMOVE=""
run_step ansible "install play v1" 1 0 0 v1
PLAY_INSTALL=v2
run_step ansible "install play v2" 1 0 0 v2
PLAY_INSTALL=v3
run_step ansible "install play v3 (fails)" 3 0 3 v2
PLAY_INSTALL=v2 PLAY_REMOVE=v1
run_step ansible "install play v2, removal play v1" 0 3 0 v2
PLAY_INSTALL="" PLAY_REMOVE=v2
run_step ansible "removal play v2" 0 3 0 none
end_path ansible "install play; removal play"
clean_machine

echo
echo "Replay: steps v1 -> v2 -> v3 (fails, 8) -> uninstall v1 -> remove v2; counts per step"
printf '%-7s | %-41s | %-3s | %-13s | %-13s | %-5s | %s\n' tool path cyc "installs run" "removals run" loops "state after each step"
printf '%s\n' "${TABLE_ROWS[@]}"
e2e_finish
