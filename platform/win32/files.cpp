// Files over Win32. No file stays open between calls; other programs may read and write the same
// files meanwhile (the settings utility writes what the engine reads).
#include "platform/win32/internal.h"

namespace win32 {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr DWORD kLargestTransfer = 1u << 30;  // one ReadFile or WriteFile call at most

HANDLE ToHandle(plat::FileList list) { return reinterpret_cast<HANDLE>(list); }

bool IsFile(const WIN32_FIND_DATAW& data) { return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0; }

// Folders match patterns too; the callers list files only.
bool NextFile(HANDLE find, WIN32_FIND_DATAW* data) {
  while (::FindNextFileW(find, data)) {
    if (IsFile(*data)) return true;
  }
  return false;
}

}  // namespace

}  // namespace win32

namespace plat {

using win32::W;

FileReadResult TryReadFileBytes(const WChar* path, uint8_t* buffer, size_t capacity, size_t* bytesRead) {
  *bytesRead = 0;
  if (path == nullptr) return FileReadResult::Unreadable;
  HANDLE file =
      ::CreateFileW(W(path), GENERIC_READ, win32::kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    // Only these mean that nothing is there; denied, locked by another program, a folder: it is.
    const DWORD why = ::GetLastError();
    return why == ERROR_FILE_NOT_FOUND || why == ERROR_PATH_NOT_FOUND ? FileReadResult::Missing
                                                                      : FileReadResult::Unreadable;
  }
  bool ok = true;
  size_t total = 0;
  while (total < capacity) {
    const size_t left = capacity - total;
    const DWORD want = left > win32::kLargestTransfer ? win32::kLargestTransfer : static_cast<DWORD>(left);
    DWORD got = 0;
    if (!::ReadFile(file, buffer + total, want, &got, nullptr)) {
      ok = false;
      break;
    }
    if (got == 0) break;  // end of file
    total += got;
  }
  ::CloseHandle(file);
  *bytesRead = total;
  return ok ? FileReadResult::Read : FileReadResult::Unreadable;
}

bool ReadFileBytes(const WChar* path, uint8_t* buffer, size_t capacity, size_t* bytesRead) {
  return TryReadFileBytes(path, buffer, capacity, bytesRead) == FileReadResult::Read;
}

bool WriteFileBytes(const WChar* path, const uint8_t* data, size_t size) {
  if (path == nullptr) return false;
  HANDLE file =
      ::CreateFileW(W(path), GENERIC_WRITE, win32::kShareAll, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  size_t total = 0;
  while (total < size) {
    const size_t left = size - total;
    const DWORD want = left > win32::kLargestTransfer ? win32::kLargestTransfer : static_cast<DWORD>(left);
    DWORD put = 0;
    if (!::WriteFile(file, data + total, want, &put, nullptr) || put == 0) break;
    total += put;
  }
  // The bytes reach the disk before the caller moves this file over the old one: a power cut
  // after the move must find the new content, not an empty file under the old name.
  const bool flushed = total == size && ::FlushFileBuffers(file) != 0;
  const bool closed = ::CloseHandle(file) != 0;
  if (flushed && closed) return true;
  ::DeleteFileW(W(path));  // a part-written file must not be taken for a whole one
  return false;
}

// The new file takes the old one's name in one step; the write-through makes the rename itself
// reach the disk before the call returns.
bool MoveFileOver(const WChar* from, const WChar* to) {
  if (from == nullptr || to == nullptr) return false;
  return ::MoveFileExW(W(from), W(to), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveFile(const WChar* path) { return path != nullptr && ::DeleteFileW(W(path)) != 0; }

bool FileExists(const WChar* path) {
  if (path == nullptr) return false;
  const DWORD attributes = ::GetFileAttributesW(W(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// A name that does not fit the caller's buffer is cut; the callers check lengths.
FileList OpenFileList(const WChar* pattern, WChar* name, size_t capacity) {
  if (pattern == nullptr) return nullptr;
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW(W(pattern), &data);
  if (find == INVALID_HANDLE_VALUE) return nullptr;
  if (!win32::IsFile(data) && !win32::NextFile(find, &data)) {
    ::FindClose(find);
    return nullptr;
  }
  win32::CopyOut(name, capacity, data.cFileName);
  return reinterpret_cast<FileList>(find);
}

bool NextListedFile(FileList list, WChar* name, size_t capacity) {
  if (list == nullptr) return false;
  WIN32_FIND_DATAW data;
  if (!win32::NextFile(win32::ToHandle(list), &data)) return false;
  win32::CopyOut(name, capacity, data.cFileName);
  return true;
}

void CloseFileList(FileList list) {
  if (list != nullptr) ::FindClose(win32::ToHandle(list));
}

}  // namespace plat
