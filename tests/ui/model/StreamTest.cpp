#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <limits>

#include "ui/model/Exception.h"
#include "ui/model/FileStream.h"
#include "ui/model/MemoryStream.h"
#include "ui/model/ValueReader.h"
#include "ui/model/ValueWriter.h"

namespace {

TEST(MemoryStream, ReadsWhatWasWrittenAndGrowsOnWrite) {
  ui::MemoryStream stream;
  stream.WriteBuffer("abcdef", 6);
  stream.SetPosition(8);
  stream.WriteBuffer("z", 1);  // the gap is zero-filled
  EXPECT_EQ(stream.Size(), 9);
  stream.SetPosition(4);
  char buffer[8] = {};
  EXPECT_EQ(stream.Read(buffer, 8), 5u);
  EXPECT_EQ(std::string(buffer, 5), std::string("ef\0\0z", 5));
  EXPECT_EQ(stream.Read(buffer, 1), 0u);
  EXPECT_EQ(stream.Seek(-2, ui::SeekOrigin::End), 7);
  EXPECT_EQ(stream.Remaining(), 2);
  EXPECT_THROW(stream.Seek(-1, ui::SeekOrigin::Begin), ui::StreamReadError);
}

TEST(MemoryStream, ShortReadBufferRaisesTheStreamReadError) {
  ui::MemoryStream stream(std::vector<uint8_t>{1, 2, 3});
  uint8_t buffer[4];
  try {
    stream.ReadBuffer(buffer, 4);
    FAIL() << "no error";
  } catch (const ui::StreamReadError& error) {
    EXPECT_STREQ(error.what(), "Stream read error: 4 bytes wanted, 3 read");
  }
}

TEST(FileStream, WritesAndReadsBackAFile) {
  const auto path = std::filesystem::temp_directory_path() / "flux_ui_file_stream_test.bin";
  {
    ui::FileStream file(path, ui::FileStream::Mode::Create);
    file.WriteBuffer("hello", 5);
    EXPECT_EQ(file.Size(), 5);
  }
  {
    ui::FileStream file(path, ui::FileStream::Mode::Read);
    char buffer[5];
    file.ReadBuffer(buffer, 5);
    EXPECT_EQ(std::string(buffer, 5), "hello");
    EXPECT_THROW(file.ReadBuffer(buffer, 1), ui::StreamReadError);
  }
  std::filesystem::remove(path);
  EXPECT_THROW(ui::FileStream(path, ui::FileStream::Mode::Read), ui::Exception);
}

TEST(Values, IntegersTakeTheSmallestWidthAndKeepTheirSign) {
  const int64_t values[] = {0,          -128,          127,          128,       -32769,
                            2147483647, -2147483648LL, 2147483648LL, INT64_MIN, INT64_MAX};
  const size_t sizes[] = {2, 2, 2, 3, 5, 5, 5, 9, 9, 9};
  for (size_t i = 0; i < std::size(values); ++i) {
    ui::MemoryStream stream;
    ui::ValueWriter(stream).WriteInteger(values[i]);
    EXPECT_EQ(stream.Size(), static_cast<int64_t>(sizes[i])) << values[i];
    stream.SetPosition(0);
    EXPECT_EQ(ui::ValueReader(stream).ReadInteger(), values[i]);
  }
}

TEST(Values, FloatsKeepTheirBitsAtEachPrecision) {
  const long double extended = 1.0L / 3.0L;
  ui::MemoryStream stream;
  ui::ValueWriter writer(stream);
  writer.WriteFloat(extended, ui::FloatPrecision::Extended);
  writer.WriteFloat(static_cast<long double>(0.1), ui::FloatPrecision::Double);
  writer.WriteFloat(static_cast<long double>(std::numeric_limits<float>::denorm_min()),
                    ui::FloatPrecision::Single);
  writer.WriteFloat(-0.0L, ui::FloatPrecision::Extended);
  EXPECT_EQ(stream.Size(), 11 + 9 + 5 + 11);
  stream.SetPosition(0);
  ui::ValueReader reader(stream);
  EXPECT_EQ(reader.ReadFloat(), extended);
  EXPECT_EQ(static_cast<double>(reader.ReadFloat()), 0.1);
  EXPECT_EQ(static_cast<float>(reader.ReadFloat()), std::numeric_limits<float>::denorm_min());
  const long double negativeZero = reader.ReadFloat();
  EXPECT_TRUE(negativeZero == 0 && std::signbit(negativeZero));
}

TEST(Values, NonCanonicalExtendedFloatIsRefused) {
  // Exponent 1 without the explicit integer bit: an unnormal.
  ui::MemoryStream stream(std::vector<uint8_t>{static_cast<uint8_t>(ui::ValueTag::Extended), 0, 0,
                                               0, 0, 0, 0, 0, 0x40, 1, 0});
  EXPECT_THROW(ui::ValueReader(stream).ReadFloat(), ui::StreamReadError);
}

TEST(Values, StoredLengthBeyondTheStreamIsRefusedBeforeAllocating) {
  ui::MemoryStream stream(
      std::vector<uint8_t>{static_cast<uint8_t>(ui::ValueTag::Binary), 0xFF, 0xFF, 0xFF, 0xFF, 1});
  try {
    ui::ValueReader(stream).ReadBinary();
    FAIL() << "no error";
  } catch (const ui::StreamReadError& error) {
    EXPECT_STREQ(error.what(), "Stored length 4294967295 exceeds the 1 bytes left in the stream");
  }
}

TEST(Values, WrongTypeIsNamed) {
  ui::MemoryStream stream;
  ui::ValueWriter(stream).WriteInteger(5);
  stream.SetPosition(0);
  try {
    ui::ValueReader(stream).ReadString();
    FAIL() << "no error";
  } catch (const ui::StreamReadError& error) {
    EXPECT_STREQ(error.what(), "Expected a string in the stream, found an integer");
  }
}

}  // namespace
