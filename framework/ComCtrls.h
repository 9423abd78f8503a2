// Common controls: progress bar, tree view.
#pragma once

#include "framework/Controls.h"

#include <commctrl.h>

#include <string>

enum class TProgressBarOrientation { pbHorizontal, pbVertical };

// "TProgressBar" over the common-controls progress class.
class TProgressBar : public TWinControl {
 public:
  explicit TProgressBar(TComponent* AOwner);
  FRAMEWORK_CLASS(TProgressBar)

  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  void SetMin(int v) { SetRange(v, max_); }
  void SetMax(int v) { SetRange(min_, v); }
  void SetRange(int min, int max);
  // Kept within Min..Max.
  void SetPosition(int v);
  TProgressBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation v);
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool v);
  // Space kept free inside the bar's edge.
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;

 private:
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  TProgressBarOrientation orientation_ = TProgressBarOrientation::pbHorizontal;
  bool smooth_ = false;
  int borderWidth_ = 0;
};

// A tree of items over the common-controls tree view ("TTreeView"-style superclass). Items are
// the tree's own HTREEITEMs; a descendant keeps what it needs per item in the item's lParam.
// OnChange follows every change of the selection.
class TCustomTreeView : public TWinControl {
 public:
  explicit TCustomTreeView(TComponent* AOwner);
  FRAMEWORK_CLASS(TCustomTreeView)

  int Indent() const { return indent_; }
  void SetIndent(int v);
  // Lines and buttons at the roots.
  bool ShowRoot() const { return showRoot_; }
  void SetShowRoot(bool v);
  // Without ReadOnly a selected item's label can be edited in place.
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);

  HTREEITEM Selected() const;
  void Select(HTREEITEM item);
  HTREEITEM Root() const { return Related(nullptr, TVGN_ROOT); }
  HTREEITEM FirstChild(HTREEITEM item) const { return Related(item, TVGN_CHILD); }
  HTREEITEM NextSibling(HTREEITEM item) const { return Related(item, TVGN_NEXT); }
  HTREEITEM ParentOf(HTREEITEM item) const { return Related(item, TVGN_PARENT); }
  std::string ItemText(HTREEITEM item) const;
  void Expand(HTREEITEM item);

  // The in-place editor of a label is open.
  bool IsEditing() const;
  // Opens the in-place editor on the item's label.
  void EditLabel(HTREEITEM item);
  // Closes the editor, keeping the typed text unless `cancel`.
  void EndEditing(bool cancel);

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;
  // The item is about to show its children (fill them in here); false keeps it closed.
  virtual bool CanExpand(HTREEITEM) { return true; }
  // The user typed a new label; true lets the tree show it.
  virtual bool Edited(HTREEITEM, const std::string&) { return true; }
  // The tree lets go of the item (its lParam).
  virtual void ItemDeleted(HTREEITEM, LPARAM) {}
  virtual void Change();
  // Inserts an item below `parent` (nullptr: a root) after `after`.
  HTREEITEM InsertItem(HTREEITEM parent, HTREEITEM after, const std::string& text, LPARAM data, int image,
                       int selectedImage, bool hasChildren);
  LPARAM ItemData(HTREEITEM item) const;
  void SetHasChildren(HTREEITEM item, bool value);

 private:
  HTREEITEM Related(HTREEITEM item, UINT relation) const;
  void ApplyColours();

  int indent_ = 19;
  bool showRoot_ = true;
  bool readOnly_ = false;
};
