#include "skin/frame/acProviderList.h"

#include <algorithm>
#include <iterator>

#include "framework/Forms.h"
#include "skin/data/acEngine.h"

namespace {

// Entries in the order they were made; an entry that went is null until the list is tidied.
struct TacProviderList {
  std::vector<TacProvider*> Items;
};

std::vector<TacProvider*>& Entries() { return acEngine().Part<TacProviderList>().Items; }

void Tidy() {
  auto& list = Entries();
  list.erase(std::remove(list.begin(), list.end(), nullptr), list.end());
}

}  // namespace

void acAddProvider(TacProvider* entry) {
  Tidy();
  Entries().push_back(entry);
}

void acDropDestroyedDialogs() {
  for (TacProvider*& p : Entries()) {
    if (p && p->DialogDestroyed) {
      TacProvider* gone = p;
      p = nullptr;
      gone->Free();
    }
  }
}

TacProvider::TacProvider(TForm* form, TsSkinProvider* provider)
    : TComponent(form), form_(form), provider_(provider) {}

TacProvider::TacProvider(HWND dialog) : TComponent(nullptr), dialog_(dialog) {}

TacProvider::~TacProvider() {
  Destroying();
  for (TacProvider*& p : Entries())
    if (p == this) p = nullptr;
}

HWND TacProvider::Wnd() const {
  if (form_) return form_->HandleAllocated() ? form_->Handle() : nullptr;
  return dialog_;
}

TacProvider* acFindProvider(HWND wnd) {
  if (!wnd) return nullptr;
  for (TacProvider* p : Entries())
    if (p && p->Wnd() == wnd) return p;
  return nullptr;
}

int acProviderCount() {
  return static_cast<int>(std::count_if(Entries().begin(), Entries().end(), [](TacProvider* p) { return p; }));
}

void acClearProviders() {
  std::vector<TacProvider*> list;
  list.swap(Entries());
  for (TacProvider* p : list)
    if (p) p->Free();
}

std::vector<TacProvider*> acLiveProviders() {
  std::vector<TacProvider*> live;
  std::copy_if(Entries().begin(), Entries().end(), std::back_inserter(live), [](TacProvider* p) { return p; });
  return live;
}
