#include "platform/win32/WindowClass.h"

#include <cstdint>
#include <cwchar>
#include <mutex>

#include "common/Assert.h"

namespace platform::win32 {
namespace {

// Two instances may open their editors on different threads.
std::mutex g_Lock;
int g_Windows = 0;
wchar_t g_Name[48] = {};

}  // namespace

HINSTANCE WindowClass::Module() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&WindowClass::Module), &module);
  return module;
}

const wchar_t* WindowClass::Acquire(WNDPROC procedure) {
  const std::lock_guard lock(g_Lock);
  if (g_Windows == 0) {
    const HINSTANCE module = Module();
    // The module's whole address (unsigned long is 32 bits on 64-bit Windows too): two copies
    // of the library loaded 4 GiB apart still get classes of their own.
    std::swprintf(g_Name, sizeof g_Name / sizeof g_Name[0], L"FluxomaticWindow%0*llX",
                  static_cast<int>(2 * sizeof(uintptr_t)),
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(module)));
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = g_Name;
    if (RegisterClassExW(&windowClass) == 0) return nullptr;
  }
  ++g_Windows;
  return g_Name;
}

void WindowClass::Release() {
  const std::lock_guard lock(g_Lock);
  FLUX_ASSERT(g_Windows > 0);
  if (--g_Windows == 0) UnregisterClassW(g_Name, Module());
}

}  // namespace platform::win32
