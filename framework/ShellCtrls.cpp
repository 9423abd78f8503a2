#include "framework/ShellCtrls.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "framework/ComObj.h"
#include "framework/Handles.h"

namespace {

// Posted to the tree once the label editor has closed: the rename can be shown now.
constexpr UINT CM_SHOWRENAME = CM_BASE + 120;

// The shell's objects want the thread in a COM apartment; entered once per thread.
void EnsureCom() { thread_local ComInitScope com; }

ComRef<IShellFolder> Desktop() {
  ComRef<IShellFolder> desktop;
  SHGetDesktopFolder(reinterpret_cast<IShellFolder**>(desktop.out()));
  return desktop;
}

std::wstring Wide(const std::string& s) {
  const int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
  std::wstring w(static_cast<size_t>(n > 0 ? n : 1), L'\0');
  MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, w.data(), n);
  w.resize(wcslen(w.c_str()));
  return w;
}

// The folder an absolute id list names (the desktop for the empty list).
ComRef<IShellFolder> BindFolder(const ITEMIDLIST* pidl) {
  ComRef<IShellFolder> desktop = Desktop();
  if (!desktop || !pidl || pidl->mkid.cb == 0) return desktop;
  ComRef<IShellFolder> folder;
  desktop->BindToObject(pidl, nullptr, IID_IShellFolder, folder.out());
  return folder;
}

UniquePidl ParsePath(const std::string& path) {
  ComRef<IShellFolder> desktop = Desktop();
  if (!desktop || path.empty()) return nullptr;
  std::wstring w = Wide(path);
  ITEMIDLIST* pidl = nullptr;
  if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, w.data(), nullptr, &pidl, nullptr))) return nullptr;
  return UniquePidl(pidl);
}

UniquePidl RootPidl(const std::string& root) {
  struct Known {
    const char* name;
    int csidl;
  };
  static constexpr Known kKnown[] = {
      {"rfDesktop", CSIDL_DESKTOP}, {"rfMyComputer", CSIDL_DRIVES}, {"rfNetwork", CSIDL_NETWORK},
      {"rfPersonal", CSIDL_PERSONAL}, {"rfPrinters", CSIDL_PRINTERS}, {"rfControlPanel", CSIDL_CONTROLS},
  };
  for (const Known& k : kKnown) {
    if (root != k.name) continue;
    ITEMIDLIST* pidl = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, k.csidl, &pidl))) return UniquePidl(pidl);
    return nullptr;
  }
  return ParsePath(root);
}

std::string DisplayName(IShellFolder* folder, const ITEMIDLIST* child, SHGDNF flags) {
  STRRET ret{};
  if (FAILED(folder->GetDisplayNameOf(child, flags, &ret))) return {};
  char name[MAX_PATH] = {};
  StrRetToBufA(&ret, child, name, sizeof name);
  return name;
}

// The shell's small icon of an item, closed and open, in the system image list.
std::pair<int, int> Icons(const ITEMIDLIST* pidl) {
  SHFILEINFOA info{};
  const auto flags = SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON;
  SHGetFileInfoA(reinterpret_cast<const char*>(pidl), 0, &info, sizeof info, flags);
  const int closed = info.iIcon;
  SHGetFileInfoA(reinterpret_cast<const char*>(pidl), 0, &info, sizeof info, flags | SHGFI_OPENICON);
  return {closed, info.iIcon};
}

// Whether a folder shows an opening button. The shell says "may have subfolders" of every
// folder; for one on a disk the disk is asked (the first subfolder found ends the search).
bool HasSubfolders(const ITEMIDLIST* pidl, SFGAOF attributes) {
  if (!(attributes & SFGAO_HASSUBFOLDER)) return false;
  char path[MAX_PATH] = {};
  if (!(attributes & SFGAO_FILESYSTEM) || !SHGetPathFromIDListA(pidl, path) || !path[0]) return true;
  std::string pattern = path;
  if (pattern.back() != '\\') pattern += '\\';
  pattern += '*';
  WIN32_FIND_DATAA f;
  HANDLE h = FindFirstFileExA(pattern.c_str(), FindExInfoBasic, &f, FindExSearchLimitToDirectories, nullptr, 0);
  if (h == INVALID_HANDLE_VALUE) return false;
  const UniqueFind search(h);
  bool found = false;
  do {
    const bool dots = f.cFileName[0] == '.' && (!f.cFileName[1] || (f.cFileName[1] == '.' && !f.cFileName[2]));
    found = (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !dots;
  } while (!found && FindNextFileA(search.get(), &f));
  return found;
}

}  // namespace

TShellTreeView::TShellTreeView(TComponent* AOwner) : TCustomTreeView(AOwner) { EnsureCom(); }

// The items go with the window; their nodes must outlive the deletions it reports.
TShellTreeView::~TShellTreeView() {
  Destroying();
  DestroyHandle();
}

void TShellTreeView::SetRoot(const std::string& value) {
  if (value == root_) return;
  root_ = value;
  if (HandleAllocated()) FillRoot();
}

TShellTreeView::Node* TShellTreeView::NodeOf(HTREEITEM item) const {
  auto it = nodes_.find(reinterpret_cast<const Node*>(ItemData(item)));
  return item && it != nodes_.end() ? it->second.get() : nullptr;
}

std::string TShellTreeView::ItemPath(HTREEITEM item) const {
  const Node* node = NodeOf(item);
  if (!node) return {};
  char path[MAX_PATH] = {};
  if (!SHGetPathFromIDListA(node->pidl.get(), path)) return {};
  return path;
}

HTREEITEM TShellTreeView::AddItem(HTREEITEM parent, UniquePidl pidl, const std::string& text, bool hasChildren) {
  auto node = std::make_unique<Node>();
  node->pidl = std::move(pidl);
  const auto [image, open] = Icons(node->pidl.get());
  Node* raw = node.get();
  nodes_[raw] = std::move(node);
  HTREEITEM item = InsertItem(parent, nullptr, text, reinterpret_cast<LPARAM>(raw), image, open, hasChildren);
  if (item)
    raw->item = item;
  else
    nodes_.erase(raw);
  return item;
}

void TShellTreeView::CreateHandleDone() {
  TCustomTreeView::CreateHandleDone();
  SHFILEINFOA info{};
  auto list = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA(
      "C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (list) SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
  FillRoot();
}

void TShellTreeView::FillRoot() {
  SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  UniquePidl root = RootPidl(root_);
  if (!root) return;
  ComRef<IShellFolder> desktop = Desktop();
  std::string name = DisplayName(desktop.get(), root.get(), SHGDN_NORMAL);
  HTREEITEM item = AddItem(nullptr, std::move(root), name, true);
  Expand(item);
}

void TShellTreeView::FillChildren(Node& node) {
  node.filled = true;
  ComRef<IShellFolder> folder = BindFolder(node.pidl.get());
  if (!folder) return;
  ComRef<IEnumIDList> items;
  const SHCONTF what = SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN;
  if (folder->EnumObjects(Handle(), what, reinterpret_cast<IEnumIDList**>(items.out())) != S_OK || !items) {
    SetHasChildren(node.item, false);
    return;
  }
  std::vector<UniquePidl> children;
  ITEMIDLIST* child = nullptr;
  while (items->Next(1, &child, nullptr) == S_OK) children.emplace_back(child);
  // The shell's own order: as its views list them.
  std::sort(children.begin(), children.end(), [&](const UniquePidl& a, const UniquePidl& b) {
    return static_cast<short>(HRESULT_CODE(folder->CompareIDs(0, a.get(), b.get()))) < 0;
  });
  for (const UniquePidl& c : children) {
    const ITEMIDLIST* one = c.get();
    SFGAOF attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM;
    folder->GetAttributesOf(1, &one, &attributes);
    if (!(attributes & SFGAO_FOLDER)) continue;
    UniquePidl absolute(ILCombine(node.pidl.get(), one));
    if (!absolute) continue;
    const bool children = HasSubfolders(absolute.get(), attributes);
    AddItem(node.item, std::move(absolute), DisplayName(folder.get(), one, SHGDN_INFOLDER), children);
  }
  if (children.empty()) SetHasChildren(node.item, false);
}

bool TShellTreeView::CanExpand(HTREEITEM item) {
  Node* node = NodeOf(item);
  if (node && !node->filled) FillChildren(*node);
  return true;
}

void TShellTreeView::DeleteChildren(HTREEITEM item) {
  for (HTREEITEM c = FirstChild(item); c;) {
    HTREEITEM next = NextSibling(c);
    SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(c));
    c = next;
  }
}

void TShellTreeView::RefreshItem(HTREEITEM item) {
  Node* node = NodeOf(item);
  if (!node) return;
  DeleteChildren(item);
  SetHasChildren(item, true);
  FillChildren(*node);
}

HTREEITEM TShellTreeView::FindChild(HTREEITEM parent, const std::string& path) const {
  for (HTREEITEM c = FirstChild(parent); c; c = NextSibling(c))
    if (ItemPath(c) == path) return c;
  return nullptr;
}

void TShellTreeView::SetPath(const std::string& path) {
  HandleNeeded();
  UniquePidl target = ParsePath(path);
  HTREEITEM item = Root();
  const Node* node = NodeOf(item);
  if (!target || !node) throw std::runtime_error("Error Setting Path");
  if (!ILIsEqual(node->pidl.get(), target.get()) && !ILIsParent(node->pidl.get(), target.get(), FALSE))
    throw std::runtime_error("Error Setting Path");
  while (!ILIsEqual(node->pidl.get(), target.get())) {
    Expand(item);
    CanExpand(item);  // an item already open keeps its children; a closed one reads them now
    HTREEITEM next = nullptr;
    for (HTREEITEM c = FirstChild(item); c && !next; c = NextSibling(c)) {
      const Node* n = NodeOf(c);
      if (n && (ILIsEqual(n->pidl.get(), target.get()) || ILIsParent(n->pidl.get(), target.get(), FALSE))) next = c;
    }
    if (!next) throw std::runtime_error("Error Setting Path");
    item = next;
    node = NodeOf(item);
  }
  Select(item);
}

bool TShellTreeView::Edited(HTREEITEM item, const std::string& text) {
  Node* node = NodeOf(item);
  HTREEITEM parentItem = ParentOf(item);
  Node* parent = NodeOf(parentItem);
  if (!node || !parent || text.empty()) return false;
  ComRef<IShellFolder> folder = BindFolder(parent->pidl.get());
  if (!folder) return false;
  const ITEMIDLIST* child = ILFindLastID(node->pidl.get());
  const std::wstring name = Wide(text);
  ITEMIDLIST* renamed = nullptr;
  if (FAILED(folder->SetNameOf(Handle(), child, name.c_str(), SHGDN_INFOLDER, &renamed))) return false;
  UniquePidl relative(renamed);
  // The item names the renamed folder at once (its path is asked for before the refresh).
  if (relative)
    if (UniquePidl absolute(ILCombine(parent->pidl.get(), relative.get())); absolute) node->pidl = std::move(absolute);
  // The parent is read again once the editor has gone (its items cannot go while it edits).
  renamedParent_ = parent;
  renamedPidl_ = relative ? UniquePidl(ILClone(node->pidl.get())) : nullptr;
  PostMessageA(Handle(), CM_SHOWRENAME, 0, 0);
  return true;
}

void TShellTreeView::ApplyRename() {
  const Node* parent = renamedParent_;
  UniquePidl renamed = std::move(renamedPidl_);
  renamedParent_ = nullptr;
  if (!parent || !nodes_.count(parent)) return;
  HTREEITEM parentItem = parent->item;
  RefreshItem(parentItem);
  if (!renamed) return;
  for (HTREEITEM c = FirstChild(parentItem); c; c = NextSibling(c))
    if (const Node* n = NodeOf(c); n && ILIsEqual(n->pidl.get(), renamed.get())) Select(c);
}

void TShellTreeView::ItemDeleted(HTREEITEM, LPARAM data) {
  const auto* node = reinterpret_cast<const Node*>(data);
  if (node == renamedParent_) renamedParent_ = nullptr;
  nodes_.erase(node);
}

void TShellTreeView::WndProc(TMessage& m) {
  if (m.Msg == CM_SHOWRENAME) {
    ApplyRename();
    return;
  }
  TCustomTreeView::WndProc(m);
}
