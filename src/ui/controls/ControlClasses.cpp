#include "ui/controls/ControlClasses.h"

#include "ui/controls/Label.h"
#include "ui/controls/Panel.h"
#include "ui/controls/PictureBox.h"
#include "ui/controls/PopupMenu.h"
#include "ui/controls/TextBox.h"
#include "ui/controls/Timer.h"
#include "ui/model/ClassRegistry.h"

namespace ui {

void RegisterControlClasses() {
  for (const TypeInfo* type :
       {&Label::StaticType(), &Panel::StaticType(), &PictureBox::StaticType(),
        &TextBox::StaticType(), &Timer::StaticType(), &PopupMenu::StaticType()}) {
    ClassRegistry::Register(*type);
  }
}

}  // namespace ui
