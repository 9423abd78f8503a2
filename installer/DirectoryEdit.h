// The install-path edit: an edit with a browse button inside its right end.
// With DirectInput off the user cannot type, paste, cut or delete: the text
// changes only when code sets it or a folder is picked through the button.
// (The skinned directory edit and its folder dialog will take its place.)
#pragma once

#include "framework/StdCtrls.h"

#include <string>

class TDirectoryEdit : public TEdit {
 public:
  explicit TDirectoryEdit(TComponent* AOwner);
  FRAMEWORK_CLASS(TDirectoryEdit)

  bool DirectInput() const { return directInput_; }
  void SetDirectInput(bool v) { directInput_ = v; }
  // The folder the picker starts from; "rfDesktop" is the desktop.
  const std::string& Root() const { return root_; }
  void SetRoot(const std::string& v) { root_ = v; }
  TButton* BrowseButton() const { return button_; }

  void SetBounds(int left, int top, int width, int height) override;

  // Shows the folder picker; a picked folder becomes the text (firing OnChange).
  void Browse();

 protected:
  void WndProc(TMessage& message) override;
  void CreateHandleDone() override;

 private:
  void PlaceButton();

  TButton* button_ = nullptr;
  bool directInput_ = true;
  std::string root_ = "rfDesktop";
};
