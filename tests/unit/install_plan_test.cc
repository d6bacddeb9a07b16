// How an INF's DefaultInstall is read for each platform: the section the
// engine takes, the files its CopyFiles copy and where each must be.
#include <gtest/gtest.h>

#include "inf/install_plan.h"
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
  const InstallPlan plan = PlanInstall(InfText(LR"(
[DefaultInstall.NT]
Include = ks.inf
Needs = KS.Registration, Extra.Install
CopyFiles = Own, Gone
[Extra.Install]
CopyFiles = Extra.Files
Needs = Deeper
[Deeper]
CopyFiles = Deeper.Files
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
)"),
                                       kX86);
  EXPECT_EQ(plan.section, L"DefaultInstall.NT");
  // KS.Registration is ks.inf's, supplied by the system; a needed section's
  // own Needs are not processed.
  EXPECT_EQ(plan.needs, std::vector<std::wstring>{L"Extra.Install"});
  EXPECT_EQ(Places(plan), (std::vector<std::wstring>{L"i386\\selfcopy.inf", L"i386\\extra.dll"}));
  EXPECT_EQ(plan.missingSections, std::vector<std::wstring>{L"Gone"});
}

}  // namespace
}  // namespace vantrel
