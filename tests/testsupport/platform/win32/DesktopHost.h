#pragma once
// What a Windows host does around a plug-in's window, for the tests: fluxhost's own window on the
// desktop, its message loop run between steps, and what the pixels of a window inside it show;
// and the user's keys, which a host's window does not send.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "EditorWindow.h"
#include "png/Picture.h"

namespace win32test {

using HostWindow = std::unique_ptr<fluxhost::EditorWindow>;

// Visible, its client area 500 × 200 with the top-left corner at (x, y) on the screen.
HostWindow OpenHost(int32_t x = 40, int32_t y = 40);
HWND HandleOf(const fluxhost::EditorWindow& host);

// Runs the calling thread's message loop through `host` for `milliseconds`, calling `idle`
// every 20 ms.
void PumpFor(fluxhost::EditorWindow& host, uint32_t milliseconds,
             const std::function<void()>& idle = {});
// Runs it until `done` answers true or `limit` milliseconds have passed; whether it did.
bool PumpUntil(fluxhost::EditorWindow& host, const std::function<bool()>& done, uint32_t limit,
               const std::function<void()>& idle = {});

// The client area of `window`, a window inside `host`, as the screen shows it: 0x00RRGGBB, top
// row first.
png::Picture ShownBy(fluxhost::EditorWindow& host, HWND window);
// Whether `shown` equals the golden picture `name` of the editor's tests, pixel for pixel.
::testing::AssertionResult MatchesGolden(const png::Picture& shown, const std::string& name);

// A key pressed and released through the system's input queue.
void PressKey(WORD virtualKey);
// A left-button drag with the real mouse in `host`'s client coordinates, in a few steps, with
// the loop run between them.
void Drag(fluxhost::EditorWindow& host, POINT from, POINT to);
void Click(fluxhost::EditorWindow& host, POINT at);

}  // namespace win32test
