// Win32 backend: the file layer: CreateFileA for reading only (others may read and write meanwhile),
// ReadFile in a loop, the handle closed by its owner.
#include "Files.h"

#include "Win32Api.h"


namespace {
HANDLE AsHandle(intptr_t h) { return reinterpret_cast<HANDLE>(h); }
}  // namespace

std::string NativePath(const std::string& path) {
  std::string native(path);
  for (char& c : native) {
    if (c == '/') c = '\\';
  }
  return native;
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(NativePath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

FileReadStatus TReadOnlyFile::Open(const std::string& path) {
  Close();
  HANDLE h = CreateFileA(NativePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileReadStatus::NotFound
                                                                          : FileReadStatus::OpenFailed;
  }
  if (GetFileType(h) != FILE_TYPE_DISK) {
    CloseHandle(h);
    return FileReadStatus::OpenFailed;
  }
  fd_ = reinterpret_cast<intptr_t>(h);
  return FileReadStatus::Ok;
}

void TReadOnlyFile::Close() {
  if (fd_ >= 0) {
    CloseHandle(AsHandle(fd_));
    fd_ = -1;
  }
}

int64_t TReadOnlyFile::Size() const {
  LARGE_INTEGER size;
  if (fd_ < 0 || !GetFileSizeEx(AsHandle(fd_), &size)) return -1;
  return static_cast<int64_t>(size.QuadPart);
}

int64_t TReadOnlyFile::Read(void* buffer, size_t count) {
  if (fd_ < 0) return -1;
  auto* out = static_cast<uint8_t*>(buffer);
  size_t done = 0;
  while (done < count) {
    const DWORD chunk = count - done > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count - done);
    DWORD got = 0;
    if (!ReadFile(AsHandle(fd_), out + done, chunk, &got, nullptr)) return -1;
    if (got == 0) break;
    done += got;
  }
  return static_cast<int64_t>(done);
}
