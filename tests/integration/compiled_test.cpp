// A compiled controller image through the file writers, as a host of the
// compiler library saves it: read back by our readers, and as assembler
// source with the settings block and the byte code in their sections.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiled_image.h"
#include "expected_files.h"
#include "producer_paths.h"
#include "writer_under_test.h"

namespace integ {
namespace {

using outtest::TImage;
using outtest::TModule;
using outtest::TWriterUnderTest;

class CompiledRoundTrip : public ::testing::TestWithParam<std::string> {};

TEST_P(CompiledRoundTrip, ReaderGetsExactlyTheCompilersBytes) {
  TWriterUnderTest writer(GetParam(), TWriterUnderTest::UNBOUND);
  auto compiler = TModule::LoadCopy(CompilerPath(), writer.Dir().Path());
  auto reader = TModule::LoadCopy(ReaderPath(GetParam()), writer.Dir().Path());
  ASSERT_TRUE(writer.Plugin().attachToDLL(compiler->Handle())) << writer.Plugin().LastError();
  for (const TCompiledCase& compiled : SampleCompiles()) {
    SCOPED_TRACE(compiled.name);
    CompileSample(compiler->Handle(), compiled.flashStart, compiled.steps);
    const TImage image = outtest::ReadImage(*compiler);
    ASSERT_FALSE(image.empty());
    ASSERT_EQ(image.front().address, compiled.flashStart);
    ASSERT_EQ(image.back().address, compiled.flashStart + image.size() - 1) << "not contiguous";

    const std::string file = writer.Save({});
    ASSERT_NE(file.rfind("SaveAs failed", 0), 0u) << file;
    ASSERT_TRUE(LoadImageFile(*reader, writer.LastFile()));
    EXPECT_EQ(outtest::ReadImage(*reader), image);
  }
}

INSTANTIATE_TEST_SUITE_P(S19AndIHEX, CompiledRoundTrip, ::testing::ValuesIn(RoundTripKeys()),
                         [](const auto& info) { return info.param; });

// Sixteen items a line from `from` up to `to`, as the data directives of the
// assembler source carry them.
std::string ByteLines(const TImage& image, size_t from, size_t to) {
  std::string lines;
  for (size_t line = from; line < to; line += 16) {
    std::vector<uint8_t> values;
    for (size_t i = line; i < to && i < line + 16; ++i) values.push_back(image[i].data);
    lines += "\t.byte " + outtest::Items(values) + "\n";
  }
  return lines;
}

TEST(CompiledAssemblerSource, SettingsAndByteCodeInTheirSections) {
  TWriterUnderTest writer("s", TWriterUnderTest::UNBOUND);
  auto compiler = TModule::LoadCopy(CompilerPath(), writer.Dir().Path());
  CompileSample(compiler->Handle(), 0, 12);
  const TImage image = outtest::ReadImage(*compiler);
  const size_t settingsEnd = SampleSettings().size();
  ASSERT_EQ(settingsEnd, 0xD0u);
  ASSERT_GT(image.size(), settingsEnd + 16) << "a byte code of more than one line";
  ASSERT_NE((image.size() - settingsEnd) % 16, 0u) << "a last line shorter than 16 bytes";

  ASSERT_TRUE(writer.Plugin().attachToDLL(compiler->Handle())) << writer.Plugin().LastError();
  EXPECT_EQ(writer.Save({}), ".section plc_settings, psv\n.global _PLC_settings\n_PLC_settings:\n\n" +
                                 ByteLines(image, 0, settingsEnd) +
                                 "\n.section plc_bytecode, psv\n.global _PLC_bytecode\n_PLC_bytecode:\n\n" +
                                 ByteLines(image, settingsEnd, image.size()));
}

}  // namespace
}  // namespace integ
