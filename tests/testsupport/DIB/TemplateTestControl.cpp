#include "testsupport/DIB/TemplateTestControl.h"

#include "ui/model/TypeBuilder.h"

namespace dibtest {

TTemplateTestControl::TTemplateTestControl(ui::Component* owner)
    : TCustomDIBControl(owner),
      m_IndexMain(CreateImageLink()),
      m_IndexOverlay(CreateImageLink()),
      m_IndexPointer(CreateImageLink()),
      m_Helper(ui::Create<ui::Component>(*this)) {
  for (const char* name :
       {"Opacity", "Caption", "Ratio", "Style", "Options", "Big", "Key", "Constraints"}) {
    RegisterTemplateProperty(name);
  }
}

const ui::TypeInfo& TTemplateTestControl::StaticType() {
  using T = TTemplateTestControl;
  static const ui::TypeInfo type =
      ui::TypeBuilder<T>("TTemplateTestControl", TCustomDIBControl::StaticType())
          .Object("IndexMain", &T::IndexMain)
          .Object("IndexOverlay", &T::IndexOverlay)
          .Object("IndexPointer", &T::IndexPointer)
          .Object("Helper", &T::Helper)
          .String("Caption", &T::caption, [](T& c, const std::string& v) { c.caption = v; })
          .Float("Ratio", &T::ratio, [](T& c, double v) { c.ratio = v; })
          .Enumeration("Style", &T::style, [](T& c, TTemplateStyle v) { c.style = v; },
                       {"tsPlain", "tsRaised", "tsSunken"})
          .Set("Options", &T::options, [](T& c, uint8_t v) { c.options = v; },
               {"opWrap", "opSnap", "opTicks"})
          .Integer("Big", &T::big, [](T& c, int64_t v) { c.big = v; })
          .Character("Key", &T::key, [](T& c, char v) { c.key = v; })
          .Integer("Counter", &T::counter, [](T& c, int32_t v) { c.counter = v; })
          .Build();
  return type;
}

}  // namespace dibtest
