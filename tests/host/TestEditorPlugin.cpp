// A plug-in with an X11 editor, written against the bare records, for the host's
// editor command. Its rectangle is 100 x 50 before the editor opens and 200 x 120
// once open. The left half of the window is red, the right half blue at the first
// parameter's strength. A button press or a move with the button down automates
// parameter 0 with x ÷ 199, the release automates parameter 1 with y ÷ 119. With
// the second parameter above one half it is careless: every open makes an X error
// on its own connection.
#include <X11/Xlib.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "vst/VstRecords.h"

namespace {

constexpr short kOpenWidth = 200;
constexpr short kOpenHeight = 120;

struct EditorPlugin {
  AEffect effect{};
  audioMasterCallback host = nullptr;
  float params[2] = {0.0f, 0.0f};
  ERect rect{0, 0, 50, 100};
  Display* display = nullptr;
  Window window = 0;
};

EditorPlugin* self(AEffect* effect) {
  return static_cast<EditorPlugin*>(effect->object);
}

void paint(const EditorPlugin& p) {
  GC gc = XCreateGC(p.display, p.window, 0, nullptr);
  XSetForeground(p.display, gc, 0xFF0000);
  XFillRectangle(p.display, p.window, gc, 0, 0, kOpenWidth / 2, kOpenHeight);
  XSetForeground(p.display, gc, static_cast<unsigned long>(std::lround(p.params[0] * 255.0f)));
  XFillRectangle(p.display, p.window, gc, kOpenWidth / 2, 0, kOpenWidth / 2, kOpenHeight);
  XFreeGC(p.display, gc);
  XFlush(p.display);
}

void automate(EditorPlugin& p, VstInt32 index, float value) {
  p.host(&p.effect, audioMasterAutomate, index, 0, nullptr, value);
}

void openEditor(EditorPlugin& p, void* parent) {
  p.display = XOpenDisplay(nullptr);
  if (p.display == nullptr) return;
  p.window =
      XCreateSimpleWindow(p.display, static_cast<Window>(reinterpret_cast<uintptr_t>(parent)), 0, 0,
                          kOpenWidth, kOpenHeight, 0, 0, 0);
  XSelectInput(p.display, p.window,
               ExposureMask | ButtonPressMask | ButtonReleaseMask | Button1MotionMask);
  XMapWindow(p.display, p.window);
  if (p.params[1] > 0.5f) {
    XMapWindow(p.display, 1);  // no such window: the server answers with an error
    XSync(p.display, False);
  }
  XFlush(p.display);
  p.rect = {0, 0, kOpenHeight, kOpenWidth};
}

void idleEditor(EditorPlugin& p) {
  if (p.display == nullptr) return;
  while (XPending(p.display) > 0) {
    XEvent event;
    XNextEvent(p.display, &event);
    if (event.type == Expose && event.xexpose.count == 0) paint(p);
    if (event.type == ButtonPress) automate(p, 0, static_cast<float>(event.xbutton.x) / 199.0f);
    if (event.type == MotionNotify) automate(p, 0, static_cast<float>(event.xmotion.x) / 199.0f);
    if (event.type == ButtonRelease) automate(p, 1, static_cast<float>(event.xbutton.y) / 119.0f);
  }
}

void closeEditor(EditorPlugin& p) {
  if (p.display == nullptr) return;
  XDestroyWindow(p.display, p.window);
  XCloseDisplay(p.display);
  p.display = nullptr;
}

VstIntPtr VSTCALLBACK dispatcher(AEffect* effect, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr,
                                 float) {
  EditorPlugin& p = *self(effect);
  switch (opcode) {
    case effClose:
      closeEditor(p);
      delete &p;
      return 1;
    case effEditGetRect:
      *static_cast<ERect**>(ptr) = &p.rect;
      return 1;
    case effEditOpen:
      openEditor(p, ptr);
      return p.display != nullptr ? 1 : 0;
    case effEditIdle:
      idleEditor(p);
      return 0;
    case effEditClose:
      closeEditor(p);
      return 0;
    case effGetEffectName:
      std::strcpy(static_cast<char*>(ptr), "Fluxhost Editor Test");
      return 1;
    default:
      return 0;
  }
}

void VSTCALLBACK processReplacing(AEffect*, float**, float**, VstInt32) {}

void VSTCALLBACK setParameter(AEffect* effect, VstInt32 index, float value) {
  if (index >= 0 && index < 2) self(effect)->params[index] = value;
}

float VSTCALLBACK getParameter(AEffect* effect, VstInt32 index) {
  return index >= 0 && index < 2 ? self(effect)->params[index] : 0.0f;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host) {
  auto* p = new EditorPlugin;
  p->host = host;
  AEffect& e = p->effect;
  e.magic = kEffectMagic;
  e.dispatcher = dispatcher;
  e.processReplacing = processReplacing;
  e.setParameter = setParameter;
  e.getParameter = getParameter;
  e.numParams = 2;
  e.numPrograms = 1;
  e.flags = effFlagsHasEditor | effFlagsCanReplacing;
  e.object = p;
  e.uniqueID = fourCharCode('F', 'h', 'E', 'd');
  return &e;
}
