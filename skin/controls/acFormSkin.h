// A form of the controls layer (the folder dialog) gets its skin provider through here, since
// the provider belongs to the frame layer above: the frame fills the maker in when it joins
// the engine. The form owns what the maker returns.
#pragma once

#include <string>

#include "framework/Controls.h"
#include "skin/data/acEngine.h"

class TForm;

// How the form's skinned frame looks.
struct TacFormSkinRequest {
  std::string Name;
  std::string Section;
  TAlignment CaptionAlignment = TAlignment::taLeftJustify;
  bool ShowAppIcon = true;
};

struct TacFormSkinMaker {
  TComponent* (*Make)(TForm& form, const TacFormSkinRequest& request) = nullptr;
};

// The form's skin provider, owned by the form; nullptr while no frame layer has joined.
inline TComponent* acMakeFormSkin(TForm& form, const TacFormSkinRequest& request) {
  const auto make = acEngine().Part<TacFormSkinMaker>().Make;
  return make ? make(form, request) : nullptr;
}
