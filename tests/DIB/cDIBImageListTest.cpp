#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "DIB/cDIBImageList.h"
#include "testsupport/DIB/BmpTestFile.h"
#include "testsupport/DIB/ImageLinkHost.h"
#include "ui/model/Exception.h"

using dibtest::ImageEvent;
using dibtest::TImageLinkHost;

namespace {

class ImageListTest : public ::testing::Test {
 protected:
  void SetUp() override { TImageLinkHost::Events().clear(); }

  // A list of `count` 1 x 1 images whose pixel is its number.
  TDIBImageList& MakeList(int count) {
    auto& list = ui::Create<TDIBImageList>(m_Form);
    for (int i = 0; i < count; ++i) list.DIBImages().Add().DIB().Fill(static_cast<ui::Color>(i));
    return list;
  }
  TImageLinkHost& MakeHost(TCustomDIBImageList* list, int32_t index) {
    auto& host = ui::Create<TImageLinkHost>(m_Form);
    host.IndexMain().SetDIBIndex(index);
    host.IndexMain().SetDIBImageList(list);
    return host;
  }
  static std::vector<ImageEvent>& Events() { return TImageLinkHost::Events(); }

  ui::Component m_Form{nullptr};
};

TEST_F(ImageListTest, DeletingBeforeAtAndAfterTheLinkedImage) {
  TDIBImageList& list = MakeList(6);
  TDIBImageLink& link = MakeHost(&list, 3).IndexMain();
  Events().clear();

  list.DIBImages().Delete(5);  // after: untouched
  EXPECT_EQ(link.DIBIndex(), 3);
  list.DIBImages().Delete(1);  // before: follows its image down, silently
  EXPECT_EQ(link.DIBIndex(), 2);
  EXPECT_TRUE(Events().empty());

  list.DIBImages().Delete(2);  // its own: one event with the old index, then none
  EXPECT_EQ(Events(), (std::vector<ImageEvent>{{&link, 2, ickDeleted}}));
  EXPECT_EQ(link.DIBIndex(), -1);
  EXPECT_FALSE(link.IsValid());
  EXPECT_EQ(link.GetImage(), nullptr);
}

TEST_F(ImageListTest, MovingItemTwoToFiveRemapsTheLinksBetween) {
  TDIBImageList& list = MakeList(7);
  std::vector<TDIBImageLink*> links;
  for (int32_t i = 0; i < 7; ++i) links.push_back(&MakeHost(&list, i).IndexMain());
  Events().clear();

  list.DIBImages().Items(2).SetIndex(5);

  const std::vector<int32_t> expected = {0, 1, 5, 2, 3, 4, 6};
  for (size_t i = 0; i < links.size(); ++i) EXPECT_EQ(links[i]->DIBIndex(), expected[i]) << i;
  EXPECT_TRUE(Events().empty());
}

TEST_F(ImageListTest, RegisteringFiresOnceForAValidIndexAndNeverForMinusOne) {
  TDIBImageList& list = MakeList(3);
  TImageLinkHost& none = MakeHost(&list, -1);
  EXPECT_TRUE(Events().empty());
  TImageLinkHost& beyond = MakeHost(&list, 9);
  Events().clear();  // pointing it at 9 fired once, without a list
  beyond.IndexMain().SetDIBImageList(&list);
  EXPECT_TRUE(Events().empty());

  TImageLinkHost& valid = MakeHost(nullptr, 1);
  Events().clear();
  valid.IndexMain().SetDIBImageList(&list);
  valid.IndexMain().SetDIBImageList(&list);  // the same list again fires again
  const ImageEvent changed{&valid.IndexMain(), 1, ickChanged};
  EXPECT_EQ(Events(), (std::vector<ImageEvent>{changed, changed}));
  EXPECT_EQ(list.LinkCount(), 3);
  EXPECT_FALSE(none.IndexMain().IsValid());
}

TEST_F(ImageListTest, LinksOfAControlBeingDestroyedIgnoreNotifications) {
  TDIBImageList& list = MakeList(3);
  TImageLinkHost& host = MakeHost(&list, 2);
  Events().clear();
  host.Destroying();
  list.DIBImages().Delete(0);
  list.DIBImages().Items(1).DIB().Fill(ui::clRed);
  EXPECT_TRUE(Events().empty());
  EXPECT_EQ(host.IndexMain().DIBIndex(), 2);
}

TEST_F(ImageListTest, DestroyingTheListDetachesItsLinksWithoutEvents) {
  TDIBImageList& list = MakeList(2);
  TImageLinkHost& host = MakeHost(&list, 1);
  host.IndexPointer().SetDIBImageList(&list);
  Events().clear();

  delete &list;

  EXPECT_TRUE(Events().empty());
  EXPECT_EQ(host.IndexMain().DIBImageList(), nullptr);
  EXPECT_EQ(host.IndexPointer().DIBImageList(), nullptr);
  EXPECT_EQ(host.IndexMain().GetImage(), nullptr);
  EXPECT_EQ(host.IndexMain().DIBIndex(), 1);
}

TEST_F(ImageListTest, GetImageHandsOutTheListsOneViewShowingTheLatestImage) {
  TDIBImageList& list = MakeList(3);
  list.DIBImages().Items(2).DIB().SetSize(4, 5);
  TMemoryDIB* first = list.GetImage(0);
  const uint32_t* firstPixels = first->Pixels();
  TMemoryDIB* second = list.GetImage(2);

  EXPECT_EQ(first, second);
  EXPECT_FALSE(second->OwnsPixels());
  EXPECT_EQ(second->Pixels(), list.DIBImages().Items(2).DIB().Pixels());
  EXPECT_NE(second->Pixels(), firstPixels);
  EXPECT_EQ(second->Width(), 4);
  EXPECT_EQ(list.GetImage(3), nullptr);
  EXPECT_EQ(list.GetImage(-1), nullptr);

  // The view clips to the pixels it shows now, not to those it showed before.
  EXPECT_EQ(second->ClipRect(), (dib::InclusiveRect{0, 0, 3, 4}));
  list.DIBImages().Items(1).DIB().DrawCopy(3, 4, 1, 1, *second);
  EXPECT_EQ(list.DIBImages().Items(2).DIB().ScanLine(4)[3],
            list.DIBImages().Items(1).DIB().Pixels()[0]);

  // Deleting the shown image leaves the view on harmless pixels, not freed ones: drawing it
  // writes its one pixel and nothing beyond.
  const uint32_t* deletedPixels = second->Pixels();
  list.DIBImages().Delete(2);
  EXPECT_NE(second->Pixels(), deletedPixels);
  EXPECT_EQ(second->Width(), 1);
  EXPECT_EQ(second->Height(), 1);
  EXPECT_EQ(second->ClipRect(), (dib::InclusiveRect{0, 0, 0, 0}));
  TMemoryDIB canvas(4, 4);
  canvas.Fill(static_cast<ui::Color>(0x123456));
  const uint32_t untouched = canvas.Pixels()[0];
  second->DrawCopy(0, 0, 4, 4, canvas);
  for (int32_t y = 0; y < 4; ++y) {
    for (int32_t x = 0; x < 4; ++x) {
      if (x != 0 || y != 0) {
        EXPECT_EQ(canvas.ScanLine(y)[x], untouched) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(canvas.ScanLine(0)[0], second->Pixels()[0]);
}

// Repaints a control from its link's change handler, as a real control does.
struct RepaintingLink {
  explicit RepaintingLink(TCustomDIBImageList& list) : link(nullptr) {
    link.SetOnImageChange(ui::Bind<&RepaintingLink::Changed>(this));
    link.SetDIBIndex(0);
    link.SetDIBImageList(&list);
  }
  void Changed(TDIBImageLink*, int32_t, TDIBImageChangeKind) {
    // Bounded, so that a fault shows as a count rather than a stack overflow.
    if (++events < 10) link.GetImage();
  }
  TDIBImageLink link;
  int events = 0;
};

TEST_F(ImageListTest, ALinkThatRepaintsWhileItsImageLoadsReadsTheFileOnce) {
  for (const TDIBImageRetrieval retrieval : {irLoadOnDemand, irLoadOnStart}) {
    TDIBImageList& list = MakeList(0);
    TDIBImagesItem& item = list.DIBImages().Add();
    item.SetImageRetrieval(retrieval);
    RepaintingLink control(list);  // no file named yet: nothing to read
    item.DIB().SetImageFilename(
        dibtest::WriteBmp("image_list_load.bmp", 2, 3, 24, {1, 2, 3}).string());
    control.events = 0;

    if (retrieval == irLoadOnDemand) {
      EXPECT_NE(control.link.GetImage(), nullptr);
    } else {
      list.Loaded();
    }
    EXPECT_TRUE(item.Loaded());
    EXPECT_EQ(control.events, 1) << "one announcement for the load, none for the repaint";
    EXPECT_EQ(control.link.GetImage()->Width(), 2);
    delete &list;
  }
}

// A handler may destroy the list whose deletion it hears: the announcement stops there.
struct ListDestroyer {
  void Changed(TDIBImageLink*, int32_t, TDIBImageChangeKind kind) {
    ++events;
    if (kind == ickDeleted) delete list;
  }
  TDIBImageList* list = nullptr;
  int events = 0;
};

TEST_F(ImageListTest, AHandlerMayDestroyTheListWhileADeletionIsAnnounced) {
  TDIBImageList& list = MakeList(2);
  ListDestroyer destroyer{&list};
  TDIBImageLink first(nullptr);
  first.SetOnImageChange(ui::Bind<&ListDestroyer::Changed>(&destroyer));
  first.SetDIBIndex(0);
  first.SetDIBImageList(&list);
  TImageLinkHost& later = MakeHost(&list, 0);
  Events().clear();
  destroyer.events = 0;

  list.DIBImages().Delete(0);

  EXPECT_EQ(destroyer.events, 1);
  EXPECT_EQ(first.DIBImageList(), nullptr);
  EXPECT_EQ(later.IndexMain().DIBImageList(), nullptr);
  EXPECT_TRUE(Events().empty()) << "links detached by the destruction hear nothing more";
}

TEST_F(ImageListTest, FindOrAddTemplateItemMatchesTheWholeKeyExactly) {
  TDIBImageList& list = MakeList(2);
  TDIBImages& images = list.DIBImages();
  images.Items(1).SetTemplateFilename("{ABC}:12");

  EXPECT_EQ(&images.FindOrAddTemplateItem("{ABC}", 12), &images.Items(1));
  EXPECT_EQ(images.Count(), 2);
  TDIBImagesItem& added = images.FindOrAddTemplateItem("{abc}", 1);  // case matters
  EXPECT_EQ(images.Count(), 3);
  EXPECT_EQ(added.TemplateFilename(), "{abc}:1");
  TDIBImagesItem& prefix = images.FindOrAddTemplateItem("{ABC}", 1);  // not "{ABC}:12"
  EXPECT_EQ(images.Count(), 4);
  EXPECT_EQ(prefix.TemplateFilename(), "{ABC}:1");
}

TEST_F(ImageListTest, AssigningALinkTakesIndexThenList) {
  TDIBImageList& list = MakeList(3);
  TImageLinkHost& source = MakeHost(&list, 2);
  TImageLinkHost& target = MakeHost(nullptr, -1);
  Events().clear();
  target.IndexMain().Assign(source.IndexMain());
  EXPECT_EQ(target.IndexMain().DIBImageList(), &list);
  // Once for the index, once more on registering with the list.
  const ImageEvent changed{&target.IndexMain(), 2, ickChanged};
  EXPECT_EQ(Events(), (std::vector<ImageEvent>{changed, changed}));

  TMemoryDIB image;
  EXPECT_THROW(target.IndexMain().Assign(image), ui::AssignError);
  EXPECT_THROW(image.Assign(target.IndexMain()), ui::AssignError);
}

TEST_F(ImageListTest, TranslatingAPathReplacesOnlyItsFolder) {
  struct Translator {
    std::string folder;
    std::string seen;
    void Translate(ui::Persistent*, std::string& path) {
      seen = path;
      path = folder;
    }
  } translator;
  TDIBImagesItem& item = MakeList(1).DIBImages().Items(0);
  EXPECT_EQ(item.TranslateImagePath("skins/a.bmp"), "skins/a.bmp");  // no handler
  item.SetOnTranslateImagePath(ui::Bind<&Translator::Translate>(&translator));

#ifdef _WIN32
  const std::string separator = "\\";
#else
  const std::string separator = "/";
#endif
  translator.folder = "/opt/skin";
  EXPECT_EQ(item.TranslateImagePath("C:\\old\\skins\\a.bmp"), "/opt/skin" + separator + "a.bmp");
  EXPECT_EQ(translator.seen, "C:\\old\\skins\\");
  translator.folder = "new/";
  EXPECT_EQ(item.TranslateImagePath("a.bmp"), "new/a.bmp");
  EXPECT_EQ(translator.seen, "");
  translator.folder = "";
  EXPECT_EQ(item.TranslateImagePath("x/y/a.bmp"), "a.bmp");
  EXPECT_EQ(item.TranslateImagePath(""), "");
}

TEST_F(ImageListTest, ExternalFilesAreReadOnlyWhenDueAndRetriedAfterAFailure) {
  TDIBImagesItem& item = MakeList(1).DIBImages().Items(0);
  EXPECT_TRUE(item.DIB().StoreData());
  EXPECT_TRUE(item.Loaded());  // internal: nothing to read

  TDIBImagesItem& onDemand = MakeList(0).DIBImages().Add();
  onDemand.SetImageRetrieval(irLoadOnDemand);
  EXPECT_FALSE(onDemand.DIB().StoreData());
  EXPECT_FALSE(onDemand.Loaded());  // no file named yet
  onDemand.DIB().SetImageFilename("no/such/file.bmp");
  EXPECT_THROW(onDemand.DIB(), ui::Exception);
  EXPECT_FALSE(onDemand.Loaded());
  onDemand.SetImageRetrieval(irInternal);
  EXPECT_EQ(onDemand.DIB().UpdateCount(), 0) << "the update bracket is closed on failure";
}

// Links against an independent model of the list: each link follows the identity of its image
// through random inserts, deletes, moves, changes and re-pointing, and exactly the links to an
// image hear of its change or deletion.
TEST_F(ImageListTest, LinksFollowTheirImagesThroughRandomEdits) {
  std::mt19937 random(20240611);
  auto pick = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  TDIBImageList& list = MakeList(0);
  std::vector<int> model;  // image identities in list order
  int nextId = 0;
  auto addAt = [&](int index) {
    auto& item = static_cast<TDIBImagesItem&>(list.DIBImages().Insert(index));
    item.SetDisplayName(std::to_string(nextId));
    model.insert(model.begin() + index, nextId++);
  };
  for (int i = 0; i < 8; ++i) addAt(i);

  std::vector<TDIBImageLink*> links;  // registration order
  std::vector<int> target;            // identity each link shows, -1 none
  for (int i = 0; i < 6; ++i) {
    TImageLinkHost& host = MakeHost(&list, pick(8));
    host.IndexPointer().SetDIBImageList(&list);  // index -1
    for (TDIBImageLink* link : {&host.IndexMain(), &host.IndexPointer()}) {
      links.push_back(link);
      target.push_back(link->DIBIndex() < 0 ? -1 : model[static_cast<size_t>(link->DIBIndex())]);
    }
  }
  auto position = [&model](int id) {
    return id < 0 ? -1
                  : static_cast<int32_t>(std::find(model.begin(), model.end(), id) - model.begin());
  };
  auto eventsFor = [&](int id, int32_t index, TDIBImageChangeKind kind) {
    std::vector<ImageEvent> events;
    for (size_t l = 0; l < links.size(); ++l) {
      if (target[l] == id) events.push_back({links[l], index, kind});
    }
    return events;
  };

  for (int step = 0; step < 3000; ++step) {
    Events().clear();
    std::vector<ImageEvent> expected;
    const int count = static_cast<int>(model.size());
    const int op = count < 2 ? 0 : pick(5);
    if (op == 0) {
      addAt(pick(count + 1));
    } else if (op == 1) {
      const int index = pick(count);
      expected = eventsFor(model[static_cast<size_t>(index)], index, ickDeleted);
      for (int& t : target) {
        if (t == model[static_cast<size_t>(index)]) t = -1;
      }
      model.erase(model.begin() + index);
      list.DIBImages().Delete(index);
    } else if (op == 2) {
      const int from = pick(count);
      const int to = pick(count);
      const int id = model[static_cast<size_t>(from)];
      model.erase(model.begin() + from);
      model.insert(model.begin() + to, id);
      list.DIBImages().Items(from).SetIndex(to);
    } else if (op == 3) {
      const int index = pick(count);
      expected = eventsFor(model[static_cast<size_t>(index)], index, ickChanged);
      TMemoryDIB& image = list.DIBImages().Items(index).DIB();
      if (step % 2 == 0) {
        image.Fill(static_cast<ui::Color>(step));  // pixels
      } else {
        image.SetMasked(!image.Masked());  // a setting
      }
    } else {
      const size_t l = static_cast<size_t>(pick(static_cast<int>(links.size())));
      const int index = pick(count);
      if (links[l]->DIBIndex() != index) expected.push_back({links[l], index, ickChanged});
      target[l] = model[static_cast<size_t>(index)];
      links[l]->SetDIBIndex(index);
    }
    ASSERT_EQ(Events(), expected) << "step " << step << " op " << op;
    for (size_t l = 0; l < links.size(); ++l) {
      ASSERT_EQ(links[l]->DIBIndex(), position(target[l])) << "step " << step << " link " << l;
    }
    for (size_t i = 0; i < model.size(); ++i) {
      ASSERT_EQ(list.DIBImages().Items(static_cast<int>(i)).DisplayName(),
                std::to_string(model[i]));
    }
    if (model.size() > 40) {  // keep the list small so that links meet deletions
      for (int& t : target) {
        if (t == model.back()) t = -1;
      }
      Events().clear();
      list.DIBImages().Delete(static_cast<int>(model.size()) - 1);
      model.pop_back();
    }
  }
}

}  // namespace
