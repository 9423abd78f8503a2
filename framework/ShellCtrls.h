// A tree of the shell's folders: the shell namespace from a root folder down, folders only
// (hidden ones too), with the shell's own icons and names. Children are read when an item is
// first opened; renaming an item's label renames the folder through the shell.
#pragma once

#include "framework/ComCtrls.h"

#include <shlobj.h>

#include <map>
#include <memory>
#include <string>

// An item id list the shell allocated, freed with CoTaskMemFree.
struct PidlDeleter {
  void operator()(ITEMIDLIST* p) const { CoTaskMemFree(p); }
};
using UniquePidl = std::unique_ptr<ITEMIDLIST, PidlDeleter>;

class TShellTreeView : public TCustomTreeView {
 public:
  explicit TShellTreeView(TComponent* AOwner);
  ~TShellTreeView() override;
  FRAMEWORK_CLASS(TShellTreeView)

  // The root folder: "rfDesktop", "rfMyComputer", "rfNetwork", "rfPersonal" or a folder path.
  const std::string& RootFolder() const { return root_; }
  void SetRoot(const std::string& value);

  // The file-system path of the selected item; empty when none is selected or the item has
  // none (the computer, network places).
  std::string Path() const { return ItemPath(Selected()); }
  std::string ItemPath(HTREEITEM item) const;
  // Opens the tree down to the folder and selects it. Throws "Error Setting Path" when the
  // shell does not know the folder or it lies outside the root.
  void SetPath(const std::string& path);
  // Reads the item's children from the shell again.
  void RefreshItem(HTREEITEM item);
  // The child of `parent` whose path is exactly `path`, or nullptr.
  HTREEITEM FindChild(HTREEITEM parent, const std::string& path) const;

 protected:
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;
  bool CanExpand(HTREEITEM item) override;
  bool Edited(HTREEITEM item, const std::string& text) override;
  void ItemDeleted(HTREEITEM item, LPARAM data) override;

 private:
  struct Node {
    UniquePidl pidl;  // absolute
    HTREEITEM item = nullptr;
    bool filled = false;
  };
  Node* NodeOf(HTREEITEM item) const;
  HTREEITEM AddItem(HTREEITEM parent, UniquePidl pidl, const std::string& text, bool hasChildren);
  void FillRoot();
  void FillChildren(Node& node);
  void DeleteChildren(HTREEITEM item);
  void ApplyRename();

  std::string root_ = "rfDesktop";
  std::map<const Node*, std::unique_ptr<Node>> nodes_;
  // A rename waiting for the editor to close: the parent's node and the folder's new id list.
  const Node* renamedParent_ = nullptr;
  UniquePidl renamedPidl_;
};
