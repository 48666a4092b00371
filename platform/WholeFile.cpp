// The parts of the file layer that both platforms share, on top of each one's TReadOnlyFile.
#include "Files.h"

#include <new>
#include <stdexcept>

TReadOnlyFile& TReadOnlyFile::operator=(TReadOnlyFile&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

FileReadStatus ReadWholeFile(const std::string& path, std::vector<uint8_t>& data) {
  data.clear();
  TReadOnlyFile file;
  const FileReadStatus opened = file.Open(path);
  if (opened != FileReadStatus::Ok) return opened;
  const int64_t size = file.Size();
  if (size < 0) return FileReadStatus::ReadFailed;
  if (static_cast<uint64_t>(size) > data.max_size()) return FileReadStatus::TooLarge;
  try {
    data.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    return FileReadStatus::TooLarge;
  } catch (const std::length_error&) {
    return FileReadStatus::TooLarge;
  }
  const int64_t got = file.Read(data.data(), data.size());
  if (got < 0) {
    data.clear();
    return FileReadStatus::ReadFailed;
  }
  // A file that shrank since its size was taken yields what it still holds.
  data.resize(static_cast<size_t>(got));
  return FileReadStatus::Ok;
}
