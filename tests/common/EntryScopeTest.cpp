// Entry scopes and weak references: what is handed over inside nested entries goes when the
// outermost returns, in order; outside any entry it goes at once; a weak reference reads none
// from the moment its object's life ends.

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
