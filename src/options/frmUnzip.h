// The zip contents viewer ("Zip Information"): the file entries of one backup archive, each
// with the shell's small icon of its type, its size, date, packed size and the folder it came
// from. The Backups page opens it modal for the selected archive. An archive that cannot be
// read lists nothing; one that lacks entries it held (damaged, or cut short in an entry) lists
// what it can and says so in the status line. The viewer never writes a file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/datetime.h"
#include "win/controls.h"
#include "win/handle.h"
#include "win/ids.h"
#include "win/seams.h"

namespace glenvask {

class cUnZip;

// The viewer's columns, in order.
enum ZipViewColumn : size_t {
  kZipColFilename = 0,
  kZipColSize,
  kZipColDate,
  kZipColPacked,
  kZipColFolder,
};

// Follows the count of the status line when the archive lacks entries it held.
inline constexpr const char* kDamagedNote = " - the archive is damaged or incomplete";

// "h:mm:ss tt" without its seconds ("h:mm tt"): the short time of the regional settings.
std::string shortTimePicture(std::string_view timePicture);

class ZipViewWindow : public Dialog {
 public:
  ZipViewWindow();
  ~ZipViewWindow() override;

  // Set before showing: the full path of the archive to list.
  std::string ZipFile;

  bool build(HWND owner) override;

  void Form_Load();
  // Lists the archive's file entries. The list asks for the texts of the rows it shows, so an
  // archive of many entries lists as fast as its directory reads.
  void ListZipContents(const std::string& path);
  // The image of the file's type in the list's image list: one per extension (upper case,
  // with its dot), asked of the shell by the extension alone; the default image (0) for a
  // name without one and for programs.
  int GetExtensionIcon(std::string_view fileName);
  // Sorts by the column, each click toggling between ascending and descending.
  void lvwZip_ColumnClick(size_t column);

  // The rows in the order shown: a cell's text, the row's image and key ("File" and the
  // entry's index).
  size_t rowCount() const { return order_.size(); }
  std::string rowText(size_t row, size_t column) const;
  int rowImage(size_t row);
  std::string rowKey(size_t row) const;

  Control lvwZip;
  Label lblStatus;

 protected:
  const wchar_t* className() const override { return ids::kZipViewClass; }
  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;
  LRESULT onNotify(NMHDR* hdr) override;
  void onDestroy() override;
  // The list above the status line; maximized, the columns fit their texts.
  void onSize(int width, int height, bool maximized) override;

 private:
  std::string cellText(std::int64_t entry, size_t column) const;

  std::unique_ptr<cUnZip> unzip_;       // the listed archive, while the window is open
  std::vector<std::int64_t> order_;     // the entry (1-based) of each row
  bool ascending_ = true;
  std::string drive_;                   // "C:\\"
  RegionalFormat format_;
  std::string timePicture_;
  std::wstring textBuf_;
  ImageListHandle ilsIcons16;
  std::unordered_map<std::string, int> icons_;    // upper-case extension -> image
  std::unordered_map<std::string, int> written_;  // extension as written -> image
};

// The one viewer of the program.
inline ZipViewWindow& frmUnzip() { return soleInstance<ZipViewWindow>(); }

}  // namespace glenvask
