// Over the prefix as it was made (no seeded values), no reference scanner calls a value
// missing: command lines, resource references, path lists and type library indexes that a
// plain existence test would list are all left alone; the one file listed is truly missing.
#include <gtest/gtest.h>

#include "support/scripted.h"
#include "tools/frmOrphanedActivex.h"
#include "tools/frmOrphanedAppPath.h"
#include "tools/frmOrphanedDll.h"
#include "tools/frmOrphanedFile.h"
#include "tools/frmOrphanedHelp.h"

namespace glenvask {
namespace {

TEST(FreshPrefix, NoScannerListsAMissingReference) {
  InvalidFileWindow& files = frmInvalidFile();
  ASSERT_TRUE(files.open());
  files.Timer1_Timer();
  EXPECT_GT(files.judgedValues(), 1000u);  // both roots walked
  // The one file a new prefix names and lacks: the General MIDI sound set.
  std::vector<std::string> listed;
  for (size_t i = 0; i < files.lstvInvalid.rowCount(); ++i)
    if (files.lstvInvalid.rowText(i, 0).rfind("HKEY_CURRENT_USER:Software\\GlenvaskTests", 0))
      listed.push_back(files.lstvInvalid.rowText(i, 0) + files.lstvInvalid.rowText(i, 1) + "=" +
                       files.lstvInvalid.rowText(i, 2));
  EXPECT_EQ(listed, std::vector<std::string>{"HKEY_LOCAL_MACHINE:Software\\Microsoft\\DirectMusic\\"
                                             "GMFilePath=C:\\windows\\system32\\drivers\\gm.dls"});
  EXPECT_EQ(GetFileAttributesW(L"C:\\windows\\system32\\drivers\\gm.dls"), INVALID_FILE_ATTRIBUTES);
  files.cmdClose.click();

  ReferenceScanner* scanners[] = {&frmOrphanedDLL(), &frmInvalidAppPath(), &frmInvalidHelp(),
                                  &frmInvalidActivex()};
  for (ReferenceScanner* s : scanners) {
    ASSERT_TRUE(s->open());
    s->Timer1_Timer();
    for (size_t i = 0; i < s->list().rowCount(); ++i)
      EXPECT_EQ(s->list().row(i).image, ReferenceScanner::kIconPresent)
          << s->text() << ": " << s->list().rowText(i, 0) << " " << s->list().rowText(i, 1);
    EXPECT_NE(s->lblStatus.text(), "...");
    s->cmdClose.click();
    EXPECT_FALSE(s->isOpen());
  }
}

}  // namespace
}  // namespace glenvask
