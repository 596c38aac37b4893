// Temporary Internet Files: the entries of the URL cache, filtered by their type (all,
// cookies, history, pages), each with a check box; an entry is shown in the page view, and
// all listed entries or the checked ones are deleted from the cache.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "help/pageview.h"
#include "services/urlcache.h"
#include "win/controls.h"
#include "win/ids.h"
#include "win/listview.h"
#include "win/toolwindow.h"

namespace glenvask {

// The entry type masks of the filters.
inline constexpr DWORD kCacheMaskAll = 0x1;
inline constexpr DWORD kCacheMaskCookies = 0x100001;
inline constexpr DWORD kCacheMaskHistory = 0x200001;
inline constexpr DWORD kCacheMaskUrl = 0x41;

// Whether an entry of that type is listed under the filter of the mask. "All" lists every
// entry and "Cookies" every entry with the cookie bit (the platform may set that bit alone);
// the others need every bit of their mask.
bool passesCacheFilter(DWORD type, DWORD mask);

// The list's columns, in order.
enum CacheColumn : size_t {
  kCacheColSource = 0,
  kCacheColLocalName,
  kCacheColLocalPath,
  kCacheColSize,
  kCacheColHitRate,
  kCacheColLastAccessed,
  kCacheColLastModified,
  kCacheColExpires,
  kCacheColumnCount
};

// The cells of one cache entry's row.
ListRow cacheRow(const UrlCacheEntry& entry);
// The source address a row stands for, exactly as the cache holds it.
std::wstring cacheRowSource(const ListRow& row);

class IECacheWindow : public ToolWindowOf<IECacheWindow> {
 public:
  // Fills the list with the entries that pass the mask's filter.
  void ListCacheEntries(DWORD& mask);
  static std::string FormatCacheTime(const FILETIME& time);

  void Form_Load();
  // The filters, as a click on their option buttons.
  void optAll_Click() { pick(0); }
  void optCookies_Click() { pick(1); }
  void optHistory_Click() { pick(2); }
  void optURL_Click() { pick(3); }
  void cmdRefresh_Click();
  void cmdView_Click();
  void lstvCache_DblClick() { cmdView_Click(); }
  void cmdClear_Click();
  void cmdDelete_Click();
  void cmdSelectAll_Click() { setAllChecked(lstvCache, true); }
  void cmdDeselectAll_Click() { setAllChecked(lstvCache, false); }
  void cmdClose_Click() { close(); }
  void lstvCache_ColumnClick(size_t column) { lstvCache.sortByColumn(column); }
  void mnuOptions_DeleteAll_Click() { cmdClear_Click(); }
  void mnuOptions_DeleteSelected_Click() { cmdDelete_Click(); }
  void mnuOptions_SelectAll_Click() { cmdSelectAll_Click(); }
  void mnuOptions_DeselectAll_Click() { cmdDeselectAll_Click(); }

  // Whether Delete all is running (the window stays live meanwhile).
  bool deletingAll() const { return deletingAll_; }

  ListView lstvCache;
  PageView wbCache;
  Label lblDisplaying, lblStatus;
  Button cmdSelectAll, cmdDeselectAll, cmdView, cmdRefresh, cmdClear, cmdDelete, cmdClose;
  OptionGroup display;  // optAll, optCookies, optHistory, optURL

 protected:
  const wchar_t* className() const override { return ids::kIeCacheClass; }
  bool build(HWND owner) override;
  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;
  void onDestroy() override;
  void onSize(int width, int height, bool maximized) override;

 private:
  void listWith(DWORD mask);
  void pick(int option);
  void showCount();
  void setDeleteAllEnabled(bool on);

  bool deletingAll_ = false;
};

// The one cache viewer.
IECacheWindow& frmIECache();

}  // namespace glenvask
