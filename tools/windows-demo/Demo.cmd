@echo off
rem Skylet's demo on a Windows without a station: the substitute tracking
rem program (Avor.exe, a synthetic pass every few minutes) and rotor server
rem (RotServer.exe, a dial showing where the antenna would point), no radio
rem and no COM port. Skylet finds its settings only under %APPDATA%, so the
rem demo writes them there, and only where no station's settings are:
rem neither folder there yet, or the demo's own from an earlier run.
chcp 1252 >nul
setlocal
set "DEMO=%~dp0"
set "VANTRAK=%APPDATA%\Vantrak"
set "SKYLET=%APPDATA%\Skylet"
set "MARK=%SKYLET%\Skylet-Demo.txt"
if exist "%MARK%" goto write
if exist "%VANTRAK%\" goto station
if exist "%SKYLET%\" goto station

:write
mkdir "%VANTRAK%" 2>nul
mkdir "%SKYLET%" 2>nul
copy /y "%DEMO%Vantrak\*.SQF" "%VANTRAK%\" >nul
copy /y "%DEMO%Skylet\*.SQF" "%SKYLET%\" >nul
rem Both programs where this folder is now.
>"%SKYLET%\AvorPath.SQF" echo %DEMO%Avor.exe --pass --speed 30
>"%VANTRAK%\RotorServer.SQF" echo %DEMO%RotServer
copy /y "%DEMO%Skylet-Demo.txt" "%MARK%" >nul
echo Skylet-Demo: Die Einstellungen der Demo stehen in
echo   %VANTRAK%
echo   %SKYLET%
echo Vor dem Einrichten der eigenen Station beide Ordner löschen.
start "" /d "%DEMO%.." "%DEMO%..\skylet.exe"
exit /b 0

:station
echo Skylet-Demo: Auf diesem Rechner gibt es schon Einstellungen einer Station:
if exist "%VANTRAK%\" echo   %VANTRAK%
if exist "%SKYLET%\" echo   %SKYLET%
echo Die Demo schreibt nicht darüber und startet nicht; skylet.exe arbeitet
echo mit diesen Einstellungen.
pause
exit /b 1
