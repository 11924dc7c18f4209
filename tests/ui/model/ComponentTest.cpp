#include <gtest/gtest.h>

#include <algorithm>

#include "testsupport/ui/SampleComponents.h"
#include "ui/model/Component.h"
#include "ui/model/Exception.h"

namespace {

using sample::Log;
using sample::TSampleComponent;

TSampleComponent& Named(ui::Component& owner, const std::string& name) {
  auto& component = ui::Create<TSampleComponent>(owner);
  component.SetName(name);
  return component;
}

bool Logged(const std::string& entry) {
  return std::find(Log().begin(), Log().end(), entry) != Log().end();
}

TEST(Component, OwnerDestroysItsComponentsLastFirstAndAnnouncesEachRemoval) {
  auto root = std::make_unique<TSampleComponent>(nullptr);
  root->SetName("Root");
  Named(*root, "A");
  Named(*root, "B");
  Named(*root, "C");
  Log().clear();
  root.reset();
  // The root's own destructor has run before the base destroys its components, so only the
  // components themselves log the removals; each hears of its own removal too.
  const std::vector<std::string> expected = {
      "Destroy Root", "Remove at C", "Remove at B", "Remove at A", "Destroy C",
      "Remove at B",  "Remove at A", "Destroy B",   "Remove at A", "Destroy A"};
  EXPECT_EQ(Log(), expected);
}

TEST(Component, DestroyComponentsRunsWhileTheOwnerIsWhole) {
  TSampleComponent root(nullptr);
  root.SetName("Root");
  Named(root, "A");
  Named(root, "B");
  Log().clear();
  root.DestroyComponents();
  const std::vector<std::string> expected = {"Remove at B", "Remove at A", "Remove at Root",
                                             "Destroy B",   "Remove at A", "Remove at Root",
                                             "Destroy A"};
  EXPECT_EQ(Log(), expected);
  EXPECT_EQ(root.ComponentCount(), 0);
}

TEST(Component, SiblingsSeeTheDestroyingStateDuringTheOwnersDestruction) {
  struct Watcher : TSampleComponent {
    using TSampleComponent::TSampleComponent;
    bool* sawDestroying = nullptr;
    void Notification(ui::Component& c, ui::Operation op) override {
      TSampleComponent::Notification(c, op);
      if (op == ui::Operation::Remove) *sawDestroying = HasState(ui::ComponentState::Destroying);
    }
  };
  bool sawDestroying = false;
  {
    TSampleComponent root(nullptr);
    auto& watcher = ui::Create<Watcher>(root);
    watcher.sawDestroying = &sawDestroying;
    Named(root, "Later");
    root.DestroyComponents();
  }
  EXPECT_TRUE(sawDestroying);
}

TEST(Component, CreateAnnouncesTheWholeComponentToTheOwnerAndItsComponents) {
  TSampleComponent root(nullptr);
  root.SetName("Root");
  Named(root, "A");
  Log().clear();
  ui::Create<TSampleComponent>(root);
  EXPECT_TRUE(Logged("Insert TSampleComponent at Root"));
  EXPECT_TRUE(Logged("Insert TSampleComponent at A"));
}

TEST(Component, NamesAreIdentifiersUniqueAmongSiblingsIgnoringCase) {
  TSampleComponent root(nullptr);
  auto& a = Named(root, "Slider1");
  auto& b = ui::Create<TSampleComponent>(root);
  EXPECT_THROW(b.SetName("slider1"), ui::ComponentNameError);
  EXPECT_THROW(b.SetName("1st"), ui::ComponentNameError);
  EXPECT_THROW(b.SetName("a.b"), ui::ComponentNameError);
  b.SetName("Slider2");
  EXPECT_EQ(root.FindComponent("SLIDER1"), &a);
  EXPECT_EQ(root.FindComponent("none"), nullptr);
  EXPECT_EQ(&root.RequireComponent<TSampleComponent>("slider2"), &b);
  EXPECT_THROW(root.RequireComponent<TSampleComponent>("nope"), ui::Exception);
  a.SetName("SLIDER1");  // its own name in another case is not a clash
  EXPECT_EQ(a.Name(), "SLIDER1");
  ui::Create<TSampleComponent>(root);  // any number of unnamed ones
  EXPECT_EQ(root.ComponentCount(), 3);
}

TEST(Component, FreeNotificationClearsAReferenceHeldInAnotherTree) {
  auto other = std::make_unique<TSampleComponent>(nullptr);
  TSampleComponent holder(nullptr);
  holder.SetBuddy(other.get());
  other.reset();
  EXPECT_EQ(holder.Buddy(), nullptr);
}

TEST(Component, ObserverThatDiesFirstIsForgotten) {
  TSampleComponent watched(nullptr);
  {
    TSampleComponent holder(nullptr);
    holder.SetBuddy(&watched);
  }
  Log().clear();
  // Would reach the dead holder if the link had been kept.
  TSampleComponent second(nullptr);
  second.SetBuddy(&watched);
  second.SetBuddy(nullptr);
  EXPECT_TRUE(Log().empty());
}

TEST(Component, SiblingReferenceIsClearedThroughTheOwner) {
  TSampleComponent root(nullptr);
  auto& holder = Named(root, "Holder");
  auto* target = &Named(root, "Target");
  holder.SetBuddy(target);
  delete target;
  EXPECT_EQ(holder.Buddy(), nullptr);
  EXPECT_EQ(root.ComponentCount(), 1);
}

TEST(Component, RemoveAndInsertMoveOwnership) {
  TSampleComponent first(nullptr);
  TSampleComponent second(nullptr);
  second.SetName("Second");
  auto& moving = Named(first, "Moving");
  Named(second, "moving");
  std::unique_ptr<ui::Component> taken = first.RemoveComponent(moving);
  EXPECT_EQ(moving.Owner(), nullptr);
  EXPECT_EQ(first.ComponentCount(), 0);
  EXPECT_THROW(second.InsertComponent(std::move(taken)), ui::ComponentNameError);
  EXPECT_THROW(first.RemoveComponent(second), ui::Exception);
}

TEST(Component, InsertComponentTakesOwnershipAndAnnouncesIt) {
  TSampleComponent owner(nullptr);
  owner.SetName("Owner");
  auto loose = std::make_unique<TSampleComponent>(nullptr);
  ui::Component* raw = loose.get();
  Log().clear();
  owner.InsertComponent(std::move(loose));
  EXPECT_EQ(raw->Owner(), &owner);
  EXPECT_EQ(raw->ComponentIndex(), 0);
  EXPECT_TRUE(Logged("Insert TSampleComponent at Owner"));
}

TEST(Component, DesigningStateReachesOwnedComponentsOldAndNew) {
  TSampleComponent root(nullptr);
  auto& old = ui::Create<TSampleComponent>(root);
  root.SetDesigning(true);
  auto& fresh = ui::Create<TSampleComponent>(root);
  EXPECT_TRUE(old.HasState(ui::ComponentState::Designing));
  EXPECT_TRUE(fresh.HasState(ui::ComponentState::Designing));
  EXPECT_FALSE(fresh.HasState(ui::ComponentState::Loading));
}

TEST(Component, ConstructorFailureLeavesTheOwnerClean) {
  struct Failing : TSampleComponent {
    explicit Failing(ui::Component* owner) : TSampleComponent(owner) {
      throw ui::Exception("Owner cannot be nil");
    }
  };
  TSampleComponent root(nullptr);
  EXPECT_THROW(ui::Create<Failing>(root), ui::Exception);
  EXPECT_EQ(root.ComponentCount(), 0);
}

}  // namespace
