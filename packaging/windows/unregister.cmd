@echo off
rem Removes what register.cmd wrote (the same argument: nothing, or /user).
setlocal
set "HERE=%~dp0"
set "FLAGS=/s /u"
if /i "%~1"=="/user" set "FLAGS=/s /u /n /i:user"
call "%HERE%servers.cmd" %FLAGS%
exit /b %ERRORLEVEL%
