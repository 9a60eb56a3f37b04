#include "platform/posix/locale_forms.h"

#include <cstring>

namespace zv::platform {

namespace {

// Measured with GetLocaleInfoW under Wine 8.0.
constexpr WindowsLocaleForms kForms[] = {
    {0x0409, u"ENU", u"1", u"/", u":", u"M/d/yyyy", u"dddd, MMMM d, yyyy", u"h:mm:ss tt", u"AM",
     u"PM", u"6", u"0", u"0", u"hh:mm:ss", u"dddd, MMM d", u"244", u"437", u"037", u"Default"},
    {0x0809, u"ENG", u"44", u"/", u":", u"dd/MM/yyyy", u"dddd, d MMMM yyyy", u"HH:mm:ss", u"am",
     u"pm", u"0", u"0", u"0", u"hh:mm:ss", u"dddd, d MMM", u"242", u"850", u"20285", u"Default"},
    {0x040C, u"FRA", u"33", u"/", u":", u"dd/MM/yyyy", u"dddd d MMMM yyyy", u"HH:mm:ss", u"AM",
     u"PM", u"0", u"3", u"15", u"hh:mm:ss", u"dddd d MMM", u"84", u"850", u"20297", u"Default"},
    {0x0C0C, u"FRC", u"1", u"-", u" 'h' ", u"yyyy-MM-dd", u"dddd d MMMM yyyy",
     u"HH 'h' mm 'min' ss 's'", u"a.m.", u"p.m.", u"6", u"3", u"15", u"hh 'h' mm 'min' ss 's'",
     u"dddd d MMM", u"39", u"850", u"20297", u"Default"},
    {0x080C, u"FRB", u"32", u"/", u":", u"dd/MM/yyyy", u"dddd d MMMM yyyy", u"HH:mm:ss", u"AM",
     u"PM", u"0", u"3", u"15", u"hh:mm:ss", u"dddd d MMM", u"21", u"850", u"20297", u"Default"},
    {0x100C, u"FRS", u"41", u".", u":", u"dd.MM.yyyy", u"dddd, d MMMM yyyy", u"HH:mm:ss", u"AM",
     u"PM", u"0", u"3", u"15", u"hh:mm:ss", u"dddd d MMM", u"223", u"850", u"20297", u"Default"},
    {0x0407, u"DEU", u"49", u".", u":", u"d.M.yyyy", u"dddd, d. MMMM yyyy", u"HH:mm:ss", u"AM",
     u"PM", u"0", u"3", u"8", u"hh:mm:ss", u"dddd, d. MMMM", u"94", u"850", u"20273",
     u"Dictionary"},
    {0x0C0A, u"ESN", u"34", u"/", u":", u"d/M/yyyy", u"dddd, d 'de' MMMM 'de' yyyy", u"H:mm:ss",
     u"a.\u202Fm.", u"p.\u202Fm.", u"0", u"3", u"8", u"h:mm:ss", u"dddd, d 'de' MMMM", u"217",
     u"850", u"20284", u"International"},
    {0x0410, u"ITA", u"39", u"/", u":", u"d/M/yyyy", u"dddd d MMMM yyyy", u"HH:mm:ss", u"AM", u"PM",
     u"0", u"3", u"8", u"hh:mm:ss", u"dddd d MMM", u"118", u"850", u"20280", u"Default"},
    {0x0413, u"NLD", u"31", u"-", u":", u"d-M-yyyy", u"dddd d MMMM yyyy", u"HH:mm:ss", u"a.m.",
     u"p.m.", u"0", u"2", u"14", u"hh:mm:ss", u"dddd d MMM", u"176", u"850", u"500", u"Default"},
    {0x0416, u"PTB", u"55", u"/", u":", u"dd/MM/yyyy", u"dddd, d 'de' MMMM 'de' yyyy", u"HH:mm:ss",
     u"AM", u"PM", u"6", u"2", u"9", u"hh:mm:ss", u"dddd, d 'de' MMMM", u"32", u"850", u"500",
     u"Default"},
    {0x0411, u"JPN", u"81", u"/", u":", u"yyyy/M/d", u"yyyy\u5E74M\u6708d\u65E5dddd", u"H:mm:ss",
     u"\u5348\u524D", u"\u5348\u5F8C", u"6", u"0", u"0", u"h:mm:ss", u"M\u6708d\u65E5(dddd)",
     u"122", u"932", u"20290", u"XJIS"},
};

struct Override {
  int32_t lcid;
  int32_t type;
  const char16_t* value;
};

// Windows writes the German abbreviated months without ICU's full stops, and its shortest
// designators in lower case.
constexpr Override kOverrides[] = {
    {0x0407, 0x7E, u"a"},   {0x0407, 0x7F, u"p"},        {0x0407, 0x44, u"Jan"},
    {0x0407, 0x45, u"Feb"}, {0x0407, 0x46, u"M\u00E4r"}, {0x0407, 0x47, u"Apr"},
    {0x0407, 0x48, u"Mai"}, {0x0407, 0x49, u"Jun"},      {0x0407, 0x4A, u"Jul"},
    {0x0407, 0x4B, u"Aug"}, {0x0407, 0x4C, u"Sep"},      {0x0407, 0x4D, u"Okt"},
    {0x0407, 0x4E, u"Nov"}, {0x0407, 0x4F, u"Dez"},
};

constexpr LanguageCodePages kCodePages[] = {
    {"da", 1252, 850, 10000, u"DAN "}, {"de", 1252, 850, 10000, u"DEU "},
    {"en", 1252, 850, 10000, u"ENG "}, {"es", 1252, 850, 10000, u"ESP "},
    {"fi", 1252, 850, 10000, u"FIN "}, {"fr", 1252, 850, 10000, u"FRA "},
    {"it", 1252, 850, 10000, u"ITA "}, {"ja", 932, 932, 10001, u"JAN "},
    {"nb", 1252, 850, 10000, u"NOR "}, {"nl", 1252, 850, 10000, u"NLD "},
    {"pt", 1252, 850, 10000, u"PTG "}, {"sv", 1252, 850, 10000, u"SVE "},
};

}  // namespace

const WindowsLocaleForms* windowsLocaleForms(int32_t lcid) {
  for (const auto& forms : kForms)
    if (forms.lcid == lcid) return &forms;
  return nullptr;
}

const char16_t* windowsOverride(int32_t lcid, int32_t type) {
  for (const auto& o : kOverrides)
    if (o.lcid == lcid && o.type == type) return o.value;
  return nullptr;
}

const LanguageCodePages* languageCodePages(const char* language) {
  for (const auto& pages : kCodePages)
    if (std::strcmp(pages.language, language) == 0) return &pages;
  return nullptr;
}

}  // namespace zv::platform
