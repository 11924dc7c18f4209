// The framework's controls can be named in stored descriptions once registered.

#include <gtest/gtest.h>

#include "platform/headless/HeadlessBackend.h"
#include "ui/controls/ControlClasses.h"
#include "ui/controls/Label.h"
#include "ui/controls/Panel.h"
#include "ui/controls/PictureBox.h"
#include "ui/controls/PopupMenu.h"
#include "ui/controls/TextBox.h"
#include "ui/controls/Timer.h"
#include "ui/model/TextForm.h"

namespace uitest {
namespace {

constexpr const char* kDescription = R"(Panel Frame {
  Caption = "frame"
  Label Title {
    Caption = "Fluxomatic"
    Font.Height = -19
  }
  PictureBox Picture {
    Stretch = true
  }
  TextBox Memo {
    ReadOnly = true
    ScrollBars = ssVertical
    Text = "first\nsecond"
  }
  Timer Ticker {
    Enabled = false
    Interval = 50
  }
  PopupMenu Menu {
  }
}
)";

TEST(ControlClasses, ADescriptionNamingEachControlReadsIntoControlsOfThoseClasses) {
  platform::HeadlessBackend backend{platform::HeadlessBackend::Delivery::AtOnce};
  platform::ScopedBackend installed{backend};
  ui::RegisterControlClasses();
  ui::RegisterControlClasses();  // again: nothing changes

  const std::unique_ptr<ui::Component> root = ui::ReadRootFromText(kDescription);
  auto& frame = dynamic_cast<ui::Panel&>(*root);
  EXPECT_EQ(frame.Caption(), "frame");
  auto& title = frame.RequireComponent<ui::Label>("Title");
  EXPECT_EQ(title.Caption(), "Fluxomatic");
  EXPECT_EQ(title.Font().Height(), -19);
  EXPECT_EQ(title.Parent(), &frame);
  EXPECT_TRUE(frame.RequireComponent<ui::PictureBox>("Picture").Stretch());
  EXPECT_EQ(frame.RequireComponent<ui::TextBox>("Memo").Text(), "first\r\nsecond");
  EXPECT_EQ(frame.RequireComponent<ui::Timer>("Ticker").Interval(), 50u);
  frame.RequireComponent<ui::PopupMenu>("Menu");
  EXPECT_EQ(ui::WriteRootToText(frame),
            ui::WriteRootToText(*ui::ReadRootFromText(ui::WriteRootToText(frame))));
}

}  // namespace
}  // namespace uitest
