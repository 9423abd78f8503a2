// Component model: TObject with a run-time class name, TComponent with an owner that
// frees what it owns, in reverse order of creation.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// Declares ClassName() returning the C++ class name. Every framework and user class
// uses it: window class names and the skin engine's decisions are made by class name.
#define FRAMEWORK_CLASS(Name) \
  std::string ClassName() const override { return #Name; }

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
  virtual std::string ClassName() const { return "TObject"; }

  // Frees the object the framework's way: BeforeDestruction() runs while the object is
  // still whole, so the notifications it causes (a parent losing a child, a window being
  // destroyed) reach code that sees its real class; then the destructor runs. A plain
  // delete works too, but those notifications then come from the base destructors.
  void Free() {
    BeforeDestruction();
    delete this;
  }
  virtual void BeforeDestruction() {}
};

template <class T>
void FreeAndNil(T*& object) {
  T* o = object;
  object = nullptr;
  if (o) o->Free();
}

using TNotifyEvent = std::function<void(TObject* Sender)>;

// A silent exception: it unwinds like any other, but the application does not show it.
class EAbort : public std::runtime_error {
 public:
  explicit EAbort(const std::string& message = "Operation aborted") : std::runtime_error(message) {}
};
[[noreturn]] void Abort();

// An operation that is not allowed in the object's present state.
class EInvalidOperation : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A failed Windows call; the message is the system's text for the error code.
class EOSError : public std::runtime_error {
 public:
  EOSError(unsigned long code, const std::string& message) : std::runtime_error(message), Code(code) {}
  unsigned long Code;
};
[[noreturn]] void RaiseLastOSError();

// Component state flags.
enum : uint32_t {
  csLoading = 0x1,     // the component is being built by its form's constructor
  csReading = 0x2,     // its properties are being read
  csDestroying = 0x4,  // it is being destroyed
  csDesigning = 0x8,   // never set at run time; kept for code that asks
};
using TComponentState = uint32_t;

enum class TOperation { opInsert, opRemove };

class TComponent : public TObject {
 public:
  // The owner (may be null) takes the component into its list and frees it later.
  // A component created while its owner is loading starts in the loading state too.
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  FRAMEWORK_CLASS(TComponent)

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(static_cast<size_t>(index)); }
  int ComponentIndex() const;  // position in the owner's list, -1 without owner
  TComponent* FindComponent(const std::string& name) const;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& value) { name_ = value; }
  intptr_t Tag() const { return tag_; }
  void SetTag(intptr_t value) { tag_ = value; }

  TComponentState ComponentState() const { return state_; }
  bool HasState(TComponentState flags) const { return (state_ & flags) != 0; }

  // Moves a component from its present owner (if any) to this one, at the end.
  void InsertComponent(TComponent* component);
  // Takes a component out of this owner's list without freeing it.
  void RemoveComponent(TComponent* component);
  // Frees every owned component, the last created first.
  void DestroyComponents();

  // Puts the component (and later-created owned ones) in the loading state.
  void BeginLoading();
  // Ends loading: every owned component that is loading ends its loading (in creation
  // order, each with its own owned ones first), then Loaded() on this one.
  void EndLoading();
  // Called once loading has finished; clears csLoading and csReading.
  virtual void Loaded();

  // Tells this component when `component` is inserted or removed (owned ones, and those
  // that asked for it through FreeNotification).
  virtual void Notification(TComponent* component, TOperation operation);
  // Asks `component` to report its destruction to this one.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // Marks this component and everything it owns as being destroyed.
  void Destroying();
  void BeforeDestruction() override { Destroying(); }

 protected:
  void SetComponentState(TComponentState flags, bool on);

 private:
  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  std::string name_;
  intptr_t tag_ = 0;
  TComponentState state_ = 0;
};
