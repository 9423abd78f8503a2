#include "framework/Classes.h"

#include "framework/Messages.h"

#include <algorithm>
#include <cctype>

void Abort() { throw EAbort(); }

void RaiseLastOSError() {
  const DWORD code = GetLastError();
  char* text = nullptr;
  FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = text ? text : "";
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
    message.pop_back();
  if (message.empty()) message = "System Error.  Code: " + std::to_string(code) + ".";
  throw EOSError(code, message);
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) {
    if (AOwner->HasState(csLoading)) state_ |= csLoading;
    AOwner->InsertComponent(this);
  }
}

TComponent::~TComponent() {
  Destroying();
  // Tell those that asked, then drop our own requests to others.
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    auto& theirs = other->freeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    other->Notification(this, TOperation::opRemove);
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  const auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_) {
    if (c->name_.size() != name.size()) continue;
    if (std::equal(name.begin(), name.end(), c->name_.begin(),
                   [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) ==
                                               std::tolower(static_cast<unsigned char>(b)); }))
      return c;
  }
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component || component->owner_ == this) return;
  if (component->owner_) component->owner_->RemoveComponent(component);
  components_.push_back(component);
  component->owner_ = this;
  Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (!component || component->owner_ != this) return;
  Notification(component, TOperation::opRemove);
  components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
  component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
  // Each destructor takes its component out of the list (and may free others with it),
  // so always take the last one still there.
  while (!components_.empty()) components_.back()->Free();
}

void TComponent::BeginLoading() { state_ |= csLoading; }

void TComponent::EndLoading() {
  if (!HasState(csLoading)) return;
  // Loaded() may create components; walk by index. Owned components end their own
  // loading first (theirs, then themselves), in creation order.
  for (size_t i = 0; i < components_.size(); ++i) components_[i]->EndLoading();
  Loaded();
}

void TComponent::Loaded() { state_ &= ~(csLoading | csReading); }

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end()) {
    freeNotifies_.push_back(component);
    component->freeNotifies_.push_back(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component), freeNotifies_.end());
  auto& theirs = component->freeNotifies_;
  theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Destroying() {
  if (HasState(csDestroying)) return;
  state_ |= csDestroying;
  for (TComponent* c : components_) c->Destroying();
}

void TComponent::SetComponentState(TComponentState flags, bool on) {
  if (on)
    state_ |= flags;
  else
    state_ &= ~flags;
}
