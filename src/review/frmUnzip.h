// The zip contents viewer ("Zip Information"): the file entries of one backup archive, each
// with the shell's small icon of its type, its size, date, packed size and the folder it came
// from. The Backups page opens it modal for the selected archive. An archive that cannot be
// read lists nothing; the viewer never writes a file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>

#include "base/datetime.h"
#include "win/controls.h"
#include "win/handle.h"
#include "win/ids.h"
#include "win/listview.h"
#include "win/seams.h"

namespace glenvask {

// The viewer's columns, in order.
enum ZipViewColumn : size_t {
  kZipColFilename = 0,
  kZipColSize,
  kZipColDate,
  kZipColPacked,
  kZipColFolder,
};

// "h:mm:ss tt" without its seconds ("h:mm tt"): the short time of the regional settings.
std::string shortTimePicture(std::string_view timePicture);

class ZipViewWindow : public Dialog {
 public:
  // Set before showing: the full path of the archive to list.
  std::string ZipFile;

  bool build(HWND owner) override;

  void Form_Load();
  // Fills the list with the archive's file entries.
  void ListZipContents(const std::string& path);
  // The image of the file's type in the list's image list: one per extension (upper case,
  // with its dot), asked of the shell by the extension alone; the default image for a name
  // without one and for programs.
  int GetExtensionIcon(const std::string& fileName);
  // The shell's name of a file type whose image was made ("Text Document"); "" for others.
  std::string typeName(const std::string& extension) const;
  void lvwZip_ColumnClick(size_t column) { lvwZip.sortByColumn(column); }

  ListView lvwZip;
  Label lblStatus;

 protected:
  const wchar_t* className() const override { return ids::kZipViewClass; }
  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;
  void onDestroy() override;
  std::optional<LRESULT> onMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Form_Resize(int width, int height, bool maximized);

  ImageListHandle ilsIcons16;
  std::unordered_map<std::string, int> icons_;  // upper-case extension -> image
  std::map<std::string, std::string> typeNames_;
};

// The one viewer of the program.
ZipViewWindow& frmUnzip();

}  // namespace glenvask
