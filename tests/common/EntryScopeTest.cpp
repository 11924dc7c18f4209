// Entry scopes and weak references: what is handed over inside nested entries goes when the
// outermost returns, in order, after the task asked for then; outside any entry it goes at
// once; a weak reference reads none from the moment its object's life ends.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/EntryScope.h"
#include "common/Lifetime.h"

namespace {

struct Noted {
  Noted(std::vector<std::string>& into, std::string called) : log(into), name(std::move(called)) {}
  ~Noted() {
    log.push_back(name);
    if (then) flux::EntryScope::DestroyOnReturn(std::move(then));
  }
  std::vector<std::string>& log;
  std::string name;
  std::unique_ptr<Noted> then;  // handed over while this one is destroyed
};

TEST(EntryScope, WhatNestedEntriesHandOverGoesWhenTheOutermostReturnsInOrder) {
  std::vector<std::string> log;
  {
    const flux::EntryScope outer;
    {
      const flux::EntryScope inner;
      EXPECT_TRUE(flux::EntryScope::Inside());
      auto first = std::make_unique<Noted>(log, "first");
      first->then = std::make_unique<Noted>(log, "handed over by first");
      flux::EntryScope::DestroyOnReturn(std::move(first));
      flux::EntryScope::DestroyOnReturn(std::make_unique<Noted>(log, "second"));
    }
    EXPECT_TRUE(log.empty());  // the outer entry is still running
  }
  // Nothing of ours is on the stack any more: what a destructor hands over goes at once.
  EXPECT_EQ(log, (std::vector<std::string>{"first", "handed over by first", "second"}));
  EXPECT_FALSE(flux::EntryScope::Inside());

  log.clear();
  flux::EntryScope::DestroyOnReturn(std::make_unique<Noted>(log, "at once"));
  EXPECT_EQ(log, (std::vector<std::string>{"at once"}));
}

std::vector<std::string>* g_TaskLog = nullptr;
int g_TaskAsksAgain = 0;  // times the task asks for itself once more

// As a task's work does, it enters our code again.
void LoggingTask() noexcept {
  const flux::EntryScope entry;
  g_TaskLog->push_back("task");
  if (g_TaskAsksAgain > 0 && flux::EntryScope::RunOnReturn(&LoggingTask)) --g_TaskAsksAgain;
}

TEST(EntryScope, ATaskRunsOnceAsTheOutermostReturnsBeforeTheDestructionsAndAgainIfAsked) {
  std::vector<std::string> log;
  g_TaskLog = &log;
  EXPECT_FALSE(flux::EntryScope::RunOnReturn(&LoggingTask));  // outside: nothing kept
  {
    const flux::EntryScope outer;
    flux::EntryScope::DestroyOnReturn(std::make_unique<Noted>(log, "handed over"));
    {
      const flux::EntryScope inner;
      EXPECT_TRUE(flux::EntryScope::RunOnReturn(&LoggingTask));
      EXPECT_TRUE(flux::EntryScope::RunOnReturn(&LoggingTask));  // still once
    }
    EXPECT_TRUE(log.empty());
    g_TaskAsksAgain = 1;  // asked again from inside its own run: a second round
  }
  EXPECT_EQ(log, (std::vector<std::string>{"task", "task", "handed over"}));
  EXPECT_FALSE(flux::EntryScope::Inside());
}

struct Watched {
  const flux::Lifetime& Life() const { return life; }
  flux::Lifetime life;
};

TEST(Lifetime, AWeakReferenceReadsNoneOnceTheLifeEnds) {
  auto object = std::make_unique<Watched>();
  const flux::WeakRef<Watched> early(object.get());
  EXPECT_EQ(early.Get(), object.get());
  object->life.End();  // a destructor that still calls handlers ends it first
  EXPECT_FALSE(early);
  EXPECT_FALSE(flux::WeakRef<Watched>(object.get()));  // taken after the end
  auto other = std::make_unique<Watched>();
  const flux::WeakRef<Watched> destroyed(other.get());
  EXPECT_TRUE(destroyed);
  other.reset();  // the destructor ends it
  EXPECT_FALSE(destroyed);
  EXPECT_EQ(flux::WeakRef<Watched>(nullptr).Get(), nullptr);
}

}  // namespace
