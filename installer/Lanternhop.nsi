; Lanternhop Launcher setup: a per-user installation that needs no administrator rights.
; Built by scripts/build: makensis -DDIST=<program folder> -DOUTFILE=<setup file> Lanternhop.nsi
;
; The program goes into the user's own programs folder, so the folder stays writable for the
; hand-off file a second start leaves there. The Explorer extension is registered for this user
; only, and its two handler keys are made under HKCU\Software\Classes, so that the launcher's own
; writes to HKEY_CLASSES_ROOT land there without administrator rights.
;
; Silent use: LanternhopSetup.exe /S [/NOSTARTUP] [/NOSHELLMENU] [/D=folder]
;             Uninstall.exe /S [/DELETEDATA]

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"
!include "WinMessages.nsh"

!ifndef DIST
  !error "DIST (the program folder to package) is not defined"
!endif
!ifndef ICON
  !define ICON "${DIST}/../../launcher/resources/lanternhop.ico"
!endif
!ifndef OUTFILE
  !define OUTFILE "LanternhopSetup.exe"
!endif

!define PRODUCT "Lanternhop Launcher"
!define VERSION "1.0.0"
!define PUBLISHER "Quenvid Works"
!define EXE "Lanternhop Launcher.exe"
!define CLSID "{10846745-3ECC-4DD9-BB13-73744926CA86}"
!define DATA_KEY "Software\QuenvidWorks\Lanternhop"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\LanternhopLauncher"
!define FILE_HANDLER "Software\Classes\*\shellex\ContextMenuHandlers\1LHLauncher"
!define FOLDER_HANDLER "Software\Classes\Directory\shellex\ContextMenuHandlers\1LHLauncher"
!define EXIT_COMMAND 32775

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${DATA_KEY}" "Path"
Icon "${ICON}"
UninstallIcon "${ICON}"
ShowInstDetails hide
ShowUninstDetails hide
BrandingText "${PRODUCT} ${VERSION}"
ComponentText "Choose what the setup does besides installing the program."

Page components
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; A running launcher holds its files: ask it to end (its tray menu's Exit), then wait for it.
!macro EndRunningLauncher
  StrCpy $1 0
  ${Do}
    FindWindow $0 "#32770" "${PRODUCT}"
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    ${If} $1 = 0
      SendMessage $0 ${WM_COMMAND} ${EXIT_COMMAND} 0 /TIMEOUT=5000
    ${EndIf}
    Sleep 200
    IntOp $1 $1 + 1
  ${LoopUntil} $1 >= 50
!macroend

Section "${PRODUCT}" SecProgram
  SectionIn RO
  !insertmacro EndRunningLauncher
  SetOutPath "$INSTDIR"
  File /r "${DIST}/*"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The Explorer extension finds the launcher through this value.
  WriteRegStr HKCU "${DATA_KEY}" "Path" "$INSTDIR\"
  ExecWait '"$SYSDIR\regsvr32.exe" /s /n /i:user "$INSTDIR\QuenvidExtension.dll"'
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Start with Windows" SecStartup
  WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" "$INSTDIR\${EXE}"
SectionEnd

Section "Add to Explorer's context menu" SecShellMenu
  WriteRegStr HKCU "${FILE_HANDLER}" "" "${CLSID}"
  WriteRegStr HKCU "${FOLDER_HANDLER}" "" "${CLSID}"
SectionEnd

; Without the menu entry the keys are still made, empty, so the launcher's option can fill them.
Section "-ShellMenuKeys"
  ${IfNot} ${SectionIsSelected} ${SecShellMenu}
    WriteRegStr HKCU "${FILE_HANDLER}" "" ""
    DeleteRegValue HKCU "${FILE_HANDLER}" ""
    WriteRegStr HKCU "${FOLDER_HANDLER}" "" ""
    DeleteRegValue HKCU "${FOLDER_HANDLER}" ""
  ${EndIf}
SectionEnd

Function .onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/NOSTARTUP" $R1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecStartup}
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/NOSHELLMENU" $R1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecShellMenu}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  !insertmacro EndRunningLauncher
  ExecWait '"$SYSDIR\regsvr32.exe" /s /u /n /i:user "$INSTDIR\QuenvidExtension.dll"'
  DeleteRegKey HKCU "${FILE_HANDLER}"
  DeleteRegKey HKCU "${FOLDER_HANDLER}"
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"

  ; The personal data: asked, and in silent mode only with /DELETEDATA.
  StrCpy $2 0
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/DELETEDATA" $R1
  ${IfNot} ${Errors}
    StrCpy $2 1
  ${ElseIfNot} ${Silent}
    MessageBox MB_YESNO|MB_ICONQUESTION "Delete your pages, items and settings as well?$\n$\nChoose No to keep them for a later installation." /SD IDNO IDNO keepData
    StrCpy $2 1
  keepData:
  ${EndIf}
  ${If} $2 = 1
    ExecWait '"$INSTDIR\LHLConfigDelPersonalData.exe"'
    DeleteRegKey HKCU "${DATA_KEY}"
    ; The cleaner leaves the sub-folders; empty ones go, anything still inside them stays.
    RMDir "$APPDATA\LHLauncher\Shortcut"
    RMDir "$APPDATA\LHLauncher\DesktopBackup"
    RMDir "$APPDATA\LHLauncher"
  ${Else}
    DeleteRegValue HKCU "${DATA_KEY}" "Path"
  ${EndIf}

  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\QuenvidTools.dll"
  Delete "$INSTDIR\QuenvidExtension.dll"
  Delete "$INSTDIR\LHLConfigDelPersonalData.exe"
  Delete "$INSTDIR\helpstart.htm"
  Delete "$INSTDIR\tmp_swap.dat"
  RMDir /r "$INSTDIR\Lang"
  RMDir /r "$INSTDIR\Sounds"
  RMDir /r "$INSTDIR\Images"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
