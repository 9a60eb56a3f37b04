@echo off
rem Registers ZivoviViruvov.dll: on 64-bit Windows the 64-bit and the 32-bit server (for
rem 64-bit and 32-bit programs), on 32-bit Windows the 32-bit one. ZipLib.dll and
rem UnZipLib.dll stay beside each server; they need no registration.
rem
rem   register.cmd          for every user (from an administrator prompt)
rem   register.cmd /user    for the current user alone (no administrator rights needed)
rem
rem The DLLs are registered where they are: move the folder first, then register.
setlocal
set "HERE=%~dp0"
set "FLAGS=/s"
if /i "%~1"=="/user" set "FLAGS=/s /n /i:user"
call "%HERE%servers.cmd" %FLAGS%
exit /b %ERRORLEVEL%
