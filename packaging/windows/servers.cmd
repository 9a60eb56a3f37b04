@echo off
rem Runs regsvr32 with the given flags on each server this Windows can load (used by
rem register.cmd and unregister.cmd): on 64-bit Windows the 64-bit server with the 64-bit
rem regsvr32 (through Sysnative from a 32-bit prompt) and the 32-bit server with SysWOW64's,
rem where 32-bit programs run; on 32-bit Windows the 32-bit server.
setlocal
set "HERE=%~dp0"
set "FLAGS=%*"
set "FAILED=0"
set "REG64="
if defined PROCESSOR_ARCHITEW6432 (
  set "REG64=%SystemRoot%\Sysnative\regsvr32.exe"
) else if /i "%PROCESSOR_ARCHITECTURE%"=="AMD64" (
  set "REG64=%SystemRoot%\System32\regsvr32.exe"
)
if defined REG64 (
  call :server "%REG64%" x64
  if exist "%SystemRoot%\SysWOW64\regsvr32.exe" call :server "%SystemRoot%\SysWOW64\regsvr32.exe" x86
) else (
  call :server "%SystemRoot%\System32\regsvr32.exe" x86
)
exit /b %FAILED%

:server
"%~1" %FLAGS% "%HERE%%~2\ZivoviViruvov.dll"
if errorlevel 1 (
  echo Failed: regsvr32 %FLAGS% %~2\ZivoviViruvov.dll ^(error %ERRORLEVEL%^)
  set "FAILED=1"
) else (
  echo Done: regsvr32 %FLAGS% %~2\ZivoviViruvov.dll
)
exit /b 0
