// The platform-neutral part of the skin manager: building its skin model from the three
// kinds of skin source (a packed archive in memory or in a file, a skin folder, an options
// text), the version check and the version text. The Win32 component (properties, window
// messages, announcing skins to forms) sits on top of this in sSkinManager_win.cpp and
// owns one TsSkinModel.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "skin/data/sSkinModel.h"

// Builds `model` from a packed skin archive held in memory (an internal skin's Data, or the
// bytes of an ".asz" file). An empty archive builds the model from an empty options text.
// Images come from the archive; `skinPath` becomes SkinData.SkinPath. Archive errors
// (wrong magic, zlib errors) are thrown before the model is touched; an archive without an
// options entry throws std::runtime_error("The skin archive holds no options file").
void LoadPackedSkin(TsSkinModel& model, std::span<const uint8_t> archive, const TsBuildParams& params,
                    const std::string& skinPath);

// Builds `model` from the ".asz" file at `path`. Returns false, leaving the model alone,
// when the file does not exist.
bool LoadPackedSkinFile(TsSkinModel& model, const std::string& path, const TsBuildParams& params,
                        const std::string& skinPath);

// Builds `model` from the folder skin at `skinPath` (ending in "\" or "/"): its Options.dat
// and the pictures beside it. Returns false, leaving the model alone, when there is no
// Options.dat.
bool LoadFolderSkin(TsSkinModel& model, const std::string& skinPath, const TsBuildParams& params);

// Builds `model` from an options text given directly (a preview record); pictures come from
// `skinPath`.
void LoadOptionsTextSkin(TsSkinModel& model, std::string_view optionsText, const std::string& skinPath,
                         const TsBuildParams& params);

// The version check that runs after the skin-wide values are read.
enum class TsVersionNotice { None, Newer, Old };
// 7 to 7.99 inclusive: None; above: Newer; below: Old, but only when `designOrTest` (design
// time or the "/actest" switch), else None.
TsVersionNotice CheckSkinVersion(double version, bool designOrTest);
// The message text of a notice ("" for None).
std::string SkinVersionMessage(TsVersionNotice notice, std::string_view skinName);

// A skin version as the manager's SkinInfo shows it: "." as decimal separator, no trailing
// zeros (7.00 -> "7", 7.5 -> "7.5").
std::string FormatSkinVersion(double version);

// True when the command-line arguments hold `option` (compared in lower case), e.g. "/actest".
bool HasSwitch(std::span<const std::string> args, std::string_view option);

// SkinDirectory as a folder that ends in "\": a final "/" becomes "\", a single character
// (a drive letter) gets ":\", anything else that lacks it gets "\"; empty stays empty.
std::string WithTrailingBackslash(std::string_view folder);
// The folder that folder skins are looked for in: SkinDirectory made absolute against the
// application's folder `appFolder` (ending in "\"): "..\x" lies beside the application's
// folder, ".\x" and any other value without ":" or "\\" inside it. Ends in "\".
std::string AbsoluteSkinFolder(std::string_view skinDirectory, std::string_view appFolder);
