// SDL backend: the glyph geometry cache file, its format, key check and folder (see GlyphCache.h).
#include "GlyphCache.h"

#include "Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <utility>

// A cache file, in the machine's own byte order (the byte-order mark tells another machine's
// file apart):
//   "GLGUIGLY", u32 format version, u32 0x01020304, u32 key length, the key's bytes,
//   u32 glyph count, then per glyph, in rising code order:
//     u32 code, u8 loaded, u8 outer contours clockwise, f64 advance, 6 x f32 metrics,
//     u32 point count, points as f64 x and y,
//     u32 contour count, u32 start of each contour (the first 0, rising, 3 points at least each),
//     u32 triangle vertex count (a multiple of 3), vertices as f64 x and y,
//   and last a u64 check of every byte before it.

namespace {

constexpr char kMagic[8] = {'G', 'L', 'G', 'U', 'I', 'G', 'L', 'Y'};
constexpr uint32_t kFormat = 1;
constexpr uint32_t kByteOrderMark = 0x01020304;
constexpr size_t kLargestFile = size_t{256} << 20;
constexpr size_t kMostFiles = 64;  // beyond that, the least recently written go
// Code, two flags, advance, metrics and three counts: the least a glyph takes.
constexpr size_t kSmallestGlyph = 4 + 2 + 8 + 6 * 4 + 3 * 4;

}  // namespace

// FNV-1a over 64-bit words (and the tail bytes): quick, and any damaged byte changes it.
uint64_t GlyphFileCheck(const uint8_t* data, size_t size) {
  uint64_t h = 0xcbf29ce484222325ull;
  size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    uint64_t word;
    std::memcpy(&word, data + i, 8);
    h = (h ^ word) * 0x100000001b3ull;
    h ^= h >> 29;
  }
  for (; i < size; ++i) h = (h ^ data[i]) * 0x100000001b3ull;
  return h;
}

namespace {

class Writer {
 public:
  std::vector<uint8_t> bytes;
  template <typename T>
  void Put(T value) {
    static_assert(std::is_trivially_copyable<T>::value, "plain values only");
    const auto* p = reinterpret_cast<const uint8_t*>(&value);
    bytes.insert(bytes.end(), p, p + sizeof value);
  }
  void PutCount(size_t n) { Put(static_cast<uint32_t>(n)); }
  void PutPoints(const std::vector<GlyphPoint>& points) {
    PutCount(points.size());
    for (const GlyphPoint& p : points) {
      Put(p.x);
      Put(p.y);
    }
  }
};

class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}
  size_t Left() const { return static_cast<size_t>(end_ - p_); }
  template <typename T>
  bool Get(T& value) {
    if (Left() < sizeof value) return false;
    std::memcpy(&value, p_, sizeof value);
    p_ += sizeof value;
    return true;
  }
  bool GetFinite(double& value) { return Get(value) && std::isfinite(value); }
  bool GetFinite(float& value) { return Get(value) && std::isfinite(value); }
  // A count of items of `itemSize` bytes each that the rest of the data can hold.
  bool GetCount(size_t itemSize, size_t& n) {
    uint32_t count;
    if (!Get(count) || count > Left() / itemSize) return false;
    n = count;
    return true;
  }
  bool GetPoints(std::vector<GlyphPoint>& points) {
    size_t n;
    if (!GetCount(16, n)) return false;
    points.resize(n);
    for (GlyphPoint& p : points)
      if (!GetFinite(p.x) || !GetFinite(p.y)) return false;
    return true;
  }
  bool Skip(const void* expected, size_t size) {
    if (Left() < size || std::memcmp(p_, expected, size) != 0) return false;
    p_ += size;
    return true;
  }

 private:
  const uint8_t* p_;
  const uint8_t* end_;
};

bool ReadGlyph(Reader& in, GlyphGeometry& glyph) {
  uint8_t loaded, clockwise;
  if (!in.Get(loaded) || !in.Get(clockwise) || loaded > 1 || clockwise > 1) return false;
  glyph.loaded = loaded != 0;
  glyph.outerClockwise = clockwise != 0;
  GLYPHMETRICSFLOAT& m = glyph.metrics;
  if (!in.GetFinite(glyph.advance) || !in.GetFinite(m.gmfBlackBoxX) || !in.GetFinite(m.gmfBlackBoxY) ||
      !in.GetFinite(m.gmfptGlyphOrigin.x) || !in.GetFinite(m.gmfptGlyphOrigin.y) ||
      !in.GetFinite(m.gmfCellIncX) || !in.GetFinite(m.gmfCellIncY))
    return false;
  if (!in.GetPoints(glyph.points)) return false;
  size_t contours;
  if (!in.GetCount(4, contours)) return false;
  glyph.contourStarts.resize(contours);
  for (size_t k = 0; k < contours; ++k) {
    uint32_t start;
    if (!in.Get(start)) return false;
    // The first contour begins at point 0, and each one holds 3 points at least.
    if (k == 0 ? start != 0 : start < glyph.contourStarts[k - 1] + 3) return false;
    glyph.contourStarts[k] = start;
  }
  if (contours > 0 && glyph.contourStarts.back() + 3 > glyph.points.size()) return false;
  if (!in.GetPoints(glyph.triangles)) return false;
  return glyph.triangles.size() % 3 == 0;
}

std::string FileOf(const std::string& key) {
  const std::string folder = GlyphCacheFolder();
  if (folder.empty()) return std::string();
  const uint64_t h = GlyphFileCheck(reinterpret_cast<const uint8_t*>(key.data()), key.size());
  char name[40];
  std::snprintf(name, sizeof name, "/glyphs-%016llx.bin", static_cast<unsigned long long>(h));
  return folder + name;
}

struct FolderSetting {
  bool set = false;
  std::string folder;
};

FolderSetting& Setting() {
  static FolderSetting setting;
  return setting;
}

// Makes the folder and any missing parents (private to the user where new).
bool MakeFolders(const std::string& folder) {
  for (size_t at = 1; at <= folder.size(); ++at) {
    if (at != folder.size() && folder[at] != '/') continue;
    const std::string part = folder.substr(0, at);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat st;
  return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Keeps the folder's cache files to kMostFiles, newest first: sets of fonts since changed or
// removed are never read again.
void Prune(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  std::vector<std::pair<int64_t, std::string>> files;  // time written (ns), path
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.compare(0, 7, "glyphs-") != 0 || name.size() < 11 || name.compare(name.size() - 4, 4, ".bin") != 0)
      continue;
    const std::string path = folder + "/" + name;
    struct stat st;
    if (stat(path.c_str(), &st) == 0)
      files.emplace_back(int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, path);
  }
  closedir(dir);
  if (files.size() <= kMostFiles) return;
  std::sort(files.begin(), files.end());
  for (size_t i = 0; i + kMostFiles < files.size(); ++i) unlink(files[i].second.c_str());
}

}  // namespace

std::vector<uint8_t> EncodeGlyphSet(const std::string& key, const GlyphSet& set) {
  Writer out;
  out.bytes.insert(out.bytes.end(), kMagic, kMagic + sizeof kMagic);
  out.Put(kFormat);
  out.Put(kByteOrderMark);
  out.PutCount(key.size());
  out.bytes.insert(out.bytes.end(), key.begin(), key.end());
  out.PutCount(set.size());
  for (const auto& entry : set) {
    const GlyphGeometry& g = entry.second;
    out.Put(static_cast<uint32_t>(entry.first));
    out.Put(static_cast<uint8_t>(g.loaded));
    out.Put(static_cast<uint8_t>(g.outerClockwise));
    out.Put(g.advance);
    out.Put(g.metrics.gmfBlackBoxX);
    out.Put(g.metrics.gmfBlackBoxY);
    out.Put(g.metrics.gmfptGlyphOrigin.x);
    out.Put(g.metrics.gmfptGlyphOrigin.y);
    out.Put(g.metrics.gmfCellIncX);
    out.Put(g.metrics.gmfCellIncY);
    out.PutPoints(g.points);
    out.PutCount(g.contourStarts.size());
    for (size_t start : g.contourStarts) out.Put(static_cast<uint32_t>(start));
    out.PutPoints(g.triangles);
  }
  out.Put(GlyphFileCheck(out.bytes.data(), out.bytes.size()));
  return std::move(out.bytes);
}

bool DecodeGlyphSet(const uint8_t* data, size_t size, const std::string& key, GlyphSet& set) {
  set.clear();
  uint64_t check;
  if (size < sizeof check || size > kLargestFile) return false;
  std::memcpy(&check, data + size - sizeof check, sizeof check);
  if (GlyphFileCheck(data, size - sizeof check) != check) return false;

  Reader in(data, size - sizeof check);
  uint32_t keySize;
  size_t count;
  if (!in.Skip(kMagic, sizeof kMagic) || !in.Skip(&kFormat, sizeof kFormat) ||
      !in.Skip(&kByteOrderMark, sizeof kByteOrderMark) || !in.Get(keySize) || keySize != key.size() ||
      !in.Skip(key.data(), key.size()) || !in.GetCount(kSmallestGlyph, count))
    return false;
  GlyphSet read;
  for (size_t i = 0; i < count; ++i) {
    uint32_t code;
    if (!in.Get(code) || (!read.empty() && code <= read.rbegin()->first)) return false;
    if (!ReadGlyph(in, read.emplace_hint(read.end(), code, GlyphGeometry())->second)) return false;
  }
  if (in.Left() != 0) return false;
  set.swap(read);
  return true;
}

void SetGlyphCacheFolder(const std::string& folder) {
  Setting().set = true;
  Setting().folder = folder;
}

std::string GlyphCacheFolderOf(const char* xdgCacheHome, const char* home) {
  if (xdgCacheHome && xdgCacheHome[0] == '/') return std::string(xdgCacheHome) + "/glgui";
  if (home && home[0] == '/') return std::string(home) + "/.cache/glgui";
  return std::string();
}

std::string GlyphCacheFolder() {
  if (Setting().set) return Setting().folder;
  return GlyphCacheFolderOf(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"));
}

bool LoadGlyphSet(const std::string& key, GlyphSet& set) {
  set.clear();
  const std::string path = FileOf(key);
  std::vector<uint8_t> data;
  if (path.empty() || ReadWholeFile(path, data) != FileReadStatus::Ok) return false;
  return DecodeGlyphSet(data.data(), data.size(), key, set);
}

std::string MeasuredGlyphsFile(const std::string& faceFile) { return faceFile + ".measures"; }

std::string MeasuredGlyphsKey(const std::string& faceFile, int index, double deviation) {
  const size_t slash = faceFile.find_last_of('/');
  char text[64];
  std::snprintf(text, sizeof text, "\n%d\n%a\nmeasured glyphs", index, deviation);
  return (slash == std::string::npos ? faceFile : faceFile.substr(slash + 1)) + text;
}

bool LoadMeasuredGlyphs(const std::string& faceFile, int index, double deviation, GlyphSet& set) {
  set.clear();
  std::vector<uint8_t> data;
  if (ReadWholeFile(MeasuredGlyphsFile(faceFile), data) != FileReadStatus::Ok) return false;
  return DecodeGlyphSet(data.data(), data.size(), MeasuredGlyphsKey(faceFile, index, deviation), set);
}

void StoreGlyphSet(const std::string& key, const GlyphSet& set) {
  const std::string path = FileOf(key);
  if (path.empty() || !MakeFolders(GlyphCacheFolder())) return;
  const std::vector<uint8_t> bytes = EncodeGlyphSet(key, set);
  std::string aside = path + ".XXXXXX";
  const int fd = mkstemp(&aside[0]);
  if (fd < 0) return;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  const bool written = close(fd) == 0 && done == bytes.size();
  if (!written || std::rename(aside.c_str(), path.c_str()) != 0) {
    unlink(aside.c_str());
    return;
  }
  Prune(GlyphCacheFolder());
}
