#include "platform/headless/HeadlessBackend.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "platform/WindowMessages.h"

namespace platform {

using namespace messages;

namespace {

constexpr int kMaxPaintRounds = 16;  // a client that keeps re-invalidating stops here

// The colours an 8-bit display always shows: entries 0..9 and 246..255.
constexpr std::size_t kStaticColors = 10;
constexpr std::size_t kFirstFree = kStaticColors;
constexpr std::size_t kEndFree = 256 - kStaticColors;
constexpr std::array<PaletteEntry, 2 * kStaticColors> kStaticPalette{{
    {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
    {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
    {192, 220, 192, 0}, {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
    {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
    {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
}};

bool SameColor(const PaletteEntry& a, const PaletteEntry& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// The character a key types, as the window system's key translation gives it; 0 for none.
char TranslateKey(uint16_t key, bool shift) {
  if (key >= 'A' && key <= 'Z') return static_cast<char>(shift ? key : key + ('a' - 'A'));
  if (key >= '0' && key <= '9') return static_cast<char>(key);
  switch (key) {
    case VK_SPACE:
      return ' ';
    case VK_TAB:
      return '\t';
    case VK_RETURN:
      return '\r';
    case VK_BACK:
      return '\b';
    case VK_ESCAPE:
      return '\x1B';
    default:
      return 0;
  }
}

}  // namespace

struct HeadlessBackend::Window {
  uint32_t id = 0;
  uint32_t parent = 0;  // 0: a host window or a message window
  bool host = false;
  bool messageOnly = false;
  bool visible = false;
  Rect bounds;  // in the parent's client; screen coordinates for a host
  PeerClient* client = nullptr;
  WindowPeer* peer = nullptr;
  bool paintRequested = false;
  Rect lost;  // what the frame no longer shows: a resize clears it
  Frame frame;
  std::vector<Rect> presented;
};

class HeadlessBackend::Peer final : public WindowPeer {
 public:
  Peer(HeadlessBackend& backend, PeerClient& client) : WindowPeer(client), m_Backend(&backend) {}
  ~Peer() override {
    if (m_Backend) m_Backend->RemoveWindow(m_Id);
  }

  void Attach(Window& window) {
    m_Id = window.id;
    window.peer = this;
  }
  // The backend goes first: every operation becomes a no-op.
  void Orphan() { m_Backend = nullptr; }

  void* NativeHandle() const override { return Self(); }

  void SetBounds(const Rect& boundsInParent) override {
    Window* w = Self();
    if (!w) return;
    w->bounds = boundsInParent;
    Frame& f = w->frame;
    const int32_t width = std::max(boundsInParent.Width(), 0);
    const int32_t height = std::max(boundsInParent.Height(), 0);
    if (f.width != width || f.height != height) {
      f.width = width;
      f.height = height;
      f.bits.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
      w->lost = {0, 0, width, height};
    }
  }

  void SetVisible(bool visible) override {
    if (Window* w = Self()) w->visible = visible;
  }

  void RequestPaint() override {
    if (Window* w = Self()) w->paintRequested = true;
  }

  void Present(const flux::PixelView& pixels, const Rect& area) override {
    Window* w = Self();
    if (!w || !pixels.bits) return;
    Frame& f = w->frame;
    const Rect part =
        area.Intersect({0, 0, std::min(f.width, pixels.width), std::min(f.height, pixels.height)});
    if (part.IsEmpty()) return;
    FLUX_ASSERT(part.Left >= 0 && part.Top >= 0 && part.Right <= f.width &&
                part.Bottom <= f.height);
    FLUX_ASSERT(f.bits.size() ==
                static_cast<std::size_t>(f.width) * static_cast<std::size_t>(f.height));
    const bool reduce = m_Backend->m_BitsPerPixel == 8;
    std::unordered_map<uint32_t, uint32_t> shown;  // pixels repeat: look each colour up once
    for (int32_t y = part.Top; y < part.Bottom; ++y) {
      const uint32_t* from = pixels.bits + static_cast<std::size_t>(pixels.height - 1 - y) *
                                               static_cast<std::size_t>(pixels.width);
      uint32_t* to = f.bits.data() +
                     static_cast<std::size_t>(f.height - 1 - y) * static_cast<std::size_t>(f.width);
      if (!reduce) {
        std::copy(from + part.Left, from + part.Right, to + part.Left);
        continue;
      }
      for (int32_t x = part.Left; x < part.Right; ++x) {
        const auto [at, added] = shown.try_emplace(from[x], 0);
        if (added) at->second = m_Backend->ShownColor(from[x]);
        to[x] = at->second;
      }
    }
    w->presented.push_back(part);
  }

  void SetCapture(bool capture) override {
    if (!Self()) return;
    if (capture) {
      const uint32_t old = m_Backend->m_Capture;
      m_Backend->m_Capture = m_Id;
      if (WindowPeer* loser = old != m_Id ? m_Backend->PeerOf(old) : nullptr) {
        loser->HandleCaptureLost();
      }
    } else if (m_Backend->m_Capture == m_Id) {
      m_Backend->m_Capture = 0;
    }
  }

  void SetCursor(int16_t cursor) override {
    if (Self()) m_Backend->m_CursorShape = cursor;
  }
  void TakeFocus() override {
    if (Self()) m_Backend->SetFocusWindow(m_Id);
  }
  uint32_t RealizePalette(std::span<const PaletteEntry> entries, bool background) override {
    return Self() ? m_Backend->RealizePalette(m_Id, entries, background) : 0;
  }
  bool StartTimer(uintptr_t id, uint32_t milliseconds) override {
    if (!Self() || m_Backend->m_RefuseTimers) return false;
    m_Backend->m_Timers.Start(*this, id, milliseconds, m_Backend->m_Now);
    return true;
  }
  void StopTimer(uintptr_t id) override {
    if (Self()) m_Backend->m_Timers.Stop(*this, id);
  }

  Point ClientOrigin() const override {
    const Window* w = Self();
    if (!w) return {};
    const Rect screen = m_Backend->ScreenArea(*w);
    return {screen.Left, screen.Top};
  }

 private:
  Window* Self() const { return m_Backend ? m_Backend->FindId(m_Id) : nullptr; }

  HeadlessBackend* m_Backend;
  uint32_t m_Id = 0;
};

HeadlessBackend::HeadlessBackend(Delivery delivery) : m_Delivery(delivery) {
  SetScreenBitsPerPixel(32);
}

HeadlessBackend::~HeadlessBackend() {
  // Peers that outlive the backend must not reach back into it.
  for (auto& [id, window] : m_Windows) {
    if (window->peer) static_cast<Peer*>(window->peer)->Orphan();
  }
}

HeadlessBackend::Window* HeadlessBackend::FindId(uint32_t id) const {
  const auto at = m_Windows.find(id);
  return at == m_Windows.end() ? nullptr : at->second.get();
}

HeadlessBackend::Window* HeadlessBackend::Find(const void* handle) const {
  for (const auto& [id, window] : m_Windows) {
    if (window.get() == handle) return window.get();
  }
  return nullptr;
}

HeadlessBackend::Window& HeadlessBackend::AddWindow(Window* parent, PeerClient* client) {
  auto window = std::make_unique<Window>();
  window->id = m_NextId++;
  window->parent = parent ? parent->id : 0;
  window->client = client;
  Window& added = *window;
  m_Windows.emplace(added.id, std::move(window));
  return added;
}

void HeadlessBackend::RemoveWindow(uint32_t id) {
  if (const Window* window = FindId(id); window && window->peer) m_Timers.StopAll(*window->peer);
  if (m_Focus == id) m_Focus = 0;
  if (m_Capture == id) m_Capture = 0;
  if (m_Hover == id) m_Hover = 0;
  m_Windows.erase(id);
}

std::unique_ptr<WindowPeer> HeadlessBackend::CreateChildWindow(void* parent, PeerClient& client) {
  Window* host = Find(parent);
  if (!host || !host->host) return nullptr;
  auto peer = std::make_unique<Peer>(*this, client);
  peer->Attach(AddWindow(host, &client));
  return peer;
}

std::unique_ptr<WindowPeer> HeadlessBackend::CreateMessageWindow(PeerClient& client) {
  auto peer = std::make_unique<Peer>(*this, client);
  Window& window = AddWindow(nullptr, &client);
  window.messageOnly = true;
  peer->Attach(window);
  return peer;
}

void* HeadlessBackend::CreateHostWindow(const Rect& screenBounds) {
  Window& window = AddWindow(nullptr, nullptr);
  window.host = true;
  window.visible = true;
  window.bounds = screenBounds;
  return &window;
}

void HeadlessBackend::DestroyHostWindow(void* host) {
  Window* window = Find(host);
  if (!window || !window->host) return;
  std::vector<std::pair<uint32_t, PeerClient*>> children;
  for (auto& [id, child] : m_Windows) {
    if (child->parent == window->id) children.emplace_back(id, child->client);
  }
  RemoveWindow(window->id);
  for (const auto& [id, client] : children) RemoveWindow(id);
  for (const auto& [id, client] : children) client->HandleDestroyed();
}

TimeOfDay HeadlessBackend::UtcTimeOfDay() const {
  const uint64_t base =
      ((uint64_t{m_TimeAtZero.hour} * 60 + m_TimeAtZero.minute) * 60 + m_TimeAtZero.second) * 1000 +
      m_TimeAtZero.milliseconds;
  const uint64_t now = (base + m_Now) % (24ull * 60 * 60 * 1000);
  return {static_cast<uint16_t>(now / 3600000), static_cast<uint16_t>(now / 60000 % 60),
          static_cast<uint16_t>(now / 1000 % 60), static_cast<uint16_t>(now % 1000)};
}

int16_t HeadlessBackend::KeyState(int32_t virtualKey) const {
  if (virtualKey < 0 || virtualKey > 255) return 0;
  const uint8_t state = m_Keys[virtualKey];
  return static_cast<int16_t>(((state & 0x80) ? 0x8000 : 0) | (state & 1));
}

Rect HeadlessBackend::ScreenArea(const Window& window) const {
  Rect area = window.bounds;
  for (const Window* p = FindId(window.parent); p; p = FindId(p->parent)) {
    area = {area.Left + p->bounds.Left, area.Top + p->bounds.Top, area.Right + p->bounds.Left,
            area.Bottom + p->bounds.Top};
  }
  return area;
}

Rect HeadlessBackend::ScreenBoundsOf(void* window) const {
  const Window* w = Find(window);
  return w ? ScreenArea(*w) : Rect{};
}

bool HeadlessBackend::IsShown(const Window& window) const {
  if (window.messageOnly || !window.visible) return false;
  if (window.host) return true;
  const Window* parent = FindId(window.parent);
  return parent && IsShown(*parent);
}

HeadlessBackend::Window* HeadlessBackend::WindowAt(Point screen) const {
  Window* found = nullptr;  // the last made is on top
  for (const auto& [id, window] : m_Windows) {
    if (window->host || !IsShown(*window)) continue;
    const Rect area = ScreenArea(*window);
    if (screen.X >= area.Left && screen.X < area.Right && screen.Y >= area.Top &&
        screen.Y < area.Bottom) {
      found = window.get();
    }
  }
  return found;
}

WindowPeer* HeadlessBackend::PeerOf(uint32_t id) const {
  const Window* window = FindId(id);
  return window ? window->peer : nullptr;
}

void HeadlessBackend::StealCapture(void* window) {
  const Window* w = Find(window);
  if (!w || m_Capture != w->id) return;
  m_Capture = 0;
  if (w->peer) w->peer->HandleCaptureLost();
}

intptr_t HeadlessBackend::QueryNewPalette(void* window) {
  const Window* w = Find(window);
  return w && w->peer ? w->peer->HandleQueryNewPalette() : 0;
}

void HeadlessBackend::PaletteChanged(void* window, void* changer) {
  const Window* w = Find(window);
  if (w && w->peer) w->peer->HandlePaletteChanged(changer);
}

void HeadlessBackend::SendMouse(void* window, const MouseEvent& event) {
  const Window* w = Find(window);
  if (w && w->peer) w->peer->HandleMouse(event);
}

void HeadlessBackend::Post(std::function<void()> event) {
  m_Events.push_back(std::move(event));
  if (m_Delivery == Delivery::AtOnce) Pump();
}

void HeadlessBackend::Pump() {
  // The events queued when the pump began; what their handlers cause waits for the next one.
  for (const auto& deliver : std::exchange(m_Events, {})) deliver();
  m_Timers.FireDue(m_Now);
  PaintPending();
}

void HeadlessBackend::PaintPending() {
  for (int round = 0; round < kMaxPaintRounds; ++round) {
    std::vector<uint32_t> due;
    for (const auto& [id, window] : m_Windows) {
      if (window->paintRequested || !window->lost.IsEmpty()) due.push_back(id);
    }
    if (due.empty()) return;
    for (uint32_t id : due) {
      Window* window = FindId(id);
      if (!window || !window->peer) continue;
      window->paintRequested = false;
      window->peer->HandlePaint(std::exchange(window->lost, {}));
    }
  }
}

void HeadlessBackend::SetScreenBitsPerPixel(int32_t bits) {
  m_BitsPerPixel = bits == 8 ? 8 : 32;
  m_SystemPalette.fill({});
  std::copy_n(kStaticPalette.begin(), kStaticColors, m_SystemPalette.begin());
  std::copy_n(kStaticPalette.begin() + kStaticColors, kStaticColors,
              m_SystemPalette.begin() + kEndFree);
  m_Claimed.fill(false);
}

uint32_t HeadlessBackend::RealizePalette(uint32_t window, std::span<const PaletteEntry> entries,
                                         bool background) {
  if (m_BitsPerPixel != 8) return 0;
  if (!background) m_Claimed.fill(false);  // the foreground palette comes first
  const auto shown = [this](const PaletteEntry& color) {
    for (std::size_t i = 0; i < m_SystemPalette.size(); ++i) {
      const bool held = i < kFirstFree || i >= kEndFree || m_Claimed[i];
      if (held && SameColor(m_SystemPalette[i], color)) return true;
    }
    return false;
  };
  uint32_t changed = 0;
  std::size_t next = kFirstFree;
  for (const PaletteEntry& entry : entries) {
    if (shown(entry)) continue;
    while (next < kEndFree && m_Claimed[next]) ++next;
    if (next == kEndFree) break;  // the rest show as their nearest system colours
    if (!SameColor(m_SystemPalette[next], entry)) ++changed;
    m_SystemPalette[next] = {entry.red, entry.green, entry.blue, 0};
    m_Claimed[next] = true;
  }
  if (changed > 0 && !background) {
    void* changer = FindId(window);
    std::vector<uint32_t> told;  // a handler may destroy windows
    for (const auto& [id, w] : m_Windows) {
      if (w->peer && !w->messageOnly) told.push_back(id);
    }
    for (uint32_t id : told) {
      if (WindowPeer* peer = PeerOf(id)) peer->HandlePaletteChanged(changer);
    }
  }
  return changed;
}

uint32_t HeadlessBackend::ShownColor(uint32_t pixel) const {
  const int32_t red = static_cast<int32_t>((pixel >> 16) & 0xFF);
  const int32_t green = static_cast<int32_t>((pixel >> 8) & 0xFF);
  const int32_t blue = static_cast<int32_t>(pixel & 0xFF);
  PaletteEntry best;
  int32_t bestDistance = 1 << 30;
  for (const PaletteEntry& entry : m_SystemPalette) {
    const int32_t dr = red - entry.red, dg = green - entry.green, db = blue - entry.blue;
    const int32_t distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      best = entry;
      bestDistance = distance;
    }
  }
  return uint32_t{best.red} << 16 | uint32_t{best.green} << 8 | best.blue;
}

void HeadlessBackend::Advance(uint32_t milliseconds) {
  const uint64_t end = m_Now + milliseconds;
  if (m_Delivery == Delivery::AtOnce) {
    // Every tick in time, in order; handlers start, stop and destroy timers on the way.
    for (auto due = m_Timers.NextDue(); due && *due <= end; due = m_Timers.NextDue()) {
      m_Now = std::max(m_Now, *due);
      m_Timers.FireDue(m_Now);
    }
  }
  m_Now = end;
  if (m_Delivery == Delivery::AtOnce) Pump();
}

uint32_t HeadlessBackend::MouseKeys() const {
  uint32_t keys = 0;
  if (m_Keys[VK_LBUTTON] & 0x80) keys |= MK_LBUTTON;
  if (m_Keys[VK_RBUTTON] & 0x80) keys |= MK_RBUTTON;
  if (m_Keys[VK_MBUTTON] & 0x80) keys |= MK_MBUTTON;
  if (m_Keys[VK_SHIFT] & 0x80) keys |= MK_SHIFT;
  if (m_Keys[VK_CONTROL] & 0x80) keys |= MK_CONTROL;
  return keys;
}

HeadlessBackend::Window* HeadlessBackend::PointerAt(Point screen) {
  m_Cursor = screen;
  const Window* under = WindowAt(screen);
  const uint32_t target = m_Capture != 0 ? m_Capture : (under ? under->id : 0);
  if (m_Hover != 0 && m_Hover != target) {
    const uint32_t left = m_Hover;
    m_Hover = 0;
    if (WindowPeer* peer = PeerOf(left)) peer->HandleMouseLeave();  // may destroy windows
  }
  Window* window = FindId(target);
  if (window) m_Hover = target;
  return window;
}

void HeadlessBackend::DeliverPointer(MouseAction action, MouseButton button, Point screen) {
  const Window* window = PointerAt(screen);
  if (!window || !window->peer) return;
  const Rect area = ScreenArea(*window);
  window->peer->HandleMouse(
      {action, button, {screen.X - area.Left, screen.Y - area.Top}, MouseKeys()});
}

void HeadlessBackend::MouseMove(int32_t x, int32_t y) {
  Post([this, x, y] { DeliverPointer(MouseAction::Move, MouseButton::Left, {x, y}); });
}

namespace {

uint16_t ButtonKey(MouseButton button) {
  return button == MouseButton::Left    ? VK_LBUTTON
         : button == MouseButton::Right ? VK_RBUTTON
                                        : VK_MBUTTON;
}

}  // namespace

void HeadlessBackend::DeliverButton(MouseButton button, bool down, Point screen) {
  SetKey(ButtonKey(button), down);
  DeliverPointer(down ? MouseAction::Press : MouseAction::Release, button, screen);
}

void HeadlessBackend::MouseDown(MouseButton button, int32_t x, int32_t y) {
  Post([=, this] { DeliverButton(button, true, {x, y}); });
}

void HeadlessBackend::MouseUp(MouseButton button, int32_t x, int32_t y) {
  Post([=, this] { DeliverButton(button, false, {x, y}); });
}

void HeadlessBackend::Click(int32_t x, int32_t y, MouseButton button) {
  MouseMove(x, y);
  MouseDown(button, x, y);
  MouseUp(button, x, y);
}

void HeadlessBackend::Wheel(int32_t x, int32_t y, int16_t delta) {
  Post([=, this] {
    const Window* window = PointerAt({x, y});
    if (window && window->peer) window->peer->HandleWheel({{x, y}, delta, MouseKeys()});
  });
}

void HeadlessBackend::SetKey(uint16_t virtualKey, bool down) {
  uint8_t& state = m_Keys[virtualKey & 0xFF];
  if (down && !(state & 0x80)) state ^= 1;
  state = static_cast<uint8_t>(down ? (state | 0x80) : (state & 0x7F));
}

void HeadlessBackend::DeliverKey(uint16_t virtualKey, bool down) {
  const bool wasDown = (m_Keys[virtualKey & 0xFF] & 0x80) != 0;
  SetKey(virtualKey, down);
  const bool alt = (m_Keys[VK_MENU] & 0x80) != 0 || (!down && virtualKey == VK_MENU);
  if (WindowPeer* peer = PeerOf(m_Focus)) {
    peer->HandleKey(
        {down ? KeyAction::Down : KeyAction::Up, virtualKey, alt, down && wasDown, alt});
  }
}

void HeadlessBackend::DeliverChar(char character) {
  const bool alt = (m_Keys[VK_MENU] & 0x80) != 0;
  if (WindowPeer* peer = PeerOf(m_Focus)) {
    peer->HandleKey({KeyAction::Char, static_cast<unsigned char>(character), alt, false, alt});
  }
}

void HeadlessBackend::KeyDown(uint16_t virtualKey) {
  Post([=, this] { DeliverKey(virtualKey, true); });
}

void HeadlessBackend::KeyUp(uint16_t virtualKey) {
  Post([=, this] { DeliverKey(virtualKey, false); });
}

void HeadlessBackend::Char(char character) {
  Post([=, this] { DeliverChar(character); });
}

void HeadlessBackend::PressKey(uint16_t virtualKey) {
  KeyDown(virtualKey);
  Post([=, this] {  // the shift state as the key went down
    if (const char typed = TranslateKey(virtualKey, (m_Keys[VK_SHIFT] & 0x80) != 0)) {
      DeliverChar(typed);
    }
  });
  KeyUp(virtualKey);
}

void HeadlessBackend::SetFocusWindow(uint32_t id) {
  if (m_Focus == id) return;
  const uint32_t old = m_Focus;
  m_Focus = id;
  if (WindowPeer* loser = PeerOf(old)) loser->HandleFocus(false);
  if (WindowPeer* peer = m_BitsPerPixel == 8 && m_Focus == id ? PeerOf(id) : nullptr) {
    peer->HandleQueryNewPalette();
  }
  if (WindowPeer* peer = m_Focus == id ? PeerOf(id) : nullptr) peer->HandleFocus(true);
}

const Frame* HeadlessBackend::FrameOf(void* window) const {
  const Window* w = Find(window);
  return w ? &w->frame : nullptr;
}

std::vector<Rect> HeadlessBackend::TakePresented(void* window) {
  Window* w = Find(window);
  if (!w) return {};
  return std::exchange(w->presented, {});
}

void* HeadlessBackend::FocusWindow() const {
  return FindId(m_Focus);
}

void* HeadlessBackend::CaptureWindow() const {
  return FindId(m_Capture);
}

}  // namespace platform
