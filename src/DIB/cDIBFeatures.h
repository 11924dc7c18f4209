#pragma once
// What a skinned control carries besides its own behaviour: features and attached controls.
//
// A feature is an optional behaviour of a control. Each item of the control's feature
// collection names a registered feature class; the item makes one feature object of that class
// for the control and lets it see every message of the control before the control handles it
// (the first feature that marks a message handled keeps it from the others and the control).
//
// The attached-control list names controls that move together with the control.
// User-interface thread only.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls/Control.h"
#include "ui/model/Collection.h"
#include "ui/model/Component.h"
#include "ui/model/Exception.h"

namespace ui {
class PropertyFiler;
class Stream;
}  // namespace ui

class EFeatureError : public ui::Exception {
 public:
  using ui::Exception::Exception;
};

class TDIBFeature : public ui::Component {
 public:
  explicit TDIBFeature(ui::Component* owner) : ui::Component(owner) {}
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  // The control it serves (not owned), which also owns it when there is one.
  ui::Control* Control() const { return m_Control; }
  void SetControl(ui::Control* control) { m_Control = control; }
  // Its item stores it: it is never written among the components of its owner.
  bool HasParent() const override { return true; }

  virtual bool CanAttachTo(ui::Control& control);  // the base: any control
  virtual std::string GetFeatureName() const;      // the base: "Unknown feature"
  // Sees a message of its control before the control; handled keeps it from the control.
  virtual void HandleMessage(ui::Message& message, bool& handled) = 0;

 private:
  ui::Control* m_Control = nullptr;
};

// Feature classes by name, for items and stream readers. Registering also registers the class
// for stream reading; the type must be creatable and derive from TDIBFeature. The library's
// own feature classes are registered when the program starts (DIBBuiltInFeatures.cpp).
void RegisterFeatureClass(const ui::TypeInfo& type);
void UnregisterFeatureClass(const ui::TypeInfo& type);
// The last registered class of that name, compared without regard to case; none when absent.
const ui::TypeInfo* FindFeatureClass(std::string_view name);

class TDIBFeatureItem : public ui::CollectionItem {
 public:
  explicit TDIBFeatureItem(ui::Collection& collection) : ui::CollectionItem(collection) {}
  ~TDIBFeatureItem() override;
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  bool Enabled() const { return m_Enabled; }
  void SetEnabled(bool enabled) { m_Enabled = enabled; }
  const std::string& FeatureClassName() const { return m_FeatureClassName; }
  // Makes a feature of the named class for the control, replacing the item's feature; empty
  // leaves the item without one. EFeatureError, changing nothing, for an unregistered name.
  void SetFeatureClassName(const std::string& name);
  const std::string& FeatureParameters() const { return m_FeatureParameters; }
  void SetFeatureParameters(const std::string& parameters) { m_FeatureParameters = parameters; }
  TDIBFeature* Feature() const { return m_Feature.Get(); }

  // The feature's name, or "DIB feature" without one.
  std::string DisplayName() const override;
  // Shows the message to the feature when the item is enabled and has one.
  void MessageHook(ui::Message& message, bool& handled);
  // From another item: Enabled, then a new feature of its class with its feature's settings.
  void Assign(const ui::Persistent& source) override;

  // "DIBFeatureParameters", stored while the item has a feature: the class name as a string
  // value, then the feature as a root component. Read bytes are kept until Loaded.
  void DefineProperties(ui::PropertyFiler& filer) override;
  // The feature's stored settings, as that property holds them.
  void WriteFeatureParameters(ui::Stream& data) const;
  // Makes a feature of the stored class with the stored settings. Malformed data raises
  // StreamReadError, InvalidPropertyError or EFeatureError and leaves the item as it was.
  void ReadFeatureParameters(ui::Stream& data);
  // Applies (and drops) the settings kept from a stream.
  void Loaded();

 private:
  // A feature of the named class for the item's control; none for an empty name.
  std::unique_ptr<TDIBFeature> MakeFeature(const std::string& name) const;
  // Destroys the item's feature and puts this one in its place.
  void SetFeature(std::unique_ptr<TDIBFeature> feature);

  // Owned by the control it serves, like any component the control owns, and by the item when
  // it serves none; the item destroys it unless the control has done so first.
  ui::WeakRef<TDIBFeature> m_Feature;
  std::string m_FeatureClassName;
  std::string m_FeatureParameters;
  bool m_Enabled = true;
  std::optional<std::vector<uint8_t>> m_KeptParameters;  // as read, until Loaded
};

class TDIBFeatures : public ui::Collection {
 public:
  explicit TDIBFeatures(ui::Control* control);  // the control the features serve; not owned
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  ui::Control* Control() const { return m_Control; }
  TDIBFeatureItem& Add() { return static_cast<TDIBFeatureItem&>(ui::Collection::Add()); }
  TDIBFeatureItem& Items(int index) const {
    return static_cast<TDIBFeatureItem&>(ui::Collection::Items(index));
  }
  // Each item's hook, first to last, until one leaves handled true.
  void Dispatch(ui::Message& message, bool& handled);
  // Load completion of the control: each item's Loaded, first to last.
  void Loaded();

 private:
  ui::Control* m_Control;
};

// One control that moves with the owner of its list.
class TControlItem : public ui::CollectionItem {
 public:
  explicit TControlItem(ui::Collection& collection) : ui::CollectionItem(collection) {}
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  ui::Control* Control() const { return m_Control; }
  // EFeatureError for none and for a control another item of the list holds. The list's
  // owner is told when the control goes (and drops the item).
  void SetControl(ui::Control* control);

  // The control's name, else its class name, else the standard name.
  std::string DisplayName() const override;
  void Assign(const ui::Persistent& source) override;  // from an item: its control

 private:
  ui::Control* m_Control = nullptr;  // not owned
};

class TControlList : public ui::Collection {
 public:
  explicit TControlList(ui::Control* owner);  // not owned
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  ui::Control* OwnerControl() const { return m_OwnerControl; }
  TControlItem& Add() { return static_cast<TControlItem&>(ui::Collection::Add()); }
  TControlItem& Items(int index) const {
    return static_cast<TControlItem&>(ui::Collection::Items(index));
  }
  bool Holds(const ui::Control* control) const;
  // Frees every item that names the component (which is going).
  void Forget(const ui::Component& component);

 private:
  ui::Control* m_OwnerControl;
};
