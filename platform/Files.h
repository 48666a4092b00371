/// \file
/// The file layer: paths as the program writes them (`"default\\font.tga"`, backslash or slash as
/// the separator on every platform), opened for reading only, with every handle released by its owner.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

/// The path with every backslash turned into the platform's separator.
std::string NativePath(const std::string& path);

/// True when a regular file of that name exists (directories and devices do not count).
bool FileExists(const std::string& path);

/// What opening or reading a file came to.
enum class FileReadStatus {
  Ok,          ///< Opened, or read whole.
  NotFound,    ///< No such file.
  OpenFailed,  ///< It exists but cannot be opened for reading (or is no regular file).
  ReadFailed,  ///< An I/O error while reading.
  TooLarge,    ///< Its contents do not fit in memory.
};

/// A file open for reading only; closed when the object goes. Movable, not copyable.
class TReadOnlyFile {
 public:
  /// A closed file.
  TReadOnlyFile() = default;
  /// Opens `path` at once; IsOpen() tells whether it worked.
  explicit TReadOnlyFile(const std::string& path) { Open(path); }
  /// Closes the file.
  ~TReadOnlyFile() { Close(); }
  TReadOnlyFile(const TReadOnlyFile&) = delete;
  TReadOnlyFile& operator=(const TReadOnlyFile&) = delete;
  /// Takes the other's open file; the other is left closed.
  TReadOnlyFile(TReadOnlyFile&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  /// Closes this file and takes the other's; the other is left closed.
  TReadOnlyFile& operator=(TReadOnlyFile&& other) noexcept;

  /// Closes what was open and opens the regular file `path` (NativePath applied) for reading;
  /// Ok, NotFound or OpenFailed.
  FileReadStatus Open(const std::string& path);
  /// Closes the file; nothing happens when none is open.
  void Close();
  /// True while a file is open.
  bool IsOpen() const { return fd_ >= 0; }
  /// Size in bytes of the open file, or -1.
  int64_t Size() const;
  /// Reads up to `count` bytes, retrying short reads until end of file; returns the count read,
  /// or -1 on an I/O error.
  int64_t Read(void* buffer, size_t count);

 private:
  intptr_t fd_ = -1;  // a descriptor, or on Windows a file handle; -1 when closed
};

/// Reads a whole file into `data` (replacing what it held). On failure `data` is left empty.
FileReadStatus ReadWholeFile(const std::string& path, std::vector<uint8_t>& data);
