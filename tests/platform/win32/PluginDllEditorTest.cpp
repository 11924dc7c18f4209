// The shipped DLL's editor as a Windows host meets it: loaded with LoadLibrary and driven only
// through its descriptor. Opened and closed and the DLL unloaded a hundred times over; a host
// that destroys its window before closing the editor; two instances with their editors open at
// once; the real mouse dragging par0, and a host that closes the plug-in during that drag.

#include <cmath>
#include <memory>
#include <string>
#include <utility>

#include "testsupport/platform/win32/DesktopHost.h"
#include "testsupport/vst/FakeHost.h"

namespace {

using fluxhost::EditorWindow;
using win32test::HostWindow;
using win32test::MatchesGolden;
using win32test::OpenHost;
using win32test::PumpFor;
using win32test::ShownBy;

using PluginEntry = AEffect*(VSTCALLBACK*)(audioMasterCallback);

// One instance of the loaded plug-in, closed when it goes.
class Instance {
 public:
  explicit Instance(PluginEntry entry) : m_Effect(entry(FakeHost::Callback)) {}
  ~Instance() {
    if (m_Effect) Dispatch(effClose);
  }
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  AEffect* Effect() const { return m_Effect; }
  AEffect* Forget() { return std::exchange(m_Effect, nullptr); }  // the test closes it itself
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                     void* ptr = nullptr) {
    return m_Effect->dispatcher(m_Effect, opcode, index, value, ptr, 0.0f);
  }
  VstIntPtr Open(const EditorWindow& host) {
    return Dispatch(effEditOpen, 0, 0, host.NativeHandle());
  }
  void Close() { Dispatch(effEditClose); }
  void Idle() { Dispatch(effEditIdle); }

 private:
  AEffect* m_Effect;
};

class LoadedDll {
 public:
  LoadedDll() : m_Module(LoadLibraryA(FLUX_PLUGIN_FILE)) {}
  ~LoadedDll() {
    if (m_Module) FreeLibrary(m_Module);
  }
  LoadedDll(const LoadedDll&) = delete;
  LoadedDll& operator=(const LoadedDll&) = delete;

  HMODULE Module() const { return m_Module; }
  PluginEntry Entry() const {
    return reinterpret_cast<PluginEntry>(reinterpret_cast<void*>(GetProcAddress(m_Module, "main")));
  }

 private:
  HMODULE m_Module;
};

// The editor's window: the child the plug-in made in the host's window.
HWND EditorIn(const EditorWindow& host) {
  return GetWindow(win32test::HandleOf(host), GW_CHILD);
}

// What the editor in `host` shows.
png::Picture ShownIn(EditorWindow& host) {
  return ShownBy(host, EditorIn(host));
}

std::wstring ClassOf(HWND window) {
  wchar_t name[128] = {};
  GetClassNameW(window, name, 128);
  return name;
}

bool Registered(HMODULE module, const std::wstring& name) {
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  return GetClassInfoExW(module, name.c_str(), &info) != 0;
}

class PluginDllEditor : public ::testing::Test {
 protected:
  void SetUp() override { FakeHost::Instance().Reset(); }
  // The host's loop, run through `host`, with every instance's editor idled every 20 ms; with
  // none, the editors stay as opened (the first idle shows the indicators' values).
  static void Pump(EditorWindow& host, uint32_t milliseconds,
                   std::initializer_list<Instance*> instances = {}) {
    PumpFor(host, milliseconds, [&] {
      for (Instance* instance : instances) instance->Idle();
    });
  }
};

TEST_F(PluginDllEditor, LoadOpenCloseUnloadAHundredTimesRegistersAndUnregistersItsClass) {
  const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const HostWindow host = OpenHost();
  for (int round = 0; round < 100; ++round) {
    SCOPED_TRACE(round);
    LoadedDll dll;
    ASSERT_NE(dll.Module(), nullptr);
    Instance plugin(dll.Entry());
    ASSERT_NE(plugin.Effect(), nullptr);
    ASSERT_EQ(plugin.Open(*host), 1);  // 0 would mean the class or the window was refused
    Pump(*host, 10, {&plugin});
    const HWND editor = EditorIn(*host);
    ASSERT_NE(editor, nullptr);
    const std::wstring name = ClassOf(editor);
    // The class belongs to the DLL, not to the program that loaded it.
    EXPECT_EQ(reinterpret_cast<HMODULE>(GetWindowLongPtrW(editor, GWLP_HINSTANCE)), dll.Module());
    ASSERT_TRUE(Registered(dll.Module(), name));
    plugin.Close();
    EXPECT_EQ(EditorIn(*host), nullptr);
    ASSERT_FALSE(Registered(dll.Module(), name)) << "the class outlives the last window";
  }
  // Where the system counts its objects (Wine answers 0), none may pile up.
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userBefore + 5);
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore + 5);
}

TEST_F(PluginDllEditor, AHostThatDestroysItsWindowBeforeClosingTheEditorCanOpenItAgain) {
  LoadedDll dll;
  Instance plugin(dll.Entry());
  const HostWindow first = OpenHost();
  ASSERT_EQ(plugin.Open(*first), 1);
  Pump(*first, 60, {&plugin});
  first->Destroy();
  Pump(*first, 60, {&plugin});  // idling an editor whose window is gone
  plugin.Close();
  Pump(*first, 20, {&plugin});

  const HostWindow second = OpenHost(60, 60);
  ASSERT_EQ(plugin.Open(*second), 1);
  Pump(*second, 100, {&plugin});
  EXPECT_TRUE(MatchesGolden(ShownIn(*second), "editor_program0"));

  // And without a close in between: the next open replaces the window that went.
  second->Destroy();
  const HostWindow third = OpenHost(80, 80);
  ASSERT_EQ(plugin.Open(*third), 1);
  Pump(*third, 100, {&plugin});
  EXPECT_TRUE(MatchesGolden(ShownIn(*third), "editor_program0"));
  plugin.Close();
  plugin.Close();
}

TEST_F(PluginDllEditor, TwoInstancesShowTheirEditorsAtOnceEachAnsweringItsOwnInput) {
  LoadedDll dll;
  Instance one(dll.Entry());
  Instance two(dll.Entry());
  const HostWindow hostOne = OpenHost(20, 20);
  const HostWindow hostTwo = OpenHost(20, 300);
  ASSERT_EQ(one.Open(*hostOne), 1);
  ASSERT_EQ(two.Open(*hostTwo), 1);
  Pump(*hostOne, 100, {&one, &two});
  EXPECT_TRUE(MatchesGolden(ShownIn(*hostOne), "editor_program0"));
  EXPECT_TRUE(MatchesGolden(ShownIn(*hostTwo), "editor_program0"));

  FakeHost::Instance().calls.clear();
  win32test::Click(*hostTwo, {392 + 10, 4 + 6});  // About, in the second
  Pump(*hostOne, 60, {&one, &two});
  EXPECT_TRUE(MatchesGolden(ShownIn(*hostOne), "editor_program0"));
  EXPECT_TRUE(MatchesGolden(ShownIn(*hostTwo), "editor_about"));

  one.Close();
  Pump(*hostOne, 20);
  EXPECT_TRUE(MatchesGolden(ShownIn(*hostTwo), "editor_about"));
  two.Close();
}

TEST_F(PluginDllEditor, DraggingPar0WithTheMouseTellsTheHostPositionsOver127) {
  LoadedDll dll;
  Instance plugin(dll.Entry());
  const HostWindow host = OpenHost();
  ASSERT_EQ(plugin.Open(*host), 1);
  Pump(*host, 60, {&plugin});
  FakeHost::Instance().calls.clear();
  // par0's pointer at program 0 (position 64): the container at (0, 24), the slider at
  // (64, 24) in it, the pointer's middle 78 pixels along and 7 down.
  const POINT pointer{64 + 78, 24 + 24 + 7};
  win32test::Drag(*host, pointer, {pointer.x + 30, pointer.y});
  Pump(*host, 20, {&plugin});
  const auto automated = FakeHost::Instance().CallsWith(audioMasterAutomate);
  ASSERT_FALSE(automated.empty());
  for (const HostCall& call : automated) {
    EXPECT_EQ(call.effect, plugin.Effect());
    EXPECT_EQ(call.index, 0);
    const float steps = call.opt * 127.0f;
    EXPECT_EQ(call.opt, static_cast<float>(std::lround(steps) / 127.0)) << call.opt;
  }
  EXPECT_GT(automated.back().opt, 64.0f / 127.0f);
  EXPECT_EQ(plugin.Effect()->getParameter(plugin.Effect(), 0), automated.back().opt);
  plugin.Close();
}

// The drag reaches the slider through the window procedure, from the host's own loop; the host
// closes the plug-in from the automation callback. The editor leaves the screen at once; the
// instance goes once the window procedure returns, and nothing of it runs afterwards.
TEST_F(PluginDllEditor, AHostThatClosesThePlugInFromTheAutomationCallbackDuringADrag) {
  LoadedDll dll;
  Instance plugin(dll.Entry());
  const HostWindow host = OpenHost();
  ASSERT_EQ(plugin.Open(*host), 1);
  Pump(*host, 60, {&plugin});
  AEffect* effect = plugin.Forget();
  bool closed = false;
  FakeHost::Instance().reaction = [&](VstInt32 opcode) {
    if (opcode != audioMasterAutomate || closed) return;
    closed = true;
    EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_EQ(EditorIn(*host), nullptr);
    EXPECT_EQ(effect->dispatcher(effect, effIdentify, 0, 0, nullptr, 0.0f), 0);
  };
  const POINT pointer{64 + 78, 24 + 24 + 7};
  win32test::Drag(*host, pointer, {pointer.x + 30, pointer.y});
  Pump(*host, 60);
  FakeHost::Instance().reaction = nullptr;
  EXPECT_TRUE(closed);
  EXPECT_EQ(EditorIn(*host), nullptr);
  EXPECT_EQ(FakeHost::Instance().CallsWith(audioMasterAutomate).size(), 1u);
}

}  // namespace
