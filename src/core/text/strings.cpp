#include "text/strings.h"

namespace tirelmo {

namespace {
struct Entry {
  const char16_t* en;
  const char16_t* zh;
};

constexpr Entry kTexts[] = {
#define TIRELMO_TEXT_ENTRY(id, en, zh) {en, zh},
    TIRELMO_TEXTS(TIRELMO_TEXT_ENTRY)
#undef TIRELMO_TEXT_ENTRY
};
static_assert(sizeof(kTexts) / sizeof(kTexts[0]) == static_cast<std::size_t>(Txt::Count));
}  // namespace

Language languageFromSetting(u16v settingValue) {
  return settingValue == u"Chinese (Simplified)" ? Language::ChineseSimplified : Language::English;
}

const char16_t* text(Txt id, Language lang) {
  const Entry& e = kTexts[static_cast<std::size_t>(id)];
  return (lang == Language::ChineseSimplified && e.zh && *e.zh) ? e.zh : e.en;
}

}  // namespace tirelmo
