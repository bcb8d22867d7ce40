#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "s/lang/SystemLanguage.h"

namespace {

// Sets the locale variables for one scope and restores them after it.
class LocaleVariables {
 public:
  LocaleVariables(const char* all, const char* messages, const char* lang) {
    set("LC_ALL", all);
    set("LC_MESSAGES", messages);
    set("LANG", lang);
  }
  ~LocaleVariables() {
    for (const auto& [name, value] : saved_) value ? setenv(name, value->c_str(), 1) : unsetenv(name);
  }
  LocaleVariables(const LocaleVariables&) = delete;
  LocaleVariables& operator=(const LocaleVariables&) = delete;

 private:
  void set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved_[count_++] = {name, old ? std::optional<std::string>(old) : std::nullopt};
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  std::pair<const char*, std::optional<std::string>> saved_[3];
  int count_ = 0;
};

TEST(SystemLanguage, TheFirstSetVariableOfLcAllLcMessagesAndLangCounts) {
  struct Case {
    const char* all;
    const char* messages;
    const char* lang;
    uint16_t id;
  };
  const Case cases[] = {
      {nullptr, nullptr, "ja_JP.UTF-8", 0x0411},
      {nullptr, "de_DE.UTF-8", "ja_JP.UTF-8", 0x0407},
      {"fr_FR.UTF-8", "de_DE.UTF-8", "ja_JP.UTF-8", 0x040C},
      {"", "", "ja_JP.UTF-8", 0x0411},  // empty counts as unset
      {nullptr, nullptr, nullptr, 0x0409},  // the C locale
      {"C", nullptr, "ja_JP.UTF-8", 0x0409},
  };
  for (const Case& c : cases) {
    const LocaleVariables variables(c.all, c.messages, c.lang);
    EXPECT_EQ(s::lang::systemLanguageId(), c.id) << (c.all ? c.all : "-") << " " << (c.lang ? c.lang : "-");
  }
}

}  // namespace
