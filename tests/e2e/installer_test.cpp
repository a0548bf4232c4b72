// The release's installer under Wine: it installs for the user alone (the
// user's programs folder, Start menu and uninstall entry), the uninstaller
// takes all of it away again, keeps the settings in a silent run unless told
// otherwise, and both stop a running Kivora first.

#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "e2e/e2e_fixture.h"
#include "win/test_paths.h"

namespace kivora::e2e {
namespace {

constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kivora";

std::wstring shellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

std::wstring setupProgram() {
  const std::wstring path = test::besideTestProgram(KIVORA_SETUP_FROM_TESTS);
  wchar_t full[MAX_PATH] = {};
  GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
  return full;
}
std::wstring installFolder() { return shellFolder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Kivora"; }
std::wstring installed(const std::wstring& name) { return installFolder() + L"\\" + name; }
std::wstring startMenuShortcut() { return shellFolder(CSIDL_PROGRAMS) + L"\\Kivora.lnk"; }
std::wstring startupShortcut() { return shellFolder(CSIDL_STARTUP) + L"\\Kivora.lnk"; }

bool exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void writeFile(const std::wstring& path, const std::string& bytes) {
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot write " << std::filesystem::path(path).string();
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// Runs a command line and waits until it and every process it started have
// ended: an NSIS uninstaller hands its work to a copy of itself in the
// temporary folder and returns at once. The job holds them all.
std::optional<DWORD> runToTheEnd(std::wstring commandLine) {
  const HANDLE job = CreateJobObjectW(nullptr, nullptr);
  if (!job) return std::nullopt;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::optional<DWORD> exitCode;
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                     nullptr, nullptr, &startup, &info)) {
    AssignProcessToJobObject(job, info.hProcess);
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    if (WaitForSingleObject(info.hProcess, 4 * kWait) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(info.hProcess, &code);
      exitCode = code;
    }
    CloseHandle(info.hProcess);
    const bool allEnded = waitUntil(
        [&] {
          JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
          return QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting,
                                           sizeof accounting, nullptr) &&
                 accounting.ActiveProcesses == 0;
        },
        4 * kWait);
    if (!allEnded) exitCode.reset();
  }
  CloseHandle(job);
  return exitCode;
}

std::optional<DWORD> runSetup() { return runToTheEnd(L"\"" + setupProgram() + L"\" /S"); }
std::optional<DWORD> runUninstaller(const std::wstring& switches = L"/S") {
  return runToTheEnd(L"\"" + installed(L"Uninstall.exe") + L"\" " + switches);
}

std::optional<std::wstring> uninstallText(HKEY root, const wchar_t* name) {
  wchar_t text[1024] = {};
  DWORD size = sizeof text;
  if (RegGetValueW(root, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, text, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(text);
}

std::wstring versionText(const std::wstring& file, const wchar_t* field) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
  if (size == 0) return L"(no version record)";
  std::vector<BYTE> block(size);
  if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data()))
    return L"(unreadable version record)";
  struct Translation {
    WORD language;
    WORD codePage;
  }* translation = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &length) ||
      length < sizeof(Translation)) {
    return L"(no translation)";
  }
  wchar_t path[64] = {};
  swprintf(path, 64, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language,
           translation->codePage, field);
  void* value = nullptr;
  if (!VerQueryValueW(block.data(), path, &value, &length)) return L"(no field)";
  return static_cast<const wchar_t*>(value);
}

std::wstring shortcutTarget(const std::wstring& link) {
  std::wstring target;
  IShellLinkW* shellLink = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&shellLink)))) {
    return L"(no shell link object)";
  }
  IPersistFile* file = nullptr;
  if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t path[MAX_PATH] = {};
    if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) &&
        SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0))) {
      target = path;
    }
    file->Release();
  }
  shellLink->Release();
  return target;
}

std::wstring lower(std::wstring text) {
  CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

std::vector<std::wstring> installedSamples() {
  std::vector<std::wstring> samples;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(installed(L"samples"), error)) {
    if (entry.path().extension() == L".kxs") samples.push_back(entry.path().wstring());
  }
  return samples;
}

// Whatever an earlier run left: the installation, its shortcuts, its entry.
void removeInstallation() {
  std::error_code error;
  std::filesystem::remove_all(installFolder(), error);
  DeleteFileW(startMenuShortcut().c_str());
  DeleteFileW(startupShortcut().c_str());
  RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
}

class Installer : public KivoraTest {
 protected:
  void SetUp() override {
    KivoraTest::SetUp();
    CoInitialize(nullptr);
    removeInstallation();
    ASSERT_TRUE(exists(setupProgram())) << "build the dist target first";
  }
  void TearDown() override {
    KivoraTest::TearDown();
    removeInstallation();
    CoUninitialize();
  }

  static void expectNothingInstalledLeft() {
    EXPECT_FALSE(exists(installed(L"Kivora.exe")));
    EXPECT_FALSE(exists(installed(L"Uninstall.exe")));
    EXPECT_FALSE(exists(installed(L"samples")));
    EXPECT_FALSE(exists(startMenuShortcut()));
    EXPECT_FALSE(uninstallText(HKEY_CURRENT_USER, L"DisplayName").has_value());
  }
};

TEST_F(Installer, InstallsForTheUserAloneAndUninstallsEveryPart) {
  ASSERT_EQ(runSetup(), 0u);

  for (const wchar_t* name : {L"Kivora.exe", L"Kivora.chm", L"kxscript.exe", L"ReadMe.txt",
                              L"License.txt", L"Uninstall.exe"}) {
    EXPECT_TRUE(exists(installed(name))) << std::filesystem::path(name).string();
  }
  EXPECT_EQ(versionText(installed(L"Kivora.exe"), L"FileVersion"), L"" KIVORA_TEST_VERSION)
      << "the stripped program keeps its version record";

  // The samples are shipped with Windows line ends and a byte-order mark;
  // the engine must still read every one of them.
  const std::vector<std::wstring> samples = installedSamples();
  EXPECT_FALSE(samples.empty());
  for (const std::wstring& sample : samples) {
    EXPECT_EQ(runToTheEnd(L"\"" + installed(L"kxscript.exe") + L"\" --check \"" + sample + L"\""),
              0u)
        << std::filesystem::path(sample).string();
  }

  EXPECT_EQ(lower(shortcutTarget(startMenuShortcut())), lower(installed(L"Kivora.exe")));

  EXPECT_EQ(uninstallText(HKEY_CURRENT_USER, L"DisplayName"), L"Kivora");
  EXPECT_EQ(uninstallText(HKEY_CURRENT_USER, L"DisplayVersion"), L"" KIVORA_TEST_VERSION);
  EXPECT_EQ(uninstallText(HKEY_CURRENT_USER, L"Publisher"), L"Orvanta");
  EXPECT_EQ(uninstallText(HKEY_CURRENT_USER, L"InstallLocation"), installFolder());
  EXPECT_EQ(uninstallText(HKEY_CURRENT_USER, L"UninstallString"),
            L"\"" + installed(L"Uninstall.exe") + L"\"");
  EXPECT_EQ(uninstallText(HKEY_CURRENT_USER, L"QuietUninstallString"),
            L"\"" + installed(L"Uninstall.exe") + L"\" /S");
  EXPECT_FALSE(uninstallText(HKEY_LOCAL_MACHINE, L"DisplayName").has_value())
      << "nothing for all users";

  ASSERT_EQ(runUninstaller(), 0u);
  expectNothingInstalledLeft();
  EXPECT_FALSE(exists(installFolder())) << "the emptied folder goes too";
}

TEST_F(Installer, AsksForNoAdministratorRightsAndCarriesTheVersion) {
  const HMODULE setup = LoadLibraryExW(setupProgram().c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(setup, nullptr);
  const HRSRC found = FindResourceW(setup, MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_NE(found, nullptr);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(setup, found))),
                             SizeofResource(setup, found));
  FreeLibrary(setup);
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos) << manifest;

  EXPECT_EQ(versionText(setupProgram(), L"ProductVersion"), L"" KIVORA_TEST_VERSION);
}

TEST_F(Installer, SilentUninstallKeepsTheSettingsUnlessToldToRemoveThem) {
  ASSERT_EQ(runSetup(), 0u);
  writeSetting(L"NumLockState", 3);
  writeFile(installed(L"Kivora.ini"), "[Kivora]\r\nNumLockState=3\r\n");
  writeFile(startupShortcut(), "a Startup-folder shortcut");

  ASSERT_EQ(runUninstaller(), 0u);
  expectNothingInstalledLeft();
  EXPECT_EQ(readSetting(L"NumLockState"), 3u);
  EXPECT_TRUE(exists(installed(L"Kivora.ini")));
  EXPECT_TRUE(exists(startupShortcut()));

  // Installed again over the kept ini file, and removed with the settings.
  ASSERT_EQ(runSetup(), 0u);
  EXPECT_TRUE(exists(installed(L"Kivora.ini"))) << "installing keeps the user's ini file";
  ASSERT_EQ(runUninstaller(L"/S /REMOVESETTINGS"), 0u);
  expectNothingInstalledLeft();
  EXPECT_FALSE(settingsKeyExists());
  EXPECT_FALSE(exists(installed(L"Kivora.ini")));
  EXPECT_FALSE(exists(startupShortcut()));
  EXPECT_FALSE(exists(installFolder()));
}

// Kivora is resident: it runs whenever its user is logged on, so it is
// running when it is updated or removed.
TEST_F(Installer, InstallingAndUninstallingStopARunningKivoraFirst) {
  ASSERT_EQ(runSetup(), 0u);
  seedSettings();
  {
    Kivora resident({.exe = installed(L"Kivora.exe")});
    ASSERT_TRUE(resident.waitForMainWindow());
    ASSERT_EQ(runSetup(), 0u);
    EXPECT_TRUE(resident.waitForExit()) << "the installer ends the running Kivora";
    EXPECT_EQ(resident.exitCode(), 0u) << "as its Exit does";
  }
  {
    Kivora resident({.exe = installed(L"Kivora.exe")});
    ASSERT_TRUE(resident.waitForMainWindow());
    ASSERT_EQ(runUninstaller(), 0u);
    EXPECT_TRUE(resident.waitForExit()) << "the uninstaller ends the running Kivora";
  }
  expectNothingInstalledLeft();
  EXPECT_EQ(readSetting(L"EnDisTTIcon"), 1u)
      << "Kivora saved its settings as it ended, and they were kept";
}

}  // namespace
}  // namespace kivora::e2e
