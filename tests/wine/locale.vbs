' Locale texts as VBScript sees them, run in an English and in a French prefix. The
' argument names the prefix's language ("en" or "fr"): Wine's VBScript has no GetLocale.
' tests/wine/locale_run.sh puts tests/vbscript/check.inc before it.
' Wine's VBScript has no Join.
Function Lines(a)
  Dim i
  Lines = ""
  For i = 0 To UBound(a)
    Lines = Lines & a(i) & vbCrLf
  Next
End Function

Dim sys, money, summary, amount, decimalSep
Set sys = CreateObject("ZivoviViruvov.SystemLib")
Set money = CreateObject("ZivoviViruvov.MoneyLib")

Dim language
language = "en"
If WScript.Arguments.Count > 0 Then language = WScript.Arguments(0)

' Wine's VBScript stops on characters above 127 in a French prefix (Chr, ChrW, AscW), so
' the summary's thousands and currency characters are compared through the library's own
' items; the native tests pin those characters exactly.
Dim thousands, currency
Select Case language
  Case "fr"
    summary = Lines(Array("Locale ID: 040c", "Country: France (FRA)", "Language: French (France)", _
      "", "Decimal: ,", "Thousands: <sep>", "Currency: <cur>", _
      "Time Format: HH:mm:ss", "Short Date: dd/MM/yyyy", "Long Date: dddd d MMMM yyyy"))
    amount = "1 234 567,89"
    decimalSep = ","
  Case Else
    ' (The US thousands separator is the comma, so the long date's commas read "<sep>" too.)
    summary = Lines(Array("Locale ID: 0409", "Country: United States (USA)", _
      "Language: English (United States)", "", "Decimal: .", "Thousands: <sep>", "Currency: <cur>", _
      "Time Format: h:mm:ss tt", "Short Date: M/d/yyyy", "Long Date: dddd<sep> MMMM d<sep> yyyy"))
    amount = "1 234 567.89"
    decimalSep = "."
End Select

thousands = sys.GetLocaleThousand()
currency = sys.GetLocaleCurrency()
Check Len(thousands) = 1, "one thousands separator"
Check Len(currency) = 1, "one currency character"
If language <> "fr" Then
  Check thousands = ",", "GetLocaleThousand"
  Check currency = "$", "GetLocaleCurrency"
End If
Check Replace(Replace(sys.GetTheLocaleInfo(), thousands, "<sep>"), currency, "<cur>") = summary, _
  "GetTheLocaleInfo"
Check sys.GetLocaleDecimal() = decimalSep, "GetLocaleDecimal"
Check sys.GetLocaleIdLanguage(1036) = "040c", "GetLocaleIdLanguage(1036)"
Check sys.GetLocaleShortDate(2057) = "dd/MM/yyyy", "GetLocaleShortDate(en-GB)"
' Written as a quotient: Wine's VBScript reads a decimal literal with the locale's separator.
Check money.GetCurrencyFormat(1234567891 / 1000) = amount, "GetCurrencyFormat(1234567.891)"

WScript.Echo passed & " passed, " & failed & " failed"
WScript.Quit failed
