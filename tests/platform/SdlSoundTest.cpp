// The hover-sound player on SDL's disk and dummy audio drivers: what a Play() puts into the
// output, what a Play() during playing does, and silence when the file or the device is missing.
#include "Files.h"
#include "Sound.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr int kSamples = 2205;  // 100 ms
constexpr int16_t kLevel = 8000;

std::string TempName(const char* stem) {
  return std::string("/tmp/glgui-sound-") + std::to_string(getpid()) + "-" + stem;
}

void Put16(std::ofstream& out, uint16_t v) { out.put(char(v & 0xFF)).put(char(v >> 8)); }
void Put32(std::ofstream& out, uint32_t v) {
  Put16(out, uint16_t(v & 0xFFFF));
  Put16(out, uint16_t(v >> 16));
}

// A mono 16-bit WAV of a square wave whose every sample is +-kLevel (never silent).
void WriteTone(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  out.write("RIFF", 4);
  Put32(out, 36 + kSamples * 2);
  out.write("WAVEfmt ", 8);
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, kRate);
  Put32(out, kRate * 2);
  Put16(out, 2);
  Put16(out, 16);
  out.write("data", 4);
  Put32(out, kSamples * 2);
  for (int i = 0; i < kSamples; ++i) Put16(out, uint16_t((i / 20) % 2 ? kLevel : -kLevel));
}

// Counts the samples of the disk driver's output that are not silence.
int AudibleSamples(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  int count = 0;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    int16_t s = int16_t(uint8_t(bytes[i]) | (uint8_t(bytes[i + 1]) << 8));
    if (s > 1000 || s < -1000) ++count;
  }
  return count;
}

void WaitWhilePlaying(const TSoundPlayer& player) {
  for (int i = 0; i < 300 && player.Playing(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  // the last chunk taken from the queue still has to reach the output
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
}

class DiskSound : public ::testing::Test {
 protected:
  void SetUp() override {
    wav_ = TempName("tone.wav");
    out_ = TempName("out.raw");
    WriteTone(wav_);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", out_.c_str(), 1);
  }
  void TearDown() override {
    std::remove(wav_.c_str());
    std::remove(out_.c_str());
    unsetenv("SDL_DISKAUDIOFILE");
    unsetenv("SDL_AUDIODRIVER");
  }
  std::string wav_, out_;
};

TEST_F(DiskSound, OnePlayWritesTheWholeSoundOnce) {
  {
    TSoundPlayer player(wav_);
    ASSERT_TRUE(player.Audible()) << player.Error();
    EXPECT_EQ(player.Length(), uint32_t(kSamples * 2));
    player.Play();
    EXPECT_TRUE(player.Playing());
    WaitWhilePlaying(player);
    EXPECT_FALSE(player.Playing());
  }
  EXPECT_EQ(AudibleSamples(out_), kSamples);
}

TEST_F(DiskSound, PlayDuringPlayingChangesNothing) {
  {
    TSoundPlayer player(wav_);
    ASSERT_TRUE(player.Audible()) << player.Error();
    player.Play();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    player.Play();
    player.Play();
    WaitWhilePlaying(player);
  }
  EXPECT_EQ(AudibleSamples(out_), kSamples);
}

TEST_F(DiskSound, PlayAfterTheEndStartsAgainFromTheBeginning) {
  {
    TSoundPlayer player(wav_);
    ASSERT_TRUE(player.Audible()) << player.Error();
    player.Play();
    WaitWhilePlaying(player);
    player.Play();
    WaitWhilePlaying(player);
  }
  EXPECT_EQ(AudibleSamples(out_), 2 * kSamples);
}

TEST_F(DiskSound, NewPlayerAfterAnOldOneStillPlays) {
  // What a scene rebuild does: the old player goes, a new one opens the device again.
  for (int round = 0; round < 3; ++round) {
    TSoundPlayer player(wav_);
    ASSERT_TRUE(player.Audible()) << player.Error();
    player.Play();
  }
  TSoundPlayer player(wav_);
  EXPECT_TRUE(player.Audible());
}

TEST(SilentSound, MissingFileMakesASilentPlayer) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  const std::string name = "default\\no-such-sound.wav";
  EXPECT_FALSE(FileExists(name));
  TSoundPlayer player(name);
  EXPECT_FALSE(player.Audible());
  EXPECT_NE(player.Error().find("no-such-sound.wav"), std::string::npos) << player.Error();
  player.Play();
  EXPECT_FALSE(player.Playing());
  unsetenv("SDL_AUDIODRIVER");
}

TEST(SilentSound, FilesThatAreNotSoundsAreRefused) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  const std::string path = TempName("bad.wav");
  const std::vector<std::string> contents = {
      "",
      "RIFF",
      std::string("RIFF\xff\xff\xff\x7fWAVEfmt \x10\0\0\0", 20),
      std::string("RIFF\x24\0\0\0WAVEfmt \x10\0\0\0\x01\0\x00\0\x22\x56\0\0\x44\xac\0\0\x02\0\x10\0data\xff\xff\xff\xff", 44),
      std::string(1000, '\xAA'),
  };
  for (const std::string& bytes : contents) {
    {
      std::ofstream out(path, std::ios::binary);
      out << bytes;
    }
    TSoundPlayer player(path);
    EXPECT_FALSE(player.Audible()) << bytes.size() << " bytes";
    EXPECT_FALSE(player.Error().empty());
    player.Play();
  }
  std::remove(path.c_str());
  unsetenv("SDL_AUDIODRIVER");
}

TEST(SilentSound, NoUsableAudioDriverMeansSilenceNotAStop) {
  const std::string wav = TempName("tone2.wav");
  WriteTone(wav);
  // A driver that does not exist, and ALSA on a machine without a sound card.
  for (const char* driver : {"no-such-driver", "alsa"}) {
    setenv("SDL_AUDIODRIVER", driver, 1);
    TSoundPlayer player(wav);
    if (!player.Audible()) {
      EXPECT_FALSE(player.Error().empty()) << driver;
    }
    player.Play();
    player.Play();
  }
  unsetenv("SDL_AUDIODRIVER");
  std::remove(wav.c_str());
}

TEST(SilentSound, BackslashNamesFindTheFile) {
  const std::string dir = TempName("dir");
  ASSERT_EQ(system(("mkdir -p " + dir).c_str()), 0);
  WriteTone(dir + "/tone.wav");
  std::string name = dir + "\\tone.wav";
  EXPECT_TRUE(FileExists(name));
  EXPECT_FALSE(FileExists(dir));  // a folder is not a sound file
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  {
    TSoundPlayer player(name);
    EXPECT_TRUE(player.Audible()) << player.Error();
    player.Play();
  }
  unsetenv("SDL_AUDIODRIVER");
  ASSERT_EQ(system(("rm -rf " + dir).c_str()), 0);
}

}  // namespace
