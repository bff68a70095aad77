; The installer of Corvane Ludora ZR and its uninstaller, for makensis 3.
; ANSI, so that one installer runs on Windows 98 as on Windows XP. Defines:
;   DIST       the application folder: the programs and the two web pages
;   RECORDER   ludora-record.exe, which records the machine and puts it back
;   RESOURCES  the icon
;   OUTFILE    the installer to write
;   AMD64      a 64-bit installer of the 64-bit build, for the tests on
;              machines that cannot run 32-bit programs; NSIS has only
;              Unicode stubs for it. Never shipped.
!ifdef AMD64
  Unicode true
  Target amd64-unicode
!else
  Unicode false
!endif
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "WinMessages.nsh"
!include "WinVer.nsh"

!define PRODUCT "Corvane Ludora ZR"
!define FOLDER "Corvane Ludora"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define WINLOGON "Software\Microsoft\Windows NT\CurrentVersion\Winlogon"
; The first record of the machine, in its two homes (programs/ludora-record/record_homes.h).
!define RECORD "$INSTDIR\machine-record.txt"
!define RECORD_KEY "Software\Corvane\Ludora"
!define REPORT "$PLUGINSDIR\report.txt"
; One installer or uninstaller at a time, in every session of the machine.
!define MUTEX "Corvane Ludora Setup"
!define SYNCHRONIZE 0x00100000
; Named as the programs name them (src/launch/companions.h).
!define WATCHDOG_MUTEX "Corvane.Ludora.Watchdog"
!define STARTUP_RUN_EVENT "Corvane.Ludora.StartupRun"
; The exit codes of the installer and the uninstaller (the README lists
; them); 1 is NSIS's own, for a cancel. The recorder's uninstall gives 0, 3,
; 4, 5 and 8 itself; its check and close give 8; its close gives
; RECORDER_WAS_RUNNING.
!define EXIT_FAILED 2         ; nothing, or not all, installed
!define EXIT_NOT_ALL_BACK 3   ; uninstalled; some values could not be put back
!define EXIT_DEFAULTS 4       ; uninstalled; no sound record: Explorer's settings
!define EXIT_LUDORA_STAYS 5   ; Explorer could not be made the shell: not uninstalled
!define EXIT_BUSY 6           ; another install or uninstall is running
!define EXIT_BAD_FOLDER 7     ; another folder than the installation's
!define EXIT_OTHER_ACCOUNT 8  ; Ludora runs for another account: nothing was changed
!define RECORDER_WAS_RUNNING 10
!define OTHER_ACCOUNT_TEXT "Ludora is running for another user account of this PC. Setup changes nothing while it runs, as Ludora would come back with Setup's rights: log that account off first, or run Setup from it."
!getdllversion "${DIST}\ludora.exe" VERSION_
!if "${VERSION_1}" == ""
  !error "ludora.exe has no version record"
!endif
!define VERSION "${VERSION_1}.${VERSION_2}.${VERSION_3}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${FOLDER}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION}"
; What Windows shows of the installer file itself.
VIProductVersion "${VERSION_1}.${VERSION_2}.${VERSION_3}.${VERSION_4}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "Corvane"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2008-2026 Corvane"
Var wasRunning   ; the recorder's answer to "close"
Var installedIn  ; the folder Ludora is installed in, if it is
Var exitCode
Var logOnMark   ; Windows 98: the log-on's "startup programs have run" event, held

!define MUI_ICON "${RESOURCES}\ludora.ico"
!define MUI_UNICON "${RESOURCES}\ludora.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\ludora.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Ludora now"
!define MUI_FINISHPAGE_RUN_NOTCHECKED
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipWhenInstalled
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A second installer or uninstaller says so and ends, changing nothing.
!macro OneAtATime
  ${If} ${IsNT}
    StrCpy $R0 "Global\${MUTEX}"
  ${Else}
    StrCpy $R0 "${MUTEX}"  ; Windows 98 takes no backslash in the name
  ${EndIf}
  System::Call 'kernel32::CreateMutex(p 0, i 0, t R0) p .R1 ?e'
  Pop $R2
  ${If} $R2 == 183  ; ERROR_ALREADY_EXISTS
    MessageBox MB_OK|MB_ICONSTOP "Another installation or removal of Ludora is running. Nothing was changed; try again once it has ended." /SD IDOK
    SetErrorLevel ${EXIT_BUSY}
    Quit
  ${EndIf}
!macroend

; Functions both halves use, defined once for each ("un." in the uninstaller).
!macro Shared un
; $R0 = 1 when $R1 and $R2 name the same folder, in any letter case or form.
Function ${un}SameFolder
  StrCpy $R0 0
  ${If} $R1 == $R2
    StrCpy $R0 1
  ${ElseIf} ${FileExists} "$R1\*.*"
  ${AndIf} ${FileExists} "$R2\*.*"
    GetFullPathName /SHORT $R3 $R1
    GetFullPathName /SHORT $R4 $R2
    ${If} $R3 == $R4
      StrCpy $R0 1
    ${EndIf}
  ${EndIf}
FunctionEnd

; The recorder's report into the details; its lines for the user ("! ...")
; into $R9, for a message box.
Function ${un}ShowReport
  StrCpy $R9 ""
  ClearErrors
  FileOpen $R0 "${REPORT}" r
  ${IfNot} ${Errors}
    ${Do}
      ClearErrors
      FileRead $R0 $R1
      ${IfThen} ${Errors} ${|} ${ExitDo} ${|}
      ${Do}  ; without its line end
        StrCpy $R2 $R1 1 -1
        ${If} $R2 == "$\r"
        ${OrIf} $R2 == "$\n"
          StrCpy $R1 $R1 -1
        ${Else}
          ${ExitDo}
        ${EndIf}
      ${Loop}
      StrCpy $R2 $R1 2
      ${If} $R2 == "! "
        StrCpy $R1 $R1 "" 2
        StrCpy $R9 "$R9$\r$\n$R1"
      ${EndIf}
      DetailPrint $R1
    ${Loop}
    FileClose $R0
  ${EndIf}
FunctionEnd
!macroend
!insertmacro Shared ""
!insertmacro Shared "un."

Function .onInit
  SetShellVarContext all
  !insertmacro OneAtATime
  ; One installation per machine: an install goes where Ludora is.
  ReadRegStr $installedIn HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $installedIn != ""
    StrCpy $R1 $installedIn
    StrCpy $R2 $INSTDIR
    Call SameFolder
    ${If} $R0 != 1
      MessageBox MB_OK|MB_ICONSTOP "Ludora is installed in $installedIn. Setup installs it there again, never into a second folder: nothing was changed." /SD IDOK
      SetErrorLevel ${EXIT_BAD_FOLDER}
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

Function SkipWhenInstalled
  ${If} $installedIn != ""
    Abort
  ${EndIf}
FunctionEnd

; A Ludora the installer closed runs again, however the installer ends.
; On Windows 98 the log-on's mark lasts only while somebody holds it: held
; from before the close until the new Ludora's watchdog (which holds it too)
; runs, so the startup programs do not start a second time.
Function RestartLudora
  ${If} $wasRunning == ${RECORDER_WAS_RUNNING}
    Exec '"$INSTDIR\ludora.exe"'
    StrCpy $wasRunning 0
    ${If} $logOnMark P<> 0
      ${For} $R0 1 300
        System::Call 'kernel32::OpenMutex(i ${SYNCHRONIZE}, i 0, t "${WATCHDOG_MUTEX}") p .R1'
        ${If} $R1 P<> 0
          System::Call 'kernel32::CloseHandle(p R1)'
          ${Break}
        ${EndIf}
        Sleep 100
      ${Next}
    ${EndIf}
  ${EndIf}
  ${If} $logOnMark P<> 0
    System::Call 'kernel32::CloseHandle(p $logOnMark)'
    StrCpy $logOnMark 0
  ${EndIf}
FunctionEnd

Function .onInstFailed
  Call RestartLudora
FunctionEnd

Function un.onInit
  SetShellVarContext all
  !insertmacro OneAtATime
  ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  StrCpy $R2 $INSTDIR
  Call un.SameFolder
  ${If} $R0 != 1
    MessageBox MB_OK|MB_ICONSTOP "Ludora is not installed in $INSTDIR: nothing was changed." /SD IDOK
    SetErrorLevel ${EXIT_BAD_FOLDER}
    Quit
  ${EndIf}
FunctionEnd

; $R0 = 1 when a shell place still names ludora.exe, read back: the
; machine's and the user's Winlogon Shell, system.ini's [boot] shell.
Function un.ShellNamesLudora
  StrCpy $R0 0
  ReadRegStr $R1 HKLM "${WINLOGON}" "Shell"
  ReadRegStr $R2 HKCU "${WINLOGON}" "Shell"
  ReadINIStr $R3 "system.ini" "boot" "shell"
  StrCpy $R1 "$R1|$R2|$R3"
  StrLen $R2 $R1
  ${For} $R3 0 $R2
    StrCpy $R4 $R1 10 $R3
    ${IfThen} $R4 == "ludora.exe" ${|} StrCpy $R0 1 ${|}  ; in any letter case
  ${Next}
FunctionEnd

; runs the recorder with its arguments; its exit code in $0.
!macro Recorder arguments
  InitPluginsDir
  File "/oname=$PLUGINSDIR\ludora-record.exe" "${RECORDER}"
  Delete "${REPORT}"
  ClearErrors
  ExecWait '"$PLUGINSDIR\ludora-record.exe" ${arguments}' $0
  ${If} ${Errors}
    StrCpy $0 1
  ${EndIf}
!macroend

; Ludora running for another account is left alone: nothing is changed.
!macro OtherAccountQuits
  ${If} $0 == ${EXIT_OTHER_ACCOUNT}
    MessageBox MB_OK|MB_ICONSTOP "${OTHER_ACCOUNT_TEXT}" /SD IDOK
    SetErrorLevel ${EXIT_OTHER_ACCOUNT}
    Quit
  ${EndIf}
!macroend

Section "Install"
  !insertmacro Recorder "check"
  !insertmacro OtherAccountQuits
  ; The machine as it is, before anything of Ludora's changes it, kept in
  ; the folder and under HKLM. An install over an install keeps the first
  ; record, wherever it finds it: a folder deleted by hand is no new start.
  CreateDirectory "$INSTDIR"
  !insertmacro Recorder 'install "$INSTDIR" "${REPORT}"'
  Call ShowReport
  ${If} $0 != 0
    MessageBox MB_OK|MB_ICONSTOP "Setup could not record this PC's settings in $INSTDIR and in the registry, so it could not give them back later. Nothing was installed.$R9" /SD IDOK
    RMDir "$INSTDIR"
    SetErrorLevel ${EXIT_FAILED}
    Abort
  ${EndIf}
  ${If} $R9 != ""
    MessageBox MB_OK|MB_ICONINFORMATION "Setup found this:$\r$\n$R9" /SD IDOK
  ${EndIf}
  ; A running Ludora lets go of its files first, and comes back at the end.
  System::Call 'kernel32::OpenEvent(i ${SYNCHRONIZE}, i 0, t "${STARTUP_RUN_EVENT}") p .r0'
  StrCpy $logOnMark $0
  !insertmacro Recorder "close"
  !insertmacro OtherAccountQuits
  StrCpy $wasRunning $0

  ; A file that cannot be written (in use, a folder in its way) fails the
  ; install, also where /S would have NSIS ignore it.
  SetOutPath "$INSTDIR"
  ClearErrors
  File "${DIST}\ludora.exe"
  File "${DIST}\sparkrun.exe"
  File "${DIST}\traydock.exe"
  File "${DIST}\wayview.exe"
  File "${DIST}\lobbyfind.exe"
  File "${DIST}\parlour.exe"
  File "${DIST}\chitter.exe"
  File "${DIST}\ludora-watch.exe"
  File "${DIST}\pno0001.exe"
  File "${DIST}\turbolia.html"
  File "${DIST}\webgames.html"
  File "${DIST}\lobbyfind-games.ini"
  CreateDirectory "$INSTDIR\games"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "Setup could not write Ludora's files into $INSTDIR. Ludora is not installed as it should be; run Setup again once nothing holds them." /SD IDOK
    SetErrorLevel ${EXIT_FAILED}
    Abort
  ${EndIf}

  CreateDirectory "$SMPROGRAMS\${FOLDER}"
  CreateShortCut "$SMPROGRAMS\${FOLDER}\Ludora.lnk" "$INSTDIR\ludora.exe"
  CreateShortCut "$SMPROGRAMS\${FOLDER}\Uninstall Ludora.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Corvane"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ludora.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  Call RestartLudora
SectionEnd

Section "Uninstall"
  ; Closes a running Ludora, puts back every value it can write that the
  ; user has not changed since and starts Explorer when Ludora was the desktop.
  !insertmacro Recorder 'uninstall "$INSTDIR" "${REPORT}"'
  !insertmacro OtherAccountQuits
  StrCpy $exitCode $0
  ${If} $0 != 0
  ${AndIf} $0 != ${EXIT_NOT_ALL_BACK}
  ${AndIf} $0 != ${EXIT_DEFAULTS}
  ${AndIf} $0 != ${EXIT_LUDORA_STAYS}
    ; The recorder could not run at all: whatever else stays, Ludora ends
    ; and the next log-on starts Explorer, not a shell that is no longer there.
    DetailPrint "The settings could not be restored; Explorer is made the shell."
    StrCpy $exitCode ${EXIT_NOT_ALL_BACK}
    FindWindow $1 "CorvaneLudoraBar"
    FindWindow $2 "CorvaneLudoraQuickMenu"
    SendMessage $1 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    SendMessage $2 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    WriteINIStr "$WINDIR\system.ini" "boot" "shell" "Explorer.exe"
    ${If} ${IsNT}  ; Windows 98 has no profile mapping
      WriteRegStr HKLM "Software\Microsoft\Windows NT\CurrentVersion\IniFileMapping\system.ini\boot" "Shell" "SYS:Microsoft\Windows NT\CurrentVersion\Winlogon"
    ${EndIf}
    WriteRegStr HKCU "${WINLOGON}" "Shell" "explorer.exe"
    WriteRegStr HKLM "${WINLOGON}" "Shell" "explorer.exe"
    FindWindow $3 "Progman"
    Call un.ShellNamesLudora
    ${If} "$1$2" != "00"
    ${AndIf} $R0 == 1
      ; The old one gone first: a second Ludora beside it would end at once.
      ${For} $R1 1 100
        FindWindow $R2 "CorvaneLudoraBar"
        ${IfThen} $R2 == 0 ${|} ${Break} ${|}
        Sleep 100
      ${Next}
      Exec '"$INSTDIR\ludora.exe"'  ; Ludora stays: so does the desktop the user had
    ${ElseIf} "$1$2" != "00"
    ${AndIf} $3 == 0
      Exec '"$WINDIR\explorer.exe"'  ; Ludora was the desktop
    ${EndIf}
  ${EndIf}
  Call un.ShowReport

  ; Never a shell that names a program no longer there: read back first.
  Call un.ShellNamesLudora
  ${If} $R0 == 1
  ${OrIf} $exitCode == ${EXIT_LUDORA_STAYS}
    DetailPrint "Explorer could not be made the shell: Ludora stays installed."
    MessageBox MB_OK|MB_ICONSTOP "Windows would still start Ludora at the next log-on, and Explorer could not be made the shell instead, so Ludora stays installed. Once what is below can be written (a read-only file, or a value that needs administrator rights), uninstall again.$\r$\n$R9" /SD IDOK
    SetErrorLevel ${EXIT_LUDORA_STAYS}
    Abort
  ${EndIf}

  ; Still in use (a Ludora that would not end): gone at the next start of Windows.
  Delete /REBOOTOK "$INSTDIR\ludora.exe"
  Delete /REBOOTOK "$INSTDIR\sparkrun.exe"
  Delete /REBOOTOK "$INSTDIR\traydock.exe"
  Delete /REBOOTOK "$INSTDIR\wayview.exe"
  Delete /REBOOTOK "$INSTDIR\lobbyfind.exe"
  Delete /REBOOTOK "$INSTDIR\parlour.exe"
  Delete /REBOOTOK "$INSTDIR\chitter.exe"
  Delete /REBOOTOK "$INSTDIR\ludora-watch.exe"
  Delete /REBOOTOK "$INSTDIR\pno0001.exe"
  Delete "$INSTDIR\turbolia.html"
  Delete "$INSTDIR\webgames.html"
  Delete "$INSTDIR\lobbyfind-games.ini"
  ; The record goes only once it is put back, or found unusable (and set aside).
  ${If} $exitCode == 0
  ${OrIf} $exitCode == ${EXIT_DEFAULTS}
    Delete "${RECORD}"
    DeleteRegKey HKLM "${RECORD_KEY}"
    DeleteRegKey /ifempty HKLM "Software\Corvane"
  ${EndIf}
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR\games"  ; only when empty: the user's shortcuts stay
  ${If} ${RebootFlag}
    RMDir /REBOOTOK "$INSTDIR"  ; once the files in use are gone
  ${Else}
    RMDir "$INSTDIR"
  ${EndIf}
  ${If} $exitCode == ${EXIT_DEFAULTS}
    MessageBox MB_OK|MB_ICONINFORMATION "Explorer is the shell again.$\r$\n$R9" /SD IDOK
  ${ElseIf} $exitCode == ${EXIT_NOT_ALL_BACK}
    MessageBox MB_OK|MB_ICONEXCLAMATION "Some of this PC's settings from before Ludora could not be put back. Their record stays in ${RECORD} and in HKLM\${RECORD_KEY}: an install and uninstall of Ludora later uses it again.$\r$\n$R9" /SD IDOK
  ${ElseIf} $R9 != ""
    MessageBox MB_OK|MB_ICONINFORMATION "Ludora was removed.$\r$\n$R9" /SD IDOK
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\games\*.*"
  ${OrIf} ${FileExists} "$INSTDIR\ludora.ini"
    DetailPrint "Kept in $INSTDIR: your games list and ludora.ini."
    MessageBox MB_OK|MB_ICONINFORMATION "Your games list and your ludora.ini were kept in $INSTDIR." /SD IDOK
  ${EndIf}
  ${If} ${RebootFlag}
    MessageBox MB_OK|MB_ICONINFORMATION "Some files of Ludora were still in use: they are removed when Windows starts again." /SD IDOK
  ${EndIf}

  Delete "$SMPROGRAMS\${FOLDER}\Ludora.lnk"
  Delete "$SMPROGRAMS\${FOLDER}\Uninstall Ludora.lnk"
  RMDir "$SMPROGRAMS\${FOLDER}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  SetErrorLevel $exitCode
SectionEnd
