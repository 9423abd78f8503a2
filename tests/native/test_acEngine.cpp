// The engine's one state: parts made once and found again by type, listeners that hear the
// manager's announcements in the order they came (one that leaves meanwhile hears no more),
// and scope flags that put back what they found.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/data/acEngine.h"

namespace {

struct Counter {
  int Value = 0;
};
struct OtherCounter {
  int Value = 0;
};

struct Recorder final : TacSkinListener {
  Recorder(std::vector<std::string>& log, std::string name) : Log(log), Name(std::move(name)) {}
  void SkinGoing() override { Log.push_back(Name + ":going"); }
  void HookWanted(bool wanted) override {
    Log.push_back(Name + (wanted ? ":hook" : ":unhook"));
    if (LeaveWith) LeaveWith->reset();
  }
  std::vector<std::string>& Log;
  std::string Name;
  std::unique_ptr<TacListening>* LeaveWith = nullptr;  // a registration this one ends when it hears
};

TEST(Engine, PartsAreMadeOnceAndKeptApartByType) {
  TacEngine engine;
  engine.Part<Counter>().Value = 3;
  engine.Part<OtherCounter>().Value = 5;
  EXPECT_EQ(&engine.Part<Counter>(), &engine.Part<Counter>());
  EXPECT_EQ(engine.Part<Counter>().Value, 3);
  EXPECT_EQ(engine.Part<OtherCounter>().Value, 5);
  // Another engine has parts of its own.
  TacEngine other;
  EXPECT_EQ(other.Part<Counter>().Value, 0);
}

TEST(Engine, ListenersHearInOrderUntilTheirRegistrationEnds) {
  std::vector<std::string> log;
  Recorder first(log, "first"), second(log, "second"), third(log, "third");
  auto one = std::make_unique<TacListening>(first);
  auto two = std::make_unique<TacListening>(second);
  {
    const TacListening three(third);
    // The first ends the second's registration while the announcement is under way.
    first.LeaveWith = &two;
    acEngine().Announce([](TacSkinListener& l) { l.HookWanted(true); });
    acEngine().Announce([](TacSkinListener& l) { l.SkinGoing(); });
  }
  one.reset();
  acEngine().Announce([](TacSkinListener& l) { l.HookWanted(false); });
  EXPECT_EQ(log, (std::vector<std::string>{"first:hook", "third:hook", "first:going", "third:going"}));
}

TEST(Engine, FlagScopesPutBackWhatTheyFound) {
  bool flag = false;
  {
    const TacFlagScope outer(flag);
    EXPECT_TRUE(flag);
    {
      const TacFlagScope inner(flag);
      EXPECT_TRUE(flag);
    }
    EXPECT_TRUE(flag);  // the outer scope still runs
  }
  EXPECT_FALSE(flag);
}

}  // namespace
