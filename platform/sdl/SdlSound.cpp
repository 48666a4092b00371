// SDL backend: the sound player on SDL2's audio, the samples queued on a device of their own.
#include "Sound.h"

#include "Files.h"
#include "Presentation.h"

#include <SDL.h>

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

// SDL's audio subsystem, held while a player needs it.
struct AudioSubsystem {
  bool up = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  AudioSubsystem() = default;
  AudioSubsystem(const AudioSubsystem&) = delete;
  AudioSubsystem& operator=(const AudioSubsystem&) = delete;
  ~AudioSubsystem() {
    if (up) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
};

}  // namespace

struct TSoundPlayer::Device {
  AudioSubsystem audio;  // first in, last out
  uint8_t* samples = nullptr;
  uint32_t length = 0;
  SDL_AudioSpec spec{};      // the file's format, queued playback in buffers of BufferFrames
  SDL_AudioDeviceID id = 0;  // none until opened
  uint32_t soundMs = 0;      // playing time of the whole sound
  uint32_t bufferMs = 0;     // what the device holds beyond the queue
  uint64_t endTick = 0;      // when the last Play() ends

  Device() = default;
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;
  ~Device() {
    if (id != 0) SDL_CloseAudioDevice(id);
    if (samples != nullptr) SDL_FreeWAV(samples);
  }

  // Opens the device and starts it; false, with the reason in `error`, when none opens.
  bool Open(std::string& error) {
    // The device takes the file's own format; SDL converts to whatever the hardware wants.
    SDL_AudioSpec obtained;
    id = SDL_OpenAudioDevice(nullptr, 0, &spec, &obtained, 0);
    if (id == 0) {
      error = std::string("cannot open an audio device: ") + SDL_GetError();
      return false;
    }
    // The device takes queued samples into its own buffer before they are heard, so the queue
    // runs dry before the sound ends: the end is reckoned from the length and the buffer size.
    const uint32_t frameBytes = uint32_t(SDL_AUDIO_BITSIZE(obtained.format) / 8) * obtained.channels;
    if (obtained.freq > 0 && frameBytes > 0) {
      soundMs = uint32_t(uint64_t(length / frameBytes) * 1000 / uint32_t(obtained.freq));
      bufferMs = uint32_t(uint64_t(obtained.samples) * 1000 / uint32_t(obtained.freq)) + 1;
    }
    SDL_PauseAudioDevice(id, 0);
    return true;
  }
};

TSoundPlayer::TSoundPlayer(const std::string& fileName) {
  auto device = std::make_unique<Device>();
  if (!device->audio.up) {
    error_ = std::string("no audio: ") + SDL_GetError();
    return;
  }
  SDL_AudioSpec& spec = device->spec;
  if (!SDL_LoadWAV(NativePath(fileName).c_str(), &spec, &device->samples, &device->length)) {
    device->samples = nullptr;
    error_ = fileName + ": " + SDL_GetError();
    return;
  }
  spec.callback = nullptr;  // queued playback
  spec.samples = BufferFrames(spec.freq);
  spec.userdata = nullptr;
  if (!sdl_layer::kPresentation.AudioOpensOnFirstPlay() && !device->Open(error_)) return;
  length_ = device->length;
  device_ = std::move(device);
}

TSoundPlayer::~TSoundPlayer() = default;

void TSoundPlayer::Play() {
  if (!device_ || device_->length == 0) return;
  if (device_->id == 0 && !device_->Open(error_)) {  // its first play, and no device opens: silent
    device_.reset();
    length_ = 0;
    return;
  }
  if (Playing()) return;  // leave it alone
  if (SDL_QueueAudio(device_->id, device_->samples, device_->length) == 0)
    device_->endTick = SDL_GetTicks64() + device_->soundMs + device_->bufferMs;
}

bool TSoundPlayer::Playing() const {
  return device_ && device_->id != 0 &&
         (SDL_GetQueuedAudioSize(device_->id) != 0 || SDL_GetTicks64() < device_->endTick);
}
