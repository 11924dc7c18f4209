#pragma once
// A form inside a host window of the headless backend, and probe controls that log the
// messages they get, for the control tests.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/headless/HeadlessBackend.h"
#include "ui/controls/Form.h"
#include "ui/controls/Panel.h"
#include "ui/controls/WindowlessControl.h"

namespace uitest {

// Message names in the order they arrived, as "name:control".
class MessageLog {
 public:
  void Add(const std::string& entry) { entries.push_back(entry); }
  std::vector<std::string> Take() { return std::exchange(entries, {}); }
  std::vector<std::string> entries;
};

// The name of a logged message; empty for the ones the probes ignore (moves, paints, ...).
std::string LoggedName(uint32_t msg);

template <class Base>
class Probe : public Base {
 public:
  Probe(ui::Component* owner, MessageLog& log, const std::string& name) : Base(owner), m_Log(log) {
    this->SetName(name);
  }
  int paints = 0;
  std::optional<intptr_t> dialogCode;  // the answer to WM_GETDLGCODE; none: the control's own
  std::vector<ui::Message> received;   // every message, as it came

  void WndProc(ui::Message& message) override {
    received.push_back(message);
    const std::string name = LoggedName(message.msg);
    if (!name.empty()) m_Log.Add(name + ":" + this->Name());
    if (message.msg == ui::WM_PAINT) ++paints;
    if (message.msg == ui::WM_GETDLGCODE && dialogCode) {
      message.result = *dialogCode;
      return;
    }
    Base::WndProc(message);
  }

 private:
  MessageLog& m_Log;
};

using WindowlessProbe = Probe<ui::WindowlessControl>;
using WindowedProbe = Probe<ui::Panel>;

class FormFixture : public ::testing::Test {
 protected:
  FormFixture();
  ~FormFixture() override;

  // A probe of the kind, parented and placed.
  template <class P>
  P& Add(ui::WindowedControl& parent, const std::string& name, ui::Rect bounds) {
    P& probe = ui::Create<P>(*m_Form, m_Log, name);
    probe.SetParent(&parent);
    probe.SetBoundsRect(bounds);
    return probe;
  }
  // A screen point from form client coordinates (the host lies at kHostX, kHostY).
  static int32_t X(int32_t x) { return kHostX + kFormX + x; }
  static int32_t Y(int32_t y) { return kHostY + kFormY + y; }

  static constexpr int32_t kHostX = 100, kHostY = 50, kFormX = 10, kFormY = 5;

  platform::HeadlessBackend m_Backend{platform::HeadlessBackend::Delivery::AtOnce};
  platform::ScopedBackend m_Installed{m_Backend};
  void* m_Host = nullptr;
  std::unique_ptr<ui::Form> m_Form;
  MessageLog m_Log;
};

}  // namespace uitest
