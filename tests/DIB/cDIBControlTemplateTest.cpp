// Control templates: a control's images, links and template properties carried into another
// control through a stream, the images kept under the template's keys; the errors; damaged
// templates, which must leave the control and its image list as they were.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "DIB/DIBGuid.h"
#include "DIB/DIBLittleEndian.h"
#include "DIB/DIBRunLengthCompressor.h"
#include "DIB/DIBWrapper.h"
#include "DIB/cDIBPanel.h"
#include "testsupport/DIB/ErrorOf.h"
#include "testsupport/DIB/TemplateTestControl.h"
#include "ui/model/ComponentReader.h"
#include "ui/model/ComponentWriter.h"
#include "ui/model/MemoryStream.h"

namespace dibtest {
namespace {

using Bytes = std::vector<uint8_t>;

// The published state of a control or a list, as the framework stores it.
Bytes StateOf(ui::Persistent& instance) {
  ui::MemoryStream stream;
  ui::ComponentWriter(stream).WritePropertyList(instance);
  return stream.Bytes();
}

uint32_t FirstPixel(const TAbstractSuperDIB& image) {
  return image.Pixels()[0];
}

// A template written field by field.
class TemplateBytes {
 public:
  TemplateBytes& Guid() {  // the bytes 0 to 15
    for (uint8_t i = 0; i < 16; ++i) m_Stream.WriteBuffer(&i, 1);
    return *this;
  }
  TemplateBytes& UInt32(uint32_t value) {
    uint8_t bytes[4];
    dib::StoreLE32(bytes, value);
    m_Stream.WriteBuffer(bytes, sizeof bytes);
    return *this;
  }
  TemplateBytes& Text(const std::string& text) {
    UInt32(static_cast<uint32_t>(text.size()));
    m_Stream.WriteBuffer(text.data(), text.size());
    return *this;
  }
  TemplateBytes& Link(const std::string& property, const std::string& displayName, uint32_t image) {
    return Text(property).Text(displayName).UInt32(image);
  }
  TemplateBytes& Image(ui::Component& wrapper) {
    ui::ComponentWriter(m_Stream).WriteRoot(wrapper);
    return *this;
  }
  TemplateBytes& Image(uint32_t pixel) {  // 1 x 1
    TDIBWrapper wrapper(nullptr);
    wrapper.DIB().Pixels()[0] = pixel;
    return Image(wrapper);
  }
  ui::ValueWriter& Values() { return m_Values; }  // the property list
  Bytes Take() { return m_Stream.Bytes(); }

 private:
  ui::MemoryStream m_Stream;
  ui::ValueWriter m_Values{m_Stream};
};

class Templates : public ::testing::Test {
 protected:
  // Image i is 1 x 1 of colour i + 1, named "Image i".
  TDIBImageList& MakeList(const std::string& name, int count) {
    auto& list = ui::Create<TDIBImageList>(m_Lists);
    list.SetName(name);
    for (int i = 0; i < count; ++i) {
      TDIBImagesItem& item = list.DIBImages().Add();
      item.DIB().Fill(static_cast<ui::Color>(i + 1));
      item.SetDisplayName("Image " + std::to_string(i));
    }
    return list;
  }
  TTemplateTestControl& MakeControl(TCustomDIBImageList* list) {
    auto& control = ui::Create<TTemplateTestControl>(m_Container);
    control.SetDIBImageList(list);
    return control;
  }
  // Main and pointer show image 3, overlay image 1 of four; every template property differs
  // from its default, and so does the counter, which is not in the template.
  TTemplateTestControl& MakeSource() {
    TTemplateTestControl& source = MakeControl(&MakeList("Source", 4));
    source.IndexMain().SetDIBIndex(3);
    source.IndexOverlay().SetDIBIndex(1);
    source.IndexPointer().SetDIBIndex(3);
    source.SetBounds(5, 6, 50, 20);
    source.SetOpacity(128);
    source.caption = "Knob";
    source.ratio = 0.25;
    source.style = tsSunken;
    source.options = 0b101;
    source.big = int64_t{1} << 40;
    source.key = 'Z';
    source.Constraints().SetMaxWidth(300);
    source.counter = 7;
    return source;
  }
  static Bytes Save(TCustomDIBControl& control) {
    ui::MemoryStream stream;
    control.SaveTemplate(stream);
    return stream.Bytes();
  }
  static void Load(TCustomDIBControl& control, const Bytes& bytes) {
    ui::MemoryStream stream(bytes);
    control.LoadTemplate(stream);
  }

  ui::Component m_Lists{nullptr};
  TDIBContainer m_Container{nullptr};
};

TEST_F(Templates, ImagesLinksAndPropertiesReachAnotherControl) {
  TTemplateTestControl& source = MakeSource();
  TDIBImageList& list = MakeList("Target", 1);
  TTemplateTestControl& target = MakeControl(&list);
  target.counter = 3;
  const Bytes saved = Save(source);
  Load(target, saved);

  TDIBId guid;
  std::memcpy(guid.data(), saved.data(), guid.size());
  const std::string key = dib::GuidToString(guid);
  TDIBImages& sourceImages = source.DIBImageList()->DIBImages();
  ASSERT_EQ(list.DIBImages().Count(), 3);
  TDIBImagesItem& first = list.DIBImages().Items(1);  // in order of first use: main's image
  TDIBImagesItem& second = list.DIBImages().Items(2);
  EXPECT_EQ(first.TemplateFilename(), key + ":0");
  EXPECT_EQ(second.TemplateFilename(), key + ":1");
  EXPECT_EQ(first.DisplayName(), "Image 3");
  EXPECT_EQ(second.DisplayName(), "Image 1");
  EXPECT_EQ(FirstPixel(first.DIB()), FirstPixel(sourceImages.Items(3).DIB()));
  EXPECT_EQ(FirstPixel(second.DIB()), FirstPixel(sourceImages.Items(1).DIB()));
  EXPECT_EQ(target.IndexMain().DIBIndex(), 1);
  EXPECT_EQ(target.IndexOverlay().DIBIndex(), 2);
  EXPECT_EQ(target.IndexPointer().DIBIndex(), 1);

  EXPECT_EQ(target.BoundsRect(), ui::Bounds(0, 0, 50, 20));  // the size only
  EXPECT_EQ(target.Opacity(), 128);
  EXPECT_EQ(target.caption, "Knob");
  EXPECT_EQ(target.ratio, 0.25);
  EXPECT_EQ(target.style, tsSunken);
  EXPECT_EQ(target.options, 0b101);
  EXPECT_EQ(target.big, int64_t{1} << 40);
  EXPECT_EQ(target.key, 'Z');
  EXPECT_EQ(target.Constraints().MaxWidth(), 300);
  EXPECT_EQ(target.counter, 3);
  EXPECT_FALSE(target.Loading());  // Loaded ran
}

TEST_F(Templates, ATemplateReusesItsImagesAndEverySaveHasANewRandomGuid) {
  TTemplateTestControl& source = MakeSource();
  TDIBImageList& list = MakeList("Target", 0);
  TTemplateTestControl& first = MakeControl(&list);
  TTemplateTestControl& second = MakeControl(&list);
  const Bytes saved = Save(source);
  Load(first, saved);
  Load(second, saved);
  Load(first, saved);
  EXPECT_EQ(list.DIBImages().Count(), 2);
  EXPECT_EQ(second.IndexOverlay().DIBIndex(), 1);

  Load(first, Save(source));
  ASSERT_EQ(list.DIBImages().Count(), 4);
  EXPECT_EQ(first.IndexMain().DIBIndex(), 2);
  const std::regex version4(
      R"(\{[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\}:0)");
  const std::string& one = list.DIBImages().Items(0).TemplateFilename();
  const std::string& other = list.DIBImages().Items(2).TemplateFilename();
  EXPECT_TRUE(std::regex_match(one, version4)) << one;
  EXPECT_TRUE(std::regex_match(other, version4)) << other;
  EXPECT_NE(one, other);
}

TEST_F(Templates, AHandWrittenTemplateIsReadFieldByField) {
  TemplateBytes bytes;
  bytes.Guid().UInt32(1).UInt32(3).Image(0x11223344);
  bytes.Link("IndexOverlay", "Shadow", 0).Link("indexmain", "", 0).Link("Caption", "", 0);
  bytes.Values().WriteName("Caption");
  bytes.Values().WriteString("Hand made");
  bytes.Values().WriteName({});
  TDIBImageList& list = MakeList("Target", 1);
  TTemplateTestControl& target = MakeControl(&list);
  Load(target, bytes.Take());

  ASSERT_EQ(list.DIBImages().Count(), 2);
  TDIBImagesItem& item = list.DIBImages().Items(1);
  EXPECT_EQ(item.TemplateFilename(), "{03020100-0504-0706-0809-0A0B0C0D0E0F}:0");
  EXPECT_EQ(item.DisplayName(), "Shadow");  // an empty name leaves it
  EXPECT_EQ(FirstPixel(item.DIB()), 0x11223344u);
  EXPECT_EQ(target.IndexOverlay().DIBIndex(), 1);
  EXPECT_EQ(target.IndexMain().DIBIndex(), 1);
  EXPECT_EQ(target.IndexPointer().DIBIndex(), -1);
  EXPECT_EQ(target.caption, "Hand made");  // a link record naming it changed nothing
}

TEST_F(Templates, ASavedTemplateHoldsItsCountsAndUncompressedImages) {
  TTemplateTestControl& source = MakeSource();
  source.IndexOverlay().SetDIBIndex(-1);
  TDIBImagesItem& image = source.DIBImageList()->DIBImages().Items(3);
  image.DIB().SetSize(8, 8);  // large enough for the compressor to shorten
  image.DIB().Fill(ui::clRed);
  TDIBRunLengthCompressor compressor;
  SetCurrentCompressor(&compressor);
  const Bytes saved = Save(source);
  EXPECT_EQ(CurrentCompressor(), &compressor);
  SetCurrentCompressor(nullptr);

  EXPECT_EQ(dib::LoadLE32(&saved[16]), 1u);  // image 3, once
  EXPECT_EQ(dib::LoadLE32(&saved[20]), 2u);  // main and pointer
  const std::string_view signature = "DIBCMP";
  EXPECT_EQ(std::search(saved.begin(), saved.end(), signature.begin(), signature.end()),
            saved.end());
  // The image is an ordinary component stream that any reader can read. (The rest of the
  // layout is pinned by the hand-written template, which reads as a saved one does.)
  RegisterDIBWrapperClasses();
  ui::MemoryStream stream(saved);
  stream.SetPosition(24);
  const std::unique_ptr<ui::Component> wrapper = ui::ComponentReader(stream).ReadRoot();
  const TMemoryDIB& read = dynamic_cast<TDIBWrapper&>(*wrapper).DIB();
  EXPECT_EQ(read.Width(), 8);
  EXPECT_EQ(FirstPixel(read), FirstPixel(image.DIB()));
}

TEST_F(Templates, ATemplateWithoutImagesNeedsNoList) {
  TTemplateTestControl& source = MakeControl(&MakeList("Source", 1));
  source.IndexOverlay().SetDIBIndex(5);  // beyond the list: left out
  source.caption = "Bare";
  const Bytes saved = Save(source);
  EXPECT_EQ(dib::LoadLE32(&saved[16]), 0u);
  EXPECT_EQ(dib::LoadLE32(&saved[20]), 0u);
  TTemplateTestControl& target = MakeControl(nullptr);
  Load(target, saved);
  EXPECT_EQ(target.caption, "Bare");
}

TEST_F(Templates, TheErrorsOfSavingAndLoadingAndOfRegistering) {
  TTemplateTestControl& source = MakeSource();
  TTemplateTestControl& target = MakeControl(nullptr);
  const Bytes before = StateOf(target);
  EXPECT_EQ(ErrorOf([&] { Load(target, Save(source)); }), "No DIB image list has been assigned.");
  EXPECT_EQ(StateOf(target), before);

  const dib::TGuidSource random =
      dib::SetGuidSource([]() -> std::optional<TDIBId> { return std::nullopt; });
  ui::MemoryStream stream;
  EXPECT_EQ(ErrorOf([&] { source.SaveTemplate(stream); }),
            "Could not create a GUID for your new template.");
  dib::SetGuidSource(random);
  EXPECT_EQ(stream.Size(), 0);

  EXPECT_EQ(ErrorOf([&] { target.RegisterTemplateProperty("Missing"); }),
            "Class TTemplateTestControl is trying to register Missing as a template property, "
            "and that property does not exist.");
  EXPECT_EQ(ErrorOf([&] { target.RegisterTemplateProperty("Helper"); }),
            "Attempting to template an invalid property type.");  // holds a component
  target.RegisterTemplateProperty("IndexMain");                   // holds an object
}

// A reference registered while it held nothing: a template carries it while it holds nothing,
// and never the component it may hold later.
TEST_F(Templates, AReferenceTakesPartOnlyWhileItHoldsNothing) {
  TTemplateTestControl& source = MakeControl(nullptr);
  source.RegisterTemplateProperty("DIBImageList");
  TDIBImageList& list = MakeList("Images", 1);
  TTemplateTestControl& target = MakeControl(nullptr);
  target.RegisterTemplateProperty("DIBImageList");
  target.SetDIBImageList(&list);
  const Bytes before = StateOf(target);
  EXPECT_EQ(ErrorOf([&] { Load(target, Save(source)); }),
            "The template sets DIBImageList, which is not a template property of "
            "TTemplateTestControl");
  EXPECT_EQ(StateOf(target), before);

  source.SetDIBImageList(&ui::Create<TDIBImageList>(m_Lists));  // unnamed: no name to store
  source.caption = "Listed";
  Load(target, Save(source));
  EXPECT_EQ(target.caption, "Listed");
  EXPECT_EQ(target.DIBImageList(), &list);
}

TEST_F(Templates, EveryTruncatedTemplateIsRefusedAndChangesNothing) {
  TTemplateTestControl& source = MakeSource();
  TDIBImageList& list = MakeList("Target", 1);
  TTemplateTestControl& target = MakeControl(&list);
  const Bytes saved = Save(source);
  const Bytes control = StateOf(target), images = StateOf(list);
  for (size_t size = 0; size < saved.size(); ++size) {
    const Bytes cut(saved.begin(), saved.begin() + static_cast<ptrdiff_t>(size));
    EXPECT_THROW(Load(target, cut), ui::Exception) << size;
    ASSERT_EQ(StateOf(target), control) << "cut to " << size;
    ASSERT_EQ(StateOf(list), images) << "cut to " << size;
  }
}

TEST_F(Templates, ClaimsBeyondTheTemplateAreRefusedAndChangeNothing) {
  TDIBImageList& list = MakeList("Target", 1);
  TTemplateTestControl& target = MakeControl(&list);
  const Bytes control = StateOf(target), images = StateOf(list);
  auto refused = [&](TemplateBytes& bytes) {
    const std::string error = ErrorOf([&] { Load(target, bytes.Take()); });
    EXPECT_EQ(StateOf(target), control) << error;
    EXPECT_EQ(StateOf(list), images) << error;
    return error;
  };
  TemplateBytes images4G, links4G, longName, longDisplayName, farImage;
  EXPECT_EQ(refused(images4G.Guid().UInt32(0xFFFFFFFF).UInt32(0)),
            "The template claims 4294967295 images in the 0 bytes left");
  EXPECT_EQ(refused(links4G.Guid().UInt32(1).UInt32(0xFFFFFFFF).Image(1)),
            "The template claims 4294967295 image links in the 0 bytes left");
  longName.Guid().UInt32(1).UInt32(1).Image(1).UInt32(0xFFFFFFF0).UInt32(0).UInt32(0).UInt32(0);
  EXPECT_EQ(refused(longName), "Stored length 4294967280 exceeds the 12 bytes left in the stream");
  longDisplayName.Guid().UInt32(1).UInt32(1).Image(1).Text("IndexMain").UInt32(9);
  EXPECT_EQ(refused(longDisplayName), "Stored length 9 exceeds the 0 bytes left in the stream");
  EXPECT_EQ(refused(farImage.Guid().UInt32(1).UInt32(1).Image(1).Link("IndexMain", "", 1)),
            "The template links IndexMain to image 1 of 1");

  TemplateBytes notInTemplate, wrongValue;
  for (TemplateBytes* bytes : {&notInTemplate, &wrongValue}) {
    bytes->Guid().UInt32(0).UInt32(0);
    bytes->Values().WriteName("Constraints.MaxWidth");  // read before the fault
    bytes->Values().WriteInteger(90);
  }
  notInTemplate.Values().WriteName("Counter");
  notInTemplate.Values().WriteInteger(5);
  EXPECT_EQ(refused(notInTemplate),
            "The template sets Counter, which is not a template property of TTemplateTestControl");
  wrongValue.Values().WriteName("Ratio");
  wrongValue.Values().WriteString("half");
  EXPECT_NE(refused(wrongValue).find("\"Ratio\""), std::string::npos);
}

TEST_F(Templates, AnImageMustBeAWrapperWithItsPixelsAndNothingElse) {
  TDIBImageList& list = MakeList("Target", 1);
  TTemplateTestControl& target = MakeControl(&list);
  const Bytes images = StateOf(list);
  auto error = [&](ui::Component& image) {
    TemplateBytes bytes;
    bytes.Guid().UInt32(1).UInt32(0).Image(image).Values().WriteName({});
    return ErrorOf([&] { Load(target, bytes.Take()); });
  };
  TDIBWrapper withoutPixels(nullptr);
  withoutPixels.DIB().SetStoreData(false);
  withoutPixels.DIB().SetSize(64, 64);  // undefined pixels: never into the list
  EXPECT_EQ(error(withoutPixels), "A TDIBWrapper came without the pixels of its image");
  TDIBWrapper parent(nullptr);
  ui::Create<TDIBWrapper>(parent);
  EXPECT_EQ(error(parent), "A TDIBWrapper holds no components");
  EXPECT_EQ(error(list), "The stream holds a TDIBImageList, not a TDIBWrapper");
  EXPECT_EQ(StateOf(list), images);
}

}  // namespace
}  // namespace dibtest
