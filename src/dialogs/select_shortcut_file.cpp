#include "dialogs/Fn_RWFileDlg.h"
#include "product/title.h"

namespace linkvane::Fn_RWFileDlg {

std::int32_t SelectShortcutFile(Platform& platform, std::u16string& argument) {
  static constexpr char16_t kFilter[] =
      u"shortcut files\0*.url;*.desktop;*.webloc\0all files\0*.*\0";
  FileDialogRecord record{u"", platform.ExecutableDirectory(), u""};
  // sizeof counts the literal's own final NUL, which is the list's closing NUL.
  const std::u16string filter(kFilter, sizeof(kFilter) / sizeof(kFilter[0]));
  const std::int32_t result = ShowFileDialog(platform, 0, record, 0, product::kTitle, filter, 0);
  argument = record.FileName;
  return result;
}

}  // namespace linkvane::Fn_RWFileDlg
