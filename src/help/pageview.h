// The program's own page view, where a browser engine would show a page: the text of a page
// with its headings, paragraphs, list items and links, in a read-only rich edit. A link is
// followed inside the view, and the view keeps Back and Forward. It never starts anything:
//   - a web address (http, https, ftp) shows the page's copy in the URL cache (the view is
//     offline), or a line saying the page is not there;
//   - a local .htm, .html or .txt file (a path or a file: address) shows that file;
//   - any other address (a program, a script, another scheme) shows as its text.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/webpage.h"
#include "win/controls.h"

namespace glenvask {

class Window;

inline constexpr const char* kBlankPage = "about:blank";
inline constexpr const char* kNotOfflineText = "This page is not available offline.";
inline constexpr const char* kNotFoundText = "The page cannot be found.";

// What the view shows for an address (see above).
WebPage loadPage(std::string_view address);

class PageView : public Control {
 public:
  // Makes the control as a child of the window, under the name given; it shows a blank page.
  bool create(Window& parent, const char* name, int id, int x, int y, int w, int h);

  // Shows the address and makes it the newest page of the history (pages after the one shown
  // are dropped).
  void navigate(std::string_view address);
  // Shows a page fetched elsewhere under its address, as the newest page of the history (Back
  // and Forward to it read the address again, as navigate does).
  void showHtml(std::string_view address, std::string_view html);
  // Reads the page shown again.
  void refresh();
  // One page back or forward in the history; false, and nothing changes, at its end.
  bool goBack();
  bool goForward();
  bool canGoBack() const { return pos_ > 0; }
  bool canGoForward() const { return pos_ + 1 < history_.size(); }

  // The address shown; "" before the first navigation.
  std::string address() const;
  const WebPage& page() const { return page_; }
  // The text the control shows, lines ended by "\n".
  std::string shownText() const;
  // The links of the page shown, in order, as the addresses they lead to.
  size_t linkCount() const { return links_.size(); }
  std::string linkAddress(size_t i) const;
  // Follows a link as a click on it does. Out of range, or a link to a part of the same page:
  // nothing.
  void followLink(size_t i);

  // Told after every page shown.
  std::function<void()> onNavigated;

  bool onNotify(NMHDR* hdr, LRESULT& result) override;

 private:
  void pushHistory(std::string_view address);
  void show();
  void render();

  struct Link {
    LONG start = 0, end = 0;  // character positions in the control
    std::string target;
  };
  std::vector<std::string> history_;
  size_t pos_ = 0;
  WebPage page_;
  std::vector<Link> links_;
};

}  // namespace glenvask
