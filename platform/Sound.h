// A small asynchronous player of one WAV sound on SDL2's own audio.
//
// Play() returns at once. It starts the sound from the beginning when nothing is playing and
// changes nothing while the sound still plays. A file that cannot be read, or an audio device
// that cannot be opened (a machine with no sound card), makes a silent player: Play() then does
// nothing. The device is closed and the samples freed when the player is destroyed.
#pragma once

#ifdef _WIN32
#include "win32/SoundPlayer.h"
#else

#include <SDL.h>

#include <cstdint>
#include <string>

class TSoundPlayer {
 public:
  // Reads the WAV file (a backslash in the name separates folders) and opens a device for it.
  explicit TSoundPlayer(const std::string& fileName);
  ~TSoundPlayer();
  TSoundPlayer(const TSoundPlayer&) = delete;
  TSoundPlayer& operator=(const TSoundPlayer&) = delete;

  // True when the sound was read and a device is open: Play() can be heard.
  bool Audible() const { return device_ != 0; }
  // The reason the player is silent; empty for an audible player.
  const std::string& Error() const { return error_; }
  // Length of the sound in bytes of the device's format.
  uint32_t Length() const { return length_; }

  // Starts the sound from the beginning unless it is still playing.
  void Play();
  // True from a Play() until its last sample has left the device.
  bool Playing() const;

 private:
  bool audioInit_ = false;
  SDL_AudioDeviceID device_ = 0;
  uint8_t* samples_ = nullptr;
  uint32_t length_ = 0;
  uint32_t soundMs_ = 0;   // playing time of the whole sound
  uint32_t bufferMs_ = 0;  // what the device holds beyond the queue
  uint64_t endTick_ = 0;   // when the last Play() ends
  std::string error_;
};

#endif  // _WIN32
