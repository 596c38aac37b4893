// Internet Explorer Favorites: every ".url" file below the user's Favorites folder with its
// name, folder and address. An address opens in the browser (web addresses only), a file's
// properties show, and favorites are deleted to the Recycle Bin, all or the checked ones;
// those that could not be deleted stay listed in red.
#pragma once

#include <windows.h>

#include <string>

#include "win/controls.h"
#include "win/ids.h"
#include "win/listview.h"
#include "win/toolwindow.h"

namespace glenvask {

inline constexpr const char* kFavoritesShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\";
inline constexpr const char* kFavoritesRedText = "The files marked in red could not be deleted.";

// The list's columns, in order.
enum FavoritesColumn : size_t { kFavColName = 0, kFavColFolder, kFavColUrl, kFavColumnCount };

class FavoritesWindow : public ToolWindowOf<FavoritesWindow> {
 public:
  // Lists the favorites of the folder (ending in a backslash) and of its subfolders, links
  // to folders not entered.
  void FindURL(const std::string& folder);

  void Form_Load();
  void lstvFavorites_DblClick();
  void lstvFavorites_ColumnClick(size_t column) { lstvFavorites.sortByColumn(column); }
  void mnuDeleteAll_Click() { deleteFavorites(false); }
  void mnuDeleteSelected_Click() { deleteFavorites(true); }
  void mnuProperties_Click();
  void mnuSelectAll_Click() { setAllChecked(lstvFavorites, true); }
  void mnuDeselectAll_Click() { setAllChecked(lstvFavorites, false); }
  void mnuExit_Click() { close(); }
  void cmdSelectAll_Click() { mnuSelectAll_Click(); }
  void cmdDeselectAll_Click() { mnuDeselectAll_Click(); }
  void cmdDeleteSelected_Click() { mnuDeleteSelected_Click(); }
  void cmdExit_Click() { mnuExit_Click(); }

  // The file a row stands for.
  const std::string& rowFile(size_t i) const { return lstvFavorites.rowKey(i); }
  // The Favorites folder with its trailing backslash; "" when there is none.
  const std::string& favoritesRoot() const { return root_; }

  ListView lstvFavorites;
  Label Label1, lblTotalFiles;
  Button cmdSelectAll, cmdDeselectAll, cmdDeleteSelected, cmdExit;

 protected:
  const wchar_t* className() const override { return ids::kFavoritesClass; }
  bool build(HWND owner) override;
  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;
  void onDestroy() override;
  void onSize(int width, int height, bool maximized) override;

 private:
  void findIn(const std::wstring& folder, Loop& loop);
  void addFavorite(const std::wstring& folder, const WIN32_FIND_DATAW& found);
  void deleteFavorites(bool checkedOnly);

  std::string root_;
};

// The one favorites window.
FavoritesWindow& frmFavorites();

}  // namespace glenvask
