// The device's file system: device paths with backslashes, resolved without regard to case inside
// one host folder. Paths come from layouts and configuration files, so nothing may leave that folder.
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/sim/host_files.h"
#include "platform/sim/internal.h"
#include "platform/wtext.h"

namespace fs = std::filesystem;

namespace sim {

namespace {

bool AcceptableComponent(const std::u16string& c) {
  if (c.empty() || c == u"." || c == u"..") return false;
  for (WChar ch : c) {
    if (ch < 0x20 || ch == u'/' || ch == u':' || ch == u'*' || ch == u'?' || ch == u'"' || ch == u'<' || ch == u'>' ||
        ch == u'|') {
      return false;
    }
  }
  return true;
}

// Splits "\a\b\c" into its parts; false for anything that is not a clean absolute device path.
bool SplitDevicePath(const std::u16string& path, std::vector<std::u16string>* parts) {
  if (path.empty() || path[0] != u'\\') return false;
  size_t start = 1;
  while (start <= path.size()) {
    size_t end = path.find(u'\\', start);
    if (end == std::u16string::npos) end = path.size();
    std::u16string part = path.substr(start, end - start);
    if (!AcceptableComponent(part)) return false;
    parts->push_back(std::move(part));
    start = end + 1;
  }
  return !parts->empty();
}

// The name of an existing entry of `dir` equal to `name` without regard to case, or empty.
std::string MatchEntry(const fs::path& dir, const std::u16string& name) {
  std::error_code ec;
  if (fs::exists(dir / ToUtf8(name), ec)) return ToUtf8(name);
  for (const auto& entry : fs::directory_iterator(dir, ec)) {
    std::u16string candidate = FromUtf8(entry.path().filename().string());
    if (wtext::EqualNoCase(candidate.c_str(), name.c_str())) return entry.path().filename().string();
  }
  return {};
}

bool WildcardMatch(const WChar* pattern, const WChar* name) {
  if (*pattern == 0) return *name == 0;
  if (*pattern == u'*') {
    for (;; ++name) {
      if (WildcardMatch(pattern + 1, name)) return true;
      if (*name == 0) return false;
    }
  }
  if (*name == 0) return false;
  if (*pattern != u'?' && wtext::LowerUnit(*pattern) != wtext::LowerUnit(*name)) return false;
  return WildcardMatch(pattern + 1, name + 1);
}

}  // namespace

std::string ResolveDevicePath(const std::string& hostFolder, const std::u16string& devicePath, bool forCreate) {
  std::vector<std::u16string> parts;
  if (!SplitDevicePath(devicePath, &parts)) return {};
  fs::path host = hostFolder;
  for (size_t i = 0; i < parts.size(); ++i) {
    std::string match = MatchEntry(host, parts[i]);
    if (match.empty()) {
      if (forCreate && i + 1 == parts.size()) {
        match = ToUtf8(parts[i]);
      } else {
        return {};
      }
    }
    host /= match;
  }
  return host.string();
}

bool ReadHostFile(const std::string& hostPath, uint8_t* buffer, size_t capacity, size_t* read) {
  *read = 0;
  std::error_code ec;
  if (hostPath.empty() || !fs::is_regular_file(hostPath, ec)) return false;
  std::ifstream in(hostPath, std::ios::binary);
  if (!in) return false;
  in.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(capacity));
  *read = static_cast<size_t>(in.gcount());
  return true;
}

std::string SimDevice::ResolveHost(const std::u16string& devicePath, bool forCreate) const {
  return ResolveDevicePath(options_.hostFolder, devicePath, forCreate);
}

std::string SimDevice::HostPath(const std::u16string& devicePath) const { return ResolveHost(devicePath, true); }

SimDevice::FileAccess SimDevice::AccessOf(const std::string& hostPath) const {
  auto it = fileAccess_.find(hostPath);
  return it == fileAccess_.end() ? FileAccess::Open : it->second;
}

void SimDevice::SetFileAccess(const std::u16string& devicePath, FileAccess access) {
  std::string host = ResolveHost(devicePath, true);
  if (host.empty()) return;
  if (access == FileAccess::Open) {
    fileAccess_.erase(host);
  } else {
    fileAccess_[host] = access;
  }
}

plat::FileReadResult SimDevice::ReadFile(const WChar* path, uint8_t* buffer, size_t capacity, size_t* read) {
  *read = 0;
  std::vector<std::u16string> parts;
  if (!SplitDevicePath(path, &parts)) return plat::FileReadResult::Unreadable;  // no name to look for
  std::string host = ResolveHost(path, false);
  if (host.empty()) return plat::FileReadResult::Missing;
  if (AccessOf(host) != FileAccess::Open) return plat::FileReadResult::Unreadable;
  std::error_code ec;
  if (!fs::is_regular_file(host, ec)) return plat::FileReadResult::Unreadable;
  std::ifstream in(host, std::ios::binary);
  if (!in) return plat::FileReadResult::Unreadable;
  in.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(capacity));
  if (in.bad()) return plat::FileReadResult::Unreadable;
  *read = static_cast<size_t>(in.gcount());
  return plat::FileReadResult::Read;
}

bool SimDevice::WriteFile(const WChar* path, const uint8_t* data, size_t size) {
  std::string host = ResolveHost(path, true);
  std::error_code ec;
  if (host.empty() || fs::is_directory(host, ec) || AccessOf(host) == FileAccess::HeldOpen) return false;
  std::ofstream out(host, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return static_cast<bool>(out.flush());
}

bool SimDevice::MoveFileOver(const WChar* from, const WChar* to) {
  std::string src = ResolveHost(from, false);
  std::string dst = ResolveHost(to, true);
  if (src.empty() || dst.empty()) return false;
  const FileAccess moved = AccessOf(src);
  if (moved == FileAccess::HeldOpen || AccessOf(dst) == FileAccess::HeldOpen) return false;
  std::error_code ec;
  fs::rename(src, dst, ec);  // rename(2) swaps the name in one step
  if (ec) return false;
  // The file under the name is now the moved one, with its own access.
  fileAccess_.erase(src);
  fileAccess_.erase(dst);
  if (moved != FileAccess::Open) fileAccess_[dst] = moved;
  return true;
}

bool SimDevice::RemoveFile(const WChar* path) {
  std::string host = ResolveHost(path, false);
  std::error_code ec;
  if (host.empty() || AccessOf(host) == FileAccess::HeldOpen) return false;
  if (!fs::is_regular_file(host, ec) || !fs::remove(host, ec)) return false;
  fileAccess_.erase(host);
  return true;
}

bool SimDevice::FileExists(const WChar* path) {
  std::string host = ResolveHost(path, false);
  std::error_code ec;
  return !host.empty() && fs::is_regular_file(host, ec);
}

plat::FileList SimDevice::FindFirst(const WChar* pattern, WChar* name, size_t capacity) {
  std::u16string p = pattern;
  size_t slash = p.rfind(u'\\');
  if (slash == std::u16string::npos) return nullptr;
  std::u16string folder = p.substr(0, slash);
  std::u16string mask = p.substr(slash + 1);
  std::string host = folder.empty() ? options_.hostFolder : ResolveHost(folder, false);
  std::error_code ec;
  if (host.empty() || !fs::is_directory(host, ec)) return nullptr;
  auto find = std::make_unique<Find>();
  for (const auto& entry : fs::directory_iterator(host, ec)) {
    if (!entry.is_regular_file(ec)) continue;
    std::u16string n = FromUtf8(entry.path().filename().string());
    if (WildcardMatch(mask.c_str(), n.c_str())) find->names.push_back(std::move(n));
  }
  std::sort(find->names.begin(), find->names.end());  // a fixed order keeps runs repeatable
  if (find->names.empty()) return nullptr;
  finds_.push_back(std::move(find));
  plat::FileList handle = reinterpret_cast<plat::FileList>(finds_.size());
  FindNext(handle, name, capacity);
  return handle;
}

bool SimDevice::FindNext(plat::FileList handle, WChar* name, size_t capacity) {
  size_t i = reinterpret_cast<uintptr_t>(handle);
  if (i == 0 || i > finds_.size() || !finds_[i - 1]->open) return false;
  Find& f = *finds_[i - 1];
  if (f.next >= f.names.size()) return false;
  // Like the platform, a name that does not fit the caller's buffer is cut; callers check lengths.
  wtext::Copy(name, capacity, f.names[f.next++].c_str());
  return true;
}

void SimDevice::CloseFileList(plat::FileList handle) {
  size_t i = reinterpret_cast<uintptr_t>(handle);
  if (i == 0 || i > finds_.size()) return;
  finds_[i - 1]->open = false;
  finds_[i - 1]->names.clear();
}

}  // namespace sim
