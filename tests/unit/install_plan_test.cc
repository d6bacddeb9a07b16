// How an INF's DefaultInstall is read for each platform: the section the
// engine takes, the files its CopyFiles copy and where each must be.
#include <gtest/gtest.h>

#include "inf/install_plan.h"
#include "inf/section_effects.h"
#include "inf_text.h"

namespace vantrel {
namespace {

constexpr InfArchitecture kX86 = InfArchitecture::kX86;
constexpr InfArchitecture kAmd64 = InfArchitecture::kAmd64;

std::wstring Chosen(const std::wstring& sections, InfArchitecture architecture) {
  return PlanInstall(InfText(L"[Version]\nSignature=\"$Windows NT$\"\n" + sections), architecture)
      .section;
}

std::vector<std::wstring> Places(const InstallPlan& plan) {
  std::vector<std::wstring> places;
  for (const SourceFile& file : plan.sources) {
    places.push_back(file.outside ? L"outside: " + file.written : PlacePath(file));
  }
  return places;
}

TEST(InstallPlan, TheSectionTheEngineTakesOnEachPlatform) {
  struct Case {
    const wchar_t* sections;
    const wchar_t* x86;
    const wchar_t* amd64;
  };
  for (const Case& c : std::vector<Case>{
           {L"[DefaultInstall]\n", L"DefaultInstall", L"DefaultInstall"},
           {L"[defaultinstall.nt]\n", L"DefaultInstall.NT", L"DefaultInstall.NT"},
           {L"[DefaultInstall.NTx86]\n", L"DefaultInstall.NTx86", L""},
           {L"[DefaultInstall.NTamd64]\n", L"", L"DefaultInstall.NTamd64"},
           {L"[DefaultInstall]\n[DefaultInstall.NTx86]\n[DefaultInstall.NTamd64]\n",
            L"DefaultInstall.NTx86", L"DefaultInstall.NTamd64"},
           {L"[DefaultInstall.NT]\n[DefaultInstall.NTamd64]\n", L"DefaultInstall.NT",
            L"DefaultInstall.NTamd64"},
           {L"[DefaultUninstall]\n", L"", L""},
       }) {
    EXPECT_EQ(Chosen(c.sections, kX86), c.x86) << c.sections;
    EXPECT_EQ(Chosen(c.sections, kAmd64), c.amd64) << c.sections;
  }
  const InstallPlan none = PlanInstall(InfText(L"[Version]\n"), kX86);
  EXPECT_EQ(none.tried, (std::vector<std::wstring>{L"DefaultInstall.NTx86", L"DefaultInstall.NT",
                                                   L"DefaultInstall"}));
}

TEST(InstallPlan, WhereEachSourceFileMustBe) {
  const InfText inf(LR"(
[DefaultInstall.NTx86]
CopyFiles = Drivers, @readme.txt
CopyFiles = Tools
[DefaultInstall.NTamd64]
CopyFiles = Drivers
[Drivers]
vdisk.sys
vdisk.cat, %CatalogSource%    ; the source name differs from the destination's
[Tools]
tool.exe,,,0x4
shared.dll
outside.dll
climbs.dll
[SourceDisksNames]
1 = %Disk%,,,""
2 = "Tools disk",,,\tools\
3 = "Elsewhere",,,C:\drivers
[SourceDisksNames.x86]
1 = %Disk%,,,.\i386
[SourceDisksFiles]
vdisk.sys = 1, x86
vdisk_signed.cat = 1
tool.exe = 2, bin
shared.dll = 2
outside.dll = 3
climbs.dll = 2, ..\..\up
[SourceDisksFiles.amd64]
vdisk.sys = 1, amd64
[Strings]
Disk = "Virtual disk"
CatalogSource = "vdisk_signed.cat"
)");
  // On x86 the decorated disk 1 is i386; a subfolder joins the disk's path;
  // readme.txt has no entry, so it lies beside the INF; a disk path of its
  // own or one climbing out of the package is outside it.
  EXPECT_EQ(Places(PlanInstall(inf, kX86)),
            (std::vector<std::wstring>{L"i386\\x86\\vdisk.sys", L"i386\\vdisk_signed.cat",
                                       L"readme.txt", L"tools\\bin\\tool.exe",
                                       L"tools\\shared.dll", L"outside: C:\\drivers",
                                       L"outside: \\tools\\\\..\\..\\up"}));
  // On amd64 the decorated file entry wins; disk 1 is the undecorated one.
  EXPECT_EQ(Places(PlanInstall(inf, kAmd64)),
            (std::vector<std::wstring>{L"amd64\\vdisk.sys", L"vdisk_signed.cat"}));
  EXPECT_TRUE(SameFolder(L".\\I386\\", L"i386"));
  EXPECT_FALSE(SameFolder(L"i386\\sub", L"i386"));
}

TEST(InstallPlan, NeedsSectionsOfThisInfAndAnInfThatCopiesItself) {
  const InfText inf(LR"(
[DefaultInstall.NT]
Include = ks.inf
Needs = KS.Registration, Extra.Install
CopyFiles = Own, Gone
[Extra.Install]
CopyFiles = Extra.Files
AddReg = Extra.Reg
Needs = Deeper
[Extra.Install.Services]
AddService = ExtraSvc,,Svc
[Extra.Reg]
HKLM,Software\Extra,Value,,1
[Deeper]
CopyFiles = Deeper.Files
AddReg = Deeper.Reg
[Deeper.Reg]
HKLM,Software\Deeper,Value,,1
[Extra.Files]
extra.dll
[Deeper.Files]
deeper.dll
[Own]
selfcopy.inf
[SourceDisksFiles]
selfcopy.inf = 1
extra.dll = 1
[SourceDisksNames]
1 = "Disk",,,i386
)");
  const InstallPlan plan = PlanInstall(inf, kX86);
  EXPECT_EQ(plan.section, L"DefaultInstall.NT");
  // KS.Registration is ks.inf's, supplied by the system; a needed section's
  // own Needs are not processed.
  EXPECT_EQ(plan.needs, std::vector<std::wstring>{L"Extra.Install"});
  EXPECT_EQ(Places(plan), (std::vector<std::wstring>{L"i386\\selfcopy.inf", L"i386\\extra.dll"}));
  EXPECT_EQ(plan.missingSections, std::vector<std::wstring>{L"Gone"});
  // The check after the INF installer expects what the same sections do.
  const ExpectedEffects effects = ExpectEffects(inf, plan.section);
  EXPECT_EQ(effects.services, std::vector<std::wstring>{L"ExtraSvc"});
  ASSERT_EQ(effects.registry.size(), 1u);
  EXPECT_EQ(RegistryEntryName(effects.registry[0]), L"HKLM\\Software\\Extra [Value]");
  EXPECT_EQ(effects.copyFlags.count(L"extra.dll"), 1u);
}

// What the install section's own directives must leave behind: its
// services, the registry values it writes for good, and its copy flags.
TEST(InstallWork, WhatTheSectionMustLeaveAndWhatItMayLeaveAsItWas) {
  const ExpectedEffects work = ExpectEffects(InfText(LR"([DefaultInstall.NTx86]
CopyFiles = Files, @single.dll
AddReg = Reg
[DefaultInstall.NTx86.Services]
AddService = VtSvc, 0x2, Svc.Install
DelService = OldSvc
[DefaultInstall.Services]
AddService = NotThisSection,,Svc.Install
[Files]
kept.sys,,,0x10
plain.sys
[Reg]
HKLM,"Software\Vt",Name,0,"x"
HKLM,Software\Vt\Only,,0x10
HKLM,Software\Vt,Wow,0x4000,1
HKLM,Software\Vt,Keep,0x2,1
HKLM,Software\Vt,Gone,0x4
HKLM,Software\Vt,Maybe,0x20,1
HKLM,Software\Vt\Old,,0x8000
HKR,,DeviceValue,0,1
)"),
                                       L"DefaultInstall.NTx86");
  EXPECT_EQ(work.services, std::vector<std::wstring>{L"VtSvc"});
  std::vector<std::wstring> names;
  for (const RegistryEntry& entry : work.registry) names.push_back(RegistryEntryName(entry));
  EXPECT_EQ(names, (std::vector<std::wstring>{L"HKLM\\Software\\Vt [Name]",
                                              L"HKLM\\Software\\Vt\\Only",
                                              L"HKLM\\Software\\Vt [Wow]"}));
  ASSERT_EQ(work.registry.size(), 3u);
  EXPECT_EQ(work.registry[0].view, RegistryView::kInstallers);
  EXPECT_EQ(work.registry[2].view, RegistryView::k32Bit);
  EXPECT_EQ(CopyFlagsOf(work, L"C:\\WINDOWS\\system32\\KEPT.sys"), 0x10u);
  EXPECT_EQ(CopyFlagsOf(work, L"C:\\WINDOWS\\system32\\single.dll"), 0u);

  struct Case {
    TargetContent content;
    VersionOrder version;
    std::uint32_t flags;
    bool inPlace;
  };
  for (const Case& c : std::vector<Case>{
           {TargetContent::kSourceBytes, VersionOrder::kNone, 0, true},
           {TargetContent::kNotComparable, VersionOrder::kNone, 0, true},
           {TargetContent::kMissing, VersionOrder::kNone, 0, false},
           {TargetContent::kMissing, VersionOrder::kNone, 0x10, false},
           // Replace-only: no earlier file, none now.
           {TargetContent::kMissing, VersionOrder::kNone, 0x400, true},
           {TargetContent::kOtherBytes, VersionOrder::kNone, 0x400, false},
           {TargetContent::kOtherBytes, VersionOrder::kNone, 0, false},
           {TargetContent::kOtherBytes, VersionOrder::kOlder, 0, false},
           {TargetContent::kOtherBytes, VersionOrder::kNone, 0x10, true},
           {TargetContent::kOtherBytes, VersionOrder::kNewer, 0, true},
           {TargetContent::kOtherBytes, VersionOrder::kNewer, 0x4, false},
           {TargetContent::kOtherBytes, VersionOrder::kSame, 0, false},
           {TargetContent::kOtherBytes, VersionOrder::kSame, 0x40, true},
       }) {
    CopiedFile file;
    file.content = c.content;
    file.targetVersion = c.version;
    EXPECT_EQ(CopyInPlace(file, c.flags), c.inPlace)
        << static_cast<int>(c.content) << " " << static_cast<int>(c.version) << " " << c.flags;
  }
}

}  // namespace
}  // namespace vantrel
