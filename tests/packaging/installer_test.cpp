// The 64-bit installer run as a person's silent install would run it: what
// it puts on disk, in the Start menu and in the user's registry, that the
// installed Wendle runs and opens list files through their file type, and
// what the uninstaller leaves behind.
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "bench/program.h"
#include "bench/test_env.h"

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Wendle";
const char kClasses[] = "Software\\Classes\\";
const char kMakerKey[] = "Software\\Orvane Software";
const char kSettingsKey[] = "Software\\Orvane Software\\Wendle";

// The build folder: the test runs from its bin folder.
std::string BuildPath(const std::string& name) {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string exe = path;
  std::string bin = exe.substr(0, exe.find_last_of('\\'));
  return bin.substr(0, bin.find_last_of('\\') + 1) + name;
}

// The user's own registry: the installer and Wendle run outside this
// process's sandbox.
class UserRegistry {
 public:
  UserRegistry() { RegOpenCurrentUser(KEY_ALL_ACCESS, &user_); }
  ~UserRegistry() { RegCloseKey(user_); }
  bool Exists(const std::string& key) const {
    HKEY opened;
    if (RegOpenKeyExA(user_, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
  }
  std::string String(const std::string& key, const char* value) const {
    char data[1024] = "";
    DWORD size = sizeof data - 1;
    if (RegGetValueA(user_, key.c_str(), value, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) return "";
    return data;
  }
  DWORD Dword(const std::string& key, const char* value) const {
    DWORD data = 0, size = sizeof data;
    RegGetValueA(user_, key.c_str(), value, RRF_RT_REG_DWORD, nullptr, &data, &size);
    return data;
  }
  HKEY Open(const std::string& key) const {
    HKEY opened = nullptr;
    RegOpenKeyExA(user_, key.c_str(), 0, KEY_READ, &opened);
    return opened;
  }
  void Write(const std::string& key, const char* value, const std::string& data) const {
    RegSetKeyValueA(user_, key.c_str(), value, REG_SZ, data.c_str(), static_cast<DWORD>(data.size() + 1));
  }

 private:
  HKEY user_ = nullptr;
};

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Runs a command line and waits for its process: the exit code, or
// STILL_ACTIVE when it did not end in time.
DWORD RunAndWait(const std::string& commandLine, DWORD timeoutMs = 120000) {
  std::string line = commandLine;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return GetLastError();
  CloseHandle(info.hThread);
  WaitForSingleObject(info.hProcess, timeoutMs);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hProcess);
  return code;
}

// The files of a folder and its subfolders, by relative path, with sizes.
void ListFiles(const std::string& folder, const std::string& prefix, std::map<std::string, DWORD>* files) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      ListFiles(folder + "\\" + name, prefix + name + "\\", files);
    else
      (*files)[prefix + name] = found.nFileSizeLow;
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

std::string StartMenuShortcut() {
  char programs[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
  return std::string(programs) + "\\Wendle.lnk";
}

std::string ShortcutTarget(const std::string& shortcut) {
  std::string target;
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return target;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, shortcut.c_str(), -1, wide, MAX_PATH);
    char path[MAX_PATH] = "";
    if (SUCCEEDED(file->Load(wide, STGM_READ)) && SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, 0))) target = path;
    file->Release();
  }
  link->Release();
  return target;
}

void CopyFolderFiles(const std::string& from, const std::string& to) {
  std::map<std::string, DWORD> files;
  ListFiles(from, "", &files);
  for (const auto& file : files) CopyFileA((from + "\\" + file.first).c_str(), (to + "\\" + file.first).c_str(), FALSE);
}

void RemoveFolder(const std::string& folder) {
  std::map<std::string, DWORD> files;
  ListFiles(folder, "", &files);
  for (const auto& file : files) DeleteFileA((folder + "\\" + file.first).c_str());
  RemoveDirectoryA(folder.c_str());
}

class InstallerTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Exists(setup_)) << setup_;
    CoInitialize(nullptr);
    bench::ClearProgramSettings();
    // Wine's menu builder would turn the Start-menu shortcut into desktop
    // entries; the installer and its children inherit this.
    SetEnvironmentVariableA("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d");
    // A folder with a blank in its name, as under Program Files.
    CreateDirectoryA(bench::TempPath("Per User").c_str(), nullptr);
  }
  void TearDown() override {
    if (Exists(folder_ + "\\uninstall.exe")) Uninstall("/REMOVESETTINGS");
    RemoveDirectoryA(bench::TempPath("Per User").c_str());
    bench::ClearProgramSettings();
    CoUninitialize();
  }

  void Install() { ASSERT_EQ(RunAndWait("\"" + setup_ + "\" /S /D=" + folder_), 0u); }

  // The uninstaller hands over to a copy of itself in the temporary folder
  // and ends at once; the copy's last step removes the Uninstall key.
  void Uninstall(const std::string& options = "") {
    ASSERT_EQ(RunAndWait("\"" + folder_ + "\\uninstall.exe\" /S " + options), 0u);
    UserRegistry registry;
    ULONGLONG end = GetTickCount64() + 120000;
    while ((Exists(folder_) || registry.Exists(kUninstallKey)) && GetTickCount64() < end) Sleep(100);
    ASSERT_FALSE(Exists(folder_)) << "the uninstaller left the program folder";
  }

  // Everything of the install is gone, but for the settings.
  void ExpectNothingLeft() {
    UserRegistry registry;
    EXPECT_FALSE(Exists(folder_));
    EXPECT_FALSE(Exists(StartMenuShortcut()));
    EXPECT_FALSE(registry.Exists(kUninstallKey));
    EXPECT_FALSE(registry.Exists(std::string(kClasses) + ".wdl"));
    EXPECT_FALSE(registry.Exists(std::string(kClasses) + "Wendle.List"));
  }

  std::string setup_ = BuildPath("packages\\" WENDLE_SETUP_NAME);
  std::string folder_ = bench::TempPath("Per User\\Wendle");
};

TEST_F(InstallerTest, InstallsRunsOpensListsAndUninstallsKeepingTheSettings) {
  // An earlier build's WinHelp file and the index WinHlp32 made of it go.
  CreateDirectoryA(folder_.c_str(), nullptr);
  for (const char* old : {"\\WD.HLP", "\\WD.GID"}) ASSERT_TRUE(bench::WriteFileBytes(folder_ + old, "old"));
  Install();
  UserRegistry registry;

  // The staged package, file for file, and the uninstaller.
  std::map<std::string, DWORD> staged, installed;
  ListFiles(BuildPath("packaging\\" WENDLE_PACKAGE_NAME), "", &staged);
  ListFiles(folder_, "", &installed);
  ASSERT_TRUE(staged.count("wendle.exe") && staged.count("WD.CHM") && staged.count("Demo\\demo.wdl"));
  staged.erase("README.txt");  // only for the zip
  EXPECT_TRUE(installed.count("uninstall.exe"));
  installed.erase("uninstall.exe");
  EXPECT_EQ(installed, staged);

  // Apps & features, the Start menu, the file type.
  std::string exe = folder_ + "\\wendle.exe";
  EXPECT_EQ(registry.String(kUninstallKey, "DisplayName"), "Wendle");
  EXPECT_EQ(registry.String(kUninstallKey, "DisplayVersion"), WENDLE_VERSION_TEXT);
  EXPECT_EQ(registry.String(kUninstallKey, "Publisher"), "Orvane Software");
  EXPECT_EQ(registry.String(kUninstallKey, "InstallLocation"), folder_);
  EXPECT_EQ(registry.String(kUninstallKey, "UninstallString"), "\"" + folder_ + "\\uninstall.exe\"");
  EXPECT_EQ(registry.String(kUninstallKey, "DisplayIcon"), exe + ",0");
  EXPECT_EQ(registry.Dword(kUninstallKey, "NoModify"), 1u);
  EXPECT_EQ(registry.Dword(kUninstallKey, "NoRepair"), 1u);
  EXPECT_GT(registry.Dword(kUninstallKey, "EstimatedSize"), 100u);  // KB
  EXPECT_EQ(lstrcmpiA(ShortcutTarget(StartMenuShortcut()).c_str(), exe.c_str()), 0) << StartMenuShortcut();
  std::string progId = registry.String(std::string(kClasses) + ".wdl", "");
  ASSERT_EQ(progId, "Wendle.List");
  EXPECT_EQ(registry.String(kClasses + progId + "\\DefaultIcon", ""), exe + ",0");

  // The installed program with its demo list.
  {
    bench::Program wendle("demo.wdl", folder_ + "\\Demo", exe);
    ASSERT_TRUE(wendle.Window());
    EXPECT_TRUE(wendle.WaitFor([&] { return wendle.Title() == "Wendle - DEMO.WDL"; })) << wendle.Title();
    EXPECT_EQ(wendle.ListCount(), 6);
  }

  // A list opened through its file type, as the desktop shell opens it.
  // Wine's HKEY_CLASSES_ROOT holds only the machine's classes (Windows
  // merges the user's in), so the shell is handed the user's class key.
  std::string lists = bench::TempPath("Per User\\My Lists");
  CreateDirectoryA(lists.c_str(), nullptr);
  CopyFolderFiles(folder_ + "\\Demo", lists);
  std::string party = lists + "\\party list.wdl";
  ASSERT_TRUE(MoveFileA((lists + "\\demo.wdl").c_str(), party.c_str()));
  HKEY type = registry.Open(kClasses + progId);
  ASSERT_TRUE(type);
  SHELLEXECUTEINFOA open = {};
  open.cbSize = sizeof open;
  open.fMask = SEE_MASK_CLASSKEY | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  open.hkeyClass = type;
  open.lpVerb = "open";
  open.lpFile = party.c_str();
  open.lpDirectory = lists.c_str();
  open.nShow = SW_SHOWNORMAL;
  EXPECT_TRUE(ShellExecuteExA(&open)) << GetLastError();
  RegCloseKey(type);
  {
    bench::Program wendle(open.hProcess);
    ASSERT_TRUE(wendle.Window());
    EXPECT_TRUE(wendle.WaitFor([&] { return wendle.Title() == "Wendle - PARTY LIST.WDL"; })) << wendle.Title();
    EXPECT_EQ(wendle.ListCount(), 6);
  }
  RemoveFolder(lists);

  // Wendle wrote its settings; a silent uninstall keeps them.
  ASSERT_TRUE(registry.Exists(kSettingsKey));
  Uninstall();
  ExpectNothingLeft();
  EXPECT_TRUE(registry.Exists(kSettingsKey));
}

TEST_F(InstallerTest, TheRemoveSettingsSwitchTakesTheSettingsAlong) {
  {
    // Files of a running Wendle cannot be replaced: Setup refuses at once.
    bench::Program running;
    ASSERT_TRUE(running.Window());
    EXPECT_NE(RunAndWait("\"" + setup_ + "\" /S /D=" + folder_), 0u);
    EXPECT_FALSE(Exists(folder_));
  }
  Install();
  UserRegistry registry;
  registry.Write(std::string(kSettingsKey) + "\\Settings", "Probe", "1");
  Uninstall("/REMOVESETTINGS");
  ExpectNothingLeft();
  EXPECT_FALSE(registry.Exists(kSettingsKey));
  EXPECT_FALSE(registry.Exists(kMakerKey));  // nothing else of the maker was there
}

}  // namespace
