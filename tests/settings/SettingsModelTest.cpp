// The settings model against a host session: locating the settings file, LoadIni and SaveIni with
// the main cache and the library, and the lenient reading of hand-edited files, on real files in
// a fresh folder.
#include "settings/Settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "fw/Trace.h"
#include "fw/HeadlessUiDriver.h"
#include "layermap/SchemeTable.h"
#include "library/CacheFiles.h"
#include "library/Library.h"
#include "minicad/Host.h"
#include "settings/DirectorySection.h"
#include "settings/IniFile.h"
#include "settings/IniLocation.h"
#include "settings/PathList.h"
#include "settings/SchemeSections.h"
#include "support/TempFolder.h"

namespace {

using library::Directory;
using library::TheLibrary;
using layermap::SchemeMap;
using testsupport::ReadFile;
using testsupport::TempFolder;
using testsupport::WriteFile;
using Lines = std::vector<std::wstring>;

// Modification times far from now, so a test decides whether the main cache is up to date.
constexpr std::int64_t kCachedTime = 1'600'000'000;
constexpr std::int64_t kOtherTime = 1'500'000'000;

std::string Utf8(const std::wstring& text) { return fw::NativePath(text); }

void SetModifiedTime(const std::wstring& path, std::int64_t seconds) {
  utimbuf times{static_cast<time_t>(seconds), static_cast<time_t>(seconds)};
  ASSERT_EQ(utime(Utf8(path).c_str(), &times), 0);
}

void SetReadOnly(const std::wstring& path, bool readOnly) {
  ASSERT_EQ(chmod(Utf8(path).c_str(), readOnly ? 0444 : 0644), 0);
}

// A host whose support search looks only in the test's folder, a headless UI driver, a captured
// run log, and the process-wide settings, library and schemes as a new process has them.
class SettingsModel : public ::testing::Test {
 protected:
  SettingsModel() : host_(HostOptionsFor(folder_)) {
    fw::SetUiDriver(&ui_);
    fw::SetTraceSink([this](std::wstring_view line) {
      std::lock_guard<std::mutex> guard(logLock_);
      log_.emplace_back(line);
    });
    settings::ResetSettings();
  }

  ~SettingsModel() override {
    StartNewProcess();
    settings::IniForget(IniPath());
    fw::SetTraceSink(nullptr);
    fw::SetUiDriver(nullptr);
  }

  static minicad::HostOptions HostOptionsFor(const TempFolder& folder) {
    minicad::HostOptions options;
    options.supportFolders = {folder.Path()};
    options.programFolder = folder / L"program";
    return options;
  }

  std::wstring IniPath() const { return folder_ / L"qv35.ini"; }
  // The section of a directory in the folder, as the store writes its name.
  std::string SectionOf(const std::wstring& name) const {
    return Utf8(fw::ToLower(folder_ / name));
  }
  void WriteIni(const std::string& text) { WriteFile(IniPath(), text); }

  // Writes the file and loads it into the store, for the section readers.
  void LoadIntoStore(const std::string& text) {
    WriteIni(text);
    ASSERT_TRUE(settings::IniLoad(IniPath()));
  }

  // What a new process starts with; the files stay.
  void StartNewProcess() {
    library::EmptyLibrary();
    SchemeMap().Clear();
    settings::ResetSettings();
  }

  Lines TakeLog() {
    std::lock_guard<std::mutex> guard(logLock_);
    return std::exchange(log_, {});
  }

  Directory* Find(const std::wstring& name) { return TheLibrary().FindByPath(folder_ / name); }

  // A library loaded from `text`, with an image cache for each directory, saved with the main
  // cache as at quit while the settings file carries kCachedTime, so the cache records that time.
  void SaveLibraryWithCache(const std::string& text) {
    WriteIni(text);
    settings::LoadIni();
    for (const auto& directory : TheLibrary().Directories()) {
      ASSERT_TRUE(library::WriteImageCache(*directory));
    }
    SetModifiedTime(IniPath(), kCachedTime);
    settings::SaveIni(true);
    StartNewProcess();
  }

  // The settings file edited by hand after the save, then loaded in a new process.
  void LoadEditedFile(const std::string& text, std::int64_t modifiedTime = kOtherTime,
                      bool readOnly = false) {
    WriteIni(text);
    SetModifiedTime(IniPath(), modifiedTime);
    SetReadOnly(IniPath(), readOnly);
    TakeLog();
    settings::LoadIni();
    SetReadOnly(IniPath(), false);
  }

  TempFolder folder_;
  fw::HeadlessUiDriver ui_;
  minicad::Host host_;

 private:
  std::mutex logLock_;
  Lines log_;
};

TEST_F(SettingsModel, LocatesOnTheSupportPathThenBesideTheModuleThenInTheDocuments) {
  std::wstring moduleFolder = folder_ / L"module";
  ASSERT_TRUE(fw::CreateDirectory(moduleFolder));
  WriteIni("");
  WriteFile(moduleFolder + L"/qv35.ini", "");

  settings::IniLocation found = settings::LocateIniFile(moduleFolder);
  EXPECT_EQ(found.iniPath, IniPath());
  EXPECT_EQ(found.cachePath, folder_ / L"qv35.cache");
  EXPECT_EQ(TakeLog(), Lines({L"Ini located at " + IniPath() + L"\n"}));

  ASSERT_TRUE(fw::DeleteFile(IniPath()));
  EXPECT_EQ(settings::LocateIniFile(moduleFolder).iniPath, moduleFolder + L"/qv35.ini");

  ASSERT_TRUE(fw::DeleteFile(moduleFolder + L"/qv35.ini"));
  std::wstring documents = folder_ / L"Documents";
  ASSERT_EQ(setenv("XDG_DOCUMENTS_DIR", Utf8(documents).c_str(), 1), 0);
  found = settings::LocateIniFile(moduleFolder);
  unsetenv("XDG_DOCUMENTS_DIR");
  EXPECT_EQ(found.iniPath, documents + L"/Quorvane/qv35.ini");
  EXPECT_EQ(found.cachePath, documents + L"/Quorvane/qv35.cache");
  EXPECT_TRUE(fw::IsDirectory(documents + L"/Quorvane"));
}

TEST_F(SettingsModel, LoadsEveryKeyAndSavesItBackInTheSameLayout) {
  std::string text =
      "[quorva options]\ncolumn1width=1\ncolumn2width=2\ncolumn3width=3\ncolumn4width=4\n"
      "column5width=5\ncolumn6width=6\ncachefile=" + Utf8(folder_ / L"cache/main.cache") +
      "\nblockinsert=2\nreaddireverytime=1\noverlayxref=1\ndemandloadcache=1\n"
      "onlycachecurrent=1\ndelcachememoryonclose=1\nbackupini=1\nprintscale=7\nprinttype=2\n"
      "[paths]\nnumpaths=2\npath1=" + Utf8(folder_ / L"valves") + "\npath2=" +
      Utf8(folder_ / L"pumps") + "\n"
      "[" + SectionOf(L"valves") + "]\ndescription=Valves & fittings\nscale=Prompt\n"
      "rotation=Prompt\nexplode=Yes\nmultipleinsert=No\nrepeat=Yes\nshowinsertionpoints=No\n"
      "uselargeimages=No\nview=1\nsortstyle=RevModified\ncurrentscheme=Piping\n"
      "[" + SectionOf(L"pumps") + "]\ndescription\nscale=User\nrotation=45.500000\n"
      "explode=No\nmultipleinsert=Yes\nrepeat=No\nshowinsertionpoints=Yes\n"
      "uselargeimages=Yes\nview=3\nsortstyle=None\ncurrentscheme=<None>\n"
      "[schemes]\nnumschemes=2\nscheme1=Piping\nscheme2=Colours\n"
      "[piping]\ntype=Linetype\ndefaulttobylayer=No\nunknowntype=Specific\n"
      "unknownval=Var:PIPELAYER\nnummaps=2\nmap1=HIDDEN*,Hidden\nmap2=CENTER,Var:LAYVAR\n"
      "[colours]\ntype=Color\ndefaulttobylayer=Yes\nunknowntype=Ask\nnummaps=1\n"
      "map1=1,Red\n";
  WriteIni(text);
  settings::TheSettings().options.dirColumnWidths = {9, 9, 9};

  settings::LoadIni();

  const settings::Settings& loaded = settings::TheSettings();
  EXPECT_EQ(loaded.options.blockInsert, 2);
  EXPECT_EQ(loaded.options.printScale, 7);
  EXPECT_EQ(loaded.options.columnWidths[5], 6);
  EXPECT_EQ(loaded.options.dirColumnWidths, settings::kDefaultDirColumnWidths);
  EXPECT_EQ(loaded.cachePath, folder_ / L"cache/main.cache");
  ASSERT_EQ(TheLibrary().Size(), 2u);
  const Directory& valves = TheLibrary().At(0);
  EXPECT_EQ(valves.description, L"Valves & fittings");
  EXPECT_EQ(valves.scaleMode, 2);
  EXPECT_EQ(valves.rotationMode, 1);
  EXPECT_TRUE(valves.explode && valves.repeat && !valves.multipleInsert);
  EXPECT_FALSE(valves.showInsertionPoints || valves.useLargeImages);
  EXPECT_FALSE(valves.LargeImages().IsCreated());
  EXPECT_EQ(valves.view, 1);
  EXPECT_EQ(valves.sortStyle, 12);
  EXPECT_EQ(TheLibrary().At(1).rotationAngle, 45.5);
  EXPECT_TRUE(TheLibrary().At(1).multipleInsert);
  const layermap::MapScheme& piping = *SchemeMap().Find(L"Piping");
  EXPECT_EQ(piping.GetKind(), layermap::SchemeKind::kLinetype);
  EXPECT_EQ(piping.GetUnknownValue(), L"PIPELAYER");
  EXPECT_TRUE(piping.GetUnknownIsVariable());
  EXPECT_TRUE(piping.IsVariable(L"CENTER"));
  EXPECT_FALSE(piping.IsVariable(L"HIDDEN*"));

  settings::SaveIni(false);
  EXPECT_EQ(ReadFile(IniPath()), text);
}

TEST_F(SettingsModel, MissingOptionsTakeTheirDefaultsWhilePrintSettingsKeepTheirValues) {
  settings::Options& options = settings::TheSettings().options;
  options.blockInsert = 2;
  options.backupIni = 1;
  options.printScale = 9;
  options.columnWidths[0] = 1;
  WriteIni("[Quorva Options]\nCacheFile=\nPrintType=3\n");
  settings::LoadIni();
  EXPECT_EQ(options.blockInsert, 0);
  EXPECT_EQ(options.backupIni, 0);
  EXPECT_EQ(options.printScale, 9);
  EXPECT_EQ(options.printType, 3);
  EXPECT_EQ(options.columnWidths, settings::kDefaultColumnWidths);
  EXPECT_EQ(settings::TheSettings().cachePath, folder_ / L"qv35.cache");
}

TEST_F(SettingsModel, APathListedTwiceIsOneDirectoryUnlessItsCaseDiffers) {
  WriteIni("[Paths]\nNumPaths=3\nPath1=" + Utf8(folder_ / L"Valves") + "\nPath2=" +
           Utf8(folder_ / L"Valves") + "\nPath3=" + Utf8(folder_ / L"VALVES") + "\n");
  settings::LoadIni();
  ASSERT_EQ(TheLibrary().Size(), 2u);
  EXPECT_EQ(TheLibrary().At(0).path, folder_ / L"Valves");
  EXPECT_EQ(TheLibrary().At(1).path, folder_ / L"VALVES");
  EXPECT_NE(TheLibrary().At(0).cacheFile, TheLibrary().At(1).cacheFile);
}

TEST_F(SettingsModel, ADirectoryDroppedFromThePathsGoesWithItsImageCache) {
  std::string both = "[Paths]\nNumPaths=2\nPath1=" + Utf8(folder_ / L"Valves") + "\nPath2=" +
                     Utf8(folder_ / L"Pumps") + "\n";
  SaveLibraryWithCache(both);
  ASSERT_TRUE(fw::PathExists(folder_ / L"path2_35.cache"));

  // Listed only in another case, Valves stays (removal ignores case) and VALVES joins it
  // (finding does not).
  LoadEditedFile("[Paths]\nNumPaths=1\nPath1=" + Utf8(folder_ / L"VALVES") + "\n");

  ASSERT_EQ(TheLibrary().Size(), 2u);
  EXPECT_EQ(TheLibrary().At(0).path, folder_ / L"Valves");
  EXPECT_EQ(TheLibrary().At(1).path, folder_ / L"VALVES");
  EXPECT_TRUE(fw::PathExists(folder_ / L"path1_35.cache"));
  EXPECT_FALSE(fw::PathExists(folder_ / L"path2_35.cache"));
}

TEST_F(SettingsModel, ANewPathReadsItsSectionWhileACachedOneTakesOnlyItsDescription) {
  std::string valves = Utf8(folder_ / L"Valves");
  std::string pumps = Utf8(folder_ / L"Pumps");
  SaveLibraryWithCache("[Paths]\nNumPaths=1\nPath1=" + valves + "\n[" + valves +
                       "]\nDescription=Old\nScale=Prompt\n");

  LoadEditedFile("[Paths]\nNumPaths=2\nPath1=" + valves + "\nPath2=" + pumps + "\n[" + valves +
                 "]\nDescription=New\nScale=User\n[" + pumps +
                 "]\nDescription=Fresh\nScale=Drawing\nExplode=Yes\n");

  ASSERT_EQ(TheLibrary().Size(), 2u);
  EXPECT_EQ(Find(L"Valves")->description, L"New");
  EXPECT_EQ(Find(L"Valves")->scaleMode, 2);
  EXPECT_EQ(Find(L"Pumps")->description, L"Fresh");
  EXPECT_EQ(Find(L"Pumps")->scaleMode, 1);
  EXPECT_TRUE(Find(L"Pumps")->explode);
  EXPECT_EQ(Find(L"Pumps")->cacheFile, folder_ / L"path2_35.cache");
}

TEST_F(SettingsModel, TrustsTheCacheOnlyWhenTheFileIsUnchangedAndWritable) {
  struct Case {
    std::int64_t modifiedTime;
    bool readOnly;
    const wchar_t* description;
  };
  for (const Case& c : {Case{kCachedTime, false, L"Cached"}, Case{kOtherTime, false, L"Edited"},
                        Case{kCachedTime, true, L"Edited"}}) {
    fw::DeleteFile(folder_ / L"qv35.cache");
    std::string valves = Utf8(folder_ / L"Valves");
    SaveLibraryWithCache("[Paths]\nNumPaths=1\nPath1=" + valves + "\n[" + valves +
                         "]\nDescription=Cached\n");
    LoadEditedFile("[Quorva Options]\nColumn1Width=77\n[Paths]\nNumPaths=1\nPath1=" + valves +
                       "\n[" + valves + "]\nDescription=Edited\n",
                   c.modifiedTime, c.readOnly);
    bool fromFile = std::wstring(c.description) == L"Edited";
    ASSERT_EQ(TheLibrary().Size(), 1u);
    EXPECT_EQ(TheLibrary().At(0).description, c.description);
    EXPECT_EQ(settings::TheSettings().options.columnWidths[0], fromFile ? 77 : 140);
    Lines log = TakeLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), L"Load Directories\n"), fromFile ? 1 : 0);
    StartNewProcess();
  }
}

TEST_F(SettingsModel, SavingWithTheCacheWritesItAndDeletesEveryScheme) {
  WriteIni("[Schemes]\nNumSchemes=1\nScheme1=Piping\n[Piping]\nNumMaps=1\nMap1=A,B\n");
  settings::LoadIni();
  ASSERT_EQ(SchemeMap().Count(), 1u);

  settings::SaveIni(true);

  EXPECT_EQ(SchemeMap().Count(), 0u);
  EXPECT_TRUE(fw::PathExists(folder_ / L"qv35.cache"));
  EXPECT_NE(ReadFile(IniPath()).find("[piping]\n"), std::string::npos);
}

TEST_F(SettingsModel, KeepsAReadOnlyFileIntact) {
  std::string text = "[Quorva Options]\nBackupIni=1\n; kept\n[Paths]\nNumPaths=1\nPath1=" +
                     Utf8(folder_ / L"Valves") + "\n";
  WriteIni(text);
  SetReadOnly(IniPath(), true);
  settings::LoadIni();
  settings::TheSettings().options.printScale = 9;
  SchemeMap().Add(L"Piping", std::make_unique<layermap::MapScheme>());

  settings::SaveIni(false);
  // Only the schemes reach the store; the options stay out of it.
  EXPECT_EQ(settings::IniGetInt(L"Quorva Options", L"PrintScale", -1, IniPath()), -1);
  EXPECT_EQ(settings::IniGetInt(L"Schemes", L"NumSchemes", -1, IniPath()), 1);
  settings::SaveIni(true);

  SetReadOnly(IniPath(), false);
  EXPECT_EQ(ReadFile(IniPath()), text);
  EXPECT_FALSE(fw::PathExists(folder_ / L"qv35.bk1"));
  EXPECT_TRUE(fw::PathExists(folder_ / L"qv35.cache"));
}

TEST_F(SettingsModel, ASchemeNamedPathsSharesTheSectionOfThePathList) {
  std::string valves = Utf8(folder_ / L"Valves");
  WriteIni("[Paths]\nNumPaths=1\nPath1=" + valves + "\n");
  settings::LoadIni();
  auto scheme = std::make_unique<layermap::MapScheme>();
  scheme->SetMap(L"A", L"B");
  SchemeMap().Add(L"Paths", std::move(scheme));

  settings::SaveIni(false);
  EXPECT_NE(ReadFile(IniPath()).find("[paths]\nnumpaths=1\npath1=" + valves +
                                     "\ntype=Layer\ndefaulttobylayer=Yes\nunknowntype=Ignore\n"
                                     "nummaps=1\nmap1=A,B\n"),
            std::string::npos);

  StartNewProcess();
  settings::LoadIni();
  EXPECT_EQ(TheLibrary().Size(), 1u);
  ASSERT_NE(SchemeMap().Find(L"Paths"), nullptr);
  EXPECT_EQ(*SchemeMap().Find(L"Paths")->FindMap(L"A"), L"B");
}

TEST_F(SettingsModel, ReadsRotationAsPromptAFixedAngleOrNothing) {
  struct Case {
    const char* stored;
    std::int32_t mode;
    double angle;
  };
  for (const Case& c : {Case{"Prompt", 1, 30}, Case{"prompt", 1, 30}, Case{"45", 0, 45},
                        Case{" -12.5deg", 0, -12.5}, Case{"", 1, 30}, Case{"steep", 0, 0}}) {
    LoadIntoStore("[" + Utf8(folder_ / L"Valves") + "]\nRotation=" + c.stored + "\n");
    Directory directory;
    directory.path = folder_ / L"Valves";
    directory.rotationMode = 1;
    directory.rotationAngle = 30;
    settings::ReadDirectorySettings(directory, IniPath());
    EXPECT_EQ(directory.rotationMode, c.mode) << c.stored;
    EXPECT_EQ(directory.rotationAngle, c.angle) << c.stored;
  }
}

TEST_F(SettingsModel, UnknownWordsLeaveTheDefaults) {
  LoadIntoStore("[Valves]\nScale=Huge\nExplode=Maybe\nUseLargeImages=\nView=9\nSortStyle=Random\n"
                "[Piping]\nType=Circle\nDefaultToByLayer=Maybe\nUnknownType=Panic\n"
                "UnknownVal=L1\n");
  Directory directory;
  directory.path = L"Valves";
  directory.scaleMode = 3;
  directory.explode = true;
  directory.useLargeImages = false;
  directory.view = 2;
  directory.sortStyle = 5;
  settings::ReadDirectorySettings(directory, IniPath());
  EXPECT_EQ(directory.scaleMode, 3);
  EXPECT_TRUE(directory.explode);
  EXPECT_FALSE(directory.useLargeImages);
  EXPECT_EQ(directory.view, 2);
  EXPECT_EQ(directory.sortStyle, 5);

  layermap::MapScheme scheme;
  settings::ReadSchemeSection(L"Piping", scheme, IniPath());
  EXPECT_EQ(scheme.GetKind(), layermap::SchemeKind::kLayer);
  EXPECT_EQ(scheme.GetUnknownMode(), layermap::UnknownMode::kIgnore);
  EXPECT_FALSE(scheme.GetDefaultToByLayer());
  EXPECT_EQ(scheme.GetUnknownValue(), L"");
}

TEST_F(SettingsModel, ReadsTheOldSortStyleWordsAndWritesTheTableOnes) {
  WriteIni("[Paths]\nNumPaths=2\nPath1=A\nPath2=B\n[A]\nSortStyle=desc\n[B]\nSortStyle=Date\n");
  settings::LoadIni();
  EXPECT_EQ(TheLibrary().At(0).sortStyle, 3);
  EXPECT_EQ(TheLibrary().At(1).sortStyle, 6);
  settings::SaveIni(false);
  std::string saved = ReadFile(IniPath());
  EXPECT_NE(saved.find("sortstyle=Description\n"), std::string::npos);
  EXPECT_NE(saved.find("sortstyle=Created\n"), std::string::npos);
}

TEST_F(SettingsModel, SplitsAMapAtItsFirstCommaAndTakesVarAsAVariable) {
  LoadIntoStore("[Piping]\nNumMaps=3\nMap1=a*,B,C\nMap2=x,vAR:LAYVAR\nMap3=Lonely\n");
  layermap::MapScheme scheme;
  settings::ReadSchemeSection(L"Piping", scheme, IniPath());
  ASSERT_EQ(scheme.MapCount(), 3u);
  EXPECT_EQ(*scheme.FindMap(L"A*"), L"B,C");
  EXPECT_FALSE(scheme.IsVariable(L"A*"));
  EXPECT_EQ(*scheme.FindMap(L"X"), L"LAYVAR");
  EXPECT_TRUE(scheme.IsVariable(L"X"));
  EXPECT_EQ(*scheme.FindMap(L""), L"Lonely");
  EXPECT_FALSE(scheme.GetDefaultToByLayer());
}

TEST_F(SettingsModel, CountsReadOnlyTheNumberedKeysPresentAndSkipsGaps) {
  struct Case {
    const char* text;
    std::vector<std::wstring> paths;
  };
  const Case cases[] = {
      {"NumPaths=5\nPath1=A\nPath2=B\n", {L"A", L"B"}},
      {"NumPaths=-3\nPath1=A\nPath2=B\n", {}},
      {"NumPaths=99999999999\nPath1=A\nPath2=B\n", {L"A", L"B"}},
      {"NumPaths=two\nPath1=A\nPath2=B\n", {}},
      {"NumPaths=1\nPath1=A\nPath2=B\n", {L"A"}},
      {"NumPaths=4\nPath1=A\nPath3=C\nPath4=D\n", {L"A", L"C", L"D"}},  // Path2 deleted by hand
      {"NumPaths=3\nPath3=C\nPath1=A\nPath03=X\nPath+2=Y\nPath5=Z\n", {L"A", L"C"}},
  };
  for (const Case& c : cases) {
    LoadIntoStore(std::string("[Paths]\n") + c.text);
    EXPECT_EQ(settings::ReadPathList(IniPath()), c.paths) << c.text;
  }
  LoadIntoStore("[Schemes]\nNumSchemes=2\nScheme2=P\n[P]\nNumMaps=3\nMap1=A,B\nMap3=C,D\n");
  settings::ReadSchemes(IniPath(), SchemeMap());
  ASSERT_NE(SchemeMap().Find(L"P"), nullptr);
  EXPECT_EQ(SchemeMap().Find(L"P")->MapCount(), 2u) << "the map after the gap is kept";
  SchemeMap().Clear();
  LoadIntoStore("[Schemes]\nNumSchemes=2147483647\nScheme1=P\n[P]\nNumMaps=-1\nMap1=A,B\n");
  settings::ReadSchemes(IniPath(), SchemeMap());
  ASSERT_EQ(SchemeMap().Count(), 1u);
  EXPECT_EQ(SchemeMap().Find(L"P")->MapCount(), 0u);
}

// A folder copied from elsewhere may have a name that is not UTF-8, or end in "]"; a scheme
// name may too. Each must survive a save and load of the settings and of the main cache.
TEST_F(SettingsModel, NamesWithBracketsAndBytesThatAreNotUtf8SurviveSaveAndLoad) {
  const std::wstring odd = fw::FromNativePath(fw::NativePath(folder_.Path()) + "/Biblioth\xE8que");
  const std::wstring bracketed = folder_ / L"pumps [old]";
  WriteIni("[Paths]\nNumPaths=2\nPath1=" + fw::NativePath(odd) + "\nPath2=" +
           fw::NativePath(bracketed) + "\n[" + fw::NativePath(fw::ToLower(bracketed)) +
           "]\ndescription=Old pumps\nview=1\n[Schemes]\nNumSchemes=1\nScheme1=Doors [v2]\n"
           "[Doors [v2]]\nType=Block\nNumMaps=1\nMap1=D*,DOORS\n");
  settings::LoadIni();
  ASSERT_EQ(TheLibrary().Size(), 2u);
  EXPECT_EQ(TheLibrary().At(0).path, odd);
  EXPECT_EQ(TheLibrary().At(1).description, L"Old pumps");
  EXPECT_EQ(TheLibrary().At(1).view, 1);
  for (bool withCache : {false, true}) {
    SCOPED_TRACE(withCache);
    settings::SaveIni(withCache);
    if (withCache) {
      library::Library cached;
      ASSERT_TRUE(library::ReadMainCache(cached, {settings::TheSettings().cachePath, true}).read);
      ASSERT_EQ(cached.Size(), 2u);
      EXPECT_EQ(cached.At(0).path, odd);
      EXPECT_EQ(cached.At(1).path, bracketed);
    }
    StartNewProcess();
    if (!withCache) fw::DeleteFile(settings::TheSettings().cachePath);
    settings::LoadIni();
    ASSERT_EQ(TheLibrary().Size(), 2u);
    EXPECT_EQ(TheLibrary().At(0).path, odd);
    EXPECT_EQ(TheLibrary().At(1).path, bracketed);
    EXPECT_EQ(TheLibrary().At(1).description, L"Old pumps");
    ASSERT_NE(SchemeMap().Find(L"Doors [v2]"), nullptr);
    EXPECT_EQ(SchemeMap().Find(L"Doors [v2]")->GetKind(), layermap::SchemeKind::kBlock);
  }
}

TEST_F(SettingsModel, LoadsASchemeWithThousandsOfMaps) {
  constexpr int kMaps = 5000;
  std::string text = "[Schemes]\nNumSchemes=1\nScheme1=Big\n[Big]\nNumMaps=" +
                     std::to_string(kMaps) + "\n";
  for (int i = 1; i <= kMaps; ++i) {
    text += "Map" + std::to_string(i) + "=P" + std::to_string(i) + ",L" + std::to_string(i) + "\n";
  }
  WriteIni(text);
  settings::LoadIni();
  ASSERT_NE(SchemeMap().Find(L"Big"), nullptr);
  EXPECT_EQ(SchemeMap().Find(L"Big")->MapCount(), static_cast<std::size_t>(kMaps));
  EXPECT_EQ(*SchemeMap().Find(L"Big")->FindMap(L"P5000"), L"L5000");
}

}  // namespace
