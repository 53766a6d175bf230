#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

/// Replaces the file at `path` with `bytes` so that a reader sees either the
/// old or the new content, never a mixture: the bytes go to a temporary file
/// in the same folder, which is flushed to disk and then renamed over the
/// target. An existing target keeps its permission bits; a symbolic link is
/// followed and the file it names is replaced. On failure the temporary file
/// is removed, the target is untouched, `error` (when given) gets a German
/// description, and the result is false.
bool SaveFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                        std::string* error);

/// Reads a whole file. On failure returns false and fills `error` in German.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string* error);

/// Copies the file at `path` to "<path>.bak" (replacing an older copy), so that
/// a file about to be replaced by an empty one is never simply gone. Returns
/// the copy's file name without folder, or an empty string when no copy could
/// be made.
std::string KeepBackupCopy(const std::string& path);
