#include <gtest/gtest.h>

#include "testsupport/ui/SampleComponents.h"
#include "ui/model/Exception.h"

namespace {

using sample::TSampleItem;
using sample::TSampleItems;

std::vector<std::string> Captions(const TSampleItems& items) {
  std::vector<std::string> captions;
  for (int i = 0; i < items.Count(); ++i) captions.push_back(items.Item(i).Caption());
  return captions;
}

void Fill(TSampleItems& items, int count) {
  for (int i = 0; i < count; ++i) {
    static_cast<TSampleItem&>(items.Add()).SetCaption(std::to_string(i));
  }
}

TEST(Collection, AddInsertAndDeleteKeepOrderAndIndices) {
  TSampleItems items(nullptr);
  Fill(items, 3);
  auto& inserted = static_cast<TSampleItem&>(items.Insert(1));
  inserted.SetCaption("new");
  EXPECT_EQ(Captions(items), (std::vector<std::string>{"0", "new", "1", "2"}));
  EXPECT_EQ(inserted.Index(), 1);
  EXPECT_EQ(inserted.ParentCollection(), &items);
  items.Delete(0);
  EXPECT_EQ(Captions(items), (std::vector<std::string>{"new", "1", "2"}));
  EXPECT_EQ(inserted.Index(), 0);
  items.Clear();
  EXPECT_EQ(items.Count(), 0);
}

TEST(Collection, SetIndexMovesOneItemAndShiftsTheOthers) {
  TSampleItems items(nullptr);
  Fill(items, 7);
  items.Item(2).SetIndex(5);
  EXPECT_EQ(Captions(items), (std::vector<std::string>{"0", "1", "3", "4", "5", "2", "6"}));
  items.Item(5).SetIndex(0);
  EXPECT_EQ(Captions(items), (std::vector<std::string>{"2", "0", "1", "3", "4", "5", "6"}));
  EXPECT_THROW(items.Item(0).SetIndex(7), ui::Exception);
  EXPECT_THROW(items.Item(0).SetIndex(-1), ui::Exception);
}

TEST(Collection, OutOfRangeIndicesRaise) {
  TSampleItems items(nullptr);
  Fill(items, 2);
  EXPECT_THROW(items.Items(2), ui::Exception);
  EXPECT_THROW(items.Delete(-1), ui::Exception);
  EXPECT_THROW(items.Insert(3), ui::Exception);
  EXPECT_EQ(items.Count(), 2);
}

TEST(Collection, DefaultDisplayNameIsTheItemClassName) {
  TSampleItems items(nullptr);
  EXPECT_EQ(items.Add().DisplayName(), "TSampleItem");
}

TEST(Collection, UpdateReportsTheItemOrTheWholeCollection) {
  TSampleItems items(nullptr);
  Fill(items, 2);
  items.updates.clear();
  const TSampleItem* second = &items.Item(1);
  items.Item(1).SetDisplayName("x");
  items.Item(1).SetIndex(0);
  items.Delete(0);
  EXPECT_EQ(items.updates, (std::vector<const ui::CollectionItem*>{second, nullptr, nullptr}));
}

TEST(Collection, UpdatesInsideBeginEndAreReportedOnce) {
  TSampleItems items(nullptr);
  items.BeginUpdate();
  items.BeginUpdate();
  Fill(items, 3);
  items.Delete(1);
  items.EndUpdate();
  EXPECT_TRUE(items.updates.empty());
  items.EndUpdate();
  EXPECT_EQ(items.updates, (std::vector<const ui::CollectionItem*>{nullptr}));
  EXPECT_THROW(items.EndUpdate(), ui::AssertionError);
}

TEST(Collection, DestroyingAnItemRemovesItFromItsCollection) {
  TSampleItems items(nullptr);
  Fill(items, 3);
  delete &items.Item(1);
  EXPECT_EQ(Captions(items), (std::vector<std::string>{"0", "2"}));
}

TEST(Collection, AssignRecreatesTheItemsOfTheSource) {
  TSampleItems source(nullptr);
  Fill(source, 2);
  source.Item(1).Font().SetSize(30);
  TSampleItems target(nullptr);
  Fill(target, 5);
  target.Assign(source);
  EXPECT_EQ(Captions(target), Captions(source));
  EXPECT_EQ(target.Item(1).Font().Size(), 30);
  EXPECT_THROW(target.Assign(sample::TSampleFont()), ui::AssignError);
}

}  // namespace
