// The package builder's rules that need no Windows: its arguments, the names
// it gives the cabinets, the folders it refuses and what it accepts of an INF.
#include <gtest/gtest.h>

#include "pack/folder_plan.h"
#include "pack/inf_rules.h"
#include "pack/usage.h"

namespace vantrel {
namespace {

using Action = PackRequest::Action;

TEST(PackArguments, HelpTwoPathsOrAUsageError) {
  for (const wchar_t* help : {L"--help", L"-h", L"/?"}) {
    EXPECT_EQ(ParseArguments({help}).action, Action::kHelp) << help;
  }
  const PackRequest pack = ParseArguments({L"C:\\src", L"D:\\out.7z"});
  EXPECT_EQ(pack.action, Action::kPack);
  EXPECT_EQ(pack.folder, L"C:\\src");
  EXPECT_EQ(pack.output, L"D:\\out.7z");
  EXPECT_EQ(ParseArguments({}).action, Action::kUsageError);
  EXPECT_EQ(ParseArguments({L"C:\\src"}).action, Action::kUsageError);
  EXPECT_EQ(ParseArguments({L"a", L"b", L"c"}).action, Action::kUsageError);
  EXPECT_EQ(ParseArguments({L"", L"b.7z"}).action, Action::kUsageError);
  EXPECT_EQ(ParseArguments({L"--help", L"b.7z"}).action, Action::kPack);

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
  const std::wstring sub = PlanFolder({{L"a.inf"}, {L"i386", true}}).problem;
  EXPECT_NE(sub.find(L"\"i386\""), std::wstring::npos) << sub;
}

// The sample package's INF as the parser reports it.
InfFacts SampleFacts() {
  InfFacts facts;
  facts.hasDefaultInstall = true;
  facts.copyFiles = {{L"Sample.Files", true, {L"vantrel-sample.txt"}}};
  facts.sourceDisksFiles = {{L"vantrel-sample.txt", L"1", L""}};
  facts.sourceDisksNames = {{L"1", L"i386"}};
  return facts;
}

FolderPlan SamplePlan(std::vector<std::wstring> payload = {L"vantrel-sample.txt"}) {
  FolderPlan plan;
  plan.inf = L"vantrel-sample.inf";
  plan.payload = payload;
  return plan;
}

bool Mentions(const std::vector<std::wstring>& lines, const std::wstring& text) {
  for (const std::wstring& line : lines) {
    if (line.find(text) != std::wstring::npos) return true;
  }
  return false;
}

TEST(PackInfRules, AWellFormedPackagePassesWithoutWarnings) {
  const InfVerdict verdict = CheckInf(SampleFacts(), SamplePlan({L"VANTREL-SAMPLE.TXT"}));
  EXPECT_EQ(verdict.code, PackExit::kMade);
  EXPECT_TRUE(verdict.refusals.empty());
  EXPECT_TRUE(verdict.warnings.empty());
  // An INF that only writes the registry needs no files and no disks.
  InfFacts registryOnly;
  registryOnly.hasDefaultInstall = true;
  EXPECT_EQ(CheckInf(registryOnly, SamplePlan({})).code, PackExit::kMade);
  // The subfolder may be written with separators around it.
  InfFacts dotted = SampleFacts();
  dotted.sourceDisksNames[0].path = L".\\I386\\";
  EXPECT_EQ(CheckInf(dotted, SamplePlan()).code, PackExit::kMade);
}

TEST(PackInfRules, AMissingSourceFileIsNamedAndDecidesTheCode) {
  InfFacts facts = SampleFacts();
  facts.copyFiles.push_back({L"@direct.dll", false, {}});
  facts.sourceDisksFiles.push_back({L"direct.dll", L"1", L""});
  facts.sourceDisksFiles.push_back({L"listed-only.sys", L"1", L""});
  facts.hasDefaultInstall = false;
  const InfVerdict verdict = CheckInf(facts, SamplePlan({L"vantrel-sample.txt", L"extra.txt"}));
  EXPECT_EQ(verdict.code, PackExit::kMissingSource);
  EXPECT_TRUE(Mentions(verdict.refusals, L"\"direct.dll\", which the folder lacks"));
  EXPECT_TRUE(Mentions(verdict.refusals, L"\"listed-only.sys\", which the folder lacks"));
  EXPECT_TRUE(Mentions(verdict.refusals, L"no [DefaultInstall]"));
  EXPECT_EQ(verdict.refusals.size(), 3u);
  EXPECT_EQ(verdict.warnings.size(), 1u);
  EXPECT_TRUE(Mentions(verdict.warnings, L"\"extra.txt\""));
}

TEST(PackInfRules, FaultsThatWouldMakeTheInstallerLookElsewhere) {
  struct Fault {
    const wchar_t* what;
    void (*spoil)(InfFacts&);
  };
  const Fault faults[] = {
      {L"no [DefaultInstall]", [](InfFacts& f) { f.hasDefaultInstall = false; }},
      {L"the path \"files\"", [](InfFacts& f) { f.sourceDisksNames[0].path = L"files"; }},
      {L"the path \"\"", [](InfFacts& f) { f.sourceDisksNames[0].path = L""; }},
      {L"on disk 2, which [SourceDisksNames] does not list",
       [](InfFacts& f) { f.sourceDisksFiles[0].disk = L"2"; }},
      {L"in the subfolder \"x86\"", [](InfFacts& f) { f.sourceDisksFiles[0].subfolder = L"x86"; }},
      {L"does not list it", [](InfFacts& f) { f.sourceDisksFiles.clear(); }},
      {L"the section [Sample.Files], which the INF lacks",
       [](InfFacts& f) { f.copyFiles[0].sectionFound = false; }},
  };
  for (const Fault& fault : faults) {
    InfFacts facts = SampleFacts();
    fault.spoil(facts);
    const InfVerdict verdict = CheckInf(facts, SamplePlan());
    EXPECT_EQ(verdict.code, PackExit::kInfRefused) << fault.what;
    EXPECT_TRUE(Mentions(verdict.refusals, fault.what)) << fault.what;
  }
  EXPECT_EQ(InfParserErrorName(0xE0000100), L"ERROR_WRONG_INF_STYLE");
  EXPECT_EQ(InfParserErrorName(2), L"");
}

}  // namespace
}  // namespace vantrel
