// The hover-sound player on Windows: an MCI waveaudio device for one WAV file.
//
// Play() returns at once and plays on from the device's position; a device that stands at the end
// of the sound is rewound to the start first. So a Play() while the sound still plays changes
// nothing audible. A file that the device cannot open makes a silent player: Play() then does
// nothing. The device is closed when the player is destroyed.
#pragma once

#include <cstdint>
#include <string>

class TSoundPlayer {
 public:
  // Opens a device for the WAV file (a backslash or slash in the name separates folders).
  explicit TSoundPlayer(const std::string& fileName);
  ~TSoundPlayer();
  TSoundPlayer(const TSoundPlayer&) = delete;
  TSoundPlayer& operator=(const TSoundPlayer&) = delete;

  // True when a device is open: Play() can be heard.
  bool Audible() const { return open_; }
  // The device's message when it could not be opened; empty for an audible player.
  const std::string& Error() const { return error_; }
  // Length of the sound in milliseconds (0 for a silent player).
  uint32_t Length() const { return length_; }

  // Plays on from the current position, rewinding first when the device stands at the end.
  void Play();
  // True while the device reports that it plays.
  bool Playing() const;

 private:
  std::string alias_;
  bool open_ = false;
  uint32_t length_ = 0;
  std::string error_;
};
