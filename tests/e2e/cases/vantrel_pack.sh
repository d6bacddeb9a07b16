#!/usr/bin/env bash
# vantrel-pack.exe from the bundle: a package made from the sample folder is
# read back by the real 7-Zip, installed by vantrel.exe and shown by --show
# (text and JSON); a second run makes the archive afresh and warns about the
# INF now in the INF folder; a folder whose INF names a missing source file,
# one without an INF and one with a link are refused before anything is
# written; an INF with sources per platform packs for the platform whose
# files are there and installs, and is refused without any.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir vantrel_pack

pack() {  # <folder> <out.7z>: sets PACK_RC; the messages land in $CASE_UNIX/pack.err
  wine_run 120 "$E2E_INSTALL_UNIX/vantrel-pack.exe" "$(win_path "$1")" "$(win_path "$2")" \
    >"$CASE_UNIX/pack.out" 2>"$CASE_UNIX/pack.err"
  PACK_RC=$?
  sed 's/^/      | /' "$CASE_UNIX/pack.err"
}
expect_message() {  # <what> <text the messages must hold>
  if grep -qF -- "$2" "$CASE_UNIX/pack.err"; then pass "$1"; else fail "$1: no \"$2\" in the messages"; fi
}
entries() { 7z l -slt "$1" | sed -n 's/^Path = //p' | tail -n +2 | sort | tr '\n' ' '; }

sample="$VANTREL_ROOT/samples/sample-package"
reg_delete_key 'HKLM\Software\Vantrel Sample'
rm -f "$E2E_SYSTEM32_UNIX/vantrel-sample.txt" "$E2E_INF_UNIX/vantrel-sample.inf" "$E2E_INF_UNIX/vantrel-sample.pnf"
mkdir -p "$CASE_UNIX/Sample Package" "$CASE_UNIX/again"
cp "$sample"/* "$CASE_UNIX/Sample Package/"
cp "$sample"/* "$CASE_UNIX/again/"
out="$CASE_UNIX/sample.7z"

echo "-- the sample folder"
pack "$CASE_UNIX/Sample Package" "$out"
expect_eq "exit code of vantrel-pack" "$PACK_RC" 0
expect_eq "archive entries" "$(entries "$out")" "Sample_Package.cab vantrel-sample.in_ "
grep -qF 'installs on x86: DefaultInstall (the 32-bit bundle); amd64: DefaultInstall (the 64-bit bundle)' \
  "$CASE_UNIX/pack.out" && pass "the platforms named" || fail "the platforms not named: $(cat "$CASE_UNIX/pack.out")"
# The rules that detect an install of exactly this package, its hash as
# sha256sum reads the file.
sha="$(sha256sum "$out" | cut -d' ' -f1)"
grep -qxF "vantrel-pack: rule: Ansible: Registry value HKEY_LOCAL_MACHINE\SOFTWARE\Vantrel\Packages\vantrel-sample.inf [PackageSHA256] equals $sha" \
  <(tr -d '\r' <"$CASE_UNIX/pack.out") && pass "the exact package's rule" || fail "no exact package's rule: $(cat "$CASE_UNIX/pack.out")"
grep -qxF "vantrel-pack: uninstall: vantrel-remove.exe vantrel-sample.inf /package:$sha" \
  <(tr -d '\r' <"$CASE_UNIX/pack.out") && pass "the removal of this package" || fail "no scoped removal: $(cat "$CASE_UNIX/pack.out")"
mkdir "$CASE_UNIX/read"
(cd "$CASE_UNIX/read" && 7z x -y "$out" >/dev/null && 7z x -y vantrel-sample.in_ >/dev/null &&
  7z x -y Sample_Package.cab >/dev/null) || fail "7-Zip could not read the package back"
expect_eq "cabinet entries" "$(entries "$CASE_UNIX/read/Sample_Package.cab")" "vantrel-sample.txt "
expect_eq "compression of the cabinets" \
  "$(cd "$CASE_UNIX/read" && 7z l -slt Sample_Package.cab vantrel-sample.in_ | sed -n 's/^Method = //p' | sort -u)" MSZip
expect_same_file "$CASE_UNIX/read/vantrel-sample.inf" "$sample/vantrel-sample.inf" "INF from the .in_ and the sample's"
expect_same_file "$CASE_UNIX/read/vantrel-sample.txt" "$sample/vantrel-sample.txt" "payload from the .cab and the sample's"

clear_work_folder
run_command_line "$(vantrel_line "$(win_path "$out")")"
expect_exit 0
expect_reg_value 'HKLM\Software\Vantrel Sample' Installed yes
expect_same_file "$E2E_SYSTEM32_UNIX/vantrel-sample.txt" "$sample/vantrel-sample.txt" "payload in system32"
expect_no_work_folder

echo "-- --show and --show --json on the sample package"
show() {  # <folder or package> [--json]: sets SHOW_RC; the output in $CASE_UNIX/show.out (and .json)
  wine_run 120 "$E2E_INSTALL_UNIX/vantrel-pack.exe" --show "$(win_path "$1")" 2>"$CASE_UNIX/show.err" |
    tr -d '\r' >"$CASE_UNIX/show.out"
  SHOW_RC=${PIPESTATUS[0]}
  sed 's/^/      | /' "$CASE_UNIX/show.out" "$CASE_UNIX/show.err"
  wine_run 120 "$E2E_INSTALL_UNIX/vantrel-pack.exe" --show --json "$(win_path "$1")" >"$CASE_UNIX/show.json" ||
    fail "--show --json ended with $?"
}
expect_shown() {  # <what> <line the output must hold>
  if grep -qxF -- "$2" "$CASE_UNIX/show.out"; then pass "$1"; else fail "$1: no line \"$2\""; fi
}
# The JSON read by python3's own parser and written out in the text's form:
# it must hold the same items, line for line.
expect_json_same() {
  local rendered
  if rendered="$(python3 - "$CASE_UNIX/show.json" <<'PY'
import json, sys
view = json.load(open(sys.argv[1], encoding="utf-8"))
print(f"{view['inf']}, read from {view['from']}")
for p in view["platforms"]:
    head = f"{p['platform']} ({p['bundle']}): "
    if not p["installs"]:
        print(head + "cannot install: " + p["reason"]); continue
    print(head + f"[{p['section']}]" + (" with Needs " + ", ".join(f"[{n}]" for n in p["needs"]) if p["needs"] else ""))
    for f in p["files"]:
        print(f"  file    {f['name']} from {f['source']} to DIRID {f['dirid']}"
              + (f"\\{f['subfolder']}" if f["subfolder"] else "")
              + (" (no DestinationDirs entry)" if f["defaultDirid"] else "") + f" = {f['folder']}")
    for v in p["registry"]:
        print(f"  value   {v['root']}" + (f"\\{v['key']}" if v["key"] else "")
              + ("" if v["type"] == "key" else f" [{v['name']}]") + f" {v['type']}, "
              + ("checked" if v["checked"] else "not checked: " + v["unchecked"]))
    for s in p["services"]:
        print(f"  service {s['name']}: {s['binary'] or 'no ServiceBinary'}, start {s['start'] or 'not given'}, "
              + ("checked" if s["checked"] else "not checked: no name"))
    for u in p["unseen"]:
        print(f"  unseen  {u}")
    for c in p["commands"]:
        wow64 = c.get("programOn64BitWindows")
        print(f"  command {c['program']}" + (f" ({wow64} on 64-bit Windows)" if wow64 else "")
              + f": {c['commandLine']}")
d = view["detection"]
v = d["driverVer"]
if v["written"] is None:
    print("DriverVer none: " + v["whyNoVersion"])
else:
    print(f"DriverVer {v['written']} ("
          + (f"version {v['version']}" if v["version"] else "no version usable: " + v["whyNoVersion"]) + "; "
          + (f"date {v['date']}" if v["date"] else "no date: " + v["whyNoDate"]) + ")")
print(f"receipt   {d['receiptKey']} (native registry view)")
for t in view["tools"]:
    print(f"tool      {t['tool']}")
    for item in ("detection", "install", "uninstall"):
        print(f"  {item:<12} {t[item]}")
    groups = []
    for c in t["returnCodes"]:
        if groups and groups[-1][0] == c["outcome"]:
            groups[-1][1].append(str(c["code"]))
        else:
            groups.append((c["outcome"], [str(c["code"])]))
    print("  return codes " + "; ".join(f"{o}: " + ", ".join(codes) for o, codes in groups))
    print(f"  restart      {t['restart']}")
    print("  requirement  " + ("; ".join(f"{r['bundle']}: {r['windows']}" for r in t["requirements"])
                               or "none: no bundle installs it"))
PY
)"; then
    expect_eq "the JSON's items, written as the text" "$rendered" "$(cat "$CASE_UNIX/show.out")"
  else
    fail "python3 could not read the JSON: $(head -c 300 "$CASE_UNIX/show.json")"
  fi
}
show "$out"
expect_eq "exit code of --show" "$SHOW_RC" 0
expect_shown "the INF and the package" "vantrel-sample.inf, read from $(win_path "$out")"
expect_shown "the section for x86" "x86 (the 32-bit bundle): [DefaultInstall]"
expect_shown "the file, its place and folder" \
  '  file    vantrel-sample.txt from i386\vantrel-sample.txt to DIRID 11 = C:\windows\system32'
expect_shown "a value" '  value   HKLM\Software\Vantrel Sample [Installed] REG_SZ, checked'
expect_eq "lines for both platforms" "$(grep -c '^  value ' "$CASE_UNIX/show.out")" 4
expect_shown "the version the receipt carries" "DriverVer 12/01/2026,1.0.0.0 (version 1.0.0.0; date 2026-12-01)"
expect_shown "the exact package's hash" \
  "  detection    Registry value HKEY_LOCAL_MACHINE\SOFTWARE\Vantrel\Packages\vantrel-sample.inf [PackageSHA256] equals $sha"
expect_shown "the removal of this package" "  uninstall    vantrel-remove.exe vantrel-sample.inf /package:$sha"
expect_shown "both bundles' Windows" \
  "  requirement  the 32-bit bundle: Operating system architecture x86, x64; the 64-bit bundle: Operating system architecture x64"
expect_shown "the package unpacked from beside the example bundle" \
  '  command C:\Program Files\Vantrel\7z.exe: "C:\Program Files\Vantrel\7z" x -y -aoa "C:\Program Files\Vantrel\sample.7z" -o"C:\Windows\Temp\Vantrel"'
expect_shown "the 64-bit bundle's INF installer" \
  '  command C:\Windows\System32\rundll32.exe: rundll32 syssetup,SetupInfObjectInstallAction DefaultInstall 128 C:\Windows\Temp\Vantrel\vantrel-sample.inf'
expect_json_same
# Intune's app bodies as the program printed them, against Graph's types.
if python3 "$VANTREL_ROOT/tests/docs/graph_types.py" "$VANTREL_ROOT" "$CASE_UNIX/show.json" >"$CASE_UNIX/graph.out" 2>&1; then
  pass "Intune's apps in Graph's names and values"
else
  fail "Intune's apps: $(cat "$CASE_UNIX/graph.out")"
fi
expect_eq "no temporary folder left" \
  "$(find "$E2E_DRIVE_C" -maxdepth 6 -name 'vantrel-pack-*' 2>/dev/null | head -n 3)" ""

echo "-- again into the same archive, from another folder, the INF now installed"
pack "$CASE_UNIX/again" "$out"
expect_eq "exit code of vantrel-pack" "$PACK_RC" 0
expect_eq "archive entries (made afresh)" "$(entries "$out")" "again.cab vantrel-sample.in_ "
expect_message "warning about the INF in the INF folder" 'inf\vantrel-sample.inf exists on this machine'

echo "-- an INF naming a source file the folder lacks"
mkdir -p "$CASE_UNIX/missing"
write_inf "$CASE_UNIX/missing/vt_PackMissing.inf" PackMissing vt_PackMissing.txt
echo "notes" >"$CASE_UNIX/missing/notes.txt"
pack "$CASE_UNIX/missing" "$CASE_UNIX/missing.7z"
expect_eq "exit code of vantrel-pack" "$PACK_RC" 4
expect_message "the missing file named first" 'vantrel-pack: the INF names the source file "i386\vt_PackMissing.txt", which the folder lacks'
expect_eq "the first message" "$(head -n 1 "$CASE_UNIX/pack.err" | tr -d '\r')" \
  'vantrel-pack: the INF names the source file "i386\vt_PackMissing.txt", which the folder lacks (neither there nor beside the INF)'
expect_message "warning about the file the INF never names" '"notes.txt" is in the folder but the INF never names it'
expect_no_path "$CASE_UNIX/missing.7z" "package of the refused folder"

# The platform whose bundle the cases run has its files; the other's lack.
if [ "$VANTREL_WINE_ARCH" = win64 ]; then
  have=amd64 lack=x86 have_bits=64 lack_bits=32
else
  have=x86 lack=amd64 have_bits=32 lack_bits=64
fi
per_platform_inf() {  # <file> [service]: sources in x86\ and amd64\, each platform its section
  {
    printf '[Version]\nSignature="$Windows NT$"\n'
    for p in x86 amd64; do
      printf '[DefaultInstall.NT%s]\nCopyFiles=Vt.Files\nAddReg=Vt.AddReg\n' "$p"
      [ -n "${2:-}" ] && printf '[DefaultInstall.NT%s.Services]\nAddService=VtPerPlatform,,Vt.Service\n' "$p"
      printf '[SourceDisksFiles.%s]\nvt_perplatform.sys=1,%s\nvt_perplatform.dll=1,%s\n' "$p" "$p" "$p"
    done
    printf '[Vt.Service]\nServiceType=1\nStartType=3\nErrorControl=1\nServiceBinary=%%12%%\\vt_perplatform.sys\n'
    printf '[Vt.Files]\nvt_perplatform.sys\nvt_perplatform.dll\n[DestinationDirs]\nVt.Files=11\n'
    printf '[Vt.AddReg]\nHKLM,"Software\\VantrelTest\\PerPlatform","Installed",0,"PerPlatform"\n'
    printf 'HKLM,"Software\\VantrelTest\\PerPlatform","Answer",0x10001,42\n'
    printf '[SourceDisksNames]\n1="Vantrel per-platform disk",,,\n'
    # Wine 8 reads only the undecorated sources (see README).
    printf '[SourceDisksFiles]\nvt_perplatform.sys=1,%s\nvt_perplatform.dll=1,%s\n' "$have" "$have"
  } | sed 's/$/\r/' >"$1"
}

echo "-- sources for x86 and amd64 in subfolders, only the $have files in the folder"
src="$CASE_UNIX/PerPlatform"
mkdir -p "$src/$have"
forget_install PerPlatform vt_PerPlatform.inf vt_perplatform.sys
rm -f "$E2E_SYSTEM32_UNIX/vt_perplatform.dll"
per_platform_inf "$src/vt_PerPlatform.inf"
echo "payload of PerPlatform" >"$src/$have/vt_perplatform.sys"
echo "library of PerPlatform" >"$src/$have/vt_perplatform.dll"
pack "$src" "$CASE_UNIX/perplatform.7z"
expect_eq "exit code of vantrel-pack" "$PACK_RC" 0
expect_message "the other bundle and its lacking files named" \
  "vantrel-pack: warning: the folder lacks source files that [DefaultInstall.NT$lack] copies on $lack, so the $lack_bits-bit bundle cannot install this package: $lack\\vt_perplatform.sys, $lack\\vt_perplatform.dll"
expect_eq "installs on" "$(sed -n 's/^vantrel-pack: installs on //p' "$CASE_UNIX/pack.out" | tr -d '\r')" \
  "$have: DefaultInstall.NT$have (the $have_bits-bit bundle)"
clear_work_folder
run_command_line "$(vantrel_line "$CASE_WIN\\perplatform.7z")"
expect_exit 0
expect_installed PerPlatform vt_perplatform.sys
expect_same_file "$E2E_SYSTEM32_UNIX/vt_perplatform.dll" "$src/$have/vt_perplatform.dll" "vt_perplatform.dll in system32"
expect_no_work_folder

echo "-- --show on the same INF with a service, from the folder"
mkdir -p "$CASE_UNIX/Shown"
cp -r "$src/$have" "$CASE_UNIX/Shown/"
per_platform_inf "$CASE_UNIX/Shown/vt_PerPlatform.inf" service
show "$CASE_UNIX/Shown"
expect_eq "exit code of --show" "$SHOW_RC" 0
expect_shown "the section for $have" "$have (the $have_bits-bit bundle): [DefaultInstall.NT$have]"
expect_shown "a file from its platform's folder" \
  "  file    vt_perplatform.dll from $have\\vt_perplatform.dll to DIRID 11 = C:\\windows\\system32"
expect_shown "a value" '  value   HKLM\Software\VantrelTest\PerPlatform [Answer] REG_DWORD, checked'
expect_shown "the service" \
  '  service VtPerPlatform: C:\windows\system32\drivers\vt_perplatform.sys, start demand, checked'
expect_shown "the platform that cannot install" \
  "$lack (the $lack_bits-bit bundle): cannot install: the folder lacks source files that [DefaultInstall.NT$lack] copies on $lack, so the $lack_bits-bit bundle cannot install this package: $lack\\vt_perplatform.sys, $lack\\vt_perplatform.dll"
expect_json_same

echo "-- the same INF with no source files at all"
mkdir -p "$CASE_UNIX/NoSources"
per_platform_inf "$CASE_UNIX/NoSources/vt_PerPlatform.inf"
pack "$CASE_UNIX/NoSources" "$CASE_UNIX/nosources.7z"
expect_eq "exit code of vantrel-pack" "$PACK_RC" 4
expect_message "each platform's first reason" \
  'vantrel-pack: no platform can install this package: the 32-bit bundle lacks "x86\vt_perplatform.sys"; the 64-bit bundle lacks "amd64\vt_perplatform.sys"'
expect_no_path "$CASE_UNIX/nosources.7z" "package of the folder without sources"

echo "-- a folder without an INF"
mkdir -p "$CASE_UNIX/noinf"
echo "payload" >"$CASE_UNIX/noinf/payload.txt"
pack "$CASE_UNIX/noinf" "$CASE_UNIX/noinf.7z"
expect_eq "exit code of vantrel-pack" "$PACK_RC" 2
expect_message "the reason given" "the folder holds no INF file"
expect_no_path "$CASE_UNIX/noinf.7z" "package of the folder without an INF"

echo "-- a folder with a link (Wine shows a Unix symbolic link as one)"
mkdir -p "$CASE_UNIX/linked" "$CASE_UNIX/elsewhere"
write_inf "$CASE_UNIX/linked/vt_PackLinked.inf" PackLinked
ln -sfn ../elsewhere "$CASE_UNIX/linked/i386"
pack "$CASE_UNIX/linked" "$CASE_UNIX/linked.7z"
expect_eq "exit code of vantrel-pack" "$PACK_RC" 2
expect_message "the link named" 'the folder holds a link, "i386"'
e2e_finish
