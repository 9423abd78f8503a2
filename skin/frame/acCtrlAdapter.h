// The control adapter of a form's skin provider: it walks the form's controls and gives a
// window handler to each control that is not skin-aware but whose class the skin manager's
// third-party lists name (a standard push button gets the push-button handler), and recolours
// the standard labels in the skin's label colour.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Controls.h"

class TacMainWnd;
class TForm;
class TsSkinManager;

// Called for each control about to be skinned: clear `allow` to leave it alone, change
// `section` to paint it from another section.
using TacSkinItemEvent = std::function<void(TControl* control, bool& allow, std::string& section)>;

class TacCtrlAdapter {
 public:
  TacCtrlAdapter(TForm* form, TsSkinManager* manager);
  // Lets go of every control: their handlers detach and the platform paints them again.
  ~TacCtrlAdapter();
  TacCtrlAdapter(const TacCtrlAdapter&) = delete;
  TacCtrlAdapter& operator=(const TacCtrlAdapter&) = delete;

  // Adapts the controls of `container` (nullptr: the whole form).
  void Adapt(TWinControl* container = nullptr);
  // How many controls have a handler from this adapter.
  int ItemCount() const { return static_cast<int>(items_.size()); }

  TacSkinItemEvent OnSkinItem;

 private:
  struct Item {
    TWinControl* Control = nullptr;
    std::string Section;
    std::unique_ptr<TacMainWnd> Handler;
  };

  void Consider(TControl* control, bool fromComponents);
  void AdaptWindowed(TWinControl* control, int list);
  void RecolourLabel(TControl* label);
  // The third-party list (its index) that names the class, or -1.
  int ListOf(const std::string& className) const;
  void DropGoneItems();

  TForm* form_;
  TsSkinManager* manager_;
  std::vector<Item> items_;
  bool adapting_ = false;
};
