#include "platform/posix/locale_forms.h"

namespace zv::platform {

namespace {

// Measured with GetLocaleInfoA under Wine 8.0; ja-JP decoded from its code page 932.
constexpr WindowsLocaleForms kForms[] = {
    {0x0409,  // en-US
     u"ENU", u"1", u"/", u":", u"M/d/yyyy", u"dddd, MMMM d, yyyy", u"h:mm:ss tt", u"AM", u"PM",
     u"6", u"2", u"0", u"0"},
    {0x0809,  // en-GB
     u"ENG", u"44", u"/", u":", u"dd/MM/yyyy", u"dddd, d MMMM yyyy", u"HH:mm:ss", u"am", u"pm",
     u"0", u"2", u"0", u"0"},
    {0x040C,  // fr-FR
     u"FRA", u"33", u"/", u":", u"dd/MM/yyyy", u"dddd d MMMM yyyy", u"HH:mm:ss", u"AM", u"PM", u"0",
     u"2", u"3", u"15"},
    {0x0C0C,  // fr-CA
     u"FRC", u"1", u"-", u" 'h' ", u"yyyy-MM-dd", u"dddd d MMMM yyyy", u"HH 'h' mm 'min' ss 's'",
     u"a.m.", u"p.m.", u"6", u"2", u"3", u"15"},
    {0x080C,  // fr-BE
     u"FRB", u"32", u"/", u":", u"dd/MM/yyyy", u"dddd d MMMM yyyy", u"HH:mm:ss", u"AM", u"PM", u"0",
     u"2", u"3", u"15"},
    {0x100C,  // fr-CH
     u"FRS", u"41", u".", u":", u"dd.MM.yyyy", u"dddd, d MMMM yyyy", u"HH:mm:ss", u"AM", u"PM",
     u"0", u"2", u"3", u"15"},
    {0x0407,  // de-DE
     u"DEU", u"49", u".", u":", u"d.M.yyyy", u"dddd, d. MMMM yyyy", u"HH:mm:ss", u"AM", u"PM", u"0",
     u"2", u"3", u"8"},
    {0x0C0A,  // es-ES
     u"ESN", u"34", u"/", u":", u"d/M/yyyy", u"dddd, d 'de' MMMM 'de' yyyy", u"H:mm:ss", u"a.?m.",
     u"p.?m.", u"0", u"2", u"3", u"8"},
    {0x0410,  // it-IT
     u"ITA", u"39", u"/", u":", u"d/M/yyyy", u"dddd d MMMM yyyy", u"HH:mm:ss", u"AM", u"PM", u"0",
     u"2", u"3", u"8"},
    {0x0413,  // nl-NL
     u"NLD", u"31", u"-", u":", u"d-M-yyyy", u"dddd d MMMM yyyy", u"HH:mm:ss", u"a.m.", u"p.m.",
     u"0", u"2", u"2", u"14"},
    {0x0416,  // pt-BR
     u"PTB", u"55", u"/", u":", u"dd/MM/yyyy", u"dddd, d 'de' MMMM 'de' yyyy", u"HH:mm:ss", u"AM",
     u"PM", u"6", u"2", u"2", u"9"},
    {0x0411,  // ja-JP
     u"JPN", u"81", u"/", u":", u"yyyy/M/d", u"yyyy\u5E74M\u6708d\u65E5dddd", u"H:mm:ss",
     u"\u5348\u524D", u"\u5348\u5F8C", u"6", u"0", u"0", u"0"},
};

struct Override {
  int32_t lcid;
  int32_t type;
  const char16_t* value;
};

// Windows writes the German abbreviated months without ICU's full stops.
constexpr Override kOverrides[] = {
    {0x0407, 0x44, u"Jan"}, {0x0407, 0x45, u"Feb"}, {0x0407, 0x46, u"M\u00E4r"},
    {0x0407, 0x47, u"Apr"}, {0x0407, 0x48, u"Mai"}, {0x0407, 0x49, u"Jun"},
    {0x0407, 0x4A, u"Jul"}, {0x0407, 0x4B, u"Aug"}, {0x0407, 0x4C, u"Sep"},
    {0x0407, 0x4D, u"Okt"}, {0x0407, 0x4E, u"Nov"}, {0x0407, 0x4F, u"Dez"},
};

}  // namespace

const WindowsLocaleForms* windowsLocaleForms(int32_t lcid) {
  for (const auto& forms : kForms)
    if (forms.lcid == lcid) return &forms;
  return nullptr;
}

const char16_t* windowsOverride(int32_t lcid, int32_t type) {
  for (const auto& o : kOverrides)
    if (o.value && o.lcid == lcid && o.type == type) return o.value;
  return nullptr;
}

}  // namespace zv::platform
