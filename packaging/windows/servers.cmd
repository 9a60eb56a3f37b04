@echo off
rem Runs regsvr32 with the given flags on each server this Windows can load (used by
rem register.cmd and unregister.cmd). A 32-bit prompt on 64-bit Windows reaches the 64-bit
rem regsvr32 through Sysnative.
setlocal
set "HERE=%~dp0"
set "FAILED=0"
set "REG64="
if exist "%SystemRoot%\Sysnative\regsvr32.exe" set "REG64=%SystemRoot%\Sysnative\regsvr32.exe"
if not defined REG64 if exist "%SystemRoot%\SysWOW64\regsvr32.exe" set "REG64=%SystemRoot%\System32\regsvr32.exe"
if defined REG64 (
  "%REG64%" %* "%HERE%x64\ZivoviViruvov.dll" || set "FAILED=1"
  "%SystemRoot%\SysWOW64\regsvr32.exe" %* "%HERE%x86\ZivoviViruvov.dll" || set "FAILED=1"
) else (
  "%SystemRoot%\System32\regsvr32.exe" %* "%HERE%x86\ZivoviViruvov.dll" || set "FAILED=1"
)
if "%FAILED%"=="1" (
  echo regsvr32 %* failed: run from an administrator prompt, or pass /user.
  exit /b 1
)
echo Done: regsvr32 %*
exit /b 0
