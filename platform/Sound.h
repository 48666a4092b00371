/// \file
/// A small asynchronous player of one WAV sound, on the platform's own audio (SDL2's, or MCI's
/// waveaudio device on Windows).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

/// A player of one WAV sound. Play() returns at once. It starts the sound from the beginning when
/// nothing is playing and changes nothing audible while the sound still plays. A file that cannot
/// be read, or an audio device that cannot be opened (a machine with no sound card), makes a silent
/// player: Play() then does nothing. The device is closed and the samples freed when the player is
/// destroyed.
class TSoundPlayer {
 public:
  /// Reads the WAV file (a backslash or slash in the name separates folders) and opens a device for
  /// it; in the browser the device opens when the sound is first played.
  explicit TSoundPlayer(const std::string& fileName);
  /// Closes the device, which ends the sound, and frees the samples.
  ~TSoundPlayer();
  TSoundPlayer(const TSoundPlayer&) = delete;
  TSoundPlayer& operator=(const TSoundPlayer&) = delete;

  /// True when the sound was read and a device is open, or opens on the first Play() (in the
  /// browser): Play() can be heard.
  bool Audible() const { return device_ != nullptr; }
  /// The reason the player is silent; empty for an audible player.
  const std::string& Error() const { return error_; }
  /// Length of the sound (0 for a silent player): bytes of the device's format where the program
  /// queues the samples itself (SDL), milliseconds where the system plays the file (MCI).
  uint32_t Length() const { return length_; }

  /// Starts the sound from the beginning unless it is still playing.
  void Play();
  /// True from a Play() until the sound has been played out.
  bool Playing() const;

 private:
  struct Device;  // the backend's open device; null for a silent player
  std::unique_ptr<Device> device_;
  uint32_t length_ = 0;
  std::string error_;
};
