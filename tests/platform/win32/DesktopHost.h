#pragma once
// What a Windows host does around a plug-in's window, for the tests: a top-level window of its
// own on the desktop, a message loop run between steps, the pixels a window shows read back from
// the screen, and a user's mouse and keys sent through the system's input queue.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "png/Picture.h"

namespace win32test {

class HostWindow {
 public:
  // Visible, its client area 500 × 200 with the top-left corner at (x, y) on the screen.
  explicit HostWindow(int x = 40, int y = 40);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  HWND Handle() const { return m_Window; }
  void Destroy();  // as a host closing its window, with whatever is inside it

 private:
  HWND m_Window = nullptr;
};

// Runs the calling thread's message loop for `milliseconds`, calling `idle` every 20 ms.
void PumpFor(uint32_t milliseconds, const std::function<void()>& idle = {});
// Runs it until `done` answers true or `limit` milliseconds have passed; whether it did.
bool PumpUntil(const std::function<bool()>& done, uint32_t limit,
               const std::function<void()>& idle = {});

// The client area of `window` as it is on the screen, 0x00RRGGBB, top row first.
png::Picture ReadBack(HWND window);
// Whether `shown` equals the golden picture `name` of the editor's tests, pixel for pixel.
::testing::AssertionResult MatchesGolden(const png::Picture& shown, const std::string& name);

// Real input: the mouse moves to `at` (screen coordinates), the left button goes down or up,
// a key is pressed and released.
void MoveMouse(POINT at);
void LeftButton(bool down);
void PressKey(WORD virtualKey);
// A left-button drag in `window`'s client coordinates, in a few steps, with the loop run
// between them.
void Drag(HWND window, POINT from, POINT to);
void Click(HWND window, POINT at);

}  // namespace win32test
