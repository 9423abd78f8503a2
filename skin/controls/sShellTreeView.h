// The skinned tree of shell folders: the shell tree with the skin's colours, a skinned frame
// and skinned scroll bars (an edit handler on its window, section "EDIT"), and a label bound
// above it.
#pragma once

#include <memory>

#include "framework/ShellCtrls.h"
#include "skin/controls/acEditWnd.h"
#include "skin/controls/sLabel.h"
#include "skin/render/sCommonData_win.h"

class TsShellTreeView : public TShellTreeView {
 public:
  explicit TsShellTreeView(TComponent* AOwner);
  ~TsShellTreeView() override;
  FRAMEWORK_CLASS(TsShellTreeView)

  TsCommonData& SkinData() { return *skinData_; }
  // The label above the tree; it follows the tree's position.
  TsEditLabel* BoundLabel() const { return label_; }
  TacEditWnd* Handler() const { return handler_.get(); }

  void SetBounds(int left, int top, int width, int height) override;
  void SetParent(TWinControl* parent) override;

 protected:
  void WndProc(TMessage& message) override;
  void Loaded() override;
  void CreateHandleDone() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void AttachHandler();
  void PlaceLabel();

  std::unique_ptr<TsCommonData> skinData_;
  std::unique_ptr<TacEditWnd> handler_;
  TsEditLabel* label_ = nullptr;
};
