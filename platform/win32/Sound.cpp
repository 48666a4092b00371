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

TSoundPlayer::TSoundPlayer(const std::string& fileName) {
  static unsigned serial = 0;
  alias_ = "glgui_sound" + std::to_string(++serial);
  // The device type follows from the file's extension (.wav: waveaudio).
  if (!Mci("open \"" + NativePath(fileName) + "\" alias " + alias_, nullptr, &error_)) {
    error_ = fileName + ": " + error_;
    return;
  }
  open_ = true;
  Mci("set " + alias_ + " time format milliseconds");
  length_ = static_cast<uint32_t>(Number(alias_, "length"));
}

TSoundPlayer::~TSoundPlayer() {
  if (open_) Mci("close " + alias_);
}

void TSoundPlayer::Play() {
  if (!open_) return;
  if (Number(alias_, "position") >= length_) Mci("seek " + alias_ + " to start");
  Mci("play " + alias_);
}

bool TSoundPlayer::Playing() const {
  std::string mode;
  return open_ && Mci("status " + alias_ + " mode", &mode) && mode == "playing";
}
