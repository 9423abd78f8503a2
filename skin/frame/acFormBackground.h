// Until forms get their skin provider, a form answers its children's background questions
// with the FORM section and erases its client area in that section's colour.
#pragma once

#include <memory>

#include "framework/Forms.h"
#include "skin/render/sCommonData_win.h"

class TacFormBackground : public TComponent {
 public:
  // Takes over the form's message handler; gives it back when freed.
  explicit TacFormBackground(TForm* form);
  ~TacFormBackground() override;
  FRAMEWORK_CLASS(TacFormBackground)

  TsCommonData& SkinData() { return *skinData_; }

 protected:
  void Loaded() override;

 private:
  void FormWndProc(TMessage& message);

  TForm* form_;
  TWndMethod formProc_;
  std::unique_ptr<TsCommonData> skinData_;
};
