// The shipped plug-in's editor on a real X server, loaded and driven as a Linux host does: the
// host's window is fluxhost's own, the editor is pumped only by effEditIdle, and input comes
// through XTEST.

#include <gtest/gtest.h>

#include <dirent.h>
#include <xcb/damage.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "png/Png.h"
#include "testsupport/platform/x11/HostedPlugin.h"
#include "testsupport/platform/x11/X11Probe.h"

// The sanitizer's own allocator must see every allocation of the loaded library: no counting.
#if !defined(FLUX_SANITIZED)
#include "testsupport/common/CountedAllocations.h"
#endif

namespace {

using Clock = std::chrono::steady_clock;
using x11test::HostedPlugin;
using x11test::IdOf;
using HostWindow = std::unique_ptr<fluxhost::EditorWindow>;
// What a window shows, read afresh at each call.
using Reader = std::function<std::vector<uint32_t>()>;

constexpr uint16_t kWidth = 432;
constexpr uint16_t kHeight = 135;
constexpr int16_t kHostX = 30;  // where the host's window sits on the screen
constexpr int16_t kHostY = 40;

std::vector<uint32_t> Golden(const std::string& name) {
  const png::Picture golden = png::ReadFile(std::string(FLUX_GOLDEN_DIR) + "/" + name + ".png");
  if (golden.width != kWidth || golden.height != kHeight) return {};
  return golden.pixels;
}

std::size_t OpenFileCount() {
  std::size_t count = 0;
  if (DIR* fds = opendir("/proc/self/fd")) {
    while (readdir(fds)) ++count;
    closedir(fds);
  }
  return count;
}

long ResidentPages() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident;
}

// Counts what the server draws into a window, whoever asks: one report per image put there.
class DamageCounter {
 public:
  DamageCounter(xcb_connection_t* connection, xcb_window_t window) : m_Connection(connection) {
    free(xcb_damage_query_version_reply(connection, xcb_damage_query_version(connection, 1, 1),
                                        nullptr));
    m_Notify = xcb_get_extension_data(connection, &xcb_damage_id)->first_event + XCB_DAMAGE_NOTIFY;
    m_Damage = xcb_generate_id(connection);
    xcb_damage_create(connection, m_Damage, window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
  }
  ~DamageCounter() {
    xcb_damage_destroy(m_Connection, m_Damage);
    xcb_flush(m_Connection);
  }
  DamageCounter(const DamageCounter&) = delete;
  DamageCounter& operator=(const DamageCounter&) = delete;

  // The reports since the last call, once the server has caught up with the plug-in's requests.
  int Take() {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    free(xcb_get_input_focus_reply(m_Connection, xcb_get_input_focus(m_Connection), nullptr));
    int count = 0;
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_Connection)) {
      if ((event->response_type & 0x7F) == m_Notify) ++count;
      free(event);
    }
    return count;
  }

 private:
  xcb_connection_t* m_Connection;
  xcb_damage_damage_t m_Damage = 0;
  uint8_t m_Notify = 0;
};

#if defined(FLUX_SANITIZED)
constexpr bool kMemoryIsMeasurable = false;  // the sanitizer holds freed memory on purpose
#else
constexpr bool kMemoryIsMeasurable = true;
#endif

// A host's window of the editor's size with its inside at (left, top) on the screen.
HostWindow OpenHost(int16_t left, int16_t top, bool alphaVisual = false) {
  fluxhost::EditorWindowOptions options;
  options.position = fluxhost::ScreenPoint{left, top};
  options.alphaVisual = alphaVisual;
  return fluxhost::OpenEditorWindow("host", kWidth, kHeight, options);
}

Reader ShownIn(fluxhost::EditorWindow& window) {
  return [&window] { return window.Capture().pixels; };
}

class X11Editor : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_X.Connected()) << "no X server on DISPLAY";
    ASSERT_TRUE(m_Library.Loaded());
    ASSERT_NE(m_Plugin.effect, nullptr);
    OpenTheHost();
  }
  void OpenTheHost() {
    m_HostWindow = OpenHost(kHostX, kHostY);
    m_Host = IdOf(*m_HostWindow);
  }

  // Pumps the editor as a host's idle timer does until `done` holds; false after two seconds.
  bool PumpUntil(HostedPlugin& p, const std::function<bool()>& done) {
    const auto end = Clock::now() + std::chrono::seconds(2);
    while (Clock::now() < end) {
      p.Idle();
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }
  std::vector<uint32_t> Shown() { return m_HostWindow->Capture().pixels; }
  void ExpectShows(HostedPlugin& p, const Reader& shown, const std::string& golden) {
    const std::vector<uint32_t> expected = Golden(golden);
    ASSERT_FALSE(expected.empty()) << golden;
    if (PumpUntil(p, [&] { return shown() == expected; })) return;
    png::WriteFile(golden + "_x11_actual.png", {kWidth, kHeight, shown()});
    ADD_FAILURE() << "the server's pixels never equalled " << golden << "; see " << golden
                  << "_x11_actual.png";
  }
  void ExpectShows(HostedPlugin& p, const std::string& golden) {
    ExpectShows(p, ShownIn(*m_HostWindow), golden);
  }
  void Click(int32_t x0, int32_t y0) {
    m_HostWindow->MovePointer(x0, y0);
    m_HostWindow->PressButton();
    m_HostWindow->ReleaseButton();
  }
  // A left-button drag along the first slider's track from its pointer at 64 of 0..127
  // (the track at 64, 48, 169 × 15), `distance` pixels to the right in steps of 4.
  void DragPar0(int32_t distance) {
    m_HostWindow->MovePointer(64 + 84, 48 + 7);
    m_HostWindow->PressButton();
    for (int32_t dx = 4; dx <= distance; dx += 4) m_HostWindow->MovePointer(64 + 84 + dx, 48 + 7);
    m_HostWindow->ReleaseButton();
  }

  x11test::X11Probe m_X;
  LoadedPlugin m_Library;
  HostedPlugin m_Plugin{m_Library};
  HostWindow m_HostWindow;
  xcb_window_t m_Host = 0;
};

TEST_F(X11Editor, FramesOnTheServerEqualTheGoldenPictures) {
  ASSERT_EQ(m_Plugin.Open(m_Host), 1);
  EXPECT_EQ(m_Plugin.EditorSize(), (std::pair{int{kWidth}, int{kHeight}}));
  ASSERT_EQ(m_X.Children(m_Host).size(), 1u);
  ExpectShows(m_Plugin, "editor_program0");

  Click(400, 10);  // "About"
  ExpectShows(m_Plugin, "editor_about");
  m_Plugin.Close();
  EXPECT_TRUE(m_X.Children(m_Host).empty());

  const float settings[6] = {100.0f / 127, 0.0f, 0.5f, 20.0f / 127, 0.0f, 1.0f};
  for (int i = 0; i < 6; ++i) m_Plugin.SetParameter(i, settings[i]);
  m_Plugin.PlayNote();
  m_Plugin.SetParameter(1, 40.0f / 127);
  m_Plugin.SetParameter(4, 127.0f / 127);
  ASSERT_EQ(m_Plugin.Open(m_Host), 1);
  ExpectShows(m_Plugin, "editor_values");
  m_Plugin.Close();
}

TEST_F(X11Editor, ADragOnTheFirstSliderAutomatesItsPositionOver127) {
  ASSERT_EQ(m_Plugin.Open(m_Host), 1);
  ExpectShows(m_Plugin, "editor_program0");
  DragPar0(60);
  ASSERT_TRUE(PumpUntil(m_Plugin, [&] { return m_Plugin.GetParameter(0) > 100.0f / 127; }));
  const auto& calls = m_Plugin.Automations();
  ASSERT_FALSE(calls.empty());
  for (const auto& call : calls) {
    EXPECT_EQ(call.index, 0);
    EXPECT_EQ(call.value, std::round(call.value * 127) / 127) << call.value;
  }
  EXPECT_GT(calls.size(), 1u);  // a drag, not a page step
  EXPECT_EQ(calls.back().value, m_Plugin.GetParameter(0));
  m_Plugin.Close();
}

TEST_F(X11Editor, AHostChangeOfAParameterShowsWithin50MillisecondsOfPumping) {
  ASSERT_EQ(m_Plugin.Open(m_Host), 1);
  ExpectShows(m_Plugin, "editor_program0");
  const std::vector<uint32_t> before = Shown();
  m_Plugin.SetParameter(0, 1.0f);
  // Pumped without pause; the pump that shows the change must start within the editor's 50 ms,
  // give or take one turn of this loop (a pump and a readback).
  const auto start = Clock::now();
  auto turnStart = start;
  auto turn = Clock::duration{};
  bool moved = false;
  while (!moved && Clock::now() - start < std::chrono::seconds(1)) {
    const auto now = Clock::now();
    turn = std::max(turn, now - turnStart);
    turnStart = now;
    m_Plugin.Idle();
    moved = Shown() != before;
  }
  ASSERT_TRUE(moved);
  EXPECT_LE(turnStart - start, std::chrono::milliseconds(50) + turn);
  m_Plugin.Close();
}

TEST_F(X11Editor, AHostThatDestroysItsWindowFirstLosesNothingAndOpensAgain) {
  ASSERT_EQ(m_Plugin.Open(m_Host), 1);
  ExpectShows(m_Plugin, "editor_program0");
  m_HostWindow->Destroy();
  m_Plugin.Idle();  // hears that the window went
  m_Plugin.SetParameter(0, 0.25f);
  m_Plugin.Idle();
  m_Plugin.Close();
  // The window destroyed before its parent's close, and a parent gone before the open.
  ASSERT_EQ(m_Plugin.Open(m_Host), 0);
  OpenTheHost();
  ASSERT_EQ(m_Plugin.Open(m_Host), 1);
  m_HostWindow->Destroy();  // destroyed again with no pump in between
  m_Plugin.Close();
  OpenTheHost();
  m_Plugin.SetParameter(0, 0.5f);
  ASSERT_EQ(m_Plugin.Open(m_Host), 1);
  ExpectShows(m_Plugin, "editor_program0");
  m_Plugin.Close();
  EXPECT_EQ(m_X.TakeErrors(), 0);
}

// The host destroys its window and opens the editor in a new one before any idle has told us:
// the open finds out for itself that the old window is gone.
TEST_F(X11Editor, AnOpenRightAfterTheHostDestroyedItsWindowShowsTheEditorInTheNewOne) {
  ASSERT_EQ(m_Plugin.Open(m_Host), 1);
  ExpectShows(m_Plugin, "editor_program0");
  m_HostWindow->Destroy();
  OpenTheHost();
  ASSERT_EQ(m_Plugin.Open(m_Host), 1);
  ASSERT_EQ(m_X.Children(m_Host).size(), 1u);
  ExpectShows(m_Plugin, "editor_program0");
  m_Plugin.Close();
  EXPECT_TRUE(m_X.Children(m_Host).empty());
  EXPECT_EQ(m_X.TakeErrors(), 0);
}

// A drag reaches the slider inside effEditIdle; the host closes the plug-in from the automation
// callback. The instance outlives the callback until the idle returns (the address sanitizer
// build checks every access on the way back), and the editor's window is gone at once.
TEST_F(X11Editor, AHostThatClosesThePlugInFromTheAutomationCallbackDuringADrag) {
  HostedPlugin closing{m_Library};
  ASSERT_EQ(closing.Open(m_Host), 1);
  ExpectShows(closing, "editor_program0");
  bool closed = false;
  closing.onAutomate = [&](HostedPlugin& p) {
    if (closed) return;
    closed = true;
    AEffect* effect = std::exchange(p.effect, nullptr);  // the host forgets the instance
    EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_TRUE(m_X.Children(m_Host).empty());
  };
  DragPar0(40);
  const auto end = Clock::now() + std::chrono::seconds(2);
  while (!closed && Clock::now() < end) {
    closing.Idle();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_TRUE(closed);
  EXPECT_TRUE(m_X.Children(m_Host).empty());
  EXPECT_EQ(m_X.TakeErrors(), 0);
}

TEST_F(X11Editor, ABadParentIdIsRefused) {
  const HostWindow gone = OpenHost(0, 0);
  gone->Destroy();
  EXPECT_EQ(m_Plugin.Open(IdOf(*gone)), 0);
  EXPECT_EQ(m_Plugin.Open(0x7FFFFF0), 0);  // never made
  ASSERT_EQ(m_Plugin.Open(m_Host), 1);
  ExpectShows(m_Plugin, "editor_program0");
  m_Plugin.Close();
  EXPECT_EQ(m_X.TakeErrors(), 0);
}

TEST_F(X11Editor, AParentOnA32BitVisualShowsTheSamePixels) {
  HostWindow parent;
  try {
    parent = OpenHost(kHostX, kHostY, true);
  } catch (const std::runtime_error& error) {
    GTEST_SKIP() << error.what();
  }
  ASSERT_EQ(m_Plugin.Open(IdOf(*parent)), 1);
  const auto children = m_X.Children(IdOf(*parent));
  ASSERT_EQ(children.size(), 1u);
  // The parent's pixels do not hold those of a child of another depth: the child's own.
  const xcb_window_t editor = children[0];
  ExpectShows(
      m_Plugin, [&] { return m_X.Pixels(editor, kWidth, kHeight); }, "editor_program0");
  m_Plugin.Close();
  EXPECT_EQ(m_X.TakeErrors(), 0);
}

TEST_F(X11Editor, TwoInstancesShowTwoEditorsAtOnce) {
  HostedPlugin second{m_Library};
  const HostWindow secondHost = OpenHost(kHostX, kHostY + 200);
  ASSERT_EQ(m_Plugin.Open(m_Host), 1);
  ASSERT_EQ(second.Open(IdOf(*secondHost)), 1);
  ExpectShows(m_Plugin, "editor_program0");
  ExpectShows(second, ShownIn(*secondHost), "editor_program0");
  m_Plugin.Close();
  const std::vector<uint32_t> before = secondHost->Capture().pixels;
  second.SetParameter(0, 1.0f);
  EXPECT_TRUE(PumpUntil(second, [&] { return secondHost->Capture().pixels != before; }));
  second.Close();
}

TEST_F(X11Editor, CallsFromAnotherThreadAreIgnored) {
  ASSERT_EQ(m_Plugin.Open(m_Host), 1);
  const HostWindow other = OpenHost(kHostX, kHostY + 200);
  VstIntPtr openedThere = -1;
  std::thread([&] {
    m_Plugin.Idle();
    m_Plugin.Close();
    openedThere = m_Plugin.Open(IdOf(*other));
    m_Plugin.Idle();
  }).join();
  EXPECT_EQ(openedThere, 0);
  EXPECT_TRUE(m_X.Children(IdOf(*other)).empty());
  ASSERT_EQ(m_X.Children(m_Host).size(), 1u);
  ExpectShows(m_Plugin, "editor_program0");
  m_Plugin.Close();
  EXPECT_TRUE(m_X.Children(m_Host).empty());
}

// Each idle request repaints the indicators; only pixels that changed reach the server.
TEST_F(X11Editor, IdleRequestsPutOnlyChangedPixelsOnTheServer) {
  ASSERT_EQ(m_Plugin.Open(m_Host), 1);
  ExpectShows(m_Plugin, "editor_program0");
  for (const int unit : {0, 3}) {  // a value scattered over the whole range: notes move them
    m_Plugin.SetParameter(unit, 0.5f);
    m_Plugin.SetParameter(unit + 1, 0.5f);
  }
  m_Plugin.PlayNote();
  for (int i = 0; i < 20; ++i) {  // the sliders follow at the ticks, the indicators at once
    m_Plugin.Idle();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  const std::vector<xcb_window_t> editor = m_X.Children(m_Host);
  ASSERT_EQ(editor.size(), 1u);
  DamageCounter damage(m_X.connection, editor[0]);
  damage.Take();

#if defined(FLUX_SANITIZED)
  for (int i = 0; i < 100; ++i) m_Plugin.Idle();
#else
  testsupport::countingAllocations = true;
  for (int i = 0; i < 100; ++i) m_Plugin.Idle();
  testsupport::countingAllocations = false;
  EXPECT_EQ(testsupport::allocations.exchange(0), 0) << "allocated by steady idle requests";
#endif
  EXPECT_EQ(damage.Take(), 0) << "over 100 idle requests with nothing changed";

  int moved = 0;
  for (int i = 0; i < 100; ++i) {
    const std::vector<int> before = m_Plugin.SentValues();
    m_Plugin.PlayNote();
    const std::vector<int>& after = m_Plugin.SentValues();
    ASSERT_EQ(after.size(), before.size() + 32);
    const auto last = before.end();
    moved += !std::equal(last - 32, last, after.end() - 32);
    m_Plugin.Idle();  // sets the indicators; the next one's pump paints them
  }
  m_Plugin.Idle();
  EXPECT_GE(moved, 90);
  EXPECT_EQ(damage.Take(), moved) << "over 100 idle requests that moved the indicators";
  m_Plugin.Close();
}

TEST_F(X11Editor, AThousandOpensAndClosesKeepNoFilesAndNoMemory) {
  const auto cycle = [&] {
    ASSERT_EQ(m_Plugin.Open(m_Host), 1);
    m_Plugin.Idle();
    m_Plugin.Close();
  };
  for (int i = 0; i < 20; ++i) cycle();  // allocators and caches settle
  const std::size_t files = OpenFileCount();
  const long pages = ResidentPages();
  for (int i = 0; i < 1000; ++i) cycle();
  EXPECT_EQ(OpenFileCount(), files);
  if (kMemoryIsMeasurable) {
    EXPECT_LT(ResidentPages() - pages, 256) << "more than 1 MB kept";
  }
  EXPECT_TRUE(m_X.Children(m_Host).empty());
}

}  // namespace
