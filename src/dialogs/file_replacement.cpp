#include "dialogs/file_replacement.h"

#include "text/decimal.h"

namespace linkvane::chooser {

namespace {

// ERROR_UNABLE_TO_MOVE_REPLACEMENT_2: the old file was renamed to the backup, the new one not
// moved in.
constexpr std::int32_t kErrorOldFileMovedAside = 1177;

// Deletes a working file that may or may not be there; a failure only leaves it behind.
void Forget(Platform& platform, const std::u16string& path) {
  ContinueOnError([&] { platform.RemoveFile(path); });
}

bool Renamed(Platform& platform, const std::u16string& from, const std::u16string& to) {
  return !ContinueOnError([&] { platform.RenameFile(from, to); });
}

}  // namespace

Replacement ReplaceSafely(Platform& platform, const std::u16string& path, std::string_view bytes) {
  // Beside the file, so that each step is a rename on one volume; the process id keeps two runs
  // apart.
  const std::u16string run = u"." + DecimalText(platform.CurrentProcessId());
  const std::u16string temporary = path + run + u".tmp";
  const std::u16string backup = path + run + u".bak";
  bool replacing = false;
  Replacement result;
  result.failure = ContinueOnError([&] {
    platform.WriteNewFile(temporary, bytes);
    if (!platform.FileExists(path)) return platform.RenameFile(temporary, path);
    // A backup left by an earlier run must never be taken for this run's old file.
    if (platform.FileExists(backup)) platform.RemoveFile(backup);
    replacing = true;
    platform.ReplaceWithBackup(path, temporary, backup);
  });
  // The old file is in its place: untouched, or put back from the backup.
  const bool old_in_place =
      result.failure &&
      (!replacing ||
       (result.failure->Number() != kErrorOldFileMovedAside && platform.FileExists(path)) ||
       Renamed(platform, backup, path));
  if (!result.failure) {
    Forget(platform, backup);
  } else if (old_in_place) {
    Forget(platform, temporary);
  } else if (Renamed(platform, temporary, path)) {
    Forget(platform, backup);  // the new file is in after all
    result.failure.reset();
  } else {
    result.old_file_at = backup;
  }
  return result;
}

}  // namespace linkvane::chooser
