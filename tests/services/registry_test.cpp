#include "services/registry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/scripted.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

using namespace std::literals;
using namespace test;
using Names = std::vector<std::string>;

KeyHandle openKey(const std::string& subkey, REGSAM access = KEY_READ) {
  KeyHandle k;
  RegOpenKeyExW(HKEY_CURRENT_USER, wide(subkey).c_str(), 0, access, k.put());
  return k;
}

// The bytes of a wide text, with as many terminating nulls as the view holds.
std::string bytes(std::wstring_view text) {
  return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// Writes raw data with the platform, to prepare values the helpers must cope with.
void rawSet(const std::string& subkey, const std::wstring& name, std::string_view data,
            DWORD type = REG_SZ) {
  ASSERT_EQ(RegSetValueExW(makeKey(subkey).get(), name.c_str(), 0, type,
                           reinterpret_cast<const BYTE*>(data.data()), DWORD(data.size())),
            ERROR_SUCCESS);
}
void rawSetText(const std::string& subkey, const std::wstring& name, const std::wstring& text) {
  rawSet(subkey, name, bytes(text + L'\0'));
}

TEST(Registry, WritesStringsWithTheirNullAndReadsStringsAndOtherData) {
  ScratchKey key;
  const std::string& sk = key.subkey();
  const std::string command = "\"C:\\Prog \xC3\xA9\\glenvask.exe\" -S";
  SetRegString(key.root(), sk, "Glenvask", command);
  SetRegString(key.root(), sk, "", "");
  DWORD written = 0;
  std::vector<BYTE> raw;
  ASSERT_TRUE(readRegValue(openKey(sk).get(), L"Glenvask", written, raw));
  EXPECT_EQ(written, DWORD(REG_SZ));
  EXPECT_EQ(std::string(raw.begin(), raw.end()), bytes(wide(command) + L'\0'));
  EXPECT_EQ(valueNames(sk), (Names{"", "Glenvask"}));  // an empty value is still there
  SetRegString(key.root(), sk + "\\Missing", "v", "x");  // only into existing keys
  EXPECT_FALSE(keyExists(sk + "\\Missing"));

  std::wstring long300 = L"C:\\" + std::wstring(297, L'p');
  std::tuple<std::wstring, DWORD, std::string, std::string> cases[] = {  // name, type, data, text
      // A long string is read whole: a path longer than a short buffer is still a path.
      {L"long", REG_SZ, bytes(long300 + L'\0'), utf8(long300)},
      {L"embedded", REG_SZ, bytes(L"x\0y\0"sv), "x"},
      {L"", REG_SZ, bytes(L"the default\0"sv), "the default"},
      {L"unicode", REG_SZ, bytes(L"caf\u00e9 \u20ac\0"sv), "caf\xC3\xA9 \xE2\x82\xAC"},
      {L"expand", REG_EXPAND_SZ, bytes(L"%SystemRoot%\\x\0"sv), "%SystemRoot%\\x"},
      {L"multi", REG_MULTI_SZ, bytes(L"one\0two\0\0"sv), "one"},
      {L"unterminated", REG_SZ, bytes(L"abc"sv), "abc"},
      {L"odd", REG_SZ, "a\0b"s, "a"}, {L"empty", REG_SZ, "", ""},  // odd: half a character
      // Data of other types: its bytes up to the first zero byte.
      {L"count", REG_DWORD, "\x05\0\0\0"s, "\x05"}, {L"zero", REG_DWORD, "\0\0\0\0"s, ""},
      {L"big", REG_DWORD, "\x34\x12\0\0"s, "\x34\x12"}, {L"binary", REG_BINARY, "AB\0C"s, "AB"},
  };
  for (const auto& [name, type, data, text] : cases) rawSet(sk, name, data, type);
  for (const auto& [name, type, data, text] : cases)
    EXPECT_EQ(GetRegString(key.root(), sk, utf8(name)), text) << utf8(name);
  EXPECT_EQ(GetRegString(key.root(), sk, "missing"), "");

  // The numeric root, a trailing backslash and an open key handle name the same key.
  EXPECT_EQ(GetRegString(kHkeyCurrentUser, sk + "\\", "unicode"), "caf\xC3\xA9 \xE2\x82\xAC");
  EXPECT_EQ(GetRegString(openKey(sk).get(), "", "embedded"), "x");
  EXPECT_EQ(GetRegString(kHkeyCurrentUser, sk + "\\nokey", "long"), "");
  EXPECT_EQ(GetRegString(0x80000009u, sk, "long"), "");  // not a root at all
}

TEST(Registry, ListsAndDeletesValueNamesAsStored) {
  ScratchKey key;
  const std::string& sk = key.subkey();
  EXPECT_EQ(GetRegValueNames(key.root(), sk), "");  // no values: no separator
  EXPECT_EQ(GetRegValueNames(key.root(), sk + "\\missing"), "");
  rawSetText(sk, L"a", L"1");
  rawSetText(sk, L"b", L"2");
  EXPECT_EQ(GetRegValueNames(key.root(), sk), "a\0b"s);

  // A value with long data in the middle does not end the list, and names keep their blanks.
  rawSetText(sk, L"long data", std::wstring(2000, L'z'));
  rawSet(sk, L"blob", std::string(100000, '\7'), REG_BINARY);
  std::wstring longName(300, L'n');
  for (const std::wstring& n : {L"  spaced  "s, L"\u00e9t\u00e9"s, longName, L"last"s})
    rawSetText(sk, n, L"x");
  // One name, a list with a missing name in it, a name with its blanks, a missing key.
  DeleteRegValues(key.root(), "b", sk);
  DeleteRegValues(key.root(), "a\0missing\0last"s, sk);
  DeleteRegValues(key.root(), "  spaced  ", sk);
  DeleteRegValues(key.root(), "blob", sk + "\\missing");
  Names expected = {"blob", "long data", "\xC3\xA9t\xC3\xA9", utf8(longName)};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(valueNames(sk), expected);
  // Every name listed can be deleted by the list itself.
  DeleteRegValues(key.root(), GetRegValueNames(key.root(), sk), sk);
  EXPECT_EQ(GetRegValueNames(key.root(), sk), "");
}

TEST(Registry, DeletesKeysAndSubkeyTreesButNeverAWholeRootOrHandle) {
  ScratchKey key;
  const std::string top = key.subkey() + "\\Top";
  for (const char* p : {"\\A\\A1\\A11", "\\A\\A2", "\\B", "\\C\\C1"}) makeKey(top + p);
  rawSetText(top, L"kept", L"value");
  rawSetText(top + "\\A\\A1", L"gone", L"value");

  DeleteRegKey(key.root(), top);  // it has subkeys: it stays
  EXPECT_TRUE(keyExists(top + "\\A\\A1\\A11"));
  DeleteRegKey(key.root(), top + "\\B");  // a leaf goes
  EXPECT_TRUE(!keyExists(top + "\\B") && keyExists(top + "\\C"));

  EXPECT_TRUE(DeleteRegKeyTree(kHkeyCurrentUser, top + "\\"));
  for (const char* p : {"\\A", "\\A\\A1", "\\A\\A2", "\\C"}) EXPECT_FALSE(keyExists(top + p)) << p;
  EXPECT_EQ(GetRegString(key.root(), top, "kept"), "value");  // the key and its values stay
  EXPECT_TRUE(DeleteRegKeyTree(key.root(), top));              // nothing left below: still true
  DeleteRegKey(key.root(), top);
  EXPECT_FALSE(keyExists(top));
  EXPECT_FALSE(DeleteRegKeyTree(key.root(), top));  // cannot be opened

  makeKey(key.subkey() + "\\Child");
  KeyHandle open = openKey(key.subkey(), KEY_ALL_ACCESS);
  ASSERT_TRUE(open);
  EXPECT_FALSE(DeleteRegKeyTree(open.get(), "") || DeleteRegKeyTree(open.get(), "\\"));
  DeleteRegKey(open.get(), "");
  EXPECT_TRUE(keyExists(key.subkey() + "\\Child") && keyExists("Software"));
  // Through the handle with a path below it, the tree goes.
  EXPECT_TRUE(DeleteRegKeyTree(open.get(), "Child"));
  DeleteRegKey(open.get(), "Child");
  EXPECT_FALSE(keyExists(key.subkey() + "\\Child"));
}

}  // namespace
}  // namespace glenvask
