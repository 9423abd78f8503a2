// The frame layer joins the engine when the program starts: the window hook follows the
// default manager. Nothing below names the frame, so the build keeps this file in every link
// by its anchor symbol (skin/controls/CMakeLists.txt).
#include "skin/data/acEngine.h"
#include "skin/frame/acDials.h"

extern "C" {
extern const char acFrameJoined;
const char acFrameJoined = 1;
}

namespace {

const bool kJoined = [] {
  acJoinHook();
  return true;
}();

}  // namespace
