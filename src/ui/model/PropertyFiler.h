#pragma once
// What a class's DefineProperties hook talks to: it declares each value it stores beside its
// published properties, with a reader, a writer and whether there is anything to store now.
//
//   void TCustomMemoryDIB::DefineProperties(ui::PropertyFiler& filer) {
//     TAbstractSuperDIB::DefineProperties(filer);
//     filer.DefineBinaryProperty(
//         "Data", [this](ui::Stream& data) { ReadData(data); },
//         [this](ui::Stream& data) { WriteData(data); }, HasImage());
//     filer.DefineProperty(
//         "ImageFilename", [this](ui::ValueReader& r) { m_ImageFilename = r.ReadString(); },
//         [this](ui::ValueWriter& w) { w.WriteString(m_ImageFilename); },
//         !m_ImageFilename.empty());
//   }
//
// When writing, the writer runs only when `hasData` is true. When reading, the reader of the
// stored name runs, and nothing else.

#include <functional>
#include <string_view>

namespace ui {

class Stream;
class ValueReader;
class ValueWriter;

class PropertyFiler {
 public:
  // Reads or writes exactly one value.
  using ValueReadProc = std::function<void(ValueReader&)>;
  using ValueWriteProc = std::function<void(ValueWriter&)>;
  // Reads from a stream that holds exactly the stored bytes (Size() is their count), or writes
  // the bytes to store.
  using BinaryReadProc = std::function<void(Stream&)>;
  using BinaryWriteProc = std::function<void(Stream&)>;

  virtual ~PropertyFiler() = default;

  virtual void DefineProperty(std::string_view name, const ValueReadProc& read,
                              const ValueWriteProc& write, bool hasData) = 0;
  virtual void DefineBinaryProperty(std::string_view name, const BinaryReadProc& read,
                                    const BinaryWriteProc& write, bool hasData) = 0;
};

}  // namespace ui
