// The key path and the focus: reflection before the key message, the form's preview, dialog
// codes deciding who gets Tab and the arrows, Tab order across windowed children, and the
// order of focus messages.

#include <tuple>

#include "testsupport/ui/FormFixture.h"
#include "ui/controls/PopupMenu.h"
#include "ui/controls/TextBox.h"

namespace uitest {
namespace {

using platform::messages::VK_DOWN;
using platform::messages::VK_MENU;
using platform::messages::VK_SHIFT;
using platform::messages::VK_TAB;

class KeyboardFocus : public FormFixture {
 public:
  // Tab order: first, group (holding inner), last; `off` takes no tab stop.
  WindowedProbe& first = Add<WindowedProbe>(*m_Form, "first", ui::Bounds(0, 0, 50, 50));
  WindowedProbe& group = Add<WindowedProbe>(*m_Form, "group", ui::Bounds(50, 0, 100, 100));
  WindowedProbe& inner = Add<WindowedProbe>(group, "inner", ui::Bounds(10, 10, 40, 40));
  WindowedProbe& last = Add<WindowedProbe>(*m_Form, "last", ui::Bounds(150, 0, 50, 50));
  WindowedProbe& off = Add<WindowedProbe>(*m_Form, "off", ui::Bounds(0, 50, 50, 50));

  KeyboardFocus() {
    for (WindowedProbe* p : {&first, &inner, &last}) p->SetTabStop(true);
  }

  std::vector<std::string> Keys() {
    std::vector<std::string> keys;
    for (const std::string& entry : m_Log.Take()) {
      if (entry.find("FOCUS") == std::string::npos && !entry.starts_with("CM_")) {
        keys.push_back(entry);
      }
    }
    return keys;
  }

  std::vector<std::string> previewed;
  void Preview(ui::Persistent*, uint16_t& key, ui::TShiftState) {
    previewed.push_back(std::to_string(key));
    if (key == 'Q') key = 0;  // the form keeps this one
  }
};

TEST_F(KeyboardFocus, FocusMessagesComeInOrder) {
  first.SetFocus();
  EXPECT_EQ(m_Backend.FocusWindow(), m_Form->Handle());
  EXPECT_EQ(m_Log.Take(),
            (std::vector<std::string>{"SETFOCUS:first", "CM_ENTER:first", "FOCUSCHANGED:first",
                                      "FOCUSCHANGED:group", "FOCUSCHANGED:inner",
                                      "FOCUSCHANGED:last", "FOCUSCHANGED:off"}));
  inner.SetFocus();
  const std::vector<std::string> moved = m_Log.Take();
  EXPECT_EQ(std::vector<std::string>(moved.begin(), moved.begin() + 5),
            (std::vector<std::string>{"KILLFOCUS:first", "SETFOCUS:inner", "CM_EXIT:first",
                                      "CM_ENTER:group", "CM_ENTER:inner"}));
  EXPECT_TRUE(inner.Focused());
  EXPECT_EQ(m_Form->ActiveControl(), &inner);
}

TEST_F(KeyboardFocus, TabAndShiftTabWalkTheTabStopsAcrossWindowedChildren) {
  first.SetFocus();
  std::vector<std::string> order;
  for (int i = 0; i < 4; ++i) {
    m_Backend.PressKey(VK_TAB);
    order.push_back(m_Form->FocusedControl()->Name());
  }
  m_Backend.KeyDown(VK_SHIFT);
  for (int i = 0; i < 2; ++i) {
    m_Backend.PressKey(VK_TAB);
    order.push_back(m_Form->FocusedControl()->Name());
  }
  m_Backend.KeyUp(VK_SHIFT);
  EXPECT_EQ(order, (std::vector<std::string>{"inner", "last", "first", "inner", "first", "last"}));
  last.Hide();  // hidden and disabled controls are passed over
  inner.SetEnabled(false);
  first.SetFocus();
  m_Backend.PressKey(VK_TAB);
  EXPECT_EQ(m_Form->FocusedControl(), &first);
}

TEST_F(KeyboardFocus, KeysAreReflectedToTheFocusedControlBeforeItGetsThem) {
  first.SetFocus();
  m_Log.Take();
  m_Backend.PressKey('A');
  EXPECT_EQ(Keys(), (std::vector<std::string>{
                        "CN_KEYDOWN:first", "CHILDKEY:first", "KEYDOWN:first", "CN_CHAR:first",
                        "GETDLGCODE:first", "DIALOGCHAR:first", "DIALOGCHAR:group",
                        "DIALOGCHAR:inner", "DIALOGCHAR:last", "DIALOGCHAR:off", "CHAR:first",
                        "CN_KEYUP:first", "KEYUP:first"}));
}

TEST_F(KeyboardFocus, DialogCodesDecideWhetherTabAndArrowsReachTheControl) {
  first.SetFocus();
  m_Log.Take();
  m_Backend.KeyDown(VK_DOWN);  // not asked for: the form's dialog key, which ignores arrows
  EXPECT_EQ(Keys(), (std::vector<std::string>{"CN_KEYDOWN:first", "CHILDKEY:first",
                                              "GETDLGCODE:first", "KEYDOWN:first"}));
  first.dialogCode = ui::DLGC_WANTTAB;
  m_Backend.KeyDown(VK_TAB);
  EXPECT_EQ(m_Form->FocusedControl(), &first);  // it wants Tab: no move
  EXPECT_EQ(Keys().back(), "KEYDOWN:first");
  first.dialogCode = ui::DLGC_WANTARROWS;
  m_Backend.KeyDown(VK_TAB);
  EXPECT_EQ(m_Form->FocusedControl(), &inner);
  for (const std::string& key : Keys()) EXPECT_NE(key, "KEYDOWN:first");
}

TEST_F(KeyboardFocus, TheFormPreviewsKeysWhenAskedTo) {
  m_Form->OnKeyDown = ui::Bind<&KeyboardFocus::Preview>(this);
  first.SetFocus();
  m_Backend.KeyDown('W');
  EXPECT_TRUE(previewed.empty());
  m_Form->SetKeyPreview(true);
  m_Log.Take();
  m_Backend.KeyDown('W');
  m_Backend.KeyDown('Q');
  EXPECT_EQ(previewed, (std::vector<std::string>{"87", "81"}));
  const std::vector<std::string> keys = Keys();
  EXPECT_EQ(std::count(keys.begin(), keys.end(), "KEYDOWN:first"), 2);  // both reach it...
  uint16_t seenByControl = 0;
  struct Seen {
    uint16_t* key;
    void Down(ui::Persistent*, uint16_t& k, ui::TShiftState) { *key = k; }
  } seen{&seenByControl};
  first.OnKeyDown = ui::Bind<&Seen::Down>(&seen);
  m_Backend.KeyDown('Q');
  EXPECT_EQ(seenByControl, 0);  // ...but its own handler does not hear the one the form kept
  m_Backend.KeyDown('W');
  EXPECT_EQ(seenByControl, 'W');
}

TEST_F(KeyboardFocus, ShortcutsOfPopupMenusUpTheParentsTakeKeys) {
  ui::PopupMenu& menu = ui::Create<ui::PopupMenu>(*m_Form);
  int clicks = 0;
  struct Counter {
    int* clicks;
    void Click(ui::Persistent*) { ++*clicks; }
  } counter{&clicks};
  menu.Items().Add("Next", ui::ShortCut('N', ui::ssCtrl)).OnClick =
      ui::Bind<&Counter::Click>(&counter);
  group.SetPopupMenu(&menu);
  inner.SetFocus();
  m_Backend.KeyDown(platform::messages::VK_CONTROL);
  m_Log.Take();
  m_Backend.KeyDown('N');
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(m_Log.Take(), (std::vector<std::string>{"CN_KEYDOWN:inner"}));
  m_Backend.KeyUp(platform::messages::VK_CONTROL);
  delete &menu;  // the reference is dropped
  EXPECT_EQ(group.PopupMenu(), nullptr);
}

TEST_F(KeyboardFocus, FocusRequestedWhileTheFocusMovesFollowsAfterIt) {
  struct Redirect {
    ui::WindowedControl* to;
    void Enter(ui::Persistent*) { to->SetFocus(); }
  } redirect{&last};
  inner.OnEnter = ui::Bind<&Redirect::Enter>(&redirect);
  first.SetFocus();
  inner.SetFocus();
  EXPECT_EQ(m_Form->FocusedControl(), &last);
  EXPECT_TRUE(last.Focused());
  EXPECT_FALSE(inner.Focused());
}

TEST_F(KeyboardFocus, HidingOrDestroyingTheFocusedControlLeavesTheFocusOnTheForm) {
  inner.SetFocus();
  group.Hide();
  EXPECT_EQ(m_Form->FocusedControl(), m_Form.get());
  EXPECT_EQ(m_Form->ActiveControl(), nullptr);
  first.SetFocus();
  delete &first;
  EXPECT_EQ(m_Form->FocusedControl(), nullptr);
  m_Backend.PressKey('A');  // goes to the form itself
  m_Backend.PressKey(VK_TAB);
  EXPECT_EQ(m_Form->FocusedControl(), &last);
}

TEST_F(KeyboardFocus, TheTextBoxScrollsWithArrowKeysAndPassesTabOn) {
  ui::TextBox& box = ui::Create<ui::TextBox>(*m_Form);
  box.SetParent(m_Form.get());
  box.SetBounds(0, 50, 100, 40);
  box.SetScrollBars(ui::ssVertical);
  box.SetText("1\n2\n3\n4\n5\n6");
  box.SetReadOnly(true);
  m_Backend.Click(X(10), Y(60));
  ASSERT_TRUE(box.Focused());
  m_Backend.PressKey(VK_DOWN);
  m_Backend.PressKey('X');  // read-only: not added
  EXPECT_EQ(box.TopLine(), 1);
  EXPECT_EQ(box.Lines().size(), 6u);
  m_Backend.PressKey(VK_TAB);  // the last tab stop: round to the first
  EXPECT_EQ(m_Form->FocusedControl(), &first);
}

// Key data as a window system packs it: a count of one, Alt, the key down before, going up.
TEST_F(KeyboardFocus, KeysArriveReflectedWithTheWindowSystemsKeyData) {
  first.SetFocus();
  m_Backend.KeyDown('A');
  m_Backend.KeyDown('A');  // held: repeated
  m_Backend.KeyUp('A');
  m_Backend.KeyDown(VK_MENU);
  m_Backend.Char('z');
  m_Backend.KeyUp(VK_MENU);
  using Key = std::tuple<uint32_t, uintptr_t, intptr_t>;
  std::vector<Key> reflected;
  for (const ui::Message& m : first.received) {
    if (m.msg >= ui::CN_KEYDOWN && m.msg <= ui::CN_SYSCHAR) {
      reflected.emplace_back(m.msg, m.wParam, m.lParam);
    }
  }
  const auto data = [](uint32_t bits) { return static_cast<intptr_t>(static_cast<int32_t>(bits)); };
  EXPECT_EQ(reflected, (std::vector<Key>{{ui::CN_KEYDOWN, 'A', data(0x00000001)},
                                         {ui::CN_KEYDOWN, 'A', data(0x40000001)},
                                         {ui::CN_KEYUP, 'A', data(0xC0000001)},
                                         {ui::CN_SYSKEYDOWN, VK_MENU, data(0x20000001)},
                                         {ui::CN_SYSCHAR, 'z', data(0x20000001)},
                                         {ui::CN_SYSKEYUP, VK_MENU, data(0xE0000001)}}));
}

}  // namespace
}  // namespace uitest
