// The file layer: paths as the program writes them ("default\font.tga", backslash or slash as the
// separator on every platform), opened for reading only, with every handle released by its owner.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The path with every backslash turned into the platform's separator.
std::string NativePath(const std::string& path);

// True when a regular file of that name exists (directories and devices do not count).
bool FileExists(const std::string& path);

enum class FileReadStatus {
  Ok,
  NotFound,    // no such file
  OpenFailed,  // it exists but cannot be opened for reading (or is no regular file)
  ReadFailed,  // an I/O error while reading
  TooLarge,    // its contents do not fit in memory
};

// A file open for reading only; closed when the object goes.
class TReadOnlyFile {
 public:
  TReadOnlyFile() = default;
  explicit TReadOnlyFile(const std::string& path) { Open(path); }
  ~TReadOnlyFile() { Close(); }
  TReadOnlyFile(const TReadOnlyFile&) = delete;
  TReadOnlyFile& operator=(const TReadOnlyFile&) = delete;
  TReadOnlyFile(TReadOnlyFile&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  TReadOnlyFile& operator=(TReadOnlyFile&& other) noexcept;

  FileReadStatus Open(const std::string& path);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  // Size in bytes of the open file, or -1.
  int64_t Size() const;
  // Reads up to `count` bytes, retrying short reads until end of file; returns the count read,
  // or -1 on an I/O error.
  int64_t Read(void* buffer, size_t count);

 private:
  intptr_t fd_ = -1;  // a descriptor, or on Windows a file handle; -1 when closed
};

// Reads a whole file into `data` (replacing what it held). On failure `data` is left empty.
FileReadStatus ReadWholeFile(const std::string& path, std::vector<uint8_t>& data);
