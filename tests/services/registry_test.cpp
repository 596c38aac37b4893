// The registry helpers on the real registry of the sandbox, each test in a scratch key.
#include "services/registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/text.h"
#include "support/scripted.h"
#include "win/handle.h"
#include "win/unicode.h"

namespace glenvask {
namespace {

using test::ScratchKey;

// Writes raw data with the platform, to prepare values the helpers must cope with.
void rawSet(const std::string& subkey, const std::wstring& name, DWORD type, const void* data,
            DWORD bytes) {
  KeyHandle k;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, wide(subkey).c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, k.put(), nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(k.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes),
            ERROR_SUCCESS);
}

void rawSetText(const std::string& subkey, const std::wstring& name, const std::wstring& text) {
  rawSet(subkey, name, REG_SZ, text.c_str(), DWORD((text.size() + 1) * sizeof(wchar_t)));
}

bool keyExists(const std::string& subkey) {
  KeyHandle k;
  return RegOpenKeyExW(HKEY_CURRENT_USER, wide(subkey).c_str(), 0, KEY_READ, k.put()) ==
         ERROR_SUCCESS;
}

void makeKey(const std::string& subkey) {
  KeyHandle k;
  RegCreateKeyExW(HKEY_CURRENT_USER, wide(subkey).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                  nullptr, k.put(), nullptr);
}

// The names listed, sorted (the platform decides the order of enumeration).
std::vector<std::string> names(RegRoot root, const std::string& subkey) {
  std::string list = GetRegValueNames(root, subkey);
  std::vector<std::string> v = list.empty() ? std::vector<std::string>{} : split(list, '\0');
  std::sort(v.begin(), v.end());
  return v;
}
using Names = std::vector<std::string>;

TEST(Registry, ReadsStringsAndOtherData) {
  ScratchKey key;
  const std::string& sk = key.subkey();
  std::wstring long300(300, L'p');
  long300.replace(0, 3, L"C:\\");
  rawSetText(sk, L"long", long300);
  rawSet(sk, L"embedded", REG_SZ, L"x\0y", 4 * sizeof(wchar_t));
  rawSetText(sk, L"", L"the default");
  rawSetText(sk, L"unicode", L"caf\u00e9 \u20ac");
  std::wstring expand = L"%SystemRoot%\\x";
  rawSet(sk, L"expand", REG_EXPAND_SZ, expand.c_str(), DWORD((expand.size() + 1) * 2));
  rawSet(sk, L"multi", REG_MULTI_SZ, L"one\0two\0", 9 * sizeof(wchar_t));
  rawSet(sk, L"unterminated", REG_SZ, L"abc", 3 * sizeof(wchar_t));
  rawSet(sk, L"odd", REG_SZ, "a\0b", 3);  // half a character at the end
  DWORD five = 5, zero = 0, big = 0x1234;
  rawSet(sk, L"count", REG_DWORD, &five, 4);
  rawSet(sk, L"zero", REG_DWORD, &zero, 4);
  rawSet(sk, L"big", REG_DWORD, &big, 4);
  rawSet(sk, L"binary", REG_BINARY, "AB\0C", 4);
  rawSet(sk, L"empty", REG_SZ, L"", 0);

  struct Case {
    const char* name;
    std::string text;
  } cases[] = {
      // A long string is read whole: a path longer than a short buffer is still a path.
      {"long", utf8(long300)},
      {"embedded", "x"},
      {"", "the default"},
      {"unicode", "caf\xC3\xA9 \xE2\x82\xAC"},
      {"expand", "%SystemRoot%\\x"},
      {"multi", "one"},
      {"unterminated", "abc"},
      {"odd", "a"},
      // Data of other types: its bytes up to the first zero byte.
      {"count", "\x05"},
      {"zero", ""},
      {"big", "\x34\x12"},
      {"binary", "AB"},
      {"empty", ""},
      {"missing", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(GetRegString(key.root(), sk, c.name), c.text) << c.name;

  // The numeric root, a trailing backslash and an open key handle name the same key.
  EXPECT_EQ(GetRegString(kHkeyCurrentUser, sk + "\\", "unicode"), "caf\xC3\xA9 \xE2\x82\xAC");
  KeyHandle open;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, wide(sk).c_str(), 0, KEY_READ, open.put()),
            ERROR_SUCCESS);
  EXPECT_EQ(GetRegString(open.get(), "", "embedded"), "x");
  EXPECT_EQ(GetRegString(kHkeyCurrentUser, sk + "\\nokey", "long"), "");
  EXPECT_EQ(GetRegString(0x80000009u, sk, "long"), "");  // not a root at all
}

TEST(Registry, ListsEveryValueNameAsStored) {
  ScratchKey key;
  const std::string& sk = key.subkey();
  EXPECT_EQ(GetRegValueNames(key.root(), sk), "");  // no values: no separator
  EXPECT_EQ(GetRegValueNames(key.root(), sk + "\\missing"), "");

  rawSetText(sk, L"a", L"1");
  EXPECT_EQ(GetRegValueNames(key.root(), sk), "a");
  rawSetText(sk, L"b", L"2");
  EXPECT_EQ(GetRegValueNames(key.root(), sk), std::string("a\0b", 3));

  // A value with long data in the middle does not end the list, and names keep their blanks.
  std::wstring longData(2000, L'z');
  rawSetText(sk, L"long data", longData);
  std::vector<BYTE> blob(100000, 7);
  rawSet(sk, L"blob", REG_BINARY, blob.data(), DWORD(blob.size()));
  rawSetText(sk, L"  spaced  ", L"3");
  rawSetText(sk, L"\u00e9t\u00e9", L"4");
  std::wstring longName(300, L'n');
  rawSetText(sk, longName, L"5");
  rawSetText(sk, L"last", L"6");
  std::vector<std::string> expected = {"a", "b", "long data", "blob", "  spaced  ",
                                       "\xC3\xA9t\xC3\xA9", utf8(longName), "last"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names(key.root(), sk), expected);

  // Every name listed can be deleted by the list itself.
  DeleteRegValues(key.root(), GetRegValueNames(key.root(), sk), sk);
  EXPECT_EQ(GetRegValueNames(key.root(), sk), "");
}

TEST(Registry, DeletesOneValueOrAList) {
  ScratchKey key;
  const std::string& sk = key.subkey();
  for (const wchar_t* n : {L"a", L"b", L"c", L"d", L" e "}) rawSetText(sk, n, L"x");
  DeleteRegValues(key.root(), "b", sk);
  EXPECT_EQ(names(key.root(), sk), (Names{" e ", "a", "c", "d"}));
  DeleteRegValues(key.root(), std::string("a\0missing\0d", 11), sk);  // a missing one is passed
  EXPECT_EQ(names(key.root(), sk), (Names{" e ", "c"}));
  DeleteRegValues(key.root(), " e ", sk);  // the name as stored, blanks and all
  EXPECT_EQ(GetRegValueNames(key.root(), sk), "c");
  DeleteRegValues(key.root(), "c", sk + "\\missing");  // a missing key: nothing happens
  EXPECT_EQ(GetRegValueNames(key.root(), sk), "c");
}

TEST(Registry, DeletesKeysAndSubkeyTrees) {
  ScratchKey key;
  const std::string top = key.subkey() + "\\Top";
  for (const char* p : {"\\A\\A1\\A11", "\\A\\A2", "\\B", "\\C\\C1"}) makeKey(top + p);
  rawSetText(top, L"kept", L"value");
  rawSetText(top + "\\A\\A1", L"gone", L"value");

  DeleteRegKey(key.root(), top);  // it has subkeys: it stays
  EXPECT_TRUE(keyExists(top + "\\A\\A1\\A11"));
  DeleteRegKey(key.root(), top + "\\B");  // a leaf goes
  EXPECT_FALSE(keyExists(top + "\\B"));
  EXPECT_TRUE(keyExists(top + "\\C"));

  EXPECT_TRUE(DeleteRegKeyTree(kHkeyCurrentUser, top + "\\"));
  EXPECT_TRUE(keyExists(top));
  for (const char* p : {"\\A", "\\A\\A1", "\\A\\A2", "\\C"}) EXPECT_FALSE(keyExists(top + p)) << p;
  EXPECT_EQ(GetRegString(key.root(), top, "kept"), "value");  // the key and its values stay
  EXPECT_TRUE(DeleteRegKeyTree(key.root(), top));              // nothing left below: still true

  DeleteRegKey(key.root(), top);
  EXPECT_FALSE(keyExists(top));
  EXPECT_FALSE(DeleteRegKeyTree(key.root(), top));  // cannot be opened
}

TEST(Registry, NeverEmptiesAWholeRootOrHandle) {
  ScratchKey key;
  makeKey(key.subkey() + "\\Child");
  KeyHandle open;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, wide(key.subkey()).c_str(), 0, KEY_ALL_ACCESS,
                          open.put()),
            ERROR_SUCCESS);
  EXPECT_FALSE(DeleteRegKeyTree(open.get(), ""));
  EXPECT_FALSE(DeleteRegKeyTree(open.get(), "\\"));
  DeleteRegKey(open.get(), "");
  EXPECT_TRUE(keyExists(key.subkey() + "\\Child"));
  EXPECT_TRUE(keyExists("Software"));
  // Through the handle with a path below it, the tree goes.
  EXPECT_TRUE(DeleteRegKeyTree(open.get(), "Child"));
  DeleteRegKey(open.get(), "Child");
  EXPECT_FALSE(keyExists(key.subkey() + "\\Child"));
}

TEST(Registry, WritesStringsWithTheirNullIntoExistingKeysOnly) {
  ScratchKey key;
  const std::string& sk = key.subkey();
  SetRegString(key.root(), sk, "Glenvask", "\"C:\\Prog \xC3\xA9\\glenvask.exe\" -S");
  EXPECT_EQ(GetRegString(key.root(), sk, "Glenvask"), "\"C:\\Prog \xC3\xA9\\glenvask.exe\" -S");

  KeyHandle k;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, wide(sk).c_str(), 0, KEY_READ, k.put()),
            ERROR_SUCCESS);
  DWORD type = 0, bytes = 0;
  ASSERT_EQ(RegQueryValueExW(k.get(), L"Glenvask", nullptr, &type, nullptr, &bytes),
            ERROR_SUCCESS);
  EXPECT_EQ(type, DWORD(REG_SZ));
  std::wstring expected = wide("\"C:\\Prog \xC3\xA9\\glenvask.exe\" -S");
  EXPECT_EQ(bytes, (expected.size() + 1) * sizeof(wchar_t));  // the terminating null is stored

  SetRegString(key.root(), sk, "", "default");
  EXPECT_EQ(GetRegString(key.root(), sk, ""), "default");
  SetRegString(key.root(), sk, "Glenvask", "");
  EXPECT_EQ(GetRegString(key.root(), sk, "Glenvask"), "");
  EXPECT_NE(GetRegValueNames(key.root(), sk).find("Glenvask"), std::string::npos);

  SetRegString(key.root(), sk + "\\Missing", "v", "x");  // nothing is created
  EXPECT_FALSE(keyExists(sk + "\\Missing"));
}

}  // namespace
}  // namespace glenvask
