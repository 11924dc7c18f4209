#pragma once
// Small classes with a property of every kind, used by the framework's tests and fuzz targets.

#include <cstdint>
#include <string>
#include <vector>

#include "ui/model/Collection.h"
#include "ui/model/Component.h"

namespace sample {

enum class Mode : uint8_t { First, Second, Third };
enum FontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4 };

// What the sample components did, in order: "Loaded A", "Remove B at A", "Insert B at A",
// "Destroy A".
std::vector<std::string>& Log();

class TSampleFont : public ui::Persistent {
 public:
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  int32_t Size() const { return m_Size; }
  void SetSize(int32_t size) { m_Size = size; }
  uint8_t Style() const { return m_Style; }
  void SetStyle(uint8_t style) { m_Style = style; }
  int32_t Color() const { return m_Color; }
  void SetColor(int32_t color) { m_Color = color; }
  std::vector<uint8_t> glyph;  // stored as the binary property "Glyph" when not empty

  void DefineProperties(ui::PropertyFiler& filer) override;
  void Assign(const ui::Persistent& source) override;

 private:
  int32_t m_Size = 8;
  uint8_t m_Style = 0;
  int32_t m_Color = 0;
};

class TSampleComponent;

class TSampleItem : public ui::CollectionItem {
 public:
  explicit TSampleItem(ui::Collection& collection) : ui::CollectionItem(collection) {}
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  const std::string& Caption() const { return m_Caption; }
  void SetCaption(const std::string& caption) { m_Caption = caption; }
  int32_t Weight() const { return m_Weight; }
  void SetWeight(int32_t weight) { m_Weight = weight; }
  TSampleComponent* Buddy() const { return m_Buddy; }
  void SetBuddy(TSampleComponent* buddy) { m_Buddy = buddy; }
  TSampleFont& Font() { return m_Font; }
  void Assign(const ui::Persistent& source) override;

 private:
  std::string m_Caption;
  int32_t m_Weight = 0;
  TSampleComponent* m_Buddy = nullptr;
  TSampleFont m_Font;
};

class TSampleItems : public ui::Collection {
 public:
  explicit TSampleItems(ui::Persistent* owner)
      : ui::Collection(owner, &ui::MakeItem<TSampleItem>) {}
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }
  TSampleItem& Item(int index) const { return static_cast<TSampleItem&>(Items(index)); }

  std::vector<const ui::CollectionItem*> updates;  // every Update, none for the whole collection

 protected:
  void Update(ui::CollectionItem* item) override { updates.push_back(item); }
};

// A component with every kind of property. Components read inside one another keep that
// nesting as a parent link, as controls do.
class TSampleComponent : public ui::Component {
 public:
  explicit TSampleComponent(ui::Component* owner) : ui::Component(owner), m_Items(this) {}
  ~TSampleComponent() override;
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  int32_t Count() const { return m_Count; }
  void SetCount(int32_t v) { m_Count = v; }
  int8_t Small() const { return m_Small; }
  void SetSmall(int8_t v) { m_Small = v; }
  uint16_t Width() const { return m_Width; }
  void SetWidth(uint16_t v) { m_Width = v; }
  int64_t Big() const { return m_Big; }
  void SetBig(int64_t v) { m_Big = v; }
  char Letter() const { return m_Letter; }
  void SetLetter(char v) { m_Letter = v; }
  sample::Mode Mode() const { return m_Mode; }
  void SetMode(sample::Mode v) { m_Mode = v; }
  bool Visible() const { return m_Visible; }
  void SetVisible(bool v) { m_Visible = v; }
  double Ratio() const { return m_Ratio; }
  void SetRatio(double v) { m_Ratio = v; }
  long double Scale() const { return m_Scale; }
  void SetScale(long double v) { m_Scale = v; }
  float Factor() const { return m_Factor; }
  void SetFactor(float v) { m_Factor = v; }
  const std::string& Caption() const { return m_Caption; }
  void SetCaption(const std::string& v) { m_Caption = v; }
  uint8_t Options() const { return m_Options; }
  void SetOptions(uint8_t v) { m_Options = v; }
  int32_t Color() const { return m_Color; }
  void SetColor(int32_t v) { m_Color = v; }
  int32_t Secret() const { return m_Secret; }
  void SetSecret(int32_t v) { m_Secret = v; }
  int32_t Handle() const { return 42; }
  TSampleFont& Font() { return m_Font; }
  TSampleItems& Items() { return m_Items; }
  TSampleComponent* Buddy() const { return m_Buddy; }
  void SetBuddy(TSampleComponent* buddy);
  std::vector<uint8_t> data;  // binary property "Data" when not empty
  std::string note;           // string property "Note" when not empty

  TSampleComponent* Parent() const { return m_Parent; }
  int loadedCount = 0;
  bool loadingSeenInLoaded = false;

  void Loaded() override;
  void Notification(ui::Component& component, ui::Operation operation) override;
  void GetChildren(const std::function<void(ui::Component&)>& proc, ui::Component& root) override;
  bool HasParent() const override { return m_Parent != nullptr; }
  void SetParentComponent(ui::Component* parent) override;
  void DefineProperties(ui::PropertyFiler& filer) override;

 private:
  int32_t m_Count = 0;
  int8_t m_Small = 0;
  uint16_t m_Width = 0;
  int64_t m_Big = 0;
  char m_Letter = 0;
  sample::Mode m_Mode = sample::Mode::First;
  bool m_Visible = true;
  double m_Ratio = 0;
  long double m_Scale = 100;
  float m_Factor = 0;
  std::string m_Caption;
  uint8_t m_Options = 0;
  int32_t m_Color = 0;
  int32_t m_Secret = 0;
  TSampleFont m_Font;
  TSampleItems m_Items;
  TSampleComponent* m_Buddy = nullptr;
  TSampleComponent* m_Parent = nullptr;
};

// Registers TSampleComponent with the class registry (idempotent).
void RegisterSampleClasses();

// A sample tree in text form that uses every kind of value.
extern const char* const kSampleTreeText;

}  // namespace sample
