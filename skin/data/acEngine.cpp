#include "skin/data/acEngine.h"

#include <algorithm>

TacEngine::~TacEngine() {
  // Later parts may use earlier ones while they go; a part that goes asks for no part (it
  // would not be found, and would be made again).
  while (!parts_.empty()) parts_.pop_back();
}

bool TacEngine::Listening(const TacSkinListener* l) const {
  return std::find(listeners_.begin(), listeners_.end(), l) != listeners_.end();
}

TacEngine& acEngine() {
  static TacEngine engine;
  return engine;
}

TacListening::TacListening(TacSkinListener& listener) : listener_(listener) {
  acEngine().listeners_.push_back(&listener_);
}

TacListening::~TacListening() {
  auto& list = acEngine().listeners_;
  list.erase(std::remove(list.begin(), list.end(), &listener_), list.end());
}
