// The texts the program shows, each with its English form and its Chinese (Simplified)
// twin. Log lines and file contents are never translated and do not live here.
#pragma once

#include "text/ustring.h"

namespace tirelmo {

enum class Language { English, ChineseSimplified };

// The "Language" setting holds the English name of the language.
Language languageFromSetting(u16v settingValue);

// X(id, English, Chinese). Keep the English texts exactly as the program shows them.
#define TIRELMO_TEXTS(X)                                                                    \
  X(CaptionVersion, u"Tirelmo - v2.3.3.0", u"Tirelmo - v2.3.3.0")                            \
  X(CaptionApp, u"Tirelmo", u"Tirelmo")                                                       \
  X(CaptionError, u"Error", u"错误")                                                          \
  X(ErrCreatingDefaultDir, u"ERROR creating Default User-data directory",                    \
    u"创建默认用户数据目录时出错")                                                            \
  X(ErrSettingsNotSaved, u"Error: settings not saved into file!", u"错误：设置未保存到文件！") \
  X(ErrWriteFailed, u"Error: the file could not be written.\nYour previous data were kept.",  \
    u"错误：无法写入文件。\n之前的数据已保留。")

enum class Txt {
#define TIRELMO_TEXT_ID(id, en, zh) id,
  TIRELMO_TEXTS(TIRELMO_TEXT_ID)
#undef TIRELMO_TEXT_ID
      Count
};

// The text in the given language; English when no twin exists.
const char16_t* text(Txt id, Language lang);

}  // namespace tirelmo
