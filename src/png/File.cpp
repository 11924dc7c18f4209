// PNG files on disk: the encoder and decoder with the file's name in front of every message.
#include <fstream>
#include <iterator>

#include "png/Png.h"

namespace png {
namespace {

template <typename Work>
auto ForFile(const std::string& fileName, Work work) {
  try {
    return work();
  } catch (const Error& error) {
    throw Error(fileName + ": " + error.what());
  }
}

}  // namespace

void WriteFile(const std::string& fileName, const Picture& picture, Channels channels) {
  ForFile(fileName, [&] {
    const std::vector<uint8_t> bytes = Encode(picture, channels);
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    if (!out) throw Error("cannot create the file");
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw Error("cannot write the file");
  });
}

Picture ReadFile(const std::string& fileName) {
  return ForFile(fileName, [&] {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw Error("cannot open the file");
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>()};
    if (in.bad()) throw Error("cannot read the file");
    return Decode(bytes);
  });
}

}  // namespace png
