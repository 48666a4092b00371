#include "Sound.h"

#include <sys/stat.h>

namespace {

std::string LocalPath(std::string name) {
  for (char& c : name)
    if (c == '\\') c = '/';
  return name;
}

}  // namespace

bool SoundFileExists(const std::string& fileName) {
  struct stat info;
  return stat(LocalPath(fileName).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

TSoundPlayer::TSoundPlayer(const std::string& fileName) {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    error_ = std::string("no audio: ") + SDL_GetError();
    return;
  }
  audioInit_ = true;

  SDL_AudioSpec spec;
  if (!SDL_LoadWAV(LocalPath(fileName).c_str(), &spec, &samples_, &length_)) {
    samples_ = nullptr;
    length_ = 0;
    error_ = fileName + ": " + SDL_GetError();
    return;
  }
  spec.callback = nullptr;  // queued playback
  spec.userdata = nullptr;
  // The device takes the file's own format; SDL converts to whatever the hardware wants.
  device_ = SDL_OpenAudioDevice(nullptr, 0, &spec, nullptr, 0);
  if (device_ == 0) {
    error_ = std::string("cannot open an audio device: ") + SDL_GetError();
    return;
  }
  SDL_PauseAudioDevice(device_, 0);
}

TSoundPlayer::~TSoundPlayer() {
  if (device_ != 0) SDL_CloseAudioDevice(device_);
  if (samples_ != nullptr) SDL_FreeWAV(samples_);
  if (audioInit_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void TSoundPlayer::Play() {
  if (device_ == 0 || length_ == 0) return;
  if (SDL_GetQueuedAudioSize(device_) != 0) return;  // still playing: leave it alone
  SDL_QueueAudio(device_, samples_, length_);
}

bool TSoundPlayer::Playing() const { return device_ != 0 && SDL_GetQueuedAudioSize(device_) != 0; }
