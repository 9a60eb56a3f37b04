#!/usr/bin/env python3
"""Writes the oracle's case table: Format, date, number and Currency reading and locale
items across the twelve locales (see case_io.h for the line format).

Usage: generate_cases.py > cases.tsv
The table is the same on every run: it depends on nothing but this file.
"""
import itertools
import sys

# en-US, en-GB, fr-FR, fr-CA, fr-BE, fr-CH, de-DE, es-ES, it-IT, nl-NL, pt-BR, ja-JP.
LOCALES = [1033, 2057, 1036, 3084, 2060, 4108, 1031, 3082, 1040, 1043, 1046, 1041]
# Outside the twelve: their names and separators come from the locale data alone.
OTHER_LOCALES = [3081, 2055, 1053, 1030]


def esc(text):
    return (text.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")
            .replace("\r", "\\r"))


def case(kind, lcid, *fields):
    return "\t".join([kind, str(lcid)] + [esc(f) for f in fields])


# ---- Numbers ----

MANTISSAS = ["1", "1.5", "2.5", "5", "0.5", "1.005", "1.015", "1.025", "9.995", "9.9995",
             "1.23456789", "4.4445", "123456.789", "7.77777777777777", "3.14159265358979"]
NUMBER_PATTERNS = [
    "0", "0.00", "#,##0.00", "#,##0", "0.0000", "#.##", "#", "0%", "0.00%", "0.00E+00",
    "0.0E-0", "##0.0E+0", "0.000e+000", "0 pts", "#,##0 days", "$#,##0.00;($#,##0.00)",
    "0.00;-0.00;\"zero\"", "0;(0);\"nil\"", "@", "000000", ".00", "#,##0,", "0,,", "\\$0.00",
    "\"x\"0", "0\"abc\"", "# ### ### ### ### ##0.00", "0.0 \\k\\g", "#,##0.0#",
    "General Number", "Currency", "Fixed", "Standard", "Percent", "Scientific", "Yes/No",
    "True/False", "On/Off", "",
]
SPECIAL_DOUBLES = ["0", "-0.0", "5e-324", "2.2250738585072014e-308", "1.7976931348623157e308",
                   "1e300", "-1e300", "1e-300", "0.1", "0.7", "1e15", "1e16", "123456789012345678",
                   "-0.001", "-0.005", "0.0049999999", "999999.995", "0.045", "2.675"]


def doubles():
    values = []
    for exponent in range(-12, 18, 2):
        for mantissa in MANTISSAS:
            text = f"{mantissa}e{exponent}"
            values += [text, "-" + text]
    return values + SPECIAL_DOUBLES


def fits(value, pattern):
    """Wine's formatter writes into a 256-character buffer: a huge value written out in full
    overflows it, so such values go only to patterns with an exponent."""
    return abs(float(value)) < 1e150 or "E+" in pattern.upper() or "E-" in pattern.upper() or pattern in ("", "General Number")


def number_cases():
    out = []
    combos = [c for c in itertools.product(doubles(), NUMBER_PATTERNS) if fits(*c)]
    for index, (value, pattern) in enumerate(combos):
        value = repr(float(value))
        out.append(case("F", 1033, "d:" + value, pattern))
        # The other locales take a stride through the same combinations.
        lcid = LOCALES[1 + index % (len(LOCALES) - 1)]
        if index % 3 == 0:
            out.append(case("F", lcid, "d:" + value, pattern))
    return out


CURRENCY_UNITS = [0, 1, 5, 50, 149, 150, 250, 12345, -12345, 99999, 1234567891, -50,
                  999999999999999900, 9223372036854775807, -9223372036854775808,
                  1234567890123456, 9999950, 123456789012345678, 49999, 5000, -5000,
                  100000000000000000, 10000]
CURRENCY_PATTERNS = ["", "# ### ### ### ### ##0.00", "0.0000", "0.00", "#,##0.00", "0",
                     "Currency", "General Number", "Standard", "0.00E+00", "#,##0.000"]


def currency_cases():
    return [case("F", lcid, f"c:{units}", pattern)
            for lcid in LOCALES for units in CURRENCY_UNITS for pattern in CURRENCY_PATTERNS]


# ---- Dates ----

DATE_PATTERNS = [
    "d", "dd", "ddd", "dddd", "ddddd", "dddddd", "m", "mm", "mmm", "mmmm", "y", "yy", "yyy",
    "yyyy", "yyyyy", "h", "hh", "H", "n", "nn", "s", "ss", "w", "ww", "www", "q", "c", "ttttt",
    "dd/mm/yyyy", "dd\\/mm\\/yyyy", "dd\"/\"mm\"/\"yyyy", "mm/dd/yy", "yyyy-mm-dd",
    "dd.mm.yyyy", "d/M/yy", "hh:nn:ss", "h:mm", "hh:mm:ss", "mm:ss", "h:nn AM/PM",
    "h:nn am/pm", "h:nn A/P", "h:nn a/p", "hh:nn AMPM", "dddd d mmmm yyyy", "ddd, d mmm yyyy",
    "yyyy\\-mm\\-dd \"at\" hh:nn", "d-mmm-yy h:nn:ss", "\"Q\"q yyyy", "mmm yy", "dd MMM",
    "Long Date", "Short Date", "Medium Date", "General Date", "Long Time", "Medium Time",
    "Short Time", "D/M/YY", "HH:NN:SS", "Q W", "ddddddd", "mmmmm", "hhh nnn sss", "tt",
    "AMPM hh", "hh AMPM", "A/P h", "h a/p", "dd \\d \\m", "mm/dd/yyyy;;", "[h]:mm",
]
# Serials across the whole range, with times of day.
SERIALS = [-657434, -657433.5, -693593, -36522, -1.25, -1, -0.5, 0, 0.25, 0.5, 0.999988425925926,
           1, 2, 59, 60, 61, 366, 1000.75, 36526, 36891.5, 45291, 45292, 45351, 45352, 45651,
           45651.5, 45651.999, 45657.0000115741, 73051, 2958465, 2958465.99998843]
OUT_OF_RANGE = ["3000000", "-700000", "1e300", "2958466", "-657435", "-1e300"]


def date_cases():
    out = []
    for index, (serial, pattern) in enumerate(itertools.product(SERIALS, DATE_PATTERNS)):
        out.append(case("F", 1033, f"t:{serial!r}", pattern))
        if index % 2 == 0:
            out.append(case("F", LOCALES[1 + index % (len(LOCALES) - 1)], f"t:{serial!r}", pattern))
    # Doubles given to date patterns: in range they are dates, beyond they stay numbers.
    for value, pattern, lcid in itertools.product(OUT_OF_RANGE + ["45651", "45651.5"],
                                                  ["yyyy-mm-dd", "dd/mm/yyyy", "d/M/yy"], LOCALES):
        out.append(case("F", lcid, "d:" + repr(float(value)), pattern))
    return out


# ---- Text given to Format ----

TEXTS = ["12/25/2024", "25/12/2024", "2024-12-25", "25.12.2024", "1/2/2024", "abc", "",
         "25 dec 2024", "12:30", "1,234.5", "1.234,5", "12.5", "1 234,5"]
TEXT_PATTERNS = ["d/M/yy", "dd/mm/yyyy", "yyyy", "0.00", "#,##0", "@", "Short Date"]


def text_cases():
    return [case("F", lcid, "s:" + text, pattern)
            for lcid in LOCALES for text in TEXTS for pattern in TEXT_PATTERNS]


# ---- Reading dates ----

DATE_TEXTS = [
    "12/25/2024", "25/12/2024", "2024/12/25", "01/02/2024", "1/2/24", "2/1/24", "12/25/24",
    "25/12/24", "13/13/2024", "2024-12-25", "25-12-2024", "12-25-2024", "25.12.2024",
    "12.25.2024", "2024.12.25", "31/02/2024", "29/02/2024", "29/02/2023", "1/1/0050",
    "1/1/50", "1/1/49", "1/1/29", "1/1/30", "1/1/99", "1/1/100", "1/1/9999", "1/1/10000",
    "12/2024", "2024/12", "12/25", "25/12", "25 12 2024", "December 25, 2024", "25 December 2024",
    "Dec 25 2024", "25-Dec-2024", "Wednesday, December 25, 2024", "10:30", "10:30:15",
    "10.30", "12.5", "10:30 PM", "10:30 AM", "12:00 AM", "12:00 PM", "0:00 AM", "13:00 PM",
    "1/1/2024 0:00 AM", "1/1/2024 10:30", "12/25/2024 10:30:15 PM", "10:30 12/25/2024",
    "25:00", "10:60", "10:30:60", "10 PM", "10 p", "12/25/2024 10 pm", "2024", "45651", "",
    "abc", "1,2,2024", "  12/25/2024  ", "12/25/2024,", "12//25/2024", "1/2/3/4",
    "10:30:15.5", "2024-12-25 10:30:15", "25.12.2024 10:30",
]


def locale_date_texts(lcid):
    """Texts in the locale's own words (month names are read in the locale's language)."""
    names = {1036: ["25 décembre 2024", "25 déc. 2024", "mercredi 25 décembre 2024"],
             3084: ["25 décembre 2024"], 2060: ["25 décembre 2024"], 4108: ["25 décembre 2024"],
             1031: ["25. Dezember 2024", "25. Dez 2024", "Mittwoch, 25. Dezember 2024"],
             3082: ["25 de diciembre de 2024", "25 dic 2024"], 1040: ["25 dicembre 2024"],
             1043: ["25 december 2024"], 1046: ["25 de dezembro de 2024"],
             1041: ["2024/12/25 10:30", "午前 10:30", "10:30 午後"]}
    return names.get(lcid, [])


def read_cases():
    out = []
    for lcid in LOCALES:
        for text in DATE_TEXTS + locale_date_texts(lcid):
            out.append(case("D", lcid, text))
        for text in NUMBER_TEXTS:
            out.append(case("R", lcid, text))
            out.append(case("C", lcid, text))
    return out


NUMBER_TEXTS = [
    "1", "-1", "1.5", "1,5", "1,234.5", "1.234,5", "1 234,5", "1\u00a0234,5", "1\u202f234,5",
    "  12  ", "+3", "3-", "(3)", "( 3 )", "-(3)", "$3", "3$", "3 €", "€3", "€ 3", "-$3",
    "$-3", "1e3", "1E-3", "1.5e+3", "1e", "e3", ".5", "5.", "-.5", "1,,2", "1,2,3", "12,34",
    "1.2.3", "&H10", "&HFFFF", "&HFFFFFFFF", "&O17", "&H", "1d2", "", " ", "abc",
    "0.00015", "0.00025", "0.00035", "12345678901234.565", "922337203685477.5807",
    "922337203685477.5808", "-922337203685477.5808", "-922337203685477.5809",
    "99999999999999.99", "1e308", "1e309", "-1e309", "4.94065645841247E-324", "2.5e-324",
    "123456789012345678901234567890", "0.1234567890123456789", "1'234.5", "1’234,5",
    "1 234.5", "1.234", "1,234", "12,5%", "12.5%", "+ 3", "- 3", "3 -", "1.5.", "1.5,",
]


# ---- Locale items ----

LCTYPES = list(range(0x01, 0x80)) + list(range(0x1001, 0x1015))
NUMERIC_LCTYPES = [0x01, 0x05, 0x09, 0x0A, 0x0B, 0x0D, 0x11, 0x12, 0x19, 0x1A, 0x1B, 0x1C,
                   0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x52, 0x53, 0x54, 0x55, 0x56,
                   0x57, 0x5B, 0x1004, 0x1005, 0x1009, 0x100A, 0x100B, 0x100C, 0x100D, 0x1010,
                   0x1011, 0x1012, 0x1014, 0x70, 0x71, 0x74, 0x75]
NO_USER_OVERRIDE = 0x80000000
USE_CP_ACP = 0x40000000
RETURN_NUMBER = 0x20000000


def locale_cases():
    out = []
    for lcid in LOCALES:
        out += [case("L", lcid, str(t)) for t in LCTYPES]
        out += [case("L", lcid, str(t | NO_USER_OVERRIDE)) for t in (0x0E, 0x1F, 0x1003, 0x5C)]
        out += [case("L", lcid, str(t | USE_CP_ACP)) for t in (0x02, 0x2A, 0x38, 0x1F, 0x20)]
        out += [case("L", lcid, str(t | RETURN_NUMBER)) for t in NUMERIC_LCTYPES]
    for lcid in OTHER_LOCALES + [0x7F, 0, 0x400, 0x800, 0x1000, 12345]:
        out += [case("L", lcid, str(t))
                for t in (0x01, 0x02, 0x03, 0x0E, 0x0F, 0x14, 0x1D, 0x1E, 0x1F, 0x20, 0x1003,
                          0x38, 0x44, 0x2A, 0x31, 0x5C, 0x59, 0x5A)]
    return out


def main():
    lines = (number_cases() + currency_cases() + date_cases() + text_cases() + read_cases() +
             locale_cases())
    sys.stdout.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
