// Win32 backend: the sound player on an MCI waveaudio device for the one WAV file. Play() plays on
// from the device's position, rewinding first when it stands at the end, so a Play() while the
// sound still plays changes nothing audible.
#include "Sound.h"

#include "Files.h"
#include "Win32Api.h"

#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>

namespace {

// Sends an MCI command string; true on success, the reply in `reply` when asked for.
bool Mci(const std::string& command, std::string* reply = nullptr, std::string* error = nullptr) {
  char buffer[128] = {};
  const MCIERROR result = mciSendStringA(command.c_str(), buffer, sizeof(buffer), nullptr);
  if (result != 0) {
    if (error) {
      char text[256] = {};
      if (!mciGetErrorStringA(result, text, sizeof(text))) std::snprintf(text, sizeof(text), "MCI error %lu", static_cast<unsigned long>(result));
      *error = text;
    }
    return false;
  }
  if (reply) *reply = buffer;
  return true;
}

unsigned long Number(const std::string& alias, const char* item) {
  std::string reply;
  if (!Mci("status " + alias + " " + item, &reply)) return 0;
  return std::strtoul(reply.c_str(), nullptr, 10);
}

}  // namespace

struct TSoundPlayer::Device {
  std::string alias;
  Device() = default;
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;
  ~Device() { Mci("close " + alias); }
};

TSoundPlayer::TSoundPlayer(const std::string& fileName) {
  static unsigned serial = 0;
  const std::string alias = "glgui_sound" + std::to_string(++serial);
  // The device type follows from the file's extension (.wav: waveaudio).
  if (!Mci("open \"" + NativePath(fileName) + "\" alias " + alias, nullptr, &error_)) {
    error_ = fileName + ": " + error_;
    return;
  }
  device_ = std::make_unique<Device>();
  device_->alias = alias;
  Mci("set " + alias + " time format milliseconds");
  length_ = static_cast<uint32_t>(Number(alias, "length"));
}

TSoundPlayer::~TSoundPlayer() = default;

void TSoundPlayer::Play() {
  if (!device_) return;
  if (Number(device_->alias, "position") >= length_) Mci("seek " + device_->alias + " to start");
  Mci("play " + device_->alias);
}

bool TSoundPlayer::Playing() const {
  std::string mode;
  return device_ && Mci("status " + device_->alias + " mode", &mode) && mode == "playing";
}
