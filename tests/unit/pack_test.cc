// The package builder's rules that need no Windows: its arguments, the names
// it gives the cabinets, the folders it refuses and what it accepts of an INF.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include <nlohmann/json.hpp>

#include "base/text.h"
#include "inf_text.h"
#include "memory_machine.h"
#include "memory_pack_machine.h"
#include "pack/deployment_tools.h"
#include "pack/example_commands.h"
#include "pack/folder_plan.h"
#include "pack/package_layout.h"
#include "pack/package_view.h"
#include "pack/pack_program.h"
#include "pack/arguments.h"
#include "record/receipt.h"
#include "remove/removal_argument.h"
#include "run/child_commands.h"
#include "run/install_exits.h"
#include "run/remove_exits.h"

namespace vantrel {
namespace {

using Action = PackRequest::Action;

TEST(PackArguments, HelpTwoPathsOrAUsageError) {
  for (const wchar_t* help : {L"--help", L"-h", L"/?"}) {
    EXPECT_EQ(ParseArguments({help}).action, Action::kHelp) << help;
  }
  const PackRequest pack = ParseArguments({L"C:\\src", L"D:\\out.7z"});
  EXPECT_EQ(pack.action, Action::kPack);
  EXPECT_EQ(pack.source, L"C:\\src");
  EXPECT_EQ(pack.output, L"D:\\out.7z");
  EXPECT_EQ(ParseArguments({}).action, Action::kUsageError);
  EXPECT_EQ(ParseArguments({L"C:\\src"}).action, Action::kUsageError);
  EXPECT_EQ(ParseArguments({L"a", L"b", L"c"}).action, Action::kUsageError);
  EXPECT_EQ(ParseArguments({L"", L"b.7z"}).action, Action::kUsageError);
  EXPECT_EQ(ParseArguments({L"--help", L"b.7z"}).action, Action::kPack);
  // --show [--json] takes one path; the options in either order, each once.
  using Args = std::vector<std::wstring>;
  for (const Args& show : {Args{L"--show", L"C:\\p"}, Args{L"--show", L"--json", L"C:\\p"},
                           Args{L"--json", L"--show", L"C:\\p"}}) {
    const PackRequest request = ParseArguments(show);
    EXPECT_EQ(request.action, Action::kShow) << show.size();
    EXPECT_EQ(request.json, show.size() == 3) << show.size();
    EXPECT_EQ(request.source, L"C:\\p");
  }
  for (const Args& wrong : {Args{L"--show"}, Args{L"--json", L"C:\\p"},
                            Args{L"--show", L"--show", L"C:\\p"}, Args{L"--show", L"a", L"b"}}) {
    EXPECT_EQ(ParseArguments(wrong).action, Action::kUsageError) << wrong.size();
  }

  EXPECT_TRUE(IsInsideFolder(L"C:\\Pkg\\out.7z", L"C:\\pkg"));
  EXPECT_TRUE(IsInsideFolder(L"C:\\pkg\\sub\\out.7z", L"C:\\pkg\\"));
  EXPECT_FALSE(IsInsideFolder(L"C:\\pkg.7z", L"C:\\pkg"));
  EXPECT_FALSE(IsInsideFolder(L"C:\\pkg2\\out.7z", L"C:\\pkg"));
}

TEST(PackNames, CompressedInfAndCabinetNamedAfterTheFolder) {
  EXPECT_EQ(CompressedInfName(L"foo.inf"), L"foo.in_");
  EXPECT_EQ(CompressedInfName(L"My Driver.INF"), L"My Driver.IN_");
  EXPECT_EQ(CabinetName(L"C:\\Packages\\My Driver Package"), L"My_Driver_Package.cab");
  EXPECT_EQ(CabinetName(L"C:\\Packages\\drv\\"), L"drv.cab");
  EXPECT_EQ(CabinetName(L"\\\\server\\share\\drv"), L"drv.cab");
  EXPECT_EQ(CabinetName(L"C:\\"), L"payload.cab");
}

TEST(PackFolder, OneInfAndFilesOrARefusal) {
  const FolderPlan plan = PlanFolder({{L"b.dll"}, {L"SETUP.INF"}, {L"a.txt"}});
  EXPECT_EQ(plan.problem, L"");
  EXPECT_EQ(plan.inf, L"SETUP.INF");
  EXPECT_EQ(plan.payload, (std::vector<std::wstring>{L"a.txt", L"b.dll"}));
  // The compressed INF of another package is payload, not an INF.
  EXPECT_EQ(PlanFolder({{L"x.inf"}, {L"y.in_"}, {L"readme.information"}}).payload.size(), 2u);

  EXPECT_NE(PlanFolder({}).problem.find(L"empty"), std::wstring::npos);
  EXPECT_NE(PlanFolder({{L"a.txt"}}).problem.find(L"no INF"), std::wstring::npos);
  const std::wstring several = PlanFolder({{L"b.inf"}, {L"a.inf"}}).problem;
  EXPECT_NE(several.find(L"several INF files (a.inf, b.inf)"), std::wstring::npos) << several;
  // Subfolders hold files like any other; an INF in one is not the package's.
  const FolderPlan deep = PlanFolder({{L"a.inf"}, {L"i386", true}, {L"i386\\x.inf"}});
  EXPECT_EQ(deep.problem, L"");
  EXPECT_EQ(deep.payload, std::vector<std::wstring>{L"i386\\x.inf"});
  // A link is never packed as what it leads to.
  const FolderPlan linked = PlanFolder({{L"a.inf"}, {L"i386", true, true}});
  EXPECT_NE(linked.problem.find(L"a link, \"i386\""), std::wstring::npos) << linked.problem;
}

std::vector<std::wstring> Placed(const PackageLayout& layout) {
  std::vector<std::wstring> placed;
  for (const PackedFile& file : layout.files) {
    placed.push_back(file.from + L" -> " + (file.inCabinet ? L"cab:" : L"") + file.to);
  }
  return placed;
}

bool Mentions(const std::vector<std::wstring>& lines, const std::wstring& text) {
  for (const std::wstring& line : lines) {
    if (line.find(text) != std::wstring::npos) return true;
  }
  return false;
}

TEST(PackLayout, EachSourceWhereTheInfLooksForIt) {
  // A universal INF: decorated install sections only, its driver per
  // platform in a subfolder, a file beside the INF, one in a folder of its
  // own, and a copy of itself for i386. The folder mirrors the layout, apart
  // from the files of a flat folder that sit beside the INF.
  const InfText inf(LR"(
[DefaultInstall.NTx86]
CopyFiles = Drv, Docs, @vdisk.inf
[DefaultInstall.NTamd64]
CopyFiles = Drv, Docs
[DefaultUninstall]
DelFiles = Drv
[Drv]
vdisk.sys
[Docs]
readme.txt
tool.exe
[SourceDisksNames]
1 = "Disk",,,
[SourceDisksFiles.x86]
vdisk.sys = 1, I386
vdisk.inf = 1, .\i386
[SourceDisksFiles.amd64]
vdisk.sys = 1, amd64\sys
[SourceDisksFiles]
tool.exe = 1, bin
)");
  const PackageLayout layout = LayOutPackage(
      inf, L"vdisk.inf", {L"vdisk.sys", L"amd64\\sys\\vdisk.sys", L"readme.txt", L"bin\\tool.exe"});
  EXPECT_EQ(layout.code, PackExit::kMade);
  EXPECT_TRUE(layout.refusals.empty());
  EXPECT_TRUE(layout.warnings.empty());
  EXPECT_EQ(Placed(layout),
            (std::vector<std::wstring>{L"vdisk.sys -> cab:vdisk.sys", L"readme.txt -> readme.txt",
                                       L"bin\\tool.exe -> bin\\tool.exe",
                                       L"vdisk.inf -> cab:vdisk.inf",
                                       L"amd64\\sys\\vdisk.sys -> amd64\\sys\\vdisk.sys"}));
  EXPECT_EQ(layout.platforms,
            (std::vector<std::wstring>{L"x86: DefaultInstall.NTx86 (the 32-bit bundle)",
                                       L"amd64: DefaultInstall.NTamd64 (the 64-bit bundle)"}));

  // The classic flat package: everything beside the INF, the INF says i386.
  const PackageLayout flat = LayOutPackage(
      InfText(L"[DefaultInstall]\nCopyFiles=F\n[F]\na.dll\n[SourceDisksNames]\n1=d,,,i386\n"
              L"[SourceDisksFiles]\na.dll=1\n"),
      L"a.inf", {L"A.DLL", L"notes.txt"});
  EXPECT_EQ(Placed(flat),
            (std::vector<std::wstring>{L"A.DLL -> cab:a.dll", L"notes.txt -> cab:notes.txt"}));
  EXPECT_TRUE(Mentions(flat.warnings, L"\"notes.txt\" is in the folder but the INF never names it"));
  EXPECT_TRUE(Mentions(flat.warnings, L"no DefaultUninstall section for x86: the package cannot be "
                                      L"removed with vantrel-remove.exe"));
}

TEST(PackLayout, OnlyWhatCannotInstallIsRefusedTheRealReasonFirst) {
  // Only for amd64: made, with a warning for the 32-bit bundle.
  const PackageLayout wide = LayOutPackage(InfText(L"[DefaultInstall.NTamd64]\n"), L"w.inf", {});
  EXPECT_EQ(wide.code, PackExit::kMade);
  EXPECT_EQ(wide.warnings, (std::vector<std::wstring>{
                               L"the INF has no install section for x86 (looked for "
                               L"[DefaultInstall.NTx86], [DefaultInstall.NT], [DefaultInstall]): "
                               L"the 32-bit bundle cannot install this package",
                               L"the INF has no DefaultUninstall section for amd64: the package "
                               L"cannot be removed with vantrel-remove.exe"}));

  const PackageLayout none = LayOutPackage(InfText(L"[DefaultUninstall]\n"), L"n.inf", {});
  EXPECT_EQ(none.code, PackExit::kInfRefused);
  EXPECT_EQ(none.refusals, std::vector<std::wstring>{
                               L"the INF has no install section for any platform (looked for "
                               L"[DefaultInstall.NTx86], [DefaultInstall.NT], [DefaultInstall], "
                               L"[DefaultInstall.NTamd64])"});
  // Another installed driver's INF in the INF folder bears that name.
  const PackageLayout oem = LayOutPackage(InfText(L"[DefaultInstall]\n"), L"oem4.inf", {});
  EXPECT_EQ(oem.code, PackExit::kInfRefused);
  EXPECT_TRUE(Mentions(oem.refusals, L"\"oem4.inf\" is the name Windows gives")) << oem.refusals[0];

  // A missing file decides the code and comes first; outside places, a
  // missing file-list section and a cabinet beside the INF are refused too.
  const PackageLayout bad = LayOutPackage(InfText(LR"(
[DefaultInstall]
CopyFiles = F, Gone
[F]
far.dll
up.dll
extra.cab
lost.sys
[SourceDisksNames]
1 = d,,,D:\drivers
2 = e,,,..\other
[SourceDisksFiles]
far.dll = 1
up.dll = 2
)"),
                                          L"b.inf", {L"extra.cab"});
  EXPECT_EQ(bad.code, PackExit::kMissingSource);
  ASSERT_EQ(bad.refusals.size(), 6u);
  EXPECT_EQ(bad.refusals.back(), L"no platform can install this package: the 32-bit bundle lacks "
                                 L"\"lost.sys\"; the 64-bit bundle lacks \"lost.sys\"");
  EXPECT_EQ(bad.refusals[0], L"the INF names the source file \"lost.sys\", which the folder lacks "
                             L"(neither there nor beside the INF)");
  EXPECT_TRUE(Mentions(bad.refusals, L"\"far.dll\" from \"D:\\drivers\", which is outside"));
  EXPECT_TRUE(Mentions(bad.refusals, L"\"up.dll\" from \"..\\other\", which is outside"));
  EXPECT_TRUE(Mentions(bad.refusals, L"[Gone], which the INF lacks"));
  EXPECT_TRUE(Mentions(bad.refusals, L"\"extra.cab\" from beside it"));
}

// Sources for both platforms in subfolders of their own, the folder holding
// only one platform's: packed for that one, the other named with what it
// lacks; with none of them, refused with each platform's first reason.
TEST(PackLayout, EachPlatformJudgedByItsOwnSources) {
  std::wstring text = LR"(
[DefaultInstall.NTx86]
CopyFiles = Drv
[DefaultInstall.NTamd64]
CopyFiles = Drv
[DefaultUninstall]
[Drv]
vdisk.sys
vdisk.dll
common.cat
[SourceDisksNames]
1 = "Disk",,,
[SourceDisksFiles]
common.cat = 1
[SourceDisksFiles.x86]
vdisk.sys = 1, x86
vdisk.dll = 1, x86
[SourceDisksFiles.amd64]
vdisk.sys = 1, x64
vdisk.dll = 1, x64
)";
  std::vector<std::wstring> files{L"x86\\vdisk.sys", L"x86\\vdisk.dll", L"common.cat"};
  const PackageLayout x86 = LayOutPackage(InfText(text), L"v.inf", files);
  EXPECT_EQ(x86.code, PackExit::kMade);
  EXPECT_TRUE(x86.refusals.empty());
  EXPECT_EQ(x86.platforms, std::vector<std::wstring>{L"x86: DefaultInstall.NTx86 (the 32-bit bundle)"});
  EXPECT_EQ(x86.warnings, std::vector<std::wstring>{
                              L"the folder lacks source files that [DefaultInstall.NTamd64] copies "
                              L"on amd64, so the 64-bit bundle cannot install this package: "
                              L"x64\\vdisk.sys, x64\\vdisk.dll"});
  EXPECT_EQ(Placed(x86), (std::vector<std::wstring>{L"x86\\vdisk.sys -> x86\\vdisk.sys",
                                                    L"x86\\vdisk.dll -> x86\\vdisk.dll",
                                                    L"common.cat -> common.cat"}));

  // At most ten lacking files named, the rest counted.
  for (int i = 0; i < 11; ++i) {
    const std::wstring name = L"f" + std::to_wstring(i) + L".dll";
    text += name + L" = 1, x64\n";
    text.insert(text.find(L"[SourceDisksFiles.amd64]"), name + L" = 1, x86\n");
    text.insert(text.find(L"common.cat\n"), name + L"\n");
    files.push_back(L"x86\\" + name);
  }
  const PackageLayout wide = LayOutPackage(InfText(text), L"v.inf", files);
  EXPECT_EQ(wide.code, PackExit::kMade);
  ASSERT_EQ(wide.warnings.size(), 1u);
  EXPECT_NE(wide.warnings[0].find(L"install this package: x64\\vdisk.sys, x64\\vdisk.dll, "
                                  L"x64\\f0.dll, x64\\f1.dll"),
            std::wstring::npos)
      << wide.warnings[0];
  EXPECT_NE(wide.warnings[0].find(L"x64\\f7.dll and 3 more"), std::wstring::npos) << wide.warnings[0];
  EXPECT_EQ(wide.warnings[0].find(L"f8.dll"), std::wstring::npos) << wide.warnings[0];

  const PackageLayout none = LayOutPackage(InfText(text), L"v.inf", {L"common.cat"});
  EXPECT_EQ(none.code, PackExit::kMissingSource);
  EXPECT_EQ(none.refusals.front(), L"the INF names the source file \"x86\\vdisk.sys\", which the "
                                   L"folder lacks (neither there nor beside the INF)");
  EXPECT_EQ(none.refusals.back(), L"no platform can install this package: the 32-bit bundle lacks "
                                  L"\"x86\\vdisk.sys\"; the 64-bit bundle lacks \"x64\\vdisk.sys\"");
  EXPECT_FALSE(Mentions(none.warnings, L"cannot install"));
}

// What --show tells: per platform the section, files with their places and
// folders, values with whether the check tests them, services and what the
// check cannot see, and the command lines an install runs with the bundle
// in the example folder; then per deployment tool what its app needs, the
// rule by this package's hash; the JSON holds the same, as UTF-8, and
// Intune's app as Graph's body for each bundle that installs it.
TEST(PackView, WhatEachPlatformWillDoAsTextAndJson) {
  const InfText inf(LR"(
[Version]
DriverVer = 03/04/2025, 2.1.0.7
[DefaultInstall.NTx86]
CopyFiles = Drv, @readme.txt
AddReg = Reg
RegisterDlls = Dlls
UpdateInis = , Inis
Needs = Extra, Base.Install
[DefaultInstall.NTx86.Services]
AddService = VtSvc,, Svc
[DefaultInstall.NTamd64]
CopyFiles = Drv
[Extra]
AddReg = ExtraReg
Needs = Deeper
[Svc]
StartType = 3
ServiceBinary = C:\W\drivers\vt.sys
[Drv]
vt.sys
vt.dll, vt32.dll
[Reg]
HKLM,"Software\Zürich","Installed",0x10001,1
HKR,,"Device",0,"x"
HKCU,"Software\Keep","Kept",0x2,"k"
[ExtraReg]
HKLM,"Software\Extra","Path",0x20000,"p"
[DestinationDirs]
Drv = 12
DefaultDestDir = 16422, Vendor
[SourceDisksNames]
1 = d,,,
[SourceDisksFiles.x86]
vt.sys = 1, x86
vt32.dll = 1, x86
[SourceDisksFiles.amd64]
vt.sys = 1, x64
)");
  const auto present = [](const SourceFile& file) { return PlacePath(file).find(L"x64") != 0; };
  PackageView view = ViewPackage(
      inf, JudgeArchitectures(inf, present),
      [](const std::wstring& list) { return L"C:\\W\\" + (list.empty() ? L"default" : list); },
      L"package");
  view.inf = L"vt.inf";
  view.from = L"C:\\vt.7z";
  view.package = L"vt.7z";
  // The package's SHA-256, as vantrel-pack computes it.
  const std::wstring sha = L"ab12" + std::wstring(60, L'c');
  view.detection = {ReadDriverVer(inf), L"vt.inf", sha};
  AddExampleCommands(view);
  const std::wstring text = ViewText(view);
  const std::size_t tools = text.find(L"tool      Intune\n");
  ASSERT_NE(tools, std::wstring::npos) << text;
  const auto lines = [&](const std::wstring& start) {
    std::vector<std::wstring> found;
    for (std::size_t at = text.find(L"\n" + start); at != std::wstring::npos;
         at = text.find(L"\n" + start, at + 1)) {
      found.push_back(text.substr(at + 1, text.find(L'\n', at + 1) - at - 1));
    }
    return found;
  };
  // The view's own lines; the commands and the receipt's key are checked
  // below against an install of the package.
  std::wstring own;
  for (const std::wstring& line : Split(text.substr(0, tools), L'\n')) {
    if (!line.empty() && line.rfind(L"  command ", 0) != 0 && line.rfind(L"receipt ", 0) != 0) {
      own += line + L"\n";
    }
  }
  EXPECT_EQ(own, LR"(vt.inf, read from C:\vt.7z
x86 (the 32-bit bundle): [DefaultInstall.NTx86] with Needs [Extra]
  file    vt.sys from x86\vt.sys to DIRID 12 = C:\W\Drv
  file    vt.dll from x86\vt32.dll to DIRID 12 = C:\W\Drv
  file    readme.txt from readme.txt to DIRID 16422\Vendor = C:\W\default
  value   HKLM\Software\Zürich [Installed] REG_DWORD, checked
  value   HKR [Device] REG_SZ, not checked: HKR has no key outside a device install
  value   HKCU\Software\Keep [Kept] REG_SZ, not checked: no-clobber or overwrite-only: it may stay as it was
  value   HKLM\Software\Extra [Path] REG_EXPAND_SZ, checked
  service VtSvc: C:\W\drivers\vt.sys, start demand, checked
  unseen  AddReg HKR,,Device in [Reg]: HKR has no key outside a device install
  unseen  RegisterDlls=Dlls in [DefaultInstall.NTx86]
  unseen  UpdateInis=,Inis in [DefaultInstall.NTx86]
  unseen  Needs=Base.Install in [DefaultInstall.NTx86]: a section of an included system INF, which the engine reads on the target
  unseen  Needs=Deeper in [Extra]: the engine does not follow a needed section's Needs
amd64 (the 64-bit bundle): cannot install: the package lacks source files that [DefaultInstall.NTamd64] copies on amd64, so the 64-bit bundle cannot install this package: x64\vt.sys
DriverVer 03/04/2025,2.1.0.7 (version 2.1.0.7; date 2025-03-04)
)");
  EXPECT_EQ(lines(L"tool "), (std::vector<std::wstring>{L"tool      Intune",
                                                        L"tool      Configuration Manager",
                                                        L"tool      Group Policy",
                                                        L"tool      Ansible"}));
  const nlohmann::json json = nlohmann::json::parse(ViewJson(view));
  const nlohmann::json& app = json["intuneApps"][0]["win32LobApp"];
  const auto argumentOf = [](const std::wstring& command) {
    return command.substr(command.find(L".exe ") + 5);
  };

  // The install command, started in the bundle folder as the tools start
  // it, on a Windows in the view's folder, runs the commands shown and
  // writes the receipt whose key the rules test.
  const std::wstring windows = kExampleWindowsFolder, work = windows + L"\\Temp\\Vantrel";
  const std::wstring installCommand = lines(L"  install ")[0].substr(15);
  EXPECT_EQ(app["installCommandLine"], ToUtf8(installCommand));
  MemoryMachine install;
  install.currentFolder = kExampleBundleFolder;
  install.environment = {L"SystemDrive=C:", L"SystemRoot=" + windows};
  install.systemFolder = windows + L"\\System32";
  install.argumentText = argumentOf(installCommand);
  install.existingPaths = {std::wstring(kExampleBundleFolder) + L"\\vt.7z", work + L"\\vt.inf"};
  install.firstMatches[work + L"\\*.inf"] = L"vt.inf";
  install.infTexts[work + L"\\vt.inf"] = L"[DefaultInstall]\nAddReg=R\n";
  ASSERT_EQ(install.RunProgram(), 0u);
  const std::vector<ViewedCommand>& shown = view.platforms[0].commands;
  ASSERT_EQ(shown.size(), install.launched.size());
  for (std::size_t i = 0; i < shown.size(); ++i) {
    EXPECT_EQ(shown[i].program, install.launchedPrograms[i]);
    EXPECT_EQ(shown[i].commandLine, install.launched[i]);
    EXPECT_NE(text.find(L": " + install.launched[i] + L"\n"), std::wstring::npos) << i;
  }
  const std::wstring key = FromUtf8(json["detection"]["receiptKey"]);
  const std::wstring subkey = key.substr(key.find(L'\\') + 1);
  EXPECT_EQ(key, L"HKEY_LOCAL_MACHINE\\" + subkey);
  EXPECT_NE(std::find(install.events[0].begin(), install.events[0].end(),
                      L"Receipt: HKLM\\" + subkey + L" written; there was none before"),
            install.events[0].end());
  EXPECT_NE(lines(L"receipt ")[0].find(key), std::wstring::npos);
  // Every tool's rule: that key, the value the package's hash is kept in,
  // this package's hash; the removal takes this package only.
  ASSERT_EQ(lines(L"  detection ").size(), 4u);
  for (const std::wstring& rule : lines(L"  detection ")) {
    EXPECT_NE(rule.find(subkey), std::wstring::npos) << rule;
    EXPECT_NE(rule.find(kPackageSha256Value), std::wstring::npos) << rule;
    EXPECT_NE(rule.find(sha), std::wstring::npos) << rule;
  }
  EXPECT_EQ(app["rules"][0]["keyPath"], json["detection"]["receiptKey"]);
  EXPECT_EQ(app["rules"][0]["valueName"], ToUtf8(kPackageSha256Value));
  EXPECT_EQ(app["rules"][0]["comparisonValue"], ToUtf8(sha));
  const std::wstring uninstall = lines(L"  uninstall ")[0].substr(15);
  EXPECT_EQ(lines(L"  uninstall "), std::vector<std::wstring>(4, L"  uninstall    " + uninstall));
  EXPECT_EQ(uninstall.find(L"vantrel-remove.exe "), 0u);
  const RemovalArgument removal = ParseRemovalArgument(argumentOf(uninstall));
  EXPECT_EQ(removal.infName + L" " + removal.packageSha256, L"vt.inf " + sha);
  EXPECT_EQ(app["uninstallCommandLine"], ToUtf8(uninstall));
  EXPECT_EQ(lines(L"  return codes ")[0],
            L"  return codes Success: 0, 13, 18, 19; Soft reboot: 3010; Retry: 7, 1618; Failed: 1, "
            L"2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 14, 15, 16, 17");
  // The amd64 section keeps the 32-bit bundle off 64-bit Windows even where
  // the 64-bit bundle lacks its sources.
  EXPECT_EQ(lines(L"  requirement ")[0],
            L"  requirement  the 32-bit bundle: Operating system architecture x86");
  EXPECT_EQ(lines(L"  requirement ")[1], L"  requirement  the 32-bit bundle: 32-bit Windows");
  // The codes both programs return mean the same to the tools.
  for (std::size_t i = 0; i < kRemoveExits.count; ++i) {
    const ExitRow& removal = kRemoveExits.rows[i];
    if (const ExitRow* installs = kInstallExits.Find(removal.code)) {
      EXPECT_EQ(kInstallExits.ToolsTake(*installs), kRemoveExits.ToolsTake(removal))
          << removal.code;
    }
  }

  EXPECT_EQ(json["inf"], "vt.inf");
  const nlohmann::json& x86 = json["platforms"][0];
  EXPECT_EQ(x86["platform"], "x86");
  EXPECT_EQ(x86["section"], "DefaultInstall.NTx86");
  ASSERT_EQ(x86["files"].size(), 3u);
  EXPECT_EQ(x86["files"][1]["source"], "x86\\vt32.dll");
  EXPECT_EQ(x86["files"][2]["subfolder"], "Vendor");
  EXPECT_EQ(x86["files"][2]["folder"], "C:\\W\\default");
  ASSERT_EQ(x86["registry"].size(), 4u);
  EXPECT_EQ(x86["registry"][0]["key"], "Software\\Z\xC3\xBCrich");
  EXPECT_EQ(x86["registry"][0]["checked"], true);
  EXPECT_EQ(x86["registry"][1]["checked"], false);
  EXPECT_EQ(x86["services"][0]["start"], "demand");
  EXPECT_EQ(x86["unseen"].size(), 5u);
  // WoW64 redirects the 32-bit bundle's system folder, not its own.
  EXPECT_EQ(x86["commands"][1].count("programOn64BitWindows"), 0u);
  EXPECT_EQ(x86["commands"][3]["programOn64BitWindows"],
            ToUtf8(windows + L"\\SysWOW64\\rundll32.exe"));
  EXPECT_EQ(json["platforms"][1]["installs"], false);
  EXPECT_EQ(json["platforms"][1].count("files"), 0u);
  EXPECT_EQ(json["platforms"][1].count("commands"), 0u);
  EXPECT_EQ(json["detection"]["driverVer"]["version"], "2.1.0.7");
  EXPECT_EQ(json["detection"]["driverVer"]["whyNoVersion"], nullptr);
  EXPECT_EQ(json["tools"].size(), 4u);
  ASSERT_EQ(json["intuneApps"].size(), 1u);
  EXPECT_EQ(json["intuneApps"][0]["bundle"], "the 32-bit bundle");
  EXPECT_EQ(app["applicableArchitectures"], "x86");
  EXPECT_EQ(app["installExperience"]["deviceRestartBehavior"], "basedOnReturnCode");
  ASSERT_EQ(app["rules"].size(), 1u);
  std::map<int, std::string> types;
  for (const nlohmann::json& code : app["returnCodes"]) types[code["returnCode"]] = code["type"];
  // Every code of both programs, each once.
  EXPECT_EQ(types.size(), 22u);
  EXPECT_EQ(app["returnCodes"].size(), types.size());
  for (const auto& [code, type] : std::map<int, std::string>{
           {0, "success"}, {5, "failed"}, {7, "retry"}, {13, "success"}, {17, "failed"},
           {18, "success"}, {19, "success"}, {1618, "retry"}, {3010, "softReboot"}}) {
    EXPECT_EQ(types[code], type) << code;
  }

  // An INF with no section of its own for amd64: the 32-bit bundle serves
  // 64-bit Windows too.
  const InfText plain(L"[DefaultInstall]\nAddReg=R\n");
  PackageView both =
      ViewPackage(plain, JudgeArchitectures(plain, [](const SourceFile&) { return true; }),
                  [](const std::wstring&) { return std::wstring(); }, L"package");
  EXPECT_EQ(WindowsArchitectures(both, InfArchitecture::kX86),
            (std::vector<std::wstring>{L"x86", L"x64"}));
  EXPECT_EQ(WindowsArchitectures(both, InfArchitecture::kAmd64), std::vector<std::wstring>{L"x64"});

  // A folder not yet packed: the rules and the removal wait for the hash,
  // and there is no app to create yet.
  both.inf = L"vt.inf";
  both.detection = {ReadDriverVer(plain), L"vt.inf", L""};
  ASSERT_EQ(DetectionRules(both.detection).size(), 4u);
  for (const DetectionRule& rule : DetectionRules(both.detection)) {
    EXPECT_NE(rule.rule.find(L"vantrel-pack --show"), std::wstring::npos) << rule.rule;
  }
  EXPECT_EQ(nlohmann::json::parse(ViewJson(both))["intuneApps"].size(), 0u);
  const DetectionView unpacked{ReadDriverVer(InfText(L"[Version]\nDriverVer=03/04/2025\n")),
                               L"vt.inf", L""};
  EXPECT_EQ(DriverVerText(unpacked), L"03/04/2025 (no version usable: DriverVer gives no version "
                                     L"after its date; date 2025-03-04)");
}

const std::wstring kSevenZipFolder = L"C:\\Program Files\\Vantrel";

TEST(PackBuild, TheOldPackageGoesBeforeSevenZipWritesInTheStageFolder) {
  for (const std::uint32_t sevenZipExit : {0u, 2u}) {
    MemoryPackMachine machine;
    const std::wstring stage = machine.stageFolder, package = L"C:\\Out\\drv.7z";
    machine.folders = {L"C:\\Drv"};
    machine.existingPaths = {kSevenZipFolder + L"\\7z.exe", package};
    machine.trees[L"C:\\Drv"] = {{L"drv.inf"}, {L"drv.sys"}};
    machine.infTexts[L"C:\\Drv\\drv.inf"] =
        L"[DefaultInstall]\nCopyFiles=Drv\n[Drv]\ndrv.sys\n[SourceDisksNames]\n1=\"Disk\",,,i386\n"
        L"[SourceDisksFiles]\ndrv.sys=1\n";
    machine.childFor = [&](const std::wstring&) { return ChildScript(true, 0, sevenZipExit); };
    const int exit = RunPackProgram(machine, {L"C:\\Drv", package});

    const std::wstring sevenZip = SevenZipProgram(kSevenZipFolder);
    // 7-Zip starts in the stage folder; the program's own folder stays.
    const std::size_t archiving = machine.IndexOfCall(
        L"LaunchHidden " + Quoted(PackArchiveCommand(sevenZip, package, {L"drv.in_", L"Drv.cab"})) +
        L" in " + Quoted(stage));
    ASSERT_LT(archiving, machine.calls.size()) << sevenZipExit;
    EXPECT_LT(machine.IndexOfCall(L"WriteCabinet " + Quoted(stage + L"\\Drv.cab") + L" drv.sys"),
              machine.IndexOfCall(L"DeleteTree " + Quoted(package)));
    EXPECT_LT(machine.IndexOfCall(L"DeleteTree " + Quoted(package)), archiving);
    EXPECT_EQ(machine.calls.back(), L"DeleteTree " + Quoted(stage));
    if (sevenZipExit == 0) {
      EXPECT_EQ(exit, 0);
      ASSERT_FALSE(machine.out.empty());
      EXPECT_EQ(machine.out[0], L"vantrel-pack: made C:\\Out\\drv.7z (drv.in_, Drv.cab with 1 "
                                L"file(s) for i386)");
    } else {
      // No half-written package is left where the old one was.
      EXPECT_EQ(exit, 5);
      EXPECT_EQ(machine.existingPaths.count(package), 0u);
      EXPECT_TRUE(machine.out.empty());
      EXPECT_EQ(machine.errors.back(),
                L"vantrel-pack: 7z.exe ended with exit code 2 writing C:\\Out\\drv.7z");
    }
  }
}

TEST(PackBuild, AFolderWhereThePackageWouldGoStays) {
  MemoryPackMachine machine;
  const std::wstring package = L"C:\\Out\\drv.7z";
  machine.folders = {L"C:\\Drv", package};
  machine.existingPaths = {kSevenZipFolder + L"\\7z.exe", package};
  machine.trees[L"C:\\Drv"] = {{L"drv.inf"}};
  machine.infTexts[L"C:\\Drv\\drv.inf"] = L"[DefaultInstall]\nAddReg=R\n";
  EXPECT_EQ(RunPackProgram(machine, {L"C:\\Drv", package}), 5);
  EXPECT_EQ(machine.IndexOfCall(L"DeleteTree " + Quoted(package)), machine.calls.size());
  EXPECT_TRUE(machine.launched.empty());
  ASSERT_FALSE(machine.errors.empty());
  EXPECT_NE(machine.errors.back().find(L"names a folder: C:\\Out\\drv.7z"), std::wstring::npos);
}

TEST(PackShow, UnpacksAPackageAsAnInstallDoesWarningsIncluded) {
  // The install's own 7-Zip runs, for the same package from the same
  // folders.
  MemoryMachine install = ReadyToInstall();
  ASSERT_EQ(install.RunProgram(), 0u);
  ASSERT_EQ(install.launched.size(), 4u);
  const std::vector<std::wstring> unpacking(install.launched.begin(), install.launched.end() - 1);
  for (const std::uint32_t sevenZipExit : {1u, 2u}) {
    MemoryPackMachine machine;
    machine.programFolder = install.shortPaths[install.programFolder];
    machine.stageFolder = kWorkFolder;
    const std::wstring stage = machine.stageFolder;
    const std::wstring package = install.shortPaths[L"C:\\Package Store\\driver.7z"];
    machine.existingPaths = {machine.programFolder + L"\\7z.exe", package};
    machine.trees[stage] = {{L"drv.inf"}};
    machine.infTexts[stage + L"\\drv.inf"] = L"[DefaultInstall]\nAddReg=R\n";
    machine.childFor = [&](const std::wstring&) { return ChildScript(true, 0, sevenZipExit); };
    const int exit = RunPackProgram(machine, {L"--show", package});

    if (sevenZipExit == 1) {
      // 7-Zip's warning: the install goes on, and so does --show.
      EXPECT_EQ(exit, 0);
      EXPECT_EQ(machine.launched, unpacking);
      ASSERT_FALSE(machine.out.empty());
      EXPECT_EQ(machine.out[0].substr(0, machine.out[0].find(L'\n')),
                L"drv.inf, read from " + package);
    } else {
      EXPECT_EQ(exit, 5);
      EXPECT_EQ(machine.errors,
                std::vector<std::wstring>{L"vantrel-pack: the package could not be read: unpacking "
                                          L"the package: 7z.exe ended with exit code 2: " +
                                          package});
    }
    EXPECT_EQ(machine.calls.back(), L"DeleteTree " + Quoted(stage));
  }
}

}  // namespace
}  // namespace vantrel
