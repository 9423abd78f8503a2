// The skin engine's process-wide state in one place: the loading, changing and effect flags,
// the default manager and its model, the listeners that follow the manager's announcements,
// and one slot ("part") per piece of state a higher layer keeps for the whole process (glows,
// fade timers, providers, scroll bars, the layered-window functions, ...).
//
// The engine is reached through acEngine(), not through a manager: glows, fades, layered
// windows and the tests run before any manager exists and after the last one has gone. It is
// made on first use and lives until the process ends; a manager registers itself in it as the
// default one. This header is platform-neutral so that the neutral painters can read the
// default model; the parts of higher layers are types the engine never sees (type-erased), so
// that nothing here depends on the layers above.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class TsSkinManager;
class TsSkinModel;

// Follows the skin manager: a new, removed or refreshed skin and the moments its window hook
// comes and goes. Register with a TacListening; every call has an empty default.
class TacSkinListener {
 public:
  virtual ~TacSkinListener() = default;
  // The skin that pictures were made of goes (a new one comes, or none stays); called before
  // any window hears of the change.
  virtual void SkinGoing() {}
  // `command` (a SkinCommand) is announced to every form of the application.
  virtual void SkinAnnounced(TsSkinManager& /*manager*/, uint16_t /*command*/) {}
  // The default manager's skin is active (true) or gone: the window hook should come or go.
  virtual void HookWanted(bool /*wanted*/) {}
};

class TacEngine {
 public:
  TacEngine() = default;
  TacEngine(const TacEngine&) = delete;
  TacEngine& operator=(const TacEngine&) = delete;
  ~TacEngine();

  // A skin is being loaded / announced to the windows / a form effect is running: fading and
  // the effects read these instead of locking.
  bool SkinLoading = false;
  bool SkinChanging = false;
  bool EffectRunning = false;
  // The manager that controls and providers without one of their own use; nullptr when none.
  TsSkinManager* DefaultManager = nullptr;
  // The model painting falls back to when a caller names none: the default manager's while
  // its skin is active.
  const TsSkinModel* DefaultModel = nullptr;

  // The part of type T, made on first use; parts go in the reverse order they came.
  template <class T>
  T& Part() {
    for (const auto& p : parts_)
      if (p->Key() == &kPartKey<T>) return static_cast<Holder<T>&>(*p).Value;
    parts_.push_back(std::make_unique<Holder<T>>());
    return static_cast<Holder<T>&>(*parts_.back()).Value;
  }

  // Calls `announce(listener)` for every listener, in the order they came; a listener that
  // leaves meanwhile is not called.
  template <class F>
  void Announce(F&& announce) {
    const std::vector<TacSkinListener*> now = listeners_;
    for (TacSkinListener* l : now)
      if (Listening(l)) announce(*l);
  }

 private:
  friend class TacListening;

  struct PartBase {
    virtual ~PartBase() = default;
    virtual const void* Key() const = 0;
  };
  template <class T>
  struct Holder final : PartBase {
    T Value{};
    const void* Key() const override { return &kPartKey<T>; }
  };
  // One address per part type: the key the part is found by.
  template <class T>
  static inline const char kPartKey = 0;

  bool Listening(const TacSkinListener* l) const;

  std::vector<std::unique_ptr<PartBase>> parts_;
  std::vector<TacSkinListener*> listeners_;
};

// The engine of this process.
TacEngine& acEngine();

// A listener's registration: it hears the announcements while this lives.
class TacListening {
 public:
  explicit TacListening(TacSkinListener& listener);
  ~TacListening();
  TacListening(const TacListening&) = delete;
  TacListening& operator=(const TacListening&) = delete;

 private:
  TacSkinListener& listener_;
};

// Sets a flag for the life of the scope and puts back what it was: the engine's re-entry
// guards and "while this runs" flags.
class TacFlagScope {
 public:
  explicit TacFlagScope(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
  ~TacFlagScope() { flag_ = before_; }
  TacFlagScope(const TacFlagScope&) = delete;
  TacFlagScope& operator=(const TacFlagScope&) = delete;

 private:
  bool& flag_;
  const bool before_;
};
