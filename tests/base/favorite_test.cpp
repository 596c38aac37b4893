#include "base/favorite.h"

#include <gtest/gtest.h>

namespace glenvask {
namespace {

TEST(Favorite, AddressAndNameOfTheFile) {
  std::pair<std::string, std::string> addresses[] = {
      {"[InternetShortcut]\r\nURL=http://a.test/\r\n", "http://a.test/"},
      {"[DEFAULT]\r\nBASEURL=http://base.test/\r\n[InternetShortcut]\r\nURL=http://a.test/x\r\n",
       "http://a.test/x"},
      {"[DEFAULT]\nBASEURL=http://base.test/\n", "http://base.test/"},  // no section: line 2
      {"[Other]\r\nURL=http://o.test/\r\n", "http://o.test/"},          // line 2, URL= cut
      {"one line only", "one line only"},
      {"x\nhttp://a.test/?URL=1", "http://a.test/?1"},
      {"[InternetShortcut]\r\nurl = http://a.test/\r\n", "url = http://a.test/"},
      {std::string("\0\x01\x02\nU\x05RL\0", 10), "URL"},
      {"", ""},
  };
  for (const auto& [text, address] : addresses) EXPECT_EQ(favoriteAddress(text), address) << text;
  std::pair<const char*, const char*> names[] = {
      {"News.url", "News"}, {"Shop.URL", "Shop"}, {"a.url.url", "a"}, {"x.Url.txt", "x.txt"}};
  for (const auto& [file, name] : names) EXPECT_EQ(favoriteName(file), name) << file;
  EXPECT_TRUE(isFavoriteFileName("a.URL"));
  EXPECT_FALSE(isFavoriteFileName("a.urlx") || isFavoriteFileName("url"));
}

}  // namespace
}  // namespace glenvask
