// The frame layer joins the engine when the program starts: the window hook follows the
// default manager, and forms of the layers below get their skin providers from here. Nothing
// below names the frame, so the build keeps this file in every link by its anchor symbol
// (skin/controls/CMakeLists.txt).
#include "skin/controls/acFormSkin.h"
#include "skin/frame/acDials.h"
#include "skin/frame/sSkinProvider.h"

extern "C" {
extern const char acFrameJoined;
const char acFrameJoined = 1;
}

namespace {

TComponent* MakeProvider(TForm& form, const TacFormSkinRequest& request) {
  auto* provider = new TsSkinProvider(&form);  // owned by the form
  provider->SetName(request.Name);
  provider->SkinData().SetSkinSection(request.Section);
  provider->CaptionAlignment = request.CaptionAlignment;
  provider->ShowAppIcon = request.ShowAppIcon;
  return provider;
}

const bool kJoined = [] {
  acJoinHook();
  acEngine().Part<TacFormSkinMaker>().Make = &MakeProvider;
  return true;
}();

}  // namespace
