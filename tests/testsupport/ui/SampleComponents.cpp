#include "testsupport/ui/SampleComponents.h"

#include <array>

#include "ui/model/ClassRegistry.h"
#include "ui/model/MemoryStream.h"
#include "ui/model/PropertyFiler.h"
#include "ui/model/TypeBuilder.h"
#include "ui/model/ValueReader.h"
#include "ui/model/ValueWriter.h"

namespace sample {
namespace {

constexpr std::array<ui::IntegerIdent, 4> kColors = {{
    {0x000000, "clBlack"},
    {0x0000FF, "clRed"},
    {0xC0C0C0, "clSilver"},
    {-16777201, "clBtnFace"},
}};

std::string Label(const ui::Component& component) {
  return component.Name().empty() ? component.ClassName() : component.Name();
}

std::vector<uint8_t> ReadAll(ui::Stream& data) {
  std::vector<uint8_t> bytes(static_cast<size_t>(data.Size()));
  data.ReadBuffer(bytes.data(), bytes.size());
  return bytes;
}

}  // namespace

std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

const ui::TypeInfo& TSampleFont::StaticType() {
  using T = TSampleFont;
  static const ui::TypeInfo type =
      ui::TypeBuilder<T>("TSampleFont", ui::Persistent::StaticType())
          .Integer("Size", &T::Size, &T::SetSize)
          .Default(8)
          .Set("Style", &T::Style, &T::SetStyle, {"fsBold", "fsItalic", "fsUnderline"})
          .Default(0)
          .Integer("Color", &T::Color, &T::SetColor)
          .Idents(kColors)
          .Build();
  return type;
}

void TSampleFont::DefineProperties(ui::PropertyFiler& filer) {
  ui::Persistent::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "Glyph", [this](ui::Stream& data) { glyph = ReadAll(data); },
      [this](ui::Stream& data) { data.WriteBuffer(glyph.data(), glyph.size()); }, !glyph.empty());
}

void TSampleFont::Assign(const ui::Persistent& source) {
  const auto* font = dynamic_cast<const TSampleFont*>(&source);
  if (font == nullptr) {
    ui::Persistent::Assign(source);
    return;
  }
  m_Size = font->m_Size;
  m_Style = font->m_Style;
  m_Color = font->m_Color;
  glyph = font->glyph;
}

const ui::TypeInfo& TSampleItem::StaticType() {
  using T = TSampleItem;
  static const ui::TypeInfo type =
      ui::TypeBuilder<T>("TSampleItem", ui::CollectionItem::StaticType())
          .String("Caption", &T::Caption, &T::SetCaption)
          .Integer("Weight", &T::Weight, &T::SetWeight)
          .Default(0)
          .Reference("Buddy", &T::Buddy, &T::SetBuddy)
          .Object("Font", &T::Font)
          .Build();
  return type;
}

void TSampleItem::Assign(const ui::Persistent& source) {
  const auto* item = dynamic_cast<const TSampleItem*>(&source);
  if (item == nullptr) {
    ui::CollectionItem::Assign(source);
    return;
  }
  m_Caption = item->m_Caption;
  m_Weight = item->m_Weight;
  m_Buddy = item->m_Buddy;
  m_Font.Assign(item->m_Font);
}

const ui::TypeInfo& TSampleItems::StaticType() {
  static const ui::TypeInfo type =
      ui::TypeBuilder<TSampleItems>("TSampleItems", ui::Collection::StaticType()).Build();
  return type;
}

TSampleComponent::~TSampleComponent() {
  Log().push_back("Destroy " + Label(*this));
}

const ui::TypeInfo& TSampleComponent::StaticType() {
  using T = TSampleComponent;
  static const ui::TypeInfo type =
      ui::TypeBuilder<T>("TSampleComponent", ui::Component::StaticType())
          .Integer("Count", &T::Count, &T::SetCount)
          .Default(0)
          .Integer("Small", &T::Small, &T::SetSmall)
          .Default(0)
          .Integer("Width", &T::Width, &T::SetWidth)
          .Integer("Big", &T::Big, &T::SetBig)
          .Default(0)
          .Character("Letter", &T::Letter, &T::SetLetter)
          .Default(0)
          .Enumeration("Mode", &T::Mode, &T::SetMode, {"smFirst", "smSecond", "smThird"})
          .Default(Mode::First)
          .Boolean("Visible", &T::Visible, &T::SetVisible)
          .Default(true)
          .Float("Ratio", &T::Ratio, &T::SetRatio)
          .Default(0.0)
          .Float("Scale", &T::Scale, &T::SetScale)
          .Float("Factor", &T::Factor, &T::SetFactor)
          .Default(0.0f)
          .String("Caption", &T::Caption, &T::SetCaption)
          .Default("")
          .Set("Options", &T::Options, &T::SetOptions, {"soA", "soB", "soC"})
          .Default(0)
          .Integer("Color", &T::Color, &T::SetColor)
          .Idents(kColors)
          .Integer("Secret", &T::Secret, &T::SetSecret)
          .Stored(false)
          .Integer("Handle", &T::Handle)
          .Object("Font", &T::Font)
          .Object("Items", &T::Items)
          .Reference("Buddy", &T::Buddy, &T::SetBuddy)
          .Event("OnChange")
          .Creatable()
          .Build();
  return type;
}

void TSampleComponent::SetBuddy(TSampleComponent* buddy) {
  if (m_Buddy != nullptr) m_Buddy->RemoveFreeNotification(*this);
  m_Buddy = buddy;
  if (m_Buddy != nullptr) m_Buddy->FreeNotification(*this);
}

void TSampleComponent::Loaded() {
  loadingSeenInLoaded = HasState(ui::ComponentState::Loading);
  ui::Component::Loaded();
  ++loadedCount;
  Log().push_back("Loaded " + Label(*this));
}

void TSampleComponent::Notification(ui::Component& component, ui::Operation operation) {
  ui::Component::Notification(component, operation);
  if (operation == ui::Operation::Remove) {
    if (&component == m_Buddy) m_Buddy = nullptr;
    if (&component == m_Parent) m_Parent = nullptr;
  }
  // Only whole components are named: a removed one may be half destroyed.
  const std::string what = operation == ui::Operation::Insert ? "Insert " + component.ClassName()
                                                              : std::string("Remove");
  Log().push_back(what + " at " + Label(*this));
}

void TSampleComponent::GetChildren(const std::function<void(ui::Component&)>& proc,
                                   ui::Component& root) {
  ui::Component::GetChildren(proc, root);
  for (int i = 0; i < root.ComponentCount(); ++i) {
    auto* child = dynamic_cast<TSampleComponent*>(&root.Components(i));
    if (child != nullptr && child->m_Parent == this) proc(*child);
  }
}

void TSampleComponent::SetParentComponent(ui::Component* parent) {
  m_Parent = dynamic_cast<TSampleComponent*>(parent);
}

void TSampleComponent::DefineProperties(ui::PropertyFiler& filer) {
  ui::Component::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "Data", [this](ui::Stream& stream) { data = ReadAll(stream); },
      [this](ui::Stream& stream) { stream.WriteBuffer(data.data(), data.size()); }, !data.empty());
  filer.DefineProperty(
      "Note", [this](ui::ValueReader& reader) { note = reader.ReadString(); },
      [this](ui::ValueWriter& writer) { writer.WriteString(note); }, !note.empty());
}

void RegisterSampleClasses() {
  ui::ClassRegistry::Register(TSampleComponent::StaticType());
}

const char* const kSampleTreeText = R"(TSampleComponent Root {
  Count = -70000
  Small = -5
  Width = 65535
  Big = -9223372036854775808
  Letter = 233
  Mode = smThird
  Visible = false
  Ratio = 0.1d
  Scale = 0.333333333333333333342
  Factor = 1.5f
  Caption = "Tab\there \"quoted\" \xC3\xA9"
  Options = [soA, soC]
  Color = clSilver
  Font.Size = 12
  Font.Style = [fsItalic]
  Font.Color = 255
  Font.Glyph = (
    DEADBEEF
  )
  Items = <
    item {
      Caption = "first"
      Weight = 3
      Buddy = @Leaf
      Font.Size = 9
    }
    item {
    }
  >
  Buddy = @Leaf
  Data = (
    00010203
  )
  Note = "note"
  TSampleComponent Middle {
    Width = 1
    Scale = 100.0
    Color = clBlack
    TSampleComponent Leaf {
      Width = 2
      Scale = +inf
      Color = -16777201
      Buddy = @Root
    }
  }
  TSampleComponent {
    Width = 3
    Scale = -0.0
    Color = clBlack
  }
}
)";

}  // namespace sample
