; The installer of Corvane Ludora ZR and its uninstaller, for makensis 3.
; ANSI, so that one installer runs on Windows 98 as on Windows XP. Defines:
;   DIST       the application folder: ludora.exe, sparkrun.exe, the two web pages
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

!define PRODUCT "Corvane Ludora ZR"
!define FOLDER "Corvane Ludora"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define RECORD "$INSTDIR\machine-record.txt"
!define RESTORED_DEFAULTS 2
!define WAS_RUNNING 3
!define INCOMPLETE 4
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
Var wasRunning

!define MUI_ICON "${RESOURCES}\ludora.ico"
!define MUI_UNICON "${RESOURCES}\ludora.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\ludora.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Ludora now"
!define MUI_FINISHPAGE_RUN_NOTCHECKED
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

; runs the recorder with its arguments; its exit code in $0.
!macro Recorder arguments
  InitPluginsDir
  File "/oname=$PLUGINSDIR\ludora-record.exe" "${RECORDER}"
  ClearErrors
  ExecWait '"$PLUGINSDIR\ludora-record.exe" ${arguments}' $0
  ${If} ${Errors}
    StrCpy $0 1
  ${EndIf}
!macroend

Section "Install"
  ; The machine as it is, before anything of Ludora's changes it. An
  ; install over an install keeps the first record.
  CreateDirectory "$INSTDIR"
  ; Installed before in another folder: the first record comes along.
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $1 != ""
  ${AndIf} $1 != $INSTDIR
  ${AndIfNot} ${FileExists} "${RECORD}"
    CopyFiles /SILENT "$1\machine-record.txt" "$INSTDIR"
  ${EndIf}
  !insertmacro Recorder 'record "${RECORD}"'
  ${If} $0 != 0
    MessageBox MB_OK|MB_ICONSTOP "Setup could not record this PC's settings in $INSTDIR, so it could not give them back later. Nothing was installed." /SD IDOK
    RMDir "$INSTDIR"
    Abort
  ${EndIf}
  ; A running Ludora lets go of its files first, and comes back at the end.
  !insertmacro Recorder "close"
  StrCpy $wasRunning $0

  SetOutPath "$INSTDIR"
  File "${DIST}\ludora.exe"
  File "${DIST}\sparkrun.exe"
  File "${DIST}\traydock.exe"
  File "${DIST}\turbolia.html"
  File "${DIST}\webgames.html"
  CreateDirectory "$INSTDIR\games"
  WriteUninstaller "$INSTDIR\uninstall.exe"

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

  ${If} $wasRunning == ${WAS_RUNNING}
    Exec '"$INSTDIR\ludora.exe"'
  ${EndIf}
SectionEnd

Section "Uninstall"
  ; Closes a running Ludora, puts every value it can write back as it was
  ; and starts Explorer when Ludora was the desktop.
  !insertmacro Recorder 'restore "${RECORD}"'
  ${If} $0 == ${RESTORED_DEFAULTS}
    DetailPrint "The record of this PC's settings was missing or damaged: Explorer's own settings were restored."
    MessageBox MB_OK|MB_ICONINFORMATION "The record of this PC's settings from before Ludora was missing or damaged, so none of it was used. Explorer is the shell again, with the settings that $\"Set Explorer as default shell$\" writes." /SD IDOK
  ${ElseIf} $0 == ${INCOMPLETE}
    DetailPrint "Some of this PC's settings could not be put back; their record stays."
    MessageBox MB_OK|MB_ICONEXCLAMATION "Some of this PC's settings from before Ludora could not be put back (they may need administrator rights). Their record stays in ${RECORD}." /SD IDOK
  ${ElseIf} $0 != 0
    ; The recorder could not run at all: whatever else stays, Ludora ends
    ; and the next log-on starts Explorer, not a shell that is no longer there.
    DetailPrint "The settings could not be restored; Explorer is made the shell."
    FindWindow $1 "CorvaneLudoraBar"
    FindWindow $2 "CorvaneLudoraQuickMenu"
    SendMessage $1 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    SendMessage $2 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    WriteINIStr "$WINDIR\system.ini" "boot" "shell" "Explorer.exe"
    WriteRegStr HKLM "Software\Microsoft\Windows NT\CurrentVersion\IniFileMapping\system.ini\boot" "Shell" "SYS:Microsoft\Windows NT\CurrentVersion\Winlogon"
    WriteRegStr HKCU "Software\Microsoft\Windows NT\CurrentVersion\Winlogon" "Shell" "explorer.exe"
    WriteRegStr HKLM "Software\Microsoft\Windows NT\CurrentVersion\Winlogon" "Shell" "explorer.exe"
    FindWindow $3 "Progman"
    ${If} "$1$2" != "00"
    ${AndIf} $3 == 0
      Exec "explorer.exe"  ; Ludora was the desktop
    ${EndIf}
  ${EndIf}

  ; Still in use (a Ludora that would not end): gone at the next start of Windows.
  Delete /REBOOTOK "$INSTDIR\ludora.exe"
  Delete /REBOOTOK "$INSTDIR\sparkrun.exe"
  Delete /REBOOTOK "$INSTDIR\traydock.exe"
  Delete "$INSTDIR\turbolia.html"
  Delete "$INSTDIR\webgames.html"
  ; The record goes only once it is put back, or found unusable.
  ${If} $0 == 0
  ${OrIf} $0 == ${RESTORED_DEFAULTS}
    Delete "${RECORD}"
  ${EndIf}
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR\games"  ; only when empty: the user's shortcuts stay
  ${If} ${RebootFlag}
    RMDir /REBOOTOK "$INSTDIR"  ; once the files in use are gone
  ${Else}
    RMDir "$INSTDIR"
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
SectionEnd
