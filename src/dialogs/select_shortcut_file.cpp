#include "dialogs/Fn_RWFileDlg.h"
#include "language/language.h"
#include "language/text_ids.h"
#include "product/title.h"

namespace linkvane::Fn_RWFileDlg {

std::int32_t SelectShortcutFile(Platform& platform, std::u16string& argument) {
  // Pairs of a name and its patterns, each ending in a NUL, and one more NUL at the end.
  const std::u16string filter = language::Text(IDS_SHORTCUT_FILES) +
                                std::u16string(u"\0*.url;*.desktop;*.webloc\0", 26) +
                                language::Text(IDS_ALL_FILES) + std::u16string(u"\0*.*\0\0", 6);
  FileDialogRecord record{u"", platform.ExecutableDirectory(), u""};
  const std::int32_t result = ShowFileDialog(platform, 0, record, 0, product::kTitle, filter, 0);
  argument = record.FileName;
  return result;
}

}  // namespace linkvane::Fn_RWFileDlg
