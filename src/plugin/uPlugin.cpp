#include "plugin/uPlugin.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "plugin/ParameterFormat.h"
#include "plugin/PluginEditorFactory.h"
#include "plugin/RandomGenerator.h"

namespace {

constexpr const char* kParameterNames[kNumParams] = {"1-CC Value", "1-Randomise Amt",  "1-CC Out",
                                                     "2-CC Value", "2-Randomise Amt.", "2-CC Out"};

constexpr const char* kCanDo[] = {"receiveVstEvents", "receiveVstMidiEvent", "sendVstEvents",
                                  "sendVstMidiEvent", "receiveVstTimeInfo"};

// The host owns the buffer and sizes it for the texts it asks for.
void CopyText(char* buffer, const char* text) {
  std::memcpy(buffer, text, std::strlen(text) + 1);
}

// Hosts size a program-name buffer at 24 bytes, while a stored name may be
// longer: the answer is cut to fit with its terminator.
constexpr size_t kHostProgramNameSize = 24;

void CopyProgramName(char* buffer, const char* name) {
  const size_t length = strnlen(name, kHostProgramNameSize - 1);
  std::memcpy(buffer, name, length);
  buffer[length] = '\0';
}

bool IsParameter(VstInt32 index) {
  return index >= 0 && index < kNumParams;
}

bool FillPin(VstInt32 index, VstPinProperties* properties, const char* prefix) {
  if (index < 0 || index > 1) return false;
  std::snprintf(properties->label, sizeof properties->label, "%s%d", prefix, index + 1);
  properties->flags = kVstPinIsActive | kVstPinIsStereo;
  return true;
}

}  // namespace

APluginProgram::APluginProgram() : name("Init") {
  // CC Out 14 and 15: the floats nearest 14/127 and 15/127.
  const float initial[kNumParams] = {0.5f, 0.0f, 14.0f / 127.0f, 0.5f, 0.0f, 15.0f / 127.0f};
  for (int i = 0; i < kNumParams; ++i) params[static_cast<size_t>(i)].store(initial[i]);
}

APlugin::APlugin(audioMasterCallback master) : AudioEffectX(master, kNumPrograms, kNumParams) {
  // The event records: slot 0 is the outgoing event and the only entry of
  // the event list; slots 1..250 start free.
  m_EventRecords = std::make_unique<VstMidiEvent[]>(kEventSlots);
  for (int slot = 0; slot < kEventSlots; ++slot) {
    VstMidiEvent& record = m_EventRecords[static_cast<size_t>(slot)];
    record = VstMidiEvent{};
    record.type = kVstMidiType;
    record.deltaFrames = FREE_SLOT;
    record.reserved1 = 99;
    eventSlots[static_cast<size_t>(slot)] = &record;
  }
  eventList = std::make_unique<VstEvents>();
  eventList->numEvents = 1;
  eventList->events[0] = reinterpret_cast<VstEvent*>(eventSlots[0]);
  queueCount = 0;

  char text[256] = {};
  getHostVendorString(text);
  hostVendor.assign(text, strnlen(text, sizeof text - 1));
  std::memset(text, 0, sizeof text);
  getHostProductString(text);
  hostProduct.assign(text, strnlen(text, sizeof text - 1));

  for (int i = kNumPrograms - 1; i >= 0; --i)
    programs[static_cast<size_t>(i)] = std::make_unique<APluginProgram>();

  setEditor(CreatePluginEditor(*this));
  randomize();

  suspend();
  hasVu(false);
  setNumInputs(2);
  setNumOutputs(2);
  canMono(true);
  canProcessReplacing(true);
  isSynth(false);
  setUniqueID(FourCharCode('Q', 'B', '0', '2'));

  for (int i = 0; i < kNumPrograms; ++i)
    std::snprintf(programs[static_cast<size_t>(i)]->name, sizeof(APluginProgram::name), "Preset %d",
                  i);

  curProgram.store(0, relaxed);
  setProgram(0);
}

APlugin::~APlugin() {
  setEditor(nullptr);  // the editor, with its window, goes first
  for (auto& program : programs) program.reset();
  m_EventRecords.reset();
  eventList.reset();
}

void APlugin::setParameter(VstInt32 index, float value) {
  if (std::isnan(value) || value < 0.0f)
    value = 0.0f;
  else if (value > 1.0f)
    value = 1.0f;
  if (!IsParameter(index)) return;
  params[static_cast<size_t>(index)].store(value, relaxed);
  programs[static_cast<size_t>(curProgram.load(relaxed))]->params[static_cast<size_t>(index)].store(
      value, relaxed);
  if (editor) editor->update();
}

float APlugin::getParameter(VstInt32 index) {
  return IsParameter(index) ? params[static_cast<size_t>(index)].load(relaxed) : 0.0f;
}

void APlugin::UpdateEditorUnlessClosed() {
  if (!editorClosed.load(relaxed) && editor) editor->update();
}

void APlugin::setProgram(VstInt32 program) {
  if (program < 0 || program >= kNumPrograms) return;
  curProgram.store(program, relaxed);
  const APluginProgram& loaded = *programs[static_cast<size_t>(program)];
  for (VstInt32 i = 0; i < kNumParams; ++i)
    setParameter(i, loaded.params[static_cast<size_t>(i)].load(relaxed));
  UpdateEditorUnlessClosed();
}

void APlugin::setProgramName(char* name) {
  char* stored = programs[static_cast<size_t>(curProgram.load(relaxed))]->name;
  const size_t length = strnlen(name, sizeof(APluginProgram::name) - 1);
  std::memcpy(stored, name, length);
  stored[length] = '\0';
  UpdateEditorUnlessClosed();
}

void APlugin::getProgramName(char* name) {
  CopyProgramName(name, programs[static_cast<size_t>(curProgram.load(relaxed))]->name);
}

void APlugin::getParameterLabel(VstInt32, char* label) {
  CopyText(label, "%");
}

void APlugin::getParameterDisplay(VstInt32 index, char* text) {
  if (IsParameter(index))
    formatParameterValue(params[static_cast<size_t>(index)].load(relaxed), text);
  else
    CopyText(text, "undefined");
}

void APlugin::getParameterName(VstInt32 index, char* text) {
  if (IsParameter(index))
    CopyText(text, kParameterNames[index]);
  else if (index > 0)
    CopyText(text, "undefined");
  else
    std::snprintf(text, 16, "par%d", index);
}

float APlugin::getVu() {
  const float level = vu;
  vu = 0.0f;
  return level;
}

void APlugin::suspend() {}

void APlugin::resume() {
  wantEvents(1);
}

bool APlugin::getProgramNameIndexed(VstInt32, VstInt32 index, char* text) {
  if (index < 0 || index >= kNumPrograms) return false;
  CopyProgramName(text, programs[static_cast<size_t>(index)]->name);
  return true;
}

bool APlugin::getInputProperties(VstInt32 index, VstPinProperties* properties) {
  return FillPin(index, properties, "Input #");
}

bool APlugin::getOutputProperties(VstInt32 index, VstPinProperties* properties) {
  return FillPin(index, properties, "Output #");
}

bool APlugin::getEffectName(char* name) {
  CopyText(name, "Fluxomatic");
  return true;
}

bool APlugin::getVendorString(char* text) {
  CopyText(text, "Quelbrook");
  return true;
}

bool APlugin::getProductString(char* text) {
  CopyText(text, "Fluxomatic");
  return true;
}

VstInt32 APlugin::getVendorVersion() {
  return 1;
}

VstInt32 APlugin::canDo(char* text) {
  for (const char* capability : kCanDo)
    if (std::strcmp(text, capability) == 0) return 1;
  return -1;
}

void APlugin::randomize() {
  flux::randomize();
}

double APlugin::nextRandom() {
  return flux::nextRandom();
}
