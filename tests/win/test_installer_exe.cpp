// The built installer executable carries the version record and the manifest
// that ask for what the product is: "Kestamor Installer" 1.1.0.4, run as administrator.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kInstaller = KESTAMOR_BINARY_DIR "/installer/install_kestamor.exe";

std::string VersionString(const std::vector<char>& info, const char* name) {
  char* value = nullptr;
  UINT size = 0;
  const std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
  if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &size) || !value) return {};
  return std::string(value);
}

}  // namespace

TEST(InstallerExecutable, CarriesItsVersionRecord) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(kInstaller.c_str(), &ignored);
  ASSERT_GT(size, 0u) << kInstaller;
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(kInstaller.c_str(), 0, size, info.data()));
  EXPECT_EQ(VersionString(info, "FileDescription"), "Kestamor Installer");
  EXPECT_EQ(VersionString(info, "InternalName"), "Kestamor Installer");
  EXPECT_EQ(VersionString(info, "ProductName"), "Kestamor Installer");
  EXPECT_EQ(VersionString(info, "FileVersion"), "1.1.0.4");
  EXPECT_EQ(VersionString(info, "ProductVersion"), "1.1.0.4");
  EXPECT_EQ(VersionString(info, "OriginalFilename"), "install_kestamor.exe");

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(1, 1));
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(4, 0));
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(1, 1));
  EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(4, 0));

  struct Translation {
    WORD language, codePage;
  }* translation = nullptr;
  UINT tsize = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &tsize));
  EXPECT_EQ(translation->language, 0x0409);
  EXPECT_EQ(translation->codePage, 1252);
}

TEST(InstallerExecutable, AsksForAdministratorRightsInItsManifest) {
  HMODULE module = LoadLibraryExA(kInstaller.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24) /* RT_MANIFEST */);
  ASSERT_NE(res, nullptr);
  const char* data = static_cast<const char*>(LockResource(LoadResource(module, res)));
  const std::string manifest(data, SizeofResource(module, res));
  FreeLibrary(module);
  EXPECT_NE(manifest.find("name=\"Kestamor\""), std::string::npos);
  EXPECT_NE(manifest.find("version=\"0.1.0.0\""), std::string::npos);
  EXPECT_NE(manifest.find("processorArchitecture=\"*\""), std::string::npos);
  EXPECT_NE(manifest.find("level=\"requireAdministrator\" uiAccess=\"false\""), std::string::npos);
}
