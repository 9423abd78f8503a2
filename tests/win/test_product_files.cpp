// The demo product's data files as Windows reads them, and the rules the
// uninstaller applies to what its record names.
#include <windows.h>
#include <objbase.h>
#include <urlmon.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "WinTestSupport.h"
#include "product/ProductRules.h"

namespace {

const std::string kStaged = KESTAMOR_BINARY_DIR "/product/files/";

std::uint32_t U32(const std::string& b, std::size_t at) {
  return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
         static_cast<std::uint8_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}
std::uint16_t U16(const std::string& b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8);
}

// The least a client of a pluggable protocol provides: bind information and
// a sink that takes the data as the protocol reports it.
class ProtocolClient : public IInternetProtocolSink, public IInternetBindInfo {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == __uuidof(IInternetProtocolSink))
      *out = static_cast<IInternetProtocolSink*>(this);
    else if (iid == __uuidof(IInternetBindInfo))
      *out = static_cast<IInternetBindInfo*>(this);
    else
      return *out = nullptr, E_NOINTERFACE;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the caller's stack
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE Switch(PROTOCOLDATA*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ReportProgress(ULONG, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ReportData(DWORD, ULONG, ULONG) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ReportResult(HRESULT, DWORD, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* flags, BINDINFO* info) override {
    *flags = BINDF_NOWRITECACHE;
    const ULONG size = info->cbSize;
    ZeroMemory(info, size);
    info->cbSize = size;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetBindString(ULONG, LPOLESTR*, ULONG, ULONG*) override { return E_NOTIMPL; }
};

// Reads one file out of a compiled help file through the system's help
// storage protocol ("ms-its:<file>::/<name>").
std::string ReadFromHelpFile(const std::string& chm, const std::string& name) {
  const CLSID itsProtocol = {0x9d148291, 0xb9c8, 0x11d0, {0xa4, 0xcc, 0x00, 0x00, 0xf8, 0x01, 0x49, 0xf6}};
  char full[MAX_PATH];
  GetFullPathNameA(chm.c_str(), MAX_PATH, full, nullptr);
  const std::string url = std::string("ms-its:") + full + "::" + name;
  const std::wstring wideUrl(url.begin(), url.end());
  CoInitialize(nullptr);
  std::string content = "<no help protocol>";
  IInternetProtocol* protocol = nullptr;
  if (SUCCEEDED(CoCreateInstance(itsProtocol, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IInternetProtocol),
                                 reinterpret_cast<void**>(&protocol)))) {
    ProtocolClient client;
    const HRESULT hr = protocol->Start(wideUrl.c_str(), &client, &client, 0, 0);
    content = "<cannot open " + url + ": " + std::to_string(static_cast<unsigned long>(hr)) + ">";
    if (SUCCEEDED(hr)) {
      content.clear();
      char buffer[4096];
      ULONG read = 0;
      HRESULT more;
      while ((more = protocol->Read(buffer, sizeof buffer, &read)) == S_OK || (more == S_FALSE && read > 0))
        content.append(buffer, read);
      protocol->Terminate(0);
    }
    protocol->Release();
  }
  CoUninitialize();
  return content;
}

}  // namespace

TEST(ProductFiles, SoundsArePlayablePcmWaves) {
  for (const char* name : {"endgame.wav", "free.wav", "newnews.wav", "wingame.wav"}) {
    SCOPED_TRACE(name);
    const std::string wav = ReadWholeFile(kStaged + "sounds/" + name);
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(U32(wav, 4), wav.size() - 8);
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    ASSERT_EQ(U32(wav, 16), 16u);
    EXPECT_EQ(U16(wav, 20), 1) << "PCM";
    const std::uint16_t channels = U16(wav, 22), blockAlign = U16(wav, 32), bits = U16(wav, 34);
    const std::uint32_t rate = U32(wav, 24);
    EXPECT_EQ(blockAlign, channels * bits / 8);
    EXPECT_EQ(U32(wav, 28), rate * blockAlign);
    ASSERT_EQ(wav.substr(36, 4), "data");
    const std::uint32_t dataSize = U32(wav, 40);
    EXPECT_LE(dataSize + 44, wav.size());
    EXPECT_EQ(dataSize % blockAlign, 0u);

    // Audible: the loudest sample reaches at least a quarter of full scale.
    int peak = 0;
    for (std::uint32_t i = 0; i + blockAlign <= dataSize; i += blockAlign) {
      const int v = bits == 8 ? static_cast<std::uint8_t>(wav[44 + i]) - 128
                              : static_cast<std::int16_t>(U16(wav, 44 + i)) / 256;
      peak = std::max(peak, std::abs(v));
    }
    EXPECT_GE(peak, 32);
  }
}

TEST(ProductFiles, SettingsAreWindowsTextOpeningWithMain) {
  const std::string ini = ReadWholeFile(kStaged + "kestamor.ini");
  EXPECT_EQ(ini.rfind("[main]\r\n", 0), 0u);
  for (std::size_t i = ini.find('\n'); i != std::string::npos; i = ini.find('\n', i + 1))
    EXPECT_EQ(ini[i - 1], '\r') << "line end at " << i;
  char value[16] = "";
  GetPrivateProfileStringA("main", "sound", "", value, sizeof value, (kStaged + "kestamor.ini").c_str());
  EXPECT_STREQ(value, "1");
}

TEST(ProductFiles, HelpFileOpensInTheSystemsHelpReader) {
  const std::string chm = kStaged + "help.chm";
  EXPECT_EQ(ReadWholeFile(chm).substr(0, 4), "ITSF");
  const std::string page = ReadFromHelpFile(chm, "/index.html");
  EXPECT_EQ(page, ReadWholeFile(KESTAMOR_SOURCE_DIR "/product/help/index.html"));
  EXPECT_NE(ReadFromHelpFile(chm, "/#SYSTEM").find("Kestamor Help"), std::string::npos);
}

TEST(UninstallRules, GroupNamesThatStayInsideTheirOwnFolder) {
  for (const char* name : {"Kestamor", "My Games\\Kestamor", "Kestamor.", " Kestamor", "Ke\"stamor", "..Kestamor"})
    EXPECT_TRUE(IsRemovableGroupName(name)) << name;
  // Each of these names the Programs folder itself or something above it.
  for (const char* name : {"", "   ", ".", "..", " . ", "\"\"", "a\\..", "a\\ .. \\b", "\\Windows", "/x",
                           "C:\\Windows", "a\\\\b", "a\\", "a/"})
    EXPECT_FALSE(IsRemovableGroupName(name)) << '"' << name << '"';
  EXPECT_EQ(DeleteGroupCommand("Ke\"sta\"mor"), "[DeleteGroup(\"Kestamor\")]");
  EXPECT_EQ(DeleteGroupCommand("My Games"), "[DeleteGroup(\"My Games\")]");
}

TEST(UninstallRules, OnlyAFullPathToALinkIsDeletedAsTheDesktopLink) {
  EXPECT_TRUE(IsDesktopLinkPath("C:\\Users\\Public\\Desktop\\Kestamor.lnk"));
  EXPECT_TRUE(IsDesktopLinkPath("c:/users/me/desktop/Kestamor.LNK"));
  EXPECT_TRUE(IsDesktopLinkPath("\\\\server\\home\\Desktop\\Kestamor.lnk"));
  for (const char* path : {"...", "", "Kestamor.lnk", "\\Kestamor.lnk", "C:\\Windows\\notepad.exe", "C:\\Desktop\\.lnk",
                           "C:\\Desktop\\Kestamor.lnk.txt"})
    EXPECT_FALSE(IsDesktopLinkPath(path)) << path;
  EXPECT_EQ(DirectoryOf("C:\\Program Files\\Kestamor\\kestamor.exe"), "C:\\Program Files\\Kestamor\\");
  EXPECT_EQ(DirectoryOf("kestamor.exe"), "");
}
