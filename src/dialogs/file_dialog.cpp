#include <algorithm>

#include "dialogs/Fn_RWFileDlg.h"

namespace linkvane::Fn_RWFileDlg {

std::int32_t ShowFileDialog(Platform& platform, std::int32_t save, FileDialogRecord& record,
                            std::uintptr_t owner, const std::u16string& title,
                            const std::u16string& filter, std::uint32_t flags) {
  // The file buffer takes the longest path Windows has, and must also hold the NUL that ends
  // it: a long pick never overflows it.
  if (record.FileName.size() >= kLongestPath) {
    RaiseInvalidArgument(u"The proposed file name does not fit the dialog's file buffer.");
  }
  FileDialogBlock block;
  block.owner = owner;
  block.has_filter = !filter.empty();
  block.filter = filter;
  block.file = record.FileName + std::u16string(kLongestPath - record.FileName.size(), u'\0');
  block.file_title = std::u16string(kMaxPath, u'\0');
  block.initial_dir = record.Directory + u'\0';
  block.title = title;
  block.flags = flags != 0 ? flags : (save != 0 ? kDefaultSaveFlags : kDefaultOpenFlags);
  block.has_default_ext = !record.FileTitle.empty();
  if (block.has_default_ext) block.default_ext = record.FileTitle + u'\0';

  const bool chosen = save != 0 ? platform.ShowSaveDialog(block) : platform.ShowOpenDialog(block);
  if (!chosen) {
    const std::uint32_t error = platform.DialogExtendedError();
    return error != 0 ? static_cast<std::int32_t>(error) : kDialogCancelled;
  }
  record.FileName = TrimAtNull(block.file);
  record.Directory =
      block.file.substr(0, std::min<std::size_t>(block.file_offset, block.file.size()));
  record.FileTitle = TrimAtNull(block.file_title);
  return 0;
}

std::u16string TrimAtNull(std::u16string_view text) {
  return std::u16string(text.substr(0, text.find(u'\0')));
}

}  // namespace linkvane::Fn_RWFileDlg
