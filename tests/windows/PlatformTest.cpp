// The small interfaces of our own on the real API: the hover sound on MCI, the code page 1250
// conversion that message boxes use, files through CreateFile, resources through FindResource.
#include "Files.h"
#include "Resources.h"
#include "Sound.h"
#include "WinFonts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kSound = std::string(GLGUI_SOURCE_DIR) + "/default/nvg_off.wav";

TEST(MciSound, AWaveFileOpensPlaysAndRewindsAMissingOneIsSilent) {
  TSoundPlayer missing("default\\no_such_sound.wav");
  EXPECT_FALSE(missing.Audible());
  EXPECT_FALSE(missing.Error().empty());
  missing.Play();  // does nothing
  EXPECT_FALSE(missing.Playing());

  // The length as the file's header gives it: data bytes over bytes per second.
  std::vector<uint8_t> wav;
  ASSERT_EQ(ReadWholeFile(kSound, wav), FileReadStatus::Ok);
  ASSERT_GE(wav.size(), 44u);
  auto u32 = [&](size_t at) { return uint32_t(wav[at]) | uint32_t(wav[at + 1]) << 8 | uint32_t(wav[at + 2]) << 16 | uint32_t(wav[at + 3]) << 24; };
  const uint32_t ms = uint32_t(uint64_t(u32(40)) * 1000 / u32(28));
  TSoundPlayer sound(kSound);
  ASSERT_TRUE(sound.Audible()) << sound.Error();
  EXPECT_NEAR(double(sound.Length()), double(ms), 2.0);
  // Without a sound card the device stops at once; each play starts over from the beginning.
  for (int i = 0; i < 3; ++i) sound.Play();
}

TEST(CodePage1250, BytesConvertAsMessageBoxesShowThem) {
  std::vector<uint32_t> got;
  for (int c : {0x41, 0xE9, 0xE1, 0xFB, 0xFA, 0xF5, 0xF3, 0xFC, 0xF6, 0x80, 0x8A, 0x9E, 0xA0})
    got.push_back(Cp1250ToUnicode(uint8_t(c)));
  EXPECT_EQ(got, (std::vector<uint32_t>{0x41, 0xE9, 0xE1, 0x171, 0xFA, 0x151, 0xF3, 0xFC, 0xF6, 0x20AC, 0x160, 0x17E,
                                        0xA0}));
  std::vector<uint32_t> unassigned;
  for (int c : {0x81, 0x83, 0x88, 0x90, 0x98}) unassigned.push_back(Cp1250ToUnicode(uint8_t(c)));
  // The bytes the code page leaves unassigned give the C1 controls of the same value.
  EXPECT_EQ(unassigned, (std::vector<uint32_t>{0x81, 0x83, 0x88, 0x90, 0x98}));
}

TEST(FilesAndResources, BackslashPathsReadAndResourcesAreFoundWhateverTheCase) {
  std::vector<uint8_t> data;
  EXPECT_EQ(ReadWholeFile(std::string(GLGUI_SOURCE_DIR) + "\\default\\font.tga", data), FileReadStatus::Ok);
  EXPECT_FALSE(data.empty());
  EXPECT_EQ(ReadWholeFile(std::string(GLGUI_SOURCE_DIR) + "\\default\\missing.tga", data), FileReadStatus::NotFound);
  EXPECT_TRUE(data.empty());
  EXPECT_EQ(ReadWholeFile(std::string(GLGUI_SOURCE_DIR) + "\\default", data), FileReadStatus::OpenFailed);
  EXPECT_FALSE(FileExists(std::string(GLGUI_SOURCE_DIR) + "/default"));
  ResourceBlob upper{}, lower{};
  ASSERT_TRUE(FindProgramResource("TGA", "PANEL", &upper));
  ASSERT_TRUE(FindProgramResource("tga", "panel", &lower));
  EXPECT_EQ(upper.Data, lower.Data);
  EXPECT_GT(upper.Size, 18u);
  EXPECT_FALSE(FindProgramResource("TGA", "NOSUCH", nullptr));
  EXPECT_FALSE(FindProgramResource("BMP", "PANEL", nullptr));
  // Hidden and shown again; a blob added at run time comes first.
  UnregisterProgramResource("TGA", "PANEL");
  EXPECT_FALSE(FindProgramResource("TGA", "PANEL", nullptr));
  const uint8_t bytes[3] = {1, 2, 3};
  RegisterProgramResource("TGA", "PANEL", bytes, 3);
  ASSERT_TRUE(FindProgramResource("TGA", "Panel", &lower));
  EXPECT_EQ(lower.Size, 3u);
}

}  // namespace
