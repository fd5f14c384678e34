// Files by device path, and text in the device's ANSI code page.
#pragma once

#include "platform/base.h"

namespace plat {

// Reads at most `capacity` bytes of an existing file. False when it cannot be opened.
bool ReadFileBytes(const WChar* path, uint8_t* buffer, size_t capacity, size_t* bytesRead);
// ReadFileBytes for a caller that must tell a file that is not there (Missing) from one that is
// there but cannot be opened or read (Unreadable: access denied, held open by another program
// without sharing, a folder of that name, a read that failed).
enum class FileReadResult : uint8_t { Read, Missing, Unreadable };
FileReadResult TryReadFileBytes(const WChar* path, uint8_t* buffer, size_t capacity, size_t* bytesRead);
// Creates or replaces the file with exactly these bytes.
bool WriteFileBytes(const WChar* path, const uint8_t* data, size_t size);
// Replaces `to` by `from` in one step (neither a half-written nor a missing `to` can be seen).
bool MoveFileOver(const WChar* from, const WChar* to);
bool RemoveFile(const WChar* path);
bool FileExists(const WChar* path);
// Lists the files matching a pattern such as "\Program Files\Tarvin\*.TVL" (wildcards in the last
// part only). Each call yields a file name without its folder; nullptr when nothing matches.
FileList OpenFileList(const WChar* pattern, WChar* name, size_t capacity);
bool NextListedFile(FileList list, WChar* name, size_t capacity);
void CloseFileList(FileList list);

// Zero-terminated ANSI-code-page bytes to UTF-16; false when the result and its terminator do not
// fit in `capacity` units (the buffer then holds an empty string).
bool AnsiToWide(const char* source, WChar* buffer, size_t capacity);
// UTF-16 to the ANSI code page, unmappable characters as the default character. False when the
// result and its terminator do not fit in `capacity` bytes (the buffer then holds an empty string).
bool WideToAnsi(const WChar* source, char* buffer, size_t capacity);

}  // namespace plat
