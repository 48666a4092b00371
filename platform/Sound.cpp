#include "Sound.h"

#include "Files.h"

namespace {

// Sample frames per device buffer: the power of two that lasts at least 10 ms. Closing a device
// takes SDL's audio thread up to three buffer periods (the one playing, then a fixed wait of two
// to let the output drain), so the 4096 frames SDL_LoadWAV suggests cost every closed player
// about half a second at 22050 Hz; 10 ms buffers keep it to a few tens of milliseconds.
Uint16 BufferFrames(int rate) {
  Uint16 frames = 64;
  while (frames < 8192 && frames * 100 < rate) frames = Uint16(frames * 2);
  return frames;
}

}  // namespace

TSoundPlayer::TSoundPlayer(const std::string& fileName) {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    error_ = std::string("no audio: ") + SDL_GetError();
    return;
  }
  audioInit_ = true;

  SDL_AudioSpec spec;
  if (!SDL_LoadWAV(NativePath(fileName).c_str(), &spec, &samples_, &length_)) {
    samples_ = nullptr;
    length_ = 0;
    error_ = fileName + ": " + SDL_GetError();
    return;
  }
  spec.callback = nullptr;  // queued playback
  spec.samples = BufferFrames(spec.freq);
  spec.userdata = nullptr;
  // The device takes the file's own format; SDL converts to whatever the hardware wants.
  SDL_AudioSpec obtained;
  device_ = SDL_OpenAudioDevice(nullptr, 0, &spec, &obtained, 0);
  if (device_ == 0) {
    error_ = std::string("cannot open an audio device: ") + SDL_GetError();
    return;
  }
  // The device takes queued samples into its own buffer before they are heard, so the queue
  // runs dry before the sound ends: the end is reckoned from the length and the buffer size.
  const uint32_t frameBytes = uint32_t(SDL_AUDIO_BITSIZE(obtained.format) / 8) * obtained.channels;
  if (obtained.freq > 0 && frameBytes > 0) {
    soundMs_ = uint32_t(uint64_t(length_ / frameBytes) * 1000 / uint32_t(obtained.freq));
    bufferMs_ = uint32_t(uint64_t(obtained.samples) * 1000 / uint32_t(obtained.freq)) + 1;
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
  if (Playing()) return;  // leave it alone
  if (SDL_QueueAudio(device_, samples_, length_) == 0) endTick_ = SDL_GetTicks64() + soundMs_ + bufferMs_;
}

bool TSoundPlayer::Playing() const {
  return device_ != 0 && (SDL_GetQueuedAudioSize(device_) != 0 || SDL_GetTicks64() < endTick_);
}
