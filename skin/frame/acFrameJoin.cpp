#include "skin/frame/acFrameJoin.h"

#include "skin/controls/acFormSkin.h"
#include "skin/frame/acDials.h"
#include "skin/frame/sSkinProvider.h"

namespace {

TComponent* MakeProvider(TForm& form, const TacFormSkinRequest& request) {
  auto* provider = new TsSkinProvider(&form);  // owned by the form
  provider->SetName(request.Name);
  provider->SkinData().SetSkinSection(request.Section);
  provider->CaptionAlignment = request.CaptionAlignment;
  provider->ShowAppIcon = request.ShowAppIcon;
  return provider;
}

}  // namespace

void acJoinFrame() {
  acJoinHook();
  acEngine().Part<TacFormSkinMaker>().Make = &MakeProvider;
}
