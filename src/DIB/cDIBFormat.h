#pragma once
// Image file formats of the library's own: each format reads a file into its target image and
// writes the image to a file, and describes itself for file dialogs. Formats live in a
// process-wide registry (user-interface thread only) that starts with the 16-bit RSB format.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "DIB/cDIB.h"
#include "ui/model/Events.h"
#include "ui/model/Exception.h"

namespace ui {
class Stream;
}

class EDIBFormatError : public ui::Exception {
 public:
  using ui::Exception::Exception;
};

class TAbstractDIBFormat;
using TFormatProgressEvent = ui::Delegate<TAbstractDIBFormat*, int32_t>;  // (Sender, Percent)

class TAbstractDIBFormat {
 public:
  TAbstractDIBFormat() = default;
  TAbstractDIBFormat(const TAbstractDIBFormat&) = delete;
  TAbstractDIBFormat& operator=(const TAbstractDIBFormat&) = delete;
  virtual ~TAbstractDIBFormat() = default;

  // The image read into and written from; not owned.
  TAbstractSuperDIB* DIB() const { return m_DIB; }
  void SetDIB(TAbstractSuperDIB* image) { m_DIB = image; }
  const TFormatProgressEvent& OnFormatProgress() const { return m_OnFormatProgress; }
  void SetOnFormatProgress(const TFormatProgressEvent& handler) { m_OnFormatProgress = handler; }
  const TDIBId& Id() const { return m_Id; }

  virtual std::string GetDescription() const = 0;
  // Both need a target image (AssertionError without one).
  virtual void LoadFromStream(ui::Stream& stream) = 0;
  virtual void SaveToStream(ui::Stream& stream) = 0;
  virtual bool CanLoad() const { return true; }
  virtual bool CanSave() const { return true; }
  // ext with its dot, e.g. ".rsb".
  virtual bool AcceptsLoadExtension(const std::string& ext) const;
  virtual bool AcceptsSaveExtension(const std::string& ext) const;
  // Append file-dialog filter lines ("Description (*.ext)|*.ext").
  virtual void AddSaveFilter(std::vector<std::string>& filters) const;
  virtual void AddLoadFilter(std::vector<std::string>& filters) const;

 protected:
  explicit TAbstractDIBFormat(const TDIBId& id) : m_Id(id) {}
  TAbstractSuperDIB& Target() const;
  void ReportProgress(int32_t percent);

 private:
  TAbstractSuperDIB* m_DIB = nullptr;
  TFormatProgressEvent m_OnFormatProgress;
  TDIBId m_Id{};
};

// The 16-bit bitmaps of a computer game: a 28-byte header (version 1, Width, Height and the
// bit counts of red, green, blue and mask, each 4 bytes little-endian), then the pixels from
// the top row down, 16 bits each. Masked images are written 4-4-4-4, others 5-6-5.
class TDIBRSBFormat : public TAbstractDIBFormat {
 public:
  TDIBRSBFormat();

  std::string GetDescription() const override;
  // Reports progress after every row, reaching 100 with the last. A wrong version, an
  // unsupported size or bit layout raise EDIBFormatError, a short stream StreamReadError;
  // the image is then left as it was.
  void LoadFromStream(ui::Stream& stream) override;
  void SaveToStream(ui::Stream& stream) override;
  bool AcceptsLoadExtension(const std::string& ext) const override;
  bool AcceptsSaveExtension(const std::string& ext) const override;
  void AddSaveFilter(std::vector<std::string>& filters) const override;
  void AddLoadFilter(std::vector<std::string>& filters) const override;
};

// The registered formats, owned, in order of registration; created with the RSB format.
std::vector<std::unique_ptr<TAbstractDIBFormat>>& DIBFormats();
void RegisterDIBFormat(std::unique_ptr<TAbstractDIBFormat> format);
