' Locale texts as VBScript sees them, run in an English and in a French prefix. The
' argument names the prefix's language ("en" or "fr"): Wine's VBScript has no GetLocale.
' tests/wine/locale_run.sh puts tests/vbscript/check.inc before it.
Dim sys, summary, language, thousands, currency
Set sys = CreateObject("ZivoviViruvov.SystemLib")
language = "en"
If WScript.Arguments.Count > 0 Then language = WScript.Arguments(0)

' Wine's VBScript stops on characters above 127 in a French prefix (Chr, ChrW, AscW), so
' the summary's thousands and currency characters are compared through the library's own
' items; the native tests pin those characters exactly. The summary's lines are split at |.
' (The other items are rows of tests/cases/conversions.tsv.)
If language = "fr" Then
  summary = "Locale ID: 040c|Country: France (FRA)|Language: French (France)||Decimal: ,|" & _
    "Thousands: <sep>|Currency: <cur>|Time Format: HH:mm:ss|Short Date: dd/MM/yyyy|" & _
    "Long Date: dddd d MMMM yyyy"
  ' Written as a quotient: Wine's VBScript reads a decimal literal with the locale's separator.
  Check CreateObject("ZivoviViruvov.MoneyLib").GetCurrencyFormat(1234567891 / 1000) = "1 234 567,89", _
    "GetCurrencyFormat(1234567.891)"
Else
  ' (The US thousands separator is the comma, so the long date's commas read "<sep>" too.)
  summary = "Locale ID: 0409|Country: United States (USA)|Language: English (United States)||" & _
    "Decimal: .|Thousands: <sep>|Currency: <cur>|Time Format: h:mm:ss tt|Short Date: M/d/yyyy|" & _
    "Long Date: dddd<sep> MMMM d<sep> yyyy"
End If

thousands = sys.GetLocaleThousand()
currency = sys.GetLocaleCurrency()
Check Len(thousands) = 1 And Len(currency) = 1, "one thousands and one currency character"
Check Replace(Replace(sys.GetTheLocaleInfo(), thousands, "<sep>"), currency, "<cur>") = _
  Replace(summary, "|", vbCrLf) & vbCrLf, "GetTheLocaleInfo"
Finish 0
