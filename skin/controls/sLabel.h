// Labels in the skin's text colour: the colour of the section their parent gives its font
// to, else the skin's global font colour; disabled text mixed with the parent's colour.
#pragma once

#include <string>

#include "framework/StdCtrls.h"

class TsCustomLabel : public TLabel {
 public:
  explicit TsCustomLabel(TComponent* AOwner);
  FRAMEWORK_CLASS(TsCustomLabel)

  // A section painted behind the text, whose font colour the text then takes.
  const std::string& SkinSection() const { return skinSection_; }
  void SetSkinSection(const std::string& v);

 protected:
  void WndProc(TMessage& message) override;
  void Paint() override;
  void DoDrawText(RECT& rect, UINT flags) override;
  // Whether the font colour follows the skin.
  virtual bool FollowsSkinColor() const { return true; }

 private:
  void ApplySkinFontColor();
  std::string skinSection_;
};

class TsLabel : public TsCustomLabel {
 public:
  explicit TsLabel(TComponent* AOwner) : TsCustomLabel(AOwner) {}
  FRAMEWORK_CLASS(TsLabel)

  bool UseSkinColor() const { return useSkinColor_; }
  void SetUseSkinColor(bool v);

 protected:
  bool FollowsSkinColor() const override { return useSkinColor_; }

 private:
  bool useSkinColor_ = true;
};

// The label an edit's bound label creates.
class TsEditLabel : public TsLabel {
 public:
  explicit TsEditLabel(TComponent* AOwner) : TsLabel(AOwner) {}
  FRAMEWORK_CLASS(TsEditLabel)
};
