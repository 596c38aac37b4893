// Cookie Information: the records of one cookie file as rows (domain, name, value, whether it
// is secure, the whole record, and the file's name), the last record on top. Shown modal,
// owned by the window that asks for it.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "win/controls.h"
#include "win/handle.h"
#include "win/ids.h"
#include "win/listview.h"
#include "win/seams.h"

namespace glenvask {

// The list's columns, in order.
enum CookieColumn : size_t {
  kCookieColDomain = 0,
  kCookieColName,
  kCookieColValue,
  kCookieColSecure,
  kCookieColSource,
  kCookieColParent,
  kCookieColumnCount
};

class CookieViewWindow : public Dialog {
 public:
  // Shows the records of the cookie file, modal over the owner; returns when it closes.
  int showFile(std::string_view path, HWND owner);
  // The file the window shows (or last showed).
  const std::string& file() const { return file_; }
  // The whole text read from the file; "" for a missing or empty file.
  const std::string& fileText() const { return text_; }
  bool build(HWND owner) override;

  void cmdOK_Click() { dismiss(); }

  ListView Lst_Cook;
  Button cmdOK;

 protected:
  const wchar_t* className() const override { return ids::kCookiesClass; }
  bool onCreate() override;
  void onCommand(int id, int code, HWND ctl) override;
  void onDestroy() override;
  void onSize(int width, int height, bool maximized) override;

 private:
  void readFile();

  std::string file_;
  std::string text_;
  ImageListHandle images_;
};

// The one cookie viewer.
CookieViewWindow& frmCookies();

}  // namespace glenvask
